#include "StoreWriteLog.h"

#include <cstring>

#include "common/ProductIdentity.h"

namespace paneltest {

namespace {

StoreWriteLog* g_log = nullptr;  // the recorder has no context of its own
using SetValueFn = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD);
SetValueFn g_original = nullptr;

}  // namespace

bool StoreWriteLog::Attach(const std::string& dllPath, std::string* error) {
    Detach();
    module_.reset(::LoadLibraryA(dllPath.c_str()));
    if (!module_) {
        if (error) *error = "cannot load " + dllPath;
        return false;
    }
    if (!patch_.Apply(module_.get(), "advapi32.dll", "RegSetValueExA", reinterpret_cast<void*>(&RecordingSetValue),
                      error)) {
        module_.reset();
        return false;
    }
    g_original = reinterpret_cast<SetValueFn>(patch_.Original());
    g_log = this;
    records_.clear();
    oddWrites_ = 0;
    return true;
}

void StoreWriteLog::Detach() {
    if (g_log == this) g_log = nullptr;
    patch_.Restore();
    module_.reset();
}

std::vector<pad::JoySettingRecord> StoreWriteLog::Since(size_t mark) const {
    if (mark >= records_.size()) return {};
    return std::vector<pad::JoySettingRecord>(records_.begin() + static_cast<std::ptrdiff_t>(mark), records_.end());
}

LONG WINAPI StoreWriteLog::RecordingSetValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                                             DWORD size) {
    if (g_log && name && lstrcmpiA(name, pad::kSettingsValueName) == 0) {
        if (data && size == sizeof(pad::JoySettingRecord)) {
            pad::JoySettingRecord record;
            std::memcpy(&record, data, sizeof record);
            g_log->records_.push_back(record);
        } else {
            ++g_log->oddWrites_;
        }
    }
    return g_original ? g_original(key, name, reserved, type, data, size) : ERROR_INVALID_FUNCTION;
}

}  // namespace paneltest
