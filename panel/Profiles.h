// Profile files: complete setting sets kept as files, one per game, in
// "<system>\GameSave". A profile is the 112 bytes of the settings record.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace padpanel {

// Lets the user pick a profile and, when it holds a whole record, makes it
// the current record (stored, then the keyboard page's record).
void ProfileLoad(HWND page);

// Lets the user pick a name and writes the current record there. A failed
// save leaves an existing file as it was and creates none.
void ProfileSave(HWND page);

// The save itself: `record` written over the first bytes of `path`, keeping
// what a longer file holds after them, through a temporary file in the same
// folder that replaces the target only once it is complete. False, with the
// target untouched and no temporary file left, when any step fails.
bool ReplaceProfile(const std::string& path, const void* record, size_t size);

}  // namespace padpanel
