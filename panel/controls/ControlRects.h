// RECT and Box side by side, and the invalidations every control makes.
#pragma once

#include <windows.h>

#include "panel/controls/ControlGeometry.h"

namespace padpanel {

inline RECT ToRect(const Box& b) { return RECT{b.Left, b.Top, b.Right, b.Bottom}; }
inline Box ToBox(const RECT& r) { return Box{r.left, r.top, r.right, r.bottom}; }
inline RECT Offset(RECT r, int32_t dx, int32_t dy) {
    ::OffsetRect(&r, dx, dy);
    return r;
}
inline bool Contains(const RECT& r, int32_t x, int32_t y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
inline void InvalidateArea(HWND page, const RECT& r, bool erase) { ::InvalidateRect(page, &r, erase ? TRUE : FALSE); }

}  // namespace padpanel
