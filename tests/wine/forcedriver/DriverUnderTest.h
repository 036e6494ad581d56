// The staged driver as the tests drive it: its path, a host with pads bound
// the way DirectInput binds them, and the effect calls the tests repeat.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <dinput.h>
#include <dinputd.h>

#include <memory>
#include <string>
#include <vector>

#include "common/JoySettingRecord.h"
#include "hosts/dihost/BuiltEffect.h"
#include "hosts/dihost/EffectShape.h"
#include "hosts/dihost/PadHost.h"
#include "hosts/dihost/SettingsKey.h"
#include "tools/simpad/SimPad.h"

namespace fftest {

// The staged padforce.dll, as a Wine path (--driver=PATH on the command line).
const std::string& DriverPath();

// Product ids the tests bind; the settings key is named by the low byte.
inline constexpr uint16_t kModel47 = 0xA02F;
inline constexpr uint16_t kModel22 = 0xA016;

// Strength 170 gives the motor shares as the effect asks (factor 5/5), and
// TimeCycle 170 plays periods as given: the levels in the tests are then
// the levels of the effects themselves.
pad::JoySettingRecord AsAskedRecord();

// A host with the driver created, and pads bound to joystick ids on demand.
class Rig {
public:
    // Fails the current test (ASSERT in the caller via Ok()) when the driver
    // cannot be loaded.
    Rig();
    ~Rig();
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    bool Ok() const { return host_ != nullptr; }
    const std::string& Error() const { return error_; }
    padhost::PadHost& Host() { return *host_; }
    IDirectInputEffectDriver* Driver() { return host_->Driver(); }

    // A pad of its own bound to id, with the device gain at full unless told
    // otherwise. Returns null (and records a failure) if DeviceID fails.
    simpad::SimPad* Bind(DWORD id, uint16_t productId = kModel47, DWORD gain = 10000);
    simpad::SimPad& Pad(DWORD id);

    // DownloadEffect as a new effect; the handle, or 0 with a failure recorded.
    DWORD Download(DWORD id, const padhost::BuiltEffect& effect, DWORD flags = DIEP_ALLPARAMS | DIEP_START);
    DWORD Status(DWORD id, DWORD handle);
    DWORD FeedbackState(DWORD id);

    // The final Release; the host holds nothing after it.
    ULONG Release() { return host_->Release(); }

private:
    std::string error_;
    std::unique_ptr<padhost::PadHost> host_;
    std::unique_ptr<simpad::SimPad> pads_[16];
};

// A fixture with the settings record as asked, the driver made, and pad 0
// bound, quiet and cleared; the driver's final Release ends each test.
class BoundPadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(settings_.Written());
        ASSERT_TRUE(rig_.Ok());
        pad_ = rig_.Bind(0);
        ASSERT_TRUE(pad_);
        ASSERT_TRUE(pad_->WaitForQuiet(100, 2000));
        pad_->Clear();
    }
    void TearDown() override {
        if (rig_.Ok()) {
            EXPECT_EQ(rig_.Release(), 0u);
        }
    }

    padhost::ScopedSettings settings_{kModel47, AsAskedRecord()};
    Rig rig_;
    simpad::SimPad* pad_ = nullptr;
};

// Polls until pred() holds or timeoutMs passes; true if it held.
template <class Pred>
bool WaitUntil(Pred pred, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (::GetTickCount() - start >= timeoutMs) return pred();
        ::Sleep(2);
    }
}

}  // namespace fftest
