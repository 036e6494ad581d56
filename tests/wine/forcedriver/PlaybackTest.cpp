// What each kind of effect does to the motors over time: strength, gains,
// direction, envelope, duration, periods and the ids that play nothing.
#include <gtest/gtest.h>

#include "hosts/dihost/SettingsKey.h"
#include "hosts/dihost/SettingsRecord.h"
#include "tests/wine/forcedriver/DriverUnderTest.h"
#include "tests/wine/forcedriver/PadWatch.h"

using namespace fftest;
using padhost::BuiltEffect;
using padhost::EffectShape;
using padhost::kInfinite;

namespace {

struct Driven {
    int Motor1 = -1;
    int Motor2 = -1;
};

// Binds id and plays effectShape; the motor values of the first report that moves a motor.
Driven FirstDriven(Rig& rig, DWORD id, const EffectShape& effectShape) {
    simpad::SimPad* pad = rig.Bind(id);
    if (!pad) return {};
    BuiltEffect effect(effectShape);
    rig.Download(id, effect);
    const int at = WaitForDriven(*pad, 3000);
    if (at < 0) return {};
    const simpad::PadReport r = pad->Reports()[at];
    return Driven{r.Motor1(), r.Motor2()};
}

}  // namespace

TEST(Playback, AConstantForceReachesThePadScaledByTheStoredStrength) {
    struct Case {
        int MotorPower;  // -1: no settings key at all
        int Expected;    // motor 1 value for 10000 at full gains
    };
    // Factor (1 + power x 6 / 255) / 5: 2000, 4000, 6000, 10000, 14000 clamped.
    const Case cases[] = {{-1, 0x0C}, {0, 0x0C}, {42, 0x0C}, {43, 0x11}, {63, 0x11},
                          {85, 0x15}, {170, 0x1F}, {255, 0x1F}};
    for (const Case& c : cases) {
        padhost::RemoveSettings(kModel47);
        std::unique_ptr<padhost::ScopedSettings> settings;
        if (c.MotorPower >= 0)
            settings = std::make_unique<padhost::ScopedSettings>(
                kModel47, padhost::VibrationRecord(static_cast<uint32_t>(c.MotorPower), 170, 0));
        Rig rig;
        ASSERT_TRUE(rig.Ok());
        const Driven d = FirstDriven(rig, 0, EffectShape::Constant(10000, kInfinite).WithPolar(0));
        EXPECT_EQ(d.Motor1, c.Expected) << "MotorPower " << c.MotorPower << " (-1: no key)";
        EXPECT_EQ(d.Motor2, 0) << "MotorPower " << c.MotorPower;
        EXPECT_EQ(rig.Release(), 0u);
    }
}

TEST(Playback, ThePolarDirectionChoosesTheMotors) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    struct Case {
        LONG Direction;
        int Motor1, Motor2;
    };
    // 45 degrees: 7071 on each, 8 + 7071 x 23 / 10000 = 24.
    const Case cases[] = {{0, 0x1F, 0}, {9000, 0, 0x1F}, {4500, 0x18, 0x18}, {18000, 0x1F, 0}, {27000, 0, 0x1F}};
    DWORD id = 0;
    for (const Case& c : cases) {
        const Driven d = FirstDriven(rig, id++, EffectShape::Constant(10000, kInfinite).WithPolar(c.Direction));
        EXPECT_EQ(d.Motor1, c.Motor1) << "polar " << c.Direction;
        EXPECT_EQ(d.Motor2, c.Motor2) << "polar " << c.Direction;
    }
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(Playback, CartesianDirectionsSplitByTheirRatioAndOtherCoordinatesDriveBoth) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    // 1:3 gives 2500 and 7500.
    Driven d = FirstDriven(rig, 0, EffectShape::Constant(10000, kInfinite).WithCartesian(1, 3));
    EXPECT_EQ(d.Motor1, 0x0D);
    EXPECT_EQ(d.Motor2, 0x19);
    d = FirstDriven(rig, 1, EffectShape::Constant(10000, kInfinite).WithCartesian(500));
    EXPECT_EQ(d.Motor1, 0x1F) << "one cartesian axis drives both motors";
    EXPECT_EQ(d.Motor2, 0x1F);
    d = FirstDriven(rig, 2, EffectShape::Constant(10000, kInfinite).WithCartesian(0, 0));
    EXPECT_EQ(d.Motor1, 0x1F) << "a cartesian direction of (0, 0) drives both motors";
    EXPECT_EQ(d.Motor2, 0x1F);
    EffectShape spherical = EffectShape::Constant(10000, kInfinite);
    spherical.Coordinates = padhost::kSpherical;
    spherical.Directions[0] = 9000;
    d = FirstDriven(rig, 3, spherical);
    EXPECT_EQ(d.Motor1, 0x1F) << "spherical directions drive both motors";
    EXPECT_EQ(d.Motor2, 0x1F);
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(Playback, EffectGainAndDeviceGainScaleTheLevelAndTheDeviceGainStopsAtFull) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    // 10000 x 5000 / 10000 x 5000 / 10000 = 2500.
    ASSERT_TRUE(rig.Bind(0, kModel47, 5000));
    BuiltEffect half(EffectShape::Constant(10000, kInfinite).WithPolar(0).WithGain(5000));
    rig.Download(0, half);
    int at = WaitForDriven(rig.Pad(0), 3000);
    ASSERT_GE(at, 0);
    EXPECT_EQ(rig.Pad(0).Reports()[at].Motor1(), 0x0D);

    // 20000 is stored as 10000: 5000 stays 5000 (a gain kept at 20000 would give 10000).
    ASSERT_TRUE(rig.Bind(1, kModel47, 20000));
    BuiltEffect force(EffectShape::Constant(5000, kInfinite).WithPolar(0));
    rig.Download(1, force);
    at = WaitForDriven(rig.Pad(1), 3000);
    ASSERT_GE(at, 0);
    EXPECT_EQ(rig.Pad(1).Reports()[at].Motor1(), 0x13);

    // Before any SetGain the device gain is 0: nothing moves.
    ASSERT_TRUE(rig.Bind(2, kModel47, 0));
    const DWORD silent = rig.Download(2, force);
    EXPECT_LT(WaitForDriven(rig.Pad(2), 400), 0) << "a device without a gain moved a motor";
    EXPECT_EQ(rig.Status(2, silent), static_cast<DWORD>(DIEGES_PLAYING)) << "the effect plays all the same";
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(Playback, AOneSecondConstantForceEndsWithAllOffAndReadsBackStopped) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    BuiltEffect effect(EffectShape::Constant(10000, 1000000).WithPolar(0));
    const DWORD handle = rig.Download(0, effect);
    const int on = WaitForDriven(*pad, 2000);
    ASSERT_GE(on, 0);
    ::Sleep(300);
    EXPECT_EQ(rig.Status(0, handle), static_cast<DWORD>(DIEGES_PLAYING));
    EXPECT_EQ(rig.FeedbackState(0), 0u) << "an effect plays: neither stopped nor paused";

    const int off = WaitForReport(*pad, [](const simpad::PadReport& r) { return r.IsAllOff(); }, 3000, on);
    ASSERT_GE(off, 0) << Describe(pad->Reports());
    const Reports reports = pad->Reports();
    const double lasted = reports[off].Ms() - reports[on].Ms();
    EXPECT_GE(lasted, 980.0) << "the effect ended early";
    EXPECT_LE(lasted, 1300.0) << "the effect ended late";
    for (int i = on; i < off; ++i) EXPECT_EQ(reports[i].Motor1(), 0x1F) << "level held until the end";
    ASSERT_TRUE(WaitUntil([&] { return rig.Status(0, handle) == 0; }, 500)) << "the ended effect reads back stopped";
    EXPECT_TRUE(WaitUntil([&] { return rig.FeedbackState(0) == static_cast<DWORD>(DIGFFS_STOPPED); }, 500));
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(Playback, AStartDelayHoldsTheEffectBack) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    ASSERT_TRUE(pad->WaitForQuiet(100, 2000));
    BuiltEffect effect(EffectShape::Constant(10000, 200000).WithPolar(0).WithStartDelay(300000));
    const double asked = pad->NowMs();
    const DWORD handle = rig.Download(0, effect);
    EXPECT_EQ(rig.Status(0, handle), static_cast<DWORD>(DIEGES_PLAYING)) << "a delayed effect already plays";
    const int on = WaitForDriven(*pad, 2000);
    ASSERT_GE(on, 0);
    const Reports reports = pad->Reports();
    EXPECT_GE(reports[on].Ms() - asked, 285.0) << "the motor moved before the start delay passed";
    EXPECT_LE(reports[on].Ms() - asked, 500.0);
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(Playback, AnAttackRisesFromItsLevelAndAFadeFallsAfterTheFullDuration) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    // Attack 300 ms from 0, sustain 500 ms, fade 300 ms to 0: over at 1100 ms.
    BuiltEffect effect(EffectShape::Constant(10000, 500000).WithPolar(0).WithEnvelope(0, 300000, 0, 300000));
    rig.Download(0, effect);
    const int on = WaitForDriven(*pad, 2000);
    ASSERT_GE(on, 0);
    const int off = WaitForReport(*pad, [](const simpad::PadReport& r) { return r.IsAllOff(); }, 3000, on);
    ASSERT_GE(off, 0);
    const Reports reports = pad->Reports();
    const double t0 = reports[on].Ms();

    EXPECT_LE(reports[on].Motor1(), 0x09) << "the attack starts near its level of 0";
    const int full = FindReport(reports, [](const simpad::PadReport& r) { return r.Motor1() == 0x1F; }, on);
    ASSERT_GE(full, 0) << Describe(reports);
    EXPECT_GE(reports[full].Ms() - t0, 230.0) << "full strength came before the attack time";
    EXPECT_LE(reports[full].Ms() - t0, 400.0);
    EXPECT_GE(full - on, 10) << "the attack passes through the motor values in steps";
    const int early = FirstAgainstTheTrend(reports, on, full + 1, true);
    EXPECT_LT(early, 0) << "the attack only rises; " << Describe(reports);

    // The fade begins after attack plus duration.
    const int fading = FindReport(
        reports, [](const simpad::PadReport& r) { return r.Motor1() != 0 && r.Motor1() < 0x1F; }, full);
    ASSERT_GE(fading, 0) << Describe(reports);
    EXPECT_GE(reports[fading].Ms() - t0, 760.0) << "the fade began before attack and duration had passed";
    EXPECT_LE(reports[fading].Ms() - t0, 950.0);
    EXPECT_LT(FirstAgainstTheTrend(reports, fading, off, false), 0) << "the fade only falls; " << Describe(reports);
    EXPECT_GE(reports[off].Ms() - t0, 1050.0) << "ended before the fade time";
    EXPECT_LE(reports[off].Ms() - t0, 1400.0);
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(Playback, ARampFromEightThousandToTwoThousandPlaysFromSixThousandDownToNothing) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* down = rig.Bind(0);
    simpad::SimPad* up = rig.Bind(1);
    ASSERT_TRUE(down && up);
    BuiltEffect falling(EffectShape::Ramp(8000, 2000, 600000).WithPolar(0));
    BuiltEffect rising(EffectShape::Ramp(2000, 8000, 600000).WithPolar(0));
    rig.Download(0, falling);
    rig.Download(1, rising);
    const auto allOff = [](const simpad::PadReport& r) { return r.IsAllOff(); };
    const int downOn = WaitForDriven(*down, 2000);
    const int upOn = WaitForDriven(*up, 2000);
    ASSERT_GE(downOn, 0);
    ASSERT_GE(upOn, 0);
    const int downOff = WaitForReport(*down, allOff, 3000, downOn);
    const int upOff = WaitForReport(*up, allOff, 3000, upOn);
    ASSERT_GE(downOff, 0);
    ASSERT_GE(upOff, 0);

    // 6000 gives 21 (8000 would give 26); the ramp falls through 2000 (12) towards 0.
    Reports r = down->Reports();
    EXPECT_EQ(r[downOn].Motor1(), 0x15) << Describe(r);
    EXPECT_EQ(r[downOff - 1].Motor1(), 0x08) << "the falling ramp ends near 0; " << Describe(r);
    EXPECT_LT(FirstAgainstTheTrend(r, downOn, downOff, false), 0) << "the ramp only falls; " << Describe(r);
    EXPECT_GE(r[downOff].Ms() - r[downOn].Ms(), 540.0);
    EXPECT_LE(r[downOff].Ms() - r[downOn].Ms(), 900.0);

    // 2000 to 8000 plays from 0 up to 6000.
    r = up->Reports();
    EXPECT_EQ(r[upOn].Motor1(), 0x08) << Describe(r);
    EXPECT_EQ(r[upOff - 1].Motor1(), 0x15) << "the rising ramp ends at 6000; " << Describe(r);
    EXPECT_LT(FirstAgainstTheTrend(r, upOn, upOff, true), 0) << "the ramp only rises; " << Describe(r);
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(Playback, TwoEffectsOnOneMotorAddUpAndAreClampedAtFull) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    BuiltEffect six(EffectShape::Constant(6000, kInfinite).WithPolar(0));
    const DWORD first = rig.Download(0, six);
    const DWORD second = rig.Download(0, six);
    EXPECT_GE(WaitForReport(*pad, [](const simpad::PadReport& r) { return r.Motor1() == 0x1F; }, 2000), 0)
        << "6000 and 6000 clamp to 10000; " << Describe(pad->Reports());
    const size_t before = pad->ReportCount();
    ASSERT_EQ(rig.Driver()->StopEffect(0, second), S_OK);
    EXPECT_GE(WaitForReport(*pad, [](const simpad::PadReport& r) { return r.Motor1() == 0x15; }, 2000, before), 0)
        << "one of them left: 6000; " << Describe(pad->Reports());
    EXPECT_EQ(rig.Status(0, first), static_cast<DWORD>(DIEGES_PLAYING));
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(Playback, EachPeriodicKindMovesTheMotorAndEndsOnSchedule) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    const uint32_t kinds[] = {padhost::kSquare, padhost::kSine, padhost::kTriangle, padhost::kSawtoothUp,
                              padhost::kSawtoothDown};
    std::vector<std::unique_ptr<BuiltEffect>> effects;
    std::vector<DWORD> handles;
    DWORD id = 0;
    for (uint32_t kind : kinds) {
        ASSERT_TRUE(rig.Bind(id));
        effects.push_back(std::make_unique<BuiltEffect>(EffectShape::Periodic(kind, 10000, 100000, 400000).WithPolar(0)));
        handles.push_back(rig.Download(id, *effects.back()));
        ++id;
    }
    for (id = 0; id < 5; ++id) {
        ASSERT_TRUE(WaitUntil([&] { return rig.Status(id, handles[id]) == 0; }, 2000))
            << "kind " << kinds[id] << " reads back stopped after its duration";
    }
    for (id = 0; id < 5; ++id) {
        simpad::SimPad& pad = rig.Pad(id);
        ASSERT_TRUE(pad.WaitForQuiet(50, 2000));
        const Reports reports = pad.Reports();
        const int on = FindReport(reports, Drives);
        ASSERT_GE(on, 0) << "kind " << kinds[id] << " moved nothing";
        ASSERT_FALSE(reports.empty());
        EXPECT_TRUE(reports.back().IsAllOff()) << "kind " << kinds[id] << " ends with all off";
        const ValueRange range = MotorValues(reports);
        EXPECT_FALSE(range.AnyMalformed) << Describe(reports);
        EXPECT_GE(range.Highest, 0x1D) << "kind " << kinds[id] << " reaches near full; " << Describe(reports);
        if (kinds[id] != padhost::kSquare) {
            EXPECT_LE(range.Lowest, 0x0C) << "kind " << kinds[id] << " passes low levels too; " << Describe(reports);
        }
        // Waves pass through 0 on the way; the end is where the last run of all-off reports begins.
        size_t end = reports.size() - 1;
        while (end > 0 && reports[end - 1].IsAllOff()) --end;
        EXPECT_GE(reports[end].Ms() - reports[on].Ms(), 330.0) << "kind " << kinds[id];
        EXPECT_LE(reports[end].Ms() - reports[on].Ms(), 600.0) << "kind " << kinds[id];
    }
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(Playback, ASquareWaveWithTimeCycle170IsOnForFiftyAndOffForFiftyMilliseconds) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    BuiltEffect square(EffectShape::Periodic(padhost::kSquare, 10000, 100000, kInfinite).WithPolar(0));
    rig.Download(0, square);
    ASSERT_TRUE(WaitUntil([&] { return Motor1Edges(pad->Reports()).size() >= 25; }, 4000))
        << Describe(pad->Reports());
    const std::vector<Edge> edges = Motor1Edges(pad->Reports());
    const std::vector<double> on = SpanLengths(edges, true), off = SpanLengths(edges, false);
    // Edges are judged by their median: a loaded machine may stretch a few.
    EXPECT_NEAR(Median(on), 50.0, 15.0) << "on spans: " << Join(on);
    EXPECT_NEAR(Median(off), 50.0, 15.0) << "off spans: " << Join(off);
    EXPECT_NEAR(MeanCycle(edges), 100.0, 5.0) << "the period over all cycles";
    for (const simpad::PadReport& r : pad->Reports())
        if (r.Motor1() != 0) {
            EXPECT_EQ(r.Motor1(), 0x1F) << "a square wave is full or off";
        }
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(Playback, ASquareWaveWithTimeCycle0PlaysAThirdOfItsPeriod) {
    padhost::ScopedSettings settings(kModel47, padhost::VibrationRecord(170, 0, 0));
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    BuiltEffect square(EffectShape::Periodic(padhost::kSquare, 10000, 100000, kInfinite).WithPolar(0));
    rig.Download(0, square);
    ASSERT_TRUE(WaitUntil([&] { return Motor1Edges(pad->Reports()).size() >= 40; }, 4000));
    const std::vector<Edge> edges = Motor1Edges(pad->Reports());
    // 33 ms: 16 on, 17 off. Single edges follow the tick's granularity (Wine's
    // GetTickCount moves in uneven steps), so the period is judged over all cycles.
    EXPECT_NEAR(MeanCycle(edges), 33.0, 3.0) << "on spans: " << Join(SpanLengths(edges, true));
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(Playback, IdsSevenToElevenStopAtOnceAndMoveNothing) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    for (DWORD effectId = 7; effectId <= 11; ++effectId) {
        const DWORD id = effectId - 7;
        simpad::SimPad* pad = rig.Bind(id);
        ASSERT_TRUE(pad);
        EffectShape effectShape = EffectShape::Constant(10000, kInfinite).WithPolar(0);
        effectShape.EffectId = effectId;
        BuiltEffect effect(effectShape);
        const DWORD handle = rig.Download(id, effect);
        EXPECT_TRUE(WaitUntil([&] { return rig.Status(id, handle) == 0; }, 300))
            << "effect id " << effectId << " is stopped by the next step";
        EXPECT_LT(WaitForDriven(*pad, 200), 0) << "effect id " << effectId << " moved a motor";
    }
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(Playback, IdsTwelveAndAboveKeepPlayingWithoutMovingAMotor) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    const DWORD effectIds[] = {12, 13, 100, 0xFFFF, 0xFFFFFFFF};
    DWORD id = 0;
    for (DWORD effectId : effectIds) {
        simpad::SimPad* pad = rig.Bind(id);
        ASSERT_TRUE(pad);
        // Even with a duration: these ids are never evaluated, so never finished.
        EffectShape effectShape = EffectShape::Constant(10000, 100000).WithPolar(0);
        effectShape.EffectId = effectId;
        BuiltEffect effect(effectShape);
        const DWORD handle = rig.Download(id, effect);
        ::Sleep(300);
        EXPECT_EQ(rig.Status(id, handle), static_cast<DWORD>(DIEGES_PLAYING)) << "effect id " << effectId;
        EXPECT_LT(WaitForDriven(*pad, 1), 0) << "effect id " << effectId << " moved a motor";
        ASSERT_EQ(rig.Driver()->StopEffect(id, handle), S_OK);
        EXPECT_EQ(rig.Status(id, handle), 0u) << "effect id " << effectId << " stops when told";
        ++id;
    }
    EXPECT_EQ(rig.Release(), 0u);
}
