#pragma once
// Finds the calling thread's message box once it shows, lets the test look
// at it, then presses one of its buttons. Driven by a thread timer, which
// the box's own modal loop dispatches, so the code that shows the box runs
// unchanged. One watch per thread at a time; user-interface thread only.
#include <windows.h>

#include <functional>
#include <string>

namespace orvtest {

class MessageBoxWatch {
public:
    MessageBoxWatch();
    ~MessageBoxWatch();
    MessageBoxWatch(const MessageBoxWatch&) = delete;
    MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

    // Called with the box, fully painted, before the button is pressed.
    std::function<void(HWND box)> inspect;
    // The button pressed (IDOK, IDCANCEL ...).
    int answer = IDOK;
    // The box found (it no longer exists once it closed), its caption and
    // the texts of its static controls joined.
    HWND box = nullptr;
    std::string caption;
    std::string text;

    // The window's text.
    static std::string TextOf(HWND window);
    // The texts of window's static children joined, in child order.
    static std::string StaticTexts(HWND window);

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    static thread_local MessageBoxWatch* s_current;
    UINT_PTR m_timer = 0;
};

}  // namespace orvtest
