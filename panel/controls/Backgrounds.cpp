#include "panel/controls/Backgrounds.h"

#include "panel/controls/BitmapFile.h"
#include "panel/controls/ControlRects.h"

namespace padpanel {

BackgroundImage::BackgroundImage(HINSTANCE module, const char* name, const RECT& rect)
    : rect_(rect), bitmap_(LoadControlBitmap(module, name)) {}

void BackgroundImage::CopyOpaque(HDC dc, POINT from, POINT to, SIZE size) const {
    if (!bitmap_) return;
    const win::UniqueMemoryDc memory(::CreateCompatibleDC(nullptr));
    const win::ScopedSelection selected(memory.get(), bitmap_.get());
    ::BitBlt(dc, to.x + offsetX_, to.y + offsetY_, size.cx, size.cy, memory.get(), from.x, from.y, SRCCOPY);
}

void BackgroundImage::Draw(HDC dc) {
    CopyOpaque(dc, POINT{0, 0}, POINT{rect_.left, rect_.top}, SIZE{rect_.right - rect_.left, rect_.bottom - rect_.top});
}

void BackgroundImage::SetValue(HWND page, uint32_t) { InvalidateArea(page, rect_, true); }

void BackgroundImage::Move(HWND, int32_t dx, int32_t dy, bool) {
    offsetX_ = dx;
    offsetY_ = dy;
}

RECT* BackgroundImage::GetRect(RECT* out) const {
    *out = rect_;
    return out;
}

void BackgroundImage::Invalidate(HWND page, bool) { InvalidateArea(page, Offset(rect_, offsetX_, offsetY_), true); }

BackgroundPatch::BackgroundPatch(HINSTANCE module, const char* name, const RECT& frame, const RECT& source)
    : BackgroundImage(module, name, frame), source_(source) {}

void BackgroundPatch::Draw(HDC dc) {
    const POINT corner{source_.left, source_.top};
    CopyOpaque(dc, corner, corner, SIZE{source_.right - source_.left, source_.bottom - source_.top});
}

void BackgroundPatch::Invalidate(HWND page, bool) { InvalidateArea(page, source_, true); }

}  // namespace padpanel
