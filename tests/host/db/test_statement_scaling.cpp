// What each statement the system runs on the catalogue costs per row stays
// the same as the catalogue grows. The catalogue is filled twice, the second
// time with ten times the rows, and never analysed, as the system leaves it.
// Most rows have a few rows under them whatever the size; the owners of what
// a large deployment has many of (the members of a pool, the devices of a
// client, the replicas of a volume, ...) are row 1 of their tables, which
// has a quarter of those rows under it. On each catalogue every registered
// statement runs with each argument 1, and the requests of the plan test
// run through post while their statements are traced. A statement whose
// virtual machine steps per row (returned, counted, or changed by a write)
// grow with the catalogue walks rows it does not deliver: it fails, named
// with its plan, unless it reads a whole table the plan test lists as
// inherent to it (and then grows no faster than that table), or is listed
// below as walking a group no index narrows.
//
// Steps are counted, not timed: the check gives the same verdict on every
// machine and under the sanitizers. The steps per row of every statement run
// are printed.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/db/DBStatementRegistry.h"
#include "host/db/DBStatementTrace.h"
#include "host/db/PlanRequests.h"
#include "support/CatalogueFiles.h"
#include "support/CatalogueFill.h"
#include "support/CataloguePlans.h"
#include "support/StatementRuns.h"

using namespace statement_plans;

namespace {

const int kSmallRows = 1000;
const int kLargeRows = 10000;

// What one owner has many of in a large deployment, by the column naming the
// owner: row 1 of the owner's table owns a quarter of these rows.
const std::set<std::string> kGrowing = {
    "YBScratchVolume.RVScratchVolumePoolId",  // the members of a pool
    "YBPhysicalDevice.ClientId",              // the devices of a client
    "YBVolume.PrimaryVolumeId",               // the replicas of a volume, kept over time
    "YBVolume.ReplicationPolicyId",           // the replicas a policy made
    "YBVolume.JobId",                         // the replicas one job made
    "YBSubclientYBVolumes.Scid",              // the replicas of a subclient
    "YBApplicationDirs.subclientId",          // the directories recorded for a subclient
    "YBApplicationDirs.clientId",             // ... and for a client
    "YBJobVolumeHistory.JobId",               // the volumes of a job
    "YBJobVolumeHistory.SrcVolId",            // the jobs of a volume over time
    "YBJobVolumeHistory.SrcClientId",         // ... and of a client
    "YBFLRConsistencyPoint.FLRSetId",         // the recovery points of a set over time
    "YBFLRConsistencyPoint.ClientId",         // ... and of a client
    "YBFLRSnapPair.PairId",                   // the snapshots of a pair over time
    "YBSAPOracleJob.ClientId",                // the jobs of a client over time
    "DHT_Application.appTypeId",              // the subclients of an application type
};

// A walk of a growing group that the statement's purpose requires: no index
// narrows it to the rows returned.
struct Walk {
    const char* statement;  // registered name
    const char* reason;
};

const Walk kWalks[] = {
    {"YBFLRGetRPByClientIdAndVolName",
     "reads the client's recovery points: a volume name is commonly the same on many clients, and no index holds "
     "the client and the name together"},
};

// A statement's steps per row at the large size may be this many times those
// at the small size, plus kSlack steps, before they count as growing: steps
// per row that follow an index stay within a few percent, a walk of rows the
// catalogue's growth adds multiplies them by up to ten. A statement reading
// a whole table grows with it, up to kSizeRatio times as much again.
const double kGrowth = 2.0;
const double kSlack = 20.0;
const double kSizeRatio = static_cast<double>(kLargeRows) / kSmallRows;

// The runs of one statement at one size, and the text of one of them; a
// registered statement explained as it ran.
struct Measured {
    long long runs = 0;
    long long rows = 0;
    long long steps = 0;
    std::string text;
    ExplainedStatement explained;
    std::string explainError = "not explained";

    double stepsPerRow() const
    {
        const long long per = rows > runs ? rows : runs;  // a run that finds nothing counts as one row
        return per == 0 ? 0.0 : static_cast<double>(steps) / static_cast<double>(per);
    }
};

// A statement as the check names it: how it ran ("registered", run with
// each argument 1, or "requests") and its text with each number written
// into it as "#" (the ids of the rows a request made differ by size).
using StatementKey = std::pair<std::string, std::string>;

std::string WithoutNumbers(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const unsigned char before = i == 0 ? ' ' : static_cast<unsigned char>(text[i - 1]);
        if (std::isdigit(c) && !std::isalnum(before) && before != '_' && before != '?') {
            while (i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]))) ++i;
            out += '#';
        } else {
            out += text[i];
        }
    }
    return out;
}

// Whether a statement counts rows: its rows are then the number it returns,
// as DBStatementTrace counts them.
bool Counts(sqlite3_stmt* stmt)
{
    return sqlite3_column_count(stmt) == 1 && sqlite3_strnicmp(sqlite3_sql(stmt), "SELECT COUNT(", 13) == 0;
}

class StatementScalingTest : public PlanRequestTest {
protected:
    void SetUp() override
    {
        PlanRequestTest::SetUp();
        m_smallPath = m_path;
    }

    void TearDown() override
    {
        RemoveCatalogueFiles(largePath());
        m_path = m_smallPath;
        PlanRequestTest::TearDown();
    }

    std::string largePath() const { return m_dir + "/large.db"; }

    // Fills the catalogue at path (the library's and the test's from then
    // on) with rows per table and measures every statement on it.
    void measure(const std::string& path, int rows, std::map<StatementKey, Measured>& out)
    {
        m_path = path;
        DBtran::useCatalogue(path);  // creates the file with its schema
        PlanReader reader(path);
        // An odd number of values keeps the rows of each share on distinct rows.
        reader.exec(FillEveryTableSql(reader.db(), rows, rows / 4 + 1, kGrowing));
        runRegistered(reader, out);
        StatementRuns recording(path);
        runRequests(rows);
        for (const auto& [text, cost] : DBStatementTrace::costs()) {
            // A pragma reads no table of the system.
            if (SqlFirstWordIs(text, "PRAGMA")) continue;
            Measured& m = out[{"requests", WithoutNumbers(text)}];
            m.runs += cost.runs;
            m.rows += cost.rows;
            m.steps += cost.steps;
            m.text = text;
        }
    }

    // Runs every registered statement with each argument 1, in name order (so
    // that the later steps of a browse find the table its first step made),
    // in a transaction rolled back at the end.
    void runRegistered(PlanReader& reader, std::map<StatementKey, Measured>& out)
    {
        reader.exec("BEGIN");
        for (const auto& [name, entry] : DBStatementRegistry::all()) {
            if (entry.textArgument != 0) continue;  // the caller's text: traced when the requests run it
            const char* tail = entry.sql.c_str();
            for (int step = 1; *tail != '\0'; ++step) {
                sqlite3_stmt* stmt = nullptr;
                ASSERT_EQ(sqlite3_prepare_v2(reader.db(), tail, -1, &stmt, &tail), SQLITE_OK)
                    << name << ": " << sqlite3_errmsg(reader.db());
                if (stmt == nullptr) break;  // blanks after the last statement
                Measured m;
                m.text = sqlite3_sql(stmt);
                m.explainError = reader.explainOne(m.text, m.explained);
                // The statements of a text of several by their place in it.
                const bool several = step > 1 || tail[std::strspn(tail, " \t\r\n;")] != '\0';
                m_names[WithoutNumbers(m.text)] = several ? name + " [" + std::to_string(step) + "]" : name;
                for (int i = 1; i <= sqlite3_bind_parameter_count(stmt); ++i) sqlite3_bind_int(stmt, i, 1);
                const sqlite3_int64 changes = sqlite3_total_changes64(reader.db());
                m.runs = 1;
                int rc;
                while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) m.rows += Counts(stmt) ? sqlite3_column_int64(stmt, 0) : 1;
                EXPECT_EQ(rc, SQLITE_DONE) << name << ": " << sqlite3_errmsg(reader.db());
                if (!sqlite3_stmt_readonly(stmt)) m.rows += sqlite3_total_changes64(reader.db()) - changes;
                m.steps = sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_VM_STEP, 0);
                out[{"registered", WithoutNumbers(m.text)}] = m;
                sqlite3_finalize(stmt);
            }
        }
        reader.exec("ROLLBACK");
    }

    // The registered name of a statement ("name [step]" in a text of
    // several), or its text.
    std::string nameOf(const std::string& withoutNumbers, const std::string& text) const
    {
        auto it = m_names.find(withoutNumbers);
        return it == m_names.end() ? text : it->second;
    }

    // Why a statement's steps per row may grow from before to after: "" when
    // they stay, the known walk or whole-table read that grows them, or a
    // failure naming the statement with its plan and "GROWS".
    std::string judge(const StatementKey& key, const Measured& small, const Measured& large,
                      const ExplainedStatement& explained, const std::string& explainError)
    {
        const double before = small.stepsPerRow();
        const double after = large.stepsPerRow();
        if (after <= kGrowth * before + kSlack) return "";
        const std::string name = nameOf(key.second, large.text);
        const std::string registered = name == large.text ? "" : name.substr(0, name.find(" ["));
        for (const Walk& walk : kWalks) {
            if (registered != walk.statement) continue;
            m_walksSeen.insert(&walk);
            return "known: walks a group";
        }
        std::string why = "grow";
        for (const std::string& table : explained.scanned) {
            if (InherentScan(registered, large.text, table) == nullptr) continue;
            if (after <= kGrowth * kSizeRatio * before + kSlack) return "known: reads all of " + table;
            why = "grow faster than the whole table it reads, " + table + ",";
        }
        ADD_FAILURE() << "steps per row " << why << " from " << before << " to " << after << " (" << key.first
                      << ", runs " << small.runs << " / " << large.runs << ", rows " << small.rows << " / "
                      << large.rows << ")\n  " << name << (name == large.text ? "" : "\n  " + large.text)
                      << "\n  plan:" << explained.plan << explainError;
        return "GROWS";
    }

    std::map<std::string, std::string> m_names;  // registered name by statement text without numbers
    std::set<const Walk*> m_walksSeen;
    std::string m_smallPath;
};

}  // namespace

TEST_F(StatementScalingTest, EveryStatementCostsTheSamePerRowWhateverTheCatalogueSize)
{
    static_assert(kLargeRows < kFreeIds, "the requests' own rows need ids above the seeded ones");
    std::map<StatementKey, Measured> small;
    std::map<StatementKey, Measured> large;
    measure(m_path, kSmallRows, small);
    ASSERT_FALSE(HasFatalFailure());
    measure(largePath(), kLargeRows, large);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_GT(small.size(), 100u);

    std::set<StatementKey> keys;
    for (const auto& entry : small) keys.insert(entry.first);
    for (const auto& entry : large) keys.insert(entry.first);
    PlanReader reader(largePath());
    std::printf("Steps per row at %d and at %d rows per table:\n", kSmallRows, kLargeRows);
    for (const StatementKey& key : keys) {
        auto s = small.find(key);
        auto l = large.find(key);
        if (s == small.end() || l == large.end()) {
            const Measured& ran = s == small.end() ? l->second : s->second;
            ADD_FAILURE() << "ran at " << (s == small.end() ? kLargeRows : kSmallRows) << " rows per table only ("
                          << key.first << "): " << nameOf(key.second, ran.text);
            continue;
        }
        // As registered statements ran (the later steps of a browse read the
        // table of its first), else as the large catalogue stands.
        auto registered = large.find({"registered", key.second});
        ExplainedStatement explained = registered != large.end() ? registered->second.explained : ExplainedStatement();
        std::string explainError = registered != large.end() ? registered->second.explainError : "";
        if (registered == large.end()) explainError = reader.explainOne(l->second.text, explained);
        const std::string verdict = judge(key, s->second, l->second, explained, explainError);
        std::printf("%10.1f %10.1f  %-10s %s%s%s\n", s->second.stepsPerRow(), l->second.stepsPerRow(),
                    key.first.c_str(), nameOf(key.second, l->second.text).c_str(), verdict.empty() ? "" : "  -- ",
                    verdict.c_str());
    }
    for (const Walk& walk : kWalks)
        EXPECT_EQ(m_walksSeen.count(&walk), 1u) << walk.statement << " grows no more: take it off the list";
}
