#include "GalleryWindow.h"

#include "GalleryPanel.h"
#include "GalleryResources.h"

#include "CActiveSkinnedLabel.h"
#include "CSMessageBox.h"
#include "CSkin.h"
#include "CSkinnedButton.h"
#include "CSkinnedEdit.h"
#include "CSkinnedLabel.h"
#include "CSkinnedListView.h"
#include "CSkinnedMemo.h"
#include "CSkinnedRadioButton.h"
#include "CSkinnedSplitter.h"
#include "ClsRichEdit.h"
#include "ClsSkinnedHeader.h"
#include "ClsSkinnedMainMenu.h"
#include "OrvSkinReader.h"

#include "CPaintDC.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kMargin = 16;
constexpr int kLeftColumn = 300;

// Values of the skin's description read directly: the few that no record
// carries (fonts, sizes).
CString ProfileText(const CString& file, const char* section, const char* key, const char* fallback) {
    char text[256] = "";
    ::GetPrivateProfileStringA(section, key, fallback, text, sizeof text, file);
    std::string value = text;
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return CString(value.c_str());
}

int ProfileNumber(const CString& file, const char* section, const char* key, int fallback) {
    return static_cast<int>(::GetPrivateProfileIntA(section, key, fallback, file));
}

COLORREF ProfileColor(const CString& file, const char* section, const char* key, COLORREF fallback) {
    const CString text = ProfileText(file, section, key, "");
    if (text.GetLength() != 7 || text[0] != '#') return fallback;
    const unsigned long value = std::strtoul(static_cast<const char*>(text) + 1, nullptr, 16);
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

void ReadFont(const CString& file, const char* section, ClsFont& font) {
    font.SetName(ProfileText(file, section, "FontName", "Arial"));
    font.SetHeight(ProfileNumber(file, section, "FontSize", 13));
    font.SetColor(ProfileColor(file, section, "TextColor", RGB(0, 0, 0)));
    font.SetBold(ProfileNumber(file, section, "TextBold", 0) != 0);
}

// A header button: four bands of 16 x 16 (normal, hovered, pressed,
// disabled), the glyph in ink on magenta, the hovered and pressed ones on a
// plate.
void MakeHeaderButtonImage(ClsBitMap& image, HeaderButton_e kind, COLORREF ink, COLORREF plate) {
    constexpr int size = 16;
    if (!image.AllocateBitMap(size, 4 * size, pf32bit)) return;
    CDC* dc = image.Lock();
    if (!dc) return;
    const HDC into = dc->GetSafeHdc();
    dc->FillSolidRect(0, 0, size, 4 * size, ClsBitMap::kTransparentKey);
    for (int band = 0; band < 4; ++band) {
        const int top = band * size;
        if (band == 1 || band == 2) {
            const COLORREF fill = band == 1 ? plate : RGB(GetRValue(plate) * 3 / 4, GetGValue(plate) * 3 / 4,
                                                           GetBValue(plate) * 3 / 4);
            dc->FillSolidRect(1, top + 1, size - 2, size - 2, fill);
        }
        const COLORREF color = band == 3 ? RGB(160, 160, 160) : ink;
        auto line = [&](int x0, int y0, int x1, int y1) {
            HPEN pen = ::CreatePen(PS_SOLID, 2, color);
            HGDIOBJ old = ::SelectObject(into, pen);
            ::MoveToEx(into, x0, top + y0, nullptr);
            ::LineTo(into, x1, top + y1);
            ::SelectObject(into, old);
            ::DeleteObject(pen);
        };
        switch (kind) {
        case hbMinimize: line(4, 11, 12, 11); break;
        case hbMaximize:
            line(4, 4, 12, 4);
            line(4, 12, 12, 12);
            line(4, 4, 4, 12);
            line(12, 4, 12, 12);
            break;
        case hbRestore:
            line(4, 7, 10, 7);
            line(4, 12, 10, 12);
            line(4, 7, 4, 12);
            line(10, 7, 10, 12);
            line(7, 4, 12, 4);
            line(12, 4, 12, 9);
            break;
        case hbClose:
            line(4, 4, 12, 12);
            line(12, 4, 4, 12);
            break;
        default: break;
        }
    }
    image.Unlock();
}

// A smiley of 16 x 16 on magenta; the caller deletes it.
HBITMAP MakeSmiley() {
    ClsBitMap image;
    if (!image.AllocateBitMap(16, 16, pf32bit)) return nullptr;
    CDC* dc = image.Lock();
    if (!dc) return nullptr;
    const HDC into = dc->GetSafeHdc();
    dc->FillSolidRect(0, 0, 16, 16, ClsBitMap::kTransparentKey);
    HBRUSH face = ::CreateSolidBrush(RGB(255, 204, 0));
    HGDIOBJ oldBrush = ::SelectObject(into, face);
    HGDIOBJ oldPen = ::SelectObject(into, ::GetStockObject(BLACK_PEN));
    ::Ellipse(into, 0, 0, 16, 16);
    ::SelectObject(into, ::GetStockObject(BLACK_BRUSH));
    ::Ellipse(into, 4, 4, 7, 8);
    ::Ellipse(into, 9, 4, 12, 8);
    ::Arc(into, 3, 5, 13, 13, 3, 10, 13, 10);
    ::SelectObject(into, oldPen);
    ::SelectObject(into, oldBrush);
    ::DeleteObject(face);
    image.Unlock();
    std::unique_ptr<ClsBitMap> copy = image.Clone();
    return copy ? static_cast<HBITMAP>(copy->Detach()) : nullptr;
}

}  // namespace

GalleryWindow::GalleryWindow(const char* skinsRoot) : m_skinsRoot(skinsRoot) {
    m_reader = std::make_unique<OrvSkinReader>(skinsRoot, nullptr);
}

GalleryWindow::~GalleryWindow() {
    DestroyContent();
    if (m_menu) m_menu->SetSkinInfo(MenuSkinInfo_t{});
    m_menu.reset();
    if (m_hWnd) DestroyWindow();
}

BOOL GalleryWindow::PreCreateWindow(CREATESTRUCTA& create) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    if (!::GetClassInfoExA(module, kWindowClass, &existing)) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = module;
        windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
        windowClass.lpszClassName = kWindowClass;
        if (!::RegisterClassExA(&windowClass)) return FALSE;
    }
    create.lpszClass = kWindowClass;
    create.hInstance = module;
    return TRUE;
}

bool GalleryWindow::Create(const char* skin) {
    RECT frame{0, 0, kClientWidth, kClientHeight};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    ::AdjustWindowRectEx(&frame, style, FALSE, 0);
    if (!CreateEx(0, kWindowClass, "Orvane controls gallery", style, 40, 30, frame.right - frame.left,
                  frame.bottom - frame.top, nullptr, nullptr))
        return false;
    // The reader hands the tree's record to its window; the gallery has no
    // tree and lets that message go, but takes the popup look the reader
    // registers with it.
    m_reader->SetTreeWindow(m_hWnd);
    m_menu = std::make_unique<ClsSkinnedMainMenu>(m_hWnd);
    m_menu->LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_GALLERY_MENU));
    m_menu->SetCmdReceiverHandle(m_hWnd);
    ApplySkin(skin);
    m_skinner.Install(m_hWnd, "MainFrame");
    ShowWindow(SW_SHOW);
    UpdateWindow();
    return true;
}

bool GalleryWindow::ApplySkin(const char* skin) {
    DestroyContent();
    if (m_menu) m_menu->SetSkinInfo(MenuSkinInfo_t{});
    m_reader->SetSkinByDirectory(skin ? (std::string(skin) + "\\").c_str() : nullptr);
    const ClsSkinName* current = m_reader->GetCurrentSkin();
    if (!current) return false;
    m_skinFile = CString(current->GetDirectory()) + "Skin.Ini";
    SkinMenu();
    BuildContent();
    ::SendMessageA(m_hWnd, CSkin::WM_SKIN_CHANGED, 0, 0);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
    return true;
}

void GalleryWindow::SkinMenu() {
    if (!m_menu) return;
    m_menuLook.Reset(static_cast<PopupMenuSkin*>(CSkin::GetInstance()->GetComponent(PopupMenuSkin::kComponentName)));
    if (m_menuLook) m_menu->SetSkinInfo(m_menuLook->GetInfo());
    m_menu->SetTopItemBorder(m_reader->GetControlBorderInfo(crTopMenuItem));
    m_menu->SkinUpdated();
    m_menu->SetPos(0, 0, kClientWidth, m_menu->GetItems()->GetMaxHeight());
    m_menu->GetHandleC();
}

void GalleryWindow::DestroyContent() {
    m_list = nullptr;
    m_splitter.reset();
    m_headerPanel.reset();
    m_header.reset();
    m_chat.reset();
    m_memo.reset();
    m_edit.reset();
    m_radios.clear();
    m_buttons.clear();
    m_labels.clear();
}

void GalleryWindow::BuildContent() {
    const int top = (m_menu ? m_menu->GetItems()->GetMaxHeight() : 0) + 12;
    BuildButtons(kMargin, top);
    BuildFields(kMargin, top + 130);
    const int right = kMargin + kLeftColumn + 24;
    BuildHeaderPanel(RECT{right, top, kClientWidth - kMargin, top + 86});
    BuildList(RECT{right, top + 100, kClientWidth - kMargin, kClientHeight - kMargin});
}

void GalleryWindow::BuildButtons(int x, int y) {
    SkinBorderInfo_t* labels = m_reader->GetSkinBorderInfo(srLabels);
    const char* titles[] = {"Buttons: normal, hovered, pressed, disabled", "Radio buttons"};
    for (int i = 0; i < 2; ++i) {
        m_labelRecords[i] = LabelSkinInfo_t{x, y + i * 62, kLeftColumn, 16, 0, labels};
        m_labels.push_back(std::make_unique<CSkinnedLabel>(titles[i]));
        m_labels.back()->SetSkinInfo(&m_labelRecords[i]);
    }
    const char* captions[] = {"Normal", "Hovered", "Pressed", "Disabled"};
    const int width = 70, height = 24, step = 76;
    for (int i = 0; i < 4; ++i) {
        ButtonSkinInfo_t& record = m_buttonRecords[i];
        record.X = x + i * step;
        record.Y = y + 22;
        record.Width = width;
        record.Height = height;
        OrvSkinReader::FormButtonImage(&record, m_reader->GetSkinBorderInfo(srButtons), captions[i]);
    }
    // Hovered and pressed last only while the pointer is there: their
    // bands are shown as pictures.
    m_bandPlaces[0] = POINT{m_buttonRecords[1].X, m_buttonRecords[1].Y};
    m_bandPlaces[1] = POINT{m_buttonRecords[2].X, m_buttonRecords[2].Y};
    const UINT ids[] = {kNormalButtonId, kDisabledButtonId};
    const int live[] = {0, 3};
    for (int i = 0; i < 2; ++i) {
        auto button = std::make_unique<CSkinnedButton>(&m_buttonRecords[live[i]]);
        button->Create(this, ids[i]);
        m_buttons.push_back(std::move(button));
    }
    m_buttons[1]->SetEnabled(false);

    const char* radioCaptions[] = {"Members only", "Everybody"};
    for (int i = 0; i < 2; ++i) {
        RadioButtonSkinInfo_t& record = m_radioRecords[i];
        record.X = x + i * 150;
        record.Y = y + 84;
        record.Width = 140;
        record.Height = 20;
        OrvSkinReader::FormRadioButtonImage(&record, m_reader->GetSkinBorderInfo(srRadioButtons), radioCaptions[i]);
        m_radios.push_back(std::make_unique<CSkinnedRadioButton>(this, kRadioFirstId + i, i == 0, &record));
    }
    m_radios[1]->SetCheck(BST_CHECKED);
}

void GalleryWindow::BuildFields(int x, int y) {
    SkinBorderInfo_t* labels = m_reader->GetSkinBorderInfo(srLabels);
    SkinBorderInfo_t* edits = m_reader->GetSkinBorderInfo(srEdits);
    struct Title {
        const char* text;
        int dy;
    } titles[] = {{"Labels", 0}, {"Edit and memo", 50}, {"Rich text", 190}};
    for (const Title& title : titles) {
        LabelSkinInfo_t& record = m_labelRecords[m_labels.size()];
        record = LabelSkinInfo_t{x, y + title.dy, kLeftColumn, 16, 0, labels};
        m_labels.push_back(std::make_unique<CSkinnedLabel>(title.text));
        m_labels.back()->SetSkinInfo(&record);
    }
    LabelSkinInfo_t& plain = m_labelRecords[m_labels.size()];
    plain = LabelSkinInfo_t{x, y + 22, 120, 16, 0, labels};
    m_labels.push_back(std::make_unique<CSkinnedLabel>("&Source:"));
    m_labels.back()->SetSkinInfo(&plain);
    LabelSkinInfo_t& link = m_labelRecords[m_labels.size()];
    link = LabelSkinInfo_t{x + 130, y + 22, 170, 16, 0, labels};
    m_labels.push_back(std::make_unique<CActiveSkinnedLabel>("Who is this?"));
    m_labels.back()->SetSkinInfo(&link);

    m_editRecord = EditSkinInfo_t{x, y + 72, kLeftColumn, 24, edits};
    m_edit = std::make_unique<CSkinnedEdit>(this, kEditId, &m_editRecord);
    m_edit->SetWindowText("ada.lovelace@example.com");
    m_memoRecord = EditSkinInfo_t{x, y + 104, kLeftColumn, 70, edits};
    m_memo = std::make_unique<CSkinnedMemo>(this, kMemoId, &m_memoRecord);
    m_memo->SetWindowText("A room for tea and talk,\r\nopen every evening.");

    m_chat = std::make_unique<ClsRichEdit>();
    if (m_chat->Create(this, kRichEditId, RECT{x, y + 212, x + kLeftColumn, y + 332}, true)) {
        if (HBITMAP smiley = MakeSmiley()) {
            m_chat->AddSmiley(":)", smiley);
            ::DeleteObject(smiley);
        }
        m_chat->AddSystemMessage("Entering the \"Tea\" room...", ttSystemInfo);
        m_chat->AddSentence("Ada", '1', "Good evening :)");
        m_chat->AddSentence("Charles", '9', "Evening, Ada");
        m_chat->AddSentence("Grace", '4', "Hello both :-)");
        m_chat->AddSystemMessage("Charles has left the chat.", ttSystemError);
    }

    ButtonSkinInfo_t& boxButton = m_buttonRecords[4];
    boxButton.X = x;
    boxButton.Y = y + 344;
    boxButton.Width = 150;
    boxButton.Height = 26;
    OrvSkinReader::FormButtonImage(&boxButton, m_reader->GetSkinBorderInfo(srButtons), "Show a message box");
    auto button = std::make_unique<CSkinnedButton>(&boxButton);
    button->Create(this, kMessageBoxButtonId);
    m_buttons.push_back(std::move(button));
}

void GalleryWindow::BuildHeaderPanel(const RECT& place) {
    ControlBorderInfo_t* headerFrame = m_reader->GetControlBorderInfo(crSearchCtrlHeader);
    m_header = std::make_unique<ClsSkinnedHeader>();
    m_header->SetBorder(headerFrame);
    m_header->SetCaption("Find people");
    ClsFont font;
    ReadFont(m_skinFile, "OrvSearchCtrlHeader", font);
    m_header->SetFont(font);
    m_header->SetWidth(ProfileNumber(m_skinFile, "OrvSearchCtrl", "HeaderWidth", 22));
    const COLORREF ink = font.GetColor();
    const COLORREF plate = headerFrame ? headerFrame->BgColor : RGB(200, 200, 200);
    for (HeaderButton_e kind : {hbMinimize, hbMaximize, hbRestore, hbClose})
        MakeHeaderButtonImage(m_header->GetButton(kind)->GetImage(), kind, ink, plate);
    m_header->SetButtonMinimize(true);
    m_header->SetButtonMaximize(true);
    m_header->SetButtonClose(true);

    ControlBorderInfo_t* body = m_reader->GetControlBorderInfo(crSearchCtrl);
    const COLORREF text = ProfileColor(m_skinFile, "Labels", "TextColor", RGB(40, 40, 40));
    m_headerPanel = std::make_unique<GalleryPanel>(m_hWnd, kHeaderPanelId, "A header with its buttons", text);
    m_headerPanel->SetBorder(body);
    m_headerPanel->SetHeader(m_header.get());
    m_headerPanel->SetPos(place.left, place.top, place.right - place.left, place.bottom - place.top);
    m_headerPanel->RealizeSkin();
}

void GalleryWindow::BuildList(const RECT& place) {
    m_splitter = std::make_unique<CSkinnedSplitter>(m_hWnd);
    m_splitter->SetPos(place.left, place.top, place.right - place.left, place.bottom - place.top);
    m_splitter->SetBorder(m_reader->GetControlBorderInfo(crVerticalSplitter));
    m_splitter->SetSplitterWidth(ProfileNumber(m_skinFile, "VerticalSplitter", "SplitterWidth", 6));
    m_splitter->SetMinSize(180);

    auto* list = new CSkinnedListView(m_hWnd, kListId);
    list->SetPos(0, 0, 10, place.bottom - place.top);
    m_splitter->AddLeft(list);
    list->SetBorder(m_reader->GetControlBorderInfo(crListViews));
    list->SetHeaderSkin(m_reader->GetSkinBorderInfo(srListHeaders));
    list->SetLeftMargin(ProfileNumber(m_skinFile, "ListHeaders", "LeftMargin", CSkinnedListView::kDefaultLeftMargin));
    ClsFont font;
    ReadFont(m_skinFile, "ListViews", font);
    list->SetTextFont(font);
    list->GetHandleC();
    list->InsertColumn(0, "Name", 130);
    list->InsertColumn(1, "Town", 90);
    list->InsertColumn(2, "Links", 60);
    const char* rows[][3] = {{"Grace Hopper", "Arlington", "12"}, {"Ada Lovelace", "London", "31"},
                             {"Charles Babbage", "London", "7"},  {"Alan Turing", "Wilmslow", "22"},
                             {"Edsger Dijkstra", "Nuenen", "9"},   {"Barbara Liskov", "Boston", "15"}};
    for (int i = 0; i < 6; ++i) {
        list->InsertItem(i, rows[i][0]);
        list->SetItemText(i, 1, rows[i][1]);
        list->SetItemText(i, 2, rows[i][2]);
    }
    list->SortByColumn(0, true);
    list->SelectItem(1);
    list->RealizeSkin();
    m_list = list;

    const COLORREF text = ProfileColor(m_skinFile, "ListViews", "TextColor", RGB(40, 40, 40));
    auto* tree = new GalleryPanel(m_hWnd, kTreePaneId, "The contact-tree goes here", text);
    tree->SetPos(0, 0, 10, place.bottom - place.top);
    m_splitter->AddRight(tree);
    tree->SetBorder(m_reader->GetControlBorderInfo(crMessagePanel));
    tree->GetHandleC();
    tree->RealizeSkin();

    m_splitter->GetHandleC();
    ::SetWindowLongPtrA(m_splitter->GetSafeHwndC(), GWLP_ID, kSplitterId);
    m_splitter->SetSplitterPos((place.right - place.left) * 11 / 20);
    m_splitter->RealizeSkin();
}

BOOL GalleryWindow::OnEraseBkgnd(CDC* dc) {
    RECT client{};
    GetClientRect(&client);
    const SkinBorderInfo_t* labels = m_reader->GetSkinBorderInfo(srLabels);
    dc->FillSolidRect(client, labels ? labels->BgColor : ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void GalleryWindow::OnPaint() {
    CPaintDC dc(this);
    for (auto& label : m_labels) label->Draw(dc.GetSafeHdc());
    // The hovered (1) and pressed (2) bands of their buttons.
    for (int i = 0; i < 2; ++i) {
        const ButtonSkinInfo_t& record = m_buttonRecords[i + 1];
        if (!record.Image.GetIsValid()) continue;
        record.Image.Draw(dc.GetSafeHdc(), m_bandPlaces[i].x, m_bandPlaces[i].y, record.Width, record.Height, 0,
                          (i + 1) * record.Height);
    }
}

BOOL GalleryWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case ID_GALLERY_SKIN_DAYLIGHT: ApplySkin("Daylight"); return TRUE;
    case ID_GALLERY_SKIN_GRAPHITE: ApplySkin("Graphite"); return TRUE;
    case ID_GALLERY_SORT_NAME:
        if (m_list) m_list->SortByColumn(0, !(m_list->GetSortColumn() == 0 && m_list->GetSortAscending()));
        return TRUE;
    case ID_GALLERY_SORT_TOWN:
        if (m_list) m_list->SortByColumn(1, !(m_list->GetSortColumn() == 1 && m_list->GetSortAscending()));
        return TRUE;
    case ID_GALLERY_MESSAGE_BOX:
    case kMessageBoxButtonId: ShowMessageBox(); return TRUE;
    case ID_GALLERY_EXIT: OnClose(); return TRUE;
    default: return CWnd::OnCommand(wParam, lParam);
    }
}

void GalleryWindow::ShowMessageBox() {
    CSMessageBox::MessageBoxA(m_hWnd, "Every window of the program is drawn from its skin.", "Orvane gallery",
                              MB_OK | MB_ICONINFORMATION);
}

void GalleryWindow::OnClose() { ::PostQuitMessage(0); }
