
#include <array>
#include <memory>
#include <new>
#include <string>

#include "panel/SetupFile.h"
#include "panel/controls/Backgrounds.h"
#include "panel/controls/ControlRects.h"
#include "panel/controls/HatIndicator.h"
#include "panel/controls/ImageButton.h"
#include "panel/controls/ImageSprite.h"
#include "panel/controls/LevelGauge.h"
#include "panel/controls/PositionCursor.h"
#include "panel/pages/ButtonGrid.h"
#include "panel/pages/PageFiles.h"
#include "panel/pages/PageLayer.h"
#include "panel/pages/Slots.h"

namespace padpanel {

namespace {

constexpr RECT kPage{0, 0, 500, 400};

constexpr std::array<RECT, 8> kHatRects = {{
    {105, 203, 173, 271},  // up
    {151, 223, 219, 291},  // up-right
    {174, 271, 242, 339},  // right
    {153, 320, 221, 388},  // down-right
    {103, 341, 171, 409},  // down
    {55, 321, 123, 389},   // down-left
    {34, 272, 102, 340},   // left
    {56, 222, 124, 290},   // up-left
}};

// A caption's rectangle and text from Setup.ini; an empty one when missing.
struct CaptionEntry {
    RECT Rect{};
    std::string Text;
};

CaptionEntry ReadCaption(const char* section, const char* key) {
    SetupEntry entry;
    ReadSetupEntry(section, key, entry);
    return CaptionEntry{RECT{entry.Left, entry.Top, entry.Right, entry.Bottom}, entry.Text};
}

class Builder {
public:
    Builder(HWND page, std::string folder) : page_(page), folder_(std::move(folder)) {}

    std::string Path(const char* name) const { return ImagePath(folder_, name); }

    // A control that cannot be allocated leaves its slot empty.
    template <class T, class... Args>
    void Put(int slot, Args&&... args) {
        Pages().Controls[slot].reset(new (std::nothrow) T(std::forward<Args>(args)...));
    }

    void Background(int slot, const char* name) {
        const std::string path = Path(name);
        Put<PageBackground>(slot, nullptr, path.c_str(), kPage, page_);
    }
    void Patch(int slot, const RECT& source) {
        const std::string path = Path("Background.bmp");
        Put<BackgroundPatch>(slot, nullptr, path.c_str(), kPage, source);
    }
    void Sprite(int slot, const char* name, const RECT& rect) {
        const std::string path = Path(name);
        Put<ImageSprite>(slot, nullptr, path.c_str(), rect);
    }
    void Button(int slot, const char* normal, const char* lit, const RECT& rect) {
        const std::string n = normal ? Path(normal) : std::string(), l = lit ? Path(lit) : std::string();
        ImageButtonSpec params;
        params.Normal = normal ? n.c_str() : nullptr;
        params.Lit = lit ? l.c_str() : nullptr;
        params.Rect = rect;
        Put<ImageButton>(slot, nullptr, params, page_);
    }
    template <class T = ImageButton>
    void CaptionedButton(int slot, const char* normal, const char* lit, const RECT& rect, const CaptionEntry& caption) {
        const std::string n = Path(normal), l = Path(lit);
        ImageButtonSpec params;
        params.Normal = n.c_str();
        params.Lit = l.c_str();
        params.Rect = rect;
        params.CaptionRect = caption.Rect;
        params.Text = caption.Text.c_str();
        params.ShowCaption = true;
        Put<T>(slot, nullptr, params, page_);
    }
    void Gauge(int slot, const char* background, const char* fill, const RECT& rect, int32_t marginLeft,
               int32_t marginRight, bool trim, const CaptionEntry& caption) {
        const std::string b = background ? Path(background) : std::string(), f = Path(fill);
        LevelGaugeSpec params;
        params.Background = background ? b.c_str() : nullptr;
        params.Fill = f.c_str();
        params.Rect = rect;
        params.CaptionRect = caption.Rect;
        params.Text = caption.Text.c_str();
        params.MarginLeft = marginLeft;
        params.MarginRight = marginRight;
        params.TrimTrack = trim;
        Put<LevelGauge>(slot, params, page_);
    }
    void Cursor(int slot, const char* dot, const RECT& range, POINT centre, bool black, const CaptionEntry* caption) {
        const std::string d = Path(dot);
        PositionCursorSpec params;
        params.Dot = d.c_str();
        params.Range = range;
        params.DotSize = 30;
        params.Centre = centre;
        if (caption) {
            params.CaptionRect = caption->Rect;
            params.Text = caption->Text.c_str();
        }
        params.BlackTransparent = black;
        Put<PositionCursor>(slot, params, page_);
    }
    void Hat() {
        std::array<std::string, 8> paths;
        std::array<const char*, 8> names{};
        for (size_t i = 0; i < paths.size(); ++i) {
            paths[i] = Path(("BmpCoolHat_" + std::to_string(i + 1) + ".bmp").c_str());
            names[i] = paths[i].c_str();
        }
        Put<HatIndicator>(kHat, nullptr, names, kHatRects, 0u);
    }

private:
    HWND page_;
    std::string folder_;
};

void BuildTestPage(Builder& b, const PageContext& context) {
    b.Background(kTestBackground, "BKJoystick.bmp");
    b.Button(kTurboButton, "BtnTurbo.bmp", "BtnTurbo_1.bmp", RECT{40, 25, 110, 45});
    b.Button(kClearButton, nullptr, "BtnClear.bmp", RECT{120, 25, 190, 45});
    b.Button(kTurboMarker, "BtnWhiteBall.bmp", nullptr, RECT{0, 0, 46, 46});
    const CaptionEntry xy = ReadCaption("TestPage", "X_Y_0");
    b.Cursor(kTestCursor, "BKCursor.bmp", RECT{326, 250, 429, 355}, POINT{377, 302}, false, &xy);
    if (context.AxisCount > 2)
        b.Gauge(kTestZGauge, "AxesSlider.bmp", "AxesSlider_1.bmp", RECT{28, 146, 241, 229}, 40, 83, true,
                ReadCaption("TestPage", "Axies2_0"));
    if (context.AxisCount > 3)
        b.Gauge(kTestRudderGauge, "AxesSlider.bmp", "AxesSlider_1.bmp", RECT{268, 146, 481, 229}, 40, 83, true,
                ReadCaption("TestPage", "Axies3_0"));
    b.Gauge(kSensitivityGauge, "AxesSensitive.bmp", "AxesSensitive_1.bmp", RECT{280, 250, 308, 283}, 0, 0, false,
            ReadCaption("TestPage", "Sensitivity_0"));
    b.Hat();
}

void BuildButtonPages(Builder& b, const PageContext& context) {
    b.Background(kKeyboardBackground, "BKKeyboardMap.bmp");
    b.Background(kButtonBackground, "BKKeyMap.bmp");
    if (context.ButtonCount < 12) {
        // Hides the right column's rows from the first missing button down.
        const int32_t top = 47 * static_cast<int32_t>(context.ButtonCount) - 220;
        const RECT rows{259, top > 0 ? top : 0, 500, 344};
        b.Patch(kKeyboardPatch, rows);
        b.Patch(kButtonPatch, rows);
    }
    b.Button(kInitialButton, "BtnInitial.bmp", "BtnInitial_1.bmp", RECT{114, 358, 198, 382});
    b.Button(kLoadButton, "BtnLoad.bmp", "BtnLoad_1.bmp", RECT{211, 358, 295, 382});
    b.Button(kSaveButton, "BtnSave.bmp", "BtnSave_1.bmp", RECT{312, 358, 396, 382});
}

void BuildPowerPage(Builder& b) {
    b.Background(kPowerBackground, "BKV.bmp");
    b.Button(kPowerInitialButton, "BtnInitial_v.bmp", "BtnInitial_v1.bmp", RECT{126, 177, 199, 198});
    b.Button(kAutoButton, "BtnAuto_v.bmp", "BtnAuto_v1.bmp", RECT{211, 177, 284, 198});
    b.Button(kManualButton, "BtnManual_v.bmp", "BtnManual_v1.bmp", RECT{300, 177, 373, 198});
    b.CaptionedButton<CaptionButton>(kLeftMotorButton, "BtnVLeft.bmp", "BtnVLeft_1.bmp", RECT{42, 270, 122, 351},
                                     ReadCaption("PowerPage", "LeftMotor"));
    b.CaptionedButton<CaptionButton>(kRightMotorButton, "BtnVRight.bmp", "BtnVRight_1.bmp",
                                     RECT{377, 270, 457, 351}, ReadCaption("PowerPage", "RightMotor"));
    b.Gauge(kStrengthGauge, nullptr, "BKPowerLine.bmp", RECT{79, 220, 423, 242}, 0, 0, false,
            ReadCaption("PowerPage", "MotorPower"));
    b.Sprite(kStrengthArrow, "BKArrow.bmp", RECT{79, 239, 88, 248});
    b.Sprite(kPeriodBall, "BKTimeBall.bmp", RECT{75, 71, 96, 92});
    b.Cursor(kPowerCursor, "BKCursor_1.bmp", RECT{194, 270, 309, 385}, POINT{251, 327}, true, nullptr);
}

void BuildCheckPage(Builder& b, const PageContext& context) {
    b.Background(kCheckBackground, "BKJoyCheck.bmp");
    if (context.AxisCount < 4) b.Patch(kCheckPatch, RECT{27, 294, 242, 374});
    const CaptionEntry xy = ReadCaption("CheckPage", "X_Y_0");
    b.Cursor(kCheckCursor, "BKCursor.bmp", RECT{79, 66, 188, 175}, POINT{133, 120}, false, &xy);
    b.Gauge(kCheckZGauge, "AxesSlider.bmp", "AxesSlider_1.bmp", RECT{27, 200, 242, 284}, 40, 83, true,
            ReadCaption("CheckPage", "Axies2_0"));
    if (context.AxisCount >= 4)
        b.Gauge(kCheckRudderGauge, "AxesSlider.bmp", "AxesSlider_1.bmp", RECT{27, 294, 242, 374}, 40, 83, true,
                ReadCaption("CheckPage", "Axies3_0"));
    b.Button(kCheckButton, "BtnCheck.bmp", "BtnCheck_1.bmp", RECT{223, 142, 307, 166});
    b.Button(kNextButton, "BtnNext.bmp", nullptr, RECT{223, 142, 307, 166});
    b.Button(kCheckSaveButton, "BtnSave.bmp", nullptr, RECT{223, 142, 307, 166});
}

void BuildButtonFamilies(Builder& b, const PageContext& context) {
    const int count = context.ButtonCount < kPadButtons ? static_cast<int>(context.ButtonCount) : kPadButtons;
    for (int k = 1; k <= count; ++k) {
        const std::string numbered = "BtnButton_" + std::to_string(k) + ".bmp";
        // The caption is the button's key name, drawn while it is lit.
        b.CaptionedButton(kFirstIndicator + k - 1, "BtnButton.bmp", numbered.c_str(), ToRect(IndicatorBox(k)),
                          CaptionEntry{ToRect(IndicatorCaptionBox(k)), std::string()});
        b.Button(kFirstSetButton + k - 1, "BtnSet.bmp", "BtnSet_1.bmp", ToRect(SetButtonBox(k)));
        b.Sprite(kFirstPicture + k - 1, numbered.c_str(), RECT{0, 0, 42, 42});
    }
}

}  // namespace

void BuildPages(HWND page) {
    DestroyControls();
    const PageContext& context = Pages();
    Builder b(page, ImageFolder());
    BuildTestPage(b, context);
    b.Sprite(kLogo, "LogoJoy.bmp", RECT{204, 0, 292, 57});
    BuildButtonPages(b, context);
    BuildPowerPage(b);
    BuildCheckPage(b, context);
    b.Background(kAboutBackground, "BKAbout.bmp");
    BuildButtonFamilies(b, context);
}

void DestroyControls() {
    for (auto& control : Pages().Controls) control.reset();
}

}  // namespace padpanel
