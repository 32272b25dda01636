// Statements run for the cursors and procedures of the row facility, keyed by
// the database object name. A statement may hold several SQL statements
// separated by ';': all but the last run to completion, the last delivers the
// rows. Arguments are bound as parameters: ?1 is the first argument, ?2 the
// second, and so on.
//
// The catalogue's statements are registered on the registry's first use, by
// the one list in host/db/statements/CatalogueStatements.cpp.
#pragma once

#include <map>
#include <string>

class DBStatementRegistry {
public:
    static void registerStatement(const std::string& objectName, const std::string& sql);
    static void unregister(const std::string& objectName);
    // Registers every statement of the catalogue again, in place of one of
    // the same name registered since; other statements stay.
    static void restoreCatalogueStatements();

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

// The statements a registration function adds, by object name. A name added
// again replaces the earlier statement.
class DBStatementSet {
public:
    // objectName runs sql, its arguments bound as ?1, ?2, ...
    void add(const std::string& objectName, const std::string& sql);
    // objectName runs its text argument of number textArgument (from 1) as
    // the caller wrote it.
    void addCallerText(const std::string& objectName, int textArgument);

    const std::map<std::string, DBStatementRegistry::Entry>& entries() const { return m_entries; }

private:
    std::map<std::string, DBStatementRegistry::Entry> m_entries;
};
