#pragma once
// The pop-ups' timers. Normally window timers of the pop-up on show; in
// manual mode (tests) nothing is started and the test delivers the ticks
// itself (CNotifier::FireTimer), so the 60-second decline and the growing
// stages run without waiting. User-interface thread only.
#include <windows.h>

#include <map>

class CNotifyTimers {
public:
    void SetManual(bool manual) { m_manual = manual; }
    bool IsManual() const { return m_manual; }

    // (Re)starts timer id of window with its period.
    void Start(HWND window, UINT id, UINT periodMs);
    void Stop(HWND window, UINT id);
    // Forgets every timer of a window that goes away.
    void StopAll(HWND window);
    bool IsRunning(HWND window, UINT id) const;
    // The period of a running timer, 0 when it is not running.
    UINT GetPeriod(HWND window, UINT id) const;

private:
    bool m_manual = false;
    std::map<std::pair<HWND, UINT>, UINT> m_running;  // (window, id) -> period
};
