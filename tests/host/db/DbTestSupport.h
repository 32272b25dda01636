// A fresh catalogue file for each test.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "host/db/DBtable.h"

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/replmgr_db_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
        m_path = m_dir + "/catalogue.db";
        DBtran::useCatalogue(m_path);
        HostDBFaults::clear();
    }

    void TearDown() override
    {
        HostDBFaults::clear();
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) unlink((m_path + suffix).c_str());
        rmdir(m_dir.c_str());
    }

    // Runs SQL on a connection of its own, outside the library.
    void rawExec(const std::string& sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(m_path.c_str(), &db), SQLITE_OK);
        sqlite3_busy_timeout(db, 5000);
        char* msg = nullptr;
        int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg);
        EXPECT_EQ(rc, SQLITE_OK) << (msg ? msg : "");
        sqlite3_free(msg);
        sqlite3_close(db);
    }

    std::string m_dir;
    std::string m_path;
};
