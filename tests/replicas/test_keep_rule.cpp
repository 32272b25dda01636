// The keep rule of retention pruning on fixed dates, in UTC and in a zone
// that changes to daylight-saving time inside the windows (2024-03-10 in New
// York), and the reading of a policy's keep settings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "host/ZXPlatformInfo.h"
#include "replicas/KeepRule.h"
#include "replicas/RetentionPruning.h"

namespace {

using keep_rule::ApplyKeepRule;
using keep_rule::KeepCounts;
using keep_rule::KeepDecision;
using keep_rule::Outcome;
using keep_rule::Period;

// The process's time zone for one scope; the one before is put back.
class TimeZoneScope {
public:
    explicit TimeZoneScope(const char* zone)
    {
        const char* before = std::getenv("TZ");
        m_had = before != nullptr;
        if (m_had) m_before = before;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZoneScope()
    {
        if (m_had)
            setenv("TZ", m_before.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool m_had = false;
    std::string m_before;
};

// One zone's clock readings of the same local dates and times. now is Wed
// 2024-03-13 12:00 UTC in both (08:00 in New York).
struct Dates {
    const char* zone;
    long now;
    long mar10, mar11, mar12;     // midnights
    long mon08, mon10, mon12;     // Mon 2024-03-11 08:00, 10:00, 12:00
    long sat09Noon;               // Sat 2024-03-09 12:00
    long sun03, mar17;            // midnights of Sun 2024-03-03 and Sun 2024-03-17
    long mon04Nine, sat02Nine;    // Mon 2024-03-04 09:00, Sat 2024-03-02 09:00
    long feb01, feb15Noon, mar01;
};

const Dates kUtc{"UTC",        1710331200, 1710028800, 1710115200, 1710201600, 1710144000, 1710151200, 1710158400,
                 1709985600,   1709424000, 1710633600, 1709542800, 1709370000, 1706745600, 1707998400, 1709251200};
const Dates kNewYork{"America/New_York", 1710331200, 1710046800, 1710129600, 1710216000, 1710158400,
                     1710165600,         1710172800, 1710003600, 1709442000, 1710648000, 1709560800,
                     1709388000,         1706763600, 1708016400, 1709269200};

KeepCounts Counts(int daily, int weekly, int monthly, bool first)
{
    KeepCounts c;
    c.daily = daily;
    c.weekly = weekly;
    c.monthly = monthly;
    c.saveFirstInPeriod = first;
    return c;
}

class KeepRuleTest : public ::testing::TestWithParam<Dates> {};

TEST_P(KeepRuleTest, DailyWindowKeepsTheFirstOrTheLastOfADay)
{
    const Dates& t = GetParam();
    TimeZoneScope zone(t.zone);
    const std::vector<long> series{t.mon08, t.mon10, t.mon12, t.sat09Noon};

    // First mode: only 08:00 is kept, by its day from midnight to midnight.
    KeepDecision d = ApplyKeepRule(series, t.mon08, t.now, Counts(3, 0, 0, true));
    EXPECT_EQ(d.outcome, Outcome::Keep);
    EXPECT_EQ(d.period, Period::Day);
    EXPECT_EQ(d.expire, t.mar10);
    EXPECT_EQ(d.start, t.mar11);
    EXPECT_EQ(d.end, t.mar12);
    EXPECT_EQ(d.neighbour, t.sat09Noon);  // earlier, but on another day
    d = ApplyKeepRule(series, t.mon10, t.now, Counts(3, 0, 0, true));
    EXPECT_EQ(d.outcome, Outcome::Prune);
    EXPECT_EQ(ApplyKeepRule(series, t.mon12, t.now, Counts(3, 0, 0, true)).outcome, Outcome::Prune);

    // Last mode: only 12:00.
    EXPECT_EQ(ApplyKeepRule(series, t.mon08, t.now, Counts(3, 0, 0, false)).outcome, Outcome::Prune);
    EXPECT_EQ(ApplyKeepRule(series, t.mon10, t.now, Counts(3, 0, 0, false)).outcome, Outcome::Prune);
    d = ApplyKeepRule(series, t.mon12, t.now, Counts(3, 0, 0, false));
    EXPECT_EQ(d.outcome, Outcome::Keep);
    EXPECT_EQ(d.neighbour, 0);

    // Saturday lies before the window: alone in its day, still not kept.
    d = ApplyKeepRule(series, t.sat09Noon, t.now, Counts(3, 0, 0, true));
    EXPECT_EQ(d.outcome, Outcome::Prune);
    EXPECT_EQ(ApplyKeepRule(series, t.sat09Noon, t.now, Counts(3, 0, 0, false)).outcome, Outcome::Prune);

    // Two days back the window starts on Monday.
    d = ApplyKeepRule(series, t.mon12, t.now, Counts(2, 0, 0, false));
    EXPECT_EQ(d.outcome, Outcome::Keep);
    EXPECT_EQ(d.expire, t.mar11);

    // No count: nothing is kept.
    EXPECT_EQ(ApplyKeepRule(series, t.mon08, t.now, Counts(0, 0, 0, true)).outcome, Outcome::Prune);
}

TEST_P(KeepRuleTest, WeeklyWindowStartsOnSunday)
{
    const Dates& t = GetParam();
    TimeZoneScope zone(t.zone);
    const std::vector<long> series{t.sat02Nine, t.mon04Nine};

    KeepDecision d = ApplyKeepRule(series, t.mon04Nine, t.now, Counts(0, 1, 0, true));
    EXPECT_EQ(d.outcome, Outcome::Keep);
    EXPECT_EQ(d.period, Period::Week);
    EXPECT_EQ(d.expire, t.sun03);
    EXPECT_EQ(d.start, t.sun03);
    EXPECT_EQ(d.end, t.mar10);
    EXPECT_EQ(d.neighbour, t.sat02Nine);  // earlier, but in the week before
    d = ApplyKeepRule(series, t.sat02Nine, t.now, Counts(0, 1, 0, false));
    EXPECT_EQ(d.outcome, Outcome::Prune);
    EXPECT_EQ(d.expire, t.sun03);

    // The week of the change: from Sunday's midnight to the next Sunday's.
    d = ApplyKeepRule({t.mon10}, t.mon10, t.now, Counts(0, 1, 0, false));
    EXPECT_EQ(d.outcome, Outcome::Keep);
    EXPECT_EQ(d.start, t.mar10);
    EXPECT_EQ(d.end, t.mar17);
}

TEST_P(KeepRuleTest, MonthlyWindowFromTheFirstOfTheMonth)
{
    const Dates& t = GetParam();
    TimeZoneScope zone(t.zone);

    KeepDecision d = ApplyKeepRule({t.feb15Noon, t.mon08}, t.feb15Noon, t.now, Counts(0, 0, 1, false));
    EXPECT_EQ(d.outcome, Outcome::Keep);
    EXPECT_EQ(d.period, Period::Month);
    EXPECT_EQ(d.expire, t.feb01);
    EXPECT_EQ(d.start, t.feb01);
    EXPECT_EQ(d.end, t.mar01);
    EXPECT_EQ(d.neighbour, t.mon08);  // later, but in March
    // A later snapshot in February takes its place in last mode.
    EXPECT_EQ(ApplyKeepRule({t.feb15Noon, t.feb15Noon + 3600}, t.feb15Noon, t.now, Counts(0, 0, 1, false)).outcome,
              Outcome::Prune);

    // The day is tried first; what the day lets go the month may keep.
    d = ApplyKeepRule({t.mon08, t.mon10}, t.mon08, t.now, Counts(3, 0, 1, false));
    EXPECT_EQ(d.outcome, Outcome::Prune);
    d = ApplyKeepRule({t.mon08, t.mon10}, t.mon10, t.now, Counts(3, 0, 1, false));
    EXPECT_EQ(d.period, Period::Day);
}

INSTANTIATE_TEST_SUITE_P(Zones, KeepRuleTest, ::testing::Values(kUtc, kNewYork),
                         [](const ::testing::TestParamInfo<Dates>& info) {
                             return std::string(info.param.zone == std::string("UTC") ? "UTC" : "NewYork");
                         });

// On the day the clocks go forward a New York day has 23 hours: a snapshot
// half an hour after the next midnight belongs to the next day.
TEST(KeepRuleDaylightSaving, TheShortDayEndsAtLocalMidnight)
{
    TimeZoneScope zone("America/New_York");
    const long beforeChange = 1710052200;  // Sun 2024-03-10 01:30 EST
    const long afterChange = 1710055800;   // Sun 2024-03-10 03:30 EDT
    const long nextDay = 1710131400;       // Mon 2024-03-11 00:30 EDT
    const std::vector<long> series{beforeChange, afterChange, nextDay};
    const long now = 1710331200;

    KeepDecision d = ApplyKeepRule(series, afterChange, now, Counts(3, 0, 0, false));
    EXPECT_EQ(d.outcome, Outcome::Keep);
    EXPECT_EQ(d.start, 1710046800);  // 00:00 EST
    EXPECT_EQ(d.end, 1710129600);    // 00:00 EDT, 23 hours later
    EXPECT_EQ(d.neighbour, nextDay);
    EXPECT_EQ(ApplyKeepRule(series, beforeChange, now, Counts(3, 0, 0, false)).outcome, Outcome::Prune);
    EXPECT_EQ(ApplyKeepRule(series, beforeChange, now, Counts(3, 0, 0, true)).outcome, Outcome::Keep);
    EXPECT_EQ(ApplyKeepRule(series, afterChange, now, Counts(3, 0, 0, true)).outcome, Outcome::Prune);
    EXPECT_EQ(ApplyKeepRule(series, nextDay, now, Counts(3, 0, 0, true)).outcome, Outcome::Keep);
}

// The calendar is an input: one that cannot convert fails the rule instead
// of keeping or pruning.
TEST(KeepRuleCalendar, ATimeThatCannotBeComputedFailsTheRule)
{
    const keep_rule::LocalCalendar broken{[](long t, struct tm& out) {
                                              const time_t at = t;
                                              return gmtime_r(&at, &out) != nullptr;
                                          },
                                          [](struct tm&) { return -1L; }};
    KeepDecision d = ApplyKeepRule({1710144000}, 1710144000, 1710331200, Counts(3, 1, 1, true), broken);
    EXPECT_EQ(d.outcome, Outcome::Failed);
    EXPECT_EQ(d.failure, keep_rule::Failure::DayExpiry);
    d = ApplyKeepRule({1710144000}, 1710144000, 1710331200, Counts(0, 0, 1, true), broken);
    EXPECT_EQ(d.failure, keep_rule::Failure::MonthStart);
}

// The neighbours are strict: equal times are not earlier or later.
TEST(KeepRuleNeighbours, PreviousAndNextInTheSeries)
{
    long out = -1;
    EXPECT_TRUE(keep_rule::GetPrevSnapTime({30, 10, 20, 20}, 20, out));
    EXPECT_EQ(out, 10);
    EXPECT_TRUE(keep_rule::GetNextSnapTime({30, 10, 40, 20}, 20, out));
    EXPECT_EQ(out, 30);
    keep_rule::GetPrevSnapTime({20, 30}, 20, out);
    EXPECT_EQ(out, 0);
    keep_rule::GetNextSnapTime({10, 20}, 20, out);
    EXPECT_EQ(out, 0);
}

// A count of 0 reads the general setting; the mode has no fall-back.
TEST(KeepSettings, AZeroCountFallsBackToTheGeneralSetting)
{
    ZXPlatformInfo::clearAll();
    ZXPlatformInfo::setValue("~ReplicationMgr", "Gold_daily", "0");
    ZXPlatformInfo::setValue("~ReplicationMgr", "SaveDailySnaps", "2");
    ZXPlatformInfo::setValue("~ReplicationMgr", "Gold_weekly", "4");
    ZXPlatformInfo::setValue("~ReplicationMgr", "SaveWeeklySnaps", "9");
    ZXPlatformInfo::setValue("~ReplicationMgr", "SaveMonthlySnaps", "5");
    ZXPlatformInfo::setValue("~ReplicationMgr", "Gold_SaveFirstInPeriod", "1");
    KeepCounts c = replica_detail::ReadKeepCounts("Gold");
    EXPECT_EQ(c.daily, 2);
    EXPECT_EQ(c.weekly, 4);
    EXPECT_EQ(c.monthly, 5);  // missing reads as 0
    EXPECT_TRUE(c.saveFirstInPeriod);

    ZXPlatformInfo::setValue("~ReplicationMgr", "Gold_SaveFirstInPeriod", "2");
    EXPECT_FALSE(replica_detail::ReadKeepCounts("Gold").saveFirstInPeriod);
    ZXPlatformInfo::clearAll();
    c = replica_detail::ReadKeepCounts("Gold");
    EXPECT_EQ(c.daily + c.weekly + c.monthly, 0);
    EXPECT_FALSE(c.saveFirstInPeriod);

    // 0 with SaveDailySnaps 2 keeps what a count of 2 keeps.
    TimeZoneScope zone("UTC");
    ZXPlatformInfo::setValue("~ReplicationMgr", "Gold_daily", "0");
    ZXPlatformInfo::setValue("~ReplicationMgr", "SaveDailySnaps", "2");
    const KeepDecision fallback = ApplyKeepRule({kUtc.mon12}, kUtc.mon12, kUtc.now, replica_detail::ReadKeepCounts("Gold"));
    const KeepDecision two = ApplyKeepRule({kUtc.mon12}, kUtc.mon12, kUtc.now, Counts(2, 0, 0, false));
    EXPECT_EQ(fallback.outcome, Outcome::Keep);
    EXPECT_EQ(fallback.expire, two.expire);
    EXPECT_EQ(fallback.expire, kUtc.mar11);
    ZXPlatformInfo::clearAll();
}

}  // namespace
