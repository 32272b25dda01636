#include <gtest/gtest.h>

#include <string>

#include "host/EvDebug.h"

namespace {

TEST(DebugLogValue, ControlCharactersAreWrittenOutEveryOtherByteKept)
{
    EXPECT_EQ(EvDebug::escaped("a\nb\rc\td"), "a\\nb\\rc\\td");
    EXPECT_EQ(EvDebug::escaped("\x1b[2J\x07\x7f"), "\\x1b[2J\\x07\\x7f");
    EXPECT_EQ(EvDebug::escaped(std::string("\0\x1f", 2)), "\\x00\\x1f");
    const std::string kept = "C:\\mnt\\data 'x' %s \xc3\xa9 \xff ~";
    EXPECT_EQ(EvDebug::escaped(kept), kept);
    EXPECT_EQ(EvDebug::escaped(""), "");
}

}  // namespace
