// The sixteen devices of the process, indexed by DirectInput's external
// joystick id. An entry opens at its first binding and frees only when the
// driver is destroyed.
#pragma once

#include <windows.h>

#include <atomic>

#include "FfDevice.h"

namespace padforce {

inline constexpr DWORD kDeviceSlots = 16;

class DeviceTable {
public:
    // The bound device of an id, or null when the entry is free.
    FfDevice* Find(DWORD id) const {
        if (id >= kDeviceSlots || !slots_[id].Open.load(std::memory_order_acquire)) return nullptr;
        return slots_[id].Device.get();
    }

    // Bindings of one id are serialised so that two threads never build two devices.
    win::CriticalSection& BindLock() { return bindLock_; }
    void Open(DWORD id, RefPtr<FfDevice> device);
    // Destroys every open device: its thread is joined and its all-off report sent last.
    void CloseAll();

private:
    struct Slot {
        RefPtr<FfDevice> Device;
        std::atomic<bool> Open{false};
    };
    Slot slots_[kDeviceSlots];
    win::CriticalSection bindLock_;
};

}  // namespace padforce
