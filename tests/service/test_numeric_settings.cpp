// The numeric settings of section ~ReplicationMgr outside the catalogue's
// but the verbose level (which keeps the low bits of any number read, see
// test_logging.cpp): each is read as the subsystem that uses it reads it,
// and a value that is not a number of its range gives the key's default and
// one ERR entry.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "files/EncryptionKeys.h"
#include "files/TransferFiles.h"
#include "host/ZXPlatformInfo.h"
#include "replicas/RetentionPruning.h"
#include "support/TestHost.h"

namespace {

const char kSection[] = "~ReplicationMgr";

struct NumericKey {
    const char* key;
    std::function<long long()> read;  // as its subsystem reads it
    long long fallback;               // what a value not taken gives
    const char* largest;              // the largest value taken
    const char* beyond;               // just beyond the range
};

// The general retention counts are set while a policy's keys are read: a
// policy's count not taken falls back to them.
void SetGeneralCounts()
{
    ZXPlatformInfo::setValue(kSection, "SaveDailySnaps", "3");
    ZXPlatformInfo::setValue(kSection, "SaveWeeklySnaps", "2");
    ZXPlatformInfo::setValue(kSection, "SaveMonthlySnaps", "1");
}

std::vector<NumericKey> Keys()
{
    auto counts = [] { return replica_detail::ReadKeepCounts("Gold"); };
    return {
        {"nMaxPendingEKeys", [] { return static_cast<long long>(MaxPendingEKeys()); }, 10000, "1000000", "1000001"},
        {"TransferFileMaxAgeSeconds", [] { return static_cast<long long>(transfer_files::MaxAgeSeconds()); }, 86400,
         "315360000", "315360001"},
        {"nPruneWithJobsRunning", [] { return static_cast<long long>(replica_detail::PruneWithJobsRunning()); }, 0,
         "2", "3"},
        {"SaveDailySnaps", [=] { return static_cast<long long>(counts().daily); }, 0, "3650", "3651"},
        {"SaveWeeklySnaps", [=] { return static_cast<long long>(counts().weekly); }, 0, "520", "521"},
        {"SaveMonthlySnaps", [=] { return static_cast<long long>(counts().monthly); }, 0, "120", "121"},
        {"Gold_daily", [=] { return static_cast<long long>(counts().daily); }, 3, "3650", "3651"},
        {"Gold_weekly", [=] { return static_cast<long long>(counts().weekly); }, 2, "520", "521"},
        {"Gold_monthly", [=] { return static_cast<long long>(counts().monthly); }, 1, "120", "121"},
        {"Gold_SaveFirstInPeriod", [=] { return static_cast<long long>(counts().saveFirstInPeriod); }, 0, "1", "2"},
    };
}

size_t EntriesFor(const std::string& key, const std::string& value)
{
    return LogEntriesWith("The setting " + key + " of section ~ReplicationMgr is \"" + value + "\"").size();
}

TEST(NumericSettings, EachKeyTakesItsRangeAndGivesItsDefaultAndOneEntryForAnyOtherValue)
{
    for (const NumericKey& k : Keys()) {
        SCOPED_TRACE(k.key);
        ConfigureQuietHost(nullptr);
        const bool general = std::string(k.key).compare(0, 4, "Save") == 0;
        if (!general) SetGeneralCounts();

        for (const char* value : {"-1", "abc", k.beyond}) {
            ZXPlatformInfo::setValue(kSection, k.key, value);
            EXPECT_EQ(k.read(), k.fallback) << value;
            EXPECT_EQ(k.read(), k.fallback) << value;
            EXPECT_EQ(EntriesFor(k.key, value), 1u) << value;
        }
        // An empty value is no value: the default, and no entry.
        ZXPlatformInfo::setValue(kSection, k.key, "");
        EXPECT_EQ(k.read(), k.fallback);
        EXPECT_EQ(EntriesFor(k.key, ""), 0u);

        ZXPlatformInfo::setValue(kSection, k.key, k.largest);
        EXPECT_EQ(k.read(), std::stoll(k.largest));
        EXPECT_EQ(EntriesFor(k.key, k.largest), 0u);
    }
    ZXPlatformInfo::clearAll();
}

}  // namespace
