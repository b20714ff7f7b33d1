#include "CWindowDC.h"

#include "CWnd.h"

CWindowDC::CWindowDC(CWnd* wnd) : CWindowDC(wnd ? wnd->GetSafeHwnd() : nullptr) {}

CWindowDC::CWindowDC(HWND hWnd) { Take(::GetWindowDC(hWnd), Release::ReleaseDC, hWnd); }
