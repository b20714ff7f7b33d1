#include "ChildProcess.h"

namespace orvtest {

std::string ThisProgramFolder() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs) return condition();
        ::Sleep(10);
    }
    return true;
}

ChildProcess::~ChildProcess() {
    Terminate();
    if (m_process) ::CloseHandle(m_process);
}

bool ChildProcess::Start(const std::string& commandLine) {
    if (m_process) return false;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    m_process = process.hProcess;
    m_id = process.dwProcessId;
    return true;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) {
    return m_process && ::WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0;
}

bool ChildProcess::IsRunning() const {
    return m_process && ::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

DWORD ChildProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (m_process) ::GetExitCodeProcess(m_process, &code);
    return code;
}

void ChildProcess::Terminate() {
    if (IsRunning()) {
        ::TerminateProcess(m_process, 99);
        ::WaitForSingleObject(m_process, 10000);
    }
}

HWND ChildProcess::FindWindowNow(const char* className, const char* title,
                                 const std::function<bool(HWND)>& accept) const {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, className, title)) != nullptr) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == m_id && (!accept || accept(window))) return window;
    }
    return nullptr;
}

HWND ChildProcess::WaitForWindow(const char* className, const char* title, DWORD timeoutMs,
                                 const std::function<bool(HWND)>& accept) const {
    HWND found = nullptr;
    WaitUntil([&] {
        found = FindWindowNow(className, title, accept);
        return found != nullptr || !IsRunning();
    }, timeoutMs);
    return found;
}

}  // namespace orvtest
