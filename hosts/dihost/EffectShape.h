// An effect as a game describes it to DirectInput, in plain values. The
// Windows side turns it into DIEFFECT and its blocks (BuiltEffect.h).
#pragma once

#include <cstdint>

namespace padhost {

// Driver effect ids, as the pad's installed effect list assigns them.
enum EffectKind : uint32_t {
    kConstant = 0,
    kRamp = 1,
    kSquare = 2,
    kSine = 3,
    kTriangle = 4,
    kSawtoothUp = 5,
    kSawtoothDown = 6,
};

inline constexpr uint32_t kInfinite = 0xFFFFFFFFu;

// DIEFFECT coordinate flags.
inline constexpr uint32_t kCartesian = 0x10;
inline constexpr uint32_t kPolar = 0x20;
inline constexpr uint32_t kSpherical = 0x40;

// DownloadEffect's DIEP flags.
inline constexpr uint32_t kDiepDuration = 0x001;
inline constexpr uint32_t kDiepSamplePeriod = 0x002;
inline constexpr uint32_t kDiepGain = 0x004;
inline constexpr uint32_t kDiepTriggerButton = 0x008;
inline constexpr uint32_t kDiepTriggerRepeat = 0x010;
inline constexpr uint32_t kDiepAxes = 0x020;
inline constexpr uint32_t kDiepDirection = 0x040;
inline constexpr uint32_t kDiepEnvelope = 0x080;
inline constexpr uint32_t kDiepTypeSpecific = 0x100;
inline constexpr uint32_t kDiepStartDelay = 0x200;
inline constexpr uint32_t kDiepAllParams = 0x3FF;
inline constexpr uint32_t kDiepStart = 0x20000000;
inline constexpr uint32_t kDiepNoRestart = 0x40000000;

// SendForceFeedbackCommand's commands.
inline constexpr uint32_t kCommandReset = 0x01;
inline constexpr uint32_t kCommandStopAll = 0x02;
inline constexpr uint32_t kCommandPause = 0x04;
inline constexpr uint32_t kCommandContinue = 0x08;
inline constexpr uint32_t kCommandActuatorsOn = 0x10;
inline constexpr uint32_t kCommandActuatorsOff = 0x20;

inline constexpr uint32_t kMaxShapeAxes = 8;  // room past the driver's four, to test the limit

struct EnvelopeShape {
    uint32_t AttackLevel = 0;
    uint32_t AttackTime = 0;  // microseconds
    uint32_t FadeLevel = 0;
    uint32_t FadeTime = 0;    // microseconds
};

struct EffectShape {
    uint32_t EffectId = kConstant;
    int32_t Magnitude = 10000;   // constant force; periodic (taken unsigned)
    int32_t RampStart = 10000;
    int32_t RampEnd = 0;
    uint32_t Duration = 1000000;  // microseconds, or kInfinite
    uint32_t Gain = 10000;
    uint32_t SamplePeriod = 0;
    uint32_t Coordinates = kPolar;
    uint32_t AxisCount = 2;
    int32_t Directions[kMaxShapeAxes] = {};  // polar: hundredths of a degree in [0]
    bool HasEnvelope = false;
    EnvelopeShape Envelope;
    uint32_t Period = 100000;  // microseconds
    int32_t Offset = 0;
    uint32_t Phase = 0;        // hundredths of a degree
    uint32_t StartDelay = 0;   // microseconds

    static EffectShape Constant(int32_t magnitude, uint32_t durationUs) {
        EffectShape s;
        s.EffectId = kConstant;
        s.Magnitude = magnitude;
        s.Duration = durationUs;
        return s;
    }
    static EffectShape Ramp(int32_t start, int32_t end, uint32_t durationUs) {
        EffectShape s;
        s.EffectId = kRamp;
        s.RampStart = start;
        s.RampEnd = end;
        s.Duration = durationUs;
        return s;
    }
    static EffectShape Periodic(uint32_t kind, uint32_t magnitude, uint32_t periodUs, uint32_t durationUs) {
        EffectShape s;
        s.EffectId = kind;
        s.Magnitude = static_cast<int32_t>(magnitude);
        s.Period = periodUs;
        s.Duration = durationUs;
        return s;
    }

    EffectShape& WithPolar(int32_t hundredths) {
        Coordinates = kPolar;
        AxisCount = 2;
        Directions[0] = hundredths;
        Directions[1] = 0;
        return *this;
    }
    EffectShape& WithCartesian(int32_t x, int32_t y) {
        Coordinates = kCartesian;
        AxisCount = 2;
        Directions[0] = x;
        Directions[1] = y;
        return *this;
    }
    EffectShape& WithCartesian(int32_t x) {
        Coordinates = kCartesian;
        AxisCount = 1;
        Directions[0] = x;
        return *this;
    }
    EffectShape& WithEnvelope(uint32_t attackLevel, uint32_t attackUs, uint32_t fadeLevel, uint32_t fadeUs) {
        HasEnvelope = true;
        Envelope = EnvelopeShape{attackLevel, attackUs, fadeLevel, fadeUs};
        return *this;
    }
    EffectShape& WithGain(uint32_t gain) {
        Gain = gain;
        return *this;
    }
    EffectShape& WithStartDelay(uint32_t us) {
        StartDelay = us;
        return *this;
    }
    EffectShape& WithOffset(int32_t offset) {
        Offset = offset;
        return *this;
    }
    EffectShape& WithPhase(uint32_t hundredths) {
        Phase = hundredths;
        return *this;
    }
};

// What a kind's parameter block holds: DICONSTANTFORCE, DIRAMPFORCE or
// DIPERIODIC; 0 for ids the pad plays without a block.
constexpr uint32_t ParameterBlockSize(uint32_t effectId) {
    return effectId == kConstant ? 4u : effectId == kRamp ? 8u : effectId <= kSawtoothDown ? 16u : 0u;
}

constexpr bool IsPeriodic(uint32_t effectId) { return effectId >= kSquare && effectId <= kSawtoothDown; }

}  // namespace padhost
