// Checks a game's DIEFFECT and takes what the driver keeps of it.
#pragma once

#include <windows.h>
#include <dinput.h>

#include "forcedriver/engine/EffectTypes.h"

namespace padforce {

// DirectX 5 callers pass the structure without dwStartDelay.
inline constexpr DWORD kEffectSizeDx5 = offsetof(DIEFFECT, dwStartDelay);
inline constexpr DWORD kEffectSizeDx6 = sizeof(DIEFFECT);

// S_OK with `out` filled, or E_INVALIDARG when a field that is to be read
// cannot be: a structure shorter than DirectX 5's, more than four axes, or a
// null array or block behind a nonzero count. `creating` reads every field;
// an update reads those its DIEP flags name.
HRESULT ConvertEffect(const DIEFFECT& effect, DWORD flags, bool creating, ff::EffectParams& out);

}  // namespace padforce
