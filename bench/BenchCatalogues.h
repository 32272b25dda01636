// Catalogues of the benchmarks: one file per size in a directory of its own,
// made with the library's schema and seeded on first use (never analysed, as
// the system leaves its catalogues), removed at exit.
#pragma once

#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <map>
#include <stdexcept>
#include <string>

#include "host/db/DBtable.h"
#include "tests/support/CatalogueFiles.h"

// Throws when a sqlite3 call failed.
inline void BenchCheck(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

class BenchCatalogues {
public:
    // seed(db, n) fills a new catalogue of size n inside one transaction.
    using SeedFn = void (*)(sqlite3* db, int n);

    BenchCatalogues(const char* name, SeedFn seed) : m_name(name), m_seed(seed) {}
    ~BenchCatalogues()
    {
        for (const auto& c : m_paths)
            RemoveCatalogueFiles(c.second);
        if (!m_dir.empty()) rmdir(m_dir.c_str());
    }
    BenchCatalogues(const BenchCatalogues&) = delete;
    BenchCatalogues& operator=(const BenchCatalogues&) = delete;

    // The catalogue of size n, made and seeded on first use.
    const std::string& get(int n)
    {
        auto it = m_paths.find(n);
        if (it != m_paths.end()) return it->second;
        if (m_dir.empty()) {
            std::string dir = "/tmp/replmgr_bench_" + m_name + "_XXXXXX";
            if (mkdtemp(&dir[0]) == nullptr) throw std::runtime_error("mkdtemp failed");
            m_dir = dir;
        }
        std::string path = m_dir + "/catalogue-" + std::to_string(n) + ".db";
        DBtran::useCatalogue(path);
        {
            DBtran tran(false);  // lays down the schema
            if (tran.startTran() != 0 || tran.commitTran(false) != 0) throw std::runtime_error("no catalogue");
        }
        sqlite3* db = nullptr;
        BenchCheck(sqlite3_open(path.c_str(), &db), db, "open");
        sqlite3_busy_timeout(db, 5000);
        BenchCheck(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
        m_seed(db, n);
        // Not analysed: the system gathers no statistics, so its planner
        // works without them, and so do the benchmarks.
        BenchCheck(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
        sqlite3_close(db);
        return m_paths[n] = path;
    }

private:
    std::string m_name;
    SeedFn m_seed;
    std::string m_dir;
    std::map<int, std::string> m_paths;
};
