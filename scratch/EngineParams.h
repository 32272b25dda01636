// The snap parameters a scratch pool's member takes from the pool's snap
// engine: the SET clause that gives existing parameters the engine's
// commands, and the row of new parameters for the one host that sees the
// volume. Internal to scratch/.
#pragma once

#include <string>

#include "host/db/PolicyTables.h"
#include "host/db/SqlText.h"
#include "service/RecordConversion.h"

namespace scratch_detail {

// "MountCmd = '<hint>', UnmountCmd = '<hint>', ..., UnsnapCmd = '<hint>'";
// the SnapCmd item has a TAB before its "=". The hints are quoted.
inline std::string EngineCommandsClause(const YBSnapEngineInfo_t& engine)
{
    auto item = [](const char* column, const std::string& hint) {
        return std::string(column) + "'" + SqlEscape(hint) + "'";
    };
    return item("MountCmd = ", YBColumnText(engine.MountCmdHint)) + ", " +
           item("UnmountCmd = ", YBColumnText(engine.UnmountCmdHint)) + ", " +
           item("SyncCmd = ", YBColumnText(engine.SyncCmdHint)) + ", " +
           item("UnsyncCmd = ", YBColumnText(engine.UnsyncCmdHint)) + ", " +
           item("SnapCmd\t= ", YBColumnText(engine.SnapCmdHint)) + ", " +
           item("UnsnapCmd = ", YBColumnText(engine.UnsnapCmdHint));
}

// New snap parameters of a volume: mount, sync and snap on the client, the
// engine's six command hints, Flags 1, no rollback command.
inline YBVolSnapParams_t MemberSnapParams(int volumeId, int engineId, int clientId, const YBSnapEngineInfo_t& engine)
{
    YBVolSnapParams_t params;
    params.SNRVolumeId = volumeId;
    params.SnapEngineId = engineId;
    params.MountClientId = clientId;
    params.SyncClientId = clientId;
    params.SnapClientId = clientId;
    YBCopyText(params.MountCmd, YBColumnText(engine.MountCmdHint));
    YBCopyText(params.UnmountCmd, YBColumnText(engine.UnmountCmdHint));
    YBCopyText(params.SyncCmd, YBColumnText(engine.SyncCmdHint));
    YBCopyText(params.UnsyncCmd, YBColumnText(engine.UnsyncCmdHint));
    YBCopyText(params.SnapCmd, YBColumnText(engine.SnapCmdHint));
    YBCopyText(params.UnsnapCmd, YBColumnText(engine.UnsnapCmdHint));
    params.Flags = 1;
    return params;
}

}  // namespace scratch_detail
