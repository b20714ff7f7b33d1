#include "ClsSkinnedMainMenu.h"

#include "ClsBitMap.h"
#include "ClsFrameDrawer.h"

#include "CMemDC.h"
#include "CPaintDC.h"

namespace {
bool FirstPress(LPARAM keyData) { return (keyData & (1 << 30)) == 0; }
bool AltHeld(LPARAM keyData) { return (keyData & (1 << 29)) != 0; }
}  // namespace

ClsSkinnedMainMenu::ClsSkinnedMainMenu(HWND parent) : m_parent(parent) {
    m_root.SetOrientation(moHorizontal);
    SetCmdReceiverHandle(parent);
}

ClsSkinnedMainMenu::~ClsSkinnedMainMenu() {
    CloseMenu();
    // While the whole object still answers its window's last messages.
    if (m_hWnd) DestroyWindow();
}

void ClsSkinnedMainMenu::CreateHandle() {
    static const char* const windowClass = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW));
    if (!CreateEx(0, windowClass, kWindowTitle, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, GetLeft(), GetTop(),
                  GetWidth(), GetHeight(), m_parent, nullptr))
        return;
    SetHandleC(m_hWnd);
    m_root.SetParentHandle(m_hWnd);
    AdoptThread();
    // Contacts dragged over the bar meet a target there (without OLE on
    // this thread the bar simply takes part in no drop).
    GetDropTarget().Register(this);
}

LRESULT ClsSkinnedMainMenu::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    BusyScope busy(*this);
    if (message == kCloseMessage) {
        CloseMenu();
        return 0;
    }
    return ClsSkinnedWnd<CWnd>::WindowProc(message, wParam, lParam);
}

void ClsSkinnedMainMenu::SkinUpdated() {
    ClsSkinnedMenu::SkinUpdated();
    if (m_hWnd && OnMenuThread()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// ---------------------------------------------------------------------------
// Keyboard

bool ClsSkinnedMainMenu::IsMenuCommand(MSG& msg) {
    if (GetIsOpen()) return ClsSkinnedMenu::IsMenuCommand(msg);
    if (!m_hWnd || !::IsWindowVisible(m_hWnd) || !::IsWindowEnabled(m_hWnd)) return false;
    const UINT key = static_cast<UINT>(msg.wParam);
    switch (msg.message) {
    case WM_SYSKEYDOWN:
        if (key == VK_MENU) {
            if (FirstPress(msg.lParam)) m_altAlone = true;
            return true;
        }
        m_altAlone = false;
        if (key == VK_F10 && !(::GetKeyState(VK_SHIFT) & 0x8000)) {
            if (FirstPress(msg.lParam)) SelectFromKeyboard();
            return true;
        }
        if (FirstPress(msg.lParam) && AltHeld(msg.lParam)) {
            if (ClsSkinnedMenuItem* item = m_root.FindByAccessKey(key)) {
                OpenFromKeyboard(item);
                return true;
            }
        }
        return false;
    case WM_SYSKEYUP:
        if (key != VK_MENU) return false;
        // Alt pressed and released alone selects the bar; either way the
        // system's own menu mode must not start.
        if (m_altAlone) {
            m_altAlone = false;
            SelectFromKeyboard();
        }
        return true;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        // Alt was not pressed alone after all.
        m_altAlone = false;
        return false;
    default:
        return false;
    }
}

void ClsSkinnedMainMenu::SelectFromKeyboard() {
    if (!m_hWnd) return;
    ClsSkinnedMenuItem* first = m_root.GetNextSelectable(+1);
    if (!first) return;
    BeginTracking();
    RememberCursor();
    m_root.SetHoveredItem(first);
}

void ClsSkinnedMainMenu::WMKeyDown(WMKey_t& m) {
    ClsSkinnedMenuItem* hovered = m_root.GetHoveredItem();
    switch (m.CharCode()) {
    case VK_LEFT:
    case VK_RIGHT:
        if (ClsSkinnedMenuItem* next = m_root.GetNextSelectable(m.CharCode() == VK_RIGHT ? +1 : -1))
            m_root.SetHoveredItem(next);
        return;
    case VK_DOWN:
    case VK_UP:
        if (hovered && hovered->GetIsSubmenu()) OpenFromKeyboard(hovered);
        return;
    case VK_RETURN:
        if (FirstPress(m.KeyData())) OpenFromKeyboard(hovered);
        return;
    case VK_ESCAPE:
        if (FirstPress(m.KeyData())) CloseMenu();
        return;
    default:
        if (!FirstPress(m.KeyData())) return;
        if (ClsSkinnedMenuItem* item = m_root.FindByAccessKey(m.CharCode())) OpenFromKeyboard(item);
        return;
    }
}

void ClsSkinnedMainMenu::WMSysKeyDown(WMKey_t& m) {
    if (!FirstPress(m.KeyData())) return;
    if (m.CharCode() == VK_MENU || m.CharCode() == VK_F10) {
        CloseMenu();
        return;
    }
    if (ClsSkinnedMenuItem* item = m_root.FindByAccessKey(m.CharCode())) OpenFromKeyboard(item);
}

// Characters and key releases reaching the bar are the menu's.
void ClsSkinnedMainMenu::WMChar(WMKey_t&) {}
void ClsSkinnedMainMenu::WMKeyUp(WMKey_t&) {}
void ClsSkinnedMainMenu::WMSysChar(WMKey_t&) {}
void ClsSkinnedMainMenu::WMSysKeyUp(WMKey_t&) {}

void ClsSkinnedMainMenu::WMSysCommand(WMSysCommand_t& m) {
    if (m.CmdType() != SC_KEYMENU) m.Handled = FALSE;
}

// ---------------------------------------------------------------------------
// Mouse

void ClsSkinnedMainMenu::WMMouseMove(WMMouse_t& m) {
    if (!CursorMoved(m_hWnd, m.LParam)) return;
    ClsSkinnedMenuItem* item = m_root.GetItemFromPoint(m.XPos(), m.YPos());
    const bool entered = m_root.GetMenuEntered();
    if (!item) {
        if (!GetIsOpen()) m_root.SetHoveredItem(nullptr);
        return;
    }
    if (item != m_root.GetHoveredItem()) {
        m_root.SetHoveredItem(item);
        // An open menu follows the cursor along the bar.
        if (entered && item->GetEnabled() && item->GetIsSubmenu()) item->ActivateSubMenu(0);
    }
    if (!GetIsOpen()) ::SetTimer(m_hWnd, kMenuHoverTimer, kMenuHoverPeriodMs, nullptr);
}

void ClsSkinnedMainMenu::WMLButtonDown(WMMouse_t& m) {
    ClsSkinnedMenuItem* item = m_root.GetItemFromPoint(m.XPos(), m.YPos());
    if (m_root.GetMenuEntered()) {
        // A press while a menu is open closes it; the item stays hovered.
        CloseMenu();
        if (item) {
            m_root.SetHoveredItem(item);
            ::SetTimer(m_hWnd, kMenuHoverTimer, kMenuHoverPeriodMs, nullptr);
        }
        return;
    }
    if (!item || item->GetSeparator() || !item->GetEnabled()) return;
    if (!item->GetIsSubmenu()) {
        item->Execute();
        return;
    }
    BeginTracking();
    m_root.SetHoveredItem(item);
    m_root.SetMenuEntered(true);
    item->ActivateSubMenu(0);
}

bool ClsSkinnedMainMenu::CursorOverHoveredItem() const {
    ClsSkinnedMenuItem* hovered = m_root.GetHoveredItem();
    POINT cursor{};
    if (!hovered || !::GetCursorPos(&cursor) || !::ScreenToClient(m_hWnd, &cursor)) return false;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    return ::PtInRect(&client, cursor) && hovered->GetItemRect().PtInRect(cursor);
}

void ClsSkinnedMainMenu::WMTimer(WMTimer_t& m) {
    switch (m.TimerID()) {
    case kMenuHoverTimer:
        // An open menu keeps its item; otherwise the hover goes with the cursor.
        if (GetIsOpen()) {
            ::KillTimer(m_hWnd, kMenuHoverTimer);
        } else if (!CursorOverHoveredItem()) {
            ::KillTimer(m_hWnd, kMenuHoverTimer);
            m_root.SetHoveredItem(nullptr);
        }
        return;
    case kMenuCloseTimer:
        ::KillTimer(m_hWnd, kMenuCloseTimer);
        CloseMenu();
        return;
    default: ClsSkinnedWnd<CWnd>::WMTimer(m); return;
    }
}

// ---------------------------------------------------------------------------
// Window

void ClsSkinnedMainMenu::WMNcDestroy(WMNoParams_t& m) {
    m.Handled = FALSE;
    CloseMenu();
    m_root.SetParentHandle(nullptr);
}

void ClsSkinnedMainMenu::WMPaint(WMNoParams_t&) {
    CPaintDC paint(m_hWnd);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    CMemDC buffer(paint, client);
    // The bar itself: the top-level item record's normal band over its width.
    const ControlBorderInfo_t* record = GetTopItemBorder();
    buffer.FillSolidRect(client, record ? record->BgColor : ::GetSysColor(COLOR_MENU));
    if (record && record->MainImage && record->MainImage->GetIsValid()) {
        const RECT inside{client.left + record->LeftBorderWidth, client.top + record->TopBorderWidth,
                          client.right - record->RightBorderWidth, client.bottom - record->BottomBorderWidth};
        ClsFrameDrawer::TileContent(buffer, *record, *record->MainImage, inside);
        ClsFrameDrawer::DrawEdgesAndCorners(buffer, *record, *record->MainImage, client);
    }
    m_root.DrawSubmenuItems(buffer);
}
