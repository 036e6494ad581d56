// The effects a device keeps: handles, play states, updates and the
// device-wide commands.
#include <gtest/gtest.h>

#include "hosts/dihost/SettingsKey.h"
#include "tests/wine/forcedriver/DriverUnderTest.h"
#include "tests/wine/forcedriver/PadWatch.h"

using namespace fftest;
using padhost::BuiltEffect;
using padhost::EffectShape;
using padhost::kInfinite;

namespace {

bool IsAllOff(const simpad::PadReport& r) { return r.IsAllOff(); }

class EffectSlots : public BoundPadTest {
protected:
    // How long the motor ran, from the first report that moved it to the
    // next all-off report after `from`.
    double OnTime(size_t from = 0) {
        const int on = WaitForDriven(*pad_, 2000, from);
        if (on < 0) return -1;
        const int off = WaitForReport(*pad_, IsAllOff, 4000, static_cast<size_t>(on));
        if (off < 0) return -1;
        const Reports r = pad_->Reports();
        return r[off].Ms() - r[on].Ms();
    }
};

}  // namespace

TEST_F(EffectSlots, TheFirstHandleIsOneAndFreedHandlesAreGivenOutAgain) {
    BuiltEffect effect(EffectShape::Constant(5000, kInfinite).WithPolar(0));
    EXPECT_EQ(rig_.Download(0, effect, DIEP_ALLPARAMS), 1u);
    EXPECT_EQ(rig_.Download(0, effect, DIEP_ALLPARAMS), 2u);
    EXPECT_EQ(rig_.Download(0, effect, DIEP_ALLPARAMS), 3u);
    ASSERT_EQ(rig_.Driver()->DestroyEffect(0, 1), S_OK);
    EXPECT_EQ(rig_.Download(0, effect, DIEP_ALLPARAMS), 1u) << "the smallest free handle";
    ASSERT_EQ(rig_.Driver()->DestroyEffect(0, 2), S_OK);
    ASSERT_EQ(rig_.Driver()->DestroyEffect(0, 3), S_OK);
    EXPECT_EQ(rig_.Download(0, effect, DIEP_ALLPARAMS), 2u);
    EXPECT_EQ(rig_.Download(0, effect, DIEP_ALLPARAMS), 3u);
    EXPECT_EQ(rig_.Download(0, effect, DIEP_ALLPARAMS), 4u);
    EXPECT_EQ(rig_.Driver()->DestroyEffect(0, 77), S_OK) << "destroying a handle not in use changes nothing";
    EXPECT_EQ(rig_.Download(0, effect, DIEP_ALLPARAMS), 5u);

    // Each device counts its own handles.
    ASSERT_TRUE(rig_.Bind(1));
    EXPECT_EQ(rig_.Download(1, effect, DIEP_ALLPARAMS), 1u);
}

TEST_F(EffectSlots, ADestroyedEffectStopsMovingTheMotorAndReadsBackStopped) {
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    const DWORD handle = rig_.Download(0, effect);
    ASSERT_GE(WaitForDriven(*pad_, 2000), 0);
    ASSERT_EQ(rig_.Driver()->DestroyEffect(0, handle), S_OK);
    EXPECT_TRUE(WaitForAllOffLast(*pad_, 1000)) << Describe(pad_->Reports());
    EXPECT_EQ(rig_.Status(0, handle), 0u);
}

TEST_F(EffectSlots, DownloadingWithStartOnAPlayingEffectRestartsItsTime) {
    BuiltEffect effect(EffectShape::Constant(10000, 300000).WithPolar(0));
    DWORD handle = rig_.Download(0, effect);
    ASSERT_GE(WaitForDriven(*pad_, 2000), 0);
    ::Sleep(150);
    ASSERT_EQ(rig_.Host().Download(0, effect, &handle, DIEP_GAIN | DIEP_START), S_OK);
    // 150 ms played, then 300 ms from the restart.
    EXPECT_NEAR(OnTime(), 450.0, 60.0) << Describe(pad_->Reports());
}

TEST_F(EffectSlots, StartingAPlayingEffectDoesNotRestartIt) {
    BuiltEffect effect(EffectShape::Constant(10000, 300000).WithPolar(0));
    const DWORD handle = rig_.Download(0, effect);
    ASSERT_GE(WaitForDriven(*pad_, 2000), 0);
    ::Sleep(150);
    ASSERT_EQ(rig_.Driver()->StartEffect(0, handle, 0, 1), S_OK);
    EXPECT_NEAR(OnTime(), 300.0, 60.0) << Describe(pad_->Reports());
}

TEST_F(EffectSlots, StartEffectWithACountOfZeroDoesNothingAndAnyOtherCountPlaysOnce) {
    BuiltEffect effect(EffectShape::Constant(10000, 200000).WithPolar(0));
    const DWORD handle = rig_.Download(0, effect, DIEP_ALLPARAMS);
    ASSERT_EQ(rig_.Driver()->StartEffect(0, handle, 0, 0), S_OK);
    EXPECT_LT(WaitForDriven(*pad_, 200), 0) << "a count of 0 played the effect";
    EXPECT_EQ(rig_.Status(0, handle), 0u);

    ASSERT_EQ(rig_.Driver()->StartEffect(0, handle, DIES_SOLO, 5), S_OK);
    EXPECT_NEAR(OnTime(), 200.0, 60.0) << "a count of 5 plays once; " << Describe(pad_->Reports());
    ASSERT_TRUE(pad_->WaitForQuiet(300, 3000)) << "no second round follows";
    EXPECT_EQ(Motor1Edges(pad_->Reports()).size(), 2u) << Describe(pad_->Reports());
}

TEST_F(EffectSlots, AnEnvelopeUpdateWithoutAnEnvelopeKeepsThePreviousOne) {
    // A 400 ms attack from 0: the motor comes up in steps.
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0).WithEnvelope(0, 400000, 0, 0));
    DWORD handle = rig_.Download(0, effect, DIEP_ALLPARAMS);
    effect.Raw().lpEnvelope = nullptr;
    ASSERT_EQ(rig_.Host().Download(0, effect, &handle, DIEP_ENVELOPE), S_OK);
    ASSERT_EQ(rig_.Driver()->StartEffect(0, handle, 0, 1), S_OK);
    const int on = WaitForDriven(*pad_, 2000);
    ASSERT_GE(on, 0);
    EXPECT_LE(pad_->Reports()[on].Motor1(), 0x09) << "the attack was lost; " << Describe(pad_->Reports());
    const int full = WaitForReport(*pad_, [](const simpad::PadReport& r) { return r.Motor1() == 0x1F; }, 2000);
    ASSERT_GE(full, 0);
    const Reports r = pad_->Reports();
    EXPECT_GE(r[full].Ms() - r[on].Ms(), 330.0) << "the kept attack lasts its 400 ms";

    // A real envelope does replace it: no attack, full at once.
    ASSERT_EQ(rig_.Driver()->StopEffect(0, handle), S_OK);
    ASSERT_TRUE(WaitForAllOffLast(*pad_, 1000));
    ASSERT_TRUE(pad_->WaitForQuiet(50, 1000));
    pad_->Clear();
    BuiltEffect flat(EffectShape::Constant(10000, kInfinite).WithPolar(0).WithEnvelope(0, 0, 0, 0));
    ASSERT_EQ(rig_.Host().Download(0, flat, &handle, DIEP_ENVELOPE | DIEP_START), S_OK);
    const int again = WaitForDriven(*pad_, 2000);
    ASSERT_GE(again, 0);
    EXPECT_EQ(pad_->Reports()[again].Motor1(), 0x1F) << "an envelope without attack starts at full";
}

TEST_F(EffectSlots, PauseThenContinueResumesWhereTheEffectPaused) {
    BuiltEffect effect(EffectShape::Constant(10000, 600000).WithPolar(0));
    const DWORD handle = rig_.Download(0, effect);
    const int on = WaitForDriven(*pad_, 2000);
    ASSERT_GE(on, 0);
    ::Sleep(300);
    ASSERT_EQ(rig_.Driver()->SendForceFeedbackCommand(0, DISFFC_PAUSE), S_OK);
    const int paused = WaitForReport(*pad_, IsAllOff, 1000, static_cast<size_t>(on));
    ASSERT_GE(paused, 0) << "pausing sends the all-off report";
    EXPECT_EQ(rig_.Status(0, handle), static_cast<DWORD>(DIEGES_PLAYING)) << "a paused effect reads back playing";
    EXPECT_TRUE(WaitUntil([&] { return rig_.FeedbackState(0) == static_cast<DWORD>(DIGFFS_PAUSED); }, 500));
    ::Sleep(400);
    EXPECT_LT(WaitForDriven(*pad_, 1, static_cast<size_t>(paused)), 0) << "nothing moves while paused";

    ASSERT_EQ(rig_.Driver()->SendForceFeedbackCommand(0, DISFFC_CONTINUE), S_OK);
    const int resumed = WaitForDriven(*pad_, 2000, static_cast<size_t>(paused));
    ASSERT_GE(resumed, 0);
    EXPECT_TRUE(WaitUntil([&] { return rig_.FeedbackState(0) == 0u; }, 500)) << "playing again";
    const int end = WaitForReport(*pad_, IsAllOff, 2000, static_cast<size_t>(resumed));
    ASSERT_GE(end, 0);
    const Reports r = pad_->Reports();
    const double before = r[paused].Ms() - r[on].Ms(), after = r[end].Ms() - r[resumed].Ms();
    EXPECT_NEAR(before + after, 600.0, 80.0) << "played " << before << " ms, paused, then " << after << " ms";
    EXPECT_LT(after, 450.0) << "continuing started the effect over";
    EXPECT_TRUE(WaitUntil([&] { return rig_.Status(0, handle) == 0; }, 500));
}

TEST_F(EffectSlots, StopAllStopsEveryEffectButKeepsThem) {
    BuiltEffect one(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    BuiltEffect two(EffectShape::Constant(10000, kInfinite).WithPolar(9000));
    const DWORD h1 = rig_.Download(0, one), h2 = rig_.Download(0, two);
    ASSERT_GE(WaitForReport(*pad_, [](const simpad::PadReport& r) { return r.Motor1() && r.Motor2(); }, 2000), 0);
    const size_t before = pad_->ReportCount();
    ASSERT_EQ(rig_.Driver()->SendForceFeedbackCommand(0, DISFFC_STOPALL), S_OK);
    EXPECT_GE(WaitForReport(*pad_, IsAllOff, 1000, before), 0);
    EXPECT_EQ(rig_.Status(0, h1), 0u);
    EXPECT_EQ(rig_.Status(0, h2), 0u);
    ASSERT_TRUE(pad_->WaitForQuiet(100, 2000));
    EXPECT_TRUE(pad_->Reports().back().IsAllOff());

    const size_t stopped = pad_->ReportCount();
    ASSERT_EQ(rig_.Driver()->StartEffect(0, h2, 0, 1), S_OK);
    const int again = WaitForDriven(*pad_, 2000, stopped);
    ASSERT_GE(again, 0) << "a stopped effect can be started again";
    EXPECT_EQ(pad_->Reports()[again].Motor2(), 0x1F);
}

TEST_F(EffectSlots, ResetEmptiesTheListAndTheNextEffectGetsHandleOne) {
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    rig_.Download(0, effect);
    rig_.Download(0, effect);
    const DWORD third = rig_.Download(0, effect);
    EXPECT_EQ(third, 3u);
    ASSERT_GE(WaitForDriven(*pad_, 2000), 0);
    const size_t before = pad_->ReportCount();
    ASSERT_EQ(rig_.Driver()->SendForceFeedbackCommand(0, DISFFC_RESET), S_OK);
    EXPECT_GE(WaitForReport(*pad_, IsAllOff, 1000, before), 0);
    ASSERT_TRUE(pad_->WaitForQuiet(100, 2000));

    // The old handles are gone: starting one plays nothing.
    const size_t reset = pad_->ReportCount();
    ASSERT_EQ(rig_.Driver()->StartEffect(0, 2, 0, 1), S_OK);
    EXPECT_LT(WaitForDriven(*pad_, 200, reset), 0) << "an effect survived the reset";
    EXPECT_EQ(rig_.Status(0, 2), 0u);
    EXPECT_EQ(rig_.Download(0, effect, DIEP_ALLPARAMS), 1u);
    EXPECT_EQ(rig_.FeedbackState(0), static_cast<DWORD>(DIGFFS_STOPPED));
}

TEST_F(EffectSlots, StopEffectStopsOnlyThatEffect) {
    BuiltEffect one(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    BuiltEffect two(EffectShape::Constant(10000, kInfinite).WithPolar(9000));
    const DWORD h1 = rig_.Download(0, one), h2 = rig_.Download(0, two);
    ASSERT_GE(WaitForReport(*pad_, [](const simpad::PadReport& r) { return r.Motor1() && r.Motor2(); }, 2000), 0);
    const size_t before = pad_->ReportCount();
    ASSERT_EQ(rig_.Driver()->StopEffect(0, h1), S_OK);
    const int left = WaitForReport(
        *pad_, [](const simpad::PadReport& r) { return r.Motor1() == 0 && r.Motor2() == 0x1F; }, 1000, before);
    EXPECT_GE(left, 0) << Describe(pad_->Reports());
    EXPECT_EQ(rig_.Status(0, h1), 0u);
    EXPECT_EQ(rig_.Status(0, h2), static_cast<DWORD>(DIEGES_PLAYING));
    EXPECT_EQ(rig_.Driver()->StopEffect(0, 99), S_OK) << "stopping a handle not in use changes nothing";
    EXPECT_EQ(rig_.Status(0, 99), 0u) << "a handle not in use reads back stopped";
}

TEST_F(EffectSlots, OtherCommandsAreIgnoredAndTheEffectsPlayOn) {
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    const DWORD handle = rig_.Download(0, effect);
    ASSERT_GE(WaitForDriven(*pad_, 2000), 0);
    ASSERT_TRUE(pad_->WaitForQuiet(100, 2000));
    const size_t before = pad_->ReportCount();
    for (DWORD command : {DWORD{DISFFC_SETACTUATORSON}, DWORD{DISFFC_SETACTUATORSOFF}, DWORD{0}, DWORD{0x40},
                          DWORD{0x80000000}}) {
        EXPECT_EQ(rig_.Driver()->SendForceFeedbackCommand(0, command), S_OK) << "command 0x" << std::hex << command;
    }
    ::Sleep(100);
    EXPECT_EQ(pad_->ReportCount(), before) << Describe(pad_->Reports());
    EXPECT_EQ(rig_.Status(0, handle), static_cast<DWORD>(DIEGES_PLAYING));
}

TEST_F(EffectSlots, AnUpdateReadsNewDirectionsTheWayTheEffectWasCreated) {
    // Created polar; an update's coordinate flags do not change that.
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    DWORD handle = rig_.Download(0, effect);
    ASSERT_GE(WaitForDriven(*pad_, 2000), 0);
    BuiltEffect update(EffectShape::Constant(10000, kInfinite).WithCartesian(9000, 0));
    const size_t before = pad_->ReportCount();
    ASSERT_EQ(rig_.Host().Download(0, update, &handle, DIEP_DIRECTION), S_OK);
    const int moved = WaitForReport(*pad_, [](const simpad::PadReport& r) { return r.Motor2() == 0x1F; }, 1000, before);
    EXPECT_GE(moved, 0) << "9000 read as a polar 90 degrees drives motor 2; " << Describe(pad_->Reports());
}
