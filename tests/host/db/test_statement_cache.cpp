#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/db/DBConnection.h"
#include "host/db/DBFormat.h"
#include "host/db/DBStatementCache.h"
#include "host/db/SNRTables.h"
#include "support/CatalogueFiles.h"
#include "support/TestCatalogue.h"

namespace {

const char kCount[] = "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 3) SELECT x FROM c";

// A cache on an in-memory database of its own.
class StatementCacheTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK); }
    void TearDown() override
    {
        cache.reset();
        // Fails with SQLITE_BUSY while any statement is left unfinalised.
        EXPECT_EQ(sqlite3_close(db), SQLITE_OK);
    }

    DBStatementCache::Entry* take(const std::string& sql)
    {
        DBStatementCache::Entry* entry = nullptr;
        EXPECT_EQ(cache->take(db, sql, entry), SQLITE_OK) << sql;
        return entry;
    }

    // The texts of the statements the database holds.
    std::multiset<std::string> prepared()
    {
        std::multiset<std::string> texts;
        for (sqlite3_stmt* s = sqlite3_next_stmt(db, nullptr); s != nullptr; s = sqlite3_next_stmt(db, s))
            texts.insert(sqlite3_sql(s));
        return texts;
    }

    sqlite3* db = nullptr;
    std::unique_ptr<DBStatementCache> cache{new DBStatementCache(2)};
};

TEST_F(StatementCacheTest, GivenBackStatementIsReusedResetAndUnbound)
{
    DBStatementCache::Entry* first = take("SELECT ?1");
    ASSERT_NE(first, nullptr);
    sqlite3_bind_int(first->stmt, 1, 5);
    ASSERT_EQ(sqlite3_step(first->stmt), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(first->stmt, 0), 5);
    cache->give(first);

    DBStatementCache::Entry* again = take("SELECT ?1");
    EXPECT_EQ(again, first);
    EXPECT_FALSE(sqlite3_stmt_busy(again->stmt));
    ASSERT_EQ(sqlite3_step(again->stmt), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_type(again->stmt, 0), SQLITE_NULL);
    cache->give(again);
    EXPECT_EQ(prepared().size(), 1u);
}

TEST_F(StatementCacheTest, TextLentOutTwiceGivesTwoStatementsThatRunApart)
{
    DBStatementCache::Entry* outer = take(kCount);
    ASSERT_EQ(sqlite3_step(outer->stmt), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(outer->stmt, 0), 1);

    DBStatementCache::Entry* inner = take(kCount);
    ASSERT_NE(inner, outer);
    int innerRows = 0;
    while (sqlite3_step(inner->stmt) == SQLITE_ROW) ++innerRows;
    EXPECT_EQ(innerRows, 3);
    cache->give(inner);

    ASSERT_EQ(sqlite3_step(outer->stmt), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(outer->stmt, 0), 2);
    cache->give(outer);
    EXPECT_EQ(prepared(), (std::multiset<std::string>{kCount, kCount}));
}

TEST_F(StatementCacheTest, LeastRecentlyGivenBackBeyondTheCapacityIsFinalised)
{
    for (const char* sql : {"SELECT 1", "SELECT 2", "SELECT 3"}) cache->give(take(sql));
    EXPECT_EQ(prepared(), (std::multiset<std::string>{"SELECT 2", "SELECT 3"}));
    cache->give(take("SELECT 2"));  // now the most recent
    cache->give(take("SELECT 4"));
    EXPECT_EQ(prepared(), (std::multiset<std::string>{"SELECT 2", "SELECT 4"}));

    // Lent statements do not count and are never taken from their borrower.
    DBStatementCache::Entry* a = take("SELECT 5");
    DBStatementCache::Entry* b = take("SELECT 6");
    DBStatementCache::Entry* c = take("SELECT 7");
    EXPECT_EQ(prepared().size(), 5u);
    EXPECT_EQ(sqlite3_step(a->stmt), SQLITE_ROW);
    for (DBStatementCache::Entry* e : {a, b, c}) cache->give(e);
    EXPECT_EQ(prepared(), (std::multiset<std::string>{"SELECT 6", "SELECT 7"}));
}

TEST_F(StatementCacheTest, TextOfSeveralStatementsIsTakenOneAtATime)
{
    const std::string text = "SELECT 1; SELECT 2 -- the last\n";
    DBStatementCache::Entry* first = take(text);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->last);
    EXPECT_EQ(text.substr(0, first->used), "SELECT 1;");
    DBStatementCache::Entry* second = take(text.substr(first->used));
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->last);
    cache->give(first);
    cache->give(second);

    DBStatementCache::Entry* none = take("  -- nothing\n");
    EXPECT_EQ(none, nullptr);
    DBStatementCache::Entry* broken = nullptr;
    EXPECT_EQ(cache->take(db, "SELEC 1", broken), SQLITE_ERROR);
    EXPECT_EQ(broken, nullptr);
}

// The values written into where and SET texts.
TEST(LiftLiteralsTest, ValuesBecomeParametersAndTheRestStays)
{
    auto lift = [](const char* clause, int first = 1) {
        std::string sql;
        std::vector<DBArgument> args;
        dbLiftLiterals(clause, first, sql, args);
        std::string shown = sql;
        for (const DBArgument& a : args) {
            shown += " | ";
            if (a.kind == DBArgument::TEXT) shown += "'" + a.s + "'";
            if (a.kind == DBArgument::INT64) shown += std::to_string(a.i);
            if (a.kind == DBArgument::REAL) shown += "r" + std::to_string(a.d);
        }
        return shown;
    };
    EXPECT_EQ(lift("ClientId = 12 AND DeviceName = 'it''s'"), "ClientId = ?1 AND DeviceName = ?2 | 12 | 'it's'");
    EXPECT_EQ(lift("StartLBA = -1 AND Size > 2.5e3", 4), "StartLBA = -?4 AND Size > ?5 | 1 | r2500.000000");
    EXPECT_EQ(lift("T1.id = 0 AND \"Col 2\" = 'a' AND [x 3] = `y 4`"),
              "T1.id = ?1 AND \"Col 2\" = ?2 AND [x 3] = `y 4` | 0 | 'a'");
    EXPECT_EQ(lift("Mask = 0x1F AND Data = x'00ff' AND Id = ?7 AND Big = 99999999999999999999"),
              "Mask = 0x1F AND Data = x'00ff' AND Id = ?7 AND Big = 99999999999999999999");
    EXPECT_EQ(lift("Id = 1 -- 2 'x'\n AND Flags = 3 /* 4 */"), "Id = ?1 -- 2 'x'\n AND Flags = ?2 /* 4 */ | 1 | 3");
    // A type name of a CAST and the terms of an ORDER BY keep their numbers.
    EXPECT_EQ(lift("CAST(Name AS VARCHAR(10)) = '5' AND Id IN (SELECT Id FROM T ORDER BY 2 LIMIT 1) AND Flags = 4"),
              "CAST(Name AS VARCHAR(10)) = ?1 AND Id IN (SELECT Id FROM T ORDER BY 2 LIMIT 1) AND Flags = ?2 | '5' | 4");
    EXPECT_EQ(lift("Name = 'open"), "Name = 'open");

    // After the parameters of a SET clause, the where clause numbers on.
    std::string set;
    std::string where;
    std::vector<DBArgument> args;
    dbLiftLiterals("Path = 'p'", 1, set, args);
    dbLiftLiterals("Name = 'n' AND Id = 7", static_cast<int>(args.size()) + 1, where, args);
    EXPECT_EQ(set + " WHERE " + where, "Path = ?1 WHERE Name = ?2 AND Id = ?3");
    ASSERT_EQ(args.size(), 3u);
    EXPECT_EQ(args[1].s, "n");
}

class CatalogueStatementsTest : public CatalogueTest {
protected:
    size_t kept()
    {
        std::shared_ptr<DBConnection> conn;
        EXPECT_EQ(dbThreadConnection(conn), 0);
        return conn ? conn->statements.kept() : 0;
    }
    int count(const std::string& where)
    {
        CSNRVolumeDeviceNameDB db;
        unsigned int n = 0;
        EXPECT_TRUE(db.getNRows(where.c_str(), n, nullptr)) << where;
        return static_cast<int>(n);
    }
};

TEST_F(CatalogueStatementsTest, ClausesThatDifferInTheirValuesShareOneStatement)
{
    CSNRVolumeDeviceNameDB db;
    for (int client = 1; client <= 3; ++client) {
        YBPhysicalDevice_t row;
        row.ClientId = client;
        std::snprintf(row.DeviceName, sizeof row.DeviceName, "/dev/it's-%d", client);
        ASSERT_TRUE(db.insert(row, nullptr));
    }
    EXPECT_EQ(count("ClientId = 1 AND DeviceName = '/dev/it''s-1'"), 1);
    const size_t after = kept();
    EXPECT_EQ(count("ClientId = 2 AND DeviceName = '/dev/it''s-2'"), 1);
    EXPECT_EQ(count("ClientId = 3 AND DeviceName = '/dev/it''s-1'"), 0);
    EXPECT_EQ(kept(), after);
    // A quote inside the text is a value, never SQL.
    EXPECT_EQ(count("DeviceName = 'x'' OR ''1''=''1'"), 0);
}

TEST_F(CatalogueStatementsTest, ClosedConnectionLeavesTheFileClosed)
{
    EXPECT_EQ(count("ClientId = 1"), 0);
    EXPECT_GT(kept(), 0u);
    auto openFiles = [this] {
        int n = 0;
        for (const char* suffix : {"", "-wal"}) {
            char target[4096];
            for (int fd = 0; fd < 1024; ++fd) {
                ssize_t len = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
                if (len > 0 && std::string(target, static_cast<size_t>(len)) == m_path + suffix) ++n;
            }
        }
        return n;
    };
    EXPECT_GT(openFiles(), 0);
    // The thread's connection closes: a statement left unfinalised would
    // keep it, and the file, open.
    DBtran::useCatalogue(m_dir + "/other.db");
    EXPECT_EQ(openFiles(), 0);
    RemoveCatalogueFiles(m_dir + "/other.db");
}

}  // namespace
