#include "panel/pages/Calibration.h"

namespace padpanel {

namespace {

struct Ends {
    int32_t Min, Centre, Max;
    bool TwoPoint;
};

Ends Split(uint32_t word) {
    if (word & kTwoPointWord) {
        const int32_t max = word & 0xFF, min = (word >> 8) & 0xFF;
        return Ends{min, (min + max) / 2, max, true};
    }
    return Ends{static_cast<int32_t>((word >> 16) & 0xFF), static_cast<int32_t>((word >> 8) & 0xFF),
                static_cast<int32_t>(word & 0xFF), false};
}

uint32_t Join(const Ends& e) {
    if (e.TwoPoint) return kTwoPointWord | static_cast<uint32_t>(e.Min) << 8 | static_cast<uint32_t>(e.Max);
    return static_cast<uint32_t>(e.Min) << 16 | static_cast<uint32_t>(e.Centre) << 8 | static_cast<uint32_t>(e.Max);
}

int32_t Clamp255(int64_t v) { return v < 0 ? 0 : v > 255 ? 255 : static_cast<int32_t>(v); }

}  // namespace

int32_t AxisByteUncapped(int32_t value) { return (value >> 8) + ((value >> 7) & 1); }

uint32_t AxisByte(int32_t value) { return static_cast<uint32_t>(Clamp255(AxisByteUncapped(value))); }

uint32_t MapAxis(uint32_t word, int32_t v) {
    const Ends e = Split(word);
    if (v > e.Max) v = e.Max;
    if (v < e.Min) v = e.Min;
    int64_t result;
    if (e.TwoPoint) {
        if (e.Max <= e.Min) return 127;
        result = static_cast<int64_t>(v - e.Min) * 255 / (e.Max - e.Min);
    } else if (v > e.Centre) {
        if (e.Max <= e.Centre) return 127;
        result = 127 + static_cast<int64_t>(v - e.Centre) * 128 / (e.Max - e.Centre);
    } else if (v == e.Centre) {
        result = 127;
    } else {
        if (e.Centre <= e.Min) return 127;
        result = static_cast<int64_t>(v - e.Min) * 127 / (e.Centre - e.Min);
    }
    return static_cast<uint32_t>(Clamp255(result));
}

uint32_t RescaleForSensitivity(uint32_t word, int oldLevel, int newLevel) {
    if (newLevel == oldLevel) return word;
    Ends e = Split(word);
    int64_t lo, hi;
    // Level steps are counted wide: any two ints are at most 2^32 - 1 apart.
    if (newLevel > oldLevel) {
        const int64_t d = int64_t{newLevel} - oldLevel;
        lo = e.Centre - ((e.Centre - e.Min) / d) / 2;
        hi = e.Centre + ((e.Max - e.Centre) / d) / 2;
    } else {
        const int64_t d = int64_t{oldLevel} - newLevel;
        lo = e.Centre - 2 * d * (e.Centre - e.Min);
        hi = e.Centre + 2 * d * (e.Max - e.Centre);
    }
    e.Min = Clamp255(lo);
    e.Max = Clamp255(hi);
    return Join(e);
}

void CaptureSample(uint32_t& capture, uint32_t recordWord, int32_t raw, bool firstSample) {
    const uint32_t v = AxisByte(raw);
    if (recordWord & kTwoPointWord) {
        if (firstSample) return;
        uint32_t max = capture & 0xFF, min = (capture >> 8) & 0xFF;
        if (v < min) min = v;
        if (v > max) max = v;
        capture = (capture & ~0xFFFFu) | min << 8 | max;
        return;
    }
    if (firstSample) {
        capture = (capture & ~0xFF00u) | v << 8;
        return;
    }
    uint32_t max = capture & 0xFF, min = (capture >> 16) & 0xFF;
    if (v < min) min = v;
    if (v > max) max = v;
    capture = (capture & ~0xFF00FFu) | min << 16 | max;
}

bool IsValidCapture(uint32_t capture, uint32_t recordWord) {
    if (recordWord & kTwoPointWord) {
        return capture != CaptureStartWord(recordWord) && (capture & kTwoPointWord) &&
               ((capture >> 8) & 0xFF) < (capture & 0xFF);
    }
    const uint32_t min = (capture >> 16) & 0xFF, centre = (capture >> 8) & 0xFF, max = capture & 0xFF;
    return capture != CaptureStartWord(recordWord) && !(capture & kTwoPointWord) && min < centre && centre < max;
}

void CommitCaptures(const std::array<uint32_t, 5>& captures, uint32_t (&words)[5], uint32_t sensitivity) {
    const int level = sensitivity > 2 ? 2 : static_cast<int>(sensitivity);
    for (int i = 0; i < 5; ++i) {
        if (!IsValidCapture(captures[i], words[i])) continue;
        words[i] = i < 2 ? RescaleForSensitivity(captures[i], 0, level) : captures[i];
    }
}

}  // namespace padpanel
