// Who the pad is, as every module names it.
#pragma once

#include <cstdint>

namespace pad {

// The names the user sees on the setup package and in the list of installed programs.
inline constexpr char kProductName[] = "Zuraza Zirude joystick Zudavar";
// The maker, as the settings key under "Software" names it.
inline constexpr char kMakerName[] = "ZevEreRaverav";

inline constexpr uint16_t kVendorId = 0x7A3C;
inline constexpr uint16_t kProductId = 0xA02F;

inline constexpr char kForceDriverClsid[] = "{5D1C2A90-7A3C-A02F-8E41-00104B7C3D21}";
inline constexpr char kPropertySheetClsid[] = "{2E8B4F16-7A3C-A02F-C5D2-0040A1E6B937}";

// Both modules key the settings by the low byte of the product id, in decimal.
inline constexpr unsigned ModelNumberFromProductId(uint32_t productId) { return productId & 0xFF; }

// The driver's spelling of the settings key; key names compare without case.
inline constexpr char kDriverSettingsKeyFormat[] = "SOFTWARE\\ZevEreRaverav\\%d";
inline constexpr char kSettingsValueName[] = "CurrentValue";

}  // namespace pad
