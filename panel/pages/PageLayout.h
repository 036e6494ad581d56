// The controls of all six pages: which slot, which class, which bitmaps and
// rectangles, built once the record is loaded.
#pragma once

#include <windows.h>

namespace padpanel {

// Set buttons stand in two columns of six; indicators in two rows of six.
RECT SetButtonRect(int button);
RECT IndicatorRect(int button);
RECT IndicatorCaptionRect(int button);

}  // namespace padpanel
