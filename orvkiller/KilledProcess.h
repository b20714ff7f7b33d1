#pragma once
// The one owner of a handle to another program's process, opened with the
// rights needed to wait for it and to end it.
#include <windows.h>

class KilledProcess {
public:
    // Opens the process; IsOpen() tells whether that worked.
    explicit KilledProcess(DWORD processId);
    ~KilledProcess();
    KilledProcess(const KilledProcess&) = delete;
    KilledProcess& operator=(const KilledProcess&) = delete;

    bool IsOpen() const { return m_handle != nullptr; }
    // True when the process ended within the time-out.
    bool WaitForExit(DWORD timeoutMs) const;
    // Ends the process with exit code 0 and waits (a while) until it is
    // gone, so that its files are free when the caller goes on.
    bool Terminate() const;

private:
    HANDLE m_handle;
};
