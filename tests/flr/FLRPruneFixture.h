// A catalogue for the tests of deleting, pruning and rebuilding consistency
// points through post: set 40 of FLRPostTest on its Windows destination host
// 5, a host of release 11 (6) and one that is not a Windows host (7), rows
// stored as a test lays them out, the client fakes scoped to the test, and
// the requests with their 16-byte (or, for the rebuild, 72-byte) replies.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "flr/FLRDeleteMessages.h"
#include "flr/FLRPostFixture.h"
#include "host/ZxFramework.h"
#include "host/db/DBWriterQueue.h"
#include "service/ReplicationMgr.h"
#include "support/ClientFakesScope.h"

// A request posted through a manager of its own, on a thread started at the
// next call of a host operation, while the caller of that operation holds
// the writer turn of the catalogue: the call goes on once the request
// queues for the turn (a test failure after 10 s without), and the request
// runs when the caller gives the turn back.
class RequestWhileTheHostWorks {
public:
    RequestWhileTheHostWorks(ClientFakes& fakes, const std::string& operation, const std::string& catalogue,
                             unsigned long code, void* request)
        : m_operation(operation)
    {
        fakes.onNextCall(operation, [this, catalogue, code, request] {
            m_started = true;
            m_thread = std::thread([this, code, request] {
                CZxNetwork network;
                network.setSendObserver([this](unsigned long, const void* data, unsigned long) {
                    m_status = *static_cast<const uint32_t*>(data);  // every reply here starts with it
                });
                ZxSessionSend session(&network);
                ReplicationMgr other(&session);
                zxsDatabuf buf;
                buf.m_pData = request;
                other.post(code, 0, &buf);
            });
            const auto writers = DBWriterQueue::of(catalogue);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (writers->waiting() == 0) {
                if (std::chrono::steady_clock::now() > deadline) {
                    ADD_FAILURE() << "the request posted during " << m_operation
                                  << " did not queue for the writer turn within 10 s";
                    return;
                }
                std::this_thread::yield();
            }
        });
    }
    ~RequestWhileTheHostWorks() { join(); }
    RequestWhileTheHostWorks(const RequestWhileTheHostWorks&) = delete;
    RequestWhileTheHostWorks& operator=(const RequestWhileTheHostWorks&) = delete;

    // The status of the request's reply once it was answered; 99, and a
    // test failure, when the host was never called for the operation.
    uint32_t status()
    {
        if (!m_started) {
            ADD_FAILURE() << "the host was never called for " << m_operation << ": the request was not posted";
            return 99;
        }
        join();
        return m_status;
    }

private:
    // Only a thread that started is joined.
    void join()
    {
        if (m_thread.joinable()) m_thread.join();
    }

    std::string m_operation;
    bool m_started = false;
    uint32_t m_status = 99;  // written by the request's thread, read after its join
    std::thread m_thread;
};

class FLRPruneTest : public FLRPostTest {
protected:
    void SetUp() override
    {
        FLRPostTest::SetUp();
        exec("INSERT INTO DHT_OperatingSystem (id, osName, osRelease, osType) VALUES (1, 'Windows Server', '2019', "
             "'Windows'), (2, 'Linux', '5', 'Unix')");
        exec("UPDATE DHT_Client SET net_hostname = 'dst-host.net', dhtOperatingSystemId = 1 WHERE id = 5");
        HostClientSeed old;
        old.id = 6;
        old.name = "old-host";
        old.netHostName = "old-host.net";
        old.osId = 2;
        old.releaseId = 11;
        ASSERT_EQ(HostConfig::addClient(old), 0);
        HostClientSeed unix;
        unix.id = 7;
        unix.name = "unix-host";
        unix.netHostName = "unix-host.net";
        unix.osId = 2;
        ASSERT_EQ(HostConfig::addClient(unix), 0);
    }

    // Reads the status reply of every request here; the rebuild's adds its id.
    FLRAnswer decode(const void* data, unsigned long length) override
    {
        FLRAnswer a;
        const auto* r = static_cast<const repFLRStatusResp*>(data);
        a.status = r->status;
        a.errCode = r->errCode;
        a.hasMsg = r->errMsg != nullptr;
        if (r->errMsg) a.msg = r->errMsg;
        if (length == sizeof(repCreateCPResp)) a.id = static_cast<const repCreateCPResp*>(data)->CPId;
        return a;
    }

    // ---- The catalogue ----

    static void addSet(int id, int maxPoints, int hostId = 5)
    {
        HostBackupSetSeed set;
        set.id = id;
        set.name = "set-" + std::to_string(id);
        set.clientId = 8;
        set.appTypeId = 84;
        set.destinationHostId = hostId;
        set.maxConsistencyPoints = maxPoints;
        ASSERT_EQ(HostConfig::addBackupSet(set), 0);
    }
    void setMax(int setId, int maxPoints)
    {
        exec("UPDATE HostBackupSet SET maxConsistencyPoints = " + std::to_string(maxPoints) +
             " WHERE id = " + std::to_string(setId));
    }
    static int32_t cp(int32_t setId, int32_t jobId, int32_t flags = 0, int32_t clientId = 5)
    {
        YBFLRConsistencyPoint_t row;
        row.FLRSetId = setId;
        row.CreationTime = 1000 + jobId;
        row.JobId = jobId;
        row.Flags = flags;
        row.ClientId = clientId;
        FLRConsistencyPointDB db;
        EXPECT_TRUE(db.insert(row, nullptr));
        return row.id;
    }
    // Snapshots are collected by creation time: each later one is newer.
    int32_t snap(int32_t cpId, const std::string& name, const std::string& guid = "{vol}\\", int32_t type = 2)
    {
        YBFLRSnapshot_t row;
        row.ConsistencyPointId = cpId;
        std::strncpy(row.Name, name.c_str(), sizeof row.Name - 1);
        std::strncpy(row.SnapVolumeName, ("vol-" + name).c_str(), sizeof row.SnapVolumeName - 1);
        std::strncpy(row.VolumeGUID, guid.c_str(), sizeof row.VolumeGUID - 1);
        std::strncpy(row.SnapshotPath, ("path-" + name).c_str(), sizeof row.SnapshotPath - 1);
        row.CreationTime = ++m_clock;
        row.Type = type;
        FLRSnapshotDB db;
        EXPECT_TRUE(db.insert(row, nullptr));
        return row.id;
    }
    static int32_t pair(int32_t snapshotId, int32_t pairId)
    {
        YBFLRSnapPair_t row;
        row.SnapshotId = snapshotId;
        row.PairId = pairId;
        FLRSnapPairDB db;
        EXPECT_TRUE(db.insert(row, nullptr));
        return row.id;
    }
    static int32_t mount(int32_t snapshotId, const std::string& path)
    {
        YBFLRSnapMountPoint_t row;
        row.SnapshotId = snapshotId;
        std::strncpy(row.MountPath, path.c_str(), sizeof row.MountPath - 1);
        FLRSnapMountPointDB db;
        EXPECT_TRUE(db.insert(row, nullptr));
        return row.id;
    }
    static int32_t share(int32_t mountPointId, const std::string& name)
    {
        YBFLRSnapNetworkShare_t row;
        row.MountPointId = mountPointId;
        std::strncpy(row.NetShareName, name.c_str(), sizeof row.NetShareName - 1);
        FLRSnapNetworkShareDB db;
        EXPECT_TRUE(db.insert(row, nullptr));
        return row.id;
    }
    // A point of one snapshot of that name, with one pair row.
    int32_t point(int32_t setId, int32_t jobId, const std::string& name, int32_t type = 2, int32_t flags = 0)
    {
        const int32_t id = cp(setId, jobId, flags);
        pair(snap(id, name, "{vol}\\", type), 201);
        return id;
    }

    // n points of set 40, one snapshot "snap-<i>" each, oldest first.
    std::vector<int32_t> points(int n)
    {
        std::vector<int32_t> ids;
        for (int i = 1; i <= n; ++i) ids.push_back(point(40, i, "snap-" + std::to_string(i)));
        return ids;
    }

    static std::vector<int32_t> CPIds()
    {
        std::vector<int32_t> out;
        for (const auto& r : StoredRows<YBFLRConsistencyPoint_t, FLRConsistencyPointDB>()) out.push_back(r.id);
        return out;
    }
    static std::vector<std::string> SnapNames()
    {
        std::vector<std::string> out;
        for (const auto& r : StoredRows<YBFLRSnapshot_t, FLRSnapshotDB>()) out.push_back(r.Name);
        return out;
    }
    static int32_t FlagsOf(int32_t cpId)
    {
        for (const auto& r : StoredRows<YBFLRConsistencyPoint_t, FLRConsistencyPointDB>())
            if (r.id == cpId) return r.Flags;
        return -1;
    }

    // FLR rows left naming a row that is gone: snapshots without their
    // point, pairs and mount points without their snapshot, shares without
    // their mount point.
    long long orphans()
    {
        return scalar(
            "SELECT (SELECT COUNT(*) FROM YBFLRSnapshot WHERE ConsistencyPointId NOT IN "
            "(SELECT id FROM YBFLRConsistencyPoint)) + (SELECT COUNT(*) FROM YBFLRSnapPair WHERE SnapshotId NOT IN "
            "(SELECT id FROM YBFLRSnapshot)) + (SELECT COUNT(*) FROM YBFLRSnapMountPoint WHERE SnapshotId NOT IN "
            "(SELECT id FROM YBFLRSnapshot)) + (SELECT COUNT(*) FROM YBFLRSnapNetworkShare WHERE MountPointId NOT IN "
            "(SELECT id FROM YBFLRSnapMountPoint))");
    }

    // ---- Requests ----

    FLRAnswer delCP(uint32_t id)
    {
        repDelCPReq req{id};
        return post(0x350001ef, &req, sizeof(repDelCPResp));
    }
    FLRAnswer delAll(uint32_t setId, uint32_t force = 0)
    {
        repDelAllCPsByRepSetIdReq req{setId, force};
        return post(0x350001eb, &req, sizeof(repDelAllCPsByRepSetIdResp));
    }
    FLRAnswer prune(int32_t setId)
    {
        repPruneRepSetReq req{setId};
        return post(0x350001f1, &req, sizeof(repPruneRepSetResp));
    }
    FLRAnswer pruneFanIn(const std::string& guid)
    {
        repPruneFanInRPReq req{RequestText(guid)};
        return post(0x35000232, &req, sizeof(repPruneFanInRPResp));
    }

    ClientFakes& fakes() { return m_fakes.fakes(); }

    // The names sent to the host in the calls of the operation, in order.
    std::vector<std::string> sentNames(const std::string& operation)
    {
        std::vector<std::string> names;
        const size_t stride = operation == "FLRSnapCleanup" ? 5 : operation == "FLRSnapCleanupV2" ? 8 : 1;
        for (const ClientCall& call : fakes().calls(operation))
            for (size_t i = 0; i < call.args.size(); i += stride) names.push_back(call.args[i]);
        return names;
    }

private:
    ClientFakesScope m_fakes;
    int32_t m_clock = 5000;
};
