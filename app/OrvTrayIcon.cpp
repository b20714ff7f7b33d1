#include "OrvTrayIcon.h"

#include <shellapi.h>

#include <cstring>

OrvTrayIcon::~OrvTrayIcon() { Remove(); }

bool OrvTrayIcon::Notify(DWORD action, HICON icon, const char* tip) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = m_window;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = m_callbackMessage;
    data.hIcon = icon;
    if (tip) ::strncpy(data.szTip, tip, sizeof data.szTip - 1);
    return ::Shell_NotifyIconA(action, &data) != FALSE;
}

bool OrvTrayIcon::Add(HWND window, UINT callbackMessage, HICON icon, const char* tip) {
    CSingleLock lock(m_lock);
    if (m_added) return false;
    m_window = window;
    m_callbackMessage = callbackMessage;
    m_icon = icon;
    m_tip = tip;
    // Without a notification area (no shell) the state is still kept: the
    // program runs the same, the member only sees no icon.
    if (!Notify(NIM_ADD, icon, tip)) ::OutputDebugStringA("orvane: the tray icon could not be added\n");
    m_added = true;
    return true;
}

bool OrvTrayIcon::Modify(HICON icon, const char* tip) {
    CSingleLock lock(m_lock);
    if (!m_added) return false;
    m_icon = icon;
    m_tip = tip;
    Notify(NIM_MODIFY, icon, tip);
    return true;
}

void OrvTrayIcon::Remove() {
    CSingleLock lock(m_lock);
    if (!m_added) return;
    Notify(NIM_DELETE, nullptr, nullptr);
    m_added = false;
}

bool OrvTrayIcon::IsAdded() const {
    CSingleLock lock(m_lock);
    return m_added;
}

HICON OrvTrayIcon::GetIcon() const {
    CSingleLock lock(m_lock);
    return m_icon;
}

CString OrvTrayIcon::GetTip() const {
    CSingleLock lock(m_lock);
    return m_tip;
}
