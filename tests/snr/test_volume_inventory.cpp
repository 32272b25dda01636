#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "service/CasePatterns.h"
#include "snr/VolumeInventory.h"
#include "snr/VolumeQueryFixture.h"
#include "support/TestHost.h"

namespace {

using namespace volume_seed;

using Versions = ::testing::Types<
    Version<repQuerySNRDeviceByClientIdReq, repQuerySNRDeviceByClientIdResponse, QuerySNRDeviceArgs_t,
            QueryMgrSNRDeviceRet_t, 0x3500000b, 1>,
    Version<repQuerySNRDeviceByClientId42Req, repQuerySNRDeviceByClientId42Response, QuerySNRDevice42Args_t,
            QueryMgrSNRDevice42Ret_t, 0x35000095, 42>,
    Version<repQuerySNRDeviceByClientIdV3Req, repQuerySNRDeviceByClientIdV3Response, QuerySNRDeviceV3Args_t,
            QuerySNRDeviceV3Ret_t, 0x350000e7, 3>,
    Version<repQuerySNRDeviceByClientIdV4Req, repQuerySNRDeviceByClientIdV4Response, QuerySNRDeviceV4Args_t,
            QuerySNRDeviceV4Ret_t, 0x35000159, 4>,
    Version<repQuerySNRDeviceByClientIdV5Req, repQuerySNRDeviceByClientIdV5Response, QuerySNRDeviceV5Args_t,
            QuerySNRDeviceV5Ret_t, 0x350001b3, 5>,
    Version<repQuerySNRDeviceByClientIdV6Req, repQuerySNRDeviceByClientIdV6Response, QuerySNRDeviceV6Args_t,
            QuerySNRDeviceV6Ret_t, 0x35000208, 6>>;

// One reply as it was sent, its arrays read back into the records of the
// version.
template <typename Ret>
struct Answer : StatusAnswer {
    std::vector<uint32_t> counts;  // volumes, devices, mount points, scratch, replicas
    std::vector<bool> nullArrays;
    std::vector<typename Ret::VolumeRecord> volumes;
    std::vector<typename Ret::DeviceRecord> devices;
    std::vector<SNRVolumeMountPointRecord_t> mountPoints;
    std::vector<typename Ret::ScratchRecord> scratchVolumes;
    std::vector<typename Ret::ReplicaRecord> replicationVolumes;

    bool empty() const
    {
        return counts == std::vector<uint32_t>(5, 0) && nullArrays == std::vector<bool>(5, true);
    }
};

template <typename Reply, typename Ret>
Answer<Ret> Decode(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    Answer<Ret> a;
    a.readStatus(*r);
    a.counts = {r->volumeCount, r->deviceCount, r->mountPointCount, r->scratchVolumeCount, r->replicationVolumeCount};
    a.nullArrays = {r->volumes == nullptr, r->devices == nullptr, r->mountPoints == nullptr,
                    r->scratchVolumes == nullptr, r->replicationVolumes == nullptr};
    a.volumes = ReadArray<typename Ret::VolumeRecord>(r->volumes, r->volumeCount);
    a.devices = ReadArray<typename Ret::DeviceRecord>(r->devices, r->deviceCount);
    a.mountPoints = ReadArray<SNRVolumeMountPointRecord_t>(r->mountPoints, r->mountPointCount);
    a.scratchVolumes = ReadArray<typename Ret::ScratchRecord>(r->scratchVolumes, r->scratchVolumeCount);
    a.replicationVolumes =
        ReadArray<typename Ret::ReplicaRecord>(r->replicationVolumes, r->replicationVolumeCount);
    return a;
}

// What the seeded rows give a client: its devices, the SNR volumes they reach,
// the lowest-id replication and scratch volume on each, and the mount points
// of its devices, every list in id order.
struct Inventory {
    std::vector<int> devices, volumes, mountPoints, scratchVolumes, replicationVolumes;
};

template <typename Row, typename OnVolume>
void AddLowestOn(std::vector<int>& ids, const std::vector<Row>& rows, int volumeId, OnVolume onVolume)
{
    int lowest = 0;
    for (const Row& row : rows)
        if (onVolume(row) == volumeId && (lowest == 0 || row.id < lowest)) lowest = row.id;
    if (lowest != 0) ids.push_back(lowest);
}

Inventory InventoryOf(int clientId, const std::vector<Replica>& replicas = kReplicas,
                      const std::vector<Scratch>& scratch = kScratch)
{
    Inventory inv;
    std::set<int> volumes;
    for (const Device& d : kDevices) {
        if (d.clientId != clientId) continue;
        inv.devices.push_back(d.id);
        volumes.insert(d.volumeId);
    }
    std::sort(inv.devices.begin(), inv.devices.end());
    inv.volumes.assign(volumes.begin(), volumes.end());
    for (int volumeId : inv.volumes) {
        AddLowestOn(inv.replicationVolumes, replicas, volumeId, [](const Replica& r) { return r.physical; });
        AddLowestOn(inv.scratchVolumes, scratch, volumeId, [](const Scratch& s) { return s.volumeId; });
    }
    for (const MountPoint& m : kMountPoints)
        if (std::count(inv.devices.begin(), inv.devices.end(), m.deviceId)) inv.mountPoints.push_back(m.id);
    std::sort(inv.mountPoints.begin(), inv.mountPoints.end());
    return inv;
}

template <typename Record>
std::vector<int> IdsOf(const std::vector<Record>& records)
{
    std::vector<int> ids;
    for (const Record& r : records) ids.push_back(r.id);
    return ids;
}

int g_allocationsLeft = 0;
void* FailingAfter(size_t bytes) { return g_allocationsLeft-- > 0 ? malloc(bytes) : nullptr; }

template <typename V>
class VolumeInventoryTest : public VolumeQueryTest<Answer<typename V::Ret>> {
protected:
    using A = Answer<typename V::Ret>;

    A decode(const void* data, unsigned long) override { return Decode<typename V::Reply, typename V::Ret>(data); }

    A query(int32_t clientId)
    {
        typename V::Req req;
        req.ClientId = clientId;
        return this->post(V::code, &req, sizeof(typename V::Reply));
    }

    // Every record of the reply against the seeded rows.
    void expectInventory(const A& a, const Inventory& expected)
    {
        ExpectSucceeded<V>(a);
        EXPECT_EQ(a.counts,
                  (std::vector<uint32_t>{static_cast<uint32_t>(expected.volumes.size()),
                                         static_cast<uint32_t>(expected.devices.size()),
                                         static_cast<uint32_t>(expected.mountPoints.size()),
                                         static_cast<uint32_t>(expected.scratchVolumes.size()),
                                         static_cast<uint32_t>(expected.replicationVolumes.size())}));
        ASSERT_EQ(IdsOf(a.volumes), expected.volumes);
        ASSERT_EQ(IdsOf(a.devices), expected.devices);
        ASSERT_EQ(IdsOf(a.mountPoints), expected.mountPoints);
        ASSERT_EQ(IdsOf(a.scratchVolumes), expected.scratchVolumes);
        ASSERT_EQ(IdsOf(a.replicationVolumes), expected.replicationVolumes);
        for (const auto& v : a.volumes) ExpectVolume(v, ById(kVolumes, v.id));
        for (const auto& d : a.devices) ExpectDevice(d, ById(kDevices, d.id));
        for (const auto& m : a.mountPoints) ExpectMountPoint(m, ById(kMountPoints, m.id));
        for (const auto& s : a.scratchVolumes) ExpectScratch(s, ById(kScratch, s.id));
        for (const auto& r : a.replicationVolumes) ExpectReplica(r, ById(kReplicas, r.id));
    }

    // A failure: status 0, the text, the code from V3 on, no entries.
    void expectFailure(const A& a, int code, const std::string& text)
    {
        ExpectFailed<V>(a, code, text);
        EXPECT_TRUE(a.empty());
    }

    static std::string completion(const char* outcome)
    {
        return Completion<V>("ReplicationMgr::QueryVolInfoHandler()", outcome);
    }
};
TYPED_TEST_SUITE(VolumeInventoryTest, Versions);

TYPED_TEST(VolumeInventoryTest, EachClientsInventoryMatchesTheSeededRows)
{
    // Client 2: two devices on volume 11 give one volume record; the scratch
    // and replication lists are shorter than the volume list.
    auto a = this->query(2);
    this->expectInventory(a, InventoryOf(2));
    EXPECT_EQ(a.devices.size(), 4u);
    EXPECT_EQ(a.volumes.size(), 3u);
    EXPECT_EQ(a.scratchVolumes.size(), 2u);
    EXPECT_EQ(a.replicationVolumes.size(), 1u);

    // Client 3 shares volume 10 with client 2; client 4 has a permanent
    // replica on its volume and no scratch volume.
    this->expectInventory(this->query(3), InventoryOf(3));
    a = this->query(4);
    this->expectInventory(a, InventoryOf(4));
    EXPECT_TRUE(a.nullArrays[3]);

    EXPECT_EQ(LogEntriesWith(this->completion("successfully")).size(), 3u);
    EXPECT_TRUE(LogEntriesWith("More than one").empty());
    EXPECT_TRUE(LockHeldElsewhere::isFree("TmpSNRVolInfo"));
}

TYPED_TEST(VolumeInventoryTest, AClientWithoutDevicesHasAnEmptyInventory)
{
    // Only the device cursor runs: a fault armed for a second fetch is never
    // reached.
    HostDBFaults::failNext("fetch", 7, 1);
    auto a = this->query(5);
    HostDBFaults::clear();
    ExpectSucceeded<TypeParam>(a);
    EXPECT_TRUE(a.empty());
}

TYPED_TEST(VolumeInventoryTest, AnInvalidClientIdIsRefused)
{
    for (int id : {0, -1}) {
        this->expectFailure(this->query(id), -6, "Invalid client id");
        EXPECT_EQ(LogEntriesWith("ReplicationMgr::QueryVolInfoDB()\n\tEvent: Invalid client id\n\tParameters used:"
                                 "\n\tClient Id = " +
                                 std::to_string(id))
                      .size(),
                  1u);
    }
    EXPECT_EQ(LogEntriesWith(this->completion("unsuccessfully")).size(), 2u);
    EXPECT_TRUE(LockHeldElsewhere::isFree("TmpSNRVolInfo"));
}

// Client 2's reads: 5 device fetches (4 rows and the end), 4 volume fetches,
// the replication and the scratch volume count, 4 mount point fetches.
TYPED_TEST(VolumeInventoryTest, EachFailedReadAnswersItsTextAndNoEntries)
{
    struct Fault {
        const char* call;
        int skip;
        const char* text;
        std::string entry;
    };
    const std::vector<Fault> faults = {
        {"fetch", 2, "Could not get device name information from the database",
         "\n\tgetNextRow(GetSNRDeviceByClientId &) failed\n\tParameters used:\n\tClient id = 2\n\tDB Err Code = 7"},
        {"fetch", 6, "Could not get volume information from the database",
         "\n\tgetNextRow(GetVolInfoByClientId &) failed\n\tParameters used:\n\tClient id = 2\n\tDB Err Code = 7"},
        {"getNRows", 0, "Could not get volume information from the database",
         "\n\tCReplicationVolumeDB::getNRows() failed\n\tParameters used:\n\tsWhere = PhysicalVolumeId IN (SELECT "
         "SNRVolumeId FROM YBPhysicalDevice WHERE ClientId = 2)\n\tDB Err Code = 7"},
        {"getNRows", 1, "Could not get volume information from the database",
         "\n\tCRVScratchVolumeDB::getNRows() failed"},
        {"fetch", 9, "Could not get mount point information from the database",
         "\n\tgetNextRow(GetSNRMountPointByClientId &) failed\n\tParameters used:\n\tClient id = 2\n\tDB Err Code = 7"},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.entry);
        EvDebug::clearEntries();
        HostDBFaults::failNext(f.call, 7, f.skip);
        this->expectFailure(this->query(2), -4, f.text);
        EXPECT_EQ(LogEntriesWith(std::string("ReplicationMgr::QueryVolInfoDB()\n\tEvent: ") + f.text + f.entry)
                      .size(),
                  1u);
        EXPECT_EQ(LogEntriesWith(this->completion("unsuccessfully")).size(), 1u);
        EXPECT_TRUE(LockHeldElsewhere::isFree("TmpSNRVolInfo"));
        HostDBFaults::clear();
    }
}

TYPED_TEST(VolumeInventoryTest, AnArrayThatCannotBeAllocatedFailsTheReplyWithoutEntries)
{
    // The arrays are built in the order volumes, devices, mount points,
    // scratch and replication volumes; those built before are freed.
    for (int built = 0; built < 5; ++built) {
        g_allocationsLeft = built;
        AllocReplyArray = &FailingAfter;
        auto a = this->query(2);
        AllocReplyArray = &malloc;
        this->expectFailure(a, -5, "No memory available to perform operation");
    }
}

TYPED_TEST(VolumeInventoryTest, ALockHeldElsewhereTimesOutBeforeTheIdIsTested)
{
    {
        LockHeldElsewhere held("TmpSNRVolInfo");
        this->expectFailure(this->query(2), -8, "Cannot have exclusive access to TmpSNRVolInfo");
        this->expectFailure(this->query(0), -8, "Cannot have exclusive access to TmpSNRVolInfo");
    }
    this->expectInventory(this->query(2), InventoryOf(2));
}

// A volume holding two replication or scratch volumes is listed once, with
// the lowest id of each, and a warning says how many were left out.
TYPED_TEST(VolumeInventoryTest, ExtraReplicationAndScratchVolumesOfAVolumeAreNamedInAWarning)
{
    std::vector<Replica> replicas = kReplicas;
    replicas.push_back({511, 1, 1, 1, 1, 1, 30, 11, 8, 0, 0, 0, 0, 0, "", ""});
    replicas.push_back({510, 2, 2, 2, 2, 2, 31, 11, 8, 0, 0x4, 5, 0, 0, "dir-510", ""});
    std::vector<Scratch> scratch = kScratch;
    scratch.push_back({712, 10, 9, 0, 0});
    scratch.push_back({711, 11, 9, 0, 0});
    scratch.push_back({710, 11, 9, 0, 3});
    for (size_t i = kReplicas.size(); i < replicas.size(); ++i) this->exec(InsertReplica(replicas[i]));
    for (size_t i = kScratch.size(); i < scratch.size(); ++i) this->exec(InsertScratch(scratch[i]));

    auto a = this->query(2);
    const Inventory expected = InventoryOf(2, replicas, scratch);
    EXPECT_EQ(expected.replicationVolumes, (std::vector<int>{500, 510}));
    EXPECT_EQ(expected.scratchVolumes, (std::vector<int>{700, 710, 702}));
    EXPECT_EQ(IdsOf(a.replicationVolumes), expected.replicationVolumes);
    EXPECT_EQ(IdsOf(a.scratchVolumes), expected.scratchVolumes);
    ExpectReplica(a.replicationVolumes[1], replicas.back());
    ExpectScratch(a.scratchVolumes[1], scratch.back());

    EXPECT_EQ(LogEntriesWith("ReplicationMgr::QueryVolInfoDB()\n\tEvent: More than one replication volume lies on "
                             "an SNR volume of the client; the one with the lowest id is reported\n\tParameters "
                             "used:\n\tClient id = 2\n\tFound    = 3\n\tReported = 2")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("Event: More than one scratch volume lies on an SNR volume of the client; the one with "
                             "the lowest id is reported\n\tParameters used:\n\tClient id = 2\n\tFound    = 5"
                             "\n\tReported = 3")
                  .size(),
              1u);

    // Client 4 reaches none of the extra rows: no warning.
    EvDebug::clearEntries();
    this->expectInventory(this->query(4), InventoryOf(4));
    EXPECT_TRUE(LogEntriesWith("More than one").empty());
}

// The entry point the client clean-up calls with its open transaction: the
// cursors read inside it, and the result carries the records themselves.
class VolumeInventoryDirectTest : public VolumeInventoryTest<
                                      Version<repQuerySNRDeviceByClientIdReq, repQuerySNRDeviceByClientIdResponse,
                                              QuerySNRDeviceArgs_t, QueryMgrSNRDeviceRet_t, 0x3500000b, 1>> {};

TEST_F(VolumeInventoryDirectTest, Version1ReadsInsideTheCallersTransaction)
{
    DBtran tran(false);
    ASSERT_EQ(tran.startTran(), 0);
    YBPhysicalDevice_t device;
    std::memset(static_cast<void*>(&device), 0, sizeof device);
    device.ClientId = 5;
    device.SNRVolumeId = 16;
    std::strcpy(device.DeviceName, "dev-new");
    CSNRVolumeDeviceNameDB devices;
    ASSERT_TRUE(devices.insert(device, &tran));

    QuerySNRDeviceArgs_t args;
    args.clientId = 5;
    QueryMgrSNRDeviceRet_t ret;
    ret.errMsg = "stale";
    ASSERT_TRUE(mgr.QueryVolInfo(args, ret, &tran));
    EXPECT_EQ(ret.errMsg, "");
    ASSERT_EQ(ret.devices.size(), 1u);
    EXPECT_EQ(ret.devices[0].DeviceName, "dev-new");
    ASSERT_EQ(ret.volumes.size(), 1u);
    ExpectVolume(ret.volumes[0], ById(kVolumes, 16));
    ASSERT_EQ(ret.replicationVolumes.size(), 1u);
    ExpectReplica(ret.replicationVolumes[0], ById(kReplicas, 504));
    EXPECT_TRUE(ret.scratchVolumes.empty());
    EXPECT_TRUE(ret.mountPoints.empty());
    EXPECT_TRUE(LockHeldElsewhere::isFree("TmpSNRVolInfo"));

    // A failed read inside the transaction leaves no record behind.
    HostDBFaults::failNext("fetch", 7, 2);
    EXPECT_FALSE(mgr.QueryVolInfo(args, ret, &tran));
    EXPECT_EQ(ret.errMsg, "Could not get volume information from the database");
    EXPECT_TRUE(ret.devices.empty());
    EXPECT_TRUE(ret.volumes.empty());
    EXPECT_TRUE(ret.replicationVolumes.empty());

    // Nor does a lock held elsewhere: the records of the call before are gone.
    ASSERT_TRUE(mgr.QueryVolInfo(args, ret, &tran));
    ASSERT_FALSE(ret.devices.empty());
    {
        LockHeldElsewhere held("TmpSNRVolInfo");
        EXPECT_FALSE(mgr.QueryVolInfo(args, ret, &tran));
    }
    EXPECT_EQ(ret.errMsg, "Cannot have exclusive access to TmpSNRVolInfo");
    EXPECT_TRUE(ret.devices.empty());
    EXPECT_TRUE(ret.volumes.empty());

    ASSERT_EQ(tran.rollbackTran(), 0);
    ASSERT_TRUE(mgr.QueryVolInfo(args, ret, nullptr));
    EXPECT_TRUE(ret.devices.empty());
    EXPECT_TRUE(ret.volumes.empty());
    EXPECT_TRUE(answers.empty());  // a direct call sends nothing
}

}  // namespace
