// Transactions: the first one a thread opens runs on the writing connection
// of the catalogue file in the thread's turn among its writers; one opened
// while another is open on the same thread nests as a savepoint.
#include <string>

#include "host/db/DBConnection.h"
#include "host/db/DBStatementCache.h"
#include "host/db/DBtable.h"

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
        std::shared_ptr<DBConnection> writer;
        rc = dbWritingConnection(*conn, writer);
        if (rc != 0) return rc;
        conn = writer;
        // Writers of the process queue here rather than in the busy handler.
        if (!conn->enterWriters()) return SQLITE_BUSY;
        rc = dbRunKept(*conn, conn->beginStmt);
        if (rc != 0) {
            conn->leaveWriters();
            return rc;
        }
        dbSetThreadWriter(conn);
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

// The outer transaction of the connection is over: the thread's statements
// go to its own connection again, and the next writer has its turn.
void DBtran::endOuter(DBConnection& conn)
{
    conn.depth = 0;
    dbSetThreadWriter(nullptr);
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
    dbUseCatalogue(path);
}

int DBtran::openCatalogue()
{
    std::shared_ptr<DBConnection> conn;
    return dbThreadConnection(conn);
}

bool DBtran::catalogueInherited()
{
    return dbCatalogueInherited();
}

std::string DBtran::cataloguePath()
{
    return dbCataloguePath();
}

DBReadView::DBReadView()
{
    std::shared_ptr<DBConnection> conn;
    if (dbThreadConnection(conn) != 0 || conn->depth > 0 || !sqlite3_get_autocommit(conn->db)) return;
    DBStatement begin;
    if (begin.prepare(conn, "BEGIN", "DBReadView") != 0 || begin.get() == nullptr) return;
    if (dbRunKept(*conn, begin.get()) == 0) m_pConn = conn;
}

DBReadView::~DBReadView()
{
    if (!m_pConn) return;
    // Ends the read; it wrote nothing, so a failed end leaves nothing behind.
    if (dbRunKept(*m_pConn, m_pConn->commitStmt) != 0) dbRunKept(*m_pConn, m_pConn->rollbackStmt);
}
