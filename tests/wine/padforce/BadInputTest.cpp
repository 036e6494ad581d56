// Input no game should send: a clear result every time, never a crash or a
// read past what the caller gave.
#include "tests/wine/padforce/DriverTestSupport.h"

#include <climits>

#include "hosts/dihost/BuiltEffect.h"

namespace fftests {
namespace {

using padhost::BuiltEffect;
using padhost::EffectForm;
using padhost::EffectShape;
using padhost::kInfinite;

HRESULT Create(BoundDriver& d, BuiltEffect& e, DWORD* handle, DWORD flags = DIEP_ALLPARAMS | DIEP_START) {
    *handle = 0;
    return d.host->Download(0, e, handle, flags);
}

TEST(BadEffects, AStructureShorterThanDirectX5IsRefusedAndNothingIsStored) {
    BoundDriver d;
    BuiltEffect e(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    e.Raw().dwSize = 51;
    DWORD h = 0;
    EXPECT_EQ(Create(d, e, &h), E_INVALIDARG);
    EXPECT_EQ(h, 0u);
    e.Raw().dwSize = 0;
    EXPECT_EQ(Create(d, e, &h), E_INVALIDARG);
    BuiltEffect good(EffectShape::Constant(1000, kInfinite));
    EXPECT_EQ(Create(d, good, &h), S_OK);
    EXPECT_EQ(h, 1u) << "the refused effects took no handle";
}

TEST(BadEffects, TheDirectX5StructurePlaysAtOnceWithoutReadingPastItsEnd) {
    BoundDriver d;
    BuiltEffect old(EffectShape::Constant(10000, kInfinite).WithPolar(0), EffectForm::DirectX5);
    DWORD h = 0;
    ASSERT_EQ(Create(d, old, &h), S_OK);
    EXPECT_TRUE(d.WaitForValues(0x1F, 0, 1000)) << "no start delay was read from past the structure";
}

TEST(BadEffects, TheDirectX6StructureHonoursItsStartDelay) {
    BoundDriver d;
    d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(0).WithStartDelay(300000));
    const double asked = d.pad.NowMs();
    ASSERT_TRUE(d.pad.WaitForReports(1, 3000));
    EXPECT_GE(d.pad.Reports()[0].Ms() - asked, 280.0);
}

TEST(BadEffects, MoreThanFourAxesAreRefusedAtCreationAndOnUpdate) {
    BoundDriver d;
    EffectShape effectShape = EffectShape::Constant(10000, kInfinite).WithPolar(0);
    effectShape.AxisCount = 5;
    BuiltEffect five(effectShape);
    DWORD h = 0;
    EXPECT_EQ(Create(d, five, &h), E_INVALIDARG);
    EXPECT_EQ(h, 0u);

    const DWORD kept = d.Start(EffectShape::Constant(5000, kInfinite).WithPolar(0));
    ASSERT_TRUE(d.WaitForValues(Value(5000), 0));
    effectShape.AxisCount = 8;
    effectShape.Directions[0] = 9000;
    BuiltEffect update(effectShape);
    for (DWORD flags : {DIEP_AXES, DIEP_DIRECTION}) {
        DWORD handle = kept;
        EXPECT_EQ(d.host->Download(0, update, &handle, flags), E_INVALIDARG);
    }
    ::Sleep(50);
    EXPECT_EQ(d.pad.Reports().back().Motor1(), Value(5000)) << "the refused update changed nothing";
    // Four axes are fine.
    effectShape.AxisCount = 4;
    BuiltEffect four(effectShape);
    EXPECT_EQ(Create(d, four, &h), S_OK);
}

TEST(BadEffects, NullArraysBehindNonzeroCountsAreRefusedWhereTheyAreRead) {
    BoundDriver d;
    {
        BuiltEffect e(EffectShape::Constant(10000, kInfinite).WithPolar(0));
        e.Raw().rglDirection = nullptr;
        DWORD h = 0;
        EXPECT_EQ(Create(d, e, &h), E_INVALIDARG);
    }
    {
        BuiltEffect e(EffectShape::Constant(10000, kInfinite).WithPolar(0));
        e.Raw().rgdwAxes = nullptr;
        DWORD h = 0;
        EXPECT_EQ(Create(d, e, &h), E_INVALIDARG);
    }
    {
        BuiltEffect e(EffectShape::Constant(10000, kInfinite).WithPolar(0));
        e.Raw().lpvTypeSpecificParams = nullptr;
        DWORD h = 0;
        EXPECT_EQ(Create(d, e, &h), E_INVALIDARG);
    }
    // An update reads only what its flags name.
    const DWORD h = d.Start(EffectShape::Constant(5000, kInfinite).WithPolar(0));
    BuiltEffect gainOnly(EffectShape::Constant(5000, kInfinite).WithPolar(0).WithGain(10000));
    gainOnly.Raw().rglDirection = nullptr;
    gainOnly.Raw().rgdwAxes = nullptr;
    gainOnly.Raw().lpvTypeSpecificParams = nullptr;
    DWORD handle = h;
    EXPECT_EQ(d.host->Download(0, gainOnly, &handle, DIEP_GAIN), S_OK);
    EXPECT_EQ(d.host->Download(0, gainOnly, &handle, DIEP_TYPESPECIFICPARAMS), E_INVALIDARG);
}

TEST(BadEffects, MissingOrShortParameterBlocksAreStoredPlaySilentlyAndEndOnTime) {
    BoundDriver d;
    for (uint32_t kind = 0; kind <= 6; ++kind) {
        for (DWORD size : {0u, 3u}) {
            EffectShape effectShape = EffectShape::Periodic(kind, 10000, 999, 100000).WithPolar(0);
            effectShape.EffectId = kind;
            BuiltEffect e(effectShape);
            e.Raw().cbTypeSpecificParams = size;
            if (size == 0) e.Raw().lpvTypeSpecificParams = nullptr;
            DWORD h = 0;
            ASSERT_EQ(Create(d, e, &h), S_OK) << "kind " << kind << ", " << size << " bytes";
            EXPECT_NE(h, 0u);
            EXPECT_TRUE(WaitForStopped(d.Driver(), 0, h, 2000)) << "kind " << kind << " ends after 100 ms";
        }
    }
    for (const auto& r : d.pad.Reports()) EXPECT_TRUE(r.IsAllOff()) << "a motor moved: " << Bytes(r);
}

TEST(BadEffects, NullOutPointersAreRefused) {
    BoundDriver d;
    BuiltEffect e(EffectShape::Constant(1000, kInfinite));
    DWORD h = 0;
    EXPECT_EQ(d.Driver()->DownloadEffect(0, 0, nullptr, e.Get(), DIEP_ALLPARAMS), E_POINTER);
    EXPECT_EQ(d.Driver()->DownloadEffect(0, 0, &h, nullptr, DIEP_ALLPARAMS), E_POINTER);
    EXPECT_EQ(d.Driver()->GetVersions(nullptr), E_POINTER);
    EXPECT_EQ(d.Driver()->GetForceFeedbackState(0, nullptr), E_POINTER);
    EXPECT_EQ(d.Driver()->GetForceFeedbackState(16, nullptr), E_FAIL) << "the id is checked first";
    EXPECT_EQ(d.Driver()->GetEffectStatus(0, 1, nullptr), E_POINTER);
    EXPECT_EQ(d.Driver()->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST(BadEffects, ExtremeDurationsPeriodsMagnitudesAndDirectionsStayWithinFullScale) {
    BoundDriver d;
    const uint32_t times[] = {0u, 1u, 0xFFFFFFFEu, kInfinite};
    const int32_t magnitudes[] = {INT_MIN, -10000, 10000, 10001, INT_MAX};
    const int32_t directions[] = {-1, -36000, INT_MIN, 36000, 45000, INT_MAX};
    for (uint32_t kind = 0; kind <= 6; ++kind) {
        for (uint32_t t : times) {
            EffectShape effectShape = EffectShape::Periodic(kind, 0, t, t);
            effectShape.EffectId = kind;
            effectShape.Magnitude = magnitudes[(kind + t) % 5];
            effectShape.RampStart = INT_MIN;
            effectShape.RampEnd = INT_MAX;
            effectShape.WithPolar(directions[(kind * 7 + t) % 6]).WithEnvelope(0xFFFFFFFFu, t, 0xFFFFFFFFu, t);
            effectShape.Gain = 0xFFFFFFFFu;
            effectShape.StartDelay = t == kInfinite ? 0 : t % 1000;
            d.Start(effectShape);
        }
    }
    ::Sleep(200);
    for (const auto& r : d.pad.Reports()) {
        EXPECT_LE(r.Motor1(), 31);
        EXPECT_LE(r.Motor2(), 31);
        EXPECT_FALSE(r.Motor1() > 0 && r.Motor1() < 8) << Bytes(r);
    }
    DIDEVICESTATE state{sizeof state, 0, 0};
    EXPECT_EQ(d.Driver()->GetForceFeedbackState(0, &state), S_OK) << "the driver still answers";
}

TEST(BadEffects, NegativePolarDirectionsGiveNoOutputAndFullTurnsWrap) {
    BoundDriver d;
    const DWORD neg = d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(-9000));
    ::Sleep(100);
    EXPECT_EQ(d.pad.ReportCount(), 0u) << "a negative direction moves nothing";
    d.Driver()->DestroyEffect(0, neg);
    d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(36000 + 9000));
    EXPECT_TRUE(d.WaitForValues(0, 0x1F)) << "450 degrees is 90 degrees";
}

TEST(BadEffects, NoRestartOnAPlayingEffectAppliesTheParametersAndAnswersOk) {
    BoundDriver d;
    EffectShape effectShape = EffectShape::Constant(3000, kInfinite).WithPolar(0);
    const DWORD h = d.Start(effectShape);
    ASSERT_TRUE(d.WaitForValues(Value(3000), 0));
    effectShape.Magnitude = 9000;
    BuiltEffect update(effectShape);
    DWORD handle = h;
    EXPECT_EQ(d.host->Download(0, update, &handle, DIEP_TYPESPECIFICPARAMS | DIEP_NORESTART), S_OK);
    EXPECT_TRUE(d.WaitForValues(Value(9000), 0));
}

TEST(BadBinding, MissingOrUnusableInitInfoIsRefusedAndLeavesTheIdFree) {
    BoundDriver d;
    IDirectInputEffectDriver* drv = d.Driver();
    simpad::SimPad second;
    std::wstring path = second.WidePath();
    EXPECT_EQ(drv->DeviceID(0x0700, 2, TRUE, 2, nullptr), E_INVALIDARG);
    DIHIDFFINITINFO tiny{4, const_cast<LPWSTR>(path.c_str()), {}};
    EXPECT_EQ(drv->DeviceID(0x0700, 2, TRUE, 2, &tiny), E_INVALIDARG);
    DIHIDFFINITINFO noPath{sizeof(DIHIDFFINITINFO), nullptr, {}};
    EXPECT_EQ(drv->DeviceID(0x0700, 2, TRUE, 2, &noPath), E_INVALIDARG);
    std::wstring huge(300, L'x');
    DIHIDFFINITINFO longPath{sizeof(DIHIDFFINITINFO), const_cast<LPWSTR>(huge.c_str()), {}};
    EXPECT_EQ(drv->DeviceID(0x0700, 2, TRUE, 2, &longPath), E_INVALIDARG);
    EXPECT_EQ(second.OpenCount(), 0u);

    // The id is still free: a good binding now takes it.
    DIHIDFFINITINFO good{sizeof(DIHIDFFINITINFO), const_cast<LPWSTR>(path.c_str()), {}};
    EXPECT_EQ(drv->DeviceID(0x0700, 2, TRUE, 2, &good), S_OK);
    EXPECT_TRUE(second.WaitForReports(1, 2000)) << "binding sends the all-off report";
}

TEST(BadBinding, APathThatCannotBeOpenedBindsAndDropsReportsSilently) {
    BoundDriver d;
    std::wstring nowhere = L"\\\\.\\pipe\\no-pad-here";
    DIHIDFFINITINFO init{sizeof(DIHIDFFINITINFO), const_cast<LPWSTR>(nowhere.c_str()), {}};
    ASSERT_EQ(d.Driver()->DeviceID(0x0700, 4, TRUE, 4, &init), S_OK);
    d.Driver()->SetGain(4, 10000);
    const DWORD h = d.Start(EffectShape::Constant(10000, 100000).WithPolar(0), DIEP_ALLPARAMS | DIEP_START, 4);
    EXPECT_EQ(d.Status(h, 4), static_cast<DWORD>(DIEGES_PLAYING));
    EXPECT_TRUE(WaitForStopped(d.Driver(), 4, h, 2000)) << "the device plays on without a pad";
}

TEST(BadBinding, AnUnpluggedPadLosesReportsAndGetsThemAgainWhenPluggedBack) {
    BoundDriver d;
    d.pad.Unplug();
    const DWORD h = d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    ::Sleep(100);
    ASSERT_TRUE(d.pad.Plug());
    d.Driver()->StopEffect(0, h);
    EXPECT_TRUE(d.WaitForValues(0, 0)) << "the next change reaches the pad again";
}

}  // namespace
}  // namespace fftests
