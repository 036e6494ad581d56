// The byte blocks of the OEM joystick type entry, built from their fields.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace padsetup {

template <size_t Words>
using WordBytes = std::array<uint8_t, Words * 4>;

// Registry blocks are the structures' bytes on a little-endian machine.
template <size_t Words>
constexpr WordBytes<Words> PackLittleEndian(const std::array<uint32_t, Words>& words) {
    WordBytes<Words> bytes{};
    for (size_t i = 0; i < Words; ++i) {
        for (size_t b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<uint8_t>(words[i] >> (8 * b));
    }
    return bytes;
}

// JOYREGHWSETTINGS flags.
inline constexpr uint32_t kJoyHwsHasPov = 0x02;
inline constexpr uint32_t kJoyHwsPovIsPoll = 0x08;

// DIOBJECTATTRIBUTES flags.
inline constexpr uint32_t kDidoiFfActuator = 0x0001;
inline constexpr uint32_t kDidoiAspectPosition = 0x0100;
inline constexpr uint32_t kDidoiPolled = 0x8000;

struct HardwareSettings {  // JOYREGHWSETTINGS
    uint32_t Flags;
    uint32_t NumButtons;
    constexpr WordBytes<2> Bytes() const { return PackLittleEndian<2>({Flags, NumButtons}); }
};

struct AxisAttributes {  // DIOBJECTATTRIBUTES, of which only dwFlags is stored
    uint32_t Flags;
    constexpr WordBytes<1> Bytes() const { return PackLittleEndian<1>({Flags}); }
};

struct AxisForceAttributes {  // DIFFOBJECTATTRIBUTES
    uint32_t MaxForce;
    uint32_t ForceResolution;
    constexpr WordBytes<2> Bytes() const { return PackLittleEndian<2>({MaxForce, ForceResolution}); }
};

struct DeviceForceAttributes {  // DIFFDEVICEATTRIBUTES
    uint32_t Flags;
    uint32_t SamplePeriod;       // microseconds
    uint32_t MinTimeResolution;  // microseconds
    constexpr WordBytes<3> Bytes() const {
        return PackLittleEndian<3>({Flags, SamplePeriod, MinTimeResolution});
    }
};

// 0x100 buttons is what this pad's entry has always stored (the pad has twelve);
// kept so that readers of the entry see what they always saw.
inline constexpr HardwareSettings kHardwareSettings{kJoyHwsHasPov | kJoyHwsPovIsPoll, 0x100};
inline constexpr AxisAttributes kAxisAttributes{kDidoiFfActuator | kDidoiAspectPosition | kDidoiPolled};
inline constexpr AxisForceAttributes kAxisForceAttributes{0x10800003, 12};
inline constexpr DeviceForceAttributes kDeviceForceAttributes{0, 1000, 1000};

// Axes 0 and 1 carry the motors.
inline constexpr int kForceAxisCount = 2;

}  // namespace padsetup
