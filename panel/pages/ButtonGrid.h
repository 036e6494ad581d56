// Where the twelve buttons' controls stand: the test page's indicators in two
// rows of six, the set buttons of the button pages in two columns of six.
#pragma once

#include "panel/controls/ControlGeometry.h"

namespace padpanel {

inline Box IndicatorBox(int button) {
    const int column = (button - 1) % 6, row = button <= 6 ? 0 : 1;
    return Box{60 + 63 * column, 58 + 57 * row, 102 + 63 * column, 100 + 57 * row};
}

// Where an indicator's key name shows while it is lit.
inline Box IndicatorCaptionBox(int button) {
    const int column = (button - 1) % 6, row = button <= 6 ? 0 : 1;
    return Box{60 + 63 * column, 101 + 57 * row, 210 + 63 * column, 115 + 57 * row};
}

inline Box SetButtonBox(int button) {
    const int row = (button - 1) % 6;
    const int left = button <= 6 ? 36 : 259;
    return Box{left, 62 + 47 * row, left + 70, 108 + 47 * row};
}

}  // namespace padpanel
