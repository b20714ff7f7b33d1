#include "CSMessageBox.h"

#include "AfxTrace.h"

const char* const CSMessageBox::kThemeName = "msbdialog";

// Takes the message box's window as the thread creates it: a hook on the
// thread's window creation for the span of one MessageBoxA call.
struct MessageBoxCatcher {
    explicit MessageBoxCatcher(CSMessageBox* box) : m_previous(t_waiting) {
        t_waiting = box;
        m_hook = ::SetWindowsHookExA(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~MessageBoxCatcher() {
        if (m_hook) ::UnhookWindowsHookEx(m_hook);
        t_waiting = m_previous;
    }
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND && t_waiting && IsDialogWindow(reinterpret_cast<HWND>(wParam))) {
            CSMessageBox* box = t_waiting;
            t_waiting = nullptr;
            try {
                box->SubclassWindow(reinterpret_cast<HWND>(wParam));
            } catch (...) {
                // The message box is shown as the system made it.
                AfxTraceCaughtException("controls: taking a message box");
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    // Other windows (an input method's, for one) may come first.
    static bool IsDialogWindow(HWND window) {
        char className[16] = {};
        return ::GetClassNameA(window, className, sizeof className) && ::lstrcmpA(className, "#32770") == 0;
    }

    static thread_local CSMessageBox* t_waiting;
    CSMessageBox* m_previous;
    HHOOK m_hook = nullptr;
};

thread_local CSMessageBox* MessageBoxCatcher::t_waiting = nullptr;

CSMessageBox::CSMessageBox() = default;

CSMessageBox::~CSMessageBox() {
    m_skin.Uninstall();
    // The message box ends with its window; a window still here is left to
    // its own procedure rather than destroyed.
    if (m_hWnd) UnsubclassWindow();
}

const char* CSMessageBox::GetRuntimeClassName() const { return "CSMessageBox"; }

int CSMessageBox::MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    if (!owner || !::IsWindow(owner)) return ::MessageBoxA(nullptr, text, caption, type);
    CSMessageBox box;
    MessageBoxCatcher catcher(&box);
    return ::MessageBoxA(owner, text, caption, type);
}

LRESULT CSMessageBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProc(message, wParam, lParam);
    if (message == WM_INITDIALOG && m_hWnd) {
        m_skin.Install(m_hWnd, kThemeName);
        // Shown and activated next: the caption starts active.
        ::SendMessageA(m_hWnd, WM_NCACTIVATE, TRUE, 0);
    }
    return result;
}
