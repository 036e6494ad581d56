#include "SheetRig.h"

#include <objbase.h>

#include <cstdio>

#include "hosts/cplhost/PanelRegistration.h"
#include "hosts/dinput7/StandInLoader.h"

namespace paneltest {

int RunSheetTests(int argc, char** argv) {
    int childExitCode = 0;
    if (!RunOnlyWithUnmanagedWindows(childExitCode)) return childExitCode;
    std::string error;
    if (!dinput7::LoadStandIn(&error) || !cplhost::RegisterPanel(DistPath("padpanel.dll"), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    ::CoInitialize(nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    ::CoUninitialize();
    return rc;
}

}  // namespace paneltest
