#include "tools/simpad/SimPad.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "tools/simpad/PipeServer.h"

namespace simpad {

namespace {

std::string UniquePath() {
    static std::atomic<unsigned> serial{0};
    char name[96];
    std::snprintf(name, sizeof name, "\\\\.\\pipe\\simpad-%lu-%u-%lu", ::GetCurrentProcessId(), ++serial,
                  ::GetTickCount());
    return name;
}

int64_t Counter() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

}  // namespace

class SimPad::Recorder final : public PipeServer::Sink {
public:
    Recorder(int64_t origin, int64_t frequency) : origin_(origin), frequency_(frequency) {}

    void OnOpen() override {
        {
            win::ScopedLock<win::SrwLock> lock(m_);
            ++opens_;
            lastActivity_ = Counter();
        }
        changed_.WakeAll();
    }

    void OnMessage(const uint8_t* head, uint32_t length, int64_t counter, uint64_t instance) override {
        PadReport r;
        for (uint32_t i = 0; i < 4 && i < length; ++i) r.Bytes[i] = head[i];
        r.Length = length;
        r.Ticks = counter - origin_;
        r.Frequency = frequency_;
        {
            // Serving threads take turns here, so the callback sees one
            // report at a time, and a waiter wakes only after it has.
            win::ScopedLock<win::SrwLock> turn(callbackTurn_);
            {
                win::ScopedLock<win::SrwLock> lock(m_);
                if (instance <= clearedThrough_) return;  // sent before the last Clear
            }
            ReportCallback callback;
            {
                win::ScopedLock<win::SrwLock> lock(m_);
                callback = callback_;
            }
            if (callback) callback(r);
        }
        {
            win::ScopedLock<win::SrwLock> lock(m_);
            Insert(r, instance);
            lastActivity_ = Counter();
        }
        changed_.WakeAll();
    }

    std::vector<PadReport> Reports() const {
        win::ScopedLock<win::SrwLock> lock(m_);
        return reports_;
    }
    size_t ReportCount() const {
        win::ScopedLock<win::SrwLock> lock(m_);
        return reports_.size();
    }
    size_t OpenCount() const {
        win::ScopedLock<win::SrwLock> lock(m_);
        return opens_;
    }
    bool Wait(size_t n, DWORD timeoutMs, bool opens) const {
        win::ScopedLock<win::SrwLock> lock(m_);
        return changed_.WaitUntil(m_, timeoutMs, [&] { return (opens ? opens_ : reports_.size()) >= n; });
    }
    bool WaitQuiet(DWORD quietMs, DWORD timeoutMs) const {
        const int64_t quiet = static_cast<int64_t>(quietMs) * frequency_ / 1000;
        const int64_t deadline = Counter() + static_cast<int64_t>(timeoutMs) * frequency_ / 1000;
        win::ScopedLock<win::SrwLock> lock(m_);
        for (;;) {
            const int64_t now = Counter();
            const int64_t quietUntil = std::max(lastActivity_, quietSince_) + quiet;
            if (now >= quietUntil) return true;
            if (now >= deadline) return false;
            const int64_t wake = std::min(quietUntil, deadline) - now;
            changed_.Wait(m_, static_cast<DWORD>(wake * 1000 / frequency_ + 1));
        }
    }
    void Clear() {
        win::ScopedLock<win::SrwLock> lock(m_);
        if (!instances_.empty()) clearedThrough_ = std::max(clearedThrough_, instances_.back());
        std::vector<PadReport>().swap(reports_);  // gives the memory back, for leak checks
        std::vector<uint64_t>().swap(instances_);
        opens_ = 0;
    }
    void SetCallback(ReportCallback callback) {
        win::ScopedLock<win::SrwLock> lock(m_);
        callback_ = std::move(callback);
    }

private:
    // In the order the client sent them: by the instance each came through
    // (a client gets the oldest listening one), in arrival order within one.
    // A report stamped late, because its serving thread ran late, arrived
    // no later than the reports sent after it: its stamp is lowered to theirs.
    void Insert(PadReport r, uint64_t instance) {
        auto at = instances_.size();
        while (at > 0 && instances_[at - 1] > instance) --at;
        if (at < reports_.size()) r.Ticks = std::min(r.Ticks, reports_[at].Ticks);
        reports_.insert(reports_.begin() + static_cast<std::ptrdiff_t>(at), r);
        instances_.insert(instances_.begin() + static_cast<std::ptrdiff_t>(at), instance);
        for (size_t j = at; j > 0 && reports_[j - 1].Ticks > reports_[j].Ticks; --j)
            reports_[j - 1].Ticks = reports_[j].Ticks;
    }

    const int64_t origin_;
    const int64_t frequency_;
    // Locks that take no kernel object: a soak counts the process's handles.
    win::SrwLock callbackTurn_;
    mutable win::SrwLock m_;
    mutable win::ConditionVariable changed_;
    std::vector<PadReport> reports_;
    std::vector<uint64_t> instances_;  // the instance of each report
    uint64_t clearedThrough_ = 0;      // instances older than the last Clear
    size_t opens_ = 0;
    int64_t lastActivity_ = 0;
    const int64_t quietSince_ = Counter();  // a fresh pad has been quiet since it was made
    ReportCallback callback_;
};

SimPad::SimPad(unsigned listeners) {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    frequency_ = f.QuadPart > 0 ? f.QuadPart : 1;
    origin_ = Counter();
    path_ = UniquePath();
    recorder_ = std::make_unique<Recorder>(origin_, frequency_);
    server_ = std::make_unique<PipeServer>(path_, listeners, *recorder_);
    Plug();
}

SimPad::~SimPad() { Unplug(); }

bool SimPad::Plug() {
    win::ScopedLock<win::SrwLock> lock(plugLock_);
    return server_->Start();
}

void SimPad::Unplug() {
    win::ScopedLock<win::SrwLock> lock(plugLock_);
    server_->Stop();
}

bool SimPad::IsPlugged() const {
    win::ScopedLock<win::SrwLock> lock(plugLock_);
    return server_->Running();
}

std::wstring SimPad::WidePath() const { return std::wstring(path_.begin(), path_.end()); }

std::vector<PadReport> SimPad::Reports() const { return recorder_->Reports(); }
size_t SimPad::ReportCount() const { return recorder_->ReportCount(); }
size_t SimPad::OpenCount() const { return recorder_->OpenCount(); }
bool SimPad::WaitForReports(size_t n, DWORD timeoutMs) const { return recorder_->Wait(n, timeoutMs, false); }
bool SimPad::WaitForOpens(size_t n, DWORD timeoutMs) const { return recorder_->Wait(n, timeoutMs, true); }
bool SimPad::WaitForQuiet(DWORD quietMs, DWORD timeoutMs) const {
    // Under user-mode emulation on a busy machine a worker's reports come with
    // longer gaps: a quiet spell must last longer before it means the end.
    char emulated[2] = "";
    const DWORD scale =
        ::GetEnvironmentVariableA("PAD_I386_EMULATED", emulated, sizeof emulated) == 1 && emulated[0] == '1' ? 3 : 1;
    return recorder_->WaitQuiet(quietMs * scale, timeoutMs * scale);
}
void SimPad::Clear() { recorder_->Clear(); }
void SimPad::SetCallback(ReportCallback callback) { recorder_->SetCallback(std::move(callback)); }
int64_t SimPad::Now() const { return Counter() - origin_; }

}  // namespace simpad
