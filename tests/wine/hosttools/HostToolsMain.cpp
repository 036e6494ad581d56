// GoogleTest's main, plus --driver=PATH naming the staged padforce.dll.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/wine/hosttools/DriverPath.h"

namespace hosttools {

namespace {
std::string g_driver;
}

const std::string& DriverPath() { return g_driver; }

}  // namespace hosttools

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--driver=", 9) == 0) hosttools::g_driver = argv[i] + 9;
    if (hosttools::g_driver.empty()) {
        std::fprintf(stderr, "give the staged driver as --driver=PATH\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
