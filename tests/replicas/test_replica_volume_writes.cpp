// The replication volume add and update through post in each message
// version, the update's mask bits one at a time through the direct call,
// refusals, failures at each database step, and two updates of one volume
// at once.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "replicas/ReplicaPostFixture.h"
#include "replicas/ReplicaVolumeAdd.h"
#include "replicas/ReplicaVolumeQueries.h"
#include "replicas/ReplicaVolumeUpdate.h"
#include "support/BlockingCall.h"
#include "support/NamedMutexes.h"

namespace {

template <int Level, typename RecordT, typename AddReqT, typename AddRespT, typename UpdateReqT,
          typename UpdateRespT, typename QueryRespT, typename ListRespT, unsigned long Add, unsigned long Update,
          unsigned long Query, unsigned long List, int32_t Mask>
struct RepVersion {
    static constexpr int level = Level;  // 1, 2 (42), 3, 4, 5
    using Record = RecordT;
    using AddReq = AddReqT;
    using AddResp = AddRespT;
    using UpdateReq = UpdateReqT;
    using UpdateResp = UpdateRespT;
    using QueryResp = QueryRespT;
    using ListResp = ListRespT;
    static constexpr unsigned long add = Add, update = Update, query = Query, list = List;
    static constexpr int32_t mask = Mask;
    // The code a refusal carries in this version's replies.
    static int code(int c) { return Level >= 3 ? c : 0; }
};

using RepV1 = RepVersion<1, ReplicationVolumeRecord_t, repAddReplicationVolumeReq, repAddReplicationVolumeResp,
                         repUpdateReplicationVolumeReq, repUpdateReplicationVolumeResp,
                         repQueryReplicationVolumeByIdResp, repGetReplicationVolumeListResp, 0x35000047, 0x35000053,
                         0x35000049, 0x35000055, 0x3ff>;
using Rep42 = RepVersion<2, ReplicationVolumeRecord42_t, repAddReplicationVolume42Req, repAddReplicationVolume42Resp,
                         repUpdateReplicationVolume42Req, repUpdateReplicationVolume42Resp,
                         repQueryReplicationVol42ByIdResp, repGetReplicationVolumeList42Resp, 0x35000085, 0x35000093,
                         0x35000089, 0x35000091, 0x1fff>;
using RepV3 = RepVersion<3, ReplicationVolumeV3Record_t, repAddReplicationVolumeV3Req, repAddReplicationVolumeV3Resp,
                         repUpdateReplicationVolumeV3Req, repUpdateReplicationVolumeV3Resp,
                         repQueryReplicationVolV3ByIdResp, repGetReplicationVolumeListV3Resp, 0x350000db, 0x350000e5,
                         0x350000df, 0x350000e3, 0x1ffff>;
using RepV4 = RepVersion<4, ReplicationVolumeV4Record_t, repAddReplicationVolumeV4Req, repAddReplicationVolumeV4Resp,
                         repUpdateReplicationVolumeV4Req, repUpdateReplicationVolumeV4Resp,
                         repQueryReplicationVolV4ByIdResp, repGetReplicationVolumeListV4Resp, 0x3500018b, 0x35000195,
                         0x3500018f, 0x35000193, 0x3ffff>;
using RepV5 = RepVersion<5, ReplicationVolumeV5Record_t, repAddReplicationVolumeV5Req, repAddReplicationVolumeV5Resp,
                         repUpdateReplicationVolumeV5Req, repUpdateReplicationVolumeV5Resp,
                         repQueryReplicationVolV5ByIdResp, repGetReplicationVolumeListV5Resp, 0x350001b7, 0x350001bb,
                         0x350001b9, 0x350001bd, 0x7ffff>;

// The volume added: every field set, JobId above 32 bits.
ReplicationVolumeV5Record_t RecordA()
{
    ReplicationVolumeV5Record_t r;
    r.PointInTime = 101;
    r.CreationTime = 102;
    r.ModifyTime = 103;
    r.CurrentState = 104;
    r.CurrentRole = 1;
    r.PrimaryVolumeId = 20;
    r.PhysicalVolumeId = 21;
    r.ReplicationPolicyId = 22;
    r.RVScratchVolumeId = 0;
    r.DoNotPrune = true;
    r.JobId = (int64_t(1) << 32) + 5;
    r.IsSnapActive = true;
    r.SnapVolumeId = 23;
    r.ShadowSnap = true;
    r.SnapEngineType = 3;
    r.SnapvaultReplicaDir = "dir'a";
    r.SourceGUID = "guid-a";
    return r;
}

// The same volume changed in every field.
ReplicationVolumeV5Record_t RecordB(int id)
{
    ReplicationVolumeV5Record_t r;
    r.id = id;
    r.PointInTime = 201;
    r.CreationTime = 202;
    r.ModifyTime = 203;
    r.CurrentState = 204;
    r.CurrentRole = 2;
    r.PrimaryVolumeId = 30;
    r.PhysicalVolumeId = 31;
    r.ReplicationPolicyId = 32;
    r.RVScratchVolumeId = 33;
    r.DoNotPrune = true;
    r.JobId = 6;
    r.ActivateSnap = true;
    r.SnapVolumeId = 34;
    r.MorvaneVolume = true;
    r.SnapEngineType = 4;
    r.SnapvaultReplicaDir = "dir-b";
    r.SourceGUID = "guid-b";
    return r;
}

// The row of RecordA as the version stores it: what the version does not
// carry stays zero.
Replica StoredA(int id, int level)
{
    Replica r{id, 101, 102, 103, 104, 1, 20, 21, 22, 0, 0x1, 0, 0, 0, "", ""};
    if (level >= 2) {
        r.jobId = 5;  // the low 32 bits
        r.flags |= 0x2;
    }
    if (level >= 3) {
        r.snapVolumeId = 23;
        r.flags |= 0x10;
    }
    if (level >= 4) r.engineType = 3;
    if (level >= 5) {
        r.dir = "dir'a";
        r.guid = "guid-a";
    }
    return r;
}

// Before the update the row holds Flags 0x26 and columns no version-1
// update writes.
const char kBeforeUpdate[] =
    "UPDATE YBVolume SET Flags = 38, JobId = 55, SnapVolumeId = 56, SnapEngineType = 57, "
    "SnapvaultReplicaDir = 'keep', SourceGUID = 'guid-keep'";

// The row after RecordB's update in the version: the version's columns from
// the record, its flag bits merged into the stored 0x26, the rest kept.
Replica StoredB(int id, int level)
{
    Replica r{id, 201, 202, 203, 204, 2, 30, 31, 32, 33, 0x27, 55, 56, 57, "keep", "guid-keep"};
    if (level >= 2) {
        r.jobId = 6;
        r.flags = 0x25;  // 0x1 and 0x4 set, 0x2 cleared
    }
    if (level >= 3) {
        r.snapVolumeId = 34;
        r.flags = 0x0d;  // and 0x8 set, 0x10 and 0x20 cleared
    }
    if (level >= 4) r.engineType = 4;
    if (level >= 5) r.dir = "dir-b";  // SourceGUID is never written
    return r;
}

template <typename V>
class ReplicaWriteTest : public ReplicaPostTest {
protected:
    using Record = typename V::Record;

    ReplicaAnswer add(const ReplicationVolumeV5Record_t& full, int subclientId = 0)
    {
        Record record = full;
        typename V::AddReq req;
        YBSet(req.ReplicationVolume, record);
        if constexpr (V::level == 5) req.subclientId = subclientId;
        (void)subclientId;
        return ask<typename V::AddResp>(V::add, req);
    }
    // The wire record's UpdateMap is set, and never read.
    ReplicaAnswer update(const ReplicationVolumeV5Record_t& full)
    {
        Record record = full;
        typename V::UpdateReq req;
        YBSet(req.ReplicationVolume, record);
        if constexpr (V::level >= 4) req.ReplicationVolume.UpdateMap = YB_VOL_POINT_IN_TIME;
        return ask<typename V::UpdateResp>(V::update, req);
    }
    ReplicaAnswer query(int id) { return ask<typename V::QueryResp>(V::query, repQueryReplicationVolumeByIdReq{id}); }
    ReplicaAnswer list() { return askWithout<typename V::ListResp>(V::list); }

    // The answer's record read as the version's own.
    static const Record& AsVersion(const ReplicationVolumeV5Record_t& r) { return r; }
};

using RepVersions = ::testing::Types<RepV1, Rep42, RepV3, RepV4, RepV5>;
TYPED_TEST_SUITE(ReplicaWriteTest, RepVersions);

TYPED_TEST(ReplicaWriteTest, AddedVolumeIsReadUpdatedWithTheVersionsWholeMaskAndListed)
{
    using V = TypeParam;
    const ReplicaAnswer added = this->add(RecordA(), 40);
    this->expectSuccess(added);
    ASSERT_GT(added.id, 0);
    const int id = added.id;
    ASSERT_EQ(this->stored().size(), 1u);
    ExpectRow(this->stored()[0], StoredA(id, V::level));
    // Only version 5 links the volume to the request's subclient.
    EXPECT_EQ(this->scalar("SELECT COUNT(*) FROM YBSubclientYBVolumes WHERE Scid = 40 AND YBVolumeId = " +
                           std::to_string(id)),
              V::level == 5 ? 1 : 0);

    const ReplicaAnswer read = this->query(id);
    this->expectSuccess(read);
    ASSERT_EQ(read.volumes.size(), 1u);
    ExpectReplica(this->AsVersion(read.volumes[0]), StoredA(id, V::level));

    this->exec(kBeforeUpdate);
    EvDebug::clearEntries();
    this->expectSuccess(this->update(RecordB(id)));
    ExpectRow(this->stored()[0], StoredB(id, V::level));
    EXPECT_EQ(LogEntriesWith("\tYB Volume " + std::to_string(id) + " has been updated... (UpdateMap = " +
                             std::to_string(V::mask) + ")")
                  .size(),
              1u);

    const ReplicaAnswer listed = this->list();
    this->expectSuccess(listed);
    ASSERT_EQ(listed.count, 1u);
    ASSERT_EQ(listed.volumes.size(), 1u);
    ExpectReplica(this->AsVersion(listed.volumes[0]), StoredB(id, V::level));
}

TYPED_TEST(ReplicaWriteTest, RecordsTheRowCannotHoldAreRefusedByAddAndUpdateAlike)
{
    using V = TypeParam;
    const std::string primary = "Field YB Volume Primary Volume Id is not valid";
    this->expectFailure(this->add(ReplicationVolumeV5Record_t()), V::code(-6), primary);
    EXPECT_TRUE(this->stored().empty());

    const ReplicaAnswer added = this->add(RecordA());
    ASSERT_EQ(added.status, 1u);
    EXPECT_EQ(this->scalar("SELECT COUNT(*) FROM YBSubclientYBVolumes"), 0);  // subclient 0: no link
    const std::string before = this->dump();

    ReplicationVolumeV5Record_t bad = RecordB(added.id);
    bad.PrimaryVolumeId = -1;
    this->expectFailure(this->update(bad), V::code(-6), primary);
    EXPECT_EQ(this->dump(), before);

    if constexpr (V::level >= 3) {
        const std::string snap = "Field YB Volume Snap Volume Id is not valid";
        ReplicationVolumeV5Record_t noSnap = RecordA();
        noSnap.SnapVolumeId = -1;
        this->expectFailure(this->add(noSnap), -6, snap);
        noSnap.id = added.id;
        this->expectFailure(this->update(noSnap), -6, snap);
        EXPECT_EQ(this->dump(), before);
    }
    if constexpr (V::level == 5) {
        const std::string dir = "Field YB Volume Snapvault Replica directory is not valid";
        ReplicationVolumeV5Record_t longDir = RecordB(added.id);
        longDir.SnapvaultReplicaDir = std::string(1024, 'd');
        this->expectFailure(this->add(longDir), -18, dir);
        this->expectFailure(this->update(longDir), -18, dir);
        EXPECT_EQ(this->dump(), before);

        // A GUID is refused where it would be stored; an update never writes one.
        ReplicationVolumeV5Record_t longGuid = RecordB(added.id);
        longGuid.SourceGUID = std::string(256, 'g');
        this->expectFailure(this->add(longGuid), -18, "Field YB Volume Source GUID is not valid");
        longGuid.SnapvaultReplicaDir = std::string(1023, 'd');
        this->expectSuccess(this->update(longGuid));
        ASSERT_EQ(this->stored().size(), 1u);
        EXPECT_EQ(std::string(this->stored()[0].SnapvaultReplicaDir), longGuid.SnapvaultReplicaDir);
        EXPECT_EQ(std::string(this->stored()[0].SourceGUID), "guid-a");
    }
}

TYPED_TEST(ReplicaWriteTest, AFailureAtEachStepAnswersItsTextAndChangesNothing)
{
    using V = TypeParam;
    const ReplicaAnswer added = this->add(RecordA(), 41);
    ASSERT_EQ(added.status, 1u);
    const std::string before = this->dump();
    const std::string insertFailed = "Cannot include new YB Volume into the database";

    HostDBFaults::failNext("startTran", 5);
    this->expectFailure(this->add(RecordA()), V::code(-7), DBTranErrorMsg);
    HostDBFaults::failNext("insert", 5);
    this->expectFailure(this->add(RecordA()), V::code(-4), insertFailed);
    if constexpr (V::level == 5) {
        HostDBFaults::failNext("insert", 5, 1);  // the subclient link
        this->expectFailure(this->add(RecordA(), 41), -4, insertFailed);
    }
    EXPECT_EQ(this->dump(), before);

    const ReplicationVolumeV5Record_t change = RecordB(added.id);
    HostDBFaults::failNext("startTran", 5);
    this->expectFailure(this->update(change), V::code(-7), DBTranErrorMsg);
    HostDBFaults::failNext("getInfo", 5);
    this->expectFailure(this->update(change), V::code(-4), "Could not access YB volume information to the database");
    HostDBFaults::failNext("Update", 5);
    this->expectFailure(this->update(change), V::code(-4), "Could not update YB volume information to the database");
    HostDBFaults::failNext("Update", DB_NO_MORE_ROWS);
    this->expectFailure(this->update(change), V::code(-3), "Record not found");
    this->expectFailure(this->update(RecordB(0)), V::code(-3), "YB Volume not found");
    EXPECT_EQ(this->dump(), before);
    // Every path after the lock gave it back.
    EXPECT_TRUE(NamedMutexIsFree("YB Volume"));

    {
        LockHeldElsewhere held("YB Volume");
        this->expectFailure(this->update(change), V::code(-8), "Cannot have exclusive access to YB Volume");
        // A negative id is refused before the lock is asked for.
        this->expectFailure(this->update(RecordB(-1)), V::code(-6),
                            "Cannot update YB volume information with invalid values");
    }
    EXPECT_EQ(this->dump(), before);
    this->expectSuccess(this->update(change));
}

using ReplicaUpdateTest = ReplicaPostTest;

// Each bit of the mask alone, through the direct call: the whole row is as
// before but for the one column (or Flags bit) the bit selects; Flags always
// stands first in the clause, and SourceGUID is never written.
TEST_F(ReplicaUpdateTest, EachMaskBitAloneWritesOnlyItsColumn)
{
    const Replica before{7, 11, 12, 13, 14, 1, 15, 16, 17, 18, 0x2a, 19, 20, 21, "dir-old", "guid-old"};
    // RecordB with the opposite of each stored flag bit.
    ReplicationVolumeV5Record_t change = RecordB(7);
    change.DoNotPrune = true;
    change.IsSnapActive = false;
    change.ActivateSnap = true;
    change.MorvaneVolume = false;
    change.ShadowSnap = true;
    change.TransportableSnap = false;
    change.SnapvaultReplicaDir = "it's new";

    struct Expected {
        int32_t bit;
        void (*apply)(Replica&);
    };
    const Expected expected[] = {
        {YB_VOL_POINT_IN_TIME, [](Replica& r) { r.pointInTime = 201; }},
        {YB_VOL_CREATION_TIME, [](Replica& r) { r.creationTime = 202; }},
        {YB_VOL_MODIFY_TIME, [](Replica& r) { r.modifyTime = 203; }},
        {YB_VOL_CURRENT_STATE, [](Replica& r) { r.state = 204; }},
        {YB_VOL_CURRENT_ROLE, [](Replica& r) { r.role = 2; }},
        {YB_VOL_PRIMARY_VOL_ID, [](Replica& r) { r.primary = 30; }},
        {YB_VOL_PHYSICAL_VOL_ID, [](Replica& r) { r.physical = 31; }},
        {YB_VOL_YB_POLICY_ID, [](Replica& r) { r.policy = 32; }},
        {YB_VOL_SCRATCH_VOL_ID, [](Replica& r) { r.scratchVolumeId = 33; }},
        {YB_VOL_DO_NOT_PRUNE, [](Replica& r) { r.flags |= 0x1; }},
        {YB_VOL_JOB_ID, [](Replica& r) { r.jobId = 6; }},
        {YB_VOL_IS_SNAP_ACTIVE, [](Replica& r) { r.flags &= ~0x2; }},
        {YB_VOL_ACTIVATE_SNAP, [](Replica& r) { r.flags |= 0x4; }},
        {YB_VOL_SNAP_VOL_ID, [](Replica& r) { r.snapVolumeId = 34; }},
        {YB_VOL_MORVANE_VOL, [](Replica& r) { r.flags &= ~0x8; }},
        {YB_VOL_SHADOW_SNAP, [](Replica& r) { r.flags |= 0x10; }},
        {YB_VOL_TRANSPORTABLE_SNAP, [](Replica& r) { r.flags &= ~0x20; }},
        {YB_VOL_SNAP_ENGINE_TYPE, [](Replica& r) { r.engineType = 4; }},
        {YB_VOL_SNAPVAULT_DIR, [](Replica& r) { r.dir = "it's new"; }},
        {YB_VOL_SOURCE_GUID, [](Replica&) {}},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE("mask " + std::to_string(e.bit));
        exec("DELETE FROM YBVolume");
        exec(InsertReplica(before));
        UpdateReplicationVolumeV5Args_t args;
        args.record = change;
        args.record.UpdateMap = e.bit;
        UpdateReplicationVolumeV5Ret_t ret;
        EXPECT_TRUE(mgr.UpdateReplicationVolume(args, ret, nullptr)) << ret.errMsg;
        Replica after = before;
        e.apply(after);
        ASSERT_EQ(stored().size(), 1u);
        ExpectRow(stored()[0], after);
    }

    // A field the mask does not select cannot refuse the update.
    exec("DELETE FROM YBVolume");
    exec(InsertReplica(before));
    UpdateReplicationVolumeV5Args_t args;
    args.record.id = 7;
    args.record.PointInTime = 99;
    args.record.SnapvaultReplicaDir = std::string(2000, 'x');
    args.record.UpdateMap = YB_VOL_POINT_IN_TIME;
    UpdateReplicationVolumeV5Ret_t ret;
    EXPECT_TRUE(mgr.UpdateReplicationVolume(args, ret, nullptr)) << ret.errMsg;
    Replica after = before;
    after.pointInTime = 99;
    ExpectRow(stored()[0], after);
}

// Two updates of one volume, each reading Flags and writing it merged, while
// the volume's lock is held elsewhere: one waits for the lock in its
// transaction, the other for its turn to write. Once the lock is free both
// land, neither losing the other's bit.
TEST_F(ReplicaUpdateTest, TwoUpdatesOfOneVolumeFromTwoThreadsAreSerialisedAndBothLand)
{
    exec(InsertReplica({9, 1, 2, 3, 4, 1, 5, 6, 7, 0, 0x2, 8, 10, 0, "", ""}));
    auto setFlag = [this](int32_t bit, bool& ok) {
        ReplicationMgr own(&net.session);  // one service object per thread
        UpdateReplicationVolumeV5Args_t args;
        args.record.id = 9;
        args.record.DoNotPrune = bit == YB_VOL_DO_NOT_PRUNE;
        args.record.ShadowSnap = bit == YB_VOL_SHADOW_SNAP;
        args.record.UpdateMap = bit;
        UpdateReplicationVolumeV5Ret_t ret;
        ok = own.UpdateReplicationVolume(args, ret, nullptr);
    };
    bool firstOk = false;
    bool secondOk = false;
    auto held = std::make_unique<NamedMutexHeldElsewhere>("YB Volume");
    BlockingCall first([&] { setFlag(YB_VOL_DO_NOT_PRUNE, firstOk); });
    EXPECT_TRUE(first.blocks());
    BlockingCall second([&] { setFlag(YB_VOL_SHADOW_SNAP, secondOk); });
    EXPECT_TRUE(second.blocks());
    EXPECT_EQ(stored()[0].Flags, 0x2);
    held.reset();  // the lock is free
    first.join();
    second.join();
    EXPECT_TRUE(firstOk);
    EXPECT_TRUE(secondOk);
    EXPECT_EQ(stored()[0].Flags, 0x2 | 0x1 | 0x10);
}

}  // namespace
