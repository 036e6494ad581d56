// padstate: plays the pad while a sheet runs in the same Wine prefix.
//
//   padstate COMMAND ARGS...     one script command of the pad, e.g.
//       padstate axis x 65535    padstate button 3 down    padstate pov 0 9000
//       padstate unplug          padstate plug             padstate fail input on
//   padstate show                the state and what the stand-in was asked
#include <cstdio>
#include <string>
#include <vector>

#include "hosts/cplhost/SheetScript.h"
#include "tools/padstate/PadStateLink.h"

int main(int argc, char** argv) {
    padstate::PadStateLink pad;
    if (!pad.IsOpen()) {
        std::fprintf(stderr, "padstate: cannot map the pad state\n");
        return 2;
    }
    std::string line;
    for (int i = 1; i < argc; ++i) line += std::string(i > 1 ? " " : "") + argv[i];
    padstate::PadStateBlock& b = pad.Block();
    if (line.empty() || line == "show") {
        std::printf("plugged %u, failures 0x%02x\naxes", b.Plugged, b.Failures);
        for (int32_t a : b.Axes) std::printf(" %d", a);
        std::printf("\nhats %u %u %u %u\nbuttons down:", b.Pov[0], b.Pov[1], b.Pov[2], b.Pov[3]);
        for (int i = 0; i < padstate::kButtonCount; ++i)
            if (b.Buttons[i]) std::printf(" %d", i + 1);
        const padstate::StandInCounters& c = b.Counters;
        std::printf("\nstand-in: %u DirectInput objects, %u devices (%u released), %u acquires, %u unacquires, "
                    "%u polls, %u state reads (%u failed)\n",
                    c.DirectInputCreated, c.DevicesCreated, c.DevicesReleased, c.Acquires, c.Unacquires, c.Polls,
                    c.StateReads, c.FailedStateReads);
        return 0;
    }
    std::vector<cplhost::ScriptCommand> commands;
    std::string error;
    if (!cplhost::ParseScript(line, commands, error) || commands.size() != 1) {
        std::fprintf(stderr, "padstate: %s\n", error.empty() ? "one command" : error.c_str());
        return 1;
    }
    const cplhost::ScriptCommand& c = commands[0];
    if (!cplhost::ApplyToPad(c, b)) {
        std::fprintf(stderr, "padstate: '%s' is a command of the sheet, not of the pad\n", line.c_str());
        return 1;
    }
    return 0;
}
