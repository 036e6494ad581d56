// Pictures of plain colours for the pages, written where the panel reads its
// images, so a test knows exactly which colour each control shows.
#pragma once

#include <windows.h>

namespace paneltest {

inline constexpr COLORREF kPageColour = RGB(20, 30, 40);     // every page background
inline constexpr COLORREF kDarkButton = RGB(60, 60, 60);     // BtnButton.bmp
inline constexpr COLORREF kHatColour = RGB(0, 200, 0);       // every hat direction
inline constexpr COLORREF kDotColour = RGB(220, 0, 0);       // the stick dot's centre
inline constexpr COLORREF kMarkerColour = RGB(255, 200, 0);  // the turbo marker's ring
inline constexpr COLORREF kCheckColour = RGB(0, 120, 120);    // the check page's Check button
// The lit picture of button k.
inline COLORREF LitButton(int k) { return RGB(100 + 10 * k, 0, 200); }

// Writes every picture the pages load, in these colours, under the system
// directory's Zororo\Image.
void InstallPageArt();
// No pictures at all.
void RemovePageArt();

}  // namespace paneltest
