#include <gtest/gtest.h>

#include "panel/ModelNumber.h"

namespace {

using padpanel::kFallbackModelNumber;
using padpanel::ModelNumberFromTypeName;

unsigned Model(const char* name) { return ModelNumberFromTypeName(name, 260); }

TEST(ModelNumber, IsTheLowByteOfTheProductIdInTheTypeName) {
    EXPECT_EQ(Model("VID_7A3C&PID_A00F"), 15u);
    EXPECT_EQ(Model("VID_7A3C&PID_A016"), 22u);
    EXPECT_EQ(Model("VID_7A3C&PID_A02F"), 47u);
}

TEST(ModelNumber, ReadsUpperAndLowerCaseDigitsAlike) {
    EXPECT_EQ(Model("VID_7A3C&PID_A0ab"), 171u);
    EXPECT_EQ(Model("VID_7A3C&PID_A0AB"), 171u);
}

TEST(ModelNumber, FallsBackToThePadsOwnModelForNamesWithoutTwoDigits) {
    EXPECT_EQ(kFallbackModelNumber, 47u);
    EXPECT_EQ(Model("<< Error >>"), kFallbackModelNumber);
    EXPECT_EQ(Model(""), kFallbackModelNumber);
    EXPECT_EQ(Model("VID_7A3C&PID_A0"), kFallbackModelNumber);
    EXPECT_EQ(Model("VID_7A3C&PID_A0G1"), kFallbackModelNumber);
    EXPECT_EQ(Model("VID_7A3C&PID_A01 "), kFallbackModelNumber);
    EXPECT_EQ(ModelNumberFromTypeName(nullptr, 260), kFallbackModelNumber);
}

TEST(ModelNumber, NeverReadsPastTheGivenCapacity) {
    const char name[16] = {'V', 'I', 'D', '_', '7', 'A', '3', 'C', '&', 'P', 'I', 'D', '_', 'A', '0', '2'};
    EXPECT_EQ(ModelNumberFromTypeName(name, sizeof name), kFallbackModelNumber);
}

}  // namespace
