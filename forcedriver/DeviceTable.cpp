#include "DeviceTable.h"

namespace padforce {

void DeviceTable::Open(DWORD id, RefPtr<FfDevice> device) {
    slots_[id].Device = std::move(device);
    slots_[id].Open.store(true, std::memory_order_release);
}

void DeviceTable::CloseAll() {
    for (Slot& slot : slots_) {
        if (!slot.Open.load()) continue;
        slot.Open.store(false);
        slot.Device.reset();
    }
}

}  // namespace padforce
