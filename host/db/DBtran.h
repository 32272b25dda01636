// Transactions of the database access library: DBtran.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/db/DBException.h"

class DBtable;
struct DBConnection;

// An open database transaction. The first one opened on a thread is a real
// transaction; one opened while another is open on the same thread nests as
// a savepoint. The real ones of all threads run one at a time, in the order
// they were started, on the writing connection of the catalogue file; while
// one is open, every statement of its thread runs on that connection too.
class DBtran {
public:
    explicit DBtran(bool = false);
    ~DBtran();
    DBtran(const DBtran&) = delete;
    DBtran& operator=(const DBtran&) = delete;

    // 0 when the transaction started, else a database code.
    int startTran();
    // 0 when committed. Committing a transaction that is not open does nothing.
    int commitTran(bool = false);
    // 0 when rolled back. The object stays usable: the next statement through
    // it opens a new transaction, which a later commitTran commits.
    int rollbackTran();
    // Registers a row object with the transaction; throws DBException, and
    // the object is then not registered. A registered object is let go when
    // either of the two goes away first.
    void addObject(DBtable* object);
    void removeObject(DBtable* object);

    bool isActive() const { return m_nState == ACTIVE; }

    // Points the process at another catalogue file. The calling thread's
    // connection is closed at once, other threads' connections before their
    // next statement outside a transaction. A new file gets the schema, an
    // older one the migrations it lacks; a newer file or one of another
    // program is refused (every transaction then fails to start); in a
    // child of fork of a process that used the catalogue nothing changes. An
    // empty path returns to the configured file: "CatalogueFile" of section
    // "Database", else the environment's REPLMGR_DB, else replmgr.db in the
    // working directory.
    static void useCatalogue(const std::string& path);
    // The catalogue file in use.
    static std::string cataloguePath();
    // Opens the calling thread's connection to the catalogue unless it is
    // open: 0, or the code of why the catalogue cannot be used.
    static int openCatalogue();
    // True in a child of fork of a process that had used the catalogue: no
    // transaction starts there (every start fails at once, before any lock,
    // turn or database call), and nothing of the catalogue is used.
    static bool catalogueInherited();

    // The connection a statement through this transaction runs on; opens the
    // transaction again after a commit or rollback. 0 or a database code.
    int statementConnection(std::shared_ptr<DBConnection>& conn);

private:
    enum State { IDLE, ACTIVE, COMMITTED, ROLLEDBACK };
    int begin();
    bool outerEnded() const;
    void resetObjects();
    static void endOuter(DBConnection& conn);

    std::shared_ptr<DBConnection> m_pConn;
    State m_nState;
    std::string m_sSavepoint;  // empty for the outermost transaction
    unsigned long m_ulSerial;  // outer transaction of the connection this one belongs to
    std::vector<DBtable*> m_objects;
};
