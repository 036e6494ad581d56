#include <gtest/gtest.h>

#include <cstring>

#include "hosts/cplhost/SheetScript.h"
#include "tools/padstate/PadStateBlock.h"

namespace {

using cplhost::CommandKind;
using cplhost::ParseScript;
using cplhost::ScriptCommand;

std::vector<ScriptCommand> Parse(const std::string& text) {
    std::vector<ScriptCommand> out;
    std::string error;
    EXPECT_TRUE(ParseScript(text, out, error)) << error;
    return out;
}

std::string ErrorOf(const std::string& text) {
    std::vector<ScriptCommand> out;
    std::string error;
    EXPECT_FALSE(ParseScript(text, out, error)) << "'" << text << "' is refused";
    EXPECT_TRUE(out.empty()) << "nothing of a bad script is kept";
    return error;
}

TEST(SheetScript, ReadsEveryCommandWithItsArgumentsAndLine) {
    const auto s = Parse(
        "# a use of the sheet\n"
        "page 3\n"
        "\n"
        "click 10 -20   # comment\n"
        "axis rx 65535\n"
        "button 32 down\n"
        "pov 1 centre\n"
        "fail acquire on\n"
        "wait 250\n"
        "shot a.png\n"
        "unplug\napply\nok\ncancel\nplug\nmove 1 2\npress 3 4\nrelease 5 6\n");
    ASSERT_EQ(s.size(), 16u);
    EXPECT_EQ(s[0].Kind, CommandKind::Page);
    EXPECT_EQ(s[0].A, 3);
    EXPECT_EQ(s[0].Line, 2);
    EXPECT_EQ(s[1].Kind, CommandKind::Click);
    EXPECT_EQ(s[1].A, 10);
    EXPECT_EQ(s[1].B, -20);
    EXPECT_EQ(s[1].Line, 4);
    EXPECT_EQ(s[2].Kind, CommandKind::Axis);
    EXPECT_EQ(s[2].A, padstate::AxisIndex("rx"));
    EXPECT_EQ(s[2].B, 65535);
    EXPECT_EQ(s[3].Kind, CommandKind::Button);
    EXPECT_EQ(s[3].A, 32);
    EXPECT_EQ(s[3].B, 1);
    EXPECT_EQ(s[4].Kind, CommandKind::Pov);
    EXPECT_EQ(static_cast<uint32_t>(s[4].B), padstate::kPovCentred);
    EXPECT_EQ(s[5].Kind, CommandKind::Fail);
    EXPECT_EQ(static_cast<uint32_t>(s[5].A), padstate::kFailAcquire);
    EXPECT_EQ(s[5].B, 1);
    EXPECT_EQ(s[6].A, 250);
    EXPECT_EQ(s[7].Text, "a.png");
    EXPECT_EQ(s[8].Kind, CommandKind::Unplug);
    EXPECT_EQ(s[15].Kind, CommandKind::Release);
}

TEST(SheetScript, NamesTheFirstBadLineAndWhatIsWrong) {
    EXPECT_EQ(ErrorOf("page 1\npage 6\n"), "line 2: the page must be a number from 0 to 5, not '6'");
    EXPECT_EQ(ErrorOf("jump\n"), "line 1: unknown command 'jump'");
    EXPECT_EQ(ErrorOf("click 1\n"), "line 1: 'click' takes 2 arguments");
    EXPECT_EQ(ErrorOf("axis w 1\n"), "line 1: unknown axis 'w' (x y z rx ry rz slider0 slider1)");
    EXPECT_EQ(ErrorOf("axis x 65536\n"), "line 1: the axis value must be a number from 0 to 65535, not '65536'");
    EXPECT_EQ(ErrorOf("button 1 pressed\n"), "line 1: a button goes 'down' or 'up', not 'pressed'");
    EXPECT_EQ(ErrorOf("fail lightning on\n"),
              "line 1: unknown failure 'lightning' (nopad getconfig typename acquire input createdevice device2 "
              "dataformat cooplevel)");
    EXPECT_EQ(ErrorOf("wait 12ms\n"), "line 1: the wait must be a number from 0 to 600000, not '12ms'");
    EXPECT_EQ(ErrorOf("ok now\n"), "line 1: 'ok' takes 0 arguments");
    EXPECT_EQ(ErrorOf("click 99999999999999999999 1\n"),
              "line 1: x must be a number from -32768 to 32767, not '99999999999999999999'");
}

TEST(SheetScript, AnEmptyScriptIsNoCommands) { EXPECT_TRUE(Parse("\n# nothing\n   \n").empty()); }

}  // namespace

TEST(SheetScript, PadCommandsChangeThePadStateAndSheetCommandsLeaveItAlone) {
    padstate::PadStateBlock b{};
    padstate::ResetBlock(b);
    for (const ScriptCommand& c : Parse("axis ry 65535\nbutton 32 down\npov 3 9000\nunplug\nfail acquire on\n"))
        EXPECT_TRUE(cplhost::ApplyToPad(c, b)) << "line " << c.Line;
    EXPECT_EQ(b.Axes[padstate::AxisIndex("ry")], 65535);
    EXPECT_EQ(b.Buttons[31], 1);
    EXPECT_EQ(b.Pov[3], 9000u);
    EXPECT_EQ(b.Plugged, 0u);
    EXPECT_EQ(b.Failures, static_cast<uint32_t>(padstate::kFailAcquire));

    for (const ScriptCommand& c : Parse("plug\nbutton 32 up\nfail acquire off\n")) cplhost::ApplyToPad(c, b);
    EXPECT_EQ(b.Plugged, 1u);
    EXPECT_EQ(b.Buttons[31], 0);
    EXPECT_EQ(b.Failures, 0u);

    const padstate::PadStateBlock before = b;
    for (const ScriptCommand& c : Parse("page 2\nclick 1 2\napply\nwait 5\nshot a.png\n"))
        EXPECT_FALSE(cplhost::ApplyToPad(c, b)) << "line " << c.Line << " is the sheet's";
    EXPECT_EQ(std::memcmp(&before, &b, sizeof b), 0);
}
