// The column value interface of the database access library: one value of
// one column (32-bit integer, 64-bit integer or text) with its null state,
// update status and text form, and the templates of its integer and text
// kinds. The library reads bound procedure inputs through it.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

// Formats of the integer value types; shared data of the database access
// library.
extern const char* const ZXDB_int_format;
extern const char* const ZXDB___int64_format;

enum UpdatedStatus : int {
    ZXDB_NOT_UPDATED = 0,
    ZXDB_UPDATED = 1
};

class ZXDBDataTypeBase {
public:
    ZXDBDataTypeBase()
        : isNull(true), updatedStatus(ZXDB_NOT_UPDATED), isDirty(false), isStrCurrent(false), reserved64(0)
    {
    }

    virtual int setData(const char* src, int offset, int length, bool) = 0;
    virtual void clearMemoryOnNULL() {}
    virtual void setString() const = 0;
    virtual const std::string& getStr() const { return strValue; }
    virtual ~ZXDBDataTypeBase() {}
    virtual int getDataType() const = 0;
    // Non-zero: the value as an SQL literal (NULL, a number, or a quoted text).
    // Zero: the text form.
    virtual std::string toString(int) const;

    void setInternalNull(bool null)
    {
        if (null == isNull) return;
        isStrCurrent = false;
        isNull = null;
        if (isNull) clearMemoryOnNULL();
    }

    void setUpdated(UpdatedStatus status) { updatedStatus = status; }

    bool isNull;
    UpdatedStatus updatedStatus;
    bool isDirty;                  // not used by this system
    mutable std::string strValue;  // text form
    std::string strReserved;       // not used by this system
    mutable bool isStrCurrent;     // cleared on every change of the value or null state
    long long reserved64;          // not used by this system

private:
    ZXDBDataTypeBase(const ZXDBDataTypeBase&) = delete;
    ZXDBDataTypeBase& operator=(const ZXDBDataTypeBase&) = delete;
};

template <typename T, const char* const* Format, int Code>
class ZXDBPrimitiveType : public ZXDBDataTypeBase {
public:
    ZXDBPrimitiveType() : value()
    {
        setInternalNull(true);
        setUpdated(ZXDB_NOT_UPDATED);
    }

    explicit ZXDBPrimitiveType(T v) : value(v)
    {
        setInternalNull(false);
        setUpdated(ZXDB_UPDATED);
    }

    int setData(const char* src, int offset, int length, bool) override
    {
        if (offset < 0 || length < 0 || static_cast<size_t>(offset) + static_cast<size_t>(length) > sizeof(T))
            return 0;
        std::memcpy(reinterpret_cast<char*>(&value) + offset, src, static_cast<size_t>(length));
        isStrCurrent = false;
        return 1;
    }

    void setString() const override
    {
        char buf[100];
        std::snprintf(buf, sizeof(buf), getFormatString(), value);
        strValue = buf;
    }

    int getDataType() const override { return Code; }

    static const char* getFormatString() { return *Format; }

    T getValue() const { return value; }

private:
    T value;
};

template <typename T, int Code>
class ZXDBCompositeType : public ZXDBDataTypeBase {
public:
    ZXDBCompositeType() : value()
    {
        setInternalNull(true);
        setUpdated(ZXDB_NOT_UPDATED);
    }

    explicit ZXDBCompositeType(const T& v)
    {
        setInternalNull(false);
        setUpdated(ZXDB_UPDATED);
        value = v;
    }

    // Supplied by the database access library.
    int setData(const char* src, int offset, int length, bool) override;
    void setString() const override;

    const std::string& getStr() const override { return ZXDBDataTypeBase::getStr(); }
    int getDataType() const override { return Code; }

    const T& getValue() const { return value; }

protected:
    T value;
};

template <>
int ZXDBCompositeType<std::string, 6>::setData(const char* src, int offset, int length, bool);
template <>
void ZXDBCompositeType<std::string, 6>::setString() const;
