#pragma once
// The skinned popup menu of the tree's nodes, loaded from the library's menu
// resource and skinned from the registered "PopupMenu" look. The menu does
// not wait for a choice: it opens and returns, and the chosen item's
// command is posted to the receiver (the tree's window) as WM_COMMAND.
#include "ClsSkinnedMenuItem.h"
#include "ClsSkinnedPopupMenu.h"

#include <windows.h>

class CTreePopupMenu {
public:
    CTreePopupMenu() = default;
    CTreePopupMenu(const CTreePopupMenu&) = delete;
    CTreePopupMenu& operator=(const CTreePopupMenu&) = delete;

    // Loads the menu resource (its first sub-menu's items); commands go to
    // receiver.
    bool Load(HMODULE module, UINT resourceId, HWND receiver);
    bool IsLoaded() const { return m_loaded; }
    void EnableItem(UINT id, bool enabled);
    // Inline: tests read it from outside the library.
    bool IsItemEnabled(UINT id) {
        ClsSkinnedMenuItem* item = m_menu.FindItemByCommand(id);
        return item && item->GetEnabled();
    }
    // Opens the menu with its top-left corner at (x, y) in screen
    // coordinates, boxHeight higher when there is no room below; false when
    // it could not open.
    bool Open(int x, int y, int boxHeight);
    bool IsOpen() const { return m_menu.GetIsOpen(); }
    // Whether window is one of the open menu's windows.
    bool IsMenuWindow(HWND window) const { return window && m_menu.IsMenuWindow(window); }
    void Close() { m_menu.CloseMenu(); }
    ClsSkinnedPopupMenu& GetMenu() { return m_menu; }

private:
    ClsSkinnedPopupMenu m_menu;
    bool m_loaded = false;
};
