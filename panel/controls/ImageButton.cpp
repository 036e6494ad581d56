#include "panel/controls/ImageButton.h"

#include "panel/controls/BitmapFile.h"
#include "panel/controls/BlitTransparent.h"
#include "panel/controls/ClippedDrawing.h"
#include "panel/controls/ControlRects.h"

namespace padpanel {

ImageButton::ImageButton(HINSTANCE module, const ImageButtonSpec& params, HWND page)
    : rect_(params.Rect),
      normal_(LoadTransparent(module, params.Normal, kTransparentWhite)),
      lit_(LoadTransparent(module, params.Lit, kTransparentWhite)),
      state_(params.State),
      captionRect_(params.CaptionRect),
      caption_(params.Text),
      showCaption_(params.ShowCaption) {
    InvalidateArea(page, rect_, true);
}

void ImageButton::DrawBitmap(HDC dc) const {
    (state_ ? lit_ : normal_)
        .Draw(dc, rect_.left + offsetX_, rect_.top + offsetY_, rect_.right - rect_.left, rect_.bottom - rect_.top, 0, 0);
}

void ImageButton::DrawCaption(HDC dc) const {
    DrawCaptionText(dc, caption_, captionRect_);
}

void ImageButton::Draw(HDC dc) {
    DrawBitmap(dc);
    if (state_) DrawCaption(dc);
}

void CaptionButton::Draw(HDC dc) {
    DrawBitmap(dc);
    DrawCaption(dc);
}

void ImageButton::SetValue(HWND page, uint32_t value) {
    if (value == state_) return;
    InvalidateArea(page, rect_, false);
    state_ = value;
    if (showCaption_ && !caption_.Empty())
        InvalidateArea(page, ToRect(CaptionStaleArea(ToBox(captionRect_), static_cast<uint32_t>(caption_.Length()))),
                       true);
}

void ImageButton::Move(HWND page, int32_t dx, int32_t dy, bool redraw) {
    if (redraw) Invalidate(page, false);
    offsetX_ = dx;
    offsetY_ = dy;
    if (redraw) Invalidate(page, false);
}

RECT* ImageButton::GetRect(RECT* out) const {
    *out = rect_;
    return out;
}

bool ImageButton::HitTest(int32_t x, int32_t y) const { return Contains(Offset(rect_, offsetX_, offsetY_), x, y); }

void ImageButton::Invalidate(HWND page, bool) {
    InvalidateArea(page, Offset(rect_, offsetX_, offsetY_), true);
    if (showCaption_ && !caption_.Empty()) InvalidateArea(page, captionRect_, true);
}

}  // namespace padpanel
