#pragma once
// The look of the popup menus that other windows show (the contact-tree's,
// the result lists'), registered in CSkin as "PopupMenu". The skin reader
// makes one from the main menu's skin information on every skin change; a
// popup menu takes it by name (ClsSkinnedPopupMenu::ApplySkin) and holds a
// reference while it draws from it.
//
// The record keeps its own copies of the three frame records, each with its
// own copy of the image, so it stays valid after the reader has freed the
// skin it was made from.
#include "ControlsExport.h"
#include "MenuSkinInfo.h"
#include "S_STD_SKININFO.h"
#include "SkinBorderInfo.h"

class CTL_API PopupMenuSkin : public S_STD_SKININFO {
public:
    static constexpr const char* kComponentName = "PopupMenu";

    PopupMenuSkin();
    ~PopupMenuSkin() override;

    // Takes the fonts and copies of the frame records; a record that is
    // missing in info stays missing here.
    void Assign(const MenuSkinInfo_t& info);
    // What to hand a menu: its records are this record's own copies, valid
    // as long as the record lives.
    const MenuSkinInfo_t& GetInfo() const { return m_info; }

private:
    MenuSkinInfo_t m_info;
    ControlBorderInfoPtr m_item;
    ControlBorderInfoPtr m_separator;
    ControlBorderInfoPtr m_subMenu;
};
