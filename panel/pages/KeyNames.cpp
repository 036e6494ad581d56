#include "panel/pages/KeyNames.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace padpanel {

namespace {

constexpr std::array<uint8_t, kLastUsage + 1> MakeUsageTable() {
    std::array<uint8_t, kLastUsage + 1> t{};
    for (uint32_t u = 4; u <= 29; ++u) t[u] = static_cast<uint8_t>(0x41 + u - 4);  // A..Z
    for (uint32_t u = 30; u <= 38; ++u) t[u] = static_cast<uint8_t>(0x31 + u - 30);  // 1..9
    t[39] = 0x30;
    const uint8_t row40[] = {13, 27, 8, 9, 32, 189, 187, 219, 221, 220, 192, 186, 222, 0, 188, 190, 191, 20};
    for (uint32_t i = 0; i < sizeof row40; ++i) t[40 + i] = row40[i];
    for (uint32_t u = 58; u <= 69; ++u) t[u] = static_cast<uint8_t>(112 + u - 58);  // F1..F12
    const uint8_t row70[] = {42, 145, 19, 45, 36, 33, 46, 35, 34, 39, 37, 40, 38, 144, 111, 106, 109, 107, 108};
    for (uint32_t i = 0; i < sizeof row70; ++i) t[70 + i] = row70[i];
    for (uint32_t u = 89; u <= 97; ++u) t[u] = static_cast<uint8_t>(97 + u - 89);  // keypad 1..9
    t[98] = 96;
    t[99] = 110;
    return t;
}

constexpr std::array<uint8_t, kLastUsage + 1> kUsageToKey = MakeUsageTable();

constexpr std::array<uint16_t, 256> MakeKeyTable() {
    std::array<uint16_t, 256> t{};
    for (uint32_t u = 0; u <= kLastUsage; ++u)
        if (kUsageToKey[u] != 0) t[kUsageToKey[u]] = static_cast<uint16_t>(u);
    t[0] = 100;
    return t;
}

constexpr std::array<uint16_t, 256> kKeyToUsage = MakeKeyTable();

struct NamedKey {
    uint8_t Key;
    const char* Name;
};

constexpr NamedKey kNames[] = {
    {0x01, "LBUTTON"},  {0x02, "RBUTTON"}, {0x03, "CANCEL"},   {0x04, "MBUTTON"}, {0x08, "BACK"},
    {0x09, "TAB"},      {0x0C, "CLEAR"},   {0x13, "PAUSE"},    {0x14, "CapsLock"}, {0x20, "SPACE"},
    {0x21, "PageUp"},   {0x22, "PageDown"}, {0x23, "END"},     {0x24, "HOME"},    {0x25, "LEFT"},
    {0x26, "UP"},       {0x27, "RIGHT"},   {0x28, "DOWN"},     {0x29, "SELECT"},  {0x2A, "PRINT"},
    {0x2B, "EXECUTE"},  {0x2C, "SNAPSHOT"}, {0x2D, "INSERT"},  {0x2E, "DELETE"},  {0x2F, "HELP"},
    {0x70, "F1"},       {0x71, "F2"},      {0x72, "F3"},       {0x73, "F4"},      {0x74, "F5"},
    {0x75, "F6"},       {0x76, "F7"},      {0x77, "F8"},       {0x78, "F9"},      {0x79, "F10"},
    {0x7A, "F11"},      {0x7B, "F12"},     {0x90, "NUMLOCK"},  {0x91, "SCROLL"},
};

}  // namespace

uint8_t VirtualKeyForUsage(uint32_t usage) { return usage <= kLastUsage ? kUsageToKey[usage] : 0; }

uint16_t UsageForVirtualKey(uint32_t virtualKey) { return kKeyToUsage[virtualKey & 0xFF]; }

const char* VirtualKeyName(uint8_t virtualKey) {
    for (const NamedKey& n : kNames)
        if (n.Key == virtualKey) return n.Name;
    return nullptr;
}

void FormatKeyName(uint32_t key, char* text, size_t size, KeyCharacter character) {
    if (!text || size < kKeyNameCapacity) return;
    text[0] = '\0';
    if (key & kKeyCtrl) std::strcat(text, "Ctl+");
    if (key & kKeyAlt) std::strcat(text, "Alt+");
    if (key & kKeyShift) std::strcat(text, "Shift+");
    const uint8_t virtualKey = VirtualKeyForUsage(key & kKeyUsageMask);
    if (const char* name = VirtualKeyName(virtualKey)) {
        std::strcat(text, name);
        return;
    }
    const unsigned c = virtualKey != 0 && character ? character(virtualKey) & 0xFF : 0;
    if (c != 0) {
        const size_t n = std::strlen(text);
        text[n] = static_cast<char>(c);
        text[n + 1] = '\0';
    }
}

}  // namespace padpanel
