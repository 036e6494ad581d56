// Any 32-bit key value through the key-name formatting and the caption it
// becomes on the test page: the name stays in its buffer, the caption's stale
// area in its rectangle. The key prompt's steps build further values.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>

#include "panel/controls/ControlGeometry.h"
#include "panel/pages/ButtonGrid.h"
#include "panel/pages/ButtonPageRules.h"
#include "panel/pages/KeyNames.h"

using namespace padpanel;

namespace {

// The keyboard layout's character for a key, drawn from the input.
unsigned g_character = 0;
unsigned Character(unsigned) { return g_character; }

void ShowKey(uint32_t key, int button) {
    char name[kKeyNameCapacity + 1];
    std::memset(name, 0x55, sizeof name);
    FormatKeyName(key, name, kKeyNameCapacity, Character);
    // A name fits its buffer with room to spare; the byte past it is never written.
    const size_t length = strnlen(name, kKeyNameCapacity);
    if (length >= kKeyNameCapacity || name[kKeyNameCapacity] != 0x55) std::abort();

    const Box caption = IndicatorCaptionBox(button);
    const Box stale = CaptionStaleArea(caption, static_cast<uint32_t>(length));
    if (stale.Left != caption.Left || stale.Right > caption.Right || stale.Right < stale.Left ||
        stale.Top != caption.Top || stale.Bottom != caption.Bottom)
        std::abort();

    // A buffer under the capacity is left as it was.
    char small[kKeyNameCapacity - 1];
    std::memset(small, 0x2A, sizeof small);
    FormatKeyName(key, small, sizeof small, Character);
    for (char c : small)
        if (c != 0x2A) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const uint32_t key = in.ConsumeIntegral<uint32_t>();
    g_character = in.ConsumeIntegral<uint32_t>();
    const int button = in.ConsumeIntegralInRange(1, 12);
    ShowKey(key, button);

    const uint8_t virtualKey = static_cast<uint8_t>(key);
    VirtualKeyName(virtualKey);
    if (VirtualKeyForUsage(key) != 0 && UsageForVirtualKey(VirtualKeyForUsage(key)) == 0) std::abort();

    // Key messages as the prompt sees them, each value shown as it would be.
    uint32_t captured = 0;
    while (in.remaining_bytes() > 0) {
        const uint32_t message = in.ConsumeIntegral<uint32_t>();
        captured = KeyPromptStep(captured, message, in.ConsumeBool());
        ShowKey(captured, button);
    }
    return 0;
}
