// The COM contract of the staged padpanel.dll, loaded by path as COM would.
#include <gtest/gtest.h>

#include <windows.h>
#include <dinput.h>

#include <cstring>
#include <set>
#include <string>

#include "PanelTestSupport.h"
#include "panel/GameCntrlPropSheet.h"

namespace {

const CLSID kSheetClsid = {0x2E8B4F16, 0x7A3C, 0xA02F, {0xC5, 0xD2, 0x00, 0x40, 0xA1, 0xE6, 0xB9, 0x37}};
const CLSID kOtherClsid = {0x5D1C2A90, 0x7A3C, 0xA02F, {0x8E, 0x41, 0x00, 0x10, 0x4B, 0x7C, 0x3D, 0x21}};

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using CanUnloadFn = HRESULT(WINAPI*)();

class PanelModule : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        paneltest::InstallStagedSetupIni();
        module_ = ::LoadLibraryA(paneltest::DistPath("padpanel.dll").c_str());
        ASSERT_NE(module_, nullptr) << "the staged padpanel.dll loads";
        getClassObject_ = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(::GetProcAddress(module_, "DllGetClassObject")));
        canUnload_ = reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(::GetProcAddress(module_, "DllCanUnloadNow")));
        ASSERT_NE(getClassObject_, nullptr);
        ASSERT_NE(canUnload_, nullptr);
    }

    IClassFactory* Factory() {
        IClassFactory* f = nullptr;
        EXPECT_EQ(getClassObject_(kSheetClsid, IID_IClassFactory, reinterpret_cast<void**>(&f)), S_OK);
        return f;
    }

    IDIGameCntrlPropSheet* NewSheet() {
        IClassFactory* f = Factory();
        IDIGameCntrlPropSheet* sheet = nullptr;
        EXPECT_EQ(f->CreateInstance(nullptr, IID_IDIGameCntrlPropSheet, reinterpret_cast<void**>(&sheet)), S_OK);
        f->Release();
        return sheet;
    }

    void TearDown() override { EXPECT_EQ(canUnload_(), S_OK) << "every test leaves no object alive"; }

    static HMODULE module_;
    static GetClassObjectFn getClassObject_;
    static CanUnloadFn canUnload_;
};

HMODULE PanelModule::module_ = nullptr;
GetClassObjectFn PanelModule::getClassObject_ = nullptr;
CanUnloadFn PanelModule::canUnload_ = nullptr;

TEST_F(PanelModule, ExportsExactlyTheTwoComEntryPoints) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module_);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(module_) + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(dir.VirtualAddress, 0u);
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(reinterpret_cast<const BYTE*>(module_) + dir.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(module_) + exports->AddressOfNames);
    std::set<std::string> found;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        found.insert(reinterpret_cast<const char*>(module_) + names[i]);
    EXPECT_EQ(exports->NumberOfFunctions, 2u);
    EXPECT_EQ(found, (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject"}));
}

TEST_F(PanelModule, RefusesAnotherClassAndAnythingButTheClassFactory) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject_(kOtherClsid, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr) << "the out pointer is cleared first";
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject_(kSheetClsid, IID_IUnknown, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(canUnload_(), S_OK) << "a refused request creates no factory";
    EXPECT_EQ(getClassObject_(kSheetClsid, IID_IClassFactory, nullptr), E_POINTER);
}

TEST_F(PanelModule, StaysLoadedWhileAFactoryOrALockLives) {
    IClassFactory* f = Factory();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(canUnload_(), S_FALSE) << "a live factory";
    EXPECT_EQ(f->LockServer(TRUE), S_OK);
    f->Release();
    EXPECT_EQ(canUnload_(), S_FALSE) << "a server lock outlives the factory";
    f = Factory();
    EXPECT_EQ(f->LockServer(FALSE), S_OK);
    f->Release();
    EXPECT_EQ(canUnload_(), S_OK);
}

TEST_F(PanelModule, TheFactoryAnswersOnlyItsOwnInterfaces) {
    IClassFactory* f = Factory();
    void* out = nullptr;
    EXPECT_EQ(f->QueryInterface(IID_IUnknown, &out), S_OK);
    static_cast<IUnknown*>(out)->Release();
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(f->QueryInterface(IID_IDIGameCntrlPropSheet, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(f->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    // Any outer object is refused before it is touched.
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(f->CreateInstance(reinterpret_cast<IUnknown*>(&out), IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
    f->Release();
}

TEST_F(PanelModule, ASheetHasNoJoystickIdUntilItIsGivenOne) {
    IDIGameCntrlPropSheet* sheet = NewSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->GetID(), 0xFFFF);
    EXPECT_EQ(sheet->SetID(3), S_OK);
    EXPECT_EQ(sheet->GetID(), 3);
    void* same = nullptr;
    EXPECT_EQ(sheet->QueryInterface(IID_IUnknown, &same), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(same)->Release(), 1u);
    EXPECT_EQ(sheet->Release(), 0u);
}

TEST_F(PanelModule, DescribesTheSheetWithItsCaptionAndNamedIcon) {
    IDIGameCntrlPropSheet* sheet = NewSheet();
    DIGCSHEETINFO* info = nullptr;
    ASSERT_EQ(sheet->GetSheetInfo(&info), S_OK);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->dwSize, sizeof(DIGCSHEETINFO));
    EXPECT_EQ(info->nNumPages, 6);
    EXPECT_STREQ(info->lpwszSheetCaption, L"Game Controller Setting");
    EXPECT_TRUE(info->fSheetIconFlag);
    EXPECT_STREQ(info->lpwszSheetIcon, L"IDI_WINFLAG");
    EXPECT_NE(::FindResourceW(module_, L"IDI_WINFLAG", reinterpret_cast<LPCWSTR>(RT_GROUP_ICON)), nullptr)
        << "the host finds the icon the sheet names";
    sheet->Release();
}

TEST_F(PanelModule, DescribesSixPagesThatCarryTheSheetAndIcon108) {
    IDIGameCntrlPropSheet* sheet = NewSheet();
    DIGCPAGEINFO* pages = nullptr;
    ASSERT_EQ(sheet->GetPageInfo(&pages), S_OK);
    ASSERT_NE(pages, nullptr);
    const WORD templates[6] = {118, 123, 120, 121, 124, 125};
    const wchar_t* titles[6] = {L"Test", L"Buttons", L"Keyboard", L"Vibration", L"Calibration", L"About"};
    std::set<DLGPROC> procs;
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE("page " + std::to_string(i));
        const DIGCPAGEINFO& p = pages[i];
        EXPECT_EQ(p.dwSize, sizeof(DIGCPAGEINFO));
        EXPECT_EQ(p.lParam, reinterpret_cast<LPARAM>(sheet)) << "the application value is the sheet";
        EXPECT_TRUE(p.fIconFlag);
        EXPECT_EQ(p.lpwszPageIcon, MAKEINTRESOURCEW(108));
        EXPECT_EQ(p.lpwszTemplate, MAKEINTRESOURCEW(templates[i]));
        EXPECT_EQ(p.hInstance, module_);
        EXPECT_FALSE(p.fProcFlag);
        EXPECT_EQ(p.fpPrePostProc, nullptr);
        ASSERT_NE(p.lpwszPageTitle, nullptr);
        EXPECT_STREQ(p.lpwszPageTitle, titles[i]) << "titles come from Setup.ini PageTitle";
        procs.insert(p.fpPageProc);
    }
    EXPECT_EQ(procs.size(), 6u) << "each page has its own procedure";
    EXPECT_EQ(procs.count(nullptr), 0u);
    sheet->Release();
}

TEST_F(PanelModule, WithoutSetupIniThePagesHaveEmptyTitlesAndTheSheetStillOpens) {
    paneltest::RemoveSetupIni();
    IDIGameCntrlPropSheet* sheet = NewSheet();
    paneltest::InstallStagedSetupIni();
    ASSERT_NE(sheet, nullptr);
    DIGCPAGEINFO* pages = nullptr;
    ASSERT_EQ(sheet->GetPageInfo(&pages), S_OK);
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(pages[i].lpwszPageTitle, L"") << "page " << i;
    sheet->Release();
}

TEST_F(PanelModule, OutPointersAtTheSheetAreChecked) {
    IDIGameCntrlPropSheet* sheet = NewSheet();
    EXPECT_EQ(sheet->GetSheetInfo(nullptr), E_POINTER);
    EXPECT_EQ(sheet->GetPageInfo(nullptr), E_POINTER);
    EXPECT_EQ(sheet->GetDevice(nullptr), E_POINTER);
    EXPECT_EQ(sheet->GetJoyConfig(nullptr), E_POINTER);
    EXPECT_EQ(sheet->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(sheet->QueryInterface(IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    sheet->Release();
}

// A device that counts what the sheet does with it.
struct CountingDevice : IDirectInputDevice2A {
    LONG refs = 1;
    int unacquires = 0;
    int releases = 0;
    STDMETHOD(QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++refs); }
    STDMETHOD_(ULONG, Release)() override {
        ++releases;
        return static_cast<ULONG>(--refs);
    }
    STDMETHOD(GetCapabilities)(LPDIDEVCAPS) override { return E_NOTIMPL; }
    STDMETHOD(EnumObjects)(LPDIENUMDEVICEOBJECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetProperty)(REFGUID, LPDIPROPHEADER) override { return E_NOTIMPL; }
    STDMETHOD(SetProperty)(REFGUID, LPCDIPROPHEADER) override { return E_NOTIMPL; }
    STDMETHOD(Acquire)() override { return E_NOTIMPL; }
    STDMETHOD(Unacquire)() override {
        ++unacquires;
        return DI_OK;
    }
    STDMETHOD(GetDeviceState)(DWORD, LPVOID) override { return E_NOTIMPL; }
    STDMETHOD(GetDeviceData)(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetDataFormat)(LPCDIDATAFORMAT) override { return E_NOTIMPL; }
    STDMETHOD(SetEventNotification)(HANDLE) override { return E_NOTIMPL; }
    STDMETHOD(SetCooperativeLevel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetObjectInfo)(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetDeviceInfo)(LPDIDEVICEINSTANCEA) override { return E_NOTIMPL; }
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(HINSTANCE, DWORD, REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(CreateEffect)(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT*, LPUNKNOWN) override { return E_NOTIMPL; }
    STDMETHOD(EnumEffects)(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetEffectInfo)(LPDIEFFECTINFOA, REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(GetForceFeedbackState)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(SendForceFeedbackCommand)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumCreatedEffectObjects)(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) override {
        return E_NOTIMPL;
    }
    STDMETHOD(Escape)(LPDIEFFESCAPE) override { return E_NOTIMPL; }
    STDMETHOD(Poll)() override { return E_NOTIMPL; }
    STDMETHOD(SendDeviceData)(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) override { return E_NOTIMPL; }
};

TEST_F(PanelModule, ReleasingTheSheetUnacquiresAndReleasesItsDeviceExactlyOnce) {
    IDIGameCntrlPropSheet* sheet = NewSheet();
    CountingDevice device;
    EXPECT_EQ(sheet->SetDevice(&device), S_OK);
    EXPECT_EQ(device.refs, 1) << "SetDevice takes the caller's reference, adding none";
    IDirectInputDevice2A* got = nullptr;
    EXPECT_EQ(sheet->GetDevice(&got), S_OK);
    EXPECT_EQ(got, &device);
    EXPECT_EQ(device.refs, 1) << "GetDevice adds no reference";
    sheet->Release();
    EXPECT_EQ(device.unacquires, 1);
    EXPECT_EQ(device.releases, 1);
}

TEST_F(PanelModule, ASheetWithoutADeviceHasNoneToGive) {
    IDIGameCntrlPropSheet* sheet = NewSheet();
    IDirectInputDevice2A* device = reinterpret_cast<IDirectInputDevice2A*>(1);
    IDirectInputJoyConfig* config = reinterpret_cast<IDirectInputJoyConfig*>(1);
    EXPECT_EQ(sheet->GetDevice(&device), S_OK);
    EXPECT_EQ(sheet->GetJoyConfig(&config), S_OK);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(config, nullptr);
    sheet->Release();
}

struct TemplateSize {
    WORD Id;
    short Cx, Cy;
};

TEST_F(PanelModule, CarriesTheSevenDialogTemplatesAtTheirSizes) {
    const TemplateSize sizes[] = {{118, 327, 281}, {123, 305, 89}, {120, 216, 65}, {121, 201, 59},
                                  {124, 217, 33},  {125, 217, 91}, {175, 170, 49}};
    for (const TemplateSize& t : sizes) {
        SCOPED_TRACE("template " + std::to_string(t.Id));
        HRSRC res = ::FindResourceA(module_, MAKEINTRESOURCEA(t.Id), reinterpret_cast<LPCSTR>(RT_DIALOG));
        ASSERT_NE(res, nullptr);
        const auto* bytes = static_cast<const BYTE*>(::LockResource(::LoadResource(module_, res)));
        ASSERT_NE(bytes, nullptr);
        // DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, style, cDlgItems, x, y, cx, cy
        WORD version, signature, items;
        DWORD style;
        short cx, cy;
        std::memcpy(&version, bytes, 2);
        std::memcpy(&signature, bytes + 2, 2);
        std::memcpy(&style, bytes + 12, 4);
        std::memcpy(&items, bytes + 16, 2);
        std::memcpy(&cx, bytes + 22, 2);
        std::memcpy(&cy, bytes + 24, 2);
        ASSERT_EQ(version, 1);
        ASSERT_EQ(signature, 0xFFFF);
        EXPECT_EQ(items, 0) << "pages are drawn, not made of controls";
        EXPECT_EQ(cx, t.Cx);
        EXPECT_EQ(cy, t.Cy);
        EXPECT_TRUE(style & WS_POPUP);
        EXPECT_TRUE(style & DS_SETFONT);
        EXPECT_TRUE(style & DS_MODALFRAME);
    }
}

TEST_F(PanelModule, CarriesTheTypeNameSubstituteAndIcon108) {
    char text[64] = {};
    EXPECT_GT(::LoadStringA(module_, 2, text, sizeof text), 0);
    EXPECT_STREQ(text, "<< Error >>");
    EXPECT_NE(::FindResourceA(module_, MAKEINTRESOURCEA(108), reinterpret_cast<LPCSTR>(RT_GROUP_ICON)), nullptr);
}

}  // namespace
