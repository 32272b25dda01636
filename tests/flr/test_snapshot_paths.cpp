// Snapshot paths set by snapshot name through post: only the named rows
// change, and the answer reports the first failure.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "flr/FLRPostFixture.h"
#include "support/TestHost.h"

namespace {

using Rows = std::vector<std::string>;
using Paths = std::vector<std::pair<std::string, std::string>>;

class SnapshotPathTest : public FLRPostTest {
protected:
    void SetUp() override
    {
        FLRPostTest::SetUp();
        const int32_t cp = storeCP(40, 1000, 77);
        for (const char* name : {"snapA", "1", "it's", "other"}) storeSnapshot(cp, name, "old");
    }

    // The stored paths in id order.
    static Rows StoredPaths()
    {
        Rows out;
        for (const auto& r : StoredRows<YBFLRSnapshot_t, FLRSnapshotDB>()) out.push_back(r.Name + std::string("=") + r.SnapshotPath);
        return out;
    }
};

TEST_F(SnapshotPathTest, OnlyTheNamedSnapshotsGetTheirPaths)
{
    // A name that reads as true, and one with a quote, select their own row.
    expectDone(updatePaths({{"1", "/p/one"}, {"it's", "/p/it's"}}));
    EXPECT_EQ(StoredPaths(), (Rows{"snapA=old", "1=/p/one", "it's=/p/it's", "other=old"}));
    EXPECT_EQ(LogEntriesWith("\tSnapshot 101 was updated\n\tName = it's, SnapshotPath = /p/it's").size(), 1u);
    EXPECT_EQ(LogEntriesWith("\tMessage REPLICA_PM_UPDATE_FLR_SNAPSHOT_REQ completed successfully").size(), 1u);
}

TEST_F(SnapshotPathTest, ANameWithoutASnapshotFailsTheRequestAfterTheOthersAreWritten)
{
    expectFailed(updatePaths({{"snapA", "/p/a"}, {"missing", "/p/m"}, {"other", "/p/o"}}), -4,
                 "Cannot update FLR snapshot record in database");
    EXPECT_EQ(StoredPaths(), (Rows{"snapA=/p/a", "1=old", "it's=old", "other=/p/o"}));

    // A failed write likewise; the first failure is the answer.
    HostDBFaults::failNext("Update", 5, 1);
    expectFailed(updatePaths({{"snapA", "/p/a2"}, {"1", "/p/1"}, {"", "/p/none"}}), -4,
                 "Cannot update FLR snapshot record in database");
    EXPECT_EQ(StoredPaths(), (Rows{"snapA=/p/a2", "1=old", "it's=old", "other=/p/o"}));
}

TEST_F(SnapshotPathTest, ARefusedNameStopsTheListWithTheRowsBeforeItWritten)
{
    struct Case {
        const char* what;
        std::string name;
        std::string path;
        int32_t code;
        std::string text;
    };
    const Case cases[] = {
        {"an empty name", "", "/p/x", -2, "Snap name is empty"},
        {"a name one over its limit", std::string(128, 'n'), "/p/x", -18, "Snap name cannot exceed 127 characters"},
        {"a path one over its limit", "other", std::string(1024, 'p'), -18,
         "Snapshot path cannot exceed 1023 characters"},
    };
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string first = "/p/a" + std::to_string(++round);
        expectFailed(updatePaths({{"snapA", first}, {c.name, c.path}, {"1", "/p/never"}}), c.code, c.text);
        EXPECT_EQ(StoredPaths(), (Rows{"snapA=" + first, "1=old", "it's=old", "other=old"}));
    }
    expectFailed(updatePaths({}), -2, "Update has no snapshots");

    // The longest name and path are taken.
    storeSnapshot(1, std::string(127, 'n'), "old");
    expectDone(updatePaths({{std::string(127, 'n'), std::string(1023, 'p')}}));
    EXPECT_EQ(StoredPaths().back(), std::string(127, 'n') + "=" + std::string(1023, 'p'));
}

}  // namespace
