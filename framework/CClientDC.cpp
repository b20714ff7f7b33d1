#include "CClientDC.h"

#include "CWnd.h"

CClientDC::CClientDC(CWnd* wnd) : CClientDC(wnd ? wnd->GetSafeHwnd() : nullptr) {}

CClientDC::CClientDC(HWND hWnd) { Take(::GetDC(hWnd), Release::ReleaseDC, hWnd); }
