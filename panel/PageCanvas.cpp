#include "panel/PageCanvas.h"

namespace padpanel {

bool PageCanvas::Fit(HDC like, SIZE size) {
    if (picture_ && size.cx == size_.cx && size.cy == size_.cy) return true;
    Release();
    picture_ = win::BitmapDc(like, win::UniqueBitmap(::CreateCompatibleBitmap(like, size.cx, size.cy)));
    if (!picture_) return false;
    size_ = size;
    return true;
}

void PageCanvas::Release() {
    picture_.Reset();
    size_ = SIZE{};
}

void PageCanvas::Paint(HWND page, const std::function<void(HDC)>& draw) {
    const win::Paint paint(page);
    if (!paint.get()) return;
    const RECT area = paint.Area();
    if (::IsRectEmpty(&area)) return;
    if (::GetLayout(paint.get()) != 0) {
        draw(paint.get());  // a mirrored sheet: the canvas would mirror it again
        return;
    }
    // The paint DC's own region is the update region, in screen coordinates.
    const win::UniqueGdiObject stale(::CreateRectRgn(0, 0, 0, 0));
    POINT origin{0, 0};
    const bool regionKnown = stale && ::GetRandomRgn(paint.get(), static_cast<HRGN>(stale.get()), SYSRGN) == 1 &&
                             ::ClientToScreen(page, &origin) &&
                             ::OffsetRgn(static_cast<HRGN>(stale.get()), -origin.x, -origin.y) != ERROR;
    RECT client{};
    ::GetClientRect(page, &client);
    if (!Fit(paint.get(), SIZE{client.right, client.bottom})) {
        draw(paint.get());  // no memory for the canvas: straight to the window
        return;
    }
    const int saved = ::SaveDC(picture_.get());
    if (regionKnown)
        ::SelectClipRgn(picture_.get(), static_cast<HRGN>(stale.get()));
    else
        ::IntersectClipRect(picture_.get(), area.left, area.top, area.right, area.bottom);
    draw(picture_.get());
    ::RestoreDC(picture_.get(), saved);
    ::BitBlt(paint.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, picture_.get(), area.left,
             area.top, SRCCOPY);
}

}  // namespace padpanel
