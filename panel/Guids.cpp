// Storage for the identifiers the panel uses.
#include <windows.h>
#include <initguid.h>
#include <dinput.h>
#include <dinputd.h>

#include "panel/GameCntrlPropSheet.h"
#include "panel/PanelIds.h"

extern "C" const CLSID CLSID_PadPropertySheet = {
    0x2E8B4F16, 0x7A3C, 0xA02F, {0xC5, 0xD2, 0x00, 0x40, 0xA1, 0xE6, 0xB9, 0x37}};
