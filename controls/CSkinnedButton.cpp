#include "CSkinnedButton.h"

#include "CClientDC.h"
#include "CSkin.h"

#include <commctrl.h>

const UINT_PTR CSkinnedButton::kHoverTimer;
const UINT CSkinnedButton::kHoverPeriodMs;

CSkinnedButton::CSkinnedButton(ButtonSkinInfo_t* skin) : m_skin(skin) {}

CSkinnedButton::~CSkinnedButton() { DestroyWindow(); }

const char* CSkinnedButton::GetRuntimeClassName() const { return "CSkinnedButton"; }

bool CSkinnedButton::Create(CWnd* parent, UINT id) {
    RECT place = {0, 0, 0, 0};
    if (m_skin) place = {m_skin->X, m_skin->Y, m_skin->X + m_skin->Width, m_skin->Y + m_skin->Height};
    m_enabled = true;
    return Create("", WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_OWNERDRAW, place, parent, id);
}

void CSkinnedButton::SetSkinInfo(ButtonSkinInfo_t* skin) {
    m_skin = skin;
    SetPos(nullptr);
    RePaint();
}

void CSkinnedButton::SetEnabled(bool enabled) {
    if (enabled && ::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    m_pushed = false;
    if (m_hWnd && !enabled && (GetState() & BST_PUSHED)) SetState(FALSE);
    RePaint();
}

void CSkinnedButton::EnableWindow(bool enabled) {
    SetEnabled(enabled);
    if (m_hWnd) CButton::EnableWindow(enabled);
}

int CSkinnedButton::GetBand() const {
    if (!m_enabled || (m_hWnd && !::IsWindowEnabled(m_hWnd))) return bnDisabled;
    const bool keyboardPush = !m_pushed && m_hWnd && (GetState() & BST_PUSHED);
    if ((m_pushed && m_hovered) || keyboardPush) return bnPushed;
    return m_hovered ? bnHovered : bnNormal;
}

void CSkinnedButton::RePaint(CDC* dc) {
    if (!m_hWnd) return;
    const bool focused = ::GetFocus() == m_hWnd;
    if (dc) {
        Draw(dc->GetSafeHdc(), focused);
        return;
    }
    CClientDC own(m_hWnd);
    Draw(own.GetSafeHdc(), focused);
}

HDWP CSkinnedButton::SetPos(HDWP batch) {
    if (!m_hWnd || !m_skin) return batch;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    if (batch)
        return ::DeferWindowPos(batch, m_hWnd, nullptr, m_skin->X, m_skin->Y, m_skin->Width, m_skin->Height, flags);
    ::SetWindowPos(m_hWnd, nullptr, m_skin->X, m_skin->Y, m_skin->Width, m_skin->Height, flags);
    return batch;
}

void CSkinnedButton::DrawItem(LPDRAWITEMSTRUCT item) {
    if (item && item->hDC) Draw(item->hDC, (item->itemState & ODS_FOCUS) != 0);
}

void CSkinnedButton::Draw(HDC dc, bool focused) {
    if (!dc || !m_hWnd || !m_skin || !m_skin->Image.GetIsValid()) return;
    HWND parent = ::GetParent(m_hWnd);
    if (!::IsWindowVisible(m_hWnd) || (parent && !::IsWindowVisible(parent))) return;
    const int band = GetBand();
    m_skin->Image.Draw(dc, 0, 0, m_skin->Width, m_skin->Height, 0, band * m_skin->Height);
    // The picture has no focused state: the usual dotted rectangle shows
    // keyboard focus, unless keyboard cues are hidden.
    const LRESULT cues = ::SendMessageA(m_hWnd, WM_QUERYUISTATE, 0, 0);
    if (focused && !(cues & UISF_HIDEFOCUS) && m_skin->Width > 8 && m_skin->Height > 8) {
        RECT inside = {3, 3, m_skin->Width - 3, m_skin->Height - 3};
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(255, 255, 255));
        ::DrawFocusRect(dc, &inside);
    }
}

void CSkinnedButton::RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_toolTip || !::IsWindow(m_toolTip)) return;
    MSG relayed{};
    relayed.hwnd = m_hWnd;
    relayed.message = message;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    relayed.time = static_cast<DWORD>(::GetMessageTime());
    ::GetCursorPos(&relayed.pt);
    ::SendMessageA(m_toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

bool CSkinnedButton::IsUnderCursor() const {
    POINT cursor{};
    return ::GetCursorPos(&cursor) && ::WindowFromPoint(cursor) == m_hWnd;
}

void CSkinnedButton::SetHovered(bool hovered) {
    if (hovered == m_hovered) return;
    m_hovered = hovered;
    RePaint();
}

LRESULT CSkinnedButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) RelayToToolTip(message, wParam, lParam);
    if (CSkin::WM_SKIN_CHANGED && message == CSkin::WM_SKIN_CHANGED) {
        SetPos(nullptr);
        RePaint();
        return 0;
    }
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = ::BeginPaint(m_hWnd, &paint);
        Draw(dc, ::GetFocus() == m_hWnd);
        ::EndPaint(m_hWnd, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        Draw(reinterpret_cast<HDC>(wParam), ::GetFocus() == m_hWnd);
        return 0;
    case WM_MOUSEMOVE:
        ::SetTimer(m_hWnd, kHoverTimer, kHoverPeriodMs, nullptr);
        if (IsUnderCursor()) SetHovered(true);
        break;
    case WM_TIMER:
        if (wParam == kHoverTimer) {
            if (!IsUnderCursor()) {
                ::KillTimer(m_hWnd, kHoverTimer);
                SetHovered(false);
            }
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!m_enabled) return 0;  // no press, so no command
        m_pushed = true;
        m_hovered = true;
        break;
    case WM_LBUTTONUP:
        if (!m_enabled) return 0;
        m_pushed = false;
        break;
    case WM_CAPTURECHANGED:
        m_pushed = false;
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (!m_enabled && wParam == VK_SPACE) return 0;
        break;
    case WM_CHAR:
        if (!m_enabled && wParam == ' ') return 0;
        break;
    case BM_CLICK:
        if (!m_enabled) return 0;
        break;
    case WM_QUERYNEWPALETTE:
        if (m_skin) return ClsBitMap::DoRealizePalette(&m_skin->Image, m_hWnd, false);
        break;
    case WM_PALETTECHANGED:
        if (m_skin && reinterpret_cast<HWND>(wParam) != m_hWnd)
            ClsBitMap::DoRealizePalette(&m_skin->Image, m_hWnd, true);
        break;
    default:
        break;
    }
    const LRESULT result = CButton::WindowProc(message, wParam, lParam);
    switch (message) {
    case WM_SETFOCUS:
        if (m_skin) ClsBitMap::DoRealizePalette(&m_skin->Image, m_hWnd, false);
        RePaint();
        break;
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case BM_SETSTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
        RePaint();
        break;
    default:
        break;
    }
    return result;
}
