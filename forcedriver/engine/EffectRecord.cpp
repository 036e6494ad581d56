#include "EffectRecord.h"

#include <new>

namespace ff {

namespace {

uint32_t MillisecondsOf(uint32_t microseconds) {
    return microseconds == kInfinite ? kInfinite : microseconds / 1000;
}

}  // namespace

bool ReplaceParameters(EffectRecord& record, const void* data, uint32_t size) {
    record.Parameters.reset();
    record.ParameterSize = size;
    if (size == 0 || data == nullptr) {
        record.ParameterSize = 0;
        return true;
    }
    record.Parameters.reset(new (std::nothrow) uint8_t[size]);
    if (!record.Parameters) {
        record.ParameterSize = 0;
        return false;
    }
    std::memcpy(record.Parameters.get(), data, size);
    return true;
}

std::unique_ptr<EffectRecord> MakeEffectRecord(uint32_t effectId, const EffectParams& params,
                                               uint32_t downloadFlags) {
    std::unique_ptr<EffectRecord> r(new (std::nothrow) EffectRecord());
    if (!r) return nullptr;
    r->EffectId = effectId;
    r->AxisCount = params.AxisCount < kMaxAxes ? params.AxisCount : kMaxAxes;
    for (uint32_t i = 0; i < r->AxisCount; ++i) {
        r->Axes[i] = params.Axes[i];
        r->Directions[i] = params.Directions[i];
    }
    r->Duration = MillisecondsOf(params.Duration);
    r->CoordinateFlags = params.Flags;
    r->Gain = params.Gain;
    r->SamplePeriod = params.SamplePeriod;
    r->StartDelay = params.StartDelay / 1000;
    if (!ReplaceParameters(*r, params.TypeSpecific, params.TypeSpecificSize)) return nullptr;
    r->DownloadFlags = downloadFlags;
    if (params.Envelope) r->Envelope = *params.Envelope;
    return r;
}

void EffectList::Append(std::unique_ptr<EffectRecord> record) {
    EffectRecord* r = record.release();
    if (!head_) {
        r->Previous = r->Next = r;
        head_ = r;
    } else {
        EffectRecord* tail = head_->Previous;
        r->Previous = tail;
        r->Next = head_;
        tail->Next = r;
        head_->Previous = r;
    }
    ++count_;
}

std::unique_ptr<EffectRecord> EffectList::Unlink(EffectRecord* r) {
    if (count_ == 1) {
        head_ = nullptr;
    } else {
        r->Previous->Next = r->Next;
        r->Next->Previous = r->Previous;
        if (head_ == r) head_ = r->Next;
    }
    --count_;
    r->Previous = r->Next = nullptr;
    return std::unique_ptr<EffectRecord>(r);
}

void EffectList::Clear() {
    while (head_) Unlink(head_);
}

void EffectList::RemoveHandle(uint32_t handle) {
    EffectRecord* r = head_;
    for (uint32_t i = 0, n = count_; i < n; ++i) {
        EffectRecord* next = r->Next;
        if (r->Handle == handle) Unlink(r);
        r = next;
    }
}

EffectRecord* EffectList::Find(uint32_t handle) const {
    EffectRecord* r = head_;
    for (uint32_t i = 0; i < count_; ++i, r = r->Next)
        if (r->Handle == handle) return r;
    return nullptr;
}

uint32_t EffectList::FreeHandle() const {
    // The answer lies in 1..count+1; mark what is taken there.
    const uint32_t limit = count_ + 1;
    std::unique_ptr<bool[]> taken(new (std::nothrow) bool[limit + 1]());
    if (taken) {
        ForEach([&](const EffectRecord& r) {
            if (r.Handle <= limit) taken[r.Handle] = true;
        });
        for (uint32_t h = 1; h <= limit; ++h)
            if (!taken[h]) return h;
    }
    // Without memory for the marks: try candidates one by one.
    uint32_t candidate = 1;
    while (Find(candidate)) ++candidate;
    return candidate;
}

}  // namespace ff
