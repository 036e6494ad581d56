// The serving side of a named pipe: threads that keep a set of instances
// listening, so that clients which open, write and close at a fast pace find
// one free every time.
//
// A client is given the oldest listening instance, so instances are numbered
// as they are made: a message through a lower serial was sent before one
// through a higher serial, whichever serving thread gets to it first.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/win/CriticalSection.h"
#include "common/win/UniqueResource.h"

namespace simpad {

class PipeServer {
public:
    // Called on the serving threads, one call at a time per thread.
    struct Sink {
        virtual void OnOpen() = 0;
        // head: up to the first four bytes; length: the whole message's
        // length; instance: the serial of the instance it came through.
        virtual void OnMessage(const uint8_t* head, uint32_t length, int64_t counter, uint64_t instance) = 0;

    protected:
        ~Sink() = default;
    };

    // `listeners` instances wait for clients at any time, served by one
    // thread for each kListenersPerThread of them.
    static constexpr unsigned kListenersPerThread = 32;
    PipeServer(std::string path, unsigned listeners, Sink& sink);
    ~PipeServer();
    PipeServer(const PipeServer&) = delete;
    PipeServer& operator=(const PipeServer&) = delete;

    // Returns once every instance exists, so the path opens right away.
    bool Start();
    // Closes every instance; the path no longer exists when it returns.
    void Stop();
    bool Running() const { return !threads_.empty(); }

private:
    struct Worker;
    static DWORD WINAPI ThreadMain(void* worker);
    void Serve(Worker& worker);

    const std::string path_;
    const unsigned listeners_;
    Sink& sink_;
    win::UniqueHandle stop_;
    // Held while an instance is made, numbered and set listening. Waiters
    // spin first: sleeping on it costs more than the few microseconds it
    // is held, and slows serving until clients are refused.
    win::CriticalSection making_{20000};
    uint64_t made_ = 0;  // instances made by all threads together
    std::vector<win::UniqueHandle> threads_;
};

}  // namespace simpad
