#include "CTreePopupMenu.h"

#include "ClsSkinnedMenuItem.h"

bool CTreePopupMenu::Load(HMODULE module, UINT resourceId, HWND receiver) {
    m_loaded = m_menu.LoadMenuA(module, MAKEINTRESOURCEA(resourceId));
    m_menu.SetCmdReceiverHandle(receiver);
    return m_loaded;
}

void CTreePopupMenu::EnableItem(UINT id, bool enabled) {
    if (ClsSkinnedMenuItem* item = m_menu.FindItemByCommand(id)) item->SetEnabled(enabled);
}

bool CTreePopupMenu::Open(int x, int y, int boxHeight) {
    if (!m_loaded) return false;
    // A missing look leaves the menu with the one it had (or its default).
    m_menu.ApplySkin();
    return m_menu.TrackPopupMenu(x, y, boxHeight);
}
