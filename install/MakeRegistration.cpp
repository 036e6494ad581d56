// Writes the installation's regedit files, and the WiX include files of the
// setup packages, from the tables the setup tools are built from.
//   makeregistration <register.reg> <unregister.reg> [<folder for the WiX includes>]
#include <cstdio>
#include <string>

#include "setup/RegistrationFile.h"
#include "setup/WixRegistration.h"

namespace {

bool WriteFile(const std::string& path, const std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && written;
}

bool WriteWixIncludes(const std::string& folder) {
    using namespace padsetup;
    return WriteFile(folder + "/identity.wxi", WixIdentityInclude()) &&
           WriteFile(folder + "/class-padforce.wxi", WixClassInclude(kForceDriverClass)) &&
           WriteFile(folder + "/class-padpanel.wxi", WixClassInclude(kPropertySheetClass)) &&
           WriteFile(folder + "/effect-list.wxi", WixEffectListInclude()) &&
           WriteFile(folder + "/device-keys.wxi", WixDeviceKeysInclude());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <register.reg> <unregister.reg> [<folder for the WiX includes>]\n", argv[0]);
        return 2;
    }
    if (!WriteFile(argv[1], padsetup::RegistrationText()) || !WriteFile(argv[2], padsetup::UnregistrationText())) {
        std::fprintf(stderr, "%s: cannot write the registration files\n", argv[0]);
        return 1;
    }
    if (argc == 4 && !WriteWixIncludes(argv[3])) {
        std::fprintf(stderr, "%s: cannot write the WiX include files into %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
