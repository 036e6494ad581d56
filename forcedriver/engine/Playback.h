// The playback step: every playing effect evaluated at the current time,
// scaled by its gain and the device gain, split between the two motors by its
// direction, scaled by the user's strength, summed, clamped, and reported when
// the pair of levels changed. Time, randomness and output are injected.
#pragma once

#include <atomic>
#include <cstdint>

#include "common/JoySettingRecord.h"
#include "EffectRecord.h"

namespace ff {

// The three fields of the settings record that shape vibration.
struct VibrationSettings {
    uint32_t TimeCycle = 0;   // period level, taken unsigned; above kLastPeriodLevel counts as it
    int32_t MotorPower = 0;   // strength level, taken signed
    uint32_t AutoMode = 0;    // nonzero: random period factor
};
// The highest period level: the record's field holds any 32-bit value, and
// a larger one would stretch a period beyond what the step's sums hold.
inline constexpr uint32_t kLastPeriodLevel = 255;
VibrationSettings VibrationFrom(const pad::JoySettingRecord& record);

class TickSource {
public:
    virtual uint32_t Now() = 0;  // milliseconds, wrapping
protected:
    ~TickSource() = default;
};

class MotorSink {
public:
    virtual void WriteMotorLevels(int32_t level1, int32_t level2) = 0;
protected:
    ~MotorSink() = default;
};

class RandomSource {
public:
    virtual uint32_t Next() = 0;  // 0..32767
protected:
    ~RandomSource() = default;
};

// The C runtime's generator as a program that never seeds it sees it.
class CrtRandom final : public RandomSource {
public:
    uint32_t Next() override {
        state_ = state_ * 214013u + 2531011u;
        return (state_ >> 16) & 0x7FFFu;
    }
private:
    uint32_t state_ = 1;
};

// What the step leaves behind for the next one.
struct MotorState {
    int32_t Last1 = 0;
    int32_t Last2 = 0;
    PlaybackSummary Summary = PlaybackSummary::Idle;
};

// The all-off report goes out once on the change to (0, 0) and this many more times.
inline constexpr uint32_t kZeroRepeats = 5;

struct StepContext {
    TickSource& Clock;
    RandomSource& Random;
    MotorSink& Sink;
    std::atomic<uint32_t>& ZeroRepeatCount;  // shared by every device of the process
};

void RunPlaybackStep(EffectList& effects, const VibrationSettings& settings, uint32_t deviceGain,
                     MotorState& state, StepContext& context);

// Pieces of the step, exposed for their own tests.
int64_t Interpolate(int64_t a, int64_t b, int64_t span, int64_t pos);

struct EffectLevel {
    bool HasOutput = false;
    int32_t Level = 0;
    bool Finished = false;  // the effect is over and becomes stopped
};
// Level of a playing effect whose start delay has passed, at `elapsed` ms from its start.
EffectLevel EvaluateEffect(EffectRecord& effect, uint32_t elapsed, const VibrationSettings& settings,
                           RandomSource& random);

struct MotorShares {
    int32_t S1 = 0;
    int32_t S2 = 0;
};
MotorShares SplitDirection(int32_t level, uint32_t coordinateFlags, const int32_t* directions,
                           uint32_t axisCount);
MotorShares ApplyStrength(MotorShares shares, int32_t motorPower);

}  // namespace ff
