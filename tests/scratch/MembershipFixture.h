// Scratch pools with SNR volumes to put into them, the membership and
// reservation requests through post, the pool counter as the reservation
// calls it (in a transaction of its own), and the counters as stored and as
// a fresh count of a pool's rows gives them.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host/db/DBtable.h"
#include "policies/PolicyTestSupport.h"
#include "scratch/ScratchMembership.h"
#include "service/CasePatterns.h"
#include "snr/VolumeReservation.h"

struct MemberAnswer {
    unsigned long code = 0;
    size_t size = 0;
    int64_t status = 99;
    int32_t errCode = 0;  // 0 for replies that carry none
    std::string msg;
    uint32_t scratchVolumeId = 0;
};

namespace membership_test {

template <typename Reply>
MemberAnswer Decode(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    MemberAnswer a;
    a.status = r->status;
    a.msg = ReplyText(r->errMsg);
    if constexpr (cases::HasErrCode<Reply>::value) a.errCode = r->errCode;
    if constexpr (std::is_same<Reply, repAddRVScratchVolumeResponse>::value) a.scratchVolumeId = r->scratchVolumeId;
    return a;
}

}  // namespace membership_test

using Counters = std::pair<int, int>;  // (TotalVolumes, AvailableVolumes)

class MembershipTest : public PolicyPostTest<MemberAnswer> {
protected:
    // An SNR volume of the type seen by the client (none for client 0)
    // under device id 1000 + id.
    void volume(int id, int type = 1, int client = 7)
    {
        exec("INSERT INTO YBPhysicalVolume (id, UniqueId, Type) VALUES (" + std::to_string(id) + ", 'uid-" +
             std::to_string(id) + "', " + std::to_string(type) + ")");
        if (client != 0)
            exec("INSERT INTO YBPhysicalDevice (id, ClientId, SNRVolumeId, DeviceName) VALUES (" +
                 std::to_string(1000 + id) + ", " + std::to_string(client) + ", " + std::to_string(id) + ", '/dev/v" +
                 std::to_string(id) + "')");
    }
    // An empty pool.
    void pool(int id, int type = 1, int engine = 0)
    {
        exec("INSERT INTO YBScratchPool (id, name, TotalVolumes, AvailableVolumes, SnapEngineInfoId, Type) VALUES (" +
             std::to_string(id) + ", 'pool-" + std::to_string(id) + "', 0, 0, " + std::to_string(engine) + ", " +
             std::to_string(type) + ")");
    }

    MemberAnswer add(int poolId, int volumeId)
    {
        repAddRVScratchVolumeReq req{static_cast<uint32_t>(poolId), static_cast<uint32_t>(volumeId)};
        return send(0x35000015, &req, sizeof(repAddRVScratchVolumeResponse),
                    &membership_test::Decode<repAddRVScratchVolumeResponse>);
    }
    MemberAnswer remove(int scratchVolumeId)
    {
        repRemoveRVScratchVolumeReq req{static_cast<uint32_t>(scratchVolumeId)};
        return send(0x35000017, &req, sizeof(repRemoveRVScratchVolumeResponse),
                    &membership_test::Decode<repRemoveRVScratchVolumeResponse>);
    }
    MemberAnswer reserve(std::vector<int32_t> ids)
    {
        repReserveSNRVolReq req{static_cast<uint32_t>(ids.size()), ids.data()};
        return send(0x35000067, &req, sizeof(repReserveSNRVolResp), &membership_test::Decode<repReserveSNRVolResp>);
    }
    MemberAnswer reserveV2(std::vector<int32_t> ids, int64_t jobId)
    {
        repReserveSNRVolV2Req req{static_cast<uint32_t>(ids.size()), ids.data(), jobId};
        return send(0x350001b1, &req, sizeof(repReserveSNRVolV2Resp), &membership_test::Decode<repReserveSNRVolV2Resp>);
    }
    MemberAnswer unreserve(std::vector<int32_t> ids)
    {
        repUnreserveSNRVolReq req;
        req.count = static_cast<uint32_t>(ids.size());
        req.ids = ids.data();
        return send(0x3500007d, &req, sizeof(repUnreserveSNRVolResp),
                    &membership_test::Decode<repUnreserveSNRVolResp>);
    }

    // The counter changed as a reservation changes it: in a transaction
    // that commits on success and rolls back otherwise.
    UpdateAvailVolPoolCounterRet_t counter(int volumeId, int operation)
    {
        UpdateAvailVolPoolCounterArgs_t args;
        args.SNRVolumeId = volumeId;
        args.operation = operation;
        UpdateAvailVolPoolCounterRet_t ret;
        InTransaction([&](DBtran* tran) { return mgr.UpdateAvailVolPoolCounter(args, ret, tran); });
        return ret;
    }
    // Runs a direct call in a transaction that commits on success and rolls
    // back otherwise.
    template <typename Call>
    void InTransaction(Call&& call)
    {
        DBtran tran;
        EXPECT_EQ(tran.startTran(), 0);
        if (call(&tran))
            EXPECT_EQ(tran.commitTran(), 0);
        else
            tran.rollbackTran();
    }

    Counters counters(int poolId)
    {
        const std::string where = " FROM YBScratchPool WHERE id = " + std::to_string(poolId);
        return {static_cast<int>(scalar("SELECT TotalVolumes" + where)),
                static_cast<int>(scalar("SELECT AvailableVolumes" + where))};
    }
    // The pool's members, and those whose SNR volume is not reserved.
    Counters fresh(int poolId)
    {
        const std::string members = " FROM YBScratchVolume S JOIN YBPhysicalVolume V ON V.id = S.PhysicalVolumeId"
                                    " WHERE S.RVScratchVolumePoolId = " +
                                    std::to_string(poolId);
        return {static_cast<int>(scalar("SELECT COUNT(*)" + members)),
                static_cast<int>(scalar("SELECT COUNT(*)" + members + " AND (V.Flags & 2) = 0"))};
    }
    // The scratch volume of an SNR volume; -1 when none.
    int scratchOf(int volumeId)
    {
        return static_cast<int>(scalar("SELECT id FROM YBScratchVolume WHERE PhysicalVolumeId = " + std::to_string(volumeId)));
    }
    // Every table these requests write.
    std::string dump()
    {
        return DumpTable(m_path, "YBScratchPool") + DumpTable(m_path, "YBScratchVolume") +
               DumpTable(m_path, "YBPhysicalVolume") + DumpTable(m_path, "YBVolSnapParams");
    }

    static void ExpectSuccess(const MemberAnswer& a)
    {
        EXPECT_EQ(a.status, 1);
        EXPECT_EQ(a.msg, "(null)");
        EXPECT_EQ(a.errCode, 0);
    }
    static void ExpectFailure(const MemberAnswer& a, const std::string& text, int code = 0)
    {
        EXPECT_EQ(a.status, 0);
        EXPECT_EQ(a.msg, text);
        EXPECT_EQ(a.errCode, code);
        EXPECT_EQ(a.scratchVolumeId, 0u);
    }
};
