// Argument and result records of the application directories that
// replication volumes hold (table YBApplicationDirs), and the request and
// reply structures of their requests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One entry: an application object and path of a subclient held in a
// replication volume. Every producer sets every integer.
struct ApplicationDirsRecord_t {
    ApplicationDirsRecord_t() : objName(), path() {}
    ApplicationDirsRecord_t(const ApplicationDirsRecord_t&) = default;
    ApplicationDirsRecord_t(ApplicationDirsRecord_t&&) = default;
    ApplicationDirsRecord_t& operator=(const ApplicationDirsRecord_t&) = default;
    ApplicationDirsRecord_t& operator=(ApplicationDirsRecord_t&&) = default;

    int id;
    int subclientId;
    int clientId;
    int pathType;
    std::string objName;
    std::string path;
    int creationTime;
    int modifyTime;
    int ReplicationVolumeId;
};

struct CreateAppDirsRecordsArgs_t {
    std::vector<ApplicationDirsRecord_t> records;
};
// Not used: the operation answers through its own reply.
struct CreateAppDirsRecordsRet_t {
    int unused = -1;
};

struct CopyAppDirsArgs_t {
    int SrcYBVolId = -1;
    int DstYBVolId = -1;
};
struct CopyAppDirsRet_t {
    std::string errMsg;
    int errCode = 0;
};

struct QueryAppDirByReplicaVolArgs_t {
    int ReplicationVolumeId = -1;
};
struct QueryAppDirByReplicaVolRet_t {
    std::string errMsg;
    std::vector<ApplicationDirsRecord_t> AppDirs;
};

struct DeleteAppDirsByReplicationVolIdArgs_t {
    int32_t ReplicationVolumeId = -1;
};
// The text only.
struct DeleteAppDirsByReplicationVolIdRet_t {
    std::string errMsg;
};

struct UpdateAppDirModifyTimeByRepVolArgs_t {
    std::vector<int> ReplicationVolumeIds;
    int32_t ModifyTime = 0;  // 0: now
};
// The text only.
struct UpdateAppDirModifyTimeByRepVolRet_t {
    std::string errMsg;
};

// The entries of a subclient (or a client) created up to a time; 0: no bound.
struct GetApplicationDirsBySubclientIdAndTimeArgs_t {
    int SubclientId = 0;
    int32_t Time = 0;
};
struct GetApplicationDirsByClientAndTimeArgs_t {
    int ClientId = 0;
    int32_t Time = 0;
};
// Not filled: the listings answer through their own replies.
struct GetApplicationDirsBySubclientIdAndTimeRet_t {
    std::vector<ApplicationDirsRecord_t> AppDirs;
};
struct GetApplicationDirsByClientAndTimeRet_t {
    std::vector<ApplicationDirsRecord_t> AppDirs;
};

// ---- Wire structures --------------------------------------------------------------

// An entry of the recording request and of the per-volume listing reply.
struct repApplicationDirs {
    int32_t id;
    int32_t subclientId;
    int32_t clientId;
    int32_t pathType;
    char* objName;
    char* path;
    int32_t ReplicationVolumeId;
    int32_t creationTime;
    int32_t modifyTime;
};

struct CopyAppDirToMsgArgs_t {
    const std::vector<ApplicationDirsRecord_t>* pvAppDirList = nullptr;
};
struct CopyAppDirToMsgRet_t {
    repApplicationDirs* AppDirs = nullptr;
    uint32_t count = 0;
    std::string errMsg;
};

struct repCreateAppDirsRecordsReq {
    static constexpr bool kHoldsPointers = true;
    uint32_t count;
    repApplicationDirs* AppDirs;
};
// 0 success, 2 failure, 4 no entries in the request.
struct repCreateAppDirsRecordsResp {
    int64_t result;
};

struct repCopyAppDirReq {
    int32_t SrcYBVolId;
    int32_t DstYBVolId;
};
struct repCopyAppDirResp {
    int32_t status;
    int32_t errCode;
    char* errMsg;
};

struct repQueryAppDirsByReplicaVolReq {
    int32_t ReplicationVolumeId;
};
struct repQueryAppDirsByReplicaVolResp {
    int32_t status;
    char* errMsg;
    uint32_t count;
    repApplicationDirs* AppDirs;
};

struct repUpdateAppDirModifyTimeByRepVolReq {
    static constexpr bool kHoldsPointers = true;
    int32_t ModifyTime;
    int32_t unused;  // not read
    uint32_t count;
    int32_t* ReplicationVolumeIds;
};
struct repUpdateAppDirModifyTimeByRepVolResp {
    int32_t status;
    char* errMsg;
};

struct repGetAppDirsBySubclientAndTimeReq {
    int32_t SubclientId;
    int32_t Time;
};
struct repGetAppDirsByClientAndTimeReq {
    int32_t ClientId;
    int32_t Time;
};
// The entry of the subclient listing; the client listing's entry carries the
// subclient id in the second field.
struct repGetAppDirsBySubclientAndTime {
    int32_t id;
    int32_t clientId;
    int32_t pathType;
    char* objName;
    char* path;
    int32_t creationTime;
    int32_t modifyTime;
    int32_t ReplicationVolumeId;
};
struct repGetAppDirsByClientAndTime {
    int32_t id;
    int32_t subclientId;
    int32_t pathType;
    char* objName;
    char* path;
    int32_t creationTime;
    int32_t modifyTime;
    int32_t ReplicationVolumeId;
};
// 0 success, 1 no entries, 2 database error, 3 no memory.
struct repGetAppDirsBySubclientAndTimeResp {
    int64_t status;
    int32_t count;
    repGetAppDirsBySubclientAndTime* AppDirs;
};
struct repGetAppDirsByClientAndTimeResp {
    int64_t status;
    int32_t count;
    repGetAppDirsByClientAndTime* AppDirs;
};
