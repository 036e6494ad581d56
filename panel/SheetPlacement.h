// Where the sheet goes on a screen shorter than itself: up by half the excess.
#pragma once

namespace padpanel {

// The new top edge, or `top` unchanged when the sheet fits.
constexpr int SheetTopOnScreen(int top, int height, int usableHeight) {
    return height > usableHeight ? top - (height - usableHeight) / 2 : top;
}

}  // namespace padpanel
