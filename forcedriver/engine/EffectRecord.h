// One downloaded effect and the ring of them that a device keeps.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "EffectTypes.h"

namespace ff {

struct EffectRecord {
    EffectRecord* Previous = nullptr;
    EffectRecord* Next = nullptr;
    uint32_t EffectId = 0;
    uint32_t CoordinateFlags = 0;
    uint32_t Duration = 0;        // milliseconds or kInfinite
    uint32_t SamplePeriod = 0;
    uint32_t Gain = 0;
    uint32_t AxisCount = 0;
    uint32_t Axes[kMaxAxes] = {};
    int32_t Directions[kMaxAxes] = {};
    EnvelopeBlock Envelope = {};
    uint32_t StartDelay = 0;      // milliseconds
    uint32_t ParameterSize = 0;
    std::unique_ptr<uint8_t[]> Parameters;
    uint32_t Handle = 0;
    uint32_t StartTick = 0;
    uint32_t PauseTick = 0;
    uint32_t DownloadFlags = 0;
    PlayState State = PlayState::Stopped;

    // The first payload record; false when the block is too short to hold one,
    // so a short block from a game is never read past its end.
    template <class Block>
    bool ReadPayload(Block& out) const {
        if (!Parameters || ParameterSize < sizeof(Block)) return false;
        std::memcpy(&out, Parameters.get(), sizeof(Block));
        return true;
    }
    template <class Block>
    void WritePayload(const Block& in) {
        if (Parameters && ParameterSize >= sizeof(Block)) std::memcpy(Parameters.get(), &in, sizeof(Block));
    }
};

// Builds a stopped record from a download; null when memory runs out.
std::unique_ptr<EffectRecord> MakeEffectRecord(uint32_t effectId, const EffectParams& params,
                                               uint32_t downloadFlags);

// Replaces the parameter block; false when the copy cannot be allocated
// (the record then has no block).
bool ReplaceParameters(EffectRecord& record, const void* data, uint32_t size);

// A ring of records linked both ways; it owns them. New records go after the
// tail. The order carries no meaning for playback.
class EffectList {
public:
    EffectList() = default;
    EffectList(const EffectList&) = delete;
    EffectList& operator=(const EffectList&) = delete;
    ~EffectList() { Clear(); }

    uint32_t Count() const { return count_; }
    EffectRecord* Head() const { return head_; }

    void Append(std::unique_ptr<EffectRecord> record);
    std::unique_ptr<EffectRecord> Unlink(EffectRecord* record);
    void Clear();

    EffectRecord* Find(uint32_t handle) const;
    // The smallest positive handle that no record carries.
    uint32_t FreeHandle() const;

    // One pass over every record; fn must not unlink.
    template <class Fn>
    void ForEach(Fn&& fn) const {
        EffectRecord* r = head_;
        for (uint32_t i = 0; i < count_; ++i, r = r->Next) fn(*r);
    }

    // Frees every record carrying this handle.
    void RemoveHandle(uint32_t handle);

private:
    EffectRecord* head_ = nullptr;
    uint32_t count_ = 0;
};

}  // namespace ff
