// GoogleTest's main, plus --driver=PATH naming the staged padforce.dll.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/wine/forcedriver/DriverUnderTest.h"

namespace fftest {

namespace {
std::string g_driver;
}

const std::string& DriverPath() { return g_driver; }

}  // namespace fftest

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--driver=", 9) == 0) fftest::g_driver = argv[i] + 9;
    if (fftest::g_driver.empty()) {
        std::fprintf(stderr, "give the staged driver as --driver=PATH\n");
        return 2;
    }
    // A Windows path, whichever way the build spelled it.
    std::replace(fftest::g_driver.begin(), fftest::g_driver.end(), '/', '\\');
    return RUN_ALL_TESTS();
}
