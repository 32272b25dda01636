// How the database server reads a long text value that it stores: a
// backslash right before CR LF continues the line, and the three characters
// are dropped. The stand-in reads the long text values it is sent this way.
#pragma once

#include <string>
#include <vector>

class DBServerText {
public:
    // The text the server stores for a sent one: every backslash-CR-LF is
    // dropped in one pass from the start; what a drop brings together is
    // not read again. Everything else is kept as it is.
    static std::string read(const std::string& sent);

    // The long text values handed to the server, before its reading, while
    // the host's journals are on (HostJournals::keep), in order.
    static std::vector<std::string> sent();
    static void clearSent();

    // Records one long text value handed to the server.
    static void recordSent(const std::string& text);
};
