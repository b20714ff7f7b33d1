#include "CWinThread.h"

#include "AfxGlobals.h"
#include "AfxTrace.h"
#include "CWinApp.h"
#include "CEvent.h"
#include "CWnd.h"

#include <process.h>

#include <utility>

namespace {
thread_local CWinThread* t_thread = nullptr;

struct StartInfo {
    CWinThread* thread;
    CEvent started{true};
    // The thread waits here until its creator lets it go on; a thread made
    // suspended is suspended while it waits, where it holds no lock. The
    // thread takes this event over before it reports that it started, so the
    // event lives until the thread is past it.
    CEvent proceed{true};
};
}  // namespace

struct CWinThreadInternals {
    static unsigned __stdcall Entry(void* argument) {
        StartInfo* info = static_cast<StartInfo*>(argument);
        CWinThread* thread = info->thread;
        CEvent proceed(std::move(info->proceed));
        t_thread = thread;
        // Make the queue before the creator goes on, so thread messages
        // posted right after CreateThread are not lost.
        MSG msg;
        ::PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
        // From here on the creator may return: info is gone.
        info->started.Set();
        proceed.Wait();
        int code = -1;
        try {
            if (thread->m_pfnThreadProc) {
                code = static_cast<int>(thread->m_pfnThreadProc(thread->m_pThreadParams));
            } else if (thread->InitInstance()) {
                code = thread->Run();
            } else {
                code = thread->ExitInstance();
            }
        } catch (...) {
            AfxTraceCaughtException("framework: thread ended by an exception");
        }
        AfxDeleteTempMaps();
        t_thread = nullptr;
        return static_cast<unsigned>(code);
    }
};

CWinThread* AfxGetThread() {
    if (t_thread) return t_thread;
    CWinApp* app = AfxGetApp();
    if (app && app->m_nThreadID == ::GetCurrentThreadId()) return app;
    return nullptr;
}

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC proc, LPVOID param)
    : m_pfnThreadProc(proc), m_pThreadParams(param) {}

CWinThread::~CWinThread() {
    StopThread();
    if (m_hThread) ::CloseHandle(m_hThread);
}

bool CWinThread::CreateThread(DWORD flags, UINT stackSize) {
    if (m_hThread) return false;
    StartInfo info{this};
    if (!info.started || !info.proceed) return false;
    // Owned by the thread once it has started; valid until the thread got past it.
    const HANDLE proceed = info.proceed.Get();
    unsigned id = 0;
    // Start suspended so the handle is stored before the thread runs.
    const uintptr_t handle = ::_beginthreadex(nullptr, stackSize, CWinThreadInternals::Entry,
                                              &info, CREATE_SUSPENDED, &id);
    if (!handle) return false;
    m_hThread = reinterpret_cast<HANDLE>(handle);
    m_nThreadID = id;
    ::ResumeThread(m_hThread);
    info.started.Wait();
    if (flags & CREATE_SUSPENDED) ::SuspendThread(m_hThread);
    ::SetEvent(proceed);
    return true;
}

DWORD CWinThread::ResumeThread() { return m_hThread ? ::ResumeThread(m_hThread) : static_cast<DWORD>(-1); }

DWORD CWinThread::SuspendThread() {
    return m_hThread ? ::SuspendThread(m_hThread) : static_cast<DWORD>(-1);
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_nThreadID && ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
}

bool CWinThread::StopThread(DWORD timeout) {
    if (!m_hThread) return true;
    if (::WaitForSingleObject(m_hThread, 0) == WAIT_OBJECT_0) return true;
    if (::GetCurrentThreadId() == m_nThreadID) return false;
    // A suspended thread could never see WM_QUIT.
    DWORD suspended;
    do {
        suspended = ::ResumeThread(m_hThread);
    } while (suspended != static_cast<DWORD>(-1) && suspended > 1);
    if (!m_pfnThreadProc) ::PostThreadMessageA(m_nThreadID, WM_QUIT, 0, 0);
    return ::WaitForSingleObject(m_hThread, timeout) == WAIT_OBJECT_0;
}

DWORD CWinThread::GetExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (m_hThread) ::GetExitCodeThread(m_hThread, &code);
    return code;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::Run() {
    LONG idleCount = 0;
    for (;;) {
        while (!::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount++)) {}
        if (!PumpMessage()) break;
        idleCount = 0;
    }
    return ExitInstance();
}

BOOL CWinThread::PumpMessage() {
    const BOOL got = ::GetMessageA(&m_msgCur, nullptr, 0, 0);
    if (got == 0) return FALSE;
    if (got == -1) {
        m_msgCur.message = WM_QUIT;
        m_msgCur.wParam = static_cast<WPARAM>(-1);
        return FALSE;
    }
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg) {
    if (!msg || !msg->hwnd) return FALSE;
    HWND stop = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    return CWnd::WalkPreTranslateTree(stop, msg);
}

BOOL CWinThread::OnIdle(LONG) {
    AfxDeleteTempMaps();
    return FALSE;
}

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

const char* CWinThread::GetRuntimeClassName() const { return "CWinThread"; }
