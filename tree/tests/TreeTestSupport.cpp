#include "TreeTestSupport.h"

#include "ClsIniFileParser.h"
#include "ClsIniFileSection.h"
#include "ClsIniFileToken.h"


#include "BitmapFile.h"
#include "TestSupport.h"

#include <cstdio>

namespace treetest {

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

int Number(const ClsIniFileSection* section, const char* key, int fallback) {
    const ClsIniFileToken* token = section ? section->FindToken(key) : nullptr;
    return token && token->GetType() == ITT_NUMBER ? token->GetNumber() : fallback;
}

COLORREF Color(const ClsIniFileSection* section, const char* key, COLORREF fallback) {
    const ClsIniFileToken* token = section ? section->FindToken(key) : nullptr;
    return token && token->GetType() == ITT_COLOR ? token->GetColor() : fallback;
}

std::string Text(const ClsIniFileSection* section, const char* key, const char* fallback) {
    const ClsIniFileToken* token = section ? section->FindToken(key) : nullptr;
    return token && token->GetType() == ITT_TEXT ? token->GetText() : fallback;
}

void LoadImage(const ClsIniFileSection* section, const char* key, const std::string& folder,
               ClsBitMap& image) {
    const std::string name = Text(section, key, "");
    if (!name.empty()) image.LoadFromFile((folder + name).c_str());
}

void ReadNodeStyle(const ClsIniFileParser& parser, const char* name, _NODESKINPARAM& style) {
    const ClsIniFileSection* section = parser.FindSection(name);
    if (!section) return;
    style.TextColor = Color(section, "TextColor", 0);
    style.BgColor = Color(section, "BgColor", 0);
    style.Width = Number(section, "Width", 150);
    style.Height = Number(section, "Height", 30);
    style.FontName = Text(section, "FontName", "Arial").c_str();
    style.FontSize = Number(section, "FontSize", 14);
    style.FontWeight = Number(section, "FontBold", 0) ? 700 : 400;
}

}  // namespace

std::string SkinFolder(const char* skin) { return ProgramFolder() + "Skins\\" + skin + "\\"; }

bool LoadTreeSkin(const char* skinName, TREESKININFO& skin) {
    const std::string folder = SkinFolder(skinName);
    ClsIniFileParser parser((folder + "Skin.Ini").c_str());
    const ClsIniFileSection* tree = parser.FindSection("TreeControl");
    if (!tree) return false;
    skin.RowsColor = Color(tree, "RowsColor", 0xC0C0C0);
    skin.NodeRootFrmColor = Color(tree, "NodeRootFrmColor", 0xFFFFFF);
    skin.NodeRegFrmColor = Color(tree, "NodeRegFrmColor", 0xFFFFFF);
    skin.NodeUnregFrmColor = Color(tree, "NodeUnregFrmColor", 0xFFFFFF);
    skin.NodeUnregPassiveFrmColor = Color(tree, "NodeUnregPassiveFrmColor", 0xFFFFFF);
    ReadNodeStyle(parser, "NodeRootSelected", skin.NodeRootSelected);
    ReadNodeStyle(parser, "NodeRootUnselected", skin.NodeRootUnselected);
    ReadNodeStyle(parser, "NodeRegisteredSelected", skin.NodeRegisteredSelected);
    ReadNodeStyle(parser, "NodeRegisteredUnselected", skin.NodeRegisteredUnselected);
    ReadNodeStyle(parser, "NodeUnregisteredSelected", skin.NodeUnregisteredSelected);
    ReadNodeStyle(parser, "NodeUnregisteredUnselected", skin.NodeUnregisteredUnselected);
    ReadNodeStyle(parser, "NodeUnregisteredPassiveSelected", skin.NodeUnregisteredPassiveSelected);
    ReadNodeStyle(parser, "NodeUnregisteredPassiveUnselected",
                  skin.NodeUnregisteredPassiveUnselected);
    LoadImage(tree, "RootButtonNextImage", folder, skin.RootButtonNextImage);
    LoadImage(tree, "RootButtonPreviousImage", folder, skin.RootButtonPreviousImage);
    LoadImage(tree, "OnlineIconImage", folder, skin.OnlineIconImage);
    LoadImage(tree, "MainImage", folder, skin.TreeImage);

    SkinBorderInfo_t& cells = skin.TreeControl;
    const struct {
        const char* key;
        int32_t* field;
    } numbers[] = {
        {"LeftBorderWidth", &cells.LeftBorderWidth}, {"RightBorderWidth", &cells.RightBorderWidth},
        {"TopBorderWidth", &cells.TopBorderWidth}, {"BottomBorderWidth", &cells.BottomBorderWidth},
        {"LeftTopCornerX", &cells.LeftTopCornerX}, {"LeftTopCornerY", &cells.LeftTopCornerY},
        {"RightTopCornerX", &cells.RightTopCornerX}, {"RightTopCornerY", &cells.RightTopCornerY},
        {"LeftBottomCornerX", &cells.LeftBottomCornerX}, {"LeftBottomCornerY", &cells.LeftBottomCornerY},
        {"RightBottomCornerX", &cells.RightBottomCornerX},
        {"RightBottomCornerY", &cells.RightBottomCornerY},
        {"LeftBorderX", &cells.LeftBorderX}, {"LeftBorderY", &cells.LeftBorderY},
        {"LeftBorderLength", &cells.LeftBorderLength}, {"RightBorderX", &cells.RightBorderX},
        {"RightBorderY", &cells.RightBorderY}, {"RightBorderLength", &cells.RightBorderLength},
        {"TopBorderX", &cells.TopBorderX}, {"TopBorderY", &cells.TopBorderY},
        {"TopBorderLength", &cells.TopBorderLength}, {"BottomBorderX", &cells.BottomBorderX},
        {"BottomBorderY", &cells.BottomBorderY}, {"BottomBorderLength", &cells.BottomBorderLength},
        {"ContentX", &cells.ContentX}, {"ContentY", &cells.ContentY},
        {"ContentWidth", &cells.ContentWidth}, {"ContentHeight", &cells.ContentHeight},
        {"TextSize", &cells.TextSize}, {"InterationStep", &cells.InterationStep},
    };
    for (const auto& number : numbers) *number.field = Number(tree, number.key, 0);
    cells.TextSize = Number(tree, "TextSize", 8);
    cells.BgColor = Color(tree, "BgColor", 0xC0C0C0);
    cells.TextColor = Color(tree, "TextColor", 0);
    cells.DisabledTextColor = Color(tree, "DisabledTextColor", 0x808080);
    cells.TextFont = Text(tree, "TextFont", "").c_str();
    cells.MainImage = &skin.TreeImage;
    return true;
}

ORVCONTACTINFO Contact(const std::string& first, const std::string& last, int isMember, int nodeRank) {
    ORVCONTACTINFO contact;
    contact.firstName = first.c_str();
    contact.lastName = last.c_str();
    std::string mail = first + "." + last + "@example.com";
    for (char& ch : mail) ch = static_cast<char>(::tolower(static_cast<unsigned char>(ch)));
    contact.email = mail.c_str();
    contact.id = mail.c_str();
    contact.isMember = isMember;
    contact.nodeRank = nodeRank;
    contact.occupation = "Engineer";
    OrvNormaliseContact(contact, false);
    return contact;
}

std::vector<ORVCONTACTINFO> People(int children, const std::string& rootFirst) {
    static const char* const kFirst[] = {"Bea",  "Carl", "Dora", "Emil", "Frida", "Gustav", "Hanna",
                                         "Ivar", "Jonna", "Karl", "Lena", "Mats", "Nora", "Olle",
                                         "Pia",  "Rolf", "Sara", "Tor",  "Ulla", "Vera", "Wilma"};
    static const char* const kLast[] = {"Berg", "Lind", "Holm", "Ek", "Strand", "Dahl", "Sjo"};
    std::vector<ORVCONTACTINFO> people;
    people.push_back(Contact(rootFirst, "Lovelace", 1, 5));
    people.back().chatPresence = "present";
    people.back().canChat = 1;
    for (int i = 0; i < children; ++i) {
        const int kind = i % 3;  // member, non-member with rank, passive non-member
        const int rank = kind == 0 ? (i % 10) : kind == 1 ? 2 + i % 7 : i % 2;
        ORVCONTACTINFO person = Contact(kFirst[i % 21], std::string(kLast[i % 7]) + std::to_string(i),
                                        kind == 0 ? 1 : 0, rank);
        if (kind == 0 && i % 2 == 0) {
            person.chatPresence = "present";
            OrvNormaliseContact(person, false);
        }
        people.push_back(person);
    }
    return people;
}

void PumpPending() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (CWnd::WalkPreTranslateTree(nullptr, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        PumpPending();
        if (done()) return true;
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return false;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 50)),
                                      QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

namespace {
MessageBoxCloser* g_closer = nullptr;
}  // namespace

MessageBoxCloser::MessageBoxCloser() {
    g_closer = this;
    m_timer = ::SetTimer(nullptr, 0, 20, OnTimer);
}

MessageBoxCloser::~MessageBoxCloser() {
    ::KillTimer(nullptr, m_timer);
    g_closer = nullptr;
}

void CALLBACK MessageBoxCloser::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_closer) ::EnumThreadWindows(::GetCurrentThreadId(), CloseBox, reinterpret_cast<LPARAM>(g_closer));
}

BOOL CALLBACK MessageBoxCloser::CloseBox(HWND window, LPARAM closer) {
    char className[32] = "";
    ::GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !::IsWindowVisible(window)) return TRUE;
    std::string text;
    ::EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&text));
    reinterpret_cast<MessageBoxCloser*>(closer)->m_texts.push_back(text);
    ::PostMessageA(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

BOOL CALLBACK MessageBoxCloser::CollectText(HWND child, LPARAM text) {
    char className[32] = "";
    ::GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        char buffer[512] = "";
        ::GetWindowTextA(child, buffer, sizeof buffer);
        *reinterpret_cast<std::string*>(text) += buffer;
    }
    return TRUE;
}

bool SaveArtifact(HBITMAP bitmap, const std::string& name) {
    const std::string folder = orvtest::ArtifactPath("tree");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return orvtest::SaveBitmapFile(bitmap, folder + "\\" + name);
}

std::string Describe(COLORREF color) {
    char text[32];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

int RecordingNavigator::Navigate(const ORVNAVIGATEINFO* info) {
    Request request{info->kind, info->command, info->contact != nullptr, ORVCONTACTINFO()};
    if (info->contact) request.contact = *info->contact;
    requests.push_back(request);
    if (onNavigate) onNavigate(*info);
    return 1;
}

TreeHost::TreeHost(const char* skinName, int width, int height, int x, int y) {
    RECT frame{0, 0, width, height};
    // Keep the pointer off the tree, so no node lights up by itself.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    if (!CreateEx(WS_EX_TOOLWINDOW, nullptr, "tree host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                  x, y, width, height, nullptr, nullptr))
        return;
    m_tree = std::make_unique<CTreeControl>();
    if (!m_tree->Create(this, CRect(frame), &m_navigator, nullptr)) return;
    if (skinName) {
        if (!LoadTreeSkin(skinName, m_skin)) return;
        m_reader = std::make_unique<OrvSkinReader>((ProgramFolder() + "Skins").c_str(), nullptr);
        m_reader->SetTreeWindow(m_tree->GetSafeHwnd());
        m_reader->SetSkinByDirectory((std::string(skinName) + "\\").c_str());
        const ClsSkinName* applied = m_reader->GetCurrentSkin();
        if (!applied || lstrcmpiA(applied->GetLastDirectory(), (std::string(skinName) + "\\").c_str()) != 0) return;
    }
    m_tree->ShowWindow(SW_SHOW);
    PumpPending();
    m_ready = true;
}

TreeHost::~TreeHost() {
    m_tree.reset();
    m_reader.reset();
    DestroyWindow();
}

bool TreeHost::ShowPeople(std::vector<ORVCONTACTINFO>& people, ANIM_ACTION action) {
    if (!m_tree->SetData(people.data(), static_cast<unsigned>(people.size()), action)) return false;
    return WaitIdle();
}

bool TreeHost::WaitIdle(unsigned timeoutMs) {
    return PumpUntil([&] { return m_tree->isAComplete() && !m_tree->IsLocked(); }, timeoutMs);
}

COLORREF TreeHost::FramePixel(int x, int y) {
    ClsBitMap* image = m_tree->GetViewImage();
    ClsBitMap::ScopedLock lock(*image);
    CDC* dc = image->Lock();
    return dc ? ::GetPixel(*dc, x, y) : CLR_INVALID;
}

bool TreeHost::SaveFrame(const std::string& name) {
    return SaveArtifact(m_tree->GetViewImage()->GetHandle(), name);
}

}  // namespace treetest
