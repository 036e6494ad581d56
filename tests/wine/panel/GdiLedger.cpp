#include "GdiLedger.h"

#include <mmsystem.h>

#include <mutex>

namespace paneltest {

namespace {

long g_created = 0, g_deleted = 0;

struct Originals {
    decltype(&::CreateCompatibleDC) CreateCompatibleDC = nullptr;
    decltype(&::CreateBitmap) CreateBitmap = nullptr;
    decltype(&::CreateCompatibleBitmap) CreateCompatibleBitmap = nullptr;
    decltype(&::CreatePen) CreatePen = nullptr;
    decltype(&::CreateSolidBrush) CreateSolidBrush = nullptr;
    decltype(&::CreateRectRgn) CreateRectRgn = nullptr;
    decltype(&::LoadImageA) LoadImageA = nullptr;
    decltype(&::LoadBitmapA) LoadBitmapA = nullptr;
    decltype(&::DeleteDC) DeleteDC = nullptr;
    decltype(&::DeleteObject) DeleteObject = nullptr;
    decltype(&::DestroyIcon) DestroyIcon = nullptr;
} g_original;

template <class T>
T Counted(T made) {
    if (made) ++g_created;
    return made;
}
BOOL Gone(BOOL done) {
    if (done) ++g_deleted;
    return done;
}

HDC WINAPI CountCreateCompatibleDC(HDC dc) { return Counted(g_original.CreateCompatibleDC(dc)); }
HBITMAP WINAPI CountCreateBitmap(int w, int h, UINT planes, UINT bits, const void* data) {
    return Counted(g_original.CreateBitmap(w, h, planes, bits, data));
}
HBITMAP WINAPI CountCreateCompatibleBitmap(HDC dc, int w, int h) {
    return Counted(g_original.CreateCompatibleBitmap(dc, w, h));
}
HPEN WINAPI CountCreatePen(int style, int width, COLORREF colour) {
    return Counted(g_original.CreatePen(style, width, colour));
}
HBRUSH WINAPI CountCreateSolidBrush(COLORREF colour) { return Counted(g_original.CreateSolidBrush(colour)); }
HRGN WINAPI CountCreateRectRgn(int l, int t, int r, int b) { return Counted(g_original.CreateRectRgn(l, t, r, b)); }
HANDLE WINAPI CountLoadImageA(HINSTANCE module, LPCSTR name, UINT type, int w, int h, UINT flags) {
    return Counted(g_original.LoadImageA(module, name, type, w, h, flags));
}
HBITMAP WINAPI CountLoadBitmapA(HINSTANCE module, LPCSTR name) { return Counted(g_original.LoadBitmapA(module, name)); }
BOOL WINAPI CountDeleteDC(HDC dc) { return Gone(g_original.DeleteDC(dc)); }
BOOL WINAPI CountDeleteObject(HGDIOBJ object) { return Gone(g_original.DeleteObject(object)); }
BOOL WINAPI CountDestroyIcon(HICON icon) { return Gone(g_original.DestroyIcon(icon)); }

std::mutex g_soundLock;
std::vector<std::string> g_sounds;
decltype(&::sndPlaySoundA) g_play = nullptr;

BOOL WINAPI RecordSound(LPCSTR name, UINT flags) {
    {
        std::lock_guard<std::mutex> lock(g_soundLock);
        g_sounds.push_back(name ? name : "");
    }
    return g_play ? g_play(name, flags | SND_NODEFAULT) : FALSE;
}

}  // namespace

bool GdiLedger::Attach(HMODULE module, std::string* error) {
    Detach();
    g_created = g_deleted = 0;
    const padhost::ImportHook hooks[] = {
        {"gdi32.dll", "CreateCompatibleDC", reinterpret_cast<void*>(&CountCreateCompatibleDC),
         reinterpret_cast<void**>(&g_original.CreateCompatibleDC)},
        {"gdi32.dll", "CreateBitmap", reinterpret_cast<void*>(&CountCreateBitmap),
         reinterpret_cast<void**>(&g_original.CreateBitmap)},
        {"gdi32.dll", "CreateCompatibleBitmap", reinterpret_cast<void*>(&CountCreateCompatibleBitmap),
         reinterpret_cast<void**>(&g_original.CreateCompatibleBitmap)},
        {"gdi32.dll", "CreatePen", reinterpret_cast<void*>(&CountCreatePen), reinterpret_cast<void**>(&g_original.CreatePen)},
        {"gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(&CountCreateSolidBrush),
         reinterpret_cast<void**>(&g_original.CreateSolidBrush)},
        {"gdi32.dll", "CreateRectRgn", reinterpret_cast<void*>(&CountCreateRectRgn),
         reinterpret_cast<void**>(&g_original.CreateRectRgn)},
        {"user32.dll", "LoadImageA", reinterpret_cast<void*>(&CountLoadImageA),
         reinterpret_cast<void**>(&g_original.LoadImageA)},
        {"user32.dll", "LoadBitmapA", reinterpret_cast<void*>(&CountLoadBitmapA),
         reinterpret_cast<void**>(&g_original.LoadBitmapA)},
        {"gdi32.dll", "DeleteDC", reinterpret_cast<void*>(&CountDeleteDC), reinterpret_cast<void**>(&g_original.DeleteDC)},
        {"gdi32.dll", "DeleteObject", reinterpret_cast<void*>(&CountDeleteObject),
         reinterpret_cast<void**>(&g_original.DeleteObject)},
        {"user32.dll", "DestroyIcon", reinterpret_cast<void*>(&CountDestroyIcon),
         reinterpret_cast<void**>(&g_original.DestroyIcon)},
    };
    std::string why;
    patches_ = padhost::ApplyImportHooks(module, hooks, sizeof hooks / sizeof hooks[0], &why);
    if (why.empty() && patches_.empty()) why = "the module imports none of the GDI calls";
    if (!why.empty()) {
        if (error) *error = why;
        Detach();
        return false;
    }
    return true;
}

void GdiLedger::Detach() { patches_.clear(); }
long GdiLedger::Created() const { return g_created; }
long GdiLedger::Deleted() const { return g_deleted; }

bool SoundLog::Attach(HMODULE module, std::string* error) {
    if (!patch_.Apply(module, "winmm.dll", "sndPlaySoundA", reinterpret_cast<void*>(&RecordSound), error)) return false;
    g_play = reinterpret_cast<decltype(g_play)>(patch_.Original());
    Clear();
    return true;
}

std::vector<std::string> SoundLog::Played() const {
    std::lock_guard<std::mutex> lock(g_soundLock);
    return g_sounds;
}

void SoundLog::Clear() {
    std::lock_guard<std::mutex> lock(g_soundLock);
    g_sounds.clear();
}

}  // namespace paneltest
