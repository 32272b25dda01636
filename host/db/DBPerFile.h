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
    // make gives (null is handed back and not kept). Only one is made per
    // file at a time: make is called under a lock of that file's alone, never
    // under the registry's, so that a file whose object takes long to make
    // (its side file's lock waited for) holds up no other file. Before one is
    // made, those of files no one uses any more are forgotten.
    static std::shared_ptr<T> of(const std::string& path, const std::function<std::shared_ptr<T>()>& make)
    {
        std::shared_ptr<std::mutex> making;
        {
            std::lock_guard<std::mutex> guard(registryMutex());
            Entry& entry = registry()[path];
            if (std::shared_ptr<T> object = entry.object.lock()) return object;
            if (!entry.making) entry.making = std::make_shared<std::mutex>();
            making = entry.making;
        }
        std::lock_guard<std::mutex> makingGuard(*making);
        {
            std::lock_guard<std::mutex> guard(registryMutex());
            if (std::shared_ptr<T> object = registry()[path].object.lock()) return object;
        }
        std::shared_ptr<T> object = make();
        std::lock_guard<std::mutex> guard(registryMutex());
        auto& known = registry();
        for (auto it = known.begin(); it != known.end();)
            it = it->first != path && it->second.object.expired() && it->second.making.use_count() == 1
                     ? known.erase(it)
                     : std::next(it);
        if (object) known[path].object = object;
        return object;
    }

private:
    struct Entry {
        std::weak_ptr<T> object;
        std::shared_ptr<std::mutex> making;  // held while the file's object is made
    };

    // Never destroyed: the background thread may look an object up while
    // the process ends (host/db/DBJournal.cpp).
    static std::mutex& registryMutex()
    {
        static std::mutex& mutex = *new std::mutex();
        return mutex;
    }
    static std::map<std::string, Entry>& registry()
    {
        static std::map<std::string, Entry>& known = *new std::map<std::string, Entry>();
        return known;
    }
};
