#include "panel/PageProcs.h"

#include <prsht.h>

#include "panel/DIUtil.h"
#include "panel/DeviceBinding.h"
#include "panel/GameCntrlPropSheet.h"
#include "panel/ModelNumber.h"
#include "panel/PageCanvas.h"
#include "panel/SheetPlacement.h"
#include "panel/Settings.h"
#include "panel/pages/EnterPageTable.h"
#include "panel/pages/PageContext.h"
#include "panel/pages/PadMotors.h"
#include "panel/pages/PageLayer.h"

namespace padpanel {

namespace {

constexpr int kNoEnterCode = 99;

struct PageTraits {
    UINT PeriodMs;
    int EnterCode;  // kNoEnterCode: the page stores nothing when it becomes active
    bool DrivesMotors;
    bool Ticks;
    bool Clicks;
};

constexpr PageTraits kTraits[6] = {
    {10, 0, true, true, true},                // test
    {100, 1, false, true, true},              // button assignment
    {500, 2, true, true, true},               // keyboard
    {10, 3, true, true, true},                // vibration
    {10, 4, false, true, true},               // check
    {100, kNoEnterCode, false, false, false},  // about
};

struct PageState {
    IDIGameCntrlPropSheet* Sheet = nullptr;  // the page's application value; the host holds it
    LPDIRECTINPUTDEVICE2A Device = nullptr;  // fetched again at each activation; the sheet owns it
    bool Polling = false;
    bool MoveToggle = false;
    bool Blank = false;  // the last paint found the pad silent: the dialog erases as ever
    DIJOYSTATE State{};
};

PageState g_pages[6];
PageCanvas g_canvases[6];  // one per page window, released with it
LPDIRECTINPUTDEVICE2A g_motorDevice = nullptr;

// A page of a sheet that has its record: it stores, polls, draws and answers.
bool Live(const PageState& state) { return state.Sheet && Pages().Loaded; }

void StopPolling(HWND page, PageState& state) {
    state.Polling = false;
    ::KillTimer(page, kPollTimerId);
}

// A tick's work, also done at once when the button page becomes active.
void PollOnce(HWND page, int p) {
    PageState& state = g_pages[p];
    if (!state.Device) {
        // Nothing bound: the page stays inert.
        return;
    }
    if (SUCCEEDED(DIUtilPollJoystick(state.Device, &state.State))) {
        if (kTraits[p].Ticks) OnPageTick(page, p, state.State);
        DeviceLoss().OnGoodPoll();
        return;
    }
    if (CheckDeviceLost(page)) {
        state.Polling = false;
        state.Device->Unacquire();
        EnterPage(page, kRestoreSaved);
    }
}

void MoveSheetOntoScreen(HWND sheet) {
    RECT r;
    if (!sheet || !::GetWindowRect(sheet, &r)) return;
    const int height = r.bottom - r.top;
    const int top = SheetTopOnScreen(r.top, height, ::GetSystemMetrics(SM_CYFULLSCREEN));
    if (top != r.top) ::MoveWindow(sheet, r.left, top, r.right - r.left, height, TRUE);
}

void InitialiseTestPage(HWND page, IDIGameCntrlPropSheet* sheet) {
    LPDIRECTINPUTJOYCONFIG config = nullptr;
    sheet->GetJoyConfig(&config);
    char typeName[260] = {};
    DIUtilGetJoystickTypeName(static_cast<short>(sheet->GetID()), config, typeName, sizeof typeName);
    LoadSettings(ModelNumberFromTypeName(typeName, sizeof typeName));
    BuildPages(page);
}

BOOL OnInitDialog(HWND page, int p, LPARAM lParam) {
    // The host hands each page its standard property sheet page structure,
    // whose application value is the sheet object.
    const auto* description = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    IDIGameCntrlPropSheet* sheet =
        description ? reinterpret_cast<IDIGameCntrlPropSheet*>(description->lParam) : nullptr;
    PageState& state = g_pages[p];
    state = PageState{};
    state.Sheet = sheet;
    ::SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(sheet));

    const HWND sheetWindow = ::GetParent(page);
    if (p == 0) {
        // A new sheet: what an earlier sheet of this module loaded is not its own.
        Pages().Loaded = false;
        MoveSheetOntoScreen(sheetWindow);
    }
    if (FAILED(BindDevice(sheetWindow, sheet))) {
        state.Sheet = nullptr;  // blank and inert
        return TRUE;
    }
    if (p == 0) InitialiseTestPage(page, sheet);
    return FALSE;
}

void OnSetActive(HWND page, int p) {
    PageState& state = g_pages[p];
    if (!Live(state)) return;
    if (kTraits[p].EnterCode != kNoEnterCode) EnterPage(page, kTraits[p].EnterCode);
    state.Device = nullptr;
    state.Sheet->GetDevice(&state.Device);
    if (state.Device && SUCCEEDED(state.Device->Acquire()))
        ::SetTimer(page, kPollTimerId, kTraits[p].PeriodMs, nullptr);
    else
        ::KillTimer(page, kPollTimerId);
    state.Polling = true;
    if (kTraits[p].DrivesMotors) g_motorDevice = state.Device;
    if (p == 1) PollOnce(page, p);
}

void OnKillActive(HWND page, int p) {
    PageState& state = g_pages[p];
    if (!state.Sheet) return;
    StopPolling(page, state);
    if (p == 3) StopMotors();
    if (state.Device) state.Device->Unacquire();
    if (kTraits[p].DrivesMotors) g_motorDevice = nullptr;
    if (p == 3) EnterPage(page, kCommitCurrent);  // leaving the vibration page keeps its settings
}

// The sheet releases its device once its pages are gone, and a closing sheet
// sends its active page no deactivation: nothing of the page may outlive it.
void OnDestroy(HWND page, int p) {
    PageState& state = g_pages[p];
    ::KillTimer(page, kPollTimerId);
    ForgetMotorDevice(state.Device);
    state = PageState{};
    g_canvases[p].Release();
}

BOOL OnNotify(HWND page, int p, const NMHDR* header) {
    if (!header) return TRUE;
    PageState& state = g_pages[p];
    switch (header->code) {
    case PSN_SETACTIVE: OnSetActive(page, p); break;
    case PSN_KILLACTIVE: OnKillActive(page, p); break;
    case PSN_APPLY:
    case PSN_WIZFINISH:
        if (state.Sheet) {
            StopPolling(page, state);
            EnterPage(page, kCommitCurrent);
        }
        break;
    case PSN_QUERYCANCEL:
        if (state.Sheet) {
            StopPolling(page, state);
            EnterPage(page, kRestoreSaved);
        }
        break;
    default: break;
    }
    return TRUE;
}

BOOL OnPaint(HWND page, int p) {
    PageState& state = g_pages[p];
    if (!Live(state)) return FALSE;  // nothing of this sheet's to draw
    if (p == 0) {
        // The test page paints only while the pad answers.
        DIJOYSTATE scratch;
        state.Blank = !state.Device || FAILED(DIUtilPollJoystick(state.Device, &scratch));
        if (state.Blank) return FALSE;
    }
    g_canvases[p].Paint(page, [&](HDC dc) {
        if (p == 0) {
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
        }
        PaintPage(page, p, dc);
    });
    return TRUE;
}

INT_PTR PageProc(int p, HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    PageState& state = g_pages[p];
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(page, p, lParam);
    case WM_NOTIFY: return OnNotify(page, p, reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER:
        if (wParam == kPollTimerId && state.Polling) PollOnce(page, p);
        return TRUE;
    case WM_PAINT: return OnPaint(page, p);
    case WM_ERASEBKGND:
        // A page that paints covers its whole client area from its canvas,
        // so erasing first would only flicker.
        if (!Live(state) || state.Blank) return FALSE;
        ::SetWindowLongPtrA(page, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_LBUTTONDOWN:
        if (Live(state) && kTraits[p].Clicks) OnPageClick(page, p, x, y);
        return TRUE;
    case WM_MOUSEMOVE:
        if (p != 3) return FALSE;
        state.MoveToggle = !state.MoveToggle;
        if (!state.MoveToggle && Live(state)) OnPageDrag(page, p, x, y);
        return TRUE;
    case WM_LBUTTONUP:
        if (p != 3) return FALSE;
        if (Live(state)) OnPageRelease(page, p, x, y);
        return TRUE;
    case WM_DESTROY:
        OnDestroy(page, p);
        return FALSE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK TestPageProc(HWND h, UINT m, WPARAM w, LPARAM l) { return PageProc(0, h, m, w, l); }
INT_PTR CALLBACK ButtonPageProc(HWND h, UINT m, WPARAM w, LPARAM l) { return PageProc(1, h, m, w, l); }
INT_PTR CALLBACK KeyboardPageProc(HWND h, UINT m, WPARAM w, LPARAM l) { return PageProc(2, h, m, w, l); }
INT_PTR CALLBACK PowerPageProc(HWND h, UINT m, WPARAM w, LPARAM l) { return PageProc(3, h, m, w, l); }
INT_PTR CALLBACK CheckPageProc(HWND h, UINT m, WPARAM w, LPARAM l) { return PageProc(4, h, m, w, l); }
INT_PTR CALLBACK AboutPageProc(HWND h, UINT m, WPARAM w, LPARAM l) { return PageProc(5, h, m, w, l); }

}  // namespace

DLGPROC PageProcFor(int page) {
    static const DLGPROC procs[6] = {TestPageProc,  ButtonPageProc, KeyboardPageProc,
                                     PowerPageProc, CheckPageProc,  AboutPageProc};
    return page >= 0 && page < 6 ? procs[page] : nullptr;
}

LPDIRECTINPUTDEVICE2A MotorDevice() { return g_motorDevice; }

void ForgetMotorDevice(LPDIRECTINPUTDEVICE2A device) {
    if (device && g_motorDevice == device) g_motorDevice = nullptr;
}

}  // namespace padpanel
