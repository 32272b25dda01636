// What the processes writing one catalogue file know together of the waits
// at the hard limit of its write-ahead log (internal to host/db): an episode
// lasts from the first such wait until the log is started again, and says
// whether a wait gave up (its readers outlasted it), how much of the log was
// copied into the catalogue then, when the first wait began and whether the
// give-up was logged. It lives in a page of its own of the side file beside
// the catalogue ("<catalogue>-writers", after the writers' queue), mapped into
// each process and guarded by a robust process-shared mutex held for a few
// statements only (nothing is taken or waited for under it), so that after a
// give-up in one process no other process waits for the same readers, and
// one entry says so. When the side file cannot be used (logged once), the
// process keeps the episode alone.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <utility>

#include "host/db/DBLogFile.h"

class DBProcessTurn;

class DBLogEpisode {
public:
    using Clock = std::chrono::steady_clock;

    // Which log a catalogue file has (dbLogGeneration).
    using Generation = DBLogGeneration;

    // The episodes of the catalogue at path, shared by its connections in
    // this process; never null.
    static std::shared_ptr<DBLogEpisode> of(const std::string& path);

    ~DBLogEpisode();
    DBLogEpisode(const DBLogEpisode&) = delete;
    DBLogEpisode& operator=(const DBLogEpisode&) = delete;

    // Whether a wait at the hard limit gave up for the log of generation
    // `log` and its readers have not moved on since: no wait for them begins.
    bool kept(const Generation& log);
    // A wait at the hard limit of the log of generation `log` begins: false
    // when one gave up for it and its readers have not moved on since (the
    // wait must not begin); else *since is when the episode's first wait
    // began.
    bool beginWait(const Generation& log, Clock::time_point* since);
    // A wait at the hard limit of that log gave up with `copied` frames of it
    // in the catalogue (-1: not known). True for the first give-up of the
    // episode among all processes: the one that writes the entry.
    bool gaveUp(const Generation& log, long long copied);
    // What a checkpoint that copied what it could beside the writers found of
    // the log of generation `log`: `copied` frames in the catalogue, and with
    // caughtUp, what is left is a short stretch. True when the readers that
    // kept the log moved on past the frames copied at the give-up (a count
    // known; a give-up without one takes this copy's as its mark), by this
    // copy or an earlier one, and the copy caught up: waits may begin again.
    bool noteCopied(const Generation& log, long long copied, bool caughtUp);

    // Whether the episodes are shared with the other processes (false: the
    // side file could not be used).
    bool shared() const { return m_shared; }

    struct Page;

private:
    DBLogEpisode(Page* page, std::shared_ptr<DBProcessTurn> turn)
        : m_page(page), m_shared(turn != nullptr), m_turn(std::move(turn))
    {
    }

    Page* m_page;
    bool m_shared;
    // The turn of the same side file, held while the page is mapped: a
    // process that finds itself alone with the file (no turn held anywhere)
    // marks this page to be set up anew, whatever state processes that ended
    // left it in.
    std::shared_ptr<DBProcessTurn> m_turn;
};
