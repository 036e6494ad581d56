#include "hosts/cplhost/DrawCallLog.h"

#include <algorithm>

namespace cplhost {

namespace {

std::vector<DrawCall> g_calls;

struct Originals {
    decltype(&::BitBlt) BitBlt = nullptr;
    decltype(&::StretchBlt) StretchBlt = nullptr;
    decltype(&::FillRect) FillRect = nullptr;
    decltype(&::DrawTextA) DrawTextA = nullptr;
    decltype(&::LineTo) LineTo = nullptr;
} g_original;

void Note(const char* function, HDC dc, RECT area) {
    g_calls.push_back(DrawCall{function, area, ::WindowFromDC(dc) != nullptr});
}

BOOL WINAPI LogBitBlt(HDC dc, int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop) {
    Note("BitBlt", dc, RECT{x, y, x + w, y + h});
    return g_original.BitBlt(dc, x, y, w, h, source, sx, sy, rop);
}
BOOL WINAPI LogStretchBlt(HDC dc, int x, int y, int w, int h, HDC source, int sx, int sy, int sw, int sh, DWORD rop) {
    Note("StretchBlt", dc, RECT{x, y, x + w, y + h});
    return g_original.StretchBlt(dc, x, y, w, h, source, sx, sy, sw, sh, rop);
}
int WINAPI LogFillRect(HDC dc, const RECT* r, HBRUSH brush) {
    Note("FillRect", dc, r ? *r : RECT{});
    return g_original.FillRect(dc, r, brush);
}
int WINAPI LogDrawTextA(HDC dc, LPCSTR text, int length, LPRECT r, UINT format) {
    Note("DrawTextA", dc, r ? *r : RECT{});
    return g_original.DrawTextA(dc, text, length, r, format);
}
BOOL WINAPI LogLineTo(HDC dc, int x, int y) {
    POINT from{};
    ::GetCurrentPositionEx(dc, &from);
    Note("LineTo", dc, RECT{std::min<LONG>(from.x, x), std::min<LONG>(from.y, y), std::max<LONG>(from.x, x) + 1,
                            std::max<LONG>(from.y, y) + 1});
    return g_original.LineTo(dc, x, y);
}

}  // namespace

bool DrawCallLog::Attach(HMODULE module, std::string* error) {
    Detach();
    Clear();
    const padhost::ImportHook hooks[] = {
        {"gdi32.dll", "BitBlt", reinterpret_cast<void*>(&LogBitBlt), reinterpret_cast<void**>(&g_original.BitBlt)},
        {"gdi32.dll", "StretchBlt", reinterpret_cast<void*>(&LogStretchBlt),
         reinterpret_cast<void**>(&g_original.StretchBlt)},
        {"user32.dll", "FillRect", reinterpret_cast<void*>(&LogFillRect), reinterpret_cast<void**>(&g_original.FillRect)},
        {"user32.dll", "DrawTextA", reinterpret_cast<void*>(&LogDrawTextA),
         reinterpret_cast<void**>(&g_original.DrawTextA)},
        {"gdi32.dll", "LineTo", reinterpret_cast<void*>(&LogLineTo), reinterpret_cast<void**>(&g_original.LineTo)},
    };
    std::string why;
    patches_ = padhost::ApplyImportHooks(module, hooks, sizeof hooks / sizeof hooks[0], &why);
    if (why.empty() && patches_.empty()) why = "the module imports none of the drawing calls";
    if (!why.empty()) {
        if (error) *error = why;
        Detach();
        return false;
    }
    return true;
}

void DrawCallLog::Detach() { patches_.clear(); }
const std::vector<DrawCall>& DrawCallLog::Calls() const { return g_calls; }
long DrawCallLog::WindowWrites() const {
    return static_cast<long>(std::count_if(g_calls.begin(), g_calls.end(), [](const DrawCall& c) { return c.ToWindow; }));
}
void DrawCallLog::Clear() { g_calls.clear(); }

}  // namespace cplhost
