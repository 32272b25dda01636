// Whole-table lists through post against plain sqlite3 reading the same rows:
// the job volume history (message version 80) and the snap engines (version
// 3). Each side builds the same records; post also builds the reply array and
// sends the reply, whose count is checked. Besides the times, the heap the
// request holds at its peak per row (C++ heap and reply array) beside the
// record's own size (with its heap texts) plus its reply entry.
//
// Each size N has a catalogue of its own, not analysed: N job history entries
// and N snap engines.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchCatalogues.h"
#include "bench/BenchHeap.h"
#include "bench/BenchHost.h"
#include "bench/BenchSupport.h"
#include "cleanup/JobVolumeHistory.h"
#include "host/ZxFramework.h"
#include "host/db/DBtable.h"
#include "policies/SnapEngineRecords.h"
#include "policies/SnapEngines.h"
#include "service/ReplicationMgr.h"

namespace {

const unsigned long kJobHistoryList80 = 0x35000243;
const unsigned long kSnapEngineListV3 = 0x35000139;

void Seed(sqlite3* db, int n)
{
    const char* const statements[] = {
        "INSERT INTO YBJobVolumeHistory (JobId_l, CellId, SrcVolId, SrcClientId, SrcClientName, SrcBlockCount, "
        "SrcBlockSize, SrcDeviceName, DstVolId, DstClientId, DstClientName, DstBlockCount, DstBlockSize, DstDeviceName, "
        "DstCostCategoryId, JobId_h, CopyMgrType, SpaceUsed) VALUES (1000 + ?1 / 4, 2, ?1, 1 + ?1 % 50, "
        "'client-' || (1 + ?1 % 50), 20971520, 512, '/dev/disk/by-id/wwn-0x600a0b80' || ?1, 100000 + ?1, "
        "51 + ?1 % 10, 'replica-host-0' || (?1 % 10), 20971520, 512, '/mnt/replicas/volume-' || ?1, 3, 0, 1, "
        "1048576 * (?1 % 7))",
        "INSERT INTO YBSnapEngineInfo (name, Flags, MountCmdHint, UnmountCmdHint, SyncCmdHint, UnsyncCmdHint, "
        "SnapCmdHint, UnsnapCmdHint, OsType, Type, RollbackCmdHint) VALUES ('engine-' || ?1, ?1 % 16, "
        "'mount -t nfs %s %s', 'umount %s', 'sync', '', 'snapshot create %s %s', 'snapshot delete %s', 1, ?1 % 6, "
        "'snapshot restore %s')",
    };
    for (const char* sql : statements) {
        sqlite3_stmt* s = nullptr;
        BenchCheck(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), db, "prepare");
        for (int i = 1; i <= n; ++i) {
            sqlite3_reset(s);
            sqlite3_bind_int(s, 1, i);
            BenchCheck(sqlite3_step(s), db, "insert");
        }
        sqlite3_finalize(s);
    }
}

BenchCatalogues g_catalogues("lists", &Seed);

using bench::columnText;

// Plain sqlite3: the job history rows in id order, each into a record.
const char kHistorySql[] =
    "SELECT id, JobId_l, CellId, SrcVolId, SrcClientId, SrcClientName, SrcBlockCount, SrcBlockSize, SrcDeviceName, "
    "DstVolId, DstClientId, DstClientName, DstBlockCount, DstBlockSize, DstDeviceName, DstCostCategoryId, "
    "FurtherNumber1, FurtherNumber2, JobId_h, CopyMgrType, SpaceUsed FROM YBJobVolumeHistory WHERE id > ?1 "
    "ORDER BY id ASC";

void ReadHistory(sqlite3_stmt* s, std::vector<YBJobVolumeHistoryRecord80_t>& list)
{
    sqlite3_bind_int(s, 1, 0);
    while (sqlite3_step(s) == SQLITE_ROW) {
        list.emplace_back();
        YBJobVolumeHistoryRecord80_t& r = list.back();
        r.id = sqlite3_column_int(s, 0);
        r.JobId = (static_cast<long long>(sqlite3_column_int(s, 18)) << 32) |
                  static_cast<uint32_t>(sqlite3_column_int(s, 1));
        r.CellId = sqlite3_column_int(s, 2);
        r.SrcVolId = sqlite3_column_int(s, 3);
        r.SrcClientId = sqlite3_column_int(s, 4);
        r.SrcClientName = columnText(s, 5);
        r.SrcBlockCount = sqlite3_column_int64(s, 6);
        r.SrcBlockSize = sqlite3_column_int(s, 7);
        r.SrcDeviceName = columnText(s, 8);
        r.DstVolId = sqlite3_column_int(s, 9);
        r.DstClientId = sqlite3_column_int(s, 10);
        r.DstClientName = columnText(s, 11);
        r.DstBlockCount = sqlite3_column_int64(s, 12);
        r.DstBlockSize = sqlite3_column_int(s, 13);
        r.DstDeviceName = columnText(s, 14);
        r.DstCostCategoryId = sqlite3_column_int(s, 15);
        r.FurtherNumber1 = sqlite3_column_int(s, 16);
        r.FurtherNumber2 = sqlite3_column_int64(s, 17);
        r.CopyMgrType = sqlite3_column_int(s, 19);
        r.SpaceUsed = sqlite3_column_int64(s, 20);
    }
    sqlite3_reset(s);
}

// Plain sqlite3: the snap engines in id order, each into a record.
const char kEngineSql[] =
    "SELECT id, name, Flags, MountCmdHint, UnmountCmdHint, SyncCmdHint, UnsyncCmdHint, SnapCmdHint, UnsnapCmdHint, "
    "OsType, Type, RollbackCmdHint FROM YBSnapEngineInfo WHERE id > ?1 ORDER BY id ASC";

void ReadEngines(sqlite3_stmt* s, std::vector<SnapEngineInfoV3Record_t>& list)
{
    sqlite3_bind_int(s, 1, 0);
    while (sqlite3_step(s) == SQLITE_ROW) {
        list.emplace_back();
        SnapEngineInfoV3Record_t& r = list.back();
        r.id = sqlite3_column_int(s, 0);
        r.name = columnText(s, 1);
        const int flags = sqlite3_column_int(s, 2);
        r.MultipleSnaps = (flags & SNAPENGINE_FLAG_MULTIPLE_SNAPS) != 0;
        r.CrossHostMount = (flags & SNAPENGINE_FLAG_CROSS_HOST_MOUNT) != 0;
        r.SameHostMount = (flags & SNAPENGINE_FLAG_SAME_HOST_MOUNT) != 0;
        r.SyncFunction = (flags & SNAPENGINE_FLAG_SYNC_FUNCTION) != 0;
        r.MountCmdHint = columnText(s, 3);
        r.UnmountCmdHint = columnText(s, 4);
        r.SyncCmdHint = columnText(s, 5);
        r.UnsyncCmdHint = columnText(s, 6);
        r.SnapCmdHint = columnText(s, 7);
        r.UnsnapCmdHint = columnText(s, 8);
        r.OsType = sqlite3_column_int(s, 9);
        r.Type = sqlite3_column_int(s, 10);
        r.RollbackCmdHint = columnText(s, 11);
    }
    sqlite3_reset(s);
}

// The heap a text holds beyond the record.
size_t HeapOf(const std::string& s) { return s.capacity() > 15 ? malloc_usable_size(const_cast<char*>(s.data())) : 0; }

size_t OwnSize(const YBJobVolumeHistoryRecord80_t& r)
{
    return sizeof r + HeapOf(r.SrcClientName) + HeapOf(r.SrcDeviceName) + HeapOf(r.DstClientName) +
           HeapOf(r.DstDeviceName);
}

size_t OwnSize(const SnapEngineInfoV3Record_t& r)
{
    return sizeof r + HeapOf(r.name) + HeapOf(r.MountCmdHint) + HeapOf(r.UnmountCmdHint) + HeapOf(r.SyncCmdHint) +
           HeapOf(r.UnsyncCmdHint) + HeapOf(r.SnapCmdHint) + HeapOf(r.UnsnapCmdHint) + HeapOf(r.RollbackCmdHint);
}

// The list request through post; the reply's status and count are checked as
// it is sent. Reply: the list reply type, which has status and count.
template <typename Reply>
class PostSide {
public:
    PostSide(unsigned long code, int n) : m_code(code), m_n(n), m_session(&m_network), m_mgr(&m_session)
    {
        m_network.setSendObserver([this](unsigned long, const void* data, unsigned long length) {
            const auto* reply = static_cast<const Reply*>(data);
            m_complete = length == sizeof(Reply) && reply->status == 1 && reply->count == static_cast<uint32_t>(m_n);
        });
    }
    bool run()
    {
        m_complete = false;
        zxsDatabuf buf;
        return m_mgr.post(m_code, 0, &buf) == 1 && m_complete;
    }

private:
    unsigned long m_code;
    int m_n;
    bool m_complete = false;
    CZxNetwork m_network;
    ZxSessionSend m_session;
    ReplicationMgr m_mgr;
};

// The list through post in turns with plain sqlite3 reading the same rows
// into the same records, then the heap of one request of each side. The
// plain side makes room for its records once, at the number of rows, as the
// library makes its records once at their number.
template <typename Reply, typename Record, typename Wire, typename Read>
void AgainstPlain(benchmark::State& state, unsigned long code, const char* sql, Read read)
{
    const int n = static_cast<int>(state.range(0));
    const std::string& path = g_catalogues.get(n);
    DBtran::useCatalogue(path);
    bench::quietHost();
    PostSide<Reply> post(code, n);
    bench::PlainConnection plain(path);
    sqlite3_stmt* stmt = plain.keep(sql);
    bench::alternate(state, {"post", nullptr, [&] { return post.run(); }},
                     {"plain", nullptr, [&] {
                          std::vector<Record> list;
                          list.reserve(static_cast<size_t>(n));
                          read(stmt, list);
                          return list.size() == static_cast<size_t>(n);
                      }});
    state.SetItemsProcessed(state.iterations() * n);

    bool ok = true;
    const long long postPeak = bench::HeapCount::peakOf([&] { ok = post.run(); });
    size_t own = 0;
    const long long plainPeak = bench::HeapCount::peakOf([&] {
        std::vector<Record> list;
        list.reserve(static_cast<size_t>(n));
        read(stmt, list);
        for (const Record& r : list) own += OwnSize(r);
    });
    if (!ok) state.SkipWithError("the measured request failed");
    state.counters["post_B_per_row"] = static_cast<double>(postPeak) / n;
    state.counters["plain_B_per_row"] = static_cast<double>(plainPeak) / n;
    // The record's own size (with its heap texts) plus its reply entry.
    state.counters["aim_B_per_row"] = static_cast<double>(own) / n + sizeof(Wire);
}

void BM_JobHistoryList(benchmark::State& state)
{
    AgainstPlain<repGetYBJobVolumeHistoryList80Resp, YBJobVolumeHistoryRecord80_t, repYBJobVolumeHistory80Rec>(
        state, kJobHistoryList80, kHistorySql, ReadHistory);
}

void BM_SnapEngineList(benchmark::State& state)
{
    AgainstPlain<repGetSnapEngineInfoV3ListResp, SnapEngineInfoV3Record_t, repSnapEngineInfoV3>(
        state, kSnapEngineListV3, kEngineSql, ReadEngines);
}

}  // namespace

BENCHMARK(BM_JobHistoryList)->Arg(10)->Arg(1000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnapEngineList)->Arg(10)->Arg(1000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
