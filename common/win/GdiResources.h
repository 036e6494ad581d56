// Owners for GDI: a memory DC, a GDI object, a bitmap, an icon, a window's DC,
// a paint, a bitmap with a DC of its own, and an object selected into a DC
// for one scope.
#pragma once

#include <windows.h>

#include <utility>

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

// A bitmap that lives selected into a memory DC of its own, so that drawing
// from it costs no selection. The bitmap is deselected before it is deleted.
class BitmapDc {
public:
    BitmapDc() = default;
    // Takes the bitmap; the DC is made compatible with `like` (null: the screen).
    BitmapDc(HDC like, UniqueBitmap bitmap) {
        UniqueMemoryDc dc(::CreateCompatibleDC(like));
        if (!dc || !bitmap) return;
        previous_ = ::SelectObject(dc.get(), bitmap.get());
        if (!previous_ || previous_ == HGDI_ERROR) {
            previous_ = nullptr;
            return;
        }
        dc_ = std::move(dc);
        bitmap_ = std::move(bitmap);
    }
    ~BitmapDc() { Reset(); }
    BitmapDc(BitmapDc&& other) noexcept
        : dc_(std::move(other.dc_)), bitmap_(std::move(other.bitmap_)), previous_(std::exchange(other.previous_, nullptr)) {}
    BitmapDc& operator=(BitmapDc&& other) noexcept {
        if (this != &other) {
            Reset();
            dc_ = std::move(other.dc_);
            bitmap_ = std::move(other.bitmap_);
            previous_ = std::exchange(other.previous_, nullptr);
        }
        return *this;
    }

    HDC get() const { return dc_.get(); }
    HBITMAP Bitmap() const { return bitmap_.get(); }
    explicit operator bool() const { return static_cast<bool>(dc_); }

    void Reset() {
        if (dc_ && previous_) ::SelectObject(dc_.get(), previous_);
        previous_ = nullptr;
        bitmap_.reset();
        dc_.reset();
    }

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
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
