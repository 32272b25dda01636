// Reserve and unreserve through post: only bit 0x1 moves, a list reserves
// all its volumes or none; and whether a destination snapshot may go.
#include <gtest/gtest.h>

#include "replicas/ReplicaPostFixture.h"
#include "replicas/ReplicaReservation.h"

namespace {

class ReplicaReservationTest : public ReplicaPostTest {
protected:
    void SetUp() override
    {
        ReplicaPostTest::SetUp();
        exec(InsertReplica({600, 1, 1, 1, 0, 1, 20, 50, 8, 0, 6, 7, 0, 0, "", ""}));
        exec(InsertReplica({601, 1, 1, 1, 0, 1, 20, 50, 8, 0, 1, 7, 0, 0, "", ""}));
        exec(InsertReplica({602, 1, 1, 1, 0, 2, 20, 50, 8, 0, 0, 7, 0, 0, "", ""}));
    }
    ReplicaAnswer reserve(std::vector<int32_t> ids, unsigned long code = 0x3500007b)
    {
        repReserveReplicaVolReq req{static_cast<uint32_t>(ids.size()), ids.empty() ? nullptr : ids.data()};
        return ask<repReserveReplicaVolResp>(code, req);
    }
    long long flags(int id) { return scalar("SELECT Flags FROM YBVolume WHERE id = " + std::to_string(id)); }
};

TEST_F(ReplicaReservationTest, OnlyTheReservationBitMovesAndAListIsAllOrNothing)
{
    expectSuccess(reserve({600}));
    EXPECT_EQ(flags(600), 7);
    expectSuccess(reserve({600}, 0x3500007f));
    EXPECT_EQ(flags(600), 6);

    expectFailure(reserve({600, 601}), 0, "A YB Volume is already reserved");
    EXPECT_EQ(flags(600), 6);
    expectFailure(reserve({602}, 0x3500007f), 0, "A YB Volume is not in used");
    expectFailure(reserve({0}), 0, "Cannot reserve YB Volume with an invalid YB Volume id");
    expectFailure(reserve({999}), 0, "A YB Volume record was not found in the database");

    // An empty list, and a count with a null list, change nothing.
    expectSuccess(reserve({}));
    repReserveReplicaVolReq nullList{3, nullptr};
    expectSuccess(ask<repReserveReplicaVolResp>(0x3500007b, nullList));
    HostDBFaults::failNext("Update", 5);
    expectFailure(reserve({600}), 0, "Could not update YB volume information from database");
    EXPECT_EQ(flags(600), 6);
}

TEST_F(ReplicaReservationTest, OnlyTheOldestDestinationSnapshotMayGo)
{
    exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Type) VALUES (40, 'uid-40', 1)");
    exec(InsertReplica({610, 1, 100, 1, 0, 5, 20, 50, 8, 0, 0, 7, 40, 5, "", ""}));
    exec(InsertReplica({611, 1, 200, 1, 0, 5, 20, 50, 8, 0, 0, 7, 40, 5, "", ""}));
    CanDeleteYBSnapshotArgs_t args;
    CanDeleteYBSnapshotRet_t ret;
    args.id = 602;
    EXPECT_TRUE(mgr.CanDeleteYBSnapshot(args, ret, nullptr));
    EXPECT_TRUE(ret.canDelete);
    args.id = 611;
    EXPECT_TRUE(mgr.CanDeleteYBSnapshot(args, ret, nullptr));
    EXPECT_FALSE(ret.canDelete);
    args.id = 610;
    EXPECT_TRUE(mgr.CanDeleteYBSnapshot(args, ret, nullptr));
    EXPECT_TRUE(ret.canDelete);
    args.id = 0;
    EXPECT_FALSE(mgr.CanDeleteYBSnapshot(args, ret, nullptr));
    EXPECT_EQ(ret.errCode, -6);
}

}  // namespace
