#include "Module.h"

namespace padforce {

ModuleState& Module() {
    // Never destroyed: when a process ends without releasing the driver, its
    // device threads are already gone, and joining them would wait forever.
    static ModuleState* const state = new ModuleState();
    return *state;
}

}  // namespace padforce
