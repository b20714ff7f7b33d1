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
class CSkinnedListView;
struct MenuSkinInfo_t;

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
class ClsSkinnedHeader;

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

    // Creates the sub-controls of the main window in this order: the menu
    // bar, the search control, the path finder, the search and path result
    // lists, the toolbar, the message panel, the contact-tree and the
    // splitter (search result list left, tree right, minimum size 900 until
    // the first skin). They are owned by the reader from now on and laid
    // out by every skin change. Once only; false when parameters or parent
    // are missing or a control could not be made. Null callbacks are
    // allowed: the controls then report nothing.
    bool CreateControls(const CreateControls_t* parameters);
    // The main window's procedure hands WM_SIZE and WM_GETMINMAXINFO here;
    // the result is the message's. Other messages go to DefWindowProc.
    LRESULT ParentSizing(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Passes a palette message on to the tree's window.
    void PaletteChanged(UINT message, WPARAM wParam);
    // The toolbar's plain tips.
    void SetToolTipEnabled(bool enabled);
    // The balloon tips of the search and path finder controls.
    void SetToolTipBalloonEnabled(bool enabled);
    bool GetToolTipEnabled() const;
    bool GetToolTipBalloonEnabled() const;
    // The controls made by CreateControls; null before (or without them).
    ClsSkinnedMainMenu* GetMainMenu() const { return m_menu.get(); }
    CTreeControl* GetTreeControl() const { return m_tree; }
    OrvSearchCtrl* GetSearchCtrl() const { return m_searchCtrl.get(); }
    OrvPathFinderCtrl* GetPathFinderCtrl() const { return m_pathFinderCtrl.get(); }
    OrvSearchResultCtrl* GetSearchResultCtrl() const { return m_searchResultList; }
    OrvPathFinderResultCtrl* GetPathFinderResultCtrl() const { return m_pathResultList.get(); }
    OrvToolBarCtrl* GetToolBarCtrl() const { return m_toolBar.get(); }
    OrvMessagePanelCtrl* GetMessagePanelCtrl() const { return m_messagePanel.get(); }
    CSkinnedSplitter* GetSplitter() const { return m_splitter.get(); }
    // The splitter's position (S); 0 without a splitter.
    int GetSplitterPos() const;
    void SetSplitterPos(int pos);

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
    void SkinMessagePanel(SkinFile& file);
    void SkinSearchCtrl(SkinFile& file);
    void SkinPathFinderCtrl(SkinFile& file);
    void SkinResultList(SkinFile& file, CSkinnedListView& list, const MenuSkinInfo_t& menu);
    void SkinSearchResultList(SkinFile& file, const MenuSkinInfo_t& menu);
    void SkinPathResultList(SkinFile& file, const MenuSkinInfo_t& menu);
    void SkinSplitter(SkinFile& file);
    void SkinToolBar(SkinFile& file);
    // The header of a control when the section's HeaderWidth is at least
    // 1, else null.
    ClsSkinnedHeader* MakeHeader(SkinFile& file, std::unique_ptr<ClsSkinnedHeader>& header, const char* section,
                                 ControlRecord_e border, const char* captionKey);
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

    // Sub-controls of the main window, made by CreateControls. The splitter
    // owns its two panes, the search result list and the tree.
    CWnd* m_parent = nullptr;
    std::unique_ptr<ClsSkinnedMainMenu> m_menu;
    std::unique_ptr<OrvSearchCtrl> m_searchCtrl;
    std::unique_ptr<OrvPathFinderCtrl> m_pathFinderCtrl;
    OrvSearchResultCtrl* m_searchResultList = nullptr;
    std::unique_ptr<OrvPathFinderResultCtrl> m_pathResultList;
    std::unique_ptr<OrvToolBarCtrl> m_toolBar;
    std::unique_ptr<OrvMessagePanelCtrl> m_messagePanel;
    CTreeControl* m_tree = nullptr;
    std::unique_ptr<CSkinnedSplitter> m_splitter;
    // The headers of the search and path finder controls (borrowed by them
    // while the skin gives one).
    std::unique_ptr<ClsSkinnedHeader> m_searchHeader;
    std::unique_ptr<ClsSkinnedHeader> m_pathFinderHeader;
    // The layout quantities of the current skin: Hs, Wp, Hp and Sw.
    int m_searchCtrlHeight;
    int m_pathFinderWidth;
    int m_pathFinderHeight;
    int m_splitterWidth;
    HWND m_treeWindow = nullptr;
};

// The layout quantities' defaults, before a skin gives its own.
constexpr int ORV_SEARCHCTRL_DEFAULT_HEIGHT = 54;
constexpr int ORV_PATHFINDER_DEFAULT_WIDTH = 300;
constexpr int ORV_PATHFINDER_DEFAULT_HEIGHT = 124;
constexpr int ORV_SPLITTER_DEFAULT_WIDTH = 6;
