// Cost of one playback step against the number of playing effects. The step
// runs once per millisecond; the goal is under 1 % of that at 16 effects.
// Prints one line per figure: name value unit.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "forcedriver/engine/EffectStore.h"
#include "forcedriver/engine/Playback.h"

namespace {

class SteppedClock final : public ff::TickSource {
public:
    uint32_t Now() override { return now; }
    uint32_t now = 0;
};

class CountingSink final : public ff::MotorSink {
public:
    void WriteMotorLevels(int32_t l1, int32_t l2) override { sum += l1 + l2; ++reports; }
    int64_t sum = 0;
    uint64_t reports = 0;
};

// A mix a game might hold: constant forces, ramps and every periodic kind,
// with envelopes and polar directions spread around the circle.
void Fill(ff::EffectStore& store, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t kind = i % 7;
        ff::EnvelopeBlock envelope{sizeof envelope, 0, 200000, 0, 300000};
        ff::EffectParams p;
        p.Flags = ff::kCoordPolar;
        p.AxisCount = 2;
        p.Directions[0] = static_cast<int32_t>((i * 3700) % 36000);
        p.Duration = ff::kInfinite;
        p.Gain = 8000;
        p.Envelope = &envelope;
        ff::ConstantBlock constant{5000};
        ff::RampBlock ramp{1000, 9000};
        ff::PeriodicBlock periodic{7000, 0, 4500, 80000};
        if (kind == ff::kConstantForce) { p.TypeSpecific = &constant; p.TypeSpecificSize = sizeof constant; }
        else if (kind == ff::kRampForce) { p.TypeSpecific = &ramp; p.TypeSpecificSize = sizeof ramp; p.Duration = 5000000; }
        else { p.TypeSpecific = &periodic; p.TypeSpecificSize = sizeof periodic; }
        const uint32_t h = store.Insert(ff::MakeEffectRecord(kind, p, 0));
        store.Play(h, 0);
    }
}

double NanosecondsPerStep(uint32_t effects) {
    ff::EffectStore store;
    Fill(store, effects);
    SteppedClock clock;
    CountingSink sink;
    ff::CrtRandom random;
    std::atomic<uint32_t> repeats{0};
    ff::StepContext ctx{clock, random, sink, repeats};
    ff::VibrationSettings settings{170, 63, 0};
    ff::MotorState motors;

    const uint32_t steps = effects >= 4096 ? 2000 : (effects >= 256 ? 20000 : 200000);
    const auto begin = std::chrono::steady_clock::now();
    for (uint32_t i = 0; i < steps; ++i) {
        ff::RunPlaybackStep(store.Effects(), settings, 10000, motors, ctx);
        ++clock.now;
    }
    const auto end = std::chrono::steady_clock::now();
    if (sink.reports == 0) std::printf("# no reports were produced\n");
    return std::chrono::duration<double, std::nano>(end - begin).count() / steps;
}

}  // namespace

int main() {
    double at16 = 0;
    for (uint32_t n : {1u, 16u, 256u, 4096u}) {
        const double ns = NanosecondsPerStep(n);
        if (n == 16) at16 = ns;
        std::printf("step_cost_%u_effects %.0f ns\n", n, ns);
        std::printf("step_cost_per_effect_at_%u %.1f ns\n", n, ns / n);
    }
    std::printf("step_budget_share_16_effects %.3f %%\n", at16 / 1e6 * 100);
    return 0;
}
