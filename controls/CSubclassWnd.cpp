#include "CSubclassWnd.h"

#include "AfxTrace.h"
#include "CCriticalSection.h"
#include "CWnd.h"

#include <cstdio>
#include <map>

namespace {
// The procedure a hooked window had before its first hook. Kept on the
// window, so the shared procedure can pass messages on even after the last
// hook left while someone else's procedure still calls it.
const char kSavedProcProp[] = "OrvCtlSavedProc";

WNDPROC SavedProcedure(HWND window) {
    return reinterpret_cast<WNDPROC>(::GetPropA(window, kSavedProcProp));
}

// The thread's current message set for a scope, for Default().
class CurrentMessage {
public:
    CurrentMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
        : m_saved(AfxGetCurrentMessage()) {
        MSG& current = AfxGetCurrentMessage();
        current.hwnd = window;
        current.message = message;
        current.wParam = wParam;
        current.lParam = lParam;
    }
    ~CurrentMessage() { AfxGetCurrentMessage() = m_saved; }
    CurrentMessage(const CurrentMessage&) = delete;
    CurrentMessage& operator=(const CurrentMessage&) = delete;

private:
    MSG m_saved;
};
}  // namespace

// The process-wide map from a hooked window to its newest hook, and the
// shared procedure. Made on first use, destroyed at exit.
struct SubclassChain {
    CCriticalSection lock;
    std::map<HWND, CSubclassWnd*> newest;

    static SubclassChain& Instance() {
        static SubclassChain chain;
        return chain;
    }

    CSubclassWnd* Newest(HWND window) {
        CSingleLock hold(lock);
        auto found = newest.find(window);
        return found == newest.end() ? nullptr : found->second;
    }

    // Every hook of the window leaves; the original procedure comes back
    // when nobody subclassed the window after us.
    void RemoveAll(HWND window) {
        CSingleLock hold(lock);
        auto found = newest.find(window);
        if (found != newest.end()) {
            for (CSubclassWnd* hook = found->second; hook;) {
                CSubclassWnd* next = hook->m_pNext;
                hook->m_hWndHooked = nullptr;
                hook->m_pNext = nullptr;
                hook = next;
            }
            newest.erase(found);
        }
        Restore(window);
    }

    static void Restore(HWND window) {
        WNDPROC saved = SavedProcedure(window);
        if (!saved) return;
        if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)) == &SharedProc) {
            ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
            ::RemovePropA(window, kSavedProcProp);
        }
    }

    static LRESULT CallSaved(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        WNDPROC saved = SavedProcedure(window);
        return saved ? ::CallWindowProcA(saved, window, message, wParam, lParam)
                     : ::DefWindowProcA(window, message, wParam, lParam);
    }

    static LRESULT CALLBACK SharedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        SubclassChain& chain = Instance();
        if (message == WM_NCDESTROY) {
            WNDPROC saved = SavedProcedure(window);
            chain.RemoveAll(window);
            // Another procedure installed after ours keeps calling us until
            // the end: the property goes with the window's last message.
            ::RemovePropA(window, kSavedProcProp);
            return saved ? ::CallWindowProcA(saved, window, message, wParam, lParam)
                         : ::DefWindowProcA(window, message, wParam, lParam);
        }
        CSubclassWnd* hook = chain.Newest(window);
        if (!hook) return CallSaved(window, message, wParam, lParam);
        CurrentMessage current(window, message, wParam, lParam);
        try {
            return hook->WindowProc(message, wParam, lParam);
        } catch (...) {
            char place[96];
            std::snprintf(place, sizeof place, "controls: window hook (message 0x%04X)", message);
            AfxTraceCaughtException(place);
            return 0;
        }
    }
};

CSubclassWnd::CSubclassWnd() = default;

CSubclassWnd::~CSubclassWnd() { Unhook(); }

bool CSubclassWnd::HookWindow(CWnd* window) { return HookWindow(window ? window->GetSafeHwnd() : nullptr); }

bool CSubclassWnd::HookWindow(HWND window) {
    Unhook();
    if (!window) return true;
    DWORD process = 0;
    if (!::IsWindow(window) || !::GetWindowThreadProcessId(window, &process) ||
        process != ::GetCurrentProcessId())
        return false;
    SubclassChain& chain = SubclassChain::Instance();
    CSingleLock hold(chain.lock);
    auto found = chain.newest.find(window);
    if (found != chain.newest.end()) {
        m_pOldWndProc = found->second->m_pOldWndProc;
        m_pNext = found->second;
    } else {
        // Our procedure may still sit in the window's chain from earlier
        // hooks (someone subclassed after them); then it is not put in twice.
        WNDPROC saved = SavedProcedure(window);
        if (!saved) {
            saved = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC));
            if (!saved || !::SetPropA(window, kSavedProcProp, reinterpret_cast<HANDLE>(saved))) return false;
            ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassChain::SharedProc));
        }
        m_pOldWndProc = saved;
        m_pNext = nullptr;
    }
    chain.newest[window] = this;
    m_hWndHooked = window;
    return true;
}

void CSubclassWnd::Unhook() {
    if (!m_hWndHooked) return;
    SubclassChain& chain = SubclassChain::Instance();
    CSingleLock hold(chain.lock);
    const HWND window = m_hWndHooked;
    auto found = chain.newest.find(window);
    if (found != chain.newest.end()) {
        if (found->second == this) {
            if (m_pNext) {
                found->second = m_pNext;
            } else {
                chain.newest.erase(found);
                SubclassChain::Restore(window);
            }
        } else {
            for (CSubclassWnd* hook = found->second; hook; hook = hook->m_pNext) {
                if (hook->m_pNext == this) {
                    hook->m_pNext = m_pNext;
                    break;
                }
            }
        }
    }
    m_hWndHooked = nullptr;
    m_pNext = nullptr;
}

LRESULT CSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallNext(message, wParam, lParam);
}

LRESULT CSubclassWnd::CallNext(UINT message, WPARAM wParam, LPARAM lParam) {
    // A hook that left the chain while handling a message passes it straight
    // to the window's original procedure.
    const HWND window = m_hWndHooked ? m_hWndHooked : AfxGetCurrentMessage().hwnd;
    if (!window) return 0;
    CurrentMessage current(window, message, wParam, lParam);
    if (m_hWndHooked && m_pNext) return m_pNext->WindowProc(message, wParam, lParam);
    if (m_hWndHooked && m_pOldWndProc) return ::CallWindowProcA(m_pOldWndProc, window, message, wParam, lParam);
    return SubclassChain::CallSaved(window, message, wParam, lParam);
}

LRESULT CSubclassWnd::Default() {
    const MSG& current = AfxGetCurrentMessage();
    if (!current.hwnd || (m_hWndHooked && current.hwnd != m_hWndHooked)) return 0;
    return CallNext(current.message, current.wParam, current.lParam);
}

const char* CSubclassWnd::GetRuntimeClassName() const { return "CSubclassWnd"; }
