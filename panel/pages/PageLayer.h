// The page layer's entry points: what the page procedures hand to the page
// content, by page number (0 test, 1 buttons, 2 keyboard, 3 vibration,
// 4 check, 5 about).
#pragma once

#include <windows.h>
#include <dinput.h>

namespace padpanel {

// Builds the controls of all pages once the record is loaded (test page init).
void BuildPages(HWND page);
// Destroys every control and empties its slot (rebuild and module unload).
void DestroyControls();

// Every page draws its background and the logo, then its own controls.
void PaintPage(HWND page, int pageNumber, HDC dc);
void OnPageClick(HWND page, int pageNumber, int x, int y);
void OnPageTick(HWND page, int pageNumber, const DIJOYSTATE& state);
void OnPageDrag(HWND page, int pageNumber, int x, int y);
void OnPageRelease(HWND page, int pageNumber, int x, int y);

// The control updates that go with EnterPage, before and after its write.
void OnEnterPageBefore(HWND page, int code);
void OnEnterPageAfter(HWND page, int code);

// The key prompt of the keyboard page (template 175).
INT_PTR CALLBACK KeyPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace padpanel
