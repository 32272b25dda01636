// The SNR volume holding the most recently changed replication volume of a
// primary volume in one role; with a job id above 0 only the replicas of that
// job count. At most one row. One object may be formatted and read again.
#pragma once

#include "rows/Db/Cursor/YBRowColumns.h"
#include "rows/RowFamily.h"

#define YBGetLatestRepVolByPVId_COLUMNS(I, B, S) YB_PHYSICAL_VOLUME_COLUMNS(I, B, S)

// Copies every field, each text up to its capacity.
#define YBGetLatestRepVolByPVId_COPY_VALUE(name) name = other.name;
#define YBGetLatestRepVolByPVId_COPY_TEXT(name, size) zxstrcpy(name, other.name, sizeof(name));

ZXDB_ROW_STRUCT(YBGetLatestRepVolByPVId, YBGetLatestRepVolByPVId_COLUMNS,
                YBGetLatestRepVolByPVId_t() = default;
                YBGetLatestRepVolByPVId_t(const YBGetLatestRepVolByPVId_t& other) { *this = other; }
                YBGetLatestRepVolByPVId_t& operator=(const YBGetLatestRepVolByPVId_t& other) {
                    if (this == &other) return *this;
                    YBGetLatestRepVolByPVId_COLUMNS(YBGetLatestRepVolByPVId_COPY_VALUE,
                                                    YBGetLatestRepVolByPVId_COPY_VALUE,
                                                    YBGetLatestRepVolByPVId_COPY_TEXT)
                    return *this;
                })

// SQLite statement run: RegisterSNRStatements in host/db/statements/SNRStatements.cpp
ZXDB_FAMILY_DESC(YBGetLatestRepVolByPVId, "YBGetLatestRepVolByPVId", ZXDB_KIND_CURSOR,
                 YBGetLatestRepVolByPVId_COLUMNS, "i|s257|i|i|b|b|i|i|s129|s2049|i|i|i|i|",
                 "SET NOCOUNT ON \n"
                 "\tdeclare @pvid integer \n"
                 "\tset @pvid = %d \n"
                 "\tdeclare @role integer \n"
                 "\tset @role = %d \n"
                 "\tdeclare @jobid integer \n"
                 "\tset @jobid = %d \n"
                 "\tif @jobid > 0 \n"
                 "\tbegin \n"
                 "\t\tselect top 1 v.id, v.UniqueId, v.UniqueIdType, v.LUN, v.StartLBA, v.BlockCount, v.BlockSize, v.Flags, v.FSType, v.UniqueSnapshotID, v.ApplianceId, v.TzState, v.CostCategoryId, v.Type \n"
                 "\t\tfrom YBVolume rv, YBPhysicalVolume v \n"
                 "\t\twhere rv.PrimaryVolumeId = @pvid and rv.CurrentRole = @role and rv.PhysicalVolumeId = v.id and @jobid = rv.JobId \n"
                 "\t\torder by rv.ModifyTime DESC \n"
                 "\tend \n"
                 "\telse \n"
                 "\tbegin \n"
                 "\t\tselect top 1 v.id, v.UniqueId, v.UniqueIdType, v.LUN, v.StartLBA, v.BlockCount, v.BlockSize, v.Flags, v.FSType, v.UniqueSnapshotID, v.ApplianceId, v.TzState, v.CostCategoryId, v.Type \n"
                 "\t\tfrom YBVolume rv, YBPhysicalVolume v \n"
                 "\t\twhere rv.PrimaryVolumeId = @pvid and rv.CurrentRole = @role and rv.PhysicalVolumeId = v.id \n"
                 "\t\torder by rv.ModifyTime DESC \n"
                 "\tend \n"
                 "\tSET NOCOUNT OFF",
                 "source/include/Db/Cursor/YBGetLatestRepVolByPVId", )

class YBGetLatestRepVolByPVId_t2 : public ZXDBRowSchema<YBGetLatestRepVolByPVId_desc> {};

class YBGetLatestRepVolByPVId
    : public ZXDBCursorClass<YBGetLatestRepVolByPVId_desc, YBGetLatestRepVolByPVId_t2,
                             void(int primaryVolumeId, int role, int jobId)> {
public:
    explicit YBGetLatestRepVolByPVId(DBtran* tran) : ZXDBCursorClass(tran) {}
};
