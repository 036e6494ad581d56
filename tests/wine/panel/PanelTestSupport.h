// What the panel's Wine tests share: the staged files, the settings value
// read and written through the registry API, Setup.ini in the system folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/JoySettingRecord.h"

namespace paneltest {

inline constexpr unsigned kModel = 47;  // the pad's product id 0xA02F
inline constexpr char kSettingsKey[] = "Software\\ZevEreRaverav\\47";

std::string DistPath(const std::string& name);  // a file in the staging folder
std::string SystemPath(const std::string& name);  // a file under the system directory

// Setup.ini where the panel reads it: the staged one, given text, or none.
void InstallStagedSetupIni();
void InstallSetupIni(const std::string& text);
void RemoveSetupIni();

void DeleteSettings();  // the whole Software\ZevEreRaverav tree
bool SettingsKeyExists();
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
