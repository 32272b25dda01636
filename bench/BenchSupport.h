// What the benchmarks share: an empty catalogue of their own, plain sqlite3
// helpers, and the measurement of two ways of doing one thing in turns within
// one run.
#pragma once

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchCatalogues.h"
#include "host/db/DBConnection.h"
#include "host/db/DBtable.h"
#include "rows/RowFamily.h"

namespace bench {

// A catalogue of its own with the library's schema, made the library's
// catalogue; removed with the object.
class EmptyCatalogue {
public:
    explicit EmptyCatalogue(const char* name) : m_catalogues(name, [](sqlite3*, int) {}), m_path(m_catalogues.get(0)) {}
    const std::string& path() const { return m_path; }

private:
    BenchCatalogues m_catalogues;
    std::string m_path;
};

// The settings a plain sqlite3 connection opens with.
enum class PlainSettings {
    // The library's: opened as the library opens its connections
    // (serialized, extended result codes, its busy timeout), then given the
    // journal mode, synchronisation, page cache, memory map and log size
    // limit of the library's own connection to the same file. SQLite's own
    // checkpoint stays on the committing thread, at 1,000 pages (the
    // library's checkpoint size; the library runs its checkpoints on a
    // thread of their own).
    Library,
    // SQLite's defaults: opened read-write, nothing set (the write-ahead log
    // stays, as the file keeps it).
    SQLiteDefaults,
};

// A plain sqlite3 connection to a catalogue: every benchmark's plain side
// opens its connection here. With the library's settings, the calling
// thread's library connection must be to the same file (DBtran::useCatalogue
// with that path).
class PlainConnection {
public:
    explicit PlainConnection(const std::string& path, PlainSettings settings = PlainSettings::Library)
    {
        const int flags = SQLITE_OPEN_READWRITE | (settings == PlainSettings::Library ? SQLITE_OPEN_FULLMUTEX : 0);
        BenchCheck(sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr), m_db, "open");
        if (settings == PlainSettings::SQLiteDefaults) return;
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        std::shared_ptr<DBConnection> library;
        if (dbThreadConnection(library) != 0 || library->path != path)
            throw std::runtime_error("no library connection to " + path);
        for (const char* pragma : {"journal_mode", "synchronous", "cache_size", "mmap_size", "journal_size_limit"}) {
            sqlite3_stmt* stmt = nullptr;
            const std::string query = std::string("PRAGMA ") + pragma;
            BenchCheck(sqlite3_prepare_v2(library->db, query.c_str(), -1, &stmt, nullptr), library->db, pragma);
            const bool read = sqlite3_step(stmt) == SQLITE_ROW;
            const std::string value = read ? reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)) : "";
            sqlite3_finalize(stmt);
            if (!read) throw std::runtime_error(std::string("cannot read ") + pragma);
            exec(query + " = " + value);
        }
    }
    ~PlainConnection()
    {
        for (sqlite3_stmt* s : m_kept) sqlite3_finalize(s);
        sqlite3_close(m_db);
    }
    PlainConnection(const PlainConnection&) = delete;
    PlainConnection& operator=(const PlainConnection&) = delete;

    sqlite3* db() const { return m_db; }
    void exec(const std::string& sql) { BenchCheck(sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr), m_db, sql.c_str()); }
    // A statement prepared once and kept with the connection.
    sqlite3_stmt* keep(const std::string& sql)
    {
        sqlite3_stmt* stmt = nullptr;
        BenchCheck(sqlite3_prepare_v3(m_db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr), m_db, sql.c_str());
        m_kept.push_back(stmt);
        return stmt;
    }

private:
    sqlite3* m_db = nullptr;
    std::vector<sqlite3_stmt*> m_kept;
};

// A text column of the current row at its own length ("" for null).
inline std::string columnText(sqlite3_stmt* stmt, int column)
{
    const unsigned char* t = sqlite3_column_text(stmt, column);
    return t != nullptr ? std::string(reinterpret_cast<const char*>(t), static_cast<size_t>(sqlite3_column_bytes(stmt, column)))
                        : std::string();
}

// Every column of the statement's current row into a cursor family's row
// structure, as the row facility lays it out (texts cut to their field).
template <typename Desc, typename Row>
void copyColumns(sqlite3_stmt* stmt, Row& row)
{
    char* base = reinterpret_cast<char*>(&row);
    int col = 0;
    for (const ZXDBColumnDef& c : Desc::columns) {
        if (c.letter == 'i') {
            const int v = sqlite3_column_int(stmt, col);
            std::memcpy(base + c.offset, &v, sizeof v);
        } else if (c.letter == 'b') {
            const long long v = sqlite3_column_int64(stmt, col);
            std::memcpy(base + c.offset, &v, sizeof v);
        } else {
            zxstrcpy(base + c.offset, reinterpret_cast<const char*>(sqlite3_column_text(stmt, col)), c.size);
        }
        ++col;
    }
}

// Runs a kept statement that returns no rows; false on failure.
inline bool runKept(sqlite3_stmt* stmt)
{
    int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    return rc == SQLITE_DONE;
}

inline double percentile(std::vector<double> values, double p)
{
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    size_t at = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

// One way of doing the work: `prepare` (may be empty) runs untimed before
// each timed `run`, which returns false on failure.
struct Side {
    const char* name;
    std::function<void()> prepare;
    std::function<bool()> run;
};

inline bool timedRun(const Side& side, std::vector<double>& micros)
{
    if (side.prepare) side.prepare();
    auto start = std::chrono::steady_clock::now();
    bool ok = side.run();
    micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    return ok;
}

// Times both sides in every iteration, the first one first in even
// iterations and second in odd ones, and reports the median time of each in
// µs as "<name>_us", their ratio first / second as "ratio", and the 99th
// percentile of each as "<name>_p99_us".
inline void alternate(benchmark::State& state, const Side& first, const Side& second)
{
    std::vector<double> a;
    std::vector<double> b;
    bool firstLeads = true;
    for (auto _ : state) {
        bool ok = firstLeads ? timedRun(first, a) && timedRun(second, b) : timedRun(second, b) && timedRun(first, a);
        if (!ok) {
            state.SkipWithError("a side failed");
            return;
        }
        state.SetIterationTime((a.back() + b.back()) / 1e6);
        firstLeads = !firstLeads;
    }
    const double ma = percentile(a, 0.5);
    const double mb = percentile(b, 0.5);
    state.counters[std::string(first.name) + "_us"] = ma;
    state.counters[std::string(second.name) + "_us"] = mb;
    state.counters[std::string(first.name) + "_p99_us"] = percentile(a, 0.99);
    state.counters[std::string(second.name) + "_p99_us"] = percentile(b, 0.99);
    state.counters["ratio"] = mb > 0 ? ma / mb : 0.0;
}

}  // namespace bench
