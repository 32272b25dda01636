#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "service/CasePatterns.h"
#include "service/ReplicationMgr.h"
#include "snr/SNRPostFixture.h"
#include "snr/VolumeLists.h"
#include "support/StatementRuns.h"
#include "support/TestHost.h"

namespace {

template <typename T, typename = void>
struct HasCode : std::false_type {};
template <typename T>
struct HasCode<T, std::void_t<decltype(std::declval<T&>().errCode)>> : std::true_type {};

// What a reply carried, in a form every version fills.
struct SentVolume {
    int32_t id = 0;
    std::string uniqueId;
    int64_t startLBA = 0;
    int32_t volType = -1;  // versions with a volume type only
};
struct SentDevice {
    int32_t id = 0;
    int32_t clientId = 0;
    int32_t volumeId = 0;
    std::string name;
    std::string osName = "-";  // versions with an OS device name only
    int32_t filerClientId = -1;  // V4 only
};
struct SentMount {
    int32_t id = 0;
    int32_t deviceId = 0;
    std::string path;
    int32_t unmounted = 0;
};

inline std::string Text(const char* s) { return s ? s : "(null)"; }

template <typename Wire>
SentVolume ReadVolume(const Wire& w)
{
    SentVolume v;
    v.id = w.id;
    v.uniqueId = Text(w.UniqueId);
    v.startLBA = w.StartLBA;
    if constexpr (std::is_same<Wire, repSNRVolumeV4>::value) v.volType = w.VolType;
    return v;
}

template <typename Wire>
SentDevice ReadDevice(const Wire& w)
{
    SentDevice d;
    d.id = w.id;
    d.clientId = w.ClientId;
    d.volumeId = w.SNRVolumeId;
    d.name = Text(w.DeviceName);
    if constexpr (sizeof(Wire) >= sizeof(repSNRVolumeDeviceNameV2)) d.osName = Text(w.OSDeviceName);
    if constexpr (std::is_same<Wire, repSNRVolumeDeviceNameV4>::value) d.filerClientId = w.FilerClientId;
    return d;
}

SentMount ReadMount(const repSNRVolumeMountPoint& w) { return SentMount{w.id, w.DeviceNameId, Text(w.Path), w.Unmounted}; }

struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    int32_t status = 99;
    int32_t errCode = 0;  // 0 for version 1, which carries none
    std::string msg = "(null)";
    int32_t volumeCount = -1;
    int32_t deviceCount = -1;
    int32_t mountPointCount = -1;
    bool volumesNull = true;
    bool devicesNull = true;
    bool mountPointsNull = true;
    bool embeddedZero = false;  // the query's embedded volume and device are all zero bytes
    std::vector<SentVolume> volumes;
    std::vector<SentDevice> devices;
    std::vector<SentMount> mountPoints;
};

template <typename Reply>
void ReadStatus(Answer& a, const Reply& r)
{
    a.status = r.status;
    a.msg = Text(r.errMsg);
    if constexpr (HasCode<Reply>::value) a.errCode = r.errCode;
    a.mountPointCount = r.mountPointCount;
    a.mountPointsNull = r.mountPoints == nullptr;
    for (int32_t i = 0; r.mountPoints && i < r.mountPointCount; ++i) a.mountPoints.push_back(ReadMount(r.mountPoints[i]));
}

template <typename Reply>
Answer DecodeList(const void* data)
{
    const auto& r = *static_cast<const Reply*>(data);
    Answer a;
    ReadStatus(a, r);
    a.volumeCount = r.volumeCount;
    a.deviceCount = r.deviceCount;
    a.volumesNull = r.volumes == nullptr;
    a.devicesNull = r.devices == nullptr;
    for (int32_t i = 0; r.volumes && i < r.volumeCount; ++i) a.volumes.push_back(ReadVolume(r.volumes[i]));
    for (int32_t i = 0; r.devices && i < r.deviceCount; ++i) a.devices.push_back(ReadDevice(r.devices[i]));
    return a;
}

template <typename Reply>
Answer DecodeQuery(const void* data)
{
    const auto& r = *static_cast<const Reply*>(data);
    Answer a;
    ReadStatus(a, r);
    a.volumes.push_back(ReadVolume(r.volume));
    a.devices.push_back(ReadDevice(r.device));
    std::vector<char> zeros(sizeof r.volume + sizeof r.device, 0);
    a.embeddedZero = std::memcmp(&r.volume, zeros.data(), sizeof r.volume) == 0 &&
                     std::memcmp(&r.device, zeros.data(), sizeof r.device) == 0;
    return a;
}

template <typename P, typename T, typename A, unsigned long C, int N>
struct Version {
    using Reply = P;
    using Ret = T;
    using Args = A;  // the query's arguments; void for the list
    static constexpr unsigned long code = C;
    static constexpr int number = N;
};

// The allocator of reply arrays: the given number succeed, then none.
int g_allocationsLeft = 0;
void* LimitedAlloc(size_t bytes)
{
    if (g_allocationsLeft <= 0) return nullptr;
    --g_allocationsLeft;
    return malloc(bytes);
}

template <typename Sent>
std::vector<int32_t> Ids(const std::vector<Sent>& list)
{
    std::vector<int32_t> ids;
    for (const Sent& entry : list) ids.push_back(entry.id);
    return ids;
}

// Three clients (2, 3, 4) on SNR volumes stored out of id order: volume 2
// shared by clients 2 and 3, volume 5 by all three, volume 9 seen by client 4
// alone, volume 12 by nobody. Volume 0 and the missing volume 99 carry one
// device each, which no list may show.
template <typename V>
class VolumeListTest : public SNRPostTest<Answer> {
protected:
    void SetUp() override
    {
        SNRPostTest::SetUp();
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, Flags,"
             " FSType, Type) VALUES"
             " (5, 'uid-5', 2, 1, 5000000000, 100, 512, 0, 'NTFS', 3),"
             " (2, 'uid-2', 2, 2, 64, 100, 512, 0, 'ext4', 1),"
             " (9, 'uid-9', 2, 3, 0, 100, 512, 0, '', 0),"
             " (12, 'uid-12', 2, 4, 0, 100, 512, 0, '', 0),"
             " (0, 'uid-0', 2, 5, 0, 100, 512, 0, '', 0)");
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName, Flags, OSDeviceName, AccessPath,"
             " FilerClientId) VALUES"
             " (21, 2, 2, 'dev-21', 0, '', '', 1),"
             " (11, 3, 2, 'dev-11', 0, '/dev/sdk', '', 1),"
             " (30, 4, 5, 'dev-30', 0, '', '', 6),"
             " (7, 2, 5, 'dev-7', 0, '', '', 1),"
             " (8, 3, 5, 'dev-8', 0, '', '', 1),"
             " (40, 4, 9, 'dev-40', 0, '', '', 1),"
             " (50, 2, 0, 'dev-50', 0, '', '', 1),"
             " (51, 3, 99, 'dev-51', 0, '', '', 1)");
        exec("INSERT INTO YBMountPoint (id, DeviceNameId, Path, Flags) VALUES"
             " (3, 11, '/m/11-b', 0), (1, 11, '/m/11-a', 2), (2, 21, '/m/21', 0),"
             " (10, 7, '/m/7-b', 0), (4, 7, '/m/7-a', 0),"
             " (6, 30, '/m/30-b', 0), (9, 30, '/m/30-c', 0), (5, 30, '/m/30-a', 0),"
             " (20, 50, '/m/50', 0), (21, 51, '/m/51', 0)");
    }
    void TearDown() override
    {
        AllocReplyArray = &malloc;
        SNRPostTest::TearDown();
    }

    // A failure: status 0, the text and, from version 2 on, the code.
    void expectFailure(const Answer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.errCode, V::number == 1 ? 0 : code);
    }
};

// ---- Every SNR volume ------------------------------------------------------------

template <typename V>
class GetSNRVolumesTest : public VolumeListTest<V> {
protected:
    Answer decode(const void* data, unsigned long) override { return DecodeList<typename V::Reply>(data); }

    // The request carries no data.
    Answer list() { return this->post(V::code, nullptr, sizeof(typename V::Reply)); }

    void expectNoLists(const Answer& a)
    {
        EXPECT_EQ(a.volumeCount, 0);
        EXPECT_EQ(a.deviceCount, 0);
        EXPECT_EQ(a.mountPointCount, 0);
        EXPECT_TRUE(a.volumesNull);
        EXPECT_TRUE(a.devicesNull);
        EXPECT_TRUE(a.mountPointsNull);
    }
};

using ListVersions = ::testing::Types<Version<repGetSNRVolumesResp, GetSNRVolumeListRet_t, void, 0x3500009f, 1>,
                                      Version<repGetSNRVolumesV2Resp, GetSNRVolumeListV2Ret_t, void, 0x350000f7, 2>,
                                      Version<repGetSNRVolumesV3Resp, GetSNRVolumeListV3Ret_t, void, 0x35000167, 3>,
                                      Version<repGetSNRVolumesV4Resp, GetSNRVolumeListV4Ret_t, void, 0x35000210, 4>>;
TYPED_TEST_SUITE(GetSNRVolumesTest, ListVersions);

TYPED_TEST(GetSNRVolumesTest, ListsVolumesThenTheirDevicesThenTheirMountPointsInOrder)
{
    Answer a = this->list();
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.msg, "(null)");
    EXPECT_EQ(a.errCode, 0);

    // Volumes by id; devices grouped by volume in that order, by id within
    // one; mount points grouped by device in the order of the devices.
    EXPECT_EQ(a.volumeCount, 4);
    EXPECT_EQ(Ids(a.volumes), (std::vector<int32_t>{2, 5, 9, 12}));
    EXPECT_EQ(a.deviceCount, 6);
    EXPECT_EQ(Ids(a.devices), (std::vector<int32_t>{11, 21, 7, 8, 30, 40}));
    EXPECT_EQ(a.mountPointCount, 8);
    EXPECT_EQ(Ids(a.mountPoints), (std::vector<int32_t>{1, 3, 2, 4, 10, 5, 6, 9}));

    // The records of the version.
    EXPECT_EQ(a.volumes[1].uniqueId, "uid-5");
    if (TypeParam::number > 1) {
        EXPECT_EQ(a.volumes[1].startLBA, 5000000000LL);
    }
    EXPECT_EQ(a.volumes[1].volType, TypeParam::number > 2 ? 3 : -1);
    EXPECT_EQ(a.devices[0].clientId, 3);
    EXPECT_EQ(a.devices[0].volumeId, 2);
    EXPECT_EQ(a.devices[0].name, "dev-11");
    EXPECT_EQ(a.devices[0].osName, TypeParam::number == 1 ? "-" : "/dev/sdk");
    EXPECT_EQ(a.devices[4].filerClientId, TypeParam::number == 4 ? 6 : -1);
    EXPECT_EQ(a.mountPoints[0].deviceId, 11);
    EXPECT_EQ(a.mountPoints[0].path, "/m/11-a");
    EXPECT_EQ(a.mountPoints[0].unmounted, 1);

    EXPECT_EQ(LogEntriesWith("ReplicationMgr::GetSNRVolumesHandler()\n\tMessage " +
                             std::string(ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(TypeParam::code))) +
                             " completed successfully\n\tSending reply " +
                             ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(TypeParam::code + 1)) +
                             " to client...")
                  .size(),
              1u);
}

TYPED_TEST(GetSNRVolumesTest, AnEmptyCatalogueGivesThreeEmptyLists)
{
    this->exec("DELETE FROM YBPhysicalVolume WHERE id > 0");
    Answer a = this->list();
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.msg, "(null)");
    EXPECT_EQ(a.errCode, 0);
    this->expectNoLists(a);
}

TYPED_TEST(GetSNRVolumesTest, AFailedReadAnswersNoPartialList)
{
    HostDBFaults::failNext("getList", 5);
    Answer a = this->list();
    this->expectFailure(a, -4, "Could not get volume information from the database");
    this->expectNoLists(a);
    EXPECT_EQ(LogEntriesWith("ReplicationMgrGetLists[").size(), 1u);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::GetSNRVolumeListDB()\n\tEvent: Could not get volume information from the "
                             "database\n\tCSNRVolumeDB::getList() failed\n\tParameters used:\n\tsWhere = id > 0"
                             "\n\tTran = 0x0\n\tDB Err Code = 5")
                  .size(),
              1u);

    // The devices (the second read: volumes, devices, mount points).
    HostDBFaults::failNext("getList", 6, 1);
    a = this->list();
    this->expectFailure(a, -4, "Could not get list of devices from the database");
    this->expectNoLists(a);
    EXPECT_EQ(LogEntriesWith("\n\tCSNRVolumeDeviceNameDB::getList() failed\n\tParameters used:\n\tsWhere      = "
                             "SNRVolumeId > 0\n\tsOrderBy    = SNRVolumeId ASC, id ASC\n\tTran        = 0x0"
                             "\n\tDB Err Code = 6")
                  .size(),
              1u);

    // The mount points.
    HostDBFaults::failNext("getList", 7, 2);
    a = this->list();
    this->expectFailure(a, -4, "Could not get list of mount points");
    this->expectNoLists(a);
    EXPECT_EQ(LogEntriesWith("\n\tCSNRVolumeMountPointDB::getList() failed\n\tParameters used:\n\tsWhere = "
                             "DeviceNameID > 0\n\tsOrderBy = DeviceNameID ASC, id ASC\n\tTran = 0x0"
                             "\n\tDB Err Code = 7")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith(" completed unsuccessfully").size(), 3u);
}

// Each table is read once: as many statements for ten times the volumes,
// devices and mount points, every one listed.
TYPED_TEST(GetSNRVolumesTest, TheListRunsTheSameStatementsWhateverItsLength)
{
    StatementRuns runs(this->m_path);
    Answer a;
    const size_t few = runs.of([&] { a = this->list(); });
    ASSERT_EQ(a.deviceCount, 6);
    for (int v = 100; v < 140; ++v) {
        const std::string id = std::to_string(v);
        this->exec("INSERT INTO YBPhysicalVolume (id, UniqueId) VALUES (" + id + ", 'uid-" + id +
                   "'); INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (" + id + ", 2, " +
                   id + ", 'dev-" + id + "'); INSERT INTO YBMountPoint (DeviceNameId, Path) VALUES (" + id + ", '/m/" +
                   id + "')");
    }
    EXPECT_EQ(runs.of([&] { a = this->list(); }), few);
    EXPECT_EQ(a.volumeCount, 44);
    EXPECT_EQ(a.deviceCount, 46);
    EXPECT_EQ(a.mountPointCount, 48);
    EXPECT_EQ(a.mountPoints.back().path, "/m/139");
}

TYPED_TEST(GetSNRVolumesTest, AnArrayThatCannotBeAllocatedFailsTheReplyAndFreesTheOthers)
{
    AllocReplyArray = &LimitedAlloc;
    for (int built : {0, 1, 2}) {
        SCOPED_TRACE(built);
        g_allocationsLeft = built;  // the arrays before the failing one are built, then freed
        Answer a = this->list();
        this->expectFailure(a, -5, "No memory available to perform operation");
        this->expectNoLists(a);
    }
}

// The direct entry point: the lists of the version, all three dropped after
// a failure.
TYPED_TEST(GetSNRVolumesTest, DirectCallFillsTheResultAndDropsItOnFailure)
{
    typename TypeParam::Ret ret;
    ASSERT_TRUE(this->mgr.GetSNRVolumeList(ret, nullptr));
    EXPECT_EQ(ret.volumes.size(), 4u);
    EXPECT_EQ(ret.devices.size(), 6u);
    EXPECT_EQ(ret.mountPoints.size(), 8u);

    HostDBFaults::failNext("getList", 5, 2);
    EXPECT_FALSE(this->mgr.GetSNRVolumeList(ret, nullptr));
    EXPECT_TRUE(ret.volumes.empty());
    EXPECT_TRUE(ret.devices.empty());
    EXPECT_TRUE(ret.mountPoints.empty());
    EXPECT_EQ(cases::ResultCode(ret), TypeParam::number == 1 ? 0 : -4);
    EXPECT_TRUE(this->answers.empty());
}

// ---- One client's volume ---------------------------------------------------------

template <typename V>
class GetSNRInfoByClientAndVolTest : public VolumeListTest<V> {
protected:
    Answer decode(const void* data, unsigned long) override { return DecodeQuery<typename V::Reply>(data); }

    // The request holds the volume id at offset 0 and the client id at 4.
    Answer query(int32_t clientId, int32_t volumeId)
    {
        int32_t request[2] = {volumeId, clientId};
        return this->post(V::code, request, sizeof(typename V::Reply));
    }

    void expectFailedQuery(const Answer& a, int code, const std::string& text)
    {
        this->expectFailure(a, code, text);
        EXPECT_TRUE(a.embeddedZero);
        EXPECT_EQ(a.mountPointCount, 0);
        EXPECT_TRUE(a.mountPointsNull);
    }
};

using QueryVersions = ::testing::Types<
    Version<repGetSNRInfoByClientAndVolResp, GetSNRInfoByClientIdAndVolIdRet_t, GetSNRInfoByClientIdAndVolIdArgs_t,
            0x350000a9, 1>,
    Version<repGetSNRInfoByClientAndVolV2Resp, GetSNRInfoByClientIdAndVolIdV2Ret_t,
            GetSNRInfoByClientIdAndVolIdV2Args_t, 0x350000f9, 2>,
    Version<repGetSNRInfoByClientAndVolV3Resp, GetSNRInfoByClientIdAndVolIdV3Ret_t,
            GetSNRInfoByClientIdAndVolIdV3Args_t, 0x35000169, 3>,
    Version<repGetSNRInfoByClientAndVolV4Resp, GetSNRInfoByClientIdAndVolIdV4Ret_t,
            GetSNRInfoByClientIdAndVolIdV4Args_t, 0x35000212, 4>>;
TYPED_TEST_SUITE(GetSNRInfoByClientAndVolTest, QueryVersions);

TYPED_TEST(GetSNRInfoByClientAndVolTest, AnswersTheVolumeTheClientsDeviceAndItsMountPoints)
{
    Answer a = this->query(2, 5);
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.msg, "(null)");
    EXPECT_EQ(a.errCode, 0);
    EXPECT_EQ(a.volumes[0].id, 5);
    EXPECT_EQ(a.volumes[0].uniqueId, "uid-5");
    EXPECT_EQ(a.volumes[0].volType, TypeParam::number > 2 ? 3 : -1);
    EXPECT_EQ(a.devices[0].id, 7);
    EXPECT_EQ(a.devices[0].clientId, 2);
    EXPECT_EQ(a.devices[0].name, "dev-7");
    EXPECT_EQ(a.mountPointCount, 2);
    EXPECT_EQ(Ids(a.mountPoints), (std::vector<int32_t>{4, 10}));
    EXPECT_EQ(a.mountPoints[1].path, "/m/7-b");

    // The same volume through another client's device, which has no mount point.
    a = this->query(3, 5);
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.devices[0].id, 8);
    EXPECT_EQ(a.mountPointCount, 0);
    EXPECT_TRUE(a.mountPointsNull);
}

TYPED_TEST(GetSNRInfoByClientAndVolTest, AClientWithoutADeviceOnTheVolumeGetsTheVolumeAndDeviceIdMinusOne)
{
    Answer a = this->query(4, 2);
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.msg, "(null)");
    EXPECT_EQ(a.volumes[0].id, 2);
    EXPECT_EQ(a.volumes[0].uniqueId, "uid-2");
    EXPECT_EQ(a.devices[0].id, -1);
    EXPECT_EQ(a.devices[0].clientId, -1);  // as the empty record converts
    EXPECT_EQ(a.devices[0].name, "(null)");
    EXPECT_EQ(a.mountPointCount, 0);
    EXPECT_TRUE(a.mountPointsNull);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::GetSNRInfoByClientAndVolDB()\n\tEvent: No SNR Device found"
                             "\n\tClient ID = 4\n\tSNR Volume ID = 2")
                  .size(),
              1u);
}

TYPED_TEST(GetSNRInfoByClientAndVolTest, RefusalsAndFailuresCarryTheirTextAndCodeAndNothingElse)
{
    // Invalid ids are refused before anything is read: the armed fault is
    // still there for the next read.
    HostDBFaults::failNext("getInfo", 5);
    for (auto ids : {std::pair<int, int>{0, 5}, {-1, 5}, {2, 0}, {2, -3}}) {
        this->expectFailedQuery(this->query(ids.first, ids.second), -6, "Invalid client id or volume Id");
    }
    EXPECT_EQ(LogEntriesWith("\n\tEvent: Invalid client id or volume Id\n\tParameters used:\n\tClient Id = -1"
                             "\n\tSNR Volume Id = 5")
                  .size(),
              1u);
    this->expectFailedQuery(this->query(2, 5), -4, "Could not query volume information");
    EXPECT_EQ(LogEntriesWith("\n\tCSNRVolumeDB::getInfo() failed\n\tParameters used:\n\tKey: 5\n\tTran = 0x0"
                             "\n\tDB Err Code = 5")
                  .size(),
              1u);

    this->expectFailedQuery(this->query(2, 6), -3, "No record found");

    // The client's two devices on one volume.
    this->exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (60, 2, 2, 'dev-60')");
    this->expectFailedQuery(this->query(2, 2), -13,
                            "There is more than one device associated with the volume and client");
    EXPECT_EQ(LogEntriesWith("\n\tNRows = 2\n\tClient ID = 2\n\tSNR Volume ID = 2").size(), 1u);

    HostDBFaults::failNext("getList", 8);
    this->expectFailedQuery(this->query(2, 5), -4, "Could not get list of devices from the database");
    EXPECT_EQ(LogEntriesWith("\n\tsWhere = ClientID = 2 AND SNRVolumeId = 5\n\tsOrderBy = id ASC\n\tTran = 0x0"
                             "\n\tDB Err Code   = 8")
                  .size(),
              1u);

    HostDBFaults::failNext("getList", 9, 1);
    this->expectFailedQuery(this->query(2, 5), -4, "Could not get list of mount points");
    EXPECT_EQ(LogEntriesWith("\n\tsWhere        = DeviceNameID = 7\n\tsOrderBy      = id ASC").size(), 1u);

    AllocReplyArray = &LimitedAlloc;
    g_allocationsLeft = 0;
    this->expectFailedQuery(this->query(2, 5), -5, "No memory available to perform operation");
    // Without mount points no array is needed.
    Answer a = this->query(3, 5);
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.devices[0].id, 8);
}

// The direct entry point (the job history calls version 2 with its own
// transaction): the reads are made outside the caller's transaction.
TYPED_TEST(GetSNRInfoByClientAndVolTest, DirectCallReadsOutsideTheCallersTransaction)
{
    // A caller's transaction on a connection of its own, holding a device of
    // client 4 on volume 2 that it has not committed.
    std::unique_ptr<DBtran> tran;
    std::thread([&]() {
        tran.reset(new DBtran(false));
        ASSERT_EQ(tran->startTran(), 0);
        YBPhysicalDevice_t row;
        std::memset(static_cast<void*>(&row), 0, sizeof row);
        row.ClientId = 4;
        row.SNRVolumeId = 2;
        std::strcpy(row.DeviceName, "dev-uncommitted");
        CSNRVolumeDeviceNameDB db;
        ASSERT_TRUE(db.insert(row, tran.get()));
    }).join();
    ASSERT_TRUE(tran);

    typename TypeParam::Args args;
    EXPECT_EQ(args.clientId, 0);
    EXPECT_EQ(args.snrVolumeId, 0);
    args.clientId = 4;
    args.snrVolumeId = 2;
    typename TypeParam::Ret ret;
    ASSERT_TRUE(this->mgr.GetSNRInfoByClientAndVol(args, ret, tran.get()));
    EXPECT_EQ(ret.volume.id, 2);
    EXPECT_EQ(ret.device.id, -1);
    EXPECT_EQ(tran->rollbackTran(), 0);
    EXPECT_TRUE(this->answers.empty());
}

}  // namespace
