#include "OrvCtrlsTestSupport.h"

#include "OrvMessagePanelCtrl.h"
#include "OrvPathFinderCtrl.h"
#include "OrvSearchCtrl.h"
#include "OrvSearchResultCtrl.h"
#include "OrvPathFinderResultCtrl.h"
#include "OrvToolBarCtrl.h"

#include "ChildProcess.h"
#include "EditsTestSupport.h"
#include "SkinFile.h"
#include "SkinRecordReader.h"

#include <cstring>

namespace orvctrlstest {

OrvLocaleManager& EnglishTexts() {
    static OrvLocaleManager texts((orvtest::ThisProgramFolder() + "Locale").c_str(), "EN");
    return texts;
}

CtrlsSkin::CtrlsSkin(const std::string& name) : m_name(name) {
    m_reader = std::make_unique<OrvSkinReader>((orvtest::ThisProgramFolder() + "Skins").c_str(), &EnglishTexts());
    m_reader->SetSkinByDirectory((m_name + "\\").c_str());
    m_description = std::make_unique<SkinFile>(Directory().c_str());
}

CtrlsSkin::~CtrlsSkin() = default;

std::string CtrlsSkin::Directory() const { return orvtest::ThisProgramFolder() + "Skins\\" + m_name + "\\"; }

bool CtrlsSkin::IsRead() const {
    const ClsSkinName* current = m_reader->GetCurrentSkin();
    return current && _stricmp(current->GetLastDirectory(), (m_name + "\\").c_str()) == 0;
}

int CtrlsSkin::Number(const char* section, const char* key, int fallback) const {
    return m_description->GetNumber(m_description->FindSection(section, true), key, fallback);
}

void CtrlsSkin::Apply(OrvToolBarCtrl& toolBar) {
    struct Button {
        const char* keys;
        const char* section;
        int x;
    };
    static const Button kButtons[OrvToolBarCtrl::kButtonCount] = {
        {"BtnNavBack", "ToolBtnNavBack", 0},
        {"BtnNavForward", "ToolBtnNavForward", 56},
        {"BtnNavHome", "ToolBtnNavHome", 112},
        {"BtnAddSource", "ToolBtnAddSource", 168},
        {"BtnAddDestination", "ToolBtnAddDestination", 224},
        {"BtnChat", "ToolBtnChat", 280},
        {"BtnEditPersonalInfo", "ToolBtnEditPersonalInfo", 336},
    };
    toolBar.SetBorder(Control(crToolBar));
    for (int i = 0; i < OrvToolBarCtrl::kButtonCount; ++i) {
        ButtonSkinInfo_t* button = toolBar.GetButtonSkinInfo(i);
        const std::string keys = kButtons[i].keys;
        button->X = Number("OrvToolBarCtrl", (keys + "X").c_str(), kButtons[i].x);
        button->Y = Number("OrvToolBarCtrl", (keys + "Y").c_str(), 0);
        button->Width = Number("OrvToolBarCtrl", (keys + "Width").c_str(), 56);
        button->Height = Number("OrvToolBarCtrl", (keys + "Height").c_str(), 56);
        SkinBorderInfoPtr cells = SkinRecordReader::GetBorderInfo(*m_description, kButtons[i].section);
        OrvSkinReader::FormButtonImage(button, cells.get(), "");
    }
    toolBar.RealizeSkin();
}

void CtrlsSkin::Apply(OrvSearchCtrl& search) {
    const char* section = "OrvSearchCtrl";
    search.SetBorder(Control(crSearchCtrl));
    EditSkinInfo_t* edit = search.GetEditSkinInfo();
    edit->Skin = Record(srEdits);
    edit->X = Number(section, "EditSearchX", 9);
    edit->Y = Number(section, "EditSearchY", 9);
    edit->Width = Number(section, "EditSearchWidth", 116);
    edit->Height = Number(section, "EditSearchHeight", 20);
    ButtonSkinInfo_t* button = search.GetButtonSkinInfo();
    button->X = Number(section, "BtnSearchX", 129);
    button->Y = Number(section, "BtnSearchY", 9);
    button->Width = Number(section, "BtnSearchWidth", 58);
    button->Height = Number(section, "BtnSearchHeight", 20);
    OrvSkinReader::FormButtonImage(button, Record(srButtons), EnglishTexts().GetString("IDS_SKIN_BTN_SEARCH"));
    search.SetPos(search.GetLeft(), search.GetTop(), Number(section, "Width", 196), Number(section, "Height", 54));
    search.RealizeSkin();
}

void CtrlsSkin::Apply(OrvPathFinderCtrl& pathFinder) {
    const char* section = "OrvPathFinderCtrl";
    pathFinder.SetBorder(Control(crPathFinderCtrl));
    auto label = [&](LabelSkinInfo_t* record, const char* name, int x, int y, int width, int height) {
        const std::string key = name;
        record->Skin = Record(srLabels);
        record->X = Number(section, (key + "X").c_str(), x);
        record->Y = Number(section, (key + "Y").c_str(), y);
        record->Width = Number(section, (key + "Width").c_str(), width);
        record->Height = Number(section, (key + "Height").c_str(), height);
        record->WordWrap = Number(section, (key + "WWrap").c_str(), 0) != 0;
    };
    label(pathFinder.GetSourceLabelSkinInfo(), "LabelSource", 8, 12, 150, 15);
    label(pathFinder.GetDestinationLabelSkinInfo(), "LabelDestination", 8, 38, 150, 15);
    label(pathFinder.GetLinkLabelSkinInfo(), "LabelLink", 103, 76, 100, 15);
    auto edit = [&](EditSkinInfo_t* record, const char* name, int x, int y, int width, int height) {
        const std::string key = name;
        record->Skin = Record(srEdits);
        record->X = Number(section, (key + "X").c_str(), x);
        record->Y = Number(section, (key + "Y").c_str(), y);
        record->Width = Number(section, (key + "Width").c_str(), width);
        record->Height = Number(section, (key + "Height").c_str(), height);
    };
    edit(pathFinder.GetSourceEditSkinInfo(), "EditSource", 103, 9, 188, 20);
    edit(pathFinder.GetDestinationEditSkinInfo(), "EditDestination", 103, 56, 188, 20);
    ButtonSkinInfo_t* button = pathFinder.GetButtonSkinInfo();
    button->X = Number(section, "BtnSearchX", 233);
    button->Y = Number(section, "BtnSearchY", 95);
    button->Width = Number(section, "BtnSearchWidth", 58);
    button->Height = Number(section, "BtnSearchHeight", 20);
    OrvSkinReader::FormButtonImage(button, Record(srButtons), EnglishTexts().GetString("IDS_SKIN_BTN_SEARCH"));
    pathFinder.SetPos(pathFinder.GetLeft(), pathFinder.GetTop(), Number(section, "Width", 300),
                      Number(section, "Height", 124));
    pathFinder.RealizeSkin();
}

void CtrlsSkin::Apply(OrvMessagePanelCtrl& panel) {
    panel.SetBorder(Control(crMessagePanel));
    const ClsIniFileSection* section = m_description->FindSection("MessagePanel", true);
    m_description->LoadBitmap(section, "ClockImage", panel.GetClockImage());
    panel.SetClockSteps(m_description->GetNumber(section, "ClockSteps", 0));
    ClsFont font;
    SkinRecordReader::GetFontInfo(*m_description, "MessagePanel", font);
    panel.SetGreetingFont(font);
    panel.RealizeSkin();
}

const ClsIniFileSection* CtrlsSkin::ApplyListSkin(CSkinnedListView& list, const char* sectionName,
                                                  COLORREF secondRowDefault) {
    list.SetBorder(Control(crListViews));
    list.SetHeaderSkin(Record(srListHeaders));
    ClsFont font;
    SkinRecordReader::GetFontInfo(*m_description, "ListViews", font);
    list.SetTextFont(font);
    list.SetLeftMargin(Number("ListHeaders", "LeftMargin", 5));
    const ClsIniFileSection* section = m_description->FindSection(sectionName, true);
    list.SetSecondRowColor(m_description->GetColor(section, "BgColor2", secondRowDefault));
    return section;
}

void CtrlsSkin::Apply(OrvSearchResultCtrl& list) {
    const SkinBorderInfo_t* headers = Record(srListHeaders);
    const ClsIniFileSection* section = ApplyListSkin(
        list, "OrvSearchResult", headers ? headers->BgColor : OrvSearchResultCtrl::kDefaultSecondRowColor);
    m_description->LoadBitmap(section, "OnLineIconImage", list.GetChatIcon());
    list.RealizeSkin();
}

void CtrlsSkin::Apply(OrvPathFinderResultCtrl& list) {
    ApplyListSkin(list, "OrvPathFinderResult", CSkinnedListView::kDefaultSecondRowColor);
    list.RealizeSkin();
}

RECT RowBounds(HWND list, int row) {
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
    return bounds;
}

bool RedrawAndSettle(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return edittest::WaitFor([] { return ::GetQueueStatus(QS_PAINT) == 0; });
}

static NavigateCall Copy(const ORVNAVIGATEINFO* info) {
    NavigateCall call;
    if (info) {
        call.kind = info->kind;
        call.command = info->command;
        call.hasContact = info->contact != nullptr;
        if (info->contact) call.contact = *info->contact;
    }
    return call;
}

void RecordingSearchResult::OnResult(const ORVNAVIGATEINFO* info) { calls.push_back(Copy(info)); }

void RecordingPathResult::OnPathResult(const ORVNAVIGATEINFO* info) { calls.push_back(Copy(info)); }

void RightClick() {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

int RecordingNavigate::Navigate(const ORVNAVIGATEINFO* info) {
    calls.push_back(Copy(info));
    return 1;
}

void RecordingSearchPath::SearchPath(const ORVPATHREQUEST* request) {
    PathRequestCopy copy;
    if (request) {
        copy.destinationTyped = request->destinationTyped;
        copy.source = request->source.GetString();
        copy.destination = request->destination.GetString();
        copy.hasSourceId = request->sourceId != nullptr;
        if (request->sourceId) copy.sourceId = request->sourceId;
        copy.hasDestinationId = request->destinationId != nullptr;
        if (request->destinationId) copy.destinationId = request->destinationId;
    }
    requests.push_back(copy);
}

POINT ClientOrigin(HWND control, HWND host) {
    POINT origin{0, 0};
    ::ClientToScreen(control, &origin);
    RECT hostPlace{};
    ::GetWindowRect(host, &hostPlace);
    return POINT{origin.x - hostPlace.left, origin.y - hostPlace.top};
}

ORVCONTACTINFO Person(const char* id, const char* first, const char* last, const char* email, int emailPrivate,
                      int canChat, const char* occupation) {
    ORVCONTACTINFO person;
    person.id = id;
    person.isMember = 1;
    person.firstName = first;
    person.lastName = last;
    person.email = email;
    person.occupation = occupation;
    person.emailPrivate = emailPrivate;
    person.chatPresence = canChat ? "on" : "";
    person.canChat = canChat;
    return person;
}

}  // namespace orvctrlstest
