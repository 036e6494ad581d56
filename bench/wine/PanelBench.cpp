// The pages' drawing under Wine, through the staged padpanel.dll in the
// control-panel host: the time of a full test page paint beside a floor
// measured in the same run (one copy of a 500 x 400 bitmap to the page
// window), and per 10 ms tick the area repainted, the time spent painting and
// the share of the tick it takes, on the test page with the pad still and with
// the stick sweeping, and on the vibration page with the stick sweeping and
// during the automatic demo, with the writes to the window a paint makes and
// the motor reports written a second. Figures are printed as
// "name value unit", never judged.
//
//   panel_bench --dll=PATH --data=ZORORO_FOLDER [--seconds=S]
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/win/GdiResources.h"
#include "hosts/cplhost/DrawCallLog.h"
#include "hosts/cplhost/PanelRegistration.h"
#include "hosts/cplhost/SheetHost.h"
#include "hosts/dinput7/StandInLoader.h"
#include "tools/padstate/PadStateLink.h"
#include "tools/simpad/SimPad.h"

namespace {

double Now() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// What the page's paints cost: area asked for and time taken, summed.
struct PaintTally {
    long Paints = 0;
    double Area = 0;
    double Ms = 0;
};
PaintTally g_tally;

LRESULT CALLBACK MeasurePaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message != WM_PAINT) return ::DefSubclassProc(window, message, wParam, lParam);
    const win::UniqueGdiObject region(::CreateRectRgn(0, 0, 0, 0));
    if (::GetUpdateRgn(window, static_cast<HRGN>(region.get()), FALSE) > NULLREGION) {
        const DWORD size = ::GetRegionData(static_cast<HRGN>(region.get()), 0, nullptr);
        std::vector<uint8_t> bytes(size);
        auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
        ::GetRegionData(static_cast<HRGN>(region.get()), size, data);
        const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
        for (DWORD i = 0; i < data->rdh.nCount; ++i)
            g_tally.Area += static_cast<double>(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
    }
    const double start = Now();
    const LRESULT r = ::DefSubclassProc(window, message, wParam, lParam);
    g_tally.Ms += Now() - start;
    ++g_tally.Paints;
    return r;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One copy of a 500 x 400 bitmap to the page window: the least a full paint can cost.
double FloorMs(HWND page) {
    const win::WindowDc window(page);
    const win::UniqueMemoryDc memory(::CreateCompatibleDC(window.get()));
    const win::UniqueBitmap bitmap(::CreateCompatibleBitmap(window.get(), 500, 400));
    const win::ScopedSelection selected(memory.get(), bitmap.get());
    ::PatBlt(memory.get(), 0, 0, 500, 400, WHITENESS);
    std::vector<double> times;
    for (int i = 0; i < 50; ++i) {
        const double start = Now();
        ::BitBlt(window.get(), 0, 0, 500, 400, memory.get(), 0, 0, SRCCOPY);
        ::GdiFlush();
        times.push_back(Now() - start);
    }
    return Median(times);
}

// The least a WM_PAINT of the page window can cost: the same window and
// message path, a paint that only copies one 500 x 400 bitmap.
LRESULT CALLBACK MinimalPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return ::DefSubclassProc(window, message, wParam, lParam);
    const win::Paint paint(window);
    ::BitBlt(paint.get(), 0, 0, 500, 400, reinterpret_cast<HDC>(data), 0, 0, SRCCOPY);
    return 0;
}

double FloorPaintMs(HWND page) {
    const win::WindowDc window(page);
    const win::BitmapDc picture(window.get(), win::UniqueBitmap(::CreateCompatibleBitmap(window.get(), 500, 400)));
    ::PatBlt(picture.get(), 0, 0, 500, 400, WHITENESS);
    ::SetWindowSubclass(page, MinimalPaint, 2, reinterpret_cast<DWORD_PTR>(picture.get()));
    std::vector<double> times;
    for (int i = 0; i < 50; ++i) {
        const double start = Now();
        ::RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ::GdiFlush();
        times.push_back(Now() - start);
    }
    ::RemoveWindowSubclass(page, MinimalPaint, 2);
    return Median(times);
}

// Runs the current page for `ms`, calling `step` between pumps; returns the ticks.
template <class Step>
int Run(cplhost::SheetHost& host, DWORD ms, Step& step, int ticks) {
    const HWND page = host.CurrentPage();
    ::SetWindowSubclass(page, MeasurePaint, 1, 0);
    g_tally = PaintTally{};
    const DWORD start = ::GetTickCount();
    const int first = ticks;
    while (::GetTickCount() - start < ms) {
        step(ticks++);
        host.Pump(10);
    }
    ::RemoveWindowSubclass(page, MeasurePaint, 1);
    return ticks - first;
}

// The tally per tick and the motor reports a second over `ms`; then, in a
// pass of its own, so that logging costs the timed pass nothing, the writes
// to the window a paint.
template <class Step>
void Measure(cplhost::SheetHost& host, simpad::SimPad& motors, const char* name, DWORD ms, Step step) {
    motors.Clear();
    const int ticks = Run(host, ms, step, 0);
    std::printf("panel_tick_area_%s %.0f px\n", name, g_tally.Area / ticks);
    std::printf("panel_tick_paint_%s %.3f ms\n", name, g_tally.Ms / ticks);
    std::printf("panel_tick_share_%s %.1f %%\n", name, g_tally.Ms / ticks / 10.0 * 100.0);
    std::printf("panel_paints_per_tick_%s %.2f\n", name, static_cast<double>(g_tally.Paints) / ticks);
    std::printf("panel_motor_reports_%s %.0f reports/s\n", name, motors.ReportCount() * 1000.0 / ms);
    cplhost::DrawCallLog draws;
    std::string error;
    if (!draws.Attach(::GetModuleHandleA("padpanel.dll"), &error)) return;
    Run(host, 500, step, ticks);
    if (g_tally.Paints)
        std::printf("panel_window_writes_per_paint_%s %.2f\n", name,
                    static_cast<double>(draws.WindowWrites()) / static_cast<double>(g_tally.Paints));
}

}  // namespace

int main(int argc, char** argv) {
    std::string dll, data;
    DWORD seconds = 2;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--dll=", 0) == 0) dll = a.substr(6);
        else if (a.rfind("--data=", 0) == 0) data = a.substr(7);
        else if (a.rfind("--seconds=", 0) == 0) seconds = std::strtoul(a.c_str() + 10, nullptr, 10);
    }
    std::string error;
    if (dll.empty() || !dinput7::LoadStandIn(&error) || !cplhost::RegisterPanel(dll, &error) ||
        (!data.empty() && !cplhost::InstallPanelData(data, &error))) {
        std::fprintf(stderr, "panel_bench: %s\n", dll.empty() ? "give the staged DLL as --dll=PATH" : error.c_str());
        return 2;
    }
    padstate::PadStateLink pad;
    if (!pad.IsOpen()) return 2;
    padstate::ResetBlock(pad.Block());
    simpad::SimPad motors;
    lstrcpynA(pad->ReportPath, motors.Path().c_str(), padstate::kPathCapacity);
    ::CoInitialize(nullptr);
    int rc = 0;
    {
        cplhost::SheetHost host;
        if (!host.Open("VID_7A3C&PID_A02F", 0, &error)) {
            std::fprintf(stderr, "panel_bench: %s\n", error.c_str());
            rc = 2;
        } else {
            host.Pump(300);
            const HWND page = host.CurrentPage();
            const double floor = FloorMs(page);
            const double floorPaint = FloorPaintMs(page);
            auto fullPaint = [&] {
                const double start = Now();
                ::RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                ::GdiFlush();
                return Now() - start;
            };
            std::vector<double> full;
            for (int i = 0; i < 50; ++i) full.push_back(fullPaint());
            const double median = Median(full);
            std::printf("# the test page, %zu full paints\n", full.size());
            std::printf("panel_floor_copy_500x400 %.3f ms\n", floor);
            std::printf("panel_full_paint_median %.3f ms\n", median);
            std::printf("panel_full_paint_to_floor %.2f x\n", median / floor);
            std::printf("panel_floor_paint_500x400 %.3f ms\n", floorPaint);
            std::printf("panel_full_paint_to_floor_paint %.2f x\n", median / floorPaint);
            {
                cplhost::DrawCallLog draws;
                if (draws.Attach(::GetModuleHandleA("padpanel.dll"), &error)) {
                    for (int i = 0; i < 10; ++i) fullPaint();
                    std::printf("panel_window_writes_per_paint_full %.2f\n", draws.WindowWrites() / 10.0);
                }
            }
            host.Pump(100);
            // The stick sweeps a circle, a turn a second.
            auto sweep = [&](int tick) {
                const double a = tick * 2 * 3.14159265 / 100;
                pad->Axes[0] = static_cast<int32_t>(32767 + 30000 * std::cos(a));
                pad->Axes[1] = static_cast<int32_t>(32767 + 30000 * std::sin(a));
            };
            const DWORD ms = seconds * 1000;
            Measure(host, motors, "test_still", ms, [](int) {});
            Measure(host, motors, "test_sweep", ms, sweep);
            host.SelectPage(3);
            host.Pump(100);
            host.Click(330, 185);  // Manual: the stick drives the motors
            Measure(host, motors, "vibration_sweep", ms, sweep);
            pad->Axes[0] = pad->Axes[1] = 32767;
            host.Click(240, 185);  // Auto: the demo
            Measure(host, motors, "vibration_demo", ms, [](int) {});
            host.Cancel();
        }
    }
    ::CoUninitialize();
    return rc;
}
