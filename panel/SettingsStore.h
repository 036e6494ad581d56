// Accessor for one model's settings key: whole records of one size only.
#pragma once

#include <windows.h>

#include <cstddef>

#include "common/SettingsKey.h"
#include "common/win/UniqueResource.h"

namespace padpanel {

using pad::kSettingsBaseKey;

class SettingsStore {
public:
    // Opens HKLM\<base>\<model>, creating it when it cannot be opened. A key
    // that can be neither leaves the store unusable: reads and writes fail.
    SettingsStore(const char* baseKey, unsigned model, size_t expectedSize);

    bool IsOpen() const { return static_cast<bool>(key_); }

    // Bytes the value held (at most `size`), or -1: no buffer, a size other
    // than the expected one, no key, a failed query or a longer value.
    long Read(void* buffer, size_t size) const;
    // `size`, or -1 on the same preconditions or a failed write.
    long Write(const void* buffer, size_t size) const;

    void Close() { key_.reset(); }

private:
    win::UniqueHKey key_;
    size_t expectedSize_;
};

}  // namespace padpanel
