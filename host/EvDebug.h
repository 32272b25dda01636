// Host debug log and event raising.
#pragma once

#include <string>
#include <vector>

class EvDebug {
public:
    EvDebug() = default;
    virtual ~EvDebug() = default;

    // Writes one debug log entry. The format is written as plain text: no
    // argument is ever substituted, so a '%' in it reaches the log unchanged.
    void debug(const char* format, ...);

    // A value for an entry (a text from a request, say) with its control
    // characters written out: "\n", "\r" and "\t" as a backslash and the
    // letter, any other control character and DEL as "\x" and two hex
    // digits. Every other byte, a backslash too, stays as it is. Such a value
    // cannot start a line of its own in the log or drive a terminal; the
    // entry's own texts, with their "\n\t" separators, are not passed through.
    static std::string escaped(const std::string& value);

    // Entries written in this process while the host's journals were on
    // (HostJournals::keep), in order.
    static std::vector<std::string> entries();
    static void clearEntries();
};

// An event with typed arguments.
class EvEvent : public EvDebug {
public:
    enum ArgType { ARG_INT32 = 5, ARG_TEXT = 11 };

    struct Argument {
        int type;
        std::string bytes;  // the text, or the four little-endian bytes of an integer
    };

    EvEvent() = default;

    void addArgument(const void* value, int type);
    const std::vector<Argument>& arguments() const { return m_args; }

    // Add one argument and return the event; defined by the replication
    // manager (service/HostClassMembers.cpp).
    EvEvent& operator<<(const char* text);
    EvEvent& operator<<(int value);

    // Raise the event with its arguments at informational or minor severity.
    // The stand-in journals it in ClientFakes (host/clients/): the id, the
    // two numbers, then each argument as text (integers in decimal).
    void InfoEvent(unsigned int eventId, int first, int second);
    void MinorEvent(unsigned int eventId, int first, int second);

private:
    std::vector<Argument> m_args;
};

// Converts an integer in place to little-endian byte order.
void littleEndianInt(int* value);
