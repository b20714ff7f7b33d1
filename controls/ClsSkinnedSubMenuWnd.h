#pragma once
#include "ClsSkinnedWnd.h"
#include "ControlsExport.h"

#include "CWnd.h"

class ClsSkinnedMenu;
class ClsSkinnedMenuItem;

// The window that shows one item's children stacked (a drop-down of the bar,
// a cascading list, a popup menu), framed by the menu's sub-menu record. A
// top-most pop-up titled "OrvMenu", owned by the window of the list above it
// (or by the command receiver), shown without taking activation.
//
// Mouse: the item under the cursor is hovered (an item with children opens
// its list); moving with the button held shows the hovered item pressed;
// releasing it chooses an enabled item (or opens its list). Keys reach it
// from the menu's hook: arrows move, Right and Left open and close lists (or
// step along the bar), Enter chooses, Escape or Alt close the menu, an
// access character chooses its item. Timer 101 clears the hover once the
// cursor left; timer 112 closes the menu after a loss of activation.
//
// The item that opens it owns it; the menu deletes it after its last
// message (ClsSkinnedMenu::BusyScope).
class CTL_API ClsSkinnedSubMenuWnd : public ClsSkinnedWnd<CWnd> {
public:
    static constexpr const char* kWindowTitle = "OrvMenu";

    // A window for parentItem's children, owned by owner once made.
    ClsSkinnedSubMenuWnd(ClsSkinnedMenuItem* parentItem, HWND owner);
    ~ClsSkinnedSubMenuWnd() override;

    ClsSkinnedMenuItem* GetParentItem() const { return m_parentItem; }
    // Makes the window at the stored bounds (hidden until Show).
    void CreateHandle() override;
    // Shows it without activating anything, drawn at once.
    void Show();
    // Destroys the window (the object stays until the menu deletes it).
    void Close();
    // Takes the list's new size (children or skin changed) and redraws.
    void Relayout();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void WMActivate(WMActivate_t& message) override;
    void WMActivateApp(WMActivateApp_t& message) override;
    void WMChar(WMKey_t& message) override;
    void WMKeyDown(WMKey_t& message) override;
    void WMKeyUp(WMKey_t& message) override;
    void WMLButtonDown(WMMouse_t& message) override;
    void WMLButtonUp(WMMouse_t& message) override;
    void WMMouseMove(WMMouse_t& message) override;
    void WMNcDestroy(WMNoParams_t& message) override;
    void WMPaint(WMNoParams_t& message) override;
    void WMSysChar(WMKey_t& message) override;
    void WMSysCommand(WMSysCommand_t& message) override;
    void WMSysKeyDown(WMKey_t& message) override;
    void WMSysKeyUp(WMKey_t& message) override;
    void WMTimer(WMTimer_t& message) override;

private:
    // Chooses an item from the keyboard: opens its list, or executes it.
    void Choose(ClsSkinnedMenuItem* item);
    bool IsDropDownOfBar() const;
    bool CursorInside() const;

    ClsSkinnedMenuItem* m_parentItem;
    ClsSkinnedMenu* m_menu;
    HWND m_owner;
    bool m_closing = false;
};
