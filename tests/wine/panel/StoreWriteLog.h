// Every settings record the staged padpanel.dll stores, in order. While the
// log is attached, the module's import of RegSetValueExA points at a
// recorder that writes the down value and then passes the call on; the
// log also keeps the module loaded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/JoySettingRecord.h"
#include "common/win/UniqueResource.h"
#include "hosts/dihost/ImportPatch.h"

namespace paneltest {

class StoreWriteLog {
public:
    StoreWriteLog() = default;
    ~StoreWriteLog() { Detach(); }
    StoreWriteLog(const StoreWriteLog&) = delete;
    StoreWriteLog& operator=(const StoreWriteLog&) = delete;

    // Loads the module at dllPath (a fresh copy if none is loaded) and
    // records its writes of the settings value from now on.
    bool Attach(const std::string& dllPath, std::string* error);
    // Puts the import back and lets go of the module.
    void Detach();

    // The records written so far; a mark is a position in that list.
    const std::vector<pad::JoySettingRecord>& Records() const { return records_; }
    size_t Mark() const { return records_.size(); }
    std::vector<pad::JoySettingRecord> Since(size_t mark) const;
    // Writes of the value that were not one whole record.
    int OddWrites() const { return oddWrites_; }

private:
    static LONG WINAPI RecordingSetValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                                         DWORD size);

    win::UniqueModule module_;
    padhost::ImportPatch patch_;
    std::vector<pad::JoySettingRecord> records_;
    int oddWrites_ = 0;
};

}  // namespace paneltest
