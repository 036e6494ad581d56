#include "Module.h"

namespace padforce {

namespace {
ModuleState* g_state = nullptr;
}

ModuleState& Module() {
    if (!g_state) g_state = new ModuleState();
    return *g_state;
}

void ReleaseModuleState() {
    delete g_state;
    g_state = nullptr;
}

}  // namespace padforce
