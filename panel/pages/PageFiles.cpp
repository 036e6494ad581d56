#include "panel/pages/PageFiles.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

#include "panel/SystemFolder.h"

namespace padpanel {

std::string ImageFolder() { return SystemFolder("Zororo\\Image"); }

std::string ImagePath(const std::string& folder, const char* name) { return folder + "\\" + name; }

std::string ButtonSoundPath(int button) {
    char name[32];
    std::snprintf(name, sizeof name, "Zororo\\Wav\\Joy%x.wav", static_cast<unsigned>(button));
    return SystemFolder(name);
}

void PlayButtonSound(int button) {
    // Without SND_NODEFAULT: a missing file plays the system's default sound.
    ::sndPlaySoundA(ButtonSoundPath(button).c_str(), SND_ASYNC);
}

}  // namespace padpanel
