#include "OrvKiller.h"

#include "KilledProcess.h"
#include "OrvMessages.h"

namespace {

HMODULE g_module = nullptr;

// The semaphore a starting main program holds while it signs up.
const char kInstallSemaphore[] = "$$ORV$$INSTALL$$SEMAPHORE";
// The updater's dialog title.
const char kUpdaterTitle[] = "Orvane Update";
const DWORD kPollMs = 100;
const int kClosePolls = 31;
const DWORD kMainExitWaitMs = 3000;
const DWORD kCloseSendTimeoutMs = 1000;

// A top-level window of that class and title that belongs to another
// process: the caller (an installer) is never the program it ends, even
// when one of its own windows bears the same title.
HWND FindOtherProcessWindow(const char* className, const char* title) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, className, title)) != nullptr) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        if (processId != ::GetCurrentProcessId()) return window;
    }
    return nullptr;
}

// For a process that could not be opened: give the window about three
// seconds to go, then ask its thread's message loop to end.
void WaitForWindowToClose(HWND window, DWORD threadId) {
    for (int poll = 0; poll < kClosePolls && ::IsWindow(window); ++poll) ::Sleep(kPollMs);
    if (::IsWindow(window) && threadId) ::PostThreadMessageA(threadId, WM_QUIT, 0, 0);
}

// Step 1: the updater. False only when its process could not be terminated.
bool EndUpdater() {
    HWND window = FindOtherProcessWindow(nullptr, kUpdaterTitle);
    if (!window) return true;
    DWORD processId = 0;
    const DWORD threadId = ::GetWindowThreadProcessId(window, &processId);
    if (threadId && processId) {
        KilledProcess process(processId);
        if (process.IsOpen()) return process.Terminate();
    }
    ::PostMessageA(window, WM_CLOSE, 1, 1);
    WaitForWindowToClose(window, threadId);
    return true;
}

// Step 2: the main program, asked to exit (WM_CLOSE with 1, 1 exits rather
// than hiding to the tray) and ended when it does not go within 3 seconds.
int EndMainProgram(HWND window) {
    DWORD processId = 0;
    const DWORD threadId = ::GetWindowThreadProcessId(window, &processId);
    if (!threadId || !processId) {
        // The window went away under us; a hung one must not hang the installer.
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(window, WM_CLOSE, 1, 1, SMTO_ABORTIFHUNG, kCloseSendTimeoutMs, &ignored);
        ::Sleep(1000);
        return ORVKILL_DONE;
    }
    KilledProcess process(processId);
    ::PostMessageA(window, WM_CLOSE, 1, 1);
    if (process.IsOpen()) {
        if (process.WaitForExit(kMainExitWaitMs)) return ORVKILL_DONE;
        return process.Terminate() ? ORVKILL_DONE : ORVKILL_FAILED;
    }
    WaitForWindowToClose(window, threadId);
    return ORVKILL_DONE;
}

// Step 3: no main window. A program in its start-up holds the semaphore; one
// release lets it know. Made here only for that test, it goes with our handle.
int SignalStartingProgram() {
    HANDLE semaphore = ::CreateSemaphoreA(nullptr, 0, 2, kInstallSemaphore);
    if (!semaphore) return ORVKILL_FAILED;
    const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    ::ReleaseSemaphore(semaphore, 1, nullptr);
    ::CloseHandle(semaphore);
    return existed ? ORVKILL_SEMAPHORE_SIGNALLED : ORVKILL_DONE;
}

}  // namespace

int WINAPI KillOrvane(DWORD, DWORD, DWORD) {
    if (!EndUpdater()) return ORVKILL_FAILED;
    if (HWND mainWindow = FindOtherProcessWindow(ORV_MAIN_WINDOW_CLASS, nullptr)) return EndMainProgram(mainWindow);
    return SignalStartingProgram();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
