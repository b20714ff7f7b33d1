#pragma once
#include "ClsSkinnedMenu.h"
#include "ClsSkinnedWnd.h"
#include "ControlsExport.h"

#include "CWnd.h"

// The menu bar along the top of the main window: a visible child window of
// its parent, the top-level items side by side, each drawn from the top-level
// item record over a bar of that record's normal band. Its commands go to the
// parent window unless another receiver is set.
//
// Mouse: the item under the cursor is hovered (timer 101 clears it once the
// cursor has left, while no menu is open); a press on an item opens its list
// (an item without one is chosen); while a list is open, moving to another
// item opens that one's; a press while open closes it. Keyboard, through
// IsMenuCommand in the program's message loop: Alt with an access character
// opens that item's list with its first item hovered; Alt (or F10) alone
// selects the first item, after which arrows, Enter and the access keys work
// the bar and Alt or Escape leave it.
class CTL_API ClsSkinnedMainMenu : public ClsSkinnedWnd<CWnd>, public ClsSkinnedMenu {
public:
    static constexpr const char* kWindowTitle = "OrvMenu";

    // A bar for parent's client area; its window is made by GetHandleC at
    // the stored bounds (the skin reader gives it the height of GetMaxHeight).
    explicit ClsSkinnedMainMenu(HWND parent);
    ~ClsSkinnedMainMenu() override;

    void CreateHandle() override;
    bool IsMenuCommand(MSG& msg) override;
    void SkinUpdated() override;
    // Selects the first top-level item for the keyboard, as Alt alone does.
    void SelectFromKeyboard();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void WMChar(WMKey_t& message) override;
    void WMKeyDown(WMKey_t& message) override;
    void WMKeyUp(WMKey_t& message) override;
    void WMLButtonDown(WMMouse_t& message) override;
    void WMMouseMove(WMMouse_t& message) override;
    void WMNcDestroy(WMNoParams_t& message) override;
    void WMPaint(WMNoParams_t& message) override;
    void WMSysChar(WMKey_t& message) override;
    void WMSysCommand(WMSysCommand_t& message) override;
    void WMSysKeyDown(WMKey_t& message) override;
    void WMSysKeyUp(WMKey_t& message) override;
    void WMTimer(WMTimer_t& message) override;

private:
    bool CursorOverHoveredItem() const;

    HWND m_parent;
    // Alt went down and nothing else since: its release selects the bar.
    bool m_altAlone = false;
};
