// The vibration page: strength, rhythm and the automatic mode, and the
// motors driven by the page itself.
#include <algorithm>

#include "panel/pages/PageContext.h"
#include "panel/pages/Pages.h"
#include "panel/pages/Slots.h"

namespace padpanel {

namespace {

// The strength gauge's width, and the rhythm track's travel.
constexpr int32_t kStrengthWidth = 344;
constexpr int32_t kTrackTravel = 356;

// Levels a stored record may hold past 255 are shown at 255.
int32_t Level(uint32_t value) { return static_cast<int32_t>(std::min<uint32_t>(value, 255)); }

}  // namespace

void EnterVibrationPage(HWND page) {
    const pad::JoySettingRecord& current = Pages().Current;
    const int32_t strength = Level(current.MotorPower), period = Level(current.TimeCycle);
    if (BitmapControl* gauge = Control(kStrengthGauge)) gauge->SetValue(page, static_cast<uint32_t>(strength) << 16);
    if (BitmapControl* arrow = Control(kStrengthArrow)) arrow->Move(page, kStrengthWidth * strength / 255 - 3, 0, true);
    if (BitmapControl* ball = Control(kPeriodBall)) ball->Move(page, period * kTrackTravel / 255 - 11, 0, true);
    const uint32_t automatic = current.AutoMode != 0 ? 1 : 0;
    if (BitmapControl* autoButton = Control(kAutoButton)) autoButton->SetValue(page, automatic);
    if (BitmapControl* manual = Control(kManualButton)) manual->SetValue(page, 1 - automatic);
}

void PaintVibrationPage(HWND, HDC dc) {
    const COLORREF previous = ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    for (int slot : {kPowerInitialButton, kAutoButton, kManualButton, kLeftMotorButton, kRightMotorButton,
                     kStrengthGauge, kStrengthArrow, kPeriodBall, kPowerCursor})
        DrawSlot(slot, dc);
    ::SetTextColor(dc, previous);
}

}  // namespace padpanel
