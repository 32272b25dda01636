// Requests of replication volumes through post, each reply decoded into one
// Answer as it is sent, and the rows of YBVolume seeded and read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include "host/HostConfig.h"
#include "host/db/ReplicaTables.h"
#include "policies/PolicyTestSupport.h"
#include "replicas/PermanentReplicas.h"
#include "replicas/ReplicaRecords.h"
#include "service/CasePatterns.h"
#include "snr/VolumeQueryFixture.h"

struct ReplicaAnswer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 0;  // 0 for replies that carry none
    std::string msg;
    int32_t id = 0;  // the add's new id
    uint32_t count = 0;
    bool arrayNull = true;
    // The by-id record or the list's records, read as version 5 (fields a
    // version lacks keep their defaults; a null text reads "").
    std::vector<ReplicationVolumeV5Record_t> volumes;
    std::vector<int64_t> wireJobIds;  // the 64-bit JobId of each wire record that has one
};

namespace replica_test {

template <typename T, typename = void>
struct HasId : std::false_type {};
template <typename T>
struct HasId<T, std::void_t<decltype(std::declval<T&>().id)>> : std::true_type {};
template <typename T, typename = void>
struct HasRecord : std::false_type {};
template <typename T>
struct HasRecord<T, std::void_t<decltype(std::declval<T&>().ReplicationVolume)>> : std::true_type {};
template <typename T, typename = void>
struct HasVolumes : std::false_type {};
template <typename T>
struct HasVolumes<T, std::void_t<decltype(std::declval<T&>().volumes)>> : std::true_type {};
template <typename T, typename = void>
struct HasJobId : std::false_type {};
template <typename T>
struct HasJobId<T, std::void_t<decltype(std::declval<T&>().JobId)>> : std::true_type {};

// The record version of a wire record.
template <typename Wire> struct RecordOf;
template <> struct RecordOf<repReplicationVolume> { using type = ReplicationVolumeRecord_t; };
template <> struct RecordOf<repReplicationVolume42> { using type = ReplicationVolumeRecord42_t; };
template <> struct RecordOf<repReplicationVolumeV3> { using type = ReplicationVolumeV3Record_t; };
template <> struct RecordOf<repReplicationVolumeV4> { using type = ReplicationVolumeV4Record_t; };
template <> struct RecordOf<repReplicationVolumeV5> { using type = ReplicationVolumeV5Record_t; };

template <typename Wire>
void Read(ReplicaAnswer& a, const Wire& wire)
{
    typename RecordOf<Wire>::type record;
    YBSet(record, wire);
    ReplicationVolumeV5Record_t v5;
    static_cast<typename RecordOf<Wire>::type&>(v5) = record;
    if constexpr (HasJobId<Wire>::value) a.wireJobIds.push_back(wire.JobId);
    a.volumes.push_back(v5);
}

template <typename Reply>
ReplicaAnswer Decode(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    ReplicaAnswer a;
    a.status = r->status;
    a.msg = ReplyText(r->errMsg);
    if constexpr (cases::HasErrCode<Reply>::value) a.errCode = r->errCode;
    if constexpr (HasId<Reply>::value) a.id = r->id;
    if constexpr (HasRecord<Reply>::value) Read(a, r->ReplicationVolume);
    if constexpr (HasVolumes<Reply>::value) {
        a.count = r->count;
        a.arrayNull = r->volumes == nullptr;
        for (uint32_t i = 0; r->volumes != nullptr && i < r->count; ++i) Read(a, r->volumes[i]);
    }
    return a;
}

}  // namespace replica_test

// The version 3 creation of a permanent replica of `primary` on the SNR
// volume of that identity (registered when none has it): no job, no flags.
inline repCreatePermanentReplicaV3Req PermanentReplicaRequest(const char* uniqueId, int primary)
{
    repCreatePermanentReplicaV3Req req;
    req.SNRVolume.UniqueId = const_cast<char*>(uniqueId);
    req.SNRVolume.BlockCount = 100;
    req.PrimaryVolumeId = primary;
    req.JobId = 0;
    req.IsSnapActive = 0;
    req.ActivateSnap = 0;
    return req;
}

using volume_seed::InsertReplica;
using volume_seed::InsertScratch;
using volume_seed::Replica;

class ReplicaPostTest : public PolicyPostTest<ReplicaAnswer> {
protected:
    void TearDown() override
    {
        ZxNamedMutex::setWaitScale(1.0);
        PolicyPostTest<ReplicaAnswer>::TearDown();
    }

    template <typename Reply, typename Request>
    ReplicaAnswer ask(unsigned long code, Request request)
    {
        return send(code, &request, sizeof(Reply), &replica_test::Decode<Reply>);
    }
    // A request that carries no data.
    template <typename Reply>
    ReplicaAnswer askWithout(unsigned long code)
    {
        return send(code, nullptr, sizeof(Reply), &replica_test::Decode<Reply>);
    }

    // Makes each database call of the kinds given fail in turn, at each of
    // its first `rounds` occurrences, and hands every failed answer of
    // `request()` to `check`. A request that still succeeds (the fault fell
    // past its calls) is handed to `succeeded` when given, and the fixture
    // starts afresh. With `rounds` 0 each kind fails at every occurrence until
    // a request no longer reaches the fault; a failed answer must then have
    // reached it. The number of failures.
    template <typename Request, typename Check>
    int failEachStep(std::initializer_list<const char*> calls, int rounds, Request&& request, Check&& check,
                     const std::function<void(const ReplicaAnswer&)>& succeeded = nullptr)
    {
        const int kMostOccurrences = 400;  // of one call in a request that ends
        int failures = 0;
        for (const char* call : calls) {
            for (int skip = 0; rounds == 0 || skip < rounds; ++skip) {
                SCOPED_TRACE(std::string(call) + " " + std::to_string(skip));
                if (rounds == 0 && skip == kMostOccurrences) {
                    ADD_FAILURE() << "the request does not end";
                    break;
                }
                HostDBFaults::clear();
                HostDBFaults::failNext(call, 5, skip);
                const ReplicaAnswer a = request();
                const bool reached = !HostDBFaults::pending(call);
                HostDBFaults::clear();
                if (a.status == 1) {
                    if (succeeded) succeeded(a);
                    restart();
                    if (rounds == 0 && !reached) break;
                    continue;
                }
                ++failures;
                if (rounds == 0) {
                    EXPECT_TRUE(reached);
                }
                check(a);
            }
        }
        return failures;
    }

    // The fixture started afresh: a new catalogue, seeded as before.
    void restart()
    {
        TearDown();
        SetUp();
    }

    // The stored volumes in id order.
    std::vector<YBVolume_t> stored() { return StoredRows<YBVolume_t, CReplicationVolumeDB>(); }
    // Every table a replication volume request writes.
    std::string dump()
    {
        return DumpTable(m_path, "YBVolume") + DumpTable(m_path, "YBSubclientYBVolumes") +
               DumpTable(m_path, "YBApplicationDirs") + DumpTable(m_path, "YBVolSnapParams");
    }

    // Client 2 "alpha" (alpha.net) with agent 47 and package 1007: a host
    // that a scratch volume's release asks to delete its snapshots.
    static void addAlpha()
    {
        HostClientSeed alpha;
        alpha.id = 2;
        alpha.name = "alpha";
        alpha.netHostName = "alpha.net";
        ASSERT_EQ(HostConfig::addClient(alpha), 0);
        ASSERT_EQ(HostConfig::addAgent(2, 47), 0);
        ASSERT_EQ(HostConfig::addPackage(2, 1007), 0);
    }

    // Status 1, no text, code 0.
    static void expectSuccess(const ReplicaAnswer& a)
    {
        EXPECT_EQ(a.status, 1u);
        EXPECT_EQ(a.msg, "(null)");
        EXPECT_EQ(a.errCode, 0);
    }
    // Status 0, the text, the code where the reply has one, and nothing else.
    static void expectFailure(const ReplicaAnswer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.errCode, code);
        EXPECT_EQ(a.id, 0);
        EXPECT_EQ(a.count, 0u);
        EXPECT_TRUE(a.arrayNull);
    }
};

// Every column of a stored volume against the row it must be.
inline void ExpectRow(const YBVolume_t& got, const Replica& r)
{
    ReplicationVolumeV5Record_t read;
    YBSet(read, got);
    volume_seed::ExpectReplica(read, r);
    EXPECT_EQ(got.Flags, r.flags);  // no bit beyond the six the record holds
    EXPECT_EQ(got.JobId, r.jobId);
}
