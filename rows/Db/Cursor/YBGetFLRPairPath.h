// The source and destination path properties of replication pairs that are
// valid at a point in time, in ascending pair id.
#pragma once

#include <cstdlib>
#include <string>

#include "rows/RowFamily.h"

#define YBGetFLRPairPath_COLUMNS(I, B, S) \
    I(PairId)                             \
    I(PathType)                           \
    S(Path, 2049)

ZXDB_ROW_STRUCT(YBGetFLRPairPath, YBGetFLRPairPath_COLUMNS, )

// SQLite statement run: RegisterFileFlrCleanupStatements in host/db/statements/FileFlrCleanupStatements.cpp
ZXDB_FAMILY_DESC(YBGetFLRPairPath, "YBGetFLRPairPath", ZXDB_KIND_CURSOR, YBGetFLRPairPath_COLUMNS, "i|i|s2049|",
                 "SET NOCOUNT ON \n"
                 "DECLARE @inPointInTime \tinteger \n"
                 "SET @inPointInTime = %d \n"
                 "SELECT pairId, propType, stringVal \n"
                 "FROM DHT_ScReplicationPair \n"
                 "WHERE\tpairId IN (%s) AND \n"
                 "\t\tpropType IN (10001, 10002) AND \n"
                 "\t\tcreated <= @inPointInTime AND (modified = 0 OR modified >= @inPointInTime) \n"
                 "ORDER BY pairId ASC \n"
                 "\tSET NOCOUNT OFF",
                 "source/include/Db/Cursor/YBGetFLRPairPath", )

class YBGetFLRPairPath_t2 : public ZXDBRowSchema<YBGetFLRPairPath_desc> {};

class YBGetFLRPairPath : public ZXDBCursorClass<YBGetFLRPairPath_desc, YBGetFLRPairPath_t2, void(int, const char*)> {
public:
    typedef ZXDBCursorClass<YBGetFLRPairPath_desc, YBGetFLRPairPath_t2, void(int, const char*)> Base;

    explicit YBGetFLRPairPath(DBtran* tran) : Base(tran) {}

    // The pair-id list stands unquoted in the statement, so it is taken only
    // as 32-bit integers separated by commas (blanks around them allowed). A
    // list of anything else never reaches the database: the statement is
    // armed with an empty list, which the database refuses, and the fetch
    // reports the failure.
    void setValues(int pointInTime, const char* pairIds)
    {
        m_bListRefused = !isPairIdList(pairIds);
        if (m_bListRefused) {
            log_error(YBGetFLRPairPath_desc::headerPath, __LINE__,
                      "YBGetFLRPairPath::setValues(): the pair id list is not a list of integers");
            Base::setValues(pointInTime, "");
            return;
        }
        Base::setValues(pointInTime, pairIds);
    }

    // True when the last setValues was given a list that is not a list of
    // integers.
    bool isListRefused() const { return m_bListRefused; }

    // A non-empty list of 32-bit decimal integers separated by commas.
    static bool isPairIdList(const char* list)
    {
        if (list == nullptr) return false;
        const char* p = list;
        while (true) {
            while (*p == ' ' || *p == '\t') ++p;
            const char* start = p;
            if (*p == '-' || *p == '+') ++p;
            const char* digits = p;
            while (*p >= '0' && *p <= '9') ++p;
            if (p == digits || p - digits > 10) return false;
            long long value = std::strtoll(std::string(start, p).c_str(), nullptr, 10);
            if (value < -2147483648LL || value > 2147483647LL) return false;
            while (*p == ' ' || *p == '\t') ++p;
            if (*p == '\0') return true;
            if (*p != ',') return false;
            ++p;
        }
    }

private:
    bool m_bListRefused = false;
};
