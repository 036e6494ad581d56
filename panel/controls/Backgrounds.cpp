#include "panel/controls/Backgrounds.h"

#include <algorithm>

#include "panel/controls/BitmapFile.h"
#include "panel/controls/ClippedDrawing.h"
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

PageBackground::PageBackground(HINSTANCE module, const char* name, const RECT& rect, HWND dialog)
    : BackgroundImage(module, name, rect), dialog_(dialog) {}

void PageBackground::Draw(HDC dc) {
    RECT shown{};
    if (::GetClipBox(dc, &shown) == NULLREGION) return;
    if (!picture_) {
        // What the dialog's own erase paints: its brush, a theme's included.
        const auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(
            dialog_, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dialog_)));
        ::FillRect(dc, &shown, brush ? brush : ::GetSysColorBrush(COLOR_3DFACE));
        return;
    }
    BackgroundImage::Draw(dc);
    // The picture's own edges, where the page goes on beyond them.
    const RECT placed = Offset(rect_, offsetX_, offsetY_);
    const int w = std::min<int>(placed.right - placed.left, size_.cx);
    const int h = std::min<int>(placed.bottom - placed.top, size_.cy);
    if (w <= 0 || h <= 0) return;
    const int right = placed.left + w, bottom = placed.top + h;
    const int mode = ::SetStretchBltMode(dc, COLORONCOLOR);
    if (shown.right > right)
        ::StretchBlt(dc, right, placed.top, shown.right - right, h, picture_.get(), w - 1, 0, 1, h, SRCCOPY);
    if (shown.bottom > bottom) {
        ::StretchBlt(dc, placed.left, bottom, w, shown.bottom - bottom, picture_.get(), 0, h - 1, w, 1, SRCCOPY);
        if (shown.right > right)
            ::StretchBlt(dc, right, bottom, shown.right - right, shown.bottom - bottom, picture_.get(), w - 1, h - 1,
                         1, 1, SRCCOPY);
    }
    ::SetStretchBltMode(dc, mode);
}

}  // namespace padpanel
