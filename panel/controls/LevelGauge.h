// A bar over a background: a horizontal level in the high 16 bits of the
// value (growing right) and a vertical one in the low 16 bits (growing up),
// each 0..255. A change invalidates only the band between old and new level.
#pragma once

#include "panel/controls/TransparentImage.h"
#include "panel/controls/BitmapControl.h"
#include "panel/controls/Caption.h"
#include "panel/controls/ControlGeometry.h"

namespace padpanel {

struct LevelGaugeSpec {
    const char* Background = nullptr;  // file paths; null for none
    const char* Fill = nullptr;
    RECT Rect{};
    RECT CaptionRect{};
    const char* Text = nullptr;
    int32_t MarginLeft = 0;
    int32_t MarginRight = 0;
    bool TrimTrack = false;  // horizontal changes leave 26 pixels at the top and 20 at the bottom alone
};

class LevelGauge final : public BitmapControl {
public:
    // Ends by invalidating itself as Invalidate does.
    LevelGauge(const LevelGaugeSpec& params, HWND page);

    void Draw(HDC dc) override;
    uint32_t GetValue() const override { return value_; }
    void SetValue(HWND page, uint32_t value) override;
    int32_t GetMark() const override { return 0; }
    void SetMark(HWND, int32_t) override {}
    void Move(HWND, int32_t, int32_t, bool) override {}
    RECT* GetRect(RECT* out) const override;
    bool HitTest(int32_t x, int32_t y) const override;
    void Invalidate(HWND page, bool force) override;
    void SetText(const char* text) override { caption_.Set(text); }

private:
    GaugeGeometry geometry_;
    TransparentImage background_;
    TransparentImage fill_;
    uint32_t value_ = 0;
    RECT captionRect_;
    Caption caption_;
    bool showCaption_ = false;
};

}  // namespace padpanel
