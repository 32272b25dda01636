// Every statement the system runs on the catalogue finds its rows through an
// index: each registered statement, and each text the library built while
// representative requests ran through post and through the table classes
// (recorded by DBStatementTrace), is explained on a catalogue of a few
// thousand rows per table. A statement that reads a whole table fails the
// test unless the table is listed as inherent to that statement
// (PlanRequests.cpp).
//
// Registered statements are found in the registry, and run-time texts are
// recorded, so statements and where texts added later are checked without
// being named here; a new request joins by adding it to the requests run.
//
// The catalogue is not analysed: the system gathers no statistics, so the
// planner of every catalogue in use works from its default estimates, which
// take no account of row counts. The plans explained are the ones the system
// runs; the rows give the requests a catalogue in use to work on.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <set>
#include <string>
#include <vector>

#include "host/db/DBStatementRegistry.h"
#include "host/db/DBStatementTrace.h"
#include "host/db/PlanRequests.h"
#include "support/CatalogueFill.h"
#include "support/CataloguePlans.h"
#include "support/StatementRuns.h"

using namespace statement_plans;

namespace {

const int kRowsPerTable = 3000;

// Fills every table of the catalogue with kRowsPerTable rows: ids 1 to N, a
// column naming another row ("...Id", "...id", "..Id_l") one of N/4 values,
// any other number one of 3 values, texts distinct per pair of rows.
void SeedCatalogue(PlanReader& reader)
{
    ASSERT_GT(CatalogueTables(reader.db()).size(), 20u);
    reader.exec(FillEveryTableSql(reader.db(), kRowsPerTable, kRowsPerTable / 4));
}

class StatementPlanTest : public PlanRequestTest {
protected:
    // Explains every registered statement and every recorded text; each
    // whole-table read not listed as inherent fails the test.
    void expectIndexedPlans(PlanReader& reader, const std::vector<std::string>& recorded)
    {
        reader.exec("BEGIN");  // the browse tables the steps make go again
        // In name order, so that the later steps of a browse find the table
        // its first step made.
        std::set<std::string> registeredTexts;
        for (const auto& [name, entry] : DBStatementRegistry::all()) {
            if (entry.textArgument != 0) continue;  // the caller's text: recorded when it runs
            std::vector<ExplainedStatement> explained;
            EXPECT_EQ(reader.explain(entry.sql, explained), "") << name;
            for (const ExplainedStatement& e : explained) {
                registeredTexts.insert(e.sql);
                expectIndexed(name, e);
            }
        }
        for (const std::string& text : recorded) {
            // A pragma reads no table of the system (and some may not be
            // prepared inside a transaction).
            if (registeredTexts.count(text) != 0 || SqlFirstWordIs(text, "PRAGMA")) continue;
            std::vector<ExplainedStatement> explained;
            EXPECT_EQ(reader.explain(text, explained), "");
            for (const ExplainedStatement& e : explained) expectIndexed("", e);
        }
        reader.exec("ROLLBACK");
    }

    void expectIndexed(const std::string& name, const ExplainedStatement& e)
    {
        for (const std::string& table : e.scanned) {
            const Inherent* inherent = InherentScan(name, e.sql, table);
            if (inherent != nullptr)
                m_inherentSeen.insert(inherent);
            else
                ADD_FAILURE() << "reads all of " << table << (name.empty() ? "" : "\n  " + name) << "\n  " << e.sql
                              << "\n  plan:" << e.plan;
        }
    }

    std::set<const Inherent*> m_inherentSeen;
};

}  // namespace

TEST_F(StatementPlanTest, EveryStatementFindsItsRowsThroughAnIndex)
{
    PlanReader reader(m_path);
    SeedCatalogue(reader);
    ASSERT_FALSE(HasFatalFailure());

    std::vector<std::string> recorded;
    {
        StatementRuns recording(m_path);
        runRequests(kRowsPerTable);
        recorded = DBStatementTrace::recorded();
    }
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_GT(recorded.size(), 10u);

    expectIndexedPlans(reader, recorded);
    for (const Inherent& i : InherentScans())
        EXPECT_EQ(m_inherentSeen.count(&i), 1u)
            << "no statement reads all of " << i.table << " any more (" << i.reason << "): " << i.statement;
}

// The two checks of a registration find the client's device with the name
// (compared without regard to case, as the column does) or on the volume in
// one search of both columns, however many devices the client has.
TEST_F(StatementPlanTest, RegistrationChecksSearchTheClientsDevicesByBothColumns)
{
    std::vector<std::string> recorded;
    {
        StatementRuns recording(m_path);
        Registration r{"PLAN-VOLUME-1", 7, "/dev/Plan-A", "/mnt/plan-a", "", {}};
        ASSERT_EQ(registerDevice(r).status, 1);
        recorded = DBStatementTrace::recorded();
    }
    PlanReader reader(m_path);
    const std::pair<const char*, const char*> searches[] = {{"DeviceName", "(ClientId=? AND DeviceName=?)"},
                                                            {"SNRVolumeId", "(ClientId=? AND SNRVolumeId=?)"}};
    std::set<std::string> found;
    for (const std::string& text : recorded) {
        if (!SqlFirstWordIs(text, "SELECT") || text.find("FROM YBPhysicalDevice WHERE ClientId") == std::string::npos)
            continue;
        std::vector<ExplainedStatement> explained;
        ASSERT_EQ(reader.explain(text, explained), "");
        for (const auto& [column, search] : searches) {
            if (text.find(std::string(column) + " =") == std::string::npos) continue;
            found.insert(column);
            EXPECT_NE(explained[0].plan.find(search), std::string::npos)
                << "no search " << search << ":\n  " << text << "\n  plan:" << explained[0].plan;
        }
    }
    EXPECT_EQ(found.size(), 2u);
}

using PlanReaderTest = CatalogueTest;

// What the plan test counts as a whole-table read, and what not.
TEST_F(PlanReaderTest, FindsEveryWholeTableReadAndOnlyThose)
{
    PlanReader reader(m_path);
    const std::set<std::string> none;
    const std::set<std::string> devices{"YBPhysicalDevice"};
    // Through an alias, through an index for the order, by a count.
    EXPECT_EQ(reader.scanned("SELECT * FROM YBPhysicalDevice D WHERE D.Flags = ?1"), devices);
    EXPECT_EQ(reader.scanned("SELECT * FROM YBPhysicalDevice WHERE Flags = 1 ORDER BY DeviceName"), devices);
    EXPECT_EQ(reader.scanned("SELECT COUNT(*) FROM YBPhysicalDevice"), devices);
    // An automatic index is made by reading all of its table.
    EXPECT_EQ(reader.scanned("SELECT M.Path FROM YBMountPoint M, YBPhysicalDevice D WHERE M.Flags = D.Flags"),
              (std::set<std::string>{"YBMountPoint", "YBPhysicalDevice"}));
    // Searches by an index or the key; an insert (whose AUTOINCREMENT reads the
    // database's own sequence table on a cursor the table had).
    EXPECT_EQ(reader.scanned("SELECT * FROM YBPhysicalDevice WHERE DeviceName = ?1"), none);
    EXPECT_EQ(reader.scanned("SELECT * FROM YBPhysicalDevice WHERE id > 0 ORDER BY id"), none);
    EXPECT_EQ(reader.scanned("INSERT INTO YBPhysicalDevice (ClientId, DeviceName) VALUES (?1, ?2)"), none);
    // A table made by an earlier statement of the text.
    EXPECT_EQ(reader.scanned("CREATE TABLE temp.Made (a); SELECT a FROM Made WHERE a = 1; DROP TABLE Made"),
              (std::set<std::string>{"Made"}));
}
