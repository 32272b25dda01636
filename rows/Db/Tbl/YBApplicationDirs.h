// The application-directory table: the application directories that a
// replication volume holds for a subclient.
#pragma once

#include "rows/RowFamily.h"

#define YBApplicationDirs_COLUMNS(I, B, S) \
    I(id)                                  \
    I(subclientId)                         \
    I(clientId)                            \
    I(pathType)                            \
    S(objName, 2049)                       \
    S(path, 2049)                          \
    I(creationTime)                        \
    I(modifyTime)                          \
    I(ReplicationVolumeId)                 \
    I(Flags)

ZXDB_ROW_STRUCT(YBApplicationDirs, YBApplicationDirs_COLUMNS,
                YBApplicationDirs_t() = default;
                YBApplicationDirs_t(const YBApplicationDirs_t&) = default;
                // Copies the integers and both texts, bounded by their columns.
                YBApplicationDirs_t& operator=(const YBApplicationDirs_t& other);)

constexpr ZXDBForeignKey kYBApplicationDirsForeignKeys[] = {
    {"DHT_Application", "subclientId", "id"},
    {"DHT_Client", "clientId", "id"},
    {"YBVolume", "ReplicationVolumeId", "id"},
};

// SQLite statements run: made from the columns above by DBtable::tableSelectText,
// DBtable::rowInsert and DBtable::rowUpdate in host/db/DBtable.cpp; none is registered.
ZXDB_FAMILY_DESC(YBApplicationDirs, "YBApplicationDirs", ZXDB_KIND_TABLE, YBApplicationDirs_COLUMNS,
                 "i|i|i|i|s2049|s2049|i|i|i|i|", nullptr, "source/include/Db/Tbl/YBApplicationDirs",
                 static constexpr const char* serialColumn = "id";
                 static constexpr const ZXDBForeignKey* foreignKeys = kYBApplicationDirsForeignKeys;
                 static constexpr size_t foreignKeyCount = 3;)

class YBApplicationDirs_t2 : public ZXDBRowSchema<YBApplicationDirs_desc> {};

class YBApplicationDirs : public ZXDBRowClass<YBApplicationDirs_desc, YBApplicationDirs_t2> {
public:
    static constexpr const char* tableVersion = "1.6.304.1";

    // Reads are ordered by "id" until the caller sets another order.
    explicit YBApplicationDirs(DBtran* tran) : ZXDBRowClass(tran) {}

    // Copies the row into the bound row; a null row changes nothing.
    void setValues(YBApplicationDirs_t* row)
    {
        if (row != nullptr) m_row = *row;
    }
};
