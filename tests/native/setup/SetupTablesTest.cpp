#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "setup/EffectCatalog.h"
#include "setup/KeyPaths.h"
#include "setup/OemBlocks.h"
#include "setup/ProductTable.h"
#include "setup/SetupIdentity.h"

namespace {

using namespace padsetup;

template <size_t N>
std::vector<uint8_t> V(const std::array<uint8_t, N>& a) {
    return std::vector<uint8_t>(a.begin(), a.end());
}

TEST(OemBlocks, StoreTheHardwareSettingsAndAttributesInTheTabledByteOrder) {
    EXPECT_EQ(V(kHardwareSettings.Bytes()), (std::vector<uint8_t>{0x0A, 0, 0, 0, 0x00, 0x01, 0, 0}));
    EXPECT_EQ(V(kAxisAttributes.Bytes()), (std::vector<uint8_t>{0x01, 0x81, 0x00, 0x00}));
    EXPECT_EQ(V(kAxisForceAttributes.Bytes()),
              (std::vector<uint8_t>{0x03, 0x00, 0x80, 0x10, 0x0C, 0x00, 0x00, 0x00}));
    EXPECT_EQ(V(kDeviceForceAttributes.Bytes()),
              (std::vector<uint8_t>{0, 0, 0, 0, 0xE8, 0x03, 0, 0, 0xE8, 0x03, 0, 0}));
}

TEST(OemKeyPaths, NameTheTypeKeyByTheLowByteInTwoLowerCaseHexDigits) {
    char path[kNameBufferSize];
    ASSERT_TRUE(FormatOemTypeKey(path, sizeof path, 0x2f));
    EXPECT_STREQ(path,
                 "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\"
                 "VID_7A3C&PID_A02f");
    ASSERT_TRUE(FormatOemTypeKey(path, sizeof path, 0x05));
    EXPECT_EQ(std::string(path).substr(std::string(path).size() - 8), "PID_A005");
}

TEST(OemKeyPaths, PutTheAxesAndTheForceFeedbackKeyUnderTheTypeKey) {
    char type[kNameBufferSize], axis[kNameBufferSize], ff[kNameBufferSize];
    ASSERT_TRUE(FormatOemTypeKey(type, sizeof type, 0x2f));
    ASSERT_TRUE(FormatOemAxisKey(axis, sizeof axis, 0x2f, 1));
    ASSERT_TRUE(FormatOemForceFeedbackKey(ff, sizeof ff, 0x2f));
    EXPECT_EQ(std::string(axis), std::string(type) + "\\Axes\\1");
    EXPECT_EQ(std::string(ff), std::string(type) + "\\OEMForceFeedback");
}

TEST(OemKeyPaths, RefuseABufferTooSmallAndLeaveItEmpty) {
    char type[kNameBufferSize];
    ASSERT_TRUE(FormatOemTypeKey(type, sizeof type, 0x2f));
    std::vector<char> exact(std::string(type).size() + 1, 'x');
    EXPECT_TRUE(FormatOemTypeKey(exact.data(), exact.size(), 0x2f));
    std::vector<char> short1(exact.size() - 1, 'x');
    EXPECT_FALSE(FormatOemTypeKey(short1.data(), short1.size(), 0x2f));
    EXPECT_EQ(short1[0], '\0');
    EXPECT_FALSE(FormatOemAxisKey(short1.data(), short1.size(), 0x2f, 0));
    EXPECT_FALSE(FormatOemTypeKey(nullptr, 0, 0x2f));
}

TEST(DeviceEnumKeys, NameBothBranchesOfTheDeviceRegistry) {
    char path[kRemoverPathSize];
    ASSERT_TRUE(FormatDeviceEnumKey(path, sizeof path, DeviceBranch::Hid, "vid_7a3c&pid_a02f"));
    EXPECT_STREQ(path, "ENUM\\HID\\vid_7a3c&pid_a02f");
    ASSERT_TRUE(FormatDeviceEnumKey(path, sizeof path, DeviceBranch::Usb, "vid_7a3c&pid_a02f"));
    EXPECT_STREQ(path, "ENUM\\USB\\vid_7a3c&pid_a02f");
    const std::string tooLong(kRemoverPathSize, 'a');
    EXPECT_FALSE(FormatDeviceEnumKey(path, sizeof path, DeviceBranch::Hid, tooLong.c_str()));
    EXPECT_FALSE(FormatDeviceEnumKey(path, sizeof path, DeviceBranch::Hid, nullptr));
}

TEST(ProductTable, ListsTheFamilyInOrderWithoutTheUnusedIds17To1F) {
    std::vector<std::string> expected;
    char id[32];
    for (unsigned low = 0x00; low <= 0x36; ++low) {
        if (low >= 0x17 && low <= 0x1f) continue;
        std::snprintf(id, sizeof id, "vid_7a3c&pid_a0%02x", low);
        expected.push_back(id);
    }
    ASSERT_EQ(expected.size(), kProductDeviceIds.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(expected[i], kProductDeviceIds[i]) << "entry " << i;
}

TEST(ProductTable, TheRemoverActsOnTheInstallersProductAlone) {
    ASSERT_EQ(kRemovalEnd - kRemovalFirst, 1u);
    EXPECT_STREQ(kProductDeviceIds[kRemovalFirst], "vid_7a3c&pid_a02f");
}

TEST(EffectCatalog, MapsTheSevenDirectInputTypesToDriverIdsZeroToSixInOrder) {
    const std::array<const char*, 7> guids = {
        "{13541C20-8E33-11D0-9AD0-00A0C9A06E35}", "{13541C21-8E33-11D0-9AD0-00A0C9A06E35}",
        "{13541C22-8E33-11D0-9AD0-00A0C9A06E35}", "{13541C23-8E33-11D0-9AD0-00A0C9A06E35}",
        "{13541C24-8E33-11D0-9AD0-00A0C9A06E35}", "{13541C25-8E33-11D0-9AD0-00A0C9A06E35}",
        "{13541C26-8E33-11D0-9AD0-00A0C9A06E35}"};
    const std::array<uint32_t, 7> types = {1, 2, 3, 3, 3, 3, 3};  // constant, ramp, periodic
    std::set<std::string> names;
    for (size_t i = 0; i < kEffectCatalog.size(); ++i) {
        const EffectEntry& e = kEffectCatalog[i];
        EXPECT_STREQ(e.Guid, guids[i]);
        EXPECT_EQ(e.EffectId, i);
        EXPECT_EQ(e.Type & 0xFF, types[i]) << e.Name;
        names.insert(e.Name);
    }
    EXPECT_EQ(names.size(), kEffectCatalog.size()) << "every effect has a name of its own";
}

TEST(EffectCatalog, PublishesWhatTheDriverPlaysAndNothingItIgnores) {
    for (const EffectEntry& e : kEffectCatalog) {
        // Attack and fade (0x200, 0x400) and start delay (0x8000); no condition flags.
        EXPECT_EQ(e.Type & ~0xFFu, 0x8600u) << e.Name;
        // Duration, gain, axes, direction, envelope, type-specific, start delay;
        // not the sample period (0x2) nor the trigger button and interval (0x8, 0x10).
        EXPECT_EQ(e.StaticParams, 0x3E5u) << e.Name;
        EXPECT_EQ(e.DynamicParams, e.StaticParams) << e.Name << " changes all it has while playing";
        EXPECT_EQ(e.Coords, 0x30u) << e.Name << " takes cartesian and polar directions";
    }
}

TEST(EffectCatalog, StoresTheAttributesAsTwentyLittleEndianBytes) {
    const EffectEntry& sawDown = kEffectCatalog[6];
    EXPECT_EQ(V(sawDown.AttributesBytes()),
              (std::vector<uint8_t>{0x06, 0, 0, 0, 0x03, 0x86, 0, 0, 0xE5, 0x03, 0, 0, 0xE5, 0x03, 0, 0,
                                    0x30, 0, 0, 0}));
}

}  // namespace
