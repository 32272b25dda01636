// Counts the statements the library runs on a catalogue while the object
// lives: recording starts and the library's connections reopen at
// construction, and recording stops at destruction.
#pragma once

#include <cstddef>
#include <string>

#include "host/db/DBStatementTrace.h"
#include "host/db/DBtable.h"

class StatementRuns {
public:
    explicit StatementRuns(const std::string& path)
    {
        DBStatementTrace::start();
        DBtran::useCatalogue(path);
    }
    ~StatementRuns() { DBStatementTrace::stop(); }
    StatementRuns(const StatementRuns&) = delete;
    StatementRuns& operator=(const StatementRuns&) = delete;

    // The statements run by what `run` does.
    template <typename Run>
    size_t of(Run&& run)
    {
        const size_t before = DBStatementTrace::runs();
        run();
        return DBStatementTrace::runs() - before;
    }
};
