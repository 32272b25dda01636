// How the database server reads a long text value that it stores: a
// backslash right before CR LF continues the line, and the three characters
// are dropped. The stand-in reads the long text values it is sent this way.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class DBServerText {
public:
    // The text the server stores for a sent one: every backslash-CR-LF is
    // dropped in one pass from the start; what a drop brings together is
    // not read again. Everything else is kept as it is.
    static std::string read(const std::string& sent);

    // The same reading without a copy: the stored text is handed to store
    // part by part, in order, each part pointing into sent. Stops at the
    // first part store refuses (false then).
    static bool read(const char* sent, size_t length, const std::function<bool(const char*, size_t)>& store);

    // The length of the text the server stores for the sent one.
    static size_t storedLength(const char* sent, size_t length);

    // The long text values handed to the server, before its reading, while
    // the host's journals are on (HostJournals::keep), in order.
    static std::vector<std::string> sent();
    static void clearSent();

    // Records one long text value (NUL-terminated, or of the given length)
    // handed to the server; while the journals are off nothing is built.
    static void recordSent(const char* text);
    static void recordSent(const char* text, size_t length);
};
