// The settings record in the registry, the effect structures the host
// builds, and the process counts that leak checks compare.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <thread>
#include <vector>

#include "common/win/SettingsView.h"
#include "common/win/UniqueResource.h"
#include "hosts/dihost/BuiltEffect.h"
#include "hosts/dihost/ProcessStats.h"
#include "hosts/dihost/SettingsKey.h"
#include "hosts/dihost/SettingsRecord.h"

using namespace padhost;

TEST(SettingsKey, TheRecordLandsByteForByteWhereTheDriverLooksAndIsRemovedWhole) {
    pad::JoySettingRecord record{};
    auto* bytes = reinterpret_cast<uint8_t*>(&record);
    for (size_t i = 0; i < sizeof record; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    ASSERT_TRUE(WriteSettingsRecord(0xA02F, record));

    const StoredValue stored = ReadSettingsValue(0xA02F);
    ASSERT_TRUE(stored.Present);
    EXPECT_EQ(stored.Type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(stored.Bytes.size(), 112u);
    EXPECT_EQ(std::memcmp(stored.Bytes.data(), &record, 112), 0);

    // The driver's spelling, with read access only.
    win::UniqueHKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZevEreRaverav\\47", 0, KEY_READ | pad::kSettingsView, key.put()), ERROR_SUCCESS);
    key.reset();

    ASSERT_TRUE(RemoveSettings(0xA02F));
    EXPECT_FALSE(ReadSettingsValue(0xA02F).Present);
    EXPECT_NE(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\ZevEreRaverav", 0, KEY_READ | pad::kSettingsView, key.put()), ERROR_SUCCESS)
        << "the maker's key goes with its last model";
    EXPECT_TRUE(RemoveSettings(0xA02F)) << "removing what is not there succeeds";
}

TEST(SettingsKey, ValuesOfAnyLengthAndTypeAreStoredAsGivenAndOtherModelsKeepTheirs) {
    const uint8_t forty[40] = {1, 2, 3};
    ASSERT_TRUE(WriteSettingsValue(0xA02F, forty, sizeof forty));
    ASSERT_TRUE(WriteSettingsValue(0xA016, forty, 3, REG_DWORD + 0));
    EXPECT_EQ(ReadSettingsValue(0xA02F).Bytes.size(), 40u);
    EXPECT_EQ(ReadSettingsValue(0xA016).Type, static_cast<DWORD>(REG_DWORD));
    ASSERT_TRUE(RemoveSettings(0xA02F));
    EXPECT_TRUE(ReadSettingsValue(0xA016).Present) << "model 22 keeps its record";
    ASSERT_TRUE(RemoveSettings(0xA016));
    {
        ScopedSettings scoped(0xA02F, VibrationRecord(255, 0, 1));
        ASSERT_TRUE(scoped.Written());
        const StoredValue v = ReadSettingsValue(0xA02F);
        ASSERT_EQ(v.Bytes.size(), 112u);
        pad::JoySettingRecord read{};
        std::memcpy(&read, v.Bytes.data(), sizeof read);
        EXPECT_EQ(read.MotorPower, 255u);
        EXPECT_EQ(read.TimeCycle, 0u);
        EXPECT_EQ(read.AutoMode, 1u);
        EXPECT_EQ(read.ButtonMap[11], 12);
    }
    EXPECT_FALSE(ReadSettingsValue(0xA02F).Present) << "a scoped record is gone with its scope";
}

TEST(BuiltEffectLayout, EachKindCarriesItsBlockDirectionsAndEnvelopeInItsOwnStorage) {
    BuiltEffect constant(EffectShape::Constant(-7000, 250000).WithPolar(4500).WithEnvelope(100, 2000, 300, 4000));
    const DIEFFECT* e = constant.Get();
    EXPECT_EQ(e->dwSize, sizeof(DIEFFECT));
    EXPECT_EQ(e->dwFlags & (DIEFF_POLAR | DIEFF_CARTESIAN), static_cast<DWORD>(DIEFF_POLAR));
    EXPECT_EQ(e->dwDuration, 250000u);
    ASSERT_EQ(e->cAxes, 2u);
    EXPECT_EQ(e->rglDirection[0], 4500);
    ASSERT_EQ(e->cbTypeSpecificParams, sizeof(DICONSTANTFORCE));
    EXPECT_EQ(static_cast<const DICONSTANTFORCE*>(e->lpvTypeSpecificParams)->lMagnitude, -7000);
    ASSERT_NE(e->lpEnvelope, nullptr);
    EXPECT_EQ(e->lpEnvelope->dwSize, sizeof(DIENVELOPE));
    EXPECT_EQ(e->lpEnvelope->dwAttackTime, 2000u);
    EXPECT_EQ(e->lpEnvelope->dwFadeLevel, 300u);
    EXPECT_EQ(constant.EffectId(), 0u);

    BuiltEffect ramp(EffectShape::Ramp(8000, 2000, 1000000).WithCartesian(1, 3));
    ASSERT_EQ(ramp.Get()->cbTypeSpecificParams, sizeof(DIRAMPFORCE));
    EXPECT_EQ(static_cast<const DIRAMPFORCE*>(ramp.Get()->lpvTypeSpecificParams)->lEnd, 2000);
    EXPECT_EQ(ramp.Get()->dwFlags & DIEFF_CARTESIAN, static_cast<DWORD>(DIEFF_CARTESIAN));
    EXPECT_EQ(ramp.Get()->rglDirection[1], 3);
    EXPECT_EQ(ramp.Get()->lpEnvelope, nullptr) << "no envelope unless asked";

    for (uint32_t kind = kSquare; kind <= kSawtoothDown; ++kind) {
        BuiltEffect periodic(EffectShape::Periodic(kind, 9000, 40000, kInfinite).WithOffset(-100).WithPhase(9000));
        ASSERT_EQ(periodic.Get()->cbTypeSpecificParams, sizeof(DIPERIODIC)) << "kind " << kind;
        const auto* p = static_cast<const DIPERIODIC*>(periodic.Get()->lpvTypeSpecificParams);
        EXPECT_EQ(p->dwMagnitude, 9000u);
        EXPECT_EQ(p->dwPeriod, 40000u);
        EXPECT_EQ(p->lOffset, -100);
        EXPECT_EQ(p->dwPhase, 9000u);
        EXPECT_EQ(periodic.EffectId(), kind);
    }

    EffectShape silent;
    silent.EffectId = 12;
    BuiltEffect none(silent);
    EXPECT_EQ(none.Get()->cbTypeSpecificParams, 0u);
    EXPECT_EQ(none.Get()->lpvTypeSpecificParams, nullptr);
}

TEST(BuiltEffectLayout, TheDirectX5FormEndsBeforeTheStartDelayAndPoisonsWhatLiesPast) {
    BuiltEffect old(EffectShape::Constant(10000, 1000000).WithStartDelay(5000), EffectForm::DirectX5);
    EXPECT_EQ(old.Get()->dwSize, offsetof(DIEFFECT, dwStartDelay));
    EXPECT_EQ(old.Get()->dwStartDelay, kPastTheEndStartDelay) << "a driver that reads past the end waits an hour";
    BuiltEffect current(EffectShape::Constant(10000, 1000000).WithStartDelay(5000));
    EXPECT_EQ(current.Get()->dwStartDelay, 5000u);
}

TEST(ProcessStats, CountsFollowHandlesThreadsAndHeapBlocks) {
    const DWORD handles = ProcessHandleCount();
    ASSERT_GT(handles, 0u);
    {
        win::UniqueHandle event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        EXPECT_EQ(ProcessHandleCount(), handles + 1);
    }
    EXPECT_EQ(ProcessHandleCount(), handles);

    const DWORD threads = ProcessThreadCount();
    ASSERT_GT(threads, 0u);
    win::UniqueHandle release(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::thread worker([&] { ::WaitForSingleObject(release.get(), INFINITE); });
    EXPECT_EQ(ProcessThreadCount(), threads + 1);
    ::SetEvent(release.get());
    worker.join();

    const size_t heap = HeapBytesInUse();
    void* block = ::HeapAlloc(::GetProcessHeap(), 0, 1 << 20);
    ASSERT_NE(block, nullptr);
    EXPECT_GE(HeapBytesInUse(), heap + (1 << 20));
    ::HeapFree(::GetProcessHeap(), 0, block);
    EXPECT_LT(HeapBytesInUse(), heap + (1 << 20));
    EXPECT_GT(PrivateBytes(), 0u);
}
