#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/HardwareIdList.h"
#include "setup/SetupIdentity.h"

namespace {

using padsetup::HardwareIdListHolds;
using padsetup::kPadHardwareId;

// A multi-string from its entries: each with its NUL, then the closing NUL.
std::string List(std::initializer_list<const char*> entries) {
    std::string list;
    for (const char* e : entries) {
        list += e;
        list.push_back('\0');
    }
    list.push_back('\0');
    return list;
}

bool Holds(const std::string& list) {
    return HardwareIdListHolds(list.data(), list.size(), list.size(), kPadHardwareId);
}

TEST(HardwareIdWalk, FindsThePlainIdInAnyMixOfCases) {
    EXPECT_TRUE(Holds(List({"hid\\vid_7a3c&pid_a02f"})));
    EXPECT_TRUE(Holds(List({"HID\\VID_7A3C&PID_A02F"})));
    EXPECT_TRUE(Holds(List({"Hid\\Vid_7a3C&pID_A02f"})));
}

TEST(HardwareIdWalk, DoesNotTakeAnIdWithARevisionSuffixOrAPrefixOfThePadsId) {
    EXPECT_FALSE(Holds(List({"HID\\VID_7A3C&PID_A02F&REV_0100"})));
    EXPECT_FALSE(Holds(List({"HID\\VID_7A3C&PID_A02"})));
    EXPECT_FALSE(Holds(List({"HID\\VID_7A3C&PID_A02E"})));
    EXPECT_FALSE(Holds(List({"USB\\VID_7A3C&PID_A02F"})));
}

TEST(HardwareIdWalk, FindsThePadInALaterEntryWhenTheFirstIsAnother) {
    EXPECT_TRUE(Holds(List({"HID\\VID_7A3C&PID_A02F&REV_0100", "HID\\VID_7A3C&PID_A02F"})));
    EXPECT_TRUE(Holds(List({"a", "bb", "HID_DEVICE_SYSTEM_GAME", "hid\\vid_7a3c&pid_a02f"})));
}

TEST(HardwareIdWalk, FindsNothingInAnEmptyList) {
    EXPECT_FALSE(Holds(std::string(1, '\0')));
    EXPECT_FALSE(Holds(std::string(2, '\0')));
    EXPECT_FALSE(HardwareIdListHolds("", 0, 0, kPadHardwareId));
    EXPECT_FALSE(HardwareIdListHolds(nullptr, 100, 100, kPadHardwareId));
}

TEST(HardwareIdWalk, StopsAtTheFirstEmptyEntry) {
    // An empty entry closes the list; what follows it is not an id.
    EXPECT_FALSE(Holds(List({"a", "", "hid\\vid_7a3c&pid_a02f"})));
}

TEST(HardwareIdWalk, ReadsAListWithoutItsFinalNulToItsEnd) {
    const std::string noClosingNul = std::string("other") + '\0' + "HID\\VID_7A3C&PID_A02F" + '\0';
    EXPECT_TRUE(Holds(noClosingNul));
    // The data ends with the id itself, without even its own NUL.
    const std::string bare = std::string("other") + '\0' + "HID\\VID_7A3C&PID_A02F";
    EXPECT_TRUE(Holds(bare));
}

TEST(HardwareIdWalk, WalksOnlyTheSizeTheReadReturned) {
    // Stale bytes past the returned size are left over from an earlier node.
    std::string buffer = List({"other"}) + List({"HID\\VID_7A3C&PID_A02F"});
    const size_t returned = List({"other"}).size();
    EXPECT_FALSE(HardwareIdListHolds(buffer.data(), buffer.size(), returned, kPadHardwareId));
    // A returned size that ends inside the id cuts the entry short of a match.
    const std::string list = List({"HID\\VID_7A3C&PID_A02F"});
    EXPECT_FALSE(HardwareIdListHolds(list.data(), list.size(), 10, kPadHardwareId));
}

TEST(HardwareIdWalk, FindsThePadInAListThatFillsTheBufferExactly) {
    // Short ids, then the pad's id whose NUL is the buffer's last byte.
    std::string list;
    while (list.size() + 22 + 1 < padsetup::kHardwareIdBufferSize) list += std::string("X") + '\0';
    list += "HID\\VID_7A3C&PID_A02F";
    list.push_back('\0');
    list.resize(padsetup::kHardwareIdBufferSize, '\0');
    ASSERT_EQ(list.size(), padsetup::kHardwareIdBufferSize);
    EXPECT_TRUE(HardwareIdListHolds(list.data(), list.size(), list.size(), kPadHardwareId));
}

TEST(HardwareIdWalk, NeverReadsPastTheBufferWhenTheListDidNotFit) {
    // The read reported more than the buffer holds: the entry cut at the
    // buffer's end is a prefix of a longer id and must not match. The buffer
    // is a vector of exactly its capacity, so a read past it is caught by the
    // sanitizer build.
    const std::string head = List({"first"}).substr(0, 6);
    std::vector<char> buffer(head.begin(), head.end());
    const std::string cut = "HID\\VID_7A3C&PID_A02F";  // of "...&REV_0100"
    buffer.insert(buffer.end(), cut.begin(), cut.end());
    EXPECT_FALSE(HardwareIdListHolds(buffer.data(), buffer.size(), buffer.size() + 100, kPadHardwareId));

    // An id that ends inside the buffer still counts, however long the rest.
    std::vector<char> whole(head.begin(), head.end());
    whole.insert(whole.end(), cut.begin(), cut.end());
    whole.push_back('\0');
    whole.push_back('Y');
    EXPECT_TRUE(HardwareIdListHolds(whole.data(), whole.size(), whole.size() + 100, kPadHardwareId));
}

}  // namespace
