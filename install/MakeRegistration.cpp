// Writes the installation's regedit files from the tables the setup tools are built from.
//   makeregistration <register.reg> <unregister.reg>
#include <cstdio>
#include <string>

#include "setup/RegistrationFile.h"

namespace {

bool WriteFile(const char* path, const std::string& text) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <register.reg> <unregister.reg>\n", argv[0]);
        return 2;
    }
    if (!WriteFile(argv[1], padsetup::RegistrationText()) || !WriteFile(argv[2], padsetup::UnregistrationText())) {
        std::fprintf(stderr, "%s: cannot write the registration files\n", argv[0]);
        return 1;
    }
    return 0;
}
