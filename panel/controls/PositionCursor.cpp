#include "panel/controls/PositionCursor.h"

#include "panel/controls/BitmapFile.h"
#include "panel/controls/BlitTransparent.h"
#include "panel/controls/ClippedDrawing.h"
#include "panel/controls/ControlRects.h"

namespace padpanel {

PositionCursor::PositionCursor(const PositionCursorSpec& params, HWND page)
    : geometry_{ToBox(params.Range), params.DotSize, params.Centre.x, params.Centre.y},
      dot_(LoadTransparentFile(nullptr, params.Dot, params.BlackTransparent ? kTransparentBlack : kTransparentWhite)),
      captionRect_(params.CaptionRect),
      caption_(params.Text) {
    Invalidate(page, true);
}

void PositionCursor::Draw(HDC dc) {
    const int32_t half = geometry_.DotSize / 2;
    dot_.Draw(dc, geometry_.DotCentreX(x_) - half, geometry_.DotCentreY(y_) - half, 2 * half, 2 * half, 0, 0);
    DrawCaptionText(dc, caption_, captionRect_);
}

uint32_t PositionCursor::GetValue() const {
    return (static_cast<uint32_t>(x_ + 127) << 16) + (static_cast<uint32_t>(y_ + 127) & 0xFFFF);
}

void PositionCursor::SetValue(HWND page, uint32_t value) {
    Invalidate(page, false);
    x_ = static_cast<int32_t>(value >> 16) - 127;
    y_ = static_cast<int32_t>(value & 0xFFFF) - 127;
    Invalidate(page, false);
}

void PositionCursor::Move(HWND page, int32_t dx, int32_t dy, bool) {
    Invalidate(page, false);
    x_ = dx - 127;
    y_ = dy - 127;
    Invalidate(page, false);
}

RECT* PositionCursor::GetRect(RECT* out) const {
    *out = ToRect(geometry_.DotArea(x_, y_));
    return out;
}

void PositionCursor::Invalidate(HWND page, bool force) {
    InvalidateArea(page, ToRect(geometry_.StaleArea(x_, y_)), true);
    if ((showCaption_ && !caption_.Empty()) || force) InvalidateArea(page, captionRect_, true);
}

}  // namespace padpanel
