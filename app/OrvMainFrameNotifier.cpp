// The main frame's side of the notification cloud: the frame supplies the
// cloud's eight handlers (presence, the main window, exit, the cloud
// switch, and the answers to chat invitations), feeds it the chat's
// invitations and on-line notices and the update notice, and opens the
// tray menu from the tray icon's messages.
#include "OrvMainFrame.h"

#include "CNotifyPlacement.h"
#include "res/OrvResources.h"

#include "OrvChatUser.h"

namespace {
const char* Text(INT_PTR p) {
    const char* text = reinterpret_cast<const char*>(p);
    return text ? text : "";
}
}  // namespace

class OrvMainFrame::FrameNotifier : public CNotifier {
public:
    explicit FrameNotifier(OrvMainFrame& frame) : m_frame(frame) {}

    void OnAcceptInvitation(const CString& identity, const CString& name) override {
        OrvChatUser user;
        user.identity = identity;
        user.displayName = name;
        m_frame.OpenPrivateChat(user);
    }
    void OnDeclineInvitation(const CString& identity, const CString&) override {
        if (m_frame.m_chat.Notify(ORVCHAT_NOTIFY_DECLINE, identity, 0) != 0)
            ::OutputDebugStringA("orvane: the decline notice was refused by the chat engine\n");
    }
    void OnPresenceOnline() override { m_frame.ChangePresence(stOnline); }
    // "SHOW I'M OFFLINE" keeps the session and shows the member as away.
    void OnPresenceAway() override { m_frame.ChangePresence(stAway); }
    void OnPresenceFriends() override { m_frame.ChangePresence(stFriends); }
    void OnOpenMainWindow() override { m_frame.OnRestoreWindowMessage(); }
    // Posted, like File, Exit: the exit runs after the menu's click.
    void OnCloseProgram() override {
        if (m_frame.m_hWnd) m_frame.PostMessage(WM_CLOSE, 1, 0);
    }
    void OnSwitchCloud() override { m_frame.m_registry.SetNotifications(!m_frame.m_registry.GetNotifications()); }

private:
    OrvMainFrame& m_frame;
};

CNotifier& OrvMainFrame::GetNotifier() {
    if (!m_notifier) m_notifier = std::make_unique<FrameNotifier>(*this);
    return *m_notifier;
}

void OrvMainFrame::CloseCloud() {
    if (m_notifier) m_notifier->CloseAll();
}

POINT OrvMainFrame::CloudPoint() const {
    return m_trayPointKnown ? m_trayPoint : CNotifyPlacement::DefaultPoint();
}

DWORD OrvMainFrame::GetTrayMenuFlags() {
    DWORD flags = m_sessionState == ssOnline ? 0xFF00 : 0x800;
    // The stored setting is "Disable Notification": on, the menu offers to
    // enable the cloud.
    if (m_registry.GetNotifications()) flags |= CNotifier::kMenuCloudOff;
    const int status = m_status;
    flags |= status == stOnline ? CNotifier::miOnline : status == stFriends ? CNotifier::miFriends : CNotifier::miOffline;
    return flags;
}

void OrvMainFrame::OnTrayMessage(LPARAM mouseMessage) {
    if (mouseMessage != WM_MOUSEMOVE && mouseMessage != WM_LBUTTONDBLCLK && mouseMessage != WM_RBUTTONUP) return;
    POINT cursor;
    if (::GetCursorPos(&cursor)) {
        m_trayPoint = cursor;
        m_trayPointKnown = true;
    }
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        GetNotifier().OpenMainWindow();
    } else if (mouseMessage == WM_RBUTTONUP) {
        if (m_hWnd) SetForegroundWindow();
        GetNotifier().ShowMenu(GetTrayMenuFlags(), CloudPoint());
    }
}

void OrvMainFrame::OnChatInvitation(INT_PTR identityText, INT_PTR nameText) {
    const CString identity = Text(identityText), name = Text(nameText);
    if (identity.IsEmpty()) return;
    // Private chat windows are not part of the program yet: an invitation
    // already waiting is ignored, any other one goes to the cloud.
    CNotifier& cloud = GetNotifier();
    if (cloud.HasInvitation(identity)) return;
    if (!cloud.AddInvitation(identity, name + "\r\ninvites to chat.", name, CloudPoint())) {
        // No room in the cloud: say no rather than leave the inviter waiting.
        m_chat.Notify(ORVCHAT_NOTIFY_DECLINE, identity, 0);
    }
}

void OrvMainFrame::OnContactOnline(INT_PTR nameText, INT_PTR) {
    if (m_registry.GetNotifications()) return;  // the cloud is switched off
    const CString name = Text(nameText);
    if (name.IsEmpty()) return;
    GetNotifier().AddNotice(name + "\r\nhas joined...", CloudPoint());
}
