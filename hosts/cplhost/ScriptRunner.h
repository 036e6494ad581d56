// Runs a parsed script against an open sheet and the shared pad state.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "hosts/cplhost/SheetHost.h"
#include "hosts/cplhost/SheetScript.h"
#include "tools/padstate/PadStateLink.h"

namespace cplhost {

// Each command is echoed to `log` (if given) with the outcome. Commands
// after the sheet has closed are skipped. `shotFolder` prefixes relative
// picture names. False when a command could not be carried out.
bool RunScript(const std::vector<ScriptCommand>& script, SheetHost& host, padstate::PadStateLink& pad,
               const std::string& shotFolder, FILE* log);

// Between commands the sheet runs for this long, so timers and paints happen.
inline constexpr unsigned kSettleMs = 30;

}  // namespace cplhost
