#include "Playback.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace ff {

namespace {

constexpr double kPi = 3.1415926535;

int32_t Saturate(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

int64_t Clamp(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

int32_t TruncateToLevel(double v) {
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);  // toward zero
}

// Ramp pairs are kept as a rise from 0 or a fall to 0, at most full scale.
void NormaliseRamp(RampBlock& ramp) {
    if (ramp.Start >= ramp.End) {
        ramp.Start = static_cast<int32_t>(Clamp(int64_t{ramp.Start} - ramp.End, INT64_MIN, kFullLevel));
        ramp.End = 0;
    } else {
        ramp.End = static_cast<int32_t>(Clamp(int64_t{ramp.End} - ramp.Start, INT64_MIN, kFullLevel));
        ramp.Start = 0;
    }
}

uint64_t PeriodFactor(const VibrationSettings& s, RandomSource& random) {
    const uint64_t level = s.TimeCycle < kLastPeriodLevel ? s.TimeCycle : kLastPeriodLevel;
    if (s.AutoMode == 0) return 1 + level * 3 / 255;
    return 1 + uint64_t{random.Next()} * 3 / 32767;
}

int64_t PeriodicSustain(uint32_t kind, const PeriodicBlock& w, int64_t v, const VibrationSettings& s,
                        RandomSource& random) {
    const int64_t magnitude = w.Magnitude;
    const int64_t offset = w.Offset;
    if (w.Period / 1000 == 0) return magnitude + offset;

    uint64_t period = PeriodFactor(s, random) * w.Period / 3;  // microseconds
    if (period / 1000 == 0) period = 2000;
    const int64_t tms = static_cast<int64_t>(period / 1000);
    const int64_t half = tms / 2;
    const int64_t p = v % tms;

    switch (kind) {
        case kSquare:
            return p < half ? magnitude + offset : offset;
        case kSine: {
            const uint64_t deg = (static_cast<uint64_t>(p) * 360 / tms + w.Phase / 100) % 360;
            const double x = static_cast<double>(deg % 90) * 2 * kPi / 360;
            double sine;
            if (deg < 90) sine = std::sin(x);
            else if (deg < 180) sine = std::cos(x);
            else if (deg < 270) sine = -std::sin(x);
            else sine = -std::cos(x);
            return TruncateToLevel(static_cast<double>(magnitude) * sine + static_cast<double>(offset));
        }
        case kTriangle: {
            const int64_t shift = static_cast<int64_t>(w.Phase / 360) * tms / 100;
            const int64_t q = (v + shift) % tms;
            return q < half ? Interpolate(offset, magnitude, half, q)
                            : Interpolate(magnitude, offset, half, q - half);
        }
        case kSawtoothUp:
            return Interpolate(offset, magnitude, half, p < half ? p : p - half);
        default:  // sawtooth down
            return Interpolate(magnitude, offset, half, p < half ? p : p - half);
    }
}

}  // namespace

VibrationSettings VibrationFrom(const pad::JoySettingRecord& record) {
    VibrationSettings s;
    s.TimeCycle = record.TimeCycle;
    s.MotorPower = static_cast<int32_t>(record.MotorPower);
    s.AutoMode = record.AutoMode;
    return s;
}

int64_t Interpolate(int64_t a, int64_t b, int64_t span, int64_t pos) {
    if (span == 0) return a;
    return (a * (span - pos) + b * pos) / span;
}

EffectLevel EvaluateEffect(EffectRecord& e, uint32_t elapsed, const VibrationSettings& settings,
                           RandomSource& random) {
    EffectLevel out;
    const uint32_t kind = e.EffectId;
    if (kind >= kFirstSilentKind) return out;
    if (kind >= kFirstStoppedKind) {
        out.Finished = true;
        return out;
    }
    if (kind == kRampForce && e.Duration == kInfinite) return out;  // an endless ramp has no slope

    // A missing or short block is never read: the effect keeps its time and
    // ends on schedule, without moving a motor.
    ConstantBlock constant{};
    RampBlock ramp{};
    PeriodicBlock periodic{};
    bool hasBlock;
    if (kind == kConstantForce) hasBlock = e.ReadPayload(constant);
    else if (kind == kRampForce) hasBlock = e.ReadPayload(ramp);
    else hasBlock = e.ReadPayload(periodic);

    const int64_t attack = e.Envelope.AttackTime / 1000;
    const int64_t fade = e.Envelope.FadeTime / 1000;
    const int64_t u = int64_t{elapsed} - e.StartDelay;
    const int64_t v = u - attack;
    const bool endless = e.Duration == kInfinite;

    int64_t sustainStart = 0, fadeStart = 0;
    if (kind == kConstantForce) sustainStart = fadeStart = constant.Magnitude;
    else if (kind == kRampForce) sustainStart = ramp.Start, fadeStart = ramp.End;
    else sustainStart = fadeStart = periodic.Magnitude;

    int64_t level;
    if (u < attack) {
        level = Interpolate(e.Envelope.AttackLevel, sustainStart, attack, u);
    } else if (endless || v <= int64_t{e.Duration}) {
        if (!hasBlock) return out;
        if (kind == kConstantForce) {
            level = constant.Magnitude;
        } else if (kind == kRampForce) {
            NormaliseRamp(ramp);
            e.WritePayload(ramp);
            level = Interpolate(ramp.Start, ramp.End, e.Duration, v);
        } else {
            level = PeriodicSustain(kind, periodic, v, settings, random);
        }
    } else if (v - int64_t{e.Duration} < fade) {
        level = Interpolate(fadeStart, e.Envelope.FadeLevel, fade, v - e.Duration);
    } else {
        out.Finished = true;
        return out;
    }
    if (!hasBlock) return out;
    out.HasOutput = true;
    out.Level = Saturate(level);
    return out;
}

MotorShares SplitDirection(int32_t level, uint32_t flags, const int32_t* directions, uint32_t axisCount) {
    const int64_t l = level;
    if (flags & kCoordPolar) {
        const int32_t degrees = (directions[0] / 100) % 360;
        if (degrees < 0) return {};
        const double x = static_cast<double>(degrees % 90) * kPi / 180;
        const int32_t across = Saturate(std::llabs(TruncateToLevel(static_cast<double>(l) * std::cos(x))));
        const int32_t along = Saturate(std::llabs(TruncateToLevel(static_cast<double>(l) * std::sin(x))));
        const bool motor1First = degrees < 90 || (degrees >= 180 && degrees < 270);
        return motor1First ? MotorShares{across, along} : MotorShares{along, across};
    }
    if (flags & kCoordCartesian) {
        if (axisCount == 1) return {level, level};
        const int64_t x = directions[0];
        const int64_t y = directions[1];
        if ((x == 0 && y == 0) || x + y == 0) return {level, level};
        return {Saturate(l * x / (x + y)), Saturate(l * y / (x + y))};
    }
    return {level, level};
}

MotorShares ApplyStrength(MotorShares shares, int32_t motorPower) {
    if (shares.S1 == 0 && shares.S2 == 0) return shares;
    const int64_t factor = 1 + int64_t{motorPower} * 6 / 255;
    return {Saturate(std::llabs(factor * shares.S1 / 5)), Saturate(std::llabs(factor * shares.S2 / 5))};
}

void RunPlaybackStep(EffectList& effects, const VibrationSettings& settings, uint32_t deviceGain,
                     MotorState& state, StepContext& ctx) {
    int64_t sum1 = 0, sum2 = 0;
    PlaybackSummary summary = PlaybackSummary::Idle;

    effects.ForEach([&](EffectRecord& e) {
        if (e.State == PlayState::Paused && summary == PlaybackSummary::Idle) summary = PlaybackSummary::Paused;
        if (e.State == PlayState::Playing) summary = PlaybackSummary::Playing;

        const uint32_t elapsed = ctx.Clock.Now() - e.StartTick;
        if (elapsed < e.StartDelay || e.State != PlayState::Playing) return;

        const EffectLevel result = EvaluateEffect(e, elapsed, settings, ctx.Random);
        if (result.Finished) e.State = PlayState::Stopped;
        if (!result.HasOutput) return;

        int32_t level = Saturate(int64_t{result.Level} * e.Gain / 10000);
        level = Saturate(int64_t{level} * deviceGain / 10000);
        const MotorShares shares =
            ApplyStrength(SplitDirection(level, e.CoordinateFlags, e.Directions, e.AxisCount), settings.MotorPower);
        sum1 += shares.S1;
        sum2 += shares.S2;
    });
    state.Summary = summary;

    const int32_t level1 = static_cast<int32_t>(Clamp(sum1, -kFullLevel, kFullLevel));
    const int32_t level2 = static_cast<int32_t>(Clamp(sum2, -kFullLevel, kFullLevel));
    if (level1 != state.Last1 || level2 != state.Last2) {
        state.Last1 = level1;
        state.Last2 = level2;
        ctx.Sink.WriteMotorLevels(level1, level2);
        ctx.ZeroRepeatCount.store(0, std::memory_order_relaxed);
    } else if (level1 == 0 && level2 == 0) {
        const uint32_t repeats = ctx.ZeroRepeatCount.load(std::memory_order_relaxed);
        if (repeats < kZeroRepeats) {
            ctx.ZeroRepeatCount.store(repeats + 1, std::memory_order_relaxed);
            ctx.Sink.WriteMotorLevels(0, 0);
        }
    }
}

}  // namespace ff
