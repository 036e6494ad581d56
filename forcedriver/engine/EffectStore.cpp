#include "EffectStore.h"

namespace ff {

uint32_t EffectStore::Insert(std::unique_ptr<EffectRecord> record) {
    const uint32_t handle = effects_.FreeHandle();
    record->Handle = handle;
    effects_.Append(std::move(record));
    return handle;
}

bool EffectStore::Modify(uint32_t effectId, uint32_t handle, const EffectParams& p, uint32_t flags,
                         uint32_t now) {
    EffectRecord* r = effects_.Find(handle);
    if (!r) return false;
    r->EffectId = effectId;
    if (flags & kParamDuration) r->Duration = p.Duration == kInfinite ? kInfinite : p.Duration / 1000;
    if (flags & kParamSamplePeriod) r->SamplePeriod = p.SamplePeriod;
    if (flags & kParamGain) r->Gain = p.Gain;
    const uint32_t axisCount = p.AxisCount < kMaxAxes ? p.AxisCount : kMaxAxes;
    if (flags & kParamAxes) {
        r->AxisCount = axisCount;
        for (uint32_t i = 0; i < axisCount; ++i) r->Axes[i] = p.Axes[i];
    }
    if (flags & kParamDirection) {
        r->AxisCount = axisCount;
        for (uint32_t i = 0; i < axisCount; ++i) r->Directions[i] = p.Directions[i];
    }
    if ((flags & kParamEnvelope) && p.Envelope) r->Envelope = *p.Envelope;
    if (flags & kParamTypeSpecific) {
        if (!ReplaceParameters(*r, p.TypeSpecific, p.TypeSpecificSize)) {
            effects_.Unlink(r);  // a record without its parameters is not kept
            return false;
        }
    }
    if (flags & kParamStartDelay) r->StartDelay = p.StartDelay / 1000;
    if ((flags & kParamStart) && r->State != PlayState::Stopped) r->StartTick = r->PauseTick = now;
    return true;
}

void EffectStore::Play(uint32_t handle, uint32_t now) {
    EffectRecord* r = effects_.Find(handle);
    if (!r || r->State == PlayState::Playing) return;
    r->State = PlayState::Playing;
    r->StartTick = r->PauseTick = now;
}

void EffectStore::Halt(uint32_t handle) {
    EffectRecord* r = effects_.Find(handle);
    if (!r || r->State == PlayState::Stopped) return;
    r->State = PlayState::Stopped;
    r->StartTick = r->PauseTick = 0;
}

PlayState EffectStore::State(uint32_t handle) const {
    const EffectRecord* r = effects_.Find(handle);
    return r ? r->State : PlayState::Stopped;
}

void EffectStore::HaltAll() {
    effects_.ForEach([](EffectRecord& r) {
        if (r.State == PlayState::Stopped) return;
        r.State = PlayState::Stopped;
        r.StartTick = r.PauseTick = 0;
    });
}

void EffectStore::PauseAll(uint32_t now) {
    effects_.ForEach([now](EffectRecord& r) {
        if (r.State != PlayState::Playing) return;
        r.State = PlayState::Paused;
        r.PauseTick = now;
    });
}

void EffectStore::ContinueAll(uint32_t now) {
    effects_.ForEach([now](EffectRecord& r) {
        if (r.State != PlayState::Paused) return;
        r.State = PlayState::Playing;
        r.StartTick = r.PauseTick = now + r.StartTick - r.PauseTick;  // wraps like the tick
    });
}

}  // namespace ff
