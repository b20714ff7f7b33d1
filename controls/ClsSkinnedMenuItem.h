#pragma once
#include "ClsBitMap.h"
#include "ControlsExport.h"
#include "SkinBorderInfo.h"

#include "CRect.h"
#include "CString.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

class ClsSkinnedMenu;
class ClsSkinnedSubMenuWnd;

// How a list lays out its children.
enum MenuOrientation_e : int32_t {
    moHorizontal = 0,  // the menu bar: side by side
    moVertical = 1,    // drop-down, cascading and popup lists: stacked
};

// One entry of a skinned menu and, when it has children, the list that shows
// them. The menu's root item is the list of the top-level items.
//
// Sizes are proposed from the caption in the menu's fonts and frame records
// and kept until something changes (MenuChanged). Each item composes one
// image of four bands (normal, hovered, pressed, disabled; one band for a
// separator) the size it is drawn at, and copies the band of its state.
// Positions are in the client coordinates of the list window: the menu bar
// for the top-level items, the item's sub-menu window otherwise.
//
// An item owns its children and its open sub-menu window. State changes
// redraw the item on its list window at once. User-interface thread only.
class CTL_API ClsSkinnedMenuItem {
public:
    explicit ClsSkinnedMenuItem(const char* caption = "", UINT command = 0, bool separator = false);
    // Closes the item's sub-menu and deletes its children.
    virtual ~ClsSkinnedMenuItem();
    ClsSkinnedMenuItem(const ClsSkinnedMenuItem&) = delete;
    ClsSkinnedMenuItem& operator=(const ClsSkinnedMenuItem&) = delete;

    // The children. Add and Insert take ownership (an item that has a parent
    // leaves it first); null, the item itself and its own ancestors are
    // refused (false). Insert clamps the index.
    int GetCount() const { return static_cast<int>(m_children.size()); }
    ClsSkinnedMenuItem* GetItem(int index) const;  // null outside 0..count-1
    int IndexOf(const ClsSkinnedMenuItem* item) const;  // -1 when not a child
    bool Add(ClsSkinnedMenuItem* item);
    bool Insert(int index, ClsSkinnedMenuItem* item);
    // Deletes one child, or all of them.
    void Delete(int index);
    void DeleteAll();
    // This item or the first item below it (depth first) with that command.
    ClsSkinnedMenuItem* FindByCommand(UINT command);

    const CString& GetCaption() const { return m_caption; }
    void SetCaption(const char* caption);
    UINT GetCommand() const { return m_command; }
    void SetCommand(UINT command) { m_command = command; }
    bool GetEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    // A check mark in the gutter left of the caption (lists only).
    bool GetChecked() const { return m_checked; }
    void SetChecked(bool checked);
    bool GetSeparator() const { return m_separator; }
    bool GetIsSubmenu() const { return !m_children.empty(); }
    // The upper-case access character (after the first single '&'), or 0.
    char GetAccessKey() const;

    ClsSkinnedMenuItem* GetParent() const { return m_parent; }
    // Only the tree itself (Add, Insert) should move items between parents;
    // this records the link without taking ownership.
    void SetParent(ClsSkinnedMenuItem* parent) { m_parent = parent; }
    // The window that shows this item's children: the menu bar for the root
    // of a main menu (set here), the item's sub-menu window while it is open.
    HWND GetListHandle() const { return m_listHandle; }
    void SetParentHandle(HWND window) { m_listHandle = window; }
    MenuOrientation_e GetOrientation() const { return m_orientation; }
    void SetOrientation(MenuOrientation_e orientation);
    ClsSkinnedMenu* GetMenu() const { return m_menu; }

    // Hover: the mouse (or the keyboard) is on the item. A list has at most
    // one hovered child; hovering another closes the previous one's sub-menu.
    bool GetMouseOver() const { return m_mouseOver; }
    void SetMouseOver(bool over);
    // Entered: a child's sub-menu is open, or the button is held in the list;
    // the hovered child then shows pressed. The menu bar stays entered from
    // the click that opens a menu until the menu closes.
    bool GetMenuEntered() const { return m_entered; }
    void SetMenuEntered(bool entered);
    ClsSkinnedMenuItem* GetHoveredItem() const { return m_hovered; }
    // A child of this item, or null.
    void SetHoveredItem(ClsSkinnedMenuItem* item);

    // Place in the list window, and proposed size.
    int GetLeft();
    int GetTop();
    int GetWidth();
    int GetHeight();
    // The widest and tallest child (0 without children).
    int GetMaxWidth();
    int GetMaxHeight();
    // The rectangle the item is drawn in, in its list window: its own size
    // along its list, the list's widest or tallest child across it.
    CRect GetItemRect();
    // The child whose rectangle holds the point (separators included), or null.
    ClsSkinnedMenuItem* GetItemFromPoint(int x, int y);

    // Opens the sub-menu window of an item with children (none open yet):
    // below a bar item, right of a list item, moved above or left of it when
    // it would run past the screen's bottom or right edge; offset is the
    // further distance above. False when nothing opened.
    bool ActivateSubMenu(int offset = 0);
    // Opens the list of this item's children at a screen point, as a popup
    // menu opens: below and right of it, above (by offset more) or left of it
    // near the screen's edges.
    bool ActivateSubMenuAt(int x, int y, int offset = 0);
    // Closes the sub-menu (and every sub-menu below it).
    void DeactivateSubMenu();
    ClsSkinnedSubMenuWnd* GetSubMenuWindow() const { return m_subMenu.get(); }
    bool GetIsSubMenuOpen() const { return m_subMenu != nullptr; }

    // Copies the band of the item's state to its place on dc.
    void Draw(HDC dc);
    // Lays out and draws every child.
    void DrawSubmenuItems(HDC dc);
    // Chooses the item: the whole menu closes, and an enabled item that is
    // no separator and has a command posts WM_COMMAND(command, 0) to the
    // menu's command receiver.
    void Execute();

    // Tells the list that its child item changed (size, caption, state), or
    // with all that everything below it did (fonts, frames): sizes and
    // images are proposed again and the list window follows.
    void MenuChanged(ClsSkinnedMenuItem* item, bool all);
    // Remembers the enabled and checked states, and puts them back.
    void SaveState();
    void RestoreState();

    // Measures the proposed width and height (CalculateProposedSizes) and
    // composes the state bands (ValidateImage) when they are missing.
    void CalculateProposedSizes();
    void ValidateImage();
    // The composed bands, for those who want to look at them.
    const ClsBitMap& GetImage() const { return m_image; }

    // Keyboard helpers of a list: the next child that can be hovered
    // (no separator) from the hovered one in direction +1 or -1, wrapping;
    // the first whose access character a virtual key (of WM_KEYDOWN) types.
    ClsSkinnedMenuItem* GetNextSelectable(int direction);
    ClsSkinnedMenuItem* FindByAccessKey(UINT key);

    static const int kGutter = 18;        // room left of a caption in a list
    static const int kListExtra = 39;     // width a list item adds to its caption
    static const int kListExtraHeight = 6;
    static const int kBarExtra = 12;      // width a bar item adds to its caption
    static const int kBarExtraHeight = 7;

private:
    friend class ClsSkinnedMenu;
    friend class ClsSkinnedSubMenuWnd;

    void SetMenu(ClsSkinnedMenu* menu);
    bool InHorizontalList() const { return m_parent && m_parent->m_orientation == moHorizontal; }
    // The frame record the item is drawn with.
    ControlBorderInfo_t* GetFrameRecord() const;
    void ArrangeChildren();
    void DropSizes(bool all);
    void DropChildImages();
    void Redraw();
    // The list window changes size with its children.
    void ListChanged();
    bool OpenList(const RECT& place, bool below, int offset);
    CSize ListWindowSize();
    void DrawBand(HDC dc, int band, const RECT& rect);
    void DrawCaption(HDC dc, int band, const RECT& rect);
    // Closes the sub-menu and clears hover and entered below this item.
    void CloseAll();

    CString m_caption;
    UINT m_command;
    bool m_enabled = true;
    bool m_checked = false;
    bool m_separator;
    ClsSkinnedMenuItem* m_hovered = nullptr;
    int m_left = 0;
    int m_top = 0;
    bool m_mouseOver = false;
    bool m_entered = false;
    MenuOrientation_e m_orientation = moVertical;
    ClsSkinnedMenuItem* m_parent = nullptr;
    HWND m_listHandle = nullptr;
    ClsBitMap m_image;
    bool m_imageValid = false;
    int m_height = 0;
    int m_width = 0;
    bool m_sizeValid = false;
    ClsSkinnedMenu* m_menu = nullptr;
    std::unique_ptr<ClsSkinnedSubMenuWnd> m_subMenu;
    std::vector<std::unique_ptr<ClsSkinnedMenuItem>> m_children;
    bool m_savedEnabled = true;
    bool m_savedChecked = false;
};
