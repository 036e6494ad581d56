// The drawn-control base: every control of the pages derives from it and is
// owned by its slot of the page context.
#pragma once

namespace padpanel {

class BitmapControl {
public:
    BitmapControl() = default;
    BitmapControl(const BitmapControl&) = delete;
    BitmapControl& operator=(const BitmapControl&) = delete;
    virtual ~BitmapControl() = default;
};

}  // namespace padpanel
