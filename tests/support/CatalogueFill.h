// Rows in every table of a catalogue, whatever its schema: for tests that
// need each table to hold something without naming the tables.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

// The tables of the catalogue, the database's own left out, by name.
inline std::vector<std::string> CatalogueTables(sqlite3* db)
{
    std::vector<std::string> tables;
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite%' "
                                     "ORDER BY name",
                                 -1, &stmt, nullptr),
              SQLITE_OK);
    while (sqlite3_step(stmt) == SQLITE_ROW) tables.push_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return tables;
}

// Whether the fill writes texts into a column of the declared type.
inline bool FillsWithText(const std::string& type)
{
    return type.find("CHAR") != std::string::npos || type.find("TEXT") != std::string::npos;
}

// The SQL that fills every table with `rows` rows: ids 1 to rows, a column
// naming another row ("...Id", "...id", "..Id_l") one of `refs` values, any
// other number one of 3 values, texts distinct per pair of rows.
//
// A column named in `crowded` ("Table.Column") names row 1 in one row of
// every four instead (for each crowded column of a table a different share
// of its rows): row 1 then has a share of the table's rows under it, which
// grows with them, as a large pool has its members or a large client its
// devices.
//
// Whatever the number of rows, a few rows hold the selective value of a
// column: the texts of rows 2 and 3 are SelectiveText(column), and with refs
// a fixed share of the rows a few rows name row kSelectiveRef in a column
// naming another row, crowded or not. (Each of the 3 values of any other
// number is held by a third of the rows.)
inline std::string FillEveryTableSql(sqlite3* db, int rows, int refs, const std::set<std::string>& crowded = {})
{
    const std::string n = std::to_string(rows);
    std::string sql = "BEGIN;";
    for (const std::string& table : CatalogueTables(db)) {
        std::string names;
        std::string values;
        sqlite3_stmt* stmt = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, ("SELECT name, type, pk, hidden FROM pragma_table_xinfo('" + table + "')").c_str(),
                                     -1, &stmt, nullptr),
                  SQLITE_OK);
        for (int column = 0; sqlite3_step(stmt) == SQLITE_ROW; ++column) {
            if (sqlite3_column_int(stmt, 3) != 0) continue;  // generated
            const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
            std::string lower = name;
            for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            std::string value;
            if (sqlite3_column_int(stmt, 2) != 0)
                value = "i";
            else if (FillsWithText(type))
                value = "'" + name + "-' || (i / 2)";
            else if (lower.find("id") != std::string::npos && crowded.count(table + "." + name) != 0)
                value = "CASE WHEN (i + " + std::to_string(column) + ") % 4 = 0 THEN 1 ELSE 1 + (i * 7919) % " +
                        std::to_string(refs) + " END";
            else if (lower.find("id") != std::string::npos)
                value = "1 + (i * 7919) % " + std::to_string(refs);
            else
                value = "i % 3";
            names += (names.empty() ? "" : ", ") + name;
            values += (values.empty() ? "" : ", ") + value;
        }
        sqlite3_finalize(stmt);
        sql += "INSERT INTO " + table + " (" + names + ") WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
               n + ") SELECT " + values + " FROM n;";
    }
    return sql + "COMMIT;";
}

const int kSelectiveRef = 2;

inline std::string SelectiveText(const std::string& column)
{
    return column + "-1";
}

// The columns the fill writes texts into in some table, as declared.
inline std::set<std::string> TextColumns(sqlite3* db)
{
    std::set<std::string> columns;
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, "SELECT C.name, C.type FROM sqlite_schema T, pragma_table_xinfo(T.name) C "
                                     "WHERE T.type = 'table' AND T.name NOT LIKE 'sqlite%'",
                                 -1, &stmt, nullptr),
              SQLITE_OK);
    while (sqlite3_step(stmt) == SQLITE_ROW)
        if (FillsWithText(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1))))
            columns.insert(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return columns;
}
