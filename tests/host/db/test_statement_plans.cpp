// Every statement the system runs on the catalogue finds its rows through an
// index: each registered statement, and each text the library built while
// representative requests ran through post and through the table classes
// (recorded by DBStatementTrace), is explained on a catalogue of a few
// thousand rows per table. A statement that reads a whole table fails the
// test unless the table is listed below as inherent to that statement.
//
// Registered statements are found in the registry, and run-time texts are
// recorded, so statements and where texts added later are checked without
// being named here; a new request joins by adding it to the requests run.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "host/db/DBStatementRegistry.h"
#include "host/db/DBStatementTrace.h"
#include "host/db/DBtable.h"
#include "host/db/SNRTables.h"
#include "rows/Db/Tbl/YBApplicationDirs.h"
#include "snr/DeviceMessages.h"
#include "snr/SNRMessages.h"
#include "snr/SNRPostFixture.h"

namespace {

// A full scan the statement's purpose requires. statement: a registered
// object name or a piece of the SQL text; empty for every statement.
struct Inherent {
    const char* statement;
    const char* table;
    const char* reason;
};

const Inherent kInherent[] = {
    {"", "YBBrowseByClientTmp", "a browse table holds the rows of one browse; each step reads all of them"},
    {"", "YBBrowseByPolicyTmp", "a browse table holds the rows of one browse; each step reads all of them"},
    {"", "YBBrowseByClientTmpMountPoints", "the mount points of one browse, handed out whole"},
    {"", "YBBrowseByPolicyTmpMountPoints", "the mount points of one browse, handed out whole"},
    {"YBGetYBFileList", "YBFile", "lists every stored file"},
    {"YBGetVEHosts", "DHT_Client", "lists the virtualization hosts among all clients by status bits and platform"},
    {"YBPruneJobHistory", "YBJobVolumeHistory", "looks at every entry for an SNR volume that is gone"},
};

// ---- Reading plans ------------------------------------------------------------

bool FirstWordIs(const std::string& sql, const char* word)
{
    const size_t start = sql.find_first_not_of(" \t\r\n");
    if (start == std::string::npos) return false;
    return sqlite3_stricmp(sql.substr(start, sql.find_first_of(" \t\r\n(", start) - start).c_str(), word) == 0;
}

// One statement as the catalogue would run it: the tables it reads from end
// to end, and its query plan for the reader of a failure.
struct Explained {
    std::string sql;
    std::set<std::string> scanned;
    std::string plan;
};

// Explains statements on a connection of its own to a catalogue file.
//
// Whole-table reads are found in the statement's program rather than in the
// plan's "SCAN" lines: the plan names a table by its alias only, and an
// automatic index or a row count reads a whole table without such a line. A
// loop that starts at the first or last entry of a table or of one of its
// indexes (Rewind, Last), or a count of one (Count), reads all of it.
class PlanReader {
public:
    explicit PlanReader(const std::string& path)
    {
        EXPECT_EQ(sqlite3_open(path.c_str(), &m_db), SQLITE_OK);
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~PlanReader() { sqlite3_close(m_db); }
    sqlite3* db() const { return m_db; }
    PlanReader(const PlanReader&) = delete;
    PlanReader& operator=(const PlanReader&) = delete;

    void exec(const std::string& sql)
    {
        char* msg = nullptr;
        EXPECT_EQ(sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &msg), SQLITE_OK) << (msg ? msg : "") << "\n" << sql;
        sqlite3_free(msg);
    }

    // Explains the statements of text in order. One that creates or drops a
    // table is run afterwards, so that the statements after it see the
    // schema they were written for. "" or why a statement did not prepare.
    std::string explain(const std::string& text, std::vector<Explained>& out)
    {
        const char* tail = text.c_str();
        while (*tail != '\0') {
            sqlite3_stmt* stmt = nullptr;
            if (sqlite3_prepare_v2(m_db, tail, -1, &stmt, &tail) != SQLITE_OK) return sqlite3_errmsg(m_db);
            if (stmt == nullptr) break;
            Explained e;
            e.sql = sqlite3_sql(stmt);
            std::string error = program(e.sql, e.scanned);
            if (error.empty()) error = plan(e.sql, e.plan);
            if (error.empty() && changesSchema(e.sql)) {
                while (sqlite3_step(stmt) == SQLITE_ROW) {
                }
                if (sqlite3_reset(stmt) != SQLITE_OK) error = sqlite3_errmsg(m_db);
            }
            sqlite3_finalize(stmt);
            if (!error.empty()) return error + "\n" + e.sql;
            out.push_back(e);
        }
        return "";
    }

private:
    static bool changesSchema(const std::string& sql) { return FirstWordIs(sql, "CREATE") || FirstWordIs(sql, "DROP"); }

    // The table of every b-tree, by database number (0 main, 1 temp) and
    // root page.
    std::map<std::pair<int, int>, std::string> tablesByRoot()
    {
        std::map<std::pair<int, int>, std::string> tables;
        const char* const schemas[] = {"main", "temp"};
        for (int db = 0; db < 2; ++db) {
            const std::string sql = std::string("SELECT rootpage, tbl_name FROM ") + schemas[db] +
                                    ".sqlite_schema WHERE rootpage > 0";
            sqlite3_stmt* stmt = nullptr;
            EXPECT_EQ(sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(m_db);
            while (sqlite3_step(stmt) == SQLITE_ROW)
                tables[{db, sqlite3_column_int(stmt, 0)}] =
                    reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
            sqlite3_finalize(stmt);
        }
        return tables;
    }

    std::string program(const std::string& sql, std::set<std::string>& scanned)
    {
        const std::map<std::pair<int, int>, std::string> tables = tablesByRoot();
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, ("EXPLAIN " + sql).c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            return sqlite3_errmsg(m_db);
        // Cursor numbers are reused within a program: a cursor reads the
        // b-tree it was opened on last.
        std::map<int, std::string> cursorTable;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const std::string opcode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
            const int cursor = sqlite3_column_int(stmt, 2);
            if (opcode == "OpenRead" || opcode == "OpenWrite" || opcode == "ReopenIdx") {
                auto it = tables.find({sqlite3_column_int(stmt, 4), sqlite3_column_int(stmt, 3)});
                cursorTable[cursor] = it == tables.end() ? std::string() : it->second;
            } else if (opcode == "OpenEphemeral" || opcode == "OpenAutoindex" || opcode == "OpenPseudo" ||
                       opcode == "SorterOpen" || opcode == "OpenDup") {
                cursorTable[cursor].clear();
            } else if (opcode == "Rewind" || opcode == "Last" || opcode == "Count") {
                auto it = cursorTable.find(cursor);
                // The database's own tables (sqlite_sequence of AUTOINCREMENT
                // inserts, the schema) are not the system's.
                if (it != cursorTable.end() && !it->second.empty() && it->second.compare(0, 7, "sqlite_") != 0)
                    scanned.insert(it->second);
            }
        }
        sqlite3_finalize(stmt);
        return "";
    }

    std::string plan(const std::string& sql, std::string& text)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            return sqlite3_errmsg(m_db);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            text += std::string("\n    ") + reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3));
        sqlite3_finalize(stmt);
        return "";
    }

    sqlite3* m_db = nullptr;
};

// ---- The catalogue ------------------------------------------------------------

const int kRowsPerTable = 3000;

// Fills every table of the catalogue with kRowsPerTable rows: ids 1 to N, a
// column naming another row ("...Id", "...id", "..Id_l") one of N/4 values,
// any other number one of 3 values, texts distinct per pair of rows.
void SeedCatalogue(PlanReader& reader)
{
    sqlite3* db = reader.db();
    std::vector<std::string> tables;
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite%'",
                                 -1, &stmt, nullptr),
              SQLITE_OK);
    while (sqlite3_step(stmt) == SQLITE_ROW) tables.push_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    ASSERT_GT(tables.size(), 20u);

    const std::string n = std::to_string(kRowsPerTable);
    const std::string refs = std::to_string(kRowsPerTable / 4);
    std::string sql = "BEGIN;";
    for (const std::string& table : tables) {
        std::string names;
        std::string values;
        ASSERT_EQ(sqlite3_prepare_v2(db, ("SELECT name, type, pk, hidden FROM pragma_table_xinfo('" + table + "')").c_str(),
                                     -1, &stmt, nullptr),
                  SQLITE_OK);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            if (sqlite3_column_int(stmt, 3) != 0) continue;  // generated
            const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
            std::string lower = name;
            for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            std::string value;
            if (sqlite3_column_int(stmt, 2) != 0)
                value = "i";
            else if (type.find("CHAR") != std::string::npos || type.find("TEXT") != std::string::npos)
                value = "'" + name + "-' || (i / 2)";
            else if (lower.find("id") != std::string::npos)
                value = "1 + (i * 7919) % " + refs;
            else
                value = "i % 3";
            names += (names.empty() ? "" : ", ") + name;
            values += (values.empty() ? "" : ", ") + value;
        }
        sqlite3_finalize(stmt);
        sql += "INSERT INTO " + table + " (" + names + ") WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
               n + ") SELECT " + values + " FROM n;";
    }
    reader.exec(sql + "COMMIT;");
}

// ---- The requests -------------------------------------------------------------

struct Answer {
    unsigned long code = 0;
    size_t size = 0;
    std::vector<char> bytes;
};

// The reply as sent (its texts are gone); all zero when of another size.
template <typename Reply>
Reply ReplyOf(const Answer& a)
{
    Reply reply;
    std::memset(static_cast<void*>(&reply), 0, sizeof(reply));
    if (a.bytes.size() == sizeof(reply)) std::memcpy(static_cast<void*>(&reply), a.bytes.data(), sizeof(reply));
    return reply;
}

// The texts of one device registration while the request points at them.
struct Registration {
    std::string uniqueId;
    int32_t clientId;
    std::string deviceName;
    std::string path;
    std::string historyName;
    repSNRVolumeMountPoint mountPoint;

    repAddSNRDeviceV5Req request()
    {
        repAddSNRDeviceV5Req req;
        req.SNRVolume.UniqueId = RequestText(uniqueId);
        req.SNRVolume.UniqueIdType = 1;
        req.SNRVolume.LUN = 3;
        req.SNRVolume.BlockCount = 4096;
        req.SNRVolume.BlockSize = 512;
        req.SNRVolume.FSType = const_cast<char*>("NTFS");
        req.Device.ClientId = clientId;
        req.Device.DeviceName = RequestText(deviceName);
        mountPoint.Path = RequestText(path);
        req.MountPointCount = 1;
        req.MountPoints = &mountPoint;
        req.HistoryName.GlobalHistoryName = RequestText(historyName);
        return req;
    }
};

class StatementPlanTest : public SNRPostTest<Answer> {
protected:
    Answer decode(const void* data, unsigned long length) override
    {
        Answer a;
        a.bytes.assign(static_cast<const char*>(data), static_cast<const char*>(data) + length);
        return a;
    }

    repAddSNRDeviceV5Response registerDevice(Registration r)
    {
        repAddSNRDeviceV5Req req = r.request();
        return ReplyOf<repAddSNRDeviceV5Response>(post(0x35000206, &req, sizeof(repAddSNRDeviceV5Response)));
    }

    int32_t addVolume(const std::string& uniqueId)
    {
        repAddSNRVolumeV4Req req;
        req.SNRVolume.UniqueId = RequestText(uniqueId);
        req.SNRVolume.UniqueIdType = 2;
        req.SNRVolume.BlockCount = 8192;
        req.SNRVolume.BlockSize = 512;
        req.SNRVolume.FSType = const_cast<char*>("VMFS");
        return ReplyOf<repAddSNRVolumeV4Resp>(post(0x35000165, &req, sizeof(repAddSNRVolumeV4Resp))).status;
    }

    // Add (0x3500010b) or update (0x3500010d).
    uint32_t setHistoryName(unsigned long code, int deviceId, const char* name)
    {
        repYBTzHistoryNameRec req;
        req.DeviceId = deviceId;
        req.GlobalHistoryName = const_cast<char*>(name);
        return ReplyOf<repAddGlobalHistoryNameResp>(post(code, &req, sizeof(repAddGlobalHistoryNameResp))).status;
    }

    // By device (0x35000111) or by SNR volume (0x35000113).
    uint32_t queryHistoryName(unsigned long code, int32_t id)
    {
        repTzGlobalHistoryNameByDeviceReq req{id};
        return ReplyOf<repQueryTzGlobalHistoryNameResp>(post(code, &req, sizeof(repQueryTzGlobalHistoryNameResp))).status;
    }

    uint32_t removeHistoryName(int32_t deviceId)
    {
        repTzGlobalHistoryNameByDeviceReq req{deviceId};
        return ReplyOf<repDeleteTzGlobalHistoryNameResp>(post(0x3500010f, &req, sizeof(repDeleteTzGlobalHistoryNameResp)))
            .status;
    }

    // Representative requests of every operation that builds its SQL at run
    // time, through post and through the table classes.
    void runRequests()
    {
        Registration first{"PLAN-VOLUME-1", 7, "/dev/plan-a", "/mnt/plan-a", "plan-history-a", {}};
        EXPECT_EQ(registerDevice(first).status, 1);
        EXPECT_EQ(registerDevice(first).status, 0);  // the name is taken
        Registration second{"PLAN-VOLUME-1", 8, "/dev/plan-b", "/mnt/plan-b", "", {}};
        const repAddSNRDeviceV5Response device = registerDevice(second);  // the same volume, another client
        ASSERT_EQ(device.status, 1);
        ASSERT_GT(device.DeviceId, kRowsPerTable);

        EXPECT_EQ(addVolume("PLAN-VOLUME-2"), 1);
        EXPECT_EQ(addVolume("PLAN-VOLUME-2"), 0);  // known already

        EXPECT_EQ(queryHistoryName(0x35000113, device.SNRVolumeId), 1u);  // the first device's
        EXPECT_EQ(setHistoryName(0x3500010b, device.DeviceId, "plan-history-b"), 1u);
        EXPECT_EQ(setHistoryName(0x3500010d, device.DeviceId, "plan-history-c"), 1u);
        EXPECT_EQ(queryHistoryName(0x35000111, device.DeviceId), 1u);
        EXPECT_EQ(removeHistoryName(device.DeviceId), 1u);

        // A table class: rows by a where clause, counted, changed, added.
        YBApplicationDirs dirs(nullptr);
        dirs.setWhere("ReplicationVolumeId = %d", 7);
        int count = 0;
        EXPECT_EQ(dirs.getRowsInTable(&count, true), 0);
        ASSERT_EQ(dirs.openCursor(), 0);
        ASSERT_EQ(dirs.fetchCursor(true), 0);
        EXPECT_EQ(dirs.rowUpdate(nullptr), 0);
        EXPECT_EQ(dirs.rowUpdate("Flags = %d", 2), 0);
        dirs.closeCursor();
        EXPECT_EQ(dirs.rowInsert(true), 0);
    }

    // Explains every registered statement and every recorded text; each
    // whole-table read not listed as inherent fails the test.
    void checkPlans(PlanReader& reader, const std::vector<std::string>& recorded, const std::string& state)
    {
        reader.exec("BEGIN");
        // In name order, so that the later steps of a browse find the table
        // its first step made.
        std::set<std::string> registeredTexts;
        for (const auto& [name, entry] : DBStatementRegistry::all()) {
            if (entry.textArgument != 0) continue;  // the caller's text: recorded when it runs
            std::vector<Explained> explained;
            std::string error = reader.explain(entry.sql, explained);
            EXPECT_EQ(error, "") << name;
            for (const Explained& e : explained) {
                registeredTexts.insert(e.sql);
                expectIndexed(name, e, state);
            }
        }
        for (const std::string& text : recorded) {
            // A pragma reads no table of the system (and some may not be
            // prepared inside a transaction).
            if (registeredTexts.count(text) != 0 || FirstWordIs(text, "PRAGMA")) continue;
            std::vector<Explained> explained;
            std::string error = reader.explain(text, explained);
            EXPECT_EQ(error, "") << text;
            for (const Explained& e : explained) expectIndexed("", e, state);
        }
        reader.exec("ROLLBACK");
    }

    void expectIndexed(const std::string& name, const Explained& e, const std::string& state)
    {
        for (const std::string& table : e.scanned) {
            const Inherent* inherent = nullptr;
            for (const Inherent& i : kInherent) {
                const bool statement = *i.statement == '\0' || name == i.statement ||
                                       e.sql.find(i.statement) != std::string::npos;
                if (statement && table == i.table) inherent = &i;
            }
            if (inherent != nullptr)
                m_used.insert(inherent);
            else
                ADD_FAILURE() << "reads all of " << table << " (" << state << ")"
                              << (name.empty() ? "" : "\n  " + name) << "\n  " << e.sql << "\n  plan:" << e.plan;
        }
    }

    std::set<const Inherent*> m_used;
};

// Stops the recording however the test ends.
struct Recording {
    Recording() { DBStatementTrace::start(); }
    ~Recording() { DBStatementTrace::stop(); }
};

}  // namespace

TEST_F(StatementPlanTest, EveryStatementFindsItsRowsThroughAnIndex)
{
    PlanReader reader(m_path);
    SeedCatalogue(reader);
    ASSERT_FALSE(HasFatalFailure());

    std::vector<std::string> recorded;
    {
        Recording recording;
        DBtran::useCatalogue(m_path);  // the library's connection, traced
        runRequests();
        recorded = DBStatementTrace::recorded();
    }
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_GT(recorded.size(), 10u);

    // The catalogue as the system keeps it, without statistics, then with
    // the statistics of its rows.
    checkPlans(reader, recorded, "without statistics");

    for (const Inherent& i : kInherent)
        EXPECT_EQ(m_used.count(&i), 1u) << "no statement reads all of " << i.table << " any more: " << i.statement;
}
