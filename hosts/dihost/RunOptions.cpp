#include "hosts/dihost/RunOptions.h"

#include <cstdlib>

namespace padhost {

namespace {

bool Number(const std::string& s, uint32_t limit, uint32_t& out) {
    if (s.empty() || s.size() > 10) return false;
    uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > limit) return false;
    out = static_cast<uint32_t>(v);
    return true;
}

}  // namespace

const char* RunUsage() {
    return "usage: dihost [--driver DLL] [--script FILE] [--out DIR] [--strength N] [--period N]\n"
           "              [--auto 0|1] [--no-settings] [--tail MS] [--quiet] [--print-script]\n"
           "  --driver DLL     the force-feedback driver (default: padforce.dll beside dihost.exe)\n"
           "  --script FILE    the effects to play (default: the built-in script; see --print-script)\n"
           "  --out DIR        where motors.svg and reports.csv go (default: dihost-out)\n"
           "  --strength N     MotorPower of the settings record, 0 to 255 (default 170: full strength)\n"
           "  --period N       TimeCycle, 0 to 255 (default 170: periods as asked)\n"
           "  --auto 0|1       AutoMode: 1 draws the period at random (default 0)\n"
           "  --no-settings    write no settings record: the driver finds no key\n"
           "  --tail MS        how long to go on after the script before the release (default 300)\n"
           "  --quiet          no line per report\n";
}

OptionsParse ParseRunOptions(const std::vector<std::string>& args) {
    OptionsParse r;
    RunOptions& o = r.Options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                r.Error = a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        const auto level = [&](uint32_t& out, uint32_t limit) {
            std::string v;
            if (!value(v)) return false;
            if (Number(v, limit, out)) return true;
            r.Error = a + " needs a number from 0 to " + std::to_string(limit) + ", not '" + v + "'";
            return false;
        };
        bool ok = true;
        if (a == "--driver") ok = value(o.Driver);
        else if (a == "--script") ok = value(o.ScriptFile);
        else if (a == "--out") ok = value(o.OutDir);
        else if (a == "--strength") ok = level(o.MotorPower, 255);
        else if (a == "--period") ok = level(o.TimeCycle, 255);
        else if (a == "--auto") ok = level(o.AutoMode, 1);
        else if (a == "--tail") ok = level(o.TailMs, 600000);
        else if (a == "--no-settings") o.WriteSettings = false;
        else if (a == "--quiet") o.Quiet = true;
        else if (a == "--print-script") o.PrintScript = true;
        else if (a == "--help" || a == "-h") o.Help = true;
        else {
            r.Error = "unknown option '" + a + "'";
            ok = false;
        }
        if (!ok) return r;
    }
    r.Ok = true;
    return r;
}

}  // namespace padhost
