#pragma once
#include "ClsSkinnedMenu.h"
#include "ControlsExport.h"
#include "PopupMenuSkin.h"
#include "S_STD_SKININFO.h"

// A context menu: the items of a menu resource's first sub-menu, shown at a
// screen point in a list window (ClsSkinnedSubMenuWnd) over everything. The
// menu does not wait for a choice: TrackPopupMenu returns at once, the menu
// stays open until an item is chosen (WM_COMMAND posted to the command
// receiver, which must be set), Escape, a press outside it or a loss of
// activation, and CloseMenu closes it any time.
class CTL_API ClsSkinnedPopupMenu : public ClsSkinnedMenu {
public:
    ClsSkinnedPopupMenu();
    ~ClsSkinnedPopupMenu() override;

    // Opens the menu with its top-left corner at (x, y) in screen
    // coordinates; near the bottom of the screen it opens above the point,
    // offset pixels higher still (the height of what was clicked), near the
    // right edge to the left of it. selectFirst hovers the first item (a
    // menu opened from the keyboard). An open menu closes first. False
    // without items, without a command receiver, or from another thread
    // than the one the menu is open on.
    bool TrackPopupMenu(int x, int y, int offset = 0, bool selectFirst = false);
    // Takes the registered PopupMenuSkin of that name and holds it while
    // drawing from it; false (nothing changes) when there is none.
    bool ApplySkin(const char* componentName = PopupMenuSkin::kComponentName);

protected:
    bool CreateItemsFrom(HMENU menu) override;

private:
    CSkinRecordRef<PopupMenuSkin> m_skin;
};
