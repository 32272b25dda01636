// Argument and result records of the replication policy catalogue: add, query
// by id, update, list and the list by scratch pool in message versions 1 to 3;
// remove and the subclients that name a policy in one version each. The request
// and reply structures are in policies/ReplicationPolicyMessages.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "policies/PolicyRecords.h"
#include "policies/ReplicationPolicyMessages.h"

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
