#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "host/ZXMMDBDeviceInfo.h"
#include "host/db/DBtable.h"
#include "policies/PolicyTestSupport.h"
#include "snr/DeviceMessages.h"
#include "snr/SNRVolumeUpdate.h"
#include "support/NamedMutexes.h"
#include "support/TestHost.h"

namespace {

struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    int32_t status = 99;
    int32_t errCode = 0;  // 0 for the replies without one
    std::string msg;
    std::vector<char> bytes;
};

// A volume as an update request carries it; every value differs from the
// stored ones of Seed.
struct Volume {
    int32_t id = 10;
    std::string uniqueId = "NEW-UID";
    int32_t uniqueIdType = 5;
    int32_t lun = 9;
    int64_t startLBA = 77;
    int64_t blockCount = 8800;
    int32_t blockSize = 4096;
    bool backupFromSnap = true;
    bool locked = false;
    std::string fsType = "XFS";
    bool usePermReplica = true;
    std::string snapshotId = "NEW-SNAP";
    bool morvaneProtected = false;
    int32_t applianceId = 6;
    int32_t tzState = 0;
    int64_t costCategoryId = 12;
    bool shadowImported = false;
    int32_t volType = 2;  // NAS
    int32_t map = 0;
};

template <typename T, typename = void>
struct HasSnapshotId : std::false_type {};
template <typename T>
struct HasSnapshotId<T, std::void_t<decltype(std::declval<T&>().UniqueSnapshotID)>> : std::true_type {};
template <typename T, typename = void>
struct HasMap : std::false_type {};
template <typename T>
struct HasMap<T, std::void_t<decltype(std::declval<T&>().UpdateMap)>> : std::true_type {};
template <typename T, typename = void>
struct HasVolType : std::false_type {};
template <typename T>
struct HasVolType<T, std::void_t<decltype(std::declval<T&>().VolType)>> : std::true_type {};

template <typename Wire>
Wire ToWire(const Volume& v)
{
    Wire w;
    w.id = v.id;
    w.UniqueId = RequestText(v.uniqueId);
    w.UniqueIdType = v.uniqueIdType;
    w.LUN = v.lun;
    w.StartLBA = static_cast<decltype(w.StartLBA)>(v.startLBA);
    w.BlockCount = static_cast<decltype(w.BlockCount)>(v.blockCount);
    w.BlockSize = v.blockSize;
    w.BackupFromSnap = v.backupFromSnap;
    w.Locked = v.locked;
    w.FSType = RequestText(v.fsType);
    w.UsePermReplica = v.usePermReplica;
    if constexpr (HasSnapshotId<Wire>::value) w.UniqueSnapshotID = RequestText(v.snapshotId);
    if constexpr (HasMap<Wire>::value) {
        w.MorvaneProtected = v.morvaneProtected;
        w.ApplianceId = v.applianceId;
        w.UpdateMap = v.map;
        w.TzState = v.tzState;
        w.CostCategoryId = v.costCategoryId;
        w.ShadowImported = v.shadowImported;
    }
    if constexpr (HasVolType<Wire>::value) w.VolType = v.volType;
    return w;
}

using Row = std::map<std::string, std::string>;

class SNRVolumeUpdateTest : public SNRPostTest<Answer> {
protected:
    Answer decode(const void* data, unsigned long length) override
    {
        Answer a;
        const auto* r = static_cast<const repUpdateSNRVolumeResponse*>(data);
        a.status = r->status;
        a.msg = ReplyText(r->errMsg);
        if (length == sizeof(repUpdateSNRVolumeV3Response))
            a.errCode = static_cast<const repUpdateSNRVolumeV3Response*>(data)->errCode;
        a.bytes.assign(static_cast<const char*>(data), static_cast<const char*>(data) + length);
        return a;
    }

    Answer update(int version, const Volume& v)
    {
        switch (version) {
        case 1: {
            repUpdateSNRVolumeReq req{ToWire<repSNRVolume>(v)};
            return post(0x35000005, &req, sizeof(repUpdateSNRVolumeResponse));
        }
        case 42: {
            repUpdateSNRVolume42Req req{ToWire<repSNRVolume42>(v)};
            return post(0x350000ad, &req, sizeof(repUpdateSNRVolume42Response));
        }
        case 3: {
            repUpdateSNRVolumeV3Req req{ToWire<repSNRVolumeV3>(v)};
            return post(0x350000f1, &req, sizeof(repUpdateSNRVolumeV3Response));
        }
        default: {
            repUpdateSNRVolumeV4Req req{ToWire<repSNRVolumeV4>(v)};
            return post(0x35000157, &req, sizeof(repUpdateSNRVolumeV4Response));
        }
        }
    }
    Answer updateV3(int id, int32_t map, std::function<void(Volume&)> change = nullptr)
    {
        Volume v;
        v.id = id;
        v.map = map;
        if (change) change(v);
        return update(3, v);
    }

    // A stored volume: allocated and shadow-imported (Flags 0x28), type 1.
    void seed(int id, const std::string& uid = "OLD-UID", int type = 2, int lun = 1, long long start = 0,
              long long count = 2048)
    {
        exec("DELETE FROM YBPhysicalVolume WHERE id = " + std::to_string(id) +
             "; INSERT INTO YBPhysicalVolume (id, UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, Flags, "
             "FSType, UniqueSnapshotID, ApplianceId, TzState, CostCategoryId, Type) VALUES (" +
             std::to_string(id) + ", '" + uid + "', " + std::to_string(type) + ", " + std::to_string(lun) + ", " +
             std::to_string(start) + ", " + std::to_string(count) + ", 512, 40, 'NTFS', 'OLD-SNAP', 3, 0, 4, 1)");
    }

    // The stored row, column by column; empty when there is none.
    Row row(int id)
    {
        Row out;
        sqlite3* db = nullptr;
        if (sqlite3_open(m_path.c_str(), &db) != SQLITE_OK) return out;
        sqlite3_stmt* stmt = nullptr;
        const std::string sql = "SELECT * FROM YBPhysicalVolume WHERE id = " + std::to_string(id);
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                out[sqlite3_column_name(stmt, c)] = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return out;
    }
    static Row with(Row r, const std::map<std::string, std::string>& changes)
    {
        for (const auto& c : changes) r[c.first] = c.second;
        return r;
    }
    std::string dump()
    {
        return DumpTable(m_path, "YBPhysicalVolume") + DumpTable(m_path, "YBPhysicalDevice") +
               DumpTable(m_path, "YBMountPoint") + DumpTable(m_path, "YBTzHistoryName") +
               DumpTable(m_path, "YBScratchPool") + DumpTable(m_path, "YBVolSnapParams") + DumpTable(m_path, "YBFile");
    }
    long long value(const std::string& sql) { return scalar(sql); }

    static void ExpectSuccess(const Answer& a)
    {
        EXPECT_EQ(a.status, 1);
        EXPECT_EQ(a.msg, "(null)");
        EXPECT_EQ(a.errCode, 0);
    }
    static void ExpectFailure(const Answer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0);
        EXPECT_EQ(a.errCode, code);
        EXPECT_EQ(a.msg, text);
    }

    // One client's view of the shared disk through a registration: the
    // volume and device ids.
    std::pair<int32_t, int32_t> registerView(int32_t clientId, int32_t lun, const std::string& path)
    {
        const std::string device = "/dev/shared-" + std::to_string(clientId);
        const std::string history = "history-" + std::to_string(clientId);
        repSNRVolumeMountPoint mountPoint;
        mountPoint.Path = RequestText(path);
        repAddSNRDeviceV5Req req;
        req.SNRVolume.UniqueId = const_cast<char*>("SHARED-DISK");
        req.SNRVolume.UniqueIdType = kSharedDiskUniqueIdType;
        req.SNRVolume.LUN = lun;
        req.SNRVolume.StartLBA = 63;
        req.SNRVolume.BlockCount = 1 << 20;
        req.SNRVolume.BlockSize = 512;
        req.Device.ClientId = clientId;
        req.Device.DeviceName = RequestText(device);
        req.MountPointCount = 1;
        req.MountPoints = &mountPoint;
        req.HistoryName.GlobalHistoryName = RequestText(history);
        const Answer a = post(0x35000206, &req, sizeof(repAddSNRDeviceV5Response));
        repAddSNRDeviceV5Response reply;
        std::memcpy(static_cast<void*>(&reply), a.bytes.data(), sizeof reply);
        EXPECT_EQ(reply.status, 1);
        return {reply.SNRVolumeId, reply.DeviceId};
    }
};

TEST_F(SNRVolumeUpdateTest, Versions1And42WriteTheirFixedColumns)
{
    seed(10);
    const Row before = row(10);
    Volume v;
    ExpectSuccess(update(1, v));
    // Bits 0x1 and 0x4 set, 0x2 stays clear; allocated and shadow-imported kept.
    const Row v1 = with(before, {{"UniqueId", "NEW-UID"}, {"UniqueIdType", "5"}, {"LUN", "9"}, {"FSType", "XFS"},
                                 {"Flags", "45"}});
    EXPECT_EQ(row(10), v1);

    v.uniqueId = "NEWER-UID";
    v.backupFromSnap = false;
    ExpectSuccess(update(42, v));
    EXPECT_EQ(row(10), with(v1, {{"UniqueId", "NEWER-UID"}, {"UniqueSnapshotID", "NEW-SNAP"}, {"Flags", "44"}}));
}

// Each bit of the map alone writes exactly its column; the reservation and
// the protection bits have tests of their own.
TEST_F(SNRVolumeUpdateTest, EachBitOfTheMapAloneWritesExactlyItsColumn)
{
    struct BitCase {
        int32_t bit;
        const char* column;
        const char* value;
        bool v4Only;
    };
    const BitCase cases[] = {
        {YB_PVOL_UNIQUE_ID, "UniqueId", "NEW-UID", false},
        {YB_PVOL_UNIQUE_ID_TYPE, "UniqueIdType", "5", false},
        {YB_PVOL_LUN, "LUN", "9", false},
        {YB_PVOL_BACKUP_FROM_SNAP, "Flags", "41", false},
        {YB_PVOL_FSTYPE, "FSType", "XFS", false},
        {YB_PVOL_USE_PERM_REPLICA, "Flags", "44", false},
        {YB_PVOL_UNIQUE_SNAP_ID, "UniqueSnapshotID", "NEW-SNAP", false},
        {YB_PVOL_APPLIANCE_ID, "ApplianceId", "6", false},
        {YB_PVOL_COST_ID, "CostCategoryId", "12", false},
        {YB_PVOL_SHADOW_IMPORTED, "Flags", "8", false},
        {YB_PVOL_TYPE, "Type", "2", true},
        {YB_PVOL_BLOCK_COUNT, "BlockCount", "8800", true},
        {YB_PVOL_START_LBA, "StartLBA", "77", true},
    };
    for (int version : {3, 4}) {
        for (const BitCase& c : cases) {
            if (c.v4Only && version == 3) continue;
            SCOPED_TRACE("version " + std::to_string(version) + ", bit " + std::to_string(c.bit));
            seed(10);
            const Row before = row(10);
            Volume v;
            v.map = c.bit;
            ExpectSuccess(update(version, v));
            EXPECT_EQ(row(10), with(before, {{c.column, c.value}}));
        }
    }

    // Start and count of a volume that is not NAS stay, in the row and in
    // the identity (no conflict with the twin at start 77).
    seed(10);
    seed(11, "OLD-UID", 2, 1, 77, 8800);
    const Row before = row(10);
    Volume v;
    v.volType = 1;
    v.map = YB_PVOL_BLOCK_COUNT | YB_PVOL_START_LBA | YB_PVOL_FSTYPE;
    ExpectSuccess(update(4, v));
    EXPECT_EQ(row(10), with(before, {{"FSType", "XFS"}}));
}

TEST_F(SNRVolumeUpdateTest, AMapOf0WritesEverythingTheVersionKnows)
{
    seed(10);
    Volume v;
    v.id = 10;
    ExpectSuccess(update(3, v));
    const Row v3 = row(10);
    EXPECT_EQ(v3.at("Type"), "1");
    EXPECT_EQ(v3.at("StartLBA"), "0");
    EXPECT_EQ(v3.at("CostCategoryId"), "12");
    EXPECT_EQ(v3.at("Flags"), "13");  // 0x1 | 0x4 | allocated kept; shadow-imported cleared

    seed(10);
    ExpectSuccess(update(4, v));
    const Row v4 = row(10);
    EXPECT_EQ(v4.at("Type"), "2");
    EXPECT_EQ(v4.at("StartLBA"), "77");
    EXPECT_EQ(v4.at("BlockCount"), "8800");
    EXPECT_EQ(v4.at("BlockSize"), "512");  // no bit covers it
}

TEST_F(SNRVolumeUpdateTest, ProtectionAndStateMustAgree)
{
    seed(10);
    const std::string before = dump();
    ExpectFailure(updateV3(10, YB_PVOL_TZSTATE, [](Volume& v) { v.tzState = 5; }), -6, "Invalid Morvane Volume status");
    ExpectFailure(updateV3(10, YB_PVOL_TZ_PROTECTED, [](Volume& v) { v.morvaneProtected = true; }), -6,
                  "Invalid Morvane Volume status");
    EXPECT_EQ(dump(), before);

    // Alone, each bit is judged with the stored other half.
    exec("UPDATE YBPhysicalVolume SET TzState = 3 WHERE id = 10");
    const Row stateThree = row(10);
    ExpectSuccess(updateV3(10, YB_PVOL_TZ_PROTECTED, [](Volume& v) { v.morvaneProtected = true; }));
    EXPECT_EQ(row(10), with(stateThree, {{"Flags", "56"}}));
    exec("UPDATE YBPhysicalVolume SET Flags = 40 WHERE id = 10");
    ExpectSuccess(updateV3(10, YB_PVOL_TZSTATE, [](Volume& v) { v.tzState = 0; }));
    EXPECT_EQ(row(10), with(stateThree, {{"TzState", "0"}}));
}

// Ending protection removes the history name of the volume's first device
// only; a first device without one is no failure.
TEST_F(SNRVolumeUpdateTest, ProtectionRemovedDeletesTheFirstDevicesHistoryName)
{
    for (int id : {10, 11}) {
        seed(id, "UID-" + std::to_string(id));
        exec("UPDATE YBPhysicalVolume SET Flags = 56, TzState = 2 WHERE id = " + std::to_string(id));
    }
    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (101, 1, 10, 'a'), "
         "(102, 2, 10, 'b'), (111, 1, 11, 'c'), (112, 2, 11, 'd');"
         "INSERT INTO YBTzHistoryName (DeviceId, GlobalHistoryName) VALUES (101, 'h-101'), (102, 'h-102'), "
         "(112, 'h-112')");
    const int32_t unprotect = YB_PVOL_TZ_PROTECTED | YB_PVOL_TZSTATE;
    ExpectSuccess(updateV3(10, unprotect));
    EXPECT_EQ(value("SELECT COUNT(*) FROM YBTzHistoryName WHERE DeviceId = 101"), 0);
    EXPECT_EQ(value("SELECT COUNT(*) FROM YBTzHistoryName WHERE DeviceId = 102"), 1);
    EXPECT_EQ(row(10).at("Flags"), "40");
    ExpectSuccess(updateV3(11, unprotect));
    EXPECT_EQ(value("SELECT COUNT(*) FROM YBTzHistoryName WHERE DeviceId = 112"), 1);
    // Unchanged protection removes nothing.
    exec("UPDATE YBPhysicalVolume SET Flags = 56, TzState = 2 WHERE id = 10");
    ExpectSuccess(updateV3(10, YB_PVOL_COST_ID));
    EXPECT_EQ(value("SELECT COUNT(*) FROM YBTzHistoryName WHERE DeviceId = 102"), 1);
}

TEST_F(SNRVolumeUpdateTest, TheReservationBitMovesThePoolCounter)
{
    seed(10);
    seed(11, "OTHER-UID");
    exec("INSERT INTO YBScratchPool (id, name, TotalVolumes, AvailableVolumes) VALUES (1, 'pool', 1, 1);"
         "INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (60, 10, 1)");
    auto available = [&] { return value("SELECT AvailableVolumes FROM YBScratchPool WHERE id = 1"); };
    auto locked = [](bool on) { return [on](Volume& v) { v.locked = on; }; };

    ExpectSuccess(updateV3(10, YB_PVOL_LOCK, locked(true)));
    EXPECT_EQ(row(10).at("Flags"), "42");
    EXPECT_EQ(available(), 0);
    ExpectSuccess(updateV3(10, YB_PVOL_LOCK, locked(true)));  // reserved already: no change
    EXPECT_EQ(available(), 0);

    exec("INSERT INTO YBVolume (id, PhysicalVolumeId) VALUES (70, 10)");
    const std::string before = dump();
    ExpectFailure(updateV3(10, YB_PVOL_LOCK, locked(false)), -11,
                  "Volume cannot be unreserved if there are YB Volumes associated with it");
    EXPECT_EQ(dump(), before);
    exec("DELETE FROM YBVolume");
    ExpectSuccess(updateV3(10, YB_PVOL_LOCK, locked(false)));
    EXPECT_EQ(row(10).at("Flags"), "40");
    EXPECT_EQ(available(), 1);

    // Without a scratch volume: reserving fails in the counter, releasing
    // moves none.
    ExpectFailure(updateV3(11, YB_PVOL_LOCK, locked(true)), -16,
                  "Could not find scratch volume information in the database");
    exec("UPDATE YBPhysicalVolume SET Flags = 42 WHERE id = 11");
    ExpectSuccess(updateV3(11, YB_PVOL_LOCK, locked(false)));
    EXPECT_EQ(available(), 1);
    exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (61, 10, 1), (62, 10, 1)");
    exec("UPDATE YBPhysicalVolume SET Flags = 42 WHERE id = 10");
    ExpectFailure(updateV3(10, YB_PVOL_LOCK, locked(false)), -13,
                  "Multiple scratch volume records found for this volume. Check database");
}

TEST_F(SNRVolumeUpdateTest, RefusalsAndFailuresWriteNothingAndReleaseTheLock)
{
    seed(10);
    seed(11, "OTHER-UID", 2, 9);
    const std::string before = dump();
    ExpectFailure(updateV3(-1, YB_PVOL_FSTYPE), -6, "Invalid Volume ID");
    ExpectFailure(updateV3(0, YB_PVOL_FSTYPE), -3, "Record not found");
    ExpectFailure(updateV3(10, YB_PVOL_LUN, [](Volume& v) { v.lun = -1; }), -6, "Invalid LUN");
    ExpectFailure(updateV3(10, YB_PVOL_FSTYPE, [](Volume& v) { v.fsType = std::string(200, 'f'); }), -18,
                  "YB Physical Volume FS Type is too long");
    // Another row already has the identity in force.
    ExpectFailure(updateV3(10, YB_PVOL_UNIQUE_ID | YB_PVOL_LUN, [](Volume& v) { v.uniqueId = "OTHER-UID"; }), -12,
                  "Cannot update volume information because of volume information conflict");
    const struct {
        const char* call;
        int code;
        const char* text;
    } steps[] = {
        {"getInfo", -4, "Cannot read volume information from DB"},
        {"getList", -4, "Cannot access volume information to verify its integrity"},
        {"Update", -4, "Could not update volume information from database"},
    };
    for (const auto& step : steps) {
        HostDBFaults::failNext(step.call, 5);
        ExpectFailure(updateV3(10, YB_PVOL_FSTYPE), step.code, step.text);
    }
    // A transaction that never started: the completion entry has no outcome.
    HostDBFaults::failNext("startTran", 5);
    ExpectFailure(updateV3(10, YB_PVOL_FSTYPE), -7, "Could not initiated database transactions");
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_UPDATE_SNR_VOLUME_V3_REQ completed \n\tSending reply").size(), 1u);
    EXPECT_EQ(dump(), before);
    EXPECT_TRUE(NamedMutexIsFree("SNR Volume"));

    // Versions 1 and 42 carry the text only.
    Volume v;
    v.id = -4;
    const Answer a = update(1, v);
    EXPECT_EQ(a.status, 0);
    EXPECT_EQ(a.msg, "Invalid Volume ID");
    EXPECT_EQ(a.bytes.size(), 16u);
}

// Start and count go into the identity signed: a twin stored with -1 is
// found.
TEST_F(SNRVolumeUpdateTest, AnIdentityWithNegativeStartAndCountIsFound)
{
    seed(10, "NEG-UID", 2, 1, -1, -1);
    seed(11, "NEG-UID", 2, 2, -1, -1);
    ExpectFailure(updateV3(11, YB_PVOL_LUN, [](Volume& v) { v.lun = 1; }), -12,
                  "Cannot update volume information because of volume information conflict");
    EXPECT_EQ(row(11).at("LUN"), "2");
}

// Two clients see one shared disk under different LUNs: an update of one of
// the two volumes merges it into the other.
TEST_F(SNRVolumeUpdateTest, TwoViewsOfASharedDiskAreMergedIntoOneVolume)
{
    const auto first = registerView(1, 4, "/mnt/one");
    const auto second = registerView(2, 5, "/mnt/two");
    const auto third = registerView(3, 5, "/mnt/three");  // the second volume again
    ASSERT_NE(first.first, second.first);
    ASSERT_EQ(second.first, third.first);
    const Row kept = row(first.first);
    const std::string old = std::to_string(second.first);
    exec("INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId) VALUES (" + old + ", 1)");
    exec("INSERT INTO YBFile (VolumeId, Name, Content) VALUES (" + old + ", 'f', 'x')");
    const std::string mountPoints = DumpTable(m_path, "YBMountPoint");
    const std::string histories = DumpTable(m_path, "YBTzHistoryName");

    ExpectSuccess(updateV3(second.first, YB_PVOL_FSTYPE));
    EXPECT_TRUE(row(second.first).empty());
    EXPECT_EQ(row(first.first), kept);  // the requested change is dropped
    for (int32_t device : {first.second, second.second, third.second})
        EXPECT_EQ(value("SELECT SNRVolumeId FROM YBPhysicalDevice WHERE id = " + std::to_string(device)), first.first);
    EXPECT_EQ(DumpTable(m_path, "YBMountPoint"), mountPoints);
    EXPECT_EQ(DumpTable(m_path, "YBTzHistoryName"), histories);
    EXPECT_EQ(LogEntriesWith("Deleting old shared disk volume id " + old).size(), 1u);
    // What only described the old volume went with it.
    EXPECT_EQ(value("SELECT COUNT(*) FROM YBVolSnapParams WHERE SNRVolumeId = " + old), 0);
    EXPECT_EQ(value("SELECT COUNT(*) FROM YBFile WHERE VolumeId = " + old), 0);

    // Alone with its identity, a shared disk's volume is updated in place.
    ExpectSuccess(updateV3(first.first, YB_PVOL_FSTYPE));
    EXPECT_EQ(row(first.first).at("FSType"), "XFS");
}

// A failure at any step of the merge leaves both volumes and every device
// as they were.
TEST_F(SNRVolumeUpdateTest, AFailureAtAnyStepOfTheMergeChangesNothing)
{
    registerView(1, 4, "/mnt/one");
    const int32_t merged = registerView(2, 5, "/mnt/two").first;
    registerView(3, 5, "/mnt/three");
    exec("INSERT INTO YBVolSnapParams (SNRVolumeId, SnapEngineId) VALUES (" + std::to_string(merged) + ", 1)");
    exec("INSERT INTO YBFile (VolumeId, Name, Content) VALUES (" + std::to_string(merged) + ", 'f', 'x')");
    const std::string before = dump();

    struct Step {
        std::function<void()> arm;
        int code;
        const char* text;
    };
    const Step steps[] = {
        {[] { ZXMMDBDeviceInfo::failNext("partitionInUse", 7, "busy"); }, -15,
         "Could not check if volume is being used"},
        {[merged] { ZXMMDBDeviceInfo::setInUse("partitionInUse", merged, true); }, -11,
         "Cannot delete volume because is being used as a storage device"},
        {[] { HostDBFaults::failNext("fetch", 5); }, -4, "Could not get device name information from the database"},
        // The first device has moved when the second one's move fails.
        {[] { HostDBFaults::failNext("Update", 5, 1); }, -4, "Could not update device name information"},
        {[] { HostDBFaults::failNext("getNRows", 5); }, -4,
         "Could not determine if volume still referenced by YB Volume or Scratch Volume in the database"},
        {[] { HostDBFaults::failNext("getNRows", 5, 1); }, -4,
         "Could not determine if volume still referenced by YB volumes in the database"},
        {[] { HostDBFaults::failNext("getNRows", 5, 2); }, -4,
         "Cannot access Volume Snap Parameters information from the database"},
        {[] { HostDBFaults::failNext("remove", 5); }, -4, "Cannot remove volume snap parameters info from the database"},
        {[] { HostDBFaults::failNext("remove", 5, 1); }, -4, "Database error trying to delete a YB File"},
        {[] { HostDBFaults::failNext("remove", 5, 2); }, -4,
         "Could not delete shared disk volume information from database"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.text);
        step.arm();
        ExpectFailure(updateV3(merged, YB_PVOL_FSTYPE), step.code, step.text);
        EXPECT_EQ(dump(), before);
        ZXMMDBDeviceInfo::setInUse("partitionInUse", merged, false);
        HostDBFaults::clear();
    }
    EXPECT_TRUE(NamedMutexIsFree("SNR Volume"));
}

// The old volume of a merge may not be named by anything that stays: a
// scratch volume on it, or a replication volume on it, replicating it or
// holding a snapshot of it, refuses the merge before any device moves.
TEST_F(SNRVolumeUpdateTest, AMergeIsRefusedWhileSomethingNamesTheOldVolume)
{
    const auto first = registerView(1, 4, "/mnt/one");
    const int32_t merged = registerView(2, 5, "/mnt/two").first;
    const std::string id = std::to_string(merged);
    struct Namer {
        std::string row;
        const char* text;
    };
    const Namer namers[] = {
        {"INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (70, " + id + ", 1)",
         "Can not delete volume: still referenced by YB Volume or Scratch Volume in the database"},
        {"INSERT INTO YBVolume (id, PhysicalVolumeId) VALUES (80, " + id + ")",
         "Can not delete volume: Still referenced by YB Volumes in the database"},
        {"INSERT INTO YBVolume (id, PrimaryVolumeId, CurrentRole) VALUES (80, " + id + ", 4)",
         "Can not delete volume: Still referenced by YB Volumes in the database"},
        {"INSERT INTO YBVolume (id, SnapVolumeId) VALUES (80, " + id + ")",
         "Can not delete volume: Still referenced by YB Volumes in the database"},
    };
    for (const Namer& namer : namers) {
        SCOPED_TRACE(namer.row);
        exec(namer.row);
        const std::string before = dump() + DumpTable(m_path, "YBScratchVolume") + DumpTable(m_path, "YBVolume");
        const size_t refusals = LogEntriesWith(namer.text).size();
        ExpectFailure(updateV3(merged, YB_PVOL_FSTYPE), -12, namer.text);
        ExpectFailure(update(4, [&] {
                          Volume v;
                          v.id = merged;
                          v.map = YB_PVOL_FSTYPE;
                          return v;
                      }()),
                      -12, namer.text);
        EXPECT_EQ(dump() + DumpTable(m_path, "YBScratchVolume") + DumpTable(m_path, "YBVolume"), before);
        const auto entries = LogEntriesWith(namer.text);
        ASSERT_EQ(entries.size(), refusals + 2);
        EXPECT_NE(entries.back().find("\n\tNRows = 1"), std::string::npos);
        EXPECT_TRUE(NamedMutexIsFree("SNR Volume"));
        exec("DELETE FROM YBScratchVolume; DELETE FROM YBVolume");
    }
    // Version 1 carries no code but is refused the same way.
    exec(namers[0].row);
    Volume v;
    v.id = merged;
    v.uniqueId = "SHARED-DISK";
    v.uniqueIdType = kSharedDiskUniqueIdType;
    EXPECT_EQ(update(1, v).status, 0);
    EXPECT_FALSE(row(merged).empty());
    exec("DELETE FROM YBScratchVolume");
    ExpectSuccess(updateV3(merged, YB_PVOL_FSTYPE));
    EXPECT_TRUE(row(merged).empty());
    EXPECT_FALSE(row(first.first).empty());
}

}  // namespace
