#include "PagePictures.h"

#include <cstdio>
#include <memory>

namespace paneltest {

namespace {

std::string Hex(COLORREF c) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

}  // namespace

bool ReadPicture(const std::string& path, Picture& out) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) return false;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    if (std::fread(&file, sizeof file, 1, f.get()) != 1 || std::fread(&info, sizeof info, 1, f.get()) != 1) return false;
    if (file.bfType != 0x4D42 || info.biBitCount != 24 || info.biCompression != BI_RGB || info.biWidth <= 0 ||
        info.biHeight == 0 || info.biWidth > 4096 || info.biHeight > 4096 || info.biHeight < -4096)
        return false;
    const bool bottomUp = info.biHeight > 0;
    out.Width = info.biWidth;
    out.Height = bottomUp ? info.biHeight : -info.biHeight;
    const size_t stride = (static_cast<size_t>(out.Width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> rows(stride * out.Height);
    if (std::fseek(f.get(), static_cast<long>(file.bfOffBits), SEEK_SET) != 0 ||
        std::fread(rows.data(), 1, rows.size(), f.get()) != rows.size())
        return false;
    out.Pixels.resize(static_cast<size_t>(out.Width) * out.Height);
    for (int y = 0; y < out.Height; ++y) {
        const uint8_t* row = &rows[stride * (bottomUp ? out.Height - 1 - y : y)];
        for (int x = 0; x < out.Width; ++x)
            out.Pixels[static_cast<size_t>(y) * out.Width + x] = RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
    return true;
}

bool WritePicture(const std::string& path, const Dib& picture) {
    return WriteBmp(path, kArtWidth, kArtHeight, [&](int x, int y) { return picture.At(x, y); });
}

std::string ReferencePath(const std::string& name) { return std::string(PAD_TEST_PICTURES) + "\\" + name + ".bmp"; }

std::string FirstDifference(const Picture& expected, const Dib& shown) {
    if (expected.Width != kArtWidth || expected.Height != kArtHeight)
        return "the reference is " + std::to_string(expected.Width) + " x " + std::to_string(expected.Height);
    for (int y = 0; y < expected.Height; ++y)
        for (int x = 0; x < expected.Width; ++x) {
            const COLORREF want = expected.At(x, y), got = shown.At(x, y);
            if (want != got)
                return "first differing pixel (" + std::to_string(x) + ", " + std::to_string(y) + "): reference " +
                       Hex(want) + ", shown " + Hex(got);
        }
    return "";
}

}  // namespace paneltest
