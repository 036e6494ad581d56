// How a page paints, with its real artwork: only what the update region
// asks for, one write to the window a paint, the area beyond the artwork
// continuing it, and a missing picture leaving only its own control blank.
#include <windows.h>

#include <string>

#include "PagePictures.h"
#include "SheetRig.h"
#include "hosts/cplhost/DrawCallLog.h"
#include "hosts/cplhost/PanelRegistration.h"
#include "tools/padstate/PadStateBlock.h"

namespace {

using namespace paneltest;

constexpr RECT kTurbo{40, 25, 110, 45};  // the test page's Turbo button

class PagePaint : public SheetRig {
protected:
    void SetUp() override {
        SheetRig::SetUp();
        std::string error;
        ASSERT_TRUE(cplhost::InstallPanelData(DistPath("Zororo"), &error)) << error;
        module_.reset(::LoadLibraryA(DistPath("padpanel.dll").c_str()));  // kept loaded, so its imports stay patched
        ASSERT_TRUE(draws_.Attach(module_.get(), &error)) << error;
    }
    void TearDown() override {
        SheetRig::TearDown();
        draws_.Detach();
    }
    // Invalidates `area` of the current page and lets one paint happen.
    void PaintOnly(const RECT& area) {
        const HWND page = host_.CurrentPage();
        ::KillTimer(page, 30);  // no tick may add to the paint
        host_.Pump(30);
        draws_.Clear();
        ::InvalidateRect(page, &area, TRUE);
        ::UpdateWindow(page);
    }

    win::UniqueModule module_;
    cplhost::DrawCallLog draws_;
};

TEST_F(PagePaint, APaintOfOneControlsAreaDrawsOnlyWhatMeetsItAndWritesTheWindowOnce) {
    Open();
    PaintOnly(kTurbo);
    ASSERT_FALSE(draws_.Calls().empty()) << "the paint drew nothing";
    bool drewTheButton = false;
    for (const cplhost::DrawCall& call : draws_.Calls()) {
        RECT meet;
        EXPECT_TRUE(::IntersectRect(&meet, &call.Area, &kTurbo))
            << call.Function << " at (" << call.Area.left << "," << call.Area.top << "," << call.Area.right << ","
            << call.Area.bottom << ") lies outside the update region";
        drewTheButton |= ::EqualRect(&call.Area, &kTurbo) && !call.ToWindow;
    }
    EXPECT_TRUE(drewTheButton) << "the Turbo button itself";
    EXPECT_EQ(draws_.WindowWrites(), 1) << "one copy to the window";

    // A whole-page paint also reaches the window once.
    PaintOnly(RECT{0, 0, 2000, 2000});
    EXPECT_EQ(draws_.WindowWrites(), 1);
    EXPECT_GT(draws_.Calls().size(), 20u) << "every control of the page";
}

TEST_F(PagePaint, OnlyAPageThatPaintsLeavesErasingOutAndAPageThatCannotIsErasedAsEver) {
    constexpr COLORREF kMarker = RGB(1, 2, 3);
    auto erases = [&] {
        Dib target(8, 8, kMarker);
        ::SendMessageA(host_.CurrentPage(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.Dc()), 0);
        return target.At(4, 4);
    };
    Open();
    for (int page : {0, 3}) {
        Show(page);
        EXPECT_EQ(erases(), kMarker) << "page " << page << " was erased, though its paint covers it";
    }

    // The test page paints only while its pad answers; otherwise the dialog erases.
    Show(0);
    pad_->Failures = padstate::kFailInput;
    const RECT hat{100, 300, 140, 340};
    PaintOnly(hat);
    const COLORREF blank = erases();
    EXPECT_NE(blank, kMarker);
    Picture art;
    ASSERT_TRUE(ReadPicture(ReferencePath("test_still"), art));
    EXPECT_NE(art.At(120, 320), blank);
    EXPECT_EQ(PagePixel(120, 320), blank) << "the silent pad's page shows the dialog's erase";
    pad_->Failures = 0;
    host_.Close();

    pad_->Failures = padstate::kFailNoPad;  // a sheet that binds no pad draws nothing
    Open();
    EXPECT_NE(erases(), kMarker);
}

TEST_F(PagePaint, EveryPageBeyondItsArtworkContinuesTheArtworksLastColumnAndRow) {
    Open();
    for (int page : {0, 1, 2, 3, 4, 5}) {
        Show(page);
        RECT client;
        ::GetClientRect(host_.CurrentPage(), &client);
        ASSERT_GT(client.right, kArtWidth) << "the page is wider than its artwork under this font";
        ASSERT_GT(client.bottom, kArtHeight);
        Dib shown(client.right, client.bottom);
        CaptureClient(host_.CurrentPage(), shown);
        for (int y = 0; y < client.bottom; y += 7)
            for (int x = y < kArtHeight ? kArtWidth : 0; x < client.right; x += 5) {
                const int ex = x < kArtWidth ? x : kArtWidth - 1, ey = y < kArtHeight ? y : kArtHeight - 1;
                ASSERT_EQ(shown.At(x, y), shown.At(ex, ey)) << "page " << page << " at (" << x << ", " << y << ")";
            }
    }
}

TEST_F(PagePaint, AMissingPictureLeavesItsControlBlankAndTheRestOfThePageDrawn) {
    ASSERT_TRUE(::DeleteFileA(SystemPath("Zororo\\Image\\BtnTurbo.bmp").c_str()));
    Picture background, expected;
    ASSERT_TRUE(ReadPicture(SystemPath("Zororo\\Image\\BKJoystick.bmp"), background));
    ASSERT_TRUE(ReadPicture(ReferencePath("test_still"), expected));
    Open();
    host_.Pump(150);
    Dib shown(kArtWidth, kArtHeight);
    CaptureClient(host_.CurrentPage(), shown);
    for (int y = 0; y < kArtHeight; ++y)
        for (int x = 0; x < kArtWidth; ++x) {
            const POINT at{x, y};
            const bool turbo = ::PtInRect(&kTurbo, at) != FALSE;
            ASSERT_EQ(shown.At(x, y), turbo ? background.At(x, y) : expected.At(x, y))
                << (turbo ? "the Turbo button's place shows the page background" : "the rest as ever") << " at ("
                << x << ", " << y << ")";
        }
}

}  // namespace
