#include "PanelTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace paneltest {

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

void DeleteTree(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char name[256];
    for (;;) {
        DWORD size = sizeof name;
        if (::RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        DeleteTree(key, name);
    }
    ::RegCloseKey(key);
    ::RegDeleteKeyA(root, path.c_str());
}

}  // namespace

void DeleteSettings() { DeleteTree(HKEY_LOCAL_MACHINE, "Software\\ZevEreRaverav"); }

bool SettingsKeyExists() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

bool ReadStoredBytes(std::vector<uint8_t>& bytes) {
    DWORD size = 0;
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "CurrentValue", RRF_RT_ANY, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return false;
    bytes.assign(size, 0);
    return ::RegGetValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "CurrentValue", RRF_RT_ANY, nullptr, bytes.data(),
                          &size) == ERROR_SUCCESS;
}

bool ReadStored(pad::JoySettingRecord& record) {
    std::vector<uint8_t> bytes;
    if (!ReadStoredBytes(bytes) || bytes.size() != sizeof record) return false;
    std::memcpy(&record, bytes.data(), sizeof record);
    return true;
}

void WriteStoredBytes(const void* bytes, DWORD size, DWORD type) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyA(HKEY_LOCAL_MACHINE, kSettingsKey, &key), ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExA(key, "CurrentValue", 0, type, static_cast<const BYTE*>(bytes), size), ERROR_SUCCESS);
    ::RegCloseKey(key);
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

std::string Hex(const pad::JoySettingRecord& r) {
    const auto* b = reinterpret_cast<const uint8_t*>(&r);
    std::string s;
    char two[4];
    for (size_t i = 0; i < sizeof r; ++i) {
        std::snprintf(two, sizeof two, "%02x", b[i]);
        s += two;
        if (i % 4 == 3) s += ' ';
    }
    return s;
}

}  // namespace paneltest
