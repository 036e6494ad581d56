// Owners for GDI: a memory DC, a GDI object, a bitmap, an icon, a window's DC,
// a paint, and an object selected into a DC for one scope.
#pragma once

#include <windows.h>

#include "common/win/UniqueResource.h"

namespace win {

struct MemoryDcTraits {
    static HDC Empty() { return nullptr; }
    static void Close(HDC dc) { ::DeleteDC(dc); }
};
struct GdiObjectTraits {
    static HGDIOBJ Empty() { return nullptr; }
    static void Close(HGDIOBJ object) { ::DeleteObject(object); }
};

struct BitmapTraits {
    static HBITMAP Empty() { return nullptr; }
    static void Close(HBITMAP bitmap) { ::DeleteObject(bitmap); }
};
struct IconTraits {
    static HICON Empty() { return nullptr; }
    static void Close(HICON icon) { ::DestroyIcon(icon); }
};

using UniqueMemoryDc = UniqueResource<HDC, MemoryDcTraits>;  // CreateCompatibleDC
using UniqueGdiObject = UniqueResource<HGDIOBJ, GdiObjectTraits>;  // brushes, pens, fonts
using UniqueBitmap = UniqueResource<HBITMAP, BitmapTraits>;
using UniqueIcon = UniqueResource<HICON, IconTraits>;  // LoadImage(IMAGE_ICON) without LR_SHARED

// GetDC / ReleaseDC of one window (null: the screen).
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint of one WM_PAINT.
class Paint {
public:
    explicit Paint(HWND window) : window_(window), dc_(::BeginPaint(window, &ps_)) {}
    ~Paint() { ::EndPaint(window_, &ps_); }
    Paint(const Paint&) = delete;
    Paint& operator=(const Paint&) = delete;

    HDC get() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~ScopedSelection() {
        if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace win
