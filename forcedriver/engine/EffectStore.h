// The effect bookkeeping of one device: handles and play states. The caller
// holds the device lock around every call and passes the current tick.
#pragma once

#include <cstdint>

#include "EffectRecord.h"

namespace ff {

class EffectStore {
public:
    EffectList& Effects() { return effects_; }
    const EffectList& Effects() const { return effects_; }

    // Puts a new record in the ring under the smallest free handle; returns it.
    uint32_t Insert(std::unique_ptr<EffectRecord> record);

    // Applies the DIEP flags of an update. False when the handle is unknown or
    // the new parameter block could not be allocated; in that case the record
    // is gone.
    bool Modify(uint32_t effectId, uint32_t handle, const EffectParams& params, uint32_t flags,
                uint32_t now);

    void Remove(uint32_t handle) { effects_.RemoveHandle(handle); }
    void Play(uint32_t handle, uint32_t now);
    void Halt(uint32_t handle);
    PlayState State(uint32_t handle) const;

    void HaltAll();
    void PauseAll(uint32_t now);
    void ContinueAll(uint32_t now);
    void Clear() { effects_.Clear(); }

private:
    EffectList effects_;
};

}  // namespace ff
