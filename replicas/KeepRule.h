// The keep rule of retention pruning: which snapshots of a series outlive
// their retention because they are the first (or the last) of their day, week
// or month inside the windows a policy keeps. A pure function of the series'
// creation times, the snapshot's, the clock, the counts and the time zone.
#pragma once

#include <ctime>
#include <vector>

namespace keep_rule {

// Local time of one time zone: conversion from and to broken-down time.
struct LocalCalendar {
    bool (*toLocal)(long t, struct tm& out);  // false when t has no local time
    long (*fromLocal)(struct tm& t);           // normalises t in place; -1 on failure
};
// The process's time zone (TZ), through localtime_r and mktime.
const LocalCalendar& ProcessCalendar();

// Midnight n days before (after) the day of t: t's time of day is zeroed, n
// taken from (added to) its day of the month, and t normalised in place, so
// that its month, year and weekday follow. out receives the time; true when
// it is not 0.
bool subtractDays(const LocalCalendar& calendar, struct tm& t, long& out, int n);
bool addDays(const LocalCalendar& calendar, struct tm& t, long& out, int n);

// The latest creation time of the series strictly before creationTime, and
// the earliest strictly after it; 0 when there is none. Both return true.
bool GetPrevSnapTime(const std::vector<long>& series, long creationTime, long& out);
bool GetNextSnapTime(const std::vector<long>& series, long creationTime, long& out);

// What a policy keeps: the number of days, weeks and months back (0: that
// period keeps nothing) and whether the first (else the last) snapshot of
// each period is kept.
struct KeepCounts {
    int daily = 0;
    int weekly = 0;
    int monthly = 0;
    bool saveFirstInPeriod = false;
};

enum class Outcome { Prune, Keep, Failed };
enum class Period { None, Day, Week, Month };
// The step whose time could not be computed.
enum class Failure { None, DayExpiry, DayBounds, WeekExpiry, WeekBounds, MonthStart, MonthExpiry, MonthBounds };

// The decision with the times it rests on: the window's start (expire), the
// period of the snapshot (start, end: the next period's start) and the
// neighbour in the series (previous in first mode, next in last mode). For a
// keep, the period that kept it; for a failure, the values computed so far.
struct KeepDecision {
    Outcome outcome = Outcome::Prune;
    Period period = Period::None;
    Failure failure = Failure::None;
    long expire = 0;
    long start = 0;
    long end = 0;
    long neighbour = 0;
};

// The periods are tried day, week, month, each while its count is above 0.
// A snapshot in a period's window is kept by it when no earlier snapshot of
// the series falls in its period (first mode) or no later one (last mode).
// now anchors the windows; series may hold creationTime itself.
KeepDecision ApplyKeepRule(const std::vector<long>& series, long creationTime, long now, const KeepCounts& counts,
                           const LocalCalendar& calendar = ProcessCalendar());

}  // namespace keep_rule
