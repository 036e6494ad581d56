// The drawn controls on real GDI: pixels read back from DIB sections, and
// what each change invalidates read back from a real window's update region.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "GdiLedger.h"
#include "PanelTestSupport.h"
#include "PixelRig.h"
#include "panel/Module.h"
#include "panel/controls/Backgrounds.h"
#include "panel/controls/BlitTransparent.h"
#include "panel/controls/HatIndicator.h"
#include "panel/controls/ImageButton.h"
#include "panel/controls/ImageSprite.h"
#include "panel/controls/LevelGauge.h"
#include "panel/controls/PositionCursor.h"
#include "panel/controls/TestButton.h"
#include "panel/controls/TransparentImage.h"
#include "panel/pages/PageContext.h"
#include "panel/pages/PageLayer.h"
#include "panel/pages/Slots.h"

namespace {

using namespace paneltest;
using namespace padpanel;

constexpr COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(200, 0, 0), kGreen = RGB(0, 160, 0),
                   kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0);

// A bitmap not selected anywhere, with its bits at hand.
struct Source {
    win::UniqueBitmap Bitmap;
    uint32_t* Bits = nullptr;
    Source(int w, int h, const PixelFn& pixel) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        Bitmap.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        Bits = static_cast<uint32_t*>(bits);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const COLORREF c = pixel(x, y);
                Bits[y * w + x] = static_cast<uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
            }
    }
};

std::string TempFile(const std::string& name) {
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

TEST(BlitTransparent, KeepsTheDestinationUnderTransparentPixelsAndLeavesTheSourceAsItWas) {
    struct Case {
        const char* What;
        PixelFn Pixel;
        COLORREF Transparent;
        COLORREF AtCorner, AtCentre;  // expected at (0,0) and (4,4) of the drawn area
    };
    const Case cases[] = {
        {"all transparent", [](int, int) { return kWhite; }, kWhite, kBlue, kBlue},
        {"opaque", [](int, int) { return kRed; }, kWhite, kRed, kRed},
        {"a white ring round a red centre", [](int x, int y) { return x > 1 && x < 6 && y > 1 && y < 6 ? kRed : kWhite; },
         kWhite, kBlue, kRed},
        {"black transparent, white drawn", [](int x, int y) { return x > 1 && x < 6 && y > 1 && y < 6 ? kWhite : kBlack; },
         kBlack, kBlue, kWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Source source(8, 8, c.Pixel);
        const std::vector<uint32_t> before(source.Bits, source.Bits + 64);
        Dib page(20, 20, kBlue);
        BlitTransparent(page.Dc(), source.Bitmap.get(), 10, 10, 8, 8, 0, 0, c.Transparent);
        EXPECT_EQ(page.At(10, 10), c.AtCorner);
        EXPECT_EQ(page.At(14, 14), c.AtCentre);
        EXPECT_EQ(page.At(9, 9), kBlue) << "nothing drawn outside";
        EXPECT_EQ(page.At(18, 18), kBlue);
        ::GdiFlush();
        EXPECT_EQ(std::vector<uint32_t>(source.Bits, source.Bits + 64), before) << "the source bitmap changed";
    }
}

TEST(BlitTransparent, ReadsFromTheSourceOffsetAndCreatesAndDeletesItsOwnObjectsOnly) {
    Source source(8, 8, [](int, int y) { return y < 4 ? kRed : kGreen; });
    Dib page(20, 20, kBlue);
    GdiLedger ledger;
    std::string error;
    ASSERT_TRUE(ledger.Attach(::GetModuleHandleA(nullptr), &error)) << error;
    BlitTransparent(page.Dc(), source.Bitmap.get(), 0, 0, 8, 4, 0, 4, kWhite);
    EXPECT_EQ(page.At(3, 0), kGreen) << "rows 4..7 of the bitmap";
    EXPECT_EQ(page.At(3, 4), kBlue) << "only the height asked for";
    const long made = ledger.Created();
    EXPECT_GT(made, 0) << "its masks, made for the call";
    EXPECT_EQ(ledger.Live(), 0);
    BlitTransparent(page.Dc(), nullptr, 0, 0, 8, 8, 0, 0, kWhite);
    EXPECT_EQ(ledger.Created(), made) << "a null bitmap creates nothing";
}

// A 4 x 4 picture: columns 0 and 1 white, 2 and 3 red in rows 0 and 1,
// green in rows 2 and 3; drawn over blue.
TEST(TransparentImage, DrawsNoMoreThanThePictureAndOnlyFromItsOwnPixelsFromMasksMadeOnce) {
    struct Point {
        int X, Y;
        COLORREF Colour;
    };
    struct Case {
        const char* What;
        COLORREF Transparent;
        int X, Y, W, H, SourceX, SourceY;
        std::vector<Point> Expect;
    };
    const std::vector<Case> cases = {
        {"a width and height beyond the picture draw the picture's size", kWhite, 2, 2, 8, 8, 0, 0,
         {{4, 2, kRed}, {5, 5, kGreen}, {3, 3, kBlue}, {6, 2, kBlue}, {4, 6, kBlue}}},
        {"rows read past the bottom are left alone", kWhite, 2, 2, 4, 4, 0, 2, {{4, 2, kGreen}, {4, 4, kBlue}}},
        {"a negative offset starts the picture further in", kWhite, 2, 2, 4, 4, -1, 0,
         {{2, 2, kBlue}, {5, 2, kRed}, {6, 2, kBlue}}},
        {"black transparent draws the white columns", kBlack, 2, 2, 4, 4, 0, 0, {{2, 2, kWhite}, {4, 4, kGreen}}},
    };
    const Source source(4, 4, [](int x, int y) { return x < 2 ? kWhite : (y < 2 ? kRed : kGreen); });
    GdiLedger ledger;
    std::string error;
    ASSERT_TRUE(ledger.Attach(::GetModuleHandleA(nullptr), &error)) << error;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const TransparentImage image(source.Bitmap.get(), c.Transparent);
        Dib page(12, 12, kBlue);
        const long made = ledger.Created();
        for (int i = 0; i < 2; ++i) image.Draw(page.Dc(), c.X, c.Y, c.W, c.H, c.SourceX, c.SourceY);
        EXPECT_EQ(ledger.Created(), made) << "a draw makes no masks, bitmaps or device contexts";
        for (const Point& p : c.Expect) EXPECT_EQ(page.At(p.X, p.Y), p.Colour) << "at (" << p.X << ", " << p.Y << ")";
    }
}

// Controls in a real window: what each change leaves stale.
class Invalidation : public ::testing::Test {
protected:
    void Expect(const std::vector<RECT>& stale, bool erases, const char* what) {
        EXPECT_TRUE(page_.StaleIs(stale)) << what << ": stale " << Describe(page_.Stale()) << ", expected "
                                          << Describe(stale);
        if (!stale.empty()) {
            EXPECT_EQ(page_.PaintErases(), erases) << what;
        }
        page_.Clear();
    }
    PageWindow page_;
};

TEST_F(Invalidation, AGaugeRepaintsOnlyTheBandBetweenOldAndNewLevelWithoutErasing) {
    LevelGaugeSpec params;
    params.Rect = Rect(28, 146, 241, 229);
    params.MarginLeft = 40, params.MarginRight = 83, params.TrimTrack = true;
    LevelGauge gauge(params, page_.Handle());
    page_.Clear();
    gauge.SetValue(page_.Handle(), 128u << 16);
    page_.Clear();
    gauge.SetValue(page_.Handle(), 192u << 16);
    Expect({Rect(132, 172, 166, 209)}, false, "H 128 -> 192");
    gauge.SetValue(page_.Handle(), 192u << 16);
    Expect({}, false, "an unchanged value");
}

TEST_F(Invalidation, ACursorRepaintsItsOldAndNewDotCutAtTheRangeEvenForTheSameValue) {
    PositionCursorSpec params;
    params.Range = Rect(326, 250, 429, 355), params.DotSize = 30, params.Centre = POINT{377, 302};
    PositionCursor cursor(params, page_.Handle());
    page_.Clear();
    cursor.SetValue(page_.Handle(), 127u << 16 | 127);
    Expect({Rect(361, 286, 393, 318)}, true, "the same value");
    cursor.Move(page_.Handle(), 255, 127, true);
    Expect({Rect(361, 286, 393, 318), Rect(412, 286, 429, 318)}, true, "x 128");
    RECT dot;
    EXPECT_EQ(cursor.GetRect(&dot)->right, 444) << "the dot itself reaches past the range";
    EXPECT_FALSE(cursor.HitTest(428, 300));
}

TEST_F(Invalidation, AButtonRepaintsItsBuiltRectangleAndTenPixelsACaptionCharacter) {
    ImageButtonSpec params;
    params.Rect = Rect(60, 58, 102, 100), params.CaptionRect = Rect(60, 101, 160, 115);
    params.Text = "ABCD", params.ShowCaption = true;
    ImageButton button(nullptr, params, page_.Handle());
    Expect({Rect(60, 58, 102, 100)}, true, "construction");
    button.Move(page_.Handle(), 5, 0, false);
    Expect({}, false, "a move without redraw");
    button.SetValue(page_.Handle(), 1);
    Expect({Rect(60, 58, 102, 100), Rect(60, 101, 100, 115)}, true, "lit with a 4-character caption");
    button.SetValue(page_.Handle(), 1);
    Expect({}, false, "the same state");
    button.SetText("twenty characters!!!");
    button.SetValue(page_.Handle(), 0);
    Expect({Rect(60, 58, 102, 100), Rect(60, 101, 160, 115)}, true, "a 20-character caption");
    button.Move(page_.Handle(), 0, 10, true);
    Expect({Rect(65, 58, 107, 100), Rect(60, 68, 102, 110), Rect(60, 101, 160, 115)}, true, "a move with redraw");
}

TEST_F(Invalidation, TheHatRepaintsTheDirectionsItLeavesAndEntersOnly) {
    std::array<const char*, 8> none{};
    std::array<RECT, 8> rects;
    for (int i = 0; i < 8; ++i) rects[i] = Rect(10 * i, 0, 10 * i + 8, 8);
    HatIndicator hat(nullptr, none, rects, 0);
    Expect({}, false, "construction");
    hat.SetValue(page_.Handle(), 4500);
    Expect({rects[0], rects[1]}, true, "0 -> 4500");
    hat.SetValue(page_.Handle(), 0xFFFFFFFF);
    Expect({rects[1]}, true, "4500 -> centred");
    hat.SetValue(page_.Handle(), 2250);
    Expect({}, false, "centred -> between two directions");
    hat.Move(page_.Handle(), 3, 3, true);
    Expect({}, false, "a move, even with redraw");
}

TEST_F(Invalidation, PicturesRepaintOnEveryValueAndBackgroundsNeverOnAMove) {
    ImageSprite sprite(nullptr, nullptr, Rect(204, 0, 292, 57));
    sprite.SetValue(page_.Handle(), 0);
    Expect({Rect(204, 0, 292, 57)}, true, "a sprite's unchanged value");
    BackgroundImage background(nullptr, nullptr, Rect(0, 0, 500, 400));
    background.Move(page_.Handle(), 10, 10, true);
    Expect({}, false, "a background's move");
}

TEST(HitTest, LeftAndTopEdgesHitRightAndBottomEdgesMissAndTheOffsetMovesThem) {
    ImageButtonSpec params;
    params.Rect = Rect(40, 25, 110, 45);
    ImageButton button(nullptr, params, nullptr);
    EXPECT_TRUE(button.HitTest(40, 25));
    EXPECT_TRUE(button.HitTest(109, 44));
    EXPECT_FALSE(button.HitTest(110, 30));
    EXPECT_FALSE(button.HitTest(50, 45));
    button.Move(nullptr, 0, 100, false);
    EXPECT_TRUE(button.HitTest(40, 125));
    EXPECT_FALSE(button.HitTest(40, 25));
    RECT r;
    EXPECT_EQ(button.GetRect(&r)->top, 25) << "GetRect gives the built rectangle";
}

TEST(Drawing, AGaugeDrawsItsFillUpToTheLevelOverItsBackground) {
    const std::string background = TempFile("gauge-bg.bmp"), fill = TempFile("gauge-fill.bmp");
    ASSERT_TRUE(WriteBmp(background, 213, 83, [](int, int y) { return y < 26 ? kWhite : kGreen; }));
    ASSERT_TRUE(WriteSolidBmp(fill, 213, 83, kRed));
    LevelGaugeSpec params;
    params.Background = background.c_str(), params.Fill = fill.c_str();
    params.Rect = Rect(28, 146, 241, 229), params.MarginLeft = 40, params.MarginRight = 83, params.TrimTrack = true;
    LevelGauge gauge(params, nullptr);
    Dib page(500, 400, kBlue);
    gauge.SetValue(nullptr, 128u << 16);
    gauge.Draw(page.Dc());
    EXPECT_EQ(page.At(132, 190), kRed) << "filled up to 28 + 40 + 65";
    EXPECT_EQ(page.At(133, 190), kGreen);
    EXPECT_EQ(page.At(100, 150), kRed) << "the fill's full height is drawn";
    EXPECT_EQ(page.At(27, 190), kBlue);
    Dib empty(500, 400, kBlue);
    gauge.SetValue(nullptr, 0);
    gauge.Draw(empty.Dc());
    EXPECT_EQ(empty.At(30, 190), kGreen) << "no fill at 0";
    EXPECT_EQ(empty.At(30, 150), kBlue) << "white of the background is transparent";
}

// The pages' controls, built from the files under the system directory.
class Layout : public ::testing::Test {
protected:
    void SetUp() override {
        InstallStagedSetupIni();
        ::CreateDirectoryA(SystemPath("Zororo\\Image").c_str(), nullptr);
        ASSERT_TRUE(WriteSolidBmp(SystemPath("Zororo\\Image\\Background.bmp"), 500, 400, kGreen));
        ASSERT_TRUE(WriteSolidBmp(SystemPath("Zororo\\Image\\BKKeyMap.bmp"), 500, 400, kRed));
        ResetPageContext();
    }
    void TearDown() override { DestroyControls(); }
    void Build(uint32_t buttons, uint32_t axes) {
        Pages().ButtonCount = buttons;
        Pages().AxisCount = axes;
        BuildPages(nullptr);
    }
};

TEST_F(Layout, EightButtonsAndThreeAxesBuildWhatTheyNeedAndPatchTheRest) {
    Build(8, 3);
    for (int k = 1; k <= 12; ++k) {
        EXPECT_EQ(Indicator(k) != nullptr, k <= 8) << "indicator " << k;
        EXPECT_EQ(SetButton(k) != nullptr, k <= 8) << "set button " << k;
        EXPECT_EQ(Picture(k) != nullptr, k <= 8) << "picture " << k;
    }
    RECT r;
    EXPECT_EQ(Indicator(8)->GetRect(&r)->left, 123) << "second row, second column";
    EXPECT_EQ(r.top, 115);
    EXPECT_EQ(SetButton(8)->GetRect(&r)->left, 259) << "right column, second row";
    EXPECT_EQ(r.top, 109);
    EXPECT_NE(Control(kTestZGauge), nullptr);
    EXPECT_EQ(Control(kTestRudderGauge), nullptr);
    EXPECT_NE(Control(kCheckPatch), nullptr);
    EXPECT_EQ(Control(kCheckRudderGauge), nullptr);
    Dib page(500, 400, kBlue);
    Control(kButtonBackground)->Draw(page.Dc());
    Control(kButtonPatch)->Draw(page.Dc());
    EXPECT_EQ(page.At(300, 155), kRed) << "the right column's first row stays";
    EXPECT_EQ(page.At(300, 156), kGreen) << "covered from y 156 down";
    EXPECT_EQ(page.At(300, 343), kGreen);
    EXPECT_EQ(page.At(300, 344), kRed);
}

TEST_F(Layout, AFullPadNeedsNoPatchAndDestroyingEmptiesEverySlotAndFreesEverything) {
    GdiLedger ledger;
    std::string error;
    ASSERT_TRUE(ledger.Attach(::GetModuleHandleA(nullptr), &error)) << error;
    Build(12, 4);
    for (int slot : {int{kKeyboardPatch}, int{kButtonPatch}, int{kCheckPatch}, 9, 10, 12}) EXPECT_EQ(Control(slot), nullptr) << slot;
    for (int slot : {kTestRudderGauge, kCheckRudderGauge, kHat}) EXPECT_NE(Control(slot), nullptr) << slot;
    EXPECT_NE(Indicator(12), nullptr);
    Build(12, 4);  // building again destroys what was built
    DestroyControls();
    for (int slot = 0; slot < kControlSlotCount; ++slot) EXPECT_EQ(Control(slot), nullptr) << slot;
    DestroyControls();
    EXPECT_GT(ledger.Created(), 0);
    EXPECT_EQ(ledger.Live(), 0) << "every bitmap the controls loaded is deleted";
}

TEST(TestButtonClass, LampsShareOneIconPairUntilTheLastGoesAndShowTwoCharactersAtMost) {
    Module().Instance = ::GetModuleHandleA(nullptr);
    RegisterTestButtonClass();
    EXPECT_FALSE(RegisterTestButtonClass()) << "a second registration fails";
    auto lamp = [](const char* text, int x, LONG_PTR lit) {
        HWND w = ::CreateWindowExA(0, kTestButtonClass, text, WS_POPUP | WS_VISIBLE, x, 0, 32, 33, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        ::SetWindowLongPtrA(w, GWLP_USERDATA, lit);
        ::InvalidateRect(w, nullptr, TRUE);
        return w;
    };
    HWND three = lamp("123", 0, 1), two = lamp("12", 40, 1), dark = lamp("12", 80, 0);
    EXPECT_EQ(TestButtonIconUsers(), 3);
    Dib a(32, 33), b(32, 33), c(32, 33);
    CaptureClient(three, a);
    CaptureClient(two, b);
    CaptureClient(dark, c);
    EXPECT_EQ(a.Pixels(), b.Pixels()) << "a third character is not shown";
    EXPECT_NE(b.Pixels(), c.Pixels()) << "lit and dark lamps look different";
    EXPECT_NE(b.At(16, 8), ::GetSysColor(COLOR_BTNFACE)) << "the lamp icon is drawn";
    ::DestroyWindow(three);
    ::DestroyWindow(dark);
    EXPECT_EQ(TestButtonIconUsers(), 1);
    ::InvalidateRect(two, nullptr, TRUE);
    Dib again(32, 33);
    CaptureClient(two, again);
    EXPECT_EQ(again.Pixels(), b.Pixels()) << "the last lamp still has its icon";
    ::DestroyWindow(two);
    EXPECT_EQ(TestButtonIconUsers(), 0);
}

}  // namespace

int main(int argc, char** argv) {
    int childExitCode = 0;
    if (!paneltest::RunOnlyWithUnmanagedWindows(childExitCode)) return childExitCode;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
