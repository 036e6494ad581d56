// Loading a control's bitmap: a resource of `module`, or with a null module
// a bitmap file. A null name or a failed load gives an empty bitmap.
#pragma once

#include <windows.h>

#include "common/win/GdiResources.h"
#include "panel/controls/TransparentImage.h"

namespace padpanel {

win::UniqueBitmap LoadControlBitmap(HINSTANCE module, const char* name);
// Always from a file; the module is passed along.
win::UniqueBitmap LoadBitmapFile(HINSTANCE module, const char* path);

// The same, prepared for drawing with `transparent` left out.
TransparentImage LoadTransparent(HINSTANCE module, const char* name, COLORREF transparent);
TransparentImage LoadTransparentFile(HINSTANCE module, const char* path, COLORREF transparent);

// A bitmap's size in pixels, {0, 0} for none.
SIZE BitmapSize(HBITMAP bitmap);

}  // namespace padpanel
