#pragma once
// Collects what the process writes to the debugger output (OutputDebugString)
// while the object lives, so a test can check a trace. OutputDebugString
// raises a first-chance exception for debuggers to see; a vectored handler
// copies its text and lets the exception go on as before.
#include <windows.h>

#include <string>

namespace orvtest {

class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    // Everything written since the capture began (or the last Clear).
    std::string Text() const;
    void Clear();
    // Whether the handler could be installed.
    bool IsActive() const { return m_handler != nullptr; }

private:
    static LONG CALLBACK OnException(EXCEPTION_POINTERS* info);

    PVOID m_handler = nullptr;
};

}  // namespace orvtest
