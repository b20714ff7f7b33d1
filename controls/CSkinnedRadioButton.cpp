#include "CSkinnedRadioButton.h"

#include <vector>

// The dotted focus rectangle 1 pixel inside the edge.
CSkinnedRadioButton::CSkinnedRadioButton(CWnd* parent, UINT id, bool group, RadioButtonSkinInfo_t* skin)
    : CSkinnedButtonBase(1), m_skin(skin) {
    RECT place = {0, 0, 0, 0};
    if (m_skin) place = {m_skin->X, m_skin->Y, m_skin->X + m_skin->Width, m_skin->Y + m_skin->Height};
    Create("", WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW | (group ? WS_GROUP | WS_TABSTOP : 0), place, parent, id);
}

CSkinnedRadioButton::~CSkinnedRadioButton() { DestroyWindow(); }

const char* CSkinnedRadioButton::GetRuntimeClassName() const { return "CSkinnedRadioButton"; }

void CSkinnedRadioButton::SetSkinInfo(RadioButtonSkinInfo_t* skin) {
    m_skin = skin;
    ApplyRecord();
}

void CSkinnedRadioButton::SetCheck(int check) {
    m_checked = check == BST_CHECKED;
    if (m_hWnd) CButton::SetCheck(check);
    RePaint();
}

int CSkinnedRadioButton::GetBand() const {
    const bool keyboardPush = !m_pushed && m_hWnd && (GetState() & BST_PUSHED);
    int band = m_checked ? 3 : 0;
    if (keyboardPush) return band + 2;
    if (m_hovered) band += m_pushed ? 2 : 1;
    return band;
}

namespace {
// The windows of the group hwnd belongs to, in order: from the last window
// with WS_GROUP at or before it to the window before the next one.
std::vector<HWND> GroupOf(HWND hwnd) {
    HWND first = hwnd;
    while (!(::GetWindowLongA(first, GWL_STYLE) & WS_GROUP)) {
        HWND previous = ::GetWindow(first, GW_HWNDPREV);
        if (!previous) break;
        first = previous;
    }
    std::vector<HWND> group;
    for (HWND at = first; at; at = ::GetWindow(at, GW_HWNDNEXT)) {
        if (at != first && (::GetWindowLongA(at, GWL_STYLE) & WS_GROUP)) break;
        group.push_back(at);
    }
    return group;
}
bool ArrowKeyDown() {
    for (int key : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT})
        if (::GetKeyState(key) & 0x8000) return true;
    return false;
}
}  // namespace

void CSkinnedRadioButton::CheckInGroup() {
    for (HWND member : GroupOf(m_hWnd)) {
        if (member == m_hWnd) continue;
        auto* radio = dynamic_cast<CSkinnedRadioButton*>(CWnd::FromHandlePermanent(member));
        if (radio && radio->m_checked) radio->SetCheck(BST_UNCHECKED);
    }
    if (!m_checked) SetCheck(BST_CHECKED);
}

CSkinnedRadioButton* CSkinnedRadioButton::Neighbour(bool previous) const {
    const std::vector<HWND> group = GroupOf(m_hWnd);
    const int count = static_cast<int>(group.size());
    int at = 0;
    while (at < count && group[static_cast<size_t>(at)] != m_hWnd) ++at;
    for (int step = 1; step < count; ++step) {
        const int index = ((previous ? at - step : at + step) % count + count) % count;
        HWND member = group[static_cast<size_t>(index)];
        auto* radio = dynamic_cast<CSkinnedRadioButton*>(CWnd::FromHandlePermanent(member));
        if (radio && ::IsWindowVisible(member) && ::IsWindowEnabled(member)) return radio;
    }
    return nullptr;
}

void CSkinnedRadioButton::TrackHover(LPARAM lParam, WPARAM keys) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const bool inside = ::PtInRect(&client, at) != 0;
    if (inside) {
        if (::GetCapture() != m_hWnd) ::SetCapture(m_hWnd);
    } else if (!(keys & MK_LBUTTON) && ::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
    }
    if (inside != m_hovered) {
        m_hovered = inside;
        RePaint();
    }
}

LRESULT CSkinnedRadioButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (HandlePaintMessage(message, wParam, painted)) return painted;
    bool clicked = false;
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case WM_MOUSEMOVE:
        TrackHover(lParam, wParam);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        m_pushed = true;
        m_hovered = true;
        break;
    case WM_LBUTTONUP: {
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        clicked = m_pushed && ::PtInRect(&client, at);
        m_pushed = false;
        break;
    }
    case WM_KEYUP:
        clicked = wParam == VK_SPACE && (GetState() & BST_PUSHED);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_LEFT || wParam == VK_DOWN || wParam == VK_RIGHT) {
            // The focus brings the check with it (WM_SETFOCUS below).
            if (CSkinnedRadioButton* next = Neighbour(wParam == VK_UP || wParam == VK_LEFT)) next->SetFocus();
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != m_hWnd) {
            m_pushed = false;
            POINT cursor{};
            ::GetCursorPos(&cursor);
            m_hovered = ::WindowFromPoint(cursor) == m_hWnd;
        }
        break;
    default:
        break;
    }
    // Checked before the parent hears of the click.
    if (clicked) CheckInGroup();
    const LRESULT result = CButton::WindowProc(message, wParam, lParam);
    switch (message) {
    case WM_SETFOCUS:
        // Reached with an arrow key (here or through the dialog manager,
        // which only moves the focus): checked, as radio buttons are.
        if (!m_checked && ArrowKeyDown()) {
            CheckInGroup();
            if (HWND parent = ::GetParent(m_hWnd))
                ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                               reinterpret_cast<LPARAM>(m_hWnd));
        }
        RePaint();
        break;
    case WM_LBUTTONUP:
        // The button gave the capture back; hovering goes on while the
        // pointer stays.
        if (m_hovered && ::GetCapture() != m_hWnd) ::SetCapture(m_hWnd);
        RePaint();
        break;
    default:
        RepaintAfter(message);
        break;
    }
    return result;
}
