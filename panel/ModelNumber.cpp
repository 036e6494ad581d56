#include "panel/ModelNumber.h"

namespace padpanel {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

unsigned ModelNumberFromTypeName(const char* typeName, size_t capacity) {
    if (!typeName) return kFallbackModelNumber;
    size_t length = 0;
    while (length < capacity && typeName[length]) ++length;
    if (length < 17) return kFallbackModelNumber;
    const int high = HexValue(typeName[15]);
    const int low = HexValue(typeName[16]);
    if (high < 0 || low < 0) return kFallbackModelNumber;
    return static_cast<unsigned>(high * 16 + low);
}

}  // namespace padpanel
