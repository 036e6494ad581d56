#include "panel/controls/ControlGeometry.h"

namespace padpanel {

Box CaptionStaleArea(const Box& caption, uint32_t length) {
    Box area = caption;
    const int64_t narrow = static_cast<int64_t>(caption.Left) + 10 * static_cast<int64_t>(length);
    if (narrow < area.Right) area.Right = static_cast<int32_t>(narrow);
    return area;
}

// The gauge's divisions are unsigned, as its levels are.
int32_t GaugeGeometry::FillRight(uint32_t level) const {
    return Rect.Left + MarginLeft + static_cast<int32_t>(level * Span() / 255);
}

int32_t GaugeGeometry::FillTop(uint32_t level) const {
    return Rect.Bottom - static_cast<int32_t>(level * static_cast<uint32_t>(Rect.Bottom - Rect.Top) / 255);
}

Box GaugeGeometry::FillArea(uint32_t value) const {
    const uint32_t h = value >> 16, v = value & 0xFFFF;
    if (h == 0 && v == 0) return Box{Rect.Left, Rect.Bottom, Rect.Left, Rect.Bottom};
    Box fill{Rect.Left, v != 0 ? FillTop(v) : Rect.Top, h != 0 ? FillRight(h) : Rect.Right, Rect.Bottom};
    // Levels past 255 fill the gauge, never the page around it.
    if (fill.Top < Rect.Top) fill.Top = Rect.Top;
    if (fill.Right > Rect.Right) fill.Right = Rect.Right;
    return fill;
}

bool GaugeGeometry::StaleArea(uint32_t oldValue, uint32_t newValue, Box& area) const {
    area = Rect;
    bool changed = true;
    const uint32_t oldH = oldValue >> 16, newH = newValue >> 16;
    if (oldH == newH) {
        changed = false;
    } else {
        const uint32_t low = oldH < newH ? oldH : newH, high = oldH < newH ? newH : oldH;
        const uint32_t a = low * Span() / 255;
        area.Left = Rect.Left + MarginLeft + static_cast<int32_t>(a > 0 ? a - 1 : 0);
        area.Right = FillRight(high) + 1;
        if (TrimTrack) {
            area.Top = Rect.Top + 26;
            area.Bottom = Rect.Bottom - 20;
        }
    }
    const uint32_t oldV = oldValue & 0xFFFF, newV = newValue & 0xFFFF;
    if (oldV != newV) {
        const uint32_t low = oldV < newV ? oldV : newV, high = oldV < newV ? newV : oldV;
        area.Top = FillTop(high);
        area.Bottom = FillTop(low) + 1;
        changed = true;
    }
    return changed;
}

Box CursorGeometry::DotArea(int32_t x, int32_t y) const {
    const int32_t half = DotSize / 2, cx = DotCentreX(x), cy = DotCentreY(y);
    return Box{cx - half - 1, cy - half - 1, cx + half + 1, cy + half + 1};
}

Box CursorGeometry::StaleArea(int32_t x, int32_t y) const {
    Box area = DotArea(x, y);
    if (area.Left < Range.Left) area.Left = Range.Left;
    if (area.Right >= Range.Right) area.Right = Range.Right;
    if (area.Top < Range.Top) area.Top = Range.Top;
    if (area.Bottom >= Range.Bottom) area.Bottom = Range.Bottom;
    return area;
}

int HatDirection(uint32_t angle) {
    if (angle % 4500 != 0 || angle > 31500) return -1;
    return static_cast<int>(angle / 4500);
}

}  // namespace padpanel
