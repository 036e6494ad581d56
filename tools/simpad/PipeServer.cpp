#include "PipeServer.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace simpad {

namespace {

constexpr DWORD kBufferSize = 512;

int64_t Counter() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

win::UniqueFile CreateInstance(const std::string& path, bool first) {
    DWORD openMode = PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED;
    // The first instance proves the name is ours alone.
    if (first) openMode |= FILE_FLAG_FIRST_PIPE_INSTANCE;
    return win::UniqueFile(::CreateNamedPipeA(path.c_str(), openMode,
                                              PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                                              PIPE_UNLIMITED_INSTANCES, kBufferSize, kBufferSize, 0, nullptr));
}

// One pipe instance serving one client at a time, and the overlapped
// operation it waits on. The event belongs to the slot the instance sits in.
class Listener {
public:
    Listener(win::UniqueFile pipe, uint64_t serial, HANDLE event)
        : pipe_(std::move(pipe)), serial_(serial), event_(event) {}
    ~Listener() { Cancel(); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    enum class Listening { Waiting, ClientCame, Failed };

    // Starts waiting for a client; says whether one came before the wait
    // was issued (then Connected takes its report).
    Listening Listen() {
        Prepare();
        reading_ = false;
        if (::ConnectNamedPipe(pipe_.get(), &ov_)) return Listening::ClientCame;
        const DWORD err = ::GetLastError();
        if (err == ERROR_IO_PENDING) {
            pending_ = true;
            return Listening::Waiting;
        }
        // One that has already closed (ERROR_NO_DATA) may still have left
        // its report.
        if (err == ERROR_PIPE_CONNECTED || err == ERROR_NO_DATA) return Listening::ClientCame;
        return Listening::Failed;
    }

    // After Listen: false when the instance is done with already.
    bool Arm(Listening listening, PipeServer::Sink& sink) {
        if (listening == Listening::Waiting) return true;
        return listening == Listening::ClientCame && Connected(sink);
    }

    // The event fired. Finishes the operation and runs on until the next
    // one waits; false when the client has gone and the instance is spent.
    bool Complete(PipeServer::Sink& sink, int64_t counter) {
        pending_ = false;
        DWORD got = 0;
        const BOOL ok = ::GetOverlappedResult(pipe_.get(), &ov_, &got, FALSE);
        const DWORD err = ok ? ERROR_SUCCESS : ::GetLastError();
        if (err == ERROR_IO_INCOMPLETE) {
            // Woken by a signal left over from an earlier operation: this
            // one still waits.
            pending_ = true;
            ::ResetEvent(event_);
            if (HasOverlappedIoCompleted(&ov_)) ::SetEvent(event_);  // it ended meanwhile
            return true;
        }
        if (!reading_) {
            if (!ok && err != ERROR_PIPE_CONNECTED) return false;
            return Connected(sink);
        }
        if (!ok && err != ERROR_MORE_DATA) return false;  // broken pipe: the client closed
        Take(got);
        if (ok) Deliver(sink, counter);
        return ReadOn(sink);
    }

    // Leaves a slot whose instance could not be replaced quiet.
    void Park() {
        Cancel();
        ::ResetEvent(event_);
    }

private:
    void Prepare() {
        std::memset(&ov_, 0, sizeof ov_);
        ov_.hEvent = event_;  // the call itself resets it
    }

    bool Connected(PipeServer::Sink& sink) {
        sink.OnOpen();
        length_ = 0;
        return ReadOn(sink);
    }

    // Reads what is there at once, message by message, until a read waits.
    bool ReadOn(PipeServer::Sink& sink) {
        reading_ = true;
        for (;;) {
            Prepare();
            const BOOL done = ::ReadFile(pipe_.get(), buffer_, sizeof buffer_, nullptr, &ov_);
            const DWORD err = done ? ERROR_SUCCESS : ::GetLastError();
            if (err == ERROR_IO_PENDING) {
                pending_ = true;
                return true;
            }
            if (!done && err != ERROR_MORE_DATA) return false;
            DWORD got = 0;
            ::GetOverlappedResult(pipe_.get(), &ov_, &got, FALSE);
            Take(got);
            if (done) Deliver(sink, Counter());
        }
    }

    void Take(DWORD got) {
        if (length_ == 0) std::memset(head_, 0, sizeof head_);
        for (DWORD i = 0; i < got && length_ + i < sizeof head_; ++i) head_[length_ + i] = buffer_[i];
        length_ += got;
    }

    void Deliver(PipeServer::Sink& sink, int64_t counter) {
        sink.OnMessage(head_, length_, counter, serial_);
        length_ = 0;
    }

    // An operation in flight writes into ov_ and buffer_: wait for it to end
    // before either goes away. One that failed at once never started, and
    // its OVERLAPPED may still read as pending.
    void Cancel() {
        if (pipe_ && pending_) {
            ::CancelIo(pipe_.get());
            DWORD got = 0;
            ::GetOverlappedResult(pipe_.get(), &ov_, &got, TRUE);
        }
        pending_ = false;
        pipe_.reset();
    }

    win::UniqueFile pipe_;
    const uint64_t serial_;
    HANDLE event_;
    OVERLAPPED ov_{};
    bool reading_ = false;
    bool pending_ = false;
    uint8_t buffer_[kBufferSize] = {};
    uint8_t head_[4] = {};
    uint32_t length_ = 0;
};

struct Slot {
    win::UniqueHandle Event;
    std::unique_ptr<Listener> Current;
};

// Puts a fresh instance into the slot. The fresh one listens before the old
// one closes, so the name never has fewer free instances; one that meets a
// client which has already come and gone is replaced in turn.
bool Refill(Slot& slot, const std::string& path, bool first, win::CriticalSection& making, uint64_t& made,
            PipeServer::Sink& sink) {
    for (int tries = 0; tries < 8; ++tries) {
        std::unique_ptr<Listener> fresh;
        Listener::Listening listening;
        {
            // Made, numbered and listening under one lock: no other thread
            // puts a younger instance with a lower number before this one.
            win::ScopedLock<win::CriticalSection> lock(making);
            win::UniqueFile pipe = CreateInstance(path, first);
            if (!pipe) return false;
            fresh = std::make_unique<Listener>(std::move(pipe), ++made, slot.Event.get());
            listening = fresh->Listen();
        }
        const bool armed = fresh->Arm(listening, sink);
        slot.Current = std::move(fresh);
        if (armed) return true;
    }
    return false;
}

}  // namespace

// What one serving thread is given: its share of the instances, and a
// place to say whether it made them all.
struct PipeServer::Worker {
    PipeServer* Server;
    unsigned Listeners;
    bool First;
    win::UniqueHandle Ready;
    bool Ok = false;
};

PipeServer::PipeServer(std::string path, unsigned listeners, Sink& sink)
    : path_(std::move(path)), listeners_(listeners < 1 ? 1 : listeners), sink_(sink) {}

PipeServer::~PipeServer() { Stop(); }

bool PipeServer::Start() {
    if (!threads_.empty()) return true;
    stop_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!stop_) return false;
    std::vector<Worker> workers;
    for (unsigned made = 0; made < listeners_; made += kListenersPerThread)
        workers.push_back(Worker{this, std::min(kListenersPerThread, listeners_ - made), made == 0,
                                 win::UniqueHandle(::CreateEventA(nullptr, TRUE, FALSE, nullptr))});
    // The first thread makes the first instance of all before the others
    // start; then they make theirs side by side.
    bool ok = true;
    for (size_t i = 0; i < workers.size() && ok; ++i) {
        Worker& w = workers[i];
        win::UniqueHandle thread;
        if (w.Ready) thread.reset(::CreateThread(nullptr, 0, &PipeServer::ThreadMain, &w, 0, nullptr));
        if (!thread) {
            ok = false;
            break;
        }
        threads_.push_back(std::move(thread));
        if (i == 0) {
            ::WaitForSingleObject(w.Ready.get(), INFINITE);
            ok = w.Ok;
        }
    }
    for (size_t i = 1; i < threads_.size(); ++i) {
        ::WaitForSingleObject(workers[i].Ready.get(), INFINITE);
        ok = ok && workers[i].Ok;
    }
    if (ok) return true;
    Stop();
    return false;
}

void PipeServer::Stop() {
    if (threads_.empty()) return;
    ::SetEvent(stop_.get());
    for (auto& t : threads_) ::WaitForSingleObject(t.get(), INFINITE);
    threads_.clear();
}

DWORD WINAPI PipeServer::ThreadMain(void* worker) {
    Worker& w = *static_cast<Worker*>(worker);
    w.Server->Serve(w);
    return 0;
}

// Overlapped operations end with the thread that issued them, so this
// thread creates, arms and closes each of its instances itself.
void PipeServer::Serve(Worker& worker) {
    const size_t count = worker.Listeners;
    std::vector<Slot> slots(count);
    bool ok = true;
    for (size_t i = 0; i < count && ok; ++i) {
        slots[i].Event.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        ok = slots[i].Event && Refill(slots[i], path_, worker.First && i == 0, making_, made_, sink_);
    }
    worker.Ok = ok;
    ::SetEvent(worker.Ready.get());  // the worker record is gone after this
    if (!ok) return;

    // The wait names the first ready handle it finds, so the order turns
    // round after each wake: no instance waits behind busier ones.
    std::vector<HANDLE> waits(count + 1);
    std::vector<size_t> slotOf(count + 1);
    size_t first = 0;
    for (;;) {
        waits[0] = stop_.get();
        for (size_t k = 0; k < count; ++k) {
            const size_t i = (first + k) % count;
            waits[k + 1] = slots[i].Event.get();
            slotOf[k + 1] = i;
        }
        const DWORD r = ::WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE, INFINITE);
        if (r < WAIT_OBJECT_0 + 1 || r >= WAIT_OBJECT_0 + waits.size()) break;  // stop, or the wait failed
        const size_t i = slotOf[r - WAIT_OBJECT_0];
        first = (i + 1) % count;
        Slot& slot = slots[i];
        if (slot.Current && slot.Current->Complete(sink_, Counter())) continue;
        if (!Refill(slot, path_, false, making_, made_, sink_) && slot.Current) slot.Current->Park();
    }
    slots.clear();  // each cancels its operation and closes its instance
}

}  // namespace simpad
