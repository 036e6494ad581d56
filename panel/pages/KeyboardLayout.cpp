// Key names with the characters of the installed keyboard layout.
#include <windows.h>

#include "panel/pages/KeyNames.h"

namespace padpanel {

namespace {

unsigned LayoutCharacter(unsigned virtualKey) { return ::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_CHAR); }

}  // namespace

void FormatKeyName(uint32_t key, char* text, size_t size) { FormatKeyName(key, text, size, LayoutCharacter); }

}  // namespace padpanel
