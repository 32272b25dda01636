// Argument and result records and the request and reply structures of the
// snap engine catalogue: add, query by id, update and list in message
// versions 1, 42 and 3; remove by id and by name in one version each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "policies/SnapEngineRecords.h"

// ---- Arguments and results ----------------------------------------------------------

template <typename Record>
struct SnapEngineArgsOf {
    Record record;
};
struct AddSnapEngineInfoArgs_t : SnapEngineArgsOf<SnapEngineInfoRecord_t> {};
struct AddSnapEngineInfo42Args_t : SnapEngineArgsOf<SnapEngineInfo42Record_t> {};
struct AddSnapEngineInfoV3Args_t : SnapEngineArgsOf<SnapEngineInfoV3Record_t> {};

// The new engine's id, or the id of the engine already stored under the
// name; -1 after a failure.
struct AddSnapEngineInfoRet_t {
    int32_t id = -1;
    std::string errMsg;
};
struct AddSnapEngineInfo42Ret_t : AddSnapEngineInfoRet_t {};
struct AddSnapEngineInfoV3Ret_t : AddSnapEngineInfoRet_t {
    int32_t errCode = 0;
};

struct QuerySnapEngineInfoArgs_t {
    int32_t id = -1;
};
struct QuerySnapEngineInfo42Args_t : QuerySnapEngineInfoArgs_t {};
struct QuerySnapEngineInfoV3Args_t : QuerySnapEngineInfoArgs_t {};

// The record is filled on success only.
template <typename Record>
struct QuerySnapEngineInfoRetOf {
    Record record;
    std::string errMsg;
};
struct QuerySnapEngineInfoRet_t : QuerySnapEngineInfoRetOf<SnapEngineInfoRecord_t> {};
struct QuerySnapEngineInfo42Ret_t : QuerySnapEngineInfoRetOf<SnapEngineInfo42Record_t> {};
struct QuerySnapEngineInfoV3Ret_t : QuerySnapEngineInfoRetOf<SnapEngineInfoV3Record_t> {
    int32_t errCode = 0;
};

struct UpdateSnapEngineInfoArgs_t : SnapEngineArgsOf<SnapEngineInfoRecord_t> {};
struct UpdateSnapEngineInfo42Args_t : SnapEngineArgsOf<SnapEngineInfo42Record_t> {};
struct UpdateSnapEngineInfoV3Args_t : SnapEngineArgsOf<SnapEngineInfoV3Record_t> {};

struct UpdateSnapEngineInfoRet_t {
    std::string errMsg;
};
struct UpdateSnapEngineInfo42Ret_t : UpdateSnapEngineInfoRet_t {};
struct UpdateSnapEngineInfoV3Ret_t : UpdateSnapEngineInfoRet_t {
    int32_t errCode = 0;
};

// Every engine in id order; empty after a failure.
template <typename Record>
struct GetSnapEngineInfoListRetOf {
    std::string errMsg;
    std::vector<Record> engines;
};
struct GetSnapEngineInfoListRet_t : GetSnapEngineInfoListRetOf<SnapEngineInfoRecord_t> {};
struct GetSnapEngineInfo42ListRet_t : GetSnapEngineInfoListRetOf<SnapEngineInfo42Record_t> {};
struct GetSnapEngineInfoV3ListRet_t : GetSnapEngineInfoListRetOf<SnapEngineInfoV3Record_t> {
    int32_t errCode = 0;
};

struct RemoveSnapEngineInfoArgs_t {
    int32_t id = -1;
};
struct RemoveSnapEngineInfoRet_t {
    std::string errMsg;
};

struct RemoveSnapEngineInfoByNameArgs_t {
    std::string name;
};
struct RemoveSnapEngineInfoByNameRet_t {
    std::string errMsg;
};

// ---- Requests ------------------------------------------------------------------------

struct repAddSnapEngineInfoReq {
    static constexpr bool kHoldsPointers = true;
    repSnapEngineInfo SnapEngineInfo;
};
struct repAddSnapEngineInfo42Req {
    static constexpr bool kHoldsPointers = true;
    repSnapEngineInfo42 SnapEngineInfo;
};
struct repAddSnapEngineInfoV3Req {
    static constexpr bool kHoldsPointers = true;
    repSnapEngineInfoV3 SnapEngineInfo;
};

struct repQuerySnapEngineInfoByIdReq {
    uint32_t id;
};
struct repQuerySnapEngineInfo42ByIdReq : repQuerySnapEngineInfoByIdReq {};
struct repQuerySnapEngineInfoV3ByIdReq : repQuerySnapEngineInfoByIdReq {};

struct repUpdateSnapEngineInfoReq {
    static constexpr bool kHoldsPointers = true;
    repSnapEngineInfo SnapEngineInfo;
};
struct repUpdateSnapEngineInfo42Req {
    static constexpr bool kHoldsPointers = true;
    repSnapEngineInfo42 SnapEngineInfo;
};
struct repUpdateSnapEngineInfoV3Req {
    static constexpr bool kHoldsPointers = true;
    repSnapEngineInfoV3 SnapEngineInfo;
};

struct repRemoveSnapEngineInfoReq {
    uint32_t id;
};

// A null name reads as the empty name.
struct repRemoveSnapEngineInfoByNameReq {
    static constexpr bool kHoldsPointers = true;
    char* name;
};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) -------------

// The id is that of the engine added or found under the name; 0 on failure.
struct repAddSnapEngineInfoResp {
    uint32_t status;
    uint32_t id;
    char* errMsg;
};
struct repAddSnapEngineInfo42Resp : repAddSnapEngineInfoResp {};
struct repAddSnapEngineInfoV3Resp {
    uint32_t status;
    uint32_t id;
    char* errMsg;
    int32_t errCode;
};

// The engine is filled on success only.
struct repQuerySnapEngineInfoByIdResp {
    uint32_t status;
    char* errMsg;
    repSnapEngineInfo SnapEngineInfo;
};
struct repQuerySnapEngineInfo42ByIdResp {
    uint32_t status;
    char* errMsg;
    repSnapEngineInfo42 SnapEngineInfo;
};
struct repQuerySnapEngineInfoV3ByIdResp {
    uint32_t status;
    char* errMsg;
    repSnapEngineInfoV3 SnapEngineInfo;
    int32_t errCode;
};

struct repUpdateSnapEngineInfoResp {
    uint32_t status;
    char* errMsg;
};
struct repUpdateSnapEngineInfo42Resp : repUpdateSnapEngineInfoResp {};
struct repUpdateSnapEngineInfoV3Resp {
    uint32_t status;
    char* errMsg;
    int32_t errCode;
};

// The array holds count engines; it is null exactly when count is 0.
struct repGetSnapEngineInfoListResp {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    repSnapEngineInfo* engines;
};
struct repGetSnapEngineInfo42ListResp {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    repSnapEngineInfo42* engines;
};
struct repGetSnapEngineInfoV3ListResp {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    repSnapEngineInfoV3* engines;
    int32_t errCode;
};

struct repRemoveSnapEngineInfoResp {
    uint32_t status;
    char* errMsg;
};
struct repRemoveSnapEngineInfoByNameResp {
    uint32_t status;
    char* errMsg;
};
