// What the driver does with input no well-behaved DirectInput would pass:
// a clear answer every time, never a crash and never a read past what the
// caller gave. Caller memory sits against a page that cannot be read, so
// reading one byte too many faults instead of passing unseen.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "hosts/dihost/JoystickCaps.h"
#include "hosts/dihost/ProcessStats.h"
#include "hosts/dihost/SettingsKey.h"
#include "hosts/dihost/SettingsRecord.h"
#include "tests/wine/forcedriver/DriverUnderTest.h"
#include "tests/wine/forcedriver/GuardedBlock.h"
#include "tests/wine/forcedriver/PadWatch.h"

using namespace fftest;
using padhost::BuiltEffect;
using padhost::EffectForm;
using padhost::EffectShape;
using padhost::kInfinite;

namespace {

// The first `size` bytes of an effect structure, with dwSize saying so
// (dwSize itself is always there to be read).
class GuardedEffect {
public:
    GuardedEffect(const DIEFFECT& effect, size_t size) : block_(std::max(size, sizeof(DWORD))) {
        std::memcpy(block_.Get(), &effect, std::min(block_.Size(), sizeof effect));
        block_.As<DIEFFECT>()->dwSize = static_cast<DWORD>(size);
    }
    DIEFFECT* Get() const { return block_.As<DIEFFECT>(); }

private:
    GuardedBlock block_;
};

class BadInput : public BoundPadTest {
protected:
    HRESULT Download(DWORD effectId, const DIEFFECT* effect, DWORD* handle, DWORD flags = DIEP_ALLPARAMS | DIEP_START,
                     DWORD id = 0) {
        return rig_.Driver()->DownloadEffect(id, effectId, handle, effect, flags);
    }
    // No new effect slipped in: the next one gets the handle after `last`.
    void ExpectNextHandle(DWORD expected) {
        BuiltEffect probe(EffectShape::Constant(0, kInfinite).WithPolar(0));
        EXPECT_EQ(rig_.Download(0, probe, DIEP_ALLPARAMS), expected) << "a refused effect was stored all the same";
        rig_.Driver()->DestroyEffect(0, expected);
    }
};

bool IsAllOff(const simpad::PadReport& r) { return r.IsAllOff(); }

// The platform's own sizes: DirectX 5's structure ends where dwStartDelay
// begins, DirectX 6's is the whole structure.
constexpr size_t kDx5Size = offsetof(DIEFFECT, dwStartDelay);
constexpr size_t kDx6Size = sizeof(DIEFFECT);
// The init block's size field and device path pointer, all the driver reads.
constexpr size_t kInitReadSize = offsetof(DIHIDFFINITINFO, GuidInstance);

}  // namespace

TEST_F(BadInput, AnEffectStructureShorterThanTheDirectX5OneIsRefusedAndNothingIsStored) {
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    for (size_t size : {size_t{0}, size_t{4}, size_t{20}, size_t{48}, kDx5Size - 1}) {
        GuardedEffect shortOne(*effect.Get(), size);
        DWORD handle = 0;
        EXPECT_EQ(Download(0, shortOne.Get(), &handle), E_INVALIDARG) << "dwSize " << size;
        EXPECT_EQ(handle, 0u) << "dwSize " << size;
    }
    ExpectNextHandle(1);
    EXPECT_LT(WaitForDriven(*pad_, 100), 0) << "a refused effect moved a motor";

    // Nor does an update with a short structure change a stored effect.
    DWORD handle = rig_.Download(0, effect);
    ASSERT_GE(WaitForDriven(*pad_, 2000), 0);
    BuiltEffect other(EffectShape::Constant(2000, kInfinite).WithPolar(9000));
    GuardedEffect shortUpdate(*other.Get(), kDx5Size - 1);
    EXPECT_EQ(Download(0, shortUpdate.Get(), &handle, DIEP_DIRECTION | DIEP_TYPESPECIFICPARAMS), E_INVALIDARG);
    ::Sleep(100);
    EXPECT_EQ(pad_->Reports().back().Motor1(), 0x1F) << "the effect kept its parameters";
    EXPECT_EQ(pad_->Reports().back().Motor2(), 0x00);
}

TEST_F(BadInput, TheDirectX5StructureIsTakenWithoutAStartDelay) {
    BuiltEffect dx5(EffectShape::Constant(10000, 300000).WithPolar(0), EffectForm::DirectX5);
    ASSERT_EQ(dx5.Get()->dwSize, kDx5Size);
    // In place, the field past its end holds a delay of over an hour...
    DWORD handle = 0;
    const double asked = pad_->NowMs();
    ASSERT_EQ(Download(0, dx5.Get(), &handle), S_OK);
    EXPECT_EQ(handle, 1u);
    const int on = WaitForDriven(*pad_, 1000);
    ASSERT_GE(on, 0) << "the DirectX 5 effect did not start at once";
    EXPECT_LT(pad_->Reports()[on].Ms() - asked, 200.0);
    ASSERT_GE(WaitForReport(*pad_, IsAllOff, 2000, static_cast<size_t>(on)), 0) << "and it ends on schedule";

    // ...and against an unreadable page, that field cannot be read at all.
    GuardedEffect guarded(*dx5.Get(), kDx5Size);
    const size_t before = pad_->ReportCount();
    handle = 0;
    ASSERT_EQ(Download(0, guarded.Get(), &handle), S_OK);
    EXPECT_GE(WaitForDriven(*pad_, 1000, before), 0);
    ASSERT_TRUE(WaitForAllOffLast(*pad_, 2000));
    ASSERT_TRUE(pad_->WaitForQuiet(50, 1000));
    const size_t ended = pad_->ReportCount();
    const double again = pad_->NowMs();
    ASSERT_EQ(Download(0, guarded.Get(), &handle, DIEP_STARTDELAY | DIEP_START), S_OK)
        << "an update that asks for the start delay a DirectX 5 structure lacks";
    const int restarted = WaitForDriven(*pad_, 1000, ended);
    ASSERT_GE(restarted, 0);
    EXPECT_LT(pad_->Reports()[restarted].Ms() - again, 200.0) << "still no delay";
}

TEST_F(BadInput, StructuresOfTheDirectX6SizeAndLongerCarryTheStartDelay) {
    BuiltEffect delayed(EffectShape::Constant(10000, 100000).WithPolar(0).WithStartDelay(300000));
    for (size_t size : {kDx6Size, kDx6Size + 4, size_t{128}}) {
        ASSERT_TRUE(pad_->WaitForQuiet(50, 2000));
        GuardedEffect larger(*delayed.Get(), size);
        DWORD handle = 0;
        const size_t before = pad_->ReportCount();
        const double asked = pad_->NowMs();
        ASSERT_EQ(Download(0, larger.Get(), &handle), S_OK) << "dwSize " << size;
        const int on = WaitForDriven(*pad_, 2000, before);
        ASSERT_GE(on, 0) << "dwSize " << size;
        EXPECT_GE(pad_->Reports()[on].Ms() - asked, 285.0) << "dwSize " << size << " lost its start delay";
        ASSERT_GE(WaitForReport(*pad_, IsAllOff, 2000, static_cast<size_t>(on)), 0);
        rig_.Driver()->DestroyEffect(0, handle);
    }
}

TEST_F(BadInput, MoreThanFourAxesAreRefusedAtCreationAndOnUpdatesThatReadThem) {
    EffectShape five = EffectShape::Constant(10000, kInfinite).WithPolar(0);
    five.AxisCount = 5;
    BuiltEffect tooMany(five);
    DWORD handle = 0;
    EXPECT_EQ(Download(0, tooMany.Get(), &handle), E_INVALIDARG);
    EXPECT_EQ(handle, 0u);
    five.AxisCount = 8;
    BuiltEffect eight(five);
    EXPECT_EQ(Download(0, eight.Get(), &handle), E_INVALIDARG);
    ExpectNextHandle(1);

    // Four fit, read from arrays of exactly four.
    EffectShape four = EffectShape::Constant(10000, kInfinite).WithPolar(0);
    four.AxisCount = 4;
    BuiltEffect fourAxes(four);
    GuardedBlock axes(4 * sizeof(DWORD)), directions(4 * sizeof(LONG));
    std::memcpy(axes.Get(), fourAxes.Get()->rgdwAxes, axes.Size());
    std::memcpy(directions.Get(), fourAxes.Get()->rglDirection, directions.Size());
    fourAxes.Raw().rgdwAxes = axes.As<DWORD>();
    fourAxes.Raw().rglDirection = directions.As<LONG>();
    handle = 0;
    ASSERT_EQ(Download(0, fourAxes.Get(), &handle), S_OK);
    ASSERT_GE(WaitForDriven(*pad_, 2000), 0);

    // Updates that read the axes or directions refuse five, and change nothing else with them.
    EffectShape turned = EffectShape::Constant(3000, kInfinite).WithPolar(9000);
    turned.AxisCount = 5;
    BuiltEffect update(turned);
    ASSERT_TRUE(pad_->WaitForQuiet(50, 1000));
    const size_t before = pad_->ReportCount();
    EXPECT_EQ(Download(0, update.Get(), &handle, DIEP_AXES), E_INVALIDARG);
    EXPECT_EQ(Download(0, update.Get(), &handle, DIEP_DIRECTION | DIEP_TYPESPECIFICPARAMS), E_INVALIDARG);
    EXPECT_EQ(Download(0, update.Get(), &handle, DIEP_AXES | DIEP_GAIN | DIEP_START), E_INVALIDARG);
    ::Sleep(100);
    EXPECT_EQ(pad_->ReportCount(), before) << "a refused update changed the effect; " << Describe(pad_->Reports());
    EXPECT_EQ(rig_.Status(0, handle), static_cast<DWORD>(DIEGES_PLAYING));

    // An update that reads neither takes the rest.
    update.Raw().dwGain = 5000;
    EXPECT_EQ(Download(0, update.Get(), &handle, DIEP_GAIN), S_OK);
    EXPECT_GE(WaitForReport(*pad_, [](const simpad::PadReport& r) { return r.Motor1() == 0x13; }, 1000, before), 0)
        << "the gain of an update that does not read the axes; " << Describe(pad_->Reports());
}

TEST_F(BadInput, NullArraysAndBlocksThatTheCallWouldReadAreRefused) {
    const auto fresh = [] { return std::make_unique<BuiltEffect>(EffectShape::Constant(10000, kInfinite).WithPolar(0)); };
    DWORD handle = 0;
    auto e = fresh();
    e->Raw().rgdwAxes = nullptr;
    EXPECT_EQ(Download(0, e->Get(), &handle), E_INVALIDARG) << "null axes with two axes";
    e = fresh();
    e->Raw().rglDirection = nullptr;
    EXPECT_EQ(Download(0, e->Get(), &handle), E_INVALIDARG) << "null directions with two axes";
    e = fresh();
    e->Raw().lpvTypeSpecificParams = nullptr;
    EXPECT_EQ(Download(0, e->Get(), &handle), E_INVALIDARG) << "a null block of 4 bytes";
    EXPECT_EQ(handle, 0u);
    ExpectNextHandle(1);

    // With no axes there is nothing to read.
    e = fresh();
    e->Raw().cAxes = 0;
    e->Raw().rgdwAxes = nullptr;
    e->Raw().rglDirection = nullptr;
    EXPECT_EQ(Download(0, e->Get(), &handle, DIEP_ALLPARAMS), S_OK) << "no axes, no arrays";
    EXPECT_NE(handle, 0u);
    rig_.Driver()->DestroyEffect(0, handle);

    handle = rig_.Download(0, *fresh());
    ASSERT_GE(WaitForDriven(*pad_, 2000), 0);
    ASSERT_TRUE(pad_->WaitForQuiet(50, 1000));
    const size_t before = pad_->ReportCount();
    e = fresh();
    e->Raw().rgdwAxes = nullptr;
    EXPECT_EQ(Download(0, e->Get(), &handle, DIEP_AXES), E_INVALIDARG);
    e = fresh();
    e->Raw().rglDirection = nullptr;
    EXPECT_EQ(Download(0, e->Get(), &handle, DIEP_DIRECTION), E_INVALIDARG);
    e = fresh();
    e->Raw().lpvTypeSpecificParams = nullptr;
    EXPECT_EQ(Download(0, e->Get(), &handle, DIEP_TYPESPECIFICPARAMS), E_INVALIDARG);
    ::Sleep(100);
    EXPECT_EQ(pad_->ReportCount(), before) << "a refused update changed the effect";
    EXPECT_EQ(rig_.Status(0, handle), static_cast<DWORD>(DIEGES_PLAYING)) << "and it still plays";

    // An update whose flags read none of them does not look at them.
    e = fresh();
    e->Raw().rgdwAxes = nullptr;
    e->Raw().rglDirection = nullptr;
    e->Raw().lpvTypeSpecificParams = nullptr;
    e->Raw().dwGain = 5000;
    EXPECT_EQ(Download(0, e->Get(), &handle, DIEP_GAIN), S_OK);
    EXPECT_GE(WaitForReport(*pad_, [](const simpad::PadReport& r) { return r.Motor1() == 0x13; }, 1000, before), 0);
}

TEST_F(BadInput, AMissingOrShortParameterBlockPlaysSilentlyAndEndsOnSchedule) {
    // For kinds 0 to 6: no block, and blocks one byte short of a record.
    for (DWORD id = 1; id <= 7; ++id) ASSERT_TRUE(rig_.Bind(id));
    for (int round = 0; round < 3; ++round) {
        std::vector<std::unique_ptr<BuiltEffect>> effects;
        std::vector<std::unique_ptr<GuardedBlock>> blocks;
        std::vector<DWORD> handles;
        for (uint32_t kind = 0; kind <= 6; ++kind) {
            EffectShape effectShape = kind == padhost::kConstant ? EffectShape::Constant(10000, 200000)
                              : kind == padhost::kRamp  ? EffectShape::Ramp(10000, 0, 200000)
                                                        : EffectShape::Periodic(kind, 10000, 50000, 200000);
            effects.push_back(std::make_unique<BuiltEffect>(effectShape.WithPolar(0)));
            DIEFFECT& raw = effects.back()->Raw();
            const DWORD full = raw.cbTypeSpecificParams;
            const DWORD size = round == 0 ? 0 : round == 1 ? full - 1 : 1;
            if (size == 0) {
                raw.lpvTypeSpecificParams = nullptr;
            } else {
                blocks.push_back(std::make_unique<GuardedBlock>(size));
                std::memcpy(blocks.back()->Get(), raw.lpvTypeSpecificParams, size);
                raw.lpvTypeSpecificParams = blocks.back()->Get();
            }
            raw.cbTypeSpecificParams = size;
            DWORD handle = 0;
            EXPECT_EQ(Download(kind, &raw, &handle, DIEP_ALLPARAMS | DIEP_START, kind + 1), S_OK)
                << "kind " << kind << " with a block of " << size << " bytes";
            EXPECT_NE(handle, 0u) << "kind " << kind << " with a block of " << size << " bytes is stored";
            handles.push_back(handle);
        }
        ::Sleep(60);
        for (uint32_t kind = 0; kind <= 6; ++kind)
            EXPECT_EQ(rig_.Status(kind + 1, handles[kind]), static_cast<DWORD>(DIEGES_PLAYING)) << "kind " << kind;
        for (uint32_t kind = 0; kind <= 6; ++kind) {
            EXPECT_TRUE(WaitUntil([&] { return rig_.Status(kind + 1, handles[kind]) == 0; }, 800))
                << "kind " << kind << " without its block ends after its duration (round " << round << ")";
            EXPECT_LT(FindReport(rig_.Pad(kind + 1).Reports(), Drives), 0)
                << "kind " << kind << " without its block moved a motor; " << Describe(rig_.Pad(kind + 1).Reports());
        }
    }
}

TEST_F(BadInput, DurationsAndPeriodsAtTheirExtremesEndOrPlayAsTheySayAndStayInRange) {
    const DWORD durations[] = {0, 1, kInfinite, 0xFFFFFFFE};
    const DWORD periods[] = {0, 1, 999, 1000, kInfinite, 0xFFFFFFFE};
    struct Played {
        DWORD Id, Handle, Duration;
        uint32_t Kind;
    };
    std::vector<std::unique_ptr<BuiltEffect>> effects;
    std::vector<Played> played;
    // One device per kind: their levels add up, so the range check sees the sum.
    for (uint32_t kind = 0; kind <= 6; ++kind) {
        const DWORD id = kind + 1;
        ASSERT_TRUE(rig_.Bind(id));
        for (DWORD duration : durations) {
            std::vector<DWORD> kindPeriods = padhost::IsPeriodic(kind) ? std::vector<DWORD>(std::begin(periods), std::end(periods))
                                                                       : std::vector<DWORD>{0};
            for (DWORD period : kindPeriods) {
                EffectShape effectShape = kind == padhost::kConstant ? EffectShape::Constant(10000, duration)
                                  : kind == padhost::kRamp  ? EffectShape::Ramp(10000, -10000, duration)
                                                            : EffectShape::Periodic(kind, 10000, period, duration);
                effectShape.WithPolar(0).WithEnvelope(10000, duration, 0, duration);
                effects.push_back(std::make_unique<BuiltEffect>(effectShape));
                played.push_back(Played{id, rig_.Download(id, *effects.back()), duration, kind});
            }
        }
    }
    ::Sleep(400);
    for (const Played& p : played) {
        // Durations under a millisecond are over at once; the others last
        // for longer than the test. A ramp without an end never starts.
        const bool over = p.Duration < 1000;
        const DWORD status = rig_.Status(p.Id, p.Handle);
        EXPECT_EQ(status, over ? 0u : static_cast<DWORD>(DIEGES_PLAYING))
            << "kind " << p.Kind << ", duration " << p.Duration;
    }
    for (DWORD id = 1; id <= 7; ++id) {
        const ValueRange range = MotorValues(rig_.Pad(id).Reports());
        EXPECT_FALSE(range.AnyMalformed) << "kind " << id - 1 << ": " << Describe(rig_.Pad(id).Reports());
    }
    EXPECT_EQ(rig_.FeedbackState(1), 0u);
    ASSERT_EQ(rig_.Driver()->SendForceFeedbackCommand(1, DISFFC_RESET), S_OK);
}

TEST_F(BadInput, MagnitudesAtAndBeyondFullDriveTheMotorAtMostFull) {
    padhost::ScopedSettings strongest(kModel22, padhost::VibrationRecord(255, 170, 0));
    const LONG magnitudes[] = {10000, -10000, 20000, -20000, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1};
    DWORD id = 1;
    std::vector<std::unique_ptr<BuiltEffect>> effects;
    for (LONG m : magnitudes) {
        // Strength 255 multiplies by 7/5 on top.
        ASSERT_TRUE(rig_.Bind(id, id % 2 ? kModel47 : kModel22));
        effects.push_back(std::make_unique<BuiltEffect>(EffectShape::Constant(m, kInfinite).WithPolar(0)));
        rig_.Download(id, *effects.back());
        const int at = WaitForDriven(rig_.Pad(id), 2000);
        ASSERT_GE(at, 0) << "magnitude " << m;
        EXPECT_EQ(rig_.Pad(id).Reports()[at].Motor1(), 0x1F) << "magnitude " << m;
        EXPECT_EQ(rig_.Pad(id).Reports()[at].Motor2(), 0x00) << "magnitude " << m;
        ++id;
    }
    ASSERT_EQ(rig_.Driver()->SendForceFeedbackCommand(1, DISFFC_RESET), S_OK);
}

TEST_F(BadInput, RampsBetweenTheFarthestLevelsSpanNothingToFull) {
    ASSERT_TRUE(rig_.Bind(1));
    ASSERT_TRUE(rig_.Bind(2));
    BuiltEffect rising(EffectShape::Ramp(INT_MIN, INT_MAX, 300000).WithPolar(0));
    BuiltEffect falling(EffectShape::Ramp(INT_MAX, INT_MIN, 300000).WithPolar(0));
    rig_.Download(1, rising);
    rig_.Download(2, falling);
    for (DWORD id : {1u, 2u}) {
        simpad::SimPad& pad = rig_.Pad(id);
        const int on = WaitForDriven(pad, 2000);
        ASSERT_GE(on, 0);
        const int off = WaitForReport(pad, IsAllOff, 2000, static_cast<size_t>(on));
        ASSERT_GE(off, 0);
        const Reports r = pad.Reports();
        EXPECT_FALSE(MotorValues(r).AnyMalformed) << Describe(r);
        // The distance is limited to 10000: 0 to full, or full to 0.
        const int first = r[on].Motor1(), last = r[off - 1].Motor1();
        if (id == 1) {
            EXPECT_EQ(first, 0x08) << "rising from 0; " << Describe(r);
            EXPECT_GE(last, 0x1E) << "rising to full; " << Describe(r);
        } else {
            EXPECT_GE(first, 0x1E) << "falling from full; " << Describe(r);
            EXPECT_EQ(last, 0x08) << "falling to 0; " << Describe(r);
        }
    }
}

TEST_F(BadInput, PolarDirectionsBelowZeroGiveNoOutputAndLargeOnesWrapAtAFullTurn) {
    struct Case {
        LONG Direction;
        int Motor1, Motor2;  // -1: no report moves a motor
    };
    // Whole degrees, truncated: -1 is 0 degrees; INT_MAX is 116 degrees (26 past 90).
    const Case cases[] = {{-100, -1, -1},     {-9000, -1, -1},   {INT_MIN, -1, -1}, {-1, 0x1F, 0},
                          {36000, 0x1F, 0},   {45000, 0, 0x1F},  {40500, 0x18, 0x18},
                          {INT_MAX, 0x12, 0x1C}};
    std::vector<std::unique_ptr<BuiltEffect>> effects;
    DWORD id = 1;
    for (const Case& c : cases) {
        ASSERT_TRUE(rig_.Bind(id));
        effects.push_back(std::make_unique<BuiltEffect>(EffectShape::Constant(10000, kInfinite).WithPolar(c.Direction)));
        const DWORD handle = rig_.Download(id, *effects.back());
        if (c.Motor1 < 0) {
            EXPECT_LT(WaitForDriven(rig_.Pad(id), 200), 0) << "polar " << c.Direction << " moved a motor";
            EXPECT_EQ(rig_.Status(id, handle), static_cast<DWORD>(DIEGES_PLAYING)) << "polar " << c.Direction;
        } else {
            const int at = WaitForDriven(rig_.Pad(id), 2000);
            ASSERT_GE(at, 0) << "polar " << c.Direction;
            EXPECT_EQ(rig_.Pad(id).Reports()[at].Motor1(), c.Motor1) << "polar " << c.Direction;
            EXPECT_EQ(rig_.Pad(id).Reports()[at].Motor2(), c.Motor2) << "polar " << c.Direction;
        }
        ++id;
    }
}

TEST_F(BadInput, CartesianDirectionsAtTheirExtremesStayInRange) {
    const LONG pairs[][2] = {{INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MIN, 1},
                             {1, -1},            {-5, 5},            {INT_MAX, 0}};
    std::vector<std::unique_ptr<BuiltEffect>> effects;
    DWORD id = 1;
    for (const auto& xy : pairs) {
        ASSERT_TRUE(rig_.Bind(id));
        effects.push_back(
            std::make_unique<BuiltEffect>(EffectShape::Constant(10000, 150000).WithCartesian(xy[0], xy[1])));
        rig_.Download(id, *effects.back());
        ++id;
    }
    ::Sleep(300);
    for (DWORD i = 1; i < id; ++i) {
        EXPECT_FALSE(MotorValues(rig_.Pad(i).Reports()).AnyMalformed)
            << "cartesian " << pairs[i - 1][0] << ", " << pairs[i - 1][1] << ": " << Describe(rig_.Pad(i).Reports());
    }
    // A sum of 0 drives both motors fully.
    for (DWORD i : {5u, 6u}) {
        const int at = FindReport(rig_.Pad(i).Reports(), Drives);
        ASSERT_GE(at, 0);
        EXPECT_EQ(rig_.Pad(i).Reports()[at].Motor1(), 0x1F);
        EXPECT_EQ(rig_.Pad(i).Reports()[at].Motor2(), 0x1F);
    }
}

TEST_F(BadInput, NullOutPointersAreRefused) {
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    IDirectInputEffectDriver* d = rig_.Driver();
    EXPECT_EQ(d->DownloadEffect(0, 0, nullptr, effect.Get(), DIEP_ALLPARAMS | DIEP_START), E_POINTER);
    DWORD handle = 0;
    EXPECT_EQ(d->DownloadEffect(0, 0, &handle, nullptr, DIEP_ALLPARAMS | DIEP_START), E_POINTER);
    EXPECT_EQ(handle, 0u);
    ExpectNextHandle(1);
    handle = rig_.Download(0, effect, DIEP_ALLPARAMS);
    EXPECT_EQ(d->DownloadEffect(0, 0, &handle, nullptr, DIEP_GAIN | DIEP_START), E_POINTER) << "an update without an effect";
    EXPECT_EQ(rig_.Status(0, handle), 0u) << "the refused update did not start the effect";
    EXPECT_EQ(d->GetVersions(nullptr), E_POINTER);
    EXPECT_EQ(d->GetForceFeedbackState(0, nullptr), E_POINTER);
    EXPECT_EQ(d->GetForceFeedbackState(16, nullptr), E_FAIL) << "the id is checked first";
    EXPECT_EQ(d->GetEffectStatus(0, handle, nullptr), E_POINTER);
    EXPECT_LT(WaitForDriven(*pad_, 100), 0);
}

TEST_F(BadInput, UpdatesOfHandlesNotInUseChangeNothing) {
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    DWORD ghost = 42;
    EXPECT_EQ(Download(0, effect.Get(), &ghost, DIEP_ALLPARAMS | DIEP_START), S_OK);
    EXPECT_EQ(ghost, 42u);
    EXPECT_EQ(rig_.Status(0, 42), 0u);
    EXPECT_EQ(rig_.Driver()->StartEffect(0, 42, 0, 1), S_OK);
    EXPECT_LT(WaitForDriven(*pad_, 150), 0) << "a handle no effect carries played";
    ExpectNextHandle(1);
}

namespace {

// DeviceID with an init block that may be cut short or point anywhere.
HRESULT BindRaw(IDirectInputEffectDriver* driver, DWORD id, const DIHIDFFINITINFO* init) {
    return driver->DeviceID(DIRECTINPUT_VERSION, id, TRUE, id, const_cast<DIHIDFFINITINFO*>(init));
}

// A wide string that ends right before an unreadable page.
class GuardedPath {
public:
    explicit GuardedPath(const std::wstring& path) : block_((path.size() + 1) * sizeof(wchar_t)) {
        std::memcpy(block_.Get(), path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    }
    LPWSTR Get() const { return block_.As<wchar_t>(); }

private:
    GuardedBlock block_;
};

}  // namespace

TEST_F(BadInput, DeviceIdRefusesABadInitBlockAndLeavesTheIdFree) {
    simpad::SimPad pad;
    const DWORD threads = padhost::ProcessThreadCount();
    GuardedPath path(pad.WidePath());
    IDirectInputEffectDriver* d = rig_.Driver();
    padhost::SetJoystick(5, kModel47);

    EXPECT_EQ(BindRaw(d, 5, nullptr), E_INVALIDARG) << "no init block";
    for (DWORD size : {DWORD{0}, DWORD{4}, DWORD{kInitReadSize - 1}}) {
        // dwSize itself is always there to read.
        GuardedBlock block(size < sizeof(DWORD) ? sizeof(DWORD) : size);
        DIHIDFFINITINFO full{};
        full.dwSize = size;
        full.pwszDeviceInterface = path.Get();
        block.Fill(full);
        EXPECT_EQ(BindRaw(d, 5, block.As<DIHIDFFINITINFO>()), E_INVALIDARG) << "dwSize " << size;
    }
    DIHIDFFINITINFO init{};
    init.dwSize = sizeof init;
    init.pwszDeviceInterface = nullptr;
    EXPECT_EQ(BindRaw(d, 5, &init), E_INVALIDARG) << "no device path";
    for (size_t length : {260u, 261u, 300u, 5000u}) {
        GuardedPath tooLong(L"\\\\.\\pipe\\" + std::wstring(length - 9, L'x'));
        init.pwszDeviceInterface = tooLong.Get();
        EXPECT_EQ(BindRaw(d, 5, &init), E_INVALIDARG) << "a path of " << length << " characters";
    }
    EXPECT_EQ(padhost::ProcessThreadCount(), threads) << "a refused DeviceID started a device thread";
    EXPECT_EQ(pad.OpenCount(), 0u);

    // The id is still free: a good block binds it now, no longer than what the driver reads.
    GuardedBlock shortest(kInitReadSize);
    DIHIDFFINITINFO good{};
    good.dwSize = kInitReadSize;
    good.pwszDeviceInterface = path.Get();
    shortest.Fill(good);
    ASSERT_EQ(BindRaw(d, 5, shortest.As<DIHIDFFINITINFO>()), S_OK);
    EXPECT_TRUE(pad.WaitForReports(1, 1000)) << "binding sent its all-off report";
    ASSERT_EQ(d->SetGain(5, 10000), S_OK);
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    EXPECT_EQ(rig_.Download(5, effect), 1u);
    EXPECT_GE(WaitForDriven(pad, 2000), 0) << "the id bound after the refusals plays";
    padhost::RemoveJoystick(5);
}

TEST_F(BadInput, APathThatCannotBeOpenedBindsAndItsReportsAreDroppedSilently) {
    for (UINT j : {6u, 7u, 8u}) padhost::SetJoystick(j, kModel47);
    // 259 characters and the terminator fill the 260 bytes exactly.
    GuardedPath longest(L"\\\\.\\pipe\\" + std::wstring(250, L'y'));
    GuardedPath nowhere(L"\\\\.\\pipe\\no-pad-serves-this");
    GuardedPath empty(L"");
    IDirectInputEffectDriver* d = rig_.Driver();
    BuiltEffect effect(EffectShape::Constant(10000, 200000).WithPolar(0));
    DWORD id = 6;
    for (const GuardedPath* path : {&longest, &nowhere, &empty}) {
        DIHIDFFINITINFO init{};
        init.dwSize = sizeof init;
        init.pwszDeviceInterface = path->Get();
        ASSERT_EQ(BindRaw(d, id, &init), S_OK) << "joystick id " << id;
        ASSERT_EQ(d->SetGain(id, 10000), S_OK);
        const DWORD handle = rig_.Download(id, effect);
        EXPECT_EQ(rig_.Status(id, handle), static_cast<DWORD>(DIEGES_PLAYING)) << "joystick id " << id;
        EXPECT_TRUE(WaitUntil([&] { return rig_.Status(id, handle) == 0; }, 1000))
            << "joystick id " << id << ": ends on schedule";
        EXPECT_EQ(d->SendForceFeedbackCommand(id, DISFFC_PAUSE), S_OK);
        EXPECT_EQ(d->SendForceFeedbackCommand(id, DISFFC_RESET), S_OK);
        ++id;
    }
    for (UINT j : {6u, 7u, 8u}) padhost::RemoveJoystick(j);
}

TEST_F(BadInput, AnUnpluggedPadMissesItsReportsAndHearsTheNextChange) {
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    pad_->Unplug();
    DWORD handle = rig_.Download(0, effect);
    ::Sleep(100);
    ASSERT_TRUE(pad_->Plug());
    ::Sleep(150);
    EXPECT_LT(WaitForDriven(*pad_, 1), 0) << "the pair already sent (and dropped) is not sent again";
    EXPECT_EQ(rig_.Status(0, handle), static_cast<DWORD>(DIEGES_PLAYING));
    BuiltEffect softer(EffectShape::Constant(5000, kInfinite).WithPolar(0));
    ASSERT_EQ(rig_.Host().Download(0, softer, &handle, DIEP_TYPESPECIFICPARAMS), S_OK);
    const int at = WaitForDriven(*pad_, 1000);
    ASSERT_GE(at, 0) << "the next change reaches the pad once it is back";
    EXPECT_EQ(pad_->Reports()[at].Motor1(), 0x13);
}
