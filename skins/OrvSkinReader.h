#pragma once
// The skin reader: finds the skins installed under a root directory, and on
// a skin change reads the chosen skin's Skin.Ini into the skin records that
// the skinned controls draw from, registers the shared records of windows
// and dialogs in CSkin, and hands the contact-tree its record.
//
// Nothing is ever reported to the user: a damaged skin applies with defaults
// for what could not be read. GetProblem lists those places for the last
// change (each is also written to the debugger output).
#include "ClsSkinName.h"
#include "SkinReadProblem.h"
#include "SkinsExport.h"

#include "ButtonSkinInfo.h"
#include "SkinBorderInfo.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

class OrvLocaleManager;
class SkinFile;

// The sub-controls of the main window, made by CreateControls with their
// libraries.
class ClsSkinnedMainMenu;
class CSkinnedSplitter;
class OrvMessagePanelCtrl;
class OrvPathFinderCtrl;
class OrvPathFinderResultCtrl;
class OrvSearchCtrl;
class OrvSearchResultCtrl;
class OrvToolBarCtrl;

// The SkinBorderInfo_t records of a skin, by section.
enum SkinRecord_e : int32_t {
    srButtons,
    srRadioButtons,
    srEdits,
    srLabels,
    srTreeControl,
    srListHeaders,
    srCount
};

// The ControlBorderInfo_t records of a skin, by section.
enum ControlRecord_e : int32_t {
    crToolBar,             // OrvToolBarCtrl
    crVerticalSplitter,
    crListViews,
    crMessagePanel,
    crSearchCtrlHeader,    // OrvSearchCtrlHeader
    crPathFinderCtrlHeader,
    crSearchCtrl,
    crPathFinderCtrl,
    crTopMenuItem,         // OrvTopMenuItem
    crMenuItem,
    crSubMenuBorders,
    crMenuSeparators,
    crCount
};

class SKINS_API OrvSkinReader {
public:
    // Lists the skins under skinsRoot (with or without a trailing
    // separator) and sorts them; applies none. locale is not owned.
    OrvSkinReader(const char* skinsRoot, OrvLocaleManager* locale);
    ~OrvSkinReader();
    OrvSkinReader(const OrvSkinReader&) = delete;
    OrvSkinReader& operator=(const OrvSkinReader&) = delete;

    // The sorted list: base skins first, then by name, then by directory,
    // both without regard to case.
    int GetCount() const;
    // Null outside 0 .. GetCount() - 1.
    ClsSkinName* GetSkin(int index) const;
    // The last skin applied; null before the first change.
    ClsSkinName* GetCurrentSkin() const { return m_current; }
    // The first base skin met while scanning the root; null when none.
    ClsSkinName* GetDefaultSkin() const { return m_default; }

    // Applies skin; a null skin does nothing.
    void ChangeSkin(ClsSkinName* skin);
    // Applies the first skin whose GetLastDirectory() equals lastDirectory
    // without regard to case; the default skin when it is null, empty or
    // matches none.
    void SetSkinByDirectory(const char* lastDirectory);
    // Applies the default skin; nothing when there is none.
    void SetDefaultSkin();

    // The contact-tree control's window: every skin change sends it the
    // tree's record (ORV_WM_TREE_SKIN) while it exists. Null: no tree.
    void SetTreeWindow(HWND tree) { m_treeWindow = tree; }
    HWND GetTreeWindow() const { return m_treeWindow; }

    // The records of the current skin, owned by the reader until the next
    // change; null before the first one.
    SkinBorderInfo_t* GetSkinBorderInfo(SkinRecord_e which) const;
    ControlBorderInfo_t* GetControlBorderInfo(ControlRecord_e which) const;
    // Width of OrvSearchCtrl: the left column's width and the splitter's
    // minimum size (196 before the first change and by default).
    int32_t GetSearchCtrlWidth() const { return m_searchCtrlWidth; }

    // What the last change could not read.
    int GetProblemCount() const;
    const SkinReadProblem_t* GetProblem(int index) const;

    // The composed images of buttons (the controls' skins are formed with
    // these): Width x 4 Height push-button bands, and Width x 6 Height
    // radio-button bands, from skin's cells with caption written on them.
    // False when no image could be made (null arguments, a size out of
    // range).
    static bool FormButtonImage(ButtonSkinInfo_t* button, const SkinBorderInfo_t* skin, const char* caption);
    static bool FormRadioButtonImage(RadioButtonSkinInfo_t* button, const SkinBorderInfo_t* skin,
                                     const char* caption);

private:
    void ScanRoot(const char* skinsRoot);
    void SortSkins();
    void ApplySkin(ClsSkinName* skin);
    // Detaches the records from the sub-controls and frees them.
    void PurgeSkinInfo();
    void ReadRecords(SkinFile& file);
    void SkinSubControls(SkinFile& file);
    void SkinTree(SkinFile& file);
    void TakeProblems(const SkinFile& file);

    std::vector<std::unique_ptr<ClsSkinName>> m_skins;
    ClsSkinName* m_default = nullptr;
    ClsSkinName* m_current = nullptr;
    OrvLocaleManager* m_locale;

    SkinBorderInfoPtr m_skinRecords[srCount];
    ControlBorderInfoPtr m_controlRecords[crCount];
    int32_t m_searchCtrlWidth;
    std::vector<SkinReadProblem_t> m_problems;

    // Sub-controls of the main window (not owned yet; null until their
    // libraries exist and CreateControls makes them).
    ClsSkinnedMainMenu* m_menu = nullptr;
    OrvSearchCtrl* m_searchCtrl = nullptr;
    OrvPathFinderCtrl* m_pathFinderCtrl = nullptr;
    OrvSearchResultCtrl* m_searchResultList = nullptr;
    OrvPathFinderResultCtrl* m_pathResultList = nullptr;
    OrvMessagePanelCtrl* m_messagePanel = nullptr;
    OrvToolBarCtrl* m_toolBar = nullptr;
    CSkinnedSplitter* m_splitter = nullptr;
    HWND m_treeWindow = nullptr;
};
