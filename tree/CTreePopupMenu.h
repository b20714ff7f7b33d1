#pragma once
// The system popup menu of the tree's nodes, loaded from the library's menu
// resource and owned here (one owner for the menu handle). Tracking is
// modal; the chosen command comes back from Track.
#include <windows.h>

class CTreePopupMenu {
public:
    CTreePopupMenu() = default;
    ~CTreePopupMenu();
    CTreePopupMenu(const CTreePopupMenu&) = delete;
    CTreePopupMenu& operator=(const CTreePopupMenu&) = delete;

    // Loads the menu resource; its first sub-menu is the popup.
    bool Load(HMODULE module, UINT resourceId);
    HMENU GetPopup() const { return m_popup; }
    void EnableItem(UINT id, bool enabled);
    bool IsItemEnabled(UINT id) const;
    // Shows the popup with its top-left corner (top-right when rightAlign)
    // at (x, y) in screen coordinates, keeping clear of exclude, until the
    // member chooses or dismisses it. Returns the chosen command, 0 for none.
    UINT Track(HWND owner, int x, int y, bool rightAlign, const RECT& exclude);
    bool IsTracking() const { return m_tracking; }
    // Ends a tracking on the calling thread.
    void Close();

private:
    HMENU m_menu = nullptr;
    HMENU m_popup = nullptr;
    bool m_tracking = false;
};
