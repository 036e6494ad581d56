#include "hosts/dihost/JoystickCaps.h"

#include <atomic>
#include <cstring>

#include "common/ProductIdentity.h"

namespace padhost {

namespace {

constexpr int32_t kAbsent = -1;

std::atomic<int32_t> g_products[kJoystickIds] = {kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent,
                                                 kAbsent, kAbsent, kAbsent, kAbsent, kAbsent, kAbsent,
                                                 kAbsent, kAbsent, kAbsent, kAbsent};
std::atomic<unsigned> g_queries{0};

}  // namespace

void SetJoystick(UINT id, uint16_t productId) {
    if (id < kJoystickIds) g_products[id].store(productId);
}

void RemoveJoystick(UINT id) {
    if (id < kJoystickIds) g_products[id].store(kAbsent);
}

void ClearJoysticks() {
    for (auto& p : g_products) p.store(kAbsent);
}

unsigned JoystickQueries() { return g_queries.load(); }

MMRESULT WINAPI HostJoyGetDevCapsA(UINT_PTR id, LPJOYCAPSA caps, UINT size) {
    ++g_queries;
    if (!caps || size < sizeof(JOYCAPSA)) return MMSYSERR_INVALPARAM;
    const int32_t product = id < kJoystickIds ? g_products[id].load() : kAbsent;
    if (product == kAbsent) return JOYERR_UNPLUGGED;
    std::memset(caps, 0, sizeof(JOYCAPSA));
    caps->wMid = pad::kVendorId;
    caps->wPid = static_cast<WORD>(product);
    std::strcpy(caps->szPname, "USB Vibration Gamepad");
    caps->wXmax = caps->wYmax = caps->wZmax = caps->wRmax = 0xFFFF;
    caps->wNumButtons = 12;
    caps->wMaxButtons = 32;
    caps->wPeriodMin = 10;
    caps->wPeriodMax = 1000;
    caps->wCaps = JOYCAPS_HASZ | JOYCAPS_HASR | JOYCAPS_HASPOV | JOYCAPS_POV4DIR;
    caps->wMaxAxes = 6;
    caps->wNumAxes = 4;
    std::strcpy(caps->szRegKey, "DINPUT.DLL");
    return JOYERR_NOERROR;
}

bool PatchJoystickCaps(ImportPatch& patch, HMODULE module, std::string* error) {
    return patch.Apply(module, "winmm.dll", "joyGetDevCapsA", reinterpret_cast<void*>(&HostJoyGetDevCapsA), error);
}

}  // namespace padhost
