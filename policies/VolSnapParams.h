// Argument and result records and the request and reply structures of the
// volume snap parameters: add, query, update and list in message versions 1
// and 2, remove in one version, the check the permanent replicas use and the
// condition of the snapshots that keep a primary volume's parameters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "policies/VolSnapParamRecords.h"

// ---- Arguments and results ----------------------------------------------------------

template <typename Record>
struct VolSnapParamsArgsOf {
    Record record;
};
struct AddVolSnapParamsArgs_t : VolSnapParamsArgsOf<VolSnapParamsRecord_t> {};
struct AddVolSnapParamsV2Args_t : VolSnapParamsArgsOf<VolSnapParamsV2Record_t> {};
struct UpdateVolSnapParamsArgs_t : VolSnapParamsArgsOf<VolSnapParamsRecord_t> {};
struct UpdateVolSnapParamsV2Args_t : VolSnapParamsArgsOf<VolSnapParamsV2Record_t> {};

// Version 1 results carry no code.
struct AddVolSnapParamsRet_t {
    std::string errMsg;
};
struct AddVolSnapParamsV2Ret_t : AddVolSnapParamsRet_t {
    int32_t errCode = 0;
};
struct UpdateVolSnapParamsRet_t {
    std::string errMsg;
};
struct UpdateVolSnapParamsV2Ret_t : UpdateVolSnapParamsRet_t {
    int32_t errCode = 0;
};

struct QueryVolSnapParamsArgs_t {
    int32_t SNRVolumeId = -1;
};
struct QueryVolSnapParamsV2Args_t : QueryVolSnapParamsArgs_t {};

// The record is filled on success only.
template <typename Record>
struct QueryVolSnapParamsRetOf {
    Record record;
    std::string errMsg;
};
struct QueryVolSnapParamsRet_t : QueryVolSnapParamsRetOf<VolSnapParamsRecord_t> {};
struct QueryVolSnapParamsV2Ret_t : QueryVolSnapParamsRetOf<VolSnapParamsV2Record_t> {
    int32_t errCode = 0;
};

// Every row in SNR volume order; empty after a failure.
template <typename Record>
struct GetVolSnapParamsListRetOf {
    std::string errMsg;
    std::vector<Record> params;
};
struct GetVolSnapParamsListRet_t : GetVolSnapParamsListRetOf<VolSnapParamsRecord_t> {};
struct GetVolSnapParamsV2ListRet_t : GetVolSnapParamsListRetOf<VolSnapParamsV2Record_t> {
    int32_t errCode = 0;
};

struct RemoveVolSnapParamArgs_t {
    int32_t SNRVolumeId = -1;
};
struct RemoveVolSnapParamRet_t {
    std::string errMsg;
};
struct RemoveVolSnapParam42Args_t {
    int32_t SNRVolumeId = -1;
};
// errCode is 0 on success; -3 when the volume has no parameters row.
struct RemoveVolSnapParam42Ret_t {
    int32_t errCode = 0;
    std::string errMsg;
};

struct IsSNRVolIdInVolSnapParamsTblArgs_t {
    int32_t SNRVolumeId = -1;
};
struct IsSNRVolIdInVolSnapParamsTblRet_t {
    bool found = false;
    std::string errMsg;
};

// The condition of the replication volumes that keep a primary volume's snap
// parameters in use: its snapshots, and its snapshots kept in a destination
// volume by snap engine type 5. Their count decides whether the parameters
// may go.
std::string PrimaryVolumeSnapshotsWhere(int32_t primaryVolumeId);

// ---- Requests ------------------------------------------------------------------------

struct repAddVolSnapParamsReq {
    static constexpr bool kHoldsPointers = true;
    repVolumeSnapParams VolSnapParams;
};
struct repAddVolSnapParamsV2Req {
    static constexpr bool kHoldsPointers = true;
    repVolumeSnapParamsV2 VolSnapParams;
};
struct repUpdateVolSnapParamsReq {
    static constexpr bool kHoldsPointers = true;
    repVolumeSnapParams VolSnapParams;
};
struct repUpdateVolSnapParamsV2Req {
    static constexpr bool kHoldsPointers = true;
    repVolumeSnapParamsV2 VolSnapParams;
};
struct repQueryVolSnapParamsBySNRVolReq {
    uint32_t SNRVolumeId;
};
struct repQueryVolSnapParamsV2BySNRVolReq : repQueryVolSnapParamsBySNRVolReq {};
struct repRemoveVolSnapParamsReq {
    uint32_t SNRVolumeId;
};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) -------------

struct repAddVolSnapParamsResp {
    uint32_t status;
    char* errMsg;
};
struct repAddVolSnapParamsV2Resp {
    uint32_t status;
    char* errMsg;
    int32_t errCode;
};
struct repUpdateVolSnapParamsResp : repAddVolSnapParamsResp {};
struct repUpdateVolSnapParamsV2Resp : repAddVolSnapParamsV2Resp {};

// The parameters come first and are filled on success only.
struct repQueryVolSnapParamsBySNRVolResp {
    repVolumeSnapParams VolSnapParams;
    uint32_t status;
    char* errMsg;
};
struct repQueryVolSnapParamsV2BySNRVolResp {
    repVolumeSnapParamsV2 VolSnapParams;
    uint32_t status;
    char* errMsg;
    int32_t errCode;
};

struct repRemoveVolSnapParamsResp {
    uint32_t status;
    char* errMsg;
};

// The array holds count rows; it is null exactly when count is 0.
struct repGetVolSnapParamsListResp {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    repVolumeSnapParams* params;
};
struct repGetVolSnapParamsV2ListResp {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    repVolumeSnapParamsV2* params;
    int32_t errCode;
};
