#include <gtest/gtest.h>

#include <cstring>

#include "panel/pages/EnterPageTable.h"

namespace {

using pad::JoySettingRecord;
using namespace padpanel;

struct Records {
    JoySettingRecord Current{};
    JoySettingRecord Saved{};
    DefaultAxisWords Words{0x100, 0x200, 0x300};
    Records() {
        BuildDefaultRecord(Current, Words);
        Current.TurboFlags[3] = 1;
        Current.KeyCodes[0] = 0x10004;
        Current.MotorPower = 200;
        Current.TimeCycle = 9;
        Current.ButtonMap[0] = 5;
        Current.SpareFlag = 77;
        Saved = Current;
        Saved.MotorPower = 120;
    }
    JoySettingRecord Enter(int code) {
        JoySettingRecord out;
        EXPECT_TRUE(PrepareEnterPageRecord(code, Current, Saved, Words, out)) << "code " << code;
        return out;
    }
};

bool Same(const JoySettingRecord& a, const JoySettingRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(EnterPage, TheTestPageStoresTheTestVariantOfTheCurrentRecord) {
    Records r;
    const JoySettingRecord out = r.Enter(0);
    JoySettingRecord expected = r.Current;
    ApplyTestVariant(expected);
    EXPECT_TRUE(Same(out, expected));
    EXPECT_EQ(out.ButtonMap[0], 5);
    EXPECT_EQ(r.Current.TurboFlags[3], 1) << "the current record itself is untouched";
}

TEST(EnterPage, TheOtherPagesStoreFreshDefaultsWithoutTheSpareFlag) {
    for (int code = 1; code <= 4; ++code) {
        Records r;
        JoySettingRecord expected;
        BuildDefaultRecord(expected, r.Words);
        EXPECT_TRUE(Same(r.Enter(code), expected)) << "code " << code;
        EXPECT_EQ(r.Enter(code).SpareFlag, 0u);
    }
}

TEST(EnterPage, CommitStoresCurrentAndRestoreStoresSaved) {
    Records r;
    EXPECT_TRUE(Same(r.Enter(kCommitCurrent), r.Current));
    EXPECT_TRUE(Same(r.Enter(kRestoreSaved), r.Saved));
}

TEST(EnterPage, TheVibrationPageRaisesAStrengthBelowTwoToTwo) {
    for (uint32_t power : {0u, 1u}) {
        Records r;
        r.Current.MotorPower = power;
        r.Enter(3);
        EXPECT_EQ(r.Current.MotorPower, 2u) << "from " << power;
    }
    Records r;
    r.Current.MotorPower = 0;
    r.Enter(1);
    EXPECT_EQ(r.Current.MotorPower, 0u) << "only the vibration page changes it";
}

TEST(EnterPage, UnknownCodesStoreNothing) {
    Records r;
    JoySettingRecord out;
    StoredRecord which;
    for (int code : {5, 6, -3, 99}) {
        EXPECT_FALSE(RecordForPageCode(code, which)) << code;
        EXPECT_FALSE(PrepareEnterPageRecord(code, r.Current, r.Saved, r.Words, out)) << code;
    }
}

}  // namespace
