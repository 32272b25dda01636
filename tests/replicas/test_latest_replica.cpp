// The latest replica of a primary volume through post: the permanent replica
// before any snapshot, the latest snapshot otherwise, the restriction to one
// job, the wire record of each version, and the failures (no volume, a
// database error, no memory for a text) with no text left allocated.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "replicas/LatestReplica.h"
#include "replicas/ReplicaPostFixture.h"

namespace {

struct LatestAnswer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 0;
    std::string msg;
    int32_t id = 0;
    std::string uniqueId, fsType, snapshotId;  // "(null)" for a null pointer
    int32_t uniqueIdType = 0, lun = 0, blockSize = 0;
    int64_t startLBA = 0, blockCount = 0, costCategoryId = 0;
    int32_t flags = 0;  // the flags of the record, put back into one word
    int32_t applianceId = 0, tzState = 0, volType = 0;
};

template <typename Wire>
void ReadVolume(LatestAnswer& a, const Wire& w)
{
    a.id = w.id;
    a.uniqueId = ReplyText(w.UniqueId);
    a.fsType = ReplyText(w.FSType);
    a.uniqueIdType = w.UniqueIdType;
    a.lun = w.LUN;
    a.startLBA = w.StartLBA;
    a.blockCount = w.BlockCount;
    a.blockSize = w.BlockSize;
    a.flags = w.BackupFromSnap * 0x1 + w.Locked * 0x2 + w.UsePermReplica * 0x4;
    if constexpr (!std::is_same<Wire, repSNRVolume>::value) {
        a.snapshotId = ReplyText(w.UniqueSnapshotID);
        a.flags += w.Allocated * 0x8;
    }
    if constexpr (std::is_same<Wire, repSNRVolumeV3>::value || std::is_same<Wire, repSNRVolumeV4>::value) {
        a.flags += w.MorvaneProtected * 0x10 + w.ShadowImported * 0x20;
        a.applianceId = w.ApplianceId;
        a.tzState = w.TzState;
        a.costCategoryId = w.CostCategoryId;
    }
    if constexpr (std::is_same<Wire, repSNRVolumeV4>::value) a.volType = w.VolType;
}

template <typename Reply>
LatestAnswer DecodeLatest(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    LatestAnswer a;
    a.status = r->status;
    a.msg = ReplyText(r->errMsg);
    if constexpr (cases::HasErrCode<Reply>::value) a.errCode = r->errCode;
    ReadVolume(a, r->SNRVolume);
    return a;
}

// Fails the allocation after `budget` more have been made.
int g_budget = 0;
void* Budgeted(size_t bytes) { return g_budget-- > 0 ? std::malloc(bytes) : nullptr; }

class LatestReplicaTest : public PolicyPostTest<LatestAnswer> {
protected:
    // Primary 20: permanent replica 800 on volume 40, older than its
    // snapshots 801 (on 41, the latest) and 802 (on 42). Primary 21: only a
    // permanent replica. Primary 22: snapshot 804 of job 7 on 42, the later
    // 805 of job 8 on 43.
    void SetUp() override
    {
        PolicyPostTest<LatestAnswer>::SetUp();
        exec("INSERT INTO YBPhysicalVolume VALUES "
             "(40, 'uid-40', 3, 4, 4294967301, 8589934598, 512, 63, 'ntfs', 'snap-40', 6, 2, 9, 3), "
             "(41, '', 1, 2, 10, 20, 4096, 0, '', '', 0, 0, 0, 1), "
             "(42, 'uid-42', 1, 5, 0, 500, 512, 8, 'ext4', 'snap-42', 0, 0, 0, 2), "
             "(43, 'uid-43', 1, 6, 0, 600, 512, 4, 'xfs', '', 0, 0, 0, 1)");
        const Replica volumes[] = {
            {800, 1, 1, 100, 0, 4, 20, 40, 8, 0, 0, 5, 0, 0, "", ""},
            {801, 1, 1, 900, 0, 2, 20, 41, 8, 0, 0, 5, 0, 0, "", ""},
            {802, 1, 1, 500, 0, 2, 20, 42, 8, 0, 0, 6, 0, 0, "", ""},
            {803, 1, 1, 100, 0, 4, 21, 43, 8, 0, 0, 5, 0, 0, "", ""},
            {804, 1, 1, 10, 0, 2, 22, 42, 8, 0, 0, 7, 0, 0, "", ""},
            {805, 1, 1, 20, 0, 2, 22, 43, 8, 0, 0, 8, 0, 0, "", ""},
        };
        for (const Replica& v : volumes) exec(InsertReplica(v));
    }

    // Versions 1, 42 and 3: the primary volume and the ignore flag only.
    template <typename Req, typename Reply>
    LatestAnswer before4(unsigned long code, int primary, int ignore)
    {
        Req req;
        req.PrimaryVolumeId = primary;
        req.IgnorePermReplica = ignore;
        return send(code, &req, sizeof(Reply), &DecodeLatest<Reply>);
    }
    LatestAnswer v1(int primary, int ignore)
    {
        return before4<repGetLatestSnapForSNRVolReq, repGetLatestSnapForSNRVolResp>(0x3500003d, primary, ignore);
    }
    LatestAnswer v42(int primary, int ignore)
    {
        return before4<repGetLatestSnapForSNRVol42Req, repGetLatestSnapForSNRVol42Resp>(0x350000b1, primary, ignore);
    }
    LatestAnswer v3(int primary, int ignore)
    {
        return before4<repGetLatestSnapForSNRVolV3Req, repGetLatestSnapForSNRVolV3Resp>(0x350000f3, primary, ignore);
    }
    LatestAnswer v4(int primary, int ignore, int64_t jobId)
    {
        repGetLatestSnapForSNRVolV4Req req{primary, ignore, jobId};
        return send(0x3500015d, &req, sizeof(repGetLatestSnapForSNRVolV4Resp),
                    &DecodeLatest<repGetLatestSnapForSNRVolV4Resp>);
    }

    static void expectNoVolume(const LatestAnswer& a, int code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.errCode, code);
        EXPECT_EQ(a.id, 0);
        EXPECT_EQ(a.uniqueId, "(null)");
        EXPECT_EQ(a.fsType, "(null)");
    }
};

const char NoVolume[] = "Could not get volume information from the database";
const char NoMemoryText[] = "No memory available to complete query";

TEST_F(LatestReplicaTest, ThePermanentReplicaComesBeforeAnyNewerSnapshot)
{
    const LatestAnswer a = v4(20, 0, 0);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.msg, "(null)");
    EXPECT_EQ(a.errCode, 0);
    EXPECT_EQ(a.id, 40);
    EXPECT_EQ(a.uniqueId, "uid-40");
    EXPECT_EQ(a.uniqueIdType, 3);
    EXPECT_EQ(a.lun, 4);
    EXPECT_EQ(a.startLBA, 4294967301LL);
    EXPECT_EQ(a.blockCount, 8589934598LL);
    EXPECT_EQ(a.blockSize, 512);
    EXPECT_EQ(a.flags, 63);
    EXPECT_EQ(a.fsType, "ntfs");
    EXPECT_EQ(a.snapshotId, "snap-40");
    EXPECT_EQ(a.applianceId, 6);
    EXPECT_EQ(a.tzState, 2);
    EXPECT_EQ(a.costCategoryId, 9);
    EXPECT_EQ(a.volType, 3);

    // Versions 1 and 42 carry the low halves of the 64-bit numbers.
    const LatestAnswer old = v1(20, 0);
    EXPECT_EQ(old.id, 40);
    EXPECT_EQ(old.startLBA, 5);
    EXPECT_EQ(old.blockCount, 6);
    EXPECT_EQ(old.flags, 0x7);
    EXPECT_EQ(v42(20, 0).flags, 0xf);
    EXPECT_EQ(v3(20, 0).costCategoryId, 9);
}

TEST_F(LatestReplicaTest, IgnoringPermanentReplicasGivesTheLatestSnapshotWithNullTexts)
{
    const LatestAnswer a = v3(20, 1);
    EXPECT_EQ(a.status, 1u);
    EXPECT_EQ(a.id, 41);
    // Empty columns come as null pointers, not empty texts.
    EXPECT_EQ(a.uniqueId, "(null)");
    EXPECT_EQ(a.fsType, "(null)");
    EXPECT_EQ(a.snapshotId, "(null)");
    // Any value but 0 ignores them.
    EXPECT_EQ(v42(20, 7).id, 41);
}

TEST_F(LatestReplicaTest, WithoutASnapshotToFallBackOnTheAnswerIsMinusFour)
{
    // Only a permanent replica, ignored.
    expectNoVolume(v3(21, 1), -4, NoVolume);
    // No replication volume at all: -4, not -3.
    expectNoVolume(v4(99, 0, 0), -4, NoVolume);
    expectNoVolume(v1(99, 0), 0, NoVolume);
    EXPECT_EQ(LogEntriesWith("\tEvent:            Could not get volume information from the database\n\tInput Used"
                             "\n\tPrimary Volume ID       : 21\n\tIgnore Permanent Replica: 1"
                             "\n\tDB Err Code             : 100")
                  .size(),
              1u);
    // The permanent replica alone is enough when it counts.
    EXPECT_EQ(v1(21, 0).id, 43);
}

TEST_F(LatestReplicaTest, AJobIdRestrictsByItsLowHalfOnly)
{
    EXPECT_EQ(v4(22, 0, 0).id, 43);
    EXPECT_EQ(v4(22, 0, 7).id, 42);
    EXPECT_EQ(v4(22, 0, 8).id, 43);
    EXPECT_EQ(v4(22, 0, (int64_t{5} << 32) | 7).id, 42);
    // A low half of 0 or less restricts nothing.
    EXPECT_EQ(v4(22, 0, int64_t{3} << 32).id, 43);
    EXPECT_EQ(v4(22, 0, 0xffffffffLL).id, 43);
    // A job with no snapshot of the primary volume.
    expectNoVolume(v4(22, 0, 9), -4, NoVolume);
    // The permanent replica of another job does not count.
    EXPECT_EQ(v4(20, 0, 6).id, 42);
}

TEST_F(LatestReplicaTest, ADatabaseErrorOnThePermanentReadFallsBackAndOnTheSnapshotReadFails)
{
    HostDBFaults::failNext("fetch", 5);
    EXPECT_EQ(v4(20, 0, 0).id, 41);
    // Primary 22 has no permanent replica: the second read is the snapshots'.
    HostDBFaults::failNext("fetch", 5, 1);
    expectNoVolume(v4(22, 0, 0), -4, NoVolume);
    EXPECT_EQ(LogEntriesWith("\n\tDB Err Code             : 5").size(), 1u);
    HostDBFaults::clear();
}

TEST_F(LatestReplicaTest, ATextThatCannotBeCopiedFailsWithMinusFiveAndKeepsNoText)
{
    // Each text of volume 40 in turn cannot be copied; those copied before
    // are released (the sanitizer build sees any leak).
    for (int budget = 0; budget < 3; ++budget) {
        SCOPED_TRACE(budget);
        g_budget = budget;
        AllocReplyArray = &Budgeted;
        expectNoVolume(v4(20, 0, 0), -5, NoMemoryText);
        g_budget = budget;
        expectNoVolume(v42(20, 0), 0, NoMemoryText);
        AllocReplyArray = &malloc;
    }
    g_budget = 3;
    AllocReplyArray = &Budgeted;
    EXPECT_EQ(v3(20, 0).snapshotId, "snap-40");
    AllocReplyArray = &malloc;
}

}  // namespace
