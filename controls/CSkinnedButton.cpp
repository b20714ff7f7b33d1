#include "CSkinnedButton.h"

#include <commctrl.h>

const UINT_PTR CSkinnedButton::kHoverTimer;
const UINT CSkinnedButton::kHoverPeriodMs;

// The dotted focus rectangle 3 pixels inside the edge.
CSkinnedButton::CSkinnedButton(ButtonSkinInfo_t* skin) : CSkinnedButtonBase(3), m_skin(skin) {}

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
    ApplyRecord();
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
    LRESULT painted = 0;
    if (HandlePaintMessage(message, wParam, painted)) return painted;
    switch (message) {
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
    case WM_LBUTTONUP:
        RePaint();
        break;
    default:
        RepaintAfter(message);
        break;
    }
    return result;
}
