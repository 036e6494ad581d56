// The button assignment and keyboard mapping pages at work in the
// control-panel host: a user's real key presses in the key prompt, pad
// buttons assigned, key names read from the page's pixels, and profile files
// saved and loaded through the common dialogs, typed into as a user would.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "PageArt.h"
#include "SheetRig.h"
#include "StoreWriteLog.h"
#include "UserInput.h"
#include "common/win/UniqueResource.h"
#include "hosts/dihost/ImportPatch.h"
#include "panel/controls/ControlRects.h"
#include "panel/pages/ButtonGrid.h"

namespace {

using namespace paneltest;

constexpr char kProfileTitle[] = "Game pad settings";  // Setup.ini "OpenFileTitle"

// Writes of a whole record fail part way, as on a full disk, while armed.
bool g_failRecordWrites = false;
decltype(&::WriteFile) g_writeFile = nullptr;
BOOL WINAPI DiskFullForRecords(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    if (!g_failRecordWrites || size != sizeof(pad::JoySettingRecord))
        return g_writeFile(file, data, size, written, overlapped);
    g_writeFile(file, data, 50, written, overlapped);
    ::SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

std::string Profile(const std::string& name) { return SystemPath("GameSave\\" + name); }

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

int FilesIn(const std::string& pattern) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int n = 0;
    do ++n;
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return n;
}

POINT Centre(const padpanel::Box& b) { return POINT{(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2}; }

class ButtonPages : public SheetRig {
protected:
    void SetUp() override {
        SheetRig::SetUp();
        InstallPageArt();
        ::CreateDirectoryA(SystemPath("GameSave").c_str(), nullptr);
        std::string error;
        ASSERT_TRUE(log_.Attach(DistPath("padpanel.dll"), &error)) << error;  // also keeps the module loaded
        ASSERT_TRUE(writes_.Apply(::GetModuleHandleA("padpanel.dll"), "kernel32.dll", "WriteFile",
                                  reinterpret_cast<void*>(&DiskFullForRecords), &error))
            << error;
        g_writeFile = reinterpret_cast<decltype(g_writeFile)>(writes_.Original());
    }
    void TearDown() override {
        g_failRecordWrites = false;
        SheetRig::TearDown();
        writes_.Restore();
        log_.Detach();
    }
    // Clicks set button j of the current page while a user types into the prompt.
    bool PromptKeys(int j, std::vector<KeyStroke> keys) {
        User user("Dialog", std::move(keys));
        const POINT c = Centre(padpanel::SetButtonBox(j));
        host_.Click(c.x + 2, c.y);
        return user.Done();
    }
    // Clicks Load or Save while a user types a file name and presses Enter.
    bool ProfileDialog(bool save, const std::string& name) {
        std::vector<KeyStroke> keys = Typing(name);
        keys.push_back({VK_RETURN, true});
        keys.push_back({VK_RETURN, false});
        User user(kProfileTitle, keys);
        host_.Click(save ? 350 : 250, 370);
        return user.Done();
    }
    pad::JoySettingRecord Applied() {
        Show(5);  // the about page stores nothing of its own
        host_.Apply();
        pad::JoySettingRecord r{};
        EXPECT_TRUE(ReadStored(r));
        return r;
    }

    StoreWriteLog log_;
    padhost::ImportPatch writes_;
};

TEST_F(ButtonPages, ThePromptHearsEveryKeyAndEnterStoresTheLastWithItsHeldModifiers) {
    Open();
    Show(2);
    ASSERT_TRUE(PromptKeys(1, {{VK_TAB, true}, {VK_TAB, false}, {VK_LEFT, true}, {VK_LEFT, false}, {VK_F10, true},
                               {VK_F10, false}, {VK_CONTROL, true}, {'A', true}, {'A', false}, {VK_RETURN, true},
                               {VK_RETURN, false}, {VK_CONTROL, false}}));
    EXPECT_EQ(Applied().KeyCodes[0], 0x10004u) << "Ctrl+A, not Return";
    Show(2);
    // Alt and Tab are captured, the prompt stays open; Escape ends it and changes nothing.
    ASSERT_TRUE(PromptKeys(1, Taps({VK_MENU, VK_TAB, VK_ESCAPE})));
    EXPECT_EQ(Applied().KeyCodes[0], 0x10004u);
}

TEST_F(ButtonPages, TwoButtonsOfOneLogicalButtonShowOneKeyNameAndANewKeyChangesBoth) {
    pad::JoySettingRecord r = StagedDefaults();
    r.ButtonMap[7] = 3;  // physical 8 reports logical 3, as physical 3 does
    r.KeyCodes[2] = 0x10004;
    WriteStored(r);
    Open();
    Show(2);
    // The key names' rectangles of physical 3 and 8 ("Keyboard2", "Keyboard7"),
    // right of where a remapped button's picture shows.
    auto names = [&] {
        Dib page(500, 400);
        CaptureClient(host_.CurrentPage(), page);
        std::vector<COLORREF> a, b;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 74; ++x) a.push_back(page.At(158 + x, 170 + y)), b.push_back(page.At(381 + x, 123 + y));
        return std::make_pair(a, b);
    };
    const auto before = names();
    EXPECT_EQ(before.first, before.second);
    EXPECT_NE(std::count(before.first.begin(), before.first.end(), kPageColour), static_cast<long>(before.first.size()))
        << "a name is drawn";
    ASSERT_TRUE(PromptKeys(8, Taps({'B', VK_RETURN})));
    host_.Pump(50);
    const auto after = names();
    EXPECT_EQ(after.first, after.second) << "both show the new key";
    EXPECT_NE(after.first, before.first);
}

TEST_F(ButtonPages, APadButtonPressedAfterASetButtonIsStoredInTheMap) {
    Open();
    Show(1);
    const POINT c = Centre(padpanel::SetButtonBox(2));
    host_.Click(c.x + 4, c.y);
    pad_->Buttons[4] = 0x80;
    host_.Pump(250);
    pad_->Buttons[4] = 0;
    EXPECT_EQ(Applied().ButtonMap[1], 5);
}

TEST_F(ButtonPages, AProfileSavedAndLoadedRestoresEveryByteAndALoadStoresCurrentThenTheDefaults) {
    const pad::JoySettingRecord user = UserRecord();
    WriteStored(user);
    ::DeleteFileA(Profile("game1.sav").c_str());
    Open();
    Show(1);
    ASSERT_TRUE(ProfileDialog(true, "game1.sav"));
    EXPECT_EQ(FileBytes(Profile("game1.sav")).size(), 112u);
    host_.Click(150, 370);  // Initial: the map is changed
    const size_t mark = log_.Mark();
    ASSERT_TRUE(ProfileDialog(false, "game1.sav"));
    const std::vector<pad::JoySettingRecord> writes = log_.Since(mark);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_RECORD_EQ(user, writes[0]);
    EXPECT_RECORD_EQ(StagedDefaults(), writes[1]);
    EXPECT_RECORD_EQ(user, Applied()) << "every byte, SpareFlag too";
}

TEST_F(ButtonPages, AFailedSaveKeepsTheEarlierProfileAndLeavesNoFileBehind) {
    const std::vector<uint8_t> earlier(112, 0x5A);
    ASSERT_TRUE(WriteFileBytes(Profile("other-game.sav"), earlier));
    ::DeleteFileA(Profile("new-game.sav").c_str());
    WriteStored(UserRecord());
    Open();
    Show(2);
    g_failRecordWrites = true;
    ASSERT_TRUE(ProfileDialog(true, "other-game.sav"));
    ASSERT_TRUE(ProfileDialog(true, "new-game.sav"));
    g_failRecordWrites = false;
    EXPECT_EQ(FileBytes(Profile("other-game.sav")), earlier) << "the other game's settings are intact";
    EXPECT_EQ(::GetFileAttributesA(Profile("new-game.sav").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(FilesIn(Profile("*.tmp")), 0) << "no temporary file is left";
    ASSERT_EQ(host_.Boxes().size(), 2u);
    EXPECT_EQ(host_.Boxes()[0].Text, "The settings file could not be written.");
    // Saved over a longer file, the record replaces its first 112 bytes only.
    std::vector<uint8_t> longer(150, 0x33);
    ASSERT_TRUE(WriteFileBytes(Profile("other-game.sav"), longer));
    ASSERT_TRUE(ProfileDialog(true, "other-game.sav"));
    const std::vector<uint8_t> saved = FileBytes(Profile("other-game.sav"));
    ASSERT_EQ(saved.size(), 150u);
    const pad::JoySettingRecord user = UserRecord();
    EXPECT_EQ(std::memcmp(saved.data(), &user, 112), 0);
    EXPECT_EQ(saved[112], 0x33);
}

TEST_F(ButtonPages, ProfilesOfAnyLengthLoadTheirFirstRecordOrChangeNothing) {
    WriteStored(UserRecord());
    Open();
    Show(2);
    struct Case {
        size_t Size;
        bool Loads;
    };
    for (const Case c : {Case{0, false}, Case{111, false}, Case{112, true}, Case{113, true}, Case{10000, true}}) {
        SCOPED_TRACE(std::to_string(c.Size) + " bytes");
        std::vector<uint8_t> bytes(c.Size);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + c.Size);
        const std::string name = "size" + std::to_string(c.Size) + ".sav";
        ASSERT_TRUE(WriteFileBytes(Profile(name), bytes));
        const size_t boxes = host_.Boxes().size(), mark = log_.Mark();
        ASSERT_TRUE(ProfileDialog(false, name));
        EXPECT_EQ(host_.Boxes().size(), boxes + (c.Loads ? 0 : 1)) << "the open error";
        EXPECT_EQ(log_.Since(mark).size(), c.Loads ? 2u : 0u);
        if (c.Loads) {
            EXPECT_EQ(std::memcmp(&log_.Since(mark)[0], bytes.data(), 112), 0);
        }
    }
    for (int page : {1, 2, 0}) Show(page);  // a record of any content draws and ticks
    host_.Pump(100);
    EXPECT_TRUE(host_.IsOpen());
}

TEST_F(ButtonPages, MapEntriesOutsideOneToTwelveDrawNoPicture) {
    pad::JoySettingRecord r = StagedDefaults();
    r.ButtonMap[0] = 0;
    r.ButtonMap[1] = 200;
    r.ButtonMap[2] = 4;
    r.KeyCodes[3] = 0xFFFFFFFF;
    WriteStored(r);
    Open();
    Show(1);
    const POINT first = Centre(padpanel::SetButtonBox(1)), second = Centre(padpanel::SetButtonBox(2)),
                third = Centre(padpanel::SetButtonBox(3));
    EXPECT_EQ(PagePixel(first.x + 144, first.y), kPageColour);
    EXPECT_EQ(PagePixel(second.x + 144, second.y), kPageColour);
    EXPECT_EQ(PagePixel(third.x + 144, third.y), LitButton(4)) << "physical 3 shows logical 4's picture";
    Show(2);
    host_.Pump(50);
    EXPECT_TRUE(host_.IsOpen());
}

}  // namespace

int main(int argc, char** argv) { return paneltest::RunSheetTests(argc, argv); }
