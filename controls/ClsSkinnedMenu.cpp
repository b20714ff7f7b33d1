#include "ClsSkinnedMenu.h"

#include "ClsMenuTracker.h"
#include "ClsSkinnedSubMenuWnd.h"

#include "CMenu.h"

#include <string>
#include <utility>

namespace {
// Menus nest this deep at most; a deeper (or circular) menu stops there.
const int kMaxDepth = 16;

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

bool IsButtonPress(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN: case WM_XBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK:
    case WM_NCXBUTTONDOWN: case WM_NCXBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

// The text of a menu item, whatever its length.
CString MenuItemText(HMENU menu, UINT position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    if (!::GetMenuItemInfoA(menu, position, TRUE, &info) || info.cch == 0) return CString();
    std::string text(info.cch + 1, '\0');
    info.dwTypeData = &text[0];
    info.cch = static_cast<UINT>(text.size());
    if (!::GetMenuItemInfoA(menu, position, TRUE, &info)) return CString();
    return CString(text.c_str());
}
}  // namespace

ClsSkinnedMenu::BusyScope::BusyScope(ClsSkinnedMenu& menu) : m_menu(menu) { ++m_menu.m_busy; }

ClsSkinnedMenu::BusyScope::~BusyScope() {
    if (--m_menu.m_busy == 0) m_menu.m_retired.clear();
}

ClsSkinnedMenu::ClsSkinnedMenu() { m_root.SetMenu(this); }

ClsSkinnedMenu::~ClsSkinnedMenu() {
    CloseMenu();
    m_root.DeleteAll();
    m_retired.clear();
}

void ClsSkinnedMenu::SetFontInfo(const ClsFont& font) {
    m_font = font;
    m_root.MenuChanged(nullptr, true);
}

void ClsSkinnedMenu::SetFontDisabled(const ClsFont& font) {
    m_fontDisabled = font;
    m_root.MenuChanged(nullptr, true);
}

void ClsSkinnedMenu::SetFontPressed(const ClsFont& font) {
    m_fontPressed = font;
    m_root.MenuChanged(nullptr, true);
}

void ClsSkinnedMenu::SetItemBorder(ControlBorderInfo_t* border) {
    m_itemBorder = border;
    BordersChanged();
}

void ClsSkinnedMenu::SetTopItemBorder(ControlBorderInfo_t* border) {
    m_topItemBorder = border;
    BordersChanged();
}

void ClsSkinnedMenu::SetSeparatorBorder(ControlBorderInfo_t* border) {
    m_separatorBorder = border;
    BordersChanged();
}

void ClsSkinnedMenu::SetSubMenuBorder(ControlBorderInfo_t* border) {
    m_subMenuBorder = border;
    // Open windows must never paint with a record that is about to be freed.
    SetSubMenuFrames(&m_root);
    BordersChanged();
}

void ClsSkinnedMenu::BordersChanged() { m_root.DropSizes(true); }

void ClsSkinnedMenu::SetSubMenuFrames(ClsSkinnedMenuItem* item) {
    if (ClsSkinnedSubMenuWnd* window = item->GetSubMenuWindow()) window->SetBorder(m_subMenuBorder);
    for (int i = 0; i < item->GetCount(); ++i) SetSubMenuFrames(item->GetItem(i));
}

MenuSkinInfo_t ClsSkinnedMenu::GetSkinInfo() const {
    MenuSkinInfo_t info;
    info.Font = m_font;
    info.FontDisabled = m_fontDisabled;
    info.FontPressed = m_fontPressed;
    info.ItemBorder = m_itemBorder;
    info.SeparatorBorder = m_separatorBorder;
    info.SubMenuBorder = m_subMenuBorder;
    return info;
}

void ClsSkinnedMenu::SetSkinInfo(const MenuSkinInfo_t& info) {
    m_font = info.Font;
    m_fontDisabled = info.FontDisabled;
    m_fontPressed = info.FontPressed;
    m_itemBorder = info.ItemBorder;
    m_separatorBorder = info.SeparatorBorder;
    m_subMenuBorder = info.SubMenuBorder;
    SetSubMenuFrames(&m_root);
    SkinUpdated();
}

void ClsSkinnedMenu::SkinUpdated() {
    m_root.MenuChanged(nullptr, true);
    if (OnMenuThread()) RefreshOpenLists(&m_root);
}

void ClsSkinnedMenu::RefreshOpenLists(ClsSkinnedMenuItem* item) {
    if (ClsSkinnedSubMenuWnd* window = item->GetSubMenuWindow()) {
        window->SetBorder(m_subMenuBorder);
        window->Relayout();
    }
    for (int i = 0; i < item->GetCount(); ++i) RefreshOpenLists(item->GetItem(i));
}

bool ClsSkinnedMenu::LoadMenuA(const char* resource) { return LoadMenuA(nullptr, resource); }

bool ClsSkinnedMenu::LoadMenuA(HINSTANCE module, const char* resource) {
    CMenu menu;
    if (!menu.LoadMenu(resource, module)) return false;
    CloseMenu();
    m_root.DeleteAll();
    const bool built = CreateItemsFrom(menu);
    m_root.MenuChanged(nullptr, true);
    return built;
}

bool ClsSkinnedMenu::CreateItemsFrom(HMENU menu) { return CreateMenuItems(menu, &m_root); }

bool ClsSkinnedMenu::CreateMenuItems(HMENU menu, ClsSkinnedMenuItem* parent, int depth) {
    if (!menu || !parent || depth > kMaxDepth) return false;
    const int count = ::GetMenuItemCount(menu);
    if (count < 0) return false;
    for (int i = 0; i < count; ++i) {
        const UINT position = static_cast<UINT>(i);
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoA(menu, position, TRUE, &info)) continue;
        std::unique_ptr<ClsSkinnedMenuItem> item;
        if (info.fType & MFT_SEPARATOR) {
            item = std::make_unique<ClsSkinnedMenuItem>("", 0, true);
        } else {
            item = std::make_unique<ClsSkinnedMenuItem>(MenuItemText(menu, position), info.hSubMenu ? 0 : info.wID);
            item->SetEnabled(!(info.fState & (MFS_DISABLED | MFS_GRAYED)));
            item->SetChecked((info.fState & MFS_CHECKED) != 0);
        }
        ClsSkinnedMenuItem* added = item.get();
        if (!parent->Add(item.release())) continue;
        if (info.hSubMenu) CreateMenuItems(info.hSubMenu, added, depth + 1);
    }
    return true;
}

ClsSkinnedMenuItem* ClsSkinnedMenu::FindItemByCommand(UINT command) {
    for (int i = 0; i < m_root.GetCount(); ++i)
        if (ClsSkinnedMenuItem* found = m_root.GetItem(i)->FindByCommand(command)) return found;
    return nullptr;
}

void ClsSkinnedMenu::SaveAllStates() {
    for (int i = 0; i < m_root.GetCount(); ++i) m_root.GetItem(i)->SaveState();
}

void ClsSkinnedMenu::RestoreAllStates() {
    for (int i = 0; i < m_root.GetCount(); ++i) m_root.GetItem(i)->RestoreState();
}

bool ClsSkinnedMenu::IsMenuCommand(MSG& msg) { return GetIsOpen() && TrackMessage(msg); }

bool ClsSkinnedMenu::OnMenuThread() const { return m_thread == 0 || m_thread == ::GetCurrentThreadId(); }

void ClsSkinnedMenu::CloseMenu() {
    if (!OnMenuThread()) {
        // The windows belong to another thread: that thread closes them.
        if (HWND window = GetTimerWindow()) ::PostMessageA(window, kCloseMessage, 0, 0);
        return;
    }
    m_tracker.reset();
    if (HWND window = GetTimerWindow()) {
        ::KillTimer(window, kMenuCloseTimer);
        ::KillTimer(window, kMenuHoverTimer);
    }
    BusyScope busy(*this);
    m_root.CloseAll();
}

void ClsSkinnedMenu::BeginTracking() {
    if (m_tracker) return;
    if (ClsSkinnedMenu* other = ClsMenuTracker::GetOpenMenu()) {
        if (other != this) other->CloseMenu();
    }
    AdoptThread();
    m_tracker = std::make_unique<ClsMenuTracker>(this);
}

HWND ClsSkinnedMenu::GetTimerWindow() const { return m_root.GetListHandle(); }

void ClsSkinnedMenu::Retire(std::unique_ptr<ClsSkinnedSubMenuWnd> window) {
    if (!window) return;
    if (m_busy > 0)
        m_retired.push_back(std::move(window));
    // Otherwise it dies here.
}

HWND ClsSkinnedMenu::GetKeyboardTarget() const {
    const ClsSkinnedMenuItem* list = &m_root;
    for (;;) {
        const ClsSkinnedMenuItem* hovered = list->GetHoveredItem();
        if (!hovered || !hovered->GetIsSubMenuOpen()) break;
        list = hovered;
    }
    return list->GetListHandle();
}

bool ClsSkinnedMenu::IsMenuWindow(HWND window) const {
    if (!window) return false;
    for (const ClsSkinnedMenuItem* list = &m_root; list;) {
        if (list->GetListHandle() == window) return true;
        const ClsSkinnedMenuItem* next = nullptr;
        for (int i = 0; i < list->GetCount() && !next; ++i)
            if (list->GetItem(i)->GetIsSubMenuOpen()) next = list->GetItem(i);
        list = next;
    }
    return false;
}

bool ClsSkinnedMenu::TrackMessage(MSG& msg) {
    if (!GetIsOpen()) return false;
    BusyScope busy(*this);
    if (IsKeyMessage(msg.message)) {
        HWND target = GetKeyboardTarget();
        if (!target || !::IsWindow(target)) {
            CloseMenu();
            return false;
        }
        if (msg.hwnd == target) return false;
        ::SendMessageA(target, msg.message, msg.wParam, msg.lParam);
        return true;
    }
    if (IsButtonPress(msg.message) && !IsMenuWindow(msg.hwnd)) CloseMenu();
    return false;
}

void ClsSkinnedMenu::OnLostActivation() {
    if (HWND window = GetTimerWindow()) ::SetTimer(window, kMenuCloseTimer, kMenuClosePeriodMs, nullptr);
}

void ClsSkinnedMenu::MoveBarSelection(int direction) {
    if (m_root.GetOrientation() != moHorizontal) return;
    ClsSkinnedMenuItem* next = m_root.GetNextSelectable(direction);
    if (!next) return;
    m_root.SetHoveredItem(next);
    if (next->GetEnabled() && next->GetIsSubmenu()) {
        m_root.SetMenuEntered(true);
        OpenFromKeyboard(next);
    }
}

void ClsSkinnedMenu::OpenFromKeyboard(ClsSkinnedMenuItem* item) {
    if (!item || item->GetSeparator()) return;
    if (!item->GetIsSubmenu()) {
        item->Execute();
        return;
    }
    if (!item->GetEnabled()) return;
    if (ClsSkinnedMenuItem* parent = item->GetParent()) {
        parent->SetHoveredItem(item);
        if (parent->GetOrientation() == moHorizontal) parent->SetMenuEntered(true);
    }
    if (!item->GetIsSubMenuOpen() && !item->ActivateSubMenu(0)) return;
    if (ClsSkinnedMenuItem* first = item->GetNextSelectable(+1)) item->SetHoveredItem(first);
}

bool ClsSkinnedMenu::CursorMoved(HWND window, LPARAM clientPoint) {
    POINT point{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    ::ClientToScreen(window, &point);
    if (point.x == m_lastCursor.x && point.y == m_lastCursor.y) return false;
    m_lastCursor = point;
    return true;
}
