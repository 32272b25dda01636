#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <unistd.h>
#include <vector>

#include "host/ZXMMDBDeviceInfo.h"
#include "host/ZxSync.h"
#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "service/ReplicationMgr.h"
#include "service/Sync.h"
#include "snr/DeviceRegistration.h"
#include "support/TestHost.h"
#include "snr/SNRPostFixture.h"

namespace {

// What a registration sends: volume, device, mount paths and, from V3 on,
// a history name. The texts live here while the request points at them.
struct Registration {
    std::string uniqueId = "600A0B80-0001";
    int32_t uniqueIdType = 1;
    int32_t lun = 4;
    int64_t startLBA = 0;
    int64_t blockCount = 2048;
    int32_t blockSize = 512;
    std::string fsType = "NTFS";
    std::string snapshotId;
    bool morvaneProtected = false;
    int32_t tzState = 0;
    int32_t applianceId = 0;
    int32_t clientId = 2;
    std::string deviceName = "/dev/sda";
    bool caseSensitive = false;
    std::string accessPath;
    std::vector<std::string> paths{"/mnt/a", "/mnt/b"};
    std::string historyName;

    std::vector<repSNRVolumeMountPoint> wireMountPoints;
};

template <typename T, typename = void>
struct HasSnapshotId : std::false_type {};
template <typename T>
struct HasSnapshotId<T, std::void_t<decltype(std::declval<T&>().UniqueSnapshotID)>> : std::true_type {};
template <typename T, typename = void>
struct HasHistory : std::false_type {};
template <typename T>
struct HasHistory<T, std::void_t<decltype(std::declval<T&>().HistoryName)>> : std::true_type {};
template <typename T, typename = void>
struct HasAccessPath : std::false_type {};
template <typename T>
struct HasAccessPath<T, std::void_t<decltype(std::declval<T&>().AccessPath)>> : std::true_type {};

template <typename Req>
Req Build(Registration& r)
{
    Req req;
    auto& v = req.SNRVolume;
    v.UniqueId = RequestText(r.uniqueId);
    v.UniqueIdType = r.uniqueIdType;
    v.LUN = r.lun;
    v.StartLBA = static_cast<decltype(v.StartLBA)>(r.startLBA);
    v.BlockCount = static_cast<decltype(v.BlockCount)>(r.blockCount);
    v.BlockSize = r.blockSize;
    v.FSType = RequestText(r.fsType);
    if constexpr (HasSnapshotId<decltype(v)>::value) v.UniqueSnapshotID = RequestText(r.snapshotId);
    if constexpr (HasHistory<Req>::value) {
        v.MorvaneProtected = r.morvaneProtected ? 1 : 0;
        v.TzState = r.tzState;
        v.ApplianceId = r.applianceId;
        req.HistoryName.GlobalHistoryName = RequestText(r.historyName);
    }
    req.Device.ClientId = r.clientId;
    req.Device.SNRVolumeId = 999;  // ignored: the volume found or made counts
    req.Device.DeviceName = RequestText(r.deviceName);
    req.Device.IsCaseSensitive = r.caseSensitive ? 1 : 0;
    if constexpr (HasAccessPath<decltype(req.Device)>::value) req.Device.AccessPath = RequestText(r.accessPath);
    r.wireMountPoints.assign(r.paths.size(), repSNRVolumeMountPoint());
    for (size_t i = 0; i < r.paths.size(); ++i) r.wireMountPoints[i].Path = RequestText(r.paths[i]);
    req.MountPointCount = static_cast<uint32_t>(r.paths.size());
    req.MountPoints = r.paths.empty() ? nullptr : r.wireMountPoints.data();
    return req;
}

// One reply as it was on the wire, its texts read at send time.
struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    int32_t status = 99;
    int32_t errCode = 99;  // 0 for the replies without one
    bool hasMsg = false;
    std::string msg;
    int32_t volumeId = 0;
    int32_t deviceId = 0;
    uint32_t count = 99;
    bool arrayNull = true;
    std::vector<std::pair<int, std::string>> paths;
};

Answer Decode(const void* data, unsigned long length)
{
    Answer a;
    const auto* r = static_cast<const repAddSNRDeviceResponse*>(data);
    a.status = r->status;
    a.hasMsg = r->errMsg != nullptr;
    if (a.hasMsg) a.msg = r->errMsg;
    a.volumeId = r->SNRVolumeId;
    a.deviceId = r->DeviceId;
    a.count = r->MountPathCount;
    a.arrayNull = r->MountPaths == nullptr;
    for (uint32_t i = 0; r->MountPaths && i < r->MountPathCount; ++i)
        a.paths.emplace_back(r->MountPaths[i].MountPointId, r->MountPaths[i].Path ? r->MountPaths[i].Path : "(null)");
    a.errCode = length == sizeof(repAddSNRDeviceV3Response)
                    ? static_cast<const repAddSNRDeviceV3Response*>(data)->errCode
                    : 0;
    return a;
}

std::vector<YBPhysicalVolume_t> Volumes() { return StoredRows<YBPhysicalVolume_t, CSNRVolumeDB>(); }
std::vector<YBPhysicalDevice_t> Devices() { return StoredRows<YBPhysicalDevice_t, CSNRVolumeDeviceNameDB>(); }
std::vector<YBMountPoint_t> MountPoints() { return StoredRows<YBMountPoint_t, CSNRVolumeMountPointDB>(); }
std::vector<YBTzHistoryName_t> HistoryNames()
{
    return StoredRows<YBTzHistoryName_t, CYBTzHistoryNameDB>("DeviceId ASC");
}

// Whether another thread can take the registration lock at once.
bool AddDeviceLockIsFree()
{
    bool free = false;
    std::thread([&free] {
        FXNamedMutex mutex("YBAddDevice");
        free = mutex.TryLock();
        if (free) mutex.Unlock();
    }).join();
    return free;
}

void* NoMemory(size_t) { return nullptr; }

// The device-layer calls of one kind ("activate", "deactivate"), by device id, in order.
std::vector<std::string> LayerCalls(const std::string& kind)
{
    std::vector<std::string> ids;
    for (const std::string& call : ZXMMDBDeviceInfo::journal())
        if (call.compare(0, kind.size() + 1, kind + " ") == 0) ids.push_back(call.substr(kind.size() + 1));
    return ids;
}

// Whether a controller that was activated is still active.
bool AnyControllerLeftActive()
{
    for (const std::string& id : LayerCalls("activate"))
        if (ZXMMDBDeviceInfo::isControllerActive(std::stoi(id))) return true;
    return false;
}

class DeviceRegistrationTest : public SNRPostTest<Answer> {
public:
    Answer decode(const void* data, unsigned long length) override { return Decode(data, length); }

    void SetUp() override
    {
        SNRPostTest::SetUp();
        ZXMMDBDeviceInfo::reset();
    }
    void TearDown() override
    {
        AllocReplyArray = &malloc;
        ZxNamedMutex::setWaitScale(1.0);
        ZXMMDBDeviceInfo::reset();
        SNRPostTest::TearDown();
    }

    Answer registerV1(Registration r)
    {
        auto req = Build<repAddSNRDeviceReq>(r);
        return post(0x35000001, &req, 40);
    }
    Answer registerV3(Registration r)
    {
        auto req = Build<repAddSNRDeviceV3Req>(r);
        return post(0x350000ef, &req, 48);
    }

    // A refusal: status 0, the text and code, no ids or mount paths, nothing
    // stored, no controller left active and the lock given back.
    void expectRefusedCleanly(const Answer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0);
        EXPECT_EQ(a.errCode, code);
        EXPECT_TRUE(a.hasMsg);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.volumeId, 0);
        EXPECT_EQ(a.deviceId, 0);
        EXPECT_EQ(a.count, 0u);
        EXPECT_TRUE(a.arrayNull);
        EXPECT_TRUE(Volumes().empty());
        EXPECT_EQ(Devices().size(), 0u);
        EXPECT_TRUE(MountPoints().empty());
        EXPECT_TRUE(HistoryNames().empty());
        EXPECT_FALSE(AnyControllerLeftActive());
        EXPECT_TRUE(AddDeviceLockIsFree());
    }

};

// ---- Every message version --------------------------------------------------

template <typename R, typename P, unsigned long C>
struct Version {
    using Req = R;
    using Reply = P;
    static constexpr unsigned long code = C;
    static constexpr bool history = HasHistory<R>::value;
};
using Versions = ::testing::Types<Version<repAddSNRDeviceReq, repAddSNRDeviceResponse, 0x35000001>,
                                  Version<repAddSNRDevice42Req, repAddSNRDevice42Response, 0x350000ab>,
                                  Version<repAddSNRDeviceV3Req, repAddSNRDeviceV3Response, 0x350000ef>,
                                  Version<repAddSNRDeviceV4Req, repAddSNRDeviceV4Response, 0x35000155>,
                                  Version<repAddSNRDeviceV5Req, repAddSNRDeviceV5Response, 0x35000206>>;

template <typename V>
class AddDeviceVersionTest : public DeviceRegistrationTest {};
TYPED_TEST_SUITE(AddDeviceVersionTest, Versions);

TYPED_TEST(AddDeviceVersionTest, RegistersEverythingAndReusesTheVolumeForAnotherClient)
{
    using V = TypeParam;
    Registration first;
    first.historyName = "hist-first";
    auto req = Build<typename V::Req>(first);
    Answer a = this->post(V::code, &req, sizeof(typename V::Reply));

    EXPECT_EQ(a.status, 1);
    EXPECT_FALSE(a.hasMsg);
    EXPECT_EQ(a.errCode, 0);
    ASSERT_EQ(Volumes().size(), 1u);
    const YBPhysicalVolume_t volume = Volumes()[0];
    EXPECT_EQ(a.volumeId, volume.id);
    EXPECT_STREQ(volume.UniqueId, "600A0B80-0001");
    EXPECT_STREQ(volume.FSType, "NTFS");
    ASSERT_EQ(Devices().size(), 1u);
    const YBPhysicalDevice_t device = Devices()[0];
    EXPECT_EQ(a.deviceId, device.id);
    EXPECT_EQ(device.SNRVolumeId, volume.id);
    EXPECT_EQ(device.ClientId, 2);
    EXPECT_STREQ(device.DeviceName, "/dev/sda");

    std::vector<YBMountPoint_t> mounts = MountPoints();
    ASSERT_EQ(mounts.size(), 2u);
    ASSERT_EQ(a.count, 2u);
    ASSERT_EQ(a.paths.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(mounts[i].DeviceNameId, device.id);
        EXPECT_EQ(a.paths[i].first, mounts[i].id);
        EXPECT_EQ(a.paths[i].second, first.paths[i]);
        EXPECT_STREQ(mounts[i].Path, first.paths[i].c_str());
    }
    const std::string activation = "activate " + std::to_string(device.id);
    EXPECT_EQ(ZXMMDBDeviceInfo::journal(), (std::vector<std::string>{activation, activation}));

    std::vector<YBTzHistoryName_t> names = HistoryNames();
    if (V::history) {
        ASSERT_EQ(names.size(), 1u);
        EXPECT_EQ(names[0].DeviceId, device.id);
        EXPECT_STREQ(names[0].GlobalHistoryName, "hist-first");
    } else {
        EXPECT_TRUE(names.empty());
    }

    // Another client on the same five identity values: the volume is reused
    // as stored, whatever else the request says about it.
    Registration second;
    second.clientId = 5;
    second.deviceName = "/dev/sdq";
    second.fsType = "ext4";
    second.blockSize = 4096;
    second.paths = {"/srv/q"};
    second.historyName = "hist-second";
    auto req2 = Build<typename V::Req>(second);
    Answer b = this->post(V::code, &req2, sizeof(typename V::Reply));
    EXPECT_EQ(b.status, 1);
    EXPECT_EQ(b.volumeId, a.volumeId);
    EXPECT_NE(b.deviceId, a.deviceId);
    ASSERT_EQ(Volumes().size(), 1u);
    EXPECT_STREQ(Volumes()[0].FSType, "NTFS");
    EXPECT_EQ(Volumes()[0].BlockSize, 512);
    EXPECT_EQ(Devices().size(), 2u);
    EXPECT_EQ(MountPoints().size(), 3u);
    EXPECT_EQ(HistoryNames().size(), V::history ? 2u : 0u);
    EXPECT_TRUE(AddDeviceLockIsFree());

    EXPECT_EQ(LogEntriesWith("ReplicationMgr::AddDeviceHandler()\n\tMessage " +
                             std::string(ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(V::code))) +
                             " completed successfully")
                  .size(),
              2u);
    EXPECT_EQ(LogEntriesWith("\tAn SNR Volume record found where UniqueId = '600A0B80-0001' AND UniqueIdType = 1"
                             " AND LUN = 4 AND StartLBA = 0 AND BlockCount = 2048\n\tThe Id of that record is " +
                             std::to_string(a.volumeId))
                  .size(),
              1u);
}

TYPED_TEST(AddDeviceVersionTest, WithoutMountPointsNoControllerIsActivated)
{
    using V = TypeParam;
    Registration r;
    r.paths.clear();
    auto req = Build<typename V::Req>(r);
    req.MountPointCount = 3;  // a count without an array is no mount point
    Answer a = this->post(V::code, &req, sizeof(typename V::Reply));
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.count, 0u);
    EXPECT_TRUE(a.arrayNull);
    EXPECT_TRUE(MountPoints().empty());
    EXPECT_TRUE(ZXMMDBDeviceInfo::journal().empty());
}

// ---- Names, identities and input ---------------------------------------------

TEST_F(DeviceRegistrationTest, DuplicateDeviceNamesOfAClient)
{
    Registration r;
    r.paths.clear();
    ASSERT_EQ(registerV3(r).status, 1);  // client 2, "/dev/sda", not case sensitive

    Registration other = r;
    other.uniqueId = "600A0B80-0002";
    other.deviceName = "/DEV/SDA";
    Answer a = registerV3(other);
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.errCode, -12);
    EXPECT_EQ(a.msg, "The device name is already in the database");
    EXPECT_EQ(LogEntriesWith("\n\tClient ID = 2\n\tDevice Name = /DEV/SDA\n\tDevice name is case insensitive").size(), 1u);

    // A case-sensitive row matches only exactly.
    Registration sensitive = r;
    sensitive.clientId = 3;
    sensitive.deviceName = "/dev/sdc";
    sensitive.caseSensitive = true;
    ASSERT_EQ(registerV3(sensitive).status, 1);
    Registration exact = sensitive;
    exact.uniqueId = "600A0B80-0002";
    a = registerV3(exact);
    EXPECT_EQ(a.errCode, -12);
    EXPECT_EQ(LogEntriesWith("\n\tDevice name is case sensitive").size(), 1u);

    // Another case passes the name check; on the same volume the client
    // already has a device.
    Registration otherCase = sensitive;
    otherCase.deviceName = "/DEV/SDC";
    a = registerV3(otherCase);
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.errCode, -13);
    EXPECT_EQ(a.msg, "Device with the same client id and volume id is already in the database");
    otherCase.uniqueId = "600A0B80-0003";
    EXPECT_EQ(registerV3(otherCase).status, 1);

    EXPECT_EQ(Devices().size(), 3u);
    EXPECT_EQ(Volumes().size(), 2u);  // the refused ones wrote nothing
    EXPECT_TRUE(AddDeviceLockIsFree());
}

TEST_F(DeviceRegistrationTest, VolumeTypes11And13SkipTheNameCheck)
{
    for (int type : {11, 13}) {
        SCOPED_TRACE(type);
        Registration r;
        r.uniqueIdType = type;
        r.clientId = 40 + type;
        r.paths.clear();
        r.uniqueId = "A-" + std::to_string(type);
        EXPECT_EQ(registerV1(r).status, 1);
        r.uniqueId = "B-" + std::to_string(type);
        EXPECT_EQ(registerV1(r).status, 1);
    }
    Registration control;
    control.clientId = 7;
    control.paths.clear();
    ASSERT_EQ(registerV1(control).status, 1);
    control.uniqueId = "C";
    Answer a = registerV1(control);
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.errCode, 0);  // version 1 replies carry no code
    EXPECT_EQ(a.msg, "The device name is already in the database");
    EXPECT_EQ(Devices().size(), 5u);
}

TEST_F(DeviceRegistrationTest, InvalidInputIsRefusedBeforeAnythingIsWritten)
{
    struct Case {
        const char* what;
        void (*change)(Registration&);
        int code;
        const char* text;
    };
    const Case cases[] = {
        {"empty unique id", [](Registration& r) { r.uniqueId.clear(); }, -2, "UniquedId field cannot be empty"},
        {"appliance", [](Registration& r) { r.applianceId = -1; }, -6, "Volume has an incorrect appliance ID"},
        {"block size", [](Registration& r) { r.blockSize = -1; }, -2, "Invalid input for volume detected"},
        {"LUN", [](Registration& r) { r.lun = -1; }, -2, "Invalid input for volume detected"},
        {"protected, state 0", [](Registration& r) { r.morvaneProtected = true; }, -2,
         "Invalid input for volume detected"},
        {"device name", [](Registration& r) { r.deviceName.clear(); }, -2, "Device name cannot be empty"},
        {"unique id of 256", [](Registration& r) { r.uniqueId.assign(256, 'u'); }, -18,
         "YB Physical Volume is too long"},
        {"FS type of 128", [](Registration& r) { r.fsType.assign(128, 'f'); }, -18,
         "YB Physical Volume FS Type is too long"},
        {"snapshot id of 2048", [](Registration& r) { r.snapshotId.assign(2048, 's'); }, -18,
         "YB Physical Volume's unique snapshot id is too long"},
        {"device name of 1024", [](Registration& r) { r.deviceName.assign(1024, 'd'); }, -18,
         "Device Name is too long"},
        {"access path of 128", [](Registration& r) { r.accessPath.assign(128, 'p'); }, -18,
         "Access Path is too long"},
        {"mount path of 1025", [](Registration& r) { r.paths[1].assign(1025, 'm'); }, -18,
         "Volume mount point path is too long"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ZXMMDBDeviceInfo::reset();
        Registration r;
        r.historyName = "hist";
        c.change(r);
        auto req = Build<repAddSNRDeviceV4Req>(r);
        expectRefusedCleanly(post(0x35000155, &req, 48), c.code, c.text);
        EXPECT_TRUE(ZXMMDBDeviceInfo::journal().empty());
    }
    EXPECT_EQ(LogEntriesWith("\tFailed to add SNR Volume record as uniqueid " + std::string(256, 'u') +
                             "\t is longer then 256 charecters")
                  .size(),
              1u);

    // An empty second path comes after the first mount point was written
    // and activated; the rollback leaves no row.
    Registration r;
    r.paths[1].clear();
    expectRefusedCleanly(registerV3(r), -2, "Volume mount point path cannot be empty");

    // The longest texts the columns hold are stored whole.
    Registration longest;
    longest.uniqueId.assign(255, 'u');
    longest.fsType.assign(127, 'f');
    longest.snapshotId.assign(2047, 's');
    longest.paths = {std::string(1024, 'm')};
    Answer a = registerV3(longest);
    ASSERT_EQ(a.status, 1);
    EXPECT_EQ(std::string(Volumes()[0].UniqueId), longest.uniqueId);
    EXPECT_EQ(std::string(Volumes()[0].UniqueSnapshotID), longest.snapshotId);
    ASSERT_EQ(a.paths.size(), 1u);
    EXPECT_EQ(a.paths[0].second, longest.paths[0]);
    EXPECT_EQ(std::string(MountPoints()[0].Path), longest.paths[0]);
}

TEST_F(DeviceRegistrationTest, ProtectedVolumeWithAStateIsAccepted)
{
    Registration r;
    r.morvaneProtected = true;
    r.tzState = 2;
    r.applianceId = 6;
    EXPECT_EQ(registerV3(r).status, 1);
    ASSERT_EQ(Volumes().size(), 1u);
    EXPECT_EQ(Volumes()[0].ApplianceId, 6);
    EXPECT_EQ(Volumes()[0].Flags & SNRVOL_FLAG_MORVANE_PROTECTED, SNRVOL_FLAG_MORVANE_PROTECTED);
}

TEST_F(DeviceRegistrationTest, VolumeOfAVersion1RecordWithNegativeStartIsFoundAgain)
{
    Registration r;
    r.startLBA = -1;
    r.blockCount = -1;
    r.paths.clear();
    Answer a = registerV1(r);
    ASSERT_EQ(a.status, 1);
    EXPECT_EQ(Volumes()[0].StartLBA, -1);

    Registration later = r;
    later.clientId = 9;
    later.deviceName = "/dev/sdz";
    Answer b = registerV3(later);
    EXPECT_EQ(b.status, 1);
    EXPECT_EQ(b.volumeId, a.volumeId);
    EXPECT_EQ(Volumes().size(), 1u);
}

TEST_F(DeviceRegistrationTest, QuotesInNamesAndIdsAreStoredAndMatched)
{
    Registration r;
    r.uniqueId = "vol'1";
    r.deviceName = "O'Brien's disk";
    r.paths.clear();
    Answer a = registerV3(r);
    ASSERT_EQ(a.status, 1);
    EXPECT_STREQ(Devices()[0].DeviceName, "O'Brien's disk");

    Answer dup = registerV3(r);
    EXPECT_EQ(dup.errCode, -12);
    r.clientId = 8;
    Answer b = registerV3(r);
    EXPECT_EQ(b.status, 1);
    EXPECT_EQ(b.volumeId, a.volumeId);
}

// Request texts with line breaks and terminal escapes are stored as given but
// written out in the log, so they cannot forge an entry or a line of one.
TEST_F(DeviceRegistrationTest, ControlCharactersOfRequestTextsAreWrittenOutInTheLog)
{
    Registration r;
    r.uniqueId = "lun\r\n7";
    r.deviceName = "disk\nReplicationMgr[1] -> forged\x1b[2J";
    r.paths = {"/mnt/\tx\x07"};
    r.historyName = "night\nday";
    Answer a = registerV3(r);
    ASSERT_EQ(a.status, 1);
    EXPECT_STREQ(Devices()[0].DeviceName, r.deviceName.c_str());
    EXPECT_EQ(registerV3(r).errCode, -12);

    EXPECT_EQ(LogEntriesWith("\tNo SNR Volume record found where UniqueId = 'lun\\r\\n7' AND").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tDevice name disk\\nReplicationMgr[1] -> forged\\x1b[2J was added\n").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tGlobal History Name night\\nday used by").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tMount Point /mnt/\\tx\\x07 was added\n").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\n\tDevice Name = disk\\nReplicationMgr[1] -> forged\\x1b[2J\n").size(), 1u);
    // Every entry is its heading and lines that start with a tab.
    for (const std::string& entry : EvDebug::entries()) {
        EXPECT_EQ(entry.find_first_of("\r\x1b\x07"), std::string::npos) << entry;
        size_t line = entry.find('\n');
        ASSERT_NE(line, std::string::npos) << entry;
        for (; line + 1 < entry.size(); line = entry.find('\n', line + 1))
            EXPECT_EQ(entry[line + 1], '\t') << entry;
    }
}

// ---- Failures of the host --------------------------------------------------------

TEST_F(DeviceRegistrationTest, AFailureAtAnyStepLeavesNoRowAndFreesTheLock)
{
    struct Fault {
        const char* what;
        const char* call;  // HostDBFaults kind, or "activate"
        int skip;
        int code;
        std::string text;
    };
    const Fault faults[] = {
        {"device list", "getList", 0, -4, "Cannot read device information from the database"},
        {"volume list", "getList", 1, -4, "Cannot access volume information"},
        {"volume insert", "insert", 0, -4, "Cannot include volume information in the database"},
        {"device count", "getNRows", 0, -4, "Cannot check device uniqueness condition"},
        {"device insert", "insert", 1, -4, "Cannot include device information in the database"},
        {"history name", "insert", 2, -4, "Global history name could not be added to the database"},
        {"first mount point", "insert", 3, -4, "Could not add mount points to the database"},
        {"second mount point", "insert", 4, -4, "Could not add mount points to the database"},
        {"controller", "activate", 0, -15, "controller unreachable"},
        {"commit", "commitTran", 0, -4, "Could not commit database transactions"},
        {"start", "startTran", 0, -7, "Could not initiated database transactions"},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.what);
        HostDBFaults::clear();
        ZXMMDBDeviceInfo::reset();
        EvDebug::clearEntries();
        if (std::string(f.call) == "activate")
            ZXMMDBDeviceInfo::failNext("activate", 3, f.text);
        else
            HostDBFaults::failNext(f.call, 5, f.skip);
        Registration r;
        r.historyName = "hist";
        // A commit fails after the reply was filled: the ids and mount paths
        // of the rolled-back rows are not answered.
        expectRefusedCleanly(registerV3(r), f.code, f.text);
        const bool started = std::string(f.call) != "startTran";
        EXPECT_EQ(LogEntriesWith("REPLICA_PM_ADD_DEVICE_V3_REQ completed unsuccessfully").size(), started ? 1u : 0u);
    }
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::AddDeviceHandler()\n\tCould not initiated database transactions\n").size(),
              1u);
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_ADD_DEVICE_V3_REQ completed \n\tSending reply").size(), 1u);
}

TEST_F(DeviceRegistrationTest, NoMemoryForTheReplyRollsBackASuccess)
{
    AllocReplyArray = &NoMemory;
    // The ids of the rolled-back rows are not answered.
    expectRefusedCleanly(registerV3(Registration()), -5, "No memory available to perform operation");
}

TEST_F(DeviceRegistrationTest, ControllersActivatedBeforeAFailureAreDeactivatedInReverseOrder)
{
    struct Path {
        const char* what;
        void (*arm)(Registration&);
        int activations;
        int code;
        const char* text;
    };
    const Path paths[] = {
        {"second path empty", [](Registration& r) { r.paths[1].clear(); }, 1, -2,
         "Volume mount point path cannot be empty"},
        {"second mount point insert", [](Registration&) { HostDBFaults::failNext("insert", 5, 4); }, 1, -4,
         "Could not add mount points to the database"},
        {"commit", [](Registration&) { HostDBFaults::failNext("commitTran", 5); }, 2, -4,
         "Could not commit database transactions"},
        {"reply array", [](Registration&) { AllocReplyArray = &NoMemory; }, 2, -5,
         "No memory available to perform operation"},
    };
    for (const Path& p : paths) {
        for (bool deactivationFails : {false, true}) {
            SCOPED_TRACE(std::string(p.what) + (deactivationFails ? ", a deactivation failing" : ""));
            HostDBFaults::clear();
            ZXMMDBDeviceInfo::reset();
            EvDebug::clearEntries();
            AllocReplyArray = &malloc;
            if (deactivationFails) ZXMMDBDeviceInfo::failNext("deactivate", 4, "controller busy");
            Registration r;
            r.historyName = "hist";
            p.arm(r);

            // The answer is the failure's own, also when a deactivation fails.
            Answer a = registerV3(r);
            EXPECT_EQ(a.errCode, p.code);
            EXPECT_EQ(a.msg, p.text);
            EXPECT_TRUE(Devices().empty());

            std::vector<std::string> activated = LayerCalls("activate");
            ASSERT_EQ(activated.size(), static_cast<size_t>(p.activations));
            EXPECT_EQ(LayerCalls("deactivate"), std::vector<std::string>(activated.rbegin(), activated.rend()));
            EXPECT_EQ(ZXMMDBDeviceInfo::journal().back(), "deactivate " + activated.front());
            const auto refused = LogEntriesWith("\tEvent: Cannot deactivate the controller of device " +
                                                activated.back() + " after its registration failed\n\tcontroller busy"
                                                "\n\tZXMMDBDeviceInfo::deactivateControllerBySNRVolId() failed\n");
            EXPECT_EQ(refused.size(), deactivationFails ? 1u : 0u);
            if (!deactivationFails) {
                EXPECT_FALSE(AnyControllerLeftActive());
            }
        }
    }
}

TEST_F(DeviceRegistrationTest, LockHeldElsewhereIsReportedWithItsCode)
{
    ZxNamedMutex::setWaitScale(0.001);
    std::mutex m;
    std::condition_variable cv;
    bool locked = false;
    bool release = false;
    std::thread holder([&] {
        FXNamedMutex mutex("YBAddDevice");
        mutex.Lock();
        std::unique_lock<std::mutex> guard(m);
        locked = true;
        cv.notify_all();
        cv.wait(guard, [&] { return release; });
        mutex.Unlock();
    });
    {
        std::unique_lock<std::mutex> guard(m);
        cv.wait(guard, [&] { return locked; });
    }
    Answer a = registerV3(Registration());
    {
        std::lock_guard<std::mutex> guard(m);
        release = true;
    }
    cv.notify_all();
    holder.join();

    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.errCode, -8);
    EXPECT_EQ(a.msg, "Cannot have exclusive access to YBAddDevice");
    EXPECT_TRUE(Volumes().empty());
    EXPECT_TRUE(AddDeviceLockIsFree());
}

// The registration a test thread posts, for the named mutex's observer.
thread_local const char* t_registration = nullptr;

// One holding of the registration lock: who held it and how many log
// entries had been written when it was taken and given back.
struct Holding {
    std::string who;
    size_t takenAt = 0;
    size_t givenBackAt = 0;
};

TEST_F(DeviceRegistrationTest, ConcurrentRegistrationsAreSerialised)
{
    struct Worker {
        RecordingNetwork net;
        ReplicationMgr mgr{&net.session};
        bool replied = false;
        Answer answer;
    };
    Worker first, second;
    std::mutex m;
    std::condition_variable cv;
    std::vector<Holding> holdings;
    bool paused = false;
    bool resume = false;

    // The first registration pauses as soon as it holds the lock.
    ZxNamedMutex::setObserver([&](const std::string& name, bool held) {
        if (name != "YBAddDevice" || t_registration == nullptr) return;
        const size_t at = EvDebug::entries().size();
        std::unique_lock<std::mutex> guard(m);
        if (!held) {
            holdings.back().givenBackAt = at;
            return;
        }
        holdings.push_back(Holding{t_registration, at, 0});
        if (holdings.size() > 1) return;
        paused = true;
        cv.notify_all();
        cv.wait(guard, [&] { return resume; });
    });
    auto post = [&](Worker& w, const char* who, Registration r) {
        w.net.network.setSendObserver([&](unsigned long, const void* data, unsigned long length) {
            std::lock_guard<std::mutex> guard(m);
            w.answer = Decode(data, length);
            w.replied = true;
            cv.notify_all();
        });
        return std::thread([&w, who, r]() mutable {
            t_registration = who;
            auto req = Build<repAddSNRDeviceV3Req>(r);
            zxsDatabuf buf;
            buf.m_pData = &req;
            w.mgr.post(0x350000ef, 0, &buf);
        });
    };
    Registration a;
    a.clientId = 100;
    a.deviceName = "/dev/first";
    a.paths = {"/mnt/first/a", "/mnt/first/b"};
    Registration b = a;  // the same volume
    b.clientId = 101;
    b.deviceName = "/dev/second";
    b.paths = {"/mnt/second/a"};

    std::thread firstThread = post(first, "first", a);
    std::thread secondThread;
    {
        std::unique_lock<std::mutex> guard(m);
        cv.wait(guard, [&] { return paused || first.replied; });
    }
    EXPECT_TRUE(paused) << "the registration answered without taking YBAddDevice";
    if (paused) {
        // Held by the paused registration: nobody else can take it.
        EXPECT_FALSE(AddDeviceLockIsFree());
        secondThread = post(second, "second", b);
    }
    {
        std::lock_guard<std::mutex> guard(m);
        resume = true;
        cv.notify_all();
    }
    firstThread.join();
    if (secondThread.joinable()) secondThread.join();
    ZxNamedMutex::setObserver(nullptr);
    ASSERT_TRUE(paused);

    EXPECT_EQ(first.answer.status, 1);
    EXPECT_EQ(second.answer.status, 1);
    EXPECT_EQ(second.answer.volumeId, first.answer.volumeId);
    EXPECT_EQ(Volumes().size(), 1u);
    EXPECT_EQ(MountPoints().size(), 3u);
    EXPECT_TRUE(AddDeviceLockIsFree());

    // One holding after the other, and every entry of a registration's work
    // written while it held the lock.
    ASSERT_EQ(holdings.size(), 2u);
    EXPECT_EQ(holdings[0].who, "first");
    EXPECT_EQ(holdings[1].who, "second");
    EXPECT_LE(holdings[0].givenBackAt, holdings[1].takenAt);
    const std::vector<std::string> entries = EvDebug::entries();
    size_t work = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].find("ReplicationMgr::AddDeviceDB()") == std::string::npos) continue;
        ++work;
        const Holding* within = nullptr;
        for (const Holding& h : holdings)
            if (h.takenAt <= i && i < h.givenBackAt) within = &h;
        ASSERT_NE(within, nullptr) << entries[i];
        const std::string other = within->who == "first" ? "second" : "first";
        EXPECT_EQ(entries[i].find("/dev/" + other), std::string::npos) << entries[i];
        EXPECT_EQ(entries[i].find("/mnt/" + other + "/"), std::string::npos) << entries[i];
    }
    EXPECT_EQ(work, 8u);  // volume created (2) or found (1), device, each mount point
}

}  // namespace
