#include "WorkerThread.h"

namespace padforce {

WorkerThread::WorkerThread(DiagLog* errorLog, DiagLog* moduleLog) : errorLog_(errorLog), moduleLog_(moduleLog) {}

WorkerThread::~WorkerThread() { Join(); }

void WorkerThread::WaitSettled() {
    // Spins until the worker has taken a pending transition. It yields the
    // processor rather than sleeping, so a worker on the same core gets to run.
    for (;;) {
        const State s = state_.load();
        switch (s) {
            case Starting:
                break;
            case StopRequested:
            case PauseRequested:
            case ResumeRequested:
            case AbortRequested:
                if (!hasThread_.load()) {
                    SetState(Halted);
                    return;
                }
                break;
            default:
                return;
        }
        ::SwitchToThread();
    }
}

bool WorkerThread::Start() {
    WaitSettled();
    win::ScopedLock<win::CriticalSection> guard(lock_);
    const State s = state_.load();
    if (s != Idle && s != Halted) return false;
    if (CanStart()) {
        // A Halted object still holds the handle of its ended thread.
        if (thread_) ::WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset(::CreateThread(nullptr, 0, &ThreadMain, this, CREATE_SUSPENDED, &threadId_));
        if (thread_) {
            hasThread_.store(true);
            SetState(Starting);
            ::ResumeThread(thread_.get());
            return true;
        }
    }
    hasThread_.store(false);
    SetState(Idle);
    threadId_ = static_cast<DWORD>(-1);
    return false;
}

bool WorkerThread::RequestStop() {
    WaitSettled();
    win::ScopedLock<win::CriticalSection> guard(lock_);
    const State s = state_.load();
    if (s == Idle) SetState(Halted);
    else if (s != Halted && s != Aborted) SetState(StopRequested);
    return true;
}

bool WorkerThread::RequestPause() {
    if (!CanPause()) return false;
    win::ScopedLock<win::CriticalSection> guard(lock_);
    const State s = state_.load();
    if (s == Running) {
        SetState(PauseRequested);
        return true;
    }
    return s == Paused;
}

bool WorkerThread::RequestResume() {
    if (!CanPause()) return false;
    win::ScopedLock<win::CriticalSection> guard(lock_);
    const State s = state_.load();
    if (s == Paused) {
        SetState(ResumeRequested);
        return true;
    }
    return s == Running;
}

void WorkerThread::StopAndWait() {
    for (;;) {
        WaitSettled();
        State s;
        {
            win::ScopedLock<win::CriticalSection> guard(lock_);
            s = state_.load();
        }
        if (s == Idle || s == Halted || s == Aborted) return;
        RequestStop();
        ::Sleep(10);
    }
}

void WorkerThread::Join() {
    StopAndWait();
    win::ScopedLock<win::CriticalSection> guard(lock_);
    if (thread_) {
        ::WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
        hasThread_.store(false);
    }
}

DWORD WINAPI WorkerThread::ThreadMain(void* param) {
    if (!param) return 0;
    auto* self = static_cast<WorkerThread*>(param);
    const State initial = self->GetState();
    State final = Halted;
    if (initial == Starting) {
        {
            win::ScopedLock<win::CriticalSection> guard(self->lock_);
            self->SetState(Running);
        }
        for (;;) {
            ::Sleep(0);
            if (self->state_.load() == StopRequested) {
                final = Halted;
                break;
            }
            ::Sleep(0);
            if (self->state_.load() == AbortRequested) {
                self->OnAbort();
                final = Aborted;
                break;
            }
            if (self->state_.load() == Running && !self->Step()) {
                win::ScopedLock<win::CriticalSection> guard(self->lock_);
                self->SetState(AbortRequested);
            }
            ::Sleep(0);
        }
    } else if (initial == StopRequested) {
        final = Aborted;
    }
    win::ScopedLock<win::CriticalSection> guard(self->lock_);
    self->SetState(final);
    return 0;
}

}  // namespace padforce

