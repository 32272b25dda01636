// The connections to the catalogue: the file in use, each thread's own
// connection, and the one connection per file on which the transactions of
// all threads run, one after the other, in their turns.
#include "host/db/DBConnection.h"
#include "host/db/DBJournal.h"

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>
#include <utility>

#include "host/LockOrder.h"
#include "host/ZXPlatformInfo.h"
#include "host/db/DBPerFile.h"
#include "host/db/DBtable.h"

namespace {

const char kSourceFile[] = "DBConnection";

std::mutex g_catalogueMutex;
std::string g_cataloguePath;  // set by useCatalogue
bool g_catalogueSet = false;
// Counts the changes of the catalogue; changed under g_catalogueMutex, read
// without it before every statement.
std::atomic<unsigned long> g_generation{1};

// Set in a child of fork of a process that had opened a connection to the
// catalogue (and in its children).
std::atomic<bool> g_inherited{false};

void markInherited() { g_inherited.store(true, std::memory_order_release); }

// Before the process's first connection: its children of fork know from then
// on that they were forked from a process that used the catalogue.
void watchForks()
{
    static const bool watched = pthread_atfork(nullptr, nullptr, &markInherited) == 0;
    static_cast<void>(watched);
}

// A thread's connection, let go with the thread. In a child of fork the
// connection is its parent's (its SQLite state, its turns): it is kept
// rather than closed, reachable from keptInChild.
class ThreadConnection {
public:
    ~ThreadConnection()
    {
        if (!m_conn || !dbCatalogueInherited()) return;
        static std::vector<std::shared_ptr<DBConnection>>* const kept =
            new std::vector<std::shared_ptr<DBConnection>>();
        kept->push_back(std::move(m_conn));
    }
    std::shared_ptr<DBConnection>& get() { return m_conn; }

private:
    std::shared_ptr<DBConnection> m_conn;
};

thread_local ThreadConnection t_ownConnection;
thread_local std::shared_ptr<DBConnection>& t_conn = t_ownConnection.get();
// The writing connection while the thread's transaction runs on it.
thread_local ThreadConnection t_writerConnection;
thread_local std::shared_ptr<DBConnection>& t_writer = t_writerConnection.get();

std::string resolvePath(unsigned long& generation)
{
    std::lock_guard<std::mutex> guard(g_catalogueMutex);
    generation = g_generation;
    if (g_catalogueSet) return g_cataloguePath;
    std::string path;
    ZXPlatformInfo info;
    if (info.getString("Database", "CatalogueFile", path) && !path.empty()) return path;
    const char* env = std::getenv("REPLMGR_DB");
    if (env != nullptr && *env != '\0') return env;
    return "replmgr.db";
}

unsigned long currentGeneration()
{
    return g_generation.load(std::memory_order_acquire);
}

int openConnection(const std::string& path, unsigned long generation, std::shared_ptr<DBConnection>& out)
{
    watchForks();
    auto conn = std::make_shared<DBConnection>();
    conn->path = path;
    conn->generation = generation;
    int rc = sqlite3_open_v2(conn->path.c_str(), &conn->db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        int code = conn->db ? sqlite3_extended_errcode(conn->db) : rc;
        log_error(kSourceFile, __LINE__, "Cannot open the catalogue %s: %s", conn->path.c_str(), sqlite3_errstr(code));
        return code;
    }
    sqlite3_extended_result_codes(conn->db, 1);
    dbSetBusyHandling(conn->db);
    conn->writers = DBWriterQueue::of(conn->path);
    rc = dbPrepareCatalogue(*conn, dbCatalogueMigrations());
    if (rc == 0) rc = dbTuneConnection(*conn);
    if (rc != 0) return rc;
    // Only beside a file that is a catalogue.
    conn->processes = DBProcessTurn::of(conn->path);
    const std::pair<const char*, sqlite3_stmt**> kept[] = {
        {"BEGIN IMMEDIATE", &conn->beginStmt}, {"COMMIT", &conn->commitStmt}, {"ROLLBACK", &conn->rollbackStmt}};
    for (const auto& k : kept) {
        rc = sqlite3_prepare_v3(conn->db, k.first, -1, SQLITE_PREPARE_PERSISTENT, k.second, nullptr);
        if (rc != SQLITE_OK) {
            log_error(kSourceFile, __LINE__, "Cannot prepare %s on the catalogue %s: %s", k.first, conn->path.c_str(),
                      sqlite3_errmsg(conn->db));
            return dbErrorCode(*conn, rc);
        }
    }
    out = conn;
    return 0;
}

}  // namespace

DBConnection::~DBConnection()
{
    statements.clear();
    for (sqlite3_stmt* stmt : {beginStmt, commitStmt, rollbackStmt}) sqlite3_finalize(stmt);
    if (db != nullptr) sqlite3_close_v2(db);
    if (writing) leaveWriters();
}

namespace {
const char kWriterTurn[] = "writer turn";
std::atomic<long long> g_writerTimeoutMs{kBusyTimeoutMs};
}  // namespace

void dbSetBusyHandling(sqlite3* db)
{
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
}

void dbSetWriterTimeout(std::chrono::milliseconds timeout)
{
    g_writerTimeoutMs.store(timeout.count() > 0 ? timeout.count() : kBusyTimeoutMs);
}

// Only the thread that was given the turn sets `writing`, and only the
// holder clears it: a waiter that gives up leaves the flag of the holder as
// it is (the writing connection is shared by every thread's transactions).
bool DBConnection::enterWriters()
{
    lock_order::taking(lock_order::WriterTurn, kWriterTurn);
    const long long timeoutMs = g_writerTimeoutMs.load();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool entered = writers->enter(std::chrono::milliseconds(timeoutMs));
    if (entered && processes) {
        // The rest of the wait, among the other processes' writers.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (!processes->enter(std::max(left, std::chrono::milliseconds(0)))) {
            writers->leave();
            entered = false;
        }
    }
    if (!entered) {
        log_error(kSourceFile, __LINE__, "No turn to write to the catalogue %s within %lld ms", path.c_str(),
                  timeoutMs);
        return false;
    }
    lock_order::taken(lock_order::WriterTurn, kWriterTurn);
    writing = true;
    return true;
}

void DBConnection::leaveWriters()
{
    if (!writing) return;
    writing = false;
    lock_order::released(lock_order::WriterTurn, kWriterTurn);
    if (processes) processes->leave();
    writers->leave();
}

DBWriteTurn::DBWriteTurn(DBConnection& conn, sqlite3_stmt* stmt) : m_conn(conn)
{
    if (conn.depth > 0 || conn.writing || stmt == nullptr || sqlite3_stmt_readonly(stmt)) return;
    m_granted = m_entered = conn.enterWriters();
}

DBWriteTurn::~DBWriteTurn()
{
    if (m_entered) m_conn.leaveWriters();
}

int dbRunKept(DBConnection& conn, sqlite3_stmt* stmt)
{
    int rc = sqlite3_step(stmt);
    int code = rc == SQLITE_DONE || rc == SQLITE_ROW ? 0 : dbErrorCode(conn, rc);
    sqlite3_reset(stmt);
    return code;
}

int dbExec(DBConnection& conn, const char* sql)
{
    char* msg = nullptr;
    int rc = sqlite3_exec(conn.db, sql, nullptr, nullptr, &msg);
    if (msg != nullptr) sqlite3_free(msg);
    return rc == SQLITE_OK ? 0 : dbErrorCode(conn, rc);
}

int dbErrorCode(DBConnection& conn, int rc)
{
    int code = sqlite3_extended_errcode(conn.db);
    if (code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE) code = rc;
    if (code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE) code = SQLITE_ERROR;
    return code;
}

bool dbCatalogueInherited() { return g_inherited.load(std::memory_order_acquire); }

int dbThreadConnection(std::shared_ptr<DBConnection>& conn)
{
    // Nothing of the parent's catalogue state is touched.
    if (dbCatalogueInherited()) return SQLITE_MISUSE;
    if (t_writer && t_writer->depth > 0) {
        conn = t_writer;
        return 0;
    }
    t_writer.reset();
    if (t_conn && t_conn->generation == currentGeneration()) {
        conn = t_conn;
        return 0;
    }
    t_conn.reset();
    unsigned long generation = 0;
    const std::string path = resolvePath(generation);
    int rc = openConnection(path, generation, t_conn);
    if (rc != 0) return rc;
    conn = t_conn;
    return 0;
}

int dbWritingConnection(DBConnection& own, std::shared_ptr<DBConnection>& writer)
{
    if (own.writer) {
        writer = own.writer;
        return 0;
    }
    // Shared by the connections to the same file opened for the same
    // catalogue generation; the last of them closes it. Opened under no lock
    // of the process's (only under that file's): the opening may wait for the
    // database's locks and the side file's.
    int rc = 0;
    writer = DBPerFile<DBConnection>::of(own.path + '\n' + std::to_string(own.generation),
                                         [&own, &rc]() -> std::shared_ptr<DBConnection> {
                                             std::shared_ptr<DBConnection> opened;
                                             rc = openConnection(own.path, own.generation, opened);
                                             return rc == 0 ? opened : nullptr;
                                         });
    if (!writer) return rc != 0 ? rc : SQLITE_CANTOPEN;
    own.writer = writer;
    return 0;
}

void dbSetThreadWriter(const std::shared_ptr<DBConnection>& writer)
{
    t_writer = writer;
}

void dbUseCatalogue(const std::string& path)
{
    // The parent's connections are not the child's to close.
    if (dbCatalogueInherited()) return;
    {
        std::lock_guard<std::mutex> guard(g_catalogueMutex);
        g_cataloguePath = path;
        g_catalogueSet = !path.empty();
        ++g_generation;
    }
    if (!t_writer) t_conn.reset();
    std::shared_ptr<DBConnection> conn;
    dbThreadConnection(conn);
}

std::string dbCataloguePath()
{
    unsigned long generation;
    return resolvePath(generation);
}

int dbStatementConnection(DBtran* tran, std::shared_ptr<DBConnection>& conn)
{
    if (tran != nullptr) return tran->statementConnection(conn);
    return dbThreadConnection(conn);
}

