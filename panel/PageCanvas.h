// A page's off-screen picture: each paint is composed in it, inside the
// update region only, and reaches the window in one copy. One per page
// window, made at its first paint and released with the window.
#pragma once

#include <windows.h>

#include <functional>

#include "common/win/GdiResources.h"

namespace padpanel {

class PageCanvas {
public:
    PageCanvas() = default;
    PageCanvas(const PageCanvas&) = delete;
    PageCanvas& operator=(const PageCanvas&) = delete;
    ~PageCanvas() = default;

    // Serves one WM_PAINT of `page`: BeginPaint, `draw` into the canvas with
    // its clipping set to the update region and the attributes of a fresh
    // device context, one copy of the update area to the window, EndPaint.
    void Paint(HWND page, const std::function<void(HDC)>& draw);
    void Release();

private:
    bool Fit(HDC like, SIZE size);

    win::BitmapDc picture_;
    SIZE size_{};
};

}  // namespace padpanel
