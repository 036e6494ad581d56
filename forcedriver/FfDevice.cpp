#include "FfDevice.h"

#include <cstring>

#include "MotorOutput.h"
#include "SettingsIntake.h"

namespace padforce {

using Guard = win::ScopedLock<WorkerThread>;

FfDevice::FfDevice(UINT joystickId, DiagLog* errorLog, DiagLog* moduleLog,
                   std::atomic<uint32_t>& zeroRepeatCount)
    : WorkerThread(errorLog, moduleLog), joystickId_(joystickId), zeroRepeatCount_(zeroRepeatCount) {
    const DeviceSettings loaded = LoadSettings(joystickId);
    productId_ = loaded.ProductId;
    settings_ = loaded.Record;
    vibration_ = ff::VibrationFrom(settings_);
}

FfDevice::~FfDevice() {
    Join();  // no playback step runs from here on
    {
        Guard guard(*this);
        effects_.Clear();
    }
    WriteMotorLevels(0, 0);  // the device's last report
}

void FfDevice::SetDevicePath(const char* path) {
    std::strncpy(devicePath_, path, kDevicePathSize - 1);
    devicePath_[kDevicePathSize - 1] = '\0';
}

void FfDevice::WriteMotorLevels(int32_t level1, int32_t level2) {
    WriteMotorReport(devicePath_, level1, level2);
}

StoreResult FfDevice::AddEffect(uint32_t effectId, DWORD* handleOut, const ff::EffectParams& params,
                                uint32_t flags) {
    if (!IsBound()) return StoreResult::NotBound;
    std::unique_ptr<ff::EffectRecord> record = ff::MakeEffectRecord(effectId, params, flags);
    if (!record) return StoreResult::OutOfMemory;
    Guard guard(*this);
    *handleOut = effects_.Insert(std::move(record));
    return StoreResult::Stored;
}

StoreResult FfDevice::ModifyEffect(uint32_t effectId, uint32_t handle, const ff::EffectParams& params,
                                   uint32_t flags) {
    if (!IsBound()) return StoreResult::NotBound;
    Guard guard(*this);
    if (!effects_.Effects().Find(handle)) return StoreResult::UnknownHandle;
    return effects_.Modify(effectId, handle, params, flags, Now()) ? StoreResult::Stored : StoreResult::OutOfMemory;
}

bool FfDevice::RemoveEffect(uint32_t handle) {
    if (!IsBound()) return false;
    Guard guard(*this);
    effects_.Remove(handle);
    return true;
}

bool FfDevice::PlayEffect(uint32_t handle) {
    if (!IsBound()) return false;
    Guard guard(*this);
    effects_.Play(handle, Now());
    return true;
}

bool FfDevice::HaltEffect(uint32_t handle) {
    if (!IsBound()) return false;
    Guard guard(*this);
    effects_.Halt(handle);
    return true;
}

ff::PlayState FfDevice::QueryEffectState(uint32_t handle) {
    if (!IsBound()) return ff::PlayState::Stopped;
    Guard guard(*this);
    return effects_.State(handle);
}

bool FfDevice::HaltAll() {
    if (!IsBound()) return false;
    Guard guard(*this);
    effects_.HaltAll();
    SendAllOffLocked();
    return true;
}

bool FfDevice::PauseAll() {
    if (!IsBound()) return false;
    Guard guard(*this);
    effects_.PauseAll(Now());
    SendAllOffLocked();
    return true;
}

bool FfDevice::ContinueAll() {
    if (!IsBound()) return false;
    Guard guard(*this);
    effects_.ContinueAll(Now());
    return true;
}

bool FfDevice::ResetAll() {
    if (!IsBound()) return false;
    Guard guard(*this);
    effects_.HaltAll();
    effects_.Clear();
    SendAllOffLocked();
    return true;
}

void FfDevice::SendAllOffLocked() {
    // Inside the lock, so that no step's report overtakes it; and the step
    // learns the motors are off, so that whatever plays next is reported
    // even at the levels it had before.
    motors_.Last1 = 0;
    motors_.Last2 = 0;
    zeroRepeatCount_.store(0);
    WriteMotorLevels(0, 0);
}

bool FfDevice::Step() {
    {
        Guard guard(*this);
        ff::StepContext context{*this, random_, *this, zeroRepeatCount_};
        const uint32_t gain = gain_.load();
        ff::RunPlaybackStep(effects_.Effects(), vibration_, gain, motors_, context);
        summary_.store(motors_.Summary);
    }
    ::Sleep(1);
    return true;
}

bool FfDevice::Flush() {
    ::Sleep(10);
    WriteMotorLevels(0, 0);
    return true;
}

}  // namespace padforce
