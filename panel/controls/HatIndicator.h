// The point-of-view hat: one of eight direction bitmaps, or none while the
// hat is centred or between the eight angles (nothing is snapped).
#pragma once

#include <array>

#include "panel/controls/TransparentImage.h"
#include "panel/controls/BitmapControl.h"

namespace padpanel {

class HatIndicator final : public BitmapControl {
public:
    // Bitmap names and rectangles for 0, 4500, ... 31500, clockwise from up.
    HatIndicator(HINSTANCE module, const std::array<const char*, 8>& names, const std::array<RECT, 8>& rects,
                 uint32_t angle);

    void Draw(HDC dc) override;
    uint32_t GetValue() const override { return angle_; }
    void SetValue(HWND page, uint32_t value) override;
    int32_t GetMark() const override { return 0; }
    void SetMark(HWND, int32_t) override {}
    void Move(HWND, int32_t dx, int32_t dy, bool) override;
    RECT* GetRect(RECT* out) const override;
    bool HitTest(int32_t, int32_t) const override { return false; }
    void Invalidate(HWND, bool) override {}
    void SetText(const char*) override {}

private:
    std::array<RECT, 8> rects_;
    std::array<TransparentImage, 8> bitmaps_;
    uint32_t angle_;
    int32_t offsetX_ = 0;
    int32_t offsetY_ = 0;
};

}  // namespace padpanel
