#pragma once
// Builds the shared skin records that top-level windows, dialogs, message
// boxes and the tree's drag image find in the CSkin registry, and registers
// each under all its names (replacing the previous skin's records).
class SkinFile;
struct ControlBorderInfo_t;
struct MenuSkinInfo_t;

class SkinComponentBuilder {
public:
    // ButtonSkin ("MainFrame\button", "ChatDialog\button", "dialog\button",
    // "msbdialog\button"), CaptionSkin ("MainFrame\caption",
    // "dialog\caption", "msbdialog\caption"), FrameSkin ("MainFrame\border",
    // "dialog\border", "msbdialog\border") and BackgroundSkin ("dialog",
    // "MainFrame").
    static void RegisterWindowComponents(SkinFile& skin);
    // DragImageSkin ("OrvNavigateTreeControl").
    static void RegisterDragImage(SkinFile& skin);
    // PopupMenuSkin ("PopupMenu") from the menus' skin information.
    static void RegisterPopupMenu(const MenuSkinInfo_t& menu);

    // The menus' skin information: the fonts of OrvMenuFont,
    // OrvMenuDisabledFont and OrvMenuPressedFont (the normal font when that
    // section is missing), and the given item, separator and sub-menu
    // borders (borrowed).
    static void GetMenuSkinInfo(SkinFile& skin, ControlBorderInfo_t* item, ControlBorderInfo_t* separator,
                                ControlBorderInfo_t* subMenu, MenuSkinInfo_t& menu);
};
