// What the processes writing one catalogue file know together of the waits
// at the hard limit of its write-ahead log (internal to host/db): an episode
// lasts from the first such wait until the log is started again, and says
// whether a wait gave up (its readers outlasted it), how much of the log was
// copied into the catalogue then, when the first wait began and whether the
// give-up was logged. It lives in the episodes' page of the side file beside
// the catalogue (DBSideFile), mapped into each process and guarded by a
// robust process-shared mutex held for a few statements only (nothing is
// taken or waited for under it), so that after a give-up in one process no
// other process waits for the same readers, and one entry says so. When the
// side file cannot be used (logged once), the process keeps the episodes
// alone; so it does while the mutex is not had within kSideFileLockWait, its
// holder is seen stopped or it cannot be had (logged once, with the reason,
// until it is had again).
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <utility>

#include "host/db/DBLogFile.h"
#include "host/db/DBRobustMutex.h"

class DBSideFile;
struct DBSideFileLayout;

class DBLogEpisode {
public:
    using Clock = std::chrono::steady_clock;

    // The episodes of the catalogue at path, shared by its connections in
    // this process; never null.
    static std::shared_ptr<DBLogEpisode> of(const std::string& path);
    // The layout words of the episodes' page, and its setting up (the side
    // file's, by a process alone with it).
    static DBSideFileLayout pageLayout();
    static void setUpPage(void* page);
    // For tests: called with the mutex held after each store of the page's
    // start of a new episode (numbered from 1), so that a process may die
    // between any two of them.
    static void setBetweenStores(void (*hook)(int store));

    ~DBLogEpisode();
    DBLogEpisode(const DBLogEpisode&) = delete;
    DBLogEpisode& operator=(const DBLogEpisode&) = delete;

    // Whether a wait at the hard limit gave up for the log of generation
    // `log` and its readers have not moved on since: no wait for them begins.
    bool kept(const DBLogGeneration& log);
    // A wait at the hard limit of the log of generation `log` begins (an
    // episode of another log is over): false when one gave up for it and its
    // readers have not moved on since (the wait must not begin); else *since
    // is when the episode's first wait began.
    bool beginWait(const DBLogGeneration& log, Clock::time_point* since);
    // A wait at the hard limit of that log gave up with `copied` frames of it
    // in the catalogue (-1: not known). True for the first give-up of the
    // episode among all processes: the one that writes the entry. Nothing is
    // noted when the episode is of another log (the log was started again
    // during the wait).
    bool gaveUp(const DBLogGeneration& log, long long copied);
    // What a checkpoint that copied what it could beside the writers found of
    // the log of generation `log`: `copied` frames in the catalogue, and with
    // caughtUp, what is left is a short stretch. True when the readers that
    // kept the log moved on past the frames copied at the give-up (a count
    // known; a give-up without one takes this copy's as its mark), by this
    // copy or an earlier one, and the copy caught up: waits may begin again.
    bool noteCopied(const DBLogGeneration& log, long long copied, bool caughtUp);

    // Whether the episodes are shared with the other processes (false: the
    // side file could not be used).
    bool shared() const { return m_side != nullptr; }

    struct Page;

private:
    DBLogEpisode(const std::string& path, std::shared_ptr<DBSideFile> side);
    // The page to use, the shared page's mutex tried under lock: the shared
    // page when it is held; else this process's own (held under ownLock),
    // the reason logged once until the shared one is had again.
    Page& pageFor(const DBRobustLock& lock, std::unique_ptr<DBRobustLock>& ownLock);

    std::string m_path;  // the catalogue's
    std::shared_ptr<DBSideFile> m_side;  // null: the side file is not used
    std::unique_ptr<Page> m_own;         // this process's own page
    Page* m_page;                        // the side file's page, or m_own
    DBSideFileWaits m_waits;             // for the shared page's mutex
};
