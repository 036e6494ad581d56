#include "tests/wine/forcedriver/DriverUnderTest.h"

#include "hosts/dihost/SettingsRecord.h"

namespace fftest {

pad::JoySettingRecord AsAskedRecord() { return padhost::VibrationRecord(170, 170, 0); }

Rig::Rig() {
    host_ = padhost::PadHost::Open(DriverPath(), &error_);
    if (!host_) ADD_FAILURE() << "the staged driver did not load: " << error_;
}

Rig::~Rig() {
    // The driver goes first: its final Release writes to the pads.
    host_.reset();
    for (auto& pad : pads_) pad.reset();
}

simpad::SimPad* Rig::Bind(DWORD id, uint16_t productId, DWORD gain) {
    if (id >= 16 || !host_ || !host_->Driver()) {
        ADD_FAILURE() << "no driver to bind joystick id " << id << " with";
        return nullptr;
    }
    if (!pads_[id]) pads_[id] = std::make_unique<simpad::SimPad>();
    const HRESULT hr = host_->Bind(id, *pads_[id], productId);
    if (hr != S_OK) {
        ADD_FAILURE() << "DeviceID for joystick id " << id << " answered 0x" << std::hex << hr;
        return nullptr;
    }
    if (gain != 0) {
        EXPECT_EQ(Driver()->SetGain(id, gain), S_OK);
    }
    return pads_[id].get();
}

simpad::SimPad& Rig::Pad(DWORD id) { return *pads_[id]; }

DWORD Rig::Download(DWORD id, const padhost::BuiltEffect& effect, DWORD flags) {
    DWORD handle = 0;
    const HRESULT hr = host_->Download(id, effect, &handle, flags);
    EXPECT_EQ(hr, S_OK) << "DownloadEffect of a new effect on joystick id " << id;
    EXPECT_NE(handle, 0u) << "a new effect was given a handle";
    return handle;
}

DWORD Rig::Status(DWORD id, DWORD handle) {
    DWORD status = 0xDEADBEEF;
    EXPECT_EQ(Driver()->GetEffectStatus(id, handle, &status), S_OK);
    return status;
}

DWORD Rig::FeedbackState(DWORD id) {
    DIDEVICESTATE state{};
    state.dwSize = sizeof state;
    state.dwState = 0xDEADBEEF;
    EXPECT_EQ(Driver()->GetForceFeedbackState(id, &state), S_OK);
    return state.dwState;
}

}  // namespace fftest
