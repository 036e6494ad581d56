// One bitmap with white transparent at a movable place: the logo, the
// vibration page's arrow and ball, the button pictures.
#pragma once

#include "panel/controls/TransparentImage.h"
#include "panel/controls/BitmapControl.h"

namespace padpanel {

class ImageSprite final : public BitmapControl {
public:
    // Always from a file.
    ImageSprite(HINSTANCE module, const char* path, const RECT& rect);

    void Draw(HDC dc) override;
    uint32_t GetValue() const override { return value_; }
    // Invalidates also when the value is unchanged; the value never changes the look.
    void SetValue(HWND page, uint32_t value) override;
    int32_t GetMark() const override { return 0; }
    void SetMark(HWND, int32_t) override {}
    void Move(HWND page, int32_t dx, int32_t dy, bool redraw) override;
    RECT* GetRect(RECT* out) const override;
    bool HitTest(int32_t x, int32_t y) const override;
    void Invalidate(HWND page, bool force) override;
    void SetText(const char*) override {}

private:
    RECT Placed() const;

    RECT rect_;
    TransparentImage bitmap_;
    uint32_t value_ = 0;
    int32_t offsetX_ = 0;
    int32_t offsetY_ = 0;
};

}  // namespace padpanel
