#include "PageArt.h"

#include <string>

#include "PanelTestSupport.h"
#include "PixelRig.h"

namespace paneltest {

namespace {

std::string ImageFile(const std::string& name) { return SystemPath("Zororo\\Image\\" + name); }

}  // namespace

void InstallPageArt() {
    ::CreateDirectoryA(SystemPath("Zororo").c_str(), nullptr);
    ::CreateDirectoryA(SystemPath("Zororo\\Image").c_str(), nullptr);
    for (const char* page : {"BKJoystick.bmp", "BKKeyMap.bmp", "BKKeyboardMap.bmp", "BKV.bmp", "BKJoyCheck.bmp",
                             "BKAbout.bmp", "Background.bmp"})
        WriteSolidBmp(ImageFile(page), 500, 400, kPageColour);
    WriteSolidBmp(ImageFile("BtnButton.bmp"), 42, 42, kDarkButton);
    for (int k = 1; k <= 12; ++k) WriteSolidBmp(ImageFile("BtnButton_" + std::to_string(k) + ".bmp"), 42, 42, LitButton(k));
    for (int n = 1; n <= 8; ++n) WriteSolidBmp(ImageFile("BmpCoolHat_" + std::to_string(n) + ".bmp"), 68, 68, kHatColour);
    WriteBmp(ImageFile("BKCursor.bmp"), 30, 30, [](int x, int y) {
        return (x - 15) * (x - 15) + (y - 15) * (y - 15) < 100 ? kDotColour : RGB(255, 255, 255);
    });
    WriteBmp(ImageFile("BtnWhiteBall.bmp"), 46, 46, [](int x, int y) {
        return x < 2 || y < 2 || x >= 44 || y >= 44 ? kMarkerColour : RGB(255, 255, 255);
    });
    WriteSolidBmp(ImageFile("BtnTurbo.bmp"), 70, 20, RGB(90, 90, 90));
    WriteSolidBmp(ImageFile("BtnTurbo_1.bmp"), 70, 20, RGB(250, 150, 40));
    WriteSolidBmp(ImageFile("BtnClear.bmp"), 70, 20, RGB(250, 150, 40));
    WriteSolidBmp(ImageFile("BtnCheck.bmp"), 84, 24, kCheckColour);
    WriteSolidBmp(ImageFile("BtnNext.bmp"), 84, 24, RGB(0, 60, 120));
}

void RemovePageArt() {
    WIN32_FIND_DATAA found;
    const std::string folder = SystemPath("Zororo\\Image\\");
    HANDLE search = ::FindFirstFileA((folder + "*.bmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        ::DeleteFileA((folder + found.cFileName).c_str());
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}

}  // namespace paneltest
