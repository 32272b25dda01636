// Argument and result records and the request and reply structures of the
// replication volume add (message versions 1, 42, 3, 4 and 5; version 5 also
// links the new volume to a subclient).
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

#include "replicas/ReplicaRecords.h"

// ---- Arguments and results ----------------------------------------------------

template <typename Record>
struct AddReplicationVolumeArgsOf {
    Record record;
};
struct AddReplicationVolumeArgs_t : AddReplicationVolumeArgsOf<ReplicationVolumeRecord_t> {};
struct AddReplicationVolume42Args_t : AddReplicationVolumeArgsOf<ReplicationVolumeRecord42_t> {};
struct AddReplicationVolumeV3Args_t : AddReplicationVolumeArgsOf<ReplicationVolumeV3Record_t> {};
struct AddReplicationVolumeV4Args_t : AddReplicationVolumeArgsOf<ReplicationVolumeV4Record_t> {};
// subclientId 0: no subclient link is written.
struct AddReplicationVolumeV5Args_t : AddReplicationVolumeArgsOf<ReplicationVolumeV5Record_t> {
    int32_t subclientId = 0;
};

// id is the new volume's on success, -1 otherwise. Versions 1 and 42 carry
// no code.
struct AddReplicationVolumeRet_t {
    int32_t id = -1;
    std::string errMsg;
};
struct AddReplicationVolume42Ret_t : AddReplicationVolumeRet_t {};
struct AddReplicationVolumeV3Ret_t : AddReplicationVolumeRet_t {
    int32_t errCode = 0;
};
struct AddReplicationVolumeV4Ret_t : AddReplicationVolumeV3Ret_t {};
struct AddReplicationVolumeV5Ret_t : AddReplicationVolumeV3Ret_t {};

// ---- Requests --------------------------------------------------------------------

struct repAddReplicationVolumeReq {
    repReplicationVolume ReplicationVolume;
};
struct repAddReplicationVolume42Req {
    repReplicationVolume42 ReplicationVolume;
};
struct repAddReplicationVolumeV3Req {
    repReplicationVolumeV3 ReplicationVolume;
};
struct repAddReplicationVolumeV4Req {
    repReplicationVolumeV4 ReplicationVolume;
};
struct repAddReplicationVolumeV5Req {
    static constexpr bool kHoldsPointers = true;
    repReplicationVolumeV5 ReplicationVolume;
    int32_t subclientId = 0;
};

// ---- Replies: the new id first (0 on failure), then the status --------------------

struct repAddReplicationVolumeResp {
    int32_t id;
    uint32_t status;
    char* errMsg;
};
struct repAddReplicationVolume42Resp : repAddReplicationVolumeResp {};
struct repAddReplicationVolumeV3Resp {
    int32_t id;
    uint32_t status;
    char* errMsg;
    int32_t errCode;
};
struct repAddReplicationVolumeV4Resp : repAddReplicationVolumeV3Resp {};
struct repAddReplicationVolumeV5Resp : repAddReplicationVolumeV3Resp {};

// ---- Per-version adapters ------------------------------------------------------------

namespace replica_detail {
template <typename T, typename = void>
struct HasSubclientId : std::false_type {};
template <typename T>
struct HasSubclientId<T, std::void_t<decltype(std::declval<T&>().subclientId)>> : std::true_type {};
}  // namespace replica_detail

// The request's subclient id into the arguments of version 5; nothing below.
template <typename Args, typename Req>
void SetSubclientId(Args& args, const Req* request)
{
    if constexpr (replica_detail::HasSubclientId<Args>::value && replica_detail::HasSubclientId<Req>::value)
        args.subclientId = request->subclientId;
}

// The arguments' subclient id in version 5, 0 below.
template <typename Args>
int GetSubclientId(const Args& args)
{
    if constexpr (replica_detail::HasSubclientId<Args>::value)
        return args.subclientId;
    else
        return 0;
}
