// The drawing steps the controls and pages share, each of which draws
// nothing where the paint's clipping would throw it away: a paint draws only
// what its update region asks for.
#pragma once

#include <windows.h>

#include "panel/controls/Caption.h"

namespace padpanel {

// Whether any part of `r` can reach the DC through its clipping.
inline bool Reaches(HDC dc, const RECT& r) { return ::RectVisible(dc, &r) != FALSE; }

// A text in its rectangle (clipped to it), when there is text to show there.
inline void DrawTextIn(HDC dc, const char* text, RECT r) {
    if (!text || !*text || !Reaches(dc, r)) return;
    ::DrawTextA(dc, text, -1, &r, DT_BOTTOM);
}
inline void DrawCaptionText(HDC dc, const Caption& caption, const RECT& r) { DrawTextIn(dc, caption.Text(), r); }

}  // namespace padpanel
