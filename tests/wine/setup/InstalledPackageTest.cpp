// Run inside a prefix where the package is installed: what DirectInput and
// the control panel find there, reached the way they reach it.
#include <initguid.h>

#include <windows.h>
#include <objbase.h>
#include <dinput.h>
#include <dinputd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/win/UniqueResource.h"
#include "panel/GameCntrlPropSheet.h"
#include "tests/wine/setup/RegistryProbe.h"

namespace {

using namespace setuptest;

const std::string kOemType =
    "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\VID_7A3C&PID_A02f";

std::string TextOf(const RegValue& v) {
    return std::string(v.Data.begin(), v.Data.end()).c_str();  // up to its NUL
}

std::string SystemDirectory() {
    char dir[MAX_PATH] = "";
    ::GetSystemDirectoryA(dir, sizeof dir);
    return dir;
}

std::string GuidText(const GUID& guid) {
    wchar_t wide[64] = L"";
    ::StringFromGUID2(guid, wide, 64);
    char text[64] = "";
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

bool SamePath(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// The class's InprocServer32 path with its environment variables expanded, as COM loads it.
std::string ServerPath(const std::string& clsid, DWORD* type, std::string* threading) {
    const std::string key = "Software\\Classes\\CLSID\\" + clsid + "\\InprocServer32";
    const RegValue path = ReadValue(HKEY_LOCAL_MACHINE, key, nullptr);
    *type = path.Type;
    *threading = TextOf(ReadValue(HKEY_LOCAL_MACHINE, key, "ThreadingModel"));
    char expanded[MAX_PATH] = "";
    ::ExpandEnvironmentStringsA(TextOf(path).c_str(), expanded, sizeof expanded);
    return expanded;
}

class InstalledPackage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr))); }
    void TearDown() override { ::CoUninitialize(); }
};

TEST_F(InstalledPackage, DirectInputReachesTheDriverFromTheOemTypeKeyAndItAnswersGetVersions) {
    const std::string clsidText = TextOf(ReadValue(HKEY_LOCAL_MACHINE, kOemType + "\\OEMForceFeedback", "CLSID"));
    ASSERT_EQ(clsidText, "{5D1C2A90-7A3C-A02F-8E41-00104B7C3D21}");

    DWORD type = 0;
    std::string threading;
    const std::string path = ServerPath(clsidText, &type, &threading);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_TRUE(SamePath(path, SystemDirectory() + "\\padforce.dll")) << path << " is the installed DLL";
    EXPECT_EQ(threading, "Both");

    std::vector<wchar_t> wide(clsidText.begin(), clsidText.end());
    wide.push_back(L'\0');
    CLSID clsid{};
    ASSERT_EQ(::CLSIDFromString(wide.data(), &clsid), S_OK);
    IDirectInputEffectDriver* driver = nullptr;
    ASSERT_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectInputEffectDriver,
                                 reinterpret_cast<void**>(&driver)),
              S_OK);
    ASSERT_NE(driver, nullptr);

    DIDRIVERVERSIONS versions{};
    versions.dwSize = sizeof versions;
    EXPECT_EQ(driver->GetVersions(&versions), S_OK);
    EXPECT_EQ(versions.dwFirmwareRevision, 3u);
    EXPECT_EQ(versions.dwHardwareRevision, 5u);
    EXPECT_EQ(versions.dwFFDriverVersion, 0x0F1Fu);

    char loaded[MAX_PATH] = "";
    ::GetModuleFileNameA(::GetModuleHandleA("padforce.dll"), loaded, sizeof loaded);
    EXPECT_TRUE(SamePath(loaded, SystemDirectory() + "\\padforce.dll")) << "COM loaded " << loaded;
    driver->Release();
}

TEST_F(InstalledPackage, TheControlPanelCreatesThePropertySheetFromTheInstalledDllThroughConfigClsid) {
    const std::string clsidText = TextOf(ReadValue(HKEY_LOCAL_MACHINE, kOemType, "ConfigCLSID"));
    ASSERT_EQ(clsidText, "{2E8B4F16-7A3C-A02F-C5D2-0040A1E6B937}");
    DWORD type = 0;
    std::string threading;
    const std::string path = ServerPath(clsidText, &type, &threading);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_TRUE(SamePath(path, SystemDirectory() + "\\padpanel.dll")) << path;
    EXPECT_EQ(threading, "Apartment");

    ASSERT_NE(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "padpanel.dll is installed at " << path;
    std::vector<wchar_t> wide(clsidText.begin(), clsidText.end());
    wide.push_back(L'\0');
    CLSID clsid{};
    ASSERT_EQ(::CLSIDFromString(wide.data(), &clsid), S_OK);
    IDIGameCntrlPropSheet* sheet = nullptr;
    ASSERT_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDIGameCntrlPropSheet,
                                 reinterpret_cast<void**>(&sheet)),
              S_OK);
    ASSERT_NE(sheet, nullptr);

    char loaded[MAX_PATH] = "";
    ::GetModuleFileNameA(::GetModuleHandleA("padpanel.dll"), loaded, sizeof loaded);
    EXPECT_TRUE(SamePath(loaded, SystemDirectory() + "\\padpanel.dll")) << "COM loaded " << loaded;
    sheet->Release();
}

TEST_F(InstalledPackage, TheEffectListOffersExactlyTheKindsTheDriverPlays) {
    struct Expected {
        const GUID* Type;
        DWORD EffectId;
        DWORD Kind;
    };
    const Expected expected[] = {
        {&GUID_ConstantForce, 0, DIEFT_CONSTANTFORCE}, {&GUID_RampForce, 1, DIEFT_RAMPFORCE},
        {&GUID_Square, 2, DIEFT_PERIODIC},             {&GUID_Sine, 3, DIEFT_PERIODIC},
        {&GUID_Triangle, 4, DIEFT_PERIODIC},           {&GUID_SawtoothUp, 5, DIEFT_PERIODIC},
        {&GUID_SawtoothDown, 6, DIEFT_PERIODIC},
    };
    const DWORD params = DIEP_DURATION | DIEP_GAIN | DIEP_AXES | DIEP_DIRECTION | DIEP_ENVELOPE |
                         DIEP_TYPESPECIFICPARAMS | DIEP_STARTDELAY;
    const std::string effects = kOemType + "\\OEMForceFeedback\\Effects";
    EXPECT_EQ(SubkeyNames(HKEY_LOCAL_MACHINE, effects).size(), 7u) << "seven effect types, no more";

    for (const Expected& e : expected) {
        const std::string key = effects + "\\" + GuidText(*e.Type);
        ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, key)) << key;
        const RegValue name = ReadValue(HKEY_LOCAL_MACHINE, key, nullptr);
        EXPECT_EQ(name.Type, static_cast<DWORD>(REG_SZ));
        EXPECT_FALSE(TextOf(name).empty()) << key << " has a friendly name";

        DIEFFECTATTRIBUTES published{};
        published.dwEffectId = e.EffectId;
        published.dwEffType = e.Kind | DIEFT_FFATTACK | DIEFT_FFFADE | DIEFT_STARTDELAY;
        published.dwStaticParams = params;
        published.dwDynamicParams = params;
        published.dwCoords = DIEFF_CARTESIAN | DIEFF_POLAR;
        const RegValue attributes = ReadValue(HKEY_LOCAL_MACHINE, key, "Attributes");
        EXPECT_EQ(attributes.Type, static_cast<DWORD>(REG_BINARY));
        ASSERT_EQ(attributes.Data.size(), sizeof published) << TextOf(name);
        EXPECT_EQ(std::memcmp(attributes.Data.data(), &published, sizeof published), 0)
            << TextOf(name) << " publishes " << Hex(attributes.Data);
    }
}

#ifdef _WIN64
// The machine a PE file is built for (IMAGE_FILE_MACHINE_*), or 0.
WORD PeMachine(const std::string& path) {
    win::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return 0;
    IMAGE_DOS_HEADER dos{};
    DWORD got = 0;
    if (!::ReadFile(file.get(), &dos, sizeof dos, &got, nullptr) || got != sizeof dos || dos.e_magic != IMAGE_DOS_SIGNATURE)
        return 0;
    struct {
        DWORD Signature;
        IMAGE_FILE_HEADER File;
    } nt{};
    if (::SetFilePointer(file.get(), dos.e_lfanew, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !::ReadFile(file.get(), &nt, sizeof nt, &got, nullptr) || got != sizeof nt || nt.Signature != IMAGE_NT_SIGNATURE)
        return 0;
    return nt.File.Machine;
}

// 64-bit Windows runs 32-bit games too: the 32-bit registry view names each
// class's DLL by the System32 path, which a 32-bit process finds in SysWOW64,
// where the 32-bit build sits; the 64-bit build sits in System32.
TEST_F(InstalledPackage, ThirtyTwoBitProgramsFindThe32BitBuildOfEachClassThroughTheirOwnRegistryView) {
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    for (const char* dll : {"padforce.dll", "padpanel.dll"}) {
        SCOPED_TRACE(dll);
        const std::string clsid =
            std::string(dll) == "padforce.dll" ? "{5D1C2A90-7A3C-A02F-8E41-00104B7C3D21}" : "{2E8B4F16-7A3C-A02F-C5D2-0040A1E6B937}";
        win::UniqueHKey key;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ("Software\\Classes\\CLSID\\" + clsid + "\\InprocServer32").c_str(), 0,
                                  KEY_READ | KEY_WOW64_32KEY, key.put()),
                  ERROR_SUCCESS);
        char path[MAX_PATH] = "", expanded[MAX_PATH] = "";
        DWORD size = sizeof path;
        ASSERT_EQ(::RegQueryValueExA(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size),
                  ERROR_SUCCESS);
        ::ExpandEnvironmentStringsA(path, expanded, sizeof expanded);
        EXPECT_TRUE(SamePath(expanded, std::string(windows) + "\\System32\\" + dll)) << expanded;
        EXPECT_EQ(PeMachine(std::string(windows) + "\\SysWOW64\\" + dll), IMAGE_FILE_MACHINE_I386);
        EXPECT_EQ(PeMachine(std::string(windows) + "\\System32\\" + dll), IMAGE_FILE_MACHINE_AMD64);
    }
}
#endif

}  // namespace
