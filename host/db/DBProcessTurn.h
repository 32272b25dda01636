// The turn among the processes that write one catalogue file (internal to
// host/db). Inside a process the writers queue in DBWriterQueue; the one
// whose turn it is then queues here, first come first served, with the
// writers of the other processes. The queue lives in the turn's page of the
// side file beside the catalogue (DBSideFile); the turn passes to the next
// process the moment it is given back, instead of leaving the processes to
// poll for the database's write lock in turns of sleep. No process's death
// stops the others, at any instant: a process that ends (or lingers
// unreaped) while it holds the turn or waits for it is passed over within a
// tenth of a second. The queue's mutex guards a few statements at a time, so
// it is waited for kSideFileLockWait at most, whatever the writer's own
// deadline, and no more once its holder is seen stopped: a process that
// stops (a debugger, a suspended job) or is frozen (a frozen container)
// while it holds the mutex holds the others no longer than that. They then
// go on without the queue (the database's busy handler keeping the writers
// apart), giving up the ticket they drew, with one entry that says why,
// until the mutex is had again.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "host/db/DBRobustMutex.h"
#include "host/db/DBSideFile.h"

class DBProcessTurn {
public:
    // The turn of the catalogue file at path, shared by its connections in
    // this process; null when the side file cannot be used (the writers then
    // rely on the database's busy handler alone, and the reason is logged).
    static std::shared_ptr<DBProcessTurn> of(const std::string& path);
    // The layout words of the turn's page, and its setting up (the side
    // file's, by a process alone with it).
    static DBSideFileLayout pageLayout();
    static void setUpPage(void* page);

    ~DBProcessTurn();
    DBProcessTurn(const DBProcessTurn&) = delete;
    DBProcessTurn& operator=(const DBProcessTurn&) = delete;

    // Waits for the turn: true once it is this process's, false when it did
    // not come within the timeout (the place in the queue is then given up).
    // True as well, the place given up, when the queue's mutex was not had
    // (the writer goes without the queue). Each wait for that mutex is
    // bounded by kSideFileLockWait alone, so a timeout of 0 still takes a
    // turn that is free, and enter returns at most two such waits past its
    // timeout. One thread of the process at a time: the holder of its writer
    // queue.
    bool enter(std::chrono::milliseconds timeout);
    // Gives the turn to the next process waiting.
    void leave();
    // The tickets passed over so far, among all processes, because the
    // process that drew them had ended.
    unsigned long long passedOver() const;
    // The tickets passed over so far, among all processes, because the
    // process that drew them gave them up (its wait ran out, or it went
    // without the queue).
    unsigned long long givenUpPassedOver() const;

    // For tests: called inside enter() with the side file's lock held, once
    // the slot of the ticket being drawn is written and before the ticket is
    // given out (a process dying there leaves the queue as it was).
    static void setBeforeTicketGivenOut(void (*hook)());

    struct Shared;

private:
    DBProcessTurn(const std::string& path, std::shared_ptr<DBSideFile> side);
    // Whether lock holds the queue's mutex; when it was not had, logs why
    // once until it is had again.
    bool held(const DBRobustLock& lock);
    // Goes on without the queue, giving up the ticket drawn (if any): true.
    bool goWithout(uint64_t ticket);

    std::string m_path;  // the catalogue's
    Shared* m_shared;
    std::shared_ptr<DBSideFile> m_side;  // the mapping of the page
    DBSideFileWaits m_waits;  // for the queue's mutex
};
