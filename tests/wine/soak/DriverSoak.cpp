#include "tests/wine/soak/DriverSoak.h"

#include <dinput.h>

#include <cstdio>

#include "hosts/dihost/BuiltEffect.h"
#include "hosts/dihost/EffectShape.h"
#include "hosts/dihost/SettingsRecord.h"
#include "tests/wine/soak/ReportRule.h"

namespace soak {

namespace {

// A model of its own: the sheet half stores the records of the pad it shows.
constexpr uint16_t kModel = 0xA016;
constexpr size_t kEffectsPerDevice = 8;
// Pipe instances waiting for the driver's opens on each pad: enough for its
// worker and the game threads at once, few enough for sixteen pads.
constexpr unsigned kListeners = 64;

std::string Hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

int32_t Between(std::mt19937& random, int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(random);
}
bool OneIn(std::mt19937& random, int n) { return Between(random, 1, n) == 1; }

// Any effect a game might play: every kind, finite or endless, any
// direction, with or without envelope and start delay.
padhost::EffectShape RandomShape(std::mt19937& random, uint32_t kind) {
    const uint32_t duration = OneIn(random, 5) ? padhost::kInfinite : static_cast<uint32_t>(Between(random, 20, 2000)) * 1000;
    padhost::EffectShape s;
    if (kind == padhost::kConstant) {
        s = padhost::EffectShape::Constant(Between(random, -10000, 10000), duration);
    } else if (kind == padhost::kRamp) {
        s = padhost::EffectShape::Ramp(Between(random, -10000, 10000), Between(random, -10000, 10000), duration);
    } else {
        s = padhost::EffectShape::Periodic(kind, static_cast<uint32_t>(Between(random, 0, 10000)),
                                           static_cast<uint32_t>(Between(random, 10, 500)) * 1000, duration);
        s.WithPhase(static_cast<uint32_t>(Between(random, 0, 35999)));
    }
    if (OneIn(random, 2))
        s.WithPolar(Between(random, 0, 35999));
    else
        s.WithCartesian(Between(random, -10000, 10000), Between(random, -10000, 10000));
    s.WithGain(static_cast<uint32_t>(Between(random, 0, 10000)));
    if (OneIn(random, 4))
        s.WithEnvelope(static_cast<uint32_t>(Between(random, 0, 10000)), static_cast<uint32_t>(Between(random, 0, 300)) * 1000,
                       static_cast<uint32_t>(Between(random, 0, 10000)), static_cast<uint32_t>(Between(random, 0, 300)) * 1000);
    if (OneIn(random, 6)) s.WithStartDelay(static_cast<uint32_t>(Between(random, 0, 300)) * 1000);
    return s;
}

// The driver's opens of the pads' paths, counted where the pad cannot see
// them: an open the simulated pad refused (every instance busy) drops a
// report, and a check of that pad's last report is then left undecided.
decltype(&::CreateFileA) g_createFile = nullptr;
std::atomic<int64_t> g_refusedOpens{0};
std::string g_padPaths[DriverSoak::kDevices];  // set before the driver is first made
std::atomic<int64_t> g_refusedOf[DriverSoak::kDevices];
std::atomic<int64_t> g_openedOf[DriverSoak::kDevices];  // opens that succeeded: each is one report on its way

HANDLE WINAPI CountedCreateFile(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD creation,
                                DWORD flags, HANDLE tmpl) {
    const HANDLE h = g_createFile(path, access, share, security, creation, flags, tmpl);
    if (h != INVALID_HANDLE_VALUE) {
        for (unsigned id = 0; id < DriverSoak::kDevices; ++id)
            if (path && g_padPaths[id] == path) g_openedOf[id].fetch_add(1);
    } else if (::GetLastError() == ERROR_PIPE_BUSY) {
        g_refusedOpens.fetch_add(1);
        for (unsigned id = 0; id < DriverSoak::kDevices; ++id)
            if (path && g_padPaths[id] == path) g_refusedOf[id].fetch_add(1);
        ::SetLastError(ERROR_PIPE_BUSY);
    }
    return h;
}

// "00 1F 00 00 @-3.2, 00 00 00 00 @+0.4": the last few reports and when they arrived.
std::string Tail(const std::vector<simpad::PadReport>& reports, double commandMs) {
    std::string text;
    for (size_t i = reports.size() > 6 ? reports.size() - 6 : 0; i < reports.size(); ++i) {
        char when[32];
        std::snprintf(when, sizeof when, " @%+.1f", reports[i].Ms() - commandMs);
        if (!text.empty()) text += ", ";
        text += ReportText(reports[i].Bytes, 4).substr(0, 11) + when;
    }
    return text;
}

const char* CommandName(DWORD command) {
    switch (command) {
        case DISFFC_RESET: return "reset";
        case DISFFC_STOPALL: return "stop-all";
        case DISFFC_PAUSE: return "pause";
        case DISFFC_CONTINUE: return "continue";
        default: return "command";
    }
}

}  // namespace

struct DriverSoak::Device {
    simpad::SimPad Pad{kListeners};
    Gate Use;  // game calls share it; a check or a re-plug takes it alone
    win::SrwLock EffectsLock;  // held over calls on one effect, so none is destroyed under another
    struct Effect {
        DWORD Handle;
        uint32_t Kind;
    };
    std::vector<Effect> Effects;
    std::atomic<int64_t> Delivered{0};  // reports the pad has taken, all told
    int64_t Lost = 0;  // of the driver's reports, those still on their way when the pad was last emptied
};

DriverSoak::DriverSoak(std::string driverPath, uint32_t seed, Parts parts, Watchdog& watchdog, Faults& faults)
    : driverPath_(std::move(driverPath)), seed_(seed), parts_(parts), watchdog_(watchdog), faults_(faults) {}

DriverSoak::~DriverSoak() { Stop(); }

bool DriverSoak::Start(std::string* error) {
    settings_ = std::make_unique<padhost::ScopedSettings>(kModel, padhost::VibrationRecord(170, 170, 0));
    if (!settings_->Written()) {
        *error = "the settings record could not be written";
        return false;
    }
    for (unsigned id = 0; id < kDevices; ++id) {
        devices_[id] = std::make_unique<Device>();
        g_padPaths[id] = devices_[id]->Pad.Path();
        devices_[id]->Pad.SetCallback([this, id](const simpad::PadReport& r) {
            reports_.fetch_add(1);
            devices_[id]->Delivered.fetch_add(1);
            const std::string fault = ReportFault(r.Bytes, r.Length, Sender::Driver);
            if (!fault.empty())
                faults_.Add("pad " + std::to_string(id) + " got " + ReportText(r.Bytes, r.Length) + ": " + fault);
        });
    }
    if (!Bind(error)) return false;
    for (unsigned i = 0; i < kGameThreads; ++i) threads_.emplace_back([this, i] { GameThread(i); });
    if (parts_.Replug) threads_.emplace_back([this] { PlugThread(); });
    if (parts_.Rebind) threads_.emplace_back([this] { RebindThread(); });
    return true;
}

void DriverSoak::Stop() {
    stop_.store(true);
    for (std::thread& t : threads_) t.join();
    threads_.clear();
    if (host_) Unbind();
    for (auto& device : devices_) device.reset();
    settings_.reset();
}

bool DriverSoak::Bind(std::string* error) {
    host_ = padhost::PadHost::Open(driverPath_, error);
    if (!host_) return false;
    if (!opens_.Apply(host_->Module().Handle(), "kernel32.dll", "CreateFileA",
                      reinterpret_cast<void*>(&CountedCreateFile), error))
        return false;
    g_createFile = reinterpret_cast<decltype(g_createFile)>(opens_.Original());
    for (unsigned id = 0; id < kDevices; ++id) {
        const HRESULT hr = host_->Bind(id, devices_[id]->Pad, kModel);
        if (hr != S_OK) {
            *error = "DeviceID for joystick id " + std::to_string(id) + " answered " + Hex(hr);
            return false;
        }
        Expect(host_->Driver()->SetGain(id, 10000), id, "SetGain");
    }
    return true;
}

void DriverSoak::Unbind() {
    Mark marks[kDevices];
    for (unsigned id = 0; id < kDevices; ++id) marks[id] = MarkOf(id);
    const ULONG left = host_->Release();
    if (left != 0) faults_.Add("the driver's final Release left " + std::to_string(left) + " references");
    opens_.Restore();
    host_.reset();
    for (unsigned id = 0; id < kDevices; ++id) {
        win::ScopedLock<win::SrwLock> lock(devices_[id]->EffectsLock);
        std::vector<Device::Effect>().swap(devices_[id]->Effects);
    }
    // A released device's last word to its pad turns both motors off.
    for (unsigned id = 0; id < kDevices; ++id) ExpectOff(id, marks[id], "the driver's release", false);
}

void DriverSoak::Expect(HRESULT hr, unsigned id, const char* call) {
    if (hr != S_OK) faults_.Add(std::string(call) + " on joystick id " + std::to_string(id) + " answered " + Hex(hr));
}

DriverSoak::Mark DriverSoak::MarkOf(unsigned id) const {
    const Device& device = *devices_[id];
    // Taken before the list's length: the pad counts a report just before listing it.
    const int64_t delivered = device.Delivered.load();
    return Mark{device.Pad.ReportCount(), delivered, g_refusedOf[id].load(), device.Pad.NowMs()};
}

// Every report the driver has sent the pad so far is in its list: as many as
// its opens of the path that succeeded. A serving thread of a loaded machine
// may take a while; false if one does not come in a second (a report still
// on its way when the pad was last emptied is dropped by it).
bool DriverSoak::AllArrived(unsigned id, const Mark& mark) {
    const int64_t sent = g_openedOf[id].load() - devices_[id]->Lost;
    const int64_t more = sent - mark.Delivered;
    return more <= 0 || devices_[id]->Pad.WaitForReports(mark.Reports + static_cast<size_t>(more), 1000);
}

void DriverSoak::ExpectOff(unsigned id, const Mark& mark, const char* after, bool othersPlay) {
    simpad::SimPad& pad = devices_[id]->Pad;
    if (!pad.IsPlugged()) return;
    const std::string name = "pad " + std::to_string(id);
    checks_.fetch_add(1);
    bool arrived = AllArrived(id, mark);
    if (othersPlay) {
        // The all-off repeat count is the module's: while another device
        // changes its levels, an idle one keeps repeating all-off, so a pad
        // is never quiet for long. A few steps of its worker, and what they sent.
        ::Sleep(30);
        arrived = AllArrived(id, mark) && arrived;
    } else if (!pad.WaitForQuiet(80, 10000)) {
        faults_.Add(name + " still gets reports 10 s after " + after);
    }
    const std::vector<simpad::PadReport> reports = pad.Reports();
    // Emptied only where the driver is still: a report on its way when the
    // pad is emptied is lost to the count of those that arrived.
    if (!othersPlay) {
        pad.Clear();
        // What is still on its way now will not be counted: start the count afresh.
        devices_[id]->Lost = g_openedOf[id].load() - devices_[id]->Delivered.load();
    }
    if (reports.size() <= mark.Reports) {
        if (g_refusedOf[id].load() != mark.Refused || !arrived)
            undecided_.fetch_add(1);
        else
            faults_.Add(name + " got no report after " + after);
        return;
    }
    if (reports.back().IsAllOff()) return;
    if (g_refusedOf[id].load() != mark.Refused || !arrived) {
        undecided_.fetch_add(1);  // the all-off may be among the refused or the lost
        return;
    }
    faults_.Add(name + " was left at " + ReportText(reports.back().Bytes, reports.back().Length) + " after " + after +
                "; its last reports, ms from the command: " + Tail(reports, mark.Ms));
}

bool DriverSoak::Nap(DWORD ms) {
    for (DWORD slept = 0; slept < ms && !stop_.load(); slept += 20) ::Sleep(20);
    return !stop_.load();
}

void DriverSoak::GameThread(unsigned index) {
    Watchdog::Beat& beat = watchdog_.Register("game " + std::to_string(index));
    Random random(seed_ * 31u + index);
    while (!stop_.load()) {
        beat.Idle();
        Visit driver(hostGate_);
        if (!driver) {
            ::Sleep(2);
            continue;
        }
        const unsigned id = static_cast<unsigned>(Between(random, 0, kDevices - 1));
        bool check = false;
        {
            Visit device(devices_[id]->Use);
            if (!device) continue;
            check = GameCall(random, id, beat);
        }
        if (check) Check(random, id, beat);
        beat.Idle();
        ::Sleep(static_cast<DWORD>(Between(random, 0, 4)));
    }
    beat.Idle();
}

bool DriverSoak::GameCall(Random& random, unsigned id, Watchdog::Beat& beat) {
    Device& device = *devices_[id];
    if (!host_) return false;  // a failed rebind, already a fault
    IDirectInputEffectDriver* driver = host_->Driver();
    calls_.fetch_add(1);
    const int op = Between(random, 0, 99);
    if (op < 40) {
        // Effects: download, update, start, stop, destroy.
        win::ScopedLock<win::SrwLock> lock(device.EffectsLock);
        auto& effects = device.Effects;
        if (effects.empty() || (op < 12 && effects.size() < kEffectsPerDevice)) {
            if (effects.size() >= kEffectsPerDevice) return false;
            const uint32_t kind = static_cast<uint32_t>(Between(random, padhost::kConstant, padhost::kSawtoothDown));
            padhost::BuiltEffect effect(RandomShape(random, kind));
            DWORD handle = 0;
            beat.Doing("DownloadEffect (new)");
            Expect(host_->Download(id, effect, &handle, DIEP_ALLPARAMS | (OneIn(random, 2) ? DIEP_START : 0)), id,
                   "DownloadEffect of a new effect");
            if (handle != 0) effects.push_back({handle, kind});
            return false;
        }
        const size_t pick = static_cast<size_t>(Between(random, 0, static_cast<int32_t>(effects.size()) - 1));
        const Device::Effect e = effects[pick];
        if (op < 20) {
            padhost::BuiltEffect effect(RandomShape(random, e.Kind));
            DWORD flags = static_cast<DWORD>(Between(random, 1, DIEP_ALLPARAMS)) & ~DIEP_AXES;
            if (OneIn(random, 3)) flags |= DIEP_START;
            if (OneIn(random, 3)) flags |= DIEP_NORESTART;
            DWORD handle = e.Handle;
            beat.Doing("DownloadEffect (update)");
            Expect(host_->Download(id, effect, &handle, flags), id, "DownloadEffect of an update");
        } else if (op < 28) {
            beat.Doing("StartEffect");
            Expect(driver->StartEffect(id, e.Handle, OneIn(random, 3) ? DIES_SOLO : 0,
                                       OneIn(random, 4) ? INFINITE : static_cast<DWORD>(Between(random, 1, 3))),
                   id, "StartEffect");
        } else if (op < 34) {
            beat.Doing("StopEffect");
            Expect(driver->StopEffect(id, e.Handle), id, "StopEffect");
        } else {
            beat.Doing("DestroyEffect");
            Expect(driver->DestroyEffect(id, e.Handle), id, "DestroyEffect");
            effects.erase(effects.begin() + static_cast<std::ptrdiff_t>(pick));
        }
    } else if (op < 55) {
        win::ScopedLock<win::SrwLock> lock(device.EffectsLock);
        DWORD status = 0;
        beat.Doing("GetEffectStatus");
        if (!device.Effects.empty())
            Expect(driver->GetEffectStatus(id, device.Effects[0].Handle, &status), id, "GetEffectStatus");
        DIDEVICESTATE state{};
        state.dwSize = sizeof state;
        beat.Doing("GetForceFeedbackState");
        Expect(driver->GetForceFeedbackState(id, &state), id, "GetForceFeedbackState");
    } else if (op < 65) {
        beat.Doing("SetGain");
        Expect(driver->SetGain(id, static_cast<DWORD>(Between(random, 0, 10000))), id, "SetGain");
    } else if (op < 97) {
        static constexpr DWORD kCommands[] = {DISFFC_STOPALL, DISFFC_PAUSE, DISFFC_CONTINUE, DISFFC_CONTINUE,
                                              DISFFC_RESET};
        const DWORD command = kCommands[Between(random, 0, 4)];
        beat.Doing(CommandName(command));
        if (command == DISFFC_RESET) {
            // A reset destroys every effect: none may be in use meanwhile.
            win::ScopedLock<win::SrwLock> lock(device.EffectsLock);
            Expect(driver->SendForceFeedbackCommand(id, command), id, "reset");
            device.Effects.clear();
        } else {
            Expect(driver->SendForceFeedbackCommand(id, command), id, CommandName(command));
        }
    } else {
        return true;
    }
    return false;
}

// Alone on the device: stop-all, pause or reset, and once the pad is quiet
// its last report is all-off.
void DriverSoak::Check(Random& random, unsigned id, Watchdog::Beat& beat) {
    Device& device = *devices_[id];
    Closed alone(device.Use);
    if (!host_ || !device.Pad.IsPlugged()) return;
    const Mark mark = MarkOf(id);
    static constexpr DWORD kCommands[] = {DISFFC_STOPALL, DISFFC_PAUSE, DISFFC_RESET};
    const DWORD command = kCommands[Between(random, 0, 2)];
    beat.Doing(CommandName(command));
    calls_.fetch_add(1);
    {
        win::ScopedLock<win::SrwLock> lock(device.EffectsLock);
        Expect(host_->Driver()->SendForceFeedbackCommand(id, command), id, CommandName(command));
        if (command == DISFFC_RESET) device.Effects.clear();
    }
    beat.Doing("waiting for a quiet pad");
    ExpectOff(id, mark, CommandName(command), true);
    if (command == DISFFC_PAUSE && OneIn(random, 2)) {
        calls_.fetch_add(1);
        Expect(host_->Driver()->SendForceFeedbackCommand(id, DISFFC_CONTINUE), id, "continue");
    }
}

void DriverSoak::PlugThread() {
    Watchdog::Beat& beat = watchdog_.Register("plug");
    Random random(seed_ * 31u + 100u);
    while (true) {
        beat.Idle();
        if (!Nap(static_cast<DWORD>(Between(random, 1000, 4000)))) break;
        // Held while the pad is out, so that a still point finds every pad in.
        Visit driver(hostGate_, true);
        const unsigned id = static_cast<unsigned>(Between(random, 0, kDevices - 1));
        Device& device = *devices_[id];
        {
            Closed alone(device.Use);
            beat.Doing("unplugging a pad");
            device.Pad.Unplug();
        }
        beat.Idle();
        ::Sleep(static_cast<DWORD>(Between(random, 50, 600)));
        {
            Closed alone(device.Use);
            beat.Doing("plugging a pad in");
            if (!device.Pad.Plug()) faults_.Add("pad " + std::to_string(id) + " could not be plugged in again");
        }
    }
    beat.Idle();
}

void DriverSoak::RebindThread() {
    Watchdog::Beat& beat = watchdog_.Register("rebind");
    Random random(seed_ * 31u + 200u);
    while (true) {
        beat.Idle();
        if (!Nap(static_cast<DWORD>(Between(random, 8000, 20000)))) break;
        Closed alone(hostGate_);
        beat.Doing("releasing the driver");
        Unbind();
        beat.Doing("binding every device again");
        std::string error;
        if (!Bind(&error)) {
            faults_.Add("the driver could not be made again: " + error);
            break;
        }
    }
    beat.Idle();
}

void DriverSoak::Hold() {
    hostGate_.Close();
    if (!host_) return;
    Mark marks[kDevices];
    for (unsigned id = 0; id < kDevices; ++id) {
        Device& device = *devices_[id];
        marks[id] = MarkOf(id);
        win::ScopedLock<win::SrwLock> lock(device.EffectsLock);
        Expect(host_->Driver()->SendForceFeedbackCommand(id, DISFFC_RESET), id, "reset");
        std::vector<Device::Effect>().swap(device.Effects);
    }
    for (unsigned id = 0; id < kDevices; ++id) ExpectOff(id, marks[id], "a reset of every device", false);
}

void DriverSoak::Release() { hostGate_.Open(); }

int64_t DriverSoak::RefusedOpens() { return g_refusedOpens.load(); }

}  // namespace soak
