// The request and reply structures of the replication policy catalogue: add,
// query by id, update, list and the list by scratch pool in message versions 1
// to 3; remove and the subclients that name a policy in one version each.
#pragma once

#include <cstdint>

#include "policies/PolicyRecords.h"

// ---- Requests ------------------------------------------------------------------------

struct repAddReplicationPolicyReq {
    static constexpr bool kHoldsPointers = true;
    repReplicationPolicy policy;
};
struct repAddReplicationPolicyV2Req {
    static constexpr bool kHoldsPointers = true;
    repReplicationPolicyV2 policy;
};
struct repAddReplicationPolicyV3Req {
    static constexpr bool kHoldsPointers = true;
    repReplicationPolicyV3 policy;
};

struct repQueryReplicationPolicyByIdReq {
    int32_t id;
};
struct repQueryReplicationPolicyV2ByIdReq : repQueryReplicationPolicyByIdReq {};
struct repQueryReplicationPolicyV3ByIdReq : repQueryReplicationPolicyByIdReq {};

struct repUpdateReplicationPolicyReq {
    static constexpr bool kHoldsPointers = true;
    repReplicationPolicy policy;
};
struct repUpdateReplicationPolicyV2Req {
    static constexpr bool kHoldsPointers = true;
    repReplicationPolicyV2 policy;
};
struct repUpdateReplicationPolicyV3Req {
    static constexpr bool kHoldsPointers = true;
    repReplicationPolicyV3 policy;
};

struct repQueryReplicaPolicyByPoolIdReq {
    int32_t poolId;
};
struct repQueryReplicaPolicyV2ByPoolIdReq : repQueryReplicaPolicyByPoolIdReq {};
struct repQueryReplicaPolicyV3ByPoolIdReq : repQueryReplicaPolicyByPoolIdReq {};

struct repRemoveReplicationPolicyReq {
    int32_t id;
};

// The application types are count int32 values; a null array asks for none.
struct repGetSCListByPolicyReq {
    static constexpr bool kHoldsPointers = true;
    int32_t policyId;
    int32_t reserved;
    uint32_t count;
    int32_t* appTypes;
};

// ---- Replies (status 1 succeeded, 0 failed; the message null on success) -------------

// The new id first; 0 on failure.
struct repAddReplicationPolicyResp {
    int32_t id;
    uint32_t status;
    char* errMsg;
    int32_t reserved;  // always 0
};
struct repAddReplicationPolicyV2Resp {
    int32_t id;
    uint32_t status;
    char* errMsg;
    int32_t errCode;
};
struct repAddReplicationPolicyV3Resp : repAddReplicationPolicyV2Resp {};

// The policy is filled on success only; its name points into the result.
struct repQueryReplicationPolicyByIdResp {
    uint32_t status;
    char* errMsg;
    repReplicationPolicy policy;
};
struct repQueryReplicationPolicyV2ByIdResp {
    uint32_t status;
    char* errMsg;
    repReplicationPolicyV2 policy;
    int32_t errCode;
};
struct repQueryReplicationPolicyV3ByIdResp {
    uint32_t status;
    char* errMsg;
    repReplicationPolicyV3 policy;
    int32_t errCode;
};

// Version 3 answers with the version 2 reply.
struct repUpdateReplicationPolicyResp {
    uint32_t status;
    char* errMsg;
};
struct repUpdateReplicationPolicyV2Resp {
    uint32_t status;
    char* errMsg;
    int32_t errCode;
};

// The array holds count policies; it is null exactly when count is 0.
template <typename Wire>
struct PolicyListRespV1 {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    Wire* policies;
};
template <typename Wire>
struct PolicyListResp {
    uint32_t status;
    char* errMsg;
    uint32_t count;
    Wire* policies;
    int32_t errCode;
};
using repGetReplicationPolicyListResp = PolicyListRespV1<repReplicationPolicy>;
using repGetReplicationPolicyV2ListResp = PolicyListResp<repReplicationPolicyV2>;
using repGetReplicationPolicyV3ListResp = PolicyListResp<repReplicationPolicyV3>;
using repQueryReplicaPolicyByPoolIdResp = PolicyListRespV1<repReplicationPolicy>;
using repQueryReplicaPolicyV2ByPoolIdResp = PolicyListResp<repReplicationPolicyV2>;
using repQueryReplicaPolicyV3ByPoolIdResp = PolicyListResp<repReplicationPolicyV3>;

struct repRemoveReplicationPolicyResp {
    uint32_t status;
    char* errMsg;
};

// The array holds count subclient ids; null when there are none.
struct repGetSCListByPolicyResp {
    int32_t status;
    int32_t errCode;
    char* errMsg;
    uint32_t count;
    int* subclients;
};
