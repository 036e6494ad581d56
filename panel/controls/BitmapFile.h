// Loading a control's bitmap: a resource of `module`, or with a null module
// a bitmap file. A null name or a failed load gives an empty bitmap.
#pragma once

#include <windows.h>

#include "common/win/GdiResources.h"

namespace padpanel {

win::UniqueBitmap LoadControlBitmap(HINSTANCE module, const char* name);
// Always from a file; the module is passed along.
win::UniqueBitmap LoadBitmapFile(HINSTANCE module, const char* path);

// A bitmap's size in pixels, {0, 0} for none.
SIZE BitmapSize(HBITMAP bitmap);

}  // namespace padpanel
