#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "host/db/DBtable.h"
#include "host/db/HostDBFaults.h"
#include "replicas/RetentionPruning.h"
#include "scratch/MembershipFixture.h"
#include "snr/VolumeReservation.h"
#include "support/TestHost.h"
#include "support/WriterTurn.h"

namespace {

// Pool 1 holds SNR volumes 10, 11 and 12 (scratch volumes 60, 61, 62);
// volume 13 belongs to no pool.
class ReservationTest : public MembershipTest {
protected:
    void SetUp() override
    {
        MembershipTest::SetUp();
        pool(1);
        for (int id : {10, 11, 12, 13}) volume(id);
        exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (60, 10, 1), "
             "(61, 11, 1), (62, 12, 1); UPDATE YBScratchPool SET TotalVolumes = 3, AvailableVolumes = 3");
    }

    MemberAnswer allocate(std::vector<int32_t> ids, unsigned long code = 0x350000bb)
    {
        repAllocateSNRVolReq req;
        req.count = static_cast<uint32_t>(ids.size());
        req.ids = ids.data();
        return send(code, &req, sizeof(repAllocateSNRVolResp), &membership_test::Decode<repAllocateSNRVolResp>);
    }
    MemberAnswer deallocate(std::vector<int32_t> ids) { return allocate(std::move(ids), 0x350000bd); }

    long long flags(int id) { return scalar("SELECT Flags FROM YBPhysicalVolume WHERE id = " + std::to_string(id)); }
    long long stamp(int id)
    {
        return scalar("SELECT LockedByJobId FROM YBScratchVolume WHERE PhysicalVolumeId = " + std::to_string(id));
    }
    // One retention pass through post; its reset of stale reservations ends it.
    MemberAnswer retentionPass()
    {
        repPruneReplicaVolumeReq req{5000};
        return send(0x35000081, &req, sizeof(repPruneReplicaVolumeResp), [](const void* data) {
            MemberAnswer a;
            a.status = static_cast<const repPruneReplicaVolumeResp*>(data)->status;
            return a;
        });
    }
    UnlockVolumesByJobIdRet_t unlock(int64_t jobId)
    {
        UnlockVolumesByJobIdArgs_t args;
        args.jobId = jobId;
        UnlockVolumesByJobIdRet_t ret;
        InTransaction([&](DBtran* tran) { return mgr.UnlockVolumesByJobId(args, ret, tran); });
        return ret;
    }
};

TEST_F(ReservationTest, ReserveAndUnreserveSetTheBitAndKeepThePoolCounter)
{
    ExpectSuccess(reserve({10, 11}));
    EXPECT_EQ(flags(10), 2);
    EXPECT_EQ(flags(11), 2);
    EXPECT_EQ(counters(1), Counters(3, 1));
    ExpectSuccess(unreserve({11, 10}));
    EXPECT_EQ(flags(10), 0);
    EXPECT_EQ(counters(1), Counters(3, 3));

    // Other bits stay as they are.
    exec("UPDATE YBPhysicalVolume SET Flags = 0x29 WHERE id = 12");
    ExpectSuccess(reserve({12}));
    EXPECT_EQ(flags(12), 0x2b);
    ExpectSuccess(unreserve({12}));
    EXPECT_EQ(flags(12), 0x29);

    // Empty lists: the reservation writes nothing at all, the others a warning.
    EvDebug::clearEntries();
    ExpectSuccess(reserve({}));
    EXPECT_TRUE(LogEntriesWith("ReserveSNRVolumes()").empty());
    ExpectSuccess(unreserve({}));
    EXPECT_EQ(LogEntriesWith("\tWarning: Unreserve list is empty").size(), 1u);
}

// A request that fails at some id changes none of the volumes it lists.
TEST_F(ReservationTest, AListFailingAtOneIdChangesNothing)
{
    const std::string before = dump();
    ExpectFailure(reserve({10, 10}), "A volume is already reserved");
    ExpectFailure(reserve({10, 0}), "Cannot reserve volume with an invalid Volume id");
    ExpectFailure(reserve({10, 99}), "Record Not Found");
    ExpectFailure(reserve({10, 13}), "Could not find scratch volume information in the database");
    ExpectFailure(reserveV2({10, 13}, 0), "Could not find scratch volume information in the database", -16);
    ExpectFailure(reserveV2({10, 99}, 0), "Record Not Found", -3);
    ExpectFailure(reserveV2({10, -4}, 0), "Cannot reserve volume with an invalid Volume id", -6);
    ExpectFailure(unreserve({10}), "A volume is not reserved");
    ExpectFailure(unreserve({-1}), "Cannot unreserve volume(s) with an invalid volume id(s)");
    ExpectFailure(unreserve({99}), "A volume record was not found in the database");
    EXPECT_EQ(dump(), before);

    // A full pool refuses one more reservation.
    exec("UPDATE YBScratchPool SET AvailableVolumes = 0");
    ExpectFailure(reserveV2({10}, 0), "Internal Error: Invalid value for scratch volume pool available counter", -14);
    EXPECT_EQ(flags(10), 0);
}

// A V2 reservation stamps the job on the scratch volumes; the same job may
// reserve its volumes again, another job may not.
TEST_F(ReservationTest, AJobIdIsStampedAndAJobFindsItsOwnVolumesAgain)
{
    ExpectSuccess(reserveV2({10, 11, 10}, 77));
    EXPECT_EQ(stamp(10), 77);
    EXPECT_EQ(stamp(11), 77);
    EXPECT_EQ(counters(1), Counters(3, 1));
    // Restarted: nothing written, the counter as it was.
    ExpectSuccess(reserveV2({10, 11}, 77));
    EXPECT_EQ(counters(1), Counters(3, 1));

    const std::string before = dump();
    ExpectFailure(reserveV2({12, 10}, 78), "A volume is already reserved", -11);
    EXPECT_EQ(dump(), before);  // 10 keeps job 77's stamp
    ExpectFailure(reserveV2({13}, 78), "Scratch volume Record not found", -3);
    exec("INSERT INTO YBScratchVolume (id, PhysicalVolumeId, RVScratchVolumePoolId) VALUES (63, 13, 1), (64, 13, 1)");
    ExpectFailure(reserveV2({13}, 78), "Multiple scratch volume found using the same physical volume", -13);
    EXPECT_EQ(dump(), DumpTable(m_path, "YBScratchPool") + DumpTable(m_path, "YBScratchVolume") +
                          DumpTable(m_path, "YBPhysicalVolume") + DumpTable(m_path, "YBVolSnapParams"));

    // Unreserving leaves the stamp.
    ExpectSuccess(unreserve({10}));
    EXPECT_EQ(stamp(10), 77);
}

TEST_F(ReservationTest, AVolumeUnderAReplicationVolumeStaysReserved)
{
    ExpectSuccess(reserve({10}));
    exec("INSERT INTO YBVolume (id, PhysicalVolumeId, RVScratchVolumeId) VALUES (70, 10, 60)");
    ExpectFailure(unreserve({10}), "Volume cannot be unreserved if there are YB Volumes associated with it");
    EXPECT_EQ(flags(10), 2);

    // The reset of stale reservations leaves it and releases the others,
    // outside any transaction: those released before a failure stay so, and
    // the volume whose release failed keeps its reservation.
    ExpectSuccess(reserve({11}));
    exec("UPDATE YBPhysicalVolume SET Flags = 2 WHERE id = 13");  // no scratch volume: its counter fails
    EXPECT_FALSE(mgr.ResetSNRVolLockFlag());
    EXPECT_EQ(LogEntriesWith("\tCould not unlock SNR Volumes").size(), 1u);
    EXPECT_EQ(flags(11), 0);
    EXPECT_EQ(flags(10), 2);
    EXPECT_EQ(flags(13), 2);
    EXPECT_EQ(counters(1), Counters(3, 2));
    EXPECT_FALSE(mgr.ResetSNRVolLockFlag());
    EXPECT_EQ(flags(10), 2);
    EXPECT_EQ(flags(13), 2);
    EXPECT_EQ(counters(1), Counters(3, 2));
}

// The reset of stale reservations runs while reservations and releases of
// other volumes come and go through post on other threads, each thread with
// a manager of its own, all on the real waits: no one waits for a lock until
// it gives up, the writers' turn is free at the end, and the pool counter
// equals a fresh count of its rows.
TEST_F(ReservationTest, TheResetRunsBesideReservationsWithoutWaitingForALock)
{
    const int kRounds = 30;
    std::atomic<int> unanswered{0};
    auto reserveAndRelease = [&](int32_t volume) {
        RecordingNetwork host;
        ReplicationMgr own(&host.session);
        for (int round = 0; round < kRounds; ++round) {
            for (unsigned long code : {0x35000067ul, 0x3500007dul}) {
                std::vector<int32_t> ids{volume};
                repReserveSNRVolReq reserveReq{1, ids.data()};
                repUnreserveSNRVolReq releaseReq;
                releaseReq.count = 1;
                releaseReq.ids = ids.data();
                zxsDatabuf buf;
                buf.m_pData = code == 0x35000067ul ? static_cast<void*>(&reserveReq) : static_cast<void*>(&releaseReq);
                const size_t before = host.replies.size();
                if (own.post(code, 0, &buf) != 1 || host.replies.size() != before + 1) ++unanswered;
            }
        }
    };
    auto reset = [&] {
        RecordingNetwork host;
        ReplicationMgr own(&host.session);
        for (int round = 0; round < kRounds; ++round) own.ResetSNRVolLockFlag();
    };
    std::vector<std::thread> threads;
    threads.emplace_back(reserveAndRelease, 10);
    threads.emplace_back(reserveAndRelease, 11);
    threads.emplace_back(reset);
    threads.emplace_back(reset);
    for (std::thread& t : threads) t.join();

    EXPECT_EQ(unanswered.load(), 0);
    EXPECT_TRUE(LogEntriesWith("Cannot have exclusive access").empty());
    EXPECT_TRUE(LogEntriesWith("No turn to write").empty());
    EXPECT_EQ(counters(1), fresh(1));
    EXPECT_TRUE(WriterTurnFree(m_path));
}

// A retention pass releases the stale reservations one volume at a time. A
// volume whose release fails at any database call of the pass is rolled back
// whole, its flag with its pool's counter: the counters always equal a fresh
// count of the pool's rows, and the next pass releases what was left.
TEST_F(ReservationTest, AStaleReservationWhoseReleaseFailsStaysReservedWithItsCounter)
{
    auto pass = [&] { return retentionPass(); };
    const char* const kinds[] = {"startTran", "commitTran",   "addObject",   "fetch",  "getList", "getInfo",
                                 "getNRows",  "insert",       "Update",      "remove", "writeLongText",
                                 "readLongText"};
    int failedReleases = 0;
    for (const char* kind : kinds) {
        for (int skip = 0;; ++skip) {
            SCOPED_TRACE(std::string(kind) + " #" + std::to_string(skip + 1));
            ASSERT_LT(skip, 400) << "the pass does not end";
            // Volumes 10 and 11 reserved by jobs long gone.
            exec("UPDATE YBPhysicalVolume SET Flags = 2 WHERE id IN (10, 11); "
                 "UPDATE YBScratchPool SET AvailableVolumes = 1");
            EvDebug::clearEntries();
            HostDBFaults::failNext(kind, 5, skip);
            pass();
            const bool reached = !HostDBFaults::pending(kind);
            HostDBFaults::clear();
            if (!LogEntriesWith("\tCould not unlock SNR Volumes").empty()) ++failedReleases;
            EXPECT_EQ(counters(1), fresh(1));

            EXPECT_EQ(pass().status, 1);
            EXPECT_EQ(flags(10), 0);
            EXPECT_EQ(flags(11), 0);
            EXPECT_EQ(counters(1), Counters(3, 3));
            if (!reached) break;
        }
    }
    // The faults did reach the releases, not only the reads around them.
    EXPECT_GT(failedReleases, 4);
}

// A reserved volume that no pool counts fails its release in every pass; the
// stale reservations behind it are released all the same, and the failure is
// logged with the volume's id.
TEST_F(ReservationTest, AReleaseThatFailsDoesNotHoldUpTheVolumesAfterIt)
{
    volume(5);
    exec("UPDATE YBPhysicalVolume SET Flags = 2 WHERE id IN (5, 10, 11); UPDATE YBScratchPool SET AvailableVolumes = 1");
    EXPECT_EQ(retentionPass().status, 1);
    EXPECT_EQ(flags(5), 2);
    EXPECT_EQ(flags(10), 0);
    EXPECT_EQ(flags(11), 0);
    EXPECT_EQ(counters(1), Counters(3, 3));
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::ResetSNRVolLockFlag()\n\tCould not unlock SNR Volumes\n\tSNR Volume Id = 5")
                  .size(),
              1u);
    EXPECT_EQ(LogEntriesWith("\tCould not unlock SNR Volumes").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tEvent: Errors found during SNR Volume lock flag reset process").size(), 1u);
}

// A volume whose release cannot even begin its transaction (another writer
// holds the catalogue) stops the reset there: the volumes after it are not
// tried, each of which would wait for the catalogue in turn, and stay
// reserved for the next pass with their pool's counter.
TEST_F(ReservationTest, AReleaseThatCannotBeginStopsTheReset)
{
    exec("UPDATE YBPhysicalVolume SET Flags = 2 WHERE id IN (10, 11, 12); UPDATE YBScratchPool SET AvailableVolumes = 0");
    HostDBFaults::failNext("startTran", 5);
    EXPECT_EQ(retentionPass().status, 1);
    EXPECT_FALSE(HostDBFaults::pending("startTran"));
    HostDBFaults::clear();
    EXPECT_EQ(flags(10), 2);
    EXPECT_EQ(flags(11), 2);
    EXPECT_EQ(flags(12), 2);
    EXPECT_EQ(counters(1), Counters(3, 0));
    EXPECT_EQ(LogEntriesWith("ReplicationMgr::ResetSNRVolLockFlag()\n\tEvent: Could not initiated database transactions"
                             "\n\tSNR Volume Id = 10")
                  .size(),
              1u);
    EXPECT_TRUE(LogEntriesWith("\tCould not unlock SNR Volumes").empty());
    EXPECT_EQ(LogEntriesWith("\tEvent: Errors found during SNR Volume lock flag reset process").size(), 1u);

    EXPECT_EQ(retentionPass().status, 1);
    EXPECT_EQ(flags(10) | flags(11) | flags(12), 0);
    EXPECT_EQ(counters(1), Counters(3, 3));
}

// Allocation toggles 0x8 only; a snap-vault secondary is skipped; the
// refusal of a volume that is not allocated carries -11.
TEST_F(ReservationTest, AllocationTogglesItsBitAndSkipsSnapVaultSecondaries)
{
    exec("UPDATE YBPhysicalVolume SET UniqueIdType = 12 WHERE id = 11");
    ExpectSuccess(allocate({10, 11, 12}));
    EXPECT_EQ(flags(10), 8);
    EXPECT_EQ(flags(11), 0);
    EXPECT_EQ(flags(12), 8);
    EXPECT_EQ(counters(1), Counters(3, 3));
    const std::string allocated = dump();
    ExpectFailure(allocate({13, 10}), "An SNR Volume is already allocated", -11);
    ExpectFailure(deallocate({10, 11}), "A SNR Volume is not allocated", -11);
    ExpectFailure(allocate({13, 0}), "Cannot reserve SNR Volume with an invalid SNR Volume id", -6);
    ExpectFailure(deallocate({10, 0}), "Cannot deallocate SNR Volumes with an invalid SNR Volume id(s)", -6);
    ExpectFailure(allocate({13, 98}), "SNR Volume Record not found", -3);
    ExpectFailure(deallocate({10, 98}), "SNR Volume record not found", -3);
    EXPECT_EQ(dump(), allocated);
    ExpectSuccess(deallocate({10, 12}));
    EXPECT_EQ(flags(10), 0);
    EXPECT_EQ(flags(12), 0);
    EvDebug::clearEntries();
    ExpectSuccess(allocate({}));
    ExpectSuccess(deallocate({}));
    EXPECT_EQ(LogEntriesWith("\tWarning: Allocate list is empty").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tWarning: Deallocate list is empty").size(), 1u);
}

// The release by job finds the stamp of a job id of 2^31 and more (its low
// 32 bits, as stamped); a job id that stamps nothing is refused.
TEST_F(ReservationTest, TheVolumesOfAJobAreReleasedByItsJobId)
{
    const int64_t job = (int64_t{1} << 31) + 5;
    ExpectSuccess(reserveV2({10, 12}, job));
    EXPECT_EQ(stamp(10), static_cast<int32_t>(static_cast<uint32_t>(job)));
    EXPECT_EQ(counters(1), Counters(3, 1));
    const int64_t big = (int64_t{7} << 32) + 9;
    ExpectSuccess(reserveV2({11}, big));
    EXPECT_EQ(stamp(11), 9);

    UnlockVolumesByJobIdRet_t r = unlock(job);
    EXPECT_EQ(r.errMsg, "");
    EXPECT_EQ(flags(10), 0);
    EXPECT_EQ(flags(12), 0);
    EXPECT_EQ(stamp(10), 0);
    EXPECT_EQ(stamp(12), 0);
    EXPECT_EQ(flags(11), 2);
    EXPECT_EQ(counters(1), Counters(3, 2));
    EXPECT_EQ(unlock(big).errMsg, "");
    EXPECT_EQ(counters(1), Counters(3, 3));

    EXPECT_EQ(unlock(job).errMsg, "");  // holds nothing any more
    for (int64_t none : {int64_t{0}, int64_t{1} << 32}) {
        r = unlock(none);
        EXPECT_EQ(r.errCode, -6);
        EXPECT_EQ(r.errMsg, "Volume(s) cannot be unlocked with an invalid job id");
    }
    // A stamped volume that was released already fails the release.
    ExpectSuccess(reserveV2({10}, 31));
    ExpectSuccess(unreserve({10}));
    r = unlock(31);
    EXPECT_EQ(r.errCode, -16);
    EXPECT_EQ(r.errMsg, "A volume is not reserved");
    EXPECT_EQ(stamp(10), 31);
}

// A list request that counts ids but carries none is answered as a request
// without its data; one database failure at each step changes nothing.
TEST_F(ReservationTest, MalformedRequestsAndDatabaseFailures)
{
    repReserveSNRVolV2Req req{2, nullptr, 5};
    ExpectFailure(send(0x350001b1, &req, sizeof(repReserveSNRVolV2Resp),
                       &membership_test::Decode<repReserveSNRVolV2Resp>),
                  "Invalid request: no request data", -2);
    repAllocateSNRVolReq list{3, nullptr};
    ExpectFailure(send(0x350000bb, &list, sizeof(repAllocateSNRVolResp), &membership_test::Decode<repAllocateSNRVolResp>),
                  "Invalid request: no request data", -2);
    ExpectFailure(send(0x3500007d, &list, sizeof(repUnreserveSNRVolResp),
                       &membership_test::Decode<repUnreserveSNRVolResp>),
                  "Invalid request: no request data");

    ExpectSuccess(reserveV2({11}, 4));
    const std::string before = dump();
    struct Step {
        const char* call;
        int skip;
        std::function<MemberAnswer()> request;
        std::string text;
        int code;
    };
    const std::vector<Step> steps = {
        {"getInfo", 0, [&] { return reserveV2({10}, 0); }, "Cannot access volume information from the database", -4},
        {"getList", 0, [&] { return reserveV2({10}, 3); }, "Cannot access volume information from the database", -4},
        {"Update", 0, [&] { return reserveV2({10}, 3); },
         "Scratch volume information could not be update into the database", -4},
        {"Update", 1, [&] { return reserveV2({10}, 3); }, "Could not update volume information from database", -4},
        {"Update", 2, [&] { return reserveV2({10}, 3); },
         "Could not update scratch volume pool information from database", -4},
        {"getList", 0, [&] { return unreserve({11}); }, "Cannot access volume information from the database", 0},
        {"Update", 0, [&] { return unreserve({11}); }, "Could not update volume information from database", 0},
        {"Update", 0, [&] { return allocate({10}); }, "Could not update SNR volume information from database", -4},
        {"getInfo", 0, [&] { return deallocate({10}); }, "Cannot access SNR Volume information from the database", -4},
    };
    for (const Step& step : steps) {
        HostDBFaults::failNext(step.call, 1, step.skip);
        ExpectFailure(step.request(), step.text, step.code);
        HostDBFaults::clear();
        EXPECT_EQ(dump(), before) << step.call << " " << step.skip;
    }
    HostDBFaults::failNext("startTran", 1);
    ExpectFailure(reserveV2({10}, 0), "Could not initiated database transactions", -7);
    HostDBFaults::failNext("Update", 1);
    UnlockVolumesByJobIdRet_t r = unlock(4);
    EXPECT_EQ(r.errCode, -4);
    EXPECT_EQ(r.errMsg, "Could clear Job id value for the scratch volume record");
    EXPECT_EQ(dump(), before);
}

}  // namespace
