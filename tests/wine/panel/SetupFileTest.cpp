// Setup.ini as the panel reads it, through GetPrivateProfileStringA.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "PanelTestSupport.h"
#include "panel/Settings.h"
#include "panel/SetupFile.h"

namespace {

using namespace paneltest;
using padpanel::ReadSetupEntry;
using padpanel::SetupEntry;

class SetupFile : public ::testing::Test {
protected:
    void TearDown() override { InstallStagedSetupIni(); }
};

TEST_F(SetupFile, ReadsRectangleAndTextWithItsCommas) {
    InstallSetupIni("[S]\r\nA=10,20,30,40,one, two\r\nB=1,2,3,4,\r\nC=1,2,3,three\r\nD=x,-5,7y,,t\r\n");
    SetupEntry e;
    ASSERT_TRUE(ReadSetupEntry("S", "A", e));
    EXPECT_EQ(e.Left, 10);
    EXPECT_EQ(e.Top, 20);
    EXPECT_EQ(e.Right, 30);
    EXPECT_EQ(e.Bottom, 40);
    EXPECT_STREQ(e.Text, "one, two");
    ASSERT_TRUE(ReadSetupEntry("S", "B", e)) << "an entry may end at its fourth comma";
    EXPECT_STREQ(e.Text, "");
    EXPECT_FALSE(ReadSetupEntry("S", "C", e)) << "three commas are not an entry";
    EXPECT_EQ(e.Right, 0);
    EXPECT_STREQ(e.Text, "");
    ASSERT_TRUE(ReadSetupEntry("S", "D", e));
    EXPECT_EQ(e.Left, 0);
    EXPECT_EQ(e.Top, -5);
    EXPECT_EQ(e.Right, 7);
    EXPECT_STREQ(e.Text, "t");
}

TEST_F(SetupFile, MissingFileSectionOrKeyGivesNothing) {
    InstallSetupIni("[S]\r\nA=1,2,3,4,x\r\n");
    SetupEntry e;
    EXPECT_FALSE(ReadSetupEntry("T", "A", e));
    EXPECT_FALSE(ReadSetupEntry("S", "Z", e));
    EXPECT_FALSE(ReadSetupEntry(nullptr, "A", e));
    RemoveSetupIni();
    EXPECT_FALSE(ReadSetupEntry("S", "A", e));
    EXPECT_STREQ(e.Text, "");
}

TEST_F(SetupFile, AnOverlongLineYieldsAtMostTwoHundredFiftyNineCharacters) {
    const std::string text(2000, 'w');
    InstallSetupIni("[S]\r\nLong=1,2,3,4," + text + "\r\nAfter=5,6,7,8,fine\r\n");
    SetupEntry e;
    ASSERT_TRUE(ReadSetupEntry("S", "Long", e));
    EXPECT_EQ(std::strlen(e.Text), 259u - 8u) << "the reader gets 259 characters, eight of them the numbers";
    EXPECT_EQ(e.Text[0], 'w');
    ASSERT_TRUE(ReadSetupEntry("S", "After", e)) << "the next entry is still read";
    EXPECT_STREQ(e.Text, "fine");

    InstallSetupIni("[S]\r\nCommas=" + std::string(300, '1') + ",2,3,4,x\r\n");
    EXPECT_FALSE(ReadSetupEntry("S", "Commas", e)) << "the fourth comma lies past the 259 characters read";
}

TEST_F(SetupFile, DefaultCalibrationWordsAreDecimalTextWithZeroForAnythingElse) {
    InstallSetupIni(
        "[DefaultSetting]\r\nMode_9_AxesRX=0,0,0,0,  -2\r\nMode_9_AxesRY=0,0,0,0,abc\r\n"
        "Mode_9_AxesZ=0,0,0,0,99999999999\r\n");
    const padpanel::DefaultAxisWords words = padpanel::ReadDefaultAxisWords(9);
    EXPECT_EQ(words.Rx, 0xFFFFFFFEu);
    EXPECT_EQ(words.Ry, 0u);
    EXPECT_EQ(words.Z, 0x7FFFFFFFu) << "an overlong number saturates";
    const padpanel::DefaultAxisWords none = padpanel::ReadDefaultAxisWords(10);
    EXPECT_EQ(none.Rx, 0u);
    EXPECT_EQ(none.Z, 0u);
}

}  // namespace
