#include "panel/SettingsStore.h"

#include <cstdio>

#include "common/ProductIdentity.h"
#include "common/win/SettingsView.h"

namespace padpanel {

SettingsStore::SettingsStore(const char* baseKey, unsigned model, size_t expectedSize)
    : expectedSize_(expectedSize) {
    char path[MAX_PATH];
    const int n = std::snprintf(path, sizeof path, "%s\\%u", baseKey, model);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof path) return;
#ifdef _WIN64
    // The same access RegOpenKeyA and RegCreateKeyA ask for, in the record's view.
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, MAXIMUM_ALLOWED | pad::kSettingsView, key_.put()) !=
        ERROR_SUCCESS) {
        if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, MAXIMUM_ALLOWED | pad::kSettingsView, nullptr,
                              key_.put(), nullptr) != ERROR_SUCCESS)
            key_.reset();
    }
#else
    if (::RegOpenKeyA(HKEY_LOCAL_MACHINE, path, key_.put()) != ERROR_SUCCESS) {
        if (::RegCreateKeyA(HKEY_LOCAL_MACHINE, path, key_.put()) != ERROR_SUCCESS) key_.reset();
    }
#endif
}

long SettingsStore::Read(void* buffer, size_t size) const {
    if (!buffer || size != expectedSize_ || !key_) return -1;
    DWORD bytes = static_cast<DWORD>(size);
    // The value's type is not looked at: the bytes are what counts.
    if (::RegQueryValueExA(key_.get(), pad::kSettingsValueName, nullptr, nullptr,
                           static_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS)
        return -1;
    if (bytes > size) return -1;
    return static_cast<long>(bytes);
}

long SettingsStore::Write(const void* buffer, size_t size) const {
    if (!buffer || size != expectedSize_ || !key_) return -1;
    if (::RegSetValueExA(key_.get(), pad::kSettingsValueName, 0, REG_BINARY, static_cast<const BYTE*>(buffer),
                         static_cast<DWORD>(size)) != ERROR_SUCCESS)
        return -1;
    return static_cast<long>(size);
}

}  // namespace padpanel
