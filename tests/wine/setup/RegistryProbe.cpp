#include "tests/wine/setup/RegistryProbe.h"

#include <algorithm>
#include <cstdio>

#include "common/win/RegistryTree.h"
#include "common/win/UniqueResource.h"

namespace setuptest {

namespace {

win::UniqueHKey Open(HKEY root, const std::string& path) {
    win::UniqueHKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) key.release();
    return key;
}

void DumpInto(HKEY root, const std::string& path, std::string& out) {
    win::UniqueHKey key = Open(root, path);
    if (!key) return;
    out += "[" + path + "]\n";
    std::vector<std::string> values;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameSize = sizeof name, type = 0, dataSize = 0;
        if (::RegEnumValueA(key.get(), i, name, &nameSize, nullptr, &type, nullptr, &dataSize) != ERROR_SUCCESS) {
            break;
        }
        Bytes data(dataSize);
        nameSize = sizeof name;
        ::RegEnumValueA(key.get(), i, name, &nameSize, nullptr, &type, data.data(), &dataSize);
        data.resize(dataSize);
        values.push_back("  " + std::string(name) + " type " + std::to_string(type) + " " + Hex(data) + "\n");
    }
    std::sort(values.begin(), values.end());
    for (const std::string& v : values) out += v;
    std::vector<std::string> children = SubkeyNames(root, path);
    std::sort(children.begin(), children.end());
    for (const std::string& child : children) DumpInto(root, path + "\\" + child, out);
}

}  // namespace

RegValue ReadValue(HKEY root, const std::string& path, const char* name) {
    RegValue value;
    win::UniqueHKey key = Open(root, path);
    if (!key) return value;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), name, nullptr, &value.Type, nullptr, &size) != ERROR_SUCCESS) return value;
    value.Data.resize(size);
    if (::RegQueryValueExA(key.get(), name, nullptr, &value.Type, value.Data.data(), &size) != ERROR_SUCCESS) {
        return RegValue{};
    }
    value.Data.resize(size);
    value.Present = true;
    return value;
}

bool KeyExists(HKEY root, const std::string& path) { return static_cast<bool>(Open(root, path)); }

std::vector<std::string> SubkeyNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    win::UniqueHKey key = Open(root, path);
    if (!key) return names;
    char name[256];
    for (DWORD i = 0; ::RegEnumKeyA(key.get(), i, name, sizeof name) == ERROR_SUCCESS; ++i) names.push_back(name);
    return names;
}

std::string DumpTree(HKEY root, const std::string& path) {
    std::string out;
    DumpInto(root, path, out);
    return out;
}

void CreateKey(HKEY root, const std::string& path) {
    win::UniqueHKey key;
    if (::RegCreateKeyA(root, path.c_str(), key.put()) != ERROR_SUCCESS) key.release();
}

void SetValue(HKEY root, const std::string& path, const char* name, DWORD type, const Bytes& data) {
    win::UniqueHKey key;
    if (::RegCreateKeyA(root, path.c_str(), key.put()) != ERROR_SUCCESS) {
        key.release();
        return;
    }
    ::RegSetValueExA(key.get(), name, 0, type, data.data(), static_cast<DWORD>(data.size()));
}

void DeleteTree(HKEY root, const std::string& path) { win::DeleteRegistryTree(root, path.c_str()); }

Bytes StringBytes(const std::string& text) {
    Bytes b(text.begin(), text.end());
    b.push_back(0);
    return b;
}

Bytes MultiStringBytes(std::initializer_list<std::string> entries) {
    Bytes b;
    for (const std::string& e : entries) {
        b.insert(b.end(), e.begin(), e.end());
        b.push_back(0);
    }
    b.push_back(0);
    return b;
}

std::string Hex(const Bytes& bytes) {
    std::string s;
    char pair[4];
    for (uint8_t byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02X ", byte);
        s += pair;
    }
    if (!s.empty()) s.pop_back();
    return s;
}

}  // namespace setuptest
