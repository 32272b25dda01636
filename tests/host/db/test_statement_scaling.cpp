// What each statement the system runs on the catalogue costs per row stays
// the same as the catalogue grows. The catalogue is filled twice, the second
// time with ten times the rows, and never analysed, as the system leaves it.
// Most rows have a few rows under them whatever the size; the owners of what
// a large deployment has many of (the members of a pool, the devices of a
// client, the replicas of a volume, ...) are row 1 of their tables, which
// has a quarter of those rows under it. On each catalogue every registered
// statement runs twice: with each argument 1, the crowded owner, and with
// each argument a selective value, one that a few rows hold at both sizes
// (so that a walk of rows the argument does not narrow costs more per row
// returned as the catalogue grows, instead of returning a quarter of them);
// and the requests of the plan test run through post while their statements
// are traced. A statement's rows are those it returns (or counts) and those
// it writes. A statement whose virtual machine steps per row grow with the
// catalogue walks rows it does not deliver: it fails, named with its plan,
// unless it is listed below with the reason its purpose grows it, and then
// it fails when it grows past the bound listed with it.
//
// Steps are counted, not timed: the check gives the same verdict on every
// machine and under the sanitizers. The steps per row and the rows of every
// statement run are printed.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <regex>
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

// The runs compared: the registered statements with each argument 1 and
// with each argument selective, and the texts of the requests.
const char* const kCrowded = "crowded";
const char* const kSelective = "selective";
const char* const kRequests = "requests";

const double kSizeRatio = static_cast<double>(kLargeRows) / kSmallRows;

// A statement's steps per row at the large size may be this many times those
// at the small size, plus kSlack steps, before they count as growing: steps
// per row that follow an index stay within a few percent, a walk of rows the
// catalogue's growth adds multiplies them by up to ten.
const double kGrowth = 2.0;
const double kSlack = 20.0;

// A statement whose steps per row grow with the catalogue by its purpose.
struct Growth {
    const char* statement;  // registered name, or a piece of a text the library builds
    const char* run;        // the run that grows it, or "" for each
    // Its steps per row at the large size are at most this many times those
    // at the small size (plus kSlack).
    double bound;
    const char* reason;
};

// A read of a whole table that finds a few rows costs as many times more per
// row as the table has rows.
const Growth kGrowths[] = {
    {"YBPruneJobHistory", "", kSizeRatio,
     "reads every job history entry to find those whose SNR volume is gone, however few are"},
    {"YBGetVEHosts", "", 1.5 * kSizeRatio,
     "reads every client to find the virtualization hosts by status bits and platform; the larger catalogue holds "
     "fewer of them"},
    {"UniqueSnapshotID LIKE", kRequests, kSizeRatio,
     "reads every SNR volume: a unique snapshot id is matched as the end of the stored id, an order no index keeps"},
    {"YBFLRGetRPByClientIdAndVolName", kCrowded, kSizeRatio,
     "walks the client's recovery points, a quarter of them all for the crowded client: a volume name is commonly "
     "the same on many clients, and no index holds the client and the name together"},
};

// The growth listed for the statement of that registered name ("" for a text
// the library built) and text in run, or null.
const Growth* GrowthOf(const std::string& name, const std::string& text, const std::string& run)
{
    for (const Growth& g : kGrowths) {
        const bool statement = name == g.statement || (name.empty() && text.find(g.statement) != std::string::npos);
        if (statement && (*g.run == '\0' || run == g.run)) return &g;
    }
    return nullptr;
}

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

// A statement as the check names it: the run it ran in (kCrowded,
// kSelective or kRequests) and its text with each number written
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

// The text column parameter ("?2") of sql is compared with, as declared
// ("S.Name = ?2", "?2 = Name"; the spelling of the text first), or "" when
// the parameter is compared with no text column.
std::string TextColumnOf(const std::string& sql, const std::string& parameter, const std::set<std::string>& texts)
{
    const std::string name = "([A-Za-z_][A-Za-z0-9_]*)";
    const std::string op = "\\s*(?:=|==|<>|!=|<=|>=|<|>)\\s*";
    const std::string self = "\\" + parameter + "(?![0-9])";
    const std::regex compared(name + op + self + "|" + self + op + "(?:[A-Za-z_][A-Za-z0-9_]*\\.)?" + name);
    for (std::sregex_iterator it(sql.begin(), sql.end(), compared), end; it != end; ++it) {
        const std::string column = (*it)[1].matched ? (*it)[1].str() : (*it)[2].str();
        if (texts.count(column) != 0) return column;
        for (const std::string& text : texts)
            if (sqlite3_stricmp(text.c_str(), column.c_str()) == 0) return text;
    }
    return "";
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
        {
            PlanReader reader(path);
            // An odd number of values keeps the rows of each share on distinct rows.
            reader.exec(FillEveryTableSql(reader.db(), rows, rows / 4 + 1, kGrowing));
        }
        runRegistered(path, kCrowded, out);
        runRegistered(path, kSelective, out);
        StatementRuns recording(path);
        runRequests(rows);
        for (const auto& [text, cost] : DBStatementTrace::costs()) {
            // A pragma reads no table of the system.
            if (SqlFirstWordIs(text, "PRAGMA")) continue;
            Measured& m = out[{kRequests, WithoutNumbers(text)}];
            m.runs += cost.runs;
            m.rows += cost.rows;
            m.steps += cost.steps;
            m.text = text;
        }
    }

    // Runs every registered statement once, each argument 1 (kCrowded) or
    // the selective value of the column it is compared with (kSelective), in
    // name order (so that the later steps of a browse find the table its
    // first step made), in a transaction rolled back at the end, on a
    // connection traced for their cost.
    void runRegistered(const std::string& path, const char* run, std::map<StatementKey, Measured>& out)
    {
        struct Recording {
            Recording() { DBStatementTrace::start(); }
            ~Recording() { DBStatementTrace::stop(); }
        } recording;
        PlanReader reader(path);  // opened while recording: traced
        const std::set<std::string> texts = TextColumns(reader.db());
        const bool selective = std::strcmp(run, kSelective) == 0;
        std::vector<Measured> measured;
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
                for (int i = 1; i <= sqlite3_bind_parameter_count(stmt); ++i) {
                    const std::string column =
                        selective ? TextColumnOf(m.text, sqlite3_bind_parameter_name(stmt, i), texts) : "";
                    if (!column.empty())
                        sqlite3_bind_text(stmt, i, SelectiveText(column).c_str(), -1, SQLITE_TRANSIENT);
                    else
                        sqlite3_bind_int(stmt, i, selective ? kSelectiveRef : 1);
                }
                int rc;
                while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                }
                EXPECT_EQ(rc, SQLITE_DONE) << name << ": " << sqlite3_errmsg(reader.db());
                sqlite3_finalize(stmt);
                measured.push_back(m);
            }
        }
        reader.exec("ROLLBACK");
        std::map<std::string, DBStatementCost> costs = DBStatementTrace::costs();
        for (Measured& m : measured) {
            const DBStatementCost& cost = costs[m.text];
            m.runs = cost.runs;
            m.rows = cost.rows;
            m.steps = cost.steps;
            out[{run, WithoutNumbers(m.text)}] = m;
        }
    }

    // The registered name of a statement ("name [step]" in a text of
    // several), or its text.
    std::string nameOf(const std::string& withoutNumbers, const std::string& text) const
    {
        auto it = m_names.find(withoutNumbers);
        return it == m_names.end() ? text : it->second;
    }

    // Why a statement's steps per row may grow from before to after: "" when
    // they stay, the growth listed for it, or a failure naming the statement
    // with its plan and "GROWS".
    std::string judge(const StatementKey& key, const Measured& small, const Measured& large,
                      const ExplainedStatement& explained, const std::string& explainError)
    {
        const double before = small.stepsPerRow();
        const double after = large.stepsPerRow();
        if (after <= kGrowth * before + kSlack) return "";
        const std::string name = nameOf(key.second, large.text);
        const std::string registered = name == large.text ? "" : name.substr(0, name.find(" ["));
        const Growth* growth = GrowthOf(registered, large.text, key.first);
        std::string why = "grow";
        if (growth != nullptr) {
            m_growthsSeen.insert(growth);
            char bound[32];
            std::snprintf(bound, sizeof bound, "%g", growth->bound);
            if (after <= growth->bound * before + kSlack) return std::string("known, at most x") + bound;
            why = std::string("grow past x") + bound + " (" + growth->reason + ")";
        }
        ADD_FAILURE() << "steps per row " << why << " from " << before << " to " << after << " (" << key.first
                      << ", runs " << small.runs << " / " << large.runs << ", rows " << small.rows << " / "
                      << large.rows << ")\n  " << name << (name == large.text ? "" : "\n  " + large.text)
                      << "\n  plan:" << explained.plan << explainError;
        return "GROWS";
    }

    std::map<std::string, std::string> m_names;  // registered name by statement text without numbers
    std::set<const Growth*> m_growthsSeen;
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
    std::printf("Steps per row, and rows, at %d and at %d rows per table:\n", kSmallRows, kLargeRows);
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
        auto registered = large.find({kCrowded, key.second});
        ExplainedStatement explained = registered != large.end() ? registered->second.explained : ExplainedStatement();
        std::string explainError = registered != large.end() ? registered->second.explainError : "";
        if (registered == large.end()) explainError = reader.explainOne(l->second.text, explained);
        const std::string verdict = judge(key, s->second, l->second, explained, explainError);
        std::printf("%10.1f %10.1f %7lld %7lld  %-9s %s%s%s\n", s->second.stepsPerRow(), l->second.stepsPerRow(),
                    s->second.rows, l->second.rows, key.first.c_str(), nameOf(key.second, l->second.text).c_str(),
                    verdict.empty() ? "" : "  -- ", verdict.c_str());
    }
    for (const Growth& growth : kGrowths)
        EXPECT_EQ(m_growthsSeen.count(&growth), 1u) << growth.statement << " grows no more: take it off the list";
}
