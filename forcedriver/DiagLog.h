// The diagnostic log hook. The sinks exist and are handed around so that a
// log can be filled in behind them; as shipped they record nothing and never
// create a file or a folder.
#pragma once

#include <cstdint>

#include "RefObject.h"

namespace padforce {

inline constexpr char kModuleLogDirectory[] = "c:\\FF\\Log";
inline constexpr char kErrorLogDirectory[] = "c:\\FF\\Log\\Err";

class DiagLog : public RefObject {
public:
    explicit DiagLog(const char* /*directory*/) {}
    virtual void Log(uint32_t /*code*/, uint32_t /*detail*/) {}
};

}  // namespace padforce
