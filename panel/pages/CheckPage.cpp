// The check page: a wizard that measures the calibration words of the stick,
// the Z axis and the rudder.
#include "panel/pages/Calibration.h"
#include "panel/pages/PageContext.h"
#include "panel/pages/Pages.h"
#include "panel/pages/Slots.h"

namespace padpanel {

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
    const COLORREF previous = ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    for (int slot : {kCheckCursor, kCheckZGauge, kCheckPatch, kCheckRudderGauge}) DrawSlot(slot, dc);
    DrawSlot(kCheckButton, dc);  // step 0's button
    ::SetTextColor(dc, previous);
}

}  // namespace padpanel
