// The DirectInput 7 stand-in: what the panel's DirectInputCreateA reaches
// under Wine, whose own DirectInput 7 has no joystick configuration. It
// answers from the shared pad state and counts what it is asked.
#pragma once

#include <windows.h>
#include <dinput.h>
#include <dinputd.h>

#include "tools/padstate/PadStateLink.h"

namespace dinput7 {

// {7A3CA02F-5041-4400-8000-504144535441}: the pad's instance guid.
extern const GUID kPadInstanceGuid;

padstate::PadStateLink& State();
void Count(uint32_t padstate::StandInCounters::*counter);

// Objects with one interlocked count; the last Release deletes them.
class RefCounted {
public:
    virtual ~RefCounted() = default;
    ULONG AddRefImpl() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    ULONG ReleaseImpl() {
        const LONG n = ::InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

private:
    LONG refs_ = 1;
};

HRESULT CreateInput(IDirectInputA** out);
HRESULT CreateJoyConfig(IDirectInputJoyConfig** out);
HRESULT CreateDevice(IDirectInputDeviceA** out);

}  // namespace dinput7
