#include "panel/controls/TransparentImage.h"

#include <algorithm>
#include <optional>

namespace padpanel {

namespace {

constexpr DWORD kDestAndNotSource = 0x00220326;  // DSna

}  // namespace

TransparentImage::TransparentImage(HBITMAP bitmap, COLORREF transparent, HDC reference) {
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info)) return;
    const int w = info.bmWidth, h = info.bmHeight;
    std::optional<win::WindowDc> screen;
    if (!reference) screen.emplace(nullptr);
    const HDC like = reference ? reference : screen->get();

    win::BitmapDc pair(like, win::UniqueBitmap(::CreateCompatibleBitmap(like, 2 * w, h)));
    win::BitmapDc mask(like, win::UniqueBitmap(::CreateBitmap(w, h, 1, 1, nullptr)));
    const win::UniqueMemoryDc source(::CreateCompatibleDC(like));
    if (!pair || !mask || !source) return;
    {
        const win::ScopedSelection picture(source.get(), bitmap);
        // Pixels of the transparent colour become 1 in the mask, all others 0.
        const COLORREF background = ::SetBkColor(source.get(), transparent);
        ::BitBlt(mask.get(), 0, 0, w, h, source.get(), 0, 0, SRCCOPY);
        ::SetBkColor(source.get(), background);
        ::BitBlt(pair.get(), w, 0, w, h, source.get(), 0, 0, SRCCOPY);
    }
    // A monochrome source reads as black for 0 and white for 1 here (the
    // pair's DC has its default text and background colours).
    ::BitBlt(pair.get(), 0, 0, w, h, mask.get(), 0, 0, SRCCOPY);
    ::BitBlt(pair.get(), w, 0, w, h, mask.get(), 0, 0, kDestAndNotSource);
    pair_ = std::move(pair);
    width_ = w;
    height_ = h;
}

void TransparentImage::Draw(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY) const {
    if (!pair_) return;
    const RECT area{x, y, x + width, y + height};
    if (!::RectVisible(dc, &area)) return;
    // At most the picture's size is drawn, and only from its own pixels:
    // what would come from beyond its edges (the mask's side, or past the
    // ink's) is left as it was.
    int sx = sourceX, sy = sourceY, w = std::min(width, width_), h = std::min(height, height_);
    if (sx < 0) {
        x -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        y -= sy;
        h += sy;
        sy = 0;
    }
    w = std::min(w, width_ - sx);
    h = std::min(h, height_ - sy);
    if (w <= 0 || h <= 0) return;
    ::BitBlt(dc, x, y, w, h, pair_.get(), sx, sy, SRCAND);            // opaque pixels blackened
    ::BitBlt(dc, x, y, w, h, pair_.get(), width_ + sx, sy, SRCPAINT);  // the picture laid in
}

}  // namespace padpanel
