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
#include <initializer_list>
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
    PagePictures& Axis(int index, LONG value) {
        pad_->Axes[index] = value;
        return *this;
    }
    PagePictures& Stick(LONG x, LONG y) { return Axis(0, x).Axis(1, y).Settle(); }
    PagePictures& Buttons(std::initializer_list<int> pressed) {
        for (int k : pressed) pad_->Buttons[k - 1] = 0x80;
        return *this;
    }
    PagePictures& Hat(DWORD angle) {
        pad_->Pov[0] = angle;
        return *this;
    }
    PagePictures& Page(int page) {
        Show(page);
        return *this;
    }
    PagePictures& Click(int x, int y) {
        host_.Click(x, y);
        host_.Pump(30);
        return *this;
    }
    PagePictures& Indicator(int k) {
        const padpanel::Box b = padpanel::IndicatorBox(k);
        return Click((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    }
    // The click, then the page as it is at once: its polling timer stops.
    void ClickAndFreeze(int x, int y) {
        host_.Click(x, y);
        ::KillTimer(host_.CurrentPage(), 30);
        frozen_ = true;
    }
    // Lets the page take in what the pad now says: a few polls of it, however
    // slow the machine, then every paint they asked for.
    PagePictures& Settle() {
        const uint32_t reads = pad_->Counters.StateReads;
        host_.Pump(50);
        PumpUntil([&] { return pad_->Counters.StateReads - reads >= 3; }, 3000);
        PumpUntil([&] { return !::GetUpdateRect(host_.CurrentPage(), nullptr, FALSE); }, 1000);
        return *this;
    }

protected:
    void SetUp() override {
        SheetRig::SetUp();
        std::string error;
        ASSERT_TRUE(cplhost::InstallPanelData(DistPath("Zororo"), &error)) << error;
    }
    bool frozen_ = false;
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

// Each scene ends with the page settled, unless it froze the page.
const Scene kScenes[] = {
    {"test_still", [](PagePictures&) {}},
    {"test_buttons_lit", [](PagePictures& s) { s.Buttons({1, 3, 8, 12}); }},
    {"test_turbo_rings", [](PagePictures& s) { s.Click(75, 35).Indicator(1).Indicator(10); }},  // Turbo on 1 and 10
    {"test_hat_and_axes", [](PagePictures& s) { s.Hat(13500).Axis(2, 50000).Axis(5, 9000); }},  // Z and rudder
    {"test_stick_corner", [](PagePictures& s) { s.Stick(0, 0); }},
    {"test_stick_corner_to_corner", [](PagePictures& s) { s.Stick(0, 0).Stick(65535, 65535); }},
    {"test_sensitivity", [](PagePictures& s) { s.Click(290, 262); }},
    {"buttons_assigned", [](PagePictures& s) { s.Page(1); }, true},
    {"keyboard_key_names", [](PagePictures& s) { s.Page(2); }, true},
    {"vibration_manual", [](PagePictures& s) { s.Page(3).Click(330, 185).Stick(12000, 52000); }},  // Manual
    // The rhythm set, then Auto, and not one tick of the demo after it.
    {"vibration_auto", [](PagePictures& s) { s.Page(3).Click(420, 80).ClickAndFreeze(240, 185); }},
    {"check_first", [](PagePictures& s) { s.Page(4); }},
    {"check_stick_step", [](PagePictures& s) { s.Page(4).Click(260, 150).Stick(60000, 20000); }},  // Check
    // Check, Next, then Check of the Z axis.
    {"check_z_step", [](PagePictures& s) { s.Page(4).Click(260, 150).Click(260, 150).Click(260, 250).Axis(2, 40000); }},
    {"about", [](PagePictures& s) { s.Page(5); }},
};

TEST_P(PagePictures, ThePageShowsExactlyItsReferencePicture) {
    const Scene& scene = GetParam();
    if (scene.Keys) WriteStored(WithKeys());
    Open();
    Settle();
    scene.Reach(*this);
    if (!frozen_) Settle();

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
