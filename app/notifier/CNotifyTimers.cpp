#include "CNotifyTimers.h"

void CNotifyTimers::Start(HWND window, UINT id, UINT periodMs) {
    if (!window) return;
    m_running[{window, id}] = periodMs;
    if (!m_manual) ::SetTimer(window, id, periodMs, nullptr);
}

void CNotifyTimers::Stop(HWND window, UINT id) {
    if (m_running.erase({window, id}) && !m_manual) ::KillTimer(window, id);
}

void CNotifyTimers::StopAll(HWND window) {
    for (auto it = m_running.begin(); it != m_running.end();) {
        if (it->first.first == window) {
            if (!m_manual) ::KillTimer(window, it->first.second);
            it = m_running.erase(it);
        } else {
            ++it;
        }
    }
}

bool CNotifyTimers::IsRunning(HWND window, UINT id) const { return m_running.count({window, id}) != 0; }

UINT CNotifyTimers::GetPeriod(HWND window, UINT id) const {
    auto it = m_running.find({window, id});
    return it == m_running.end() ? 0 : it->second;
}
