#include "host/db/DBStatementRegistry.h"

#include <map>
#include <mutex>

namespace {

std::mutex g_mutex;

std::map<std::string, DBStatementRegistry::Entry>& entries()
{
    // The caller's statement of the integer query runs as it is written.
    static std::map<std::string, DBStatementRegistry::Entry> map = [] {
        std::map<std::string, DBStatementRegistry::Entry> m;
        DBStatementRegistry::Entry queryInt;
        queryInt.textArgument = 1;
        m["YBQueryInt"] = queryInt;
        return m;
    }();
    return map;
}

}  // namespace

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
