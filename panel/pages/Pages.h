// Each page's own part of the page layer; PageLayer dispatches to them by
// page number after the common steps (background and logo, motor stops).
#pragma once

#include <windows.h>
#include <dinput.h>

namespace padpanel {

// Test page.
void EnterTestPage(HWND page);  // after the record is stored
void PaintTestPage(HWND page, HDC dc);
void ClickTestPage(HWND page, int x, int y);
void TickTestPage(HWND page, const DIJOYSTATE& state);

// Button assignment (1) and keyboard mapping (2) pages.
void EnterButtonPages(HWND page, int pageNumber);
void PaintButtonPages(HWND page, int pageNumber, HDC dc);
void ClickButtonPages(HWND page, int pageNumber, int x, int y);
void TickAssignmentPage(HWND page, const DIJOYSTATE& state);

// Vibration page.
void EnterVibrationPage(HWND page);  // before the record is stored
void PaintVibrationPage(HWND page, HDC dc);
void ClickVibrationPage(HWND page, int x, int y);
void TickVibrationPage(HWND page, const DIJOYSTATE& state);
void DragVibrationPage(HWND page, int x);
void ReleaseVibrationPage(HWND page, int x);

// Check page.
void EnterCheckPage(HWND page);  // before the record is stored
void ResetCapture();             // after it
void PaintCheckPage(HWND page, HDC dc);
void ClickCheckPage(HWND page, int x, int y);
void TickCheckPage(HWND page, const DIJOYSTATE& state);

// Draws the control in a slot, if there is one.
void DrawSlot(int slot, HDC dc);

}  // namespace padpanel
