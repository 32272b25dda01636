// A catalogue with a replication set and its hosts for the tests of the FLR
// requests, the replies decoded as they are sent, the create requests of the
// three message versions built from one description, and the stored FLR rows
// in a comparable form.
#pragma once

#include <cstdint>
#include <cstring>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "flr/FLRMessages.h"
#include "host/HostConfig.h"
#include "host/db/FLRTables.h"
#include "snr/MountPointFixture.h"  // LimitedAlloc
#include "snr/SNRPostFixture.h"

// One reply as it was sent; a null text reads "(null)".
struct FLRAnswer {
    unsigned long code = 0;
    size_t size = 0;
    uint32_t status = 99;
    int32_t errCode = 99;
    bool hasMsg = false;
    std::string msg;
    int64_t id = -99;  // the point, mount point or share id of the reply
    uint32_t snapCount = 99;
    uint32_t pairCount = 99;
    uint32_t mountCount = 99;
    bool arraysNull = true;
    std::vector<std::string> snaps;   // "id:cp:name:volume:guid", version 2 adds ":type:path:aux"
    std::vector<std::string> pairs;   // "id:snapshot:pair"
    std::vector<std::string> mounts;  // "id:snapshot:path"
};

inline std::string Shown(const char* text) { return text != nullptr ? text : "(null)"; }

// A create request of any version: the point, its snapshots (by the sender's
// numbers), pairs and mount points.
struct CPRequest {
    struct Snap {
        int32_t id;
        std::string name;
        std::string volume;
        std::string guid;
        int32_t type = 2;
        std::string path;
        int32_t aux = 0;
    };
    int32_t setId = 40;
    int32_t creationTime = 1000;
    int64_t jobId = 77;
    bool autoMount = false;
    int32_t srcClientId = 0;
    int32_t type = 0;
    uint32_t flags = 0;
    std::vector<Snap> snaps;
    std::vector<std::pair<int32_t, int32_t>> pairs;       // snapshot number, pair id
    std::vector<std::pair<int32_t, std::string>> mounts;  // snapshot number, path
};

// Three snapshots, four pairs and two mount points of set 40, job 77.
inline CPRequest ThreeSnapshots()
{
    CPRequest r;
    r.snaps = {{10, "snapA", "vol-a", "{ga}", 2, "{shadow-a}", 5},
               {11, "snapB", "vol-b", "{gb}", 3, "", 0},
               {12, "snapC", "vol-c", "{gc}", 2, "{shadow-c}", 6}};
    r.pairs = {{10, 201}, {11, 202}, {12, 201}, {12, 202}};
    r.mounts = {{10, "/mnt/a"}, {12, "/mnt/c"}};
    return r;
}

// A database fault: the (skip+1)-th next call of the kind fails with code;
// the request then answers `answer` and `text`.
struct FLRFault {
    const char* what;
    const char* call;
    int code;
    int skip;
    int32_t answer;
    const char* text;
};

class FLRPostTest : public SNRPostTest<FLRAnswer> {
protected:
    void SetUp() override
    {
        SNRPostTest::SetUp();
        // Client 5 is the set's destination host (tallmark 3), client 8 owns
        // the set (tallmark 4). Set 40 has two active pairs (201 of client 8,
        // 202 of client 9) and one pair of another status.
        HostClientSeed dst;
        dst.id = 5;
        dst.name = "dst-host";
        dst.tallmarkId = 3;
        ASSERT_EQ(HostConfig::addClient(dst), 0);
        HostClientSeed owner;
        owner.id = 8;
        owner.name = "owner";
        owner.tallmarkId = 4;
        ASSERT_EQ(HostConfig::addClient(owner), 0);
        HostBackupSetSeed set;
        set.id = 40;
        set.name = "set-40";
        set.clientId = 8;
        set.appTypeId = 84;
        set.destinationHostId = 5;
        ASSERT_EQ(HostConfig::addBackupSet(set), 0);
        exec("INSERT INTO DHT_Application (id, clientId, appTypeId, backupSet, subclientName, subclientStatus) VALUES"
             " (201, 8, 84, 40, 'pair-a', 40), (202, 9, 84, 40, 'pair-b', 40), (203, 7, 84, 40, 'pair-c', 1)");
    }
    void TearDown() override
    {
        AllocReplyArray = &malloc;
        SNRPostTest::TearDown();
    }

    FLRAnswer decode(const void* data, unsigned long) override
    {
        FLRAnswer a;
        switch (m_expected) {
        case 0x350001d6: {
            const auto* r = static_cast<const repAddFLRConsistencyPointResp*>(data);
            readStatus(a, *r);
            a.id = r->CPId;
            break;
        }
        case 0x350001dc:
            readCreate(a, *static_cast<const repCreateCPResp*>(data));
            break;
        case 0x350001ff:
        case 0x3500024d:
            readCreate(a, *static_cast<const repCreateCPRespV2*>(data));
            break;
        case 0x350001e0: {
            const auto* r = static_cast<const repAddFLRSnaphsotMountPointResp*>(data);
            readStatus(a, *r);
            a.id = r->MountPointId;
            break;
        }
        case 0x350001e4: {
            const auto* r = static_cast<const repAddFLRSnapNetworkShareResp*>(data);
            readStatus(a, *r);
            a.id = r->ShareId;
            break;
        }
        default:  // 0x350001e2, 0x350001e6, 0x35000247: the same 16 bytes
            readStatus(a, *static_cast<const repUpdateFLRSnapshotResp*>(data));
        }
        return a;
    }

    // ---- Requests ----

    // Message version 1, 2 or 3 of the create request.
    FLRAnswer create(int version, const CPRequest& r)
    {
        if (version == 1) return sendCreate<repCreateCPReq, repCreateCPResp>(0x350001db, r);
        if (version == 2) return sendCreate<repCreateCPReqV2, repCreateCPRespV2>(0x350001fe, r);
        return sendCreate<repCreateCPReqV3, repCreateCPRespV2>(0x3500024c, r);
    }
    FLRAnswer addCP(int32_t setId, int32_t creationTime)
    {
        repFLRConsistencyPointRec req;
        req.id = 66;  // not read
        req.FLRSetId = setId;
        req.CreationTime = creationTime;
        req.JobId = 99;
        req.Unstable = 1;
        return send(0x350001d5, &req, sizeof(repAddFLRConsistencyPointResp));
    }
    FLRAnswer addMount(int32_t snapshotId, const std::string& path)
    {
        repAddFLRSnapMountPointReq req{7, static_cast<uint32_t>(snapshotId), RequestText(path)};
        return send(0x350001df, &req, sizeof(repAddFLRSnaphsotMountPointResp));
    }
    FLRAnswer deleteMount(int32_t id)
    {
        repDeleteFLRSnapMountPointReq req{static_cast<uint32_t>(id)};
        return send(0x350001e1, &req, sizeof(repDeleteFLRSnapshotMountPointResp));
    }
    FLRAnswer addShare(int32_t mountPointId, const std::string& name)
    {
        repAddFLRSnapNetworkShareReq req{7, static_cast<uint32_t>(mountPointId), RequestText(name)};
        return send(0x350001e3, &req, sizeof(repAddFLRSnapNetworkShareResp));
    }
    FLRAnswer deleteShare(int32_t id)
    {
        repDeleteFLRSnapNetworkShareReq req{static_cast<uint32_t>(id)};
        return send(0x350001e5, &req, sizeof(repDelFLRSnapNetworkShareResp));
    }
    // Snapshot names with their new paths.
    FLRAnswer updatePaths(const std::vector<std::pair<std::string, std::string>>& paths)
    {
        std::vector<repFLRSnapRecV2> entries(paths.size());
        for (size_t i = 0; i < paths.size(); ++i) {
            entries[i].id = static_cast<int32_t>(100 + i);
            entries[i].Name = RequestText(paths[i].first);
            entries[i].SnapshotPath = RequestText(paths[i].second);
        }
        repUpdateFLRSnapshotReq req;
        std::memset(&req, 0, sizeof req);
        req.count = static_cast<uint32_t>(entries.size());
        req.Snaps = entries.empty() ? nullptr : entries.data();
        return send(0x35000246, &req, sizeof(repUpdateFLRSnapshotResp));
    }

    // ---- The catalogue ----

    // Stores rows as they are, through the host's table classes.
    int32_t storeCP(int32_t setId, int32_t creationTime, int32_t jobId)
    {
        YBFLRConsistencyPoint_t row;
        row.FLRSetId = setId;
        row.CreationTime = creationTime;
        row.JobId = jobId;
        FLRConsistencyPointDB db;
        EXPECT_TRUE(db.insert(row, nullptr));
        return row.id;
    }
    int32_t storeSnapshot(int32_t cpId, const std::string& name, const std::string& path = "")
    {
        YBFLRSnapshot_t row;
        row.ConsistencyPointId = cpId;
        std::strncpy(row.Name, name.c_str(), sizeof row.Name - 1);
        std::strncpy(row.SnapVolumeName, "vol", sizeof row.SnapVolumeName - 1);
        std::strncpy(row.SnapshotPath, path.c_str(), sizeof row.SnapshotPath - 1);
        FLRSnapshotDB db;
        EXPECT_TRUE(db.insert(row, nullptr));
        return row.id;
    }

    // "id:set:job:flags:client:tallmark:source:type" each, in id order.
    static std::vector<std::string> CPRows()
    {
        std::vector<std::string> out;
        for (const auto& r : StoredRows<YBFLRConsistencyPoint_t, FLRConsistencyPointDB>())
            out.push_back(join({r.id, r.FLRSetId, r.JobId, r.Flags, r.ClientId, r.TallmarkId, r.SrcClientId, r.Type}));
        return out;
    }
    // "id:cp:name:volume:guid:type:path:aux" each.
    static std::vector<std::string> SnapRows()
    {
        std::vector<std::string> out;
        for (const auto& r : StoredRows<YBFLRSnapshot_t, FLRSnapshotDB>())
            out.push_back(join({r.id, r.ConsistencyPointId}) + ":" + r.Name + ":" + r.SnapVolumeName + ":" +
                          r.VolumeGUID + ":" + join({r.Type}) + ":" + r.SnapshotPath + ":" + join({r.AuxValue}));
        return out;
    }
    static std::vector<std::string> PairRows()
    {
        std::vector<std::string> out;
        for (const auto& r : StoredRows<YBFLRSnapPair_t, FLRSnapPairDB>()) out.push_back(join({r.id, r.SnapshotId, r.PairId}));
        return out;
    }
    static std::vector<std::string> MountRows()
    {
        std::vector<std::string> out;
        for (const auto& r : StoredRows<YBFLRSnapMountPoint_t, FLRSnapMountPointDB>())
            out.push_back(join({r.id, r.SnapshotId}) + ":" + r.MountPath);
        return out;
    }
    static std::vector<std::string> ShareRows()
    {
        std::vector<std::string> out;
        for (const auto& r : StoredRows<YBFLRSnapNetworkShare_t, FLRSnapNetworkShareDB>())
            out.push_back(join({r.id, r.MountPointId}) + ":" + r.NetShareName);
        return out;
    }
    // Every FLR row, for comparing before and after.
    static std::vector<std::string> AllRows()
    {
        std::vector<std::string> all;
        for (auto part : {CPRows(), SnapRows(), PairRows(), MountRows(), ShareRows()}) {
            all.push_back("--");
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    }
    // The creation times stored for the points and for the snapshots.
    static std::vector<int32_t> CreationTimes()
    {
        std::vector<int32_t> out;
        for (const auto& r : StoredRows<YBFLRConsistencyPoint_t, FLRConsistencyPointDB>()) out.push_back(r.CreationTime);
        for (const auto& r : StoredRows<YBFLRSnapshot_t, FLRSnapshotDB>()) out.push_back(r.CreationTime);
        return out;
    }

    static std::string join(std::initializer_list<long long> values)
    {
        std::string out;
        for (long long v : values) out += (out.empty() ? "" : ":") + std::to_string(v);
        return out;
    }

    // A failure: status 0 with the code and text, and no id or array.
    static void expectFailed(const FLRAnswer& a, int32_t code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0u);
        EXPECT_EQ(a.errCode, code);
        EXPECT_TRUE(a.hasMsg);
        EXPECT_EQ(a.msg, text);
        if (a.id != -99) {
            EXPECT_EQ(a.id, 0);
        }
        if (a.snapCount != 99) {
            EXPECT_EQ(a.snapCount + a.pairCount + a.mountCount, 0u);
            EXPECT_TRUE(a.arraysNull);
        }
    }
    // Arms each fault in turn before sending: each request fails with the
    // fault's answer and leaves every FLR row as it was.
    template <typename Send>
    void expectEachFault(const std::vector<FLRFault>& faults, Send send)
    {
        const std::vector<std::string> before = AllRows();
        for (const FLRFault& f : faults) {
            SCOPED_TRACE(f.what);
            HostDBFaults::clear();
            HostDBFaults::failNext(f.call, f.code, f.skip);
            expectFailed(send(), f.answer, f.text);
            EXPECT_EQ(AllRows(), before);
        }
        HostDBFaults::clear();
    }

    static void expectDone(const FLRAnswer& a)
    {
        EXPECT_EQ(a.status, 1u);
        EXPECT_EQ(a.errCode, 0);
        EXPECT_FALSE(a.hasMsg) << a.msg;
    }

private:
    FLRAnswer send(unsigned long code, void* request, size_t replySize)
    {
        m_expected = code + 1;
        return post(code, request, replySize);
    }

    template <typename Reply>
    static void readStatus(FLRAnswer& a, const Reply& r)
    {
        a.status = r.status;
        a.errCode = r.errCode;
        a.hasMsg = r.errMsg != nullptr;
        if (r.errMsg) a.msg = r.errMsg;
    }

    static std::string snapText(const repFLRSnapRec& s)
    {
        return join({s.id, s.ConsistencyPointId}) + ":" + Shown(s.Name) + ":" + Shown(s.SnapVolumeName) + ":" +
               Shown(s.VolumeGUID);
    }
    static std::string snapText(const repFLRSnapRecV2& s)
    {
        return join({s.id, s.ConsistencyPointId}) + ":" + Shown(s.Name) + ":" + Shown(s.SnapVolumeName) + ":" +
               Shown(s.VolumeGUID) + ":" + join({s.Type}) + ":" + Shown(s.SnapshotPath) + ":" + join({s.AuxValue});
    }

    template <typename Reply>
    static void readCreate(FLRAnswer& a, const Reply& r)
    {
        readStatus(a, r);
        a.id = r.CPId;
        a.snapCount = r.SnapCount;
        a.pairCount = r.PairCount;
        a.mountCount = r.MountCount;
        a.arraysNull = r.Snaps == nullptr && r.Pairs == nullptr && r.MountPoints == nullptr;
        for (uint32_t i = 0; r.Snaps && i < r.SnapCount; ++i) a.snaps.push_back(snapText(r.Snaps[i]));
        for (uint32_t i = 0; r.Pairs && i < r.PairCount; ++i)
            a.pairs.push_back(join({r.Pairs[i].id, r.Pairs[i].SnapshotId, r.Pairs[i].PairId}));
        for (uint32_t i = 0; r.MountPoints && i < r.MountCount; ++i)
            a.mounts.push_back(join({r.MountPoints[i].id, r.MountPoints[i].SnapshotId}) + ":" +
                               Shown(r.MountPoints[i].MountPath));
    }

    static void versionFields(repFLRConsistencyPointRec&, const CPRequest&) {}
    static void versionFields(repWinFLRConsistencyPointRecV2& cp, const CPRequest& r)
    {
        cp.AuxValue = 3;
        cp.Type = r.type;
    }
    static void versionFields(repWinFLRConsistencyPointRecV3& cp, const CPRequest& r)
    {
        cp.AuxValue = 3;
        cp.Type = r.type;
        cp.Flags = r.flags;
    }
    static void snapFields(repFLRSnapRec&, const CPRequest::Snap&) {}
    static void snapFields(repFLRSnapRecV2& s, const CPRequest::Snap& r)
    {
        s.Type = r.type;
        s.SnapshotPath = RequestText(r.path);
        s.AuxValue = r.aux;
    }

    template <typename Req, typename Reply>
    FLRAnswer sendCreate(unsigned long code, const CPRequest& r)
    {
        Req req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        req.CP.id = 55;  // not used
        req.CP.CreationTime = r.creationTime;
        req.CP.FLRSetId = r.setId;
        req.CP.JobId = r.jobId;
        req.CP.AutoMount = r.autoMount ? 1 : 0;
        req.CP.SrcClientId = r.srcClientId;
        versionFields(req.CP, r);

        std::vector<std::remove_pointer_t<decltype(req.Snaps)>> snaps(r.snaps.size());
        for (size_t i = 0; i < snaps.size(); ++i) {
            snaps[i].id = r.snaps[i].id;
            snaps[i].ConsistencyPointId = 999;  // not used
            snaps[i].Name = RequestText(r.snaps[i].name);
            snaps[i].SnapVolumeName = RequestText(r.snaps[i].volume);
            snaps[i].VolumeGUID = RequestText(r.snaps[i].guid);
            snapFields(snaps[i], r.snaps[i]);
        }
        std::vector<repFLRSnapPairElem> pairs;
        for (const auto& p : r.pairs) pairs.push_back({-7, p.first, p.second});
        std::vector<repFLRSnapMountPointElem> mounts;
        for (const auto& m : r.mounts) mounts.push_back({-7, m.first, RequestText(m.second)});

        req.SnapCount = static_cast<uint32_t>(snaps.size());
        req.Snaps = snaps.empty() ? nullptr : snaps.data();
        req.PairCount = static_cast<uint32_t>(pairs.size());
        req.Pairs = pairs.empty() ? nullptr : pairs.data();
        req.MountCount = static_cast<uint32_t>(mounts.size());
        req.MountPoints = mounts.empty() ? nullptr : mounts.data();
        return send(code, &req, sizeof(Reply));
    }

    unsigned long m_expected = 0;
};
