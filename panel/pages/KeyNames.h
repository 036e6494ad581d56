// Key values and their names. A key value holds a HID keyboard usage in bits
// 0..15 and Ctrl, Shift, Alt in bits 16, 17, 18.
#pragma once

#include <cstddef>
#include <cstdint>

namespace padpanel {

inline constexpr uint32_t kKeyCtrl = 1u << 16;
inline constexpr uint32_t kKeyShift = 1u << 17;
inline constexpr uint32_t kKeyAlt = 1u << 18;
inline constexpr uint32_t kKeyUsageMask = 0xFFFF;
inline constexpr uint32_t kLastUsage = 100;
inline constexpr size_t kKeyNameCapacity = 260;  // FormatKeyName writes nothing into less

// The Windows virtual key of a usage 0..100; 0 for none and for usages past 100.
uint8_t VirtualKeyForUsage(uint32_t usage);
// The usage of a virtual key (its low 8 bits): the inverse of the table
// above; 0 for keys it lacks, except virtual key 0, which gives 100.
uint16_t UsageForVirtualKey(uint32_t virtualKey);
// The fixed name of a virtual key, or null for keys shown by their character.
const char* VirtualKeyName(uint8_t virtualKey);

// The character the keyboard layout gives a virtual key; 0 for none.
using KeyCharacter = unsigned (*)(unsigned virtualKey);

// "Ctl+", "Alt+", "Shift+" as set, in that order, then the key's name or
// character. A usage past 100 shows the prefixes alone, as a key with no
// character does. A null text or one under 260 bytes is left untouched.
void FormatKeyName(uint32_t key, char* text, size_t size, KeyCharacter character);
// The same with the installed keyboard layout's characters.
void FormatKeyName(uint32_t key, char* text, size_t size);

}  // namespace padpanel
