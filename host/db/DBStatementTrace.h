// A record of the SQL the catalogue's connections run, for tests that look at
// what the library asks of the database (the plans of its statements). Off
// unless switched on; while off it costs nothing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

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
    // How many statements ran while recording: every run of every statement.
    static size_t runs();
};
