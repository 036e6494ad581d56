#include "tests/wine/soak/SheetSoak.h"

#include <cmath>
#include <cstdio>

#include "hosts/cplhost/PanelRegistration.h"
#include "hosts/dinput7/StandInLoader.h"
#include "panel/pages/ButtonGrid.h"
#include "tests/wine/panel/PanelTestSupport.h"
#include "tests/wine/panel/UserInput.h"
#include "tests/wine/soak/ReportRule.h"

namespace soak {

namespace {

constexpr char kPadTypeName[] = "VID_7A3C&PID_A02F";
constexpr char kProfileTitle[] = "Game pad settings";  // Setup.ini "OpenFileTitle"
constexpr int kPages = 6;
constexpr int kTestPage = 0;
constexpr int kVibrationPage = 3;

}  // namespace

SheetSoak::SheetSoak(uint32_t seed, Watchdog::Beat& beat, Faults& faults)
    : random_(seed * 31u + 300u), beat_(beat), faults_(faults) {}

SheetSoak::~SheetSoak() {
    host_.Close();
    gdi_.Detach();
}

bool SheetSoak::Start(std::string* error) {
    if (!pad_.IsOpen()) {
        *error = "the pad's shared state could not be opened";
        return false;
    }
    padstate::ResetBlock(pad_.Block());
    lstrcpynA(pad_->ReportPath, motors_.Path().c_str(), padstate::kPathCapacity);
    motors_.SetCallback([this](const simpad::PadReport& r) {
        reports_.fetch_add(1);
        const std::string fault = ReportFault(r.Bytes, r.Length, Sender::Sheet);
        if (!fault.empty()) faults_.Add("the sheet's pad got " + ReportText(r.Bytes, r.Length) + ": " + fault);
    });
    if (!dinput7::LoadStandIn(error) || !cplhost::RegisterPanel(paneltest::DistPath("padpanel.dll"), error) ||
        !cplhost::InstallPanelData(paneltest::DistPath("Zororo"), error))
        return false;
    paneltest::DeleteSettings();
    ::CreateDirectoryA(paneltest::SystemPath("GameSave").c_str(), nullptr);
    // Kept loaded, so that its imports stay counted from one sheet to the next.
    module_.reset(::LoadLibraryA(paneltest::DistPath("padpanel.dll").c_str()));
    if (!module_) {
        *error = "the staged padpanel.dll did not load";
        return false;
    }
    return gdi_.Attach(module_.get(), error);
}

void SheetSoak::Sweep(DWORD ms) {
    for (DWORD spent = 0; spent < ms; spent += 10, ++tick_) {
        const double a = tick_ * 2 * 3.14159265 / 100;  // a turn a second
        pad_->Axes[0] = static_cast<int32_t>(32767 + 30000 * std::cos(a));
        pad_->Axes[1] = static_cast<int32_t>(32767 + 30000 * std::sin(a));
        host_.Pump(10);
    }
    pad_->Axes[0] = pad_->Axes[1] = 32767;
}

// Load or Save clicked while a user types a file name and presses Enter.
bool SheetSoak::ProfileDialog(bool save, const std::string& name) {
    std::vector<paneltest::KeyStroke> keys = paneltest::Typing(name);
    keys.push_back({VK_RETURN, true});
    keys.push_back({VK_RETURN, false});
    paneltest::User user(kProfileTitle, keys);
    host_.Click(save ? 350 : 250, 370);
    ++calls_;
    return user.Done();
}

// After the first life a profile is written and read back as a file and its
// record stored for the next sheet, without the page's file dialog: Wine's
// dialog keeps a registry key open (its LastVisitedMRU) and some of its
// memory each time it is shown, whatever its caller does.
void SheetSoak::StoreThroughProfile() {
    pad::JoySettingRecord stored{};
    if (!paneltest::ReadStored(stored)) return;  // nothing applied yet
    const std::string path = paneltest::SystemPath("GameSave\\soak.sav");
    FILE* f = std::fopen(path.c_str(), "wb");
    const bool written = f && std::fwrite(&stored, 1, sizeof stored, f) == sizeof stored;
    if (f) std::fclose(f);
    pad::JoySettingRecord loaded{};
    f = written ? std::fopen(path.c_str(), "rb") : nullptr;
    const bool read = f && std::fread(&loaded, 1, sizeof loaded, f) == sizeof loaded;
    if (f) std::fclose(f);
    if (!read) {
        faults_.Add("the profile file could not be written and read back");
        return;
    }
    paneltest::WriteStored(loaded);  // the next sheet opens with it
    calls_ += 2;
}

void SheetSoak::Cycle() {
    ++cycle_;
    beat_.Doing("sheet: opening");
    std::string error;
    if (!host_.Open(kPadTypeName, 0, &error)) {
        faults_.Add("the sheet did not open: " + error);
        return;
    }
    ++calls_;
    const size_t reportsBefore = motors_.ReportCount();
    host_.Pump(50);
    for (int page = 0; page < kPages; ++page) {
        beat_.Doing("sheet: showing a page");
        if (!host_.SelectPage(page)) faults_.Add("page " + std::to_string(page) + " could not be shown");
        ++calls_;
        Sweep(200);
        if (page == kTestPage) {
            beat_.Doing("sheet: buttons and turbo");
            host_.Click(75, 35);  // Turbo, then the button it is set on
            const int button = std::uniform_int_distribution<int>(1, 10)(random_);
            const padpanel::Box b = padpanel::IndicatorBox(button);
            host_.Click(b.Left + 5, b.Top + 5);
            host_.Click(75, 35);
            pad_->Buttons[button - 1] = 0x80;
            host_.Pump(250);
            pad_->Buttons[button - 1] = 0;
            pad_->Pov[0] = static_cast<uint32_t>(std::uniform_int_distribution<int>(0, 7)(random_) * 4500);
            host_.Pump(50);
            pad_->Pov[0] = padstate::kPovCentred;
            calls_ += 3;
        } else if (page == kVibrationPage) {
            beat_.Doing("sheet: the vibration demo");
            host_.Click(240, 185);  // Auto: the demo pauses, vibrates, pauses
            host_.Pump(1200);
            host_.Click(330, 185);  // Manual
            host_.Click(80, 300);   // the left motor's drive, which ends by itself
            host_.Pump(900);
            pad_->Axes[0] = 65535;  // the stick out drives a motor on every tick
            host_.Pump(150);
            pad_->Axes[0] = 32767;
            host_.Pump(60);
            calls_ += 3;
        } else if (page == 1 && cycle_ == 1) {
            beat_.Doing("sheet: saving and loading a profile through its dialogs");
            if (!ProfileDialog(true, "soak.sav")) faults_.Add("the profile could not be saved through its dialog");
            if (!ProfileDialog(false, "soak.sav")) faults_.Add("the profile could not be loaded through its dialog");
        } else if (page == 1 && cycle_ % 2 == 1) {
            beat_.Doing("sheet: saving and loading a profile");
            StoreThroughProfile();
        }
    }
    beat_.Doing("sheet: closing");
    if (cycle_ % 2) host_.Apply();
    host_.Cancel();
    host_.Pump(30);
    host_.Close();
    ++calls_;
    // Leaving the vibration page stopped the motors: the pad was left off.
    motors_.WaitForQuiet(100, 3000);
    const std::vector<simpad::PadReport> reports = motors_.Reports();
    if (reports.size() > reportsBefore && !reports.back().IsAllOff())
        faults_.Add("the sheet left its pad at " + ReportText(reports.back().Bytes, reports.back().Length));
    motors_.Clear();
    beat_.Idle();
}

}  // namespace soak
