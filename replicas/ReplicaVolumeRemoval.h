// Argument and result records and the request and reply structures of the
// removal of one replication volume with its application directories and
// its subclient link, and the removal of the links alone.
#pragma once

#include <cstdint>
#include <string>

class DBtran;
class ReplicationMgr;

struct RemoveReplicationVolumeArgs_t {
    RemoveReplicationVolumeArgs_t() = default;
    explicit RemoveReplicationVolumeArgs_t(int volumeId) : id(volumeId) {}

    int32_t id = -1;
};
// The text only: the removal carries no code.
struct RemoveReplicationVolumeRet_t {
    std::string errMsg;
};

struct repRemoveReplicationVolumeReq {
    int32_t id;
};
struct repRemoveReplicationVolumeResp {
    uint32_t status;
    char* errMsg;
};

// The failure of the removal of subclient links: its text and code (-4).
struct RemoveSubclientLinksRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};

// Removes the subclient links of one replication volume in the caller's
// transaction, as the removal of the volume does. A volume without a link is
// no failure (a WARNING entry); a failed removal leaves its text and code in
// `ret` after an ERR entry. Entries go under `function`.
bool RemoveSubclientLinks(ReplicationMgr& mgr, int ybVolumeId, RemoveSubclientLinksRet_t& ret, DBtran* tran,
                          const char* function);
