// The user's vibration settings as the driver takes them from the registry
// when a device is bound, and the log hook that must leave no trace.
#include "common/win/SettingsView.h"
#include "tests/wine/padforce/DriverTestSupport.h"

#include <cstring>
#include <vector>

#include "hosts/dihost/JoystickCaps.h"
#include "hosts/dihost/SettingsKey.h"
#include "hosts/dihost/SettingsRecord.h"

namespace fftests {
namespace {

using padhost::EffectShape;
using padhost::kInfinite;

// The first report of a full constant force on motor 1, for a pad bound with `productId`.
std::string FullForceReport(uint16_t productId = pad::kProductId, bool answerCaps = true) {
    simpad::SimPad pad;
    std::string error;
    auto host = padhost::PadHost::Open(DriverPath(), &error);
    if (!host) return "no driver: " + error;
    HRESULT hr;
    if (answerCaps) {
        hr = host->Bind(0, pad, productId);
    } else {
        padhost::RemoveJoystick(0);  // the joystick query finds nothing
        std::wstring path = pad.WidePath();
        DIHIDFFINITINFO init{sizeof init, const_cast<LPWSTR>(path.c_str()), {}};
        hr = host->Driver()->DeviceID(0x0700, 0, TRUE, 0, &init);
    }
    if (hr != S_OK) return "binding failed";
    host->Driver()->SetGain(0, 10000);
    pad.WaitForQuiet(150, 5000);
    pad.Clear();
    padhost::BuiltEffect e(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    DWORD h = 0;
    host->Download(0, e, &h);
    if (!pad.WaitForReports(1, 3000)) return "no report";
    return Bytes(pad.Reports()[0]);
}

TEST(SettingsIntake, TheRecordIsReadFromTheKeyOfTheModelNumber) {
    padhost::RemoveSettings(0xA02F);
    StoredSettings own(0xA02F, padhost::VibrationRecord(85, 170, 0));  // key ...\47
    StoredSettings other(0xA016, padhost::VibrationRecord(170, 170, 0));  // key ...\22
    EXPECT_EQ(FullForceReport(0xA02F), Bytes(Value(6000), 0)) << "product 0xA02F reads key 47: strength 3/5";
    EXPECT_EQ(FullForceReport(0xA016), "00 1F 00 00") << "product 0xA016 reads key 22";
}

TEST(SettingsIntake, TheRecordIsReadOnceAtBinding) {
    padhost::RemoveSettings(0xA02F);
    simpad::SimPad pad;
    std::string error;
    auto host = padhost::PadHost::Open(DriverPath(), &error);
    ASSERT_TRUE(host) << error;
    {
        StoredSettings before(0xA02F, padhost::VibrationRecord(170, 170, 0));
        ASSERT_EQ(host->Bind(0, pad), S_OK);
    }
    StoredSettings after(0xA02F, padhost::VibrationRecord(0, 170, 0));
    host->Driver()->SetGain(0, 10000);
    pad.WaitForQuiet(150, 5000);
    pad.Clear();
    padhost::BuiltEffect e(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    DWORD h = 0;
    host->Download(0, e, &h);
    ASSERT_TRUE(pad.WaitForReports(1, 3000));
    EXPECT_EQ(Bytes(pad.Reports()[0]), "00 1F 00 00") << "a record changed after binding does not reach the device";
}

TEST(SettingsIntake, StoredValuesOfAnyLengthGiveTheBytesTheyHold) {
    const pad::JoySettingRecord strong = padhost::VibrationRecord(170, 170, 0);
    std::vector<uint8_t> bytes(4096, 0);
    std::memcpy(bytes.data(), &strong, sizeof strong);
    const struct {
        DWORD size;
        const char* expected;
        const char* why;
    } cases[] = {
        {0, "00 0C 00 00", "an empty value leaves the record zero"},
        {40, "00 0C 00 00", "40 bytes end before MotorPower"},
        {104, "00 1F 00 00", "104 bytes reach MotorPower"},
        {112, "00 1F 00 00", "the whole record"},
        {113, "00 1F 00 00", "a longer value gives its first 112 bytes"},
        {4096, "00 1F 00 00", "a much longer value gives its first 112 bytes"},
    };
    for (const auto& c : cases) {
        StoredSettings stored(0xA02F, bytes.data(), c.size);
        EXPECT_EQ(FullForceReport(), c.expected) << c.size << " bytes: " << c.why;
    }
    StoredSettings typed(0xA02F, bytes.data(), 112, REG_SZ);
    EXPECT_EQ(FullForceReport(), "00 1F 00 00") << "the value's type is not examined";
}

TEST(SettingsIntake, NoAnswerFromTheJoystickQueryGivesTheAllZeroRecord) {
    StoredSettings stored(0xA02F, padhost::VibrationRecord(170, 170, 0));
    EXPECT_EQ(FullForceReport(pad::kProductId, false), "00 0C 00 00");
}

TEST(SettingsIntake, AKeyThatDeniesWritingStillGivesItsRecord) {
    StoredSettings stored(0xA02F, padhost::VibrationRecord(170, 170, 0));
    // Read access only, as a game without administrator rights has it.
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\ZevEreRaverav\\47", 0, WRITE_DAC | KEY_READ | pad::kSettingsView, &key),
              ERROR_SUCCESS);
    SECURITY_DESCRIPTOR sd;
    ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    // An ACL that grants reading to everyone and nothing else.
    BYTE aclBytes[256];
    auto* acl = reinterpret_cast<PACL>(aclBytes);
    ::InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    ::AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
    ::SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    const LONG set = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
    ::RegCloseKey(key);
    if (set != ERROR_SUCCESS) GTEST_SKIP() << "this Wine cannot restrict a key's security (" << set << ")";
    EXPECT_EQ(FullForceReport(), "00 1F 00 00");
    // Give the key back its rights so it can be removed.
    SECURITY_DESCRIPTOR open;
    ::InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
    ::SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\ZevEreRaverav\\47", 0, WRITE_DAC | pad::kSettingsView, &key) == ERROR_SUCCESS) {
        ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &open);
        ::RegCloseKey(key);
    }
    ::FreeSid(everyone);
}

TEST(DiagnosticLog, LoadingPlayingAndUnloadingTheDriverCreatesNoFileOrFolder) {
    {
        BoundDriver d;
        d.Start(EffectShape::Constant(10000, 50000).WithPolar(0));
        ::Sleep(100);
        d.Driver()->SendForceFeedbackCommand(0, DISFFC_RESET);
    }
    EXPECT_EQ(::GetModuleHandleA("padforce.dll"), nullptr) << "the driver was unloaded";
    EXPECT_EQ(::GetFileAttributesA("c:\\FF"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesA("c:\\FF\\Log"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesA("c:\\FF\\Log\\Err"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace fftests
