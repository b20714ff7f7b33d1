#include "ClsMenuTracker.h"

#include "ClsSkinnedMenu.h"

#include "AfxTrace.h"

namespace {
// The tracker of the calling thread's open menu.
thread_local ClsMenuTracker* t_tracker = nullptr;
thread_local ClsSkinnedMenu* t_menu = nullptr;
}  // namespace

ClsMenuTracker::ClsMenuTracker(ClsSkinnedMenu* menu) : m_menu(menu) {
    const DWORD thread = ::GetCurrentThreadId();
    m_queueHook.reset(::SetWindowsHookExA(WH_GETMESSAGE, &ClsMenuTracker::QueueHook, nullptr, thread));
    m_sentHook.reset(::SetWindowsHookExA(WH_CALLWNDPROC, &ClsMenuTracker::SentHook, nullptr, thread));
    t_tracker = this;
    t_menu = menu;
}

ClsMenuTracker::~ClsMenuTracker() {
    if (t_tracker == this) {
        t_tracker = nullptr;
        t_menu = nullptr;
    }
}

ClsSkinnedMenu* ClsMenuTracker::GetOpenMenu() { return t_menu; }

LRESULT CALLBACK ClsMenuTracker::QueueHook(int code, WPARAM wParam, LPARAM lParam) {
    // Only messages leaving the queue: a look without removing them is no input yet.
    if (code == HC_ACTION && wParam == PM_REMOVE && t_menu) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        try {
            if (msg && t_menu->TrackMessage(*msg)) {
                // Taken: the loop that fetched it dispatches nothing.
                msg->message = WM_NULL;
                msg->wParam = 0;
                msg->lParam = 0;
            }
        } catch (...) {
            AfxTraceCaughtException("controls: menu input hook");
        }
    }
    // The hook may be gone now (the menu closed); the handle is not needed.
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK ClsMenuTracker::SentHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && t_menu) {
        const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        try {
            bool lost = false;
            switch (sent ? sent->message : 0) {
            case WM_ACTIVATEAPP: lost = sent->wParam == FALSE; break;
            case WM_ACTIVATE:
                // Activation moves to a window that is not the menu's.
                lost = LOWORD(sent->wParam) == WA_INACTIVE &&
                       !t_menu->IsMenuWindow(reinterpret_cast<HWND>(sent->lParam));
                break;
            case WM_CANCELMODE: lost = true; break;
            default: break;
            }
            if (lost) t_menu->OnLostActivation();
        } catch (...) {
            AfxTraceCaughtException("controls: menu activation hook");
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
