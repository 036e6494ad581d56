// What the whole module shares: its handle, the object count that decides
// unloading, and the one lock, held only while DirectInput objects are bound.
#pragma once

#include <windows.h>

#include "common/win/CriticalSection.h"

namespace padpanel {

struct PanelModule {
    HINSTANCE Instance = nullptr;
    LONG ObjectCount = 0;  // live factories, live sheets, server locks
    win::CriticalSection BindLock;
};

PanelModule& Module();

inline void ObjectCreated() { ::InterlockedIncrement(&Module().ObjectCount); }
inline void ObjectDestroyed() { ::InterlockedDecrement(&Module().ObjectCount); }

}  // namespace padpanel
