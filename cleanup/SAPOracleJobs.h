// Records and message structures of the SAP/Oracle job views: the jobs of one
// instance on a client, and per job the volume pairs it copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The arguments of both views. The application type code is the request's
// type shifted into the high bits, computed in 64 bits so that no type
// wraps into a valid code.
struct YBSAPOracleJobsArgs_t {
    YBSAPOracleJobsArgs_t(const std::string& instance, int32_t client, int32_t appType, int64_t job)
        : instanceName(instance), clientId(client),
          appTypeCode(static_cast<int64_t>(appType) * (int64_t{1} << 25) + 1), jobId(job)
    {
    }
    std::string instanceName;
    int32_t clientId;
    int64_t appTypeCode;
    int64_t jobId;  // read by the details only
};

struct YBSAPOracleJobIdRecord_t {
    int32_t creationTime = 0;
    int64_t jobId = 0;
};

struct YBSAPOracleVolumeDetailsRec_t {
    int32_t srcVolId = 0;
    int32_t destVolId = 0;
    std::string srcMountPath;
    std::string destMountPath;
};

struct YBSAPOracleJobDetailsRecord_t {
    std::vector<YBSAPOracleVolumeDetailsRec_t> volumes;
    int64_t jobId = 0;
};

struct YBSAPOracleJobListRet_t {
    int32_t errCode = 0;
    std::string errMsg;
    std::vector<YBSAPOracleJobIdRecord_t> jobs;
};
struct YBSAPOracleJobDetailsRet_t {
    int32_t errCode = 0;
    std::string errMsg;
    std::vector<YBSAPOracleJobDetailsRecord_t> jobs;
};

// ---- Wire structures ----------------------------------------------------------------

struct repSAPOracleJobsReq {
    static constexpr bool kHoldsPointers = true;
    char* instanceName;
    int32_t clientId;
    int32_t appType;
    int64_t jobId;
};

struct repSAPJobIdRec {
    int32_t creationTime;
    int64_t jobId;
};

struct repSAPVolumeDetailsRec {
    int32_t srcVolId;
    int32_t destVolId;
    char* srcMountPath;   // never null; an empty path is an empty text
    char* destMountPath;
};

struct repSAPJobDetailsRec {
    uint32_t volumeCount;
    repSAPVolumeDetailsRec* volumes;
    int64_t jobId;
};

template <typename Wire>
struct repSAPOracleRespOf {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    uint32_t count;
    Wire* entries;
};
using repSAPOracleJobListResp = repSAPOracleRespOf<repSAPJobIdRec>;
using repSAPOracleJobDetailsListResp = repSAPOracleRespOf<repSAPJobDetailsRec>;

void YBSet(repSAPJobIdRec& wire, const YBSAPOracleJobIdRecord_t& record);
