// A fresh catalogue per test: a directory of its own with the catalogue file
// in it, used by the library from SetUp on and removed at TearDown; no
// database faults armed on either side. Also the base mode for a scope and
// the stored rows of a table. The host's journals are on.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "CatalogueFiles.h"
#include "host/HostJournal.h"
#include "host/db/DBtable.h"

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HostJournals::keep(true);
        char dir[] = "/tmp/replmgr_db_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
        m_path = m_dir + "/catalogue.db";
        DBtran::useCatalogue(m_path);  // creates the file with its schema
        HostDBFaults::clear();
    }

    void TearDown() override
    {
        HostDBFaults::clear();
        RemoveCatalogueFiles(m_path);
        rmdir(m_dir.c_str());
    }

    // Runs SQL on a connection of its own, outside the library.
    void exec(const std::string& sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(m_path.c_str(), &db), SQLITE_OK);
        sqlite3_busy_timeout(db, 5000);
        char* msg = nullptr;
        int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg);
        EXPECT_EQ(rc, SQLITE_OK) << (msg ? msg : "") << "\n" << sql;
        sqlite3_free(msg);
        sqlite3_close(db);
    }

    // The first column of the first row of a query on a connection of its
    // own; -1 when there is none.
    long long scalar(const std::string& sql)
    {
        sqlite3* db = nullptr;
        long long value = -1;
        if (sqlite3_open(m_path.c_str(), &db) != SQLITE_OK) return value;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
            value = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return value;
    }

    std::string m_dir;
    std::string m_path;
};

// Sets the library's base mode for one scope.
class BaseMode {
public:
    explicit BaseMode(bool newBase) : m_bSaved(DBtable::b_newDBBase) { DBtable::b_newDBBase = newBase; }
    ~BaseMode() { DBtable::b_newDBBase = m_bSaved; }

private:
    bool m_bSaved;
};

// Every stored row of a table in the given order, read through the library.
template <typename Row, typename Table>
std::vector<Row> StoredRows(const char* order = "id ASC")
{
    Table db;
    Row* rows = nullptr;
    unsigned int count = 0;
    EXPECT_TRUE(db.getList(rows, count, "", order, nullptr));
    std::vector<Row> out(rows, rows + count);
    db.deleteList(rows);
    return out;
}
