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
#include "OrvCreateControls.h"
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
class WindowPosBatch;

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
class CTreeControl;

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

    // Creates the sub-controls of the main window that exist in this build
    // (the menu bar and the contact-tree control), owned by the reader from
    // now on, and lays them out with the next skin change. Once only; false
    // when parameters or parent are missing or a control could not be made.
    bool CreateControls(const CreateControls_t* parameters);
    // The main window's procedure hands WM_SIZE and WM_GETMINMAXINFO here;
    // the result is the message's. Other messages go to DefWindowProc.
    LRESULT ParentSizing(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Passes a palette message on to the tree's window.
    void PaletteChanged(UINT message, WPARAM wParam);
    void SetToolTipEnabled(bool enabled);
    void SetToolTipBalloonEnabled(bool enabled);
    bool GetToolTipEnabled() const;
    bool GetToolTipBalloonEnabled() const;
    // The controls made by CreateControls; null before (or without them).
    ClsSkinnedMainMenu* GetMainMenu() const { return m_menu.get(); }
    CTreeControl* GetTreeControl() const { return m_tree.get(); }
    // The splitter's position (S) and width (Sw); the splitter sets them
    // once it exists.
    int GetSplitterPos() const { return m_splitterPos; }
    void SetSplitterPos(int pos) { m_splitterPos = pos; }

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
    // The layout of the sub-controls in the parent's client area (width x
    // height), into batch; the message panel's height is set to Hm + Hs on a
    // skin change and kept on a resize.
    void LayOut(WindowPosBatch& batch, int width, int height, bool skinChange);
    void DestroyControls();

    std::vector<std::unique_ptr<ClsSkinName>> m_skins;
    ClsSkinName* m_default = nullptr;
    ClsSkinName* m_current = nullptr;
    OrvLocaleManager* m_locale;

    SkinBorderInfoPtr m_skinRecords[srCount];
    ControlBorderInfoPtr m_controlRecords[crCount];
    int32_t m_searchCtrlWidth;
    std::vector<SkinReadProblem_t> m_problems;

    // Sub-controls of the main window, made by CreateControls. Those of
    // libraries that are not in this build stay null.
    CWnd* m_parent = nullptr;
    std::unique_ptr<ClsSkinnedMainMenu> m_menu;
    std::unique_ptr<CTreeControl> m_tree;
    int m_splitterPos = 0;
    int m_splitterWidth = 6;
    int m_splitterMinSize = 900;
    OrvSearchCtrl* m_searchCtrl = nullptr;
    OrvPathFinderCtrl* m_pathFinderCtrl = nullptr;
    OrvSearchResultCtrl* m_searchResultList = nullptr;
    OrvPathFinderResultCtrl* m_pathResultList = nullptr;
    OrvMessagePanelCtrl* m_messagePanel = nullptr;
    OrvToolBarCtrl* m_toolBar = nullptr;
    CSkinnedSplitter* m_splitter = nullptr;
    HWND m_treeWindow = nullptr;
};

// The layout quantities' defaults, before a skin gives its own.
constexpr int ORV_SEARCHCTRL_DEFAULT_HEIGHT = 54;
constexpr int ORV_PATHFINDER_DEFAULT_WIDTH = 300;
constexpr int ORV_PATHFINDER_DEFAULT_HEIGHT = 124;
constexpr int ORV_SPLITTER_DEFAULT_WIDTH = 6;
