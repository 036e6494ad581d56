// The button assignment (page 1) and keyboard mapping (page 2) pages'
// clicks and ticks without Windows, and the key prompt's rule. The shared
// controls, the prompt, the profile files and the record's writes sit
// behind ButtonPagesView.
#pragma once

#include <cstdint>

#include "common/JoySettingRecord.h"
#include "panel/controls/ControlGeometry.h"

namespace padpanel {

enum class SharedButton { Initial, Load, Save };

class ButtonPagesView {
public:
    // Set button j (1..12); a missing one is skipped everywhere.
    virtual bool HasSetButton(int j) const = 0;
    virtual bool SetButtonDown(int j) const = 0;
    virtual void SetSetButton(int j, bool down) = 0;
    virtual bool HitsSetButton(int j, int32_t x, int32_t y) const = 0;
    virtual Box BuiltSetButton(int j) const = 0;  // where it was built, without its offset
    virtual bool Hits(SharedButton b, int32_t x, int32_t y) const = 0;
    virtual void SetShared(SharedButton b, bool down) = 0;
    // Button 1's picture moved with a redraw, to repaint a spot.
    virtual void MoveFirstPicture(int32_t x, int32_t y) = 0;
    virtual void InvalidatePage() = 0;
    virtual void InvalidateKeyName(int physical) = 0;  // the "KeyboardPage" "Keyboard%d" text of button 1..12
    // The key prompt: true when the user confirmed, with the key.
    virtual bool PromptForKey(uint32_t& key) = 0;
    virtual void LoadProfile() = 0;
    virtual void SaveProfile() = 0;
    virtual void EnterPage(int code) = 0;

protected:
    ~ButtonPagesView() = default;
};

// Where a physical button's logical picture shows on each page.
inline constexpr int32_t kAssignedPictureShift = 144;  // button assignment page
inline constexpr int32_t kRemappedPictureShift = 75;   // keyboard mapping page

// The index of the key of a map entry: entry - 1, or 11 (button 12's) when
// that is outside 0..11.
inline int KeyIndexOf(uint8_t mapEntry) { return mapEntry >= 1 && mapEntry <= 12 ? mapEntry - 1 : 11; }

// pageNumber 1 or 2; `buttons` how many physical buttons the pad has.
void ClickButtonPage(int pageNumber, pad::JoySettingRecord& current, int buttons, ButtonPagesView& view, int32_t x,
                     int32_t y);
// The assignment page's tick: a waiting set button takes the highest-numbered
// pad button that is down.
void TickButtonPage(pad::JoySettingRecord& current, int buttons, const uint8_t* pressed, ButtonPagesView& view);

// One key message of the key prompt: Shift, Ctrl and Alt count only while
// held; any other key, down or up, becomes the usage.
uint32_t KeyPromptStep(uint32_t captured, uint32_t virtualKey, bool down);

}  // namespace padpanel
