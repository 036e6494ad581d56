// Reading and arranging the registry for the setup tools' tests, through the Windows API.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace setuptest {

using Bytes = std::vector<uint8_t>;

struct RegValue {
    bool Present = false;
    DWORD Type = REG_NONE;
    Bytes Data;
};

RegValue ReadValue(HKEY root, const std::string& path, const char* name);
bool KeyExists(HKEY root, const std::string& path);
std::vector<std::string> SubkeyNames(HKEY root, const std::string& path);

// Every key below `path` with its values, types and bytes, in a fixed order,
// so that two dumps compare equal exactly when the subtrees are the same.
std::string DumpTree(HKEY root, const std::string& path);

void CreateKey(HKEY root, const std::string& path);
void SetValue(HKEY root, const std::string& path, const char* name, DWORD type, const Bytes& data);
void DeleteTree(HKEY root, const std::string& path);

// A string's bytes with its NUL, as REG_SZ stores it.
Bytes StringBytes(const std::string& text);
// A multi-string's bytes: each entry with its NUL, then the closing NUL.
Bytes MultiStringBytes(std::initializer_list<std::string> entries);
std::string Hex(const Bytes& bytes);

}  // namespace setuptest
