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

// Made on first use, at load. Freed only when the module is unloaded while
// the process goes on (COM found no object left); when the process ends
// without releasing the driver, its device threads are already gone and
// joining them would wait forever, so the state is left alone.
ModuleState& Module();
void ReleaseModuleState();

}  // namespace padforce
