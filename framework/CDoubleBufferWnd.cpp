#include "CDoubleBufferWnd.h"

#include "CMemDC.h"
#include "CPaintDC.h"

LRESULT CDoubleBufferWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PRINTCLIENT && wParam) {
        CDC dc = CDC::Borrow(reinterpret_cast<HDC>(wParam));
        CRect client;
        GetClientRect(&client);
        DoPaint(dc, client);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDoubleBufferWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CDoubleBufferWnd::OnPaint() {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC buffer(paint, client);
    DoPaint(buffer, client);
}

const char* CDoubleBufferWnd::GetRuntimeClassName() const { return "CDoubleBufferWnd"; }
