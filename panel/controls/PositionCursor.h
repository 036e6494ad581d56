// A dot placed in a range by a position from -127 to 128 on each axis; the
// pages give it 0..255 per axis, packed like a gauge's value. Every change
// invalidates the old and the new dot, cut to the range.
#pragma once

#include "panel/controls/TransparentImage.h"
#include "panel/controls/BitmapControl.h"
#include "panel/controls/Caption.h"
#include "panel/controls/ControlGeometry.h"

namespace padpanel {

struct PositionCursorSpec {
    const char* Dot = nullptr;  // file path
    RECT Range{};
    int32_t DotSize = 0;
    POINT Centre{};
    RECT CaptionRect{};
    const char* Text = nullptr;
    bool BlackTransparent = false;  // else white
};

class PositionCursor final : public BitmapControl {
public:
    // Ends by invalidating itself as Invalidate does with the force flag.
    PositionCursor(const PositionCursorSpec& params, HWND page);

    void Draw(HDC dc) override;
    uint32_t GetValue() const override;
    // Invalidates before and after, also when the value is unchanged.
    void SetValue(HWND page, uint32_t value) override;
    int32_t GetMark() const override { return 0; }
    void SetMark(HWND, int32_t) override {}
    // dx and dy are positions 0..255; always invalidates before and after.
    void Move(HWND page, int32_t dx, int32_t dy, bool redraw) override;
    RECT* GetRect(RECT* out) const override;
    bool HitTest(int32_t, int32_t) const override { return false; }
    void Invalidate(HWND page, bool force) override;
    void SetText(const char* text) override { caption_.Set(text); }

private:
    CursorGeometry geometry_;
    TransparentImage dot_;
    int32_t x_ = 0;
    int32_t y_ = 0;
    RECT captionRect_;
    Caption caption_;
    bool showCaption_ = false;
};

}  // namespace padpanel
