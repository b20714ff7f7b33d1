#pragma once
// The main program's idle clock: how long the user has not pressed a key or
// clicked. Where the system tells (GetLastInputInfo, NT 5 and later) it asks
// the system; elsewhere it runs the system-wide hooks of OrvHook.dll, which
// keep the time of the last input in memory shared by every process.
#include <windows.h>

class CIdleTimer {
public:
    enum class Source {
        Automatic,  // the system's idle time where it exists, else the hooks
        Hook,       // always the hooks
    };

    explicit CIdleTimer(Source source = Source::Automatic);
    ~CIdleTimer();
    CIdleTimer(const CIdleTimer&) = delete;
    CIdleTimer& operator=(const CIdleTimer&) = delete;

    // With the hooks: installs them afresh (hooks left by a program that
    // ended without removing them are dropped first). False when they
    // could not be installed. With the system's idle time: nothing to do.
    bool Start();
    // With the hooks: removes them.
    void Stop();
    // Milliseconds since the last key press or click.
    DWORD GetIdleTime();
    // Counts the user as active now.
    void Reset();

    bool UsesSystemIdleTime() const { return m_getLastInputInfo != nullptr; }

    // now - since in the tick counter's own arithmetic: right across its
    // wrap after about 49.7 days.
    static DWORD Elapsed(DWORD now, DWORD since) { return now - since; }

private:
    using GetLastInputInfoFunction = BOOL(WINAPI*)(PLASTINPUTINFO);

    HMODULE m_user32 = nullptr;
    GetLastInputInfoFunction m_getLastInputInfo = nullptr;
    DWORD m_lastInputTick;
    // When Reset last counted the user as active (system idle time only).
    DWORD m_resetTick;
};
