#include "OrvPathFinderCtrl.h"

#include "OrvBackgroundPainter.h"
#include "OrvWindowClass.h"

#include "OrvISearchPath.h"
#include "OrvLocaleManager.h"
#include "OrvMessages.h"

#include "CMemDC.h"
#include "CPaintDC.h"

namespace {

// A quick second press of a button comes as a double click: to the member
// it is one more click.
bool IsClick(UINT code) { return code == BN_CLICKED || code == BN_DOUBLECLICKED; }

CString LocaleText(OrvLocaleManager* locale, const char* key) { return locale ? locale->GetString(key) : CString(); }

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

}  // namespace

OrvPathFinderCtrl::OrvPathFinderCtrl(CWnd* parent, OrvISearchPath* searchPath, OrvLocaleManager* locale)
    : m_parent(parent), m_searchPath(searchPath), m_locale(locale), m_button(&m_buttonSkin) {
    m_sourceLabel.SetSkinInfo(&m_sourceLabelSkin);
    m_destinationLabel.SetSkinInfo(&m_destinationLabelSkin);
    m_sourceLabel.SetText(LocaleText(locale, "IDS_SKIN_LBL_SOURCE_EMAIL"));
    m_destinationLabel.SetText(LocaleText(locale, "IDS_SKIN_LBL_DESTINATION"));
    if (!parent || !parent->GetSafeHwnd() || !GetHandleC()) return;
    GetDropTarget().Register(this);
    m_toolTip.Create(GetSafeHwnd(), true);
    m_toolTip.AddRectTool(kSourceLabelTip, m_sourceLabel.GetRect(), LocaleText(locale, "IDS_SKIN_TIP_LBL_SOURCE_EMAIL"));
    m_sourceEdit.SetSkinInfo(&m_sourceEditSkin);
    m_sourceEdit.Create(this, kSourceEditId);
    m_sourceEdit.SetCallBack(this);
    m_toolTip.AddRectTool(kDestinationLabelTip, m_destinationLabel.GetRect(),
                          LocaleText(locale, "IDS_SKIN_TIP_LBL_DESTINATION"));
    m_destinationEdit.SetSkinInfo(&m_destinationEditSkin);
    m_destinationEdit.Create(this, kDestinationEditId);
    m_destinationEdit.SetCallBack(this);
    m_button.Create(this, kButtonId);
    m_button.SetToolTip(m_toolTip.GetSafeHwnd());
    m_toolTip.AddTool(m_button.GetSafeHwnd(), LocaleText(locale, "IDS_SKIN_TIP_BTN_SEARCH2"));
}

OrvPathFinderCtrl::~OrvPathFinderCtrl() {
    // The children borrow records and callbacks of this object: they go first.
    if (m_button.GetSafeHwnd()) m_button.DestroyWindow();
    m_sourceEdit.SetCallBack(nullptr);
    m_destinationEdit.SetCallBack(nullptr);
    if (m_sourceEdit.GetSafeHwnd()) m_sourceEdit.DestroyWindow();
    if (m_destinationEdit.GetSafeHwnd()) m_destinationEdit.DestroyWindow();
    if (GetSafeHwnd()) DestroyWindow();
}

BOOL OrvPathFinderCtrl::PreCreateWindow(CREATESTRUCTA& create) {
    return OrvWindowClass::Prepare(create, kWindowClass) ? TRUE : FALSE;
}

void OrvPathFinderCtrl::CreateHandle() {
    if (GetSafeHwnd() || !m_parent) return;
    if (CreateEx(WS_EX_CONTROLPARENT, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, GetLeft(), GetTop(),
                 GetWidth(), GetHeight(), m_parent->GetSafeHwnd(),
                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kControlId))))
        SetHandleC(GetSafeHwnd());
}

void OrvPathFinderCtrl::SetToolTipActivated(bool active) {
    m_toolTipsActive = active;
    m_toolTip.Activate(active);
}

void OrvPathFinderCtrl::RealizeSkin() {
    ClsSkinnedControl::RealizeSkin();
    m_toolTip.MoveRectTool(kSourceLabelTip, m_sourceLabel.GetRect());
    m_toolTip.MoveRectTool(kDestinationLabelTip, m_destinationLabel.GetRect());
    if (m_sourceEdit.GetSafeHwnd()) m_sourceEdit.SetSkinInfo(&m_sourceEditSkin);
    if (m_destinationEdit.GetSafeHwnd()) m_destinationEdit.SetSkinInfo(&m_destinationEditSkin);
    HDWP batch = ::BeginDeferWindowPos(3);
    if (m_sourceEdit.GetSafeHwnd()) batch = m_sourceEdit.SetPos(batch);
    if (m_destinationEdit.GetSafeHwnd()) batch = m_destinationEdit.SetPos(batch);
    if (m_button.GetSafeHwnd()) batch = m_button.SetPos(batch);
    if (batch) ::EndDeferWindowPos(batch);
    if (m_button.GetSafeHwnd()) m_button.RePaint();
    if (GetSafeHwnd())
        ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

BOOL OrvPathFinderCtrl::PreTranslateMessage(MSG* msg) {
    // The window relays its own mouse messages to the tips in WindowProc,
    // whichever loop dispatches them; nothing is taken here.
    return ClsSkinnedWnd<CWnd>::PreTranslateMessage(msg);
}

ClsContactInfo* OrvPathFinderCtrl::EndOf(const CSkinnedEdit* edit) {
    if (!edit) return nullptr;
    if (edit == &m_sourceEdit) return &m_source;
    if (edit == &m_destinationEdit) return &m_destination;
    return nullptr;
}

CSkinnedEdit* OrvPathFinderCtrl::EditOf(const ClsContactInfo& end) {
    return &end == &m_source ? &m_sourceEdit : &m_destinationEdit;
}

bool OrvPathFinderCtrl::HoldsPrivateContact(const ClsContactInfo& end) const {
    return !end.IsEmpty() && end.GetContact().emailPrivate != 0;
}

CString OrvPathFinderCtrl::PrivateText(const ClsContactInfo& end) const {
    // The text's one argument is the name. It is put in by hand: a text
    // from the language file is never used as a format.
    CString text = LocaleText(m_locale, "IDS_SKIN_EMAIL_PRIVATE");
    const int place = text.Find("%s");
    if (place < 0) return text;
    return text.Left(place) + end.GetDisplayName() + text.Mid(place + 2);
}

void OrvPathFinderCtrl::PlaceContact(ClsContactInfo& end, const ORVCONTACTINFO* contact) {
    end.SetContact(contact);
    CSkinnedEdit* edit = EditOf(end);
    if (!edit->GetSafeHwnd()) return;
    if (!contact) {
        edit->SetWindowText("");
        return;
    }
    if (HoldsPrivateContact(end)) {
        edit->SetWindowText(PrivateText(end));
        edit->SetSel(0, 0);
    } else {
        edit->SetWindowText(end.GetContact().email);
    }
}

void OrvPathFinderCtrl::SetPathSearchSource(const ORVCONTACTINFO* contact) { PlaceContact(m_source, contact); }

void OrvPathFinderCtrl::SetPathSearchDestination(const ORVCONTACTINFO* contact) {
    PlaceContact(m_destination, contact);
}

bool OrvPathFinderCtrl::PerformSearch() {
    if (GetSafeHwnd()) ::PostMessageA(GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED), 0);
    return true;
}

CString OrvPathFinderCtrl::FieldText(const CSkinnedEdit& edit) {
    CString text = edit.GetSafeHwnd() ? edit.GetWindowText() : CString();
    text.Trim();
    return text;
}

void OrvPathFinderCtrl::OnBtnSearchClicked() {
    const CString sourceText = FieldText(m_sourceEdit);
    const CString destinationText = FieldText(m_destinationEdit);
    if (sourceText.IsEmpty() || destinationText.IsEmpty()) return;
    const bool sourcePrivate = HoldsPrivateContact(m_source);
    const bool destinationPrivate = HoldsPrivateContact(m_destination);
    ORVPATHREQUEST request;
    request.destinationTyped = destinationPrivate ? 0 : 1;
    request.source = sourcePrivate ? CString() : sourceText;
    request.destination = destinationPrivate ? CString() : destinationText;
    request.sourceId = sourcePrivate ? m_source.GetContact().id.GetString() : nullptr;
    request.destinationId = destinationPrivate ? m_destination.GetContact().id.GetString() : nullptr;
    if (m_searchPath) m_searchPath->SearchPath(&request);
}

void OrvPathFinderCtrl::OnEditKeyDown(CSkinnedEdit* edit, unsigned* key, long*) {
    ClsContactInfo* end = EndOf(edit);
    if (!end || !key || !HoldsPrivateContact(*end)) return;
    const bool shift = KeyDown(VK_SHIFT);
    if (*key >= VK_PRIOR && *key <= VK_DOWN) return;
    if (*key == VK_INSERT && !shift) return;
    if (*key == VK_DELETE || (*key == VK_INSERT && shift)) {
        // Delete and Shift+Insert (paste) would edit the private text: the
        // field is emptied and the contact let go instead.
        PlaceContact(*end, nullptr);
    }
    *key = 0;
}

void OrvPathFinderCtrl::OnEditKeyChar(CSkinnedEdit* edit, unsigned* key) {
    ClsContactInfo* end = EndOf(edit);
    if (!end || !key || !HoldsPrivateContact(*end)) return;
    if (KeyDown(VK_CONTROL)) {
        // Ctrl+C copies; every other Ctrl key (cut, paste, undo ...) would
        // change the text.
        if (*key == 3 && !KeyDown(VK_SHIFT)) return;
        *key = 0;
        return;
    }
    // Typing replaces the private text: select it all and let the contact go.
    edit->SetSel(0, -1);
    end->SetContact(nullptr);
}

void OrvPathFinderCtrl::OnEditMouseUp(CSkinnedEdit*, int, int, unsigned) {}

LRESULT OrvPathFinderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The label tips are rectangles of this window (the button relays its own).
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) m_toolTip.Relay(GetSafeHwnd(), message, wParam, lParam);
    if (message == ORV_WM_QUERY_DROP) {
        const auto* edit = reinterpret_cast<const CSkinnedEdit*>(lParam);
        return EndOf(edit) ? 1 : 0;
    }
    if (message == ORV_WM_CONTACT_DROPPED) {
        ClsContactInfo* end = EndOf(reinterpret_cast<const CSkinnedEdit*>(wParam));
        const auto* contact = reinterpret_cast<const ORVCONTACTINFO*>(lParam);
        if (!end || !contact) return 0;
        PlaceContact(*end, contact);
        return 1;
    }
    return ClsSkinnedWnd<CWnd>::WindowProc(message, wParam, lParam);
}

void OrvPathFinderCtrl::WMCommand(WMCommand_t& message) {
    if (message.ItemID() == kButtonId && IsClick(message.NotifyCode())) {
        OnBtnSearchClicked();
        return;
    }
    message.Handled = FALSE;
}

// The edits hand Enter to their parent as key messages.
void OrvPathFinderCtrl::WMKeyDown(WMKey_t& message) {
    if (message.WParam != VK_RETURN) {
        message.Handled = FALSE;
        return;
    }
    if (m_button.GetEnabled()) OnBtnSearchClicked();
}

void OrvPathFinderCtrl::WMChar(WMKey_t& message) {
    if (message.WParam != VK_RETURN) message.Handled = FALSE;
}

void OrvPathFinderCtrl::WMEraseBkGnd(WMEraseBkGnd_t& message) { message.Result = 1; }

void OrvPathFinderCtrl::WMPaint(WMNoParams_t&) {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(paint, client);
    OrvBackgroundPainter::Paint(dc.GetSafeHdc(), GetBorder(), client.Width(), client.Height());
    m_sourceLabel.Draw(dc.GetSafeHdc());
    m_destinationLabel.Draw(dc.GetSafeHdc());
}

const char* OrvPathFinderCtrl::GetRuntimeClassName() const { return "OrvPathFinderCtrl"; }
