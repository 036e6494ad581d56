#include "panel/controls/BlitTransparent.h"

#include "common/win/GdiResources.h"

namespace padpanel {

void BlitTransparent(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, int sourceX, int sourceY,
                     COLORREF transparent) {
    if (!bitmap) return;

    // Device contexts first, then bitmaps, then selections: leaving the scope
    // deselects, then deletes the bitmaps, then the DCs.
    const win::UniqueMemoryDc image(::CreateCompatibleDC(dc));
    const win::UniqueMemoryDc mask(::CreateCompatibleDC(dc));
    const win::UniqueMemoryDc inverse(::CreateCompatibleDC(dc));
    const win::UniqueMemoryDc work(::CreateCompatibleDC(dc));
    const win::UniqueMemoryDc save(::CreateCompatibleDC(dc));
    const win::ScopedSelection imageBitmap(image.get(), bitmap);

    BITMAP info{};
    ::GetObjectA(bitmap, sizeof info, &info);
    POINT size{info.bmWidth, info.bmHeight};
    ::DPtoLP(image.get(), &size, 1);
    const int w = size.x, h = size.y;

    const win::UniqueBitmap maskBitmap(::CreateBitmap(w, h, 1, 1, nullptr));
    const win::UniqueBitmap inverseBitmap(::CreateBitmap(w, h, 1, 1, nullptr));
    const win::UniqueBitmap workBitmap(::CreateCompatibleBitmap(dc, w, h));
    const win::UniqueBitmap saveBitmap(::CreateCompatibleBitmap(dc, w, h));
    const win::ScopedSelection maskSelected(mask.get(), maskBitmap.get());
    const win::ScopedSelection inverseSelected(inverse.get(), inverseBitmap.get());
    const win::ScopedSelection workSelected(work.get(), workBitmap.get());
    const win::ScopedSelection saveSelected(save.get(), saveBitmap.get());

    ::SetMapMode(image.get(), ::GetMapMode(dc));
    ::BitBlt(save.get(), 0, 0, w, h, image.get(), 0, 0, SRCCOPY);

    // Pixels of the transparent colour become 1 in the mask, all others 0.
    const COLORREF background = ::SetBkColor(image.get(), transparent);
    ::BitBlt(mask.get(), 0, 0, w, h, image.get(), 0, 0, SRCCOPY);
    ::SetBkColor(image.get(), background);
    ::BitBlt(inverse.get(), 0, 0, w, h, mask.get(), 0, 0, NOTSRCCOPY);

    ::BitBlt(work.get(), 0, 0, w, h, dc, x, y, SRCCOPY);
    ::BitBlt(work.get(), 0, 0, w, h, mask.get(), sourceX, sourceY, SRCAND);    // opaque pixels blackened
    ::BitBlt(image.get(), 0, 0, w, h, inverse.get(), 0, 0, SRCAND);           // transparent ones blackened
    ::BitBlt(work.get(), 0, 0, w, h, image.get(), sourceX, sourceY, SRCPAINT);
    ::BitBlt(dc, x, y, width, height, work.get(), 0, 0, SRCCOPY);

    ::BitBlt(image.get(), 0, 0, w, h, save.get(), 0, 0, SRCCOPY);
}

}  // namespace padpanel
