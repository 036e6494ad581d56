// What the panel's Wine tests share: the staged files, the settings value
// read and written through the registry API, Setup.ini in the system folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/JoySettingRecord.h"
#include "common/ProductIdentity.h"
#include "common/SettingsKey.h"

namespace paneltest {

inline constexpr unsigned kModel = pad::ModelNumberFromProductId(pad::kProductId);  // 47
static_assert(kModel == 47, "the pad's product id is 0xA02F");

// Wine's X11 driver waits up to two seconds for a window manager whenever a
// managed window is hidden, and Xvfb has none, so every closed sheet would
// cost that. The driver reads its "Managed" setting once, as a process
// starts: the first call sets it off and runs this program again in a child.
// False when it did, with the child's exit code.
bool RunOnlyWithUnmanagedWindows(int& childExitCode);

std::string DistPath(const std::string& name);  // a file in the staging folder
std::string SystemPath(const std::string& name);  // a file under the system directory

// Setup.ini where the panel reads it: the staged one, given text, or none.
void InstallStagedSetupIni();
void InstallSetupIni(const std::string& text);
void RemoveSetupIni();

void DeleteSettings();  // the whole Software\ZevEreRaverav tree
bool SettingsKeyExists();  // the pad's own key, ...\47
bool AnySettingsKeyExists();  // Software\ZevEreRaverav itself
// The value's bytes, or false when the key or value is missing.
bool ReadStoredBytes(std::vector<uint8_t>& bytes);
bool ReadStored(pad::JoySettingRecord& record);  // exactly one record
void WriteStoredBytes(const void* bytes, DWORD size, DWORD type = REG_BINARY);
void WriteStored(const pad::JoySettingRecord& record);

// The default record of the pad as the staged Setup.ini defines it.
pad::JoySettingRecord StagedDefaults();
// A record unlike the defaults in every field group.
pad::JoySettingRecord UserRecord();
pad::JoySettingRecord TestVariantOf(pad::JoySettingRecord record);

std::string Hex(const pad::JoySettingRecord& r);

}  // namespace paneltest

#define EXPECT_RECORD_EQ(expected, actual) EXPECT_EQ(paneltest::Hex(expected), paneltest::Hex(actual))
