// The four bytes the pad receives, when they are sent, and that an idle
// device leaves the path alone.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "hosts/dihost/SettingsKey.h"
#include "tests/wine/forcedriver/DriverUnderTest.h"
#include "tests/wine/forcedriver/PadWatch.h"

using namespace fftest;
using padhost::BuiltEffect;
using padhost::EffectShape;

namespace {

// The first report that moves a motor, after binding id to a fresh pad and
// playing the effect at full gains with strength and period as asked.
simpad::PadReport FirstDrivenReport(Rig& rig, DWORD id, const EffectShape& effectShape) {
    simpad::SimPad* pad = rig.Bind(id);
    if (!pad) return {};
    BuiltEffect effect(effectShape);
    rig.Download(id, effect);
    const int at = WaitForDriven(*pad, 3000);
    if (at < 0) {
        ADD_FAILURE() << "no report moved a motor; " << Describe(pad->Reports());
        return {};
    }
    return pad->Reports()[at];
}

void ExpectBytes(const simpad::PadReport& r, uint8_t m1, uint8_t m2) {
    EXPECT_EQ(r.Length, 4u) << Hex(r);
    EXPECT_EQ(r.Bytes[0], 0x00) << Hex(r);
    EXPECT_EQ(r.Bytes[1], m1) << Hex(r);
    EXPECT_EQ(r.Bytes[2], m2) << Hex(r);
    EXPECT_EQ(r.Bytes[3], 0x00) << Hex(r);
}

}  // namespace

TEST(MotorReports, LevelsBecomeReportIdMotorOneMotorTwoAndAZeroByte) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    ASSERT_TRUE(settings.Written());
    Rig rig;
    ASSERT_TRUE(rig.Ok());

    // (10000, 0): full on motor 1 only.
    ExpectBytes(FirstDrivenReport(rig, 0, EffectShape::Constant(10000, padhost::kInfinite).WithPolar(0)), 0x1F, 0x00);
    // (434, 435): a cartesian 434:435 split of 869 gives exactly those levels.
    ExpectBytes(FirstDrivenReport(rig, 1, EffectShape::Constant(869, padhost::kInfinite).WithCartesian(434, 435)), 0x08,
                0x09);
    // (1, 0): the smallest level still turns the motor at its lowest value.
    ExpectBytes(FirstDrivenReport(rig, 2, EffectShape::Constant(1, padhost::kInfinite).WithPolar(0)), 0x08, 0x00);
    // (0, 10000).
    ExpectBytes(FirstDrivenReport(rig, 3, EffectShape::Constant(10000, padhost::kInfinite).WithPolar(9000)), 0x00, 0x1F);
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(MotorReports, AnEffectsEndSendsTheAllOffReportSixTimesAndThenNothing) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    ASSERT_TRUE(pad->WaitForQuiet(300, 3000)) << "binding's reports settle";
    pad->Clear();

    BuiltEffect effect(EffectShape::Constant(10000, 100000).WithPolar(0));
    rig.Download(0, effect);
    ASSERT_GE(WaitForDriven(*pad, 2000), 0);
    ASSERT_TRUE(pad->WaitForQuiet(400, 4000)) << "the pad goes quiet after the effect";

    const Reports reports = pad->Reports();
    const int firstOff = FindReport(reports, [](const simpad::PadReport& r) { return r.IsAllOff(); });
    ASSERT_GE(firstOff, 1) << Describe(reports);
    EXPECT_EQ(reports.size() - static_cast<size_t>(firstOff), 6u)
        << "the change to (0, 0) and five repeats; " << Describe(reports);
    for (size_t i = static_cast<size_t>(firstOff); i < reports.size(); ++i)
        EXPECT_TRUE(reports[i].IsAllOff()) << "report " << i << " is " << Hex(reports[i]);
    EXPECT_EQ(pad->OpenCount(), pad->ReportCount()) << "every report is one open of the path, one write, one close";
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(MotorReports, AnIdleDeviceMakesNoFileOperation) {
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    // An effect that plays and ends, then nothing for the device to do.
    BuiltEffect effect(EffectShape::Constant(10000, 50000).WithPolar(0));
    rig.Download(0, effect);
    ASSERT_GE(WaitForDriven(*pad, 2000), 0);
    ASSERT_TRUE(pad->WaitForQuiet(300, 4000));

    const size_t opens = pad->OpenCount();
    ::Sleep(1200);
    EXPECT_EQ(pad->OpenCount(), opens) << "an idle device opened its path; " << Describe(pad->Reports());
    EXPECT_EQ(rig.Release(), 0u);
}

// The all-off repeat count is module-wide and starts at 0 when the module is
// loaded, so this runs in a process of its own (see CMakeLists.txt).
TEST(FreshModule, BindingSendsTheAllOffReportAndFiveRepeatsThenSilence) {
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    // No gain: DirectInput has not set one yet, and nothing may move.
    simpad::SimPad* pad = rig.Bind(0, kModel47, 0);
    ASSERT_TRUE(pad);
    ASSERT_TRUE(pad->WaitForReports(6, 3000)) << Describe(pad->Reports());
    ASSERT_TRUE(pad->WaitForQuiet(300, 3000));
    const Reports reports = pad->Reports();
    ASSERT_EQ(reports.size(), 6u) << "the all-off report of binding and five repeats; " << Describe(reports);
    for (const simpad::PadReport& r : reports) EXPECT_TRUE(r.IsAllOff()) << Hex(r);
    EXPECT_EQ(pad->OpenCount(), 6u) << "one open per report";

    const size_t opens = pad->OpenCount();
    ::Sleep(1200);
    EXPECT_EQ(pad->OpenCount(), opens) << "after the repeats an idle device makes no file operation";

    // The repeat count is the module's: a device bound later finds it spent
    // and gets only the report of its binding.
    simpad::SimPad* second = rig.Bind(1, kModel47, 0);
    ASSERT_TRUE(second);
    ASSERT_TRUE(second->WaitForReports(1, 2000));
    ASSERT_TRUE(second->WaitForQuiet(300, 3000));
    EXPECT_EQ(second->ReportCount(), 1u) << Describe(second->Reports());
    EXPECT_EQ(rig.Release(), 0u);
}

// One game thread stops everything while another starts an effect: whichever
// the device did last, the pad is left the same way, running if the effect
// plays and off if it does not.
TEST(MotorReports, AStopAllRacingAStartLeavesThePadAsTheDeviceEnds) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    BuiltEffect effect(EffectShape::Constant(10000, padhost::kInfinite).WithPolar(0));
    const DWORD handle = rig.Download(0, effect, DIEP_ALLPARAMS);
    ASSERT_NE(handle, 0u);

    std::atomic<int> round{-1};
    std::atomic<int> started{-1};
    std::thread game([&] {
        for (int r = 0; r < 200; ++r) {
            while (round.load() < r) std::this_thread::yield();
            // Spread the start over the span of the stop-all's report.
            for (volatile int spin = (r * 37) % 4000; spin > 0; --spin) {}
            rig.Driver()->StartEffect(0, handle, 0, 1);
            started.store(r);
        }
    });
    int mismatches = 0;
    std::string first;
    for (int r = 0; r < 200; ++r) {
        const size_t before = pad->ReportCount();
        round.store(r);
        EXPECT_EQ(rig.Driver()->SendForceFeedbackCommand(0, DISFFC_STOPALL), S_OK);
        while (started.load() < r) std::this_thread::yield();
        const bool reported = pad->WaitForReports(before + 1, 3000);
        bool quiet = pad->WaitForQuiet(40, 3000);
        bool plays = rig.Status(0, handle) == DIEGES_PLAYING;
        Reports reports = pad->Reports();
        if (quiet && Drives(reports.back()) != plays) {
            // A busy machine can hold the worker past a short quiet span:
            // only a pad left that way through a long one is left wrong.
            quiet = pad->WaitForQuiet(500, 5000);
            plays = rig.Status(0, handle) == DIEGES_PLAYING;
            reports = pad->Reports();
        }
        if (!reported || !quiet || Drives(reports.back()) != plays) {
            if (mismatches++ == 0)
                first = "round " + std::to_string(r) + (plays ? ": the effect plays" : ": nothing plays") +
                        (reported ? "" : ", no report came") + (quiet ? "" : ", the pad never went quiet") +
                        ", the pad was left at " + Hex(reports.back());
        }
    }
    game.join();
    EXPECT_EQ(mismatches, 0) << "of 200 rounds; the first, " << first;
    EXPECT_EQ(rig.Release(), 0u);
}
