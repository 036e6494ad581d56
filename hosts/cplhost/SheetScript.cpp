#include "hosts/cplhost/SheetScript.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "tools/padstate/PadStateBlock.h"

namespace cplhost {

namespace {

bool Number(const std::string& word, long low, long high, long& out) {
    if (word.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high) return false;
    out = v;
    return true;
}

struct LineParser {
    std::vector<std::string> Words;
    std::string Error;

    bool Count(size_t n) {
        if (Words.size() == n + 1) return true;
        Error = "'" + Words[0] + "' takes " + std::to_string(n) + (n == 1 ? " argument" : " arguments");
        return false;
    }
    bool Arg(size_t i, long low, long high, long& out, const char* what) {
        if (Number(Words[i], low, high, out)) return true;
        Error = std::string(what) + " must be a number from " + std::to_string(low) + " to " + std::to_string(high) +
                ", not '" + Words[i] + "'";
        return false;
    }
};

bool ParseLine(LineParser& p, ScriptCommand& c) {
    const std::string& verb = p.Words[0];
    long a = 0, b = 0;
    struct Simple {
        const char* Name;
        CommandKind Kind;
    };
    static const Simple simple[] = {{"unplug", CommandKind::Unplug}, {"plug", CommandKind::Plug},
                                    {"apply", CommandKind::Apply},   {"ok", CommandKind::Ok},
                                    {"cancel", CommandKind::Cancel}};
    for (const Simple& s : simple) {
        if (verb == s.Name) {
            c.Kind = s.Kind;
            return p.Count(0);
        }
    }
    struct Point {
        const char* Name;
        CommandKind Kind;
    };
    static const Point points[] = {{"click", CommandKind::Click}, {"press", CommandKind::Press},
                                   {"release", CommandKind::Release}, {"move", CommandKind::Move}};
    for (const Point& s : points) {
        if (verb == s.Name) {
            c.Kind = s.Kind;
            if (!p.Count(2) || !p.Arg(1, -32768, 32767, a, "x") || !p.Arg(2, -32768, 32767, b, "y")) return false;
            c.A = static_cast<int>(a);
            c.B = b;
            return true;
        }
    }
    if (verb == "page") {
        c.Kind = CommandKind::Page;
        if (!p.Count(1) || !p.Arg(1, 0, 5, a, "the page")) return false;
        c.A = static_cast<int>(a);
        return true;
    }
    if (verb == "wait") {
        c.Kind = CommandKind::Wait;
        if (!p.Count(1) || !p.Arg(1, 0, 600000, a, "the wait")) return false;
        c.A = static_cast<int>(a);
        return true;
    }
    if (verb == "axis") {
        c.Kind = CommandKind::Axis;
        if (!p.Count(2)) return false;
        c.A = padstate::AxisIndex(p.Words[1].c_str());
        if (c.A < 0) {
            p.Error = "unknown axis '" + p.Words[1] + "' (x y z rx ry rz slider0 slider1)";
            return false;
        }
        if (!p.Arg(2, 0, 65535, b, "the axis value")) return false;
        c.B = b;
        return true;
    }
    if (verb == "button") {
        c.Kind = CommandKind::Button;
        if (!p.Count(2) || !p.Arg(1, 1, 32, a, "the button")) return false;
        c.A = static_cast<int>(a);
        if (p.Words[2] != "down" && p.Words[2] != "up") {
            p.Error = "a button goes 'down' or 'up', not '" + p.Words[2] + "'";
            return false;
        }
        c.B = p.Words[2] == "down";
        return true;
    }
    if (verb == "pov") {
        c.Kind = CommandKind::Pov;
        if (!p.Count(2) || !p.Arg(1, 0, 3, a, "the hat")) return false;
        c.A = static_cast<int>(a);
        if (p.Words[2] == "centre") {
            c.B = static_cast<long>(padstate::kPovCentred);
            return true;
        }
        if (!p.Arg(2, 0, 35999, b, "the hat direction")) return false;
        c.B = b;
        return true;
    }
    if (verb == "fail") {
        c.Kind = CommandKind::Fail;
        if (!p.Count(2)) return false;
        c.A = static_cast<int>(padstate::FailureFromName(p.Words[1].c_str()));
        if (c.A == 0) {
            p.Error = "unknown failure '" + p.Words[1] + "' (" + padstate::FailureNames() + ")";
            return false;
        }
        if (p.Words[2] != "on" && p.Words[2] != "off") {
            p.Error = "a failure is switched 'on' or 'off', not '" + p.Words[2] + "'";
            return false;
        }
        c.B = p.Words[2] == "on";
        return true;
    }
    if (verb == "shot") {
        c.Kind = CommandKind::Shot;
        if (!p.Count(1)) return false;
        c.Text = p.Words[1];
        return true;
    }
    p.Error = "unknown command '" + verb + "'";
    return false;
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<ScriptCommand>& out, std::string& error) {
    out.clear();
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        LineParser p;
        std::istringstream words(line);
        for (std::string w; words >> w;) p.Words.push_back(w);
        if (p.Words.empty()) continue;
        ScriptCommand c{};
        c.Line = number;
        if (!ParseLine(p, c)) {
            error = "line " + std::to_string(number) + ": " + p.Error;
            out.clear();
            return false;
        }
        out.push_back(c);
    }
    return true;
}

bool ApplyToPad(const ScriptCommand& c, padstate::PadStateBlock& b) {
    switch (c.Kind) {
    case CommandKind::Axis: b.Axes[c.A] = static_cast<int32_t>(c.B); return true;
    case CommandKind::Button: b.Buttons[c.A - 1] = c.B ? 1 : 0; return true;
    case CommandKind::Pov: b.Pov[c.A] = static_cast<uint32_t>(c.B); return true;
    case CommandKind::Unplug: b.Plugged = 0; return true;
    case CommandKind::Plug: b.Plugged = 1; return true;
    case CommandKind::Fail:
        if (c.B)
            b.Failures |= static_cast<uint32_t>(c.A);
        else
            b.Failures &= ~static_cast<uint32_t>(c.A);
        return true;
    default: return false;
    }
}

}  // namespace cplhost
