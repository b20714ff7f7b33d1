// The main frame's shell in its real window under the test display, with
// the real skin reader and sub-controls: the banner's addresses and timer
// through the message panel's own seams, the start-information box driven
// by control ids, the splitter's place at 1000 x 700 (pixel-checked), the
// toolbar's rules as the session changes, the toolbar's further requests and
// the private messages 4024 and 4026 (from outside, with odd parameters),
// the presence edge cases and the switching menu captions. The server is a
// closed loopback port (every request fails at once) or a loopback peer
// that records what it gets.
#include "DemoNetwork.h"
#include "LoopbackPort.h"
#include "ShellTestSupport.h"

#include "DialogIds.h"
#include "OrvHtmlText.h"
#include "OrvRegisteredMessages.h"
#include "res/OrvResources.h"

#include "CSkinnedSplitter.h"
#include "ClsSkinnedMainMenu.h"
#include "COleInitializer.h"
#include "OrvMessagePanelCtrl.h"
#include "OrvPathFinderCtrl.h"
#include "OrvPathFinderResultCtrl.h"
#include "OrvRegistry.h"
#include "OrvSearchCtrl.h"
#include "OrvSearchResultCtrl.h"
#include "OrvSkinReader.h"
#include "OrvToolBarCtrl.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

using apptest::ScreenPixels;
using shelltest::ShellFrame;

namespace {

// A loopback port that refuses connections: bound, never listening.
using ClosedPort = apptest::LoopbackPort;

bool Until(const std::function<bool()>& done) { return orvtest::PumpUntil(done, apptest::kGenerousMs); }

class Shell : public ::testing::Test {
protected:
    void SetUp() override { apptest::ClearSettings(); }
    void TearDown() override {
        ::DeleteFileA((shelltest::ProgramDirectory() + OrvMainFrame::kStartInfoFile).c_str());
        apptest::ClearSettings();
    }
    // The frame's window made and its first (failing) connection over.
    void Open(ShellFrame& frame) {
        ASSERT_TRUE(shelltest::OpenFrame(frame, m_closed.Url()));
        // The failing worker starts the re-connection timer, then goes off line.
        ASSERT_TRUE(Until([&] {
            return frame.GetTimers().IsRunning(OrvSessionTimers::tReconnect) &&
                   frame.GetSessionState() == OrvMainFrame::ssOffline && !frame.IsConnecting();
        }))
            << "the first connection never failed";
        ASSERT_NE(frame.GetSkinReader(), nullptr);
        ASSERT_NE(Panel(frame), nullptr);
    }
    static OrvMessagePanelCtrl* Panel(ShellFrame& frame) { return frame.GetSkinReader()->GetMessagePanelCtrl(); }
    static void Activation(ShellFrame& frame, bool active) {
        frame.SendMessage(OrvMessages().changeBanner, 0, MAKELPARAM(active ? WA_ACTIVE : WA_INACTIVE, 0));
    }

    COleInitializer m_ole;
    ClosedPort m_closed;
};

// ---------------------------------------------------------------- banner

TEST_F(Shell, TheBannerFollowsActivationHidingAndRestoringAndItsTimerShowsThenReloads) {
    ShellFrame frame;
    Open(frame);
    shelltest::BringOnLine(frame);
    ASSERT_TRUE(frame.IsWindowVisible());
    OrvMessagePanelCtrl* panel = Panel(frame);
    const CString url1 = "http://panel/1?banner=1", url2 = "http://panel/2?banner=1";
    EXPECT_STREQ(panel->GetUserName(), "Ann Lee") << "connecting gave the panel the full name";

    Activation(frame, true);
    EXPECT_EQ(frame.GetBannerAddress(), 1);
    EXPECT_STREQ(panel->GetURL(), url1);
    EXPECT_EQ(panel->GetLocation().Find(url1 + "&sv="), 0) << panel->GetLocation().GetString();
    Activation(frame, false);
    EXPECT_EQ(frame.GetBannerAddress(), 2);
    EXPECT_STREQ(panel->GetURL(), url2);

    // Timer 4: the first tick shows the banner, each later one reloads it.
    panel->SetBannerVisible(0);
    EXPECT_EQ(frame.GetBannerTicks(), 0) << "restarted by the switch";
    frame.SendMessage(WM_TIMER, OrvMainFrame::kBannerTimerId, 0);
    EXPECT_EQ(panel->GetBannerVisible(), 1);
    const int loads = panel->GetNavigationCount();
    frame.SendMessage(WM_TIMER, OrvMainFrame::kBannerTimerId, 0);
    frame.SendMessage(WM_TIMER, OrvMainFrame::kBannerTimerId, 0);
    EXPECT_EQ(panel->GetNavigationCount(), loads + 2);
    EXPECT_STREQ(panel->GetURL(), url2) << "a reload keeps the address";

    // Hidden to the tray: emptied; later ticks have nothing to reload.
    frame.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_FALSE(frame.IsWindowVisible());
    EXPECT_EQ(frame.GetBannerAddress(), 0);
    EXPECT_STREQ(panel->GetURL(), "");
    Activation(frame, true);  // an activation message late after hiding
    EXPECT_EQ(frame.GetBannerAddress(), 0) << "a hidden window keeps its banner empty";
    frame.SendMessage(WM_TIMER, OrvMainFrame::kBannerTimerId, 0);
    const int emptied = panel->GetNavigationCount();
    frame.SendMessage(WM_TIMER, OrvMainFrame::kBannerTimerId, 0);
    EXPECT_EQ(panel->GetNavigationCount(), emptied);

    // The second instance's restore message: shown again with address 1.
    frame.SendMessage(OrvMessages().restoreWindow);
    EXPECT_TRUE(frame.IsWindowVisible());
    EXPECT_STREQ(panel->GetURL(), url1);
    frame.Exit();
}

TEST_F(Shell, TheBannerTimerRunsWithTheLogInAnswersPeriod) {
    ShellFrame frame;
    Open(frame);
    // A one-second banner period from the server.
    frame.OnLogInAnswer("0", "7", "key", "Ann", "Lee", "Pilot", "session-1", 1, "http://panel/a", "", "6667", "500",
                        "http://panel/b", "60", 900, 0, "info");
    frame.OnChatEvent(ORVCHAT_MAIN_CONNECTED, 0, 0);
    EXPECT_EQ(frame.GetBannerInterval(), 1000u);
    Activation(frame, true);
    OrvMessagePanelCtrl* panel = Panel(frame);
    const int loads = panel->GetNavigationCount();
    // The real timer: a first tick, then at least one reload.
    EXPECT_TRUE(Until([&] { return frame.GetBannerTicks() >= 1 && panel->GetNavigationCount() > loads; }))
        << "ticks " << frame.GetBannerTicks() << ", loads " << panel->GetNavigationCount() - loads;
    frame.Exit();
}

// ---------------------------------------------------------------- start information

HWND FindStartInfoBox() {
    return ::FindWindowA(nullptr, "Orvane - message of the day");
}

// Waits for the box on a worker while the UI thread runs it.
HWND WaitForStartInfoBox() {
    for (int i = 0; i < 600; ++i) {
        if (HWND box = FindStartInfoBox())
            if (::IsWindowVisible(box)) return box;
        ::Sleep(50);
    }
    return nullptr;
}

std::string ItemText(HWND box, int id) {
    char text[4096] = {};
    ::SendDlgItemMessageA(box, id, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(Shell, TheStartInformationShowsThePagesTextAndStoresTheShowAgainChoiceOnOk) {
    ShellFrame frame;
    Open(frame);
    shelltest::BringOnLine(frame);
    OrvRegistry registry;
    registry.SetStatistic(true);
    // The answer writes the page; its message shows the box.
    frame.OnStartInfoAnswer("0", "<html><head><title>News</title><style>p{color:red}</style></head><body>"
                                 "<h1>Welcome&nbsp;back</h1><p>Ann &amp; Bob met <b>3</b> new people.</p>"
                                 "<script>alert('x')</script></body></html>");
    std::string shown, checked;
    bool sawBox = false;
    int ink = 0, inkColours = 0;
    COLORREF fieldBackground = 0;
    std::thread driver([&] {
        HWND box = WaitForStartInfoBox();
        if (!box) return;
        sawBox = true;
        RECT rect{};
        ::GetWindowRect(box, &rect);
        ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        ::Sleep(0);
        shown = ItemText(box, IDC_START_INFO_TEXT);
        checked = ::SendDlgItemMessageA(box, IDC_START_INFO_AGAIN, BM_GETCHECK, 0, 0) == BST_CHECKED ? "on" : "off";
        ScreenPixels shot(rect);
        shot.Save("orvane_shell_start_info.bmp");
        // The page's three lines are written in the field, none selected.
        RECT field{};
        ::GetWindowRect(::GetDlgItem(box, IDC_START_INFO_TEXT), &field);
        const RECT lines{field.left - rect.left + 4, field.top - rect.top + 3, field.left - rect.left + 200,
                         field.top - rect.top + 46};
        ink = shot.InkCount(lines);
        inkColours = shot.ColourCount(lines);
        fieldBackground = shot.Commonest(lines);
        // The member clears "show again" and presses OK.
        ::SendDlgItemMessageA(box, IDC_START_INFO_AGAIN, BM_CLICK, 0, 0);
        ::SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_START_INFO_OK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(box, IDC_START_INFO_OK)));
    });
    // The posted 1125 runs the box on this thread until OK.
    EXPECT_TRUE(Until([&] { return sawBox && !::IsWindowVisible(FindStartInfoBox()); }));
    driver.join();
    ASSERT_TRUE(sawBox) << "the box never came";
    EXPECT_EQ(shown, "News\r\nWelcome back\r\nAnn & Bob met 3 new people.");
    EXPECT_EQ(checked, "on") << "the box starts from the stored setting";
    EXPECT_GT(ink, 150) << "the text is drawn";
    EXPECT_GE(inkColours, 2);
    EXPECT_GT(GetRValue(fieldBackground) + GetGValue(fieldBackground) + GetBValue(fieldBackground), 600)
        << "a light field, not a selection band";
    EXPECT_FALSE(OrvRegistry().GetStatistic()) << "OK stored the cleared check box";
    frame.Exit();
}

TEST_F(Shell, TheStartInformationNeedsAVisibleWindowAndThePageFile) {
    ShellFrame frame;
    Open(frame);
    shelltest::BringOnLine(frame);
    const std::string file = shelltest::ProgramDirectory() + OrvMainFrame::kStartInfoFile;
    ::DeleteFileA(file.c_str());
    // No page: nothing to show, nothing stored.
    OrvRegistry().SetStatistic(true);
    frame.SendMessage(OrvMainFrame::kStartInfoMessage);
    EXPECT_EQ(FindStartInfoBox(), nullptr);
    // Hidden or minimised: nothing, even with a page.
    std::ofstream(file, std::ios::binary) << "<p>hello</p>";
    frame.ShowWindow(SW_MINIMIZE);
    frame.SendMessage(OrvMainFrame::kStartInfoMessage);
    EXPECT_EQ(FindStartInfoBox(), nullptr);
    frame.ShowWindow(SW_HIDE);
    frame.SendMessage(OrvMainFrame::kStartInfoMessage);
    EXPECT_EQ(FindStartInfoBox(), nullptr);
    EXPECT_TRUE(OrvRegistry().GetStatistic());
    frame.Exit();
}

TEST_F(Shell, ClosingTheStartInformationWithEscapeKeepsTheSetting) {
    ShellFrame frame;
    Open(frame);
    shelltest::BringOnLine(frame);
    OrvRegistry().SetStatistic(true);
    // A page of binary junk with an open tag at its end reads without harm.
    std::string junk(70000, '\0');
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 131) % 251);
    junk += "<p unfinished";
    std::ofstream(shelltest::ProgramDirectory() + OrvMainFrame::kStartInfoFile, std::ios::binary) << junk;
    bool sawBox = false;
    std::thread driver([&] {
        HWND box = WaitForStartInfoBox();
        if (!box) return;
        sawBox = true;
        ::SendDlgItemMessageA(box, IDC_START_INFO_AGAIN, BM_CLICK, 0, 0);
        ::SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
    });
    frame.PostMessage(OrvMainFrame::kStartInfoMessage);
    EXPECT_TRUE(Until([&] { return sawBox && !::IsWindowVisible(FindStartInfoBox()); }));
    driver.join();
    EXPECT_TRUE(sawBox);
    EXPECT_TRUE(OrvRegistry().GetStatistic()) << "only OK stores the choice";
    frame.Exit();
}

// ---------------------------------------------------------------- splitter

TEST_F(Shell, AFirstRunPutsTheSplitterAtTheSearchControlsWidthAt1000By700) {
    ShellFrame frame;
    Open(frame);
    shelltest::BringOnLine(frame);
    OrvSkinReader* reader = frame.GetSkinReader();
    const int ws = reader->GetSearchCtrlWidth();
    EXPECT_EQ(reader->GetSplitterPos(), ws) << "no saved place: the default";
    ASSERT_TRUE(shelltest::SetClient(frame, 1000, 700));
    frame.SetForegroundWindow();
    frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_FRAME);
    EXPECT_EQ(reader->GetSplitterPos(), ws) << "resizing keeps the place";

    // The result list sits under the search control, exactly as wide.
    auto client = [&](HWND child) {
        CRect rect;
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, frame.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    const CRect search = client(reader->GetSearchCtrl()->GetSafeHwnd());
    const CRect results = client(reader->GetSearchResultCtrl()->GetSafeHwnd());
    const CRect bar = client(reader->GetSplitter()->GetSafeHwnd());
    const CRect pathFinder = client(reader->GetPathFinderCtrl()->GetSafeHwnd());
    EXPECT_EQ(results.left, 0);
    EXPECT_EQ(results.Width(), search.Width());
    EXPECT_EQ(results.top, search.bottom);
    EXPECT_EQ(bar.left, results.right);
    EXPECT_EQ(pathFinder.top, 700 - pathFinder.Height());

    CRect window;
    frame.GetWindowRect(&window);
    ScreenPixels shot(window);
    ASSERT_TRUE(shot.Save("orvane_shell_first_run_1000x700.bmp"));
    // On screen: the bar is one colour band across its width, and the
    // list's column left of it differs from the bar.
    CPoint origin(0, 0);
    frame.ClientToScreen(&origin);
    const int dx = origin.x - window.left, dy = origin.y - window.top;
    const CRect barOnShot(bar.left + dx, bar.top + dy + 10, bar.right + dx, bar.bottom + dy - 10);
    EXPECT_LE(shot.ColourCount(barOnShot), 3) << "the splitter bar is drawn where the layout put it";
    const COLORREF barColour = shot.Commonest(barOnShot);
    const CRect listEdge(results.right - 3 + dx, results.top + dy + 30, results.right + dx, results.bottom + dy - 10);
    EXPECT_NE(shot.Commonest(listEdge), barColour) << "the list ends where the bar begins";
    frame.Exit();
}

void StoreSplitter(unsigned long position) {
    OrvState state;
    state.SetSplitterPos(position);
    state.SetWindowRect(RECT{60, 60, 1060, 760});
    OrvRegistry registry;
    registry.SetState(state.GetData());
    registry.SetSkindir("Daylight");
}

TEST_F(Shell, ASavedSplitterPlaceIsKeptButNeverCloserThanTheDefault) {
    for (const auto& [saved, expected] : {std::pair<unsigned long, int>{420, 420}, {40, -1}, {4000000000ul, -1}}) {
        SCOPED_TRACE("saved " + std::to_string(saved));
        apptest::ClearSettings();
        StoreSplitter(saved);
        ShellFrame frame;
        Open(frame);
        shelltest::BringOnLine(frame);
        OrvSkinReader* reader = frame.GetSkinReader();
        const int want = expected < 0 ? reader->GetSearchCtrlWidth() : expected;
        EXPECT_EQ(frame.SplitterPlaceFor(saved), want);
        ASSERT_TRUE(shelltest::SetClient(frame, 1000, 700));
        EXPECT_EQ(reader->GetSplitterPos(), want);
        frame.Exit();
        // Exit saved the place back.
        OrvState state;
        state.SetData(OrvRegistry().GetState());
        EXPECT_EQ(state.GetSplitterPos(), static_cast<unsigned long>(want));
    }
}

// ---------------------------------------------------------------- toolbar

std::string ToolbarStates(ShellFrame& frame) {
    std::string states;
    OrvToolBarCtrl* toolBar = frame.GetSkinReader()->GetToolBarCtrl();
    for (int i = 0; i < OrvToolBarCtrl::kButtonCount; ++i) {
        states += toolBar->GetButtonEnabled(i) ? '1' : '0';
        EXPECT_EQ(toolBar->GetButtonEnabled(i), frame.ToolbarButtonEnabled(i)) << "button " << i;
    }
    return states;
}

TEST_F(Shell, TheToolbarFollowsTheSessionTheHistoryAndTheMapAddress) {
    ShellFrame frame;
    Open(frame);
    // Back, forward, home, contacts, map, chat rooms, personal information.
    EXPECT_EQ(ToolbarStates(frame), "0000000") << "off line: nothing needs no session";
    shelltest::BringOnLine(frame);
    ASSERT_EQ(frame.GetSessionState(), OrvMainFrame::ssOnline);
    frame.GetHistory().Reset("7");
    frame.SendMessage(OrvMainFrame::kShellStateMessage);
    EXPECT_EQ(ToolbarStates(frame), "0011001") << "first entry, no map, no chat engine connection";
    frame.SetMapPageAddress("http://map.example/?id=");
    EXPECT_EQ(ToolbarStates(frame), "0011101");

    // A walk through the history (the requests themselves are the
    // navigation tests'; here the closed port would end the session).
    auto moved = [&] { frame.SendMessage(OrvMainFrame::kShellStateMessage); };
    frame.GetHistory().Advance("a");
    moved();
    EXPECT_EQ(ToolbarStates(frame), "1011101") << "one step in: back";
    frame.GetHistory().Back();
    moved();
    EXPECT_EQ(ToolbarStates(frame), "0111101") << "back at the start: forward";
    frame.GetHistory().Forward();
    moved();
    EXPECT_EQ(ToolbarStates(frame), "1011101");

    frame.SendMessage(WM_COMMAND, ID_FILE_SIGN_OUT, 0);
    EXPECT_EQ(ToolbarStates(frame), "0000000") << "signed out";
    frame.Exit();
}

TEST_F(Shell, TheToolbarsFurtherRequestsAndTheChatAndContactsMessagesStayHarmless) {
    ShellFrame frame;
    Open(frame);
    shelltest::BringOnLine(frame);
    frame.GetHistory().Reset("7");
    auto request = [&](int kind) {
        ORVNAVIGATEINFO info{kind, 0, nullptr};
        EXPECT_NE(frame.Navigate(&info), 0);
        EXPECT_TRUE(Until([&] { return !frame.IsNavigating(); }));
    };
    request(5);
    EXPECT_TRUE(Until([&] { return frame.GetContactsFlowRequests() == 1; })) << "kind 5 posts 4026 with 5";
    request(7);
    EXPECT_TRUE(Until([&] { return frame.GetChatRequests() == 1; })) << "kind 7 posts 4024 with nulls";
    request(6);  // no map address: nothing
    request(8);  // the personal information command, posted
    orvtest::PumpUntil([] { return false; }, 100);
    EXPECT_EQ(frame.GetHistory().Count(), 1) << "none of them moves the history";
    EXPECT_TRUE(frame.IsWindow());

    // From outside: a sent chat request with a person, and posted ones with
    // pointers that must never be read, and 4026 with other values.
    const char id[] = "42", name[] = "Bea Cole";
    frame.SendMessage(OrvMainFrame::kOpenChatMessage, reinterpret_cast<WPARAM>(id), reinterpret_cast<LPARAM>(name));
    frame.PostMessage(OrvMainFrame::kOpenChatMessage, 0xDEAD0, 0xBEEF0);
    frame.PostMessage(OrvMainFrame::kOpenChatMessage, 0, 0xBEEF0);
    frame.PostMessage(OrvMainFrame::kContactsFlowMessage, 0, 0);
    frame.PostMessage(OrvMainFrame::kContactsFlowMessage, 0xFFFFFFFF, 0);
    EXPECT_TRUE(Until([&] { return frame.GetChatRequests() == 4; }));
    EXPECT_EQ(frame.GetContactsFlowRequests(), 1) << "only the value 5 asks for the flow";
    EXPECT_TRUE(frame.messenger.shown.empty()) << "nothing bothers the member";
    frame.Exit();
}

TEST_F(Shell, ChatOnAPersonFollowsHisChatFlagAndRefusesTheMemberHimself) {
    ShellFrame frame;
    Open(frame);
    shelltest::BringOnLine(frame);
    frame.GetHistory().Reset("7");
    auto chat = [&](const char* id, int canChat) {
        ORVCONTACTINFO contact;
        contact.id = id;
        contact.firstName = "Bea";
        contact.lastName = "Cole";
        contact.canChat = canChat;
        ORVNAVIGATEINFO info{ORVNAV_COMMAND, ORVNAVCMD_CHAT, &contact};
        EXPECT_NE(frame.Navigate(&info), 0);
        EXPECT_TRUE(Until([&] { return !frame.IsNavigating(); }));
    };
    chat("42", 0);
    chat("42", 1);
    EXPECT_TRUE(Until([&] { return frame.GetChatRequests() == 1; })) << "only the person who can chat is asked for";
    chat(frame.GetMemberId(), 1);
    EXPECT_TRUE(Until([&] { return !frame.messenger.shown.empty(); }));
    ASSERT_EQ(frame.messenger.shown.size(), 1u);
    EXPECT_EQ(frame.messenger.shown[0].text, "You can't chat with yourself.");
    EXPECT_EQ(frame.messenger.shown[0].caption, "Chat");
    EXPECT_EQ(frame.GetChatRequests(), 1);
    frame.Exit();
}

// ---------------------------------------------------------------- presence

TEST_F(Shell, AwayWithAPrivateChatOpenWarnsAndKeepsThePresence) {
    ShellFrame frame;
    Open(frame);
    shelltest::BringOnLine(frame);
    frame.privateChat = true;
    frame.SendMessage(WM_COMMAND, ID_STATUS_AWAY, 0);
    ASSERT_EQ(frame.messenger.shown.size(), 1u);
    EXPECT_EQ(frame.messenger.shown[0].text, "Please, close all private chats before changing mode");
    EXPECT_EQ(frame.messenger.shown[0].caption, "Orvane");
    EXPECT_EQ(frame.messenger.shown[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(frame.GetStatus(), OrvMainFrame::stOnline);
    EXPECT_STREQ(frame.GetTrayIcon().GetTip(), "Orvane - on line");
    // With the chat closed the change goes through.
    frame.privateChat = false;
    frame.SendMessage(WM_COMMAND, ID_STATUS_AWAY, 0);
    EXPECT_EQ(frame.GetStatus(), OrvMainFrame::stAway);
    EXPECT_STREQ(frame.GetTrayIcon().GetTip(), "Orvane - away");
    frame.Exit();
}

TEST_F(Shell, OnLineWhileOnLineSendsNothing) {
    shelltest::RecordingServer server(true);
    ShellFrame frame;
    ASSERT_TRUE(shelltest::OpenFrame(frame, server.Url()));
    // Its empty answer to the log-in is no session; then on line by hand.
    ASSERT_TRUE(Until([&] { return frame.GetSessionState() == OrvMainFrame::ssOffline && !frame.IsBusy(); }));
    shelltest::BringOnLine(frame);
    ASSERT_EQ(frame.GetStatus(), OrvMainFrame::stOnline);
    frame.SendMessage(WM_COMMAND, ID_STATUS_ONLINE, 0);
    frame.SendMessage(WM_COMMAND, ID_STATUS_ONLINE, 0);
    // A change that does send, so the peer is known to see them.
    frame.SendMessage(WM_COMMAND, ID_STATUS_FRIENDS, 0);
    EXPECT_TRUE(Until([&] { return server.CountWith("update-status") >= 1; }));
    EXPECT_EQ(server.CountWith("update-status"), 1) << "on line while on line sent nothing";
    EXPECT_EQ(frame.GetStatus(), OrvMainFrame::stFriends);
    frame.Exit();
}

TEST_F(Shell, WhileConnectingTheTrayTipStaysAndTheIconAlternatesEvery500Ms) {
    // A server that takes the log-in and never answers: connecting lasts.
    shelltest::RecordingServer server(false);
    auto frame = std::make_unique<ShellFrame>();
    ASSERT_TRUE(shelltest::OpenFrame(*frame, server.Url()));
    ASSERT_TRUE(Until([&] { return frame->GetStatus() == OrvMainFrame::stConnecting; }));
    EXPECT_TRUE(frame->GetTimers().IsRunning(OrvSessionTimers::tBlink));
    EXPECT_EQ(frame->GetTimers().GetPeriod(OrvSessionTimers::tBlink), 500u);
    std::vector<HICON> icons;
    for (int i = 0; i < 4; ++i) {
        frame->SendMessage(OrvMainFrame::kTimerMessage, OrvSessionTimers::tBlink);
        EXPECT_STREQ(frame->GetTrayIcon().GetTip(), "Orvane - connecting");
        icons.push_back(frame->GetTrayIcon().GetIcon());
    }
    EXPECT_NE(icons[0], icons[1]);
    EXPECT_EQ(icons[0], icons[2]);
    EXPECT_EQ(icons[1], icons[3]);
    EXPECT_EQ(frame->GetSessionState(), OrvMainFrame::ssConnecting);
    frame->Exit();
    frame.reset();
}

// ---------------------------------------------------------------- switches

std::string Caption(ShellFrame& frame, const char* menuCaption, UINT command) {
    ClsSkinnedMenuItem* root = frame.GetMainMenu()->GetItems();
    for (int i = 0; i < root->GetCount(); ++i) {
        ClsSkinnedMenuItem* top = root->GetItem(i);
        if (top->GetCaption() != menuCaption) continue;
        for (int j = 0; j < top->GetCount(); ++j)
            if (top->GetItem(j)->GetCommand() == command) return top->GetItem(j)->GetCaption().GetString();
    }
    return "(missing)";
}

TEST_F(Shell, TheSwitchingMenuItemsShowTheActionTheyWillTake) {
    ShellFrame frame;
    Open(frame);
    OrvSkinReader* reader = frame.GetSkinReader();
    const std::string run = Caption(frame, "&Tools", ID_TOOLS_RUN_AT_STARTUP);
    frame.SendMessage(WM_COMMAND, ID_TOOLS_RUN_AT_STARTUP, 0);
    const std::string runAfter = Caption(frame, "&Tools", ID_TOOLS_RUN_AT_STARTUP);
    EXPECT_NE(run, runAfter);
    EXPECT_TRUE((run == "Run &Orvane on Start-up" && runAfter == "Do not run &Orvane on Start-up") ||
                (runAfter == "Run &Orvane on Start-up" && run == "Do not run &Orvane on Start-up"))
        << run << " / " << runAfter;
    frame.SendMessage(WM_COMMAND, ID_TOOLS_RUN_AT_STARTUP, 0);
    EXPECT_EQ(Caption(frame, "&Tools", ID_TOOLS_RUN_AT_STARTUP), run) << "switched back";

    OrvRegistry().SetStatistic(true);
    frame.SendMessage(WM_COMMAND, ID_TOOLS_START_INFO, 0);
    EXPECT_FALSE(OrvRegistry().GetStatistic());
    EXPECT_EQ(Caption(frame, "&Tools", ID_TOOLS_START_INFO), "Enable &message of the day");
    frame.SendMessage(WM_COMMAND, ID_TOOLS_START_INFO, 0);
    EXPECT_EQ(Caption(frame, "&Tools", ID_TOOLS_START_INFO), "Disable &message of the day");

    EXPECT_EQ(Caption(frame, "&Help", ID_HELP_TIPS), "Disable help-&tip bubbles") << "tips start on";
    EXPECT_TRUE(reader->GetToolTipEnabled());
    frame.SendMessage(WM_COMMAND, ID_HELP_TIPS, 0);
    EXPECT_EQ(Caption(frame, "&Help", ID_HELP_TIPS), "Enable help-&tip bubbles");
    EXPECT_FALSE(reader->GetToolTipEnabled());
    EXPECT_FALSE(reader->GetToolTipBalloonEnabled());
    frame.SendMessage(WM_COMMAND, ID_HELP_TIPS, 0);
    EXPECT_TRUE(reader->GetToolTipEnabled());
    EXPECT_TRUE(reader->GetToolTipBalloonEnabled());
    frame.Exit();
}

}  // namespace
