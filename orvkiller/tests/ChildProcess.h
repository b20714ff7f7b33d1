#pragma once
// A program a test starts: its process, waiting for it and for its windows.
// Ends the process if the test leaves it running.
#include <windows.h>

#include <functional>
#include <string>

namespace orvtest {

// The folder of the running test program, with a trailing backslash: the
// build's bin folder, where every program and DLL of the build lands.
std::string ThisProgramFolder();

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Start(const std::string& commandLine);
    bool WaitForExit(DWORD timeoutMs = 60000);
    bool IsRunning() const;
    DWORD ExitCode() const;
    DWORD Id() const { return m_id; }
    void Terminate();

    // A top-level window of this process with that class and title (either
    // may be null), accepted by the filter when one is given; waits up to
    // the time-out for it to appear. Null on time-out or when the process
    // ended first.
    HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs = 60000,
                       const std::function<bool(HWND)>& accept = nullptr) const;
    // The window now, without waiting.
    HWND FindWindowNow(const char* className, const char* title,
                       const std::function<bool(HWND)>& accept = nullptr) const;

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// Polls the condition every few milliseconds until it holds or the time-out
// passes; returns the condition.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 60000);

}  // namespace orvtest
