#include "OrvSessionTimers.h"

#include <mmsystem.h>

OrvSessionTimers::~OrvSessionTimers() { StopAll(); }

void OrvSessionTimers::SetTarget(HWND window, UINT message) {
    CSingleLock lock(m_lock);
    m_window = window;
    m_message = message;
}

void CALLBACK OrvSessionTimers::Tick(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    const Slot* slot = reinterpret_cast<const Slot*>(user);
    ::PostMessageA(slot->window, slot->message, static_cast<WPARAM>(slot->timer), 0);
}

void OrvSessionTimers::Start(Timer timer, UINT periodMs) {
    if (timer < 0 || timer >= tCount) return;
    CSingleLock lock(m_lock);
    StopLocked(timer);
    Slot& slot = m_slots[timer];
    slot.window = m_window;
    slot.message = m_message;
    slot.timer = timer;
    slot.period = periodMs;
    slot.running = true;
    if (m_manual) return;
    slot.systemId = ::timeSetEvent(periodMs, 10, &OrvSessionTimers::Tick, reinterpret_cast<DWORD_PTR>(&slot),
                                   TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    if (!slot.systemId) {
        ::OutputDebugStringA("orvane: a session timer could not be started\n");
        slot.running = false;
    }
}

void OrvSessionTimers::StopLocked(Timer timer) {
    Slot& slot = m_slots[timer];
    // Synchronous: no callback reads the slot once this returns.
    if (slot.systemId) ::timeKillEvent(slot.systemId);
    slot.systemId = 0;
    slot.running = false;
}

void OrvSessionTimers::Stop(Timer timer) {
    if (timer < 0 || timer >= tCount) return;
    CSingleLock lock(m_lock);
    StopLocked(timer);
}

void OrvSessionTimers::StopAll() {
    CSingleLock lock(m_lock);
    for (int i = 0; i < tCount; ++i) StopLocked(static_cast<Timer>(i));
}

bool OrvSessionTimers::IsRunning(Timer timer) const {
    if (timer < 0 || timer >= tCount) return false;
    CSingleLock lock(m_lock);
    return m_slots[timer].running;
}

UINT OrvSessionTimers::GetPeriod(Timer timer) const {
    if (timer < 0 || timer >= tCount) return 0;
    CSingleLock lock(m_lock);
    return m_slots[timer].period;
}
