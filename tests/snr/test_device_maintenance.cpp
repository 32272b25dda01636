#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "service/ReplicationMgr.h"
#include "snr/DeviceMaintenance.h"
#include "snr/SNRPostFixture.h"
#include "support/TestHost.h"

namespace {

// A device row as stored.
struct DeviceRow {
    int32_t id = 0;
    int32_t clientId = 0;
    int32_t volumeId = 0;
    std::string name;
    int32_t flags = 0;
    std::string osName;
    std::string accessPath;
    int32_t filerClientId = 0;

    bool operator==(const DeviceRow& o) const
    {
        return id == o.id && clientId == o.clientId && volumeId == o.volumeId && name == o.name && flags == o.flags &&
               osName == o.osName && accessPath == o.accessPath && filerClientId == o.filerClientId;
    }
};
std::ostream& operator<<(std::ostream& out, const DeviceRow& r)
{
    return out << "{" << r.id << ", client " << r.clientId << ", volume " << r.volumeId << ", '" << r.name
               << "', flags 0x" << std::hex << r.flags << std::dec << ", os '" << r.osName << "', access '"
               << r.accessPath << "', filer " << r.filerClientId << "}";
}

DeviceRow ToDeviceRow(const YBPhysicalDevice_t& r)
{
    return DeviceRow{r.id, r.ClientId, r.SNRVolumeId, r.DeviceName, r.Flags, r.OSDeviceName, r.AccessPath,
                     r.FilerClientId};
}

// The fields of a device record as a request carries them.
struct DeviceValues {
    int32_t id = -1;
    int32_t clientId = -1;
    int32_t volumeId = -1;
    std::string name;
    bool caseSensitive = false;
    std::string osName;
    bool configured = false;
    bool fake = false;
    bool vvm = false;
    int32_t mask = 0;
    std::string accessPath;
    int32_t filerClientId = 1;
};

// The values as the wire device record of a version (the fields it has).
template <typename Wire>
Wire ToWire(const DeviceValues& s)
{
    Wire w;
    w.id = s.id;
    w.ClientId = s.clientId;
    w.SNRVolumeId = s.volumeId;
    w.DeviceName = RequestText(s.name);
    w.IsCaseSensitive = s.caseSensitive ? 1 : 0;
    if constexpr (sizeof(Wire) >= sizeof(repSNRVolumeDeviceNameV2)) {
        w.OSDeviceName = RequestText(s.osName);
        w.Configured = s.configured ? 1 : 0;
        w.Fake = s.fake ? 1 : 0;
    }
    if constexpr (sizeof(Wire) >= sizeof(repSNRVolumeDeviceNameV3)) {
        w.VVM = s.vvm ? 1 : 0;
        w.UpdateMap = s.mask;
        w.AccessPath = RequestText(s.accessPath);
    }
    if constexpr (std::is_same<Wire, repSNRVolumeDeviceNameV4>::value) w.FilerClientId = s.filerClientId;
    return w;
}

struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    int32_t status = 99;
    int32_t errCode = 99;
    std::string msg = "(null)";
};

template <typename W, typename P, unsigned long C, int N>
struct Version {
    using Wire = W;
    using Reply = P;
    static constexpr unsigned long code = C;
    static constexpr int number = N;
};

// Devices of client 2: 1 'Disk-A' (fake, with an OS device name), 2 'disk-b',
// 3 'Disk-C' (case-sensitive); device 4 of client 3 is also named 'Disk-A'.
// SNR volumes 5, 6, 7, 20 and 21 are stored.
class DeviceMaintenanceTest : public SNRPostTest<Answer> {
protected:
    Answer decode(const void* data, unsigned long length) override
    {
        Answer a;
        if (length == sizeof(repUpdateSNRDeviceNameResp)) {
            read(a, *static_cast<const repUpdateSNRDeviceNameResp*>(data));
        } else {
            read(a, *static_cast<const repConfigureDeviceResp*>(data));
        }
        return a;
    }

    void SetUp() override
    {
        SNRPostTest::SetUp();
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName, Flags, OSDeviceName, AccessPath,"
             " FilerClientId) VALUES"
             " (1, 2, 5, 'Disk-A', 4, '/dev/sda', 'acc-1', 3),"
             " (2, 2, 6, 'disk-b', 0, '', '', 1),"
             " (3, 2, 7, 'Disk-C', 1, '', '', 1),"
             " (4, 3, 5, 'Disk-A', 0, '', '', 1)");
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId) VALUES (5, 'uid-5'), (6, 'uid-6'), (7, 'uid-7'),"
             " (20, 'uid-20'), (21, 'uid-21')");
    }

    template <typename V>
    Answer update(const DeviceValues& values)
    {
        typename V::Wire request = ToWire<typename V::Wire>(values);
        return post(V::code, &request, sizeof(typename V::Reply));
    }
    template <typename V>
    Answer configure(const DeviceValues& values)
    {
        return update<V>(values);
    }
    Answer unconfigure(int32_t id)
    {
        repUnconfigureDeviceReq request{id};
        return post(0x35000101, &request, sizeof(repUnconfigureDeviceResp));
    }

    int32_t store(int32_t clientId, const std::string& name, int32_t flags, const std::string& osName = "",
                  DBtran* tran = nullptr)
    {
        YBPhysicalDevice_t row;
        std::memset(static_cast<void*>(&row), 0, sizeof row);
        row.ClientId = clientId;
        row.SNRVolumeId = 20;
        std::strncpy(row.DeviceName, name.c_str(), sizeof row.DeviceName - 1);
        row.Flags = flags;
        std::strncpy(row.OSDeviceName, osName.c_str(), sizeof row.OSDeviceName - 1);
        std::strcpy(row.AccessPath, "acc");
        row.FilerClientId = 4;
        CSNRVolumeDeviceNameDB db;
        EXPECT_TRUE(db.insert(row, tran));
        return row.id;
    }

    static DeviceRow Device(int32_t id)
    {
        for (const YBPhysicalDevice_t& r : StoredRows<YBPhysicalDevice_t, CSNRVolumeDeviceNameDB>())
            if (r.id == id) return ToDeviceRow(r);
        return DeviceRow{};
    }
    static std::vector<DeviceRow> Devices()
    {
        std::vector<DeviceRow> out;
        for (const YBPhysicalDevice_t& r : StoredRows<YBPhysicalDevice_t, CSNRVolumeDeviceNameDB>())
            out.push_back(ToDeviceRow(r));
        return out;
    }

    // A failure: status 0 with the text and code.
    static void expectFailed(const Answer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0);
        EXPECT_EQ(a.errCode, code);
        EXPECT_EQ(a.msg, text);
    }
    static void expectDone(const Answer& a)
    {
        EXPECT_EQ(a.status, 1);
        EXPECT_EQ(a.errCode, 0);
        EXPECT_EQ(a.msg, "(null)");
    }

    // One refusal or injected failure: the database call that fails (null:
    // none) with its code, the request's device and name, and the reply's
    // code and text.
    struct FailureCase {
        const char* what;
        const char* call;
        int dbCode;
        int32_t id;
        std::string name;
        int code;
        std::string text;
    };
    // Sends each case and checks its failed reply and that nothing was written.
    template <typename Send>
    void expectEachFailsWritingNothing(const std::vector<FailureCase>& cases, Send send)
    {
        const auto before = Devices();
        for (const FailureCase& c : cases) {
            SCOPED_TRACE(c.what);
            if (c.call) HostDBFaults::failNext(c.call, c.dbCode);
            expectFailed(send(c), c.code, c.text);
            EXPECT_EQ(Devices(), before);
            HostDBFaults::clear();
        }
    }

private:
    template <typename Reply>
    static void read(Answer& a, const Reply& r)
    {
        a.status = r.status;
        a.errCode = r.errCode;
        if (r.errMsg) a.msg = r.errMsg;
    }
};

// ---- Update ------------------------------------------------------------------------

using V1Update = Version<repSNRVolumeDeviceName, repUpdateSNRDeviceNameResp, 0x350000b9, 1>;
using V3Update = Version<repSNRVolumeDeviceNameV3, repUpdateSNRDeviceNameV3Resp, 0x350001ad, 3>;
using V4Update = Version<repSNRVolumeDeviceNameV4, repUpdateSNRDeviceNameV4Resp, 0x35000214, 4>;

TEST_F(DeviceMaintenanceTest, Version1UpdateWritesItsFixedColumnsAndKeepsTheStoredOSDeviceName)
{
    EXPECT_EQ(GetUpdateMap(UpdateSNRDeviceArgs_t()), 0x1F);

    DeviceValues values;
    values.id = 1;
    values.clientId = 2;
    values.volumeId = 6;
    values.name = "Disk-Z";
    values.caseSensitive = true;
    expectDone(update<V1Update>(values));
    // Name, client, volume and the case bit; the record carries no OS device
    // name, so the stored one stays, as do the access path, the filer client
    // and the other flag bits.
    EXPECT_EQ(Device(1), (DeviceRow{1, 2, 6, "Disk-Z", 0x5, "/dev/sda", "acc-1", 3}));

    // Ids that are not positive are not written.
    values.clientId = -1;
    values.volumeId = 0;
    values.caseSensitive = false;
    expectDone(update<V1Update>(values));
    EXPECT_EQ(Device(1), (DeviceRow{1, 2, 6, "Disk-Z", 0x4, "/dev/sda", "acc-1", 3}));
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::UpdateSNRDeviceDB()\n\tSNR Volume device name 1 has been updated...")
                  .size(),
              2u);
}

template <typename V>
class UpdateMaskTest : public DeviceMaintenanceTest {};
using MaskedVersions = ::testing::Types<V3Update, V4Update>;
TYPED_TEST_SUITE(UpdateMaskTest, MaskedVersions);

// What an update with the given mask bit writes into the stored row.
void ApplyBit(int32_t bit, DeviceRow& row, const DeviceValues& s)
{
    switch (bit) {
    case YB_DEV_CLIENT_ID: row.clientId = s.clientId; break;
    case YB_DEV_VOL_ID: row.volumeId = s.volumeId; break;
    case YB_DEV_IS_CASE_SENSITIVE: row.flags = (row.flags & ~0x1) | (s.caseSensitive ? 0x1 : 0); break;
    case YB_DEV_OS_DEV_NAME: row.osName = s.osName; break;
    case YB_DEV_NAME: row.name = s.name; break;
    case YB_DEV_CONFIGURED: row.flags = (row.flags & ~0x2) | (s.configured ? 0x2 : 0); break;
    case YB_DEV_FAKE: row.flags = (row.flags & ~0x4) | (s.fake ? 0x4 : 0); break;
    case YB_DEV_VVM: row.flags = (row.flags & ~0x8) | (s.vvm ? 0x8 : 0); break;
    case YB_DEV_ACCESS_PATH: row.accessPath = s.accessPath; break;
    case YB_DEV_FILER_CLIENT_ID: row.filerClientId = s.filerClientId; break;
    }
}

TYPED_TEST(UpdateMaskTest, EachMaskBitAloneWritesExactlyItsColumn)
{
    const int32_t fields = TypeParam::number == 3 ? 0x1FF : 0x3FF;
    // Mask 0 stands for every field the version knows.
    for (int32_t mask = 1; mask <= fields * 2; mask <<= 1) {
        const int32_t applied = mask > fields ? fields : mask;
        SCOPED_TRACE(testing::Message() << "mask 0x" << std::hex << applied);
        const int32_t id = this->store(8, "plain-" + std::to_string(mask), 0xA, "/dev/os");
        const DeviceRow before = this->Device(id);
        DeviceValues values;
        values.id = id;
        values.clientId = 9;
        values.volumeId = 21;
        values.name = "renamed-" + std::to_string(mask);
        values.caseSensitive = true;
        values.osName = "/dev/new";
        values.configured = false;
        values.fake = true;
        values.vvm = false;
        values.mask = mask > fields ? 0 : mask;
        values.accessPath = "acc-new";
        values.filerClientId = 7;
        this->expectDone(this->template update<TypeParam>(values));

        DeviceRow expected = before;
        for (int32_t bit = 1; bit <= fields; bit <<= 1)
            if (applied & bit) ApplyBit(bit, expected, values);
        EXPECT_EQ(this->Device(id), expected);
    }
}

TYPED_TEST(UpdateMaskTest, TheOSDeviceNameBitWritesTheRecordsNameEvenAnEmptyOne)
{
    DeviceValues values;
    values.id = 1;
    values.clientId = 2;
    values.name = "Disk-A";
    values.mask = YB_DEV_OS_DEV_NAME;
    values.osName = "/dev/sdz";
    this->expectDone(this->template update<TypeParam>(values));
    EXPECT_EQ(this->Device(1).osName, "/dev/sdz");
    values.osName = "";
    this->expectDone(this->template update<TypeParam>(values));
    EXPECT_EQ(this->Device(1).osName, "");
}

template <typename V>
class UpdateTest : public DeviceMaintenanceTest {
protected:
    // A rename of a device of client 2; versions 3 and 4 name the column,
    // version 1 also writes the client and nothing else.
    Answer rename(int32_t id, const std::string& name)
    {
        DeviceValues values;
        values.id = id;
        values.clientId = 2;
        values.volumeId = 0;
        values.name = name;
        values.mask = YB_DEV_NAME;
        return this->template update<V>(values);
    }
};
using UpdateVersions = ::testing::Types<V1Update, V3Update, V4Update>;
TYPED_TEST_SUITE(UpdateTest, UpdateVersions);

TYPED_TEST(UpdateTest, ARenameKeepsTheClientsDeviceNamesUnique)
{
    // Its own name in another case, and a name another client uses.
    this->expectDone(this->rename(1, "DISK-A"));
    EXPECT_EQ(this->Device(1).name, "DISK-A");

    // Taken ignoring case by a device that is not case-sensitive.
    const auto before = this->Devices();
    this->expectFailed(this->rename(1, "DISK-B"), -12, "The device name is already in the database");
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::UpdateSNRDeviceDB()\n\tEvent: The device name is already in the "
                             "database\n\tClient ID = 2\n\tDevice Name = DISK-B\n\tDevice name is case insensitive")
                  .size(),
              1u);

    // A case-sensitive device blocks its exact name only.
    this->expectFailed(this->rename(1, "Disk-C"), -12, "The device name is already in the database");
    EXPECT_EQ(LogEntriesWith("\n\tDevice Name = Disk-C\n\tDevice name is case sensitive").size(), 1u);
    EXPECT_EQ(this->Devices(), before);
    this->expectDone(this->rename(1, "disk-c"));

    // A quote is stored as it came.
    this->expectDone(this->rename(1, "O'Neil's disk"));
    EXPECT_EQ(this->Device(1).name, "O'Neil's disk");
    this->expectFailed(this->rename(2, "o'neil's DISK"), -12, "The device name is already in the database");
}

TYPED_TEST(UpdateTest, RefusalsAndFailuresWriteNothing)
{
    const std::string unlisted = "Cannot read device information from the database";
    this->expectEachFailsWritingNothing(
        {
            {"invalid id", nullptr, 0, 0, "x", -6, "Cannot update device with invalid id"},
            {"empty name", nullptr, 0, 1, "", -2, "Device name cannot be empty"},
            {"no such device", nullptr, 0, 99, "x", -3, "Device record not found"},
            {"device unreadable", "getInfo", 5, 1, "x", -4, "Failure reading device information from DB"},
            {"names unreadable", "getList", 5, 1, "x", -4, unlisted},
            {"names listing answers 100", "getList", 100, 1, "x", -4, unlisted},
            {"name too long", nullptr, 0, 1, std::string(1024, 'n'), -18, "Device Name is too long"},
            {"row gone", "Update", 100, 1, "x", -3, "Record not found in the database"},
            {"write failed", "Update", 5, 1, "x", -4, "Could not update device name information"},
            {"no transaction", "startTran", 5, 1, "x", -7, "Could not initiated database transactions"},
            {"commit failed", "commitTran", 5, 1, "x", -4, "Could not commit database transactions"},
        },
        [this](const DeviceMaintenanceTest::FailureCase& c) { return this->rename(c.id, c.name); });
    EXPECT_EQ(LogEntriesWith("\n\tCSNRVolumeDeviceNameDB::getList() failed\n\tInput: \n\tsWhere       = ClientId = 2 "
                             "AND DeviceName = 'x'\n\tsOrderBy     = id ASC\n\tDB Err Code  = 100")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("\n\tParameters used: \n\tSNR Volume device name id: 1\n\tsUpdate = Flags = 4, "
                             "DeviceName = 'x'")
                  .size(),
              1u);
    // The transaction that never started completes without an outcome.
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::UpdateSNRDeviceHandler()\n\tMessage " +
                             std::string(ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(TypeParam::code))) +
                             " completed \n\tSending reply ")
                  .size(),
              1u);

    // The longest name the column holds.
    this->expectDone(this->rename(1, std::string(1023, 'n')));
    EXPECT_EQ(this->Device(1).name, std::string(1023, 'n'));
}

TYPED_TEST(UpdateTest, AMoveToAVolumeNoStoredVolumeHasIsRefused)
{
    // Version 1 writes the volume id whenever it is positive; versions 3 and
    // 4 when the mask names it.
    DeviceValues values;
    values.id = 1;
    values.clientId = 2;
    values.name = "Disk-A";
    values.mask = YB_DEV_VOL_ID | YB_DEV_NAME;
    values.volumeId = 99;
    const auto before = this->Devices();
    this->expectFailed(this->template update<TypeParam>(values), -3, "SNR Volume record not found");
    EXPECT_EQ(this->Devices(), before);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::UpdateSNRDeviceDB()\n\tEvent: SNR Volume record not found\n\tSNR "
                             "Volume Device Name ID = 1\n\tSNR Volume ID = 99")
                  .size(),
              1u);

    // The read of the volume fails (the device's own read is the first).
    HostDBFaults::failNext("getInfo", 5, 1);
    values.volumeId = 6;
    this->expectFailed(this->template update<TypeParam>(values), -4,
                       "Cannot access SNR Volume information from the database");
    HostDBFaults::clear();
    EXPECT_EQ(this->Devices(), before);

    // A stored volume takes the device.
    this->expectDone(this->template update<TypeParam>(values));
    EXPECT_EQ(this->Device(1).volumeId, 6);
}

// ---- Configure and unconfigure -----------------------------------------------------

template <typename V>
class ConfigureTest : public DeviceMaintenanceTest {
protected:
    Answer configureAs(int32_t id, int32_t clientId, const std::string& name, bool vvm = false)
    {
        DeviceValues values;
        values.id = id;
        values.clientId = clientId;
        values.name = name;
        values.vvm = vvm;
        return this->template configure<V>(values);
    }
    // The VVM mark a configure with vvm set gives: versions 2 and 3 only.
    static constexpr int32_t VVM = V::number == 1 ? 0 : 0x8;
};
using ConfigureVersions =
    ::testing::Types<Version<repSNRVolumeDeviceNameV2, repConfigureDeviceResp, 0x350000ff, 1>,
                     Version<repSNRVolumeDeviceNameV3, repConfigureDeviceV2Resp, 0x350001ab, 2>,
                     Version<repSNRVolumeDeviceNameV4, repConfigureDeviceV3Resp, 0x35000216, 3>>;
TYPED_TEST_SUITE(ConfigureTest, ConfigureVersions);

TYPED_TEST(ConfigureTest, ConfigureThenUnconfigureRestoresTheName)
{
    this->expectDone(this->configureAs(1, 2, "cfg-a", true));
    // The old name is kept as the OS device name; the configured mark is
    // added to the stored bits, and from version 2 on the VVM mark.
    EXPECT_EQ(this->Device(1), (DeviceRow{1, 2, 5, "cfg-a", 0x6 | this->VVM, "Disk-A", "acc-1", 3}));
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::ConfigureDeviceDB()\n\tSNR Volume device name 1 has been "
                             "configured...")
                  .size(),
              1u);

    this->expectDone(this->unconfigure(1));
    EXPECT_EQ(this->Device(1), (DeviceRow{1, 2, 5, "Disk-A", 0x4 | this->VVM, "", "acc-1", 3}));
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::UnConfigureDevice()\n\tSNR Volume device name 1 has been "
                             "deconfigured...")
                  .size(),
              1u);

    // Without a new name only the mark is written; no bit is cleared.
    this->expectDone(this->configureAs(3, 2, ""));
    EXPECT_EQ(this->Device(3), (DeviceRow{3, 2, 7, "Disk-C", 0x3, "", "", 1}));
    // Without an OS device name the unconfigure clears the mark only.
    this->expectDone(this->unconfigure(3));
    EXPECT_EQ(this->Device(3), (DeviceRow{3, 2, 7, "Disk-C", 0x1, "", "", 1}));
}

TYPED_TEST(ConfigureTest, TheNewNameMustBeFreeForTheClient)
{
    const auto before = this->Devices();
    this->expectFailed(this->configureAs(1, 2, "DISK-B"), -12, "The device name is already in the database");
    EXPECT_EQ(this->Devices(), before);
    // The device's own name in another case.
    this->expectDone(this->configureAs(4, 3, "disk-a"));
    EXPECT_EQ(this->Device(4).osName, "Disk-A");
    // A listing that answers "no rows" leaves the name free.
    HostDBFaults::failNext("getList", 100);
    this->expectDone(this->configureAs(2, 2, "cfg-b"));

    // Quotes in the new, the old and the restored name are stored as they came.
    this->expectDone(this->configureAs(2, 2, "Bob's disk"));
    this->expectDone(this->configureAs(2, 2, "cfg-'2'"));
    EXPECT_EQ(this->Device(2).osName, "Bob's disk");
    this->expectDone(this->unconfigure(2));
    EXPECT_EQ(this->Device(2).name, "Bob's disk");
}

TYPED_TEST(ConfigureTest, RefusalsAndFailuresWriteNothing)
{
    this->expectEachFailsWritingNothing(
        {
            {"invalid id", nullptr, 0, -2, "x", -6, "Cannot configure device with invalid id"},
            {"no such device", nullptr, 0, 99, "x", -3, "Device record not found"},
            {"device unreadable", "getInfo", 5, 1, "x", -4, "DB failure reading device information"},
            {"names unreadable", "getList", 5, 1, "x", -4, "Cannot read device information from the database"},
            {"name too long", nullptr, 0, 1, std::string(1024, 'n'), -18, "Device Name is too long"},
            {"row gone", "Update", 100, 1, "x", -3, "Record not found in the database"},
            {"write failed", "Update", 5, 1, "x", -4, "Could not update device name information"},
            {"no transaction", "startTran", 5, 1, "x", -7, "Could not initiated database transactions"},
        },
        [this](const DeviceMaintenanceTest::FailureCase& c) { return this->configureAs(c.id, 2, c.name); });
    EXPECT_EQ(LogEntriesWith("\n\tsUpdate = Flags = 6, DeviceName = 'x', OSDeviceName = 'Disk-A'\n\tTran = 0x")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::ConfigureDeviceHandler()\n\tMessage").size(), 8u);
}

TEST_F(DeviceMaintenanceTest, AnUnconfigureWhoseRestoredNameIsTakenIsRefused)
{
    // The OS device name is another device's name.
    const int32_t other = store(2, "cfg-x", 0x2, "DISK-B");
    // The OS device name is the device's own name: its own row counts.
    const int32_t self = store(2, "Same", 0x2, "SAME");
    const auto before = Devices();
    expectFailed(unconfigure(other), -12, "The device name is already in the database");
    expectFailed(unconfigure(self), -12, "The device name is already in the database");
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::UnConfigureDevice()\n\tEvent: The device name is already in the "
                             "database\n\tClient ID = 2\n\tDevice Name = SAME\n\tDevice name is case insensitive")
                  .size(),
              1u);
    EXPECT_EQ(Devices(), before);
}

TEST_F(DeviceMaintenanceTest, UnconfigureRefusalsAndFailuresWriteNothing)
{
    const int32_t configured = store(2, "cfg-y", 0x2, "plain-y");
    expectEachFailsWritingNothing(
        {
            {"invalid id", nullptr, 0, 0, "", -6, "Cannot deconfigure device with invalid id"},
            {"no such device", nullptr, 0, 99, "", -3, "Device record not found"},
            {"device unreadable", "getInfo", 5, configured, "", -4, "DB failure reading device information"},
            {"names unreadable", "getList", 5, configured, "", -4, "Cannot read device information from the database"},
            {"row gone", "Update", 100, configured, "", -3, "Record not found in the database"},
            {"write failed", "Update", 5, configured, "", -4, "Could not update device name information"},
            {"no transaction", "startTran", 5, configured, "", -7, "Could not initiated database transactions"},
            {"commit failed", "commitTran", 5, configured, "", -4, "Could not commit database transactions"},
        },
        [this](const FailureCase& c) { return unconfigure(c.id); });
    // The case writes no outcome when its transaction did not start.
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_UnconfigureDevice_REQ completed \n\tSending reply "
                             "REPLICA_PM_UnconfiguredDevice_RESP to client...")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_UnconfigureDevice_REQ completed unsuccessfully").size(), 7u);

    // A listing that answers "no rows" leaves the name free.
    HostDBFaults::failNext("getList", 100);
    expectDone(unconfigure(configured));
    EXPECT_EQ(Device(configured).name, "plain-y");
}

// ---- The caller's transaction ------------------------------------------------------

// A caller's transaction on a connection of its own (begun on another
// thread), holding rows it has not committed: only reads through it see them.
class HeldTransaction {
public:
    HeldTransaction()
    {
        std::thread([this]() {
            m_tran.reset(new DBtran(false));
            m_started = m_tran->startTran() == 0;
        }).join();
    }
    ~HeldTransaction() { m_tran->rollbackTran(); }
    bool started() const { return m_started; }
    DBtran* get() { return m_tran.get(); }

private:
    std::unique_ptr<DBtran> m_tran;
    bool m_started = false;
};

TEST_F(DeviceMaintenanceTest, EveryReadRunsInTheCallersTransaction)
{
    const int32_t configured = store(2, "cfg-z", 0x2, "HELD-NAME");
    HeldTransaction tran;
    ASSERT_TRUE(tran.started());
    const int32_t held = store(2, "held-name", 0, "", tran.get());
    ASSERT_EQ(Device(held), DeviceRow{});  // not committed

    UpdateSNRDeviceV4Args_t update;
    update.id = 1;
    update.ClientId = 2;
    update.DeviceName = "Held-Name";
    update.UpdateMap = YB_DEV_NAME;
    UpdateSNRDeviceV4Ret_t updateRet;
    EXPECT_FALSE(mgr.UpdateSNRDevice(update, updateRet, tran.get()));
    EXPECT_EQ(updateRet.errCode, -12);

    ConfigureDeviceV3Args_t configure;
    configure.id = 1;
    configure.ClientId = 2;
    configure.DeviceName = "held-NAME";
    ConfigureDeviceV3Ret_t configureRet;
    EXPECT_FALSE(mgr.ConfigureDevice(configure, configureRet, tran.get()));
    EXPECT_EQ(configureRet.errCode, -12);

    UnconfigureDeviceArgs_t unconfigure;
    unconfigure.DeviceId = configured;
    UnconfigureDeviceRet_t unconfigureRet;
    EXPECT_FALSE(mgr.UnconfigureDevice(unconfigure, unconfigureRet, tran.get()));
    EXPECT_EQ(unconfigureRet.errCode, -12);

    // The uncommitted device itself is read and written through it.
    update.id = held;
    update.DeviceName = "held-renamed";
    EXPECT_TRUE(mgr.UpdateSNRDevice(update, updateRet, tran.get()));
    configure.id = held;
    configure.DeviceName = "held-configured";
    EXPECT_TRUE(mgr.ConfigureDevice(configure, configureRet, tran.get()));
    unconfigure.DeviceId = held;
    EXPECT_TRUE(mgr.UnconfigureDevice(unconfigure, unconfigureRet, tran.get()));
    EXPECT_TRUE(answers.empty());  // direct calls send nothing
}

}  // namespace
