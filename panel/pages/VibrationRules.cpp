#include "panel/pages/VibrationRules.h"

#include <cmath>

#include "panel/pages/Calibration.h"

namespace padpanel {

namespace {

using C = VibrationControl;

// The rhythm track: clicks count from x 75, the ball's left edge travels
// 86 - 11 .. 419 - 11.
constexpr int32_t kTrackLeft = 75, kTrackRight = 425, kTrackTop = 71, kTrackBottom = 92;
constexpr int32_t kBallFirst = 86, kBallLast = 419, kTrackTravel = 356;
constexpr uint32_t kInitialPeriod = 63, kInitialStrength = 189;

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : v > hi ? hi : v; }
uint32_t Level(uint32_t v) { return v > 255 ? 255 : v; }

int32_t StrengthWidth(const VibrationView& view) {
    const Box g = view.Rect(C::StrengthGauge);
    return g.Right - g.Left;
}

void ShowStrength(const VibrationState& s, VibrationView& view) {
    if (view.Has(C::StrengthGauge)) view.SetStrengthLevel(Level(s.Strength));
    if (view.Has(C::Arrow) && view.Has(C::StrengthGauge))
        view.MoveArrow(StrengthWidth(view) * static_cast<int32_t>(Level(s.Strength)) / 255 - 3);
}

void ShowPeriod(const VibrationState& s, VibrationView& view) {
    if (view.Has(C::Ball)) view.MoveBall(static_cast<int32_t>(Level(s.Period)) * kTrackTravel / 255 - 11);
}

void SetButton(VibrationView& view, C c, bool down) {
    if (view.Has(c)) view.SetDown(c, down);
}

bool Hit(const VibrationView& view, C c, int32_t x, int32_t y) { return view.Has(c) && view.Hits(c, x, y); }

// The rhythm from a position on the track.
void SetPeriodAt(VibrationState& s, VibrationView& view, int32_t x) {
    const int32_t at = Clamp(x, kBallFirst, kBallLast);
    s.Period = static_cast<uint32_t>((at - kTrackLeft) * 255 / kTrackTravel);
    if (view.Has(C::Ball)) view.MoveBall(at - kBallFirst);
    view.InvalidateWave();
}

// The strength from a position on the gauge; never below 2.
void SetStrengthAt(VibrationState& s, VibrationView& view, int32_t x) {
    const Box g = view.Rect(C::StrengthGauge);
    const int32_t width = g.Right - g.Left;
    if (width <= 0) return;
    int32_t level = (x - g.Left) * 255 / width;
    if (level < 2) level = 2;
    s.Strength = static_cast<uint32_t>(level);
    view.SetStrengthLevel(s.Strength);
    if (view.Has(C::Arrow)) view.MoveArrow(width * level / 255 - 3);
}

void MotorButtonClick(uint32_t& runMs, uint32_t& startTick, C button, const VibrationState& s, VibrationView& view,
                      uint32_t now) {
    if (view.IsDown(button)) {
        view.SetDown(button, false);
        runMs = 0;
    } else {
        view.SetDown(button, true);
        runMs = PulseMs(s.Period);
        startTick = now;
    }
    view.Send(false, false, -1, -1);
}

bool InDeadZone(uint32_t v) { return v >= kDeadZoneLow && v <= kDeadZoneHigh; }
uint32_t Deflection(uint32_t v) { return v >= 127 ? v - (kDeadZoneHigh + 1) : kDeadZoneLow - v; }

void TickDemo(VibrationState& s, VibrationView& view, uint32_t now) {
    if (s.LeftRunMs == 0) return;
    const uint32_t elapsed = now - s.LeftStartTick;
    if (elapsed >= s.LeftRunMs) {
        s.LeftRunMs = s.RightRunMs = 0;
        SetButton(view, C::Left, false);
        SetButton(view, C::Right, false);
        view.Send(true, true, -1, -1);
    } else if (s.AutoPause) {
        if (elapsed < kDemoPauseMs) return;
        view.Seed(now);
        s.Period = static_cast<uint32_t>(view.Random()) * 255 / 32767;
        const uint32_t strength = static_cast<uint32_t>(view.Random()) * 255 / 32767;
        s.Strength = strength < 2 ? 2 : strength;
        ShowStrength(s, view);
        ShowPeriod(s, view);
        view.InvalidateWave();
        SetButton(view, C::Left, true);
        SetButton(view, C::Right, true);
        s.LeftRunMs -= elapsed;
        s.LeftStartTick = now;
        s.AutoPause = 0;
        view.Send(false, false, -1, -1);
    } else if (elapsed >= PulseMs(s.Period)) {
        SetButton(view, C::Left, false);
        SetButton(view, C::Right, false);
        s.LeftRunMs -= elapsed;
        s.LeftStartTick = now;
        s.AutoPause = 1;
        view.Send(true, true, -1, -1);
    }
}

void EndPulse(uint32_t& runMs, uint32_t startTick, C button, VibrationView& view, uint32_t now) {
    if (!view.Has(button) || !view.IsDown(button) || runMs == 0 || now - startTick < runMs) return;
    runMs = 0;
    view.SetDown(button, false);
    view.Send(false, false, -1, -1);
}

void TickManual(VibrationState& s, VibrationView& view, int32_t rawX, int32_t rawY, uint32_t now) {
    // The vibration page maps the 8-bit form without capping it first.
    const uint32_t h = MapAxis(s.StickWordX, AxisByteUncapped(rawX));
    const uint32_t u = MapAxis(s.StickWordY, AxisByteUncapped(rawY));
    const bool centred = InDeadZone(h) && InDeadZone(u);
    if (view.Has(C::Cursor) && view.CursorValue() != (h << 16 | u)) {
        if (centred) {
            SetButton(view, C::Left, false);
            SetButton(view, C::Right, false);
            view.Send(false, false, 0, 0);
        }
        view.MoveCursor(h, u);
    }
    if (centred) {
        EndPulse(s.LeftRunMs, s.LeftStartTick, C::Left, view, now);
        EndPulse(s.RightRunMs, s.RightStartTick, C::Right, view, now);
        return;
    }
    // X drives the left motor and Y the right, each by its distance past the dead zone.
    const bool left = !InDeadZone(h), right = !InDeadZone(u);
    SetButton(view, C::Left, left);
    SetButton(view, C::Right, right);
    view.Send(false, false, left ? static_cast<int32_t>(Deflection(h) * 5 / 2) : 0,
              right ? static_cast<int32_t>(Deflection(u) * 5 / 2) : 0);
}

}  // namespace

void ShowVibrationSettings(const VibrationState& s, VibrationView& view) {
    ShowStrength(s, view);
    ShowPeriod(s, view);
    SetButton(view, C::Auto, s.AutoMode != 0);
    SetButton(view, C::Manual, s.AutoMode == 0);
}

void ClickVibrationPage(VibrationState& s, VibrationView& view, int32_t x, int32_t y, uint32_t now) {
    if (x >= kTrackLeft && x <= kTrackRight && y >= kTrackTop && y <= kTrackBottom) {
        SetPeriodAt(s, view, x);
        s.DraggingTime = 1;
    }
    if (Hit(view, C::Ball, x, y)) {
        const int32_t left = view.Rect(C::Ball).Left;
        s.Period = static_cast<uint32_t>(Clamp((left - 64) * 255 / kTrackTravel, 0, 255));
        view.MoveBall(left - kTrackLeft);
        view.InvalidateWave();
        s.DraggingTime = 1;
    }
    if (Hit(view, C::StrengthGauge, x, y)) {
        SetStrengthAt(s, view, x);
        s.DraggingPower = 1;
    }
    if (Hit(view, C::Arrow, x, y)) s.DraggingPower = 1;
    if (Hit(view, C::Initial, x, y)) {
        s.LeftRunMs = s.RightRunMs = 0;
        s.Period = kInitialPeriod;
        s.Strength = kInitialStrength;
        ShowStrength(s, view);
        ShowPeriod(s, view);
        SetButton(view, C::Manual, true);
        SetButton(view, C::Auto, false);
        SetButton(view, C::Left, false);
        SetButton(view, C::Right, false);
        s.AutoMode = 0;
        view.InvalidateWave();
        view.Send(true, true, -1, -1);
    }
    if (Hit(view, C::Auto, x, y)) {
        view.SetDown(C::Auto, true);
        SetButton(view, C::Manual, false);
        SetButton(view, C::Left, false);
        SetButton(view, C::Right, false);
        s.LeftRunMs = s.RightRunMs = kDemoMs;
        s.LeftStartTick = now;
        s.AutoPause = 1;
        s.AutoMode = 1;
    }
    if (Hit(view, C::Manual, x, y)) {
        view.SetDown(C::Manual, true);
        SetButton(view, C::Auto, false);
        SetButton(view, C::Left, false);
        SetButton(view, C::Right, false);
        s.LeftRunMs = s.RightRunMs = 0;
        s.AutoMode = 0;
        view.Send(false, false, -1, -1);
    }
    // The motor tests belong to the manual mode alone.
    const bool manual = view.Has(C::Manual) && view.IsDown(C::Manual) && !(view.Has(C::Auto) && view.IsDown(C::Auto));
    if (manual && Hit(view, C::Left, x, y)) MotorButtonClick(s.LeftRunMs, s.LeftStartTick, C::Left, s, view, now);
    if (manual && Hit(view, C::Right, x, y)) MotorButtonClick(s.RightRunMs, s.RightStartTick, C::Right, s, view, now);
}

void DragVibrationPage(VibrationState& s, VibrationView& view, int32_t x) {
    if (s.DraggingTime) SetPeriodAt(s, view, x);
    if (s.DraggingPower && view.Has(C::StrengthGauge)) {
        const Box g = view.Rect(C::StrengthGauge);
        SetStrengthAt(s, view, Clamp(x, g.Left, g.Right - 1));
    }
}

void ReleaseVibrationPage(VibrationState& s, VibrationView& view, int32_t x) {
    DragVibrationPage(s, view, x);
    s.DraggingTime = s.DraggingPower = 0;
}

void TickVibrationPage(VibrationState& s, VibrationView& view, int32_t rawX, int32_t rawY, uint32_t now) {
    if (view.Has(C::Auto) && view.IsDown(C::Auto)) {
        TickDemo(s, view, now);
    } else if (view.Has(C::Manual) && view.IsDown(C::Manual)) {
        TickManual(s, view, rawX, rawY, now);
    }
}

std::vector<WavePoint> WavePoints(uint32_t period) {
    const int32_t half = (kWaveArea.Bottom - kWaveArea.Top) / 2;
    const double step = 0.4 - Level(period) * 0.2 / 255;
    std::vector<WavePoint> points{{kWaveArea.Left, kWaveArea.Top + half}};
    double phase = 0;
    for (int32_t x = kWaveArea.Left; x < kWaveArea.Right; x += 2) {
        phase += step;
        points.push_back({x, kWaveArea.Top + half + static_cast<int32_t>(std::sin(phase) * half)});
    }
    return points;
}

}  // namespace padpanel
