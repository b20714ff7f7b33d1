#include "CFrameClock.h"

#include <mmsystem.h>

CFrameClock::CFrameClock(DWORD periodMs) {
    LARGE_INTEGER frequency;
    if (::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0)
        m_frequency = frequency.QuadPart;
    m_period = m_frequency * periodMs / 1000;
    m_resolutionRaised = ::timeBeginPeriod(1) == TIMERR_NOERROR;
    m_next = Now();
}

CFrameClock::~CFrameClock() {
    if (m_resolutionRaised) ::timeEndPeriod(1);
}

LONGLONG CFrameClock::Now() const {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void CFrameClock::Wait() {
    m_next += m_period;
    LONGLONG now = Now();
    // A frame that overran starts the schedule again instead of rushing
    // the next ones.
    if (now >= m_next) {
        m_next = now;
        return;
    }
    while (now < m_next) {
        const LONGLONG leftMs = (m_next - now) * 1000 / m_frequency;
        ::Sleep(leftMs > 1 ? static_cast<DWORD>(leftMs - 1) : 0);
        now = Now();
    }
}
