// Every connection opened while recording gets a trace callback (through an
// automatic extension, so the connection set-up knows nothing of it) that
// notes the text of each statement as it starts to run.
#include "host/db/DBStatementTrace.h"

#include <sqlite3.h>

#include <atomic>
#include <mutex>
#include <set>

namespace {

std::mutex g_mutex;
std::vector<std::string> g_texts;
std::set<std::string> g_seen;
std::atomic<bool> g_recording{false};
std::atomic<size_t> g_runs{0};

int noteStatement(unsigned type, void*, void* statement, void*)
{
    if (type != SQLITE_TRACE_STMT || !g_recording.load()) return 0;
    const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
    if (sql == nullptr) return 0;
    g_runs.fetch_add(1);
    std::lock_guard<std::mutex> guard(g_mutex);
    if (g_seen.insert(sql).second) g_texts.push_back(sql);
    return 0;
}

int traceConnection(sqlite3* db, const char**, const void*)
{
    return sqlite3_trace_v2(db, SQLITE_TRACE_STMT, noteStatement, nullptr);
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

size_t DBStatementTrace::runs()
{
    return g_runs.load();
}

std::vector<std::string> DBStatementTrace::recorded()
{
    std::lock_guard<std::mutex> guard(g_mutex);
    return g_texts;
}
