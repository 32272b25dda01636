// The memory a connection gives the catalogue (page cache, memory map) and
// the checkpoints of its write-ahead log, which a thread of their own runs in
// the background so that no request waits for one.
#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <map>
#include <string>
#include <thread>

#include "host/ZXPlatformInfo.h"
#include "host/db/DBConnection.h"

namespace {

const char kSourceFile[] = "DBJournal";
const char kSection[] = "~ReplicationMgr";

const unsigned long kDefaultCacheSizeKB = 8192;
const unsigned long kDefaultMmapSizeMB = 256;
const unsigned long kDefaultCheckpointPages = 1000;
// A log this many times the checkpoint size is copied whole and started
// again from its beginning, in a turn among the writers. While writers keep
// the log busy it is never found copied whole between two of them; the turn
// holds them for the two file syncs of the checkpoint (milliseconds), so it
// is taken rarely.
const unsigned long kRestartFactor = 40;
// A log this many times the checkpoint size is checkpointed by the thread
// that commits: the background thread has fallen behind.
const unsigned long kInlineFactor = 160;

unsigned long setting(const char* key, unsigned long fallback)
{
    unsigned long value = 0;
    return ZXPlatformInfo().getNumber(kSection, key, &value) != 0 ? value : fallback;
}

// Runs the passive checkpoints asked for, one catalogue file at a time, each
// on a connection of its own opened for it.
class Checkpointer {
public:
    static Checkpointer& instance()
    {
        static Checkpointer checkpointer;
        return checkpointer;
    }

    // Asks for a checkpoint of the file at path; with restart, for one that
    // lets the next writer start the log again.
    void request(const std::string& path, bool restart)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        if (m_stopping) return;
        m_pending[path] |= restart;
        if (!m_thread.joinable()) m_thread = std::thread([this] { run(); });
        m_wake.notify_one();
    }

    unsigned long runs()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_runs;
    }

    ~Checkpointer()
    {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_stopping = true;
            m_wake.notify_one();
        }
        if (m_thread.joinable()) m_thread.join();
    }

private:
    Checkpointer() = default;

    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (true) {
            m_wake.wait(lock, [this] { return m_stopping || !m_pending.empty(); });
            if (m_stopping) {
                closeConnection();
                return;
            }
            const std::string path = m_pending.begin()->first;
            const bool restart = m_pending.begin()->second;
            m_pending.erase(m_pending.begin());
            lock.unlock();
            checkpoint(path, restart);
            lock.lock();
            ++m_runs;
        }
    }

    // Copies the log into the file while the writers go on. For a restart it
    // then copies what they added meanwhile in a turn of its own among them:
    // the log is then copied whole, and the next writer starts it again from
    // its beginning instead of letting it grow.
    void checkpoint(const std::string& path, bool restart)
    {
        sqlite3* db = connectionTo(path);
        int rc = db != nullptr ? SQLITE_OK : SQLITE_CANTOPEN;
        if (rc == SQLITE_OK) rc = sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        if (rc == SQLITE_OK && restart) {
            std::shared_ptr<DBWriterQueue> writers = DBWriterQueue::of(path);
            if (writers->enter(std::chrono::milliseconds(kBusyTimeoutMs))) {
                rc = sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
                writers->leave();
            }
        }
        if (rc != SQLITE_OK && rc != SQLITE_BUSY) {
            log_error(kSourceFile, __LINE__, "Checkpoint of the catalogue %s failed: %s", path.c_str(),
                      db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
            closeConnection();
        }
    }

    // The thread's connection to the file at path, kept from one checkpoint
    // to the next of the same file (its schema is read once); a file put in
    // the place of the one it was opened on is opened anew. Null when the
    // file cannot be opened; a file removed meanwhile is not made again.
    sqlite3* connectionTo(const std::string& path)
    {
        struct stat now;
        const bool exists = ::stat(path.c_str(), &now) == 0;
        if (m_db != nullptr && m_path == path && exists && now.st_dev == m_file.st_dev && now.st_ino == m_file.st_ino)
            return m_db;
        closeConnection();
        if (!exists) return nullptr;
        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        // A first read finds the log.
        if (rc == SQLITE_OK) rc = sqlite3_exec(db, "PRAGMA schema_version", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            log_error(kSourceFile, __LINE__, "Checkpoint of the catalogue %s failed: %s", path.c_str(),
                      db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
            sqlite3_close_v2(db);
            return nullptr;
        }
        m_db = db;
        m_path = path;
        m_file = now;
        return m_db;
    }

    void closeConnection()
    {
        if (m_db != nullptr) sqlite3_close_v2(m_db);
        m_db = nullptr;
        m_path.clear();
    }

    // The checkpoint thread's own.
    sqlite3* m_db = nullptr;
    std::string m_path;
    struct stat m_file {};

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<std::string, bool> m_pending;  // file -> restart
    bool m_stopping = false;
    unsigned long m_runs = 0;
    std::thread m_thread;
};

// Called after each commit with the pages in the log.
int afterCommit(void* context, sqlite3* db, const char* name, int pages)
{
    const DBConnection& conn = *static_cast<const DBConnection*>(context);
    const unsigned long logged = pages > 0 ? static_cast<unsigned long>(pages) : 0;
    if (logged < conn.checkpointPages) return SQLITE_OK;
    if (logged >= kInlineFactor * conn.checkpointPages)
        sqlite3_wal_checkpoint_v2(db, name, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    else
        Checkpointer::instance().request(conn.path, logged >= kRestartFactor * conn.checkpointPages);
    return SQLITE_OK;
}

}  // namespace

int dbTuneConnection(DBConnection& conn)
{
    const unsigned long cacheKB = setting("DBCacheSizeKB", kDefaultCacheSizeKB);
    const unsigned long mmapMB = setting("DBMmapSizeMB", kDefaultMmapSizeMB);
    conn.checkpointPages = setting("DBCheckpointPages", kDefaultCheckpointPages);
    if (conn.checkpointPages == 0) conn.checkpointPages = kDefaultCheckpointPages;
    // A negative cache size counts KiB rather than pages.
    std::string sql = "PRAGMA cache_size = -" + std::to_string(cacheKB) +
                      "; PRAGMA mmap_size = " + std::to_string(static_cast<unsigned long long>(mmapMB) << 20);
    int rc = dbExec(conn, sql.c_str());
    if (rc != 0) {
        log_error(kSourceFile, __LINE__, "Cannot set up the connection to the catalogue %s: %s", conn.path.c_str(),
                  sqlite3_errstr(rc));
        return rc;
    }
    // Replaces the checkpoint SQLite runs itself on the committing thread.
    sqlite3_wal_hook(conn.db, afterCommit, &conn);
    return 0;
}

unsigned long dbBackgroundCheckpoints() { return Checkpointer::instance().runs(); }
