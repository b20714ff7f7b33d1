#pragma once
// What a skinned menu draws from (ClsSkinnedMenu::GetSkinInfo/SetSkinInfo):
// three fonts, whose colours are the text colours of their states, and the
// frame records of the items, the separators and the sub-menu windows.
// The records are borrowed: whoever fills the structure keeps them alive
// while a menu draws from them (the skin reader, or a PopupMenuSkin).
#include "ClsFont.h"
#include "SkinBorderInfo.h"

struct MenuSkinInfo_t {
    ClsFont Font;          // normal and hovered items
    ClsFont FontDisabled;  // disabled items
    ClsFont FontPressed;   // the pressed item, or the one whose sub-menu is open
    ControlBorderInfo_t* ItemBorder = nullptr;
    ControlBorderInfo_t* SeparatorBorder = nullptr;
    ControlBorderInfo_t* SubMenuBorder = nullptr;
};
