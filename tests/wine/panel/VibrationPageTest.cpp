// The vibration and check pages at work in the control-panel host: the
// reports the simulated pad receives from the page's own motor tests, the
// calibration wizard walked with clicks and pad states, and the user's
// vibration settings reaching a game through the force-feedback driver.
#include <windows.h>

#include <string>
#include <vector>

#include "PageArt.h"
#include "SheetRig.h"
#include "hosts/dihost/BuiltEffect.h"
#include "tests/wine/forcedriver/DriverUnderTest.h"
#include "tests/wine/forcedriver/PadWatch.h"
#include "tools/simpad/SimPad.h"

namespace fftest {
const std::string& DriverPath() {
    static const std::string path = paneltest::DistPath("padforce.dll");
    return path;
}
}  // namespace fftest

namespace {

using namespace paneltest;

class PadPages : public SheetRig {
protected:
    void SetUp() override {
        SheetRig::SetUp();
        InstallPageArt();
        lstrcpynA(pad_->ReportPath, motors_.Path().c_str(), padstate::kPathCapacity);
    }
    // The reports since the last call, as "00 0F 00 00" texts, once at least
    // `expected` have arrived and the pad has been quiet for a while.
    std::vector<std::string> Sent(size_t expected = 0) {
        motors_.WaitForReports(expected, 2000);
        motors_.WaitForQuiet(60, 2000);
        std::vector<std::string> out;
        for (const simpad::PadReport& r : motors_.Reports()) out.push_back(fftest::Hex(r));
        motors_.Clear();
        return out;
    }
    void Stick(int32_t x, int32_t y) {
        pad_->Axes[0] = x;
        pad_->Axes[1] = y;
    }

    simpad::SimPad motors_;
};

const std::string kOff = "00 00 00 00";

TEST_F(PadPages, TheVibrationPagesButtonsSendTheirReports) {
    Open();
    Show(3);
    Sent();
    host_.Click(150, 185);  // Initial
    EXPECT_EQ(Sent(2), (std::vector<std::string>{kOff, kOff})) << "an all-off report, written twice";
    host_.Click(330, 185);  // Manual
    EXPECT_EQ(Sent(2), (std::vector<std::string>{kOff, kOff}));
    host_.Click(80, 300);  // the left motor at Initial's strength 189: 189 x 21 / 255 + 10
    const double start = motors_.NowMs();
    EXPECT_EQ(Sent(1), std::vector<std::string>{"00 19 00 00"});
    ASSERT_TRUE(PumpUntil([&] { return motors_.ReportCount() >= 2; }, 3000)) << "the pulse ends by itself";
    const double lasted = motors_.Reports()[0].Ms() - start;
    EXPECT_EQ(Sent(2), (std::vector<std::string>{kOff, kOff}));
    EXPECT_GT(lasted, 600.0) << "63 x 1000 / 255 + 500 = 747 ms";
    EXPECT_LT(lasted, 1500.0);

    Stick(65535, 32767);  // far right: the left motor at full
    PumpUntil([&] { return motors_.ReportCount() >= 3; }, 2000);
    const std::vector<std::string> driven = Sent(3);
    ASSERT_GE(driven.size(), 3u) << "a report on every tick while the stick is out";
    EXPECT_EQ(driven.front(), "00 1F 00 00");
    Stick(32767, 0);  // up: the right motor, (101 - 0) x 5 / 2 = 252 of 255
    host_.Pump(60);
    EXPECT_EQ(Sent(1).back(), "00 00 1E 00");
    Stick(32767, 32767);
    host_.Pump(60);
    EXPECT_EQ(Sent(2), (std::vector<std::string>{kOff, kOff})) << "back in the dead zone: one stop";
}

TEST_F(PadPages, TheAutomaticDemoPausesThenVibratesBothMotorsAlike) {
    Open();
    Show(3);
    Sent();
    host_.Click(240, 185);  // Auto
    const double clicked = motors_.NowMs();
    host_.Pump(100);
    EXPECT_TRUE(Sent().empty()) << "a pause first";
    ASSERT_TRUE(PumpUntil([&] { return motors_.ReportCount() >= 1; }, 4000));
    EXPECT_GT(motors_.Reports()[0].Ms() - clicked, 250.0);
    const simpad::PadReport on = motors_.Reports()[0];
    EXPECT_EQ(on.Motor1(), on.Motor2());
    EXPECT_GE(on.Motor1(), 10) << "the constant level of a random strength";
    ASSERT_TRUE(PumpUntil([&] { return motors_.ReportCount() >= 3; }, 3000)) << "then a pause again";
    EXPECT_TRUE(motors_.Reports()[1].IsAllOff() && motors_.Reports()[2].IsAllOff());
    const double vibrated = motors_.Reports()[1].Ms() - on.Ms();
    EXPECT_GT(vibrated, 450.0);
    EXPECT_LT(vibrated, 1700.0);
    Show(0);
    host_.Pump(50);
    EXPECT_EQ(Sent(1).back(), kOff) << "leaving the page stops the motors";
}

TEST_F(PadPages, AStrengthClickAtTheBarsLeftEdgeStoresTwoAndAnUnpluggedPadKeepsThePageSilent) {
    Open();
    Show(3);
    host_.Click(79, 230);
    Show(5);
    host_.Apply();
    pad::JoySettingRecord stored{};
    ASSERT_TRUE(ReadStored(stored));
    EXPECT_EQ(stored.MotorPower, 2u);
    Show(3);
    Sent();
    motors_.Unplug();
    host_.Click(330, 185);
    host_.Click(80, 300);
    Stick(65535, 0);
    host_.Pump(100);
    EXPECT_TRUE(host_.IsOpen()) << "the page works on without its pad";
    EXPECT_EQ(motors_.ReportCount(), 0u);
}

TEST_F(PadPages, TheRecordsVibrationReachesAGameThroughTheDriver) {
    Open();
    Show(3);
    host_.Click(194, 230);  // strength (194 - 79) x 255 / 344 = 85
    host_.Click(194, 80);   // rhythm (194 - 75) x 255 / 356 = 85
    Show(5);
    host_.Apply();
    host_.Close();
    pad::JoySettingRecord stored{};
    ASSERT_TRUE(ReadStored(stored));
    ASSERT_EQ(stored.MotorPower, 85u);
    ASSERT_EQ(stored.TimeCycle, 85u);

    fftest::Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* game = rig.Bind(0);
    ASSERT_TRUE(game);
    padhost::BuiltEffect constant(padhost::EffectShape::Constant(10000, padhost::kInfinite).WithPolar(0));
    const DWORD handle = rig.Download(0, constant);
    const int at = fftest::WaitForDriven(*game, 3000);
    ASSERT_GE(at, 0);
    EXPECT_EQ(game->Reports()[at].Motor1(), 0x15) << "a full force at strength 85";
    rig.Driver()->DestroyEffect(0, handle);
    ASSERT_TRUE(game->WaitForQuiet(100, 2000));
    game->Clear();
    padhost::BuiltEffect square(
        padhost::EffectShape::Periodic(padhost::kSquare, 10000, 100000, padhost::kInfinite).WithPolar(0));
    rig.Download(0, square);
    fftest::WaitUntil([&] { return fftest::Motor1Edges(game->Reports()).size() >= 20; }, 4000);
    EXPECT_NEAR(fftest::MeanCycle(fftest::Motor1Edges(game->Reports())), 66.7, 6.0)
        << "a 100 ms period at rhythm 85 plays two thirds as long";
    EXPECT_EQ(rig.Release(), 0u);
}

TEST_F(PadPages, TheCheckWizardStoresTheWordsItsCapturesGive) {
    Open();
    Show(4);
    auto settle = [&] { host_.Pump(60); };
    host_.Click(260, 150);  // Check: the stick's step
    Stick(30000, 32767);    // at rest, a little off centre: centre 117, 128
    settle();
    for (auto [x, y] : {std::pair{0, 32767}, {65535, 32767}, {32767, 2560}, {32767, 60000}}) {
        Stick(x, y);
        settle();
    }
    Stick(32767, 32767);
    host_.Click(260, 150);  // Next
    EXPECT_EQ(PagePixel(260, 250), kCheckColour) << "step 2 shows its Check button 100 pixels down";
    EXPECT_EQ(PagePixel(260, 150), kPageColour) << "and nothing where the Next button stood";
    host_.Click(260, 250);  // Check, 100 pixels down: the Z axis
    pad_->Axes[2] = 4096;   // the two-point Z word takes no centre
    settle();
    pad_->Axes[2] = 61440;
    settle();
    host_.Click(260, 250);  // Next
    host_.Click(260, 350);  // Check, 200 down: the rudder, never moved
    settle();
    host_.Click(260, 350);  // Next
    host_.Click(260, 150);  // Save, back at the top
    Show(5);
    host_.Apply();
    pad::JoySettingRecord stored{};
    ASSERT_TRUE(ReadStored(stored));
    EXPECT_EQ(stored.AxisCalibration[0], 0x0075FFu) << "X: 0 / 117 / 255";
    EXPECT_EQ(stored.AxisCalibration[1], 0x0A80EAu) << "Y: 10 / 128 / 234";
    EXPECT_EQ(stored.AxisCalibration[4], 0x10010F0u) << "Z: 16 .. 240";
    EXPECT_EQ(stored.AxisCalibration[2], StagedDefaults().AxisCalibration[2]) << "a rudder that never moved";
}

TEST_F(PadPages, AnyCalibrationWordsAndVibrationValuesLeaveThePagesWorking) {
    pad::JoySettingRecord odd = UserRecord();
    const uint32_t words[5] = {0, 0xFFFFFFFF, 0x808080, 0xFF00FF00, 0x10000FF};
    std::copy(std::begin(words), std::end(words), std::begin(odd.AxisCalibration));
    odd.MotorPower = 0xFFFFFFFF;
    odd.TimeCycle = 0x12345678;
    odd.Sensitivity = 77;
    WriteStored(odd);
    Open();
    for (int32_t x : {0, 65535, 32767}) {
        Stick(x, 65535 - x);
        pad_->Axes[2] = pad_->Axes[5] = x;
        for (int page : {0, 3, 4}) Show(page);
        host_.Click(290, 262);
        host_.Pump(50);
    }
    Show(4);
    for (int i = 0; i < 8; ++i) host_.Click(260, 150 + 100 * (i % 3));
    Show(3);
    host_.Click(420, 80);
    host_.Click(330, 185);
    host_.Pump(100);
    EXPECT_TRUE(host_.IsOpen());
    // Whatever the record holds, the vibration page draws inside its 500 x 400:
    // beyond it, the page looks as the about page does.
    RECT client;
    ::GetClientRect(host_.CurrentPage(), &client);
    if (client.right <= 500 && client.bottom <= 400) GTEST_SKIP() << "the page has no room beyond 500 x 400 here";
    Dib vibration(client.right, client.bottom), about(client.right, client.bottom);
    CaptureClient(host_.CurrentPage(), vibration);
    Show(5);
    CaptureClient(host_.CurrentPage(), about);
    for (int y = 0; y < client.bottom; y += 7)
        for (int x = y < 400 ? 500 : 0; x < client.right; x += 7)
            ASSERT_EQ(vibration.At(x, y), about.At(x, y)) << "the vibration page drew at " << x << "," << y;
}

}  // namespace

int main(int argc, char** argv) { return paneltest::RunSheetTests(argc, argv); }
