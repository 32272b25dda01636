// The release of a scratch volume through post: the replication volumes on
// it with their application directories, the SNR volume's reservation, the
// pool counter and the stored files, all or nothing.
#include <gtest/gtest.h>

#include <string>

#include "replicas/ReplicaPostFixture.h"
#include "scratch/ScratchRelease.h"
#include "support/ClientFakesScope.h"

namespace {

class ScratchReleaseTest : public ReplicaPostTest {
protected:
    // Scratch volume 700 of pool 9 on SNR volume 50 (reserved by job 77),
    // used by replicas 600 and 601, each with application directories and a
    // subclient link; two stored files of volume 50, one of volume 51.
    void SetUp() override
    {
        ReplicaPostTest::SetUp();
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Flags, Type) VALUES (50, 'uid-50', 2, 1), (51, 'uid-51', 0, 1)");
        exec("INSERT INTO YBScratchPool (id, TotalVolumes, AvailableVolumes, name) VALUES (9, 3, 1, 'pool')");
        exec(InsertScratch({700, 50, 9, 0, 77}));
        exec(InsertScratch({701, 51, 9, 0, 0}));
        exec(InsertReplica({600, 1, 1, 1, 0, 1, 20, 50, 8, 700, 0, 77, 0, 0, "", ""}));
        exec(InsertReplica({601, 1, 1, 1, 0, 1, 21, 50, 8, 700, 0, 77, 0, 0, "", ""}));
        exec("INSERT INTO YBApplicationDirs (subclientId, objName, path, ReplicationVolumeId) VALUES "
             "(60, 'a', '/a', 600), (60, 'b', '/b', 601), (60, 'c', '/c', 601)");
        exec("INSERT INTO YBSubclientYBVolumes (Scid, YBVolumeId) VALUES (60, 600), (61, 601)");
        exec("INSERT INTO YBFile (VolumeId, Name, Content) VALUES (50, 'f1', 'x'), (50, 'f2', 'y'), (51, 'f3', 'z')");
    }
    ReplicaAnswer release(int scratchId)
    {
        return ask<repReleaseRVScratchVolumeResponse>(0x35000019, repReleaseRVScratchVolumeReq{scratchId});
    }
    ReplicaAnswer releaseV2(int scratchId, int ybVolumeId)
    {
        return ask<repReleaseRVScratchVolumeV2Response>(0x350001a3, repReleaseRVScratchVolumeV2Req{scratchId, ybVolumeId});
    }
    std::string everything()
    {
        return dump() + DumpTable(m_path, "YBPhysicalVolume") + DumpTable(m_path, "YBScratchPool") +
               DumpTable(m_path, "YBFile");
    }
    long long count(const std::string& table, const std::string& where)
    {
        return scalar("SELECT COUNT(*) FROM " + table + " WHERE " + where);
    }
};

TEST_F(ScratchReleaseTest, AReleasedVolumeLosesItsReplicasAndFilesAndReturnsToItsPool)
{
    expectSuccess(release(700));
    EXPECT_EQ(count("YBVolume", "RVScratchVolumeId = 700"), 0);
    EXPECT_EQ(count("YBApplicationDirs", "1 = 1"), 0);
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 50"), 0);
    EXPECT_EQ(scalar("SELECT AvailableVolumes FROM YBScratchPool WHERE id = 9"), 2);
    EXPECT_EQ(count("YBFile", "VolumeId = 50"), 0);
    EXPECT_EQ(count("YBFile", "VolumeId = 51"), 1);
    EXPECT_TRUE(mgr.m_bReportMissingFiles);
    EXPECT_EQ(LogEntriesWith("\tRV scratch volume 700 was released").size(), 1u);

    // Released again: no replicas (a warning) and not reserved any more.
    const ReplicaAnswer again = releaseV2(700, -1);
    expectFailure(again, -11, "Volume has not been previously locked");
    EXPECT_EQ(LogEntriesWith("\tEvent: No YB volume was found associated with the RV scrach volume").size(), 1u);
}

// The replication volumes that go take their subclient links along, by
// both ways of naming them; the links of other volumes stay.
TEST_F(ScratchReleaseTest, TheRemovedReplicasLoseTheirSubclientLinks)
{
    exec(InsertReplica({602, 1, 1, 1, 0, 1, 22, 51, 8, 701, 0, 0, 0, 0, "", ""}));
    exec("INSERT INTO YBSubclientYBVolumes (Scid, YBVolumeId) VALUES (62, 602)");
    expectSuccess(releaseV2(0, 601));
    EXPECT_EQ(count("YBSubclientYBVolumes", "YBVolumeId = 601"), 0);
    EXPECT_EQ(count("YBSubclientYBVolumes", "1 = 1"), 2);

    // The release of the scratch volume takes 600's.
    expectSuccess(release(700));
    EXPECT_EQ(count("YBSubclientYBVolumes", "YBVolumeId = 600"), 0);
    EXPECT_EQ(count("YBSubclientYBVolumes", "YBVolumeId = 602"), 1);
}

// A failure at any step after the first write leaves every row and every
// stored file as it was, and the missing-files flag set.
TEST_F(ScratchReleaseTest, AFailureAtAnyStepRemovesNothing)
{
    const std::string before = everything();
    int failures = 0;
    for (const char* call : {"getList", "getNRows", "remove", "getInfo", "Update", "fetch"}) {
        for (int skip = 0; skip < 6; ++skip) {
            SCOPED_TRACE(std::string(call) + " " + std::to_string(skip));
            HostDBFaults::clear();
            HostDBFaults::failNext(call, 5, skip);
            const ReplicaAnswer a = release(700);
            HostDBFaults::clear();
            if (a.status == 1) {
                // The fault fell past the release's calls: undo it for the next round.
                TearDown();
                SetUp();
                continue;
            }
            ++failures;
            EXPECT_EQ(a.status, 0u);
            EXPECT_FALSE(a.msg.empty());
            EXPECT_EQ(everything(), before);
            EXPECT_TRUE(mgr.m_bReportMissingFiles);
        }
    }
    EXPECT_GE(failures, 12);

    // The stored-file removal is the seventh removal (each replica's
    // directories, links and row come first): it fails and the files and
    // everything before stay.
    HostDBFaults::failNext("remove", 5, 6);
    const ReplicaAnswer a = ask<repReleaseRVScratchVolumeV2Response>(0x350001a3, repReleaseRVScratchVolumeV2Req{700, 0});
    EXPECT_EQ(a.status, 0u);
    EXPECT_EQ(a.msg, "Database error trying to delete a YB File");
    EXPECT_EQ(a.errCode, -4);
    EXPECT_EQ(everything(), before);
    // The second replica's links, the fifth removal.
    HostDBFaults::failNext("remove", 5, 4);
    expectFailure(releaseV2(700, 0), -4, "YB volume record cannot be removed from the DB. Check log files");
    EXPECT_EQ(everything(), before);
}

// Volume 50 also holds the snapshot 610 and is seen by alpha alone: the
// release has alpha delete the snapshots on it before the commit. A commit
// that then fails is reported naming alpha and the scratch volume, in both
// message versions, and the reply fails.
TEST_F(ScratchReleaseTest, ACommitFailingAfterTheHostDeletedIsReported)
{
    ClientFakesScope fakes;
    addAlpha();
    exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (500, 2, 50, 'dev-500')");
    exec(InsertReplica({610, 1, 1, 1, 0, 5, 20, 50, 0, 0, 0, 0, 50, 0, "", ""}));
    const std::string before = everything();
    HostDBFaults::failNext("commitTran", 5);
    expectFailure(release(700), 0, "Could not commit database transactions");
    HostDBFaults::failNext("commitTran", 5);
    expectFailure(releaseV2(700, -1), -4, "Could not commit database transactions");
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(fakes.fakes().calls("DeleteAllSnapsFromVolume").size(), 2u);
    EXPECT_EQ(LogEntriesWith("\tEvent: The release of RV scratch volume 700 was rolled back"
                             "\n\tIts host had already deleted the snapshots it held"
                             "\n\tClient ID   = 2\n\tClient Name = alpha.net\n\tVolume      = dev-500")
                  .size(),
              2u);
}

TEST_F(ScratchReleaseTest, VersionTwoRefusalsAndOneNamedVolume)
{
    const ReplicaAnswer invalid = releaseV2(0, 0);
    expectFailure(invalid, -6,
                  "Cannot release a scratch volume from the database with invalid scratch volume id or YB Volume ID");
    expectFailure(release(0), 0,
                  "Cannot release a scratch volume from the database with invalid scratch volume id or YB Volume ID");

    // One named volume alone: the SNR volume stays reserved, files stay.
    expectSuccess(releaseV2(0, 601));
    EXPECT_EQ(count("YBVolume", "1 = 1"), 1);
    EXPECT_EQ(count("YBApplicationDirs", "ReplicationVolumeId = 601"), 0);
    EXPECT_EQ(scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = 50"), 2);
    EXPECT_EQ(count("YBFile", "VolumeId = 50"), 2);
    EXPECT_EQ(LogEntriesWith("\tRV scratch volume 0 was released").size(), 1u);

    // An allocated volume is refused even when reserved.
    exec("UPDATE YBPhysicalVolume SET Flags = 10 WHERE id = 50");
    expectFailure(releaseV2(700, -1), -11, "An SNR Volume is already allocated");
    EXPECT_EQ(count("YBVolume", "id = 600"), 1);
    // A NAS volume of type 5: unreserved and counted, files left.
    exec("UPDATE YBPhysicalVolume SET Flags = 2, Type = 5 WHERE id = 50");
    expectSuccess(release(700));
    EXPECT_EQ(scalar("SELECT AvailableVolumes FROM YBScratchPool WHERE id = 9"), 2);
    EXPECT_EQ(count("YBFile", "VolumeId = 50"), 2);
}

}  // namespace
