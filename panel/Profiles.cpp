#include "panel/Profiles.h"

#include <commdlg.h>

#include <vector>

#include "common/win/UniqueResource.h"
#include "panel/Module.h"
#include "panel/SetupFile.h"
#include "panel/SystemFolder.h"
#include "panel/pages/EnterPageTable.h"
#include "panel/pages/PageContext.h"

namespace padpanel {

namespace {

constexpr DWORD kRecordSize = sizeof(pad::JoySettingRecord);

// The common dialogs' structure as it was before Windows 2000 added its last fields.
constexpr DWORD kDialogStructSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
#ifndef _WIN64
static_assert(kDialogStructSize == 76, "the common dialogs' structure of 32-bit Windows");
#endif

std::string ProfileFolder() { return SystemFolder("GameSave"); }

// The chosen file's path, or false when the user cancelled.
bool AskForFile(HWND page, bool opening, std::string& path) {
    const std::string folder = ProfileFolder();
    ::CreateDirectoryA(folder.c_str(), nullptr);  // a failure shows in the dialog
    SetupEntry title;
    ReadSetupEntry("DefaultSetting", "OpenFileTitle", title);
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = kDialogStructSize;
    ofn.hwndOwner = page;
    ofn.hInstance = Module().Instance;
    ofn.lpstrFilter = "*.sav\0*.sav\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.c_str();
    ofn.lpstrTitle = title.Text;
    ofn.Flags = OFN_READONLY | OFN_NOCHANGEDIR | OFN_NONETWORKBUTTON | OFN_NODEREFERENCELINKS;
    if (opening) ofn.Flags |= OFN_FILEMUSTEXIST;
    if (!(opening ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn))) return false;
    path = file;
    return true;
}

void ShowError(HWND page, const char* key) {
    SetupEntry caption, text;
    ReadSetupEntry("ErrorInfo", "Error", caption);
    ReadSetupEntry("ErrorInfo", key, text);
    ::MessageBoxA(page, text.Text, caption.Text, MB_OK);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// What a longer file holds after its first record: kept by a save over it.
bool ReadTail(const std::string& path, std::vector<char>& tail) {
    tail.clear();
    const win::UniqueFile file(
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return false;
    if (size.QuadPart <= kRecordSize) return true;
    if (size.QuadPart - kRecordSize > 64 * 1024 * 1024) return false;  // no profile is that long
    tail.resize(static_cast<size_t>(size.QuadPart - kRecordSize));
    DWORD got = 0;
    LARGE_INTEGER at{};
    at.QuadPart = kRecordSize;
    return ::SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) &&
           ::ReadFile(file.get(), tail.data(), static_cast<DWORD>(tail.size()), &got, nullptr) && got == tail.size();
}

bool WriteAll(HANDLE file, const void* bytes, size_t size) {
    DWORD written = 0;
    return size == 0 || (::WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size);
}

}  // namespace

bool ReplaceProfile(const std::string& path, const void* record, size_t size) {
    std::vector<char> tail;
    if (!ReadTail(path, tail)) return false;
    char temporary[MAX_PATH];
    if (!::GetTempFileNameA(FolderOf(path).c_str(), "sav", 0, temporary)) return false;
    bool written;
    {
        const win::UniqueFile file(
            ::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        written = file && WriteAll(file.get(), record, size) && WriteAll(file.get(), tail.data(), tail.size()) &&
                  ::FlushFileBuffers(file.get());
    }
    if (written && ::MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    ::DeleteFileA(temporary);
    return false;
}

void ProfileLoad(HWND page) {
    std::string path;
    if (!AskForFile(page, true, path)) return;
    const win::UniqueFile file(
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    pad::JoySettingRecord scratch;
    DWORD got = 0;
    if (!::ReadFile(file.get(), &scratch, kRecordSize, &got, nullptr) || got != kRecordSize) {
        ShowError(page, "OpenFileErr");
        return;
    }
    Pages().Current = scratch;
    EnterPage(page, kCommitCurrent);
    EnterPage(page, 2);
    ::InvalidateRect(page, nullptr, TRUE);
}

void ProfileSave(HWND page) {
    std::string path;
    if (!AskForFile(page, false, path)) return;
    // A file that is there but cannot be opened for writing is left alone, silently.
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        const win::UniqueFile probe(
            ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe) return;
    }
    if (!ReplaceProfile(path, &Pages().Current, kRecordSize)) ShowError(page, "SaveFileErr");
}

}  // namespace padpanel
