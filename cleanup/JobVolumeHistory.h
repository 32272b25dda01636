// Records, argument and result records, and the request and reply structures
// of the job volume history: which source volume a job copied to which
// destination volume, in message versions 1 and 80.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One entry of the history.
struct YBJobVolumeHistoryRecord_t {
    int32_t id = -1;
    int64_t JobId = -1;
    int32_t CellId = -1;
    int32_t SrcVolId = -1;
    int32_t SrcClientId = -1;
    std::string SrcClientName;
    int64_t SrcBlockCount = 0;
    int32_t SrcBlockSize = -1;
    std::string SrcDeviceName;
    int32_t DstVolId = -1;
    int32_t DstClientId = -1;
    std::string DstClientName;
    int64_t DstBlockCount = 0;
    int32_t DstBlockSize = -1;
    std::string DstDeviceName;
    int64_t DstCostCategoryId = 0;
    int64_t FurtherNumber1 = 0;  // carried unchanged, never set here
    int64_t FurtherNumber2 = 0;
};

// From version 80 on: the kind of copy manager and the space the copy uses.
struct YBJobVolumeHistoryRecord80_t : YBJobVolumeHistoryRecord_t {
    int32_t CopyMgrType = 1;
    int64_t SpaceUsed = 0;
};

// ---- Arguments and results ----------------------------------------------------

struct AddYBJobVolumeHistoryArgs_t {
    YBJobVolumeHistoryRecord_t record;
};
struct AddYBJobVolumeHistoryArgs80_t {
    YBJobVolumeHistoryRecord80_t record;
};
struct AddYBJobVolumeHistoryRet_t {
    int32_t id = -1;  // the new or the existing entry
    int32_t errCode = 0;
    std::string errMsg;
};
struct AddYBJobVolumeHistoryRet80_t : AddYBJobVolumeHistoryRet_t {};

struct QueryYBJobHistoryByJobIdArgs_t {
    int64_t JobId = 0;
};
struct QueryYBJobHistoryByVolIdArgs_t {
    int32_t SrcVolId = 0;
};
struct QueryYBJobHistoryByIdArgs_t {
    int32_t id = 0;
};
struct DeleteYBJobHistoryByJobIdArgs_t {
    int64_t JobId = 0;
};

// Entries in id order; empty after a failure.
template <typename Record>
struct YBJobHistoryListRetOf {
    std::vector<Record> list;
    int32_t errCode = 0;
    std::string errMsg;
};
struct YBJobHistoryListRet_t : YBJobHistoryListRetOf<YBJobVolumeHistoryRecord_t> {};
struct YBJobHistoryListRet80_t : YBJobHistoryListRetOf<YBJobVolumeHistoryRecord80_t> {};

template <typename Record>
struct YBJobHistoryOneRetOf {
    Record record;
    int32_t errCode = 0;
    std::string errMsg;
};
struct QueryYBJobHistoryByIdRet_t : YBJobHistoryOneRetOf<YBJobVolumeHistoryRecord_t> {};
struct QueryYBJobHistoryByIdRet80_t : YBJobHistoryOneRetOf<YBJobVolumeHistoryRecord80_t> {};

struct DeleteYBJobHistoryByJobIdRet_t {
    int32_t errCode = 0;
    std::string errMsg;
};

// ---- Wire structures (host byte order; texts are pointers) ------------------------

struct repYBJobVolumeHistoryRec {
    static constexpr bool kHoldsPointers = true;
    uint32_t id;
    int64_t JobId;
    int32_t CellId;
    int32_t SrcVolId;
    int32_t SrcClientId;
    char* SrcClientName;
    int64_t SrcBlockCount;
    int32_t SrcBlockSize;
    char* SrcDeviceName;
    int32_t DstVolId;
    int32_t DstClientId;
    char* DstClientName;
    int64_t DstBlockCount;
    int32_t DstBlockSize;
    char* DstDeviceName;
    int64_t DstCostCategoryId;
    int64_t FurtherNumber1;
    int64_t FurtherNumber2;
};

struct repYBJobVolumeHistory80Rec {
    static constexpr bool kHoldsPointers = true;
    repYBJobVolumeHistoryRec common;
    int32_t CopyMgrType;
    int64_t SpaceUsed;
};

struct repYBJobHistoryByJobIdReq {
    int64_t JobId;
};
struct repYBJobHistoryByIdReq {
    int32_t id;
};
struct repYBJobHistoryByVolIdReq {
    int32_t SrcVolId;
};

struct repAddVolumeToYBJobHistoryResp {
    uint32_t id;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

template <typename Wire>
struct repYBJobHistoryListRespOf {
    uint32_t count;
    Wire* entries;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};
using repYBJobHistoryListResp = repYBJobHistoryListRespOf<repYBJobVolumeHistoryRec>;
using repYBJobHistoryList80Resp = repYBJobHistoryListRespOf<repYBJobVolumeHistory80Rec>;

template <typename Wire>
struct repYBJobHistoryByIdRespOf {
    Wire entry;
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};
using repYBJobHistoryByIdResp = repYBJobHistoryByIdRespOf<repYBJobVolumeHistoryRec>;
using repYBJobHistoryById80Resp = repYBJobHistoryByIdRespOf<repYBJobVolumeHistory80Rec>;

// The layouts of each request and reply by name; the lists share one layout.
using repQueryYBJobHistoryByJobIdResp = repYBJobHistoryListResp;
using repQueryYBJobHistoryByVolumeIdResp = repYBJobHistoryListResp;
using repGetYBJobVolumeHistoryListResp = repYBJobHistoryListResp;
using repQueryYBJobHistoryByIdResp = repYBJobHistoryByIdResp;
using repAddVolumeToYBJobHistory80Req = repYBJobVolumeHistory80Rec;
using repAddVolumeToYBJobHistory80Resp = repAddVolumeToYBJobHistoryResp;
using repQueryYBJobHistoryByJobId80Req = repYBJobHistoryByJobIdReq;
using repQueryYBJobHistoryByJobId80Resp = repYBJobHistoryList80Resp;
using repQueryYBJobHistoryById80Req = repYBJobHistoryByIdReq;
using repQueryYBJobHistoryById80Resp = repYBJobHistoryById80Resp;
using repQueryYBJobHistoryByVolumeId80Req = repYBJobHistoryByVolIdReq;
using repQueryYBJobHistoryByVolumeId80Resp = repYBJobHistoryList80Resp;
using repGetYBJobVolumeHistoryList80Resp = repYBJobHistoryList80Resp;

struct repDeleteYBJobHistoryByJobIdResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
};

// ---- Conversions ------------------------------------------------------------------

// Record to wire: empty texts go out as null pointers, the others point into
// the record. Wire to record: a null text comes in empty.
void YBSet(repYBJobVolumeHistoryRec& wire, const YBJobVolumeHistoryRecord_t& record);
void YBSet(repYBJobVolumeHistory80Rec& wire, const YBJobVolumeHistoryRecord80_t& record);
void YBSet(YBJobVolumeHistoryRecord_t& record, const repYBJobVolumeHistoryRec& wire);
void YBSet(YBJobVolumeHistoryRecord80_t& record, const repYBJobVolumeHistory80Rec& wire);

// The version-1 array of the replies by source volume and of the full list:
// every text is a pointer, an empty one to an empty text. False when the
// array cannot be allocated.
bool CopyYBJobHistoryToMsg(repYBJobVolumeHistoryRec** out, const std::vector<YBJobVolumeHistoryRecord_t>& list);
