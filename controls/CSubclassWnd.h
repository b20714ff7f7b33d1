#pragma once
#include "ControlsExport.h"

#include "CObject.h"

#include <windows.h>

class CWnd;

// A hook on an existing window's messages, for skinning windows from
// outside. Any number of hooks may sit on one window: the newest sees each
// message first and passes it on (WindowProc, Default) to the older ones,
// and the oldest to the procedure the window had before the first hook.
// One shared window procedure serves every hooked window; a process-wide
// map leads from the window to its newest hook. When the window is
// destroyed (WM_NCDESTROY) every hook is removed before the original
// procedure sees that message. Hooks run on the window's thread.
class CTL_API CSubclassWnd : public CObject {
public:
    CSubclassWnd();
    // Unhooks.
    ~CSubclassWnd() override;
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // Puts this hook in front of the window's chain (leaving any window it
    // hooked before); null unhooks. False for a window that is not one of
    // this process.
    bool HookWindow(HWND window);
    bool HookWindow(CWnd* window);
    bool IsHooked() const { return m_hWndHooked != nullptr; }
    HWND GetHookedWindow() const { return m_hWndHooked; }

    // A message of the hooked window; the base passes it on down the chain.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Passes the thread's current message on down the chain.
    LRESULT Default();

    const char* GetRuntimeClassName() const override;

protected:
    // Hands a message to the next (older) hook, or to the window's original
    // procedure after the last one.
    LRESULT CallNext(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend struct SubclassChain;
    void Unhook();

    HWND m_hWndHooked = nullptr;
    WNDPROC m_pOldWndProc = nullptr;
    CSubclassWnd* m_pNext = nullptr;
};
