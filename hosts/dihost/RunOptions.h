// dihost's command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace padhost {

struct RunOptions {
    std::string Driver;      // empty: padforce.dll beside the program
    std::string ScriptFile;  // empty: the built-in script
    std::string OutDir = "dihost-out";
    bool WriteSettings = true;  // false: no settings key at all
    uint32_t MotorPower = 170;  // 5/5: forces as the game asked
    uint32_t TimeCycle = 170;   // k = 3: periods as the game asked
    uint32_t AutoMode = 0;
    uint32_t TailMs = 300;      // after the script, before the release
    bool Quiet = false;         // no line per report
    bool PrintScript = false;   // print the built-in script and end
    bool Help = false;
};

struct OptionsParse {
    bool Ok = false;
    RunOptions Options;
    std::string Error;
};

OptionsParse ParseRunOptions(const std::vector<std::string>& args);

const char* RunUsage();

}  // namespace padhost
