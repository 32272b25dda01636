// The registry of statements by database object name.
#include "host/db/DBStatementRegistry.h"

#include <map>
#include <mutex>

#include "host/db/statements/CatalogueStatements.h"

namespace {

std::mutex g_mutex;

std::map<std::string, DBStatementRegistry::Entry> catalogueStatements()
{
    DBStatementSet statements;
    RegisterCatalogueStatements(statements);
    return statements.entries();
}

// Filled with the catalogue's statements on the first use of the registry,
// whichever member comes first: a statement registered or removed before any
// lookup stays so.
std::map<std::string, DBStatementRegistry::Entry>& entries()
{
    static std::map<std::string, DBStatementRegistry::Entry> map = catalogueStatements();
    return map;
}

}  // namespace

void DBStatementSet::add(const std::string& objectName, const std::string& sql)
{
    DBStatementRegistry::Entry entry;
    entry.sql = sql;
    m_entries[objectName] = entry;
}

void DBStatementSet::addCallerText(const std::string& objectName, int textArgument)
{
    DBStatementRegistry::Entry entry;
    entry.textArgument = textArgument;
    m_entries[objectName] = entry;
}

void DBStatementRegistry::registerStatement(const std::string& objectName, const std::string& sql)
{
    std::lock_guard<std::mutex> guard(g_mutex);
    Entry entry;
    entry.sql = sql;
    entries()[objectName] = entry;
}

void DBStatementRegistry::unregister(const std::string& objectName)
{
    std::lock_guard<std::mutex> guard(g_mutex);
    entries().erase(objectName);
}

void DBStatementRegistry::restoreCatalogueStatements()
{
    const std::map<std::string, Entry> catalogue = catalogueStatements();
    std::lock_guard<std::mutex> guard(g_mutex);
    for (const auto& [name, entry] : catalogue) entries()[name] = entry;
}

bool DBStatementRegistry::lookup(const std::string& objectName, Entry& entry)
{
    std::lock_guard<std::mutex> guard(g_mutex);
    auto it = entries().find(objectName);
    if (it == entries().end()) return false;
    entry = it->second;
    return true;
}

std::map<std::string, DBStatementRegistry::Entry> DBStatementRegistry::all()
{
    std::lock_guard<std::mutex> guard(g_mutex);
    return entries();
}
