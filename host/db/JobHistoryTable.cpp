#include "host/db/JobHistoryTable.h"

namespace {

const DBEntityColumn kHistoryColumns[] = {
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, JobId_l, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, CellId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, SrcVolId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, SrcClientId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, SrcClientName, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, SrcBlockCount, DB_COL_INT64, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, SrcBlockSize, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, SrcDeviceName, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, DstVolId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, DstClientId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, DstClientName, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, DstBlockCount, DB_COL_INT64, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, DstBlockSize, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, DstDeviceName, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, DstCostCategoryId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, FurtherNumber1, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, FurtherNumber2, DB_COL_INT64, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, JobId_h, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, CopyMgrType, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBJobVolumeHistory_t, SpaceUsed, DB_COL_INT64, false, false),
};

}  // namespace

const DBEntityTable kYBJobVolumeHistoryTable = dbEntityTable("YBJobVolumeHistory", kHistoryColumns);
