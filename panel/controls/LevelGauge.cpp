#include "panel/controls/LevelGauge.h"

#include "panel/controls/BitmapFile.h"
#include "panel/controls/BlitTransparent.h"
#include "panel/controls/ClippedDrawing.h"
#include "panel/controls/ControlRects.h"

namespace padpanel {

LevelGauge::LevelGauge(const LevelGaugeSpec& params, HWND page)
    : geometry_{ToBox(params.Rect), params.MarginLeft, params.MarginRight, params.TrimTrack},
      background_(LoadTransparentFile(nullptr, params.Background, kTransparentWhite)),
      fill_(LoadTransparentFile(nullptr, params.Fill, kTransparentWhite)),
      captionRect_(params.CaptionRect),
      caption_(params.Text) {
    Invalidate(page, false);
}

void LevelGauge::Draw(HDC dc) {
    const RECT r = ToRect(geometry_.Rect);
    background_.Draw(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0);
    if (value_ != 0) {
        const Box fill = geometry_.FillArea(value_);
        fill_.Draw(dc, fill.Left, fill.Top, fill.Right - fill.Left, fill.Bottom - fill.Top, 0, fill.Top - r.top);
    }
    DrawCaptionText(dc, caption_, captionRect_);
}

void LevelGauge::SetValue(HWND page, uint32_t value) {
    Box stale;
    const bool changed = geometry_.StaleArea(value_, value, stale);
    value_ = value;
    if (!changed) return;
    InvalidateArea(page, ToRect(stale), false);
    if (showCaption_ && !caption_.Empty()) InvalidateArea(page, captionRect_, false);
}

RECT* LevelGauge::GetRect(RECT* out) const {
    *out = ToRect(geometry_.Rect);
    return out;
}

bool LevelGauge::HitTest(int32_t x, int32_t y) const { return Contains(ToRect(geometry_.Rect), x, y); }

void LevelGauge::Invalidate(HWND page, bool) {
    InvalidateArea(page, ToRect(geometry_.Rect), false);
    InvalidateArea(page, captionRect_, false);
}

}  // namespace padpanel
