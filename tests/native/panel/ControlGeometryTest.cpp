// Where the drawn controls put their fills and dots, and which rectangle a
// change makes stale.
#include <gtest/gtest.h>

#include "panel/controls/ControlGeometry.h"

namespace {

using namespace padpanel;

// The test page's Z gauge: span 130 between margins 40 and 83.
const GaugeGeometry kAxisBar{Box{28, 146, 241, 229}, 40, 83, true};
const GaugeGeometry kSelector{Box{280, 250, 308, 283}, 0, 0, false};
// The test page's stick cursor.
const CursorGeometry kStick{Box{326, 250, 429, 355}, 30, 377, 302};

TEST(LevelGaugeGeometry, TheFillCoversTheLeftMarginAsSoonAsTheLevelIsNotZero) {
    EXPECT_EQ(kAxisBar.FillArea(255u << 16), (Box{28, 146, 198, 229}));
    EXPECT_EQ(kAxisBar.FillArea(1u << 16), (Box{28, 146, 68, 229}));
    EXPECT_EQ(kAxisBar.FillArea(0).Right, kAxisBar.FillArea(0).Left) << "no fill at 0";
    EXPECT_EQ(kSelector.FillArea(170), (Box{280, 261, 308, 283})) << "a vertical level fills the full width";
    EXPECT_EQ(kAxisBar.FillArea(0xFFFFu << 16).Right, 241) << "a level past 255 stays inside the gauge";
}

TEST(LevelGaugeGeometry, AChangeMakesOnlyTheBandBetweenOldAndNewLevelStale) {
    struct Case {
        uint32_t From, To;
        bool Changed;
        Box Area;
    };
    const Case cases[] = {
        {128u << 16, 192u << 16, true, Box{132, 172, 166, 209}},  // trimmed to the track
        {192u << 16, 128u << 16, true, Box{132, 172, 166, 209}},  // either direction
        {0, 1u << 16, true, Box{68, 172, 69, 209}},
        {128u << 16, 128u << 16, false, Box{}},
    };
    for (const Case& c : cases) {
        Box area;
        EXPECT_EQ(kAxisBar.StaleArea(c.From, c.To, area), c.Changed) << c.From << " -> " << c.To;
        if (c.Changed) {
            EXPECT_EQ(area, c.Area) << c.From << " -> " << c.To;
        }
    }
    Box area;
    ASSERT_TRUE(kSelector.StaleArea(85, 255, area));
    EXPECT_EQ(area, (Box{280, 250, 308, 273})) << "a vertical change keeps the full width";
}

TEST(PositionCursorGeometry, TheDotIsCentredOnThePointAndItsStaleAreaIsCutAtTheRange) {
    EXPECT_EQ(kStick.DotArea(0, 0), (Box{361, 286, 393, 318})) << "drawn from (362, 287) to (392, 317)";
    EXPECT_EQ(kStick.DotCentreX(128), 428);
    EXPECT_EQ(kStick.StaleArea(128, 0), (Box{412, 286, 429, 318})) << "cut at the range's right edge";
    EXPECT_EQ(kStick.StaleArea(-127, -127), (Box{326, 250, 342, 266})) << "and at its left and top";
}

TEST(CaptionStale, TenPixelsACharacterNeverWiderThanTheCaption) {
    const Box caption{60, 101, 160, 115};
    EXPECT_EQ(CaptionStaleArea(caption, 4), (Box{60, 101, 100, 115}));
    EXPECT_EQ(CaptionStaleArea(caption, 20), caption);
}

TEST(HatDirections, OnlyTheEightAnglesShowADirection) {
    EXPECT_EQ(HatDirection(0), 0);
    EXPECT_EQ(HatDirection(4500), 1);
    EXPECT_EQ(HatDirection(31500), 7);
    for (uint32_t between : {1u, 2250u, 36000u, 0xFFFFu, 0xFFFFFFFFu}) EXPECT_EQ(HatDirection(between), -1) << between;
}

}  // namespace
