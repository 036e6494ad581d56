#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "panel/SetupEntry.h"

namespace {

using padpanel::ParseSetupEntry;
using padpanel::SetupEntry;

bool Parse(const std::string& line, SetupEntry& e) { return ParseSetupEntry(line.c_str(), line.size() + 1, e); }

TEST(SetupEntry, ReadsTheRectangleAndKeepsCommasInsideTheText) {
    SetupEntry e;
    ASSERT_TRUE(Parse("10,20,30,40,Left, then right", e));
    EXPECT_EQ(e.Left, 10);
    EXPECT_EQ(e.Top, 20);
    EXPECT_EQ(e.Right, 30);
    EXPECT_EQ(e.Bottom, 40);
    EXPECT_STREQ(e.Text, "Left, then right");
}

TEST(SetupEntry, EndingAtItsFourthCommaGivesAnEmptyText) {
    SetupEntry e;
    ASSERT_TRUE(Parse("1,2,3,4,", e));
    EXPECT_EQ(e.Bottom, 4);
    EXPECT_STREQ(e.Text, "");
}

TEST(SetupEntry, ThreeCommasOrTheMissingEntryTextFailWithNothing) {
    SetupEntry e;
    std::strcpy(e.Text, "stale");
    e.Left = 9;
    EXPECT_FALSE(Parse("1,2,3,text", e));
    EXPECT_EQ(e.Left, 0);
    EXPECT_STREQ(e.Text, "");
    EXPECT_FALSE(Parse("Error!!!", e));
    EXPECT_FALSE(Parse("", e));
    EXPECT_FALSE(ParseSetupEntry(nullptr, 10, e));
}

TEST(SetupEntry, NonNumericRectanglesReadAsZeroOrTheirLeadingDigits) {
    SetupEntry e;
    ASSERT_TRUE(Parse("abc, -7 ,12px,,caption", e));
    EXPECT_EQ(e.Left, 0);
    EXPECT_EQ(e.Top, -7);
    EXPECT_EQ(e.Right, 12);
    EXPECT_EQ(e.Bottom, 0);
    EXPECT_STREQ(e.Text, "caption");
}

TEST(SetupEntry, KeepsAtMostTwoHundredFiftyNineCharactersOfText) {
    SetupEntry e;
    const std::string text(400, 'x');
    ASSERT_TRUE(Parse("0,0,0,0," + text, e));
    EXPECT_EQ(std::strlen(e.Text), 259u);
}

TEST(SetupEntry, NeverReadsPastTheLengthItIsGiven) {
    // No terminator inside the given length: the parser must stop at it.
    char line[12];
    std::memcpy(line, "1,2,3,4,abcd", 12);
    SetupEntry e;
    ASSERT_TRUE(ParseSetupEntry(line, sizeof line, e));
    EXPECT_STREQ(e.Text, "abcd");
    EXPECT_FALSE(ParseSetupEntry(line, 6, e)) << "only three commas lie within six characters";
}

}  // namespace
