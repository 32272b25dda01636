// Every connection opened while recording gets a trace callback (through an
// automatic extension, so the connection set-up knows nothing of it) that
// notes the text of each statement as it starts to run, counts the rows of
// each run, and adds up the run's steps when it ends. The rows a CREATE TABLE
// ... AS SELECT wrote are counted in its new table, by a statement of the
// trace's own that it does not record.
#include "host/db/DBStatementTrace.h"

#include <sqlite3.h>

#include <atomic>
#include <mutex>
#include <set>
#include <sstream>

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
// Set while the trace runs a statement of its own, which it does not record.
thread_local bool t_tracing = false;

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

// The table a "CREATE [TEMP] TABLE name AS SELECT ..." makes, as the text
// names it; "" for any other statement (one with IF NOT EXISTS included: it
// may fill nothing).
std::string madeTable(const char* sql)
{
    std::istringstream words(sql);
    std::string word;
    words >> word;
    if (sqlite3_stricmp(word.c_str(), "CREATE") != 0) return "";
    words >> word;
    if (sqlite3_stricmp(word.c_str(), "TEMP") == 0 || sqlite3_stricmp(word.c_str(), "TEMPORARY") == 0) words >> word;
    if (sqlite3_stricmp(word.c_str(), "TABLE") != 0) return "";
    std::string name;
    words >> name >> word;
    return sqlite3_stricmp(word.c_str(), "AS") == 0 ? name : "";
}

// The rows the finished run of stmt wrote: those its writes changed, or
// those a CREATE TABLE ... AS SELECT put into the table it made (which no
// change count includes).
long long rowsWritten(sqlite3_stmt* stmt, sqlite3_int64 changesAtStart)
{
    sqlite3* db = sqlite3_db_handle(stmt);
    if (sqlite3_stmt_readonly(stmt)) return 0;
    const std::string table = madeTable(sqlite3_sql(stmt));
    if (table.empty()) return sqlite3_total_changes64(db) - changesAtStart;
    long long rows = 0;
    t_tracing = true;
    sqlite3_stmt* count = nullptr;
    if (sqlite3_prepare_v2(db, ("SELECT COUNT(*) FROM " + table).c_str(), -1, &count, nullptr) == SQLITE_OK &&
        sqlite3_step(count) == SQLITE_ROW)
        rows = sqlite3_column_int64(count, 0);
    sqlite3_finalize(count);
    t_tracing = false;
    return rows;
}

void endRun(sqlite3_stmt* stmt)
{
    const char* sql = sqlite3_sql(stmt);
    Run run;
    {
        std::lock_guard<std::mutex> guard(g_mutex);
        auto it = g_running.find(stmt);
        if (it == g_running.end()) return;
        run = it->second;
        g_running.erase(it);
    }
    if (sql == nullptr) return;
    const long long written = rowsWritten(stmt, run.changesAtStart);
    std::lock_guard<std::mutex> guard(g_mutex);
    DBStatementCost& cost = g_costs[sql];
    ++cost.runs;
    cost.rows += run.rows + written;
    cost.steps += sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_VM_STEP, 1);
}

int traceStatement(unsigned type, void*, void* statement, void*)
{
    if (!g_recording.load() || t_tracing) return 0;
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
