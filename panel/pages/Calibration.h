// Axis calibration words and the 8-bit form of DirectInput's axis values.
//
// A three-point word (bit 24 clear) holds maximum, centre and minimum in bits
// 0..7, 8..15 and 16..23; a two-point word (bit 24 set) holds maximum and
// minimum in bits 0..7 and 8..15, its centre being their mean rounded down.
#pragma once

#include <array>
#include <cstdint>

namespace padpanel {

inline constexpr uint32_t kTwoPointWord = 1u << 24;

// v / 256 rounded to nearest; the capped form is limited to 0..255.
int32_t AxisByteUncapped(int32_t value);
uint32_t AxisByte(int32_t value);

// 0..255 for the 8-bit value v through the word. A word that leaves no span
// to divide by (equal or crossed ends) maps everything to the centre, 127.
uint32_t MapAxis(uint32_t word, int32_t v);

// The word with both ends moved towards its centre (level raised: the
// distance halves per step) or away from it (level lowered: it doubles per
// step), in its own form; ends that would leave 0..255 are clamped.
uint32_t RescaleForSensitivity(uint32_t word, int oldLevel, int newLevel);

// A capture word before its first sample, in the record word's form: both
// ends at the wrong extreme, so the first samples replace them.
inline uint32_t CaptureStartWord(uint32_t recordWord) {
    return (recordWord & kTwoPointWord) ? 0x100FF00u : 0xFF0000u;
}

// One sample of a capture step into a capture word, in the record word's
// form. The step's first sample gives a three-point word its centre and a
// two-point word nothing; later ones widen the ends.
void CaptureSample(uint32_t& capture, uint32_t recordWord, int32_t raw, bool firstSample);

// Whether a capture may replace its record word: ends in order (and the
// centre between them), in the record word's form, and not as it started.
bool IsValidCapture(uint32_t capture, uint32_t recordWord);

// The record words after a finished check: each valid capture replaces its
// word; X and Y (words 0 and 1) narrowed for a sensitivity level of 1 or 2
// (higher levels count as 2).
void CommitCaptures(const std::array<uint32_t, 5>& captures, uint32_t (&words)[5], uint32_t sensitivity);

}  // namespace padpanel
