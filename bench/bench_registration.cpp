// Device registration (the add-device request, 0x35000001) through post:
// - against plain sqlite3 running the same statements, kept prepared, on the
//   same catalogue, on a connection with the library's settings and on one
//   with SQLite's defaults;
// - the registration of a client's K-th device against its M-th, on one
//   catalogue holding both clients;
// - one writer thread against eight, each posting registrations back to back.
#include <sys/stat.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchHost.h"
#include "bench/BenchSupport.h"
#include "host/db/SNRTables.h"

namespace {

using bench::AddDevice;
using bench::Host;
using bench::PlainConnection;
using bench::runKept;

// The column names of a table, without its identity column when asked.
std::string columnsOf(const DBEntityTable& table, bool withIdentity)
{
    std::string names;
    for (size_t i = 0; i < table.count; ++i) {
        if (table.columns[i].identity && !withIdentity) continue;
        names += (names.empty() ? "" : ", ") + std::string(table.columns[i].name);
    }
    return names;
}

std::string insertOf(const DBEntityTable& table)
{
    std::string values;
    int n = 0;
    for (size_t i = 0; i < table.count; ++i)
        if (!table.columns[i].identity) {
            values += (n > 0 ? ", ?" : "?") + std::to_string(n + 1);
            ++n;
        }
    return "INSERT INTO " + std::string(table.name) + " (" + columnsOf(table, false) + ") VALUES (" + values + ")";
}

// The statements a registration of a new device on a new volume runs, kept
// prepared on a connection of their own.
class PlainRegistration {
public:
    PlainRegistration(const std::string& path, bench::PlainSettings settings) : m_conn(path, settings)
    {
        m_begin = m_conn.keep("BEGIN IMMEDIATE");
        m_commit = m_conn.keep("COMMIT");
        m_sameName = m_conn.keep("SELECT " + columnsOf(kYBPhysicalDeviceTable, true) +
                                 " FROM YBPhysicalDevice WHERE ClientId = ?1 AND DeviceName = ?2 ORDER BY id ASC");
        m_sameVolume = m_conn.keep("SELECT " + columnsOf(kYBPhysicalVolumeTable, true) +
                                   " FROM YBPhysicalVolume WHERE UniqueId = ?1 AND UniqueIdType = ?2 AND LUN = ?3 AND "
                                   "StartLBA = ?4 AND BlockCount = ?5 ORDER BY id ASC");
        m_addVolume = m_conn.keep(insertOf(kYBPhysicalVolumeTable));
        m_sameDevice = m_conn.keep("SELECT COUNT(*) FROM YBPhysicalDevice WHERE ClientId = ?1 AND SNRVolumeId = ?2");
        m_addDevice = m_conn.keep(insertOf(kYBPhysicalDeviceTable));
        m_addMountPoint = m_conn.keep(insertOf(kYBMountPointTable));
    }

    bool run(const AddDevice& r)
    {
        const repSNRVolume& v = r.req.SNRVolume;
        const int client = r.req.Device.ClientId;
        if (!runKept(m_begin)) return false;
        bool ok = true;
        sqlite3_bind_int(m_sameName, 1, client);
        sqlite3_bind_text(m_sameName, 2, r.deviceName.c_str(), -1, SQLITE_STATIC);
        ok = ok && runKept(m_sameName);
        sqlite3_bind_text(m_sameVolume, 1, r.uniqueId.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(m_sameVolume, 2, v.UniqueIdType);
        sqlite3_bind_int(m_sameVolume, 3, v.LUN);
        sqlite3_bind_int64(m_sameVolume, 4, v.StartLBA);
        sqlite3_bind_int64(m_sameVolume, 5, v.BlockCount);
        ok = ok && runKept(m_sameVolume);
        // UniqueId, UniqueIdType, LUN, StartLBA, BlockCount, BlockSize, Flags,
        // FSType, UniqueSnapshotID, ApplianceId, TzState, CostCategoryId, Type
        sqlite3_bind_text(m_addVolume, 1, r.uniqueId.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(m_addVolume, 2, v.UniqueIdType);
        sqlite3_bind_int(m_addVolume, 3, v.LUN);
        sqlite3_bind_int64(m_addVolume, 4, v.StartLBA);
        sqlite3_bind_int64(m_addVolume, 5, v.BlockCount);
        sqlite3_bind_int(m_addVolume, 6, v.BlockSize);
        sqlite3_bind_int(m_addVolume, 7, 0);
        sqlite3_bind_text(m_addVolume, 8, r.fsType.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(m_addVolume, 9, "", 0, SQLITE_STATIC);
        for (int i = 10; i <= 13; ++i) sqlite3_bind_int(m_addVolume, i, 0);
        ok = ok && runKept(m_addVolume);
        const sqlite3_int64 volumeId = sqlite3_last_insert_rowid(m_conn.db());
        sqlite3_bind_int(m_sameDevice, 1, client);
        sqlite3_bind_int64(m_sameDevice, 2, volumeId);
        ok = ok && sqlite3_step(m_sameDevice) == SQLITE_ROW && sqlite3_column_int(m_sameDevice, 0) == 0;
        sqlite3_reset(m_sameDevice);
        // ClientId, SNRVolumeId, DeviceName, Flags, OSDeviceName, AccessPath, FilerClientId
        sqlite3_bind_int(m_addDevice, 1, client);
        sqlite3_bind_int64(m_addDevice, 2, volumeId);
        sqlite3_bind_text(m_addDevice, 3, r.deviceName.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(m_addDevice, 4, 0);
        sqlite3_bind_text(m_addDevice, 5, "", 0, SQLITE_STATIC);
        sqlite3_bind_text(m_addDevice, 6, "", 0, SQLITE_STATIC);
        sqlite3_bind_int(m_addDevice, 7, 0);
        ok = ok && runKept(m_addDevice);
        const sqlite3_int64 deviceId = sqlite3_last_insert_rowid(m_conn.db());
        for (const std::string& path : r.paths) {
            // DeviceNameId, Path, Flags
            sqlite3_bind_int64(m_addMountPoint, 1, deviceId);
            sqlite3_bind_text(m_addMountPoint, 2, path.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_int(m_addMountPoint, 3, 0);
            ok = ok && runKept(m_addMountPoint);
        }
        return runKept(m_commit) && ok;
    }

private:
    PlainConnection m_conn;
    sqlite3_stmt* m_begin;
    sqlite3_stmt* m_commit;
    sqlite3_stmt* m_sameName;
    sqlite3_stmt* m_sameVolume;
    sqlite3_stmt* m_addVolume;
    sqlite3_stmt* m_sameDevice;
    sqlite3_stmt* m_addDevice;
    sqlite3_stmt* m_addMountPoint;
};

// Registration through post against the plain statements on a connection
// with the settings given, each side on its own client with N devices
// already.
void RegistrationAgainstPlain(benchmark::State& state, bench::PlainSettings settings)
{
    const int devices = static_cast<int>(state.range(0));
    bench::quietLog();
    bench::EmptyCatalogue catalogue("registration");
    PlainRegistration plain(catalogue.path(), settings);
    Host host;
    std::unique_ptr<AddDevice> next;
    int n = 0;
    for (int i = 0; i < devices; ++i) {
        if (!AddDevice(1, "sys-seed-" + std::to_string(i)).post(host) ||
            !plain.run(AddDevice(2, "plain-seed-" + std::to_string(i)))) {
            state.SkipWithError("seeding failed");
            return;
        }
    }
    bench::alternate(
        state,
        {"post", [&] { next.reset(new AddDevice(1, "sys-" + std::to_string(++n))); },
         [&] { return next->post(host); }},
        {"plain", [&] { next.reset(new AddDevice(2, "plain-" + std::to_string(++n))); },
         [&] { return plain.run(*next); }});
}

// Against a plain connection with the library's settings.
void BM_Registration(benchmark::State& state) { RegistrationAgainstPlain(state, bench::PlainSettings::Library); }

// Against a plain connection with SQLite's defaults.
void BM_RegistrationOnSQLiteDefaults(benchmark::State& state)
{
    RegistrationAgainstPlain(state, bench::PlainSettings::SQLiteDefaults);
}

// Seeds devices 1 .. count-1 of a client, each on a volume of its own, with
// plain sqlite3.
void seedClient(PlainConnection& conn, int client, int count)
{
    sqlite3_stmt* volume = conn.keep(
        "INSERT INTO YBPhysicalVolume (UniqueId, UniqueIdType, LUN, BlockCount, BlockSize, FSType) "
        "VALUES ('seed-' || ?1 || '-' || ?2, 1, 4, 2048, 512, 'NTFS')");
    sqlite3_stmt* device = conn.keep(
        "INSERT INTO YBPhysicalDevice (ClientId, SNRVolumeId, DeviceName) VALUES (?1, ?2, '/dev/seed-' || ?3)");
    conn.exec("BEGIN");
    for (int i = 1; i < count; ++i) {
        sqlite3_bind_int(volume, 1, client);
        sqlite3_bind_int(volume, 2, i);
        if (!runKept(volume)) throw std::runtime_error("seeding a volume failed");
        sqlite3_bind_int(device, 1, client);
        sqlite3_bind_int64(device, 2, sqlite3_last_insert_rowid(conn.db()));
        sqlite3_bind_int(device, 3, i);
        if (!runKept(device)) throw std::runtime_error("seeding a device failed");
    }
    conn.exec("COMMIT");
}

// The registration of client 1's K-th device against client 2's M-th, both
// through post on one catalogue. After each, the device just registered is
// removed again (untimed), so that every run registers the K-th or M-th.
void BM_RegistrationScaling(benchmark::State& state)
{
    const int k = static_cast<int>(state.range(0));
    const int m = static_cast<int>(state.range(1));
    bench::quietLog();
    bench::EmptyCatalogue catalogue("scaling");
    PlainConnection conn(catalogue.path());
    seedClient(conn, 1, k);
    seedClient(conn, 2, m);
    sqlite3_stmt* forget = conn.keep(
        "DELETE FROM YBMountPoint WHERE DeviceNameId = ?1");
    sqlite3_stmt* forgetDevice = conn.keep("DELETE FROM YBPhysicalDevice WHERE id = ?1");
    sqlite3_stmt* forgetVolume = conn.keep("DELETE FROM YBPhysicalVolume WHERE id = ?1");
    Host host;
    std::unique_ptr<AddDevice> next;
    int n = 0;
    auto prepare = [&](int client) {
        if (next && host.deviceId > 0) {
            sqlite3_bind_int(forget, 1, host.deviceId);
            sqlite3_bind_int(forgetDevice, 1, host.deviceId);
            sqlite3_bind_int(forgetVolume, 1, host.volumeId);
            if (!runKept(forget) || !runKept(forgetDevice) || !runKept(forgetVolume))
                throw std::runtime_error("removing a registration failed");
        }
        next.reset(new AddDevice(client, "scaling-" + std::to_string(++n)));
        host.deviceId = 0;
    };
    bench::alternate(state, {"device_k", [&] { prepare(1); }, [&] { return next->post(host); }},
                     {"device_m", [&] { prepare(2); }, [&] { return next->post(host); }});
}

// A pool of writer threads, each with its own service object, that post
// registrations in phases: in each phase the first `active` threads post
// `perThread` registrations each, back to back.
class WriterPool {
public:
    explicit WriterPool(int threads) : m_hosts(static_cast<size_t>(threads))
    {
        for (int t = 0; t < threads; ++t) {
            m_hosts[static_cast<size_t>(t)].reset(new Host);
            m_threads.emplace_back([this, t] { work(t); });
        }
    }
    ~WriterPool()
    {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_stop = true;
        }
        m_start.notify_all();
        for (std::thread& t : m_threads) t.join();
    }

    // Runs one phase; the latencies of its requests (µs) are appended, the
    // wall time of the phase (s) is returned.
    double phase(int active, int perThread, std::vector<double>& latencies, int& failures)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_active = active;
        m_perThread = perThread;
        m_running = active;
        m_latencies.clear();
        m_failures = 0;
        ++m_phase;
        auto start = std::chrono::steady_clock::now();
        m_start.notify_all();
        m_done.wait(lock, [this] { return m_running == 0; });
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        latencies.insert(latencies.end(), m_latencies.begin(), m_latencies.end());
        failures += m_failures;
        return wall;
    }

private:
    void work(int t)
    {
        Host& host = *m_hosts[static_cast<size_t>(t)];
        unsigned long seen = 0;
        int serial = 0;
        std::vector<double> mine;
        while (true) {
            int perThread;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_start.wait(lock, [&] { return m_stop || (m_phase != seen && t < m_active); });
                if (m_stop) return;
                seen = m_phase;
                perThread = m_perThread;
            }
            mine.clear();
            int failed = 0;
            for (int i = 0; i < perThread; ++i) {
                AddDevice request(100 + t, "writer-" + std::to_string(t) + "-" + std::to_string(++serial));
                auto begin = std::chrono::steady_clock::now();
                if (!request.post(host)) ++failed;
                mine.push_back(
                    std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin).count());
            }
            std::lock_guard<std::mutex> guard(m_mutex);
            m_latencies.insert(m_latencies.end(), mine.begin(), mine.end());
            m_failures += failed;
            if (--m_running == 0) m_done.notify_all();
        }
    }

    std::vector<std::unique_ptr<Host>> m_hosts;
    std::vector<std::thread> m_threads;
    std::mutex m_mutex;
    std::condition_variable m_start;
    std::condition_variable m_done;
    unsigned long m_phase = 0;
    int m_active = 0;
    int m_perThread = 0;
    int m_running = 0;
    bool m_stop = false;
    std::vector<double> m_latencies;
    int m_failures = 0;
};

// One writer thread against T, in turns: each iteration runs a phase of one
// thread posting R registrations and a phase of T threads posting R each.
void BM_Writers(benchmark::State& state)
{
    const int threads = static_cast<int>(state.range(0));
    const int perThread = static_cast<int>(state.range(1));
    bench::quietLog();
    bench::EmptyCatalogue catalogue("writers");
    WriterPool pool(threads);
    std::vector<double> single;
    std::vector<double> many;
    double singleWall = 0;
    double manyWall = 0;
    int failures = 0;
    bool singleFirst = true;
    for (auto _ : state) {
        double a;
        double b;
        if (singleFirst) {
            a = pool.phase(1, perThread, single, failures);
            b = pool.phase(threads, perThread, many, failures);
        } else {
            b = pool.phase(threads, perThread, many, failures);
            a = pool.phase(1, perThread, single, failures);
        }
        singleWall += a;
        manyWall += b;
        state.SetIterationTime(a + b);
        singleFirst = !singleFirst;
    }
    const double singleRate = static_cast<double>(single.size()) / singleWall;
    const double manyRate = static_cast<double>(many.size()) / manyWall;
    const double singleP99 = bench::percentile(single, 0.99);
    const double manyP99 = bench::percentile(many, 0.99);
    state.counters["rate_1"] = singleRate;
    state.counters["rate_T"] = manyRate;
    state.counters["rate_ratio"] = manyRate / singleRate;
    state.counters["p99_1_us"] = singleP99;
    state.counters["p99_T_us"] = manyP99;
    state.counters["p99_ratio"] = manyP99 / singleP99;
    state.counters["max_T_us"] = bench::percentile(many, 1.0);
    state.counters["p50_1_us"] = bench::percentile(single, 0.5);
    state.counters["p50_T_us"] = bench::percentile(many, 0.5);
    state.counters["p90_1_us"] = bench::percentile(single, 0.9);
    state.counters["p90_T_us"] = bench::percentile(many, 0.9);
    struct stat st;
    if (stat((catalogue.path() + "-wal").c_str(), &st) == 0) state.counters["wal_MB"] = st.st_size / 1e6;
    state.counters["failures"] = failures;
    if (failures != 0) state.SkipWithError("a registration failed");
}

}  // namespace

BENCHMARK(BM_Registration)->Arg(10)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RegistrationOnSQLiteDefaults)->Arg(10)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RegistrationScaling)->Args({1, 10})->Args({1000, 100000})->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Writers)->Args({8, 10})->Args({8, 200})->UseManualTime()->Unit(benchmark::kMillisecond);
