// The vibration page on Windows: its controls as the rules' view, the motor
// report, the wave, and the runtime library's generator.
#include <cstdlib>

#include "common/win/GdiResources.h"
#include "panel/SetupFile.h"
#include "panel/controls/ClippedDrawing.h"
#include "panel/controls/ControlRects.h"
#include "panel/pages/PadMotors.h"
#include "panel/pages/PageContext.h"
#include "panel/pages/Pages.h"
#include "panel/pages/Slots.h"
#include "panel/pages/VibrationRules.h"

namespace padpanel {

namespace {

int SlotOf(VibrationControl c) {
    switch (c) {
    case VibrationControl::Initial: return kPowerInitialButton;
    case VibrationControl::Auto: return kAutoButton;
    case VibrationControl::Manual: return kManualButton;
    case VibrationControl::Left: return kLeftMotorButton;
    case VibrationControl::Right: return kRightMotorButton;
    case VibrationControl::StrengthGauge: return kStrengthGauge;
    case VibrationControl::Arrow: return kStrengthArrow;
    case VibrationControl::Ball: return kPeriodBall;
    case VibrationControl::Cursor: return kPowerCursor;
    }
    return -1;
}

class PageView final : public VibrationView {
public:
    explicit PageView(HWND page) : page_(page) {}

    bool Has(VibrationControl c) const override { return Control(SlotOf(c)) != nullptr; }
    bool IsDown(VibrationControl c) const override { return padpanel::IsDown(SlotOf(c)); }
    void SetDown(VibrationControl c, bool down) override {
        if (BitmapControl* b = Control(SlotOf(c))) b->SetValue(page_, down ? 1 : 0);
    }
    bool Hits(VibrationControl c, int32_t x, int32_t y) const override {
        const BitmapControl* b = Control(SlotOf(c));
        return b && b->HitTest(x, y);
    }
    Box Rect(VibrationControl c) const override {
        RECT r{};
        if (const BitmapControl* b = Control(SlotOf(c))) b->GetRect(&r);
        return ToBox(r);
    }
    void SetStrengthLevel(uint32_t level) override {
        if (BitmapControl* g = Control(kStrengthGauge)) g->SetValue(page_, level << 16);
    }
    void MoveArrow(int32_t dx) override {
        if (BitmapControl* a = Control(kStrengthArrow)) a->Move(page_, dx, 0, true);
    }
    void MoveBall(int32_t dx) override {
        if (BitmapControl* b = Control(kPeriodBall)) b->Move(page_, dx, 0, true);
    }
    void InvalidateWave() override { InvalidateArea(page_, ToRect(kWaveArea), true); }
    uint32_t CursorValue() const override {
        const BitmapControl* c = Control(kPowerCursor);
        return c ? c->GetValue() : 0;
    }
    void MoveCursor(uint32_t h, uint32_t u) override {
        if (BitmapControl* c = Control(kPowerCursor)) c->Move(page_, static_cast<int32_t>(h), static_cast<int32_t>(u), true);
    }
    void Send(bool leftOff, bool rightOff, int32_t leftLevel, int32_t rightLevel) override {
        SendMotorReport(leftOff, rightOff, leftLevel, rightLevel);
    }
    void Seed(uint32_t seed) override { std::srand(seed); }
    int32_t Random() override { return std::rand() & 0x7FFF; }

private:
    HWND page_;
};

VibrationState StateOf(PageContext& c) {
    return VibrationState{c.LeftRunMs,         c.RightRunMs,         c.LeftStartTick,       c.RightStartTick,
                          c.AutoPause,         c.DraggingPower,      c.DraggingTime,        c.Current.MotorPower,
                          c.Current.TimeCycle, c.Current.AutoMode,   c.Current.AxisCalibration[0],
                          c.Current.AxisCalibration[1]};
}

void DrawWave(HDC dc, uint32_t period) {
    const std::vector<WavePoint> points = WavePoints(period);
    if (points.empty()) return;
    RECT bounds{points.front().X, points.front().Y, points.front().X + 1, points.front().Y + 1};
    for (const WavePoint& p : points) {
        const RECT dot{p.X, p.Y, p.X + 1, p.Y + 1};
        ::UnionRect(&bounds, &bounds, &dot);
    }
    ::InflateRect(&bounds, 2, 2);  // the pen is 3 pixels wide
    if (!Reaches(dc, bounds)) return;
    const win::UniqueGdiObject pen(::CreatePen(PS_SOLID, 3, RGB(255, 255, 255)));
    const win::ScopedSelection selected(dc, pen.get());
    ::MoveToEx(dc, points.front().X, points.front().Y, nullptr);
    for (size_t i = 1; i < points.size(); ++i) ::LineTo(dc, points[i].X, points[i].Y);
}

}  // namespace

void EnterVibrationPage(HWND page) {
    PageView view(page);
    ShowVibrationSettings(StateOf(Pages()), view);
}

void PaintVibrationPage(HWND, HDC dc) {
    const COLORREF previous = ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    for (int slot : {kPowerInitialButton, kAutoButton, kManualButton, kLeftMotorButton, kRightMotorButton,
                     kStrengthGauge, kStrengthArrow, kPeriodBall, kPowerCursor})
        DrawSlot(slot, dc);
    SetupEntry rhythm;
    if (ReadSetupEntry("PowerPage", "TimeCycle", rhythm)) {
        DrawTextIn(dc, rhythm.Text, RECT{rhythm.Left, rhythm.Top, rhythm.Right, rhythm.Bottom});
    }
    DrawWave(dc, Pages().Current.TimeCycle);
    ::SetTextColor(dc, previous);
}

void ClickVibrationPage(HWND page, int x, int y) {
    PageView view(page);
    VibrationState state = StateOf(Pages());
    ClickVibrationPage(state, view, x, y, ::GetTickCount());
}

void DragVibrationPage(HWND page, int x) {
    PageView view(page);
    VibrationState state = StateOf(Pages());
    DragVibrationPage(state, view, x);
}

void ReleaseVibrationPage(HWND page, int x) {
    PageView view(page);
    VibrationState state = StateOf(Pages());
    ReleaseVibrationPage(state, view, x);
}

void TickVibrationPage(HWND page, const DIJOYSTATE& pad) {
    PageView view(page);
    VibrationState state = StateOf(Pages());
    TickVibrationPage(state, view, pad.lX, pad.lY, ::GetTickCount());
}

}  // namespace padpanel
