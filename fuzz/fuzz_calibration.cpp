// Any calibration words and sensitivity levels through mapping and
// rescaling, and a check page's capture of any samples committed into them.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdlib>

#include "panel/pages/Calibration.h"

using namespace padpanel;

namespace {

// A rescaled word keeps its form, its centre, and ends on the 8-bit scale;
// an unchanged level leaves it as it was.
void CheckRescaled(uint32_t word, uint32_t rescaled, bool sameLevel) {
    if (sameLevel) {
        if (rescaled != word) std::abort();
        return;
    }
    if ((word & kTwoPointWord) != (rescaled & kTwoPointWord)) std::abort();
    if (word & kTwoPointWord) {
        if (rescaled >> 16 != kTwoPointWord >> 16) std::abort();
    } else if (rescaled >> 24 != 0 || (rescaled & 0xFF00) != (word & 0xFF00)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const uint32_t word = in.ConsumeIntegral<uint32_t>();
    const int32_t raw = in.ConsumeIntegral<int32_t>();

    if (AxisByte(raw) > 255) std::abort();
    if (MapAxis(word, raw) > 255 || MapAxis(word, AxisByteUncapped(raw)) > 255 ||
        MapAxis(word, static_cast<int32_t>(AxisByte(raw))) > 255)
        std::abort();

    const int oldLevel = in.ConsumeIntegral<int>(), newLevel = in.ConsumeIntegral<int>();
    const uint32_t rescaled = RescaleForSensitivity(word, oldLevel, newLevel);
    CheckRescaled(word, rescaled, oldLevel == newLevel);
    if (MapAxis(rescaled, raw) > 255) std::abort();

    // A check: five record words, samples for each, then the commit.
    uint32_t words[5];
    std::array<uint32_t, 5> captures;
    for (int i = 0; i < 5; ++i) {
        words[i] = i == 0 ? word : in.ConsumeIntegral<uint32_t>();
        captures[i] = CaptureStartWord(words[i]);
    }
    const uint32_t sensitivity = in.ConsumeIntegral<uint32_t>();
    bool first = true;
    while (in.remaining_bytes() > 0) {
        const int axis = in.ConsumeIntegralInRange(0, 4);
        CaptureSample(captures[axis], words[axis], in.ConsumeIntegral<int32_t>(), first);
        first = in.ConsumeBool();
    }
    uint32_t committed[5] = {words[0], words[1], words[2], words[3], words[4]};
    CommitCaptures(captures, committed, sensitivity);
    for (int i = 0; i < 5; ++i) {
        if (committed[i] != words[i] && !IsValidCapture(captures[i], words[i])) std::abort();
        if ((committed[i] & kTwoPointWord) != (words[i] & kTwoPointWord)) std::abort();
        if (MapAxis(committed[i], raw) > 255) std::abort();
    }
    return 0;
}
