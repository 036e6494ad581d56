#include "panel/controls/HatIndicator.h"

#include "panel/controls/BitmapFile.h"
#include "panel/controls/BlitTransparent.h"
#include "panel/controls/ControlRects.h"

namespace padpanel {

HatIndicator::HatIndicator(HINSTANCE module, const std::array<const char*, 8>& names,
                           const std::array<RECT, 8>& rects, uint32_t angle)
    : rects_(rects), angle_(angle) {
    for (size_t i = 0; i < bitmaps_.size(); ++i) bitmaps_[i] = LoadTransparent(module, names[i], kTransparentWhite);
}

void HatIndicator::Draw(HDC dc) {
    const int d = HatDirection(angle_);
    if (d < 0 || !bitmaps_[d]) return;
    const RECT r = Offset(rects_[d], offsetX_, offsetY_);
    bitmaps_[d].Draw(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0);
}

void HatIndicator::SetValue(HWND page, uint32_t value) {
    if (value == angle_) return;
    const int to = HatDirection(value), from = HatDirection(angle_);
    if (to >= 0) InvalidateArea(page, rects_[to], true);
    if (from >= 0) InvalidateArea(page, rects_[from], true);
    angle_ = value;
}

void HatIndicator::Move(HWND, int32_t dx, int32_t dy, bool) {
    offsetX_ = dx;
    offsetY_ = dy;
}

RECT* HatIndicator::GetRect(RECT* out) const {
    *out = RECT{0, 0, 0, 0};
    return out;
}

}  // namespace padpanel
