#pragma once
#include "CObject.h"
#include "FrameworkExport.h"

#include <windows.h>

class CWnd;

using AFX_THREADPROC = UINT(__cdecl*)(LPVOID);

// A thread with a message loop (or, made with a thread function, a plain
// worker). The object owns its thread: StopThread, or at the latest the
// destructor, asks the thread to quit (WM_QUIT) and waits for it, so no
// thread outlives its object. A class that overrides the virtual operations
// must call StopThread in its own destructor, before its parts are gone.
//
// CWinApp is the CWinThread of the program's main thread; it has no thread
// handle of its own.
class FW_API CWinThread : public CObject {
public:
    CWinThread();
    // A worker that runs proc(param) instead of the message loop; the
    // function's result is the thread's exit code.
    CWinThread(AFX_THREADPROC proc, LPVOID param);
    ~CWinThread() override;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts the thread: InitInstance, then Run (which ends with
    // ExitInstance), or ExitInstance alone when InitInstance fails. Returns
    // once the thread can take thread messages. flags may be CREATE_SUSPENDED.
    bool CreateThread(DWORD flags = 0, UINT stackSize = 0);
    DWORD ResumeThread();
    DWORD SuspendThread();
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Posts WM_QUIT to a running thread and waits up to timeout for it to
    // end; true when no thread runs any more. A worker function is not told
    // to stop; it is waited for.
    bool StopThread(DWORD timeout = INFINITE);
    // The exit code of an ended thread; STILL_ACTIVE while it runs.
    DWORD GetExitCode() const;

    virtual BOOL InitInstance();
    // The message loop: until WM_QUIT, offer each message to
    // PreTranslateMessage, then translate and dispatch it; idle time goes to
    // OnIdle. Returns ExitInstance().
    virtual int Run();
    // The thread's own look at a message before it is dispatched; the base
    // offers it to the target window and its parents up to the main window.
    // True takes the message.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Called when the queue is empty; true asks for more idle calls. The
    // base frees the thread's temporary wrappers and returns false.
    virtual BOOL OnIdle(LONG count);
    // The thread's (or program's) exit code; the base returns the WM_QUIT code.
    virtual int ExitInstance();
    // Gets and handles one message; false on WM_QUIT.
    BOOL PumpMessage();

    CWnd* GetMainWnd() const { return m_pMainWnd; }
    const char* GetRuntimeClassName() const override;

    // The window whose destruction ends the loop (its WM_NCDESTROY posts WM_QUIT).
    CWnd* m_pMainWnd = nullptr;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    MSG m_msgCur{};

protected:
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;

private:
    friend struct CWinThreadInternals;
};

// The CWinThread of the calling thread: the application object on the main
// thread, a started CWinThread on its own thread, else null.
FW_API CWinThread* AfxGetThread();
