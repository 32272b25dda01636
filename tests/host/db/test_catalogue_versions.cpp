#include <dirent.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/DBConnection.h"
#include "host/db/SNRTables.h"
#include "support/CatalogueFiles.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

namespace {

std::string repoRoot()
{
    std::string self = __FILE__;
    return self.substr(0, self.rfind("tests/host/db/"));
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Runs SQL on a file through a connection of its own; false on failure.
bool execOn(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
              sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// The first column of the first row of a query on a file; -1 when none.
long long scalarOn(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    long long value = -1;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

// Every schema object of a file, name and SQL, in name order.
std::string schemaOf(const std::string& path)
{
    sqlite3* db = nullptr;
    std::string out;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT name, sql FROM sqlite_master ORDER BY name", -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const unsigned char* sql = sqlite3_column_text(stmt, 1);
            out += std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))) + ": " +
                   (sql != nullptr ? reinterpret_cast<const char*>(sql) : "") + "\n";
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

long long latestVersion()
{
    return static_cast<long long>(dbCatalogueMigrations().size());
}

// The application id every catalogue file carries from version 6 on ("RPLM").
// Files already carry it: it never changes.
const long long kApplicationId = 0x52504C4D;

// Writes a catalogue of an earlier version, the way the build of that version
// wrote it: its migrations, no application id, back in the default journal
// mode (so that a switch to WAL shows in the file's header).
void writeEarlierCatalogue(const std::string& path, int version)
{
    const std::vector<DBMigration>& all = dbCatalogueMigrations();
    const std::vector<DBMigration> migrations(all.begin(), all.begin() + version);
    {
        DBConnection conn;
        conn.path = path;
        ASSERT_EQ(sqlite3_open(path.c_str(), &conn.db), SQLITE_OK);
        ASSERT_EQ(dbPrepareCatalogue(conn, migrations), 0);
    }
    ASSERT_EQ(scalarOn(path, "PRAGMA user_version"), version);
    ASSERT_EQ(scalarOn(path, "PRAGMA application_id"), 0);
    ASSERT_TRUE(execOn(path, "PRAGMA journal_mode=DELETE"));
}

}  // namespace

class CatalogueVersionTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        ConfigureQuietHost();
        CatalogueTest::SetUp();
        m_other = m_dir + "/other.db";
    }

    void TearDown() override
    {
        DBtran::useCatalogue(m_path);  // lets go of the other file
        RemoveCatalogueFiles(m_other);
        CatalogueTest::TearDown();
    }

    // Points the library at a file that must be refused, and checks that
    // it was refused with an ERR entry, fails every transaction and is left
    // exactly as it was.
    void expectRefused(const std::string& path, const std::string& reason)
    {
        const std::string before = fileBytes(path);
        EvDebug::clearEntries();
        DBtran::useCatalogue(path);
        std::vector<std::string> entries = LogEntriesWith(path);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_NE(entries[0].find(reason), std::string::npos) << entries[0];
        EXPECT_NE(entries[0].find("left untouched"), std::string::npos) << entries[0];

        EXPECT_NE(DBtran::openCatalogue(), 0);
        DBtran tran(false);
        EXPECT_NE(tran.startTran(), 0);
        CSNRVolumeDeviceNameDB devices;
        unsigned int count = 0;
        EXPECT_FALSE(devices.getNRows("ClientId = 1", count, nullptr));

        DBtran::useCatalogue(m_path);  // closes every connection to the file
        EXPECT_TRUE(fileBytes(path) == before) << "the refused file was written";
    }

    std::string m_other;
};

TEST_F(CatalogueVersionTest, MigrationsAreTheSchemaFilesInOrder)
{
    std::vector<std::string> files;
    const std::string folder = repoRoot() + "host/db/schema";
    DIR* dir = opendir(folder.c_str());
    ASSERT_NE(dir, nullptr);
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".sql") == 0) files.push_back(name);
    }
    closedir(dir);
    std::sort(files.begin(), files.end());

    const std::vector<DBMigration>& migrations = dbCatalogueMigrations();
    ASSERT_EQ(migrations.size(), files.size()) << "run host/db/gen_schema.sh";
    for (size_t i = 0; i < files.size(); ++i) {
        char number[24];
        std::snprintf(number, sizeof(number), "%03zu_", i + 1);
        EXPECT_EQ(files[i].compare(0, 4, number), 0) << files[i] << " is not migration " << i + 1;
        EXPECT_EQ(std::string(migrations[i].name) + ".sql", files[i]);
        EXPECT_EQ(std::string(migrations[i].sql), fileBytes(folder + "/" + files[i])) << "run host/db/gen_schema.sh";
    }
}

TEST_F(CatalogueVersionTest, NewFileGetsEveryMigration)
{
    EXPECT_EQ(scalar("PRAGMA user_version"), latestVersion());
    EXPECT_EQ(scalar("PRAGMA application_id"), kApplicationId);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM sqlite_master WHERE name = 'YBPhysicalDevice'"), 1);
    // An empty file is a new file too.
    writeBytes(m_other, "");
    DBtran::useCatalogue(m_other);
    EXPECT_EQ(DBtran::openCatalogue(), 0);
    EXPECT_EQ(scalarOn(m_other, "PRAGMA user_version"), latestVersion());
    EXPECT_EQ(schemaOf(m_other), schemaOf(m_path));
}

// The fixture was written by the build before schema versions: the first
// schema, a stamp of its text as user version, and a few rows.
TEST_F(CatalogueVersionTest, FileOfTheFirstSchemaIsMigratedAndKeepsItsRows)
{
    writeBytes(m_other, fileBytes(repoRoot() + "tests/host/db/fixtures/first_schema_catalogue.sqlite"));
    ASSERT_EQ(scalarOn(m_other, "PRAGMA user_version"), 1791054960);
    DBtran::useCatalogue(m_other);
    ASSERT_EQ(DBtran::openCatalogue(), 0);

    EXPECT_EQ(scalarOn(m_other, "PRAGMA user_version"), latestVersion());
    EXPECT_EQ(scalarOn(m_other, "PRAGMA application_id"), kApplicationId);
    EXPECT_EQ(schemaOf(m_other), schemaOf(m_path)) << "a migrated file differs from a new one";
    CSNRVolumeDeviceNameDB devices;
    unsigned int count = 0;
    ASSERT_TRUE(devices.getNRows("DeviceName = '/dev/first' AND ClientId = 5", count, nullptr));
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(scalarOn(m_other, "SELECT COUNT(*) FROM YBTzHistoryName WHERE GlobalHistoryName = 'first-history'"), 1);
    // Written to afterwards like any catalogue.
    YBPhysicalDevice_t row;
    row.ClientId = 5;
    std::strcpy(row.DeviceName, "/dev/second");
    ASSERT_TRUE(devices.insert(row, nullptr));
    EXPECT_EQ(row.id, 2);
}

TEST_F(CatalogueVersionTest, OlderFileGetsTheMissingMigrationsInOneTransaction)
{
    std::vector<DBMigration> migrations = dbCatalogueMigrations();
    const int first = static_cast<int>(migrations.size());
    migrations.push_back({"900_jobs", "CREATE TABLE Jobs (id INTEGER PRIMARY KEY);"});
    migrations.push_back({"901_job_names", "ALTER TABLE Jobs ADD COLUMN Name TEXT; CREATE INDEX IX_Jobs_Name ON Jobs (Name);"});
    migrations.push_back({"902_broken", "CREATE TABLE Broken (;"});

    DBConnection conn;
    conn.path = m_path;
    ASSERT_EQ(sqlite3_open(m_path.c_str(), &conn.db), SQLITE_OK);

    // A step that fails leaves the file at its version, without the steps
    // before it.
    EvDebug::clearEntries();
    EXPECT_NE(dbPrepareCatalogue(conn, migrations), 0);
    EXPECT_EQ(scalar("PRAGMA user_version"), first);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM sqlite_master WHERE name = 'Jobs'"), 0);
    ASSERT_EQ(LogEntriesWith("902_broken").size(), 1u);

    migrations.pop_back();
    EXPECT_EQ(dbPrepareCatalogue(conn, migrations), 0);
    EXPECT_EQ(scalar("PRAGMA user_version"), first + 2);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM sqlite_master WHERE name IN ('Jobs', 'IX_Jobs_Name')"), 2);
    // Opening it again applies nothing twice.
    EXPECT_EQ(dbPrepareCatalogue(conn, migrations), 0);
    // The build's own list now finds the file newer than itself.
    EXPECT_NE(dbPrepareCatalogue(conn, dbCatalogueMigrations()), 0);
}

TEST_F(CatalogueVersionTest, StampedFileOfTheFirstSchemaGetsTheLaterMigrations)
{
    writeBytes(m_other, fileBytes(repoRoot() + "tests/host/db/fixtures/first_schema_catalogue.sqlite"));
    std::vector<DBMigration> migrations(dbCatalogueMigrations().begin(), dbCatalogueMigrations().begin() + 1);
    migrations.push_back({"002_jobs", "CREATE TABLE Jobs (id INTEGER PRIMARY KEY);"});
    DBConnection conn;
    conn.path = m_other;
    ASSERT_EQ(sqlite3_open(m_other.c_str(), &conn.db), SQLITE_OK);
    EXPECT_EQ(dbPrepareCatalogue(conn, migrations), 0);
    EXPECT_EQ(scalarOn(m_other, "PRAGMA user_version"), 2);
    EXPECT_EQ(scalarOn(m_other, "SELECT COUNT(*) FROM sqlite_master WHERE name = 'Jobs'"), 1);
}

// Files written before the application id: each earlier version is
// recognised by its schema, migrated, and marked.
TEST_F(CatalogueVersionTest, EarlierFilesOfOursAreMigratedAndMarked)
{
    for (int version = 1; version < 6; ++version) {
        SCOPED_TRACE("version " + std::to_string(version));
        writeEarlierCatalogue(m_other, version);
        ASSERT_TRUE(execOn(m_other, "INSERT INTO YBPhysicalDevice (ClientId, DeviceName) VALUES (7, '/dev/kept');"));
        // An index added by hand does not make the file another program's.
        if (version == 3) {
            ASSERT_TRUE(execOn(m_other, "CREATE INDEX IX_ByHand ON YBVolume (Flags);"));
        }

        DBtran::useCatalogue(m_other);
        ASSERT_EQ(DBtran::openCatalogue(), 0);
        EXPECT_EQ(scalarOn(m_other, "PRAGMA user_version"), latestVersion());
        EXPECT_EQ(scalarOn(m_other, "PRAGMA application_id"), kApplicationId);
        EXPECT_EQ(scalarOn(m_other, "SELECT COUNT(*) FROM YBPhysicalDevice WHERE DeviceName = '/dev/kept'"), 1);
        if (version != 3) {
            EXPECT_EQ(schemaOf(m_other), schemaOf(m_path)) << "a migrated file differs from a new one";
        }

        DBtran::useCatalogue(m_path);
        RemoveCatalogueFiles(m_other);
    }
}

TEST_F(CatalogueVersionTest, NewerFileIsRefusedAndLeftUntouched)
{
    exec("PRAGMA user_version = " + std::to_string(latestVersion() + 1));
    DBtran::useCatalogue(m_other);  // no connection stays on the file
    expectRefused(m_path, "newer than version");
    EXPECT_EQ(scalar("PRAGMA user_version"), latestVersion() + 1);
}

TEST_F(CatalogueVersionTest, FilesOfOtherProgramsAreRefusedAndLeftUntouched)
{
    // Tables, no version.
    ASSERT_TRUE(execOn(m_other, "CREATE TABLE Notes (id INTEGER PRIMARY KEY, Text TEXT); INSERT INTO Notes (Text) VALUES ('x');"));
    expectRefused(m_other, "not a catalogue of this system");
    EXPECT_EQ(scalarOn(m_other, "SELECT COUNT(*) FROM sqlite_master"), 1);
    unlink(m_other.c_str());

    // A version this system never wrote (an unknown stamp), in WAL mode.
    ASSERT_TRUE(execOn(m_other, "PRAGMA journal_mode=WAL; CREATE TABLE Notes (id INTEGER); PRAGMA user_version = 424242;"));
    expectRefused(m_other, "not a catalogue of this system");
    unlink(m_other.c_str());

    // Not a database at all.
    writeBytes(m_other, std::string(8192, 'z'));
    expectRefused(m_other, "Cannot read the catalogue");
    unlink(m_other.c_str());

    // An empty database of a program that marks its files.
    ASSERT_TRUE(execOn(m_other, "PRAGMA application_id = 305419896;"));
    expectRefused(m_other, "not a catalogue of this system");
}

// A version this system wrote before its files had an application id is no
// proof: without the schema of that version the file is another program's,
// and not a byte of it changes (not even its journal mode).
TEST_F(CatalogueVersionTest, ForeignFilesStampedWithAnEarlierVersionAreRefusedUntouched)
{
    for (int version = 1; version < 6; ++version) {
        SCOPED_TRACE("version " + std::to_string(version));
        ASSERT_TRUE(execOn(m_other, "CREATE TABLE Notes (id INTEGER PRIMARY KEY, Text TEXT); PRAGMA user_version = " +
                                        std::to_string(version) + ";"));
        expectRefused(m_other, "not a catalogue of this system");
        unlink(m_other.c_str());
    }
    // The stamp of the first schema on a file without that schema.
    ASSERT_TRUE(execOn(m_other, "CREATE TABLE Notes (id INTEGER); PRAGMA user_version = 1791054960;"));
    expectRefused(m_other, "not a catalogue of this system");
    unlink(m_other.c_str());

    // The schema of version 3 less one index.
    writeEarlierCatalogue(m_other, 3);
    ASSERT_TRUE(execOn(m_other, "DROP INDEX IX_DHT_Application_appTypeId;"));
    expectRefused(m_other, "not a catalogue of this system");
    unlink(m_other.c_str());

    // The schema of version 2 with a table of another shape.
    writeEarlierCatalogue(m_other, 2);
    ASSERT_TRUE(execOn(m_other, "ALTER TABLE YBMountPoint ADD COLUMN Owner TEXT;"));
    expectRefused(m_other, "not a catalogue of this system");
    unlink(m_other.c_str());

    // The schema of version 5, marked by another program.
    writeEarlierCatalogue(m_other, 5);
    ASSERT_TRUE(execOn(m_other, "PRAGMA application_id = 305419896;"));
    expectRefused(m_other, "not a catalogue of this system");
}
