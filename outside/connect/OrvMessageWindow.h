#pragma once
// The one owner of the hidden message-only window through which workers hand
// answers to the thread that built it.
#include <windows.h>

class OrvMessageWindow {
public:
    // Receives the window's messages; the window holds a pointer to it.
    class Handler {
    public:
        virtual LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    protected:
        ~Handler() = default;
    };

    explicit OrvMessageWindow(Handler& handler);
    ~OrvMessageWindow();
    OrvMessageWindow(const OrvMessageWindow&) = delete;
    OrvMessageWindow& operator=(const OrvMessageWindow&) = delete;

    HWND Get() const { return m_hwnd; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
};
