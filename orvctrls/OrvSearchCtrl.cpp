#include "OrvSearchCtrl.h"

#include "OrvBackgroundPainter.h"
#include "OrvWindowClass.h"

#include "OrvISearch.h"
#include "OrvLocaleManager.h"

#include "CMemDC.h"
#include "CPaintDC.h"

namespace {

// A quick second press of a button comes as a double click: to the member
// it is one more click.
bool IsClick(UINT code) { return code == BN_CLICKED || code == BN_DOUBLECLICKED; }

}  // namespace

OrvSearchCtrl::OrvSearchCtrl(CWnd* parent, OrvISearch* search, OrvLocaleManager* locale)
    : m_parent(parent), m_search(search), m_button(&m_buttonSkin) {
    if (!parent || !parent->GetSafeHwnd() || !GetHandleC()) return;
    // Without OLE on this thread the control simply takes part in no drop.
    GetDropTarget().Register(this);
    m_toolTip.Create(GetSafeHwnd(), true);
    m_edit.SetSkinInfo(&m_editSkin);
    m_edit.Create(this, kEditId);
    m_button.Create(this, kButtonId);
    m_button.SetToolTip(m_toolTip.GetSafeHwnd());
    if (locale) m_toolTip.AddTool(m_button.GetSafeHwnd(), locale->GetString("IDS_SKIN_TIP_BTN_SEARCH1"));
}

OrvSearchCtrl::~OrvSearchCtrl() {
    // The children borrow records of this object: they go first.
    if (m_button.GetSafeHwnd()) m_button.DestroyWindow();
    if (m_edit.GetSafeHwnd()) m_edit.DestroyWindow();
    if (GetSafeHwnd()) DestroyWindow();
}

BOOL OrvSearchCtrl::PreCreateWindow(CREATESTRUCTA& create) {
    return OrvWindowClass::Prepare(create, kWindowClass) ? TRUE : FALSE;
}

void OrvSearchCtrl::CreateHandle() {
    if (GetSafeHwnd() || !m_parent) return;
    if (CreateEx(WS_EX_CONTROLPARENT, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, GetLeft(), GetTop(),
                 GetWidth(), GetHeight(), m_parent->GetSafeHwnd(),
                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kControlId))))
        SetHandleC(GetSafeHwnd());
}

void OrvSearchCtrl::SetSearchText(const CString& text) {
    if (m_edit.GetSafeHwnd()) m_edit.SetWindowText(text);
}

CString OrvSearchCtrl::GetSearchText() const {
    return m_edit.GetSafeHwnd() ? m_edit.GetWindowText() : CString();
}

void OrvSearchCtrl::SetToolTipActivated(bool active) {
    m_toolTipsActive = active;
    m_toolTip.Activate(active);
}

void OrvSearchCtrl::RealizeSkin() {
    ClsSkinnedControl::RealizeSkin();
    if (m_edit.GetSafeHwnd()) m_edit.SetSkinInfo(&m_editSkin);
    HDWP batch = ::BeginDeferWindowPos(2);
    if (m_edit.GetSafeHwnd()) batch = m_edit.SetPos(batch);
    if (m_button.GetSafeHwnd()) batch = m_button.SetPos(batch);
    if (batch) ::EndDeferWindowPos(batch);
    if (m_button.GetSafeHwnd()) m_button.RePaint();
    if (GetSafeHwnd())
        ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void OrvSearchCtrl::OnBtnSearchClicked() {
    CString text = GetSearchText();
    text.Trim();
    if (text.IsEmpty()) text = kBlankSearch;
    SetSearchText(text);
    // Writing the text back put the caret at the start; typing goes on at the end.
    if (m_edit.GetSafeHwnd()) m_edit.SetSel(text.GetLength(), text.GetLength());
    if (m_search) m_search->Search(text);
}

void OrvSearchCtrl::WMCommand(WMCommand_t& message) {
    if (message.ItemID() == kButtonId && IsClick(message.NotifyCode())) {
        OnBtnSearchClicked();
        return;
    }
    message.Handled = FALSE;
}

// The edit hands Enter to its parent as key messages.
void OrvSearchCtrl::WMKeyDown(WMKey_t& message) {
    if (message.WParam != VK_RETURN) {
        message.Handled = FALSE;
        return;
    }
    if (m_button.GetEnabled()) OnBtnSearchClicked();
}

void OrvSearchCtrl::WMChar(WMKey_t& message) {
    // Enter was acted on at its key-down; the character would only beep.
    if (message.WParam != VK_RETURN) message.Handled = FALSE;
}

void OrvSearchCtrl::WMEraseBkGnd(WMEraseBkGnd_t& message) { message.Result = 1; }

void OrvSearchCtrl::WMPaint(WMNoParams_t&) {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(paint, client);
    OrvBackgroundPainter::Paint(dc.GetSafeHdc(), GetBorder(), client.Width(), client.Height());
}

const char* OrvSearchCtrl::GetRuntimeClassName() const { return "OrvSearchCtrl"; }
