// A settings record of any bytes, loaded as the store or a profile file gives
// it, driven through every page's rules: entering pages, clicks at points
// from the input, drags, ticks with pad states from the input, and the
// records each step stores, which the force driver then plays with.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/JoySettingRecord.h"
#include "forcedriver/engine/EffectStore.h"
#include "forcedriver/engine/Playback.h"
#include "panel/RecordDefaults.h"
#include "panel/controls/ControlGeometry.h"
#include "panel/pages/ButtonGrid.h"
#include "panel/pages/ButtonPageRules.h"
#include "panel/pages/Calibration.h"
#include "panel/pages/CheckSteps.h"
#include "panel/pages/EnterPageSteps.h"
#include "panel/pages/EnterPageTable.h"
#include "panel/pages/KeyNames.h"
#include "panel/pages/MotorLevels.h"
#include "panel/pages/TestPageRules.h"
#include "panel/pages/VibrationRules.h"

using namespace padpanel;

namespace {

constexpr int kButtons = pad::kButtonCount;
using C = VibrationControl;

constexpr Box kPage{0, 0, 500, 400};

bool Inside(const Box& b, int32_t x, int32_t y) { return x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom; }
Box Shifted(Box b, int32_t dx, int32_t dy) { return {b.Left + dx, b.Top + dy, b.Right + dx, b.Bottom + dy}; }

bool Within(const Box& inner, const Box& outer) {
    return inner.Left >= outer.Left && inner.Right <= outer.Right && inner.Top >= outer.Top && inner.Bottom <= outer.Bottom;
}

// A gauge's fill stays inside the gauge, whatever level it is given, and
// what a change makes stale stays on the page.
void ShowGauge(const GaugeGeometry& gauge, uint32_t value, uint32_t* last = nullptr) {
    if (!Within(gauge.FillArea(value), gauge.Rect)) std::abort();
    if (!last) return;
    Box stale;
    if (gauge.StaleArea(*last, value, stale) && !Within(stale, kPage)) std::abort();
    *last = value;
}

// A cursor is given 8-bit positions; its stale area stays in its range.
void ShowCursor(const CursorGeometry& cursor, uint32_t h, uint32_t v) {
    if (h > 255 || v > 255) std::abort();
    const Box stale = cursor.StaleArea(static_cast<int32_t>(h) - 127, static_cast<int32_t>(v) - 127);
    if (stale.Left < cursor.Range.Left || stale.Right > cursor.Range.Right || stale.Top < cursor.Range.Top ||
        stale.Bottom > cursor.Range.Bottom)
        std::abort();
}

unsigned LayoutCharacter(unsigned virtualKey) { return virtualKey >= 0x30 && virtualKey <= 0x5A ? virtualKey : 0; }

void ShowKeyName(uint32_t key, const Box& caption) {
    char name[kKeyNameCapacity];
    FormatKeyName(key, name, sizeof name, LayoutCharacter);
    const size_t length = strnlen(name, sizeof name);
    if (length >= sizeof name) std::abort();
    const Box stale = CaptionStaleArea(caption, static_cast<uint32_t>(length));
    if (stale.Right > caption.Right) std::abort();
}

const GaugeGeometry kStrengthGauge{{79, 220, 423, 242}, 0, 0, false};
const GaugeGeometry kSensitivityGauge{{280, 250, 308, 283}, 0, 0, false};
const GaugeGeometry kTestZGauge{{28, 146, 241, 229}, 40, 83, true};
const GaugeGeometry kCheckZGauge{{27, 200, 242, 284}, 40, 83, true};
const CursorGeometry kTestCursor{{326, 250, 429, 355}, 8, 377, 302};
const CursorGeometry kPowerCursor{{194, 270, 309, 385}, 8, 251, 327};
const CursorGeometry kCheckCursor{{79, 66, 188, 175}, 8, 133, 120};
const Box kTurboButton{40, 25, 110, 45}, kClearButton{120, 25, 190, 45};
const Box kCheckButtonBox{223, 142, 307, 166};
// The controls of every page, so that a click can be aimed at one.
Box Target(int n) {
    static const Box kFixed[] = {kTurboButton, kClearButton, kSensitivityGauge.Rect, {114, 358, 198, 382},
                                 {211, 358, 295, 382}, {312, 358, 396, 382}, {126, 177, 199, 198},
                                 {211, 177, 284, 198}, {300, 177, 373, 198}, {42, 270, 122, 351},
                                 {377, 270, 457, 351}, kStrengthGauge.Rect, {75, 71, 425, 92}};
    constexpr int fixed = sizeof kFixed / sizeof kFixed[0];
    if (n < fixed) return kFixed[n];
    n -= fixed;
    if (n < kButtons) return IndicatorBox(n + 1);
    n -= kButtons;
    if (n < kButtons) return Shifted(SetButtonBox(n + 1), 4, 0);
    n -= kButtons;
    return Shifted(kCheckButtonBox, 0, ButtonOffsetOfStep(static_cast<uint32_t>(n % 7)));
}
constexpr int kTargets = 13 + 2 * kButtons + 7;

struct PadState {
    int32_t X = 0, Y = 0, Z = 0, Rz = 0;
    uint8_t Buttons[kButtons] = {};
    uint32_t Pov = 0;
};

class Sheet;

// The vibration page's controls at their built places.
class VibrationControls final : public VibrationView {
public:
    explicit VibrationControls(Sheet& sheet) : sheet_(sheet) {}
    bool Has(C) const override { return true; }
    bool IsDown(C c) const override { return down_[static_cast<int>(c)]; }
    void SetDown(C c, bool d) override { down_[static_cast<int>(c)] = d; }
    bool Hits(C c, int32_t x, int32_t y) const override { return Inside(Rect(c), x, y); }
    Box Rect(C c) const override {
        switch (c) {
        case C::Initial: return {126, 177, 199, 198};
        case C::Auto: return {211, 177, 284, 198};
        case C::Manual: return {300, 177, 373, 198};
        case C::Left: return {42, 270, 122, 351};
        case C::Right: return {377, 270, 457, 351};
        case C::StrengthGauge: return kStrengthGauge.Rect;
        case C::Arrow: return Shifted({79, 239, 88, 248}, arrow_, 0);
        case C::Ball: return Shifted({75, 71, 96, 92}, ball_, 0);
        default: return kPowerCursor.Range;
        }
    }
    void SetStrengthLevel(uint32_t level) override { ShowGauge(kStrengthGauge, level << 16, &gauge_); }
    void MoveArrow(int32_t dx) override { arrow_ = dx; }
    void MoveBall(int32_t dx) override { ball_ = dx; }
    void InvalidateWave() override;
    uint32_t CursorValue() const override { return cursor_; }
    void MoveCursor(uint32_t h, uint32_t u) override {
        ShowCursor(kPowerCursor, h, u);
        cursor_ = h << 16 | u;
    }
    void Send(bool leftOff, bool rightOff, int32_t leftLevel, int32_t rightLevel) override;
    void Seed(uint32_t seed) override { random_ = seed; }
    int32_t Random() override {
        random_ = random_ * 214013u + 2531011u;
        return static_cast<int32_t>((random_ >> 16) & 0x7FFF);
    }

private:
    Sheet& sheet_;
    bool down_[9] = {};
    int32_t arrow_ = 0, ball_ = 0;
    uint32_t cursor_ = 0, random_ = 1, gauge_ = 0;
};

// The button pages' controls; the key prompt's answers and profile files come from the input.
class ButtonControls final : public ButtonPagesView {
public:
    explicit ButtonControls(Sheet& sheet) : sheet_(sheet) {}
    bool HasSetButton(int j) const override;
    bool SetButtonDown(int j) const override { return down_[j - 1]; }
    void SetSetButton(int j, bool d) override { down_[j - 1] = d; }
    bool HitsSetButton(int j, int32_t x, int32_t y) const override { return Inside(Shifted(SetButtonBox(j), dx_, 0), x, y); }
    Box BuiltSetButton(int j) const override { return SetButtonBox(j); }
    bool Hits(SharedButton b, int32_t x, int32_t y) const override {
        const Box box = b == SharedButton::Initial ? Box{114, 358, 198, 382}
                        : b == SharedButton::Load  ? Box{211, 358, 295, 382}
                                                   : Box{312, 358, 396, 382};
        return Inside(box, x, y);
    }
    void SetShared(SharedButton, bool) override {}
    void MoveFirstPicture(int32_t, int32_t) override {}
    void InvalidatePage() override {}
    void InvalidateKeyName(int physical) override {
        if (physical < 1 || physical > kButtons) std::abort();
    }
    bool PromptForKey(uint32_t& key) override;
    void LoadProfile() override;
    void SaveProfile() override;
    void EnterPage(int code) override;
    void Enter(int pageNumber) { dx_ = pageNumber == 1 ? 4 : 0; }

private:
    Sheet& sheet_;
    bool down_[kButtons] = {};
    int32_t dx_ = 0;
};

class Sheet final : public EnterPageSide {
public:
    explicit Sheet(FuzzedDataProvider& in) : in_(in), vibration_(*this), buttons_(*this) {}

    FuzzedDataProvider& in_;
    pad::JoySettingRecord current{}, saved{};
    DefaultAxisWords words;
    uint32_t axisCount = 4, buttonCount = 12, now = 0;
    int page = 0;
    // What the page context keeps.
    uint32_t leftRunMs = 0, rightRunMs = 0, leftStart = 0, rightStart = 0;
    uint8_t autoPause = 0, draggingPower = 0, draggingTime = 0;
    bool turboEditing = false;
    uint32_t lit[kButtons] = {}, turboTicks[kButtons] = {};
    uint32_t checkStep = 0;
    uint32_t sensitivityGauge = 0, zGauge = 0, checkZGauge = 0;  // the gauges' values as last set
    std::array<uint32_t, 5> captures{};
    bool firstSample = true;
    VibrationControls vibration_;
    ButtonControls buttons_;
    int depth_ = 0;

    int PadButtons() const { return static_cast<int>(std::min<uint32_t>(buttonCount, kButtons)); }
    VibrationState Vibration() {
        return VibrationState{leftRunMs,          rightRunMs,        leftStart,        rightStart,
                              autoPause,          draggingPower,     draggingTime,     current.MotorPower,
                              current.TimeCycle,  current.AutoMode,  current.AxisCalibration[0],
                              current.AxisCalibration[1]};
    }

    // The sheet opening: the store's value of any length.
    void Open(const std::vector<uint8_t>& value, bool failed) {
        pad::JoySettingRecord read{};
        const long bytes = failed ? -1 : static_cast<long>(value.size());
        if (!value.empty()) std::memcpy(&read, value.data(), std::min(value.size(), sizeof read));
        switch (ClassifyStoredValue(bytes, sizeof read)) {
        case StoredValue::Whole: current = read; break;
        case StoredValue::Leading: std::memcpy(&current, &read, static_cast<size_t>(bytes)); break;
        case StoredValue::Absent: BuildDefaultRecord(current, words); break;
        }
        saved = current;
    }

    // A profile file of any length: a whole record replaces Current, a shorter file nothing.
    void LoadFile(const std::vector<uint8_t>& file) {
        if (file.size() < sizeof current) return;
        std::memcpy(&current, file.data(), sizeof current);
        Enter(kCommitCurrent);
        Enter(2);
    }

    void Enter(int code) {
        if (depth_ > 4) std::abort();  // the pages never enter pages without end
        ++depth_;
        RunEnterPage(code, EnterPageState{current, saved, leftRunMs, draggingPower, draggingTime}, *this);
        if (code >= 0) page = code;
        --depth_;
    }

    void SendMotors(bool leftOff, bool rightOff, int32_t leftLevel, int32_t rightLevel) {
        if (current.MotorPower > 255) current.MotorPower = 255;
        MotorRequest r{leftOff, rightOff, leftLevel, rightLevel, current.MotorPower,
                       vibration_.IsDown(C::Auto), vibration_.IsDown(C::Left), vibration_.IsDown(C::Right)};
        const MotorBytes bytes = MotorReportBytes(r);
        if (bytes[0] != 0 || bytes[3] != 0 || bytes[1] > 31 || bytes[2] > 31) std::abort();
    }

    // EnterPageSide
    void StopMotors() override { SendMotors(false, false, 0, 0); }
    void BeforeStore(int code) override {
        if (code == 1 || code == 2) buttons_.Enter(code);
        if (code == 3) ShowVibrationSettings(Vibration(), vibration_);
    }
    DefaultAxisWords AxisWords() override { return words; }
    void Store(const pad::JoySettingRecord& record) override { Play(record); }
    void AfterStore(int code) override {
        if (code == 0) {
            ShowGauge(kSensitivityGauge, SensitivityGaugeLevel(static_cast<int>(std::min<uint32_t>(current.Sensitivity, 2))),
                      &sensitivityGauge);
            for (int k = 1; k <= kButtons; ++k)
                if (current.KeyCodes[k - 1] != 0) ShowKeyName(current.KeyCodes[k - 1], IndicatorCaptionBox(k));
        }
        if (code == 4) {
            checkStep = 0;
            for (size_t i = 0; i < captures.size(); ++i) captures[i] = CaptureStartWord(current.AxisCalibration[i]);
        }
    }

    // The force driver reads the stored record and plays a periodic effect with it.
    void Play(const pad::JoySettingRecord& record) {
        struct Clock final : ff::TickSource {
            uint32_t Now() override { return t; }
            uint32_t t = 0;
        } clock;
        struct Sink final : ff::MotorSink {
            void WriteMotorLevels(int32_t a, int32_t b) override {
                if (a < -ff::kFullLevel || a > ff::kFullLevel || b < -ff::kFullLevel || b > ff::kFullLevel) std::abort();
            }
        } sink;
        ff::CrtRandom random;
        std::atomic<uint32_t> zeros{0};
        ff::StepContext context{clock, random, sink, zeros};
        ff::EffectStore effects;
        const ff::PeriodicBlock wave{0xFFFFFFFFu, 0, 9000, 0xFFFFFFFEu};
        ff::EffectParams params;
        params.Duration = ff::kInfinite;
        params.Gain = ff::kFullLevel;
        params.TypeSpecific = &wave;
        params.TypeSpecificSize = sizeof wave;
        const uint32_t h = effects.Insert(ff::MakeEffectRecord(ff::kTriangle, params, 0));
        effects.Play(h, clock.t);
        ff::MotorState motors;
        const ff::VibrationSettings settings = ff::VibrationFrom(record);
        for (int i = 0; i < 4; ++i, clock.t += 997) ff::RunPlaybackStep(effects.Effects(), settings, ff::kFullLevel, motors, context);
    }

    void ClickTest(int32_t x, int32_t y) {
        if (Inside(kTurboButton, x, y)) turboEditing = !turboEditing;
        if (turboEditing) {
            for (int k = 1; k <= kButtons; ++k)
                if (Inside(IndicatorBox(k), x, y)) current.TurboFlags[k - 1] = current.TurboFlags[k - 1] ? 0 : 1;
            Enter(kCommitCurrent);
            Enter(0);
        }
        if (Inside(kClearButton, x, y) && turboEditing) {
            for (uint8_t& flag : current.TurboFlags) flag = 0;
            Enter(kCommitCurrent);
            Enter(0);
        }
        const Box g = kSensitivityGauge.Rect;
        if (Inside(g, x, y)) {
            const int level = SensitivityLevelAt(g.Top, g.Bottom, y);
            ShowGauge(kSensitivityGauge, SensitivityGaugeLevel(level), &sensitivityGauge);
            const int old = static_cast<int>(std::min<uint32_t>(current.Sensitivity, 2));
            current.Sensitivity = static_cast<uint32_t>(level);
            if (level != old) {
                current.AxisCalibration[0] = RescaleForSensitivity(current.AxisCalibration[0], old, level);
                current.AxisCalibration[1] = RescaleForSensitivity(current.AxisCalibration[1], old, level);
            }
            Enter(kCommitCurrent);
            Enter(0);
        }
    }

    void ClickCheck(int32_t x, int32_t y) {
        if (!Inside(Shifted(kCheckButtonBox, 0, ButtonOffsetOfStep(checkStep)), x, y)) return;
        const uint32_t next = NextCheckStep(checkStep, axisCount);
        if (ButtonOfStep(checkStep) == CheckButton::Check) firstSample = true;
        if (next == 0) CommitCaptures(captures, current.AxisCalibration, current.Sensitivity);
        checkStep = next;
    }

    void Click(int32_t x, int32_t y) {
        switch (page) {
        case 0: ClickTest(x, y); break;
        case 1:
        case 2: ClickButtonPage(page, current, PadButtons(), buttons_, x, y); break;
        case 3: {
            VibrationState s = Vibration();
            ClickVibrationPage(s, vibration_, x, y, now);
            break;
        }
        case 4: ClickCheck(x, y); break;
        }
    }

    // Mapped as the check page shows an axis through its word.
    static uint32_t Mapped(uint32_t word, int32_t raw) { return MapAxis(word, static_cast<int32_t>(AxisByte(raw))); }

    void Tick(const PadState& pad) {
        if (page != 3 && leftRunMs != 0) {
            leftRunMs = 0;
            StopMotors();
        }
        switch (page) {
        case 0:
            ShowCursor(kTestCursor, AxisByte(pad.X), AxisByte(pad.Y));
            ShowGauge(kTestZGauge, (255 - AxisByte(pad.Z)) << 16, &zGauge);
            for (int k = 1; k <= PadButtons(); ++k) {
                const IndicatorStep step =
                    StepIndicator(current.TurboFlags[k - 1] != 0, pad.Buttons[k - 1], lit[k - 1], turboTicks[k - 1], now);
                if (step.Change) lit[k - 1] = step.Lit;
            }
            HatDirection(pad.Pov);
            break;
        case 1: TickButtonPage(current, PadButtons(), pad.Buttons, buttons_); break;
        case 3: {
            VibrationState s = Vibration();
            TickVibrationPage(s, vibration_, pad.X, pad.Y, now);
            break;
        }
        case 4: {
            const uint32_t* w = current.AxisCalibration;
            ShowCursor(kCheckCursor, Mapped(w[0], pad.X), Mapped(w[1], pad.Y));
            ShowGauge(kCheckZGauge, (255 - Mapped(w[4], pad.Z)) << 16, &checkZGauge);
            ShowGauge(kCheckZGauge, (255 - Mapped(w[2], pad.Rz)) << 16);
            if (checkStep == 1) {
                CaptureSample(captures[0], w[0], pad.X, firstSample);
                CaptureSample(captures[1], w[1], pad.Y, firstSample);
            } else if (checkStep == 3) {
                CaptureSample(captures[4], w[4], pad.Z, firstSample);
            } else if (checkStep == 5) {
                CaptureSample(captures[2], w[2], pad.Rz, firstSample);
            }
            firstSample = false;
            break;
        }
        default: break;
        }
        // Button pages paint every physical button's key, its entry however stored.
        if (page == 2)
            for (int j = 1; j <= kButtons; ++j)
                ShowKeyName(current.KeyCodes[KeyIndexOf(current.ButtonMap[j - 1])], IndicatorCaptionBox(j));
    }
};

// The wave is drawn again for the period now set: inside its rectangle.
void VibrationControls::InvalidateWave() {
    for (const WavePoint& p : WavePoints(sheet_.current.TimeCycle))
        if (p.X < kWaveArea.Left || p.X > kWaveArea.Right || p.Y < kWaveArea.Top || p.Y > kWaveArea.Bottom) std::abort();
}

void VibrationControls::Send(bool leftOff, bool rightOff, int32_t leftLevel, int32_t rightLevel) {
    sheet_.SendMotors(leftOff, rightOff, leftLevel, rightLevel);
}

bool ButtonControls::HasSetButton(int j) const { return j >= 1 && j <= sheet_.PadButtons(); }

bool ButtonControls::PromptForKey(uint32_t& key) {
    FuzzedDataProvider& in = sheet_.in_;
    uint32_t captured = 0;
    for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
        captured = KeyPromptStep(captured, in.ConsumeIntegral<uint8_t>(), in.ConsumeBool());
    key = captured;
    return in.ConsumeBool();
}

void ButtonControls::LoadProfile() {
    FuzzedDataProvider& in = sheet_.in_;
    sheet_.LoadFile(in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<size_t>(0, 300)));
}

void ButtonControls::SaveProfile() {}

void ButtonControls::EnterPage(int code) { sheet_.Enter(code); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    Sheet sheet(in);
    // The record first, as the store or a profile file gives it.
    const uint8_t source = in.ConsumeIntegral<uint8_t>();
    const size_t length = source & 0x80 ? in.ConsumeIntegralInRange<size_t>(0, 2 * pad::kSettingsRecordSize)
                                        : pad::kSettingsRecordSize;
    const std::vector<uint8_t> record = in.ConsumeBytes<uint8_t>(length);
    sheet.axisCount = in.ConsumeIntegralInRange<uint32_t>(0, 6);
    sheet.buttonCount = in.ConsumeIntegralInRange<uint32_t>(0, 14);
    sheet.words = {in.ConsumeIntegral<uint32_t>(), in.ConsumeIntegral<uint32_t>(), in.ConsumeIntegral<uint32_t>()};
    sheet.now = in.ConsumeIntegral<uint32_t>();
    if (source & 0x40) {
        sheet.Open({}, false);
        sheet.LoadFile(record);
    } else {
        sheet.Open(record, source & 0x20);
    }
    sheet.Enter(0);

    for (int op = 0; op < 512 && in.remaining_bytes() > 0; ++op) {
        int32_t x = in.ConsumeIntegralInRange(-20, 520), y = in.ConsumeIntegralInRange(-20, 420);
        if (in.ConsumeBool()) {  // aimed at a control, a few pixels either way
            const Box b = Target(in.ConsumeIntegralInRange(0, kTargets - 1));
            x = (b.Left + b.Right) / 2 + in.ConsumeIntegralInRange(-40, 40);
            y = (b.Top + b.Bottom) / 2 + in.ConsumeIntegralInRange(-12, 12);
        }
        switch (in.ConsumeIntegralInRange(0, 6)) {
        case 0: sheet.Enter(in.ConsumeIntegralInRange(-3, 5)); break;
        case 1: sheet.Click(x, y); break;
        case 2:
        case 3: {
            if (sheet.page != 3) break;
            VibrationState s = sheet.Vibration();
            if (in.ConsumeBool()) DragVibrationPage(s, sheet.vibration_, x);
            else ReleaseVibrationPage(s, sheet.vibration_, x);
            break;
        }
        default: {
            PadState pad;
            pad.X = in.ConsumeIntegral<int32_t>();
            pad.Y = in.ConsumeIntegral<int32_t>();
            pad.Z = in.ConsumeIntegral<int32_t>();
            pad.Rz = in.ConsumeIntegral<int32_t>();
            const uint16_t pressed = in.ConsumeIntegral<uint16_t>();
            for (int k = 0; k < kButtons; ++k) pad.Buttons[k] = pressed >> k & 1 ? 0x80 : 0;
            pad.Pov = in.ConsumeIntegral<uint32_t>();
            // Ticks every 10 ms; now and then the clock jumps.
            sheet.now += in.ConsumeBool() ? 10 : in.ConsumeIntegral<uint32_t>();
            sheet.Tick(pad);
            break;
        }
        }
    }
    sheet.Enter(kCommitCurrent);
    return 0;
}
