#include "OrvToolBarCtrl.h"

#include "OrvBackgroundPainter.h"
#include "OrvWindowClass.h"

#include "OrvLocaleManager.h"
#include "OrvNavigate.h"

#include "CMemDC.h"
#include "CPaintDC.h"

namespace {

const char* const kTipKeys[OrvToolBarCtrl::kButtonCount] = {
    "IDS_SKIN_TIP_BTN_NAV_BACK",   "IDS_SKIN_TIP_BTN_NAV_FORWARD",     "IDS_SKIN_TIP_BTN_NAV_HOME",
    "IDS_SKIN_TIP_BTN_ADD_SOURCE", "IDS_SKIN_TIP_BTN_ADD_DESTINATION", "IDS_SKIN_TIP_BTN_CHAT",
    "IDS_SKIN_TIP_BTN_EDIT_PERSONAL_INFO",
};

}  // namespace

OrvToolBarCtrl::OrvToolBarCtrl() {
    for (int i = 0; i < kButtonCount; ++i) m_buttons[i].SetSkinInfo(&m_buttonSkins[i]);
}

OrvToolBarCtrl::~OrvToolBarCtrl() {
    // The buttons go first; their records live in this object.
    for (CSkinnedButton& button : m_buttons)
        if (button.GetSafeHwnd()) button.DestroyWindow();
    if (GetSafeHwnd()) DestroyWindow();
}

const char* OrvToolBarCtrl::TipKey(UINT id) { return id >= 1 && id <= kButtonCount ? kTipKeys[id - 1] : nullptr; }

bool OrvToolBarCtrl::Create(CWnd* parent, OrvINavigate* navigate, OrvLocaleManager* locale) {
    if (GetSafeHwnd() || !parent || !parent->GetSafeHwnd()) return false;
    m_parent = parent;
    m_navigate = navigate;
    if (!GetHandleC()) return false;
    m_toolTip.Create(GetSafeHwnd(), false);
    m_toolTip.Activate(m_toolTipsActive);
    for (int i = 0; i < kButtonCount; ++i) {
        const UINT id = static_cast<UINT>(i + 1);
        if (!m_buttons[i].Create(this, id)) return false;
        m_buttons[i].SetToolTip(m_toolTip.GetSafeHwnd());
        if (locale) m_toolTip.AddTool(m_buttons[i].GetSafeHwnd(), locale->GetString(kTipKeys[i]));
    }
    return true;
}

BOOL OrvToolBarCtrl::PreCreateWindow(CREATESTRUCTA& create) {
    return OrvWindowClass::Prepare(create, kWindowClass) ? TRUE : FALSE;
}

void OrvToolBarCtrl::CreateHandle() {
    if (GetSafeHwnd() || !m_parent) return;
    if (CreateEx(WS_EX_CONTROLPARENT, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                 GetLeft(), GetTop(), GetWidth(), GetHeight(), m_parent->GetSafeHwnd(),
                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kControlId))))
        SetHandleC(GetSafeHwnd());
}

void OrvToolBarCtrl::EnableButton(int index, bool enabled) {
    if (index < 0 || index >= kButtonCount) return;
    m_buttons[index].SetEnabled(enabled);
}

bool OrvToolBarCtrl::GetButtonEnabled(int index) const {
    return index >= 0 && index < kButtonCount && m_buttons[index].GetEnabled();
}

CSkinnedButton* OrvToolBarCtrl::GetButton(int index) {
    return index >= 0 && index < kButtonCount ? &m_buttons[index] : nullptr;
}

ButtonSkinInfo_t* OrvToolBarCtrl::GetButtonSkinInfo(int index) {
    return index >= 0 && index < kButtonCount ? &m_buttonSkins[index] : nullptr;
}

void OrvToolBarCtrl::SetToolTipActivated(bool active) {
    if (active == m_toolTipsActive) return;
    m_toolTipsActive = active;
    m_toolTip.Activate(active);
}

void OrvToolBarCtrl::RealizeSkin() {
    ClsSkinnedControl::RealizeSkin();
    HDWP batch = ::BeginDeferWindowPos(kButtonCount);
    for (CSkinnedButton& button : m_buttons)
        if (button.GetSafeHwnd()) batch = button.SetPos(batch);
    if (batch) ::EndDeferWindowPos(batch);
    for (CSkinnedButton& button : m_buttons)
        if (button.GetSafeHwnd()) button.RePaint();
    if (GetSafeHwnd()) ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void OrvToolBarCtrl::WMCommand(WMCommand_t& message) {
    const UINT id = message.ItemID();
    // A quick second press comes as a double click: to the member it is one
    // more click.
    const UINT code = message.NotifyCode();
    if (id < 1 || id > kButtonCount || (code != BN_CLICKED && code != BN_DOUBLECLICKED)) {
        message.Handled = FALSE;
        return;
    }
    if (!m_navigate) return;
    ORVNAVIGATEINFO info{};
    info.kind = static_cast<int32_t>(id + 1);
    info.command = 0;
    info.contact = nullptr;
    m_navigate->Navigate(&info);
}

void OrvToolBarCtrl::WMEraseBkGnd(WMEraseBkGnd_t& message) { message.Result = 1; }

void OrvToolBarCtrl::WMPaint(WMNoParams_t&) {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(paint, client);
    OrvBackgroundPainter::Paint(dc.GetSafeHdc(), GetBorder(), client.Width(), client.Height());
}

const char* OrvToolBarCtrl::GetRuntimeClassName() const { return "OrvToolBarCtrl"; }
