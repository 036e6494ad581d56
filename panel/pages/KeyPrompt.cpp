// The key prompt of the keyboard mapping page: every key the user presses,
// system keys and the dialog manager's keys included, is captured; Enter
// confirms and Escape cancels without being captured themselves.
#include "common/win/GdiResources.h"
#include "panel/SetupFile.h"
#include "panel/pages/ButtonPageRules.h"
#include "panel/pages/KeyNames.h"
#include "panel/pages/PageContext.h"
#include "panel/pages/PageLayer.h"

namespace padpanel {

namespace {

void DrawEntry(HDC dc, const char* key, const char* text) {
    SetupEntry entry;
    ReadSetupEntry("DIALOGString", key, entry);
    RECT r{entry.Left, entry.Top, entry.Right, entry.Bottom};
    ::DrawTextA(dc, text ? text : entry.Text, -1, &r, DT_BOTTOM);
}

void Paint(HWND dialog) {
    win::Paint paint(dialog);
    const HDC dc = paint.get();
    RECT client;
    ::GetClientRect(dialog, &client);
    ::SetBkColor(dc, RGB(255, 255, 255));
    const win::ScopedSelection pen(dc, ::GetStockObject(BLACK_PEN));
    const win::ScopedSelection brush(dc, ::GetStockObject(WHITE_BRUSH));
    ::Rectangle(dc, 0, 0, client.right - 1, client.bottom - 1);
    DrawEntry(dc, "GetKeyBoardTitle", nullptr);
    char name[kKeyNameCapacity];
    FormatKeyName(Pages().CapturedKey, name, sizeof name);
    DrawEntry(dc, "GetKeyBoardText", name);
}

}  // namespace

INT_PTR CALLBACK KeyPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        Pages().CapturedKey = 0;
        ::SetFocus(dialog);  // no control takes it: the prompt itself hears the keys
        return FALSE;
    case WM_GETDLGCODE:
        // Tab, the arrows and the rest reach the prompt instead of the dialog manager.
        ::SetWindowLongPtrA(dialog, DWLP_MSGRESULT, DLGC_WANTALLKEYS);
        return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            if (down) ::SendMessageA(dialog, WM_COMMAND, wParam == VK_RETURN ? IDOK : IDCANCEL, 0);
            return TRUE;
        }
        Pages().CapturedKey = KeyPromptStep(Pages().CapturedKey, static_cast<uint32_t>(wParam), down);
        ::InvalidateRect(dialog, nullptr, TRUE);
        return TRUE;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
        return TRUE;  // no beeps for keys without a mnemonic
    case WM_PAINT:
        Paint(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace padpanel
