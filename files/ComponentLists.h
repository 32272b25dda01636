// Lists that other components of the product read: the volume ids named by
// the active subclients of the snapshot-aware application types, the hosts
// usable for the volume explorer and the copy manager controllers. Records,
// results, wire elements and replies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "files/AppViewReplies.h"
#include "service/Utils.h"

struct VEHostRecord_t {
    VEHostRecord_t() = default;
    VEHostRecord_t(int32_t clientId, std::string hostName, bool flag)
        : ClientId(clientId), NetworkHostName(std::move(hostName)), Flag(flag)
    {
    }

    int32_t ClientId = -1;
    std::string NetworkHostName;
    bool Flag = false;
};

struct YBCopyMgrCtrlRecord_t {
    int32_t CMCId = -1;
    std::string CMName;
    int32_t CMType = -1;
    int32_t MAId = -1;
    int32_t ClientId = -1;
    std::string NetHostName;
    int32_t OSId = -1;
    std::string OSName;
};

// The lists are empty after a failure.
struct GetYBSubclientVolumesListRet_t {
    std::vector<int> volumeIds;
    std::string errMsg;
    int32_t errCode = 0;
};
struct GetVEHostsRet_t {
    std::vector<VEHostRecord_t> hosts;
    std::string errMsg;
    int32_t errCode = 0;
};
struct GetYBCopyMgrCtrlsRet_t {
    std::vector<YBCopyMgrCtrlRecord_t> controllers;
    std::string errMsg;
    int32_t errCode = 0;
};

// ---- Wire elements and replies ------------------------------------------------

// A volume explorer host: the host name points into the record, also when
// it is empty.
struct repVEHostRec {
    uint32_t ClientId;
    char* NetworkHostName;
    uint32_t Flag;
};

// A copy manager controller: each text null when empty; the last eight
// bytes stay zero.
struct repYBCopyMgrCtrlRec {
    uint32_t CMCId;
    char* CMName;
    uint32_t CMType;
    uint32_t MAId;
    uint32_t ClientId;
    char* NetHostName;
    uint32_t OSId;
    char* OSName;
    uint64_t Reserved;
};

struct repGetSubclientVolumesListResp : repFilesListResp<int> {};
struct repGetVEHostsResp : repFilesListResp<repVEHostRec> {};
struct repGetCopyMgrCtrlsResp : repFilesListResp<repYBCopyMgrCtrlRec> {};

void YBSet(repVEHostRec& dst, const VEHostRecord_t& src);
void YBSet(repYBCopyMgrCtrlRec& dst, const YBCopyMgrCtrlRecord_t& src);

extern template bool CopyVectorToMsg(repVEHostRec**, const std::vector<VEHostRecord_t>&);
extern template bool CopyVectorToMsg(repYBCopyMgrCtrlRec**, const std::vector<YBCopyMgrCtrlRecord_t>&);
