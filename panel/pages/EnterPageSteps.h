// The order of what EnterPage does: the left-motor test stopped, the
// vibration strength limited, the page's controls set, the record stored,
// the page's state settled. The Windows side sits behind EnterPageSide.
#pragma once

#include <cstdint>

#include "common/JoySettingRecord.h"
#include "panel/RecordDefaults.h"

namespace padpanel {

// What EnterPage reads and changes of the page context.
struct EnterPageState {
    pad::JoySettingRecord& Current;
    const pad::JoySettingRecord& Saved;
    uint32_t& LeftRunMs;
    uint8_t& DraggingPower;
    uint8_t& DraggingTime;
};

class EnterPageSide {
public:
    virtual void StopMotors() = 0;
    // The page's controls, set from Current before the record is stored.
    virtual void BeforeStore(int code) = 0;
    // Read only when the code stores the defaults.
    virtual DefaultAxisWords AxisWords() = 0;
    virtual void Store(const pad::JoySettingRecord& record) = 0;
    virtual void AfterStore(int code) = 0;

protected:
    ~EnterPageSide() = default;
};

// False, doing nothing, for a code outside 0..4, -1, -2. The page hooks run
// for the page codes 0..4 only; -1 and -2 only store.
bool RunEnterPage(int code, EnterPageState state, EnterPageSide& side);

}  // namespace padpanel
