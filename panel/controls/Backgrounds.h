// Opaque pictures: a page's whole background, and a patch of a page-size
// bitmap that covers, in place, a part of the page the pad does not need.
#pragma once

#include "common/win/GdiResources.h"
#include "panel/controls/BitmapControl.h"

namespace padpanel {

class BackgroundImage : public BitmapControl {
public:
    BackgroundImage(HINSTANCE module, const char* name, const RECT& rect);

    void Draw(HDC dc) override;
    uint32_t GetValue() const override { return 0; }
    void SetValue(HWND page, uint32_t value) override;
    int32_t GetMark() const override { return 0; }
    void SetMark(HWND, int32_t) override {}
    void Move(HWND, int32_t dx, int32_t dy, bool) override;
    RECT* GetRect(RECT* out) const override;
    bool HitTest(int32_t, int32_t) const override { return false; }
    void Invalidate(HWND page, bool force) override;
    void SetText(const char*) override {}

protected:
    // Copies `size` of the bitmap from `from` to `to` plus the offset.
    void CopyOpaque(HDC dc, POINT from, POINT to, SIZE size) const;

    RECT rect_;
    win::BitmapDc picture_;  // kept selected: a paint selects nothing
    SIZE size_{};
    int32_t offsetX_ = 0;
    int32_t offsetY_ = 0;
};

class BackgroundPatch final : public BackgroundImage {
public:
    BackgroundPatch(HINSTANCE module, const char* name, const RECT& frame, const RECT& source);

    void Draw(HDC dc) override;
    void Invalidate(HWND page, bool force) override;

private:
    RECT source_;
};

// A page's background. A page is larger than its artwork wherever the
// dialog font makes its template so: what the DC may show right of and
// below the picture continues its last column and last row, so the page
// looks whole. Without its picture it shows what `dialog` erases with.
class PageBackground final : public BackgroundImage {
public:
    PageBackground(HINSTANCE module, const char* name, const RECT& rect, HWND dialog);

    void Draw(HDC dc) override;

private:
    HWND dialog_;  // the sheet's first page; the pages share its brush
};

}  // namespace padpanel
