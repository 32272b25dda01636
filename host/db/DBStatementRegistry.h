// Statements run for the cursors and procedures of the row facility, keyed by
// the database object name. A statement may hold several SQL statements
// separated by ';': all but the last run to completion, the last delivers the
// rows. Arguments are bound as parameters: ?1 is the first argument, ?2 the
// second, and so on.
#pragma once

#include <map>
#include <string>

class DBStatementRegistry {
public:
    static void registerStatement(const std::string& objectName, const std::string& sql);
    static void unregister(const std::string& objectName);

    struct Entry {
        std::string sql;
        // Not 0: the statement is the object's text argument of that number
        // (from 1), run as the caller wrote it.
        int textArgument = 0;
    };
    static bool lookup(const std::string& objectName, Entry& entry);
    // Every registered statement by object name, as registered at the call.
    static std::map<std::string, Entry> all();
};
