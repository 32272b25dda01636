#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>

#include "host/ZXPlatformInfo.h"
#include "host/db/DBConnection.h"
#include "host/db/DBtable.h"

namespace {

const char kSourceFile[] = "DBtran";

std::mutex g_catalogueMutex;
std::string g_cataloguePath;  // set by useCatalogue
bool g_catalogueSet = false;
// Counts the changes of the catalogue; changed under g_catalogueMutex, read
// without it before every statement.
std::atomic<unsigned long> g_generation{1};

thread_local std::shared_ptr<DBConnection> t_conn;

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

int openConnection(std::shared_ptr<DBConnection>& out)
{
    auto conn = std::make_shared<DBConnection>();
    conn->path = resolvePath(conn->generation);
    int rc = sqlite3_open_v2(conn->path.c_str(), &conn->db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        int code = conn->db ? sqlite3_extended_errcode(conn->db) : rc;
        log_error(kSourceFile, __LINE__, "Cannot open the catalogue %s: %s", conn->path.c_str(), sqlite3_errstr(code));
        return code;
    }
    sqlite3_extended_result_codes(conn->db, 1);
    sqlite3_busy_timeout(conn->db, kBusyTimeoutMs);
    conn->writers = DBWriterQueue::of(conn->path);
    rc = dbPrepareCatalogue(*conn, dbCatalogueMigrations());
    if (rc == 0) rc = dbTuneConnection(*conn);
    if (rc != 0) return rc;
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

bool DBConnection::enterWriters()
{
    if (writing) return true;
    writing = writers->enter(std::chrono::milliseconds(kBusyTimeoutMs));
    if (!writing)
        log_error(kSourceFile, __LINE__, "No turn to write to the catalogue %s within %d ms", path.c_str(),
                  kBusyTimeoutMs);
    return writing;
}

void DBConnection::leaveWriters()
{
    if (!writing) return;
    writing = false;
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

int dbThreadConnection(std::shared_ptr<DBConnection>& conn)
{
    if (t_conn && (t_conn->depth > 0 || t_conn->generation == currentGeneration())) {
        conn = t_conn;
        return 0;
    }
    t_conn.reset();
    int rc = openConnection(t_conn);
    if (rc != 0) return rc;
    conn = t_conn;
    return 0;
}

int dbStatementConnection(DBtran* tran, std::shared_ptr<DBConnection>& conn)
{
    if (tran != nullptr) return tran->statementConnection(conn);
    return dbThreadConnection(conn);
}

// ---------------------------------------------------------------------------
// DBtran

DBtran::DBtran(bool) : m_nState(IDLE), m_ulSerial(0) {}

DBtran::~DBtran()
{
    if (m_nState == ACTIVE) rollbackTran();
    DBtable::DBCriticalSection.Lock();
    for (DBtable* object : m_objects) object->detachTran();
    m_objects.clear();
    DBtable::DBCriticalSection.Unlock();
}

int DBtran::begin()
{
    std::shared_ptr<DBConnection> conn;
    int rc = dbThreadConnection(conn);
    if (rc != 0) return rc;
    if (conn->depth == 0) {
        // Writers of the process queue here rather than in the busy handler.
        if (!conn->enterWriters()) return SQLITE_BUSY;
        rc = dbRunKept(*conn, conn->beginStmt);
        if (rc != 0) {
            conn->leaveWriters();
            return rc;
        }
        ++conn->serial;
        m_sSavepoint.clear();
    } else {
        std::string name = "tran_" + std::to_string(++conn->savepoints);
        rc = dbExec(*conn, ("SAVEPOINT " + name).c_str());
        if (rc != 0) return rc;
        m_sSavepoint = name;
    }
    ++conn->depth;
    m_ulSerial = conn->serial;
    m_pConn = conn;
    m_nState = ACTIVE;
    return 0;
}

int DBtran::startTran()
{
    int fault = HostDBFaults::check("startTran");
    if (fault != 0) return fault;
    if (m_nState == ACTIVE) return 0;
    return begin();
}

// A nested transaction whose outer one already ended has nothing left.
bool DBtran::outerEnded() const
{
    return !m_sSavepoint.empty() && (m_pConn->depth == 0 || m_pConn->serial != m_ulSerial);
}

void DBtran::resetObjects()
{
    DBtable::DBCriticalSection.Lock();
    for (DBtable* object : m_objects) object->resetStatement();
    DBtable::DBCriticalSection.Unlock();
}

int DBtran::commitTran(bool)
{
    int fault = HostDBFaults::check("commitTran");
    if (fault != 0) return fault;
    if (m_nState != ACTIVE) return 0;
    if (outerEnded()) {
        m_nState = COMMITTED;
        return 0;
    }
    DBConnection& conn = *m_pConn;
    resetObjects();
    int rc = m_sSavepoint.empty() ? dbRunKept(conn, conn.commitStmt) : dbExec(conn, ("RELEASE " + m_sSavepoint).c_str());
    if (rc != 0) return rc;
    if (m_sSavepoint.empty())
        endOuter(conn);
    else if (conn.depth > 0)
        --conn.depth;
    m_nState = COMMITTED;
    return 0;
}

int DBtran::rollbackTran()
{
    if (m_nState != ACTIVE) return 0;
    if (outerEnded()) {
        m_nState = ROLLEDBACK;
        return 0;
    }
    DBConnection& conn = *m_pConn;
    resetObjects();
    int rc;
    if (m_sSavepoint.empty()) {
        rc = dbRunKept(conn, conn.rollbackStmt);
        endOuter(conn);
    } else {
        rc = dbExec(conn, ("ROLLBACK TO " + m_sSavepoint).c_str());
        if (rc == 0) rc = dbExec(conn, ("RELEASE " + m_sSavepoint).c_str());
        if (conn.depth > 0) --conn.depth;
    }
    m_nState = ROLLEDBACK;
    return rc;
}

// The outer transaction of the connection is over: the next writer's turn.
void DBtran::endOuter(DBConnection& conn)
{
    conn.depth = 0;
    conn.leaveWriters();
}

int DBtran::statementConnection(std::shared_ptr<DBConnection>& conn)
{
    if (m_nState == ACTIVE && outerEnded()) m_nState = COMMITTED;
    if (m_nState != ACTIVE) {
        int rc = begin();
        if (rc != 0) return rc;
    }
    conn = m_pConn;
    return 0;
}

void DBtran::addObject(DBtable* object)
{
    int fault = HostDBFaults::check("addObject");
    if (fault != 0) throw DBException(fault, "Cannot register the object with the transaction");
    if (object == nullptr) return;
    m_objects.push_back(object);
    object->m_bRegistered = true;
}

void DBtran::removeObject(DBtable* object)
{
    for (auto it = m_objects.begin(); it != m_objects.end(); ++it) {
        if (*it == object) {
            m_objects.erase(it);
            object->m_bRegistered = false;
            return;
        }
    }
}

void DBtran::useCatalogue(const std::string& path)
{
    {
        std::lock_guard<std::mutex> guard(g_catalogueMutex);
        g_cataloguePath = path;
        g_catalogueSet = !path.empty();
        ++g_generation;
    }
    if (t_conn && t_conn->depth == 0) t_conn.reset();
    std::shared_ptr<DBConnection> conn;
    dbThreadConnection(conn);
}

int DBtran::openCatalogue()
{
    std::shared_ptr<DBConnection> conn;
    return dbThreadConnection(conn);
}

std::string DBtran::cataloguePath()
{
    unsigned long generation;
    return resolvePath(generation);
}
