#include <gtest/gtest.h>

#include <cstring>

#include "panel/RecordDefaults.h"
#include "panel/SheetPlacement.h"

namespace {

using pad::JoySettingRecord;
using namespace padpanel;

JoySettingRecord Scribbled() {
    JoySettingRecord r;
    std::memset(&r, 0xA5, sizeof r);
    return r;
}

TEST(DefaultRecord, AssignsButtonsInOrderWithoutTurboOrKeys) {
    JoySettingRecord r = Scribbled();
    BuildDefaultRecord(r, {});
    for (int i = 0; i < pad::kButtonCount; ++i) {
        EXPECT_EQ(r.ButtonMap[i], i + 1) << "physical button " << i + 1;
        EXPECT_EQ(r.TurboFlags[i], 0);
        EXPECT_EQ(r.KeyCodes[i], 0u);
    }
}

TEST(DefaultRecord, CentresXAndYAndTakesTheOtherAxesFromTheGivenWords) {
    JoySettingRecord r = Scribbled();
    BuildDefaultRecord(r, {0x11, 0x22, 0x010000FF});
    EXPECT_EQ(r.AxisCalibration[0], 0x7FFFu);
    EXPECT_EQ(r.AxisCalibration[1], 0x7FFFu);
    EXPECT_EQ(r.AxisCalibration[2], 0x11u);
    EXPECT_EQ(r.AxisCalibration[3], 0x22u);
    EXPECT_EQ(r.AxisCalibration[4], 0x010000FFu);
}

TEST(DefaultRecord, VibratesAtSixtyThreeManuallyAndClearsTheSpareFlag) {
    JoySettingRecord r = Scribbled();
    BuildDefaultRecord(r, {});
    EXPECT_EQ(r.Sensitivity, 0u);
    EXPECT_EQ(r.TimeCycle, 63u);
    EXPECT_EQ(r.MotorPower, 63u);
    EXPECT_EQ(r.AutoMode, 0u);
    EXPECT_EQ(r.SpareFlag, 0u);
}

TEST(TestVariant, DropsTurboKeysAndVibrationButKeepsTheUsersAssignmentAndCalibration) {
    JoySettingRecord r = Scribbled();
    r.ButtonMap[0] = 7;
    r.AxisCalibration[2] = 0x123456;
    r.Sensitivity = 2;
    r.SpareFlag = 0xDEADBEEF;
    r.AutoMode = 1;
    const JoySettingRecord before = r;
    ApplyTestVariant(r);
    for (int i = 0; i < pad::kButtonCount; ++i) {
        EXPECT_EQ(r.TurboFlags[i], 0);
        EXPECT_EQ(r.KeyCodes[i], 0u);
        EXPECT_EQ(r.ButtonMap[i], before.ButtonMap[i]);
    }
    EXPECT_EQ(0, std::memcmp(r.AxisCalibration, before.AxisCalibration, sizeof r.AxisCalibration));
    EXPECT_EQ(r.Sensitivity, 2u);
    EXPECT_EQ(r.SpareFlag, 0xDEADBEEFu);
    EXPECT_EQ(r.TimeCycle, 63u);
    EXPECT_EQ(r.MotorPower, 63u);
    EXPECT_EQ(r.AutoMode, 0u);
}

TEST(DecimalText, ReadsAsTheCLibraryDoes) {
    EXPECT_EQ(ParseDecimal("32767"), 32767);
    EXPECT_EQ(ParseDecimal("  \t-45x9"), -45);
    EXPECT_EQ(ParseDecimal("+12"), 12);
    EXPECT_EQ(ParseDecimal("abc"), 0);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("-"), 0);
    EXPECT_EQ(ParseDecimal(nullptr), 0);
}

TEST(DecimalText, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(ParseDecimal("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(ParseDecimal("-99999999999999999999"), INT32_MIN);
    EXPECT_EQ(ParseDecimal("-2147483648"), INT32_MIN);
}

TEST(DecimalText, StopsAtTheEndOfItsField) {
    const char text[] = "1234";
    EXPECT_EQ(ParseDecimal(text, text + 2), 12);
}

TEST(StoredValue, OnlyAWholeRecordOrAShorterPrefixIsTaken) {
    EXPECT_EQ(ClassifyStoredValue(112, 112), StoredValue::Whole);
    EXPECT_EQ(ClassifyStoredValue(40, 112), StoredValue::Leading);
    EXPECT_EQ(ClassifyStoredValue(1, 112), StoredValue::Leading);
    EXPECT_EQ(ClassifyStoredValue(113, 112), StoredValue::Absent);
    EXPECT_EQ(ClassifyStoredValue(0, 112), StoredValue::Absent);
    EXPECT_EQ(ClassifyStoredValue(-1, 112), StoredValue::Absent);
}

TEST(SheetPlacement, MovesATallSheetUpByHalfTheExcessAndLeavesAFittingOneAlone) {
    EXPECT_EQ(SheetTopOnScreen(100, 600, 500), 50);
    EXPECT_EQ(SheetTopOnScreen(100, 601, 500), 50);  // integer halves
    EXPECT_EQ(SheetTopOnScreen(100, 500, 500), 100);
    EXPECT_EQ(SheetTopOnScreen(100, 300, 500), 100);
}

}  // namespace
