// A host's concurrent load on one catalogue (LoadCatalogue.h): the mix of
// requests each thread posts (registrations, reservations, pool membership
// changes, replica adds and deletes, consistency points and retention
// pruning passes) and what the threads saw (replies, refusals, the time each
// request took). Used by the soak tests, their worker processes and the load
// benchmark; free of any test framework.
#pragma once

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "LoadCatalogue.h"
#include "WriterTurn.h"
#include "flr/FLRMessages.h"
#include "host/ZxFramework.h"
#include "replicas/ReplicaVolumeAdd.h"
#include "replicas/ReplicaVolumeRemoval.h"
#include "replicas/RetentionPruning.h"
#include "scratch/ScratchMembership.h"
#include "service/DispatchTable.h"
#include "service/ReplicationMgr.h"
#include "snr/DeviceMessages.h"
#include "snr/VolumeReservation.h"

namespace concurrent_load {

// Threads of one process posting at once.
const int kThreads = 8;
// A request that has taken this long is waiting for a lock or the writer
// turn to time out (after 60 s and 75 s): the run is ended there (see
// RunThreads). Generous for a sanitizer build on a loaded machine.
const double kStallSeconds = 10.0;
// The exit status of a process whose run was ended so.
const int kStalledExit = 3;

// ---- What the load saw ---------------------------------------------------------

enum Kind {
    Reserve,           // 0x35000067, one pool volume
    JobReserve,        // 0x350001b1, one pool volume for a job
    JobReplica,        // 0x35000047, the job's replica on the volume it reserved
    Unreserve,         // 0x3500007d
    PoolAdd,           // 0x35000015, into a pool or moved to another
    PoolRemove,        // 0x35000017
    SnapshotAdd,       // 0x35000047, a snapshot on volume 20
    SnapshotRemove,    // 0x35000051, one the thread added
    ConsistencyPoint,  // 0x3500024c
    Registration,      // 0x350000ef, the device of a new client
    Pruning,           // 0x35000081
    KindCount
};

inline const char* KindName(int kind)
{
    static const char* const names[KindCount] = {"reserve", "job reserve", "job replica", "unreserve",
                                                 "pool add", "pool remove", "snapshot add", "snapshot remove",
                                                 "consistency point", "registration", "pruning"};
    return kind >= 0 && kind < KindCount ? names[kind] : "?";
}

// The refusals each kind may meet in the state another thread left: the
// volume reserved or released, moved, removed, or under a replica, already.
// Any other failure (a lock or a turn not had in time, a counter found
// wrong, a transaction that could not start or commit) is unexpected. A
// pruning pass reports no text, only the volumes it could not free.
inline const std::set<std::string>& ExpectedRefusals(int kind)
{
    static const std::map<int, std::set<std::string>> refusals = {
        {Reserve, {"A volume is already reserved", "Could not find scratch volume information in the database"}},
        {JobReserve, {"A volume is already reserved"}},
        {Unreserve,
         {"A volume is not reserved", "Volume cannot be unreserved if there are YB Volumes associated with it"}},
        {PoolAdd,
         {"Cannot move scratch volume to another pool because is still locked",
          "Volume is already reserved in a YB volume"}},
        {PoolRemove,
         {"Cannot remove scratch volume because is still locked",
          "Cannot remove scratch volume that it is associated with a YB volume",
          "cannot access scratch volume information from the database"}},
        {SnapshotRemove, {"Record not found"}},
    };
    static const std::set<std::string> none;
    auto it = refusals.find(kind);
    return it != refusals.end() ? it->second : none;
}

struct Tally {
    long posts = 0;
    long succeeded = 0;
    long refused = 0;  // with an expected refusal, or a pruning pass with volumes it could not free
};

// What one thread, one process or a whole run saw.
struct LoadResult {
    long posts = 0;
    // Posts not answered by exactly one reply of the request's reply code.
    long badReplies = 0;
    // "kind: text" of each unexpected failure, at most the first 20.
    std::vector<std::string> unexpected;
    long unexpectedCount = 0;
    Tally tallies[KindCount];
    // How long each post took, in microseconds, and the longest.
    std::vector<uint32_t> latenciesUs;
    double longestSeconds = 0;
    // Wall-clock start and end of the posting (seconds since the epoch).
    double started = 0;
    double ended = 0;
    // The writer turn of the catalogue was free at once after the run.
    bool turnFree = true;

    void add(const LoadResult& other)
    {
        posts += other.posts;
        badReplies += other.badReplies;
        for (const std::string& u : other.unexpected)
            if (unexpected.size() < 20) unexpected.push_back(u);
        unexpectedCount += other.unexpectedCount;
        for (int k = 0; k < KindCount; ++k) {
            tallies[k].posts += other.tallies[k].posts;
            tallies[k].succeeded += other.tallies[k].succeeded;
            tallies[k].refused += other.tallies[k].refused;
        }
        latenciesUs.insert(latenciesUs.end(), other.latenciesUs.begin(), other.latenciesUs.end());
        longestSeconds = std::max(longestSeconds, other.longestSeconds);
        started = started == 0 ? other.started : std::min(started, other.started);
        ended = std::max(ended, other.ended);
        turnFree = turnFree && other.turnFree;
    }
    double seconds() const { return ended > started ? ended - started : 0; }
    double postsPerSecond() const { return seconds() > 0 ? static_cast<double>(posts) / seconds() : 0; }
    // The latency below which the given share of the posts stayed, in seconds.
    double percentile(double share) const
    {
        if (latenciesUs.empty()) return 0;
        std::vector<uint32_t> sorted = latenciesUs;
        const size_t at = std::min(sorted.size() - 1, static_cast<size_t>(share * static_cast<double>(sorted.size())));
        std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(at), sorted.end());
        return sorted[at] / 1e6;
    }
};

inline double WallClockSeconds()
{
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// ---- One posting thread ----------------------------------------------------------

namespace detail {

template <typename T, typename = void>
struct HasErrMsg : std::false_type {};
template <typename T>
struct HasErrMsg<T, std::void_t<decltype(std::declval<T&>().errMsg)>> : std::true_type {};

// A reply as it was sent: its code, status, text ("" for none) and the id of
// a replica add.
struct Answer {
    unsigned long code = 0;
    int64_t status = -1;
    std::string text;
    int32_t id = 0;
};

template <typename Reply>
Answer Decode(const void* data)
{
    const auto* r = static_cast<const Reply*>(data);
    Answer a;
    a.status = r->status;
    if constexpr (HasErrMsg<Reply>::value) a.text = r->errMsg != nullptr ? r->errMsg : "";
    if constexpr (std::is_same<Reply, repAddReplicationVolumeResp>::value) a.id = r->id;
    return a;
}

inline char* Text(const std::string& s) { return s.empty() ? nullptr : const_cast<char*>(s.c_str()); }

}  // namespace detail

// One thread of a host: its own service object on a network of its own,
// posting `posts` requests of the mix, each drawn at random (seeded by the
// process and thread numbers). `process` and `thread` keep the names, ids
// and jobs it makes apart from those of every other thread.
class LoadThread {
public:
    LoadThread(const std::string& path, int process, int thread, unsigned seed)
        : m_process(process), m_thread(thread), m_random(seed * 7919u + process * 131u + thread)
    {
        m_network.setSendObserver([this](unsigned long code, const void* data, unsigned long) {
            ++m_replies;
            m_answer = m_decode(data);
            m_answer.code = code;
        });
        if (sqlite3_open(path.c_str(), &m_db) == SQLITE_OK) sqlite3_busy_timeout(m_db, 10000);
    }
    ~LoadThread() { sqlite3_close(m_db); }
    LoadThread(const LoadThread&) = delete;
    LoadThread& operator=(const LoadThread&) = delete;

    void run(int posts)
    {
        m_result.started = WallClockSeconds();
        while (m_result.posts < posts) step(posts - m_result.posts);
        m_result.ended = WallClockSeconds();
    }
    const LoadResult& result() const { return m_result; }

    // How long the request the thread is posting has taken so far (0 when
    // it is between requests), and its kind.
    double inFlightSeconds(std::chrono::steady_clock::time_point now) const
    {
        const int64_t since = m_inFlightSince.load();
        if (since == 0) return 0;
        return std::chrono::duration<double>(now.time_since_epoch() - std::chrono::steady_clock::duration(since)).count();
    }
    int inFlightKind() const { return m_inFlightKind.load(); }

private:
    using Decoder = detail::Answer (*)(const void*);

    // Number unique to this thread among all threads of all processes.
    int worker() const { return m_process * kThreads + m_thread; }
    // Any of the pool volumes; one of the first half, which jobs reserve;
    // one of the second half, which leave their pools.
    int32_t poolVolume() { return kFirstPoolVolume + static_cast<int32_t>(m_random() % kPoolVolumes); }
    int32_t jobVolume() { return kFirstPoolVolume + static_cast<int32_t>(m_random() % (kPoolVolumes / 2)); }
    int32_t leavingVolume() { return jobVolume() + kPoolVolumes / 2; }

    // One request of the mix, or the two of a job when that many are left.
    void step(long left)
    {
        const unsigned roll = m_random() % 20;
        if (roll < 3) return reserve();
        if (roll < 6) return left >= 2 ? reserveForJob() : reserve();
        if (roll < 9) return unreserve();
        if (roll < 11) return addToPool();
        if (roll < 12) return removeFromPool();
        if (roll < 14) return addSnapshot();
        if (roll < 15) return removeSnapshot();
        if (roll < 17) return createPoint();
        if (roll < 19) return registerDevice();
        return prune();
    }

    void reserve()
    {
        int32_t id = poolVolume();
        repReserveSNRVolReq req{1, &id};
        send(Reserve, 0x35000067, &req, &detail::Decode<repReserveSNRVolResp>);
    }

    // A job reserves a volume, then records its replica on the scratch
    // volume it stamped: the replica holds the reservation until a pruning
    // pass releases it. A pass may reset the reservation in between (the
    // passes are told that no job runs); jobs reserve volumes that never
    // leave their pools, so that the scratch volume a replica names stays.
    void reserveForJob()
    {
        int32_t id = jobVolume();
        const int64_t job = static_cast<int64_t>(worker() + 1) * 1000000 + m_result.posts + 1;
        repReserveSNRVolV2Req req{1, &id, job};
        if (send(JobReserve, 0x350001b1, &req, &detail::Decode<repReserveSNRVolV2Resp>).status != 1) return;
        const long long scratch = scalar("SELECT id FROM YBScratchVolume WHERE PhysicalVolumeId = " + std::to_string(id) +
                                         " AND LockedByJobId = " + std::to_string(job));
        if (scratch <= 0) return;
        repAddReplicationVolumeReq replica;
        replica.ReplicationVolume.CurrentRole = 1;
        replica.ReplicationVolume.PrimaryVolumeId = kPrimaryVolume;
        replica.ReplicationVolume.PhysicalVolumeId = id;
        replica.ReplicationVolume.ReplicationPolicyId = kPolicy;
        replica.ReplicationVolume.RVScratchVolumeId = static_cast<int32_t>(scratch);
        send(JobReplica, 0x35000047, &replica, &detail::Decode<repAddReplicationVolumeResp>);
    }

    void unreserve()
    {
        int32_t id = poolVolume();
        repUnreserveSNRVolReq req;
        req.count = 1;
        req.ids = &id;
        send(Unreserve, 0x3500007d, &req, &detail::Decode<repUnreserveSNRVolResp>);
    }

    void addToPool()
    {
        repAddRVScratchVolumeReq req{1 + static_cast<uint32_t>(m_random() % kPools), static_cast<uint32_t>(poolVolume())};
        send(PoolAdd, 0x35000015, &req, &detail::Decode<repAddRVScratchVolumeResponse>);
    }

    void removeFromPool()
    {
        const int32_t id = leavingVolume();
        const long long scratch = scalar("SELECT id FROM YBScratchVolume WHERE PhysicalVolumeId = " + std::to_string(id));
        if (scratch <= 0) return addToPool();
        repRemoveRVScratchVolumeReq req{static_cast<uint32_t>(scratch)};
        send(PoolRemove, 0x35000017, &req, &detail::Decode<repRemoveRVScratchVolumeResponse>);
    }

    void addSnapshot()
    {
        repAddReplicationVolumeReq req;
        req.ReplicationVolume.CurrentRole = 2;
        req.ReplicationVolume.PrimaryVolumeId = kPrimaryVolume;
        req.ReplicationVolume.PhysicalVolumeId = kSnapshotVolume;
        req.ReplicationVolume.ReplicationPolicyId = kPolicy;
        const detail::Answer a = send(SnapshotAdd, 0x35000047, &req, &detail::Decode<repAddReplicationVolumeResp>);
        if (a.status == 1) m_snapshots.push_back(a.id);
    }

    void removeSnapshot()
    {
        if (m_snapshots.empty()) return addSnapshot();
        const size_t at = m_random() % m_snapshots.size();
        repRemoveReplicationVolumeReq req{m_snapshots[at]};
        m_snapshots.erase(m_snapshots.begin() + static_cast<long>(at));
        send(SnapshotRemove, 0x35000051, &req, &detail::Decode<repRemoveReplicationVolumeResp>);
    }

    // A point of a job of its own with two snapshots, one on each pair, and
    // a mount point of the first.
    void createPoint()
    {
        const std::string tag = std::to_string(worker()) + "-" + std::to_string(m_result.posts);
        const std::string names[2] = {"snap-a-" + tag, "snap-b-" + tag};
        const std::string volumes[2] = {"vol-a", "vol-b"};
        const std::string guids[2] = {"{guid-a}", "{guid-b}"};
        const std::string mount = "/mnt/cp-" + tag;
        repFLRSnapRecV2 snaps[2];
        for (int i = 0; i < 2; ++i) {
            snaps[i].id = 10 + i;
            snaps[i].Name = detail::Text(names[i]);
            snaps[i].SnapVolumeName = detail::Text(volumes[i]);
            snaps[i].VolumeGUID = detail::Text(guids[i]);
            snaps[i].Type = 2;
        }
        repFLRSnapPairElem pairs[2] = {{0, 10, 201}, {0, 11, 202}};
        repFLRSnapMountPointElem mounts[1] = {{0, 10, detail::Text(mount)}};
        repCreateCPReqV3 req;
        std::memset(static_cast<void*>(&req), 0, sizeof req);
        req.CP.CreationTime = 1000;
        req.CP.FLRSetId = kSet;
        req.CP.JobId = static_cast<int64_t>(worker() + 1) * 1000000 + m_result.posts + 1;
        req.SnapCount = 2;
        req.Snaps = snaps;
        req.PairCount = 2;
        req.Pairs = pairs;
        req.MountCount = 1;
        req.MountPoints = mounts;
        send(ConsistencyPoint, 0x3500024c, &req, &detail::Decode<repCreateCPRespV2>);
    }

    // The first device of a new client, with one mount point, on one of four
    // volumes that every thread registers devices on (the first registration
    // of each makes it).
    void registerDevice()
    {
        const std::string tag = std::to_string(worker()) + "-" + std::to_string(m_result.posts);
        const std::string uniqueId = "reg-" + std::to_string(m_random() % 4);
        const std::string fsType = "NTFS";
        const std::string device = "/dev/reg-" + tag;
        const std::string path = "/mnt/reg-" + tag;
        repSNRVolumeMountPoint mount;
        mount.Path = detail::Text(path);
        repAddSNRDeviceV3Req req;
        req.SNRVolume.UniqueId = detail::Text(uniqueId);
        req.SNRVolume.UniqueIdType = 1;
        req.SNRVolume.LUN = 4;
        req.SNRVolume.BlockCount = 2048;
        req.SNRVolume.BlockSize = 512;
        req.SNRVolume.FSType = detail::Text(fsType);
        req.Device.ClientId = 1000 + worker() * 10000 + static_cast<int32_t>(m_result.posts);
        req.Device.DeviceName = detail::Text(device);
        req.MountPointCount = 1;
        req.MountPoints = &mount;
        send(Registration, 0x350000ef, &req, &detail::Decode<repAddSNRDeviceV3Response>);
    }

    void prune()
    {
        repPruneReplicaVolumeReq req{static_cast<int32_t>(std::time(nullptr))};
        send(Pruning, 0x35000081, &req, &detail::Decode<repPruneReplicaVolumeResp>);
    }

    // Posts one request and keeps what it saw of it.
    detail::Answer send(Kind kind, unsigned long code, void* request, Decoder decode)
    {
        m_decode = decode;
        m_replies = 0;
        m_answer = detail::Answer();
        zxsDatabuf buf;
        buf.m_pData = request;
        const auto start = std::chrono::steady_clock::now();
        m_inFlightKind = kind;
        m_inFlightSince = start.time_since_epoch().count();
        const unsigned long sent = m_mgr.post(code, 0, &buf);
        m_inFlightSince = 0;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

        ++m_result.posts;
        m_result.latenciesUs.push_back(static_cast<uint32_t>(std::min(seconds * 1e6, 4e9)));
        m_result.longestSeconds = std::max(m_result.longestSeconds, seconds);
        Tally& tally = m_result.tallies[kind];
        ++tally.posts;
        if (sent != 1 || m_replies != 1 || m_answer.code != ReplyCodeFor(code)) {
            ++m_result.badReplies;
        } else if (m_answer.status == 1) {
            ++tally.succeeded;
        } else if (kind == Pruning || ExpectedRefusals(kind).count(m_answer.text) != 0) {
            ++tally.refused;
        } else {
            ++m_result.unexpectedCount;
            if (m_result.unexpected.size() < 20)
                m_result.unexpected.push_back(std::string(KindName(kind)) + ": " + m_answer.text);
        }
        return m_answer;
    }

    // The first column of the first row of a query; -1 when there is none.
    long long scalar(const std::string& sql)
    {
        long long value = -1;
        sqlite3_stmt* stmt = nullptr;
        if (m_db != nullptr && sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            value = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
        return value;
    }

    int m_process;
    int m_thread;
    std::mt19937 m_random;
    sqlite3* m_db = nullptr;  // the thread's reads of ids, beside the library
    CZxNetwork m_network;
    ZxSessionSend m_session{&m_network};
    ReplicationMgr m_mgr{&m_session};
    Decoder m_decode = nullptr;
    int m_replies = 0;
    detail::Answer m_answer;
    std::vector<int32_t> m_snapshots;  // added by this thread and not removed by it
    LoadResult m_result;
    std::atomic<int64_t> m_inFlightSince{0};  // steady clock ticks; 0 between requests
    std::atomic<int> m_inFlightKind{0};
};

// kThreads threads of process number `process`, each posting `posts`
// requests of the mix on the catalogue at path (the calling process's
// catalogue already); what they saw together, with the writer turn looked at
// once all have ended. A request of theirs that takes kStallSeconds ends the
// process at once with kStalledExit, after the requests then in flight and
// how long each had taken, and what was wrong in the catalogue as committed
// then, are written to stderr: such a run would take minutes of timeouts to
// end.
inline LoadResult RunThreads(const std::string& path, int process, int posts, unsigned seed)
{
    std::vector<std::unique_ptr<LoadThread>> loads;
    for (int t = 0; t < kThreads; ++t) loads.push_back(std::make_unique<LoadThread>(path, process, t, seed));
    std::mutex mutex;
    std::condition_variable ended;
    int running = kThreads;
    std::vector<std::thread> threads;
    for (auto& load : loads)
        threads.emplace_back([&, posts] {
            load->run(posts);
            std::lock_guard<std::mutex> guard(mutex);
            --running;
            ended.notify_one();
        });
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (!ended.wait_for(lock, std::chrono::milliseconds(100), [&] { return running == 0; })) {
            const auto now = std::chrono::steady_clock::now();
            double longest = 0;
            for (auto& load : loads) longest = std::max(longest, load->inFlightSeconds(now));
            if (longest < kStallSeconds) continue;
            std::fprintf(stderr, "Process %d: a request has waited %.1f s; the requests in flight:\n", process, longest);
            for (int t = 0; t < kThreads; ++t)
                std::fprintf(stderr, "  thread %d: %s, %.1f s\n", t, KindName(loads[t]->inFlightKind()),
                             loads[t]->inFlightSeconds(now));
            for (const std::string& fault : CatalogueFaults(path))
                std::fprintf(stderr, "  committed to the catalogue then: %s\n", fault.c_str());
            std::fflush(stderr);
            std::_Exit(kStalledExit);
        }
    }
    for (std::thread& thread : threads) thread.join();
    LoadResult all;
    for (auto& load : loads) all.add(load->result());
    all.turnFree = WriterTurnFree(path);
    return all;
}

}  // namespace concurrent_load
