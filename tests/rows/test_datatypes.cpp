#include <gtest/gtest.h>

#include <cstring>

#include "rows/ZXDBDataTypes.h"
#include "support/BlockingCall.h"

namespace {

// Counts the calls of clearMemoryOnNULL.
class CountingInt : public ZXDB_int {
public:
    CountingInt() : ZXDB_int() {}
    explicit CountingInt(int v) : ZXDB_int(v) {}
    void clearMemoryOnNULL() override { ++clears; }
    int clears = 0;
};

}  // namespace

TEST(ZXDBDataTypesTest, ConstructionStates)
{
    ZXDB_int empty;
    EXPECT_TRUE(empty.isNull);
    EXPECT_EQ(empty.updatedStatus, ZXDB_NOT_UPDATED);
    EXPECT_EQ(empty.getStr(), "");
    EXPECT_FALSE(empty.isStrCurrent);
    EXPECT_EQ(empty.getDataType(), 1);

    ZXDB_int seven(7);
    EXPECT_FALSE(seven.isNull);
    EXPECT_EQ(seven.updatedStatus, ZXDB_UPDATED);
    EXPECT_EQ(seven.getValue(), 7);

    ZXDB_int64 big(1LL << 40);
    EXPECT_EQ(big.getDataType(), 4);
    EXPECT_STREQ(ZXDB_int64::getFormatString(), ZXDB___int64_format);
    EXPECT_STREQ(ZXDB_int::getFormatString(), ZXDB_int_format);

    ZXDB_string text("abc");
    EXPECT_FALSE(text.isNull);
    EXPECT_EQ(text.updatedStatus, ZXDB_UPDATED);
    EXPECT_EQ(text.getDataType(), 6);
    ZXDB_string none;
    EXPECT_TRUE(none.isNull);
    EXPECT_EQ(none.updatedStatus, ZXDB_NOT_UPDATED);
}

TEST(ZXDBDataTypesTest, NullTransitions)
{
    CountingInt value;
    value.isStrCurrent = true;
    value.setInternalNull(true);  // already null: nothing happens
    EXPECT_EQ(value.clears, 0);
    EXPECT_TRUE(value.isStrCurrent);

    value.setInternalNull(false);
    EXPECT_FALSE(value.isNull);
    EXPECT_FALSE(value.isStrCurrent);
    EXPECT_EQ(value.clears, 0);
    value.setInternalNull(true);
    EXPECT_EQ(value.clears, 1);

    ZXDB_string text("keep");
    text.setString();
    EXPECT_EQ(text.getStr(), "keep");
    text.setInternalNull(true);
    EXPECT_EQ(text.getValue(), "");
    text.setString();
    EXPECT_EQ(text.getStr(), "");
    text.setUpdated(ZXDB_NOT_UPDATED);
    EXPECT_EQ(text.updatedStatus, ZXDB_NOT_UPDATED);
}

TEST(ZXDBDataTypesTest, SetDataAndTextForms)
{
    ZXDB_int value(0x11223344);
    value.isStrCurrent = true;
    const char bytes[2] = {0x55, 0x66};
    EXPECT_EQ(value.setData(bytes, 2, 2, false), 1);
    EXPECT_FALSE(value.isStrCurrent);
    int expected = 0x11223344;
    std::memcpy(reinterpret_cast<char*>(&expected) + 2, bytes, 2);
    EXPECT_EQ(value.getValue(), expected);
    EXPECT_EQ(value.setData(bytes, 3, 2, false), 0);  // would pass the value's end

    ZXDB_int64 big(-(1LL << 40));
    big.setString();
    EXPECT_EQ(big.getStr(), "-1099511627776");
    EXPECT_EQ(big.setData(bytes, 0, 1, false), 1);
    EXPECT_EQ(big.getStr(), "-1099511627776");  // until the next setString
    big.setString();
    EXPECT_NE(big.getStr(), "-1099511627776");

    ZXDB_string text("ab");
    EXPECT_EQ(text.setData("xyz", 1, 3, false), 1);
    EXPECT_EQ(text.getValue(), "axyz");
    EXPECT_EQ(text.toString(1), "'axyz'");
    ZXDB_string quoted("it's");
    EXPECT_EQ(quoted.toString(1), "'it''s'");
    EXPECT_EQ(quoted.toString(0), "it's");
    ZXDB_int none;
    EXPECT_EQ(none.toString(1), "NULL");
    EXPECT_EQ(ZXDB_int(-5).toString(1), "-5");
}

TEST(ZXDBDataTypesTest, DeletionThroughTheBase)
{
    ZXDBDataTypeBase* values[] = {new ZXDB_int(1), new ZXDB_int64(2), new ZXDB_string("three")};
    int codes = 0;
    for (ZXDBDataTypeBase* v : values) {
        codes = codes * 10 + v->getDataType();
        delete v;
    }
    EXPECT_EQ(codes, 146);
}

TEST(ZXSimpleDBSemTest, WaitBlocksUntilAReleaseWhichGivesBackOneUnit)
{
    ZXSimpleDBSem sem(1);
    sem.wait();      // takes the one unit
    sem.release(3);  // one unit, whatever is passed
    sem.wait();
    BlockingCall other([&sem] { sem.wait(); });
    EXPECT_TRUE(other.blocks());
    sem.release(1);
    other.join();
}
