#include <gtest/gtest.h>

#include "panel/DeviceLossRule.h"

namespace {

using padpanel::DeviceLossCounter;

// Fails every `period` ms from `start`; returns the index of the failed poll
// that declared the loss, or -1.
int FailEvery(DeviceLossCounter& c, uint32_t start, uint32_t period, int polls) {
    for (int i = 0; i < polls; ++i)
        if (c.OnFailedPoll(start + static_cast<uint32_t>(i) * period)) return i;
    return -1;
}

TEST(DeviceLoss, OnTheHalfSecondPageTheFifthFailureAboutTwoSecondsInClosesTheSheet) {
    DeviceLossCounter c;
    EXPECT_EQ(FailEvery(c, 1000, 500, 10), 4);
}

TEST(DeviceLoss, OnATenMillisecondPageTheFourthFailureAfterHalfASecondDeclaresTheLoss) {
    DeviceLossCounter c;
    // Failures 0..49 lie within 500 ms; 50, 51, 52 count up; 53 declares.
    EXPECT_EQ(FailEvery(c, 5000, 10, 100), 53);
}

TEST(DeviceLoss, AGoodPollBetweenFailuresClearsBothCounters) {
    DeviceLossCounter c;
    EXPECT_FALSE(c.OnFailedPoll(100));
    EXPECT_EQ(c.FirstFailureMs(), 100u);
    c.OnGoodPoll();
    EXPECT_EQ(c.FailureCount(), 0u);
    EXPECT_EQ(c.FirstFailureMs(), 0u);
    EXPECT_EQ(FailEvery(c, 2000, 500, 4), -1) << "the run starts again from the first failure after the good poll";
}

TEST(DeviceLoss, CountsAcrossTheWrapOfTheTickCounter) {
    DeviceLossCounter c;
    EXPECT_EQ(FailEvery(c, 0xFFFFFF00u, 500, 10), 4);
}

TEST(DeviceLoss, ARunStartingAtTickZeroIsStillPending) {
    DeviceLossCounter c;
    EXPECT_FALSE(c.OnFailedPoll(0));
    EXPECT_NE(c.FirstFailureMs(), 0u);
}

TEST(DeviceLoss, AfterALossTheNextRunWaitsAnotherHalfSecond) {
    DeviceLossCounter c;
    ASSERT_EQ(FailEvery(c, 1000, 500, 10), 4);  // declared at 3000
    EXPECT_FALSE(c.OnFailedPoll(3100));
}

}  // namespace
