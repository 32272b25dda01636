// The one order in which a thread of the process may take the locks that
// can be held for long (the writer turn of a catalogue file and the table
// locks), and its check: each thread records the locks it holds, and taking
// one out of order aborts with the names of both.
//
// The order:
//   1. the writer turn of a catalogue file: the thread's place among the
//      writers of the process (DBWriterQueue), then the process's place
//      among the processes writing the file (DBProcessTurn), with the
//      database's own write lock that the writer then takes in the file;
//   2. the table locks, in the order of their ids ("YB Volume" first,
//      "BlockFilterQuery" last).
// A thread that holds a table lock never waits for the writer turn: what it
// writes under the lock runs in a transaction opened before the lock was
// taken. The reasons: the request cases open their transaction before the
// operation they call takes its table lock, so the turn comes first on the
// paths that write the most; and a table lock is waited for at most 60 s,
// while the turn is waited for at most 75 s, so a writer that holds the turn
// and waits for a table lock ends its wait before the writers queued behind
// it give up.
// Short locks that nothing is taken under (the connection mutexes, the
// library's critical section, the queues' own mutexes, the mutex in the
// side file of the processes' queue, the mutex of the episodes at the log's
// hard limit in the same file, each waited for 1 s at most) are not part of
// it; nor are the locks under which a catalogue file's objects are made
// once per process (a lock of that file's alone, held while its side file's
// set-up lock is waited for, 1 s at most; the registries' own lock is never
// held while anything is waited for).
//
// Taking a lock the thread already holds again (the recursive table locks) is
// always in order. The check runs in debug
// builds, and in any build when the environment variable
// REPLMGR_LOCK_ORDER_CHECK is 1 (the tests set it) or setChecking(true) was
// called; otherwise the calls return at once.
#pragma once

namespace lock_order {

// Ranks of the order; a table lock's rank is TableLocks + its id.
const int WriterTurn = 100;
const int TableLocks = 200;

// True when the calls below check and record.
bool checking();
void setChecking(bool on);

// Before the calling thread waits for the lock of rank and name: aborts the
// process, naming both locks, when the thread holds a lock of this rank or a
// later one other than this very lock.
void taking(int rank, const char* name);
// The calling thread holds one level more of the lock.
void taken(int rank, const char* name);
// The calling thread gave one level of the lock back. A lock the thread is
// not known to hold (taken before the check was switched on, or given back
// by another thread) is ignored.
void released(int rank, const char* name);
// Levels of locks the calling thread holds, all ranks together.
int heldLevels();

}  // namespace lock_order
