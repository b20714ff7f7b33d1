#pragma once
#include "ClsFont.h"
#include "ClsSkinnedMenuItem.h"
#include "ControlsExport.h"
#include "MenuSkinInfo.h"
#include "SkinBorderInfo.h"

#include <windows.h>

#include <memory>
#include <vector>

class ClsMenuTracker;
class ClsSkinnedSubMenuWnd;

// The base of the skinned menus: the menu bar (ClsSkinnedMainMenu) and the
// popup menus (ClsSkinnedPopupMenu). It holds the tree of items built from a
// menu resource, the fonts and borrowed frame records they are drawn from,
// and the window that receives the commands as ordinary WM_COMMAND messages.
//
// Menus do not run a modal loop and never take activation from the window
// they belong to. While a menu is open, a hook of its thread hands it the
// keys the thread takes from its queue (they go to the innermost open list)
// and closes it on a press outside its windows, or when the program or the
// menu's window loses activation (timer 112, 100 ms). One menu of a thread
// is open at a time. User-interface thread only: CloseMenu from another
// thread is handed to the menu's thread.
class CTL_API ClsSkinnedMenu {
public:
    // Clears a hover once the cursor has moved off (bar and lists).
    static const UINT_PTR kMenuHoverTimer = 101;
    static const UINT kMenuHoverPeriodMs = 50;
    // Closes the menu after its program or window lost activation.
    static const UINT_PTR kMenuCloseTimer = 112;
    static const UINT kMenuClosePeriodMs = 100;
    // Posted to a menu window: close the whole menu (from another thread).
    static const UINT kCloseMessage = WM_APP + 0x3A5;

    ClsSkinnedMenu();
    // Closes the menu and deletes its items.
    virtual ~ClsSkinnedMenu();
    ClsSkinnedMenu(const ClsSkinnedMenu&) = delete;
    ClsSkinnedMenu& operator=(const ClsSkinnedMenu&) = delete;

    // Fonts; each font's colour is the text colour of its state. Setting one
    // proposes every size and image again.
    ClsFont& GetFontInfo() { return m_font; }
    void SetFontInfo(const ClsFont& font);
    ClsFont& GetFontDisabled() { return m_fontDisabled; }
    void SetFontDisabled(const ClsFont& font);
    ClsFont& GetFontPressed() { return m_fontPressed; }
    void SetFontPressed(const ClsFont& font);

    HWND GetCmdReceiverHandle() const { return m_receiver; }
    void SetCmdReceiverHandle(HWND receiver) { m_receiver = receiver; }

    // Frame records, borrowed: the caller keeps them alive while the menu
    // uses them, and sets null before freeing them. Setting one drops the
    // composed images (and gives open sub-menu windows their new frame)
    // without redrawing; SkinUpdated redraws.
    ControlBorderInfo_t* GetItemBorder() const { return m_itemBorder; }
    void SetItemBorder(ControlBorderInfo_t* border);
    ControlBorderInfo_t* GetTopItemBorder() const { return m_topItemBorder; }
    void SetTopItemBorder(ControlBorderInfo_t* border);
    ControlBorderInfo_t* GetSeparatorBorder() const { return m_separatorBorder; }
    void SetSeparatorBorder(ControlBorderInfo_t* border);
    ControlBorderInfo_t* GetSubMenuBorder() const { return m_subMenuBorder; }
    void SetSubMenuBorder(ControlBorderInfo_t* border);

    // Fonts and the item, separator and sub-menu records in one (the top-level
    // item record is the bar's own). SetSkinInfo takes all of them and
    // redraws (SkinUpdated).
    MenuSkinInfo_t GetSkinInfo() const;
    void SetSkinInfo(const MenuSkinInfo_t& info);
    // The skin reader calls this after setting frames and fonts: sizes and
    // images are made again and open menus follow at once.
    virtual void SkinUpdated();

    // The root item; its children are the top-level items.
    ClsSkinnedMenuItem* GetItems() { return &m_root; }
    // Loads a menu resource (name or MAKEINTRESOURCE number) and builds the
    // item tree from it (replacing the old one). Without a module, from the
    // resource module or else the program. True on success.
    bool LoadMenuA(const char* resource);
    bool LoadMenuA(HINSTANCE module, const char* resource);
    ClsSkinnedMenuItem* FindItemByCommand(UINT command);
    void SaveAllStates();
    void RestoreAllStates();

    // The message loop of the program offers every message here first; true
    // means the menu took it (do not translate or dispatch it). While the
    // menu is open, keys go to its innermost list.
    virtual bool IsMenuCommand(MSG& msg);

    // Closes every open list of the menu and clears hover and entered states.
    void CloseMenu();
    // Whether the menu is open (a list shows, or the bar is selected from the
    // keyboard): its hook has the thread's input.
    bool GetIsOpen() const { return m_tracker != nullptr; }
    // The innermost open list window, which the keys go to; null when closed.
    HWND GetKeyboardTarget() const;
    // Whether window is one of the menu's windows (the bar, an open list).
    bool IsMenuWindow(HWND window) const;

protected:
    // Builds the items from a loaded menu: the base takes every top-level
    // item; the popup menu its first sub-menu's (none when the first item
    // has no sub-menu).
    virtual bool CreateItemsFrom(HMENU menu);
    // Appends menu's items (and, recursively, their sub-menus) to parent.
    bool CreateMenuItems(HMENU menu, ClsSkinnedMenuItem* parent, int depth = 0);
    // The window that carries the menu's timers while it is open: the bar,
    // or the popup's list.
    virtual HWND GetTimerWindow() const;
    // Installs the thread hook (closing another menu of the thread first).
    void BeginTracking();
    // Whether the calling thread may touch the menu's windows, and making
    // the calling thread the one that may (the thread of the menu's windows).
    bool OnMenuThread() const;
    void AdoptThread() { m_thread = ::GetCurrentThreadId(); }

    // Counts the menu window messages being handled; windows retired while
    // any runs are deleted when the last one ends, so no window object is
    // deleted inside its own message.
    class CTL_API BusyScope {
    public:
        explicit BusyScope(ClsSkinnedMenu& menu);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        ClsSkinnedMenu& m_menu;
    };

    // Routes a message of the thread while the menu is open; true takes it.
    bool TrackMessage(MSG& msg);
    // The program or the menu's window lost activation: close soon.
    void OnLostActivation();
    // Moves the bar's selection to the next top-level item in direction and,
    // when it has a list, opens it with its first item hovered.
    void MoveBarSelection(int direction);
    // Opens an item's list from the keyboard with its first item hovered, or
    // chooses an item without one.
    void OpenFromKeyboard(ClsSkinnedMenuItem* item);
    // A move to the same screen place as the last one (a window shown under
    // a resting cursor) is no movement: false then.
    bool CursorMoved(HWND window, LPARAM clientPoint);
    // Takes the cursor's place as the last one seen.
    void RememberCursor() { ::GetCursorPos(&m_lastCursor); }

    ClsSkinnedMenuItem m_root;

private:
    friend class ClsSkinnedMenuItem;
    friend class ClsSkinnedSubMenuWnd;
    friend class ClsMenuTracker;

    void Retire(std::unique_ptr<ClsSkinnedSubMenuWnd> window);
    void BordersChanged();
    void RefreshOpenLists(ClsSkinnedMenuItem* item);
    void SetSubMenuFrames(ClsSkinnedMenuItem* item);

    ClsFont m_font;
    ClsFont m_fontDisabled;
    ClsFont m_fontPressed;
    HWND m_receiver = nullptr;
    ControlBorderInfo_t* m_itemBorder = nullptr;
    ControlBorderInfo_t* m_topItemBorder = nullptr;
    ControlBorderInfo_t* m_separatorBorder = nullptr;
    ControlBorderInfo_t* m_subMenuBorder = nullptr;
    std::unique_ptr<ClsMenuTracker> m_tracker;
    DWORD m_thread = 0;
    int m_busy = 0;
    std::vector<std::unique_ptr<ClsSkinnedSubMenuWnd>> m_retired;
    POINT m_lastCursor = {-32768, -32768};
};
