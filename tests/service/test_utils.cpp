#include <gtest/gtest.h>

#include "host/HostConfig.h"
#include "service/ReplicationMgr.h"
#include "service/Utils.h"
#include "support/TestCatalogue.h"
#include "support/TestHost.h"

namespace {

struct Wire {
    int id;
    const char* name;
};
struct Rec {
    int id;
    std::string name;
};
void YBSet(Wire& w, const Rec& r) {
    w.id = r.id;
    w.name = r.name.empty() ? nullptr : r.name.c_str();
}

TEST(CopyVectorToMsg, IntegersInOrderAndEmptyGivesNoArray) {
    int* out = reinterpret_cast<int*>(0x1);
    EXPECT_TRUE(CopyVectorToMsg(&out, std::vector<int>{}));
    EXPECT_EQ(out, nullptr);

    ASSERT_TRUE(CopyVectorToMsg(&out, std::vector<int>{7, -3, 11}));
    AutoFreeMem_t owner;
    owner = out;
    EXPECT_EQ(out[0], 7);
    EXPECT_EQ(out[1], -3);
    EXPECT_EQ(out[2], 11);
}

TEST(CopyVectorToMsg, RecordsConvertedThroughYBSet) {
    std::vector<Rec> recs{{1, "one"}, {2, ""}};
    Wire* out = nullptr;
    ASSERT_TRUE(CopyVectorToMsg(&out, recs));
    AutoFreeMem_t owner;
    owner = out;
    EXPECT_EQ(out[0].id, 1);
    EXPECT_STREQ(out[0].name, "one");
    EXPECT_EQ(out[0].name, recs[0].name.c_str());  // points into the record
    EXPECT_EQ(out[1].name, nullptr);

    Wire* none = reinterpret_cast<Wire*>(0x1);
    EXPECT_TRUE(CopyVectorToMsg(&none, std::vector<Rec>{}));
    EXPECT_EQ(none, nullptr);
}

TEST(CAutoMemoryRelease, NullBlockKeepsCountsRealBlockClearsAll) {
    CAutoMemory<char> m;
    m.m_ullCount = 5;
    m.m_ullCapacity = 9;
    m.Release();
    EXPECT_EQ(m.m_ullCount, 5u);
    EXPECT_EQ(m.m_ullCapacity, 9u);

    m.m_pBlock = new char[16];
    m.m_bOwner = true;
    m.Release();
    EXPECT_EQ(m.m_pBlock, nullptr);
    EXPECT_EQ(m.m_ullCount, 0u);
    EXPECT_EQ(m.m_ullCapacity, 0u);
    m.Release();  // second release does nothing
    EXPECT_EQ(m.m_pBlock, nullptr);
}

TEST(ExternalBuffer, IsNotOwnedOrFreed) {
    char data[8] = "reply";
    {
        zxsDatabuf_v2 buf;
        buf.setExternalBuffer(data, sizeof data);
        EXPECT_EQ(buf.data(), data);
        EXPECT_EQ(buf.length(), sizeof data);
    }
    EXPECT_STREQ(data, "reply");  // a stack block: freeing it would have crashed under the sanitizers
}

TEST(CWuErrorTest, NegativeCodeIsError) {
    EXPECT_TRUE(CWuError(-1).IsError());
    EXPECT_FALSE(CWuError(0).IsError());
    EXPECT_FALSE(CWuError(3).IsError());
}

TEST(CompareNoCase, FoldsCaseBeforeOrdering) {
    EXPECT_EQ(_stricmp("Device01", "dEVICE01"), 0);
    EXPECT_EQ(FXString::CompareNoCase(std::string("AbC"), std::string("aBc")), 0);
    EXPECT_LT(FXString::CompareNoCase("a", "B"), 0);
    EXPECT_NE(FXString::CompareNoCase("a", "ab"), 0);
    // The string form stops at an embedded NUL.
    EXPECT_EQ(FXString::CompareNoCase(std::string("ab\0x", 4), std::string("AB\0y", 4)), 0);
    EXPECT_EQ(FXString::ToString("copy"), "copy");
}

TEST(ETSnprintf, BoundedAndReturnsFullLength) {
    char buf[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(ET_snprintf(buf, 1, "%s", "hello"), 5);
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(buf[1], 'x');
    EXPECT_EQ(ET_snprintf(buf, 4, "%d", 12345), 5);
    EXPECT_STREQ(buf, "123");
}

using GetClientNameTest = CatalogueTest;

TEST_F(GetClientNameTest, TrueOnlyForZeroResult) {
    ConfigureQuietHost();
    ReplicationMgr mgr;
    HostClientSeed host42;
    host42.id = 42;
    host42.name = "client42";
    host42.netHostName = "host42.example";
    ASSERT_EQ(HostConfig::addClient(host42), 0);
    std::string name;
    EXPECT_TRUE(mgr.GetClientName(42, name));
    EXPECT_EQ(name, "host42.example");
    name = "before";
    HostConfig::failNext("getNetworkHostnameMangled", 7);
    EXPECT_FALSE(mgr.GetClientName(42, name));
    EXPECT_EQ(name, "before");  // what the directory left
    EXPECT_FALSE(mgr.GetClientName(45, name));
    // A negative id is widened with its sign.
    HostClientSeed negative;
    negative.id = -2;
    negative.netHostName = "neg";
    ASSERT_EQ(HostConfig::addClient(negative), 0);
    EXPECT_TRUE(mgr.GetClientName(-2, name));
    EXPECT_EQ(name, "neg");
}

TEST(SharedTexts, AsTheSystemWritesThem) {
    EXPECT_STREQ(NoMemoryErrMsg, "No memory available to perform operation");
    EXPECT_STREQ(DBTranErrorMsg, "Could not initiated database transactions");
}

}  // namespace
