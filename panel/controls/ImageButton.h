// A button of two looks: its normal bitmap while its state is 0, its lit
// ("_1") bitmap otherwise, with a caption drawn while lit. A mark is kept
// for the page (turbo on the test page) and never drawn.
#pragma once

#include "panel/controls/TransparentImage.h"
#include "panel/controls/BitmapControl.h"
#include "panel/controls/Caption.h"

namespace padpanel {

struct ImageButtonSpec {
    const char* Normal = nullptr;  // bitmap names; null for none
    const char* Lit = nullptr;
    RECT Rect{};
    RECT CaptionRect{};
    const char* Text = nullptr;  // null: empty caption
    uint32_t State = 0;
    bool ShowCaption = false;  // state changes and Invalidate also repaint the caption
};

class ImageButton : public BitmapControl {
public:
    // Loads both bitmaps, then invalidates its rectangle in the page, erasing.
    ImageButton(HINSTANCE module, const ImageButtonSpec& params, HWND page);

    void Draw(HDC dc) override;
    uint32_t GetValue() const override { return state_; }
    void SetValue(HWND page, uint32_t value) override;
    int32_t GetMark() const override { return mark_; }
    void SetMark(HWND, int32_t mark) override { mark_ = mark; }
    void Move(HWND page, int32_t dx, int32_t dy, bool redraw) override;
    RECT* GetRect(RECT* out) const override;
    bool HitTest(int32_t x, int32_t y) const override;
    void Invalidate(HWND page, bool force) override;
    void SetText(const char* text) override { caption_.Set(text); }

protected:
    void DrawBitmap(HDC dc) const;
    void DrawCaption(HDC dc) const;

private:
    RECT rect_;
    TransparentImage normal_;
    TransparentImage lit_;
    uint32_t state_;
    int32_t mark_ = 0;
    int32_t offsetX_ = 0;
    int32_t offsetY_ = 0;
    RECT captionRect_;
    Caption caption_;
    bool showCaption_;
};

// Its caption shows in both looks (the vibration page's motor buttons).
class CaptionButton final : public ImageButton {
public:
    using ImageButton::ImageButton;
    void Draw(HDC dc) override;
};

}  // namespace padpanel
