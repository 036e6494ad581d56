// The object behind one bound joystick: its HID path, gain, the user's
// vibration settings and its downloaded effects, played by its own thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "WorkerThread.h"
#include "common/JoySettingRecord.h"
#include "forcedriver/engine/EffectStore.h"
#include "forcedriver/engine/Playback.h"

namespace padforce {

inline constexpr size_t kDevicePathSize = 260;

// Result of an update, so that a lost record is never reported as success.
enum class StoreResult { Stored, UnknownHandle, OutOfMemory, NotBound };

class FfDevice final : public WorkerThread, private ff::TickSource, private ff::MotorSink {
public:
    FfDevice(UINT joystickId, DiagLog* errorLog, DiagLog* moduleLog, std::atomic<uint32_t>& zeroRepeatCount);
    ~FfDevice() override;

    // Binding, done once by DeviceID before the thread starts.
    void SetDevicePath(const char* path);
    void MarkBound() { bound_.store(true); }
    bool IsBound() const { return bound_.load(); }

    UINT JoystickId() const { return joystickId_; }
    uint32_t ProductId() const { return productId_; }
    const pad::JoySettingRecord& Settings() const { return settings_; }
    void SetGain(uint32_t gain) { gain_.store(gain > 10000 ? 10000 : gain); }
    uint32_t Gain() const { return gain_.load(); }
    ff::PlaybackSummary Summary() const { return summary_.load(); }

    StoreResult AddEffect(uint32_t effectId, DWORD* handleOut, const ff::EffectParams& params, uint32_t flags);
    StoreResult ModifyEffect(uint32_t effectId, uint32_t handle, const ff::EffectParams& params, uint32_t flags);
    bool RemoveEffect(uint32_t handle);
    bool PlayEffect(uint32_t handle);
    bool HaltEffect(uint32_t handle);
    ff::PlayState QueryEffectState(uint32_t handle);
    bool HaltAll();
    bool PauseAll();
    bool ContinueAll();
    bool ResetAll();

    void WriteMotorLevels(int32_t level1, int32_t level2) override;

    bool CanPause() const override { return false; }
    bool Step() override;
    bool Flush() override;

private:
    // The all-off report of stop-all, pause and reset; the caller holds the lock.
    void SendAllOffLocked();
    uint32_t Now() override { return ::GetTickCount(); }

    char devicePath_[kDevicePathSize] = {};
    UINT joystickId_;
    uint32_t productId_ = 0;
    std::atomic<bool> bound_{false};
    ff::MotorState motors_;
    std::atomic<uint32_t> gain_{0};  // no motor runs before DirectInput sets a gain
    ff::EffectStore effects_;
    std::atomic<ff::PlaybackSummary> summary_{ff::PlaybackSummary::Idle};
    pad::JoySettingRecord settings_{};
    ff::VibrationSettings vibration_;
    ff::CrtRandom random_;
    std::atomic<uint32_t>& zeroRepeatCount_;
};

}  // namespace padforce
