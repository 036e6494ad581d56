// The test page at work in the control-panel host: the pad played through
// the stand-in, what the page shows read from its pixels on the screen, its
// sounds and GDI objects counted through the staged DLL's own imports.
#include <windows.h>

#include <cmath>
#include <string>

#include "GdiLedger.h"
#include "PageArt.h"
#include "SheetRig.h"
#include "hosts/dihost/ProcessStats.h"
#include "panel/controls/ControlRects.h"
#include "panel/pages/ButtonGrid.h"

namespace {

using namespace paneltest;

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class TestPage : public SheetRig {
protected:
    void SetUp() override {
        SheetRig::SetUp();
        InstallPageArt();
        module_.reset(::LoadLibraryA(DistPath("padpanel.dll").c_str()));  // kept loaded, so its imports stay patched
        std::string error;
        ASSERT_TRUE(sounds_.Attach(module_.get(), &error)) << error;
        ASSERT_TRUE(gdi_.Attach(module_.get(), &error)) << error;
    }
    void TearDown() override {
        SheetRig::TearDown();
        sounds_.Detach();
        gdi_.Detach();
    }
    COLORREF IndicatorPixel(int k) {
        const POINT c = Centre(padpanel::ToRect(padpanel::IndicatorBox(k)));
        return PagePixel(c.x, c.y);
    }
    void Press(int k, bool down) { pad_->Buttons[k - 1] = down ? 0x80 : 0; }

    win::UniqueModule module_;
    SoundLog sounds_;
    GdiLedger gdi_;
};

TEST_F(TestPage, APressedButtonLightsItsIndicatorWithItsSoundAndGoesDarkWhenReleased) {
    Open();
    EXPECT_EQ(IndicatorPixel(3), kDarkButton);
    Press(3, true);
    EXPECT_TRUE(PumpUntil([&] { return IndicatorPixel(3) == LitButton(3); }, 1000));
    EXPECT_EQ(IndicatorPixel(4), kDarkButton) << "only button 3";
    Press(3, false);
    EXPECT_TRUE(PumpUntil([&] { return IndicatorPixel(3) == kDarkButton; }, 1000));
    Press(10, true);
    host_.Pump(100);
    ASSERT_EQ(sounds_.Played().size(), 2u) << "one sound a press, none while held";
    EXPECT_EQ(sounds_.Played()[0], SystemPath("Zororo\\Wav\\Joy3.wav"));
    EXPECT_EQ(sounds_.Played()[1], SystemPath("Zororo\\Wav\\Joya.wav")) << "button 10 in hexadecimal";
}

TEST_F(TestPage, TheHatAndTheStickShowWhereThePadIs) {
    Open();
    const POINT right = Centre(RECT{174, 271, 242, 339}), up = Centre(RECT{105, 203, 173, 271});
    EXPECT_EQ(PagePixel(right.x, right.y), kPageColour) << "a centred hat shows no direction";
    pad_->Pov[0] = 9000;
    EXPECT_TRUE(PumpUntil([&] { return PagePixel(right.x, right.y) == kHatColour; }, 1000));
    EXPECT_EQ(PagePixel(up.x, up.y), kPageColour);
    EXPECT_EQ(PagePixel(377, 302), kDotColour) << "the dot starts in the centre";
    pad_->Axes[0] = 65535;
    pad_->Axes[1] = 0;
    EXPECT_TRUE(PumpUntil([&] { return PagePixel(425, 253) == kDotColour; }, 1000)) << "right and up";
    EXPECT_EQ(PagePixel(377, 302), kPageColour) << "the old dot is gone";
}

TEST_F(TestPage, ATurboButtonBlinksWhileHeldGoesDarkWhenReleasedAndIsStoredOnApply) {
    WriteStored(UserRecord());
    Open();
    const RECT first = padpanel::ToRect(padpanel::IndicatorBox(1));
    host_.Click(75, 35);  // Turbo
    host_.Click(first.left + 5, first.top + 5);
    host_.Pump(30);
    EXPECT_EQ(PagePixel(first.left - 1, first.top + 20), kMarkerColour) << "a ring round the turbo button";
    pad::JoySettingRecord stored{};
    ASSERT_TRUE(ReadStored(stored));
    EXPECT_EQ(stored.TurboFlags[0], 0) << "while the test page is shown the registry holds its variant";

    Press(1, true);
    int changes = 0;
    COLORREF last = IndicatorPixel(1);
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 1000;) {
        host_.Pump(20);
        const COLORREF now = IndicatorPixel(1);
        if (now != last) ++changes, last = now;
    }
    EXPECT_GE(changes, 5) << "lit and dark in turn, at least 100 ms each";
    EXPECT_LE(changes, 10);
    Press(1, false);
    EXPECT_TRUE(PumpUntil([&] { return IndicatorPixel(1) == kDarkButton; }, 500));

    Show(5);  // the about page stores nothing of its own
    host_.Apply();
    ASSERT_TRUE(ReadStored(stored));
    EXPECT_EQ(stored.TurboFlags[0], 1) << "Apply stores the turbo flag";
    EXPECT_EQ(stored.TurboFlags[4], 1) << "and keeps the record's others";
}

TEST_F(TestPage, ASensitivityClickNarrowsTheStickWordsAndIsStoredOnApply) {
    Open();
    host_.Click(290, 262);  // the gauge's middle third: level 1
    Show(5);
    host_.Apply();
    pad::JoySettingRecord stored{};
    ASSERT_TRUE(ReadStored(stored));
    EXPECT_EQ(stored.Sensitivity, 1u);
    EXPECT_EQ(stored.AxisCalibration[0], 0x407FBFu);
    EXPECT_EQ(stored.AxisCalibration[1], 0x407FBFu);
    EXPECT_EQ(stored.AxisCalibration[4], StagedDefaults().AxisCalibration[4]) << "only X and Y";
}

TEST_F(TestPage, OpeningAndClosingTheSheetAgainAndAgainWithTheStickSweepingLeavesNothingBehind) {
    int tick = 0;
    auto cycle = [&] {
        Open();
        // A hundred ticks of the stick going round, a turn a second.
        for (int i = 0; i < 100; ++i, ++tick) {
            const double a = tick * 2 * 3.14159265 / 100;
            pad_->Axes[0] = static_cast<LONG>(32767 + 30000 * std::cos(a));
            pad_->Axes[1] = static_cast<LONG>(32767 + 30000 * std::sin(a));
            host_.Pump(10);
        }
        for (int page : {1, 2, 3, 4, 5, 0}) Show(page);
        host_.Cancel();
        host_.Close();
    };
    cycle();
    const long gdi = gdi_.Live();
    const DWORD handles = padhost::ProcessHandleCount();
    const size_t heap = padhost::HeapBytesInUse();
    for (int i = 0; i < 20; ++i) cycle();
    EXPECT_EQ(gdi_.Live(), gdi) << "GDI objects of the panel";
    EXPECT_LE(padhost::ProcessHandleCountSettled(handles + 2), handles + 2) << "handles";
    EXPECT_LT(padhost::HeapBytesInUse(), heap + 64 * 1024) << "heap bytes";
}

TEST_F(TestPage, WithoutPicturesSoundsOrLayoutEntriesThePageStillWorks) {
    RemovePageArt();
    InstallSetupIni("[PageTitle]\r\nTitle1=0,0,0,0,Test\r\n");
    Open();
    Press(2, true);
    pad_->Pov[0] = 4500;
    for (int page : {0, 1, 2, 3, 4, 5, 0}) Show(page);
    host_.Pump(100);
    EXPECT_TRUE(host_.IsOpen());
    EXPECT_EQ(sounds_.Played().size(), 1u) << "the sound is still asked for";
    host_.Apply();
    pad::JoySettingRecord stored{};
    EXPECT_TRUE(ReadStored(stored));
}

}  // namespace

int main(int argc, char** argv) { return paneltest::RunSheetTests(argc, argv); }
