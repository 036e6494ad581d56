// The host shows the driver its joysticks by patching the driver's import of
// joyGetDevCapsA; nothing in the driver knows.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "hosts/dihost/DriverModule.h"
#include "hosts/dihost/JoystickCaps.h"
#include "hosts/dihost/PadHost.h"
#include "hosts/dihost/SettingsKey.h"
#include "hosts/dihost/SettingsRecord.h"
#include "tests/wine/hosttools/DriverPath.h"

using namespace padhost;

namespace {

using JoyCapsFn = MMRESULT(WINAPI*)(UINT_PTR, LPJOYCAPSA, UINT);

// What the driver calls: whatever its import slot holds.
MMRESULT CallThroughSlot(const ImportPatch& patch, UINT id, JOYCAPSA& caps) {
    const auto fn = reinterpret_cast<JoyCapsFn>(reinterpret_cast<void (*)()>(patch.Current()));
    return fn(id, &caps, sizeof caps);
}

class ImportPatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        module_ = DriverModule::Load(hosttools::DriverPath(), &error);
        ASSERT_TRUE(module_) << error;
        ClearJoysticks();
    }
    void TearDown() override { ClearJoysticks(); }

    std::unique_ptr<DriverModule> module_;
};

}  // namespace

TEST_F(ImportPatchTest, TheDriversJoystickQueryAnswersFromTheTableAndOtherIdsAreUnplugged) {
    ImportPatch patch;
    std::string error;
    ASSERT_TRUE(PatchJoystickCaps(patch, module_->Handle(), &error)) << error;
    EXPECT_EQ(patch.Current(), reinterpret_cast<void*>(&HostJoyGetDevCapsA));
    EXPECT_NE(patch.Original(), patch.Current());

    SetJoystick(0, 0xA02F);
    SetJoystick(3, 0xA016);
    JOYCAPSA caps{};
    ASSERT_EQ(CallThroughSlot(patch, 0, caps), static_cast<MMRESULT>(JOYERR_NOERROR));
    EXPECT_EQ(caps.wPid, 0xA02F);
    EXPECT_EQ(caps.wMid, 0x7A3C);
    EXPECT_EQ(caps.wNumButtons, 12u);
    ASSERT_EQ(CallThroughSlot(patch, 3, caps), static_cast<MMRESULT>(JOYERR_NOERROR));
    EXPECT_EQ(caps.wPid, 0xA016);
    for (UINT id : {1u, 2u, 15u, 16u, 0xFFFFu}) {
        EXPECT_EQ(CallThroughSlot(patch, id, caps), static_cast<MMRESULT>(JOYERR_UNPLUGGED)) << "joystick id " << id;
    }
    RemoveJoystick(3);
    EXPECT_EQ(CallThroughSlot(patch, 3, caps), static_cast<MMRESULT>(JOYERR_UNPLUGGED)) << "a removed id is unplugged";

    JOYCAPSA small{};
    const auto fn = reinterpret_cast<JoyCapsFn>(reinterpret_cast<void (*)()>(patch.Current()));
    EXPECT_EQ(fn(0, &small, sizeof small - 1), static_cast<MMRESULT>(MMSYSERR_INVALPARAM))
        << "a structure too small for the answer is refused";

    void* original = patch.Original();
    patch.Restore();
    EXPECT_FALSE(patch.Applied());
    ASSERT_TRUE(PatchJoystickCaps(patch, module_->Handle(), &error)) << error;
    EXPECT_EQ(patch.Original(), original) << "restoring puts winmm's address back";
}

TEST_F(ImportPatchTest, TwoHostsPatchingOneSlotLeaveItPatchedUntilTheLastLetsGo) {
    std::string error;
    auto first = std::make_unique<ImportPatch>();
    auto second = std::make_unique<ImportPatch>();
    ASSERT_TRUE(PatchJoystickCaps(*first, module_->Handle(), &error)) << error;
    const void* winmm = first->Original();
    ASSERT_TRUE(PatchJoystickCaps(*second, module_->Handle(), &error)) << error;
    EXPECT_EQ(second->Original(), winmm) << "the second patch knows the true original";
    first.reset();
    EXPECT_EQ(second->Current(), reinterpret_cast<void*>(&HostJoyGetDevCapsA)) << "still patched for the second";
    ImportPatch other;
    EXPECT_FALSE(other.Apply(module_->Handle(), "winmm.dll", "joyGetDevCapsA", reinterpret_cast<void*>(&CallThroughSlot),
                             &error))
        << "a slot held for one function is not taken for another";
    second.reset();
    ImportPatch again;
    ASSERT_TRUE(PatchJoystickCaps(again, module_->Handle(), &error)) << error;
    EXPECT_EQ(again.Original(), winmm) << "the last one put winmm's address back";
}

TEST_F(ImportPatchTest, AnImportTheModuleDoesNotHaveFailsAndSaysWhy) {
    ImportPatch patch;
    std::string error;
    EXPECT_FALSE(patch.Apply(module_->Handle(), "winmm.dll", "joyGetPosEx", reinterpret_cast<void*>(&HostJoyGetDevCapsA),
                             &error));
    EXPECT_NE(error.find("not joyGetPosEx"), std::string::npos) << error;
    EXPECT_FALSE(patch.Applied());

    EXPECT_FALSE(patch.Apply(module_->Handle(), "dinput.dll", "DirectInputCreateA",
                             reinterpret_cast<void*>(&HostJoyGetDevCapsA), &error));
    EXPECT_NE(error.find("does not import from dinput.dll"), std::string::npos) << error;

    EXPECT_TRUE(patch.Apply(module_->Handle(), "WINMM.DLL", "joyGetDevCapsA",
                            reinterpret_cast<void*>(&HostJoyGetDevCapsA), &error))
        << "the module's name compares without case: " << error;
}

TEST_F(ImportPatchTest, BindingAsksTheTableAndTheDriverReadsTheKeyOfThatProduct) {
    // Model 47 asks for full strength; model 48 has no key, so its factor is 1/5.
    ScopedSettings strong(0xA02F, VibrationRecord(255, 170, 0));
    ASSERT_TRUE(strong.Written());
    RemoveSettings(0xA030);

    std::string error;
    std::unique_ptr<PadHost> host = PadHost::Open(hosttools::DriverPath(), &error);
    ASSERT_TRUE(host) << error;
    simpad::SimPad full, weak;
    const unsigned before = JoystickQueries();
    ASSERT_EQ(host->Bind(0, full, 0xA02F), S_OK);
    ASSERT_EQ(host->Bind(1, weak, 0xA030), S_OK);
    EXPECT_GE(JoystickQueries(), before + 2) << "each binding asked the host's table";
    ASSERT_EQ(host->Driver()->SetGain(0, 10000), S_OK);
    ASSERT_EQ(host->Driver()->SetGain(1, 10000), S_OK);

    BuiltEffect force(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    DWORD h0 = 0, h1 = 0;
    ASSERT_EQ(host->Download(0, force, &h0), S_OK);
    ASSERT_EQ(host->Download(1, force, &h1), S_OK);

    const auto firstDriven = [](const simpad::SimPad& pad) -> int {
        for (DWORD waited = 0; waited < 5000; waited += 10) {
            for (const simpad::PadReport& r : pad.Reports())
                if (r.Motor1() != 0) return r.Motor1();
            ::Sleep(10);
        }
        return -1;
    };
    EXPECT_EQ(firstDriven(full), 0x1F) << "model 47's record (strength 255) reached the driver";
    EXPECT_EQ(firstDriven(weak), 0x0C) << "model 48 has no record: 2000 of 10000";
    EXPECT_EQ(host->Release(), 0u);
}

TEST(PadHostLifetime, ReleasingTheDriverLetsTheModuleUnloadAndEmptiesTheTable) {
    std::string error;
    std::unique_ptr<PadHost> host = PadHost::Open(hosttools::DriverPath(), &error);
    ASSERT_TRUE(host) << error;
    simpad::SimPad pad;
    ASSERT_EQ(host->Bind(2, pad), S_OK);
    ASSERT_TRUE(pad.WaitForReports(1, 5000)) << "binding sends the all-off report";
    EXPECT_TRUE(pad.Reports()[0].IsAllOff());

    JOYCAPSA caps{};
    EXPECT_EQ(HostJoyGetDevCapsA(2, &caps, sizeof caps), static_cast<MMRESULT>(JOYERR_NOERROR));
    EXPECT_EQ(host->Release(), 0u);
    EXPECT_EQ(host->Driver(), nullptr);
    EXPECT_EQ(host->Module().CanUnloadNow(), S_OK);
    host.reset();
    EXPECT_EQ(HostJoyGetDevCapsA(2, &caps, sizeof caps), static_cast<MMRESULT>(JOYERR_UNPLUGGED))
        << "the host takes the ids it bound out of the table";

    EXPECT_FALSE(PadHost::Open("Z:\\nowhere\\padforce.dll", &error));
    EXPECT_NE(error.find("cannot load"), std::string::npos) << error;
}
