// What the driver leaves on disk: its log hook records nothing, so a whole
// life of the module (load, use, unload) creates no file and no folder.
// Runs in a process of its own so that the load and unload are this test's.
#include <gtest/gtest.h>

#include <windows.h>

#include "hosts/dihost/ProcessStats.h"
#include "hosts/dihost/SettingsKey.h"
#include "tests/wine/forcedriver/DriverUnderTest.h"
#include "tests/wine/forcedriver/PadWatch.h"

using namespace fftest;
using padhost::BuiltEffect;
using padhost::EffectShape;

namespace {

bool Exists(const char* path) { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// The module, by the file name it was loaded from.
bool DriverLoaded() { return ::GetModuleHandleA("padforce.dll") != nullptr; }

}  // namespace

TEST(Footprint, ALifeOfTheDriverCreatesNoLogFileOrFolder) {
    ASSERT_FALSE(Exists("c:\\FF")) << "the prefix is not fresh: c:\\FF is there before the driver ran";
    ASSERT_FALSE(DriverLoaded());
    for (int life = 0; life < 2; ++life) {
        padhost::ScopedSettings settings(kModel47, AsAskedRecord());
        {
            Rig rig;
            ASSERT_TRUE(rig.Ok());
            ASSERT_TRUE(DriverLoaded());
            simpad::SimPad* a = rig.Bind(0);
            simpad::SimPad* b = rig.Bind(1);
            ASSERT_TRUE(a && b);
            BuiltEffect force(EffectShape::Constant(10000, 100000).WithPolar(0));
            BuiltEffect wave(EffectShape::Periodic(padhost::kSine, 8000, 50000, 150000).WithPolar(9000));
            rig.Download(0, force);
            rig.Download(1, wave);
            DWORD handle = 0;
            // Failures too: the error log's turn, had it one.
            EXPECT_EQ(rig.Host().Download(16, force, &handle), E_FAIL);
            EXPECT_EQ(rig.Driver()->GetVersions(nullptr), E_POINTER);
            EXPECT_GE(WaitForDriven(*a, 2000), 0);
            EXPECT_GE(WaitForDriven(*b, 2000), 0);
            EXPECT_EQ(rig.Driver()->SendForceFeedbackCommand(0, DISFFC_PAUSE), S_OK);
            EXPECT_EQ(rig.Driver()->SendForceFeedbackCommand(0, DISFFC_RESET), S_OK);
            ::Sleep(200);
            EXPECT_EQ(rig.Release(), 0u);
        }
        EXPECT_FALSE(DriverLoaded()) << "the host unloads the driver once it allows";
        EXPECT_FALSE(Exists("c:\\FF\\Log\\Err")) << "life " << life;
        EXPECT_FALSE(Exists("c:\\FF\\Log")) << "life " << life;
        EXPECT_FALSE(Exists("c:\\FF")) << "life " << life;
    }
}

// A host that loads the driver, plays, and unloads it again and again (a
// game started many times in one session) must not see the heap grow.
TEST(Footprint, LoadingAndUnloadingTheDriverLeavesTheHeapAsItWas) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    const HMODULE winmm = ::LoadLibraryA("winmm.dll");  // Wine's own per-load costs are not the driver's
    auto life = [] {
        Rig rig;
        ASSERT_TRUE(rig.Ok());
        simpad::SimPad* pad = rig.Bind(0);
        ASSERT_TRUE(pad);
        BuiltEffect force(EffectShape::Constant(10000, 50000).WithPolar(0));
        rig.Download(0, force);
        EXPECT_GE(WaitForDriven(*pad, 2000), 0);
        EXPECT_EQ(rig.Release(), 0u);
    };
    for (int warm = 0; warm < 3; ++warm) life();
    const size_t heapBefore = padhost::HeapBytesInUse();
    constexpr int kLives = 20;
    for (int i = 0; i < kLives; ++i) life();
    ASSERT_FALSE(DriverLoaded());
    const long long growth = static_cast<long long>(padhost::HeapBytesInUse()) - static_cast<long long>(heapBefore);
    EXPECT_LT(growth, 16 * 1024) << "heap in use grew by " << growth << " bytes over " << kLives << " loads";
    if (winmm) ::FreeLibrary(winmm);
}
