// The driver's COM face: its class factory, its one EffectDriver per
// process, the answers of the interface's methods to ids and structures,
// and what the final Release leaves behind.
#include <gtest/gtest.h>

#include <windows.h>
#include <dinput.h>
#include <dinputd.h>
#include <wrl/client.h>

#include <cstring>

#include "hosts/dihost/DriverModule.h"
#include "hosts/dihost/ProcessStats.h"
#include "hosts/dihost/SettingsKey.h"
#include "tests/wine/forcedriver/DriverUnderTest.h"
#include "tests/wine/forcedriver/GuardedBlock.h"
#include "tests/wine/forcedriver/PadWatch.h"

using Microsoft::WRL::ComPtr;
using namespace fftest;
using padhost::BuiltEffect;
using padhost::DriverModule;
using padhost::EffectShape;
using padhost::kForceDriverClsid;
using padhost::kInfinite;

namespace {

// Something that is not a pointer any call should leave behind.
void* const kJunk = reinterpret_cast<void*>(static_cast<uintptr_t>(0xBAADF00D));

std::unique_ptr<DriverModule> LoadModule() {
    std::string error;
    auto module = DriverModule::Load(DriverPath(), &error);
    if (!module) ADD_FAILURE() << error;
    return module;
}

ComPtr<IClassFactory> Factory(const DriverModule& module) {
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(module.GetClassObject(kForceDriverClsid, IID_IClassFactory,
                                    reinterpret_cast<void**>(factory.GetAddressOf())),
              S_OK);
    return factory;
}

// {5D1C2A90-7A3C-A02F-8E41-00104B7C3D22}: the driver's class but for the last byte.
constexpr GUID kNearlyTheDriver = {0x5D1C2A90, 0x7A3C, 0xA02F, {0x8E, 0x41, 0x00, 0x10, 0x4B, 0x7C, 0x3D, 0x22}};
// The property sheet's class.
constexpr GUID kPanelClsid = {0x2E8B4F16, 0x7A3C, 0xA02F, {0xC5, 0xD2, 0x00, 0x40, 0xA1, 0xE6, 0xB9, 0x37}};

}  // namespace

TEST(ComContract, OnlyTheDriversOwnClassIsAvailable) {
    auto module = LoadModule();
    ASSERT_TRUE(module);
    for (const GUID* clsid : {&kNearlyTheDriver, &kPanelClsid, &GUID_NULL, &IID_IClassFactory}) {
        void* out = kJunk;
        EXPECT_EQ(module->GetClassObject(*clsid, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
        EXPECT_EQ(out, nullptr) << "the out pointer is cleared";
    }
    EXPECT_EQ(module->CanUnloadNow(), S_OK);
}

TEST(ComContract, TheFactoryAnswersIUnknownAndIClassFactoryAlone) {
    auto module = LoadModule();
    ASSERT_TRUE(module);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(module->GetClassObject(kForceDriverClsid, IID_IUnknown, reinterpret_cast<void**>(unknown.GetAddressOf())),
              S_OK);
    ASSERT_TRUE(unknown);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(unknown->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf())), S_OK);
    ASSERT_TRUE(factory);

    for (const IID* iid : {&IID_IDirectInputEffectDriver, &IID_IMarshal, &IID_IDispatch}) {
        void* out = kJunk;
        EXPECT_EQ(factory->QueryInterface(*iid, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        out = kJunk;
        EXPECT_EQ(module->GetClassObject(kForceDriverClsid, *iid, &out), E_NOINTERFACE)
            << "DllGetClassObject for an interface the factory lacks";
        EXPECT_EQ(out, nullptr);
    }
}

TEST(ComContract, CreateInstanceRefusesAggregationAndForeignInterfacesAndKeepsNoDriver) {
    auto module = LoadModule();
    ASSERT_TRUE(module);
    ComPtr<IClassFactory> factory = Factory(*module);
    ASSERT_TRUE(factory);
    IUnknown* outer = reinterpret_cast<IUnknown*>(factory.Get());
    void* out = kJunk;
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);
    out = kJunk;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    factory.Reset();
    EXPECT_EQ(module->CanUnloadNow(), S_OK) << "a refused CreateInstance leaves no driver alive";
}

TEST(ComContract, TheDriverAnswersIUnknownAndIDirectInputEffectDriverAlone) {
    auto module = LoadModule();
    ASSERT_TRUE(module);
    ComPtr<IDirectInputEffectDriver> driver;
    ASSERT_EQ(module->CreateDriver(driver), S_OK);
    ComPtr<IUnknown> unknown, again;
    ASSERT_EQ(driver->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(unknown.GetAddressOf())), S_OK);
    ASSERT_EQ(driver->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(again.GetAddressOf())), S_OK);
    EXPECT_EQ(unknown.Get(), again.Get()) << "one identity";
    ComPtr<IDirectInputEffectDriver> same;
    ASSERT_EQ(unknown->QueryInterface(IID_IDirectInputEffectDriver, reinterpret_cast<void**>(same.GetAddressOf())),
              S_OK);
    EXPECT_EQ(same.Get(), driver.Get());
    for (const IID* iid : {&IID_IClassFactory, &IID_IDirectInputDevice7A, &IID_IDispatch, &IID_IDirectInputJoyConfig}) {
        void* out = kJunk;
        EXPECT_EQ(driver->QueryInterface(*iid, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
    }
    same.Reset();
    unknown.Reset();
    again.Reset();
    EXPECT_EQ(driver->AddRef(), 2u);
    EXPECT_EQ(driver->Release(), 1u);
    EXPECT_EQ(driver.Detach()->Release(), 0u);
    EXPECT_EQ(module->CanUnloadNow(), S_OK);
}

TEST(ComContract, AProcessHasOneDriverAndReleasingOneReferenceLeavesTheOtherWorking) {
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    // Another caller, through a factory of its own.
    ComPtr<IDirectInputEffectDriver> other;
    ASSERT_EQ(rig.Host().Module().CreateDriver(other), S_OK);
    EXPECT_EQ(other.Get(), rig.Driver()) << "both callers hold the same EffectDriver";
    ComPtr<IDirectInputEffectDriver> third;
    ASSERT_EQ(rig.Host().Module().CreateDriver(third), S_OK);
    EXPECT_EQ(third.Get(), rig.Driver());
    third.Reset();

    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    EXPECT_NE(rig.Release(), 0u) << "the other caller still holds it";
    ASSERT_EQ(other->SetGain(0, 10000), S_OK);
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    DWORD handle = 0;
    ASSERT_EQ(other->DownloadEffect(0, effect.EffectId(), &handle, effect.Get(), DIEP_ALLPARAMS | DIEP_START), S_OK);
    EXPECT_GE(WaitForDriven(*pad, 2000), 0) << "the device bound through the first reference plays";
    EXPECT_EQ(rig.Host().Module().CanUnloadNow(), S_FALSE) << "a live driver keeps the module loaded";

    EXPECT_EQ(other.Detach()->Release(), 0u);
    EXPECT_TRUE(WaitForAllOffLast(*pad, 1000));
    EXPECT_EQ(rig.Host().Module().CanUnloadNow(), S_OK);

    // The next driver starts with an empty device table: binding id 0 again
    // builds a device and sends its all-off report.
    ComPtr<IDirectInputEffectDriver> fresh;
    ASSERT_EQ(rig.Host().Module().CreateDriver(fresh), S_OK);
    simpad::SimPad second;
    DIHIDFFINITINFO init{};
    init.dwSize = sizeof init;
    std::wstring path = second.WidePath();
    init.pwszDeviceInterface = &path[0];
    ASSERT_EQ(fresh->DeviceID(DIRECTINPUT_VERSION, 0, TRUE, 0, &init), S_OK);
    EXPECT_TRUE(second.WaitForReports(1, 1000)) << "id 0 was bound anew";
    ASSERT_EQ(fresh->SetGain(0, 10000), S_OK);
    handle = 0;
    ASSERT_EQ(fresh->DownloadEffect(0, effect.EffectId(), &handle, effect.Get(), DIEP_ALLPARAMS | DIEP_START), S_OK);
    EXPECT_EQ(handle, 1u) << "the fresh device has no effects yet";
    EXPECT_GE(WaitForDriven(second, 2000), 0);
    EXPECT_EQ(fresh.Detach()->Release(), 0u);
}

TEST(ComContract, IdsOfSixteenAndAboveFailEveryDeviceCall) {
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad pad;
    std::wstring path = pad.WidePath();
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    for (DWORD id : {16u, 17u, 255u, 0xFFFFFFFFu}) {
        IDirectInputEffectDriver* d = rig.Driver();
        DIHIDFFINITINFO init{};
        init.dwSize = sizeof init;
        init.pwszDeviceInterface = &path[0];
        EXPECT_EQ(d->DeviceID(DIRECTINPUT_VERSION, id, TRUE, id, &init), E_FAIL) << "DeviceID, id " << id;
        EXPECT_EQ(d->DeviceID(DIRECTINPUT_VERSION, id, FALSE, id, &init), E_FAIL) << "DeviceID ending, id " << id;
        EXPECT_EQ(d->SetGain(id, 10000), E_FAIL) << id;
        EXPECT_EQ(d->SendForceFeedbackCommand(id, DISFFC_RESET), E_FAIL) << id;
        DIDEVICESTATE state{};
        state.dwSize = sizeof state;
        EXPECT_EQ(d->GetForceFeedbackState(id, &state), E_FAIL) << id;
        state.dwSize = 4;
        EXPECT_EQ(d->GetForceFeedbackState(id, &state), E_FAIL) << "the id is checked before the size, id " << id;
        DWORD handle = 0;
        EXPECT_EQ(d->DownloadEffect(id, 0, &handle, effect.Get(), DIEP_ALLPARAMS | DIEP_START), E_FAIL) << id;
        EXPECT_EQ(handle, 0u);
        EXPECT_EQ(d->DestroyEffect(id, 1), E_FAIL) << id;
        EXPECT_EQ(d->StartEffect(id, 1, 0, 1), E_FAIL) << id;
        EXPECT_EQ(d->StopEffect(id, 1), E_FAIL) << id;
        DWORD status = 0xDEADBEEF;
        EXPECT_EQ(d->GetEffectStatus(id, 1, &status), E_FAIL) << id;
        EXPECT_EQ(status, 0u) << "the status is cleared first";
    }
    EXPECT_EQ(pad.OpenCount(), 0u) << "nothing reached the pad";
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(ComContract, IdsNeverBoundAnswerSuccessAndChangeNothing) {
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    IDirectInputEffectDriver* d = rig.Driver();
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    EXPECT_EQ(d->SetGain(5, 10000), S_OK);
    EXPECT_EQ(d->SendForceFeedbackCommand(5, DISFFC_RESET), S_OK);
    DWORD handle = 0;
    EXPECT_EQ(d->DownloadEffect(5, 0, &handle, effect.Get(), DIEP_ALLPARAMS | DIEP_START), S_OK);
    EXPECT_EQ(handle, 0u) << "no effect was stored";
    EXPECT_EQ(d->StartEffect(5, 1, 0, 1), S_OK);
    EXPECT_EQ(d->StopEffect(5, 1), S_OK);
    EXPECT_EQ(d->DestroyEffect(5, 1), S_OK);
    DWORD status = 0xDEADBEEF;
    EXPECT_EQ(d->GetEffectStatus(5, 1, &status), S_OK);
    EXPECT_EQ(status, 0u);
    DIDEVICESTATE state{};
    state.dwSize = sizeof state;
    state.dwState = 0x1234;
    state.dwLoad = 77;
    EXPECT_EQ(d->GetForceFeedbackState(5, &state), S_OK);
    EXPECT_EQ(state.dwState, 0x1234u) << "an unbound id leaves the state as it was";
    EXPECT_EQ(state.dwLoad, 0u);
    EXPECT_EQ(d->Escape(5, 1, nullptr), S_OK) << "there are no escapes; nothing is read";
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(ComContract, ShortStructuresAreRefusedWithNothingWritten) {
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    ASSERT_TRUE(rig.Bind(0));
    IDirectInputEffectDriver* d = rig.Driver();
    for (DWORD size : {0u, 4u, 15u}) {
        DIDRIVERVERSIONS versions;
        std::memset(&versions, 0xAB, sizeof versions);
        versions.dwSize = size;
        EXPECT_EQ(d->GetVersions(&versions), E_INVALIDARG) << "dwSize " << size;
        EXPECT_EQ(versions.dwSize, size);
        EXPECT_EQ(versions.dwFirmwareRevision, 0xABABABABu) << "dwSize " << size;
        EXPECT_EQ(versions.dwFFDriverVersion, 0xABABABABu) << "dwSize " << size;
    }
    for (DWORD id : {0u, 7u}) {
        for (DWORD size : {0u, 8u, 11u}) {
            DIDEVICESTATE state;
            std::memset(&state, 0xAB, sizeof state);
            state.dwSize = size;
            EXPECT_EQ(d->GetForceFeedbackState(id, &state), E_INVALIDARG) << "id " << id << ", dwSize " << size;
            EXPECT_EQ(state.dwState, 0xABABABABu);
            EXPECT_EQ(state.dwLoad, 0xABABABABu);
        }
    }
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(ComContract, GetVersionsReportsFirmware3Hardware5AndDriver0F1FInSixteenBytes) {
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    // Exactly 16 bytes before a page that cannot be touched.
    GuardedBlock block(16);
    auto* versions = block.As<DIDRIVERVERSIONS>();
    versions->dwSize = 16;
    ASSERT_EQ(rig.Driver()->GetVersions(versions), S_OK);
    EXPECT_EQ(versions->dwSize, 16u);
    EXPECT_EQ(versions->dwFirmwareRevision, 3u);
    EXPECT_EQ(versions->dwHardwareRevision, 5u);
    EXPECT_EQ(versions->dwFFDriverVersion, 0x0F1Fu);

    // A larger caller structure is told the driver's size, and its tail is left alone.
    struct {
        DIDRIVERVERSIONS Versions;
        DWORD Tail[2];
    } larger;
    std::memset(&larger, 0xCD, sizeof larger);
    larger.Versions.dwSize = sizeof larger;
    ASSERT_EQ(rig.Driver()->GetVersions(&larger.Versions), S_OK);
    EXPECT_EQ(larger.Versions.dwSize, 16u);
    EXPECT_EQ(larger.Versions.dwFFDriverVersion, 0x0F1Fu);
    EXPECT_EQ(larger.Tail[0], 0xCDCDCDCDu);
    EXPECT_EQ(larger.Tail[1], 0xCDCDCDCDu);
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(ComContract, BindingAnOpenIdAgainOrEndingItLeavesTheDeviceAsItWas) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    BuiltEffect effect(EffectShape::Constant(10000, kInfinite).WithPolar(0));
    const DWORD handle = rig.Download(0, effect);
    ASSERT_GE(WaitForDriven(*pad, 2000), 0);

    simpad::SimPad elsewhere;
    std::wstring path = elsewhere.WidePath();
    DIHIDFFINITINFO init{};
    init.dwSize = sizeof init;
    init.pwszDeviceInterface = &path[0];
    EXPECT_EQ(rig.Driver()->DeviceID(DIRECTINPUT_VERSION, 0, FALSE, 0, &init), S_OK);
    EXPECT_EQ(rig.Driver()->DeviceID(DIRECTINPUT_VERSION, 0, TRUE, 0, &init), S_OK);
    ::Sleep(150);
    EXPECT_EQ(elsewhere.OpenCount(), 0u) << "a second DeviceID neither rebinds the path nor sends a report";
    EXPECT_EQ(rig.Status(0, handle), static_cast<DWORD>(DIEGES_PLAYING)) << "the device and its effect stay";
    EXPECT_EQ(pad->Reports().back().Motor1(), 0x1F);
    EXPECT_EQ(rig.Release(), 0u);
}

TEST(ComContract, TheFinalReleaseStopsEveryDeviceThreadAndEachPadsLastReportIsAllOff) {
    padhost::ScopedSettings settings(kModel47, AsAskedRecord());
    simpad::SimPad first, second;
    const DWORD threadsBefore = padhost::ProcessThreadCount();
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    ASSERT_EQ(rig.Host().Bind(0, first), S_OK);
    ASSERT_EQ(rig.Host().Bind(3, second), S_OK);
    EXPECT_EQ(padhost::ProcessThreadCount(), threadsBefore + 2) << "one worker thread per bound device";
    ASSERT_EQ(rig.Driver()->SetGain(0, 10000), S_OK);
    ASSERT_EQ(rig.Driver()->SetGain(3, 10000), S_OK);
    // Sawtooth waves change the levels at every step: reports flow until the end.
    BuiltEffect saw(EffectShape::Periodic(padhost::kSawtoothUp, 10000, 200000, kInfinite).WithPolar(0));
    BuiltEffect hold(EffectShape::Constant(8000, kInfinite).WithPolar(9000));
    for (DWORD id : {0u, 3u}) {
        rig.Download(id, saw);
        rig.Download(id, hold);
    }
    ASSERT_TRUE(first.WaitForReports(40, 3000));
    ASSERT_TRUE(second.WaitForReports(40, 3000));

    EXPECT_EQ(rig.Release(), 0u);
    const double released = first.NowMs();
    EXPECT_EQ(padhost::ProcessThreadCount(), threadsBefore) << "the device threads ended before Release returned";
    // What was written before Release returned may still be in the pipe for
    // a moment; after that the pads stay silent.
    ASSERT_TRUE(first.WaitForQuiet(50, 1000));
    ASSERT_TRUE(second.WaitForQuiet(50, 1000));
    const size_t firstCount = first.ReportCount(), secondCount = second.ReportCount();
    ::Sleep(200);
    EXPECT_EQ(first.ReportCount(), firstCount) << "a report arrived long after Release returned";
    EXPECT_EQ(second.ReportCount(), secondCount) << "a report arrived long after Release returned";
    for (const simpad::SimPad* pad : {&first, &second}) {
        const Reports r = pad->Reports();
        ASSERT_GE(r.size(), 2u);
        EXPECT_TRUE(r.back().IsAllOff()) << "the last report is " << Hex(r.back());
        EXPECT_TRUE(Drives(r[r.size() - 2])) << "the release's all-off report follows the playing levels, once";
        EXPECT_LT(r.back().Ms() - released, 100.0) << "the all-off report came " << r.back().Ms() - released
                                                   << " ms after Release returned";
    }
}

TEST(ComContract, EscapeDoesNothingAndSucceeds) {
    Rig rig;
    ASSERT_TRUE(rig.Ok());
    simpad::SimPad* pad = rig.Bind(0);
    ASSERT_TRUE(pad);
    ASSERT_TRUE(pad->WaitForQuiet(100, 2000));
    const size_t before = pad->OpenCount();
    DWORD in = 1, out = 0;
    DIEFFESCAPE escape{};
    escape.dwSize = sizeof escape;
    escape.dwCommand = 1;
    escape.lpvInBuffer = &in;
    escape.cbInBuffer = sizeof in;
    escape.lpvOutBuffer = &out;
    escape.cbOutBuffer = sizeof out;
    EXPECT_EQ(rig.Driver()->Escape(0, 0, &escape), S_OK);
    EXPECT_EQ(escape.cbOutBuffer, sizeof out);
    EXPECT_EQ(out, 0u);
    ::Sleep(50);
    EXPECT_EQ(pad->OpenCount(), before);
    EXPECT_EQ(rig.Release(), 0u);
}
