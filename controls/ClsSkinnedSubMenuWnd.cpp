#include "ClsSkinnedSubMenuWnd.h"

#include "ClsFrameDrawer.h"
#include "ClsSkinnedMenu.h"
#include "ClsSkinnedMenuItem.h"

#include "CMemDC.h"
#include "CPaintDC.h"

namespace {
bool FirstPress(const WMKey_t& message) { return (message.KeyData() & (1 << 30)) == 0; }

// The first (direction +1) or last (-1) item that can be hovered.
ClsSkinnedMenuItem* EndItem(ClsSkinnedMenuItem* list, int direction) {
    const int count = list->GetCount();
    for (int i = 0; i < count; ++i) {
        ClsSkinnedMenuItem* item = list->GetItem(direction > 0 ? i : count - 1 - i);
        if (!item->GetSeparator()) return item;
    }
    return nullptr;
}
}  // namespace

ClsSkinnedSubMenuWnd::ClsSkinnedSubMenuWnd(ClsSkinnedMenuItem* parentItem, HWND owner)
    : m_parentItem(parentItem), m_menu(parentItem ? parentItem->GetMenu() : nullptr), m_owner(owner) {}

ClsSkinnedSubMenuWnd::~ClsSkinnedSubMenuWnd() { Close(); }

void ClsSkinnedSubMenuWnd::CreateHandle() {
    if (!m_parentItem || !m_menu) return;
    static const char* const windowClass =
        AfxRegisterWndClass(CS_SAVEBITS | CS_PARENTDC | CS_DROPSHADOW, ::LoadCursorA(nullptr, IDC_ARROW));
    if (CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, windowClass, kWindowTitle,
                 WS_POPUP | WS_CLIPSIBLINGS, GetLeft(), GetTop(), GetWidth(), GetHeight(), m_owner, nullptr))
        SetHandleC(m_hWnd);
}

void ClsSkinnedSubMenuWnd::Show() {
    if (!m_hWnd) return;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::UpdateWindow(m_hWnd);
}

void ClsSkinnedSubMenuWnd::Close() {
    m_closing = true;
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
}

void ClsSkinnedSubMenuWnd::Relayout() {
    if (!m_hWnd || !m_parentItem) return;
    const CSize size = m_parentItem->ListWindowSize();
    SetPos(GetLeft(), GetTop(), size.cx, size.cy);
    RealizeSkin();
}

LRESULT ClsSkinnedSubMenuWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_menu) return ClsSkinnedWnd<CWnd>::WindowProc(message, wParam, lParam);
    // Whatever closes the menu now, this object outlives its own message.
    ClsSkinnedMenu::BusyScope busy(*m_menu);
    switch (message) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case ClsSkinnedMenu::kCloseMessage: m_menu->CloseMenu(); return 0;
    default: return ClsSkinnedWnd<CWnd>::WindowProc(message, wParam, lParam);
    }
}

bool ClsSkinnedSubMenuWnd::IsDropDownOfBar() const {
    const ClsSkinnedMenuItem* above = m_parentItem->GetParent();
    return above && above->GetOrientation() == moHorizontal;
}

bool ClsSkinnedSubMenuWnd::CursorInside() const {
    POINT cursor{};
    RECT bounds{};
    return ::GetCursorPos(&cursor) && ::GetWindowRect(m_hWnd, &bounds) && ::PtInRect(&bounds, cursor);
}

void ClsSkinnedSubMenuWnd::Choose(ClsSkinnedMenuItem* item) {
    if (!item || item->GetSeparator()) return;
    if (item->GetIsSubmenu())
        m_menu->OpenFromKeyboard(item);
    else
        item->Execute();
}

// ---------------------------------------------------------------------------
// Keys (handed over by the menu's hook)

void ClsSkinnedSubMenuWnd::WMKeyDown(WMKey_t& m) {
    ClsSkinnedMenuItem* list = m_parentItem;
    switch (m.CharCode()) {
    case VK_DOWN:
    case VK_UP:
        if (ClsSkinnedMenuItem* next = list->GetNextSelectable(m.CharCode() == VK_DOWN ? +1 : -1))
            list->SetHoveredItem(next);
        return;
    case VK_HOME:
    case VK_END:
        if (ClsSkinnedMenuItem* end = EndItem(list, m.CharCode() == VK_HOME ? +1 : -1)) list->SetHoveredItem(end);
        return;
    case VK_RIGHT: {
        ClsSkinnedMenuItem* hovered = list->GetHoveredItem();
        if (hovered && hovered->GetIsSubmenu() && hovered->GetEnabled())
            m_menu->OpenFromKeyboard(hovered);
        else if (IsDropDownOfBar())
            m_menu->MoveBarSelection(+1);
        return;
    }
    case VK_LEFT:
        if (IsDropDownOfBar())
            m_menu->MoveBarSelection(-1);
        else if (list->GetParent())
            list->DeactivateSubMenu();  // back to the list above, its item still hovered
        return;
    case VK_RETURN:
        if (FirstPress(m)) Choose(list->GetHoveredItem());
        return;
    case VK_ESCAPE:
        if (FirstPress(m)) m_menu->CloseMenu();
        return;
    default:
        if (!FirstPress(m)) return;
        if (ClsSkinnedMenuItem* item = list->FindByAccessKey(m.CharCode())) {
            Choose(item);
            return;
        }
        m.Handled = FALSE;
        return;
    }
}

void ClsSkinnedSubMenuWnd::WMSysKeyDown(WMKey_t& m) {
    // Handled in any case: the system's own menu keys must not start.
    if (!FirstPress(m)) return;
    if (m.CharCode() == VK_MENU || m.CharCode() == VK_F10) {
        m_menu->CloseMenu();
        return;
    }
    if (ClsSkinnedMenuItem* item = m_parentItem->FindByAccessKey(m.CharCode())) Choose(item);
}

// Characters and key releases belong to the menu while it is open.
void ClsSkinnedSubMenuWnd::WMChar(WMKey_t&) {}
void ClsSkinnedSubMenuWnd::WMKeyUp(WMKey_t&) {}
void ClsSkinnedSubMenuWnd::WMSysChar(WMKey_t&) {}
void ClsSkinnedSubMenuWnd::WMSysKeyUp(WMKey_t&) {}

void ClsSkinnedSubMenuWnd::WMSysCommand(WMSysCommand_t& m) {
    if (m.CmdType() != SC_KEYMENU) m.Handled = FALSE;
}

// ---------------------------------------------------------------------------
// Mouse

void ClsSkinnedSubMenuWnd::WMMouseMove(WMMouse_t& m) {
    if (!m_menu->CursorMoved(m_hWnd, m.LParam)) return;
    ClsSkinnedMenuItem* item = m_parentItem->GetItemFromPoint(m.XPos(), m.YPos());
    if (!item) return;
    m_parentItem->SetHoveredItem(item);
    ::SetTimer(m_hWnd, ClsSkinnedMenu::kMenuHoverTimer, ClsSkinnedMenu::kMenuHoverPeriodMs, nullptr);
    if (item->GetEnabled() && item->GetIsSubmenu()) {
        if (!item->GetIsSubMenuOpen()) item->ActivateSubMenu(0);
        return;
    }
    m_parentItem->SetMenuEntered((m.Keys() & MK_LBUTTON) != 0);
}

void ClsSkinnedSubMenuWnd::WMLButtonDown(WMMouse_t& m) {
    ClsSkinnedMenuItem* item = m_parentItem->GetItemFromPoint(m.XPos(), m.YPos());
    if (!item || item->GetSeparator() || !item->GetEnabled()) return;
    m_parentItem->SetHoveredItem(item);
    if (item->GetIsSubmenu() && !item->GetIsSubMenuOpen()) item->ActivateSubMenu(0);
    m_parentItem->SetMenuEntered(true);
}

void ClsSkinnedSubMenuWnd::WMLButtonUp(WMMouse_t& m) {
    ClsSkinnedMenuItem* item = m_parentItem->GetItemFromPoint(m.XPos(), m.YPos());
    if (!item) return;
    if (item->GetSeparator() || !item->GetEnabled()) {
        m_parentItem->SetMenuEntered(false);
        return;
    }
    if (item->GetIsSubmenu()) {
        if (!item->GetIsSubMenuOpen()) item->ActivateSubMenu(0);
        return;
    }
    item->Execute();
}

// ---------------------------------------------------------------------------
// Timers, activation, painting

void ClsSkinnedSubMenuWnd::WMTimer(WMTimer_t& m) {
    switch (m.TimerID()) {
    case ClsSkinnedMenu::kMenuHoverTimer: {
        if (CursorInside()) return;
        ::KillTimer(m_hWnd, ClsSkinnedMenu::kMenuHoverTimer);
        // An item whose list is open keeps its hover: the cursor went there.
        const ClsSkinnedMenuItem* hovered = m_parentItem->GetHoveredItem();
        if (hovered && !hovered->GetIsSubMenuOpen()) m_parentItem->SetHoveredItem(nullptr);
        return;
    }
    case ClsSkinnedMenu::kMenuCloseTimer:
        ::KillTimer(m_hWnd, ClsSkinnedMenu::kMenuCloseTimer);
        m_menu->CloseMenu();
        return;
    default: ClsSkinnedWnd<CWnd>::WMTimer(m); return;
    }
}

void ClsSkinnedSubMenuWnd::WMActivate(WMActivate_t& m) {
    m.Handled = FALSE;
    if (m.Active() == WA_INACTIVE && !m_menu->IsMenuWindow(m.ActiveWindow())) m_menu->OnLostActivation();
}

void ClsSkinnedSubMenuWnd::WMActivateApp(WMActivateApp_t& m) {
    m.Handled = FALSE;
    if (!m.Active()) m_menu->OnLostActivation();
}

void ClsSkinnedSubMenuWnd::WMNcDestroy(WMNoParams_t& m) {
    m.Handled = FALSE;
    // Destroyed from outside (its owner went away): the rest of the menu closes.
    if (!m_closing) {
        m_closing = true;
        m_menu->CloseMenu();
    }
}

void ClsSkinnedSubMenuWnd::WMPaint(WMNoParams_t&) {
    CPaintDC paint(m_hWnd);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    CMemDC buffer(paint, client);
    const ControlBorderInfo_t* border = GetBorder();
    if (!ClsFrameDrawer::FillContent(buffer, border, client.right, client.bottom))
        buffer.FillSolidRect(client, border ? border->BgColor : ::GetSysColor(COLOR_MENU));
    m_parentItem->DrawSubmenuItems(buffer);
}
