#pragma once
#include "CObject.h"
#include "FrameworkExport.h"

#include <windows.h>

// A menu handle with one owner: loaded from a menu resource or taken with
// Attach, destroyed with its sub-menus when the object dies. Copying is
// deleted; moving hands the menu on. Sub-menus that GetSubMenu returns stay
// the parent menu's.
class FW_API CMenu : public CObject {
public:
    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    CMenu(CMenu&& other) noexcept;
    CMenu& operator=(CMenu&& other) noexcept;

    // Drops any menu and loads a menu resource (name or MAKEINTRESOURCE
    // number) of module; with a null module, of the resource module
    // (AfxGetResourceHandle) or else of the program, whichever holds it.
    bool LoadMenu(const char* resource, HINSTANCE module = nullptr);
    // Takes ownership of menu (dropping any other).
    bool Attach(HMENU menu);
    HMENU Detach();
    bool DestroyMenu();

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    // -1 without a menu.
    int GetMenuItemCount() const;
    // The sub-menu at position, borrowed; null when there is none.
    HMENU GetSubMenu(int position) const;

    const char* GetRuntimeClassName() const override;

private:
    HMENU m_hMenu = nullptr;
};
