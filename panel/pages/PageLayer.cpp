#include "panel/pages/PageLayer.h"

#include "panel/pages/PadMotors.h"
#include "panel/pages/PageContext.h"
#include "panel/pages/Pages.h"
#include "panel/pages/Slots.h"

namespace padpanel {

namespace {

constexpr int kBackgrounds[6] = {kTestBackground, kButtonBackground, kKeyboardBackground,
                                 kPowerBackground, kCheckBackground,  kAboutBackground};

}  // namespace

void DrawSlot(int slot, HDC dc) {
    if (BitmapControl* c = Control(slot)) c->Draw(dc);
}

void PaintPage(HWND page, int pageNumber, HDC dc) {
    if (pageNumber < 0 || pageNumber > 5) return;
    DrawSlot(kBackgrounds[pageNumber], dc);
    DrawSlot(kLogo, dc);
    switch (pageNumber) {
    case 0: PaintTestPage(page, dc); break;
    case 1:
    case 2: PaintButtonPages(page, pageNumber, dc); break;
    case 3: PaintVibrationPage(page, dc); break;
    case 4: PaintCheckPage(page, dc); break;
    default: break;
    }
}

void OnPageClick(HWND page, int pageNumber, int x, int y) {
    switch (pageNumber) {
    case 0: ClickTestPage(page, x, y); break;
    case 1:
    case 2: ClickButtonPages(page, pageNumber, x, y); break;
    case 3: ClickVibrationPage(page, x, y); break;
    case 4: ClickCheckPage(page, x, y); break;
    default: break;
    }
}

void OnPageTick(HWND page, int pageNumber, const DIJOYSTATE& state) {
    if (pageNumber == 3) {
        TickVibrationPage(page, state);
        return;
    }
    EndMotorTest();
    switch (pageNumber) {
    case 0: TickTestPage(page, state); break;
    case 1: TickAssignmentPage(page, state); break;
    case 4: TickCheckPage(page, state); break;
    default: break;
    }
}

void OnPageDrag(HWND page, int pageNumber, int x, int) {
    if (pageNumber == 3) DragVibrationPage(page, x);
}

void OnPageRelease(HWND page, int pageNumber, int x, int) {
    if (pageNumber == 3) ReleaseVibrationPage(page, x);
}

void OnEnterPageBefore(HWND page, int code) {
    switch (code) {
    case 1:
    case 2: EnterButtonPages(page, code); break;
    case 3: EnterVibrationPage(page); break;
    case 4: EnterCheckPage(page); break;
    default: break;
    }
}

void OnEnterPageAfter(HWND page, int code) {
    if (code == 0) EnterTestPage(page);
    if (code == 4) ResetCapture();
}

}  // namespace padpanel
