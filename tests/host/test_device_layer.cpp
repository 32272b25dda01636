#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "host/HostJournal.h"
#include "host/ZXMMDBDeviceInfo.h"

namespace {

class DeviceLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZXMMDBDeviceInfo::reset();
        HostJournals::keep(true);
    }
    void TearDown() override { ZXMMDBDeviceInfo::reset(); }

    static std::string lastError(const ZXMMDBDeviceInfo& info) {
        char buffer[2048];
        std::memset(buffer, 'x', sizeof buffer);
        info.getLastError(buffer, sizeof buffer);
        return buffer;
    }
};

TEST_F(DeviceLayerTest, ControllersStayActiveAcrossObjectsUntilDeactivated) {
    EXPECT_EQ(ZXMMDBDeviceInfo().activateControllerBySNRVolId(5, nullptr), 0);
    EXPECT_EQ(ZXMMDBDeviceInfo().activateControllerBySNRVolId(6, nullptr), 0);
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(5));
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(6));
    EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(7));

    EXPECT_EQ(ZXMMDBDeviceInfo().deactivateControllerBySNRVolId(5, nullptr), 0);
    EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(5));
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(6));

    bool inUse = true;
    EXPECT_EQ(ZXMMDBDeviceInfo().isSNRVolumeBeingUsed(6, inUse), 0);
    EXPECT_FALSE(inUse);
    EXPECT_EQ(ZXMMDBDeviceInfo().isSNRPartitionBeingUsed(40, inUse), 0);

    std::vector<std::string> expected{"activate 5", "activate 6", "deactivate 5", "volumeInUse 6",
                                      "partitionInUse 40"};
    EXPECT_EQ(ZXMMDBDeviceInfo::journal(), expected);

    ZXMMDBDeviceInfo::reset();
    EXPECT_TRUE(ZXMMDBDeviceInfo::journal().empty());
    EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(6));
}

TEST_F(DeviceLayerTest, InvalidDeviceIdsAreRefusedWithAText) {
    ZXMMDBDeviceInfo info;
    EXPECT_NE(info.activateControllerBySNRVolId(0, nullptr), 0);
    EXPECT_FALSE(lastError(info).empty());
    EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(0));
    EXPECT_NE(info.deactivateControllerBySNRVolId(-3, nullptr), 0);
    EXPECT_EQ(ZXMMDBDeviceInfo::journal(), (std::vector<std::string>{"activate 0", "deactivate -3"}));
}

TEST_F(DeviceLayerTest, ProgrammedFailuresComeInOrderOncePerCall) {
    ZXMMDBDeviceInfo::failNext("activate", 12, "Controller of device 9 is offline");
    ZXMMDBDeviceInfo::failNext("activate", 13, "Second failure");
    ZXMMDBDeviceInfo::failNext("volumeInUse", 4, "Cannot reach the client");
    ZXMMDBDeviceInfo::failNext("activate", 0, "ignored: no code");
    ZXMMDBDeviceInfo::failNext("mount", 5, "ignored: unknown call");

    ZXMMDBDeviceInfo info;
    EXPECT_EQ(info.activateControllerBySNRVolId(9, nullptr), 12);
    EXPECT_EQ(lastError(info), "Controller of device 9 is offline");
    EXPECT_FALSE(ZXMMDBDeviceInfo::isControllerActive(9));
    EXPECT_EQ(info.activateControllerBySNRVolId(9, nullptr), 13);
    EXPECT_EQ(lastError(info), "Second failure");
    EXPECT_EQ(info.activateControllerBySNRVolId(9, nullptr), 0);
    EXPECT_EQ(lastError(info), "");
    EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(9));

    // A failure of one call does not touch the others.
    EXPECT_EQ(info.deactivateControllerBySNRVolId(9, nullptr), 0);
    bool inUse = false;
    EXPECT_EQ(info.isSNRPartitionBeingUsed(9, inUse), 0);
    EXPECT_EQ(info.isSNRVolumeBeingUsed(9, inUse), 4);
    EXPECT_EQ(lastError(info), "Cannot reach the client");
    EXPECT_EQ(info.isSNRVolumeBeingUsed(9, inUse), 0);
}

TEST_F(DeviceLayerTest, DevicesAndPartitionsAreMarkedInUseSeparately) {
    ZXMMDBDeviceInfo::setInUse("volumeInUse", 3, true);
    ZXMMDBDeviceInfo::setInUse("partitionInUse", 8, true);
    ZXMMDBDeviceInfo::setInUse("activate", 4, true);  // not an in-use check

    ZXMMDBDeviceInfo info;
    bool inUse = false;
    ASSERT_EQ(info.isSNRVolumeBeingUsed(3, inUse), 0);
    EXPECT_TRUE(inUse);
    ASSERT_EQ(info.isSNRPartitionBeingUsed(3, inUse), 0);
    EXPECT_FALSE(inUse);
    ASSERT_EQ(info.isSNRPartitionBeingUsed(8, inUse), 0);
    EXPECT_TRUE(inUse);
    ASSERT_EQ(info.isSNRVolumeBeingUsed(8, inUse), 0);
    EXPECT_FALSE(inUse);
    ASSERT_EQ(info.isSNRVolumeBeingUsed(4, inUse), 0);
    EXPECT_FALSE(inUse);

    ZXMMDBDeviceInfo::setInUse("volumeInUse", 3, false);
    ASSERT_EQ(info.isSNRVolumeBeingUsed(3, inUse), 0);
    EXPECT_FALSE(inUse);
}

TEST_F(DeviceLayerTest, LastErrorIsCutToTheBufferAndTerminated) {
    ZXMMDBDeviceInfo::failNext("deactivate", 2, "abcdefghij");
    ZXMMDBDeviceInfo info;
    ASSERT_EQ(info.deactivateControllerBySNRVolId(1, nullptr), 2);
    char small[5];
    std::memset(small, 'x', sizeof small);
    info.getLastError(small, sizeof small);
    EXPECT_STREQ(small, "abcd");
    char untouched[2] = {'y', 'y'};
    info.getLastError(untouched, 0);
    info.getLastError(nullptr, 10);
    EXPECT_EQ(untouched[0], 'y');
}

TEST_F(DeviceLayerTest, CallsFromSeveralThreadsAreAllKept) {
    const int perThread = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, perThread]() {
            for (int i = 1; i <= perThread; ++i) {
                ZXMMDBDeviceInfo info;
                info.activateControllerBySNRVolId(t * 1000 + i, nullptr);
            }
        });
    }
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(ZXMMDBDeviceInfo::journal().size(), 4u * perThread);
    for (int t = 0; t < 4; ++t)
        for (int i = 1; i <= perThread; ++i) EXPECT_TRUE(ZXMMDBDeviceInfo::isControllerActive(t * 1000 + i));
}

}  // namespace
