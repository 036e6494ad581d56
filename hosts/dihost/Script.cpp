#include "hosts/dihost/Script.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace padhost {

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        size_t j = i;
        while (j < line.size() && !std::isspace(static_cast<unsigned char>(line[j]))) ++j;
        if (j > i) words.push_back(line.substr(i, j - i));
        i = j;
    }
    return words;
}

std::vector<std::string_view> Split(std::string_view s, char by) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = s.find(by, start);
        parts.push_back(s.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

std::optional<int64_t> Integer(std::string_view s) {
    if (s.empty() || s.size() > 20) return std::nullopt;
    size_t i = 0;
    bool negative = false;
    if (s[0] == '-' || s[0] == '+') {
        negative = s[0] == '-';
        i = 1;
    }
    if (i == s.size()) return std::nullopt;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > 0xFFFFFFFFll) return std::nullopt;
    }
    return negative ? -v : v;
}

// "250", "250ms", "1.5s", "40us": microseconds. A bare number is milliseconds.
std::optional<uint64_t> Microseconds(std::string_view s) {
    double scale = 1000.0;
    if (s.size() > 2 && s.substr(s.size() - 2) == "us") {
        scale = 1.0;
        s.remove_suffix(2);
    } else if (s.size() > 2 && s.substr(s.size() - 2) == "ms") {
        s.remove_suffix(2);
    } else if (s.size() > 1 && s.back() == 's') {
        scale = 1000000.0;
        s.remove_suffix(1);
    }
    if (s.empty() || s.size() > 24) return std::nullopt;
    bool dot = false;
    for (char c : s) {
        if (c == '.' && !dot) {
            dot = true;
            continue;
        }
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    }
    const double v = std::strtod(std::string(s).c_str(), nullptr) * scale;
    if (!(v >= 0.0) || v > 1e15) return std::nullopt;
    return static_cast<uint64_t>(std::llround(v));
}

struct KindName {
    const char* Name;
    uint32_t Id;
};
constexpr KindName kKinds[] = {{"constant", kConstant},   {"ramp", kRamp},         {"square", kSquare},
                               {"sine", kSine},           {"triangle", kTriangle}, {"sawup", kSawtoothUp},
                               {"sawdown", kSawtoothDown}};

std::string KindText(uint32_t id) {
    for (const KindName& k : kKinds)
        if (k.Id == id) return k.Name;
    return "id:" + std::to_string(id);
}

bool ValidName(std::string_view s) {
    if (s.empty() || !std::isalpha(static_cast<unsigned char>(s[0]))) return false;
    for (char c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') return false;
    return true;
}

class Parser {
public:
    explicit Parser(std::string_view source) : source_(source) {}

    ScriptParse Run(std::string_view text) {
        int line = 0;
        size_t start = 0;
        while (start <= text.size()) {
            const size_t end = text.find('\n', start);
            std::string_view raw = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
            ++line;
            if (const size_t hash = raw.find('#'); hash != std::string_view::npos) raw = raw.substr(0, hash);
            if (!Line(line, Words(raw))) {
                ScriptParse failed;
                failed.Error = std::string(source_) + ":" + std::to_string(line) + ": " + error_;
                return failed;
            }
            if (end == std::string_view::npos) break;
            start = end + 1;
        }
        ScriptParse done;
        done.Ok = true;
        done.Parsed = std::move(script_);
        return done;
    }

private:
    bool Error(std::string what) {
        error_ = std::move(what);
        return false;
    }

    bool Line(int line, std::vector<std::string_view> w) {
        if (w.empty()) return true;
        ScriptStep step;
        step.Line = line;
        size_t i = 0;
        if (w[0] == "at") {
            if (w.size() < 2) return Error("'at' needs a time, as in 'at 500ms'");
            const auto at = Microseconds(w[1]);
            if (!at) return Error("'" + std::string(w[1]) + "' is not a time (500, 500ms, 1.5s, 40us)");
            if (*at < lastAt_) return Error("'at " + std::string(w[1]) + "' goes back before an earlier 'at'");
            lastAt_ = *at;
            step.HasAt = true;
            step.AtUs = *at;
            i = 2;
            if (i == w.size()) return Error("'at' needs a command after its time");
        }
        const std::string_view command = w[i];
        const std::vector<std::string_view> args(w.begin() + static_cast<long>(i) + 1, w.end());
        bool ok = false;
        if (command == "download") ok = Download(args, step);
        else if (command == "update") ok = Update(args, step);
        else if (command == "start") ok = StartStop(args, step, StepKind::Start);
        else if (command == "stop") ok = StartStop(args, step, StepKind::Stop);
        else if (command == "destroy") ok = StartStop(args, step, StepKind::Destroy);
        else if (command == "command") ok = Command(args, step);
        else if (command == "gain") ok = Gain(args, step);
        else if (command == "wait") ok = Wait(args, step);
        else if (command == "label") ok = LabelStep(args, step);
        else
            return Error("unknown command '" + std::string(command) +
                         "' (download, update, start, stop, destroy, command, gain, wait, label)");
        if (!ok) return false;
        script_.Steps.push_back(std::move(step));
        return true;
    }

    bool Download(const std::vector<std::string_view>& a, ScriptStep& step) {
        if (a.empty()) return Error("'download' needs a kind: constant, ramp, square, sine, triangle, sawup, sawdown or id:N");
        EffectShape effectShape;
        if (!Kind(a[0], effectShape.EffectId)) return false;
        size_t i = 1;
        std::string name = "#" + std::to_string(script_.EffectNames.size() + 1);
        if (i < a.size() && a[i] == "as") {
            if (i + 1 >= a.size()) return Error("'as' needs a name");
            if (!ValidName(a[i + 1])) return Error("'" + std::string(a[i + 1]) + "' is not a name (a letter, then letters, digits, _ or -)");
            if (Find(a[i + 1])) return Error("an effect named '" + std::string(a[i + 1]) + "' exists already");
            name = std::string(a[i + 1]);
            i += 2;
        }
        uint32_t flags = 0;
        bool nullEnvelope = false;
        if (!Settings(a, i, effectShape, flags, nullEnvelope)) return false;
        if (nullEnvelope) effectShape.HasEnvelope = false;
        step.Kind = StepKind::Download;
        step.Effect = script_.EffectNames.size();
        step.Flags = kDiepAllParams | (flags & (kDiepStart | kDiepNoRestart));
        step.Shape = effectShape;
        script_.EffectNames.push_back(name);
        specs_.push_back(effectShape);
        step.Label = name + ": " + KindText(effectShape.EffectId) + (flags & kDiepStart ? "" : " (loaded)");
        return true;
    }

    bool Update(const std::vector<std::string_view>& a, ScriptStep& step) {
        if (a.empty()) return Error("'update' needs the effect's name or number");
        if (!Reference(a[0], step.Effect)) return false;
        EffectShape effectShape = specs_[step.Effect];
        uint32_t flags = 0;
        bool nullEnvelope = false;
        if (!Settings(a, 1, effectShape, flags, nullEnvelope)) return false;
        if (flags == 0) return Error("'update' changes nothing: give settings such as mag=5000, or start");
        if (nullEnvelope) flags |= kDiepEnvelope;
        step.Kind = StepKind::Update;
        step.Shape = effectShape;
        step.Flags = flags;
        step.NullEnvelope = nullEnvelope;
        if (!nullEnvelope) specs_[step.Effect] = effectShape;  // a null envelope keeps the old one
        std::string what;
        for (size_t k = 1; k < a.size(); ++k) what += (k > 1 ? " " : "") + std::string(a[k]);
        step.Label = script_.EffectNames[step.Effect] + ": " + what;
        return true;
    }

    bool StartStop(const std::vector<std::string_view>& a, ScriptStep& step, StepKind kind) {
        const char* verb = kind == StepKind::Start ? "start" : kind == StepKind::Stop ? "stop" : "destroy";
        if (a.empty()) return Error(std::string("'") + verb + "' needs the effect's name or number");
        if (!Reference(a[0], step.Effect)) return false;
        step.Kind = kind;
        step.Value = 1;
        if (kind == StepKind::Start && a.size() == 2) {
            const auto count = Integer(a[1]);
            if (!count || *count < 0) return Error("'" + std::string(a[1]) + "' is not a play count");
            step.Value = static_cast<uint32_t>(*count);
        } else if (a.size() > 1) {
            return Error("'" + std::string(a[1]) + "' is not understood after '" + verb + "'");
        }
        step.Label = script_.EffectNames[step.Effect] + ": " + verb;
        return true;
    }

    bool Command(const std::vector<std::string_view>& a, ScriptStep& step) {
        struct Named {
            const char* Name;
            uint32_t Value;
            const char* Label;
        };
        static constexpr Named kCommands[] = {{"reset", kCommandReset, "reset"},
                                              {"stopall", kCommandStopAll, "stop all"},
                                              {"pause", kCommandPause, "pause"},
                                              {"continue", kCommandContinue, "continue"},
                                              {"actuatorson", kCommandActuatorsOn, "actuators on"},
                                              {"actuatorsoff", kCommandActuatorsOff, "actuators off"}};
        if (a.size() != 1) return Error("'command' needs one of reset, stopall, pause, continue, actuatorson, actuatorsoff");
        for (const Named& c : kCommands) {
            if (a[0] != c.Name) continue;
            step.Kind = StepKind::Command;
            step.Value = c.Value;
            step.Label = c.Label;
            return true;
        }
        return Error("unknown command '" + std::string(a[0]) +
                     "' (reset, stopall, pause, continue, actuatorson, actuatorsoff)");
    }

    bool Gain(const std::vector<std::string_view>& a, ScriptStep& step) {
        const auto gain = a.size() == 1 ? Integer(a[0]) : std::nullopt;
        if (!gain || *gain < 0) return Error("'gain' needs one value from 0 to 10000");
        step.Kind = StepKind::Gain;
        step.Value = static_cast<uint32_t>(*gain);
        step.Label = "gain " + std::to_string(*gain);
        return true;
    }

    bool Wait(const std::vector<std::string_view>& a, ScriptStep& step) {
        const auto us = a.size() == 1 ? Microseconds(a[0]) : std::nullopt;
        if (!us) return Error("'wait' needs one time, as in 'wait 500ms'");
        step.Kind = StepKind::Wait;
        step.WaitUs = *us;
        return true;
    }

    bool LabelStep(const std::vector<std::string_view>& a, ScriptStep& step) {
        if (a.empty()) return Error("'label' needs a text");
        step.Kind = StepKind::Label;
        for (size_t k = 0; k < a.size(); ++k) step.Label += (k ? " " : "") + std::string(a[k]);
        return true;
    }

    bool Kind(std::string_view w, uint32_t& id) {
        for (const KindName& k : kKinds) {
            if (w != k.Name) continue;
            id = k.Id;
            return true;
        }
        if (w.substr(0, 3) == "id:") {
            const auto n = Integer(w.substr(3));
            if (n && *n >= 0) {
                id = static_cast<uint32_t>(*n);
                return true;
            }
        }
        return Error("unknown effect kind '" + std::string(w) +
                     "' (constant, ramp, square, sine, triangle, sawup, sawdown or id:N)");
    }

    const std::string* Find(std::string_view name) const {
        for (const std::string& n : script_.EffectNames)
            if (n == name) return &n;
        return nullptr;
    }

    // A name given with 'as', or the number of a download line: 1 is the first.
    bool Reference(std::string_view number, size_t& index) {
        const std::string_view w = number;
        if (const auto n = Integer(number)) {
            if (*n < 1 || static_cast<size_t>(*n) > script_.EffectNames.size())
                return Error("there is no effect number " + std::string(number) + " yet (" +
                             std::to_string(script_.EffectNames.size()) + " downloaded so far)");
            index = static_cast<size_t>(*n - 1);
            return true;
        }
        for (size_t k = 0; k < script_.EffectNames.size(); ++k) {
            if (script_.EffectNames[k] != w) continue;
            index = k;
            return true;
        }
        return Error("no effect named '" + std::string(w) + "' was downloaded before this line");
    }

    bool Level(std::string_view key, std::string_view v, int32_t& out) {
        const auto n = Integer(v);
        if (!n || *n < INT32_MIN || *n > INT32_MAX) return Error(std::string(key) + "= needs a whole number, not '" + std::string(v) + "'");
        out = static_cast<int32_t>(*n);
        return true;
    }

    bool Unsigned(std::string_view key, std::string_view v, uint32_t& out) {
        const auto n = Integer(v);
        if (!n || *n < 0 || *n > 0xFFFFFFFFll) return Error(std::string(key) + "= needs a number from 0 up, not '" + std::string(v) + "'");
        out = static_cast<uint32_t>(*n);
        return true;
    }

    bool Time(std::string_view key, std::string_view v, uint32_t& out, bool allowInfinite) {
        if (allowInfinite && v == "inf") {
            out = kInfinite;
            return true;
        }
        const auto us = Microseconds(v);
        if (!us || *us >= kInfinite)
            return Error(std::string(key) + "= needs a time such as 500ms, 1.5s or 40us" +
                         (allowInfinite ? " (or inf)" : "") + ", not '" + std::string(v) + "'");
        out = static_cast<uint32_t>(*us);
        return true;
    }

    bool Direction(std::string_view v, EffectShape& effectShape) {
        const size_t colon = v.find(':');
        const std::string_view system = v.substr(0, colon);
        const std::vector<std::string_view> values =
            colon == std::string_view::npos ? std::vector<std::string_view>{} : Split(v.substr(colon + 1), ',');
        int32_t a = 0, b = 0;
        const auto bad = [&] {
            return Error("dir= is polar:<hundredths of a degree>, cartesian:<x>[,<y>] or spherical:<angle>, not '" +
                         std::string(v) + "'");
        };
        if (values.empty() || values.size() > 2) return bad();
        if (!Integer(values[0])) return bad();
        a = static_cast<int32_t>(*Integer(values[0]));
        if (values.size() == 2) {
            if (!Integer(values[1])) return bad();
            b = static_cast<int32_t>(*Integer(values[1]));
        }
        if (system == "polar" && values.size() == 1) {
            effectShape.WithPolar(a);
        } else if (system == "cartesian") {
            if (values.size() == 1) effectShape.WithCartesian(a);
            else effectShape.WithCartesian(a, b);
        } else if (system == "spherical" && values.size() == 1) {
            effectShape.Coordinates = kSpherical;
            effectShape.AxisCount = 2;
            effectShape.Directions[0] = a;
            effectShape.Directions[1] = 0;
        } else {
            return bad();
        }
        return true;
    }

    // key=value settings and the words start and norestart, from a[i] on.
    bool Settings(const std::vector<std::string_view>& a, size_t i, EffectShape& effectShape, uint32_t& flags,
                  bool& nullEnvelope) {
        for (; i < a.size(); ++i) {
            const std::string_view w = a[i];
            if (w == "start") {
                flags |= kDiepStart;
                continue;
            }
            if (w == "norestart") {
                flags |= kDiepNoRestart;
                continue;
            }
            const size_t eq = w.find('=');
            if (eq == std::string_view::npos)
                return Error("'" + std::string(w) + "' is not understood: settings are key=value, or start, norestart");
            const std::string_view key = w.substr(0, eq), v = w.substr(eq + 1);
            if (key == "mag") {
                if (effectShape.EffectId == kRamp) return Error("a ramp has no mag=: give ramp=<start>,<end>");
                if (!Level(key, v, effectShape.Magnitude)) return false;
                flags |= kDiepTypeSpecific;
            } else if (key == "ramp") {
                if (effectShape.EffectId != kRamp) return Error("ramp= is for ramp effects");
                const auto parts = Split(v, ',');
                if (parts.size() != 2) return Error("ramp= needs <start>,<end>, as in ramp=10000,0");
                if (!Level(key, parts[0], effectShape.RampStart) || !Level(key, parts[1], effectShape.RampEnd)) return false;
                flags |= kDiepTypeSpecific;
            } else if (key == "period" || key == "offset" || key == "phase") {
                if (!IsPeriodic(effectShape.EffectId)) return Error(std::string(key) + "= is for periodic effects");
                if (key == "period" && !Time(key, v, effectShape.Period, false)) return false;
                if (key == "offset" && !Level(key, v, effectShape.Offset)) return false;
                if (key == "phase" && !Unsigned(key, v, effectShape.Phase)) return false;
                flags |= kDiepTypeSpecific;
            } else if (key == "dur") {
                if (!Time(key, v, effectShape.Duration, true)) return false;
                flags |= kDiepDuration;
            } else if (key == "gain") {
                if (!Unsigned(key, v, effectShape.Gain)) return false;
                flags |= kDiepGain;
            } else if (key == "delay") {
                if (!Time(key, v, effectShape.StartDelay, false)) return false;
                flags |= kDiepStartDelay;
            } else if (key == "dir") {
                if (!Direction(v, effectShape)) return false;
                flags |= kDiepDirection;
            } else if (key == "env") {
                flags |= kDiepEnvelope;
                if (v == "none") {
                    nullEnvelope = true;
                    continue;
                }
                const auto parts = Split(v, ',');
                EnvelopeShape e;
                if (parts.size() != 4 || !Unsigned(key, parts[0], e.AttackLevel) ||
                    !Time(key, parts[1], e.AttackTime, false) || !Unsigned(key, parts[2], e.FadeLevel) ||
                    !Time(key, parts[3], e.FadeTime, false))
                    return Error("env= needs <attack level>,<attack time>,<fade level>,<fade time>, as in env=0,300ms,0,300ms, or none");
                effectShape.HasEnvelope = true;
                effectShape.Envelope = e;
                nullEnvelope = false;
            } else {
                return Error("unknown setting '" + std::string(key) +
                             "=' (mag, ramp, period, offset, phase, dur, gain, delay, dir, env)");
            }
        }
        return true;
    }

    std::string_view source_;
    Script script_;
    std::vector<EffectShape> specs_;
    uint64_t lastAt_ = 0;
    std::string error_;
};

}  // namespace

ScriptParse ParseScript(std::string_view text, std::string_view source) { return Parser(source).Run(text); }

std::string_view BuiltinScript() {
    return R"(# dihost's own script: one of each thing a game asks of the pad.
# Times after 'at' count from the start of the script.

# A constant force at full strength on motor 1 (polar 0), then on motor 2.
at 0       download constant as push mag=10000 dur=500ms dir=polar:0 start
at 600ms   download constant as push2 mag=6000 dur=400ms dir=polar:9000 start

# An envelope: up from nothing over 400 ms, held, then down over 400 ms.
at 1200ms  download constant as swell mag=10000 dur=400ms dir=polar:4500 env=0,400ms,0,400ms start

# A ramp from full down to nothing on motor 1.
at 2500ms  download ramp as slide ramp=10000,0 dur=800ms dir=polar:0 start

# Each periodic kind in turn.
at 3500ms  download square as sq mag=10000 period=200ms dur=800ms dir=polar:0 start
at 4400ms  download sine as sn mag=10000 period=400ms dur=800ms dir=polar:9000 start
at 5300ms  download triangle as tri mag=10000 period=400ms dur=800ms dir=polar:0 start
at 6200ms  download sawup as up mag=10000 period=400ms dur=800ms dir=polar:9000 start
at 7100ms  download sawdown as down mag=10000 period=400ms dur=800ms dir=polar:0 start

# A direction sweep: one endless force turned from motor 1 to motor 2.
at 8000ms  download constant as sweep mag=10000 dur=inf dir=polar:0 start
at 8250ms  update sweep dir=polar:1500
at 8500ms  update sweep dir=polar:3000
at 8750ms  update sweep dir=polar:4500
at 9000ms  update sweep dir=polar:6000
at 9250ms  update sweep dir=polar:7500
at 9500ms  update sweep dir=polar:9000
at 9750ms  stop sweep

# Pause and continue: the sine picks up where it stopped.
at 10000ms download sine as hum mag=10000 period=600ms dur=1500ms dir=polar:4500 start
at 10600ms command pause
at 11100ms command continue

# Two forces at once, then stop all.
at 12500ms download square as a mag=8000 period=300ms dur=inf dir=polar:0 start
at 12500ms download constant as b mag=5000 dur=inf dir=polar:9000 start
at 13300ms command stopall
at 13600ms label end
)";
}

}  // namespace padhost
