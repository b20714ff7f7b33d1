#pragma once
// Paces the frames of an animation: Wait() returns one period after the
// previous frame began, whatever the frame itself took, so an animation of
// n frames lasts n periods. Raises the system timer resolution to 1 ms for
// its lifetime.
#include <windows.h>

class CFrameClock {
public:
    explicit CFrameClock(DWORD periodMs);
    ~CFrameClock();
    CFrameClock(const CFrameClock&) = delete;
    CFrameClock& operator=(const CFrameClock&) = delete;

    void Wait();

private:
    LONGLONG Now() const;

    LONGLONG m_frequency = 1;
    LONGLONG m_period = 0;
    LONGLONG m_next = 0;
    bool m_resolutionRaised = false;
};
