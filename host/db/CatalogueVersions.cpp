// Versions of the catalogue file: the user version of a file is the number of
// the last migration applied to it. Opening a file applies the migrations it
// lacks; a file this build does not know is refused and left as it is.
#include <map>
#include <string>
#include <tuple>

#include "host/db/DBConnection.h"

namespace {

const char kSourceFile[] = "CatalogueVersions";

// The application id of the catalogue ("RPLM" in the file's header), set by
// migration 006 on every file, new or old.
const long long kCatalogueApplicationId = 0x52504C4D;
// The first version whose files carry the application id. A file of an
// earlier version is ours only if it holds the schema of its version.
const long long kApplicationIdVersion = 6;
// Files written before the schema had versions carry this stamp of the text
// of the first migration instead of 1.
const long long kFirstSchemaStamp = 1791054960;
// Migration numbers have three digits; a larger user version is no version.
const long long kLastPossibleVersion = 999;

// The user version, the application id and the number of schema objects of
// a file.
struct FileState {
    long long userVersion = 0;
    long long applicationId = 0;
    long long objects = 0;
};

// The schema objects of a database other than SQLite's own, by name: type,
// table and SQL text.
using SchemaObjects = std::map<std::string, std::tuple<std::string, std::string, std::string>>;

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
    if (rc == 0) rc = readNumber(conn, "PRAGMA application_id", state.applicationId);
    if (rc == 0) rc = readNumber(conn, "SELECT COUNT(*) FROM sqlite_master", state.objects);
    if (rc != 0)
        log_error(kSourceFile, __LINE__, "Cannot read the catalogue %s: %s. The file is left untouched.",
                  conn.path.c_str(), sqlite3_errstr(rc));
    return rc;
}

int readSchema(sqlite3* db, SchemaObjects& objects)
{
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT type, name, tbl_name, sql FROM sqlite_master", -1, &stmt, nullptr);
    auto text = [&stmt](int column) {
        const unsigned char* value = sqlite3_column_text(stmt, column);
        return value != nullptr ? std::string(reinterpret_cast<const char*>(value)) : std::string();
    };
    while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        rc = SQLITE_OK;
        const std::string name = text(1);
        // sqlite_sequence, sqlite_stat1, sqlite_autoindex_...: kept by
        // SQLite itself, following the objects created.
        if (name.compare(0, 7, "sqlite_") != 0) objects[name] = std::make_tuple(text(0), text(2), text(3));
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE ? 0 : rc;
}

// Whether the file holds every table and index the first `version`
// migrations create, each exactly as they create it. A file of ours may hold
// objects besides (an index added by hand); a file of another program does
// not hold this schema.
int holdsSchemaOf(DBConnection& conn, const std::vector<DBMigration>& migrations, long long version, bool& holds)
{
    holds = false;
    SchemaObjects expected;
    sqlite3* scratch = nullptr;
    int rc = sqlite3_open(":memory:", &scratch);
    for (long long i = 0; rc == SQLITE_OK && i < version; ++i)
        rc = sqlite3_exec(scratch, migrations[static_cast<size_t>(i)].sql, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) rc = readSchema(scratch, expected);
    if (rc != 0)
        log_error(kSourceFile, __LINE__, "Cannot build the schema of catalogue version %lld: %s", version,
                  sqlite3_errmsg(scratch));
    sqlite3_close(scratch);
    if (rc != 0) return rc;

    SchemaObjects found;
    rc = readSchema(conn.db, found);
    if (rc != 0) {
        log_error(kSourceFile, __LINE__, "Cannot read the catalogue %s: %s. The file is left untouched.",
                  conn.path.c_str(), sqlite3_errstr(rc));
        return rc;
    }
    for (const auto& object : expected) {
        auto it = found.find(object.first);
        if (it == found.end() || it->second != object.second) return 0;
    }
    holds = true;
    return 0;
}

// The number of migrations a file has, 0 for a new file (no schema objects,
// user version 0, no application id); refuses (with an ERR entry) a newer
// file and one of another program. A file carries our application id from
// version 6 on; a file of an earlier version is recognised by its schema.
int fileVersion(DBConnection& conn, const FileState& state, const std::vector<DBMigration>& migrations, int& version)
{
    const int latest = static_cast<int>(migrations.size());
    if (state.applicationId == kCatalogueApplicationId && state.userVersion > latest &&
        state.userVersion <= kLastPossibleVersion) {
        log_error(kSourceFile, __LINE__,
                  "The catalogue %s has schema version %lld, newer than version %d of this build. "
                  "The file is left untouched.",
                  conn.path.c_str(), state.userVersion, latest);
        return SQLITE_CANTOPEN;
    }
    if (state.applicationId == kCatalogueApplicationId && state.userVersion >= 1 && state.userVersion <= latest) {
        version = static_cast<int>(state.userVersion);
        return 0;
    }
    if (state.applicationId == 0 && state.userVersion == 0 && state.objects == 0) {
        version = 0;
        return 0;
    }
    const long long earlier = state.userVersion == kFirstSchemaStamp ? 1 : state.userVersion;
    if (state.applicationId == 0 && earlier >= 1 && earlier < kApplicationIdVersion && earlier <= latest) {
        bool holds = false;
        int rc = holdsSchemaOf(conn, migrations, earlier, holds);
        if (rc != 0) return rc;
        if (holds) {
            version = static_cast<int>(earlier);
            return 0;
        }
    }
    log_error(kSourceFile, __LINE__,
              "The file %s is not a catalogue of this system (user version %lld, application id %lld, "
              "%lld schema objects). The file is left untouched.",
              conn.path.c_str(), state.userVersion, state.applicationId, state.objects);
    return SQLITE_CANTOPEN;
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
    if (rc == 0) rc = fileVersion(conn, state, migrations, version);
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
    // Until the file is known to be ours, closing the connection must not
    // write into it.
    sqlite3_db_config(conn.db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    // The file is judged on one snapshot of it, in a transaction that only
    // reads.
    int rc = dbExec(conn, "BEGIN");
    if (rc != 0) {
        log_error(kSourceFile, __LINE__, "Cannot read the catalogue %s: %s. The file is left untouched.",
                  conn.path.c_str(), sqlite3_errstr(rc));
        return rc;
    }
    FileState state;
    int version = 0;
    rc = readState(conn, state);
    if (rc == 0) rc = fileVersion(conn, state, migrations, version);
    dbExec(conn, "ROLLBACK");
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
    if (state.userVersion == static_cast<long long>(migrations.size())) return 0;
    return migrate(conn, migrations);
}
