#include "panel/PropSheet.h"

#include <new>

#include "common/win/ComSupport.h"
#include "panel/Module.h"
#include "panel/PageProcs.h"
#include "panel/SetupFile.h"
#include "panel/controls/TestButton.h"
#include "panel/resource.h"

namespace padpanel {

namespace {

struct PageTableRow {
    const char* TitleKey;
    WORD Template;
};

constexpr PageTableRow kPageTable[kPageCount] = {
    {"Title1", IDD_TEST_PAGE},   {"Title2", IDD_BUTTON_PAGE}, {"Title3", IDD_KEYBOARD_PAGE},
    {"Title4", IDD_POWER_PAGE},  {"Title5", IDD_CHECK_PAGE},  {"Title6", IDD_ABOUT_PAGE},
};

// ANSI text of the system code page into a wide buffer, always terminated.
void ToWide(const char* text, UINT flags, WCHAR* out, int capacity) {
    out[0] = L'\0';
    const int n = ::MultiByteToWideChar(CP_ACP, flags, text, -1, out, capacity);
    if (n == 0) out[capacity - 1] = L'\0';  // too long: keep what fits
}

}  // namespace

PropSheet* PropSheet::Create() {
    PropSheet* sheet = new (std::nothrow) PropSheet();
    if (sheet) sheet->AddRef();
    return sheet;
}

PropSheet::PropSheet() {
    ObjectCreated();
    RegisterTestButtonClass();  // a second sheet's registration fails, as it may
}

PropSheet::~PropSheet() {
    if (device_) {
        ForgetMotorDevice(device_);
        device_->Unacquire();
        device_->Release();
    }
    if (joyConfig_) {
        joyConfig_->Unacquire();
        joyConfig_->Release();
    }
    ObjectDestroyed();
}

HRESULT STDMETHODCALLTYPE PropSheet::QueryInterface(REFIID riid, void** ppv) {
    return win::QueryFromList(this, static_cast<IDIGameCntrlPropSheet*>(this), riid, ppv,
                              {&IID_IUnknown, &IID_IDIGameCntrlPropSheet});
}

ULONG STDMETHODCALLTYPE PropSheet::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

ULONG STDMETHODCALLTYPE PropSheet::Release() {
    const LONG n = ::InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

HRESULT STDMETHODCALLTYPE PropSheet::GetSheetInfo(LPDIGCSHEETINFO* sheetInfo) {
    if (!sheetInfo) return E_POINTER;
    *sheetInfo = &sheetInfo_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropSheet::GetPageInfo(LPDIGCPAGEINFO* pageInfo) {
    if (!pageInfo) return E_POINTER;
    *pageInfo = pages_.data();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropSheet::SetID(USHORT id) {
    joystickId_ = id;
    return S_OK;
}

USHORT STDMETHODCALLTYPE PropSheet::GetID() { return joystickId_; }

HRESULT STDMETHODCALLTYPE PropSheet::Initialize() {
    const HINSTANCE module = Module().Instance;
    for (int i = 0; i < kPageCount; ++i) {
        DIGCPAGEINFO& page = pages_[i];
        page = DIGCPAGEINFO{};
        page.dwSize = sizeof(DIGCPAGEINFO);
        page.lpwszPageTitle = titles_[i];
        page.fpPageProc = PageProcFor(i);
        page.fProcFlag = FALSE;
        page.fpPrePostProc = nullptr;
        page.fIconFlag = TRUE;
        page.lpwszPageIcon = MAKEINTRESOURCEW(IDI_PAD);
        page.lpwszTemplate = MAKEINTRESOURCEW(kPageTable[i].Template);
        page.lParam = reinterpret_cast<LPARAM>(static_cast<IDIGameCntrlPropSheet*>(this));
        page.hInstance = module;

        SetupEntry title;
        ReadSetupEntry("PageTitle", kPageTable[i].TitleKey, title);
        ToWide(title.Text, 0, titles_[i], static_cast<int>(kPageTitleCapacity));
    }

    sheetInfo_.dwSize = sizeof(DIGCSHEETINFO);
    sheetInfo_.nNumPages = kPageCount;
    sheetInfo_.lpwszSheetCaption = caption_;
    sheetInfo_.fSheetIconFlag = TRUE;
    sheetInfo_.lpwszSheetIcon = const_cast<LPWSTR>(L"IDI_WINFLAG");

    char caption[kCaptionCapacity] = {};
    ::LoadStringA(module, IDS_SHEET_CAPTION, caption, static_cast<int>(sizeof caption));
    ToWide(caption, MB_PRECOMPOSED, caption_, static_cast<int>(kCaptionCapacity));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropSheet::SetDevice(LPDIRECTINPUTDEVICE2A device) {
    // The sheet owns what it holds: a replaced device is let go, not leaked.
    if (device_ && device_ != device) {
        ForgetMotorDevice(device_);
        device_->Unacquire();
        device_->Release();
    }
    device_ = device;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropSheet::GetDevice(LPDIRECTINPUTDEVICE2A* device) {
    if (!device) return E_POINTER;
    *device = device_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropSheet::SetJoyConfig(LPDIRECTINPUTJOYCONFIG config) {
    if (joyConfig_ && joyConfig_ != config) {
        joyConfig_->Unacquire();
        joyConfig_->Release();
    }
    joyConfig_ = config;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE PropSheet::GetJoyConfig(LPDIRECTINPUTJOYCONFIG* config) {
    if (!config) return E_POINTER;
    *config = joyConfig_;
    return S_OK;
}

}  // namespace padpanel
