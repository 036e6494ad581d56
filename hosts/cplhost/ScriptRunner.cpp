#include "hosts/cplhost/ScriptRunner.h"

namespace cplhost {

namespace {

bool Relative(const std::string& path) {
    return !(path.size() > 1 && (path[1] == ':' || path[0] == '\\' || path[0] == '/'));
}

}  // namespace

bool RunScript(const std::vector<ScriptCommand>& script, SheetHost& host, padstate::PadStateLink& pad,
               const std::string& shotFolder, FILE* log) {
    bool ok = true;
    padstate::PadStateBlock& b = pad.Block();
    for (const ScriptCommand& c : script) {
        if (!host.IsOpen()) {
            if (log) std::fprintf(log, "line %d: the sheet has closed; the rest is skipped\n", c.Line);
            break;
        }
        bool done = true;
        std::string note;
        switch (c.Kind) {
        case CommandKind::Page: done = host.SelectPage(c.A); break;
        case CommandKind::Click: host.Click(c.A, static_cast<int>(c.B)); break;
        case CommandKind::Press: host.Press(c.A, static_cast<int>(c.B)); break;
        case CommandKind::Release: host.Release(c.A, static_cast<int>(c.B)); break;
        case CommandKind::Move: host.Move(c.A, static_cast<int>(c.B)); break;
        case CommandKind::Axis:
        case CommandKind::Button:
        case CommandKind::Pov:
        case CommandKind::Unplug:
        case CommandKind::Plug:
        case CommandKind::Fail: ApplyToPad(c, b); break;
        case CommandKind::Apply: host.Apply(); break;
        case CommandKind::Ok: host.Ok(); break;
        case CommandKind::Cancel: host.Cancel(); break;
        case CommandKind::Wait: host.Pump(static_cast<DWORD>(c.A)); break;
        case CommandKind::Shot: {
            const std::string path = Relative(c.Text) && !shotFolder.empty() ? shotFolder + "\\" + c.Text : c.Text;
            done = host.Screenshot(path, &note);
            if (done) note = path;
            break;
        }
        }
        host.Pump(kSettleMs);
        if (log) std::fprintf(log, "line %d: %s%s%s\n", c.Line, done ? "done" : "FAILED", note.empty() ? "" : ": ",
                              note.c_str());
        ok = ok && done;
    }
    return ok;
}

}  // namespace cplhost
