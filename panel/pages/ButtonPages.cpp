// The button assignment (1) and keyboard mapping (2) pages on Windows: the
// shared set buttons, Initial, Load and Save buttons and button pictures as
// the rules' view, their painting, and the key prompt and profile files.
#include <algorithm>
#include <cstdio>

#include "panel/Module.h"
#include "panel/Profiles.h"
#include "panel/SetupFile.h"
#include "panel/controls/ClippedDrawing.h"
#include "panel/controls/ControlRects.h"
#include "panel/pages/ButtonGrid.h"
#include "panel/pages/ButtonPageRules.h"
#include "panel/pages/KeyNames.h"
#include "panel/pages/PageContext.h"
#include "panel/pages/Pages.h"
#include "panel/pages/Slots.h"
#include "panel/resource.h"

namespace padpanel {

namespace {

int SlotOf(SharedButton b) {
    return b == SharedButton::Initial ? kInitialButton : b == SharedButton::Load ? kLoadButton : kSaveButton;
}

bool KeyNameEntry(int physical, SetupEntry& entry) {
    char key[32];
    std::snprintf(key, sizeof key, "Keyboard%d", physical - 1);
    return ReadSetupEntry("KeyboardPage", key, entry);
}

class PageView final : public ButtonPagesView {
public:
    explicit PageView(HWND page) : page_(page) {}

    bool HasSetButton(int j) const override { return SetButton(j) != nullptr; }
    bool SetButtonDown(int j) const override { return SetButton(j)->GetValue() != 0; }
    void SetSetButton(int j, bool down) override { SetButton(j)->SetValue(page_, down ? 1 : 0); }
    bool HitsSetButton(int j, int32_t x, int32_t y) const override { return SetButton(j)->HitTest(x, y); }
    Box BuiltSetButton(int j) const override { return SetButtonBox(j); }
    bool Hits(SharedButton b, int32_t x, int32_t y) const override {
        const BitmapControl* c = Control(SlotOf(b));
        return c && c->HitTest(x, y);
    }
    void SetShared(SharedButton b, bool down) override {
        if (BitmapControl* c = Control(SlotOf(b))) c->SetValue(page_, down ? 1 : 0);
    }
    void MoveFirstPicture(int32_t x, int32_t y) override {
        if (BitmapControl* p = Picture(1)) p->Move(page_, x, y, true);
    }
    void InvalidatePage() override { ::InvalidateRect(page_, nullptr, TRUE); }
    void InvalidateKeyName(int physical) override {
        SetupEntry entry;
        KeyNameEntry(physical, entry);
        const RECT r{entry.Left, entry.Top, entry.Right, entry.Bottom};
        ::InvalidateRect(page_, &r, TRUE);
    }
    bool PromptForKey(uint32_t& key) override {
        const INT_PTR answer = ::DialogBoxParamA(Module().Instance, MAKEINTRESOURCEA(IDD_KEY_PROMPT), page_,
                                                 Pages().KeyPromptProc, 0);
        key = Pages().CapturedKey;
        return answer == IDOK;
    }
    void LoadProfile() override { ProfileLoad(page_); }
    void SaveProfile() override { ProfileSave(page_); }
    void EnterPage(int code) override { padpanel::EnterPage(page_, code); }

private:
    HWND page_;
};

int PadButtons() { return static_cast<int>(std::min<uint32_t>(Pages().ButtonCount, kPadButtons)); }

// Picture m drawn `shift` pixels right of set button j's built corner.
void DrawPictureBeside(HDC dc, int j, int m, int32_t shift) {
    BitmapControl* picture = Picture(m);
    if (!picture || !SetButton(j)) return;
    const Box built = SetButtonBox(j);
    picture->Move(nullptr, built.Left + shift, built.Top, false);
    picture->Draw(dc);
}

void PaintAssignments(HDC dc) {
    const pad::JoySettingRecord& current = Pages().Current;
    for (int j = 1; j <= kPadButtons; ++j) {
        const int m = current.ButtonMap[j - 1];
        if (m >= 1 && m <= kPadButtons) DrawPictureBeside(dc, j, m, kAssignedPictureShift);
    }
    // Drawn a pixel left of where they were built, then clicked a pixel right of it.
    for (int j = 1; j <= kPadButtons; ++j) {
        BitmapControl* set = SetButton(j);
        if (!set) continue;
        set->Move(nullptr, -1, 0, false);
        set->Draw(dc);
        set->Move(nullptr, 1, 0, false);
    }
}

void PaintKeyNames(HDC dc) {
    const pad::JoySettingRecord& current = Pages().Current;
    const COLORREF previous = ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    for (int j = 1; j <= kPadButtons; ++j) {
        const int m = current.ButtonMap[j - 1];
        if (m >= 1 && m <= kPadButtons && m != j) DrawPictureBeside(dc, j, m, kRemappedPictureShift);
    }
    for (int j = 1; j <= kPadButtons; ++j) {
        BitmapControl* set = SetButton(j);
        if (!set) continue;
        set->Draw(dc);
        const uint32_t key = current.KeyCodes[KeyIndexOf(current.ButtonMap[j - 1])];
        SetupEntry entry;
        if (key == 0 || !KeyNameEntry(j, entry)) continue;
        char name[kKeyNameCapacity];
        FormatKeyName(key, name, sizeof name);
        DrawTextIn(dc, name, RECT{entry.Left, entry.Top, entry.Right, entry.Bottom});
    }
    ::SetTextColor(dc, previous);
}

}  // namespace

void EnterButtonPages(HWND page, int pageNumber) {
    // The assignment page tests its clicks 4 pixels right of where the set buttons were built.
    const int32_t dx = pageNumber == 1 ? 4 : 0;
    for (int k = 1; k <= kPadButtons; ++k)
        if (BitmapControl* set = SetButton(k)) set->Move(page, dx, 0, false);
}

void PaintButtonPages(HWND, int pageNumber, HDC dc) {
    DrawSlot(pageNumber == 1 ? kButtonPatch : kKeyboardPatch, dc);
    for (int slot : {kInitialButton, kLoadButton, kSaveButton}) DrawSlot(slot, dc);
    if (pageNumber == 1)
        PaintAssignments(dc);
    else
        PaintKeyNames(dc);
}

void ClickButtonPages(HWND page, int pageNumber, int x, int y) {
    PageView view(page);
    ClickButtonPage(pageNumber, Pages().Current, PadButtons(), view, x, y);
}

void TickAssignmentPage(HWND page, const DIJOYSTATE& state) {
    PageView view(page);
    TickButtonPage(Pages().Current, PadButtons(), state.rgbButtons, view);
}

}  // namespace padpanel
