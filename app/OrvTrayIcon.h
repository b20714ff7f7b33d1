#pragma once
// The program's icon in the notification area: added once for a window,
// changed with every presence, removed at exit (or with this object). The
// icon and tip shown are kept for whoever asks (the tests). Calls may come
// from any thread.
#include "CCriticalSection.h"
#include "CString.h"

#include <windows.h>

class OrvTrayIcon {
public:
    OrvTrayIcon() = default;
    ~OrvTrayIcon();
    OrvTrayIcon(const OrvTrayIcon&) = delete;
    OrvTrayIcon& operator=(const OrvTrayIcon&) = delete;

    // Identifier 0; the icon is borrowed (its owner outlives the tray icon).
    bool Add(HWND window, UINT callbackMessage, HICON icon, const char* tip);
    bool Modify(HICON icon, const char* tip);
    void Remove();

    bool IsAdded() const;
    HICON GetIcon() const;
    CString GetTip() const;

private:
    bool Notify(DWORD action, HICON icon, const char* tip);

    mutable CCriticalSection m_lock;
    HWND m_window = nullptr;
    UINT m_callbackMessage = 0;
    bool m_added = false;
    HICON m_icon = nullptr;
    CString m_tip;
};
