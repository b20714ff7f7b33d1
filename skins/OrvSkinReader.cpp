#include "OrvSkinReader.h"

#include "FindHandle.h"
#include "SkinComponentBuilder.h"
#include "SkinFile.h"
#include "SkinImageFormer.h"
#include "SkinRecordReader.h"
#include "TreeSkinBuilder.h"
#include "WindowPosBatch.h"

#include "ClsSkinnedMainMenu.h"
#include "CTreeControl.h"
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
    : m_locale(locale), m_searchCtrlWidth(kDefaultSearchCtrlWidth) {
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
    // The windows first, each by its close command, then the objects.
    if (m_menu && m_menu->GetSafeHwnd()) m_menu->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    if (m_tree && m_tree->GetSafeHwnd()) m_tree->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    m_treeWindow = nullptr;
    m_tree.reset();
    m_menu.reset();
}

bool OrvSkinReader::CreateControls(const CreateControls_t* parameters) {
    if (!parameters || !parameters->Parent || !parameters->Parent->GetSafeHwnd() || m_parent) return false;
    m_parent = parameters->Parent;
    m_menu = std::make_unique<ClsSkinnedMainMenu>(m_parent->GetSafeHwnd());
    m_menu->GetHandleC();
    // The search and path finder controls, the two result lists, the toolbar
    // and the message panel come here, in this order, once their library is
    // part of the program.
    m_tree = std::make_unique<CTreeControl>();
    if (!m_tree->Create(m_parent, CRect(0, 0, 0, 0), parameters->Navigate, nullptr)) {
        m_tree.reset();
        return false;
    }
    m_tree->ShowWindow(SW_SHOW);
    m_tree->UpdateWindow();
    m_treeWindow = m_tree->GetSafeHwnd();
    // The splitter (result list left, tree right) follows the tree; until
    // the first skin its minimum size is 900.
    m_splitterMinSize = 900;
    return m_menu->GetSafeHwnd() != nullptr;
}

void OrvSkinReader::LayOut(WindowPosBatch& batch, int width, int height, bool skinChange) {
    // The quantities; a control that does not exist takes no room.
    const int hm = m_menu ? m_menu->GetItems()->GetMaxHeight() : 0;
    const int ws = m_searchCtrlWidth;
    const int hs = m_searchCtrl ? ORV_SEARCHCTRL_DEFAULT_HEIGHT : 0;
    const int hp = m_pathFinderCtrl ? ORV_PATHFINDER_DEFAULT_HEIGHT : 0;
    const int panel = m_messagePanel ? ws : 0;
    const int y = hm + hs;
    (void)skinChange;  // the message panel's height: Hm + Hs on a change, kept on a resize
    if (m_menu && batch.Get()) batch.Update(m_menu->SetPos(batch.Get(), 0, 0, width - panel, hm));
    // Search control (0, Hm, Ws, Hs), only on a skin change; toolbar (Ws,
    // Hm, W - Ws - P, Hs); splitter (0, Y, W, H - Hp - Y); search result
    // list (0, Y, S, path finder top - Y); path finder (0, H - Hp, Wp, Hp);
    // path result list (Wp, H - Hp, W - Wp, Hp): with their controls.
    if (m_tree && batch.Get()) {
        int left = 0;
        if (m_splitter)
            left = m_splitterPos + m_splitterWidth;
        else if (m_searchResultList)
            left = ws;
        batch.Update(m_tree->SetPos(batch.Get(), left, y, width - left, height - hp - y));
    }
}

LRESULT OrvSkinReader::ParentSizing(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const int frameX = ::GetSystemMetrics(SM_CXSIZEFRAME);
        const int frameY = ::GetSystemMetrics(SM_CYSIZEFRAME);
        if (info && m_pathFinderCtrl) info->ptMinTrackSize.x = ORV_PATHFINDER_DEFAULT_WIDTH + 2 * frameX + 200;
        if (info && m_pathFinderCtrl && m_searchCtrl)
            info->ptMinTrackSize.y = m_searchCtrlWidth / 2 + ORV_PATHFINDER_DEFAULT_HEIGHT +
                                     ::GetSystemMetrics(SM_CYCAPTION) + 2 * frameY +
                                     ORV_SEARCHCTRL_DEFAULT_HEIGHT + 100;
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

// The toolbar and the search and path finder controls carry these switches;
// without them they read as off.
void OrvSkinReader::SetToolTipEnabled(bool) {}
void OrvSkinReader::SetToolTipBalloonEnabled(bool) {}
bool OrvSkinReader::GetToolTipEnabled() const { return false; }
bool OrvSkinReader::GetToolTipBalloonEnabled() const { return m_searchCtrl != nullptr; }

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
    if (m_menu) {
        m_menu->SetItemBorder(nullptr);
        m_menu->SetTopItemBorder(nullptr);
        m_menu->SetSubMenuBorder(nullptr);
        m_menu->SetSeparatorBorder(nullptr);
    }
    // The sub-controls hold no record yet: they take theirs with their
    // libraries (menu borders, headers, button images, list and splitter
    // borders, the panel's clock) and leave them here first.
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
    // one that needs another that does not. Only the tree exists so far: the
    // others take their sections here when CreateControls makes them.
    const bool searchAndPath = m_searchCtrl && m_pathFinderCtrl;
    if (m_messagePanel) {
        // MessagePanel: border, clock image and steps, greeting font
    }
    if (m_menu) {
        MenuSkinInfo_t menu;
        SkinComponentBuilder::GetMenuSkinInfo(file, m_controlRecords[crMenuItem].get(),
                                              m_controlRecords[crMenuSeparators].get(),
                                              m_controlRecords[crSubMenuBorders].get(), menu);
        m_menu->SetTopItemBorder(m_controlRecords[crTopMenuItem].get());
        m_menu->SetSkinInfo(menu);
    }
    if (m_searchCtrl) {
        // OrvSearchCtrl: border, height, edit and button places, button image, header
    }
    if (m_pathFinderCtrl) {
        // OrvPathFinderCtrl: border, size, labels, edits, link, button image, header
    }
    if (m_searchResultList && searchAndPath) {
        // ListHeaders, ListViews, menu records, OrvSearchResult
    }
    if (m_pathResultList && m_pathFinderCtrl) {
        // as the search result list, with OrvPathFinderResult
    }
    if (m_splitter && searchAndPath) {
        // VerticalSplitter: border, minimum size, width
    }
    m_splitterMinSize = m_searchCtrlWidth;
    if (m_toolBar && m_searchCtrl && m_messagePanel) {
        // OrvToolBarCtrl: border, the seven button places and images
    }
    SkinTree(file);
    if (m_parent && m_parent->GetSafeHwnd()) {
        RECT client{};
        ::GetClientRect(m_parent->GetSafeHwnd(), &client);
        LayOut(batch, client.right, client.bottom, true);
    }
}

void OrvSkinReader::SkinTree(SkinFile& file) {
    if (!m_treeWindow || !::IsWindow(m_treeWindow)) return;
    // The popup menus look like the main menu's lists: its fonts and its
    // item, separator and sub-menu borders.
    MenuSkinInfo_t menu;
    SkinComponentBuilder::GetMenuSkinInfo(file, m_controlRecords[crMenuItem].get(),
                                          m_controlRecords[crMenuSeparators].get(),
                                          m_controlRecords[crSubMenuBorders].get(), menu);
    SkinComponentBuilder::RegisterPopupMenu(menu);
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
