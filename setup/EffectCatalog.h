// The effect list DirectInput reads under the OEM type's "OEMForceFeedback\Effects":
// which DirectInput effect types the pad offers, and what the driver does with each.
#pragma once

#include <array>
#include <cstdint>

#include "forcedriver/engine/EffectTypes.h"
#include "setup/OemBlocks.h"

namespace padsetup {

// DIEFFECTATTRIBUTES effect type and its capability flags.
inline constexpr uint32_t kDieftConstantForce = 0x01;
inline constexpr uint32_t kDieftRampForce = 0x02;
inline constexpr uint32_t kDieftPeriodic = 0x03;
inline constexpr uint32_t kDieftFfAttack = 0x0200;
inline constexpr uint32_t kDieftFfFade = 0x0400;
inline constexpr uint32_t kDieftStartDelay = 0x8000;

// The driver plays an envelope's attack and fade and honours the start delay for every kind.
inline constexpr uint32_t kEffectCapabilities = kDieftFfAttack | kDieftFfFade | kDieftStartDelay;

// What the driver keeps and plays of a DIEFFECT. The sample period is kept but
// not used, and trigger buttons are not kept, so neither is offered.
inline constexpr uint32_t kHonouredParams = ff::kParamDuration | ff::kParamGain | ff::kParamAxes |
                                            ff::kParamDirection | ff::kParamEnvelope |
                                            ff::kParamTypeSpecific | ff::kParamStartDelay;
// An update applies each of them to a playing effect at once, without a
// restart. A direction is read in the coordinates the effect was created
// with: an update cannot move an effect from cartesian to polar or back.
inline constexpr uint32_t kPlayingParams = kHonouredParams;

// The driver splits by cartesian or polar directions; anything else drives both motors alike.
inline constexpr uint32_t kHonouredCoords = ff::kCoordCartesian | ff::kCoordPolar;

struct EffectEntry {
    const char* Guid;  // the DirectInput effect type, "{...}"
    const char* Name;
    uint32_t EffectId;  // the driver's effect id
    uint32_t Type;
    uint32_t StaticParams;
    uint32_t DynamicParams;
    uint32_t Coords;

    // DIEFFECTATTRIBUTES as stored in the "Attributes" value.
    constexpr WordBytes<5> AttributesBytes() const {
        return PackLittleEndian<5>({EffectId, Type, StaticParams, DynamicParams, Coords});
    }
};

constexpr EffectEntry MakeEffect(const char* guid, const char* name, ff::EffectKind id, uint32_t type) {
    return {guid, name, id, type | kEffectCapabilities, kHonouredParams, kPlayingParams, kHonouredCoords};
}

inline constexpr std::array<EffectEntry, 7> kEffectCatalog = {
    MakeEffect("{13541C20-8E33-11D0-9AD0-00A0C9A06E35}", "Constant Force", ff::kConstantForce,
               kDieftConstantForce),
    MakeEffect("{13541C21-8E33-11D0-9AD0-00A0C9A06E35}", "Ramp Force", ff::kRampForce, kDieftRampForce),
    MakeEffect("{13541C22-8E33-11D0-9AD0-00A0C9A06E35}", "Square Wave", ff::kSquare, kDieftPeriodic),
    MakeEffect("{13541C23-8E33-11D0-9AD0-00A0C9A06E35}", "Sine Wave", ff::kSine, kDieftPeriodic),
    MakeEffect("{13541C24-8E33-11D0-9AD0-00A0C9A06E35}", "Triangle Wave", ff::kTriangle, kDieftPeriodic),
    MakeEffect("{13541C25-8E33-11D0-9AD0-00A0C9A06E35}", "Sawtooth Up Wave", ff::kSawtoothUp,
               kDieftPeriodic),
    MakeEffect("{13541C26-8E33-11D0-9AD0-00A0C9A06E35}", "Sawtooth Down Wave", ff::kSawtoothDown,
               kDieftPeriodic),
};

}  // namespace padsetup
