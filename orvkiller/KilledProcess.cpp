#include "KilledProcess.h"

namespace {
// How long a terminated process is given to disappear.
const DWORD kTerminationWaitMs = 5000;
}

KilledProcess::KilledProcess(DWORD processId)
    : m_handle(::OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, processId)) {}

KilledProcess::~KilledProcess() {
    if (m_handle) ::CloseHandle(m_handle);
}

bool KilledProcess::WaitForExit(DWORD timeoutMs) const {
    return m_handle && ::WaitForSingleObject(m_handle, timeoutMs) == WAIT_OBJECT_0;
}

bool KilledProcess::Terminate() const {
    if (!m_handle || !::TerminateProcess(m_handle, 0)) return false;
    // Termination is asynchronous; an installer replaces files right after.
    WaitForExit(kTerminationWaitMs);
    return true;
}
