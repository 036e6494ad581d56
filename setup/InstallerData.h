// What the installer writes: the pad's identity strings and the attribute
// blocks of its OEM joystick type, packed little-endian from named fields.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace padsetup {

inline constexpr char kPadHardwareId[] = "hid\\vid_7a3c&pid_a02f";
inline constexpr char kOemTypeKeyPrefix[] =
    "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\VID_7A3C&PID_A0";
inline constexpr char kDeviceInstanceKey[] = "Enum\\HID\\VID_7A3C&PID_A02F";
inline constexpr char kOemName[] = "Zuraza Zirude joystick Zudavar";
inline constexpr char kFilterDriver[] = "VerUda98.sys";
inline constexpr uint8_t kPadProductLowByte = 0x2f;
inline constexpr int kAxisCount = 2;  // axes 0 and 1 carry attributes

// Value names under the OEM type key and its subkeys.
inline constexpr char kConfigClsidValue[] = "ConfigCLSID";
inline constexpr char kOemDataValue[] = "OEMData";
inline constexpr char kOemNameValue[] = "OEMName";
inline constexpr char kAttributesValue[] = "Attributes";
inline constexpr char kFfAttributesValue[] = "FFAttributes";
inline constexpr char kClsidValue[] = "CLSID";
inline constexpr char kUpperFiltersValue[] = "UpperFilters";

// One buffer serves key paths, subkey names and the queried filter value.
inline constexpr std::size_t kNameBufferSize = 520;
inline constexpr std::size_t kHardwareIdBufferSize = 4048;

// The filter as a one-entry multi-string: the name, its NUL, the closing NUL.
inline constexpr std::size_t kFilterMultiStringSize = sizeof(kFilterDriver) + 1;
std::array<char, kFilterMultiStringSize> FilterMultiString();

template <std::size_t N>
using Block = std::array<uint8_t, N>;

// JOYREGHWSETTINGS
inline constexpr uint32_t kJoyHwsHasPov = 0x02;
inline constexpr uint32_t kJoyHwsPovIsPoll = 0x08;
struct HardwareSettings {
    uint32_t Flags = kJoyHwsHasPov | kJoyHwsPovIsPoll;
    uint32_t NumButtons = 0x100;  // as DirectInput has always been told; not the real count
};

// DIOBJECTATTRIBUTES, of which only dwFlags is stored.
inline constexpr uint32_t kDidoiFfActuator = 0x0001;
inline constexpr uint32_t kDidoiPolled = 0x8000;
inline constexpr uint32_t kDidoiAspectPosition = 0x0100;
struct AxisAttributes {
    uint32_t Flags = kDidoiFfActuator | kDidoiAspectPosition | kDidoiPolled;
};

// DIFFOBJECTATTRIBUTES
struct AxisFfAttributes {
    uint32_t MaxForce = 0x10800003;
    uint32_t ForceResolution = 12;
};

// DIFFDEVICEATTRIBUTES, times in microseconds.
struct DeviceFfAttributes {
    uint32_t Flags = 0;
    uint32_t SamplePeriod = 1000;
    uint32_t MinTimeResolution = 1000;
};

Block<8> Pack(const HardwareSettings& s);
Block<4> Pack(const AxisAttributes& a);
Block<8> Pack(const AxisFfAttributes& a);
Block<12> Pack(const DeviceFfAttributes& d);

}  // namespace padsetup
