// Failure injection into the database access library, for tests: HostDBFaults.
#pragma once

#include <string>

// Failure injection for tests.
class HostDBFaults {
public:
    // The (skip+1)-th next call of that kind fails with code. Kinds:
    // "startTran", "commitTran", "addObject" (throws), "fetch" (getNextRow,
    // getOneRow, openCursor, fetchCursor), "getList", "getInfo", "getNRows",
    // "insert", "Update", "remove"; "writeLongText", "readLongText" (a heap
    // text written into its row, read into the caller's room); "pageSize" (the page size of a catalogue
    // connection being set up); "config." + a configuration query's name
    // (HostConfig::failNext); "Zxc::getRand", "Zxc::netEncrypt" (Zxc::failNext).
    static void failNext(const std::string& call, int code, int skip = 0);
    static void clear();
    // True while a fault of that kind is armed and has not been taken.
    static bool pending(const std::string& call);
    // 0, or the code this call must fail with.
    static int check(const char* call);
};
