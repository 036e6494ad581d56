// The check page: a wizard that measures the calibration words of the stick,
// the Z axis and the rudder, and shows the axes through the record's words.
#include <cstdio>

#include "panel/SetupFile.h"
#include "panel/controls/ClippedDrawing.h"
#include "panel/pages/Calibration.h"
#include "panel/pages/CheckSteps.h"
#include "panel/pages/PageContext.h"
#include "panel/pages/Pages.h"
#include "panel/pages/Slots.h"

namespace padpanel {

namespace {

constexpr int kStepTexts = 5;

int SlotOf(CheckButton b) {
    return b == CheckButton::Check ? kCheckButton : b == CheckButton::Next ? kNextButton : kCheckSaveButton;
}

// Text n of a step: n 0 is "Check_Set0_<step>", n 1..4 "Check_Set0_<step>_<n>".
bool ReadStepText(uint32_t step, int n, SetupEntry& entry) {
    char key[48];
    if (n == 0)
        std::snprintf(key, sizeof key, "Check_Set%d_%u", 0, step);
    else
        std::snprintf(key, sizeof key, "Check_Set%d_%u_%d", 0, step, n);
    return ReadSetupEntry("CheckPage", key, entry);
}

void InvalidateStepTexts(HWND page, uint32_t step) {
    for (int n = 0; n < kStepTexts; ++n) {
        SetupEntry entry;
        ReadStepText(step, n, entry);
        const RECT r{entry.Left, entry.Top, entry.Right, entry.Bottom};
        ::InvalidateRect(page, &r, TRUE);
    }
}

// The axis through its word, as the 8-bit level the gauges and cursor show.
uint32_t Mapped(uint32_t word, int32_t raw) { return MapAxis(word, static_cast<int32_t>(AxisByte(raw))); }

void AdvanceCheckStep(HWND page) {
    PageContext& context = Pages();
    const uint32_t step = context.CheckStep;
    const uint32_t next = NextCheckStep(step, context.AxisCount);
    InvalidateStepTexts(page, step);
    InvalidateStepTexts(page, next);
    // The old button leaves with a repaint of where it stood.
    if (ButtonOfStep(step) == CheckButton::Check) context.FirstSample = 1;
    if (BitmapControl* old = Control(SlotOf(ButtonOfStep(step)))) old->Move(page, 0, 0, true);
    if (next == 0) {
        CommitCaptures(context.CaptureWords, context.Current.AxisCalibration, context.Current.Sensitivity);
        context.CheckStep = 0;
    }
    if (BitmapControl* button = Control(SlotOf(ButtonOfStep(next)))) button->Move(page, 0, ButtonOffsetOfStep(next), true);
    context.CheckStep = next;
}

}  // namespace

void EnterCheckPage(HWND page) {
    if (BitmapControl* check = Control(kCheckButton)) check->Move(page, 0, 0, false);
}

void ResetCapture() {
    PageContext& context = Pages();
    context.CheckStep = 0;
    for (size_t i = 0; i < context.CaptureWords.size(); ++i)
        context.CaptureWords[i] = CaptureStartWord(context.Current.AxisCalibration[i]);
}

void PaintCheckPage(HWND, HDC dc) {
    const uint32_t step = Pages().CheckStep;
    const COLORREF previous = ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    for (int slot : {kCheckCursor, kCheckZGauge, kCheckPatch, kCheckRudderGauge}) DrawSlot(slot, dc);
    BitmapControl* button = step <= kSaveStep ? Control(SlotOf(ButtonOfStep(step))) : nullptr;
    if (button) {
        for (int n = 0; n < kStepTexts; ++n) {
            SetupEntry entry;
            if (!ReadStepText(step, n, entry)) continue;
            DrawTextIn(dc, entry.Text, RECT{entry.Left, entry.Top, entry.Right, entry.Bottom});
        }
        button->Draw(dc);
    }
    ::SetTextColor(dc, previous);
}

void ClickCheckPage(HWND page, int x, int y) {
    const uint32_t step = Pages().CheckStep;
    const BitmapControl* button = Control(SlotOf(ButtonOfStep(step)));
    if (button && button->HitTest(x, y)) AdvanceCheckStep(page);
}

void TickCheckPage(HWND page, const DIJOYSTATE& pad) {
    PageContext& context = Pages();
    const uint32_t* words = context.Current.AxisCalibration;
    if (BitmapControl* cursor = Control(kCheckCursor)) {
        const uint32_t h = Mapped(words[0], pad.lX), r = Mapped(words[1], pad.lY);
        if (cursor->GetValue() != (h << 16 | r)) cursor->Move(page, static_cast<int32_t>(h), static_cast<int32_t>(r), true);
    }
    if (BitmapControl* z = Control(kCheckZGauge)) z->SetValue(page, (255 - Mapped(words[4], pad.lZ)) << 16);
    if (BitmapControl* rudder = Control(kCheckRudderGauge))
        rudder->SetValue(page, (255 - Mapped(words[2], pad.lRz)) << 16);

    const bool first = context.FirstSample != 0;
    auto capture = [&](int i, LONG raw) { CaptureSample(context.CaptureWords[i], words[i], raw, first); };
    switch (context.CheckStep) {
    case 1:
        capture(0, pad.lX);
        capture(1, pad.lY);
        break;
    case 3: capture(4, pad.lZ); break;
    case 5: capture(2, pad.lRz); break;
    default: break;
    }
    context.FirstSample = 0;
}

}  // namespace padpanel
