// dihost's script: one command a line, what a game would do through
// DirectInput, at times of its choosing. The format is in README.md.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/dihost/EffectShape.h"

namespace padhost {

enum class StepKind { Download, Update, Start, Stop, Destroy, Command, Gain, Wait, Label };

struct ScriptStep {
    int Line = 0;
    StepKind Kind = StepKind::Label;
    bool HasAt = false;
    uint64_t AtUs = 0;      // from the script's start, when HasAt
    size_t Effect = 0;      // Download to Destroy: index into Script::EffectNames
    EffectShape Shape;        // Download, Update: the effect after this step
    uint32_t Flags = 0;     // Download, Update: the DIEP flags passed
    bool NullEnvelope = false;  // Update with env=none: DIEP_ENVELOPE and no envelope
    uint32_t Value = 0;     // Command: the command; Gain: the gain; Start: the count
    uint64_t WaitUs = 0;    // Wait
    std::string Label;      // what the picture writes at this step; empty for none
};

struct Script {
    std::vector<ScriptStep> Steps;
    std::vector<std::string> EffectNames;  // in the order of their download
};

struct ScriptParse {
    bool Ok = false;
    Script Parsed;
    std::string Error;  // "<source>:<line>: <what is wrong>"
};

ScriptParse ParseScript(std::string_view text, std::string_view source);

// The script the demo plays when the user gives none.
std::string_view BuiltinScript();

}  // namespace padhost
