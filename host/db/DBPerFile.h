// One object of a kind per catalogue file in the process, shared by all that
// use it and forgotten once none does (internal to host/db). The registry
// lives as long as the process.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

template <typename T>
class DBPerFile {
public:
    // The object for the file at path: the one still in use, else the one
    // make gives (called under the registry's lock, so that only one is made
    // per file; null is handed back and not kept). Before one is made, those
    // of files no one uses any more are forgotten.
    static std::shared_ptr<T> of(const std::string& path, const std::function<std::shared_ptr<T>()>& make)
    {
        // Never destroyed: the background thread may look an object up
        // while the process ends (host/db/DBJournal.cpp).
        static std::mutex& mutex = *new std::mutex();
        static std::map<std::string, std::weak_ptr<T>>& known = *new std::map<std::string, std::weak_ptr<T>>();
        std::lock_guard<std::mutex> guard(mutex);
        std::shared_ptr<T> object = known[path].lock();
        if (object) return object;
        for (auto it = known.begin(); it != known.end();) it = it->second.expired() ? known.erase(it) : std::next(it);
        object = make();
        if (object) known[path] = object;
        return object;
    }
};
