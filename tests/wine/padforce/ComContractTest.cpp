// The COM contract of padforce.dll: entry points, class factory, the one
// driver per process, argument checks, and the final release.
#include "tests/wine/padforce/DriverTestSupport.h"

#include <wrl/client.h>

#include <set>

#include "hosts/dihost/DriverModule.h"
#include "hosts/dihost/ProcessStats.h"

namespace fftests {
namespace {

using Microsoft::WRL::ComPtr;
using padhost::EffectShape;
using padhost::kInfinite;

std::unique_ptr<padhost::DriverModule> Load() {
    std::string error;
    auto m = padhost::DriverModule::Load(DriverPath(), &error);
    EXPECT_TRUE(m) << error;
    return m;
}

TEST(ComEntry, AnotherClassIsNotAvailableAndTheOutPointerIsCleared) {
    auto m = Load();
    GUID other = padhost::kForceDriverClsid;
    other.Data4[7] ^= 1;
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(m->GetClassObject(other, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
}

TEST(ComEntry, TheFactoryAnswersItsInterfacesOnlyAndRefusesAggregation) {
    auto m = Load();
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(m->GetClassObject(padhost::kForceDriverClsid, IID_IClassFactory, &factory), S_OK);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(factory.As(&unknown), S_OK);
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(factory->QueryInterface(IID_IDirectInputEffectDriver, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    ComPtr<IUnknown> outer;
    ASSERT_EQ(factory.As(&outer), S_OK);
    out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(factory->CreateInstance(outer.Get(), IID_IDirectInputEffectDriver, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    unknown.Reset();
    outer.Reset();
    EXPECT_EQ(m->CanUnloadNow(), S_OK) << "a refused interface leaves no driver behind";
}

TEST(ComEntry, TheDriverAnswersItsInterfacesOnly) {
    auto m = Load();
    ComPtr<IDirectInputEffectDriver> driver;
    ASSERT_EQ(m->CreateDriver(driver), S_OK);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(driver.As(&unknown), S_OK);
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(driver->QueryInterface(IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}

TEST(ComEntry, CanUnloadNowFollowsFactoryLocksAndTheDriversLifetime) {
    auto m = Load();
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(m->GetClassObject(padhost::kForceDriverClsid, IID_IClassFactory, &factory), S_OK);
    EXPECT_EQ(m->CanUnloadNow(), S_OK) << "a held factory alone does not count";
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(m->CanUnloadNow(), S_FALSE);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(m->CanUnloadNow(), S_OK);

    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    ComPtr<IDirectInputEffectDriver> driver;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDirectInputEffectDriver, &driver), S_OK);
    EXPECT_EQ(m->CanUnloadNow(), S_FALSE) << "a live driver keeps the module";
    driver.Reset();
    EXPECT_EQ(m->CanUnloadNow(), S_FALSE) << "the lock taken before the driver was made still holds";
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(m->CanUnloadNow(), S_OK);
}

TEST(ComEntry, OneDriverPerProcessAndReleasingOneReferenceLeavesTheOtherUsable) {
    auto m = Load();
    ComPtr<IDirectInputEffectDriver> first, second;
    ASSERT_EQ(m->CreateDriver(first), S_OK);
    ASSERT_EQ(m->CreateDriver(second), S_OK);
    EXPECT_EQ(first.Get(), second.Get());
    first.Reset();
    DIDRIVERVERSIONS v{sizeof v, 0, 0, 0};
    EXPECT_EQ(second->GetVersions(&v), S_OK);
    second.Reset();
    ComPtr<IDirectInputEffectDriver> fresh;
    ASSERT_EQ(m->CreateDriver(fresh), S_OK) << "after the last release a new driver is built";
}

TEST(ComEntry, OverReleasingTheFactoryOrUnlockingWithoutALockDoesNotCrash) {
    auto m = Load();
    IClassFactory* a = nullptr;
    IClassFactory* b = nullptr;
    ASSERT_EQ(m->GetClassObject(padhost::kForceDriverClsid, IID_IClassFactory, reinterpret_cast<void**>(&a)), S_OK);
    ASSERT_EQ(m->GetClassObject(padhost::kForceDriverClsid, IID_IClassFactory, reinterpret_cast<void**>(&b)), S_OK);
    a->Release();
    b->Release();
    a->Release();
    EXPECT_EQ(a->LockServer(FALSE), S_OK);
    ComPtr<IDirectInputEffectDriver> driver;
    EXPECT_EQ(m->CreateDriver(driver), S_OK) << "the module still serves after the stray releases";
}

TEST(DriverArguments, ExternalIdsOfSixteenAndAboveFail) {
    BoundDriver d;
    IDirectInputEffectDriver* drv = d.Driver();
    DIHIDFFINITINFO init{sizeof init, const_cast<LPWSTR>(d.pad.WidePath().c_str()), {}};
    DIDEVICESTATE state{sizeof state, 0, 0};
    DWORD status = 7;
    DWORD handle = 0;
    padhost::BuiltEffect e(EffectShape::Constant(1000, kInfinite));
    for (DWORD id : {16u, 17u, 0xFFFFFFFFu}) {
        EXPECT_EQ(drv->DeviceID(0x0700, id, TRUE, id, &init), E_FAIL);
        EXPECT_EQ(drv->SetGain(id, 100), E_FAIL);
        EXPECT_EQ(drv->SendForceFeedbackCommand(id, DISFFC_RESET), E_FAIL);
        EXPECT_EQ(drv->GetForceFeedbackState(id, &state), E_FAIL);
        EXPECT_EQ(drv->DownloadEffect(id, 0, &handle, e.Get(), DIEP_ALLPARAMS), E_FAIL);
        EXPECT_EQ(drv->DestroyEffect(id, 1), E_FAIL);
        EXPECT_EQ(drv->StartEffect(id, 1, 0, 1), E_FAIL);
        EXPECT_EQ(drv->StopEffect(id, 1), E_FAIL);
        EXPECT_EQ(drv->GetEffectStatus(id, 1, &status), E_FAIL);
        EXPECT_EQ(status, 0u) << "the status is cleared before the id is checked";
    }
    EXPECT_EQ(handle, 0u);
    // The id check comes before the size check.
    DIDEVICESTATE shortState{4, 0, 0};
    EXPECT_EQ(drv->GetForceFeedbackState(16, &shortState), E_FAIL);
}

TEST(DriverArguments, ShortStructuresAreRefusedAndVersionsAreReported) {
    BoundDriver d;
    DIDRIVERVERSIONS v{15, 9, 9, 9};
    EXPECT_EQ(d.Driver()->GetVersions(&v), E_INVALIDARG);
    EXPECT_EQ(v.dwFirmwareRevision, 9u) << "nothing written";
    v.dwSize = 64;  // a larger caller structure is fine
    ASSERT_EQ(d.Driver()->GetVersions(&v), S_OK);
    EXPECT_EQ(v.dwSize, 16u);
    EXPECT_EQ(v.dwFirmwareRevision, 3u);
    EXPECT_EQ(v.dwHardwareRevision, 5u);
    EXPECT_EQ(v.dwFFDriverVersion, 0x0F1Fu);
    DIDEVICESTATE state{11, 0x55, 0x55};
    EXPECT_EQ(d.Driver()->GetForceFeedbackState(0, &state), E_INVALIDARG);
    EXPECT_EQ(state.dwState, 0x55u);
    EXPECT_EQ(d.Driver()->Escape(0, 1, nullptr), S_OK);
}

TEST(DriverArguments, UnboundIdsAnswerOkAndChangeNothing) {
    BoundDriver d;
    DWORD handle = 0;
    padhost::BuiltEffect e(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    EXPECT_EQ(d.Driver()->DownloadEffect(3, 0, &handle, e.Get(), DIEP_ALLPARAMS | DIEP_START), S_OK);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(d.Driver()->SetGain(3, 5000), S_OK);
    EXPECT_EQ(d.Driver()->SendForceFeedbackCommand(3, DISFFC_RESET), S_OK);
    DWORD status = 9;
    EXPECT_EQ(d.Driver()->GetEffectStatus(3, 1, &status), S_OK);
    EXPECT_EQ(status, 0u);
    ::Sleep(50);
    EXPECT_EQ(d.pad.ReportCount(), 0u);
}

TEST(DriverArguments, DeviceIdEndingABindingKeepsTheDeviceAndASecondBeginSendsNothing) {
    BoundDriver d;
    DIHIDFFINITINFO init{sizeof init, const_cast<LPWSTR>(d.pad.WidePath().c_str()), {}};
    EXPECT_EQ(d.Driver()->DeviceID(0x0700, 0, FALSE, 0, &init), S_OK);
    EXPECT_EQ(d.Driver()->DeviceID(0x0700, 0, TRUE, 0, &init), S_OK);
    ::Sleep(50);
    EXPECT_EQ(d.pad.OpenCount(), 0u) << "an open entry is neither rebuilt nor sent an all-off report";
    d.Start(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    EXPECT_TRUE(d.WaitForValues(0x1F, 0)) << "the device still plays";
}

TEST(DriverGain, TheDeviceGainIsLimitedToFullScaleAndStartsAtZero) {
    BoundDriver none(170, 170, 0, 0);
    none.Start(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    ::Sleep(100);
    EXPECT_EQ(none.pad.ReportCount(), 0u) << "no motor runs at gain 0";
    ASSERT_EQ(none.Driver()->SetGain(0, 20000), S_OK);
    EXPECT_TRUE(none.WaitForValues(0x1F, 0)) << "20000 is taken as 10000";
    ASSERT_EQ(none.Driver()->SetGain(0, 5000), S_OK);
    EXPECT_TRUE(none.WaitForValues(Value(5000), 0));
}

TEST(FinalRelease, StopsEveryDeviceThreadAndSendsEachDeviceItsAllOffReportLast) {
    simpad::SimPad left, right;
    std::string error;
    auto host = padhost::PadHost::Open(DriverPath(), &error);
    ASSERT_TRUE(host) << error;
    const DWORD threadsBefore = padhost::ProcessThreadCount();
    ASSERT_EQ(host->Bind(0, left), S_OK);
    ASSERT_EQ(host->Bind(1, right), S_OK);
    EXPECT_EQ(padhost::ProcessThreadCount(), threadsBefore + 2) << "one worker thread per bound device";
    host->Driver()->SetGain(0, 10000);
    host->Driver()->SetGain(1, 10000);
    DWORD h0 = 0, h1 = 0;
    padhost::BuiltEffect e(EffectShape::Periodic(padhost::kSawtoothUp, 10000, 20000, kInfinite).WithPolar(0));
    ASSERT_EQ(host->Download(0, e, &h0), S_OK);
    ASSERT_EQ(host->Download(1, e, &h1), S_OK);
    ::Sleep(200);
    EXPECT_EQ(host->Release(), 0u);
    EXPECT_EQ(padhost::ProcessThreadCount(), threadsBefore) << "the worker threads are gone when Release returns";
    // The pads may still be reading what was written just before the return.
    left.WaitForQuiet(100, 3000);
    right.WaitForQuiet(100, 3000);
    const size_t leftCount = left.ReportCount(), rightCount = right.ReportCount();
    for (const simpad::SimPad* pad : {&left, &right}) {
        const auto r = pad->Reports();
        ASSERT_FALSE(r.empty());
        EXPECT_TRUE(r.back().IsAllOff()) << "last report " << Bytes(r.back());
        bool played = false;
        for (const auto& x : r) played |= x.Motor1() != 0;
        EXPECT_TRUE(played);
    }
    ::Sleep(200);
    EXPECT_EQ(left.ReportCount(), leftCount) << "nothing after the release returned";
    EXPECT_EQ(right.ReportCount(), rightCount);
    EXPECT_EQ(host->Module().CanUnloadNow(), S_OK);
}

TEST(ModuleImage, ExportsExactlyItsThreeEntryPointsAndImportsOnlySystemLibraries) {
    auto m = Load();
    const auto* base = reinterpret_cast<const uint8_t*>(m->Handle());
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& exp = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(exp.VirtualAddress, 0u);
    const auto* dir = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + exp.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + dir->AddressOfNames);
    std::set<std::string> exported;
    for (DWORD i = 0; i < dir->NumberOfNames; ++i) exported.insert(reinterpret_cast<const char*>(base + names[i]));
    EXPECT_EQ(exported, (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllMain"}));
    EXPECT_EQ(dir->NumberOfFunctions, 3u) << "nothing exported by ordinal alone";
    EXPECT_EQ(::GetProcAddress(m->Handle(), "DllRegisterServer"), nullptr) << "no self-registration";

    const IMAGE_DATA_DIRECTORY& imp = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const std::set<std::string> system = {"ADVAPI32.DLL", "KERNEL32.DLL", "MSVCRT.DLL", "USER32.DLL", "WINMM.DLL",
                                          "OLE32.DLL"};
    for (const auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imp.VirtualAddress); d->Name; ++d) {
        std::string name = reinterpret_cast<const char*>(base + d->Name);
        for (char& c : name) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(system.count(name)) << "padforce.dll depends on " << name;
    }
}

}  // namespace
}  // namespace fftests
