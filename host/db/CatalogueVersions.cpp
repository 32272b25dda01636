// Versions of the catalogue file: the user version of a file is the number of
// the last migration applied to it. Opening a file applies the migrations it
// lacks; a file this build does not know is refused and left as it is.
#include "host/db/DBConnection.h"

namespace {

const char kSourceFile[] = "CatalogueVersions";

// Files written before the schema had versions carry this stamp of the text
// of the first migration instead of 1.
const long long kFirstSchemaStamp = 1791054960;
// Migration numbers have three digits; a larger user version is no version.
const long long kLastPossibleVersion = 999;

// The user version and the number of schema objects of a file.
struct FileState {
    long long userVersion = 0;
    long long objects = 0;
};

int readNumber(DBConnection& conn, const char* sql, long long& value)
{
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(conn.db, sql, -1, &stmt, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        value = sqlite3_column_int64(stmt, 0);
        rc = 0;
    } else {
        rc = dbErrorCode(conn, rc);
    }
    sqlite3_finalize(stmt);
    return rc;
}

int readState(DBConnection& conn, FileState& state)
{
    int rc = readNumber(conn, "PRAGMA user_version", state.userVersion);
    if (rc == 0) rc = readNumber(conn, "SELECT COUNT(*) FROM sqlite_master", state.objects);
    if (rc != 0)
        log_error(kSourceFile, __LINE__, "Cannot read the catalogue %s: %s. The file is left untouched.",
                  conn.path.c_str(), sqlite3_errstr(rc));
    return rc;
}

// The number of migrations a file has, 0 for a new file (no schema objects,
// user version 0); refuses (with an ERR entry) a newer file and one of
// another program.
int fileVersion(DBConnection& conn, const FileState& state, int latest, int& version)
{
    if (state.userVersion == kFirstSchemaStamp) {
        version = 1;
        return 0;
    }
    if (state.userVersion == 0 && state.objects == 0) {
        version = 0;
        return 0;
    }
    if (state.userVersion > latest && state.userVersion <= kLastPossibleVersion) {
        log_error(kSourceFile, __LINE__,
                  "The catalogue %s has schema version %lld, newer than version %d of this build. "
                  "The file is left untouched.",
                  conn.path.c_str(), state.userVersion, latest);
        return SQLITE_CANTOPEN;
    }
    if (state.userVersion < 1 || state.userVersion > latest) {
        log_error(kSourceFile, __LINE__,
                  "The file %s is not a catalogue of this system (user version %lld, %lld schema objects). "
                  "The file is left untouched.",
                  conn.path.c_str(), state.userVersion, state.objects);
        return SQLITE_CANTOPEN;
    }
    version = static_cast<int>(state.userVersion);
    return 0;
}

// Applies the migrations the file lacks and sets its version, all in one
// transaction; looks at the file again once it holds the write lock, since
// another connection may have migrated it meanwhile.
int migrate(DBConnection& conn, const std::vector<DBMigration>& migrations)
{
    const int latest = static_cast<int>(migrations.size());
    int rc = dbExec(conn, "BEGIN IMMEDIATE");
    if (rc != 0) {
        log_error(kSourceFile, __LINE__, "Cannot migrate the catalogue %s: %s", conn.path.c_str(), sqlite3_errstr(rc));
        return rc;
    }
    FileState state;
    int version = 0;
    rc = readState(conn, state);
    if (rc == 0) rc = fileVersion(conn, state, latest, version);
    for (int next = version; rc == 0 && next < latest; ++next) {
        rc = dbExec(conn, migrations[static_cast<size_t>(next)].sql);
        if (rc != 0)
            log_error(kSourceFile, __LINE__, "Cannot migrate the catalogue %s from version %d: migration %s failed: %s",
                      conn.path.c_str(), version, migrations[static_cast<size_t>(next)].name, sqlite3_errmsg(conn.db));
    }
    if (rc == 0) {
        rc = dbExec(conn, ("PRAGMA user_version = " + std::to_string(latest)).c_str());
        if (rc == 0) rc = dbExec(conn, "COMMIT");
        if (rc != 0)
            log_error(kSourceFile, __LINE__, "Cannot finish the migration of the catalogue %s: %s", conn.path.c_str(),
                      sqlite3_errstr(rc));
    }
    if (rc != 0) dbExec(conn, "ROLLBACK");
    return rc;
}

}  // namespace

int dbPrepareCatalogue(DBConnection& conn, const std::vector<DBMigration>& migrations)
{
    const int latest = static_cast<int>(migrations.size());
    // Until the file is known to be ours, closing the connection must not
    // write into it.
    sqlite3_db_config(conn.db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    FileState state;
    int version = 0;
    int rc = readState(conn, state);
    if (rc == 0) rc = fileVersion(conn, state, latest, version);
    if (rc != 0) return rc;
    sqlite3_db_config(conn.db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);

    rc = dbExec(conn, "PRAGMA journal_mode=WAL");
    if (rc == 0) rc = dbExec(conn, "PRAGMA synchronous=NORMAL");
    if (rc != 0) {
        log_error(kSourceFile, __LINE__, "Cannot prepare the catalogue %s: %s", conn.path.c_str(), sqlite3_errstr(rc));
        return rc;
    }
    // A file at the last version needs no write lock, so that a connection
    // opened while another one writes does not wait.
    if (state.userVersion == latest) return 0;
    return migrate(conn, migrations);
}
