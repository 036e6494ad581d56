// Entry points of the stand-in dinput.dll.
#include <windows.h>
#include <initguid.h>
#include <dinput.h>
#include <dinputd.h>

#include "hosts/dinput7/StandIn.h"

namespace dinput7 {

const GUID kPadInstanceGuid = {0x7A3CA02F, 0x5041, 0x4400, {0x80, 0x00, 0x50, 0x41, 0x44, 0x53, 0x54, 0x41}};

padstate::PadStateLink& State() {
    static padstate::PadStateLink link;
    return link;
}

void Count(uint32_t padstate::StandInCounters::*counter) {
    if (State().IsOpen()) padstate::PadStateLink::Count(State()->Counters.*counter);
}

}  // namespace dinput7

extern "C" HRESULT WINAPI DirectInputCreateA(HINSTANCE, DWORD version, IDirectInputA** out, IUnknown* outer) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (version < 0x0300 || version > 0x0700) return DIERR_OLDDIRECTINPUTVERSION;
    if (!dinput7::State().IsOpen()) return E_FAIL;
    return dinput7::CreateInput(out);
}

// Tells a host that this module, not the system's DirectInput, is loaded.
extern "C" DWORD WINAPI PadDirectInputStandIn() { return 0x0700; }
