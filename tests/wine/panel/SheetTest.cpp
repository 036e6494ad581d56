// The whole sheet, opened in the control-panel host the way the Game
// Controllers control panel opens it, with the pad played through the
// stand-in; the record in the registry is read back after each step.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstring>
#include <string>

#include "common/win/SettingsView.h"
#include "PanelTestSupport.h"
#include "SheetRig.h"
#include "StoreWriteLog.h"
#include "hosts/cplhost/PanelRegistration.h"
#include "hosts/cplhost/SheetHost.h"
#include "hosts/dinput7/StandInLoader.h"
#include "tools/padstate/PadStateLink.h"

namespace {

using namespace paneltest;
using cplhost::SheetHost;

class Sheet : public SheetRig {
protected:
    void SetUp() override {
        SheetRig::SetUp();
        std::string error;
        ASSERT_TRUE(log_.Attach(DistPath("padpanel.dll"), &error)) << error;
    }
    void TearDown() override {
        host_.Close();
        log_.Detach();
        EXPECT_EQ(log_.OddWrites(), 0) << "the panel stores whole records only";
        ::CoFreeUnusedLibraries();  // the next test starts with a freshly loaded module
        EXPECT_EQ(::GetModuleHandleA("padpanel.dll"), nullptr) << "the module unloads once the sheet is gone";
        SheetRig::TearDown();
    }

    pad::JoySettingRecord Stored() {
        pad::JoySettingRecord r{};
        EXPECT_TRUE(ReadStored(r)) << "a 112-byte record is stored";
        return r;
    }
    const padstate::StandInCounters& Counters() const { return pad_->Counters; }
    uint32_t Polls() const { return padstate::PadStateLink::Read(pad_->Counters.Polls); }

    StoreWriteLog log_;
};

std::vector<std::string> Hexes(const std::vector<pad::JoySettingRecord>& records) {
    std::vector<std::string> out;
    for (const pad::JoySettingRecord& r : records) out.push_back(Hex(r));
    return out;
}
std::vector<std::string> Repeated(const pad::JoySettingRecord& record, size_t times) {
    return std::vector<std::string>(times, Hex(record));
}

TEST_F(Sheet, OpensFromTheOemEntryWithSixTitledPages) {
    Open();
    HWND tab = PropSheet_GetTabControl(host_.Window());
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(TabCtrl_GetItemCount(tab), 6);
    const char* titles[6] = {"Test", "Buttons", "Keyboard", "Vibration", "Calibration", "About"};
    for (int i = 0; i < 6; ++i) {
        char text[64] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, titles[i]) << "tab " << i;
    }
    char caption[64] = {};
    GetWindowTextA(host_.Window(), caption, sizeof caption);
    EXPECT_NE(std::string(caption).find("Game Controller Setting"), std::string::npos) << caption;
}

TEST_F(Sheet, AFirstOpenStoresTheDefaultsAndPageZeroItsTestVariant) {
    ASSERT_FALSE(SettingsKeyExists());
    Open();
    EXPECT_RECORD_EQ(TestVariantOf(StagedDefaults()), Stored());
    EXPECT_EQ(Hexes(log_.Records()), (std::vector<std::string>{Hex(StagedDefaults()), Hex(TestVariantOf(StagedDefaults()))}))
        << "loading creates the record, then page 0 stores its variant";
    host_.Cancel();
    EXPECT_RECORD_EQ(StagedDefaults(), Stored()) << "cancel restores what the first open created";
}

TEST_F(Sheet, EachPageStoresItsNeutralRecordAndLeavingVibrationCommitsTheUsers) {
    WriteStored(UserRecord());
    Open();
    EXPECT_RECORD_EQ(TestVariantOf(UserRecord()), Stored()) << "page 0";
    Show(2);
    EXPECT_RECORD_EQ(StagedDefaults(), Stored()) << "page 2";
    Show(3);
    EXPECT_RECORD_EQ(StagedDefaults(), Stored()) << "page 3";
    Show(5);
    EXPECT_RECORD_EQ(UserRecord(), Stored()) << "leaving page 3 for the about page, which stores nothing";
    Show(3);
    Show(1);
    EXPECT_RECORD_EQ(StagedDefaults(), Stored()) << "leaving page 3 for page 1 ends with page 1's record";
    Show(4);
    EXPECT_RECORD_EQ(StagedDefaults(), Stored()) << "page 4";
    Show(0);
    EXPECT_RECORD_EQ(TestVariantOf(UserRecord()), Stored()) << "page 0 again";
}

TEST_F(Sheet, ApplyStoresCurrentAndCancelRestoresTheRecordReadAtOpening) {
    pad::JoySettingRecord user = UserRecord();
    user.MotorPower = 0;  // entering the vibration page lifts it to 2 in Current
    WriteStored(user);
    Open();
    Show(3);
    Show(5);
    pad::JoySettingRecord current = user;
    current.MotorPower = 2;
    EXPECT_RECORD_EQ(current, Stored());
    host_.Apply();
    EXPECT_RECORD_EQ(current, Stored()) << "apply on the about page";
    ASSERT_TRUE(host_.IsOpen());
    host_.Cancel();
    EXPECT_FALSE(host_.IsOpen());
    EXPECT_RECORD_EQ(user, Stored()) << "cancel after apply restores the record read at opening";
}

TEST_F(Sheet, ApplyStoresCurrentOncePerPageAndCancelTheSavedRecordOnceForTheActivePage) {
    WriteStored(UserRecord());
    Open();
    for (int page = 1; page < 6; ++page) Show(page);
    Show(2);
    size_t mark = log_.Mark();
    host_.Apply();
    // Every page that exists is told to apply; then the current page is active again.
    std::vector<std::string> expected = Repeated(UserRecord(), 6);
    expected.push_back(Hex(StagedDefaults()));
    EXPECT_EQ(Hexes(log_.Since(mark)), expected);

    mark = log_.Mark();
    host_.Cancel();
    EXPECT_FALSE(host_.IsOpen());
    EXPECT_EQ(Hexes(log_.Since(mark)), Repeated(UserRecord(), 1))
        << "only the active page is asked whether to cancel, and it stores the saved record once";
}

TEST_F(Sheet, OkStoresCurrentAndClosesTheSheet) {
    WriteStored(UserRecord());
    Open();
    Show(2);
    host_.Ok();
    host_.Pump(50);
    EXPECT_FALSE(host_.IsOpen());
    EXPECT_RECORD_EQ(UserRecord(), Stored());
}

TEST_F(Sheet, AShortValueFillsOnlyItsBytesAndALongOneIsReplacedByDefaults) {
    uint8_t head[40];
    for (int i = 0; i < 40; ++i) head[i] = static_cast<uint8_t>(i + 1);
    WriteStoredBytes(head, sizeof head);
    Open();
    Show(5);
    host_.Apply();
    pad::JoySettingRecord expected{};
    std::memcpy(&expected, head, sizeof head);
    EXPECT_RECORD_EQ(expected, Stored()) << "bytes 40 to 111 are those of a freshly loaded module";
    log_.Detach();
    host_.Close();
    ::CoFreeUnusedLibraries();  // a fresh module again: nothing left of the first load

    std::vector<uint8_t> longer(113, 0x77);
    WriteStoredBytes(longer.data(), static_cast<DWORD>(longer.size()));
    Open();
    Show(5);
    host_.Apply();
    EXPECT_RECORD_EQ(StagedDefaults(), Stored());
}

TEST_F(Sheet, AKeyThatCannotBeCreatedLeavesTheSheetWorkingOnDefaults) {
    HKEY parent = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\ZevEreRaverav", 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS | pad::kSettingsView, nullptr, &parent, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(parent);
    Open();
    Show(3);
    host_.Apply();
    host_.Pump(100);
    EXPECT_TRUE(host_.IsOpen());
    EXPECT_GT(Polls(), 0u) << "the pages still poll the pad";
    EXPECT_FALSE(SettingsKeyExists());
    EXPECT_TRUE(host_.Boxes().empty()) << "no message is shown";
}

TEST_F(Sheet, LaterPagesFindThePadBoundAndCreateNoDirectInputObject) {
    Open();
    for (int page = 1; page < 6; ++page) Show(page);
    EXPECT_EQ(Counters().DirectInputCreated, 1u);
    EXPECT_EQ(Counters().DirectInputReleased, 1u) << "binding lets its DirectInput object go";
    EXPECT_EQ(Counters().JoyConfigQueries, 1u);
    EXPECT_EQ(Counters().DevicesCreated, 1u);
    host_.Close();
    EXPECT_EQ(Counters().DevicesReleased, 1u) << "the sheet releases its device with itself";
}

TEST_F(Sheet, SwitchingFromTheTestPageToTheKeyboardPageSlowsPollingToHalfSeconds) {
    Open();
    const uint32_t acquires = Counters().Acquires;
    uint32_t before = Polls();
    host_.Pump(1000);
    const uint32_t fast = Polls() - before;
    Show(2);
    EXPECT_EQ(Counters().Unacquires, 1u) << "leaving page 0 unacquires";
    EXPECT_EQ(Counters().Acquires, acquires + 1) << "page 2 acquires again";
    EXPECT_RECORD_EQ(StagedDefaults(), Stored());
    before = Polls();
    host_.Pump(1600);
    const uint32_t slow = Polls() - before;
    EXPECT_GE(fast, 15u) << "page 0 polls about every 10 ms";
    EXPECT_GE(slow, 1u) << "page 2 still polls";
    EXPECT_LE(slow, 5u) << "page 2 polls about every 500 ms";
}

TEST_F(Sheet, AGoodPollEndsARunOfFailures) {
    Open();
    // Two runs of failed polls, each well short of the 500 ms grace, the
    // second 750 ms after the first began: had the good polls between them
    // not ended the first run, the second would close the sheet.
    for (int run = 0; run < 2; ++run) {
        pad_->Failures = padstate::kFailInput;
        const uint32_t failedBefore = Counters().FailedStateReads;
        host_.Pump(150);
        EXPECT_GE(Counters().FailedStateReads - failedBefore, 4u) << "run " << run << " fails several polls";
        pad_->Failures = 0;
        host_.Pump(600);
    }
    EXPECT_TRUE(host_.IsOpen());
    EXPECT_TRUE(host_.Boxes().empty());
}

TEST_F(Sheet, UnpluggingOnATenMillisecondPageTellsTheUserOnceClosesTheSheetAndRestoresTheRecord) {
    WriteStored(UserRecord());
    Open();
    Show(3);
    pad_->Plugged = 0;
    for (int i = 0; i < 40 && host_.IsOpen(); ++i) host_.Pump(100);
    EXPECT_FALSE(host_.IsOpen()) << "the sheet closes within four seconds";
    ASSERT_EQ(host_.Boxes().size(), 1u) << "one message";
    EXPECT_EQ(host_.Boxes()[0].Caption, "Game Controller Setting");
    EXPECT_EQ(host_.Boxes()[0].Text, "The game pad is no longer connected. The settings page will close.");
    EXPECT_RECORD_EQ(UserRecord(), Stored());
}

TEST_F(Sheet, TheLostDevicePathItselfRestoresTheRecordBeforeTheSheetCloses) {
    WriteStored(UserRecord());
    Open();
    Show(3);
    host_.HoldCloses(true);  // the sheet's own Cancel would restore the record too
    const size_t mark = log_.Mark();
    pad_->Plugged = 0;
    ASSERT_TRUE(PumpUntil([&] { return host_.HeldCloses() > 0; }, 4000)) << "the page asks its sheet to close";
    host_.Pump(100);
    EXPECT_EQ(host_.Boxes().size(), 1u) << "the user is told before";
    EXPECT_EQ(Hexes(log_.Since(mark)), Repeated(UserRecord(), 1)) << "the saved record, stored once by the page";
    EXPECT_RECORD_EQ(UserRecord(), Stored());
    const uint32_t polls = Polls();
    host_.Pump(200);
    EXPECT_EQ(Polls(), polls) << "the page's timer is gone";
    EXPECT_EQ(host_.HeldCloses(), 1);

    host_.PassClose();
    host_.Pump(50);
    EXPECT_FALSE(host_.IsOpen()) << "the sheet closes on the page's request";
}

TEST_F(Sheet, APadThatAppearsAfterTheTestPageGivesASheetThatStoresNothing) {
    pad_->Failures = padstate::kFailNoPad;
    Open();
    pad_->Failures = 0;
    Show(1);
    host_.Pump(200);
    EXPECT_EQ(Counters().DevicesCreated, 1u) << "page 1 binds the pad";
    EXPECT_EQ(Counters().Acquires, 0u) << "but, with no record loaded, stays inert";
    EXPECT_EQ(Counters().Polls, 0u);
    host_.Apply();
    host_.Cancel();
    EXPECT_FALSE(host_.IsOpen());
    EXPECT_TRUE(log_.Records().empty()) << "nothing is stored";
    EXPECT_FALSE(AnySettingsKeyExists()) << "no key is made, for no model";
}

TEST_F(Sheet, WhenBindingFailsThePagesStayBlankAndInert) {
    pad_->Failures = padstate::kFailNoPad;
    Open();
    for (int page = 1; page < 6; ++page) Show(page);
    host_.Pump(200);
    EXPECT_TRUE(host_.IsOpen());
    EXPECT_FALSE(SettingsKeyExists()) << "no record is loaded";
    EXPECT_EQ(Counters().Polls, 0u);
    EXPECT_EQ(Counters().Acquires, 0u);
    host_.Cancel();
    EXPECT_FALSE(SettingsKeyExists()) << "cancel stores nothing either";
}

TEST_F(Sheet, WithoutAcquisitionOnlyTheButtonPageActivationPolls) {
    pad_->Failures = padstate::kFailAcquire;
    Open();
    host_.Pump(300);
    const uint32_t onPageZero = Polls();
    Show(1);
    host_.Pump(300);
    EXPECT_EQ(Polls() - onPageZero, 1u) << "page 1 polls once when shown, and runs no timer";
}

}  // namespace

int main(int argc, char** argv) { return paneltest::RunSheetTests(argc, argv); }
