#include "CTreePopupMenu.h"

CTreePopupMenu::~CTreePopupMenu() {
    if (m_menu) ::DestroyMenu(m_menu);
}

bool CTreePopupMenu::Load(HMODULE module, UINT resourceId) {
    HMENU menu = ::LoadMenuA(module, MAKEINTRESOURCEA(resourceId));
    if (!menu) return false;
    HMENU popup = ::GetSubMenu(menu, 0);
    if (!popup) {
        ::DestroyMenu(menu);
        return false;
    }
    if (m_menu) ::DestroyMenu(m_menu);
    m_menu = menu;
    m_popup = popup;
    return true;
}

void CTreePopupMenu::EnableItem(UINT id, bool enabled) {
    if (m_popup) ::EnableMenuItem(m_popup, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool CTreePopupMenu::IsItemEnabled(UINT id) const {
    if (!m_popup) return false;
    const UINT state = ::GetMenuState(m_popup, id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

UINT CTreePopupMenu::Track(HWND owner, int x, int y, bool rightAlign, const RECT& exclude) {
    if (!m_popup || m_tracking) return 0;
    TPMPARAMS params{};
    params.cbSize = sizeof params;
    params.rcExclude = exclude;
    const UINT flags = TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD | TPM_NONOTIFY |
                       TPM_LEFTBUTTON | (rightAlign ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
    m_tracking = true;
    const BOOL chosen = ::TrackPopupMenuEx(m_popup, flags, x, y, owner, &params);
    m_tracking = false;
    return chosen > 0 ? static_cast<UINT>(chosen) : 0;
}

void CTreePopupMenu::Close() {
    if (m_tracking) ::EndMenu();
}
