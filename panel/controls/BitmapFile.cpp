#include "panel/controls/BitmapFile.h"

namespace padpanel {

win::UniqueBitmap LoadControlBitmap(HINSTANCE module, const char* name) {
    if (!name) return win::UniqueBitmap();
    if (module) return win::UniqueBitmap(::LoadBitmapA(module, name));
    return LoadBitmapFile(nullptr, name);
}

win::UniqueBitmap LoadBitmapFile(HINSTANCE module, const char* path) {
    if (!path) return win::UniqueBitmap();
    return win::UniqueBitmap(
        static_cast<HBITMAP>(::LoadImageA(module, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
}

TransparentImage LoadTransparent(HINSTANCE module, const char* name, COLORREF transparent) {
    return TransparentImage(LoadControlBitmap(module, name).get(), transparent);
}

TransparentImage LoadTransparentFile(HINSTANCE module, const char* path, COLORREF transparent) {
    return TransparentImage(LoadBitmapFile(module, path).get(), transparent);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace padpanel
