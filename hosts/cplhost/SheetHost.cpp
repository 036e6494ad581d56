#include "hosts/cplhost/SheetHost.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>

#include "common/win/GdiResources.h"
#include "hosts/cplhost/PanelRegistration.h"
#include "hosts/cplhost/PngEncoder.h"

namespace cplhost {

namespace {

SheetHost* g_host = nullptr;  // the thread timer reaches the host through this
constexpr UINT_PTR kSubclassId = 1;

std::string WindowText(HWND w) {
    char buffer[512] = {};
    ::GetWindowTextA(w, buffer, sizeof buffer);
    return buffer;
}

struct BoxSearch {
    HWND Sheet;
    std::vector<HWND> Found;
};

// A message box is a dialog of static texts and push buttons only: the
// sheet's own dialogs (the key prompt, the file dialogs) are the user's to answer.
struct BoxParts {
    int Buttons = 0;
    bool Other = false;
};

BOOL CALLBACK CountBoxParts(HWND w, LPARAM p) {
    auto* parts = reinterpret_cast<BoxParts*>(p);
    char cls[32] = {};
    ::GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpiA(cls, "Button") == 0)
        ++parts->Buttons;
    else if (lstrcmpiA(cls, "Static") != 0)
        parts->Other = true;
    return TRUE;
}

bool IsMessageBox(HWND w) {
    BoxParts parts;
    ::EnumChildWindows(w, CountBoxParts, reinterpret_cast<LPARAM>(&parts));
    return parts.Buttons > 0 && !parts.Other;
}

BOOL CALLBACK FindBox(HWND w, LPARAM p) {
    auto* search = reinterpret_cast<BoxSearch*>(p);
    char cls[32] = {};
    ::GetClassNameA(w, cls, sizeof cls);
    if (w != search->Sheet && lstrcmpA(cls, "#32770") == 0 && ::IsWindowVisible(w) && IsMessageBox(w))
        search->Found.push_back(w);
    return TRUE;
}

BOOL CALLBACK CollectStatic(HWND w, LPARAM p) {
    char cls[32] = {};
    ::GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0) {
        const std::string text = WindowText(w);
        auto* out = reinterpret_cast<std::string*>(p);
        if (!text.empty()) *out += (out->empty() ? "" : " ") + text;
    }
    return TRUE;
}

}  // namespace

SheetHost::SheetHost() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
}

SheetHost::~SheetHost() { Close(); }

bool SheetHost::Open(const std::string& typeName, USHORT joystickId, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        Close();
        return false;
    };
    const std::string clsidText = ConfiguredSheetClsid(typeName);
    if (clsidText.empty()) return fail("the OEM type " + typeName + " has no ConfigCLSID");
    wchar_t wide[64] = {};
    ::MultiByteToWideChar(CP_ACP, 0, clsidText.c_str(), -1, wide, 64);
    CLSID clsid;
    if (FAILED(::CLSIDFromString(wide, &clsid))) return fail("ConfigCLSID is no class id: " + clsidText);

    IUnknown* unknown = nullptr;
    HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (FAILED(hr)) {
        char why[96];
        std::snprintf(why, sizeof why, "CoCreateInstance failed with 0x%08lX", static_cast<unsigned long>(hr));
        return fail(why);
    }
    IDIGameCntrlPropSheet* object = nullptr;
    hr = unknown->QueryInterface(IID_IDIGameCntrlPropSheet, reinterpret_cast<void**>(&object));
    unknown->Release();
    if (FAILED(hr) || !object) return fail("the class does not answer IDIGameCntrlPropSheet");
    const bool shown = OpenObject(object, joystickId, error);
    object->Release();  // the host holds its own reference while the sheet is up
    return shown;
}

bool SheetHost::OpenObject(IDIGameCntrlPropSheet* object, USHORT joystickId, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        Close();
        return false;
    };
    Close();
    if (!object) return fail("no sheet object");
    object_ = object;
    object_->AddRef();

    object_->SetID(joystickId);
    DIGCSHEETINFO* sheetInfo = nullptr;
    DIGCPAGEINFO* pageInfo = nullptr;
    if (FAILED(object_->GetSheetInfo(&sheetInfo)) || !sheetInfo || FAILED(object_->GetPageInfo(&pageInfo)) ||
        !pageInfo)
        return fail("the sheet gives no sheet or page description");
    const int count = std::min<int>(sheetInfo->nNumPages, MAXPROPPAGES);

    std::vector<PROPSHEETPAGEW> pages(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const DIGCPAGEINFO& in = pageInfo[i];
        PROPSHEETPAGEW& p = pages[static_cast<size_t>(i)];
        p = PROPSHEETPAGEW{};
        p.dwSize = sizeof p;
        p.dwFlags = PSP_USETITLE;
        p.hInstance = in.hInstance;
        p.pszTemplate = in.lpwszTemplate;
        if (in.fIconFlag) {
            p.dwFlags |= PSP_USEHICON;
            p.hIcon = LoadSmallIcon(in.hInstance, in.lpwszPageIcon);
        }
        p.pszTitle = in.lpwszPageTitle;
        p.pfnDlgProc = in.fpPageProc;
        p.lParam = in.lParam;
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS;
    header.hInstance = count > 0 ? pageInfo[0].hInstance : nullptr;
    if (sheetInfo->fSheetIconFlag) {
        header.dwFlags |= PSH_USEHICON;
        header.hIcon = LoadSmallIcon(header.hInstance, sheetInfo->lpwszSheetIcon);
    }
    header.pszCaption = sheetInfo->lpwszSheetCaption;
    header.nPages = static_cast<UINT>(count);
    header.nStartPage = 0;
    header.ppsp = pages.data();
    sheet_ = reinterpret_cast<HWND>(::PropertySheetW(&header));
    if (!sheet_ || sheet_ == reinterpret_cast<HWND>(-1)) {
        sheet_ = nullptr;
        return fail("PropertySheet did not show the pages");
    }
    g_host = this;
    heldCloses_ = 0;
    ::SetWindowSubclass(sheet_, SheetSubclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    watch_ = ::SetTimer(nullptr, 0, 20, WatchBoxes);
    ::ShowWindow(sheet_, SW_SHOW);
    Pump(0);
    return true;
}

LRESULT CALLBACK SheetHost::SheetSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
    auto* host = reinterpret_cast<SheetHost*>(self);
    if (message == WM_CLOSE && host->holdCloses_ && !host->passing_) {
        ++host->heldCloses_;
        return 0;
    }
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(window, SheetSubclass, kSubclassId);
    return ::DefSubclassProc(window, message, wParam, lParam);
}

void SheetHost::PassClose() {
    if (!sheet_) return;
    passing_ = true;
    ::SendMessageA(sheet_, WM_CLOSE, 0, 0);
    passing_ = false;
    Pump(0);
}

void CALLBACK SheetHost::WatchBoxes(HWND, UINT, UINT_PTR, DWORD) {
    if (g_host) g_host->DismissBoxes();
}

void SheetHost::DismissBoxes() {
    BoxSearch search{sheet_, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&search));
    for (HWND box : search.Found) {
        if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) continue;
        DismissedBox seen;
        seen.Caption = WindowText(box);
        ::EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&seen.Text));
        boxes_.push_back(seen);
        answered_.push_back(box);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
}

void SheetHost::FinishIfDone() {
    // A modeless sheet is over once it has no current page.
    if (sheet_ && !PropSheet_GetCurrentPageHwnd(sheet_)) {
        ::DestroyWindow(sheet_);
        sheet_ = nullptr;
    }
}

void SheetHost::Pump(DWORD ms) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!sheet_ || !PropSheet_IsDialogMessage(sheet_, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            FinishIfDone();
        }
        FinishIfDone();
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= ms) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

HWND SheetHost::CurrentPage() const { return sheet_ ? PropSheet_GetCurrentPageHwnd(sheet_) : nullptr; }

int SheetHost::CurrentPageIndex() const {
    if (!sheet_) return -1;
    HWND tab = PropSheet_GetTabControl(sheet_);
    return tab ? TabCtrl_GetCurSel(tab) : -1;
}

bool SheetHost::SelectPage(int index) {
    if (!sheet_) return false;
    const BOOL ok = PropSheet_SetCurSel(sheet_, nullptr, index);
    Pump(0);
    return ok != FALSE;
}

void SheetHost::Click(int x, int y) {
    Press(x, y);
    Release(x, y);
}

void SheetHost::Press(int x, int y) {
    if (HWND page = CurrentPage()) ::SendMessageA(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void SheetHost::Release(int x, int y) {
    if (HWND page = CurrentPage()) ::SendMessageA(page, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void SheetHost::Move(int x, int y) {
    if (HWND page = CurrentPage()) ::SendMessageA(page, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void SheetHost::Apply() {
    if (sheet_) PropSheet_PressButton(sheet_, PSBTN_APPLYNOW);
    Pump(0);
}

void SheetHost::Ok() {
    if (sheet_) PropSheet_PressButton(sheet_, PSBTN_OK);
    Pump(0);
}

void SheetHost::Cancel() {
    if (sheet_) PropSheet_PressButton(sheet_, PSBTN_CANCEL);
    Pump(0);
}

bool SheetHost::Screenshot(const std::string& path, std::string* error) {
    auto fail = [&](const char* why) {
        if (error) *error = why;
        return false;
    };
    if (!sheet_) return fail("the sheet is closed");
    ::RedrawWindow(sheet_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(50);
    if (!sheet_) return fail("the sheet closed");
    RECT r;
    ::GetWindowRect(sheet_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return fail("the sheet has no size");

    const win::WindowDc screen(nullptr);
    const win::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    if (!screen || !memory) return fail("no device context for the picture");
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const win::UniqueGdiObject bitmap(::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return fail("no bitmap for the picture");

    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> rgb(static_cast<size_t>(h) * stride);
    {
        const win::ScopedSelection selected(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
        ::GdiFlush();
        const auto* bgr = static_cast<const uint8_t*>(bits);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const size_t at = static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3;
                rgb[at] = bgr[at + 2];
                rgb[at + 1] = bgr[at + 1];
                rgb[at + 2] = bgr[at];
            }
        }
    }
    const std::vector<uint8_t> png = EncodePng(static_cast<uint32_t>(w), static_cast<uint32_t>(h), rgb.data(), stride);
    FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = false;
    if (f) {
        ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
        ok = std::fclose(f) == 0 && ok;
    }
    return ok ? true : fail("cannot write the picture");
}

void SheetHost::Close() {
    if (watch_) {
        ::KillTimer(nullptr, watch_);
        watch_ = 0;
    }
    if (sheet_) {
        ::DestroyWindow(sheet_);
        sheet_ = nullptr;
    }
    if (object_) {
        object_->Release();
        object_ = nullptr;
    }
    for (HICON icon : icons_) ::DestroyIcon(icon);
    icons_.clear();
    if (g_host == this) g_host = nullptr;
}

// The sheet's and the pages' icons are loaded here and handed over as
// handles, then destroyed with the sheet: given by resource name, the common
// controls under Wine load each one anew for every sheet and never destroy it.
HICON SheetHost::LoadSmallIcon(HINSTANCE module, LPCWSTR name) {
    const HICON icon = static_cast<HICON>(::LoadImageW(module, name, IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                       ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    if (icon) icons_.push_back(icon);
    return icon;
}

}  // namespace cplhost
