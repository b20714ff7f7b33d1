#include "CButton.h"

bool CButton::Create(const char* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create("BUTTON", caption, style, rect, parent, id);
}

int CButton::GetCheck() const {
    return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0));
}

void CButton::SetCheck(int check) { ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0); }

UINT CButton::GetState() const { return static_cast<UINT>(::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0)); }

void CButton::SetState(BOOL highlight) { ::SendMessageA(m_hWnd, BM_SETSTATE, static_cast<WPARAM>(highlight), 0); }

UINT CButton::GetButtonStyle() const {
    return static_cast<UINT>(::GetWindowLongA(m_hWnd, GWL_STYLE)) & BS_TYPEMASK;
}

void CButton::SetButtonStyle(UINT style, BOOL redraw) {
    ::SendMessageA(m_hWnd, BM_SETSTYLE, style, redraw);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

const char* CButton::GetRuntimeClassName() const { return "CButton"; }

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_DRAWITEM && lParam) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (result) *result = TRUE;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, result);
}
