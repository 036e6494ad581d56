// dihost's script format and command line.
#include <gtest/gtest.h>

#include <string>

#include "hosts/dihost/RunOptions.h"
#include "hosts/dihost/Script.h"

using namespace padhost;

namespace {

Script Parsed(const std::string& text) {
    const ScriptParse p = ParseScript(text, "test.txt");
    EXPECT_TRUE(p.Ok) << p.Error;
    return p.Parsed;
}

std::string ErrorOf(const std::string& text) {
    const ScriptParse p = ParseScript(text, "test.txt");
    EXPECT_FALSE(p.Ok) << "accepted: " << text;
    return p.Error;
}

}  // namespace

TEST(ScriptFormat, TheBriefsOwnLinesMeanWhatTheySay) {
    const Script s = Parsed(
        "at 0 download constant mag=10000 dur=1000ms dir=polar:9000 start\n"
        "wait 500\n"
        "command pause\n"
        "stop 1\n");
    ASSERT_EQ(s.Steps.size(), 4u);
    const ScriptStep& d = s.Steps[0];
    EXPECT_EQ(d.Kind, StepKind::Download);
    EXPECT_TRUE(d.HasAt);
    EXPECT_EQ(d.AtUs, 0u);
    EXPECT_EQ(d.Shape.EffectId, kConstant);
    EXPECT_EQ(d.Shape.Magnitude, 10000);
    EXPECT_EQ(d.Shape.Duration, 1000000u);
    EXPECT_EQ(d.Shape.Coordinates, kPolar);
    EXPECT_EQ(d.Shape.Directions[0], 9000);
    EXPECT_EQ(d.Flags, kDiepAllParams | kDiepStart);
    EXPECT_EQ(s.Steps[1].Kind, StepKind::Wait);
    EXPECT_EQ(s.Steps[1].WaitUs, 500000u) << "a bare number is milliseconds";
    EXPECT_EQ(s.Steps[2].Kind, StepKind::Command);
    EXPECT_EQ(s.Steps[2].Value, kCommandPause);
    EXPECT_EQ(s.Steps[3].Kind, StepKind::Stop);
    EXPECT_EQ(s.Steps[3].Effect, 0u) << "effect 1 is the first download";
    ASSERT_EQ(s.EffectNames.size(), 1u);
    EXPECT_EQ(s.EffectNames[0], "#1");
}

TEST(ScriptFormat, TimesTakeUnitsAndDurationsCanBeEndless) {
    const Script s = Parsed(
        "at 1.5s download square as sq period=40us dur=inf delay=250 start\r\n"
        "at 2s update sq period=0.5ms\r\n");
    EXPECT_EQ(s.Steps[0].AtUs, 1500000u);
    EXPECT_EQ(s.Steps[0].Shape.Period, 40u);
    EXPECT_EQ(s.Steps[0].Shape.Duration, kInfinite);
    EXPECT_EQ(s.Steps[0].Shape.StartDelay, 250000u);
    EXPECT_EQ(s.Steps[1].Shape.Period, 500u);
    EXPECT_EQ(s.Steps[1].AtUs, 2000000u);
}

TEST(ScriptFormat, AnUpdatePassesTheFlagsOfWhatItChangesAndKeepsTheRest) {
    const Script s = Parsed(
        "download sine as hum mag=8000 period=300ms dir=polar:0 env=0,100ms,0,200ms\n"
        "update hum mag=5000\n"
        "update hum dir=cartesian:1,2 gain=9000 norestart\n"
        "update hum env=none start\n"
        "update hum delay=10ms dur=2s\n");
    ASSERT_EQ(s.Steps.size(), 5u);
    EXPECT_EQ(s.Steps[0].Flags, kDiepAllParams) << "a download without start only stores";
    EXPECT_TRUE(s.Steps[0].Shape.HasEnvelope);
    EXPECT_EQ(s.Steps[1].Flags, kDiepTypeSpecific);
    EXPECT_EQ(s.Steps[1].Shape.Magnitude, 5000);
    EXPECT_EQ(s.Steps[1].Shape.Period, 300000u) << "the period stays as downloaded";
    EXPECT_EQ(s.Steps[2].Flags, kDiepDirection | kDiepGain | kDiepNoRestart);
    EXPECT_EQ(s.Steps[2].Shape.Coordinates, kCartesian);
    EXPECT_EQ(s.Steps[2].Shape.Directions[1], 2);
    EXPECT_EQ(s.Steps[2].Shape.Magnitude, 5000) << "the earlier update holds";
    EXPECT_EQ(s.Steps[3].Flags, kDiepEnvelope | kDiepStart);
    EXPECT_TRUE(s.Steps[3].NullEnvelope);
    EXPECT_TRUE(s.Steps[4].Shape.HasEnvelope) << "a null envelope leaves the stored one, as the driver does";
    EXPECT_EQ(s.Steps[4].Flags, kDiepStartDelay | kDiepDuration);
}

TEST(ScriptFormat, KindsCommandsAndReferencesAreAllReachable) {
    const Script s = Parsed(
        "# a comment line\n"
        "\n"
        "download ramp ramp=8000,2000   # a comment after a line\n"
        "download triangle\ndownload sawup\ndownload sawdown\ndownload id:9 as odd\n"
        "start odd 5\nstart 2\ndestroy 3\n"
        "command reset\ncommand stopall\ncommand continue\ncommand actuatorsoff\n"
        "gain 7000\nlabel the end is near\n");
    ASSERT_EQ(s.EffectNames.size(), 5u);
    EXPECT_EQ(s.Steps[0].Shape.RampStart, 8000);
    EXPECT_EQ(s.Steps[0].Shape.RampEnd, 2000);
    EXPECT_EQ(s.Steps[1].Shape.EffectId, kTriangle);
    EXPECT_EQ(s.Steps[2].Shape.EffectId, kSawtoothUp);
    EXPECT_EQ(s.Steps[3].Shape.EffectId, kSawtoothDown);
    EXPECT_EQ(s.Steps[4].Shape.EffectId, 9u);
    EXPECT_EQ(s.Steps[5].Effect, 4u);
    EXPECT_EQ(s.Steps[5].Value, 5u) << "the play count";
    EXPECT_EQ(s.Steps[6].Effect, 1u);
    EXPECT_EQ(s.Steps[7].Kind, StepKind::Destroy);
    EXPECT_EQ(s.Steps[8].Value, kCommandReset);
    EXPECT_EQ(s.Steps[9].Value, kCommandStopAll);
    EXPECT_EQ(s.Steps[10].Value, kCommandContinue);
    EXPECT_EQ(s.Steps[11].Value, kCommandActuatorsOff);
    EXPECT_EQ(s.Steps[12].Value, 7000u);
    EXPECT_EQ(s.Steps[13].Label, "the end is near");
}

TEST(ScriptFormat, MistakesAreNamedWithTheirLine) {
    EXPECT_EQ(ErrorOf("download constant\nplay 1\n"),
              "test.txt:2: unknown command 'play' (download, update, start, stop, destroy, command, gain, wait, label)");
    EXPECT_EQ(ErrorOf("\n\ndownload squar\n").rfind("test.txt:3: unknown effect kind 'squar'", 0), 0u);
    EXPECT_EQ(ErrorOf("at soon start 1\n"), "test.txt:1: 'soon' is not a time (500, 500ms, 1.5s, 40us)");
    EXPECT_EQ(ErrorOf("stop rumble\n"), "test.txt:1: no effect named 'rumble' was downloaded before this line");
    EXPECT_EQ(ErrorOf("download sine\nstop 2\n"), "test.txt:2: there is no effect number 2 yet (1 downloaded so far)");
    EXPECT_EQ(ErrorOf("download sine as a\ndownload sine as a\n"), "test.txt:2: an effect named 'a' exists already");
    EXPECT_EQ(ErrorOf("at 2s label x\nat 1s label y\n"), "test.txt:2: 'at 1s' goes back before an earlier 'at'");
    EXPECT_EQ(ErrorOf("download constant period=10ms\n"), "test.txt:1: period= is for periodic effects");
    EXPECT_EQ(ErrorOf("download ramp mag=5\n"), "test.txt:1: a ramp has no mag=: give ramp=<start>,<end>");
    EXPECT_EQ(ErrorOf("download sine\nupdate 1\n"),
              "test.txt:2: 'update' changes nothing: give settings such as mag=5000, or start");
    EXPECT_EQ(ErrorOf("download sine\nstop 1 now\n"), "test.txt:2: 'now' is not understood after 'stop'");
    EXPECT_EQ(ErrorOf("download sine dir=north\n").rfind("test.txt:1: dir= is polar:", 0), 0u);
    EXPECT_EQ(ErrorOf("download sine env=1,2\n").rfind("test.txt:1: env= needs", 0), 0u);
    EXPECT_EQ(ErrorOf("download sine dur=forever\n").rfind("test.txt:1: dur= needs a time", 0), 0u);
    EXPECT_EQ(ErrorOf("download sine mag=99999999999\n").rfind("test.txt:1: mag= needs a whole number", 0), 0u);
    EXPECT_EQ(ErrorOf("download sine loud\n").rfind("test.txt:1: 'loud' is not understood", 0), 0u);
    EXPECT_EQ(ErrorOf("download sine volume=3\n").rfind("test.txt:1: unknown setting 'volume='", 0), 0u);
    EXPECT_EQ(ErrorOf("gain\n"), "test.txt:1: 'gain' needs one value from 0 to 10000");
    EXPECT_EQ(ErrorOf("at 5\n"), "test.txt:1: 'at' needs a command after its time");
    EXPECT_EQ(ErrorOf("command explode\n").rfind("test.txt:1: unknown command 'explode'", 0), 0u);
}

TEST(ScriptFormat, TheBuiltInScriptPlaysEveryKindAndEveryCommandTheDemoPromises) {
    const Script s = Parsed(std::string(BuiltinScript()));
    bool kinds[7] = {};
    bool envelope = false, pause = false, resume = false, stopAll = false;
    int directionUpdates = 0;
    for (const ScriptStep& step : s.Steps) {
        if (step.Kind == StepKind::Download && step.Shape.EffectId < 7) kinds[step.Shape.EffectId] = true;
        if (step.Kind == StepKind::Download && step.Shape.HasEnvelope) envelope = true;
        if (step.Kind == StepKind::Update && (step.Flags & kDiepDirection)) ++directionUpdates;
        if (step.Kind == StepKind::Command) {
            pause |= step.Value == kCommandPause;
            resume |= step.Value == kCommandContinue;
            stopAll |= step.Value == kCommandStopAll;
        }
    }
    for (int k = 0; k < 7; ++k) EXPECT_TRUE(kinds[k]) << "effect kind " << k;
    EXPECT_TRUE(envelope);
    EXPECT_GE(directionUpdates, 3) << "a direction sweep";
    EXPECT_TRUE(pause && resume && stopAll);
}

TEST(RunOptionsLine, DefaultsOptionsAndMistakes) {
    OptionsParse p = ParseRunOptions({});
    ASSERT_TRUE(p.Ok);
    EXPECT_TRUE(p.Options.WriteSettings);
    EXPECT_EQ(p.Options.MotorPower, 170u);
    EXPECT_EQ(p.Options.TimeCycle, 170u);
    EXPECT_TRUE(p.Options.Driver.empty());

    p = ParseRunOptions({"--driver", "Z:\\d\\padforce.dll", "--script", "s.txt", "--out", "o", "--strength", "255",
                         "--period", "0", "--auto", "1", "--quiet", "--tail", "50"});
    ASSERT_TRUE(p.Ok) << p.Error;
    EXPECT_EQ(p.Options.Driver, "Z:\\d\\padforce.dll");
    EXPECT_EQ(p.Options.ScriptFile, "s.txt");
    EXPECT_EQ(p.Options.OutDir, "o");
    EXPECT_EQ(p.Options.MotorPower, 255u);
    EXPECT_EQ(p.Options.TimeCycle, 0u);
    EXPECT_EQ(p.Options.AutoMode, 1u);
    EXPECT_EQ(p.Options.TailMs, 50u);
    EXPECT_TRUE(p.Options.Quiet);
    EXPECT_FALSE(ParseRunOptions({"--no-settings"}).Options.WriteSettings);

    EXPECT_EQ(ParseRunOptions({"--strength", "256"}).Error, "--strength needs a number from 0 to 255, not '256'");
    EXPECT_EQ(ParseRunOptions({"--auto", "yes"}).Error, "--auto needs a number from 0 to 1, not 'yes'");
    EXPECT_EQ(ParseRunOptions({"--script"}).Error, "--script needs a value");
    EXPECT_EQ(ParseRunOptions({"--loud"}).Error, "unknown option '--loud'");
}
