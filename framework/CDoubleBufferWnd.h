#pragma once
#include "CDC.h"
#include "CWnd.h"

// A window that paints off-screen: background erasing is swallowed, WM_PAINT
// paints the whole client area into a CMemDC and copies it once, and
// WM_PRINTCLIENT paints straight into the given context (so PrintWindow
// captures it). Derived classes draw in DoPaint only.
class FW_API CDoubleBufferWnd : public CWnd {
public:
    // Paint everything of the client area in dc.
    virtual void DoPaint(CDC& dc, const CRect& client) = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    const char* GetRuntimeClassName() const override;

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
};
