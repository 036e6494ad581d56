// The vibration page's decisions without Windows: what clicks, drags and
// ticks do to the settings, the page's controls and the motors. The page's
// controls and the motor report sit behind VibrationView; time comes in.
#pragma once

#include <cstdint>
#include <vector>

#include "panel/controls/ControlGeometry.h"

namespace padpanel {

enum class VibrationControl { Initial, Auto, Manual, Left, Right, StrengthGauge, Arrow, Ball, Cursor };

class VibrationView {
public:
    virtual bool Has(VibrationControl c) const = 0;
    // Buttons: nonzero value is down.
    virtual bool IsDown(VibrationControl c) const = 0;
    virtual void SetDown(VibrationControl c, bool down) = 0;
    virtual bool Hits(VibrationControl c, int32_t x, int32_t y) const = 0;
    // The control's rectangle as GetRect gives it (the ball's with its offset).
    virtual Box Rect(VibrationControl c) const = 0;
    virtual void SetStrengthLevel(uint32_t level) = 0;  // the gauge's horizontal level
    virtual void MoveArrow(int32_t dx) = 0;             // with redraw
    virtual void MoveBall(int32_t dx) = 0;              // with redraw
    virtual void InvalidateWave() = 0;
    virtual uint32_t CursorValue() const = 0;
    virtual void MoveCursor(uint32_t h, uint32_t u) = 0;  // with redraw
    // SendMotorReport; it reads the buttons through this view's state.
    virtual void Send(bool leftOff, bool rightOff, int32_t leftLevel, int32_t rightLevel) = 0;
    // The runtime library's generator: seeded from the tick count, 0..32767.
    virtual void Seed(uint32_t seed) = 0;
    virtual int32_t Random() = 0;

protected:
    ~VibrationView() = default;
};

// What the page reads and changes of the page context and the record.
struct VibrationState {
    uint32_t& LeftRunMs;
    uint32_t& RightRunMs;
    uint32_t& LeftStartTick;
    uint32_t& RightStartTick;
    uint8_t& AutoPause;
    uint8_t& DraggingPower;
    uint8_t& DraggingTime;
    uint32_t& Strength;   // MotorPower
    uint32_t& Period;     // TimeCycle
    uint32_t& AutoMode;
    uint32_t StickWordX;  // calibration words 0 and 1
    uint32_t StickWordY;
};

inline constexpr uint32_t kDemoMs = 15000;
inline constexpr uint32_t kDemoPauseMs = 300;
inline constexpr uint32_t kDeadZoneLow = 101;
inline constexpr uint32_t kDeadZoneHigh = 151;

// A motor test's run (and the demo's vibration phase) for a period level.
inline uint32_t PulseMs(uint32_t period) { return (period > 255 ? 255 : period) * 1000 / 255 + 500; }

// Gauge, arrow, ball and the mode buttons from the settings (page entry).
void ShowVibrationSettings(const VibrationState& s, VibrationView& view);
void ClickVibrationPage(VibrationState& s, VibrationView& view, int32_t x, int32_t y, uint32_t now);
void DragVibrationPage(VibrationState& s, VibrationView& view, int32_t x);
void ReleaseVibrationPage(VibrationState& s, VibrationView& view, int32_t x);
// One 10 ms tick with the pad's raw X and Y.
void TickVibrationPage(VibrationState& s, VibrationView& view, int32_t rawX, int32_t rawY, uint32_t now);

// The wave drawn for a period level: a polyline in the wave rectangle
// (80,108)-(422,159), shorter waves for lower levels.
struct WavePoint {
    int32_t X, Y;
};
std::vector<WavePoint> WavePoints(uint32_t period);
inline constexpr Box kWaveArea{80, 108, 422, 159};

}  // namespace padpanel
