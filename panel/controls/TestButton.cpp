#include "panel/controls/TestButton.h"

#include "common/win/GdiResources.h"
#include "panel/Module.h"
#include "panel/resource.h"

namespace padpanel {

namespace {

// Entry 0 dark, entry 1 lit, indexed by the window's user data. Counted, so
// the last lamp window to go releases what the first one loaded.
struct IconPair {
    win::UniqueIcon Icons[2];
    int Users = 0;
};

IconPair& Lamps() {
    static IconPair pair;
    return pair;
}

HICON LoadLamp(WORD id) {
    return static_cast<HICON>(
        ::LoadImageA(Module().Instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
}

void Paint(HWND window) {
    win::Paint paint(window);
    const HDC dc = paint.get();
    const LONG_PTR lit = ::GetWindowLongPtrA(window, GWLP_USERDATA);
    const HICON icon = Lamps().Icons[lit == 1 ? 1 : 0].get();
    if (icon) ::DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    char text[3] = {};
    ::GetWindowTextA(window, text, sizeof text);
    ::SetBkMode(dc, TRANSPARENT);
    const COLORREF previous = ::SetTextColor(dc, RGB(202, 202, 202));
    RECT r{0, 0, 30, 33};
    ::DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    ::SetTextColor(dc, previous);
    ::SetBkMode(dc, OPAQUE);
}

}  // namespace

bool RegisterTestButtonClass() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = TestButtonProc;
    wc.hInstance = Module().Instance;
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kTestButtonClass;
    return ::RegisterClassExA(&wc) != 0;
}

LRESULT CALLBACK TestButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    IconPair& lamps = Lamps();
    switch (message) {
    case WM_CREATE:
        if (lamps.Users++ == 0) {
            lamps.Icons[0].reset(LoadLamp(IDI_LAMP_DARK));
            lamps.Icons[1].reset(LoadLamp(IDI_LAMP_LIT));
        }
        return 0;
    case WM_DESTROY:
        if (lamps.Users > 0 && --lamps.Users == 0) {
            lamps.Icons[0].reset();
            lamps.Icons[1].reset();
        }
        return 0;
    case WM_PAINT: Paint(window); return 0;
    default: return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

int TestButtonIconUsers() { return Lamps().Users; }

}  // namespace padpanel
