#pragma once
// The gallery: one skinned top-level window that shows every control of the
// skinned control library in the current skin, and switches between the
// installed skins (the Skin menu, or the command line's --skin). Controls
// are made again for every skin from the records the skin reader reads.
#include "ButtonSkinInfo.h"
#include "CSWindow.h"
#include "EditSkinInfo.h"
#include "LabelSkinInfo.h"
#include "PopupMenuSkin.h"
#include "S_STD_SKININFO.h"

#include "CString.h"
#include "CWnd.h"

#include <memory>
#include <vector>

class CActiveSkinnedLabel;
class ClsRichEdit;
class ClsSkinnedHeader;
class ClsSkinnedMainMenu;
class CSkinnedButton;
class CSkinnedEdit;
class CSkinnedLabel;
class CSkinnedListView;
class CSkinnedMemo;
class CSkinnedRadioButton;
class CSkinnedSplitter;
class GalleryPanel;
class OrvSkinReader;

class GalleryWindow : public CWnd {
public:
    // Control ids, for whoever looks at the window from outside.
    enum : UINT {
        kListId = 1001,
        kSplitterId = 1002,
        kHeaderPanelId = 1003,
        kTreePaneId = 1004,
        kNormalButtonId = 1010,
        kDisabledButtonId = 1011,
        kMessageBoxButtonId = 1012,
        kEditId = 1020,
        kMemoId = 1021,
        kRichEditId = 1022,
        kRadioFirstId = 1030,
    };
    static constexpr const char* kWindowClass = "OrvGalleryWindow";
    static constexpr int kClientWidth = 980;
    static constexpr int kClientHeight = 660;

    explicit GalleryWindow(const char* skinsRoot);
    ~GalleryWindow() override;

    // Makes the window and applies the skin of that directory name (the
    // default skin for an unknown one).
    bool Create(const char* skin);
    // Applies an installed skin by its directory name; false for none.
    bool ApplySkin(const char* skin);
    ClsSkinnedMainMenu* GetMainMenu() const { return m_menu.get(); }

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& create) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    void OnClose() override;

private:
    void SkinMenu();
    void BuildContent();
    void DestroyContent();
    void BuildButtons(int x, int y);
    void BuildFields(int x, int y);
    void BuildHeaderPanel(const RECT& place);
    void BuildList(const RECT& place);
    void ShowMessageBox();

    CString m_skinsRoot;
    std::unique_ptr<OrvSkinReader> m_reader;
    CString m_skinFile;  // Skin.Ini of the current skin
    CSWindow m_skinner;
    std::unique_ptr<ClsSkinnedMainMenu> m_menu;
    CSkinRecordRef<PopupMenuSkin> m_menuLook;

    // The content, made again for every skin.
    ButtonSkinInfo_t m_buttonRecords[5];
    RadioButtonSkinInfo_t m_radioRecords[2];
    LabelSkinInfo_t m_labelRecords[7];
    EditSkinInfo_t m_editRecord;
    EditSkinInfo_t m_memoRecord;
    std::vector<std::unique_ptr<CSkinnedButton>> m_buttons;
    std::vector<std::unique_ptr<CSkinnedRadioButton>> m_radios;
    std::vector<std::unique_ptr<CSkinnedLabel>> m_labels;
    std::unique_ptr<CSkinnedEdit> m_edit;
    std::unique_ptr<CSkinnedMemo> m_memo;
    std::unique_ptr<ClsRichEdit> m_chat;
    std::unique_ptr<ClsSkinnedHeader> m_header;
    std::unique_ptr<GalleryPanel> m_headerPanel;
    std::unique_ptr<CSkinnedSplitter> m_splitter;  // owns the list and the tree pane
    CSkinnedListView* m_list = nullptr;
    // The pictures of the hovered and pressed bands.
    POINT m_bandPlaces[2] = {};
};
