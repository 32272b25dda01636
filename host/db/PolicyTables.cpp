#include "host/db/PolicyTables.h"

namespace {

const DBEntityColumn kPolicyColumns[] = {
    DB_ENTITY_COLUMN(YBPolicy_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBPolicy_t, name, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBPolicy_t, RetentionSeconds, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPolicy_t, Flags, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPolicy_t, CopyMgrCtrlId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPolicy_t, SnapEngineInfoId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPolicy_t, VolumeScratchPoolId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPolicy_t, NSnapshot, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBPolicy_t, CopyManagerType, DB_COL_INT32, false, false),
};

const DBEntityColumn kSnapEngineColumns[] = {
    DB_ENTITY_COLUMN(YBSnapEngineInfo_t, id, DB_COL_INT32, true, true),
    DB_ENTITY_COLUMN(YBSnapEngineInfo_t, name, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBSnapEngineInfo_t, Flags, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBSnapEngineInfo_t, MountCmdHint, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBSnapEngineInfo_t, UnmountCmdHint, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBSnapEngineInfo_t, SyncCmdHint, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBSnapEngineInfo_t, UnsyncCmdHint, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBSnapEngineInfo_t, SnapCmdHint, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBSnapEngineInfo_t, UnsnapCmdHint, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBSnapEngineInfo_t, OsType, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBSnapEngineInfo_t, Type, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBSnapEngineInfo_t, RollbackCmdHint, DB_COL_TEXT, false, false),
};

const DBEntityColumn kVolSnapParamsColumns[] = {
    DB_ENTITY_COLUMN(YBVolSnapParams_t, SNRVolumeId, DB_COL_INT32, true, false),
    DB_ENTITY_COLUMN(YBVolSnapParams_t, SnapEngineId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolSnapParams_t, MountClientId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolSnapParams_t, MountCmd, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBVolSnapParams_t, UnmountCmd, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBVolSnapParams_t, SyncClientId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolSnapParams_t, SyncCmd, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBVolSnapParams_t, UnsyncCmd, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBVolSnapParams_t, SnapClientId, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolSnapParams_t, SnapCmd, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBVolSnapParams_t, UnsnapCmd, DB_COL_TEXT, false, false),
    DB_ENTITY_COLUMN(YBVolSnapParams_t, Flags, DB_COL_INT32, false, false),
    DB_ENTITY_COLUMN(YBVolSnapParams_t, RollbackCmd, DB_COL_TEXT, false, false),
};

}  // namespace

const DBEntityTable kYBPolicyTable = dbEntityTable("YBPolicy", kPolicyColumns);
const DBEntityTable kYBSnapEngineInfoTable = dbEntityTable("YBSnapEngineInfo", kSnapEngineColumns);
const DBEntityTable kYBVolSnapParamsTable = dbEntityTable("YBVolSnapParams", kVolSnapParamsColumns);
