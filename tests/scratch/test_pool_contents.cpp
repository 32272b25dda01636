#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "host/db/DBtable.h"
#include "policies/PolicyTestSupport.h"
#include "scratch/PoolContents.h"
#include "scratch/PoolSeed.h"
#include "service/CasePatterns.h"
#include "service/ReplicationMgr.h"
#include "service/TableLock.h"
#include "service/Utils.h"
#include "support/TestHost.h"

namespace {

struct Volume {
    int id;
    std::string uniqueId;
    int lun;
    int volType;  // version 4 records only; -1 otherwise
};
struct Device {
    int id, clientId, volumeId;
    std::string name;
};
struct MountPoint {
    int id, deviceId;
    std::string path;
    int unmounted;
};
struct Scratch {
    int id, volumeId, poolId;
    long long lockedBy;  // -1 where the version carries none
};
struct Replica {
    int id, primaryId, physicalId, scratchId;
};

struct ContentsAnswer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 0;
    std::string msg;
    uint32_t counts[5] = {};
    bool arrays[5] = {};  // which arrays were sent
    std::vector<Volume> volumes;
    std::vector<Device> devices;
    std::vector<MountPoint> mountPoints;
    std::vector<Scratch> scratch;
    std::vector<Replica> replicas;
};

template <typename Reply>
ContentsAnswer Decode(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    ContentsAnswer a;
    a.status = r->status;
    a.msg = ReplyText(r->errMsg);
    if constexpr (cases::HasErrCode<Reply>::value) a.errCode = r->errCode;
    const auto& l = r->lists;
    const uint32_t counts[5] = {l.nVolumes, l.nDevices, l.nMountPoints, l.nScratchVolumes, l.nReplicas};
    const void* arrays[5] = {l.volumes, l.devices, l.mountPoints, l.scratchVolumes, l.replicas};
    for (int i = 0; i < 5; ++i) {
        a.counts[i] = counts[i];
        a.arrays[i] = arrays[i] != nullptr;
    }
    for (uint32_t i = 0; l.volumes && i < l.nVolumes; ++i) {
        const auto& v = l.volumes[i];
        int volType = -1;
        if constexpr (std::is_same<std::decay_t<decltype(v)>, repSNRVolumeV4>::value) volType = v.VolType;
        a.volumes.push_back({v.id, ReplyText(v.UniqueId), v.LUN, volType});
    }
    for (uint32_t i = 0; l.devices && i < l.nDevices; ++i)
        a.devices.push_back({l.devices[i].id, l.devices[i].ClientId, l.devices[i].SNRVolumeId,
                             ReplyText(l.devices[i].DeviceName)});
    for (uint32_t i = 0; l.mountPoints && i < l.nMountPoints; ++i)
        a.mountPoints.push_back({l.mountPoints[i].id, l.mountPoints[i].DeviceNameId, ReplyText(l.mountPoints[i].Path),
                                 l.mountPoints[i].Unmounted});
    for (uint32_t i = 0; l.scratchVolumes && i < l.nScratchVolumes; ++i) {
        const auto& s = l.scratchVolumes[i];
        long long lockedBy = -1;
        if constexpr (std::is_same<std::decay_t<decltype(s)>, repRVScratchVolumeV2>::value) lockedBy = s.LockedByJobId;
        a.scratch.push_back({static_cast<int>(s.id), static_cast<int>(s.PhysicalVolumeId),
                             static_cast<int>(s.RVScratchVolumePoolId), lockedBy});
    }
    for (uint32_t i = 0; l.replicas && i < l.nReplicas; ++i)
        a.replicas.push_back({l.replicas[i].id, l.replicas[i].PrimaryVolumeId, l.replicas[i].PhysicalVolumeId,
                              l.replicas[i].RVScratchVolumeId});
    return a;
}

template <int Number, unsigned long Code, typename ReplyT, bool V4Volumes, bool V2Scratch>
struct ContentsVersion {
    static constexpr int number = Number;
    static constexpr unsigned long code = Code;
    using Reply = ReplyT;
    static constexpr bool v4Volumes = V4Volumes, v2Scratch = V2Scratch;
};

template <typename V>
class PoolContentsTest : public PolicyPostTest<ContentsAnswer> {
protected:
    void SetUp() override
    {
        PolicyPostTest<ContentsAnswer>::SetUp();
        exec(PoolSeedSql());
    }
    ContentsAnswer contents(int poolId)
    {
        repQueryRVScratchVolumeByScratchPoolIdReq req{static_cast<uint32_t>(poolId)};
        return send(V::code, &req, sizeof(typename V::Reply), &Decode<typename V::Reply>);
    }
    // Status 0, the text, the code from version 3 on, and no list at all.
    void expectFailure(const ContentsAnswer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.errCode, V::number != 1 && V::number != 42 ? code : 0);
        expectNoLists(a);
    }
    void expectNoLists(const ContentsAnswer& a)
    {
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(a.counts[i], 0u) << i;
            EXPECT_FALSE(a.arrays[i]) << i;
        }
    }
};

using ContentsVersions = ::testing::Types<
    ContentsVersion<1, 0x3500000d, repQueryRVScratchVolumeByScratchPoolIdResponse, false, false>,
    ContentsVersion<42, 0x35000097, repQueryRVScratchVolumeByScratchPoolId42Response, false, false>,
    ContentsVersion<3, 0x350000e9, repQueryRVScratchVolumeByScratchPoolIdV3Response, false, false>,
    ContentsVersion<4, 0x3500015b, repQueryRVScratchVolumeByScratchPoolIdV4Response, true, true>,
    ContentsVersion<5, 0x350001b5, repQueryRVScratchVolumeByScratchPoolIdV5Response, true, true>,
    ContentsVersion<6, 0x3500020a, repQueryRVScratchVolumeByScratchPoolIdV6Response, true, true>>;
TYPED_TEST_SUITE(PoolContentsTest, ContentsVersions);

TYPED_TEST(PoolContentsTest, ThePoolsFiveLists)
{
    ContentsAnswer a = this->contents(9);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.msg, "(null)");
    EXPECT_EQ(a.errCode, 0);
    const bool v4 = TypeParam::v4Volumes;
    const long long none = -1;

    ASSERT_EQ(a.volumes.size(), 3u);
    EXPECT_EQ(a.counts[0], 3u);
    const Volume volumes[] = {{40, "uid-40", 4, v4 ? 1 : -1}, {41, "uid-41", 5, v4 ? 1 : -1}, {42, "uid-42", 6, v4 ? 2 : -1}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(a.volumes[i].id, volumes[i].id);
        EXPECT_EQ(a.volumes[i].uniqueId, volumes[i].uniqueId);
        EXPECT_EQ(a.volumes[i].lun, volumes[i].lun);
        EXPECT_EQ(a.volumes[i].volType, volumes[i].volType);
    }
    // Two clients see volume 40: its devices are not tied to the volume list.
    ASSERT_EQ(a.devices.size(), 3u);
    const Device devices[] = {{1, 77, 40, "dev-1"}, {2, 78, 40, "dev-2"}, {3, 77, 41, "dev-3"}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(a.devices[i].id, devices[i].id);
        EXPECT_EQ(a.devices[i].clientId, devices[i].clientId);
        EXPECT_EQ(a.devices[i].volumeId, devices[i].volumeId);
        EXPECT_EQ(a.devices[i].name, devices[i].name);
    }
    ASSERT_EQ(a.mountPoints.size(), 3u);
    const MountPoint mountPoints[] = {{5, 1, "/mnt/a", 0}, {6, 2, "/mnt/b", 1}, {7, 3, "/mnt/c", 0}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(a.mountPoints[i].id, mountPoints[i].id);
        EXPECT_EQ(a.mountPoints[i].deviceId, mountPoints[i].deviceId);
        EXPECT_EQ(a.mountPoints[i].path, mountPoints[i].path);
        EXPECT_EQ(a.mountPoints[i].unmounted, mountPoints[i].unmounted);
    }
    // In step with the volumes.
    ASSERT_EQ(a.scratch.size(), 3u);
    const Scratch scratch[] = {{60, 40, 9, TypeParam::v2Scratch ? -5 : none},
                               {61, 41, 9, TypeParam::v2Scratch ? 0 : none},
                               {62, 42, 9, TypeParam::v2Scratch ? 0 : none}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(a.scratch[i].id, scratch[i].id);
        EXPECT_EQ(a.scratch[i].volumeId, scratch[i].volumeId);
        EXPECT_EQ(a.scratch[i].poolId, scratch[i].poolId);
        EXPECT_EQ(a.scratch[i].lockedBy, scratch[i].lockedBy);
    }
    // Only volume 40 carries a replication volume.
    ASSERT_EQ(a.replicas.size(), 1u);
    EXPECT_EQ(a.counts[4], 1u);
    EXPECT_EQ(a.replicas[0].id, 70);
    EXPECT_EQ(a.replicas[0].primaryId, 6);
    EXPECT_EQ(a.replicas[0].physicalId, 40);
    EXPECT_EQ(a.replicas[0].scratchId, 60);
}

TYPED_TEST(PoolContentsTest, EmptyPoolsAndInvalidIds)
{
    // An empty pool and a pool that is not there: five empty lists, and the
    // device and mount point cursors are never run (an armed fetch fault
    // would meet them).
    for (int pool : {10, 99}) {
        HostDBFaults::failNext("fetch", 7, 1);
        ContentsAnswer a = this->contents(pool);
        EXPECT_EQ(a.status, 1u);
        this->expectNoLists(a);
        HostDBFaults::clear();
    }
    // A volume that no client sees lists no device.
    ContentsAnswer a = this->contents(11);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.volumes.size(), 1u);
    EXPECT_TRUE(a.devices.empty());
    EXPECT_EQ(a.counts[1], 0u);
    EXPECT_FALSE(a.arrays[1]);

    for (int pool : {0, -1}) this->expectFailure(this->contents(pool), -6, "Invalid scratch volume pool id");
}

TYPED_TEST(PoolContentsTest, FailuresDropEveryList)
{
    struct Step {
        int skip;
        const char* text;
    };
    // The volume pass reads three rows and its end; then the devices and the
    // mount points.
    const Step steps[] = {{0, "Could not get volume information from the database"},
                          {2, "Could not get volume information from the database"},
                          {4, "Could not get device name information from the database"},
                          {8, "Could not get mount point information from the database"}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.text);
        HostDBFaults::failNext("fetch", 7, step.skip);
        this->expectFailure(this->contents(9), -4, step.text);
        HostDBFaults::clear();
    }
    EXPECT_FALSE(LogEntriesWith("getNextRow(YBGetSNRMountPointByPoolId &) failed").empty());

    // Each array that cannot be allocated: none is sent.
    for (int fail = 0; fail < 5; ++fail) {
        static int calls;
        static int failAt;
        calls = 0;
        failAt = fail;
        AllocReplyArray = [](size_t bytes) -> void* { return calls++ == failAt ? nullptr : malloc(bytes); };
        this->expectFailure(this->contents(9), -5, NoMemoryErrMsg);
    }
    AllocReplyArray = &malloc;

    // Every path gave the lock back.
    bool free = false;
    std::thread([&free] {
        FXNamedMutex mutex("TmpSNRVolInfo");
        free = mutex.TryLock();
        if (free) mutex.Unlock();
    }).join();
    EXPECT_TRUE(free);
}

}  // namespace
