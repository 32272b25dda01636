// A record of the SQL the catalogue's connections run, for tests that look at
// what the library asks of the database (the plans of its statements, and what
// each run of a statement costs). Off unless switched on; while off it costs
// nothing.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// What the runs of one statement text cost while recording.
struct DBStatementCost {
    long long runs = 0;
    // Rows returned (by "SELECT COUNT(...": those counted), and rows written:
    // those a write changed, or those a CREATE TABLE ... AS SELECT put into
    // the table it made.
    long long rows = 0;
    long long steps = 0;  // virtual machine steps
};

class DBStatementTrace {
public:
    // Forgets what was recorded and records from now on. Only connections
    // opened while recording are traced: DBtran::useCatalogue after start
    // reopens the library's connections.
    static void start();
    // Records no more; what was recorded stays until the next start.
    static void stop();
    // Each statement text run while recording, once, in the order each first
    // ran. A text of several statements is recorded statement by statement.
    static std::vector<std::string> recorded();
    // The cost of each text that finished a run while recording, summed over
    // its runs. A write's changed rows include those of its triggers and
    // foreign-key actions.
    static std::map<std::string, DBStatementCost> costs();
    // How many statements ran while recording: every run of every statement.
    static size_t runs();
};
