// Appliances: the record, the argument and result records of the add,
// delete, query and list, the wire record and the request and reply
// structures of their cases.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/AppViewReplies.h"
#include "host/db/FileTables.h"

// Longest appliance name the catalogue column holds.
constexpr size_t kMaxApplianceNameLength = sizeof(YBDevice_t::Name) - 1;

struct YBApplianceRecord_t {
    int32_t id = -1;
    std::string name;
};

// The error codes of the results are set on failure only.
struct AddYBApplianceArgs_t {
    std::string name;
};
struct AddYBApplianceRet_t {
    int32_t id = 0;
    int32_t errCode = 0;
    std::string errMsg;
};

struct DeleteYBApplianceArgs_t {
    int32_t id = -1;
};
struct DeleteYBApplianceRet_t {
    std::string errMsg;
    int32_t errCode = 0;
};

struct QueryYBApplianceArgs_t {
    int32_t id = -1;
};
struct QueryYBApplianceRet_t {
    std::string errMsg;
    int32_t errCode = 0;
    YBApplianceRecord_t appliance;
};

// Every appliance in id order; empty after a failure.
struct GetYBApplianceListRet_t {
    std::vector<YBApplianceRecord_t> appliances;
    std::string errMsg;
    int32_t errCode = 0;
};

// ---- Wire record, requests and replies ---------------------------------------

// An appliance: +0 id, +8 name (a null name reads as an empty one).
struct repYBApplianceRec {
    static constexpr bool kHoldsPointers = true;
    uint32_t id;
    char* name;
};

// The reply array of a list: each entry's name is a copy of its own. The
// caller gives the names and the array back with FreeYBApplianceArray.
struct CopyYBApplianceToMsgArgs_t {
    const std::vector<YBApplianceRecord_t>* pApplianceList = nullptr;
};
struct CopyYBApplianceToMsgRet_t {
    repYBApplianceRec* appliances = nullptr;
    uint32_t count = 0;
    std::string errMsg;
    int32_t errCode = 0;
};

// Delete and query: the appliance id.
struct repYBApplianceByIdReq {
    int32_t id;
};

// Every message and name of these replies is a copy of its own, freed after
// the send.
struct repAddYBApplianceResp : repFilesNewIdResp {};
struct repDeleteYBApplianceResp : repFilesStatusResp {};
struct repGetYBApplianceListResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    uint32_t count;
    repYBApplianceRec* appliances;
};
struct repQueryYBApplianceResp {
    uint32_t status;
    int32_t errCode;
    char* errMsg;
    repYBApplianceRec appliance;
};

// Frees each entry's name and the array of a list reply; afterwards the array
// is null and the count 0.
void FreeYBApplianceArray(repYBApplianceRec*& array, uint32_t& count);
