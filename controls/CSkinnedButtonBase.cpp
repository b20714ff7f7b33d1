#include "CSkinnedButtonBase.h"

#include "CClientDC.h"
#include "CSkin.h"

CSkinnedButtonBase::CSkinnedButtonBase(int focusInset) : m_focusInset(focusInset) {}

CSkinnedButtonBase::~CSkinnedButtonBase() = default;

void CSkinnedButtonBase::RePaint(CDC* dc) {
    if (!m_hWnd) return;
    const bool focused = ::GetFocus() == m_hWnd;
    if (dc) {
        Draw(dc->GetSafeHdc(), focused);
        return;
    }
    CClientDC own(m_hWnd);
    Draw(own.GetSafeHdc(), focused);
}

HDWP CSkinnedButtonBase::SetPos(HDWP batch) {
    const SkinnedButtonRecord_t* record = GetRecord();
    if (!m_hWnd || !record) return batch;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    if (batch)
        return ::DeferWindowPos(batch, m_hWnd, nullptr, record->X, record->Y, record->Width, record->Height, flags);
    ::SetWindowPos(m_hWnd, nullptr, record->X, record->Y, record->Width, record->Height, flags);
    return batch;
}

void CSkinnedButtonBase::DrawItem(LPDRAWITEMSTRUCT item) {
    if (item && item->hDC) Draw(item->hDC, (item->itemState & ODS_FOCUS) != 0);
}

void CSkinnedButtonBase::ApplyRecord() {
    SetPos(nullptr);
    RePaint();
}

void CSkinnedButtonBase::Draw(HDC dc, bool focused) {
    const SkinnedButtonRecord_t* record = GetRecord();
    if (!dc || !m_hWnd || !record || !record->Image.GetIsValid()) return;
    HWND parent = ::GetParent(m_hWnd);
    if (!::IsWindowVisible(m_hWnd) || (parent && !::IsWindowVisible(parent))) return;
    record->Image.Draw(dc, 0, 0, record->Width, record->Height, 0, GetBand() * record->Height);
    // The picture has no focused state: the usual dotted rectangle shows
    // keyboard focus, unless keyboard cues are hidden or the button is too
    // small to hold it.
    const LRESULT cues = ::SendMessageA(m_hWnd, WM_QUERYUISTATE, 0, 0);
    const int smallest = 2 * m_focusInset + 2;
    if (focused && !(cues & UISF_HIDEFOCUS) && record->Width > smallest && record->Height > smallest) {
        RECT inside = {m_focusInset, m_focusInset, record->Width - m_focusInset, record->Height - m_focusInset};
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(255, 255, 255));
        ::DrawFocusRect(dc, &inside);
    }
}

bool CSkinnedButtonBase::HandlePaintMessage(UINT message, WPARAM wParam, LRESULT& result) {
    result = 0;
    if (CSkin::WM_SKIN_CHANGED && message == CSkin::WM_SKIN_CHANGED) {
        ApplyRecord();
        return true;
    }
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = ::BeginPaint(m_hWnd, &paint);
        Draw(dc, ::GetFocus() == m_hWnd);
        ::EndPaint(m_hWnd, &paint);
        return true;
    }
    case WM_PRINTCLIENT:
        Draw(reinterpret_cast<HDC>(wParam), ::GetFocus() == m_hWnd);
        return true;
    default:
        return false;
    }
}

void CSkinnedButtonBase::RepaintAfter(UINT message) {
    switch (message) {
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case BM_SETSTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
        RePaint();
        break;
    default:
        break;
    }
}
