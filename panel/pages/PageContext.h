// The one page object of the module: both records, the control slots and
// the pages' shared state. Every sheet in the process shares it.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>

#include "common/JoySettingRecord.h"
#include "panel/controls/BitmapControl.h"

namespace padpanel {

inline constexpr int kControlSlotCount = 75;

struct PageContext {
    uint32_t CapturedKey = 0;
    uint32_t JoystickNumber = 0;
    uint32_t AxisCount = 0;
    uint32_t ButtonCount = 0;
    std::array<std::unique_ptr<BitmapControl>, kControlSlotCount> Controls{};  // empty slot: null
    pad::JoySettingRecord Current{};
    pad::JoySettingRecord Saved{};
    DLGPROC KeyPromptProc = nullptr;
    uint8_t DraggingPower = 0;
    uint8_t DraggingTime = 0;
    uint32_t LeftRunMs = 0;
    uint32_t RightRunMs = 0;
    uint8_t AutoPause = 0;
    uint32_t LeftStartTick = 0;
    uint32_t RightStartTick = 0;
    uint32_t CheckStep = 0;
    std::array<uint32_t, 5> CaptureWords{};
    uint8_t FirstSample = 0;
    // Set by LoadSettings, cleared when a sheet's test page initialises: a
    // sheet whose test page could not bind the pad has no record of its own,
    // and its pages neither store nor show anything.
    bool Loaded = false;
};

PageContext& Pages();

// Module load: counts, records and slots zero, the key prompt procedure set.
void ResetPageContext();

// Stores the record that the page code names (0..4, -1, -2) and does what
// entering that page does to the pages.
void EnterPage(HWND page, int code);

}  // namespace padpanel
