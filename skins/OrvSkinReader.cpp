#include "OrvSkinReader.h"

#include "FindHandle.h"
#include "SkinComponentBuilder.h"
#include "SkinFile.h"
#include "SkinImageFormer.h"
#include "SkinRecordReader.h"
#include "TreeSkinBuilder.h"
#include "WindowPosBatch.h"

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

OrvSkinReader::~OrvSkinReader() { PurgeSkinInfo(); }

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
        // item, top item, sub-menu and separator borders; the three menu fonts
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
    if (m_toolBar && m_searchCtrl && m_messagePanel) {
        // OrvToolBarCtrl: border, the seven button places and images
    }
    SkinTree(file);
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
