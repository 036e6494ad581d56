// The interface id of the control panel's property sheet interface; the
// panel and the hosts that show it both link this.
#include "panel/GameCntrlPropSheet.h"

extern "C" const IID IID_IDIGameCntrlPropSheet = {
    0x7854FB22, 0x8EE3, 0x11D0, {0xA1, 0xAC, 0x00, 0x00, 0xF8, 0x02, 0x69, 0x77}};
