// Key values shown as text, and the two key tables.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "panel/pages/KeyNames.h"

namespace {

using namespace padpanel;

// A layout that types the virtual key's own code: letters and digits as themselves.
unsigned Plain(unsigned virtualKey) { return virtualKey < 0x80 ? virtualKey : 0; }

std::string Name(uint32_t key) {
    char text[kKeyNameCapacity];
    std::memset(text, '#', sizeof text);
    FormatKeyName(key, text, sizeof text, Plain);
    return text;
}

TEST(FormatKeyName, ModifiersComeFirstInTheOrderCtrlAltShift) {
    EXPECT_EQ(Name(kKeyCtrl | kKeyAlt | kKeyShift | 4), "Ctl+Alt+Shift+A");
    EXPECT_EQ(Name(kKeyShift | 30), "Shift+1");
}

TEST(FormatKeyName, NamedKeysByNameOthersByTheirCharacterNoKeyByNothing) {
    const struct {
        uint32_t Key;
        const char* Text;
    } cases[] = {{59, "F2"}, {75, "PageUp"}, {57, "CapsLock"}, {44, "SPACE"},  {29, "Z"},
                 {0, ""},    {53, ""},      {kKeyCtrl | 53, "Ctl+"},         {kKeyAlt | 101, "Alt+"},
                 {0xFFFF, ""}};
    for (const auto& c : cases) EXPECT_EQ(Name(c.Key), c.Text) << "key value " << c.Key;
}

TEST(FormatKeyName, ABufferUnder260BytesIsLeftUntouched) {
    char text[259];
    std::memset(text, '#', sizeof text);
    FormatKeyName(4, text, sizeof text, Plain);
    EXPECT_EQ(text[0], '#');
    FormatKeyName(4, nullptr, kKeyNameCapacity, Plain);  // and no buffer is no crash
}

TEST(KeyTables, AreExactInversesAndVirtualKeyZeroGives100) {
    int keys = 0;
    for (uint32_t usage = 0; usage <= kLastUsage; ++usage) {
        const uint8_t key = VirtualKeyForUsage(usage);
        if (key == 0) continue;
        ++keys;
        EXPECT_EQ(UsageForVirtualKey(key), usage) << "usage " << usage;
    }
    EXPECT_EQ(keys, 95) << "usages 0..3, 53 and 100 have no key";
    int usages = 0;
    for (uint32_t key = 1; key < 256; ++key) {
        if (UsageForVirtualKey(key) == 0) continue;
        ++usages;
        EXPECT_EQ(VirtualKeyForUsage(UsageForVirtualKey(key)), key) << "virtual key " << key;
    }
    EXPECT_EQ(usages, keys);
    EXPECT_EQ(UsageForVirtualKey(0), 100u);
    EXPECT_EQ(UsageForVirtualKey(0x141), UsageForVirtualKey(0x41)) << "only the low 8 bits count";
    EXPECT_EQ(VirtualKeyForUsage(101), 0);
}

}  // namespace
