// The parts of the column value types that belong to the database access
// library: the integer formats, the text value's raw copy and text form, and
// the literal form of a value.
#include <cstring>

#include "host/db/ZXDBDataTypeBase.h"
#include "host/db/SqlText.h"

const char* const ZXDB_int_format = "%d";
const char* const ZXDB___int64_format = "%lld";

std::string ZXDBDataTypeBase::toString(int literal) const
{
    if (literal == 0) {
        setString();
        return getStr();
    }
    if (isNull) return "NULL";
    setString();
    if (getDataType() == 6) return "'" + SqlEscape(getStr()) + "'";
    return getStr();
}

template <>
int ZXDBCompositeType<std::string, 6>::setData(const char* src, int offset, int length, bool)
{
    if (src == nullptr || offset < 0 || length < 0) return 0;
    size_t end = static_cast<size_t>(offset) + static_cast<size_t>(length);
    if (value.size() < end) value.resize(end);
    if (length > 0) std::memcpy(&value[static_cast<size_t>(offset)], src, static_cast<size_t>(length));
    isStrCurrent = false;
    return 1;
}

template <>
void ZXDBCompositeType<std::string, 6>::setString() const
{
    strValue = value;
}
