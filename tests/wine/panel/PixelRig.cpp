#include "PixelRig.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>

namespace paneltest {

bool WriteBmp(const std::string& path, int width, int height, const PixelFn& pixel) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom row first
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<uint8_t> rows(info.biSizeImage, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            uint8_t* at = &rows[static_cast<size_t>((height - 1 - y) * stride + x * 3)];
            at[0] = GetBValue(c), at[1] = GetGValue(c), at[2] = GetRValue(c);
        }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&info, sizeof info, 1, f) == 1 &&
              std::fwrite(rows.data(), 1, rows.size(), f) == rows.size();
    return std::fclose(f) == 0 && ok;
}

Dib::Dib(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const win::WindowDc screen(nullptr);
    bitmap_.reset(::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<uint32_t*>(bits);
    dc_.reset(::CreateCompatibleDC(screen.get()));
    previous_ = ::SelectObject(dc_.get(), bitmap_.get());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) Set(x, y, fill);
}

Dib::~Dib() {
    if (previous_) ::SelectObject(dc_.get(), previous_);
}

COLORREF Dib::At(int x, int y) const {
    ::GdiFlush();
    const uint32_t v = bits_[y * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void Dib::Set(int x, int y, COLORREF c) {
    ::GdiFlush();
    bits_[y * width_ + x] = static_cast<uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

std::vector<uint32_t> Dib::Pixels() const {
    ::GdiFlush();
    return std::vector<uint32_t>(bits_, bits_ + width_ * height_);
}

PageWindow::PageWindow() {
    static const ATOM cls = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "PadPageStandIn";
        return ::RegisterClassA(&wc);
    }();
    (void)cls;
    window_ = ::CreateWindowExA(0, "PadPageStandIn", "", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), this);
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::UpdateWindow(window_);
    Clear();
}

PageWindow::~PageWindow() { ::DestroyWindow(window_); }

LRESULT CALLBACK PageWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PageWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_ERASEBKGND) {
        if (self) self->erased_ = true;
        return 1;
    }
    if (message == WM_PAINT) {
        win::Paint paint(window);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

std::vector<RECT> PageWindow::Stale() const {
    const win::UniqueGdiObject region(::CreateRectRgn(0, 0, 0, 0));
    if (::GetUpdateRgn(window_, static_cast<HRGN>(region.get()), FALSE) == NULLREGION) return {};
    const DWORD size = ::GetRegionData(static_cast<HRGN>(region.get()), 0, nullptr);
    std::vector<uint8_t> bytes(size);
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    ::GetRegionData(static_cast<HRGN>(region.get()), size, data);
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    std::vector<RECT> out(rects, rects + data->rdh.nCount);
    std::sort(out.begin(), out.end(), [](const RECT& a, const RECT& b) {
        return std::make_pair(a.top, a.left) < std::make_pair(b.top, b.left);
    });
    return out;
}

bool PageWindow::StaleIs(const std::vector<RECT>& expected) const {
    const win::UniqueGdiObject actual(::CreateRectRgn(0, 0, 0, 0)), wanted(::CreateRectRgn(0, 0, 0, 0));
    ::GetUpdateRgn(window_, static_cast<HRGN>(actual.get()), FALSE);
    for (const RECT& r : expected) {
        const win::UniqueGdiObject part(::CreateRectRgnIndirect(&r));
        ::CombineRgn(static_cast<HRGN>(wanted.get()), static_cast<HRGN>(wanted.get()), static_cast<HRGN>(part.get()),
                     RGN_OR);
    }
    return ::EqualRgn(static_cast<HRGN>(actual.get()), static_cast<HRGN>(wanted.get())) != FALSE;
}

bool PageWindow::PaintErases() {
    erased_ = false;
    ::UpdateWindow(window_);
    return erased_;
}

void PageWindow::Clear() {
    ::ValidateRect(window_, nullptr);
    erased_ = false;
}

void CaptureClient(HWND window, Dib& picture) {
    ::UpdateWindow(window);
    RECT r;
    ::GetClientRect(window, &r);
    const win::WindowDc dc(window);
    ::BitBlt(picture.Dc(), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
}

std::string Describe(const std::vector<RECT>& rects) {
    std::ostringstream out;
    for (const RECT& r : rects) out << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
    return rects.empty() ? "nothing" : out.str();
}

}  // namespace paneltest
