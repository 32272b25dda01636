// Every connection opened while recording gets a trace callback (through an
// automatic extension, so the connection set-up knows nothing of it) that
// notes the text of each statement as it starts to run, counts the rows of
// each run, and adds up the run's steps when it ends.
#include "host/db/DBStatementTrace.h"

#include <sqlite3.h>

#include <atomic>
#include <mutex>
#include <set>

namespace {

// A run under way: its rows so far, its connection's changes at its start,
// and whether it counts rows (its rows are then the number it returns).
struct Run {
    long long rows = 0;
    sqlite3_int64 changesAtStart = 0;
    bool counts = false;
};

std::mutex g_mutex;
std::vector<std::string> g_texts;
std::set<std::string> g_seen;
std::map<sqlite3_stmt*, Run> g_running;
std::map<std::string, DBStatementCost> g_costs;
std::atomic<bool> g_recording{false};
std::atomic<size_t> g_runs{0};

void startRun(sqlite3_stmt* stmt)
{
    const char* sql = sqlite3_sql(stmt);
    if (sql == nullptr) return;
    g_runs.fetch_add(1);
    std::lock_guard<std::mutex> guard(g_mutex);
    if (g_seen.insert(sql).second) g_texts.push_back(sql);
    // A trigger's program starts within the run of its statement.
    if (g_running.count(stmt) != 0) return;
    // The steps of runs before this one are not its own.
    sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_VM_STEP, 1);
    const bool counts = sqlite3_column_count(stmt) == 1 && sqlite3_strnicmp(sql, "SELECT COUNT(", 13) == 0;
    g_running[stmt] = Run{0, sqlite3_total_changes64(sqlite3_db_handle(stmt)), counts};
}

void countRow(sqlite3_stmt* stmt)
{
    std::lock_guard<std::mutex> guard(g_mutex);
    auto it = g_running.find(stmt);
    if (it == g_running.end()) return;
    // The row is the statement's current one while the callback runs.
    it->second.rows += it->second.counts ? sqlite3_column_int64(stmt, 0) : 1;
}

void endRun(sqlite3_stmt* stmt)
{
    const char* sql = sqlite3_sql(stmt);
    std::lock_guard<std::mutex> guard(g_mutex);
    auto it = g_running.find(stmt);
    if (it == g_running.end()) return;
    const Run run = it->second;
    g_running.erase(it);
    if (sql == nullptr) return;
    DBStatementCost& cost = g_costs[sql];
    ++cost.runs;
    cost.rows += run.rows;
    if (!sqlite3_stmt_readonly(stmt))
        cost.rows += sqlite3_total_changes64(sqlite3_db_handle(stmt)) - run.changesAtStart;
    cost.steps += sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_VM_STEP, 1);
}

int traceStatement(unsigned type, void*, void* statement, void*)
{
    if (!g_recording.load()) return 0;
    sqlite3_stmt* stmt = static_cast<sqlite3_stmt*>(statement);
    if (type == SQLITE_TRACE_STMT)
        startRun(stmt);
    else if (type == SQLITE_TRACE_ROW)
        countRow(stmt);
    else if (type == SQLITE_TRACE_PROFILE)
        endRun(stmt);
    return 0;
}

int traceConnection(sqlite3* db, const char**, const void*)
{
    return sqlite3_trace_v2(db, SQLITE_TRACE_STMT | SQLITE_TRACE_ROW | SQLITE_TRACE_PROFILE, traceStatement, nullptr);
}

// The entry point as sqlite3_auto_extension takes it.
void (*const kTraceEntry)(void) = reinterpret_cast<void (*)(void)>(&traceConnection);

}  // namespace

void DBStatementTrace::start()
{
    {
        std::lock_guard<std::mutex> guard(g_mutex);
        g_texts.clear();
        g_seen.clear();
        g_running.clear();
        g_costs.clear();
    }
    g_runs = 0;
    g_recording = true;
    sqlite3_auto_extension(kTraceEntry);
}

void DBStatementTrace::stop()
{
    sqlite3_cancel_auto_extension(kTraceEntry);
    g_recording = false;
}

std::vector<std::string> DBStatementTrace::recorded()
{
    std::lock_guard<std::mutex> guard(g_mutex);
    return g_texts;
}

std::map<std::string, DBStatementCost> DBStatementTrace::costs()
{
    std::lock_guard<std::mutex> guard(g_mutex);
    return g_costs;
}

size_t DBStatementTrace::runs()
{
    return g_runs.load();
}
