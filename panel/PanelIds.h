// Identifiers the panel serves and answers; storage in Guids.cpp.
#pragma once

#include <windows.h>

// {2E8B4F16-7A3C-A02F-C5D2-0040A1E6B937}
extern "C" const CLSID CLSID_PadPropertySheet;
