#include "panel/pages/ButtonPageRules.h"

#include "panel/pages/KeyNames.h"

namespace padpanel {

namespace {

constexpr int kButtons = pad::kButtonCount;

void Shared(ButtonPagesView& view, SharedButton b, void (ButtonPagesView::*run)()) {
    view.SetShared(b, true);
    (view.*run)();
    view.SetShared(b, false);
}

void PromptForSetButton(int j, pad::JoySettingRecord& current, int buttons, ButtonPagesView& view) {
    view.SetSetButton(j, true);
    uint32_t key = 0;
    if (view.PromptForKey(key)) {
        const int n = KeyIndexOf(current.ButtonMap[j - 1]);
        current.KeyCodes[n] = key;
        // Every physical button of that logical button shows the new name.
        for (int i = 1; i <= buttons && i <= kButtons; ++i)
            if (current.ButtonMap[i - 1] == n + 1) view.InvalidateKeyName(i);
        view.EnterPage(-1);
        view.EnterPage(2);
    }
    view.SetSetButton(j, false);
}

}  // namespace

void ClickButtonPage(int pageNumber, pad::JoySettingRecord& current, int buttons, ButtonPagesView& view, int32_t x,
                     int32_t y) {
    for (int j = 1; j <= kButtons; ++j)
        if (view.HasSetButton(j)) view.SetSetButton(j, false);
    for (int j = 1; j <= kButtons; ++j) {
        if (!view.HasSetButton(j) || !view.HitsSetButton(j, x, y)) continue;
        if (pageNumber == 1)
            view.SetSetButton(j, true);  // it waits for a pad button
        else
            PromptForSetButton(j, current, buttons, view);
    }
    if (view.Hits(SharedButton::Initial, x, y)) {
        if (pageNumber == 1) {
            for (int i = 0; i < kButtons; ++i) current.ButtonMap[i] = static_cast<uint8_t>(i + 1);
        } else {
            for (uint32_t& key : current.KeyCodes) key = 0;
        }
        view.EnterPage(-1);
        view.EnterPage(pageNumber);
        view.InvalidatePage();
    }
    if (view.Hits(SharedButton::Load, x, y)) Shared(view, SharedButton::Load, &ButtonPagesView::LoadProfile);
    if (view.Hits(SharedButton::Save, x, y)) Shared(view, SharedButton::Save, &ButtonPagesView::SaveProfile);
}

void TickButtonPage(pad::JoySettingRecord& current, int buttons, const uint8_t* pressed, ButtonPagesView& view) {
    for (int j = 1; j <= kButtons; ++j) {
        if (!view.HasSetButton(j) || !view.SetButtonDown(j)) continue;
        for (int i = 1; i <= buttons && i <= kButtons; ++i) {
            if (!pressed[i - 1]) continue;
            current.ButtonMap[j - 1] = static_cast<uint8_t>(i);
            view.SetSetButton(j, false);
            const Box built = view.BuiltSetButton(j);
            view.MoveFirstPicture(built.Left + kAssignedPictureShift, built.Top);
        }
    }
}

uint32_t KeyPromptStep(uint32_t captured, uint32_t virtualKey, bool down) {
    uint32_t modifier = 0;
    switch (virtualKey) {
    case 16: modifier = kKeyShift; break;
    case 17: modifier = kKeyCtrl; break;
    case 18: modifier = kKeyAlt; break;
    default: return (captured & ~kKeyUsageMask) | UsageForVirtualKey(virtualKey);
    }
    return down ? captured | modifier : captured & ~modifier;
}

}  // namespace padpanel
