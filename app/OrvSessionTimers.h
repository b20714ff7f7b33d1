#pragma once
// The session's three periodic timers: idle (5 000 ms), re-connection and
// blink (500 ms). Each tick is posted to the main window as message
// (wParam = the timer), so the work runs on the user-interface thread.
//
// Manual mode (tests) starts no system timer: the clock is the test's, which
// reads IsRunning and delivers the ticks itself. Any thread.
#include "CCriticalSection.h"

#include <windows.h>

class OrvSessionTimers {
public:
    enum Timer { tIdle = 0, tReconnect = 1, tBlink = 2, tCount = 3 };

    OrvSessionTimers() = default;
    ~OrvSessionTimers();
    OrvSessionTimers(const OrvSessionTimers&) = delete;
    OrvSessionTimers& operator=(const OrvSessionTimers&) = delete;

    // Where the ticks go; before the first Start.
    void SetTarget(HWND window, UINT message);
    void SetManual(bool manual) { m_manual = manual; }
    bool IsManual() const { return m_manual; }

    // Starts (or restarts) a timer with its period.
    void Start(Timer timer, UINT periodMs);
    void Stop(Timer timer);
    void StopAll();
    bool IsRunning(Timer timer) const;
    UINT GetPeriod(Timer timer) const;

private:
    static void CALLBACK Tick(UINT id, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR);
    void StopLocked(Timer timer);

    // What a system timer's callback reads: set before it starts and
    // unchanged until it was killed synchronously.
    struct Slot {
        HWND window = nullptr;
        UINT message = 0;
        Timer timer = tIdle;
        UINT systemId = 0;
        bool running = false;
        UINT period = 0;
    };

    mutable CCriticalSection m_lock;
    Slot m_slots[tCount];
    HWND m_window = nullptr;
    UINT m_message = 0;
    bool m_manual = false;
};
