#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "service/ReplicationMgr.h"
#include "snr/SNRVolumeAdd.h"
#include "support/TestHost.h"
#include "snr/SNRPostFixture.h"

namespace {

struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    int32_t status = 99;
    int32_t errCode = 99;
    bool hasMsg = false;
    std::string msg;
    int32_t volumeId = 99;
};

// The volume a request carries; texts live here while the request points at them.
struct Volume {
    std::string uniqueId = "LUN-7";
    int32_t uniqueIdType = 2;
    int32_t lun = 7;
    int64_t startLBA = 0;
    int64_t blockCount = 4096;
    int32_t blockSize = 512;
    std::string fsType = "VMFS";
    std::string snapshotId;
    bool morvaneProtected = false;
    int32_t tzState = 0;
    int32_t applianceId = 0;
    bool locked = false;
    bool allocated = false;
};

template <typename Wire>
void FillCommon(Wire& w, const Volume& v)
{
    w.UniqueId = RequestText(v.uniqueId);
    w.UniqueIdType = v.uniqueIdType;
    w.LUN = v.lun;
    w.StartLBA = static_cast<decltype(w.StartLBA)>(v.startLBA);
    w.BlockCount = static_cast<decltype(w.BlockCount)>(v.blockCount);
    w.BlockSize = v.blockSize;
    w.FSType = RequestText(v.fsType);
    w.Locked = v.locked ? 1 : 0;
}

template <typename Wire>
void FillLater(Wire& w, const Volume& v)
{
    FillCommon(w, v);
    w.UniqueSnapshotID = RequestText(v.snapshotId);
    w.Allocated = v.allocated ? 1 : 0;
}

template <typename Wire>
void FillProtected(Wire& w, const Volume& v)
{
    FillLater(w, v);
    w.MorvaneProtected = v.morvaneProtected ? 1 : 0;
    w.TzState = v.tzState;
    w.ApplianceId = v.applianceId;
}

class SNRVolumeAddTest : public SNRPostTest<Answer> {
public:
    Answer decode(const void* data, unsigned long) override
    {
        const auto* r = static_cast<const repAddSNRVolumeV3Resp*>(data);
        Answer a;
        a.status = r->status;
        a.errCode = r->errCode;  // padding, zeroed, in versions 1 and 42
        a.hasMsg = r->errMsg != nullptr;
        if (a.hasMsg) a.msg = r->errMsg;
        a.volumeId = r->volumeId;
        return a;
    }
    Answer post(unsigned long code, void* request) { return SNRPostTest::post(code, request, 24); }

    Answer addV1(const Volume& v)
    {
        repAddSNRVolumeReq req;
        FillCommon(req.SNRVolume, v);
        return post(0x35000071, &req);
    }
    Answer add42(const Volume& v)
    {
        repAddSNRVolume42Req req;
        FillLater(req.SNRVolume, v);
        return post(0x350000b3, &req);
    }
    Answer addV3(const Volume& v)
    {
        repAddSNRVolumeV3Req req;
        FillProtected(req.SNRVolume, v);
        return post(0x350000f5, &req);
    }
    Answer addV4(const Volume& v, int32_t volType = 1)
    {
        repAddSNRVolumeV4Req req;
        FillProtected(req.SNRVolume, v);
        req.SNRVolume.VolType = volType;
        return post(0x35000165, &req);
    }

    static std::vector<YBPhysicalVolume_t> Volumes() { return StoredRows<YBPhysicalVolume_t, CSNRVolumeDB>(); }

    static void expectRefused(const Answer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0);
        EXPECT_EQ(a.errCode, code);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.volumeId, 0);
    }

};

TEST_F(SNRVolumeAddTest, EachVersionAddsARowAndRefusesTheSameIdentity)
{
    Volume v;
    v.locked = true;
    v.allocated = true;
    Answer a = addV1(v);
    ASSERT_EQ(a.status, 1);
    EXPECT_FALSE(a.hasMsg);
    ASSERT_EQ(Volumes().size(), 1u);
    const YBPhysicalVolume_t row = Volumes()[0];
    EXPECT_EQ(a.volumeId, row.id);
    EXPECT_STREQ(row.UniqueId, "LUN-7");
    EXPECT_STREQ(row.FSType, "VMFS");
    EXPECT_EQ(row.Type, 1);
    EXPECT_EQ(row.Flags & (SNRVOL_FLAG_LOCKED | SNRVOL_FLAG_ALLOCATED), 0);  // never reserved nor allocated
    EXPECT_EQ(LogEntriesWith("\tNew SNR Volume ID " + std::to_string(row.id) + " was added...").size(), 1u);

    // The same five identity values in every version.
    expectRefused(add42(v), 0, "The volume is already present in the database");
    expectRefused(addV3(v), -12, "The volume is already present in the database");
    expectRefused(addV4(v), -12, "The volume is already present in the database");
    EXPECT_EQ(LogEntriesWith("\n\tOutput from CSNRVolumeDB::getNRows()\n\tsWhere = UniqueId = 'LUN-7' AND "
                             "UniqueIdType = 2 AND LUN = 7 AND StartLBA = 0 AND BlockCount = 4096"
                             "\n\tOutput from method:\n\tNRows = 1")
                  .size(),
              3u);

    // Differing in one identity column only is another volume.
    Volume otherLun = v;
    otherLun.lun = 8;
    EXPECT_EQ(add42(otherLun).status, 1);
    Volume otherStart = v;
    otherStart.startLBA = 1;
    EXPECT_EQ(addV3(otherStart).status, 1);
    Volume otherType = v;
    otherType.uniqueIdType = 3;
    Answer d = addV4(otherType, 4);
    EXPECT_EQ(d.status, 1);
    EXPECT_EQ(d.errCode, 0);
    EXPECT_EQ(Volumes().size(), 4u);
    EXPECT_EQ(Volumes()[3].Type, 4);
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::AddSNRVolumeHandler()\n\tMessage REPLICA_PM_ADD_SNR_VOLUME_V4_REQ "
                             "completed successfully")
                  .size(),
              1u);
}

TEST_F(SNRVolumeAddTest, ANegativeStartOfAVersion1VolumeIsMatchedByALaterVersion)
{
    Volume v;
    v.startLBA = -1;
    v.blockCount = -1;
    ASSERT_EQ(addV1(v).status, 1);
    EXPECT_EQ(Volumes()[0].StartLBA, -1);
    expectRefused(addV3(v), -12, "The volume is already present in the database");
    EXPECT_EQ(Volumes().size(), 1u);
}

TEST_F(SNRVolumeAddTest, InputChecksInOrder)
{
    Volume v;
    v.uniqueId.clear();
    v.applianceId = -1;
    expectRefused(addV3(v), -2, "UniqueID field cannot be empty");

    v = Volume();
    v.applianceId = -4;
    v.lun = -1;
    expectRefused(addV4(v), -6, "Volume has an invalid appliance ID");
    EXPECT_EQ(LogEntriesWith("\tEvent: Volume has an invalid appliance ID\n\tAppliance ID = -4\n").size(), 1u);

    v = Volume();
    v.lun = -1;
    v.morvaneProtected = true;
    expectRefused(addV3(v), -2, "New volume cannot be added with incorrect input");
    // The Morvane test did not run: its captured values stay false and 0.
    EXPECT_EQ(LogEntriesWith("\n\tInput used:\n\tBlockSize           = 512\n\tLUN                 = -1"
                             "\n\tMorvane Protected  = false\n\tState               = 0\n")
                  .size(),
              1u);

    v = Volume();
    v.morvaneProtected = true;
    v.tzState = 0;
    expectRefused(addV3(v), -2, "New volume cannot be added with incorrect input");
    EXPECT_EQ(LogEntriesWith("\n\tMorvane Protected  = true\n\tState               = 0\n").size(), 1u);
    v.blockSize = -1;
    v.morvaneProtected = false;
    expectRefused(addV4(v), -2, "New volume cannot be added with incorrect input");

    // Not protected with a state, and a protected one with a state, are fine.
    v = Volume();
    v.tzState = 5;
    EXPECT_EQ(addV3(v).status, 1);
    v.uniqueId = "LUN-8";
    v.morvaneProtected = true;
    EXPECT_EQ(addV4(v).status, 1);
    EXPECT_EQ(Volumes().size(), 2u);
}

TEST_F(SNRVolumeAddTest, TextsLongerThanTheirColumnsAreRefused)
{
    Volume v;
    v.uniqueId.assign(256, 'u');
    expectRefused(addV1(v), 0, "YB Physical Volume is too long");
    v.uniqueId.assign(255, 'u');
    v.fsType.assign(128, 'f');
    expectRefused(addV3(v), -18, "YB Physical Volume FS Type is too long");
    v.fsType.assign(127, 'f');
    v.snapshotId.assign(2048, 's');
    expectRefused(addV4(v), -18, "YB Physical Volume's unique snapshot id is too long");
    EXPECT_TRUE(Volumes().empty());

    v.snapshotId.assign(2047, 's');
    ASSERT_EQ(add42(v).status, 1);
    const YBPhysicalVolume_t row = Volumes()[0];
    EXPECT_EQ(std::string(row.UniqueId), v.uniqueId);
    EXPECT_EQ(std::string(row.FSType), v.fsType);
    EXPECT_EQ(std::string(row.UniqueSnapshotID), v.snapshotId);
}

TEST_F(SNRVolumeAddTest, QuoteInTheUniqueIdIsMatched)
{
    Volume v;
    v.uniqueId = "it's";
    ASSERT_EQ(addV3(v).status, 1);
    expectRefused(addV3(v), -12, "The volume is already present in the database");
}

TEST_F(SNRVolumeAddTest, HostFailuresAnswerTheirCodesAndLeaveNoRow)
{
    HostDBFaults::failNext("getNRows", 5);
    expectRefused(addV3(Volume()), -4, "Cannot access volume information");
    EXPECT_EQ(LogEntriesWith("\n\tTran            = 0x0\n\tDB Err Code     = 5").size(), 1u);

    HostDBFaults::failNext("insert", 5);
    expectRefused(addV4(Volume()), -4, "Cannot include volume information in the database");

    // The id of the volume the failed commit rolled back is not answered.
    HostDBFaults::failNext("commitTran", 5);
    expectRefused(addV3(Volume()), -4, "Could not commit database transactions");
    EXPECT_TRUE(Volumes().empty());

    HostDBFaults::failNext("startTran", 5);
    expectRefused(addV3(Volume()), -7, "Could not initiated database transactions");
    HostDBFaults::failNext("startTran", 5);
    expectRefused(addV1(Volume()), 0, "Could not initiated database transactions");
    EXPECT_EQ(LogEntriesWith("REPLICA_PM_ADD_SNR_VOLUME_REQ completed unsuccessfully").size(), 1u);
    EXPECT_TRUE(Volumes().empty());
}

}  // namespace
