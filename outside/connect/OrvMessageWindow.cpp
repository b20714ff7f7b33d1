#include "OrvMessageWindow.h"

namespace {

const char kClassName[] = "OrvConnectMessageWindow";

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

}  // namespace

OrvMessageWindow::OrvMessageWindow(Handler& handler) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &OrvMessageWindow::WindowProc;
    windowClass.hInstance = ThisModule();
    windowClass.lpszClassName = kClassName;
    // Already registered by another manager of this process: that is fine.
    RegisterClassExA(&windowClass);
    m_hwnd = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             ThisModule(), &handler);
}

OrvMessageWindow::~OrvMessageWindow() {
    if (m_hwnd) {
        // The handler dies with its owner: from now on the window only
        // answers by default.
        SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
        // Only the creating thread can destroy the window; from another one
        // it is asked to close itself.
        if (GetWindowThreadProcessId(m_hwnd, nullptr) == GetCurrentThreadId())
            DestroyWindow(m_hwnd);
        else
            PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
    }
    // Fails while other managers' windows exist; the last one unregisters, so
    // an unloaded DLL leaves no class behind.
    UnregisterClassA(kClassName, ThisModule());
}

LRESULT CALLBACK OrvMessageWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    }
    auto* handler = reinterpret_cast<Handler*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (handler && message >= WM_APP) return handler->OnWindowMessage(message, wParam, lParam);
    if (handler && message == WM_TIMER) return handler->OnWindowMessage(message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
