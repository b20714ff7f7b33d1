// The notification cloud and the tray menu in the program, against the real
// network: orvane-server with its demo network and the chat server with its
// room keeper on loopback, the program's windows under the test display,
// the project prefix's registry. A second member (demo2) runs a chat engine
// of his own in this process: his invitation shows in the program's cloud,
// "Not Now..." reaches him as a decline, his on-line notice shows as a
// cloud notice, and the presence chosen in the tray menu is what his engine
// and the server see.
//
// Without a chat server: the tray menu's flags and the chat events reaching
// the cloud, on a frame that never connects.
#include "AppTestSupport.h"
#include "DemoNetwork.h"

#include "CInvitationWindow.h"
#include "CNoticeWindow.h"
#include "CNotifier.h"
#include "CTrayMenuWindow.h"
#include "OrvApp.h"
#include "OrvMainFrame.h"

#include "COrvChat.h"
#include "IRCChat.h"
#include "OrvChatUser.h"
#include "OrvMessages.h"
#include "OrvRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using apptest::DemoNetwork;
using apptest::ScreenPixels;

namespace {

const char* const kEmail = "demo1@example.com";
const char* const kPassword = "orvane-demo-1";

bool Until(const std::function<bool()>& done, unsigned ms = 120000) { return orvtest::PumpUntil(done, ms); }

// The second member's side: his program's callbacks, recorded.
class OtherMember : public IIRCOrvMain {
public:
    OtherMember(std::string id, std::string name) : m_id(std::move(id)), m_name(std::move(name)) {}
    void OnCommandResult(int, INT_PTR, INT_PTR) override {}
    void OnChatEvent(int code, INT_PTR p1, INT_PTR) override {
        if (code == ORVCHAT_MAIN_CONNECTED) connected = true;
        if (code == ORVCHAT_MAIN_CONNECTION_LOST) lost = "reason " + std::to_string(p1);
    }
    CString GetMemberId() override { return m_id.c_str(); }
    CString GetDisplayName() override { return m_name.c_str(); }
    CString GetEmail() override { return "demo2@example.com"; }
    CString GetStartInfo() override { return ""; }
    BOOL IsAway() override { return FALSE; }
    BOOL Reserved() override { return TRUE; }
    BOOL IsHideEmail() override { return FALSE; }
    void OpenPrivateChat(const OrvChatUser&) override {}
    void SearchPath(const OrvChatUser&) override {}
    void ShowTree(const OrvChatUser&) override {}
    char GetUserColor() override { return '4'; }
    void SetUserColor(char) override {}

    bool connected = false;
    std::string lost;

private:
    std::string m_id, m_name;
};

// His private window towards the program's member: the answers it gets.
class PartnerWindow : public IIRCChatClient {
public:
    explicit PartnerWindow(std::string target) : m_target(std::move(target)) {}
    void OnCommandResult(int, INT_PTR, INT_PTR) override {}
    void OnChatEvent(int code, INT_PTR, INT_PTR) override { events.push_back(code); }
    CString GetTarget() override { return m_target.c_str(); }
    BOOL IsRoom() override { return FALSE; }
    BOOL IsActive() override { return FALSE; }
    BOOL IsInvitationPending() override { return TRUE; }
    BOOL WindowExists() override { return TRUE; }
    BOOL ExistsAndActive() override { return FALSE; }
    void OnChatClosed(int) override {}
    void OnMessage(const char*, const char*) override {}
    int Count(int code) const {
        int n = 0;
        for (int e : events) n += e == code;
        return n;
    }
    std::vector<int> events;

private:
    std::string m_target;
};

RECT ScreenRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// Pixels of the shot whose colour is near colour.
int CountNear(const ScreenPixels& shot, const RECT& area, COLORREF colour, int tolerance = 8) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = shot.At(x, y);
            if (c == CLR_INVALID) continue;
            n += std::abs(GetRValue(c) - GetRValue(colour)) <= tolerance &&
                 std::abs(GetGValue(c) - GetGValue(colour)) <= tolerance &&
                 std::abs(GetBValue(c) - GetBValue(colour)) <= tolerance;
        }
    return n;
}

// A pop-up on the screen: the window's rectangle captured, saved, and its
// balloon checked: blue frame along the edge, white fill, and the region
// leaving the corners to what lies below.
ScreenPixels ShootCloud(CNotifier& cloud, const std::string& name) {
    HWND window = cloud.GetWindow()->GetSafeHwnd();
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    orvtest::PumpPending();
    const RECT rect = ScreenRect(window);
    ScreenPixels shot(rect);
    shot.Save(name);
    const RECT whole{0, 0, shot.Width(), shot.Height()};
    EXPECT_GT(CountNear(shot, whole, CNotifyPopup::kFrame, 2), 2 * (shot.Width() + shot.Height()))
        << name << ": the blue frame";
    EXPECT_GT(CountNear(shot, whole, CNotifyPopup::kFill, 0), shot.Width() * shot.Height() / 3) << name << ": white";
    EXPECT_NE(shot.At(0, 0), CNotifyPopup::kFrame) << name << ": the corner is cut away";
    return shot;
}

std::string Field(const std::string& json, const char* name) { return DemoNetwork::JsonString(json, name); }

class CloudOnTheNetwork : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        apptest::ClearSettings();
        s_network = std::make_unique<DemoNetwork>();
        s_started = s_network->Start("cloud");
        apptest::StoreMember(s_network->Url(), kEmail, kPassword);
        s_richEdit = apptest::EnsureRichEdit(apptest::ProgramDirectory());
    }
    static void TearDownTestSuite() {
        s_network.reset();
        apptest::ClearSettings();
    }
    void SetUp() override {
        ASSERT_TRUE(s_started) << s_network->Logs();
        ASSERT_TRUE(s_richEdit);
    }
    // The chat presence of member id as the server shows it to a viewer.
    static std::string PresenceOf(const std::string& id, const std::string& viewerSession) {
        const std::string tree =
            s_network->Post("/api/v1/get-tree", "{\"id\":\"" + id + "\",\"session\":\"" + viewerSession + "\"}");
        return Field(tree, "chatPresence");
    }

    static std::unique_ptr<DemoNetwork> s_network;
    static bool s_started;
    static bool s_richEdit;
};

std::unique_ptr<DemoNetwork> CloudOnTheNetwork::s_network;
bool CloudOnTheNetwork::s_started = false;
bool CloudOnTheNetwork::s_richEdit = false;

TEST_F(CloudOnTheNetwork, InvitationDeclineNoticeAndPresenceFromTheTrayMenu) {
    apptest::RecordingMessenger messenger;
    OrvMainFrame frame;
    frame.SetMessenger(&messenger);
    frame.SetProgramDirectory(apptest::ProgramDirectory().c_str());
    frame.SetUrl(OrvRegistry().GetUrl());
    CNotifier& cloud = frame.GetNotifier();
    cloud.GetTimers().SetManual(true);  // the test moves the notices' stages
    OrvApp::CreateServices(frame, apptest::ProgramDirectory().c_str());
    ASSERT_TRUE(frame.StartSession());
    ASSERT_TRUE(OrvApp::RegisterMainWindowClass(::GetModuleHandleA(nullptr)));
    ASSERT_TRUE(OrvApp::CreateMainWindow(frame));
    ASSERT_TRUE(Until([&] { return frame.GetSessionState() == OrvMainFrame::ssOnline; }))
        << frame.GetLastResult().GetString() << "\n" << s_network->Logs();
    const std::string me = frame.GetUserId();
    ASSERT_FALSE(me.empty());
    const UINT trayMessage = ::RegisterWindowMessageA(ORV_MSGNAME_TRAY);

    // The second member logs in and enters the chat with his own engine.
    const std::string login = s_network->Post(
        "/api/v1/check-user",
        R"({"email":"demo2@example.com","password":"orvane-demo-2","clientKind":"1","version":"1.0"})");
    const std::string otherId = Field(login, "memberId"), otherSession = Field(login, "sessionId");
    ASSERT_FALSE(otherId.empty()) << login;
    const std::string otherName = Field(login, "firstName") + " " + Field(login, "lastName");
    OtherMember other(otherId, otherName);
    COrvChat engine(&other);
    engine.SetSessionId(otherSession.c_str());
    const std::string chatPort = Field(login, "chatPort");
    ASSERT_FALSE(chatPort.empty()) << login;
    ASSERT_EQ(engine.Connect(Field(login, "chatServer").c_str(), std::atoi(chatPort.c_str())), 0);
    ASSERT_TRUE(Until([&] { return other.connected; })) << other.lost << "\n" << s_network->Logs();
    const std::string myIdentity = "O" + me;
    PartnerWindow partner(myIdentity);
    engine.AddClient(&partner);

    // His invitation shows in the cloud.
    ASSERT_EQ(engine.Notify(ORVCHAT_NOTIFY_INVITE, myIdentity.c_str(), reinterpret_cast<INT_PTR>(otherName.c_str())), 0);
    ASSERT_TRUE(Until([&] { return cloud.IsShowing() && cloud.GetCurrent().kind == nkInvitation; }));
    EXPECT_TRUE(IsEqualID(cloud.GetCurrent().identity, ("O" + otherId).c_str()));
    EXPECT_EQ(cloud.GetCurrent().text, CString((otherName + "\r\ninvites to chat.").c_str()));
    auto* invitation = dynamic_cast<CInvitationWindow*>(cloud.GetWindow());
    ASSERT_NE(invitation, nullptr);
    ASSERT_TRUE(invitation->IsWindowVisible());
    {
        // The shot is of the window: its points are the window's.
        ScreenPixels shot = ShootCloud(cloud, "orvane_cloud_invitation.bmp");
        const RECT accept = invitation->GetAcceptRect(), decline = invitation->GetDeclineRect();
        const int area = (accept.right - accept.left) * (accept.bottom - accept.top);
        EXPECT_GT(CountNear(shot, accept, CInvitationWindow::kAcceptColor, 0), area / 2) << "\"Let's chat!\" is green";
        EXPECT_GT(CountNear(shot, decline, CInvitationWindow::kDeclineColor, 0), area / 2) << "\"Not Now...\" is red";
        EXPECT_GT(CountNear(shot, accept, RGB(255, 255, 255), 60), 20) << "with its caption";
    }
    EXPECT_EQ(partner.Count(ORVCHAT_EVENT_AWAY), 0) << "no answer before the member's";

    // "Not Now...": the second member's window learns of the decline.
    {
        const RECT decline = invitation->GetDeclineRect();
        const LPARAM at = MAKELPARAM((decline.left + decline.right) / 2, (decline.top + decline.bottom) / 2);
        invitation->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        invitation->SendMessage(WM_LBUTTONUP, 0, at);
    }
    EXPECT_FALSE(cloud.IsShowing());
    ASSERT_TRUE(Until([&] { return partner.Count(ORVCHAT_EVENT_AWAY) == 1; }));

    // His on-line notice shows as a growing notice while the cloud is on.
    ASSERT_EQ(engine.Notify(ORVCHAT_NOTIFY_ONLINE, myIdentity.c_str(), reinterpret_cast<INT_PTR>(otherName.c_str())), 0);
    ASSERT_TRUE(Until([&] { return cloud.IsShowing() && cloud.GetCurrent().kind == nkNotice; }));
    EXPECT_EQ(cloud.GetCurrent().text, CString((otherName + "\r\nhas joined...").c_str()));
    for (int stage = 2; stage <= 4; ++stage) ASSERT_TRUE(cloud.FireTimer(CNotifier::kTimerNoticeStage));
    {
        ScreenPixels shot = ShootCloud(cloud, "orvane_cloud_notice.bmp");
        const RECT text{70, 10, shot.Width() - 16, shot.Height() - 24};
        EXPECT_GT(shot.InkCount(text), 80) << "the name and \"has joined...\" are written";
        EXPECT_GT(CountNear(shot, RECT{10, 10, 66, shot.Height() - 20}, RGB(40, 180, 60), 30), 20)
            << "bitmap 202's green badge";
    }

    // A right click on the tray icon: the menu replaces the notice, with
    // every item offered, on line checked, the cloud on.
    frame.SendMessage(trayMessage, 0, WM_RBUTTONUP);
    ASSERT_EQ(cloud.GetCurrent().kind, nkMenu);
    EXPECT_EQ(cloud.GetCurrent().param, 0xFF00u | 1u);
    auto* menu = dynamic_cast<CTrayMenuWindow*>(cloud.GetWindow());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->GetItems().size(), 5u);
    EXPECT_STREQ(menu->GetItems()[4].text, "Disable notification cloud");
    {
        ScreenPixels shot = ShootCloud(cloud, "orvane_cloud_menu.bmp");
        for (const CTrayMenuWindow::Item& item : menu->GetItems())
            EXPECT_GT(shot.InkCount(item.rect), 60) << item.text;
        EXPECT_GT(CountNear(shot, RECT{0, 0, shot.Width(), shot.Height()}, RGB(255, 128, 64), 0), 30)
            << "the on-line item's marker";
    }
    auto choose = [&](int value) {
        frame.SendMessage(trayMessage, 0, WM_RBUTTONUP);
        auto* shown = dynamic_cast<CTrayMenuWindow*>(cloud.GetWindow());
        ASSERT_NE(shown, nullptr);
        const CTrayMenuWindow::Item* item = shown->FindItem(value);
        ASSERT_NE(item, nullptr) << value;
        const LPARAM at = MAKELPARAM((item->rect.left + item->rect.right) / 2, (item->rect.top + item->rect.bottom) / 2);
        shown->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        shown->SendMessage(WM_LBUTTONUP, 0, at);
        EXPECT_FALSE(cloud.IsShowing());
    };
    cloud.CloseCurrent();

    // "SHOW I'M OFFLINE": away, under "R" + id; the server shows him away and
    // the second member's invitation is answered "away" by the program's
    // engine, never reaching the cloud.
    choose(CNotifier::miOffline);
    EXPECT_EQ(frame.GetStatus(), OrvMainFrame::stAway);
    EXPECT_STREQ(frame.GetTrayIcon().GetTip(), "Orvane - away");
    ASSERT_TRUE(Until([&] { return PresenceOf(me, otherSession) == "1"; })) << PresenceOf(me, otherSession);
    ASSERT_EQ(engine.Notify(ORVCHAT_NOTIFY_INVITE, myIdentity.c_str(), reinterpret_cast<INT_PTR>(otherName.c_str())), 0);
    ASSERT_TRUE(Until([&] { return partner.Count(ORVCHAT_EVENT_AWAY) == 2; }));
    EXPECT_FALSE(cloud.IsShowing()) << "no invitation while away";
    frame.SendMessage(trayMessage, 0, WM_RBUTTONUP);
    EXPECT_EQ(cloud.GetCurrent().param, 0xFF00u | 4u) << "away checks the third item";
    cloud.CloseCurrent();

    // "SHOW I'M ONLINE": back under "O" + id; his invitation reaches the cloud.
    choose(CNotifier::miOnline);
    EXPECT_EQ(frame.GetStatus(), OrvMainFrame::stOnline);
    ASSERT_TRUE(Until([&] { return PresenceOf(me, otherSession) == "0"; })) << PresenceOf(me, otherSession);
    ASSERT_EQ(engine.Notify(ORVCHAT_NOTIFY_INVITE, myIdentity.c_str(), reinterpret_cast<INT_PTR>(otherName.c_str())), 0);
    ASSERT_TRUE(Until([&] { return cloud.IsShowing() && cloud.GetCurrent().kind == nkInvitation; }));
    cloud.RemoveInvitation(("R" + otherId).c_str());
    EXPECT_FALSE(cloud.IsShowing());

    // "SHOW ME ONLY TO MY FRIENDS".
    choose(CNotifier::miFriends);
    EXPECT_EQ(frame.GetStatus(), OrvMainFrame::stFriends);
    EXPECT_STREQ(frame.GetTrayIcon().GetTip(), "Orvane - available to friends");

    // The cloud switched off: the setting is stored, the menu offers to
    // switch it on, and an on-line notice no longer shows (his next
    // invitation, sent after it, arrives after it too).
    choose(CNotifier::miCloud);
    EXPECT_TRUE(OrvRegistry().GetNotifications());
    frame.SendMessage(trayMessage, 0, WM_RBUTTONUP);
    EXPECT_EQ(cloud.GetCurrent().param, 0xFF00u | 2u | CNotifier::kMenuCloudOff);
    EXPECT_STREQ(dynamic_cast<CTrayMenuWindow*>(cloud.GetWindow())->GetItems()[4].text, "Enable notification cloud");
    cloud.CloseCurrent();
    ASSERT_EQ(engine.Notify(ORVCHAT_NOTIFY_ONLINE, myIdentity.c_str(), reinterpret_cast<INT_PTR>(otherName.c_str())), 0);
    ASSERT_EQ(engine.Notify(ORVCHAT_NOTIFY_INVITE, myIdentity.c_str(), reinterpret_cast<INT_PTR>(otherName.c_str())), 0);
    ASSERT_TRUE(Until([&] { return cloud.IsShowing() && cloud.GetCurrent().kind == nkInvitation; }));
    EXPECT_EQ(cloud.GetQueueCount(), 0u) << "no notice while the cloud is off";
    cloud.CloseCurrent();
    choose(CNotifier::miCloud);
    EXPECT_FALSE(OrvRegistry().GetNotifications());

    // "CLOSE ORVANE" exits the program.
    engine.RemoveClient(&partner);
    engine.Disconnect();
    choose(CNotifier::miClose);
    ASSERT_TRUE(Until([&] { return frame.GetSafeHwnd() == nullptr; }));
    EXPECT_FALSE(frame.GetTrayIcon().IsAdded());
    for (const auto& shown : messenger.shown) ADD_FAILURE() << "message shown: " << shown.caption << ": " << shown.text;
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// A frame that never connects: off line, only "CLOSE ORVANE" is offered;
// chat events with odd arguments never reach the cloud or crash it.
TEST(CloudWithoutNetwork, OffLineMenuFlagsAndChatEvents) {
    apptest::ClearSettings();
    apptest::TestFrame frame;
    CNotifier& cloud = frame.GetNotifier();
    cloud.GetTimers().SetManual(true);
    frame.OnTrayMessage(WM_RBUTTONUP);
    ASSERT_TRUE(cloud.IsShowing());
    EXPECT_EQ(cloud.GetCurrent().param, 0x800u | 4u);
    auto* menu = dynamic_cast<CTrayMenuWindow*>(cloud.GetWindow());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->GetItems().size(), 1u);
    EXPECT_STREQ(menu->GetItems()[0].text, "CLOSE ORVANE");
    cloud.CloseCurrent();
    OrvRegistry().SetNotifications(true);
    EXPECT_EQ(frame.GetTrayMenuFlags(), 0x800u | 4u | CNotifier::kMenuCloudOff);
    frame.OnTrayMessage(WM_MOUSEMOVE);
    EXPECT_FALSE(cloud.IsShowing()) << "a mouse move only remembers the place";
    frame.OnTrayMessage(WM_LBUTTONDOWN);
    EXPECT_FALSE(cloud.IsShowing());

    // On-line notices follow the cloud switch.
    frame.OnChatEvent(ORVCHAT_MAIN_CONTACT_ONLINE, reinterpret_cast<INT_PTR>("Ann Lee"), reinterpret_cast<INT_PTR>("O5"));
    EXPECT_FALSE(cloud.IsShowing()) << "the cloud is off";
    OrvRegistry().SetNotifications(false);
    frame.OnChatEvent(ORVCHAT_MAIN_CONTACT_ONLINE, reinterpret_cast<INT_PTR>("Ann Lee"), reinterpret_cast<INT_PTR>("O5"));
    ASSERT_TRUE(cloud.IsShowing());
    EXPECT_EQ(cloud.GetCurrent().text, CString("Ann Lee\r\nhas joined..."));
    frame.OnChatEvent(ORVCHAT_MAIN_CONTACT_ONLINE, 0, 0);
    EXPECT_EQ(cloud.GetQueueCount(), 0u) << "no name, no notice";

    // Invitations: one per member, in either form; none without an identity.
    frame.OnChatEvent(ORVCHAT_MAIN_INVITATION, reinterpret_cast<INT_PTR>("O9"), reinterpret_cast<INT_PTR>("Bob Ray"));
    EXPECT_EQ(cloud.GetCurrent().kind, nkInvitation);
    EXPECT_EQ(cloud.GetCurrent().text, CString("Bob Ray\r\ninvites to chat."));
    frame.OnChatEvent(ORVCHAT_MAIN_INVITATION, reinterpret_cast<INT_PTR>("R9"), reinterpret_cast<INT_PTR>("Bob Ray"));
    frame.OnChatEvent(ORVCHAT_MAIN_INVITATION, 0, reinterpret_cast<INT_PTR>("Nobody"));
    EXPECT_EQ(cloud.GetQueueCount(), 0u) << "the notice was replaced; nothing more was added";
    frame.OnChatEvent(ORVCHAT_MAIN_INVITATION, reinterpret_cast<INT_PTR>("O10"), 0);
    EXPECT_EQ(cloud.GetCurrent().identity, CString("O10"));
    EXPECT_EQ(cloud.GetCurrent().text, CString("\r\ninvites to chat."));

    // The update notice goes to the cloud, whatever the switch.
    OrvRegistry().SetNotifications(true);
    frame.ShowUpdateNotice("ORVANE IS\r\nDOWNLOADING\r\nTHE LATEST\r\nUPDATE");
    EXPECT_EQ(cloud.GetQueued(cloud.GetQueueCount() - 1).text, CString("ORVANE IS\r\nDOWNLOADING\r\nTHE LATEST\r\nUPDATE"));
    // The 60-second decline of an invitation whose engine is not connected
    // is refused by the engine and traced, nothing more.
    ASSERT_TRUE(cloud.FireTimer(CNotifier::kTimerInvitation));
    EXPECT_FALSE(cloud.HasInvitation("O10"));
    apptest::ClearSettings();
}

}  // namespace
