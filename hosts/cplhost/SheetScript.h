// The control-panel host's script: one command a line, '#' starts a comment.
//
//   page N              show page N (0..5)
//   click X Y           left button down and up at page coordinates
//   press X Y           left button down;  release X Y: left button up
//   move X Y            mouse move
//   axis NAME V         x y z rx ry rz slider0 slider1, V 0..65535
//   button N down|up    pad button 1..32
//   pov N V|centre      hat 0..3, V 0..35999 (hundredths of a degree)
//   unplug, plug        the pad goes away or comes back
//   fail KIND on|off    nopad getconfig typename acquire input createdevice
//                       device2 dataformat cooplevel
//   apply, ok, cancel   the sheet's buttons
//   wait MS             let the sheet run (0..600000 ms)
//   shot FILE           the sheet as a PNG
#pragma once

#include <string>
#include <vector>

#include "tools/padstate/PadStateBlock.h"

namespace cplhost {

enum class CommandKind {
    Page, Click, Press, Release, Move, Axis, Button, Pov, Unplug, Plug, Fail, Apply, Ok, Cancel, Wait, Shot,
};

struct ScriptCommand {
    CommandKind Kind;
    int A = 0;         // page, x, axis index, button, hat, failure bit, milliseconds
    long B = 0;        // y, value, on/off
    std::string Text;  // file name
    int Line = 0;
};

// False with "line N: ..." in `error` at the first bad line; nothing is
// run from a script that does not parse.
bool ParseScript(const std::string& text, std::vector<ScriptCommand>& out, std::string& error);

// Applies a pad command (axis, button, pov, unplug, plug, fail) to the pad's
// state; false, with the block unchanged, for a command of the sheet.
bool ApplyToPad(const ScriptCommand& c, padstate::PadStateBlock& b);

}  // namespace cplhost
