// The test page: the pad live (stick, Z and rudder, hat, twelve buttons with
// their sounds), turbo per button, and the axis sensitivity.
#include <algorithm>
#include <array>

#include "panel/pages/Calibration.h"
#include "panel/pages/EnterPageTable.h"
#include "panel/pages/KeyNames.h"
#include "panel/pages/PageContext.h"
#include "panel/pages/PageFiles.h"
#include "panel/pages/Pages.h"
#include "panel/pages/Slots.h"
#include "panel/pages/TestPageRules.h"

namespace padpanel {

namespace {

// Each turbo button's blink start; 0 while it has none.
std::array<uint32_t, kPadButtons> g_turboTicks{};

int ShownButtons() { return static_cast<int>(std::min<uint32_t>(Pages().ButtonCount, kPadButtons)); }

// The marker framed round an indicator: its corner 2 pixels up and left.
void PlaceMarker(HWND page, BitmapControl& indicator, bool redraw) {
    BitmapControl* marker = Control(kTurboMarker);
    if (!marker) return;
    RECT r;
    indicator.GetRect(&r);
    marker->Move(page, r.left - 2, r.top - 2, redraw);
    if (redraw) marker->Invalidate(page, false);
}

void StoreAndShow(HWND page) {
    EnterPage(page, kCommitCurrent);
    EnterPage(page, 0);
}

}  // namespace

void EnterTestPage(HWND page) {
    const pad::JoySettingRecord& current = Pages().Current;
    if (BitmapControl* gauge = Control(kSensitivityGauge))
        gauge->SetValue(page, SensitivityGaugeLevel(static_cast<int>(std::min<uint32_t>(current.Sensitivity, 2))));
    for (int k = 1; k <= kPadButtons; ++k) {
        BitmapControl* indicator = Indicator(k);
        if (!indicator) continue;
        indicator->SetMark(page, current.TurboFlags[k - 1] ? 1 : 0);
        char name[kKeyNameCapacity] = "";
        if (current.KeyCodes[k - 1] != 0) FormatKeyName(current.KeyCodes[k - 1], name, sizeof name);
        indicator->SetText(name);
    }
}

void PaintTestPage(HWND page, HDC dc) {
    const COLORREF previous = ::SetTextColor(dc, RGB(255, 255, 255));
    for (int slot : {kTurboButton, kClearButton, kTestCursor, kTestZGauge, kTestRudderGauge, kSensitivityGauge, kHat})
        DrawSlot(slot, dc);
    for (int k = 1; k <= kPadButtons; ++k) {
        BitmapControl* indicator = Indicator(k);
        if (!indicator) continue;
        if (indicator->GetMark()) {
            PlaceMarker(page, *indicator, false);
            DrawSlot(kTurboMarker, dc);
        }
        indicator->Draw(dc);
    }
    ::SetTextColor(dc, previous);
}

void ClickTestPage(HWND page, int x, int y) {
    pad::JoySettingRecord& current = Pages().Current;
    BitmapControl* turbo = Control(kTurboButton);
    BitmapControl* clear = Control(kClearButton);
    if (turbo && turbo->HitTest(x, y)) {
        const uint32_t editing = turbo->GetValue() ? 0 : 1;
        turbo->SetValue(page, editing);
        if (clear) clear->SetValue(page, editing);
    }
    if (turbo && turbo->GetValue()) {
        for (int k = 1; k <= kPadButtons; ++k) {
            BitmapControl* indicator = Indicator(k);
            if (!indicator || !indicator->HitTest(x, y)) continue;
            const int32_t mark = indicator->GetMark() ? 0 : 1;
            indicator->SetMark(page, mark);
            current.TurboFlags[k - 1] = static_cast<uint8_t>(mark);
            PlaceMarker(page, *indicator, true);
        }
        StoreAndShow(page);
    }
    if (clear && clear->HitTest(x, y) && clear->GetValue()) {
        for (int k = 1; k <= kPadButtons; ++k) {
            BitmapControl* indicator = Indicator(k);
            if (!indicator || !indicator->GetMark()) continue;
            indicator->SetMark(page, 0);
            PlaceMarker(page, *indicator, true);
            current.TurboFlags[k - 1] = 0;
        }
        StoreAndShow(page);
    }
    BitmapControl* sensitivity = Control(kSensitivityGauge);
    if (sensitivity && sensitivity->HitTest(x, y)) {
        RECT r;
        sensitivity->GetRect(&r);
        const int level = SensitivityLevelAt(r.top, r.bottom, y);
        sensitivity->SetValue(page, SensitivityGaugeLevel(level));
        const int old = static_cast<int>(std::min<uint32_t>(current.Sensitivity, 2));
        current.Sensitivity = static_cast<uint32_t>(level);
        if (level != old) {
            current.AxisCalibration[0] = RescaleForSensitivity(current.AxisCalibration[0], old, level);
            current.AxisCalibration[1] = RescaleForSensitivity(current.AxisCalibration[1], old, level);
        }
        StoreAndShow(page);
    }
}

void TickTestPage(HWND page, const DIJOYSTATE& state) {
    PageContext& context = Pages();
    if (BitmapControl* cursor = Control(kTestCursor)) {
        const uint32_t x = AxisByte(state.lX), y = AxisByte(state.lY);
        if (cursor->GetValue() != (x << 16 | y)) cursor->Move(page, static_cast<int32_t>(x), static_cast<int32_t>(y), true);
    }
    if (BitmapControl* z = Control(kTestZGauge)) z->SetValue(page, (255 - AxisByte(state.lZ)) << 16);
    if (BitmapControl* rudder = Control(kTestRudderGauge)) rudder->SetValue(page, (255 - AxisByte(state.lRz)) << 16);

    const uint32_t now = ::GetTickCount();
    for (int k = 1; k <= ShownButtons(); ++k) {
        BitmapControl* indicator = Indicator(k);
        if (!indicator) continue;
        const IndicatorStep step = StepIndicator(context.Current.TurboFlags[k - 1] != 0, state.rgbButtons[k - 1],
                                                 indicator->GetValue(), g_turboTicks[k - 1], now);
        if (step.Change) indicator->SetValue(page, step.Lit);
        if (step.Sound) PlayButtonSound(k);
    }
    if (BitmapControl* hat = Control(kHat)) {
        if (hat->GetValue() != state.rgdwPOV[0]) hat->SetValue(page, state.rgdwPOV[0]);
    }
}

}  // namespace padpanel
