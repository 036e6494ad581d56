#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "panel/pages/EnterPageSteps.h"

namespace {

using pad::JoySettingRecord;
using namespace padpanel;

// Writes down what EnterPage asks of the Windows side, in order, with the
// strength the page's controls would be set from.
class RecordingSide final : public EnterPageSide {
public:
    explicit RecordingSide(const JoySettingRecord& current) : current_(current) {}

    void StopMotors() override { Steps.push_back("stop"); }
    void BeforeStore(int code) override {
        Steps.push_back("before " + std::to_string(code));
        PowerSeenByControls = current_.MotorPower;
    }
    DefaultAxisWords AxisWords() override {
        Steps.push_back("words");
        return DefaultAxisWords{0x11, 0x22, 0x33};
    }
    void Store(const JoySettingRecord& record) override {
        Steps.push_back("store");
        Stored.push_back(record);
    }
    void AfterStore(int code) override { Steps.push_back("after " + std::to_string(code)); }

    std::vector<std::string> Steps;
    std::vector<JoySettingRecord> Stored;
    uint32_t PowerSeenByControls = 0xFFFFFFFF;

private:
    const JoySettingRecord& current_;
};

struct Context {
    JoySettingRecord Current{};
    JoySettingRecord Saved{};
    uint32_t LeftRunMs = 0;
    uint8_t DraggingPower = 1;
    uint8_t DraggingTime = 1;
    RecordingSide Side{Current};

    Context() {
        BuildDefaultRecord(Current, DefaultAxisWords{});
        Current.MotorPower = 150;
        Current.TurboFlags[0] = 1;
        Saved = Current;
        Saved.TimeCycle = 7;
    }
    bool Enter(int code) {
        return RunEnterPage(code, EnterPageState{Current, Saved, LeftRunMs, DraggingPower, DraggingTime}, Side);
    }
    using Steps = std::vector<std::string>;
};

TEST(EnterPageSteps, TheVibrationPageControlsAreSetFromTheRaisedStrength) {
    for (uint32_t power : {0u, 1u}) {
        Context c;
        c.Current.MotorPower = power;
        ASSERT_TRUE(c.Enter(3));
        EXPECT_EQ(c.Side.PowerSeenByControls, 2u) << "from " << power << ": the hook sees the strength after the limit";
        ASSERT_EQ(c.Side.Stored.size(), 1u);
        EXPECT_EQ(c.Side.Stored[0].MotorPower, 63u) << "the stored record is the defaults";
        EXPECT_EQ(c.Current.MotorPower, 2u);
    }
}

TEST(EnterPageSteps, TheTestPageStopsTheMotorsSetsItsControlsAndStoresItsVariant) {
    Context c;
    c.LeftRunMs = 900;
    ASSERT_TRUE(c.Enter(0));
    EXPECT_EQ(c.Side.Steps, (Context::Steps{"stop", "before 0", "store", "after 0"}));
    EXPECT_EQ(c.LeftRunMs, 0u);
    ASSERT_EQ(c.Side.Stored.size(), 1u);
    EXPECT_EQ(c.Side.Stored[0].TurboFlags[0], 0) << "the test variant has no turbo";
    EXPECT_EQ(c.Current.TurboFlags[0], 1) << "the user's record keeps it";
}

TEST(EnterPageSteps, TheNeutralPagesStopTheMotorsAndStoreDefaultsWithTheSetupIniWords) {
    for (int code : {1, 2, 4}) {
        Context c;
        c.LeftRunMs = 5;
        ASSERT_TRUE(c.Enter(code));
        const std::string n = std::to_string(code);
        EXPECT_EQ(c.Side.Steps, (Context::Steps{"stop", "before " + n, "words", "store", "after " + n}));
        EXPECT_EQ(c.LeftRunMs, 0u);
        ASSERT_EQ(c.Side.Stored.size(), 1u);
        EXPECT_EQ(c.Side.Stored[0].AxisCalibration[2], 0x11u) << "code " << code;
        EXPECT_EQ(c.DraggingPower, 1) << "only the vibration page ends a drag";
    }
}

TEST(EnterPageSteps, TheVibrationPageStopsOnlyARunningLeftMotorTestAndEndsItsDrags) {
    Context quiet;
    ASSERT_TRUE(quiet.Enter(3));
    EXPECT_EQ(quiet.Side.Steps, (Context::Steps{"before 3", "words", "store", "after 3"}));
    EXPECT_EQ(quiet.DraggingPower, 0);
    EXPECT_EQ(quiet.DraggingTime, 0);

    Context running;
    running.LeftRunMs = 300;
    ASSERT_TRUE(running.Enter(3));
    EXPECT_EQ(running.Side.Steps.front(), "stop");
    EXPECT_EQ(running.LeftRunMs, 0u);
}

TEST(EnterPageSteps, CommitAndRestoreOnlyStore) {
    Context c;
    c.LeftRunMs = 300;
    ASSERT_TRUE(c.Enter(-1));
    ASSERT_TRUE(c.Enter(-2));
    EXPECT_EQ(c.Side.Steps, (Context::Steps{"store", "store"}));
    EXPECT_EQ(std::memcmp(&c.Side.Stored[0], &c.Current, sizeof c.Current), 0);
    EXPECT_EQ(std::memcmp(&c.Side.Stored[1], &c.Saved, sizeof c.Saved), 0);
    EXPECT_EQ(c.LeftRunMs, 300u) << "a commit leaves a running motor test alone";
}

TEST(EnterPageSteps, AnUnknownCodeDoesNothing) {
    Context c;
    for (int code : {5, -3}) EXPECT_FALSE(c.Enter(code));
    EXPECT_TRUE(c.Side.Steps.empty());
}

}  // namespace
