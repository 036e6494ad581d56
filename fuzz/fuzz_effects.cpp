// Effect parameters as a game could pass them through the effect store and
// the playback step on a simulated clock: downloads, updates, starts, stops,
// pauses and destroys interleaved with steps, as the input orders them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <vector>

#include "common/MotorReport.h"
#include "forcedriver/engine/EffectStore.h"
#include "forcedriver/engine/Playback.h"

using namespace ff;

namespace {

constexpr uint32_t kMostEffects = 64;  // a game's worth; the store has no limit of its own

struct Clock final : TickSource {
    uint32_t Now() override { return now; }
    uint32_t now = 0;
};

// Levels on DirectInput's scale, whose report bytes turn a motor (8..31) or stop it (0).
struct Sink final : MotorSink {
    void WriteMotorLevels(int32_t level1, int32_t level2) override {
        if (level1 < -kFullLevel || level1 > kFullLevel || level2 < -kFullLevel || level2 > kFullLevel) std::abort();
        const pad::MotorReport report = pad::MakeMotorReport(level1, level2);
        for (uint8_t motor : {report.Motor1, report.Motor2})
            if (motor != 0 && (motor < 8 || motor > 31)) std::abort();
        if (report.ReportId != 0 || report.Reserved != 0) std::abort();
    }
};

// What a game's call carries, with the blocks it points at.
struct Call {
    EffectParams params;
    EnvelopeBlock envelope{};
    std::vector<uint8_t> block;
};

void ReadCall(FuzzedDataProvider& in, Call& call) {
    EffectParams& p = call.params;
    p.Flags = in.PickValueInArray({kCoordCartesian, kCoordPolar, 0u, in.ConsumeIntegral<uint32_t>()});
    p.Duration = in.ConsumeBool() ? kInfinite : in.ConsumeIntegral<uint32_t>();
    p.SamplePeriod = in.ConsumeIntegral<uint32_t>();
    p.Gain = in.ConsumeBool() ? kFullLevel : in.ConsumeIntegral<uint32_t>();
    p.AxisCount = in.ConsumeIntegralInRange<uint32_t>(0, kMaxAxes);
    for (uint32_t i = 0; i < kMaxAxes; ++i) {
        p.Axes[i] = in.ConsumeIntegral<uint32_t>();
        p.Directions[i] = in.ConsumeIntegral<int32_t>();
    }
    if (in.ConsumeBool()) {
        call.envelope = {sizeof(EnvelopeBlock), in.ConsumeIntegral<uint32_t>(), in.ConsumeIntegral<uint32_t>(),
                         in.ConsumeIntegral<uint32_t>(), in.ConsumeIntegral<uint32_t>()};
        p.Envelope = &call.envelope;
    }
    p.StartDelay = in.ConsumeIntegral<uint32_t>();
    // Any size the game names, its block that long.
    const size_t size = in.ConsumeBool() ? in.ConsumeIntegralInRange<size_t>(0, 24) : in.ConsumeIntegralInRange<size_t>(0, 4096);
    call.block = in.ConsumeBytes<uint8_t>(size);
    call.block.resize(size);
    p.TypeSpecificSize = static_cast<uint32_t>(size);
    p.TypeSpecific = size ? call.block.data() : nullptr;
}

uint32_t ReadKind(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 13) : in.ConsumeIntegral<uint32_t>();
}

// The ring holds as many records as it counts, linked both ways.
void CheckRing(const EffectList& list) {
    const EffectRecord* r = list.Head();
    if ((r == nullptr) != (list.Count() == 0)) std::abort();
    for (uint32_t i = 0; i < list.Count(); ++i, r = r->Next)
        if (r->Next->Previous != r) std::abort();
    if (r != list.Head()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    EffectStore store;
    Clock clock;
    clock.now = in.ConsumeIntegral<uint32_t>();  // the tick count wraps anywhere
    CrtRandom random;
    Sink sink;
    std::atomic<uint32_t> zeroRepeats{0};
    StepContext context{clock, random, sink, zeroRepeats};
    MotorState motors;
    VibrationSettings settings;
    settings.TimeCycle = in.ConsumeIntegral<uint32_t>();
    settings.MotorPower = in.ConsumeIntegral<int32_t>();
    settings.AutoMode = in.ConsumeBool() ? 0 : in.ConsumeIntegral<uint32_t>();
    uint32_t deviceGain = kFullLevel;

    for (int op = 0; op < 4096 && in.remaining_bytes() > 0; ++op) {
        const uint32_t handle = in.ConsumeIntegralInRange<uint32_t>(0, store.Effects().Count() + 1);
        switch (in.ConsumeIntegralInRange(0, 10)) {
        case 0: {
            if (store.Effects().Count() >= kMostEffects) break;
            Call call;
            const uint32_t kind = ReadKind(in);
            ReadCall(in, call);
            std::unique_ptr<EffectRecord> record = MakeEffectRecord(kind, call.params, in.ConsumeIntegral<uint32_t>());
            if (!record) std::abort();
            const uint32_t stored = store.Insert(std::move(record));
            if (!store.Effects().Find(stored)) std::abort();
            break;
        }
        case 1: {
            Call call;
            const uint32_t kind = ReadKind(in);
            ReadCall(in, call);
            store.Modify(kind, handle, call.params, in.ConsumeIntegral<uint32_t>(), clock.now);
            break;
        }
        case 2:
            store.Play(handle, clock.now);
            if (store.Effects().Find(handle) && store.State(handle) != PlayState::Playing) std::abort();
            break;
        case 3:
            store.Halt(handle);
            if (store.State(handle) != PlayState::Stopped) std::abort();
            break;
        case 4:
            store.Remove(handle);
            if (store.Effects().Find(handle)) std::abort();
            break;
        case 5: store.PauseAll(clock.now); break;
        case 6: store.ContinueAll(clock.now); break;
        case 7: store.HaltAll(); break;
        case 8: deviceGain = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, kFullLevel) : in.ConsumeIntegral<uint32_t>(); break;
        case 9: store.State(handle); break;
        default: {
            // Steps of one to a few milliseconds, now and then a long gap.
            const int steps = in.ConsumeIntegralInRange(1, 64);
            const uint32_t gap = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(1, 20) : in.ConsumeIntegral<uint32_t>();
            for (int s = 0; s < steps; ++s) {
                clock.now += gap;
                RunPlaybackStep(store.Effects(), settings, deviceGain, motors, context);
            }
            break;
        }
        }
        CheckRing(store.Effects());
    }
    store.Clear();
    return 0;
}
