// The daily, weekly and monthly keep rule of retention pruning, in local time.
#include "replicas/KeepRule.h"

namespace keep_rule {

namespace {

bool ProcessToLocal(long t, struct tm& out)
{
    const time_t at = static_cast<time_t>(t);
    return localtime_r(&at, &out) != nullptr;
}

long ProcessFromLocal(struct tm& t) { return static_cast<long>(mktime(&t)); }

// Zeroes the time of day and the fields mktime derives, leaving the
// daylight-saving choice to it.
void ToMidnight(struct tm& t)
{
    t.tm_sec = 0;
    t.tm_min = 0;
    t.tm_hour = 0;
    t.tm_wday = 0;
    t.tm_yday = 0;
    t.tm_isdst = -1;
}

bool MoveDays(const LocalCalendar& calendar, struct tm& t, long& out, int n)
{
    ToMidnight(t);
    t.tm_mday += n;
    out = calendar.fromLocal(t);
    return out != 0;
}

// Midnight of the first day of the month `months` after t's (negative:
// before); t normalised in place.
long MonthStart(const LocalCalendar& calendar, struct tm& t, int months)
{
    ToMidnight(t);
    t.tm_mon += months;
    return calendar.fromLocal(t);
}

}  // namespace

const LocalCalendar& ProcessCalendar()
{
    static const LocalCalendar calendar{&ProcessToLocal, &ProcessFromLocal};
    return calendar;
}

bool subtractDays(const LocalCalendar& calendar, struct tm& t, long& out, int n)
{
    return MoveDays(calendar, t, out, -n);
}

bool addDays(const LocalCalendar& calendar, struct tm& t, long& out, int n) { return MoveDays(calendar, t, out, n); }

bool GetPrevSnapTime(const std::vector<long>& series, long creationTime, long& out)
{
    out = 0;
    for (long t : series)
        if (t > out && t < creationTime) out = t;
    return true;
}

bool GetNextSnapTime(const std::vector<long>& series, long creationTime, long& out)
{
    out = 0;
    for (long t : series)
        if (t > creationTime && (out == 0 || t < out)) out = t;
    return true;
}

KeepDecision ApplyKeepRule(const std::vector<long>& series, long creationTime, long now, const KeepCounts& counts,
                           const LocalCalendar& calendar)
{
    KeepDecision d;
    if (counts.daily == 0 && counts.weekly == 0 && counts.monthly == 0) return d;
    const long ct = creationTime;
    if (counts.saveFirstInPeriod)
        GetPrevSnapTime(series, ct, d.neighbour);
    else
        GetNextSnapTime(series, ct, d.neighbour);

    auto fail = [&](Period period, Failure failure) {
        d.outcome = Outcome::Failed;
        d.period = period;
        d.failure = failure;
        return d;
    };
    // Inside the window, and the first (last) of the series in its period.
    auto kept = [&](Period period) {
        if (ct < d.expire) return false;
        const bool alone = counts.saveFirstInPeriod ? d.neighbour < d.start
                                                    : (d.neighbour == 0 || d.neighbour >= d.end);
        if (!alone) return false;
        d.outcome = Outcome::Keep;
        d.period = period;
        return true;
    };

    struct tm t {};
    if (counts.daily > 0) {
        d.start = d.end = 0;
        if (!calendar.toLocal(now, t) || !subtractDays(calendar, t, d.expire, counts.daily) || d.expire <= 0)
            return fail(Period::Day, Failure::DayExpiry);
        if (ct >= d.expire) {
            if (!calendar.toLocal(ct, t)) return fail(Period::Day, Failure::DayBounds);
            subtractDays(calendar, t, d.start, 0);
            addDays(calendar, t, d.end, 1);
            if (d.start <= 0 || d.end <= 0) return fail(Period::Day, Failure::DayBounds);
            if (kept(Period::Day)) return d;
        }
    }
    if (counts.weekly > 0) {
        d.start = d.end = 0;
        if (!calendar.toLocal(now, t) || !subtractDays(calendar, t, d.expire, t.tm_wday + 7 * counts.weekly) ||
            d.expire <= 0)
            return fail(Period::Week, Failure::WeekExpiry);
        if (ct >= d.expire) {
            if (!calendar.toLocal(ct, t)) return fail(Period::Week, Failure::WeekBounds);
            subtractDays(calendar, t, d.start, t.tm_wday);
            addDays(calendar, t, d.end, 7);
            if (d.start <= 0 || d.end <= 0) return fail(Period::Week, Failure::WeekBounds);
            if (kept(Period::Week)) return d;
        }
    }
    if (counts.monthly > 0) {
        d.start = d.end = 0;
        long thisMonth = 0;
        if (!calendar.toLocal(now, t) || !subtractDays(calendar, t, thisMonth, t.tm_mday - 1) || thisMonth <= 0)
            return fail(Period::Month, Failure::MonthStart);
        d.expire = MonthStart(calendar, t, -counts.monthly);
        if (d.expire <= 0) return fail(Period::Month, Failure::MonthExpiry);
        if (d.expire <= ct) {
            if (!calendar.toLocal(ct, t)) return fail(Period::Month, Failure::MonthBounds);
            subtractDays(calendar, t, d.start, t.tm_mday - 1);
            d.end = MonthStart(calendar, t, 1);
            if (d.start < 1 || d.end <= 0) return fail(Period::Month, Failure::MonthBounds);
            if (kept(Period::Month)) return d;
        }
    }
    d.period = Period::None;
    return d;
}

}  // namespace keep_rule
