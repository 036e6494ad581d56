#include "tests/wine/setup/ToolRunner.h"

#include <vector>

#include "common/win/UniqueResource.h"

namespace setuptest {

namespace {
std::string g_distDir;
}

DWORD RunProgram(const std::string& path) {
    std::vector<char> commandLine(path.begin(), path.end());
    commandLine.insert(commandLine.begin(), '"');
    commandLine.push_back('"');
    commandLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        return kDidNotRun;
    }
    win::UniqueHandle process(info.hProcess);
    win::UniqueHandle thread(info.hThread);
    if (::WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), kDidNotRun);
        return kDidNotRun;
    }
    DWORD code = kDidNotRun;
    ::GetExitCodeProcess(process.get(), &code);
    return code;
}

const std::string& DistDir() { return g_distDir; }

void SetDistDir(const std::string& dir) {
    g_distDir = dir;
    if (!g_distDir.empty() && g_distDir.back() != '\\') g_distDir += '\\';
}

}  // namespace setuptest
