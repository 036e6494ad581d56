// Reference pictures of the pages: 24-bit bitmap files made at build time
// from the repository's PNGs, compared with what the screen shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "PixelRig.h"

namespace paneltest {

// The pages' artwork; coordinates and hit tests are those of this area.
inline constexpr int kArtWidth = 500;
inline constexpr int kArtHeight = 400;

struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<COLORREF> Pixels;  // rows top first
    COLORREF At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

// A 24-bit uncompressed bitmap file; false for anything else.
bool ReadPicture(const std::string& path, Picture& out);
bool WritePicture(const std::string& path, const Dib& picture);
// The build's copy of a reference picture.
std::string ReferencePath(const std::string& name);

// "" when they match; otherwise the first differing pixel (rows top first)
// and both colours, or the sizes.
std::string FirstDifference(const Picture& expected, const Dib& shown);

}  // namespace paneltest
