// The settings record on the registry, read back through the API.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "common/win/SettingsView.h"
#include "PanelTestSupport.h"
#include "panel/Settings.h"
#include "panel/SettingsStore.h"
#include "panel/pages/PageContext.h"

namespace {

using namespace paneltest;
using padpanel::Pages;

class Store : public ::testing::Test {
protected:
    void SetUp() override {
        InstallStagedSetupIni();
        DeleteSettings();
        padpanel::ResetPageContext();  // as after a fresh module load
    }
    void TearDown() override { DeleteSettings(); }
};

TEST_F(Store, AFirstOpenCreatesTheKeyWithDefaultsFromSetupIni) {
    padpanel::LoadSettings(kModel);
    pad::JoySettingRecord stored;
    ASSERT_TRUE(ReadStored(stored)) << "the key and a 112-byte value exist";
    EXPECT_RECORD_EQ(StagedDefaults(), stored);
    EXPECT_RECORD_EQ(stored, Pages().Current);
    EXPECT_RECORD_EQ(stored, Pages().Saved);
    EXPECT_EQ(Pages().JoystickNumber, kModel);
    EXPECT_EQ(Pages().AxisCount, 4u);
    EXPECT_EQ(Pages().ButtonCount, 12u);
}

TEST_F(Store, AWholeValueIsLoadedUnchangedWhateverItHolds) {
    pad::JoySettingRecord odd;
    std::memset(&odd, 0xEE, sizeof odd);  // no field range is enforced
    WriteStoredBytes(&odd, sizeof odd, REG_DWORD);  // nor the value's type
    padpanel::LoadSettings(kModel);
    EXPECT_RECORD_EQ(odd, Pages().Current);
    EXPECT_RECORD_EQ(odd, Pages().Saved);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadStoredBytes(bytes));
    EXPECT_EQ(0, std::memcmp(bytes.data(), &odd, sizeof odd)) << "loading writes nothing back";
}

TEST_F(Store, AFortyByteValueFillsOnlyTheFirstFortyBytes) {
    uint8_t head[40];
    for (int i = 0; i < 40; ++i) head[i] = static_cast<uint8_t>(0x40 + i);
    WriteStoredBytes(head, sizeof head);
    padpanel::LoadSettings(kModel);
    pad::JoySettingRecord expected{};
    std::memcpy(&expected, head, sizeof head);
    EXPECT_RECORD_EQ(expected, Pages().Current);
    EXPECT_RECORD_EQ(expected, Pages().Saved);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadStoredBytes(bytes));
    EXPECT_EQ(bytes.size(), 40u) << "a short value is accepted, not rewritten";
}

TEST_F(Store, ALongerOrEmptyValueIsReplacedByDefaults) {
    for (DWORD size : {113u, 4096u, 0u}) {
        SCOPED_TRACE("a value of " + std::to_string(size) + " bytes");
        padpanel::ResetPageContext();
        std::vector<uint8_t> junk(size, 0x99);
        WriteStoredBytes(junk.data(), size);
        padpanel::LoadSettings(kModel);
        EXPECT_RECORD_EQ(StagedDefaults(), Pages().Current);
        EXPECT_RECORD_EQ(StagedDefaults(), Pages().Saved);
        pad::JoySettingRecord stored;
        ASSERT_TRUE(ReadStored(stored));
        EXPECT_RECORD_EQ(StagedDefaults(), stored);
    }
}

TEST_F(Store, AKeyThatCanBeNeitherOpenedNorCreatedLeavesDefaultsInMemoryOnly) {
    // A volatile parent refuses the lasting child the store would create.
    HKEY parent = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\ZevEreRaverav", 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS | pad::kSettingsView, nullptr, &parent, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(parent);
    padpanel::SettingsStore probe(padpanel::kSettingsBaseKey, kModel, 112);
    ASSERT_FALSE(probe.IsOpen()) << "the registry refuses the key, as without rights";
    pad::JoySettingRecord r{};
    EXPECT_EQ(probe.Read(&r, sizeof r), -1);
    EXPECT_EQ(probe.Write(&r, sizeof r), -1);

    padpanel::LoadSettings(kModel);
    EXPECT_RECORD_EQ(StagedDefaults(), Pages().Current);
    padpanel::EnterPage(nullptr, 0);
    padpanel::EnterPage(nullptr, -1);
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(Store, OnlyRecordsOfTheExpectedSizeMove) {
    padpanel::SettingsStore store(padpanel::kSettingsBaseKey, kModel, 112);
    ASSERT_TRUE(store.IsOpen());
    uint8_t buffer[113] = {};
    EXPECT_EQ(store.Write(buffer, 111), -1);
    EXPECT_EQ(store.Write(buffer, 113), -1);
    EXPECT_EQ(store.Write(nullptr, 112), -1);
    EXPECT_EQ(store.Read(buffer, 113), -1);
    EXPECT_EQ(store.Read(buffer, 112), -1) << "no value yet";
    EXPECT_EQ(store.Write(buffer, 112), 112);
    EXPECT_EQ(store.Read(buffer, 112), 112);
    EXPECT_EQ(store.Read(nullptr, 112), -1);
}

class PageCodes : public Store {
protected:
    void SetUp() override {
        Store::SetUp();
        WriteStored(UserRecord());
        padpanel::LoadSettings(kModel);
    }
    pad::JoySettingRecord StoredAfter(int code) {
        padpanel::EnterPage(nullptr, code);
        pad::JoySettingRecord r{};
        EXPECT_TRUE(ReadStored(r)) << "code " << code;
        return r;
    }
};

TEST_F(PageCodes, TheTestPageStoresTheUsersRecordWithoutTurboKeysOrVibration) {
    EXPECT_RECORD_EQ(TestVariantOf(UserRecord()), StoredAfter(0));
}

TEST_F(PageCodes, TheOtherPagesStoreTheDefaults) {
    for (int code = 1; code <= 4; ++code) EXPECT_RECORD_EQ(StagedDefaults(), StoredAfter(code)) << "code " << code;
}

TEST_F(PageCodes, CommitStoresCurrentAndRestoreStoresTheRecordReadAtOpening) {
    Pages().Current.MotorPower = 0;
    EXPECT_EQ(StoredAfter(3).MotorPower, 63u) << "the vibration page stores defaults";
    EXPECT_EQ(Pages().Current.MotorPower, 2u) << "and lifts the user's strength to 2";
    pad::JoySettingRecord committed = UserRecord();
    committed.MotorPower = 2;
    EXPECT_RECORD_EQ(committed, StoredAfter(-1));
    EXPECT_RECORD_EQ(UserRecord(), StoredAfter(-2)) << "even after a commit";
}

TEST_F(PageCodes, UnknownCodesStoreNothing) {
    DeleteSettings();
    padpanel::EnterPage(nullptr, 5);
    padpanel::EnterPage(nullptr, -3);
    EXPECT_FALSE(SettingsKeyExists());
}

}  // namespace
