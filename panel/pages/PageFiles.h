// Where the pages' installed files live: "<system>\Zororo\Image\<name>" and
// the button sounds "<system>\Zororo\Wav\Joy<k in hex>.wav".
#pragma once

#include <string>

namespace padpanel {

// The image folder, "<system directory>\Zororo\Image".
std::string ImageFolder();
// "<folder>\<name>".
std::string ImagePath(const std::string& folder, const char* name);
std::string ButtonSoundPath(int button);

// Plays button k's sound asynchronously; a new sound cuts off the one playing.
void PlayButtonSound(int button);

}  // namespace padpanel
