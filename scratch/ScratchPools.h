// Argument and result records of the scratch pool catalogue: add, query, list
// and update in message versions 1 to 3, remove in versions 1 and "70", and the
// move of a pool's members to another snap engine. The request and reply
// structures are in scratch/ScratchPoolMessages.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "scratch/ScratchRecords.h"
#include "scratch/ScratchPoolMessages.h"

// Longest pool name the pool table's column holds.
constexpr size_t kMaxScratchPoolNameLength = sizeof(YBScratchPool_t::name) - 1;

// ---- Arguments and results (version 1 results carry no code) ----------------------

struct AddRVScratchVolPoolArgs_t {
    std::string name;
};
struct AddRVScratchVolPoolV2Args_t {
    std::string name;
    int32_t SnapEngineInfoId = -1;
};
struct AddRVScratchVolPoolV3Args_t {
    RVScratchVolumePoolV3Record_t record;
};
struct AddRVScratchVolPoolRet_t {
    std::string errMsg;
    int32_t poolId = -1;
};
struct AddRVScratchVolPoolV2Ret_t : AddRVScratchVolPoolRet_t {
    int32_t errCode = 0;
};
struct AddRVScratchVolPoolV3Ret_t : AddRVScratchVolPoolV2Ret_t {};

struct QueryRVScratchVolPoolArgs_t {
    int32_t poolId = -1;
};
struct QueryRVScratchVolPoolV2Args_t : QueryRVScratchVolPoolArgs_t {};
struct QueryRVScratchVolPoolV3Args_t : QueryRVScratchVolPoolArgs_t {};

// The record is filled on success only.
template <typename Record>
struct QueryRVScratchVolPoolRetOf {
    std::string errMsg;
    Record record;
};
struct QueryRVScratchVolPoolRet_t : QueryRVScratchVolPoolRetOf<RVScratchVolumePoolRecord_t> {};
struct QueryRVScratchVolPoolV2Ret_t : QueryRVScratchVolPoolRetOf<RVScratchVolumePoolV2Record_t> {
    int32_t errCode = 0;
};
struct QueryRVScratchVolPoolV3Ret_t : QueryRVScratchVolPoolRetOf<RVScratchVolumePoolV3Record_t> {
    int32_t errCode = 0;
};

// Every pool in id order; empty after a failure.
template <typename Record>
struct GetRVScratchVolPoolListRetOf {
    std::string errMsg;
    std::vector<Record> pools;
};
struct GetRVScratchVolPoolListRet_t : GetRVScratchVolPoolListRetOf<RVScratchVolumePoolRecord_t> {};
struct GetRVScratchVolPoolV2ListRet_t : GetRVScratchVolPoolListRetOf<RVScratchVolumePoolV2Record_t> {
    int32_t errCode = 0;
};
struct GetRVScratchVolPoolV3ListRet_t : GetRVScratchVolPoolListRetOf<RVScratchVolumePoolV3Record_t> {
    int32_t errCode = 0;
};

template <typename Record>
struct UpdateRVScratchVolPoolArgsOf {
    Record record;
};
struct UpdateRVScratchVolPoolArgs_t : UpdateRVScratchVolPoolArgsOf<RVScratchVolumePoolRecord_t> {};
struct UpdateRVScratchVolPoolV2Args_t : UpdateRVScratchVolPoolArgsOf<RVScratchVolumePoolV2Record_t> {};
struct UpdateRVScratchVolPoolV3Args_t : UpdateRVScratchVolPoolArgsOf<RVScratchVolumePoolV3Record_t> {};
struct UpdateRVScratchVolPoolRet_t {
    std::string errMsg;
};
struct UpdateRVScratchVolPoolV2Ret_t : UpdateRVScratchVolPoolRet_t {
    int32_t errCode = 0;
};
struct UpdateRVScratchVolPoolV3Ret_t : UpdateRVScratchVolPoolV2Ret_t {};

struct RemoveRVScratchVolumePoolArgs_t {
    int32_t poolId = -1;
};
struct RemoveRVScratchVolumePoolRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};

struct UpdateScratchPoolSnapParamsArgs_t {
    int32_t poolId = -1;
    int32_t snapEngineId = -1;
};
struct UpdateScratchPoolSnapParamsRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};

