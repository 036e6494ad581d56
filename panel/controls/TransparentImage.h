// A bitmap ready to be drawn with one colour left out. Its mask and a copy
// whose pixels of that colour are black are made once, side by side in one
// bitmap that stays selected into a DC of its own, so each draw is just the
// mask method's two blits into the destination.
#pragma once

#include <windows.h>

#include "common/win/GdiResources.h"

namespace padpanel {

class TransparentImage {
public:
    TransparentImage() = default;
    // Prepares the image against `reference` (null: the screen); the bitmap
    // itself is not kept. A null bitmap gives an empty image.
    TransparentImage(HBITMAP bitmap, COLORREF transparent, HDC reference = nullptr);

    explicit operator bool() const { return static_cast<bool>(pair_); }

    // Draws `width` x `height` at (x, y) from (sourceX, sourceY); nothing
    // where the destination's clipping leaves none of that area visible.
    void Draw(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY) const;

private:
    // Left half the mask (white where transparent, black elsewhere), right
    // half the ink (the picture with its transparent pixels black).
    win::BitmapDc pair_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace padpanel
