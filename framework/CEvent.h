#pragma once
#include "CHandle.h"

#include <windows.h>

// A Win32 event with one owner. A manual-reset event stays set until Reset
// and releases every waiter; an auto-reset event releases one waiter and
// resets itself. Check the object (operator bool) before relying on it:
// creation fails only when the system is out of resources. Copying is
// deleted; moving hands the event on.
class CEvent {
public:
    explicit CEvent(bool manualReset, bool initiallySet = false)
        : m_handle(::CreateEventA(nullptr, manualReset, initiallySet, nullptr)) {}

    HANDLE Get() const { return m_handle.Get(); }
    explicit operator bool() const { return static_cast<bool>(m_handle); }
    bool Set() { return m_handle && ::SetEvent(m_handle.Get()); }
    bool Reset() { return m_handle && ::ResetEvent(m_handle.Get()); }
    // True when the event was (or became) set within timeoutMs; an
    // auto-reset event is reset again by a successful wait.
    bool Wait(DWORD timeoutMs = INFINITE) {
        return m_handle && ::WaitForSingleObject(m_handle.Get(), timeoutMs) == WAIT_OBJECT_0;
    }

private:
    CHandle m_handle;
};
