// Real GDI for the drawing tests: bitmap files written pixel by pixel, DIB
// sections read back pixel by pixel, and a window whose update region says
// what a control invalidated.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/win/GdiResources.h"

namespace paneltest {

using PixelFn = std::function<COLORREF(int x, int y)>;

// A 24-bit bitmap file.
bool WriteBmp(const std::string& path, int width, int height, const PixelFn& pixel);
inline bool WriteSolidBmp(const std::string& path, int width, int height, COLORREF colour) {
    return WriteBmp(path, width, height, [colour](int, int) { return colour; });
}

// A 32-bit top-down DIB section selected into a memory DC.
class Dib {
public:
    Dib(int width, int height, COLORREF fill = RGB(0, 0, 255));
    ~Dib();
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    HDC Dc() const { return dc_.get(); }
    HBITMAP Bitmap() const { return bitmap_.get(); }
    COLORREF At(int x, int y) const;
    void Set(int x, int y, COLORREF colour);
    // Every pixel, for comparing whole pictures.
    std::vector<uint32_t> Pixels() const;

private:
    int width_, height_;
    uint32_t* bits_ = nullptr;
    win::UniqueMemoryDc dc_;
    win::UniqueBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
};

// A visible 500 x 400 window standing in for a page: what controls
// invalidate in it is read back from its update region.
class PageWindow {
public:
    PageWindow();
    ~PageWindow();
    HWND Handle() const { return window_; }
    // The update region as rectangles, sorted; empty when nothing is stale.
    std::vector<RECT> Stale() const;
    // The update region is exactly the union of these.
    bool StaleIs(const std::vector<RECT>& expected) const;
    // Whether painting the stale area now erases it first; then nothing is stale.
    bool PaintErases();
    void Clear();

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND window_ = nullptr;
    bool erased_ = false;
};

// The client area of a visible window as it is on the screen now, from its
// top-left corner, as much as fits the picture.
void CaptureClient(HWND window, Dib& picture);

std::string Describe(const std::vector<RECT>& rects);
inline RECT Rect(LONG l, LONG t, LONG r, LONG b) { return RECT{l, t, r, b}; }

}  // namespace paneltest
