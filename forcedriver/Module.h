// State the whole module shares: the COM counters, the one factory and
// driver, the log sinks, the device table and the all-off repeat count.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "DeviceTable.h"
#include "DiagLog.h"

namespace padforce {

class DriverFactory;
class EffectDriver;

struct ModuleState {
    LONG Count = 0;  // factory references and server locks
    DriverFactory* Factory = nullptr;
    std::atomic<EffectDriver*> Driver{nullptr};
    RefPtr<DiagLog> ModuleLog;
    RefPtr<DiagLog> ErrorLog;
    DeviceTable Devices;
    std::atomic<uint32_t> ZeroRepeatCount{0};
};

ModuleState& Module();

}  // namespace padforce
