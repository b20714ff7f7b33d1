#include "CPaintDC.h"

#include "CWnd.h"

CPaintDC::CPaintDC(CWnd* wnd) : CPaintDC(wnd ? wnd->GetSafeHwnd() : nullptr) {}

CPaintDC::CPaintDC(HWND hWnd) : m_hWnd(hWnd) {
    if (!hWnd) return;
    m_hDC = ::BeginPaint(hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
    if (m_hWnd && m_hDC) ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}
