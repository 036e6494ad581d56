#include "UserInput.h"

namespace paneltest {

std::vector<KeyStroke> Taps(std::initializer_list<WORD> keys) {
    std::vector<KeyStroke> out;
    for (WORD k : keys) {
        out.push_back({k, true});
        out.push_back({k, false});
    }
    return out;
}

std::vector<KeyStroke> Typing(const std::string& text) {
    std::vector<KeyStroke> out;
    for (char c : text) {
        const SHORT scan = ::VkKeyScanA(c);
        const WORD key = LOBYTE(scan);
        const bool shift = HIBYTE(scan) & 1;
        if (shift) out.push_back({VK_SHIFT, true});
        out.push_back({key, true});
        out.push_back({key, false});
        if (shift) out.push_back({VK_SHIFT, false});
    }
    return out;
}

User::User(std::string caption, std::vector<KeyStroke> strokes, DWORD ms)
    : thread_([this, caption = std::move(caption), strokes = std::move(strokes), ms] {
          HWND window = nullptr;
          for (DWORD waited = 0; waited < ms && !window; waited += 20) {
              ::Sleep(20);
              HWND found = ::FindWindowA(nullptr, caption.c_str());
              if (found && ::IsWindowVisible(found)) window = found;
          }
          if (!window) return;
          ::Sleep(300);  // let it take the focus
          for (const KeyStroke& s : strokes) {
              INPUT input{};
              input.type = INPUT_KEYBOARD;
              input.ki.wVk = s.VirtualKey;
              input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(s.VirtualKey, MAPVK_VK_TO_VSC));
              input.ki.dwFlags = s.Down ? 0 : KEYEVENTF_KEYUP;
              if (::SendInput(1, &input, sizeof input) != 1) break;
              ::Sleep(30);
          }
          // The keys were to end the window; one that stays would hang the test.
          for (DWORD waited = 0; waited < 3000 && ::IsWindow(window); waited += 20) ::Sleep(20);
          if (::IsWindow(window)) {
              ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
              return;
          }
          done_ = true;
      }) {}

User::~User() {
    if (thread_.joinable()) thread_.join();
}

bool User::Done() {
    if (thread_.joinable()) thread_.join();
    return done_;
}

}  // namespace paneltest
