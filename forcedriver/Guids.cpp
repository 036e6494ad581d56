// Storage for the DirectInput interface identifiers the driver answers.
#include <windows.h>
#include <dinput.h>
#include <initguid.h>
#include <dinputd.h>
