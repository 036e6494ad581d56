// Effect data as the playback engine keeps it. The parameter payloads have the
// byte layout of DirectInput's structures, so a game's block is copied as is.
#pragma once

#include <cstdint>

namespace ff {

inline constexpr uint32_t kInfinite = 0xFFFFFFFFu;
inline constexpr uint32_t kMaxAxes = 4;
inline constexpr int32_t kFullLevel = 10000;

// DIEFFECT coordinate flags.
inline constexpr uint32_t kCoordCartesian = 0x10;
inline constexpr uint32_t kCoordPolar = 0x20;

// DIEP_* flags of DownloadEffect.
inline constexpr uint32_t kParamDuration = 0x001;
inline constexpr uint32_t kParamSamplePeriod = 0x002;
inline constexpr uint32_t kParamGain = 0x004;
inline constexpr uint32_t kParamAxes = 0x020;
inline constexpr uint32_t kParamDirection = 0x040;
inline constexpr uint32_t kParamEnvelope = 0x080;
inline constexpr uint32_t kParamTypeSpecific = 0x100;
inline constexpr uint32_t kParamStartDelay = 0x200;
inline constexpr uint32_t kParamStart = 0x20000000;
inline constexpr uint32_t kParamNoRestart = 0x40000000;

// Driver effect ids, as the installed effect list maps DirectInput's types to them.
enum EffectKind : uint32_t {
    kConstantForce = 0,
    kRampForce = 1,
    kSquare = 2,
    kSine = 3,
    kTriangle = 4,
    kSawtoothUp = 5,
    kSawtoothDown = 6,
    kFirstStoppedKind = 7,   // 7..11 stop at once
    kFirstSilentKind = 12,   // 12 and above play without output
};

enum class PlayState : uint32_t { Stopped = 0, Paused = 1, Playing = 2 };

enum class PlaybackSummary : uint32_t { Idle = 0, Paused = 1, Playing = 2 };

struct EnvelopeBlock {  // DIENVELOPE
    uint32_t Size;
    uint32_t AttackLevel;
    uint32_t AttackTime;  // microseconds
    uint32_t FadeLevel;
    uint32_t FadeTime;    // microseconds
};
static_assert(sizeof(EnvelopeBlock) == 20, "DIENVELOPE is 20 bytes");

struct ConstantBlock {  // DICONSTANTFORCE
    int32_t Magnitude;
};
struct RampBlock {  // DIRAMPFORCE
    int32_t Start;
    int32_t End;
};
struct PeriodicBlock {  // DIPERIODIC
    uint32_t Magnitude;
    int32_t Offset;
    uint32_t Phase;   // hundredths of a degree
    uint32_t Period;  // microseconds
};
static_assert(sizeof(ConstantBlock) == 4 && sizeof(RampBlock) == 8 && sizeof(PeriodicBlock) == 16,
              "payloads have DirectInput's sizes");

// What a DownloadEffect call carries, already checked at the COM edge.
struct EffectParams {
    uint32_t Flags = 0;         // coordinate flags
    uint32_t Duration = 0;      // microseconds or kInfinite
    uint32_t SamplePeriod = 0;
    uint32_t Gain = 0;
    uint32_t AxisCount = 0;     // at most kMaxAxes
    uint32_t Axes[kMaxAxes] = {};
    int32_t Directions[kMaxAxes] = {};
    const EnvelopeBlock* Envelope = nullptr;
    uint32_t StartDelay = 0;    // microseconds
    uint32_t TypeSpecificSize = 0;
    const void* TypeSpecific = nullptr;
};

}  // namespace ff
