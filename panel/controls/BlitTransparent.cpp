#include "panel/controls/BlitTransparent.h"

#include "panel/controls/TransparentImage.h"

namespace padpanel {

void BlitTransparent(HDC dc, HBITMAP bitmap, int x, int y, int width, int height, int sourceX, int sourceY,
                     COLORREF transparent) {
    if (!bitmap) return;
    TransparentImage(bitmap, transparent, dc).Draw(dc, x, y, width, height, sourceX, sourceY);
}

}  // namespace padpanel
