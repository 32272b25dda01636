#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "host/db/DBtable.h"
#include "service/CasePatterns.h"
#include "service/ReplicationMgr.h"
#include "snr/DeviceQueries.h"
#include "snr/SNRPostFixture.h"
#include "support/TestHost.h"

namespace {

template <typename T, typename = void>
struct HasCode : std::false_type {};
template <typename T>
struct HasCode<T, std::void_t<decltype(std::declval<T&>().errCode)>> : std::true_type {};
template <typename T, typename = void>
struct IsList : std::false_type {};
template <typename T>
struct IsList<T, std::void_t<decltype(std::declval<T&>().devices)>> : std::true_type {};

// One device as the reply carried it, read with the conversion of its
// version into the widest record (fields a version lacks keep the record's
// defaults).
template <typename Wire>
SNRVolumeDeviceNameV4Record_t ReadDevice(const Wire& wire)
{
    SNRVolumeDeviceNameV4Record_t device;
    device.id = wire.id;
    device.ClientId = wire.ClientId;
    device.SNRVolumeId = wire.SNRVolumeId;
    device.DeviceName = wire.DeviceName ? wire.DeviceName : "(null)";
    device.IsCaseSensitive = wire.IsCaseSensitive == 1;
    if constexpr (sizeof(Wire) >= sizeof(repSNRVolumeDeviceNameV2)) {
        device.OSDeviceName = wire.OSDeviceName ? wire.OSDeviceName : "(null)";
        device.Configured = wire.Configured == 1;
        device.Fake = wire.Fake == 1;
    }
    if constexpr (sizeof(Wire) >= sizeof(repSNRVolumeDeviceNameV3)) {
        device.VVM = wire.VVM == 1;
        device.AccessPath = wire.AccessPath ? wire.AccessPath : "(null)";
    }
    if constexpr (sizeof(Wire) == sizeof(repSNRVolumeDeviceNameV4)) device.FilerClientId = wire.FilerClientId;
    return device;
}

struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    int32_t status = 99;
    int32_t errCode = 0;  // 0 for version 1, which carries none
    bool hasMsg = false;
    std::string msg;
    bool deviceZero = false;  // the embedded device is all zero bytes
    int32_t count = -1;
    bool arrayNull = true;
    std::vector<SNRVolumeDeviceNameV4Record_t> devices;
};

template <typename Reply>
Answer Decode(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    Answer a;
    a.status = r->status;
    a.hasMsg = r->errMsg != nullptr;
    if (a.hasMsg) a.msg = r->errMsg;
    if constexpr (HasCode<Reply>::value) a.errCode = r->errCode;
    if constexpr (IsList<Reply>::value) {
        a.count = r->count;
        a.arrayNull = r->devices == nullptr;
        for (int32_t i = 0; r->devices != nullptr && i < r->count; ++i) a.devices.push_back(ReadDevice(r->devices[i]));
    } else {
        static const char zeros[sizeof(r->device)] = {};
        a.deviceZero = std::memcmp(&r->device, zeros, sizeof zeros) == 0;
        a.devices.push_back(ReadDevice(r->device));
    }
    return a;
}

template <typename R, typename P, typename A, typename T, unsigned long C, int N>
struct Version {
    using Req = R;
    using Reply = P;
    using Args = A;
    using Ret = T;
    static constexpr unsigned long code = C;
    static constexpr int number = N;
};

void* NoMemory(size_t) { return nullptr; }

// Devices 10, 20 and 30 on SNR volume 5 (stored out of id order), 40 on
// volume 6; volume 7 has none.
template <typename V>
class DeviceQueryTest : public SNRPostTest<Answer> {
protected:
    Answer decode(const void* data, unsigned long) override { return Decode<typename V::Reply>(data); }

    void SetUp() override
    {
        SNRPostTest::SetUp();
        exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName, Flags, OSDeviceName, AccessPath,"
             " FilerClientId) VALUES"
             " (30, 4, 5, 'dev-30', 0, '', '', 0),"
             " (10, 2, 5, 'Dev''10', 15, '/dev/sdb', 'acc-10', 9),"
             " (20, 3, 5, '', 0, '', '', 0),"
             " (40, 5, 6, 'dev-40', 0, '', '', 0)");
    }
    void TearDown() override
    {
        AllocReplyArray = &malloc;
        SNRPostTest::TearDown();
    }

    Answer query(int32_t id)
    {
        typename V::Req req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        if constexpr (std::is_base_of<repQuerySNRDeviceByIdReq, typename V::Req>::value) {
            req.DeviceId = id;
        } else {
            req.SNRVolumeId = id;
        }
        return post(V::code, &req, sizeof(typename V::Reply));
    }

    // A failure: status 0, the text and, from version 2 on, the code.
    void expectFailure(const Answer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.errCode, V::number == 1 ? 0 : code);
    }

    // Device 10 as a reply of this version carries it.
    void expectDevice10(const SNRVolumeDeviceNameV4Record_t& d)
    {
        EXPECT_EQ(d.id, 10);
        EXPECT_EQ(d.ClientId, 2);
        EXPECT_EQ(d.SNRVolumeId, 5);
        EXPECT_EQ(d.DeviceName, "Dev'10");
        EXPECT_TRUE(d.IsCaseSensitive);
        if (V::number >= 2) {
            EXPECT_EQ(d.OSDeviceName, "/dev/sdb");
            EXPECT_TRUE(d.Configured);
            EXPECT_TRUE(d.Fake);
        }
        if (V::number >= 3) {
            EXPECT_TRUE(d.VVM);
            EXPECT_EQ(d.AccessPath, "acc-10");
        }
        if (V::number == 4) {
            EXPECT_EQ(d.FilerClientId, 9);
        }
    }
};

// ---- One device by id ------------------------------------------------------------

using ByIdVersions = ::testing::Types<
    Version<repQuerySNRDeviceByIdReq, repQuerySNRDeviceByIdResp, QuerySNRDeviceNameArgs_t, QuerySNRDeviceNameRet_t,
            0x35000069, 1>,
    Version<repQuerySNRDeviceByIdV2Req, repQuerySNRDeviceByIdV2Resp, QuerySNRDeviceNameV2Args_t,
            QuerySNRDeviceNameV2Ret_t, 0x350000fd, 2>,
    Version<repQuerySNRDeviceByIdV3Req, repQuerySNRDeviceByIdV3Resp, QuerySNRDeviceNameV3Args_t,
            QuerySNRDeviceNameV3Ret_t, 0x350001a9, 3>,
    Version<repQuerySNRDeviceByIdV4Req, repQuerySNRDeviceByIdV4Resp, QuerySNRDeviceNameV4Args_t,
            QuerySNRDeviceNameV4Ret_t, 0x3500020e, 4>>;

template <typename V>
class QuerySNRDeviceTest : public DeviceQueryTest<V> {};
TYPED_TEST_SUITE(QuerySNRDeviceTest, ByIdVersions);

TYPED_TEST(QuerySNRDeviceTest, AnswersTheDeviceWithTheFieldsOfItsVersion)
{
    Answer a = this->query(10);
    EXPECT_EQ(a.status, 1);
    EXPECT_FALSE(a.hasMsg);
    EXPECT_EQ(a.errCode, 0);
    this->expectDevice10(a.devices[0]);

    // An empty name goes out as a null text.
    a = this->query(20);
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.devices[0].DeviceName, "(null)");

    EXPECT_EQ(LogEntriesWith("ReplicationMgr::QuerySNRDeviceHandler()\n\tMessage " +
                             std::string(ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(TypeParam::code))) +
                             " completed successfully\n\tSending reply " +
                             ZXS_ReplicationMgr_PM_STRING(static_cast<unsigned int>(TypeParam::code + 1)) +
                             " to client...")
                  .size(),
              2u);
}

TYPED_TEST(QuerySNRDeviceTest, FailuresCarryTheirTextAndCodeAndNoDevice)
{
    Answer a = this->query(0);
    this->expectFailure(a, -6, "Invalid device name ID");
    EXPECT_TRUE(a.deviceZero);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::QuerySNRDeviceDB()\n\tEvent: Invalid device name ID\n\tParameters used:"
                             "\n\tSNR Volume device name Id = 0")
                  .size(),
              1u);

    a = this->query(11);
    this->expectFailure(a, -3, "Device not found");
    EXPECT_TRUE(a.deviceZero);

    HostDBFaults::failNext("getInfo", 7);
    a = this->query(10);
    this->expectFailure(a, -4, "Could not get device record from the database");
    EXPECT_TRUE(a.deviceZero);
    EXPECT_EQ(LogEntriesWith("\n\tCSNRVolumeDeviceNameDB::getInfo() failed\n\tParameters used:"
                             "\n\tSNR Volume device name id = 10\n\tDB Err Code = 7")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith(" completed unsuccessfully").size(), 3u);
}

// ---- The devices of an SNR volume --------------------------------------------------

using ByVolumeVersions = ::testing::Types<
    Version<repQuerySNRVolDevsBySNRVolIdReq, repQuerySNRVolDevsBySNRVolIdResp, QuerySNRVolDevNameBySNRVolIdArgs_t,
            QuerySNRVolDevNameBySNRVolIdRet_t, 0x35000059, 1>,
    Version<repQuerySNRVolDevsBySNRVolIdV2Req, repQuerySNRVolDevsBySNRVolIdV2Resp,
            QuerySNRVolDevNameBySNRVolIdV2Args_t, QuerySNRVolDevNameBySNRVolIdV2Ret_t, 0x350000fb, 2>,
    Version<repQuerySNRVolDevsBySNRVolIdV3Req, repQuerySNRVolDevsBySNRVolIdV3Resp,
            QuerySNRVolDevNameBySNRVolIdV3Args_t, QuerySNRVolDevNameBySNRVolIdV3Ret_t, 0x350001a7, 3>,
    Version<repQuerySNRVolDevsBySNRVolIdV4Req, repQuerySNRVolDevsBySNRVolIdV4Resp,
            QuerySNRVolDevNameBySNRVolIdV4Args_t, QuerySNRVolDevNameBySNRVolIdV4Ret_t, 0x3500020c, 4>>;

template <typename V>
class QuerySNRVolDevTest : public DeviceQueryTest<V> {};
TYPED_TEST_SUITE(QuerySNRVolDevTest, ByVolumeVersions);

TYPED_TEST(QuerySNRVolDevTest, AnswersTheVolumesDevicesInIdOrder)
{
    Answer a = this->query(5);
    EXPECT_EQ(a.status, 1);
    EXPECT_FALSE(a.hasMsg);
    ASSERT_EQ(a.count, 3);
    ASSERT_EQ(a.devices.size(), 3u);
    this->expectDevice10(a.devices[0]);
    EXPECT_EQ(a.devices[1].id, 20);
    EXPECT_EQ(a.devices[2].id, 30);
    EXPECT_EQ(a.devices[2].DeviceName, "dev-30");

    // A volume without devices: success, no array.
    a = this->query(7);
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(a.count, 0);
    EXPECT_TRUE(a.arrayNull);
}

TYPED_TEST(QuerySNRVolDevTest, FailuresCarryTheirTextAndCodeAndNoArray)
{
    Answer a = this->query(0);
    this->expectFailure(a, -6, "Invalid Volume ID");
    EXPECT_EQ(a.count, 0);
    EXPECT_TRUE(a.arrayNull);

    // The third row cannot be fetched.
    HostDBFaults::failNext("fetch", 9, 2);
    a = this->query(5);
    this->expectFailure(a, -4, "Could not get device name information from the database");
    EXPECT_EQ(a.count, 0);
    EXPECT_TRUE(a.arrayNull);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::QuerySNRVolDevDB()\n\tEvent: Could not get device name information from "
                             "the database\n\tgetNextRow(GetSNRDeviceNameBySNRVolId &) failed\n\tParameters used:"
                             "\n\tSNR Volume id = 5\n\tDB Err Code = 9")
                  .size(),
              1u);

    AllocReplyArray = &NoMemory;
    a = this->query(5);
    this->expectFailure(a, -5, "No memory available to perform operation");
    EXPECT_EQ(a.count, 0);
    EXPECT_TRUE(a.arrayNull);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::QuerySNRVolDevHandler()\n\tMessage").size(), 3u);
}

// The direct entry point other operations call: every version lists the
// same devices; a failure leaves no device behind.
TYPED_TEST(QuerySNRVolDevTest, DirectCallListsTheDevicesAndLeavesNoneOnFailure)
{
    typename TypeParam::Args args;
    args.SNRVolumeId = 5;
    typename TypeParam::Ret ret;
    ret.errMsg = "stale";
    ASSERT_TRUE(this->mgr.QuerySNRVolDev(args, ret));
    EXPECT_EQ(ret.errMsg, "");
    ASSERT_EQ(ret.devices.size(), 3u);
    EXPECT_EQ(ret.devices[0].id, 10);
    EXPECT_EQ(ret.devices[0].DeviceName, "Dev'10");
    EXPECT_EQ(ret.devices[2].id, 30);

    HostDBFaults::failNext("fetch", 9, 1);
    EXPECT_FALSE(this->mgr.QuerySNRVolDev(args, ret));
    EXPECT_TRUE(ret.devices.empty());
    EXPECT_EQ(ret.errMsg, "Could not get device name information from the database");
    EXPECT_EQ(cases::ResultCode(ret), TypeParam::number == 1 ? 0 : -4);

    args.SNRVolumeId = 6;
    ASSERT_TRUE(this->mgr.QuerySNRVolDev(args, ret));
    ASSERT_EQ(ret.devices.size(), 1u);
    EXPECT_EQ(ret.devices[0].id, 40);
    EXPECT_TRUE(this->answers.empty());  // a direct call sends nothing
}

TEST(QuerySNRVolDevArgs, Version2TakesTheVolumeIdAtConstruction)
{
    EXPECT_EQ(QuerySNRVolDevNameBySNRVolIdV2Args_t().SNRVolumeId, -1);
    EXPECT_EQ(QuerySNRVolDevNameBySNRVolIdV2Args_t(8).SNRVolumeId, 8);
}

}  // namespace
