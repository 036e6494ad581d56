// A DIEFFECT with its axes, directions, envelope and parameter block in
// storage of its own, built from an EffectShape. Neither copied nor moved: the
// structure points into the object itself.
#pragma once

#include <windows.h>
#include <dinput.h>

#include "hosts/dihost/EffectShape.h"

namespace padhost {

enum class EffectForm {
    DirectX6,  // sizeof(DIEFFECT), with dwStartDelay
    DirectX5,  // up to dwStartDelay; the start delay field past the end holds a value no driver should use
};

// What a DirectX 5 structure's missing dwStartDelay holds: read, it would
// delay the effect by over an hour.
inline constexpr DWORD kPastTheEndStartDelay = 0x7FFFFFFF;

class BuiltEffect {
public:
    explicit BuiltEffect(const EffectShape& effectShape, EffectForm form = EffectForm::DirectX6);
    BuiltEffect(const BuiltEffect&) = delete;
    BuiltEffect& operator=(const BuiltEffect&) = delete;

    const DIEFFECT* Get() const { return &effect_; }
    DWORD EffectId() const { return effectId_; }
    // For tests that break the structure on purpose; the pointers stay valid
    // while this object lives.
    DIEFFECT& Raw() { return effect_; }
    DIENVELOPE& Envelope() { return envelope_; }

private:
    DIEFFECT effect_{};
    DWORD axes_[kMaxShapeAxes] = {};
    LONG directions_[kMaxShapeAxes] = {};
    DIENVELOPE envelope_{};
    union Block {
        DICONSTANTFORCE Constant;
        DIRAMPFORCE Ramp;
        DIPERIODIC Periodic;
        BYTE Bytes[16];
    } block_{};
    DWORD effectId_ = 0;
};

}  // namespace padhost
