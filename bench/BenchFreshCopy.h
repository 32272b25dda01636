// A fresh copy of a seeded catalogue for a benchmark whose request changes
// the rows: made at a path of its own and made the library's catalogue,
// removed with the object, so that every run finds the same work; and the
// count that checks what a request left in it.
#pragma once

#include <sqlite3.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchCatalogues.h"
#include "host/db/DBQuery.h"
#include "host/db/DBtable.h"
#include "tests/support/CatalogueFiles.h"

namespace bench {

class FreshCopy {
public:
    FreshCopy(const std::string& seeded, int serial) : m_path(seeded + ".run-" + std::to_string(serial))
    {
        DBtran::useCatalogue(seeded);  // lets go of the copy before
        sqlite3* from = nullptr;
        sqlite3* to = nullptr;
        BenchCheck(sqlite3_open(seeded.c_str(), &from), from, "open seeded");
        BenchCheck(sqlite3_open(m_path.c_str(), &to), to, "open copy");
        sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
        if (backup == nullptr) throw std::runtime_error("backup");
        sqlite3_backup_step(backup, -1);
        BenchCheck(sqlite3_backup_finish(backup), to, "backup");
        sqlite3_close(from);
        sqlite3_close(to);
        DBtran::useCatalogue(m_path);
        // The catalogue opened (its schema checked) before the clock starts.
        DBtran warm(false);
        if (warm.startTran() != 0 || warm.commitTran(false) != 0) throw std::runtime_error("the copy cannot be used");
    }
    ~FreshCopy() { RemoveCatalogueFiles(m_path); }
    FreshCopy(const FreshCopy&) = delete;
    FreshCopy& operator=(const FreshCopy&) = delete;

private:
    std::string m_path;
};

// The number a query of one value (a count) returns on the library's
// catalogue; -1 when it failed or returned nothing.
inline long long count(const std::string& sql)
{
    std::vector<DBRow> rows;
    if (dbQuery(nullptr, sql, {}, &rows) != 0 || rows.empty() || rows[0].empty()) return -1;
    return rows[0][0].i;
}

}  // namespace bench
