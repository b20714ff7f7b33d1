#pragma once
#include "CIdleTimer.h"
#include "OrvIdleSource.h"

// The program's idle source: the system's idle time, or the input hooks.
class OrvSystemIdleSource : public OrvIIdleSource {
public:
    bool Start() override { return m_timer.Start(); }
    void Stop() override { m_timer.Stop(); }
    DWORD GetIdleTime() override { return m_timer.GetIdleTime(); }
    void Reset() override { m_timer.Reset(); }

private:
    CIdleTimer m_timer;
};
