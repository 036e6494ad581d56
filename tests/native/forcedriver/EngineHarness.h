// A device's playback on a simulated clock: one step per millisecond, every
// report recorded with the time it went out.
#pragma once

#include <atomic>
#include <cstring>
#include <vector>

#include "forcedriver/engine/EffectStore.h"
#include "forcedriver/engine/Playback.h"

namespace fftest {

struct SentReport {
    uint32_t At;
    int32_t Level1;
    int32_t Level2;
};

class ManualClock final : public ff::TickSource {
public:
    uint32_t Now() override { return now; }
    uint32_t now = 1000;
};

class RecordingSink final : public ff::MotorSink {
public:
    explicit RecordingSink(const ManualClock& clock) : clock_(clock) {}
    void WriteMotorLevels(int32_t l1, int32_t l2) override { sent.push_back({clock_.now, l1, l2}); }
    std::vector<SentReport> sent;

private:
    const ManualClock& clock_;
};

class FixedRandom final : public ff::RandomSource {
public:
    uint32_t Next() override { return value; }
    uint32_t value = 0;
};

// Parameter blocks with the byte layout a game passes.
struct Download {
    ff::EffectParams params;
    ff::EnvelopeBlock envelope{};
    std::vector<uint8_t> block;

    static Download Constant(int32_t magnitude, uint32_t durationUs) {
        Download d;
        d.SetBlock(ff::ConstantBlock{magnitude});
        d.params.Duration = durationUs;
        return d;
    }
    static Download Ramp(int32_t start, int32_t end, uint32_t durationUs) {
        Download d;
        d.SetBlock(ff::RampBlock{start, end});
        d.params.Duration = durationUs;
        return d;
    }
    static Download Periodic(uint32_t magnitude, int32_t offset, uint32_t phase, uint32_t periodUs,
                             uint32_t durationUs) {
        Download d;
        d.SetBlock(ff::PeriodicBlock{magnitude, offset, phase, periodUs});
        d.params.Duration = durationUs;
        return d;
    }
    template <class Block>
    void SetBlock(const Block& b) {
        block.resize(sizeof b);
        std::memcpy(block.data(), &b, sizeof b);
        params.TypeSpecific = block.data();
        params.TypeSpecificSize = sizeof b;
    }
    Download& Polar(int32_t direction) {
        params.Flags = ff::kCoordPolar;
        params.AxisCount = 2;
        params.Directions[0] = direction;
        params.Directions[1] = 0;
        return *this;
    }
    Download& Envelope(uint32_t attackLevel, uint32_t attackUs, uint32_t fadeLevel, uint32_t fadeUs) {
        envelope = {sizeof envelope, attackLevel, attackUs, fadeLevel, fadeUs};
        params.Envelope = &envelope;
        return *this;
    }
    Download& Gain(uint32_t g) {
        params.Gain = g;
        return *this;
    }
    Download& StartDelay(uint32_t us) {
        params.StartDelay = us;
        return *this;
    }
    const ff::EffectParams& Params() {
        if (params.Envelope) params.Envelope = &envelope;
        if (!block.empty()) params.TypeSpecific = block.data();
        return params;
    }
};

class Engine {
public:
    Engine() { settings.MotorPower = 170; }  // strength 5/5 unless a test says otherwise

    uint32_t Add(uint32_t kind, Download d) {
        if (d.params.Gain == 0) d.params.Gain = 10000;
        return store.Insert(ff::MakeEffectRecord(kind, d.Params(), 0));
    }
    uint32_t Start(uint32_t kind, Download d) {
        const uint32_t h = Add(kind, std::move(d));
        store.Play(h, clock.now);
        return h;
    }
    void Step() {
        ff::StepContext ctx{clock, random, sink, zeroRepeats};
        ff::RunPlaybackStep(store.Effects(), settings, gain, motors, ctx);
    }
    // Steps once per millisecond for `ms` milliseconds.
    void Run(uint32_t ms) {
        for (uint32_t i = 0; i < ms; ++i) {
            Step();
            ++clock.now;
        }
    }
    // Level of motor 1 (or 2) after stepping to `msAfterStart` past `start`.
    std::pair<int32_t, int32_t> LevelsAt(uint32_t start, uint32_t msAfterStart) {
        while (clock.now - start < msAfterStart) {
            Step();
            ++clock.now;
        }
        Step();
        return {motors.Last1, motors.Last2};
    }

    ManualClock clock;
    RecordingSink sink{clock};
    FixedRandom random;
    std::atomic<uint32_t> zeroRepeats{0};
    ff::EffectStore store;
    ff::VibrationSettings settings;
    uint32_t gain = 10000;
    ff::MotorState motors;
};

}  // namespace fftest
