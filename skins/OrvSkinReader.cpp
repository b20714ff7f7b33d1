#include "OrvSkinReader.h"

#include "FindHandle.h"
#include "SkinComponentBuilder.h"
#include "SkinFile.h"
#include "SkinImageFormer.h"
#include "SkinRecordReader.h"
#include "TreeSkinBuilder.h"
#include "WindowPosBatch.h"

#include "CSkinnedSplitter.h"
#include "ClsSkinnedHeader.h"
#include "ClsSkinnedMainMenu.h"
#include "CTreeControl.h"
#include "OrvLocaleManager.h"
#include "OrvMessagePanelCtrl.h"
#include "OrvPathFinderCtrl.h"
#include "OrvPathFinderResultCtrl.h"
#include "OrvSearchCtrl.h"
#include "OrvSearchResultCtrl.h"
#include "OrvToolBarCtrl.h"
#include "MenuSkinInfo.h"
#include "TreeSkinInfo.h"

#include "AfxTrace.h"

#include <algorithm>

namespace {

const char* const kSkinRecordSections[srCount] = {"Buttons", "RadioButtons", "Edits",
                                                  "Labels",  "TreeControl",  "ListHeaders"};
const char* const kControlRecordSections[crCount] = {
    "OrvToolBarCtrl",      "VerticalSplitter",        "ListViews",      "MessagePanel",
    "OrvSearchCtrlHeader", "OrvPathFinderCtrlHeader", "OrvSearchCtrl",  "OrvPathFinderCtrl",
    "OrvTopMenuItem",      "OrvMenuItem",             "OrvSubMenuBorders", "MenuSeparators"};

constexpr int32_t kDefaultSearchCtrlWidth = 196;
// The splitter's minimum size until the first skin gives the search
// control's width.
constexpr int kSplitterMinSizeBeforeSkin = 900;
constexpr COLORREF kDefaultLinkColor = 0xFF0000;
constexpr COLORREF kDefaultSecondRowColor = 0xFFEEEC;

// The toolbar's seven buttons: the key prefix of their place in
// OrvToolBarCtrl and the section of their image.
struct ToolButtonKeys {
    const char* keys;
    const char* section;
};
const ToolButtonKeys kToolButtons[OrvToolBarCtrl::kButtonCount] = {
    {"BtnNavBack", "ToolBtnNavBack"},
    {"BtnNavForward", "ToolBtnNavForward"},
    {"BtnNavHome", "ToolBtnNavHome"},
    {"BtnAddSource", "ToolBtnAddSource"},
    {"BtnAddDestination", "ToolBtnAddDestination"},
    {"BtnChat", "ToolBtnChat"},
    {"BtnEditPersonalInfo", "ToolBtnEditPersonalInfo"},
};

// X, Y, Width and Height of one place: keys prefix + "X" ... of section.
struct Place {
    int x, y, width, height;
};
Place ReadPlace(SkinFile& file, const ClsIniFileSection* section, const CString& prefix, const Place& fallback) {
    return Place{file.GetNumber(section, prefix + "X", fallback.x), file.GetNumber(section, prefix + "Y", fallback.y),
                 file.GetNumber(section, prefix + "Width", fallback.width),
                 file.GetNumber(section, prefix + "Height", fallback.height)};
}
template <class Record>
void SetPlace(Record* record, const Place& place) {
    record->X = place.x;
    record->Y = place.y;
    record->Width = place.width;
    record->Height = place.height;
}
// Message panel, menu, search and path finder controls, two result lists,
// splitter, toolbar and tree.
constexpr int kSubControlCount = 9;

bool EndsWithSeparator(const CString& path) {
    const int length = path.GetLength();
    return length > 0 && (path[length - 1] == '\\' || path[length - 1] == '/');
}

// Base skins first, then by name, then by directory, both without regard to case.
bool SortsBefore(const std::unique_ptr<ClsSkinName>& a, const std::unique_ptr<ClsSkinName>& b) {
    if (a->GetIsBaseSkin() != b->GetIsBaseSkin()) return a->GetIsBaseSkin();
    const int byName = CString(a->GetName()).CompareNoCase(b->GetName());
    if (byName != 0) return byName < 0;
    return CString(a->GetDirectory()).CompareNoCase(b->GetDirectory()) < 0;
}

void TraceProblem(const SkinReadProblem_t& problem) {
    CString line;
    line.Format("skins: %s [%s] %s: %s\n", problem.File.GetString(), problem.Section.GetString(),
                problem.Key.GetString(), problem.Reason.GetString());
    ::OutputDebugStringA(line);
}

}  // namespace

OrvSkinReader::OrvSkinReader(const char* skinsRoot, OrvLocaleManager* locale)
    : m_locale(locale),
      m_searchCtrlWidth(kDefaultSearchCtrlWidth),
      m_searchCtrlHeight(ORV_SEARCHCTRL_DEFAULT_HEIGHT),
      m_pathFinderWidth(ORV_PATHFINDER_DEFAULT_WIDTH),
      m_pathFinderHeight(ORV_PATHFINDER_DEFAULT_HEIGHT),
      m_splitterWidth(ORV_SPLITTER_DEFAULT_WIDTH) {
    try {
        ScanRoot(skinsRoot);
        SortSkins();
    } catch (...) {
        // Out of memory while listing: the skins listed so far stay.
        AfxTraceCaughtException("skins: listing the skins");
    }
}

OrvSkinReader::~OrvSkinReader() {
    PurgeSkinInfo();
    DestroyControls();
}

void OrvSkinReader::DestroyControls() {
    // The windows first, each by its close command, then the objects: the
    // splitter takes its panes (the search result list and the tree) along.
    auto close = [](HWND window) {
        if (window && ::IsWindow(window)) ::SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    };
    if (m_menu) close(m_menu->GetSafeHwnd());
    if (m_searchCtrl) close(m_searchCtrl->GetSafeHwnd());
    if (m_pathFinderCtrl) close(m_pathFinderCtrl->GetSafeHwnd());
    if (m_tree) close(m_tree->GetSafeHwnd());
    if (m_toolBar) close(m_toolBar->GetSafeHwnd());
    if (m_messagePanel) close(m_messagePanel->GetSafeHwnd());
    if (m_splitter) close(m_splitter->GetSafeHwnd());
    m_treeWindow = nullptr;
    m_searchResultList = nullptr;
    m_tree = nullptr;
    m_splitter.reset();
    m_searchCtrl.reset();
    m_pathResultList.reset();
    m_messagePanel.reset();
    m_toolBar.reset();
    m_pathFinderCtrl.reset();
    m_menu.reset();
    m_searchHeader.reset();
    m_pathFinderHeader.reset();
}

bool OrvSkinReader::CreateControls(const CreateControls_t* parameters) {
    if (!parameters || !parameters->Parent || !parameters->Parent->GetSafeHwnd() || m_parent) return false;
    m_parent = parameters->Parent;
    CWnd* parent = m_parent;
    m_menu = std::make_unique<ClsSkinnedMainMenu>(parent->GetSafeHwnd());
    m_menu->GetHandleC();
    m_searchCtrl = std::make_unique<OrvSearchCtrl>(parent, parameters->Search, m_locale);
    m_pathFinderCtrl = std::make_unique<OrvPathFinderCtrl>(parent, parameters->SearchPath, m_locale);
    // Held here until the splitter owns it.
    auto searchResultList = std::make_unique<OrvSearchResultCtrl>(m_locale, parent, parameters->SearchResult,
                                                                  parameters->Navigate);
    m_pathResultList = std::make_unique<OrvPathFinderResultCtrl>(m_locale, parent, parameters->SearchPathResult,
                                                                 parameters->Navigate);
    m_toolBar = std::make_unique<OrvToolBarCtrl>();
    m_toolBar->Create(parent, parameters->Navigate, m_locale);
    m_messagePanel = std::make_unique<OrvMessagePanelCtrl>(parent);
    auto tree = std::make_unique<CTreeControl>();
    if (!tree->Create(parent, CRect(0, 0, 0, 0), parameters->Navigate, nullptr)) return false;
    tree->ShowWindow(SW_SHOW);
    tree->UpdateWindow();
    m_treeWindow = tree->GetSafeHwnd();

    m_splitter = std::make_unique<CSkinnedSplitter>(parent->GetSafeHwnd());
    m_splitter->SetMinSize(kSplitterMinSizeBeforeSkin);
    m_splitter->GetHandleC();
    m_splitter->Add(csLeft, searchResultList.get());
    if (m_splitter->GetPane(csLeft, 0) == searchResultList.get()) m_searchResultList = searchResultList.release();
    m_splitter->Add(csRight, tree.get());
    if (m_splitter->GetPane(csRight, 0) == tree.get()) m_tree = tree.release();
    return m_menu->GetSafeHwnd() && m_searchResultList && m_tree && m_searchCtrl->GetSafeHwnd() &&
           m_pathFinderCtrl->GetSafeHwnd() && m_pathResultList->GetSafeHwnd() && m_toolBar->GetSafeHwnd() &&
           m_messagePanel->GetSafeHwnd() && m_splitter->GetSafeHwnd();
}

int OrvSkinReader::GetSplitterPos() const { return m_splitter ? m_splitter->GetSplitterPos() : 0; }

void OrvSkinReader::SetSplitterPos(int pos) {
    if (m_splitter) m_splitter->SetSplitterPos(pos);
}

void OrvSkinReader::LayOut(WindowPosBatch& batch, int width, int height, bool skinChange) {
    // The quantities; a control that does not exist takes no room.
    const int hm = m_menu ? m_menu->GetItems()->GetMaxHeight() : 0;
    const int ws = m_searchCtrlWidth;
    const int hs = m_searchCtrl ? m_searchCtrlHeight : 0;
    const int wp = m_pathFinderCtrl ? m_pathFinderWidth : 0;
    const int hp = m_pathFinderCtrl ? m_pathFinderHeight : 0;
    const int panel = m_messagePanel ? m_messagePanel->GetWidth() : 0;
    const int y = hm + hs;
    const int pathTop = height - hp;
    auto place = [&batch](auto& control, int x, int top, int w, int h) {
        if (batch.Get()) batch.Update(control.SetPos(batch.Get(), x, top, w, h));
    };
    if (m_menu) place(*m_menu, 0, 0, width - panel, hm);
    if (m_messagePanel)
        place(*m_messagePanel, width - panel, 0, panel, skinChange ? hm + hs : m_messagePanel->GetHeight());
    if (m_searchCtrl && skinChange) place(*m_searchCtrl, 0, hm, ws, hs);
    if (m_toolBar) place(*m_toolBar, ws, hm, width - ws - panel, hs);
    // The splitter first: it keeps its position within the new area.
    if (m_splitter) place(*m_splitter, 0, y, width, height - hp - y);
    const int s = GetSplitterPos();
    if (m_searchResultList) place(*m_searchResultList, 0, y, s, (m_pathFinderCtrl ? pathTop : height) - y);
    if (m_tree) {
        const int left = m_splitter ? s + m_splitter->GetSplitterWidth() : ws;
        place(*m_tree, left, y, width - left, height - hp - y);
    }
    if (m_pathFinderCtrl) place(*m_pathFinderCtrl, m_pathFinderCtrl->GetLeft(), pathTop, wp, hp);
    if (m_pathResultList) place(*m_pathResultList, wp, pathTop, width - wp, hp);
}

LRESULT OrvSkinReader::ParentSizing(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const int frameX = ::GetSystemMetrics(SM_CXSIZEFRAME);
        const int frameY = ::GetSystemMetrics(SM_CYSIZEFRAME);
        if (info && m_pathFinderCtrl) info->ptMinTrackSize.x = m_pathFinderWidth + 2 * frameX + 200;
        if (info && m_pathFinderCtrl && m_searchCtrl)
            info->ptMinTrackSize.y = m_searchCtrlWidth / 2 + m_pathFinderHeight + ::GetSystemMetrics(SM_CYCAPTION) +
                                     2 * frameY + m_searchCtrlHeight + 100;
        return 0;
    }
    if (message == WM_SIZE) {
        const int width = LOWORD(lParam);
        const int height = HIWORD(lParam);
        if (width > 0 && height > 0) {
            WindowPosBatch batch(20);
            LayOut(batch, width, height, false);
        }
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void OrvSkinReader::PaletteChanged(UINT message, WPARAM wParam) {
    if (m_treeWindow && ::IsWindow(m_treeWindow)) ::SendMessageA(m_treeWindow, message, wParam, 0);
}

void OrvSkinReader::SetToolTipEnabled(bool enabled) {
    if (m_toolBar) m_toolBar->SetToolTipActivated(enabled);
}

void OrvSkinReader::SetToolTipBalloonEnabled(bool enabled) {
    if (m_searchCtrl) m_searchCtrl->SetToolTipActivated(enabled);
    if (m_pathFinderCtrl) m_pathFinderCtrl->SetToolTipActivated(enabled);
}

bool OrvSkinReader::GetToolTipEnabled() const { return m_toolBar && m_toolBar->GetToolTipActivated(); }

bool OrvSkinReader::GetToolTipBalloonEnabled() const {
    if (m_searchCtrl && !m_searchCtrl->GetToolTipActivated()) return false;
    if (m_pathFinderCtrl) return m_pathFinderCtrl->GetToolTipActivated();
    return m_searchCtrl != nullptr;
}

void OrvSkinReader::ScanRoot(const char* skinsRoot) {
    if (!skinsRoot || !*skinsRoot) return;
    CString root(skinsRoot);
    if (!EndsWithSeparator(root)) root += '\\';
    WIN32_FIND_DATAA entry{};
    FindHandle find(::FindFirstFileA(root + "*.*", &entry));
    if (!find) return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || entry.cFileName[0] == '.') continue;
        const CString directory = root + entry.cFileName + "\\";
        SkinFile file(directory);
        const ClsIniFileSection* main = file.FindSection("Main", true);
        const ClsIniFileToken* name = main ? main->FindToken("SkinName") : nullptr;
        if (!name || name->GetType() != ITT_TEXT) continue;
        const ClsIniFileToken* base = main->FindToken("BaseSkin");
        const bool isBase = base && base->GetType() == ITT_NUMBER && base->GetNumber() == 1;
        m_skins.push_back(std::make_unique<ClsSkinName>(name->GetText(), directory, isBase));
        if (isBase && !m_default) m_default = m_skins.back().get();
    } while (::FindNextFileA(find.Get(), &entry));
}

void OrvSkinReader::SortSkins() { std::sort(m_skins.begin(), m_skins.end(), SortsBefore); }

int OrvSkinReader::GetCount() const { return static_cast<int>(m_skins.size()); }

ClsSkinName* OrvSkinReader::GetSkin(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_skins[static_cast<size_t>(index)].get();
}

void OrvSkinReader::SetSkinByDirectory(const char* lastDirectory) {
    if (lastDirectory && *lastDirectory) {
        for (const auto& skin : m_skins) {
            if (CString(skin->GetLastDirectory()).CompareNoCase(lastDirectory) == 0) {
                ChangeSkin(skin.get());
                return;
            }
        }
    }
    SetDefaultSkin();
}

void OrvSkinReader::SetDefaultSkin() { ChangeSkin(m_default); }

void OrvSkinReader::ChangeSkin(ClsSkinName* skin) {
    if (!skin) return;
    try {
        ApplySkin(skin);
    } catch (...) {
        // Out of memory half-way: what was built stays, the rest keeps the
        // previous skin's look.
        AfxTraceCaughtException("skins: applying a skin");
    }
}

void OrvSkinReader::ApplySkin(ClsSkinName* skin) {
    SkinFile file(skin->GetDirectory());
    PurgeSkinInfo();
    ReadRecords(file);
    SkinComponentBuilder::RegisterWindowComponents(file);
    m_searchCtrlWidth = file.GetNumber(file.FindSection("OrvSearchCtrl"), "Width", kDefaultSearchCtrlWidth);
    SkinSubControls(file);
    m_current = skin;
    TakeProblems(file);
}

void OrvSkinReader::PurgeSkinInfo() {
    // Every control lets go of the records (and the images formed from
    // them) before they are freed.
    if (m_menu) {
        m_menu->SetItemBorder(nullptr);
        m_menu->SetTopItemBorder(nullptr);
        m_menu->SetSubMenuBorder(nullptr);
        m_menu->SetSeparatorBorder(nullptr);
    }
    if (m_searchCtrl) {
        m_searchCtrl->SetHeader(nullptr);
        m_searchCtrl->SetBorder(nullptr);
        m_searchCtrl->GetEditSkinInfo()->Skin = nullptr;
        m_searchCtrl->GetButtonSkinInfo()->Image = ClsBitMap();
    }
    if (m_pathFinderCtrl) {
        m_pathFinderCtrl->SetHeader(nullptr);
        m_pathFinderCtrl->SetBorder(nullptr);
        m_pathFinderCtrl->GetSourceLabelSkinInfo()->Skin = nullptr;
        m_pathFinderCtrl->GetDestinationLabelSkinInfo()->Skin = nullptr;
        m_pathFinderCtrl->GetLinkLabelSkinInfo()->Skin = nullptr;
        m_pathFinderCtrl->GetSourceEditSkinInfo()->Skin = nullptr;
        m_pathFinderCtrl->GetDestinationEditSkinInfo()->Skin = nullptr;
        m_pathFinderCtrl->GetButtonSkinInfo()->Image = ClsBitMap();
    }
    if (m_toolBar) {
        m_toolBar->SetBorder(nullptr);
        for (int i = 0; i < OrvToolBarCtrl::kButtonCount; ++i) m_toolBar->GetButtonSkinInfo(i)->Image = ClsBitMap();
    }
    for (CSkinnedListView* list : {static_cast<CSkinnedListView*>(m_searchResultList),
                                   static_cast<CSkinnedListView*>(m_pathResultList.get())}) {
        if (!list) continue;
        list->SetBorder(nullptr);
        list->SetHeaderSkin(nullptr);
        list->SetMenuSkinInfo(MenuSkinInfo_t());
    }
    if (m_messagePanel) m_messagePanel->SetBorder(nullptr);
    if (m_splitter) m_splitter->SetBorder(nullptr);
    for (auto& record : m_skinRecords) record.reset();
    for (auto& record : m_controlRecords) record.reset();
}

void OrvSkinReader::ReadRecords(SkinFile& file) {
    for (int i = 0; i < srCount; ++i) m_skinRecords[i] = SkinRecordReader::GetBorderInfo(file, kSkinRecordSections[i]);
    // Top-level menu items fall back to the item border: theirs may be missing.
    for (int i = 0; i < crCount; ++i)
        m_controlRecords[i] =
            SkinRecordReader::GetControlBorderInfo(file, kControlRecordSections[i], i == crTopMenuItem);
}

void OrvSkinReader::SkinSubControls(SkinFile& file) {
    WindowPosBatch batch(kSubControlCount);
    // In this order; a sub-control that does not exist is skipped, and so is
    // one that needs another that does not.
    const bool searchAndPath = m_searchCtrl && m_pathFinderCtrl;
    MenuSkinInfo_t menu;
    SkinComponentBuilder::GetMenuSkinInfo(file, m_controlRecords[crMenuItem].get(),
                                          m_controlRecords[crMenuSeparators].get(),
                                          m_controlRecords[crSubMenuBorders].get(), menu);
    if (m_messagePanel) SkinMessagePanel(file);
    if (m_menu) {
        m_menu->SetTopItemBorder(m_controlRecords[crTopMenuItem].get());
        m_menu->SetSkinInfo(menu);
    }
    if (m_searchCtrl) SkinSearchCtrl(file);
    if (m_pathFinderCtrl) SkinPathFinderCtrl(file);
    // The popup menus of the tree and the lists look like the menu bar's
    // lists. The lists take the registered PopupMenuSkin when they realize
    // their skin: it is registered before them.
    if ((m_treeWindow && ::IsWindow(m_treeWindow)) || m_searchResultList || m_pathResultList)
        SkinComponentBuilder::RegisterPopupMenu(menu);
    if (m_searchResultList && searchAndPath) SkinSearchResultList(file, menu);
    if (m_pathResultList && m_pathFinderCtrl) SkinPathResultList(file, menu);
    if (m_splitter && searchAndPath) SkinSplitter(file);
    if (m_toolBar && m_searchCtrl && m_messagePanel) SkinToolBar(file);
    SkinTree(file);
    if (m_parent && m_parent->GetSafeHwnd()) {
        RECT client{};
        ::GetClientRect(m_parent->GetSafeHwnd(), &client);
        LayOut(batch, client.right, client.bottom, true);
    }
}

void OrvSkinReader::SkinMessagePanel(SkinFile& file) {
    m_messagePanel->SetBorder(m_controlRecords[crMessagePanel].get());
    const ClsIniFileSection* section = file.FindSection("MessagePanel", true);
    m_messagePanel->GetClockImage() = ClsBitMap();
    file.LoadBitmap(section, "ClockImage", m_messagePanel->GetClockImage());
    m_messagePanel->SetClockSteps(file.GetNumber(section, "ClockSteps", 0));
    ClsFont font;
    SkinRecordReader::GetFontInfo(file, "MessagePanel", font);
    m_messagePanel->SetGreetingFont(font);
    // Its width is the search control's (P = Ws); the layout places it.
    m_messagePanel->SetPos(m_messagePanel->GetLeft(), m_messagePanel->GetTop(), m_searchCtrlWidth,
                           m_messagePanel->GetHeight());
    m_messagePanel->RealizeSkin();
}

ClsSkinnedHeader* OrvSkinReader::MakeHeader(SkinFile& file, std::unique_ptr<ClsSkinnedHeader>& header,
                                            const char* section, ControlRecord_e border, const char* captionKey) {
    const ClsIniFileSection* control = file.FindSection(section, true);
    const int width = file.GetNumber(control, "HeaderWidth", 0);
    if (width < 1) return nullptr;
    if (!header) header = std::make_unique<ClsSkinnedHeader>();
    header->SetBorder(m_controlRecords[border].get());
    header->SetWidth(width);
    header->SetCaption(m_locale ? m_locale->GetString(captionKey) : "");
    ClsFont font;
    SkinRecordReader::GetFontInfo(file, kControlRecordSections[border], font);
    header->SetFont(font);
    return header.get();
}

void OrvSkinReader::SkinSearchCtrl(SkinFile& file) {
    const ClsIniFileSection* section = file.FindSection("OrvSearchCtrl", true);
    m_searchCtrl->SetBorder(m_controlRecords[crSearchCtrl].get());
    m_searchCtrlHeight = file.GetNumber(section, "Height", ORV_SEARCHCTRL_DEFAULT_HEIGHT);
    EditSkinInfo_t* edit = m_searchCtrl->GetEditSkinInfo();
    edit->Skin = m_skinRecords[srEdits].get();
    SetPlace(edit, ReadPlace(file, section, "EditSearch", Place{9, 9, 116, 20}));
    ButtonSkinInfo_t* button = m_searchCtrl->GetButtonSkinInfo();
    SetPlace(button, ReadPlace(file, section, "BtnSearch", Place{129, 9, 58, 20}));
    FormButtonImage(button, m_skinRecords[srButtons].get(), m_locale ? m_locale->GetString("IDS_SKIN_BTN_SEARCH") : "");
    m_searchCtrl->SetHeader(
        MakeHeader(file, m_searchHeader, "OrvSearchCtrl", crSearchCtrlHeader, "IDS_SKIN_ORV_SEARCH_CTRL"));
    m_searchCtrl->RealizeSkin();
}

void OrvSkinReader::SkinPathFinderCtrl(SkinFile& file) {
    const ClsIniFileSection* section = file.FindSection("OrvPathFinderCtrl", true);
    m_pathFinderCtrl->SetBorder(m_controlRecords[crPathFinderCtrl].get());
    m_pathFinderWidth = file.GetNumber(section, "Width", ORV_PATHFINDER_DEFAULT_WIDTH);
    m_pathFinderHeight = file.GetNumber(section, "Height", ORV_PATHFINDER_DEFAULT_HEIGHT);
    auto label = [&](LabelSkinInfo_t* record, const char* prefix, const Place& fallback) {
        record->Skin = m_skinRecords[srLabels].get();
        SetPlace(record, ReadPlace(file, section, prefix, fallback));
        record->WordWrap = file.GetNumber(section, CString(prefix) + "WWrap", 0) != 0;
    };
    label(m_pathFinderCtrl->GetSourceLabelSkinInfo(), "LabelSource", Place{8, 12, 150, 15});
    label(m_pathFinderCtrl->GetDestinationLabelSkinInfo(), "LabelDestination", Place{8, 38, 150, 15});
    LabelSkinInfo_t* link = m_pathFinderCtrl->GetLinkLabelSkinInfo();
    link->Skin = m_skinRecords[srLabels].get();
    SetPlace(link, ReadPlace(file, section, "LabelLink", Place{103, 76, 100, 15}));
    auto edit = [&](EditSkinInfo_t* record, const char* prefix, const Place& fallback) {
        record->Skin = m_skinRecords[srEdits].get();
        SetPlace(record, ReadPlace(file, section, prefix, fallback));
    };
    edit(m_pathFinderCtrl->GetSourceEditSkinInfo(), "EditSource", Place{103, 9, 188, 20});
    edit(m_pathFinderCtrl->GetDestinationEditSkinInfo(), "EditDestination", Place{103, 56, 188, 20});
    ButtonSkinInfo_t* button = m_pathFinderCtrl->GetButtonSkinInfo();
    SetPlace(button, ReadPlace(file, section, "BtnSearch", Place{233, 95, 58, 20}));
    FormButtonImage(button, m_skinRecords[srButtons].get(), m_locale ? m_locale->GetString("IDS_SKIN_BTN_SEARCH") : "");
    m_pathFinderCtrl->SetHeader(MakeHeader(file, m_pathFinderHeader, "OrvPathFinderCtrl", crPathFinderCtrlHeader,
                                           "IDS_SKIN_ORV_PATH_FINDER_CTRL"));
    m_pathFinderCtrl->RealizeSkin();
}

void OrvSkinReader::SkinResultList(SkinFile& file, CSkinnedListView& list, const MenuSkinInfo_t& menu) {
    list.SetBorder(m_controlRecords[crListViews].get());
    list.SetHeaderSkin(m_skinRecords[srListHeaders].get());
    ClsFont font;
    SkinRecordReader::GetFontInfo(file, "ListViews", font);
    list.SetTextFont(font);
    list.SetMenuSkinInfo(menu);
    list.SetLeftMargin(file.GetNumber(file.FindSection("ListHeaders", true), "LeftMargin", 5));
}

void OrvSkinReader::SkinSearchResultList(SkinFile& file, const MenuSkinInfo_t& menu) {
    SkinResultList(file, *m_searchResultList, menu);
    m_searchResultList->SetLinkColor(file.GetColor(file.FindSection("ListViews", true), "LinkColor", kDefaultLinkColor));
    const ClsIniFileSection* section = file.FindSection("OrvSearchResult", true);
    m_searchResultList->GetChatIcon() = ClsBitMap();
    file.LoadBitmap(section, "OnLineIconImage", m_searchResultList->GetChatIcon());
    const SkinBorderInfo_t* headers = m_skinRecords[srListHeaders].get();
    m_searchResultList->SetSecondRowColor(
        file.GetColor(section, "BgColor2", file.FindSection("ListHeaders", true) && headers ? headers->BgColor
                                                                                          : kDefaultSecondRowColor));
    m_searchResultList->RealizeSkin();
}

void OrvSkinReader::SkinPathResultList(SkinFile& file, const MenuSkinInfo_t& menu) {
    SkinResultList(file, *m_pathResultList, menu);
    m_pathResultList->SetSecondRowColor(
        file.GetColor(file.FindSection("OrvPathFinderResult", true), "BgColor2", kDefaultSecondRowColor));
    m_pathResultList->RealizeSkin();
}

void OrvSkinReader::SkinSplitter(SkinFile& file) {
    m_splitter->SetBorder(m_controlRecords[crVerticalSplitter].get());
    m_splitter->SetMinSize(m_searchCtrlWidth);
    m_splitterWidth =
        file.GetNumber(file.FindSection("VerticalSplitter", true), "SplitterWidth", ORV_SPLITTER_DEFAULT_WIDTH);
    m_splitter->SetSplitterWidth(m_splitterWidth);
    m_splitter->RealizeSkin();
}

void OrvSkinReader::SkinToolBar(SkinFile& file) {
    const ClsIniFileSection* section = file.FindSection("OrvToolBarCtrl", true);
    m_toolBar->SetBorder(m_controlRecords[crToolBar].get());
    for (int i = 0; i < OrvToolBarCtrl::kButtonCount; ++i) {
        ButtonSkinInfo_t* button = m_toolBar->GetButtonSkinInfo(i);
        SetPlace(button, ReadPlace(file, section, kToolButtons[i].keys, Place{56 * i, 0, 56, 56}));
        // The section's record serves this image only.
        const SkinBorderInfoPtr cells = SkinRecordReader::GetBorderInfo(file, kToolButtons[i].section);
        FormButtonImage(button, cells.get(), "");
    }
    m_toolBar->RealizeSkin();
}

void OrvSkinReader::SkinTree(SkinFile& file) {
    if (!m_treeWindow || !::IsWindow(m_treeWindow)) return;
    SkinComponentBuilder::RegisterDragImage(file);
    TREESKININFO info;
    TreeSkinBuilder::Fill(file, m_skinRecords[srTreeControl].get(), info);
    // Synchronous: the record lives on this stack, the tree copies it.
    ::SendMessageA(m_treeWindow, ORV_WM_TREE_SKIN, 0, reinterpret_cast<LPARAM>(&info));
}

void OrvSkinReader::TakeProblems(const SkinFile& file) {
    m_problems = file.GetProblems();
    for (const SkinReadProblem_t& problem : m_problems) TraceProblem(problem);
}

SkinBorderInfo_t* OrvSkinReader::GetSkinBorderInfo(SkinRecord_e which) const {
    if (which < 0 || which >= srCount) return nullptr;
    return m_skinRecords[which].get();
}

ControlBorderInfo_t* OrvSkinReader::GetControlBorderInfo(ControlRecord_e which) const {
    if (which < 0 || which >= crCount) return nullptr;
    return m_controlRecords[which].get();
}

int OrvSkinReader::GetProblemCount() const { return static_cast<int>(m_problems.size()); }

const SkinReadProblem_t* OrvSkinReader::GetProblem(int index) const {
    if (index < 0 || index >= GetProblemCount()) return nullptr;
    return &m_problems[static_cast<size_t>(index)];
}

bool OrvSkinReader::FormButtonImage(ButtonSkinInfo_t* button, const SkinBorderInfo_t* skin, const char* caption) {
    return button && SkinImageFormer::FormButtonImage(*button, skin, caption);
}

bool OrvSkinReader::FormRadioButtonImage(RadioButtonSkinInfo_t* button, const SkinBorderInfo_t* skin,
                                         const char* caption) {
    return button && SkinImageFormer::FormRadioButtonImage(*button, skin, caption);
}
