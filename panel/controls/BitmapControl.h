// The drawn-control base: every control of the pages derives from it and is
// owned by its slot of the page context. Controls never paint on their own:
// a change invalidates the area whose look changes, and the page's next
// WM_PAINT calls Draw.
#pragma once

#include <windows.h>

#include <cstdint>

namespace padpanel {

class BitmapControl {
public:
    BitmapControl() = default;
    BitmapControl(const BitmapControl&) = delete;
    BitmapControl& operator=(const BitmapControl&) = delete;
    // Deletes every bitmap the control owns.
    virtual ~BitmapControl() = default;

    // Paints the present state; nothing for a missing bitmap.
    virtual void Draw(HDC dc) = 0;
    virtual uint32_t GetValue() const = 0;
    // Stores the value and invalidates, in the page, the area whose look changes.
    virtual void SetValue(HWND page, uint32_t value) = 0;
    virtual int32_t GetMark() const = 0;
    // Stores the mark for the page; never repaints.
    virtual void SetMark(HWND page, int32_t mark) = 0;
    // Sets the drawing offset (not cumulative); with `redraw`, controls that
    // honour it invalidate their old and their new area.
    virtual void Move(HWND page, int32_t dx, int32_t dy, bool redraw) = 0;
    virtual RECT* GetRect(RECT* out) const = 0;
    // Left and top inclusive, right and bottom exclusive.
    virtual bool HitTest(int32_t x, int32_t y) const = 0;
    virtual void Invalidate(HWND page, bool force) = 0;
    // Null changes nothing.
    virtual void SetText(const char* text) = 0;
};

}  // namespace padpanel
