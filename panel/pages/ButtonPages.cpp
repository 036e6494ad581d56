// The button assignment (1) and keyboard mapping (2) pages share the set
// buttons, the Initial, Load and Save buttons and the button pictures.
#include "panel/pages/Pages.h"
#include "panel/pages/Slots.h"

namespace padpanel {

void EnterButtonPages(HWND page, int pageNumber) {
    // The assignment page tests its clicks 4 pixels right of where the set buttons were built.
    const int32_t dx = pageNumber == 1 ? 4 : 0;
    for (int k = 1; k <= kPadButtons; ++k)
        if (BitmapControl* set = SetButton(k)) set->Move(page, dx, 0, false);
}

void PaintButtonPages(HWND, int pageNumber, HDC dc) {
    DrawSlot(pageNumber == 1 ? kButtonPatch : kKeyboardPatch, dc);
    for (int slot : {kInitialButton, kLoadButton, kSaveButton}) DrawSlot(slot, dc);
}

}  // namespace padpanel
