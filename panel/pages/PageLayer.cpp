// The page content is not built yet: no controls exist, so there is nothing
// to draw, hit or update. Each entry point below is where it plugs in.
#include "panel/pages/PageLayer.h"

#include "panel/pages/PageContext.h"

namespace padpanel {

void BuildPages(HWND) { DestroyControls(); }

void DestroyControls() {
    for (auto& control : Pages().Controls) control.reset();
}

void PaintPage(HWND, int, HDC) {}
void OnPageClick(HWND, int, int, int) {}
void OnPageTick(HWND, int, const DIJOYSTATE&) {}
void OnPageDrag(HWND, int, int, int) {}
void OnPageRelease(HWND, int, int, int) {}
void OnEnterPageBefore(HWND, int) {}
void OnEnterPageAfter(HWND, int) {}
void StopMotors() {}

INT_PTR CALLBACK KeyPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace padpanel
