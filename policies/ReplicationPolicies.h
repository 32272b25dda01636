// Argument and result records and the request and reply structures of the
// replication policy catalogue: add, query by id, update, list and the list
// by scratch pool in message versions 1 to 3; remove and the subclients that
// name a policy in one version each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "policies/PolicyRecords.h"

// ---- Arguments and results (version 1 results carry no code) ----------------------

template <typename Record>
struct ReplicationPolicyArgsOf {
    Record record;
};
struct AddReplicationPolicyArgs_t : ReplicationPolicyArgsOf<ReplicationPolicyRecord_t> {};
struct AddReplicationPolicyV2Args_t : ReplicationPolicyArgsOf<ReplicationPolicyV2Record_t> {};
struct AddReplicationPolicyV3Args_t : ReplicationPolicyArgsOf<ReplicationPolicyV3Record_t> {};

// The new policy's id; -1 after a failure.
struct AddReplicationPolicyRet_t {
    int32_t id = -1;
    std::string errMsg;
};
struct AddReplicationPolicyV2Ret_t : AddReplicationPolicyRet_t {
    int32_t errCode = 0;
};
struct AddReplicationPolicyV3Ret_t : AddReplicationPolicyV2Ret_t {};

struct QueryReplicationPolicyByIdArgs_t {
    int32_t id = -1;
};
struct QueryReplicationPolicyByIdV2Args_t : QueryReplicationPolicyByIdArgs_t {};
struct QueryReplicationPolicyByIdV3Args_t : QueryReplicationPolicyByIdArgs_t {};

// The record is filled on success only.
template <typename Record>
struct QueryReplicationPolicyByIdRetOf {
    std::string errMsg;
    Record record;
};
struct QueryReplicationPolicyByIdRet_t : QueryReplicationPolicyByIdRetOf<ReplicationPolicyRecord_t> {};
struct QueryReplicationPolicyByIdV2Ret_t : QueryReplicationPolicyByIdRetOf<ReplicationPolicyV2Record_t> {
    int32_t errCode = 0;
};
struct QueryReplicationPolicyByIdV3Ret_t : QueryReplicationPolicyByIdRetOf<ReplicationPolicyV3Record_t> {
    int32_t errCode = 0;
};

struct QueryReplicationPolicyByPoolIdArgs_t {
    int32_t poolId = -1;
};
struct QueryReplicationPolicyByPoolIdV2Args_t : QueryReplicationPolicyByPoolIdArgs_t {};
struct QueryReplicationPolicyByPoolIdV3Args_t : QueryReplicationPolicyByPoolIdArgs_t {};

// The policies of the pool in id order; empty after a failure. A pool that
// no policy uses succeeds with no policies (and -3 in the versions with a
// code, which the reply does not carry).
template <typename Record>
struct PolicyListRetOf {
    std::string errMsg;
    std::vector<Record> policies;
};
struct QueryReplicationPolicyByPoolIdRet_t : PolicyListRetOf<ReplicationPolicyRecord_t> {};
struct QueryReplicationPolicyByPoolIdV2Ret_t : PolicyListRetOf<ReplicationPolicyV2Record_t> {
    int32_t errCode = 0;
};
struct QueryReplicationPolicyByPoolIdV3Ret_t : PolicyListRetOf<ReplicationPolicyV3Record_t> {
    int32_t errCode = 0;
};

struct UpdateReplicationPolicyArgs_t : ReplicationPolicyArgsOf<ReplicationPolicyRecord_t> {};
struct UpdateReplicationPolicyV2Args_t : ReplicationPolicyArgsOf<ReplicationPolicyV2Record_t> {};
struct UpdateReplicationPolicyV3Args_t : ReplicationPolicyArgsOf<ReplicationPolicyV3Record_t> {};

struct UpdateReplicationPolicyRet_t {
    std::string errMsg;
};
struct UpdateReplicationPolicyV2Ret_t : UpdateReplicationPolicyRet_t {
    int32_t errCode = 0;
};
struct UpdateReplicationPolicyV3Ret_t : UpdateReplicationPolicyV2Ret_t {};

struct RemoveReplicationPolicyArgs_t {
    int32_t id = -1;
};
struct RemoveReplicationPolicyRet_t {
    std::string errMsg;
};

// Every policy in id order; empty after a failure.
struct GetReplicationPolicyListRet_t : PolicyListRetOf<ReplicationPolicyRecord_t> {};
struct GetReplicationPolicyListV2Ret_t : PolicyListRetOf<ReplicationPolicyV2Record_t> {
    int32_t errCode = 0;
};
struct GetReplicationPolicyListV3Ret_t : PolicyListRetOf<ReplicationPolicyV3Record_t> {
    int32_t errCode = 0;
};

struct GetYBSCListByPolicyArgs_t {
    int32_t policyId = -1;
    std::vector<int32_t> appTypes;
};
// The subclients found, type after type in the order asked; a subclient of
// two types is listed twice. Empty after a failure.
struct GetYBSCListByPolicyRet_t {
    std::string errMsg;
    int32_t errCode = 0;
    std::vector<int> subclients;
};

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

static_assert(sizeof(repAddReplicationPolicyReq) == 40, "repAddReplicationPolicyReq size");
static_assert(sizeof(repAddReplicationPolicyV2Req) == 48, "repAddReplicationPolicyV2Req size");
static_assert(sizeof(repAddReplicationPolicyV3Req) == 56, "repAddReplicationPolicyV3Req size");
static_assert(sizeof(repQueryReplicationPolicyV3ByIdReq) == 4, "repQueryReplicationPolicyV3ByIdReq size");
static_assert(sizeof(repUpdateReplicationPolicyV3Req) == 56, "repUpdateReplicationPolicyV3Req size");
static_assert(sizeof(repQueryReplicaPolicyV3ByPoolIdReq) == 4, "repQueryReplicaPolicyV3ByPoolIdReq size");
static_assert(sizeof(repRemoveReplicationPolicyReq) == 4, "repRemoveReplicationPolicyReq size");
static_assert(sizeof(repGetSCListByPolicyReq) == 24, "repGetSCListByPolicyReq size");
static_assert(offsetof(repGetSCListByPolicyReq, count) == 8, "repGetSCListByPolicyReq layout");
static_assert(offsetof(repGetSCListByPolicyReq, appTypes) == 16, "repGetSCListByPolicyReq layout");

static_assert(sizeof(repAddReplicationPolicyResp) == 24, "repAddReplicationPolicyResp size");
static_assert(offsetof(repAddReplicationPolicyResp, status) == 4, "repAddReplicationPolicyResp layout");
static_assert(offsetof(repAddReplicationPolicyResp, errMsg) == 8, "repAddReplicationPolicyResp layout");
static_assert(offsetof(repAddReplicationPolicyResp, reserved) == 16, "repAddReplicationPolicyResp layout");
static_assert(sizeof(repAddReplicationPolicyV3Resp) == 24, "repAddReplicationPolicyV3Resp size");
static_assert(offsetof(repAddReplicationPolicyV2Resp, errCode) == 16, "repAddReplicationPolicyV2Resp layout");
static_assert(sizeof(repQueryReplicationPolicyByIdResp) == 56, "repQueryReplicationPolicyByIdResp size");
static_assert(offsetof(repQueryReplicationPolicyByIdResp, policy) == 16, "repQueryReplicationPolicyByIdResp layout");
static_assert(sizeof(repQueryReplicationPolicyV2ByIdResp) == 72, "repQueryReplicationPolicyV2ByIdResp size");
static_assert(offsetof(repQueryReplicationPolicyV2ByIdResp, errCode) == 64, "repQueryReplicationPolicyV2ByIdResp layout");
static_assert(sizeof(repQueryReplicationPolicyV3ByIdResp) == 80, "repQueryReplicationPolicyV3ByIdResp size");
static_assert(offsetof(repQueryReplicationPolicyV3ByIdResp, errCode) == 72, "repQueryReplicationPolicyV3ByIdResp layout");
static_assert(sizeof(repUpdateReplicationPolicyResp) == 16, "repUpdateReplicationPolicyResp size");
static_assert(sizeof(repUpdateReplicationPolicyV2Resp) == 24, "repUpdateReplicationPolicyV2Resp size");
static_assert(offsetof(repUpdateReplicationPolicyV2Resp, errCode) == 16, "repUpdateReplicationPolicyV2Resp layout");
static_assert(sizeof(repGetReplicationPolicyListResp) == 32, "repGetReplicationPolicyListResp size");
static_assert(offsetof(repGetReplicationPolicyListResp, count) == 16, "repGetReplicationPolicyListResp layout");
static_assert(offsetof(repGetReplicationPolicyListResp, policies) == 24, "repGetReplicationPolicyListResp layout");
static_assert(sizeof(repGetReplicationPolicyV3ListResp) == 40, "repGetReplicationPolicyV3ListResp size");
static_assert(offsetof(repGetReplicationPolicyV3ListResp, errCode) == 32, "repGetReplicationPolicyV3ListResp layout");
static_assert(sizeof(repRemoveReplicationPolicyResp) == 16, "repRemoveReplicationPolicyResp size");
static_assert(sizeof(repGetSCListByPolicyResp) == 32, "repGetSCListByPolicyResp size");
static_assert(offsetof(repGetSCListByPolicyResp, errCode) == 4, "repGetSCListByPolicyResp layout");
static_assert(offsetof(repGetSCListByPolicyResp, errMsg) == 8, "repGetSCListByPolicyResp layout");
static_assert(offsetof(repGetSCListByPolicyResp, count) == 16, "repGetSCListByPolicyResp layout");
static_assert(offsetof(repGetSCListByPolicyResp, subclients) == 24, "repGetSCListByPolicyResp layout");

// The add's checks of a record of each version: whether its snapshot limit
// is refused, and whether its copy manager type fits a scratch pool of the
// given Type and a snap engine of the given Type. Versions 1 and 2 are
// stored with copy manager type 4 and test no snapshot limit (version 1) and
// no engine.
struct AddYBPolicy_t {
    int32_t NSnapshot = 0;
    int32_t CopyManagerType = 0;
    int32_t SnapEngineType = 0;

    static bool IsNSnapshotInvalid(const ReplicationPolicyRecord_t& record);
    static bool IsNSnapshotInvalid(const ReplicationPolicyV2Record_t& record);
    static bool AreCopyManagerAndPoolCompatible(const ReplicationPolicyRecord_t& record, int32_t poolType);
    static bool AreCopyManagerAndPoolCompatible(const ReplicationPolicyV3Record_t& record, int32_t poolType);
    static bool AreCopyManagerAndSnapCompatible(const ReplicationPolicyRecord_t& record, int32_t engineType);
    static bool AreCopyManagerAndSnapCompatible(const ReplicationPolicyV3Record_t& record, int32_t engineType);
};
