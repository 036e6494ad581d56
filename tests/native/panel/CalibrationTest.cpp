// Calibration words: mapping an axis through them, and the sensitivity rescale.
#include <gtest/gtest.h>

#include "panel/pages/Calibration.h"

namespace {

using namespace padpanel;

TEST(AxisByte, IsTheValueOver256RoundedAndCappedOnlyWhereAsked) {
    EXPECT_EQ(AxisByte(0), 0u);
    EXPECT_EQ(AxisByte(127), 0u);
    EXPECT_EQ(AxisByte(128), 1u);
    EXPECT_EQ(AxisByte(32767), 128u);
    EXPECT_EQ(AxisByte(65535), 255u);
    EXPECT_EQ(AxisByteUncapped(65535), 256);
    EXPECT_EQ(AxisByte(-5000), 0u) << "nothing below 0";
}

TEST(MapAxis, TheCentredWordMapsEveryValueToItself) {
    for (int32_t v = 0; v <= 255; ++v) EXPECT_EQ(MapAxis(0x7FFF, v), static_cast<uint32_t>(v)) << v;
}

TEST(MapAxis, TwoPointWordsSpanTheirRangeAndDegenerateWordsGiveTheCentre) {
    const uint32_t word = kTwoPointWord | 0x40 << 8 | 0xC0;  // 64..192
    EXPECT_EQ(MapAxis(word, 0), 0u);
    EXPECT_EQ(MapAxis(word, 128), 127u);
    EXPECT_EQ(MapAxis(word, 255), 255u);
    for (uint32_t degenerate : {kTwoPointWord | 0x80 << 8 | 0x80, kTwoPointWord | 0xC0 << 8 | 0x40, 0x808080u,
                                0xC08040u, 0u})
        for (int32_t v : {0, 100, 128, 255, 256}) EXPECT_EQ(MapAxis(degenerate, v), 127u) << std::hex << degenerate;
}

TEST(RescaleForSensitivity, EachLevelStepHalvesOrDoublesTheEndsDistanceFromTheCentre) {
    EXPECT_EQ(RescaleForSensitivity(0x7FFF, 0, 1), 0x407FBFu);
    EXPECT_EQ(RescaleForSensitivity(0x7FFF, 0, 2), 0x607F9Fu);
    EXPECT_EQ(RescaleForSensitivity(0x607F9F, 2, 0), 0x037FFFu) << "not back to 0x7FFF";
    EXPECT_EQ(RescaleForSensitivity(0x7FFF, 2, 0), 0x007FFFu) << "ends clamped to 0..255";
    EXPECT_EQ(RescaleForSensitivity(kTwoPointWord | 0x00FF, 0, 1), kTwoPointWord | 0x40 << 8 | 0xBF)
        << "a two-point word keeps its form around its mean";
    EXPECT_EQ(RescaleForSensitivity(0x123456, 1, 1), 0x123456u);
    // Levels a whole int apart: the ends meet the centre, or reach 0 and 255.
    EXPECT_EQ(RescaleForSensitivity(0x7FFF, INT32_MIN, INT32_MAX), 0x7F7F7Fu);
    EXPECT_EQ(RescaleForSensitivity(0x7FFF, INT32_MAX, INT32_MIN), 0x007FFFu);
}

TEST(CaptureStartWord, PutsBothEndsAtTheWrongExtremeInTheRecordWordsForm) {
    EXPECT_EQ(CaptureStartWord(0x7FFF), 0xFF0000u);
    EXPECT_EQ(CaptureStartWord(kTwoPointWord | 0xFF), 0x100FF00u);
}

}  // namespace

namespace {

using namespace padpanel;

// Samples of one capture step: the first gives the centre, the rest the ends.
uint32_t Captured(uint32_t recordWord, std::initializer_list<int32_t> raws) {
    uint32_t capture = CaptureStartWord(recordWord);
    bool first = true;
    for (int32_t raw : raws) {
        CaptureSample(capture, recordWord, raw, first);
        first = false;
    }
    return capture;
}

TEST(Capture, TheRestPositionIsTheCentreAndTheExtremesTheEnds) {
    EXPECT_EQ(Captured(0x7FFF, {128 * 256, 20 * 256, 240 * 256, 128 * 256}), 0x1480F0u);
    EXPECT_EQ(Captured(kTwoPointWord | 0xFF, {128 * 256, 20 * 256, 240 * 256}), kTwoPointWord | 0x14F0)
        << "a two-point word records no centre";
    EXPECT_FALSE(IsValidCapture(Captured(0x7FFF, {128 * 256, 128 * 256, 128 * 256}), 0x7FFF))
        << "a stick that never moved leaves equal ends";
    EXPECT_FALSE(IsValidCapture(CaptureStartWord(kTwoPointWord), kTwoPointWord));
}

TEST(Capture, ACommitStoresValidCapturesOnlyNarrowingXAndYForTheSensitivity) {
    uint32_t words[5] = {0x7FFF, 0x7FFF, 0x11, 0x22, 0x33};
    const std::array<uint32_t, 5> captures = {0x1480F0u, CaptureStartWord(0x7FFF), 0x0A80F5u, CaptureStartWord(0x22),
                                              0x808080u};
    CommitCaptures(captures, words, 1);
    EXPECT_EQ(words[0], 0x4A80B8u) << "centre 128, ends halfway in: 128 - 108/2, 128 + 112/2";
    EXPECT_EQ(words[1], 0x7FFFu) << "an untouched capture is invalid";
    EXPECT_EQ(words[2], 0x0A80F5u) << "the rudder is never narrowed";
    EXPECT_EQ(words[3], 0x22u) << "word 3 is never captured, so never changed";
    EXPECT_EQ(words[4], 0x33u) << "equal ends are invalid";
}

}  // namespace
