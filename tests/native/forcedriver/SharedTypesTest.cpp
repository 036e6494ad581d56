#include <gtest/gtest.h>

#include <cstring>

#include "common/JoySettingRecord.h"
#include "common/MotorReport.h"
#include "common/ProductIdentity.h"

namespace {

std::array<uint8_t, 4> Bytes(const pad::MotorReport& r) {
    std::array<uint8_t, 4> b;
    std::memcpy(b.data(), &r, 4);
    return b;
}

TEST(MotorReport, FullLevelOnMotorOneGivesValue31InByteOne) {
    EXPECT_EQ(Bytes(pad::MakeMotorReport(10000, 0)), (std::array<uint8_t, 4>{0x00, 0x1F, 0x00, 0x00}));
}

TEST(MotorReport, ValueStepsUpEvery435LevelUnits) {
    EXPECT_EQ(Bytes(pad::MakeMotorReport(434, 435)), (std::array<uint8_t, 4>{0x00, 0x08, 0x09, 0x00}));
    EXPECT_EQ(Bytes(pad::MakeMotorReport(1, 0)), (std::array<uint8_t, 4>{0x00, 0x08, 0x00, 0x00}));
    EXPECT_EQ(Bytes(pad::MakeMotorReport(0, 0)), (std::array<uint8_t, 4>{0x00, 0x00, 0x00, 0x00}));
}

TEST(MotorReport, NoLevelEverGivesAValueBetweenOneAndSeven) {
    for (int32_t level = 0; level <= 10000; ++level) {
        const uint8_t v = pad::MotorValueFromLevel(level);
        ASSERT_TRUE(v == 0 || (v >= 8 && v <= 31)) << "level " << level << " gave " << int(v);
    }
}

TEST(SettingsRecord, VibrationFieldsSitWhereTheDriverReadsThem) {
    uint8_t bytes[pad::kSettingsRecordSize] = {};
    bytes[96] = 170;  // TimeCycle
    bytes[100] = 63;  // MotorPower
    bytes[104] = 1;   // AutoMode
    pad::JoySettingRecord r;
    std::memcpy(&r, bytes, sizeof r);
    EXPECT_EQ(r.TimeCycle, 170u);
    EXPECT_EQ(r.MotorPower, 63u);
    EXPECT_EQ(r.AutoMode, 1u);
}

TEST(ModelNumber, IsTheLowByteOfTheProductId) {
    EXPECT_EQ(pad::ModelNumberFromProductId(0xA02F), 47u);
    EXPECT_EQ(pad::ModelNumberFromProductId(0xA012), 18u);
}

}  // namespace
