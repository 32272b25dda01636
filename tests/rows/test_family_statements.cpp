// A reader of a row family finds the SQLite statement that runs for it from
// the family's header: the "SQLite statement run" line above a cursor's or
// procedure's definition names the function of host/db/statements/ that
// registers the family's database object name, and a table family's line
// names the members of DBtable that make its statements. These tests hold
// the lines true, and hold every registered statement to one family and one
// registering function called from the one list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/DBStatementRegistry.h"
#include "host/db/statements/CatalogueStatements.h"

namespace fs = std::filesystem;

namespace {

fs::path repoRoot()
{
    std::string self = __FILE__;
    return fs::path(self.substr(0, self.rfind("tests/rows/")));
}

std::string textOf(const std::string& file)
{
    std::ifstream in(repoRoot() / file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The registration functions of the files of statements, by name.
const std::map<std::string, void (*)(DBStatementSet&)> kRegisterFunctions = {
    {"RegisterSNRStatements", &RegisterSNRStatements},
    {"RegisterBrowseStatements", &RegisterBrowseStatements},
    {"RegisterFileFlrCleanupStatements", &RegisterFileFlrCleanupStatements},
};

std::map<std::string, DBStatementRegistry::Entry> statementsOf(void (*registerFunction)(DBStatementSet&))
{
    DBStatementSet statements;
    registerFunction(statements);
    return statements.entries();
}

struct Family {
    std::string header;      // relative to the repository
    std::string className;
    std::string objectName;
    bool table = false;
    std::vector<std::string> comment;  // the comment lines right above the definition, "// " taken off
};

// The families defined in the headers under rows/Db, one per header that
// defines one.
std::vector<Family> families()
{
    static const std::regex definition(
        R"re(^(ZXDB_CURSOR|ZXDB_PROCEDURE|ZXDB_FAMILY_DESC)\(\s*(\w+)(?:,\s*"(\w+)",\s*(ZXDB_KIND_\w+)?)?)re");
    std::vector<Family> found;
    const fs::path root = repoRoot();
    for (const char* folder : {"rows/Db/Cursor", "rows/Db/Proc", "rows/Db/Tbl"}) {
        for (const auto& entry : fs::directory_iterator(root / folder)) {
            if (entry.path().extension() != ".h") continue;
            const std::string header = fs::relative(entry.path(), root).generic_string();
            std::vector<std::string> lines;
            std::istringstream text(textOf(header));
            for (std::string line; std::getline(text, line);) lines.push_back(line);
            for (size_t i = 0; i < lines.size(); ++i) {
                // The definition's first line, with the next one where the name is there.
                const std::string head = lines[i] + (i + 1 < lines.size() ? " " + lines[i + 1] : "");
                std::smatch m;
                if (lines[i].rfind("ZXDB_", 0) != 0 || !std::regex_search(head, m, definition)) continue;
                Family f;
                f.header = header;
                f.className = m[2].str();
                f.objectName = m[1].str() == "ZXDB_CURSOR" ? f.className : m[3].str();
                f.table = m[4].str() == "ZXDB_KIND_TABLE";
                for (size_t j = i; j > 0 && lines[j - 1].rfind("//", 0) == 0; --j)
                    f.comment.insert(f.comment.begin(), lines[j - 1].substr(lines[j - 1].size() > 2 ? 3 : 2));
                found.push_back(f);
            }
        }
    }
    return found;
}

// The comment's lines joined by blanks.
std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : " ") + line;
    return text;
}

TEST(FamilyStatements, EachFamilyNamesTheFunctionThatRegistersItsStatement)
{
    static const std::regex line(R"(^SQLite statement run: (\w+) in (host/db/statements/\w+\.cpp)$)");
    const std::vector<Family> all = families();
    ASSERT_GT(all.size(), 40u);
    int checked = 0;
    for (const Family& f : all) {
        if (f.table) continue;
        SCOPED_TRACE(f.header);
        std::vector<std::smatch> named;
        for (const std::string& c : f.comment) {
            std::smatch m;
            if (std::regex_match(c, m, line)) named.push_back(m);
        }
        ASSERT_EQ(named.size(), 1u) << "the line above the definition of " << f.className
                                    << " must name one function: \"SQLite statement run: <function> in <file>\"";
        const std::string function = named[0][1].str();
        const std::string file = named[0][2].str();
        EXPECT_TRUE(std::regex_search(textOf(file), std::regex("\nvoid " + function + R"(\(DBStatementSet& )")))
            << file << " defines no " << function;
        auto it = kRegisterFunctions.find(function);
        ASSERT_NE(it, kRegisterFunctions.end()) << function << " is no registration function of a file of statements";
        EXPECT_EQ(statementsOf(it->second).count(f.objectName), 1u) << function << " registers no " << f.objectName;
        // The registered name is written in the file, where a search for it finds it.
        EXPECT_NE(textOf(file).find("\"" + f.objectName + "\""), std::string::npos) << f.objectName << " in " << file;
        DBStatementRegistry::Entry entry;
        EXPECT_TRUE(DBStatementRegistry::lookup(f.objectName, entry)) << f.objectName;
        ++checked;
    }
    EXPECT_GT(checked, 40);
}

TEST(FamilyStatements, ATableFamilyNamesTheMembersThatMakeItsStatements)
{
    static const std::regex member(R"(DBtable::(\w+))");
    const std::string dbtable = textOf("host/db/DBtable.cpp");
    int tables = 0;
    for (const Family& f : families()) {
        if (!f.table) continue;
        SCOPED_TRACE(f.header);
        ++tables;
        const std::string comment = joined(f.comment);
        ASSERT_NE(comment.find("SQLite statements run:"), std::string::npos) << comment;
        EXPECT_NE(comment.find("host/db/DBtable.cpp"), std::string::npos) << comment;
        int members = 0;
        for (std::sregex_iterator m(comment.begin(), comment.end(), member), end; m != end; ++m, ++members)
            EXPECT_TRUE(std::regex_search(dbtable, std::regex("\n[^\n]*DBtable::" + (*m)[1].str() + R"(\()")))
                << "host/db/DBtable.cpp defines no DBtable::" << (*m)[1].str();
        EXPECT_GT(members, 0) << comment;
        DBStatementRegistry::Entry entry;
        EXPECT_FALSE(DBStatementRegistry::lookup(f.objectName, entry)) << f.objectName << " is a table";
    }
    EXPECT_GT(tables, 0);
}

// The registry holds what the registration functions add, each statement
// added by one function for one family; a function left out of the one list,
// or a statement no family reads, fails.
TEST(FamilyStatements, EveryStatementIsRegisteredByOneFunctionForOneFamily)
{
    std::map<std::string, std::string> byFunction;  // object name -> function
    std::map<std::string, DBStatementRegistry::Entry> added;
    for (const auto& [function, registerFunction] : kRegisterFunctions) {
        for (const auto& [name, entry] : statementsOf(registerFunction)) {
            EXPECT_EQ(byFunction.count(name), 0u) << name << " is registered by " << byFunction[name] << " and "
                                                  << function;
            byFunction[name] = function;
            added[name] = entry;
        }
    }

    // Each file of statements defines one function, which the test knows,
    // and adds only to the set it is given: nothing registers on its own.
    static const std::regex defined(R"(\nvoid (Register\w+Statements)\(DBStatementSet& )");
    for (const auto& entry : fs::directory_iterator(repoRoot() / "host/db/statements")) {
        if (entry.path().extension() != ".cpp") continue;
        const std::string file = "host/db/statements/" + entry.path().filename().string();
        const std::string text = textOf(file);
        int functions = 0;
        for (std::sregex_iterator m(text.begin(), text.end(), defined), end; m != end; ++m, ++functions) {
            const std::string function = (*m)[1].str();
            if (function != "RegisterCatalogueStatements") {
                EXPECT_EQ(kRegisterFunctions.count(function), 1u) << file << ": " << function;
            }
        }
        EXPECT_EQ(functions, 1) << file;
        EXPECT_EQ(text.find("DBStatementRegistry::"), std::string::npos) << file << " uses the registry itself";
    }

    DBStatementRegistry::restoreCatalogueStatements();
    std::map<std::string, DBStatementRegistry::Entry> registered = DBStatementRegistry::all();
    std::set<std::string> familyNames;
    for (const Family& f : families()) familyNames.insert(f.objectName);
    for (const auto& [name, entry] : added) {
        auto it = registered.find(name);
        ASSERT_NE(it, registered.end()) << name << " (" << byFunction[name] << ") is not in the registry";
        EXPECT_EQ(it->second.sql, entry.sql) << name;
        EXPECT_EQ(it->second.textArgument, entry.textArgument) << name;
        EXPECT_EQ(familyNames.count(name), 1u) << name << " (" << byFunction[name] << ") is read by no family";
    }
    DBStatementSet catalogue;
    RegisterCatalogueStatements(catalogue);
    EXPECT_EQ(catalogue.entries().size(), added.size()) << "RegisterCatalogueStatements calls another set of functions";
    for (const auto& [name, entry] : added) EXPECT_EQ(catalogue.entries().count(name), 1u) << name;
}

// The registry is filled on its first use, whichever member comes first: a
// statement replaced before any lookup stays replaced (each test runs in a
// process of its own, where this is the first use).
TEST(FamilyStatements, AStatementReplacedBeforeTheFirstLookupStays)
{
    DBStatementRegistry::registerStatement("YBGetYBVolList", "SELECT 1");
    DBStatementRegistry::Entry entry;
    ASSERT_TRUE(DBStatementRegistry::lookup("YBGetYBVolList", entry));
    EXPECT_EQ(entry.sql, "SELECT 1");
    ASSERT_TRUE(DBStatementRegistry::lookup("YBGetYBPolicyList", entry));

    DBStatementRegistry::restoreCatalogueStatements();
    ASSERT_TRUE(DBStatementRegistry::lookup("YBGetYBVolList", entry));
    EXPECT_EQ(entry.sql, statementsOf(&RegisterSNRStatements).at("YBGetYBVolList").sql);
}

}  // namespace
