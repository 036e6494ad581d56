// Runs a program and answers the message boxes it shows, as a user pressing
// OK would, printing each one's title and text first, and at the end the
// program's exit code ("exit code: N"):
//   answer_messages PROGRAM [ARGUMENTS...]
// The exit code is the program's; 1000 when it could not be started or did
// not end within two minutes.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "common/win/UniqueResource.h"

namespace {

constexpr DWORD kNotRun = 1000;

std::string WindowText(HWND window) {
    char text[1024] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK AppendStaticText(HWND child, LPARAM param) {
    char cls[32] = "";
    ::GetClassNameA(child, cls, sizeof cls);
    const std::string text = WindowText(child);
    if (::lstrcmpiA(cls, "Static") == 0 && !text.empty()) {
        auto* all = reinterpret_cast<std::string*>(param);
        *all += (all->empty() ? "" : " ") + text;
    }
    return TRUE;
}

// Every dialog window of another process is a message box here: the
// programs run this way show no other dialogs.
BOOL CALLBACK AnswerDialog(HWND window, LPARAM param) {
    auto* answered = reinterpret_cast<std::set<HWND>*>(param);
    char cls[16] = "";
    ::GetClassNameA(window, cls, sizeof cls);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (std::string(cls) != "#32770" || process == ::GetCurrentProcessId() || !::IsWindowVisible(window) ||
        !answered->insert(window).second) {
        return TRUE;
    }
    std::string text;
    ::EnumChildWindows(window, AppendStaticText, reinterpret_cast<LPARAM>(&text));
    std::printf("message: %s: %s\n", WindowText(window).c_str(), text.c_str());
    std::fflush(stdout);
    ::PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

std::string Quoted(const char* arg) {
    const std::string text = arg;
    return text.find(' ') == std::string::npos && !text.empty() ? text : "\"" + text + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: answer_messages PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    std::string commandLine = Quoted(argv[1]);
    for (int i = 2; i < argc; ++i) commandLine += " " + Quoted(argv[i]);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        std::fprintf(stderr, "answer_messages: cannot run %s (error %lu)\n", commandLine.c_str(), ::GetLastError());
        return kNotRun;
    }
    win::UniqueHandle process(info.hProcess);
    win::UniqueHandle thread(info.hThread);
    std::set<HWND> answered;
    for (int waited = 0; ::WaitForSingleObject(process.get(), 100) == WAIT_TIMEOUT; waited += 100) {
        if (waited > 120000) {
            ::TerminateProcess(process.get(), kNotRun);
            std::fprintf(stderr, "answer_messages: %s did not end\n", commandLine.c_str());
            return kNotRun;
        }
        ::EnumWindows(AnswerDialog, reinterpret_cast<LPARAM>(&answered));
    }
    DWORD code = kNotRun;
    ::GetExitCodeProcess(process.get(), &code);
    std::printf("exit code: %lu\n", code);
    return static_cast<int>(code);
}
