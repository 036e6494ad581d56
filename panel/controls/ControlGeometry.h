// The arithmetic of the drawn controls, without Windows: where a gauge's fill
// ends, which rectangle a value change makes stale, where the cursor's dot
// lies. The controls turn these boxes into RECTs and InvalidateRect calls.
#pragma once

#include <cstdint>

namespace padpanel {

struct Box {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    bool operator==(const Box& o) const {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
};

// A caption's stale part when a button's look changes: 10 pixels a
// character from its left edge, never wider than the caption rectangle.
Box CaptionStaleArea(const Box& caption, uint32_t length);

// A level gauge: the fill grows right for the high 16 bits of the value and
// up for the low 16 bits, each 0..255.
struct GaugeGeometry {
    Box Rect;
    int32_t MarginLeft = 0;
    int32_t MarginRight = 0;
    bool TrimTrack = false;

    uint32_t Span() const { return static_cast<uint32_t>(Rect.Right - MarginRight - Rect.Left); }
    int32_t FillRight(uint32_t level) const;
    int32_t FillTop(uint32_t level) const;
    // The part of the gauge the fill covers at `value`; empty when it shows none.
    Box FillArea(uint32_t value) const;
    // False when the value's look does not change; otherwise the stale rectangle.
    bool StaleArea(uint32_t oldValue, uint32_t newValue, Box& area) const;
};

// A position cursor: a dot centred on a point of the range, x and y from
// -127 to 128.
struct CursorGeometry {
    Box Range;
    int32_t DotSize = 0;
    int32_t CentreX = 0;
    int32_t CentreY = 0;

    int32_t DotCentreX(int32_t x) const { return CentreX + (Range.Right - Range.Left) * x / 255; }
    int32_t DotCentreY(int32_t y) const { return CentreY + (Range.Bottom - Range.Top) * y / 255; }
    // One pixel round the drawn dot.
    Box DotArea(int32_t x, int32_t y) const;
    // The dot area cut to the range: what a change invalidates.
    Box StaleArea(int32_t x, int32_t y) const;
};

// The hat's eight angles, clockwise from up in hundredths of a degree: the
// direction index 0..7, or -1 for any other value (the centred hat included).
int HatDirection(uint32_t angle);

}  // namespace padpanel
