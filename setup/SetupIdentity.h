// The names by which the setup tools find the pad and register it.
#pragma once

namespace padsetup {

// Device nodes carry this among their hardware ids; compared without case.
inline constexpr char kPadHardwareId[] = "hid\\vid_7a3c&pid_a02f";

// The OEM joystick type key is this prefix and the product id's low byte ("%02x").
inline constexpr char kOemKeyPrefix[] =
    "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\VID_7A3C&PID_A0";
inline constexpr unsigned kPadProductLowByte = 0x2f;

// The pad's branch of the Windows 98 device registry.
inline constexpr char kInstanceKey[] = "Enum\\HID\\VID_7A3C&PID_A02F";

inline constexpr char kOemName[] = "Zuraza Zirude joystick Zudavar";

// The kernel filter set above the pad's HID node; a multi-string of one entry.
inline constexpr char kFilterDriver[] = "VerUda98.sys";
inline constexpr char kFilterMultiString[] = "VerUda98.sys\0";  // the literal adds the closing NUL

// Value names of the OEM type entry and the instance keys.
inline constexpr char kValueConfigClsid[] = "ConfigCLSID";
inline constexpr char kValueOemData[] = "OEMData";
inline constexpr char kValueOemName[] = "OEMName";
inline constexpr char kValueAttributes[] = "Attributes";
inline constexpr char kValueFfAttributes[] = "FFAttributes";
inline constexpr char kValueClsid[] = "CLSID";
inline constexpr char kValueUpperFilters[] = "UpperFilters";

// One buffer serves key paths, subkey names and the queried filter value.
inline constexpr unsigned kNameBufferSize = 520;
// A device node's hardware-id list is read into this much first.
inline constexpr unsigned kHardwareIdBufferSize = 4048;

}  // namespace padsetup
