// What reaches the pad: report bytes, the all-off repeats, silence when idle,
// strength and direction, ends and the square wave's rhythm.
#include "tests/wine/padforce/DriverTestSupport.h"

#include "hosts/dihost/SettingsKey.h"

namespace fftests {
namespace {

using padhost::EffectShape;
using padhost::kInfinite;

TEST(Reports, FullLevelOnMotorOneAndTheStepsOfTheMotorValueReachThePadAsBytes) {
    BoundDriver d;
    d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    ASSERT_TRUE(d.pad.WaitForReports(1, 3000));
    EXPECT_EQ(Bytes(d.pad.Reports()[0]), "00 1F 00 00");
    EXPECT_EQ(d.pad.Reports()[0].Length, 4u);
}

// One driver per process: each test's driver is released before the next binds.
TEST(Reports, LevelsJustBelowAndAboveAStepGiveValuesEightAndNine) {
    BoundDriver d;
    d.Start(EffectShape::Constant(434, kInfinite).WithPolar(0));
    d.Start(EffectShape::Constant(435, kInfinite).WithPolar(9000));
    EXPECT_TRUE(d.WaitForValues(0x08, 0x09)) << "levels (434, 435) give 00 08 09 00";
}

TEST(Reports, BindingSendsAllOffThenFiveRepeatsOnAFreshModuleThenSilence) {
    // A fresh module: the DLL must not be loaded yet, or its repeat count is spent.
    ASSERT_EQ(::GetModuleHandleA("padforce.dll"), nullptr) << "an earlier test left the driver loaded";
    simpad::SimPad pad;
    std::string error;
    auto host = padhost::PadHost::Open(DriverPath(), &error);
    ASSERT_TRUE(host) << error;
    ASSERT_EQ(host->Bind(0, pad), S_OK);
    ASSERT_TRUE(pad.WaitForReports(6, 3000));
    ASSERT_TRUE(pad.WaitForQuiet(300, 5000));
    const auto reports = pad.Reports();
    ASSERT_EQ(reports.size(), 6u) << "the all-off report of binding and five repeats";
    for (const auto& r : reports) EXPECT_TRUE(r.IsAllOff()) << Bytes(r);
    EXPECT_LT(reports.back().Ms() - reports.front().Ms(), 500.0) << "the repeats follow the binding closely";

    // An idle device makes no file operation at all.
    pad.Clear();
    ::Sleep(1000);
    EXPECT_EQ(pad.OpenCount(), 0u);
    EXPECT_EQ(pad.ReportCount(), 0u);
}

TEST(Reports, WithoutASettingsKeyAFullForceReachesThePadAtOneFifth) {
    BoundDriver d(BoundDriver::kNoSettings);
    d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    ASSERT_TRUE(d.pad.WaitForReports(1, 3000));
    EXPECT_EQ(Bytes(d.pad.Reports()[0]), "00 0C 00 00") << "2000 on the driven motor";
}

TEST(Reports, StrengthFollowsTheStoredMotorPower) {
    const std::pair<uint32_t, int32_t> cases[] = {{63, 4000}, {85, 6000}, {170, 10000}, {255, 10000}};
    for (auto [power, level] : cases) {
        BoundDriver d(power);
        d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(0));
        ASSERT_TRUE(d.pad.WaitForReports(1, 3000));
        EXPECT_EQ(Bytes(d.pad.Reports()[0]), Bytes(Value(level), 0))
            << "MotorPower " << power << "; " << Timeline(d.pad.Reports()) << "; bound " << Timeline(d.bindReports);
    }
}

TEST(Reports, PolarDirectionChoosesTheMotor) {
    const struct {
        int32_t direction;
        uint8_t m1, m2;
    } cases[] = {{0, 0x1F, 0}, {9000, 0, 0x1F}, {4500, Value(7071), Value(7071)}, {18000, 0x1F, 0}, {27000, 0, 0x1F}};
    for (const auto& c : cases) {
        BoundDriver d;
        d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(c.direction));
        ASSERT_TRUE(d.pad.WaitForReports(1, 3000));
        EXPECT_EQ(Bytes(d.pad.Reports()[0]), Bytes(c.m1, c.m2)) << "polar " << c.direction;
    }
}

TEST(Reports, AThousandMillisecondEffectEndsWithAllOffAndReadsBackStopped) {
    BoundDriver d;
    const double started = d.pad.NowMs();
    const DWORD h = d.Start(EffectShape::Constant(10000, 1000000).WithPolar(0));
    EXPECT_EQ(d.Status(h), static_cast<DWORD>(DIEGES_PLAYING));
    ASSERT_TRUE(d.pad.WaitForReports(2, 5000));
    const auto r = d.pad.Reports();
    EXPECT_EQ(Bytes(r[0]), "00 1F 00 00") << Timeline(r) << "; bound " << Timeline(d.bindReports);
    EXPECT_TRUE(r[1].IsAllOff());
    // A late delivery only delays a report, so the end is measured from before the start: it can
    // never come early, however loaded the machine (the driver counts whole milliseconds).
    EXPECT_GE(r[1].Ms() - started, 998.0) << Timeline(r);
    EXPECT_LT(r[1].Ms() - r[0].Ms(), 1400.0) << Timeline(r);
    EXPECT_TRUE(WaitForStopped(d.Driver(), 0, h, 1000));
    DIDEVICESTATE state{sizeof state, 0xFF, 0xFF};
    ::Sleep(20);
    ASSERT_EQ(d.Driver()->GetForceFeedbackState(0, &state), S_OK);
    EXPECT_EQ(state.dwState, static_cast<DWORD>(DIGFFS_STOPPED));
    EXPECT_EQ(state.dwLoad, 0u);
}

TEST(Reports, SquareWaveAtTimeCycle170IsFiftyMillisecondsOnAndFiftyOff) {
    BoundDriver d(170, 170);
    const DWORD h = d.Start(EffectShape::Periodic(padhost::kSquare, 10000, 100000, kInfinite).WithPolar(0));
    ::Sleep(1100);
    ASSERT_EQ(d.Driver()->StopEffect(0, h), S_OK);
    const std::vector<double> edges = Motor1Edges(d.pad.Reports());
    ASSERT_GE(edges.size(), 16u) << "about ten periods were played";
    std::vector<double> on, off;
    for (size_t i = 1; i < edges.size(); ++i) (i % 2 ? on : off).push_back(edges[i] - edges[i - 1]);
    // Edges land on steps of about a millisecond; a loaded machine may stretch a step.
    EXPECT_NEAR(Median(on), 50.0, 8.0);
    EXPECT_NEAR(Median(off), 50.0, 8.0);
    for (double t : on) EXPECT_NEAR(t, 50.0, 25.0);
}

TEST(Reports, TimeCycle255StretchesThePeriodByFourThirds) {
    BoundDriver d(170, 255);
    const DWORD h = d.Start(EffectShape::Periodic(padhost::kSquare, 10000, 100000, kInfinite).WithPolar(0));
    ::Sleep(1200);
    d.Driver()->StopEffect(0, h);
    const std::vector<double> edges = Motor1Edges(d.pad.Reports());
    ASSERT_GE(edges.size(), 10u);
    std::vector<double> periods;
    for (size_t i = 2; i < edges.size(); i += 2) periods.push_back(edges[i] - edges[i - 2]);
    EXPECT_NEAR(Median(periods), 133.0, 10.0);
}

}  // namespace
}  // namespace fftests
