// Shared pieces of the policy and snap engine tests: a table's whole content
// as text, to show that a failed request changed nothing, and the reading of
// reply texts.
#pragma once

#include <sqlite3.h>

#include <string>

// Every row of a table in key order, each column's text; "" on a read error.
inline std::string DumpTable(const std::string& path, const char* table)
{
    sqlite3* db = nullptr;
    std::string out;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return out;
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = std::string("SELECT * FROM ") + table + " ORDER BY 1";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const unsigned char* text = sqlite3_column_text(stmt, c);
                out += text != nullptr ? reinterpret_cast<const char*>(text) : "NULL";
                out += '|';
            }
            out += '\n';
        }
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

// A text of a reply: "(null)" for a null pointer, which is how an empty
// text goes out.
inline std::string ReplyText(const char* text) { return text != nullptr ? text : "(null)"; }
