// Self-describing row schema objects. Each row family has a schema class on
// ZXDBRowBase: per object one column value per column (by name and in column
// order), per class the column names, the database object name, the header
// type, the type string and the foreign keys, set up once per process.
//
// The generated schema classes are instances of ZXDBRowSchema<Desc>, where
// Desc is the family's descriptor (see rows/RowFamily.h).
#pragma once

#include <atomic>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "rows/ZXDBDataTypes.h"

// Header types of a row family.
enum {
    ZXDB_KIND_TABLE = 1,
    ZXDB_KIND_PROCEDURE = 2,
    ZXDB_KIND_CURSOR = 3
};

typedef std::map<std::string, std::map<std::string, std::string>> ZXDBForeignKeyMap;

class ZXDBRowBase {
public:
    ZXDBRowBase();
    ZXDBRowBase(const ZXDBRowBase&) = delete;

    virtual void lock();
    virtual void unLock();
    virtual ~ZXDBRowBase();
    virtual std::string getColumnName(const int& index);
    virtual std::vector<ZXDBDataTypeBase*> getData();
    virtual int getSerialColNum() = 0;
    virtual std::string getTableName() = 0;
    virtual std::string getPrimaryWhere() = 0;
    virtual std::vector<ZXDBDataTypeBase*> getPrimaryData() = 0;
    virtual std::string getStructDef();
    virtual void setTableName(std::string name) = 0;
    virtual const char* getColumnName_t2(const int& index) const = 0;
    virtual void pushColumnName(const char* name) = 0;
    virtual int getHeaderType();
    virtual int searchForeignKey(std::string columnName);
    // Copies nothing.
    virtual ZXDBRowBase& operator=(ZXDBRowBase&);

    // The type string with every 'x' turned into 'b'.
    std::string fillForTime(const char* typeString);

    // Guards the one-time static set-up of every schema class; count 1.
    static ZXSimpleDBSem s_semColumnVec;

protected:
    bool m_bGenerated;                                   // set by every generated class
    std::map<std::string, ZXDBDataTypeBase*> columns;    // by column name
    std::vector<ZXDBDataTypeBase*> columnVec;            // in column order; owns the values
    std::string serialColumn;
    std::vector<std::string> primaryKeys;
    ZXSimpleDBSem* m_pSem;                               // own semaphore, count 1

    // Creates the default value object for a type letter and stores it
    // under the name and at the end of the column order.
    void addColumn(char letter, const char* name);
};

// One column of a family: its type letter ('i', 'b' or 's'), its name, and
// where it lies in the row structure. typeOk tells whether the field has the
// exact type the letter stands for.
struct ZXDBColumnDef {
    char letter;
    const char* name;
    size_t offset;
    size_t size;
    bool typeOk;
};

// A foreign key of a table: foreign table, local column, referenced column.
struct ZXDBForeignKey {
    const char* table;
    const char* column;
    const char* referenced;
};

template <class Desc>
class ZXDBRowSchema : public ZXDBRowBase {
public:
    ZXDBRowSchema()
    {
        m_bGenerated = true;
        for (const ZXDBColumnDef& c : Desc::columns) addColumn(c.letter, c.name);

        if (!s_isInitialized.load(std::memory_order_acquire)) {
            struct Guard {
                ZXDBRowBase* self;
                ~Guard() { self->unLock(); }
            };
            lock();
            Guard guard{this};
            if (!s_isInitialized.load(std::memory_order_acquire)) {
                setTableName(Desc::objectName);
                m_type = Desc::kind;
                structSchema = fillForTime(Desc::typeString);
                m_foreignKeyMap.clear();
                for (size_t i = 0; i < Desc::foreignKeyCount; ++i)
                    m_foreignKeyMap[Desc::foreignKeys[i].table][Desc::foreignKeys[i].column] =
                        Desc::foreignKeys[i].referenced;
                m_staticColumnVec.clear();  // a set-up cut short by an exception starts over
                for (const ZXDBColumnDef& c : Desc::columns) pushColumnName(c.name);
                s_isInitialized.store(true, std::memory_order_release);
            }
        }

        if (Desc::serialColumn != nullptr) {
            primaryKeys.push_back(Desc::serialColumn);
            serialColumn = Desc::serialColumn;
        }
    }

    ~ZXDBRowSchema() override {}

    int getSerialColNum() override
    {
        for (size_t i = 0; i < m_staticColumnVec.size(); ++i)
            if (m_staticColumnVec[i] == serialColumn) return static_cast<int>(i);
        return -1;
    }

    std::string getTableName() override { return m_name; }

    std::string getPrimaryWhere() override
    {
        std::string where;
        for (size_t i = 0; i < primaryKeys.size(); ++i) {
            if (i > 0) where += " AND ";
            where += primaryKeys[i] + " = ?";
        }
        return where;
    }

    std::vector<ZXDBDataTypeBase*> getPrimaryData() override
    {
        std::vector<ZXDBDataTypeBase*> data;
        for (const std::string& key : primaryKeys) {
            auto it = columns.find(key);
            data.push_back(it != columns.end() ? it->second : nullptr);
        }
        return data;
    }

    std::string getStructDef() override { return structSchema; }
    void setTableName(std::string name) override { m_name = name; }

    // An index outside the columns gives "".
    const char* getColumnName_t2(const int& index) const override
    {
        if (index < 0 || static_cast<size_t>(index) >= m_staticColumnVec.size()) return "";
        return m_staticColumnVec[static_cast<size_t>(index)].c_str();
    }

    void pushColumnName(const char* name) override { m_staticColumnVec.push_back(name); }
    int getHeaderType() override { return m_type; }
    virtual ZXDBForeignKeyMap getForeignKeyMap() { return m_foreignKeyMap; }

    static inline std::vector<std::string> m_staticColumnVec;
    static inline std::string m_name;
    static inline int m_type = 0;
    static inline std::string structSchema;
    static inline ZXDBForeignKeyMap m_foreignKeyMap;
    static inline std::atomic<bool> s_isInitialized{false};
};
