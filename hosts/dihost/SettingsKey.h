// The settings record in the registry, where the driver reads it when a
// device is bound: "CurrentValue" under HKLM\Software\ZevEreRaverav\<model>.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/JoySettingRecord.h"

namespace padhost {

// REG_BINARY, all 112 bytes.
bool WriteSettingsRecord(uint32_t productId, const pad::JoySettingRecord& record);
// Any bytes and length, for values the sheet would never write.
bool WriteSettingsValue(uint32_t productId, const void* bytes, DWORD size, DWORD type = REG_BINARY);
// Deletes the value and the model's key, and the maker's key when nothing else is under it.
bool RemoveSettings(uint32_t productId);

struct StoredValue {
    bool Present = false;
    DWORD Type = 0;
    std::vector<uint8_t> Bytes;
};
StoredValue ReadSettingsValue(uint32_t productId);

// Writes a record for the lifetime of a scope.
class ScopedSettings {
public:
    ScopedSettings(uint32_t productId, const pad::JoySettingRecord& record)
        : productId_(productId), written_(WriteSettingsRecord(productId, record)) {}
    ~ScopedSettings() { RemoveSettings(productId_); }
    ScopedSettings(const ScopedSettings&) = delete;
    ScopedSettings& operator=(const ScopedSettings&) = delete;
    bool Written() const { return written_; }

private:
    uint32_t productId_;
    bool written_;
};

}  // namespace padhost
