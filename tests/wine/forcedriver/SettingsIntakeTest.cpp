// The user's vibration settings as the driver takes them from the registry
// when a device is bound: which key, which bytes, and what happens when the
// joystick query or the value is not what the panel would leave.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/win/SettingsView.h"
#include "common/win/UniqueResource.h"
#include "hosts/dihost/JoystickCaps.h"
#include "hosts/dihost/SettingsKey.h"
#include "panel/SettingsStore.h"
#include "hosts/dihost/SettingsRecord.h"
#include "tests/wine/forcedriver/DriverUnderTest.h"
#include "tests/wine/forcedriver/PadWatch.h"

using namespace fftest;
using padhost::BuiltEffect;
using padhost::EffectShape;
using padhost::kInfinite;

namespace {

constexpr char kMakerKey[] = "ZevEreRaverav";

// A record under any key name below the maker's, for keys the driver must not read.
bool WriteRecordUnder(const std::string& model, const pad::JoySettingRecord& record) {
    win::UniqueHKey key;
    const std::string name = std::string("Software\\") + kMakerKey + "\\" + model;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | pad::kSettingsView, nullptr,
                          key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return ::RegSetValueExA(key.get(), "CurrentValue", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&record),
                            sizeof record) == ERROR_SUCCESS;
}

void DeleteModelKey(const std::string& model) {
    const win::UniqueHKey software = pad::OpenSoftwareKeyOfSettings();
    if (software) ::RegDeleteKeyA(software.get(), (std::string(kMakerKey) + (model.empty() ? "" : "\\" + model)).c_str());
}

// The motor 1 value of the first report of a full constant force on a pad
// bound to id with the given product id.
int FirstMotor1(Rig& rig, DWORD id, uint16_t productId) {
    simpad::SimPad* pad = rig.Bind(id, productId);
    if (!pad) return -1;
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    rig.Download(id, effect);
    const int at = WaitForDriven(*pad, 3000);
    return at < 0 ? -1 : pad->Reports()[at].Motor1();
}

// Edges of a 100 ms square wave on a device bound with the stored record.
std::vector<Edge> SquareEdges(Rig& rig, size_t count, DWORD timeoutMs) {
    simpad::SimPad* pad = rig.Bind(0);
    if (!pad) return {};
    BuiltEffect square(EffectShape::Periodic(padhost::kSquare, 10000, 100000, kInfinite).WithPolar(0));
    rig.Download(0, square);
    WaitUntil([&] { return Motor1Edges(pad->Reports()).size() >= count; }, timeoutMs);
    return Motor1Edges(pad->Reports());
}

}  // namespace

TEST(SettingsIntake, TheKeyIsNamedByTheLowByteOfTheProductIdInDecimal) {
    // 0xA02F reads ...\47 and 0xA016 reads ...\22; the hexadecimal spellings hold a decoy.
    padhost::ScopedSettings model47(kModel47, padhost::VibrationRecord(85, 170, 0));
    padhost::ScopedSettings model22(kModel22, padhost::VibrationRecord(63, 170, 0));
    ASSERT_TRUE(model47.Written() && model22.Written());
    ASSERT_TRUE(WriteRecordUnder("2F", padhost::VibrationRecord(255, 170, 0)));
    ASSERT_TRUE(WriteRecordUnder("16", padhost::VibrationRecord(255, 170, 0)));
    ASSERT_TRUE(WriteRecordUnder("41007", padhost::VibrationRecord(255, 170, 0)));
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    EXPECT_EQ(FirstMotor1(rig, 0, kModel47), 0x15) << "product 0xA02F reads strength 85 from ...\\47";
    EXPECT_EQ(FirstMotor1(rig, 1, kModel22), 0x11) << "product 0xA016 reads strength 63 from ...\\22";
    EXPECT_EQ(FirstMotor1(rig, 2, 0x712F), 0x15) << "only the low byte names the model";
    EXPECT_EQ(rig.Release(), 0u);
    for (const char* decoy : {"2F", "16", "41007"}) DeleteModelKey(decoy);
}

TEST(SettingsIntake, TimeCycle255StretchesPeriodsByFourThirds) {
    padhost::ScopedSettings settings(kModel47, padhost::VibrationRecord(170, 255, 0));
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    const std::vector<Edge> edges = SquareEdges(rig, 20, 4000);
    ASSERT_GE(edges.size(), 20u);
    // 100 ms x 4/3: 133 ms, on for 66 and off for 67.
    EXPECT_NEAR(MeanCycle(edges), 133.0, 5.0) << "on spans " << Join(SpanLengths(edges, true));
    EXPECT_NEAR(Median(SpanLengths(edges, true)), 66.0, 15.0) << Join(SpanLengths(edges, true));
    EXPECT_NEAR(Median(SpanLengths(edges, false)), 67.0, 15.0) << Join(SpanLengths(edges, false));
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(SettingsIntake, AutoModeDrawsThePeriodAnewAtEveryStepWhateverTheTimeCycle) {
    padhost::ScopedSettings settings(kModel47, padhost::VibrationRecord(170, 170, 1));
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    BuiltEffect square(EffectShape::Periodic(padhost::kSquare, 10000, 100000, 1000000).WithPolar(0));
    const DWORD handle = rig.Download(0, square);
    ASSERT_TRUE(WaitUntil([&] { return rig.Status(0, handle) == 0; }, 3000));
    ASSERT_TRUE(pad->WaitForQuiet(50, 2000));
    // TimeCycle 170 alone gives 20 edges in the second, halves of 50 ms.
    // Any one factor the draw can give keeps halves of at least 16 ms; a
    // factor drawn anew at each step cuts many far shorter.
    const std::vector<Edge> edges = Motor1Edges(pad->Reports());
    std::vector<double> spans = SpanLengths(edges, true);
    const std::vector<double> off = SpanLengths(edges, false);
    spans.insert(spans.end(), off.begin(), off.end());
    const auto cut = std::count_if(spans.begin(), spans.end(), [](double ms) { return ms < 10.0; });
    EXPECT_GE(edges.size(), 30u) << "the wave kept TimeCycle's period; on spans " << Join(SpanLengths(edges, true));
    EXPECT_GE(cut, 5) << "the period did not change from step to step; spans " << Join(spans);
    const ValueRange range = MotorValues(pad->Reports());
    EXPECT_FALSE(range.AnyMalformed);
    EXPECT_EQ(range.Lowest, 0x1F) << "still a square wave: full or off";
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(SettingsIntake, AStoredValueOfAnyLengthGivesTheFirstBytesItHolds) {
    // The record the panel would store, then bytes no record has.
    pad::JoySettingRecord record = padhost::VibrationRecord(170, 170, 0);
    std::vector<uint8_t> bytes(4096, 0xEE);
    std::memcpy(bytes.data(), &record, sizeof record);
    struct Case {
        DWORD Length;
        int Expected;  // strength 170 (full) once the value reaches MotorPower's low byte, else 1/5
    };
    const Case cases[] = {{0, 0x0C},   {40, 0x0C},   {100, 0x0C},  {101, 0x1F},
                          {104, 0x1F}, {112, 0x1F}, {113, 0x1F}, {4096, 0x1F}};
    for (const Case& c : cases) {
        ASSERT_TRUE(padhost::WriteSettingsValue(kModel47, bytes.data(), c.Length)) << c.Length;
        Rig rig;
        ASSERT_TRUE(rig.Ok());
        EXPECT_EQ(FirstMotor1(rig, 0, kModel47), c.Expected) << "a stored value of " << c.Length << " bytes";
        EXPECT_EQ(rig.Release(), 0u);
    }
    // The value's type is not looked at: the same bytes as a string.
    ASSERT_TRUE(padhost::WriteSettingsValue(kModel47, bytes.data(), 112, REG_SZ));
    {
        Rig rig;
        ASSERT_TRUE(rig.Ok());
        EXPECT_EQ(FirstMotor1(rig, 0, kModel47), 0x1F) << "a record stored as REG_SZ";
        EXPECT_EQ(rig.Release(), 0u);
    }
    padhost::RemoveSettings(kModel47);
}

TEST(SettingsIntake, AJoystickTheQueryDoesNotKnowGetsTheAllZeroRecord) {
    // Whatever key the driver might make up, it would find full strength there.
    for (int model = 0; model < 256; ++model)
        ASSERT_TRUE(WriteRecordUnder(std::to_string(model), padhost::VibrationRecord(255, 255, 0)));
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad pad;
    std::wstring path = pad.WidePath();
    padhost::RemoveJoystick(4);
    const unsigned queries = padhost::JoystickQueries();
    DIHIDFFINITINFO init{};
    init.dwSize = sizeof init;
    init.pwszDeviceInterface = &path[0];
    ASSERT_EQ(rig.Driver()->DeviceID(DIRECTINPUT_VERSION, 4, TRUE, 4, &init), S_OK);
    EXPECT_GT(padhost::JoystickQueries(), queries) << "binding asked for the joystick";
    ASSERT_EQ(rig.Driver()->SetGain(4, 10000), S_OK);
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    rig.Download(4, effect);
    const int at = WaitForDriven(pad, 3000);
    ASSERT_GE(at, 0);
    EXPECT_EQ(pad.Reports()[at].Motor1(), 0x0C) << "strength 1/5 of the all-zero record";
    EXPECT_EQ(rig.Release(), 0u);
    for (int model = 0; model < 256; ++model) DeleteModelKey(std::to_string(model));
    DeleteModelKey("");
}

// The panel and the driver meet in the registry, whatever their bitness: the
// record sits in the 32-bit view, where 32-bit games' drivers read it too.
TEST(SettingsIntake, TheRecordThePanelsStoreWritesIsTheOneTheDriverReadsInThe32BitView) {
    const pad::JoySettingRecord record = padhost::VibrationRecord(63, 170, 0);
    {
        padpanel::SettingsStore store(padpanel::kSettingsBaseKey, 47, sizeof record);
        ASSERT_EQ(store.Write(&record, sizeof record), static_cast<long>(sizeof record));
    }
    win::UniqueHKey key;
    EXPECT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\ZevEreRaverav\\47", 0, KEY_READ | KEY_WOW64_32KEY,
                              key.put()),
              ERROR_SUCCESS);
    key.reset();
#ifdef _WIN64
    EXPECT_NE(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\ZevEreRaverav", 0, KEY_READ | KEY_WOW64_64KEY, key.put()),
              ERROR_SUCCESS)
        << "nothing of the record in the 64-bit view";
    key.reset();
#endif
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    EXPECT_EQ(FirstMotor1(rig, 0, kModel47), 0x11) << "the driver played at the stored strength 63";
    EXPECT_EQ(rig.Release(), 0u);
    padhost::RemoveSettings(kModel47);
}

TEST(SettingsIntake, ARecordTheUserMayOnlyReadIsStillRead) {
    constexpr uint16_t kProduct = 0xA0C8;  // model 200, used by no other test
    ASSERT_TRUE(padhost::WriteSettingsRecord(kProduct, padhost::VibrationRecord(170, 170, 0)));
    const std::string name = padhost::SettingsKeyName(kProduct);

    // Everyone may read the key; nobody may write it.
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly,
                                                                       nullptr));
    {
        win::UniqueHKey key;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, WRITE_DAC | pad::kSettingsView, key.put()), ERROR_SUCCESS);
        ASSERT_EQ(::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
    }
    ::LocalFree(readOnly);
    win::UniqueHKey probe;
    const LONG full = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, KEY_ALL_ACCESS | pad::kSettingsView, probe.put());
    probe.reset();
    const LONG read = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, KEY_READ | pad::kSettingsView, probe.put());
    probe.reset();
    ASSERT_EQ(read, ERROR_SUCCESS) << "the key stays readable";

    if (full == ERROR_SUCCESS) {
        GTEST_SKIP() << "Wine grants full access to a key whose security allows only reading; "
                        "the read-only open cannot be told apart here";
    }
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    EXPECT_EQ(FirstMotor1(rig, 0, kProduct), 0x1F) << "the record behind read-only security gave strength 170";
    EXPECT_EQ(rig.Release(), 0u);

    PSECURITY_DESCRIPTOR open = nullptr;
    if (::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KA;;;WD)", SDDL_REVISION_1, &open, nullptr)) {
        win::UniqueHKey key;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, WRITE_DAC | pad::kSettingsView, key.put()) == ERROR_SUCCESS)
            ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, open);
        ::LocalFree(open);
    }
    padhost::RemoveSettings(kProduct);
}
