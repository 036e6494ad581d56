#include "panel/controls/ImageSprite.h"

#include "panel/controls/BitmapFile.h"
#include "panel/controls/BlitTransparent.h"
#include "panel/controls/ControlRects.h"

namespace padpanel {

ImageSprite::ImageSprite(HINSTANCE module, const char* path, const RECT& rect)
    : rect_(rect), bitmap_(LoadTransparentFile(module, path, kTransparentWhite)) {}

RECT ImageSprite::Placed() const { return Offset(rect_, offsetX_, offsetY_); }

void ImageSprite::Draw(HDC dc) {
    const RECT r = Placed();
    bitmap_.Draw(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0);
}

void ImageSprite::SetValue(HWND page, uint32_t value) {
    value_ = value;
    InvalidateArea(page, rect_, true);
}

void ImageSprite::Move(HWND page, int32_t dx, int32_t dy, bool redraw) {
    if (redraw) Invalidate(page, false);
    offsetX_ = dx;
    offsetY_ = dy;
    if (redraw) Invalidate(page, false);
}

RECT* ImageSprite::GetRect(RECT* out) const {
    *out = Placed();
    return out;
}

bool ImageSprite::HitTest(int32_t x, int32_t y) const { return Contains(Placed(), x, y); }

void ImageSprite::Invalidate(HWND page, bool) { InvalidateArea(page, Placed(), true); }

}  // namespace padpanel
