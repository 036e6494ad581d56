// One Win32 thread that calls Step in a loop, the lock that guards its
// owner's data, and the small state machine through which other threads start
// and stop the loop.
#pragma once

#include <windows.h>

#include <atomic>

#include "DiagLog.h"
#include "RefObject.h"
#include "common/win/CriticalSection.h"
#include "common/win/UniqueResource.h"

namespace padforce {

class WorkerThread : public RefObject {
public:
    enum State : LONG {
        Idle = 0,
        Starting = 1,
        Running = 2,
        StopRequested = 3,
        Halted = 4,
        PauseRequested = 5,
        Paused = 6,
        ResumeRequested = 7,
        AbortRequested = 8,
        Aborted = 9,
    };

    WorkerThread(DiagLog* errorLog, DiagLog* moduleLog);
    ~WorkerThread() override;

    // Creates the thread from Idle or Halted; false in any other state.
    virtual bool Start();
    // Asks the loop to end; never waits for it.
    virtual bool RequestStop();
    virtual bool RequestPause();
    virtual bool RequestResume();
    virtual DWORD GetThreadId() const { return threadId_; }
    virtual State GetState() const { return state_.load(); }
    virtual bool CanPause() const = 0;
    virtual void Lock() { lock_.Enter(); }
    virtual void Unlock() { lock_.Leave(); }
    virtual bool CanStart() { return true; }
    // One turn of the loop; false asks the thread to abort.
    virtual bool Step() { return true; }
    virtual bool Flush() { return true; }
    virtual bool OnAbort() { return true; }

protected:
    // Stops the loop and waits until the thread has ended. A derived class
    // calls it first in its destructor, so that no Step runs on a half-destroyed object.
    void Join();

    DiagLog* ErrorLog() const { return errorLog_; }
    DiagLog* ModuleLog() const { return moduleLog_; }

private:
    void WaitSettled();
    void StopAndWait();
    void SetState(State s) { state_.store(s); }
    static DWORD WINAPI ThreadMain(void* self);

    DiagLog* errorLog_;
    DiagLog* moduleLog_;
    win::UniqueHandle thread_;
    std::atomic<bool> hasThread_{false};
    win::CriticalSection lock_;
    DWORD threadId_ = static_cast<DWORD>(-1);
    std::atomic<State> state_{Idle};
};

}  // namespace padforce
