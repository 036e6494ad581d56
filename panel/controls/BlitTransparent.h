// Copies a bitmap into a DC with one colour left out, by the mask method, and
// leaves the bitmap as it was. Controls prepare their masks once, when their
// bitmaps are loaded (TransparentImage); this builds them for one call.
#pragma once

#include <windows.h>

namespace padpanel {

// Draws `width` x `height` at (x, y) from the bitmap at (sourceX, sourceY);
// pixels of `transparent` are not drawn. A null bitmap does nothing.
void BlitTransparent(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, int sourceX, int sourceY,
                     COLORREF transparent);

// White is the transparent colour of every drawn control but one.
inline constexpr COLORREF kTransparentWhite = RGB(255, 255, 255);
inline constexpr COLORREF kTransparentBlack = RGB(0, 0, 0);

}  // namespace padpanel
