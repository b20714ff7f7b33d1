// The shell against the real network: orvane-server with its demo network
// and the chat server on loopback. A registered member's window greets him
// by name, shows the server's panel addresses as it is activated and
// deactivated, and its toolbar follows the real session: the chat button
// once the chat engine is connected, back and forward as his walk through
// the tree moves the history, nothing once he signs out.
#include "DemoNetwork.h"
#include "ShellTestSupport.h"

#include "OrvApp.h"
#include "OrvRegisteredMessages.h"
#include "res/OrvResources.h"

#include "COleInitializer.h"
#include "CNodesList.h"
#include "CTreeControl.h"
#include "CTreeItem.h"
#include "OrvMessagePanelCtrl.h"
#include "OrvRegistry.h"
#include "OrvSkinReader.h"
#include "OrvToolBarCtrl.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

bool Until(const std::function<bool()>& done) { return orvtest::PumpUntil(done, 120000); }

std::string ToolbarStates(OrvMainFrame& frame) {
    std::string states;
    OrvToolBarCtrl* toolBar = frame.GetSkinReader()->GetToolBarCtrl();
    for (int i = 0; i < OrvToolBarCtrl::kButtonCount; ++i) states += toolBar->GetButtonEnabled(i) ? '1' : '0';
    return states;
}

TEST(ShellNetwork, TheWindowGreetsTheMemberShowsTheServersPanelsAndItsToolbarFollowsTheSession) {
    apptest::ClearSettings();
    COleInitializer ole;
    apptest::DemoNetwork network;
    ASSERT_TRUE(network.Start("shell")) << network.Logs();
    {
        OrvRegistry registry;
        registry.SetUrl(network.Url().c_str());
        registry.SetEmail("demo1@example.com");
        registry.SetSerkey("orvane-demo-1");
        // As the sign-up wizard left them.
        registry.SetFName("Ivan");
        registry.SetLName("Anderson");
        registry.Register();
        registry.Logon();
    }
    apptest::RecordingMessenger messenger;
    OrvMainFrame frame;
    frame.SetMessenger(&messenger);
    frame.SetProgramDirectory(shelltest::ProgramDirectory().c_str());
    frame.SetUrl(OrvRegistry().GetUrl());
    OrvApp::CreateServices(frame, shelltest::ProgramDirectory().c_str());
    ASSERT_TRUE(frame.StartSession());
    ASSERT_TRUE(OrvApp::RegisterMainWindowClass(::GetModuleHandleA(nullptr)));
    ASSERT_TRUE(OrvApp::CreateMainWindow(frame));
    OrvMessagePanelCtrl* panel = frame.GetSkinReader()->GetMessagePanelCtrl();
    ASSERT_NE(panel, nullptr);
    EXPECT_STREQ(panel->GetUserName(), "Ivan Anderson") << "connecting named the member on the panel";
    EXPECT_EQ(ToolbarStates(frame), "0000000") << "nothing before the session";

    ASSERT_TRUE(Until([&] { return frame.GetSessionState() == OrvMainFrame::ssOnline && frame.IsWindowVisible(); }))
        << frame.GetLastResult().GetString() << "\n"
        << network.Logs();
    CTreeControl* tree = frame.GetTreeControl();
    const CString me = frame.GetUserId();
    ASSERT_TRUE(Until([&] { return !frame.IsTreePending() && !frame.IsBusy() && tree->isAComplete(); }));
    orvtest::PumpUntil([] { return false; }, 100);
    EXPECT_EQ(ToolbarStates(frame), "0011011") << "on line with the chat: home, contacts, chat rooms, info";

    // The server's two panel addresses, each marked as a banner.
    frame.SendMessage(OrvMessages().changeBanner, 0, MAKELPARAM(WA_ACTIVE, 0));
    EXPECT_NE(panel->GetURL().Find("/panel/active.html"), -1) << panel->GetURL().GetString();
    EXPECT_NE(panel->GetURL().Find("banner=1"), -1);
    frame.SendMessage(OrvMessages().changeBanner, 0, MAKELPARAM(WA_INACTIVE, 0));
    EXPECT_NE(panel->GetURL().Find("/panel/inactive.html"), -1) << panel->GetURL().GetString();

    // A step into a contact's tree: back lights up once the worker is done.
    ORVCONTACTINFO child;
    {
        CSingleLock lock(tree->GetListLock());
        ASSERT_GT(tree->GetCurrentList()->GetVisibleCount(), 0);
        child = tree->GetCurrentList()->GetVisible(0)->GetContact();
    }
    ORVNAVIGATEINFO step{ORVNAV_ACTIVATE, -1, &child};
    ASSERT_NE(frame.Navigate(&step), 0);
    ASSERT_TRUE(Until([&] { return !frame.IsNavigating() && !frame.IsTreePending() && ToolbarStates(frame)[0] == '1'; }))
        << ToolbarStates(frame);
    EXPECT_EQ(ToolbarStates(frame), "1011011");
    ORVNAVIGATEINFO back{ORVNAV_BACKWARD, -1, nullptr};
    ASSERT_NE(frame.Navigate(&back), 0);
    ASSERT_TRUE(Until([&] { return !frame.IsNavigating() && !frame.IsTreePending() && ToolbarStates(frame)[1] == '1'; }));
    EXPECT_EQ(ToolbarStates(frame), "0111011");
    EXPECT_STREQ(frame.GetHistory().Current(), me);

    frame.SendMessage(WM_COMMAND, ID_FILE_SIGN_OUT, 0);
    EXPECT_EQ(ToolbarStates(frame), "0000000");
    EXPECT_TRUE(messenger.shown.empty()) << messenger.shown.front().text;
    frame.Exit();
    apptest::ClearSettings();
}

}  // namespace
