// What still names an SNR volume, and what only describes it: the checks
// that keep a volume's row while devices, scratch volumes or replication
// volumes name it, and the removal of its snap parameters and stored files,
// which go with the row.
#pragma once

#include <cstdint>
#include <string>

#include "service/ErrorCodes.h"
#include "service/Refusals.h"
#include "service/ReplicationMgr.h"

class DBtran;

namespace steps {

// The rows of one kind that name an SNR volume.
enum class VolumeUser {
    Device,             // its devices
    ScratchVolume,      // the scratch volumes on it
    ReplicationVolume,  // replication volumes on it, replicating it or holding a snapshot of it
    OtherThanItsFirstPermanentReplica,  // the same, leaving out its lowest-id permanent replica
};

// The count of the rows of that kind naming the volume, read in the
// transaction; false when the read failed, with the where clause, the table
// class's call and the database code in `failure` for the caller's entry.
bool CountVolumeUsers(VolumeUser kind, int32_t volumeId, DBtran* tran, unsigned int& count, std::string& failure);

// The refusal text when rows of that kind name the volume, and when they
// could not be counted.
const char* VolumeUsedText(VolumeUser kind);
const char* VolumeUsersUnreadText(VolumeUser kind);

// What the caller makes of rows of a kind naming the volume: a refusal (an
// ERR entry with the count, `code` into results that carry one) or the
// volume staying (a WARNING entry, an empty text).
enum class WhileNamed { Refuse, Stay };
enum class Named { No, Yes, Unread };

// Whether rows of that kind name the volume, with the entry `then` asks for
// when they do. A count that could not be read is an ERR entry with -4 into
// results that carry a code (Unread).
template <typename Ret>
Named CheckVolumeUsers(ReplicationMgr& mgr, Ret& ret, WhileNamed then, int code, VolumeUser kind, int32_t volumeId,
                       DBtran* tran, const char* source, const char* function)
{
    unsigned int count = 0;
    std::string failure;
    if (!CountVolumeUsers(kind, volumeId, tran, count, failure)) {
        Fail(mgr, ret, kErrDatabase, VolumeUsersUnreadText(kind), failure, source, function, __LINE__);
        return Named::Unread;
    }
    if (count == 0) return Named::No;
    const std::string volume = "\n\tSNR Volume id = " + std::to_string(volumeId);
    const std::string rows = "\n\tOutput:\n\tNRows = " + std::to_string(count);
    if (then == WhileNamed::Refuse) {
        Fail(mgr, ret, code, VolumeUsedText(kind), volume + rows, source, function, __LINE__);
    } else {
        Warn(mgr, VolumeUsedText(kind), volume + " stays" + rows, source, function, __LINE__);
        ret.errMsg = "";
    }
    return Named::Yes;
}

// Removes the snap parameters and the stored files of an SNR volume whose
// row goes; a volume with neither is no failure. False with the failing
// step's text and code in `errMsg` and `errCode` (its entry is written).
bool RemoveVolumeDescriptions(ReplicationMgr& mgr, int32_t volumeId, std::string& errMsg, int32_t& errCode,
                              DBtran* tran, const char* source, const char* function);

}  // namespace steps
