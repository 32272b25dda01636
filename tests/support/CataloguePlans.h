// How the catalogue would run a statement: the tables it reads from end to
// end, and its query plan, read on a connection of its own.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Whether the first word of an SQL text is word (any case).
inline bool SqlFirstWordIs(const std::string& sql, const char* word)
{
    const size_t start = sql.find_first_not_of(" \t\r\n");
    if (start == std::string::npos) return false;
    return sqlite3_stricmp(sql.substr(start, sql.find_first_of(" \t\r\n(", start) - start).c_str(), word) == 0;
}

// One statement explained.
struct ExplainedStatement {
    std::string sql;
    std::set<std::string> scanned;  // tables it reads from end to end
    std::string plan;               // the query plan, a line per step
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
    PlanReader(const PlanReader&) = delete;
    PlanReader& operator=(const PlanReader&) = delete;

    sqlite3* db() const { return m_db; }

    void exec(const std::string& sql)
    {
        char* msg = nullptr;
        EXPECT_EQ(sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &msg), SQLITE_OK) << (msg ? msg : "") << "\n" << sql;
        sqlite3_free(msg);
    }

    // Explains the statements of text in order. One that creates or drops a
    // table is run afterwards, so that the statements after it see the
    // schema they were written for. "" or why a statement did not prepare.
    std::string explain(const std::string& text, std::vector<ExplainedStatement>& out)
    {
        const char* tail = text.c_str();
        while (*tail != '\0') {
            sqlite3_stmt* stmt = nullptr;
            if (sqlite3_prepare_v2(m_db, tail, -1, &stmt, &tail) != SQLITE_OK) return sqlite3_errmsg(m_db);
            if (stmt == nullptr) break;  // blanks or comments
            ExplainedStatement e;
            std::string error = explainOne(sqlite3_sql(stmt), e);
            if (error.empty() && (SqlFirstWordIs(e.sql, "CREATE") || SqlFirstWordIs(e.sql, "DROP"))) {
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

    // Explains one statement as the catalogue stands, without running it.
    // "" or why it did not prepare.
    std::string explainOne(const std::string& sql, ExplainedStatement& e)
    {
        e.sql = sql;
        std::string error = readProgram(e.sql, e.scanned);
        if (error.empty()) error = readPlan(e.sql, e.plan);
        return error;
    }

    // The tables the statements of text read from end to end.
    std::set<std::string> scanned(const std::string& text)
    {
        std::vector<ExplainedStatement> explained;
        EXPECT_EQ(explain(text, explained), "");
        std::set<std::string> tables;
        for (const ExplainedStatement& e : explained) tables.insert(e.scanned.begin(), e.scanned.end());
        return tables;
    }

private:
    // The table of every b-tree, by database number (0 main, 1 temp) and
    // root page.
    std::map<std::pair<int, int>, std::string> tablesByRoot()
    {
        std::map<std::pair<int, int>, std::string> tables;
        const char* const schemas[] = {"main", "temp"};
        for (int db = 0; db < 2; ++db) {
            const std::string sql =
                std::string("SELECT rootpage, tbl_name FROM ") + schemas[db] + ".sqlite_schema WHERE rootpage > 0";
            sqlite3_stmt* stmt = nullptr;
            EXPECT_EQ(sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(m_db);
            while (sqlite3_step(stmt) == SQLITE_ROW)
                tables[{db, sqlite3_column_int(stmt, 0)}] = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
            sqlite3_finalize(stmt);
        }
        return tables;
    }

    std::string readProgram(const std::string& sql, std::set<std::string>& scanned)
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
            } else if (opcode.compare(0, 4, "Open") == 0 || opcode == "SorterOpen") {
                cursorTable[cursor].clear();  // a b-tree of the statement's own
            } else if (opcode == "Rewind" || opcode == "Last" || opcode == "Count") {
                auto it = cursorTable.find(cursor);
                // The database's own tables (the sequence of AUTOINCREMENT
                // inserts, the schema) are not the system's.
                if (it != cursorTable.end() && !it->second.empty() && it->second.compare(0, 7, "sqlite_") != 0)
                    scanned.insert(it->second);
            }
        }
        sqlite3_finalize(stmt);
        return "";
    }

    std::string readPlan(const std::string& sql, std::string& text)
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
