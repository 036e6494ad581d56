#include "panel/controls/Backgrounds.h"

#include <algorithm>

#include "panel/controls/BitmapFile.h"
#include "panel/controls/ControlRects.h"

namespace padpanel {

BackgroundImage::BackgroundImage(HINSTANCE module, const char* name, const RECT& rect)
    : rect_(rect) {
    win::UniqueBitmap bitmap = LoadControlBitmap(module, name);
    size_ = BitmapSize(bitmap.get());
    picture_ = win::BitmapDc(nullptr, std::move(bitmap));
}

void BackgroundImage::CopyOpaque(HDC dc, POINT from, POINT to, SIZE size) const {
    const RECT area{to.x + offsetX_, to.y + offsetY_, to.x + offsetX_ + size.cx, to.y + offsetY_ + size.cy};
    if (!picture_ || !Reaches(dc, area)) return;
    ::BitBlt(dc, area.left, area.top, size.cx, size.cy, picture_.get(), from.x, from.y, SRCCOPY);
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

PageBackground::PageBackground(HINSTANCE module, const char* name, const RECT& rect, COLORREF blank)
    : BackgroundImage(module, name, rect), blank_(blank) {}

void PageBackground::Draw(HDC dc) {
    RECT shown{};
    if (::GetClipBox(dc, &shown) == NULLREGION) return;
    if (!picture_) {
        const win::UniqueGdiObject brush(::CreateSolidBrush(blank_));
        ::FillRect(dc, &shown, static_cast<HBRUSH>(brush.get()));
        return;
    }
    BackgroundImage::Draw(dc);
    const RECT art = Offset(rect_, offsetX_, offsetY_);
    const int w = std::min<int>(art.right - art.left, size_.cx), h = std::min<int>(art.bottom - art.top, size_.cy);
    if (w <= 0 || h <= 0 || (shown.right <= art.right && shown.bottom <= art.bottom)) return;
    // The last column and row of the artwork, stretched one pixel to many.
    const HDC memory = picture_.get();
    const int mode = ::SetStretchBltMode(dc, COLORONCOLOR);
    if (shown.right > art.right)
        ::StretchBlt(dc, art.right, art.top, shown.right - art.right, h, memory, w - 1, 0, 1, h, SRCCOPY);
    if (shown.bottom > art.bottom) {
        const int right = shown.right > art.right ? shown.right : art.right;
        ::StretchBlt(dc, art.left, art.bottom, w, shown.bottom - art.bottom, memory, 0, h - 1, w, 1, SRCCOPY);
        if (right > art.right)
            ::StretchBlt(dc, art.right, art.bottom, right - art.right, shown.bottom - art.bottom, memory, w - 1,
                         h - 1, 1, 1, SRCCOPY);
    }
    ::SetStretchBltMode(dc, mode);
}

}  // namespace padpanel
