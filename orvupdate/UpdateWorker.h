#pragma once
// The extraction thread: opens the update archive, checks every name in it,
// extracts all files into the staging folder with progress after each block,
// and, unless the user cancelled, moves them into the program folder. Its end
// is reported only by posting kDoneMessage to the dialog with the result in
// wParam.
#include "WinHandles.h"

#include <windows.h>

#include <string>

class ExtractionProgress;
class UpdateCancelGate;
class UpdateLog;

class UpdateWorker {
public:
    // wParam of kDoneMessage.
    enum Result : WPARAM {
        kInstalled = 0,
        kArchiveUnreadable = 1,  // missing, unreadable, or not a cabinet
        kExtractionFailed = 3,   // damaged data, a refused name, no room, a failed move, or cancelled
    };
    static const UINT kDoneMessage = WM_USER + 1;  // 1025

    UpdateWorker(std::string archivePath, std::string programFolder, UpdateLog& log, ExtractionProgress& progress,
                 UpdateCancelGate& gate);
    // Waits for the thread.
    ~UpdateWorker();
    UpdateWorker(const UpdateWorker&) = delete;
    UpdateWorker& operator=(const UpdateWorker&) = delete;

    // Starts the thread; progressMessage is posted to notify (at most one
    // waiting at a time) when the counters moved.
    bool Start(HWND notify, UINT progressMessage);
    // Waits until the thread has ended (at once when none runs).
    void Join();

    // The whole job on the calling thread.
    Result Run();

private:
    static DWORD WINAPI ThreadMain(void* worker);
    void NotifyProgress();

    std::string m_archivePath;
    std::string m_programFolder;
    UpdateLog& m_log;
    ExtractionProgress& m_progress;
    UpdateCancelGate& m_gate;
    HWND m_notify = nullptr;
    UINT m_progressMessage = 0;
    UniqueHandle m_thread;
};
