#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "host/db/DBStatementTrace.h"
#include "host/db/SNRTables.h"
#include "support/TestCatalogue.h"

namespace {

size_t Recorded(const std::string& piece)
{
    const std::vector<std::string> texts = DBStatementTrace::recorded();
    return static_cast<size_t>(std::count_if(texts.begin(), texts.end(), [&piece](const std::string& text) {
        return text.find(piece) != std::string::npos;
    }));
}

}  // namespace

using StatementTraceTest = CatalogueTest;

// Each text run while recording is kept once; nothing is kept after stop or
// from a connection opened before start; start forgets the last record.
TEST_F(StatementTraceTest, RecordsEachTextRunWhileOnOnce)
{
    struct StopAtEnd {
        ~StopAtEnd() { DBStatementTrace::stop(); }
    } stopAtEnd;
    CSNRVolumeDeviceNameDB devices;
    unsigned int count = 0;
    DBStatementTrace::start();
    ASSERT_TRUE(devices.getNRows("ClientId = 1", count, nullptr));  // the connection opened before
    EXPECT_EQ(Recorded("COUNT(*)"), 0u);

    DBtran::useCatalogue(m_path);
    YBPhysicalDevice_t row;
    for (int id = 1; id <= 3; ++id) EXPECT_FALSE(devices.getInfo(id, row, nullptr));
    ASSERT_TRUE(devices.getNRows("ClientId = 1", count, nullptr));
    EXPECT_EQ(Recorded("FROM YBPhysicalDevice WHERE id = ?1"), 1u);
    // The value of the where text is bound.
    EXPECT_EQ(Recorded("SELECT COUNT(*) FROM YBPhysicalDevice WHERE ClientId = ?1"), 1u);

    DBStatementTrace::stop();
    ASSERT_TRUE(devices.getNRows("ClientId = 2 AND SNRVolumeId = 3", count, nullptr));
    EXPECT_EQ(Recorded("WHERE ClientId = ?1 AND SNRVolumeId = ?2"), 0u);
    EXPECT_EQ(Recorded("ClientId = ?1"), 1u);

    DBStatementTrace::start();
    EXPECT_TRUE(DBStatementTrace::recorded().empty());
}

// Each run of a text adds its rows (those returned or counted, those a write
// changed, and those a CREATE TABLE ... AS SELECT put into its table) and its
// steps; a run while off adds nothing, not even to the next run recorded.
TEST_F(StatementTraceTest, AddsTheRowsAndStepsOfEachRun)
{
    struct StopAtEnd {
        ~StopAtEnd() { DBStatementTrace::stop(); }
    } stopAtEnd;
    DBStatementTrace::start();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(m_path.c_str(), &db), SQLITE_OK);
    const char insert[] = "INSERT INTO YBPhysicalDevice (ClientId, DeviceName) VALUES (1, 'a'), (1, 'b'), (2, 'c')";
    ASSERT_EQ(sqlite3_exec(db, insert, nullptr, nullptr, nullptr), SQLITE_OK);
    const char select[] = "SELECT id FROM YBPhysicalDevice WHERE ClientId = ?1";
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, select, -1, &stmt, nullptr), SQLITE_OK);
    auto run = [stmt](int client) {
        sqlite3_bind_int(stmt, 1, client);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
        }
        sqlite3_reset(stmt);
    };
    run(1);
    const DBStatementCost once = DBStatementTrace::costs()[select];
    run(2);
    std::map<std::string, DBStatementCost> costs = DBStatementTrace::costs();
    EXPECT_EQ(costs[insert].runs, 1);
    EXPECT_EQ(costs[insert].rows, 3);
    EXPECT_EQ(costs[select].runs, 2);
    EXPECT_EQ(costs[select].rows, 3);
    EXPECT_EQ(once.rows, 2);
    const char count[] = "SELECT COUNT(*) FROM YBPhysicalDevice WHERE ClientId = 1";
    ASSERT_EQ(sqlite3_exec(db, count, nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(DBStatementTrace::costs()[count].rows, 2);  // the rows counted
    // The rows of the table made, counted by a statement the trace neither
    // records nor counts as a run.
    const char made[] = "CREATE TEMP TABLE Made AS SELECT id FROM YBPhysicalDevice WHERE ClientId = 1";
    const size_t runs = DBStatementTrace::runs();
    ASSERT_EQ(sqlite3_exec(db, made, nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(DBStatementTrace::costs()[made].rows, 2);
    EXPECT_EQ(DBStatementTrace::runs(), runs + 1);
    EXPECT_EQ(Recorded("Made"), 1u);
    EXPECT_GT(once.steps, 0);
    EXPECT_GT(costs[select].steps, once.steps);

    DBStatementTrace::stop();
    run(1);
    DBStatementTrace::start();
    EXPECT_TRUE(DBStatementTrace::costs().empty());
    run(1);
    costs = DBStatementTrace::costs();
    EXPECT_EQ(costs[select].runs, 1);
    EXPECT_EQ(costs[select].steps, once.steps);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
