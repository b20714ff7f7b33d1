#pragma once
// The one owner of a Win32 event.
#include <windows.h>

class WinEvent {
public:
    explicit WinEvent(bool manualReset) : m_handle(CreateEventA(nullptr, manualReset, FALSE, nullptr)) {}
    ~WinEvent() {
        if (m_handle) CloseHandle(m_handle);
    }
    WinEvent(const WinEvent&) = delete;
    WinEvent& operator=(const WinEvent&) = delete;

    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void Set() { SetEvent(m_handle); }
    void Reset() { ResetEvent(m_handle); }

private:
    HANDLE m_handle;
};
