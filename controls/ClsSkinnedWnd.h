#pragma once
// A framework window class that is a skinned control: every message goes to
// ClsSkinnedControl::ProcessMessages first, and what comes back unhandled to
// the framework window's own processing, with the parameters as they came
// back. Derived controls create their window in CreateHandle (CreateEx) and
// may override the WM... handlers of ClsSkinnedControl.
#include "ClsSkinnedControl.h"

#include "CWnd.h"

template <class TWnd = CWnd>
class ClsSkinnedWnd : public TWnd, public ClsSkinnedControl {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        // The control learns its window with the first message, so the
        // frame and header apply from the first WM_NCCALCSIZE on.
        if (message == WM_NCCREATE && !GetSafeHwndC() && this->m_hWnd) SetHandleC(this->m_hWnd);
        BOOL handled = FALSE;
        const LRESULT result = ProcessMessages(message, wParam, lParam, handled);
        if (handled) return result;
        return TWnd::WindowProc(message, wParam, lParam);
    }
};
