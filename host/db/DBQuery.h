// One statement run on the catalogue outside the row and table classes, with
// its values bound: the reads of the configuration objects and the seeding of
// their tables.
#pragma once

#include <string>
#include <vector>

#include "host/db/DBtable.h"

// One value of a result row: an integer column in i, any other in s (an
// integer also in s, as text).
struct DBValue {
    bool isNull = true;
    long long i = 0;
    std::string s;
};
using DBRow = std::vector<DBValue>;

// Runs sql with args bound (?1 takes the first) on the connection of tran,
// null for the calling thread's. Every result row is appended to rows when it
// is not null; lastId, when not null, receives the id of the row last
// inserted on the connection. 0 or a database code.
int dbQuery(DBtran* tran, const std::string& sql, const std::vector<DBArgument>& args, std::vector<DBRow>* rows,
            long long* lastId = nullptr);

// Argument helpers.
inline DBArgument dbInt(long long value)
{
    return DBArgument{DBArgument::INT64, value, 0.0, std::string()};
}
inline DBArgument dbText(const std::string& value)
{
    return DBArgument{DBArgument::TEXT, 0, 0.0, value};
}
