// Every page, with its real artwork, in the states the page tests reach:
// what the screen shows inside the 500 x 400 artwork must match the
// reference pictures pixel for pixel. Each state is reached the way a user
// reaches it (pad moves, clicks), so what repaints leave on the screen is
// compared too, not only a full paint.
//
// PAD_PICTURES_RECORD=<folder> writes the pictures instead of comparing
// (scripts/record-page-pictures.sh keeps them as PNGs in the repository).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "PagePictures.h"
#include "SheetRig.h"
#include "hosts/cplhost/PanelRegistration.h"
#include "panel/pages/ButtonGrid.h"

namespace {

using namespace paneltest;

struct Scene {
    const char* Name;
    std::function<void(class PagePictures&)> Reach;
    bool Keys = false;  // the sheet opens on a record with remapped buttons and keys
};

class PagePictures : public SheetRig, public ::testing::WithParamInterface<Scene> {
public:
    void Axis(int index, LONG value) { pad_->Axes[index] = value; }
    void Button(int k, bool down) { pad_->Buttons[k - 1] = down ? 0x80 : 0; }
    void Hat(DWORD angle) { pad_->Pov[0] = angle; }
    void Page(int page) { Show(page); }
    void Click(int x, int y, bool settle = true) {
        host_.Click(x, y);
        if (settle) host_.Pump(30);
    }
    void ClickIndicator(int k) {
        const padpanel::Box b = padpanel::IndicatorBox(k);
        Click((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    }
    // Lets the page take in what the pad now says: a few polls of it, however
    // slow the machine, then every paint they asked for.
    void Settle() {
        const uint32_t reads = pad_->Counters.StateReads;
        host_.Pump(50);
        PumpUntil([&] { return pad_->Counters.StateReads - reads >= 3; }, 3000);
        PumpUntil([&] { return !::GetUpdateRect(host_.CurrentPage(), nullptr, FALSE); }, 1000);
    }
    // Keeps the page as it is now: its polling timer stops.
    void Freeze() { ::KillTimer(host_.CurrentPage(), 30); }

protected:
    void SetUp() override {
        SheetRig::SetUp();
        std::string error;
        ASSERT_TRUE(cplhost::InstallPanelData(DistPath("Zororo"), &error)) << error;
    }
};

pad::JoySettingRecord WithKeys() {
    pad::JoySettingRecord r = StagedDefaults();
    r.KeyCodes[0] = 0x04;          // A
    r.KeyCodes[1] = 0x0001001E;    // Ctrl + 1
    r.KeyCodes[2] = 0x00060028;    // Shift + Alt + Enter
    r.KeyCodes[5] = 0x0007002C;    // Ctrl + Shift + Alt + Space
    r.ButtonMap[3] = 6;            // button 4 gives 6's key
    r.ButtonMap[5] = 4;
    return r;
}

const Scene kScenes[] = {
    {"test_still", [](PagePictures&) {}},
    {"test_buttons_lit",
     [](PagePictures& s) {
         for (int k : {1, 3, 8, 12}) s.Button(k, true);
         s.Settle();
     }},
    {"test_turbo_rings",
     [](PagePictures& s) {
         s.Click(75, 35);  // Turbo
         s.ClickIndicator(1);
         s.ClickIndicator(10);
     }},
    {"test_hat_and_axes",
     [](PagePictures& s) {
         s.Hat(13500);
         s.Axis(2, 50000);  // Z
         s.Axis(5, 9000);   // rudder
         s.Settle();
     }},
    {"test_stick_corner",
     [](PagePictures& s) {
         s.Axis(0, 0);
         s.Axis(1, 0);
         s.Settle();
     }},
    {"test_stick_corner_to_corner",
     [](PagePictures& s) {
         s.Axis(0, 0);
         s.Axis(1, 0);
         s.Settle();
         s.Axis(0, 65535);
         s.Axis(1, 65535);
         s.Settle();
     }},
    {"test_sensitivity",
     [](PagePictures& s) {
         s.Click(290, 262);
         s.Settle();
     }},
    {"buttons_assigned",
     [](PagePictures& s) {
         s.Page(1);
         s.Settle();
     },
     true},
    {"keyboard_key_names",
     [](PagePictures& s) {
         s.Page(2);
         s.Settle();
     },
     true},
    {"vibration_manual",
     [](PagePictures& s) {
         s.Page(3);
         s.Click(330, 185);  // Manual
         s.Axis(0, 12000);
         s.Axis(1, 52000);
         s.Settle();
     }},
    {"vibration_auto",
     [](PagePictures& s) {
         s.Page(3);
         s.Click(420, 80);  // rhythm
         s.Click(240, 185, false);  // Auto, and not one tick of the demo after it
         s.Freeze();
     }},
    {"check_first",
     [](PagePictures& s) {
         s.Page(4);
         s.Settle();
     }},
    {"check_stick_step",
     [](PagePictures& s) {
         s.Page(4);
         s.Click(260, 150);  // Check
         s.Axis(0, 60000);
         s.Axis(1, 20000);
         s.Settle();
     }},
    {"check_z_step",
     [](PagePictures& s) {
         s.Page(4);
         s.Click(260, 150);
         s.Click(260, 150);  // Next
         s.Click(260, 250);  // Check: the Z axis
         s.Axis(2, 40000);
         s.Settle();
     }},
    {"about",
     [](PagePictures& s) {
         s.Page(5);
         s.Settle();
     }},
};

TEST_P(PagePictures, ThePageShowsExactlyItsReferencePicture) {
    const Scene& scene = GetParam();
    if (scene.Keys) WriteStored(WithKeys());
    Open();
    Settle();
    scene.Reach(*this);

    Dib shown(kArtWidth, kArtHeight);
    CaptureClient(host_.CurrentPage(), shown);
    if (const char* folder = std::getenv("PAD_PICTURES_RECORD")) {
        ASSERT_TRUE(WritePicture(std::string(folder) + "\\" + scene.Name + ".bmp", shown));
        return;
    }
    Picture expected;
    ASSERT_TRUE(ReadPicture(ReferencePath(scene.Name), expected)) << "no reference picture " << scene.Name;
    EXPECT_EQ(FirstDifference(expected, shown), "") << scene.Name;
}

INSTANTIATE_TEST_SUITE_P(Pages, PagePictures, ::testing::ValuesIn(kScenes),
                         [](const ::testing::TestParamInfo<Scene>& info) { return std::string(info.param.Name); });

}  // namespace

int main(int argc, char** argv) { return paneltest::RunSheetTests(argc, argv); }
