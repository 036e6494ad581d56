#include "hosts/dihost/SettingsKey.h"

#include "common/ProductIdentity.h"
#include "common/win/SettingsView.h"
#include "common/win/UniqueResource.h"
#include "hosts/dihost/SettingsRecord.h"

namespace padhost {

namespace {

constexpr char kMakerKey[] = "ZevEreRaverav";

}  // namespace

bool WriteSettingsValue(uint32_t productId, const void* bytes, DWORD size, DWORD type) {
    win::UniqueHKey key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, SettingsKeyName(productId).c_str(), 0, nullptr, 0,
                          KEY_SET_VALUE | pad::kSettingsView, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return ::RegSetValueExA(key.get(), pad::kSettingsValueName, 0, type, static_cast<const BYTE*>(bytes), size) ==
           ERROR_SUCCESS;
}

bool WriteSettingsRecord(uint32_t productId, const pad::JoySettingRecord& record) {
    return WriteSettingsValue(productId, &record, sizeof record, REG_BINARY);
}

bool RemoveSettings(uint32_t productId) {
    const win::UniqueHKey software = pad::OpenSoftwareKeyOfSettings();
    if (!software) return false;
    const std::string name = std::string(kMakerKey) + "\\" + std::to_string(pad::ModelNumberFromProductId(productId));
    const LONG r = ::RegDeleteKeyA(software.get(), name.c_str());
    // Fails while another model's key is still there; that is as it should be.
    ::RegDeleteKeyA(software.get(), kMakerKey);
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

StoredValue ReadSettingsValue(uint32_t productId) {
    StoredValue v;
    win::UniqueHKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, SettingsKeyName(productId).c_str(), 0, KEY_QUERY_VALUE | pad::kSettingsView,
                        key.put()) != ERROR_SUCCESS)
        return v;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), pad::kSettingsValueName, nullptr, &v.Type, nullptr, &size) != ERROR_SUCCESS)
        return v;
    v.Bytes.resize(size);
    if (::RegQueryValueExA(key.get(), pad::kSettingsValueName, nullptr, &v.Type, v.Bytes.data(), &size) !=
        ERROR_SUCCESS)
        return StoredValue{};
    v.Bytes.resize(size);
    v.Present = true;
    return v;
}

}  // namespace padhost
