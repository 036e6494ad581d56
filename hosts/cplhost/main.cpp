// cplhost: opens the pad's property sheet the way the Game Controllers
// control panel does, and lets a person or a script use it.
//
//   cplhost [--register DLL] [--data DIR] [--script FILE | --demo] [--shots DIR] [--id N] [--report-path PATH]
//
// --register writes the COM class of DLL and the pad type's ConfigCLSID
// first, and --data copies a staged Zororo folder into the system directory
// (what the installation does); without them the installed entries are used. --demo replays a short built-in script; without a script the sheet
// stays up until the user closes it. The exit code is 0 when the sheet
// opened and the script ran, 1 on a bad script or a failed command, 2 when
// the sheet could not be opened.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "common/win/SettingsView.h"
#include "common/HexText.h"
#include "common/JoySettingRecord.h"
#include "common/ProductIdentity.h"
#include "common/SettingsKey.h"
#include "common/win/UniqueResource.h"
#include "hosts/cplhost/PanelRegistration.h"
#include "hosts/cplhost/ScriptRunner.h"
#include "hosts/cplhost/SheetHost.h"
#include "hosts/dinput7/StandInLoader.h"
#include "tools/padstate/PadStateLink.h"
#ifdef PAD_HAVE_SIMPAD
#include "tools/simpad/SimPad.h"
#endif

namespace {

constexpr char kTypeName[] = "VID_7A3C&PID_A02F";

constexpr char kDemoScript[] =
    "# every page once, with the pad moving\n"
    "wait 300\n"
    "# turbo on for button 4, the editing left on so Clear shows\n"
    "click 75 35\n"
    "click 270 78\n"
    "axis x 52000\n"
    "axis y 14000\n"
    "axis z 20000\n"
    "axis rz 50000\n"
    "button 1 down\n"
    "button 3 down\n"
    "button 8 down\n"
    "pov 0 4500\n"
    "wait 300\n"
    "shot page0-test.png\n"
    "button 3 up\n"
    "button 8 up\n"
    "axis x 65535\n"
    "axis y 0\n"
    "pov 0 9000\n"
    "wait 200\n"
    "page 1\n"
    "button 1 up\n"
    "# physical button 2 becomes button 5\n"
    "click 75 132\n"
    "button 5 down\n"
    "wait 300\n"
    "button 5 up\n"
    "wait 200\n"
    "shot page1-buttons.png\n"
    "page 2\n"
    "wait 600\n"
    "shot page2-keyboard.png\n"
    "page 3\n"
    "move 100 230\n"
    "move 120 230\n"
    "wait 200\n"
    "shot page3-vibration.png\n"
    "page 4\n"
    "wait 200\n"
    "shot page4-calibration.png\n"
    "page 5\n"
    "wait 200\n"
    "shot page5-about.png\n"
    "apply\n"
    "wait 100\n"
    "ok\n";

void PrintRecord() {
    const std::string path = pad::SettingsKeyPath(pad::ModelNumberFromProductId(pad::kProductId));
    win::UniqueHKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE | pad::kSettingsView, key.put()) != ERROR_SUCCESS) {
        std::printf("settings: no key %s\n", path.c_str());
        return;
    }
    unsigned char bytes[pad::kSettingsRecordSize + 16] = {};
    DWORD size = sizeof bytes;
    if (::RegQueryValueExA(key.get(), pad::kSettingsValueName, nullptr, nullptr, bytes, &size) == ERROR_SUCCESS) {
        std::string dump = pad::HexText(bytes, size, 1, 16);
        for (size_t at = dump.find('\n'); at != std::string::npos; at = dump.find('\n', at + 3)) dump.insert(at + 1, "  ");
        std::printf("settings: %s %s, %lu bytes:\n  %s\n", path.c_str(), pad::kSettingsValueName,
                    static_cast<unsigned long>(size), dump.c_str());
    }
}

bool ReadFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string registerDll, dataFolder, scriptFile, shots, reportPath;
    bool demo = false;
    USHORT id = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "cplhost: %s needs a value\n", a.c_str());
                std::exit(1);
            }
            out = argv[++i];
        };
        if (a == "--register") value(registerDll);
        else if (a == "--data") value(dataFolder);
        else if (a == "--script") value(scriptFile);
        else if (a == "--shots") value(shots);
        else if (a == "--report-path") value(reportPath);
        else if (a == "--demo") demo = true;
        else if (a == "--id") {
            std::string n;
            value(n);
            id = static_cast<USHORT>(std::strtoul(n.c_str(), nullptr, 10));
        } else {
            std::fprintf(stderr, "cplhost: unknown option %s\n", a.c_str());
            return 1;
        }
    }

    std::vector<cplhost::ScriptCommand> script;
    std::string text, error;
    if (!scriptFile.empty() && !ReadFile(scriptFile, text)) {
        std::fprintf(stderr, "cplhost: cannot read %s\n", scriptFile.c_str());
        return 1;
    }
    if (demo) text = kDemoScript;
    if (!cplhost::ParseScript(text, script, error)) {
        std::fprintf(stderr, "cplhost: %s: %s\n", demo ? "built-in script" : scriptFile.c_str(), error.c_str());
        return 1;
    }

    // Before anything imports dinput.dll.
    if (!dinput7::LoadStandIn(&error)) {
        std::fprintf(stderr, "cplhost: %s\n", error.c_str());
        return 2;
    }
    padstate::PadStateLink pad;
    if (!pad.IsOpen()) {
        std::fprintf(stderr, "cplhost: cannot map the pad state\n");
        return 2;
    }
#ifdef PAD_HAVE_SIMPAD
    // The simulated pad's pipe is the report path the pages' motor output opens.
    simpad::SimPad simulated;
    if (reportPath.empty()) reportPath = simulated.Path();
#endif
    if (!reportPath.empty()) lstrcpynA(pad->ReportPath, reportPath.c_str(), padstate::kPathCapacity);

    if (!registerDll.empty() && !cplhost::RegisterPanel(registerDll, &error)) {
        std::fprintf(stderr, "cplhost: %s\n", error.c_str());
        return 2;
    }

    if (!dataFolder.empty() && !cplhost::InstallPanelData(dataFolder, &error)) {
        std::fprintf(stderr, "cplhost: %s\n", error.c_str());
        return 2;
    }

    ::CoInitialize(nullptr);
    int rc = 0;
    {
        cplhost::SheetHost host;
        if (!host.Open(kTypeName, id, &error)) {
            std::fprintf(stderr, "cplhost: %s\n", error.c_str());
            rc = 2;
        } else if (!script.empty() || demo) {
            std::printf("cplhost: the sheet is open; running %zu commands\n", script.size());
            std::fflush(stdout);
            if (!cplhost::RunScript(script, host, pad, shots, stdout)) rc = 1;
            host.Pump(200);
        } else {
            std::printf("cplhost: the sheet is open; close it to end\n");
            std::fflush(stdout);
            while (host.IsOpen()) host.Pump(100);
        }
        for (const cplhost::DismissedBox& box : host.Boxes())
            std::printf("message box \"%s\": %s\n", box.Caption.c_str(), box.Text.c_str());
        std::printf("cplhost: the sheet is %s\n", host.IsOpen() ? "still open" : "closed");
        host.Close();
    }
    PrintRecord();
#ifdef PAD_HAVE_SIMPAD
    std::printf("the pad at %s received %zu motor reports\n", simulated.Path().c_str(), simulated.ReportCount());
#endif
    ::CoFreeUnusedLibraries();
    ::CoUninitialize();
    return rc;
}
