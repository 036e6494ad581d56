// RECT and Box side by side, the invalidations every control makes, and the
// test that keeps a paint from drawing what its clipping would throw away.
#pragma once

#include <windows.h>

#include "panel/controls/Caption.h"
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
// Whether any part of `r` can reach the DC through its clipping: a paint
// draws only what its update region asks for.
inline bool Reaches(HDC dc, const RECT& r) { return ::RectVisible(dc, &r) != FALSE; }
// A text in its rectangle (clipped to it), when there is text to show there.
inline void DrawTextIn(HDC dc, const char* text, RECT r) {
    if (!text || !*text || !Reaches(dc, r)) return;
    ::DrawTextA(dc, text, -1, &r, DT_BOTTOM);
}
inline void DrawCaptionText(HDC dc, const Caption& caption, const RECT& r) { DrawTextIn(dc, caption.Text(), r); }
inline void InvalidateArea(HWND page, const RECT& r, bool erase) { ::InvalidateRect(page, &r, erase ? TRUE : FALSE); }

}  // namespace padpanel
