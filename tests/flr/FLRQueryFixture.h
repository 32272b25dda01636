// A catalogue of two replication sets with fan-in recovery points, for the
// tests of the consistency point queries and recovery point lookups through
// post: the replies decoded as they are sent, and the stored rows in the
// same text form.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "flr/FLRQueryMessages.h"
#include "host/HostConfig.h"
#include "host/db/FLRTables.h"
#include "snr/MountPointFixture.h"  // LimitedAlloc
#include "snr/SNRPostFixture.h"
#include "support/ClientFakesScope.h"

// One reply as it was sent. A null text reads "(null)"; a list whose count
// and array disagree reads as one entry saying so.
struct QueryAnswer {
    unsigned long code = 0;
    size_t size = 0;
    int64_t status = 99;
    int32_t errCode = 99;
    bool hasMsg = false;
    std::string msg;
    std::string cp;  // the point of the reply, "id:time:set:job:unstable:automount:bit4:source[:aux:type[:flags]]"
    std::vector<std::string> cps;        // the same, one per point of a list
    std::vector<std::string> snaps;      // "id:cp:name:volume:guid", version 2 adds ":type:path:aux"
    std::vector<std::string> pairs;      // "id:snapshot:pair"
    std::vector<std::string> pairPaths;  // "pair:source:destination"
    std::vector<std::string> shares;     // "id:mount point:name"
    std::vector<std::string> mounts;     // "id:snapshot:path"
    std::vector<std::string> rps;        // "cp:time:name:mount point:job"
    std::vector<std::string> details;    // "source:destination:source client:set:net name:set name:destination client"
    std::vector<std::string> volumes;    // "path:set name:host name:set:host"

    // Every list of the reply empty.
    bool empty() const
    {
        return cps.empty() && snaps.empty() && pairs.empty() && pairPaths.empty() && shares.empty() &&
               mounts.empty() && rps.empty() && details.empty() && volumes.empty();
    }
};

// A database fault: the (skip+1)-th next call of the kind fails; the request
// then answers `answer` and `text`.
struct FLRFaultCase {
    const char* what;
    const char* call;
    int skip;
    int32_t answer;
    const char* text;
};

inline std::string Text(const char* text) { return text != nullptr ? text : "(null)"; }

inline std::string Join(std::initializer_list<long long> values)
{
    std::string out;
    for (long long v : values) out += (out.empty() ? "" : ":") + std::to_string(v);
    return out;
}

// Destination host 5 (an operating system whose client service maps volume
// paths to GUIDs) receives set 40 of client 8 (pairs 201 and 202) and set 41
// of client 9 (pair 211); set 42 of client 8 goes to host 6, whose client
// service gives no GUIDs. The pairs' paths changed over time (see SetUp).
//
// Points (all of destination host 5; those of set 40 from source client 8,
// those of set 41 from 9), their snapshots (with creation times) and what
// hangs on them:
//   1: set 40, time 1000, job 500, Flags 6, type 0; snapshots 1 (GUID {g-a},
//      pair row 1 of pair 201, mount point 1 with share 1) and 2 ({g-b}, pair
//      row 2 of pair 202), both at 1000.
//   2: set 40, time 2000, job 600, Flags 1, type 1; snapshot 3 ({g-fan}, at
//      2000) with pair rows 3 (201) and 4 (202) and mount point 2.
//   3: set 41, time 1500, job 700, Flags 8, type 1; snapshot 4 ({g-fan}, at
//      1500) with pair row 5 (211).
//   4: set 41, time 2500, job 800, type 0; snapshot 5 (no GUID, at 2500)
//      without pair rows.
class FLRQueryTest : public SNRPostTest<QueryAnswer> {
protected:
    void SetUp() override
    {
        SNRPostTest::SetUp();
        addClient(5, "dst-host", 2);
        addClient(6, "other-host", 16);
        addClient(8, "src-a", 0);
        addClient(9, "src-b", 0);
        ASSERT_EQ(HostConfig::addAppType(84, "File Replication"), 0);
        int instance = 0;
        ASSERT_EQ(HostConfig::addInstance(instance, 8, 84, "instance-a"), 0);
        addSet(40, 8, 5, instance);
        addSet(41, 9, 5, 0);
        addSet(42, 8, 6, 0);
        addPair(201, 8, 40, "pair-a");
        addPair(202, 8, 40, "pair-b");
        addPair(211, 9, 41, "pair-c");
        // Pair 201's source moved at 1500, pair 202's destination at 3000.
        storePath(201, 10001, "/src/a", 100, 1500);
        storePath(201, 10001, "/src/a2", 1500, 0);
        storePath(201, 10002, "/dst/a", 100, 0);
        storePath(202, 10001, "/src/b", 100, 0);
        storePath(202, 10002, "/dst/b", 100, 3000);
        storePath(202, 10002, "/dst/b2", 3000, 0);
        storePath(211, 10001, "/src/c", 100, 0);
        storePath(211, 10002, "/dst/c", 100, 0);

        ASSERT_EQ(storeCP(40, 1000, 500, 6, 5, 8), 1);
        ASSERT_EQ(storeCP(40, 2000, 600, 1, 5, 8, 1), 2);
        ASSERT_EQ(storeCP(41, 1500, 700, 8, 5, 9, 1), 3);
        ASSERT_EQ(storeCP(41, 2500, 800, 0, 5, 9), 4);
        ASSERT_EQ(storeSnapshot(1, "snap-1a", "vol-a", "{g-a}", 1000, 2, "{shadow-1a}", 4), 1);
        ASSERT_EQ(storeSnapshot(1, "snap-1b", "vol-b", "{g-b}", 1000), 2);
        ASSERT_EQ(storeSnapshot(2, "snap-2a", "vol-a", "{g-fan}", 2000, 3, "{shadow-2a}"), 3);
        ASSERT_EQ(storeSnapshot(3, "snap-3a", "vol-a", "{g-fan}", 1500), 4);
        ASSERT_EQ(storeSnapshot(4, "snap-4", "vol-d", "", 2500), 5);
        ASSERT_EQ(storePair(1, 201), 1);
        ASSERT_EQ(storePair(2, 202), 2);
        ASSERT_EQ(storePair(3, 201), 3);
        ASSERT_EQ(storePair(3, 202), 4);
        ASSERT_EQ(storePair(4, 211), 5);
        ASSERT_EQ(storeMount(1, "/mnt/1a"), 1);
        ASSERT_EQ(storeMount(3, "/mnt/2a"), 2);
        ASSERT_EQ(storeShare(1, "share-1a"), 1);
    }
    void TearDown() override
    {
        AllocReplyArray = &malloc;
        SNRPostTest::TearDown();
    }

    // ---- Seeding ----

    void addClient(int id, const std::string& name, int osId)
    {
        HostClientSeed c;
        c.id = id;
        c.name = name;
        c.netHostName = name + ".net";
        c.osId = osId;
        c.tallmarkId = 3;
        ASSERT_EQ(HostConfig::addClient(c), 0);
    }
    void addSet(int id, int clientId, int destinationHostId, int instanceId)
    {
        HostBackupSetSeed s;
        s.id = id;
        s.name = "set-" + std::to_string(id);
        s.clientId = clientId;
        s.appTypeId = 84;
        s.instanceId = instanceId;
        s.destinationHostId = destinationHostId;
        ASSERT_EQ(HostConfig::addBackupSet(s), 0);
    }
    void addPair(int id, int clientId, int setId, const std::string& name, int appTypeId = 84)
    {
        HostSubclientSeed p;
        p.id = id;
        p.clientId = clientId;
        p.appTypeId = appTypeId;
        p.backupSetId = setId;
        p.name = name;
        ASSERT_EQ(HostConfig::addSubclient(p), 0);
    }
    void storePath(int pairId, int type, const std::string& path, int created, int modified)
    {
        exec("INSERT INTO DHT_ScReplicationPair (pairId, propType, stringVal, created, modified) VALUES (" +
             std::to_string(pairId) + ", " + std::to_string(type) + ", '" + path + "', " + std::to_string(created) +
             ", " + std::to_string(modified) + ")");
    }
    // Stores the row through its table class; its new id.
    template <typename Table, typename Row>
    static int32_t store(Row row)
    {
        Table db;
        EXPECT_TRUE(db.insert(row, nullptr));
        return row.id;
    }
    static int32_t storeCP(int32_t setId, int32_t time, int32_t job, int32_t flags, int32_t client, int32_t source,
                           int32_t type = 0)
    {
        YBFLRConsistencyPoint_t row;
        row.FLRSetId = setId;
        row.CreationTime = time;
        row.JobId = job;
        row.Flags = flags;
        row.ClientId = client;
        row.TallmarkId = 3;
        row.SrcClientId = source;
        row.Type = type;
        return store<FLRConsistencyPointDB>(row);
    }
    static int32_t storeSnapshot(int32_t cpId, const std::string& name, const std::string& volume,
                                 const std::string& guid, int32_t time, int32_t type = 1, const std::string& path = "",
                                 int32_t aux = 0)
    {
        YBFLRSnapshot_t row;
        row.ConsistencyPointId = cpId;
        std::strncpy(row.Name, name.c_str(), sizeof row.Name - 1);
        std::strncpy(row.SnapVolumeName, volume.c_str(), sizeof row.SnapVolumeName - 1);
        std::strncpy(row.VolumeGUID, guid.c_str(), sizeof row.VolumeGUID - 1);
        std::strncpy(row.SnapshotPath, path.c_str(), sizeof row.SnapshotPath - 1);
        row.CreationTime = time;
        row.Type = type;
        row.AuxValue = aux;
        return store<FLRSnapshotDB>(row);
    }
    static int32_t storePair(int32_t snapshotId, int32_t pairId)
    {
        YBFLRSnapPair_t row;
        row.SnapshotId = snapshotId;
        row.PairId = pairId;
        return store<FLRSnapPairDB>(row);
    }
    static int32_t storeMount(int32_t snapshotId, const std::string& path)
    {
        YBFLRSnapMountPoint_t row;
        row.SnapshotId = snapshotId;
        std::strncpy(row.MountPath, path.c_str(), sizeof row.MountPath - 1);
        return store<FLRSnapMountPointDB>(row);
    }
    static int32_t storeShare(int32_t mountPointId, const std::string& name)
    {
        YBFLRSnapNetworkShare_t row;
        row.MountPointId = mountPointId;
        std::strncpy(row.NetShareName, name.c_str(), sizeof row.NetShareName - 1);
        return store<FLRSnapNetworkShareDB>(row);
    }

    // ---- The stored rows, in the text form of the replies ----

    // The stored point as a version-1, 2 or 3 wire record would carry it
    // (the extra value is never stored: 0).
    static std::string StoredCP(int32_t id, int version, bool withType = true, bool withFlags = true)
    {
        for (const auto& r : StoredRows<YBFLRConsistencyPoint_t, FLRConsistencyPointDB>()) {
            if (r.id != id) continue;
            std::string text = Join({r.id, r.CreationTime, r.FLRSetId, r.JobId, (r.Flags & 1) != 0,
                                     (r.Flags & 2) != 0, (r.Flags & 4) != 0, r.SrcClientId});
            if (version >= 2) text += ":" + Join({0, withType ? r.Type : 0});
            if (version >= 3) text += ":" + Join({withFlags ? r.Flags : 0});
            return text;
        }
        return "no point " + std::to_string(id);
    }
    // The stored rows of the ids, in the order of the ids, each as `text` gives it.
    template <typename Row, typename Table, typename Text>
    static std::vector<std::string> StoredTexts(const std::vector<int32_t>& ids, Text text)
    {
        std::vector<std::string> out;
        const std::vector<Row> rows = StoredRows<Row, Table>();
        for (int32_t id : ids)
            for (const Row& r : rows)
                if (r.id == id) out.push_back(text(r));
        return out;
    }
    // The stored snapshots of the ids, in the form of a version-1 or 2 reply.
    static std::vector<std::string> StoredSnaps(const std::vector<int32_t>& ids, int version)
    {
        return StoredTexts<YBFLRSnapshot_t, FLRSnapshotDB>(ids, [version](const YBFLRSnapshot_t& r) {
            std::string text = Join({r.id, r.ConsistencyPointId}) + ":" + Shown(r.Name) + ":" +
                               Shown(r.SnapVolumeName) + ":" + Shown(r.VolumeGUID);
            if (version >= 2) text += ":" + Join({r.Type}) + ":" + Shown(r.SnapshotPath) + ":" + Join({r.AuxValue});
            return text;
        });
    }
    static std::vector<std::string> StoredPairs(const std::vector<int32_t>& ids)
    {
        return StoredTexts<YBFLRSnapPair_t, FLRSnapPairDB>(
            ids, [](const YBFLRSnapPair_t& r) { return Join({r.id, r.SnapshotId, r.PairId}); });
    }
    static std::vector<std::string> StoredMounts(const std::vector<int32_t>& ids)
    {
        return StoredTexts<YBFLRSnapMountPoint_t, FLRSnapMountPointDB>(ids, [](const YBFLRSnapMountPoint_t& r) {
            return Join({r.id, r.SnapshotId}) + ":" + Shown(r.MountPath);
        });
    }
    static std::vector<std::string> StoredShares(const std::vector<int32_t>& ids)
    {
        return StoredTexts<YBFLRSnapNetworkShare_t, FLRSnapNetworkShareDB>(ids, [](const YBFLRSnapNetworkShare_t& r) {
            return Join({r.id, r.MountPointId}) + ":" + Shown(r.NetShareName);
        });
    }
    // A stored text as a reply sends it: "(null)" for an empty one.
    static std::string Shown(const char* column) { return *column != '\0' ? column : "(null)"; }

    // ---- Checks ----

    static void expectDone(const QueryAnswer& a)
    {
        EXPECT_EQ(a.status, 1);
        EXPECT_EQ(a.errCode, 0);
        EXPECT_FALSE(a.hasMsg) << a.msg;
    }
    // A failure: status 0 with the code and text, no point and no list.
    static void expectFailed(const QueryAnswer& a, int32_t code, const std::string& text)
    {
        EXPECT_EQ(a.status, 0);
        EXPECT_EQ(a.errCode, code);
        EXPECT_TRUE(a.hasMsg);
        EXPECT_EQ(a.msg, text);
        EXPECT_TRUE(a.empty());
        if (!a.cp.empty()) {
            EXPECT_EQ(a.cp.find_first_not_of("0:"), std::string::npos) << a.cp;
        }
    }

    // ---- Failures ----

    // The reads of an expanded point after the point's own, the first of
    // them the (skip+1)-th list read; the shares only where it has one.
    static std::vector<FLRFaultCase> ExpansionFaults(int skip, bool shares)
    {
        std::vector<FLRFaultCase> faults = {
            {"reading the snapshots", "getList", skip, -4, "Could not get list of FLR snapshot records from the database"},
            {"reading the pair rows", "getList", skip + 1, -4,
             "Could not get list of FLR snapshot pair records from the database"},
            {"reading the pair paths", "fetch", 0, -4, "Cannot get the list of pair path from the database"},
            {"reading the mount points", "getList", skip + 2, -4,
             "Could not get list of FLR snapshot Mount point records from the database"},
        };
        if (shares)
            faults.push_back({"reading the shares", "getList", skip + 3, -4,
                              "Could not get list of FLR snapshot network shares records from the database"});
        return faults;
    }

    // Each fault in turn: the request fails with its code and text.
    template <typename Send>
    void expectEachFault(const std::vector<FLRFaultCase>& faults, Send send)
    {
        for (const FLRFaultCase& f : faults) {
            SCOPED_TRACE(f.what);
            HostDBFaults::clear();
            HostDBFaults::failNext(f.call, 5, f.skip);
            expectFailed(send(), f.answer, f.text);
        }
        HostDBFaults::clear();
    }
    // With 0 up to arrays-1 reply arrays to be had: -5 and nothing sent.
    template <typename Send>
    void expectNoMemoryAtEachArray(int arrays, Send send)
    {
        for (int allocations = 0; allocations < arrays; ++allocations) {
            SCOPED_TRACE(allocations);
            AllocationsLeft() = allocations;
            AllocReplyArray = &LimitedAlloc;
            expectFailed(send(), -5, "No memory available to perform operation");
            AllocReplyArray = &malloc;
        }
    }

    // ---- Requests ----

    QueryAnswer send(unsigned long code, const void* request, size_t replySize)
    {
        m_expected = code + 1;
        return post(code, const_cast<void*>(request), replySize);
    }

    QueryAnswer decode(const void* data, unsigned long) override
    {
        QueryAnswer a;
        switch (m_expected) {
        case 0x350001d8: {
            const auto& r = *static_cast<const repQueryFLRCPointsByFLRSetIdResp*>(data);
            readStatus(a, r);
            readList(a.cps, r.count, r.CPs, [](const repFLRConsistencyPointRec& c) { return cpText(c); });
            break;
        }
        case 0x350001de:
            readSnapshotsReply(a, *static_cast<const repQueryFLRSnapshotsByCPIdResp*>(data));
            break;
        case 0x35000201:
            readSnapshotsReply(a, *static_cast<const repQueryFLRSnapshotsByCPIdRespV2*>(data));
            break;
        case 0x350001e8:
        case 0x350001ea:
            readCPReply(a, *static_cast<const repQueryFLRCPByJobIdResp*>(data));
            break;
        case 0x35000203:
        case 0x35000205:
            readCPReply(a, *static_cast<const repQueryFLRCPByJobIdRespV2*>(data));
            break;
        case 0x35000253:
        case 0x35000255:
            readCPReply(a, *static_cast<const repQueryFLRCPByJobIdRespV3*>(data));
            break;
        case 0x350001f4: {
            const auto& r = *static_cast<const repFindRepSetByVolumeResp*>(data);
            readStatus(a, r);
            readList(a.volumes, r.count, r.Volumes, [](const repRepSetVolumeRec& v) {
                return Text(v.VolumePath) + ":" + Text(v.RepSetName) + ":" + Text(v.DstHostName) + ":" +
                       Join({v.RepSetId, v.DstClientId});
            });
            break;
        }
        case 0x350001f8: {
            const auto& r = *static_cast<const repQueryFLRCPsByClientIdAndAppTypeResp*>(data);
            readStatus(a, r);
            readList(a.cps, r.count, r.CPs, [](const repFLRConsistencyPointRec& c) { return cpText(c); });
            break;
        }
        case 0x35000229:
        case 0x35000249:
        case 0x35000257: {
            const auto& r = *static_cast<const repGetRPsByDstClientIdResp*>(data);  // one layout for the three
            readStatus(a, r);
            readList(a.rps, r.count, r.list, [](const repRPInfo1& p) {
                return Join({p.CPId, p.CreationTime}) + ":" + Text(p.Name) + ":" + Text(p.MountPoint) + ":" +
                       Join({p.JobId});
            });
            break;
        }
        case 0x3500022b: {
            const auto& r = *static_cast<const repGetFanInDetailInfoByRPIdResp*>(data);
            readStatus(a, r);
            readList(a.details, r.count, r.list, [](const repFLRFanInDetailRec& d) {
                return Text(d.SrcPath) + ":" + Text(d.DstPath) + ":" + Join({d.SrcClientId, d.RepSetId}) + ":" +
                       Text(d.SrcClientNetName) + ":" + Text(d.RepSetName) + ":" + Join({d.DstClientId});
            });
            break;
        }
        case 0x3500022d: {
            const auto& r = *static_cast<const repQueryFLRSnapBySnapIdResp*>(data);
            readStatus(a, r);
            if (r.Snapshot.id != 0 || r.Snapshot.Name != nullptr) a.snaps.push_back(snapText(r.Snapshot));
            break;
        }
        case 0x3500024b: {
            const auto& r = *static_cast<const repQueryCPByIdResp*>(data);
            readStatus(a, r);
            a.cp = cpText(r.CP);
            break;
        }
        default:
            ADD_FAILURE() << "no decoder for reply " << std::hex << m_expected;
        }
        return a;
    }

    static std::string cpText(const repFLRConsistencyPointRec& c)
    {
        return Join({c.id, c.CreationTime, c.FLRSetId, c.JobId, c.Unstable, c.AutoMount, c.FlagBit4, c.SrcClientId});
    }
    static std::string cpText(const repWinFLRConsistencyPointRecV2& c)
    {
        return Join({c.id, c.CreationTime, c.FLRSetId, c.JobId, c.Unstable, c.AutoMount, c.FlagBit4, c.SrcClientId,
                     c.AuxValue, c.Type});
    }
    static std::string cpText(const repWinFLRConsistencyPointRecV3& c)
    {
        return Join({c.id, c.CreationTime, c.FLRSetId, c.JobId, c.Unstable, c.AutoMount, c.FlagBit4, c.SrcClientId,
                     c.AuxValue, c.Type, c.Flags});
    }
    static std::string snapText(const repFLRSnapRec& s)
    {
        return Join({s.id, s.ConsistencyPointId}) + ":" + Text(s.Name) + ":" + Text(s.SnapVolumeName) + ":" +
               Text(s.VolumeGUID);
    }
    // The four trailing fields are sent as 0.
    static std::string snapText(const repFLRSnapRecV2& s)
    {
        std::string text = Join({s.id, s.ConsistencyPointId}) + ":" + Text(s.Name) + ":" + Text(s.SnapVolumeName) +
                           ":" + Text(s.VolumeGUID) + ":" + Join({s.Type}) + ":" + Text(s.SnapshotPath) + ":" +
                           Join({s.AuxValue});
        if (s.Padding || s.Reserved1 || s.Reserved2 || s.Reserved3 || s.Reserved4) text += ":trailing fields set";
        return text;
    }

private:
    template <typename Reply>
    static void readStatus(QueryAnswer& a, const Reply& r)
    {
        a.status = r.status;
        a.errCode = r.errCode;
        a.hasMsg = r.errMsg != nullptr;
        if (r.errMsg) a.msg = r.errMsg;
    }

    template <typename Element, typename Format>
    static void readList(std::vector<std::string>& out, uint32_t count, const Element* array, Format format)
    {
        if ((count == 0) != (array == nullptr))
            out.push_back("count " + std::to_string(count) + (array ? " with an array" : " without an array"));
        for (uint32_t i = 0; array != nullptr && i < count; ++i) out.push_back(format(array[i]));
    }

    template <typename Lists>
    static void readLists(QueryAnswer& a, const Lists& l)
    {
        readList(a.snaps, l.SnapCount, l.Snaps, [](const auto& s) { return snapText(s); });
        readList(a.pairs, l.PairCount, l.Pairs,
                 [](const repFLRSnapPairElem& p) { return Join({p.id, p.SnapshotId, p.PairId}); });
        readList(a.pairPaths, l.PairPathCount, l.PairPaths, [](const repFLRPairPathElem& p) {
            return Join({p.PairId}) + ":" + Text(p.SrcPath) + ":" + Text(p.DstPath);
        });
        readList(a.shares, l.ShareCount, l.Shares, [](const repFLRSnapNetworkShareElem& s) {
            return Join({s.id, s.MountPointId}) + ":" + Text(s.NetShareName);
        });
        readList(a.mounts, l.MountCount, l.MountPoints, [](const repFLRSnapMountPointElem& m) {
            return Join({m.id, m.SnapshotId}) + ":" + Text(m.MountPath);
        });
    }

    template <typename Reply>
    static void readSnapshotsReply(QueryAnswer& a, const Reply& r)
    {
        readStatus(a, r);
        readLists(a, r.lists);
    }

    template <typename Reply>
    static void readCPReply(QueryAnswer& a, const Reply& r)
    {
        readStatus(a, r);
        a.cp = cpText(r.CP);
        readLists(a, r.lists);
    }

    unsigned long m_expected = 0;
};
