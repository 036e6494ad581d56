// The button assignment and keyboard mapping pages' clicks and ticks against
// a recorded view, and the key prompt's rule.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "panel/pages/ButtonGrid.h"
#include "panel/pages/ButtonPageRules.h"
#include "panel/pages/KeyNames.h"

namespace {

using namespace padpanel;

class FakeView final : public ButtonPagesView {
public:
    bool HasSetButton(int) const override { return true; }
    bool SetButtonDown(int j) const override { return down[j]; }
    void SetSetButton(int j, bool d) override { down[j] = d; }
    bool HitsSetButton(int j, int32_t x, int32_t y) const override {
        const Box b = SetButtonBox(j);
        return x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom;
    }
    Box BuiltSetButton(int j) const override { return SetButtonBox(j); }
    bool Hits(SharedButton b, int32_t x, int32_t y) const override {
        const int32_t left = b == SharedButton::Initial ? 114 : b == SharedButton::Load ? 211 : 312;
        return x >= left && x < left + 84 && y >= 358 && y < 382;
    }
    void SetShared(SharedButton, bool d) override { log.push_back(d ? "shared down" : "shared up"); }
    void MoveFirstPicture(int32_t x, int32_t y) override { log.push_back("picture " + Spot(x, y)); }
    void InvalidatePage() override { log.push_back("page"); }
    void InvalidateKeyName(int i) override { log.push_back("key name " + std::to_string(i)); }
    bool PromptForKey(uint32_t& key) override {
        log.push_back("prompt");
        key = promptKey;
        return confirm;
    }
    void LoadProfile() override { log.push_back("load"); }
    void SaveProfile() override { log.push_back("save"); }
    void EnterPage(int code) override { log.push_back("enter " + std::to_string(code)); }

    static std::string Spot(int32_t x, int32_t y) { return std::to_string(x) + "," + std::to_string(y); }
    bool down[13] = {};
    std::vector<std::string> log;
    uint32_t promptKey = 0;
    bool confirm = true;
};

pad::JoySettingRecord Identity() {
    pad::JoySettingRecord r{};
    for (int i = 0; i < 12; ++i) r.ButtonMap[i] = static_cast<uint8_t>(i + 1);
    return r;
}

TEST(AssignmentPage, AClickedSetButtonWaitsAndTakesTheHighestHeldPadButton) {
    FakeView view;
    pad::JoySettingRecord r = Identity();
    view.down[5] = true;
    ClickButtonPage(1, r, 12, view, 40, 62 + 47 + 5);  // set button 2
    EXPECT_FALSE(view.down[5]) << "every other set button goes up";
    EXPECT_TRUE(view.down[2]);
    uint8_t pressed[32] = {};
    TickButtonPage(r, 12, pressed, view);
    EXPECT_TRUE(view.down[2]) << "it keeps waiting while no pad button is down";
    pressed[3] = pressed[8] = 0x80;
    TickButtonPage(r, 12, pressed, view);
    EXPECT_EQ(r.ButtonMap[1], 9) << "pad buttons 4 and 9 held: 9 wins";
    EXPECT_FALSE(view.down[2]);
    EXPECT_EQ(view.log.back(), "picture " + FakeView::Spot(36 + 144, 62 + 47));
    view.down[3] = true;
    TickButtonPage(r, 8, pressed, view);
    EXPECT_EQ(r.ButtonMap[2], 4) << "only pad buttons up to ButtonCount count";
}

TEST(AssignmentPage, InitialRestoresTheIdentityMapButKeepsTheKeys) {
    FakeView view;
    pad::JoySettingRecord r = Identity();
    r.ButtonMap[0] = 7;
    r.KeyCodes[3] = 0x10004;
    ClickButtonPage(1, r, 12, view, 150, 370);
    EXPECT_EQ(r.ButtonMap[0], 1);
    EXPECT_EQ(r.KeyCodes[3], 0x10004u);
    EXPECT_EQ(view.log, (std::vector<std::string>{"enter -1", "enter 1", "page"}));
}

TEST(KeyboardPage, ANewKeyGoesToTheLogicalButtonAndRepaintsEveryButtonMappedToIt) {
    FakeView view;
    pad::JoySettingRecord r = Identity();
    r.ButtonMap[7] = 3;  // physical 8 reports logical 3, like physical 3
    view.promptKey = kKeyCtrl | 4;
    ClickButtonPage(2, r, 12, view, 270, 62 + 47 + 5);  // set button 8
    EXPECT_EQ(r.KeyCodes[2], kKeyCtrl | 4);
    EXPECT_EQ(view.log, (std::vector<std::string>{"prompt", "key name 3", "key name 8", "enter -1", "enter 2"}));
    EXPECT_FALSE(view.down[8]) << "the set button goes up after the prompt";
    view.log.clear();
    view.confirm = false;
    view.promptKey = 5;
    ClickButtonPage(2, r, 12, view, 270, 62 + 47 + 5);
    EXPECT_EQ(r.KeyCodes[2], kKeyCtrl | 4) << "a cancelled prompt changes nothing";
    EXPECT_EQ(view.log, std::vector<std::string>{"prompt"});
}

TEST(KeyboardPage, AMapEntryOutsideOneToTwelveUsesButtonTwelvesKeyAndInitialClearsOnlyKeys) {
    FakeView view;
    pad::JoySettingRecord r = Identity();
    r.ButtonMap[0] = 200;
    view.promptKey = 30;
    ClickButtonPage(2, r, 12, view, 40, 70);  // set button 1
    EXPECT_EQ(r.KeyCodes[11], 30u);
    ClickButtonPage(2, r, 12, view, 150, 370);  // Initial
    for (uint32_t key : r.KeyCodes) EXPECT_EQ(key, 0u);
    EXPECT_EQ(r.ButtonMap[0], 200) << "the map stays";
    view.log.clear();
    ClickButtonPage(2, r, 12, view, 250, 370);  // Load
    EXPECT_EQ(view.log, (std::vector<std::string>{"shared down", "load", "shared up"}));
}

TEST(KeyPrompt, ModifiersCountWhileHeldAndTheLastOtherKeyStays) {
    uint32_t key = 0;
    key = KeyPromptStep(key, 17, true);   // Ctrl
    key = KeyPromptStep(key, 'A', true);
    EXPECT_EQ(key, kKeyCtrl | 4);
    key = KeyPromptStep(key, 17, false);
    EXPECT_EQ(key, 4u) << "releasing Ctrl leaves A alone";
    key = KeyPromptStep(key, 'A', false);
    EXPECT_EQ(key, 4u);
    key = KeyPromptStep(key, 18, true);   // Alt
    key = KeyPromptStep(key, 16, true);   // Shift
    key = KeyPromptStep(key, 0x79, true);  // F10
    EXPECT_EQ(key, kKeyAlt | kKeyShift | 67);
    key = KeyPromptStep(key, 0xFF, true);
    EXPECT_EQ(key & kKeyUsageMask, 0u) << "a key without a usage";
}

}  // namespace
