#pragma once
// The menu records of a shipped skin (bin/Skins/<folder>/Skin.Ini), read
// the way the skin reader reads them, for the menu tests: the item,
// top-level item, separator and sub-menu frames with their bitmaps, and the
// three menu fonts. Applied to a menu in the reader's order.
#include "ClsFont.h"
#include "MenuSkinInfo.h"
#include "SkinBorderInfo.h"

#include <string>

class ClsSkinnedMenu;

namespace ctltest {

class MenuTestSkin {
public:
    // folder: "Daylight" or "Graphite".
    explicit MenuTestSkin(const std::string& folder);

    bool IsLoaded() const { return m_loaded; }
    ControlBorderInfo_t* Item() const { return m_item.get(); }
    ControlBorderInfo_t* TopItem() const { return m_topItem.get(); }
    ControlBorderInfo_t* Separator() const { return m_separator.get(); }
    ControlBorderInfo_t* SubMenu() const { return m_subMenu.get(); }
    const ClsFont& Font() const { return m_font; }
    const ClsFont& DisabledFont() const { return m_disabledFont; }
    const ClsFont& PressedFont() const { return m_pressedFont; }
    MenuSkinInfo_t Info() const;

    // Frames, fonts, then SkinUpdated, as a skin change does.
    void ApplyTo(ClsSkinnedMenu& menu) const;

    // The bin/Skins/<folder>\ directory.
    static std::string Directory(const std::string& folder);

private:
    bool m_loaded = false;
    ControlBorderInfoPtr m_item;
    ControlBorderInfoPtr m_topItem;
    ControlBorderInfoPtr m_separator;
    ControlBorderInfoPtr m_subMenu;
    ClsFont m_font;
    ClsFont m_disabledFont;
    ClsFont m_pressedFont;
};

}  // namespace ctltest
