#include "common/win/SettingsView.h"
#include "PanelTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "common/HexText.h"
#include "common/win/RegistryTree.h"
#include "common/win/UniqueResource.h"

namespace paneltest {

bool RunOnlyWithUnmanagedWindows(int& childExitCode) {
    constexpr char kDriverKey[] = "Software\\Wine\\X11 Driver";
    char value[8] = {};
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_CURRENT_USER, kDriverKey, "Managed", RRF_RT_REG_SZ, nullptr, value, &size) ==
            ERROR_SUCCESS &&
        (value[0] == 'N' || value[0] == 'n'))
        return true;
    {
        win::UniqueHKey key;
        if (::RegCreateKeyA(HKEY_CURRENT_USER, kDriverKey, key.put()) != ERROR_SUCCESS ||
            ::RegSetValueExA(key.get(), "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2) != ERROR_SUCCESS)
            return true;  // slower, not wrong
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = ::GetCommandLineA();
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return true;
    win::UniqueHandle child(process.hProcess);
    win::UniqueHandle thread(process.hThread);
    ::WaitForSingleObject(child.get(), INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(child.get(), &code);
    childExitCode = static_cast<int>(code);
    return false;
}

std::string DistPath(const std::string& name) { return std::string(PAD_TEST_DIST) + "\\" + name; }

std::string SystemPath(const std::string& name) {
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\" + name;
}

void InstallStagedSetupIni() {
    ::CreateDirectoryA(SystemPath("Zororo").c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(DistPath("Zororo\\Setup.ini").c_str(), SystemPath("Zororo\\Setup.ini").c_str(), FALSE))
        << "the staged Setup.ini is copied into the system directory";
}

void InstallSetupIni(const std::string& text) {
    ::CreateDirectoryA(SystemPath("Zororo").c_str(), nullptr);
    FILE* f = std::fopen(SystemPath("Zororo\\Setup.ini").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

void RemoveSetupIni() { ::DeleteFileA(SystemPath("Zororo\\Setup.ini").c_str()); }

namespace {

const std::string& SettingsKey() {
    static const std::string key = pad::SettingsKeyPath(kModel);
    return key;
}

bool KeyExists(const char* path) {
    win::UniqueHKey key;
    return ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | pad::kSettingsView, key.put()) == ERROR_SUCCESS;
}

}  // namespace

void DeleteSettings() {
    const win::UniqueHKey software = pad::OpenSoftwareKeyOfSettings();
    if (software) win::DeleteRegistryTree(software.get(), "ZevEreRaverav");
}

bool SettingsKeyExists() { return KeyExists(SettingsKey().c_str()); }

bool AnySettingsKeyExists() { return KeyExists(pad::kSettingsBaseKey); }

bool ReadStoredBytes(std::vector<uint8_t>& bytes) {
    win::UniqueHKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, SettingsKey().c_str(), 0, KEY_READ | pad::kSettingsView, key.put()) !=
        ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    if (::RegGetValueA(key.get(), nullptr, pad::kSettingsValueName, RRF_RT_ANY, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return false;
    bytes.assign(size, 0);
    if (::RegGetValueA(key.get(), nullptr, pad::kSettingsValueName, RRF_RT_ANY, nullptr, bytes.data(), &size) !=
        ERROR_SUCCESS)
        return false;
    bytes.resize(size);
    return true;
}

bool ReadStored(pad::JoySettingRecord& record) {
    std::vector<uint8_t> bytes;
    if (!ReadStoredBytes(bytes) || bytes.size() != sizeof record) return false;
    std::memcpy(&record, bytes.data(), sizeof record);
    return true;
}

void WriteStoredBytes(const void* bytes, DWORD size, DWORD type) {
    win::UniqueHKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, SettingsKey().c_str(), 0, nullptr, 0, KEY_SET_VALUE | pad::kSettingsView,
                                nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key.get(), pad::kSettingsValueName, 0, type, static_cast<const BYTE*>(bytes), size),
              ERROR_SUCCESS);
}

void WriteStored(const pad::JoySettingRecord& record) { WriteStoredBytes(&record, sizeof record); }

pad::JoySettingRecord StagedDefaults() {
    pad::JoySettingRecord r{};
    for (int i = 0; i < pad::kButtonCount; ++i) r.ButtonMap[i] = static_cast<uint8_t>(i + 1);
    r.AxisCalibration[0] = r.AxisCalibration[1] = 0x7FFF;
    // panel/data/Setup.ini, "DefaultSetting", Mode_47_AxesRX / RY / Z
    r.AxisCalibration[2] = 32767;
    r.AxisCalibration[3] = 32767;
    r.AxisCalibration[4] = 16777471;
    r.TimeCycle = 63;
    r.MotorPower = 63;
    return r;
}

pad::JoySettingRecord UserRecord() {
    pad::JoySettingRecord r = StagedDefaults();
    r.ButtonMap[0] = 2;
    r.ButtonMap[1] = 1;
    r.TurboFlags[4] = 1;
    r.KeyCodes[2] = 0x0001001E;  // Ctrl + 1
    r.AxisCalibration[0] = 0x01000AF5;
    r.Sensitivity = 2;
    r.TimeCycle = 200;
    r.MotorPower = 150;
    r.AutoMode = 1;
    r.SpareFlag = 0x5A5A0001;
    return r;
}

pad::JoySettingRecord TestVariantOf(pad::JoySettingRecord r) {
    std::memset(r.TurboFlags, 0, sizeof r.TurboFlags);
    std::memset(r.KeyCodes, 0, sizeof r.KeyCodes);
    r.TimeCycle = 63;
    r.MotorPower = 63;
    r.AutoMode = 0;
    return r;
}

std::string Hex(const pad::JoySettingRecord& r) { return pad::HexText(&r, sizeof r, 4); }

}  // namespace paneltest
