// A user at the keyboard, from a thread of its own while the test's thread
// sits in a modal dialog: waits for a window to show, then types into it
// with SendInput as a keyboard would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace paneltest {

struct KeyStroke {
    WORD VirtualKey;
    bool Down;
};

// Down and up of each key in turn.
std::vector<KeyStroke> Taps(std::initializer_list<WORD> keys);
// The strokes that type a text on the keyboard (Shift where the layout needs it).
std::vector<KeyStroke> Typing(const std::string& text);

class User {
public:
    // Waits up to `ms` for a visible top-level window with this caption, then
    // plays the strokes into it, each a little after the last. The strokes
    // must end the window; one still open 3 s later is cancelled.
    User(std::string caption, std::vector<KeyStroke> strokes, DWORD ms = 5000);
    ~User();
    // Whether the window showed, every stroke went in and the window ended.
    bool Done();

private:
    std::thread thread_;
    bool done_ = false;
};

}  // namespace paneltest
