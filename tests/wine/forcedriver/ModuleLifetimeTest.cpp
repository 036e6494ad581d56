// When the module may be unloaded, and what a careless caller of its class
// factory cannot break. Each test needs a module nothing has used before
// (or one it may leave miscounted), so each runs in a process of its own.
#include <gtest/gtest.h>

#include <windows.h>
#include <dinput.h>
#include <dinputd.h>
#include <wrl/client.h>

#include "hosts/dihost/DriverModule.h"
#include "tests/wine/forcedriver/DriverUnderTest.h"

using Microsoft::WRL::ComPtr;
using namespace fftest;
using padhost::DriverModule;
using padhost::kForceDriverClsid;

namespace {

std::unique_ptr<DriverModule> LoadModule() {
    std::string error;
    auto module = DriverModule::Load(DriverPath(), &error);
    if (!module) ADD_FAILURE() << error;
    return module;
}

IClassFactory* RawFactory(const DriverModule& module) {
    void* out = nullptr;
    EXPECT_EQ(module.GetClassObject(kForceDriverClsid, IID_IClassFactory, &out), S_OK);
    return static_cast<IClassFactory*>(out);
}

HRESULT Create(IClassFactory* factory, ComPtr<IDirectInputEffectDriver>& out) {
    return factory->CreateInstance(nullptr, IID_IDirectInputEffectDriver, reinterpret_cast<void**>(out.GetAddressOf()));
}

}  // namespace

TEST(ModuleLifetime, DllCanUnloadNowFollowsLocksAndTheLiveDriver) {
    auto module = LoadModule();
    ASSERT_TRUE(module);
    EXPECT_EQ(module->CanUnloadNow(), S_OK) << "nothing handed out yet";
    IClassFactory* factory = RawFactory(*module);
    ASSERT_TRUE(factory);
    EXPECT_EQ(module->CanUnloadNow(), S_OK) << "a held factory alone does not keep the module";
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(module->CanUnloadNow(), S_FALSE) << "a server lock keeps the module";
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(module->CanUnloadNow(), S_OK) << "the lock is gone";

    ComPtr<IDirectInputEffectDriver> driver;
    ASSERT_EQ(Create(factory, driver), S_OK);
    EXPECT_EQ(module->CanUnloadNow(), S_FALSE) << "a live EffectDriver keeps the module";
    factory->Release();
    EXPECT_EQ(module->CanUnloadNow(), S_FALSE) << "the driver lives on without its factory";
    driver.Reset();
    EXPECT_EQ(module->CanUnloadNow(), S_OK) << "the driver's final Release lets the module go";
}

TEST(ModuleLifetime, AServerLockTakenBeforeTheDriverIsCreatedStillHolds) {
    auto module = LoadModule();
    ASSERT_TRUE(module);
    IClassFactory* factory = RawFactory(*module);
    ASSERT_TRUE(factory);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    ComPtr<IDirectInputEffectDriver> driver;
    ASSERT_EQ(Create(factory, driver), S_OK);
    driver.Reset();
    // Unloading now would pull the code from under the caller's LockServer(FALSE).
    EXPECT_EQ(module->CanUnloadNow(), S_FALSE) << "the caller's lock was forgotten when the driver was made";
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    EXPECT_EQ(module->CanUnloadNow(), S_OK);
}

TEST(FactoryAbuse, TwoFactoryReferencesEachStayUsableUntilTheirOwnRelease) {
    auto module = LoadModule();
    ASSERT_TRUE(module);
    IClassFactory* first = RawFactory(*module);
    IClassFactory* second = RawFactory(*module);
    ASSERT_TRUE(first && second);
    first->Release();
    ComPtr<IDirectInputEffectDriver> driver;
    EXPECT_EQ(Create(second, driver), S_OK) << "the second reference outlives the first one's Release";
    EXPECT_TRUE(driver);
    driver.Reset();
    second->Release();
    EXPECT_EQ(module->CanUnloadNow(), S_OK);
}

TEST(FactoryAbuse, ReleasingTooOftenOrUnlockingWithoutALockLeavesTheModuleWorking) {
    auto module = LoadModule();
    ASSERT_TRUE(module);
    IClassFactory* factory = RawFactory(*module);
    ASSERT_TRUE(factory);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK) << "unlocking without a lock";
    EXPECT_EQ(module->CanUnloadNow(), S_OK) << "the count does not go below nothing";
    ComPtr<IDirectInputEffectDriver> driver;
    EXPECT_EQ(Create(factory, driver), S_OK) << "the factory still works after a stray unlock";
    driver.Reset();
    factory->Release();
    factory->Release();
    factory->Release();

    // A caller that comes later gets a working factory and driver.
    IClassFactory* later = RawFactory(*module);
    ASSERT_TRUE(later);
    EXPECT_EQ(module->CanUnloadNow(), S_OK) << "the over-released count did not wrap";
    ASSERT_EQ(later->LockServer(TRUE), S_OK);
    EXPECT_EQ(module->CanUnloadNow(), S_FALSE) << "locks still count after the abuse";
    ASSERT_EQ(later->LockServer(FALSE), S_OK);
    ASSERT_EQ(Create(later, driver), S_OK);
    EXPECT_TRUE(driver);
    DIDRIVERVERSIONS versions{};
    versions.dwSize = sizeof versions;
    EXPECT_EQ(driver->GetVersions(&versions), S_OK);
    driver.Reset();
    later->Release();
    EXPECT_EQ(module->CanUnloadNow(), S_OK);
}
