// The duplicate-name rule of device names: a client's device names are
// unique, compared with their case for a device marked case-sensitive and
// ignoring it for any other. Device registration, the device update and the
// configure and unconfigure operations apply it. Internal to snr/.
#pragma once

#include <string>

#include "host/EvDebug.h"
#include "service/ErrorCodes.h"
#include "service/Refusals.h"

namespace snr_detail {

// The condition that lists the client's devices of a name.
std::string DeviceNameWhere(int clientId, const std::string& name);

extern const char DeviceNameOrder[];  // "id ASC"

// What the rule found among the client's devices named `name`.
struct DeviceNameCheck {
    bool listed = false;         // false: the listing failed with dbCode
    int dbCode = 0;
    bool taken = false;          // a row other than the skipped one carries the name
    bool caseSensitive = false;  // the first such row is marked case-sensitive
};

// Lists the client's devices of the name (where DeviceNameWhere, in the
// transaction given) and walks them in id order, passing over the row whose
// id is skipId (0: none); the first conflicting row ends the walk.
DeviceNameCheck CheckDeviceName(int clientId, const std::string& name, int skipId, DBtran* tran);

// The refusal after the listing failed: -4 with its text and an ERR entry
// naming the where and order texts and the database code.
template <typename Ret>
bool RefuseUnlistedDeviceNames(ReplicationMgr& mgr, Ret& ret, int clientId, const std::string& name, int dbCode,
                               const char* source, const char* function, long line)
{
    return steps::Fail(mgr, ret, kErrDatabase, "Cannot read device information from the database",
                       std::string("\n\tCSNRVolumeDeviceNameDB::getList() failed\n\tInput: \n\tsWhere       = ") +
                           EvDebug::escaped(DeviceNameWhere(clientId, name)) + "\n\tsOrderBy     = " + DeviceNameOrder +
                           "\n\tDB Err Code  = " + std::to_string(dbCode),
                       source, function, line);
}

// The refusal of a name the client already uses: -12 with its text and an
// ERR entry naming the client, the name and how the name compares.
template <typename Ret>
bool RefuseTakenDeviceName(ReplicationMgr& mgr, Ret& ret, int clientId, const std::string& name, bool caseSensitive,
                           const char* source, const char* function, long line)
{
    return steps::Fail(mgr, ret, kErrAlreadyExists, "The device name is already in the database",
                       "\n\tClient ID = " + std::to_string(clientId) + "\n\tDevice Name = " + EvDebug::escaped(name) +
                           "\n\tDevice name is case " + (caseSensitive ? "sensitive" : "insensitive"),
                       source, function, line);
}

}  // namespace snr_detail
