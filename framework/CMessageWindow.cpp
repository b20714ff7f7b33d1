#include "CMessageWindow.h"

#include <utility>

CMessageWindow::CMessageWindow() = default;

CMessageWindow::~CMessageWindow() {
    if (!m_hWnd) return;
    if (IsOwningThread()) {
        Close();
        return;
    }
    // Only the owning thread can destroy the window. Cut it loose from this
    // object (it goes back to the default procedure) and let it close itself
    // there; CWnd's destructor then has nothing left to do.
    StopPosting();
    HWND hWnd = UnsubclassWindow();
    if (hWnd) ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
}

bool CMessageWindow::Create(Handler handler) {
    if (m_hWnd) return false;
    m_handler = std::move(handler);
    m_threadId = ::GetCurrentThreadId();
    const char* windowClass = AfxRegisterWndClass(0);
    if (!windowClass ||
        !CreateEx(0, windowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr)) {
        m_handler = nullptr;
        m_threadId = 0;
        return false;
    }
    CSingleLock lock(m_lock);
    m_target = m_hWnd;
    return true;
}

bool CMessageWindow::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    // Held while posting, so the window cannot be closed (and its handle
    // reused) between the check and the post.
    CSingleLock lock(m_lock);
    return m_target && ::PostMessageA(m_target, message, wParam, lParam);
}

bool CMessageWindow::IsOpen() const {
    CSingleLock lock(m_lock);
    return m_target != nullptr;
}

bool CMessageWindow::IsOwningThread() const {
    const DWORD owner = m_threadId.load();
    return owner != 0 && owner == ::GetCurrentThreadId();
}

HWND CMessageWindow::StopPosting() {
    CSingleLock lock(m_lock);
    HWND target = m_target;
    m_target = nullptr;
    return target;
}

bool CMessageWindow::Close(const Discard& discard) {
    HWND target = StopPosting();
    if (!m_hWnd) return true;
    if (!IsOwningThread()) return false;
    if (target) {
        MSG msg;
        while (::PeekMessageA(&msg, target, 0, 0, PM_REMOVE)) {
            if (discard && msg.message >= WM_USER) discard(msg.message, msg.wParam, msg.lParam);
        }
    }
    DestroyWindow();
    return true;
}

LRESULT CMessageWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_TIMER || message >= WM_USER) && m_handler) {
        // The handler may destroy this object: call a copy that outlives it.
        const Handler handler = m_handler;
        return handler(message, wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CMessageWindow::PostNcDestroy() {
    // Destroyed by whatever means: posts fail from now on.
    StopPosting();
    m_threadId = 0;
}

const char* CMessageWindow::GetRuntimeClassName() const { return "CMessageWindow"; }
