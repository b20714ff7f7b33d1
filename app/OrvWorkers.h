#pragma once
// The main frame's short-lived worker threads (connecting, loading data,
// navigation requests, handing trees to the tree control). Each runs one
// job; finished ones are joined at the next Start, and JoinAll ends them all
// before the frame goes. Jobs watch IsStopping to end their waits early.
#include "CCriticalSection.h"

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <thread>

class OrvWorkers {
public:
    OrvWorkers() = default;
    ~OrvWorkers();
    OrvWorkers(const OrvWorkers&) = delete;
    OrvWorkers& operator=(const OrvWorkers&) = delete;

    // False once stopping, or when no thread could be made.
    bool Start(std::function<void()> job);
    // Asks every job to end (IsStopping) and waits for them. While waiting
    // the calling thread's messages are pumped when pump is set, so that a
    // job waiting for this thread (SendMessage) can finish.
    void JoinAll(bool pump);
    // Asks every job to end without waiting (JoinAll then waits).
    void RequestStop() { m_stopping = true; }
    bool IsStopping() const { return m_stopping; }
    // Jobs running now.
    int Running() const;
    // Lets Start work again after JoinAll.
    void Resume() { m_stopping = false; }

private:
    struct Worker {
        std::thread thread;
        std::atomic<bool> done{false};
    };
    void ReapFinished();

    mutable CCriticalSection m_lock;
    std::list<std::unique_ptr<Worker>> m_workers;
    std::atomic<bool> m_stopping{false};
};
