// The cloud's queue rules, its timers under a clock the test drives, the
// menu's flags and what a click on a pop-up calls: real pop-up windows
// under the test display, the ticks delivered by the test.
#include "CInvitationWindow.h"
#include "CNoticeWindow.h"
#include "CNotifier.h"
#include "CTrayMenuWindow.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const POINT kTray{700, 590};

// Records every handler call as "name identity name".
class RecordingNotifier : public CNotifier {
public:
    RecordingNotifier() { GetTimers().SetManual(true); }
    void OnAcceptInvitation(const CString& identity, const CString& name) override {
        calls.push_back("accept " + std::string(identity) + " " + std::string(name));
    }
    void OnDeclineInvitation(const CString& identity, const CString& name) override {
        calls.push_back("decline " + std::string(identity) + " " + std::string(name));
    }
    void OnPresenceOnline() override { calls.push_back("online"); }
    void OnPresenceAway() override { calls.push_back("away"); }
    void OnPresenceFriends() override { calls.push_back("friends"); }
    void OnOpenMainWindow() override { calls.push_back("open"); }
    void OnCloseProgram() override {
        calls.push_back("close");
        if (closeAllOnExit) CloseAll();
    }
    void OnSwitchCloud() override { calls.push_back("cloud"); }
    void OnPopupClosed(int kind) override { closedKinds.push_back(kind); }

    std::vector<std::string> calls;
    std::vector<int> closedKinds;
    bool closeAllOnExit = false;
};

bool Invite(CNotifier& cloud, const char* identity, const char* name) {
    return cloud.AddInvitation(identity, CString(name) + "\r\ninvites to chat.", name, kTray);
}

// A click (button down and up) in the middle of rect of the pop-up on show.
void ClickAt(CNotifier& cloud, const RECT& rect) {
    ASSERT_NE(cloud.GetWindow(), nullptr);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    HWND window = cloud.GetWindow()->GetSafeHwnd();
    ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(window, WM_LBUTTONUP, 0, at);
}

CTrayMenuWindow* Menu(CNotifier& cloud) { return dynamic_cast<CTrayMenuWindow*>(cloud.GetWindow()); }

TEST(NotifierQueue, NoticesWaitInvitationsReplaceThemAndOneInvitationPerMember) {
    RecordingNotifier cloud;
    EXPECT_TRUE(cloud.AddNotice("Ann Lee\r\nhas joined...", kTray));
    ASSERT_TRUE(cloud.IsShowing());
    EXPECT_EQ(cloud.GetCurrent().kind, nkNotice);
    ASSERT_NE(cloud.GetWindow(), nullptr);
    EXPECT_TRUE(cloud.GetWindow()->IsWindowVisible());
    EXPECT_STREQ(cloud.GetWindow()->GetWindowText(), "Test");

    // A second notice waits behind the one on show.
    EXPECT_TRUE(cloud.AddNotice("Bob Ray\r\nhas joined...", kTray));
    EXPECT_EQ(cloud.GetCurrent().text, CString("Ann Lee\r\nhas joined..."));
    ASSERT_EQ(cloud.GetQueueCount(), 1u);

    // An invitation replaces the notice on show at once; the waiting notice
    // still waits.
    HWND notice = cloud.GetWindow()->GetSafeHwnd();
    EXPECT_TRUE(Invite(cloud, "O17", "Cleo Marsh"));
    EXPECT_EQ(cloud.GetCurrent().kind, nkInvitation);
    EXPECT_EQ(cloud.GetCurrent().identity, CString("O17"));
    EXPECT_EQ(cloud.GetCurrent().text2, CString("Cleo Marsh"));
    EXPECT_FALSE(::IsWindow(notice)) << "the replaced notice's window is gone";
    ASSERT_EQ(cloud.GetQueueCount(), 1u);
    EXPECT_EQ(cloud.GetQueued(0).kind, nkNotice);

    // A notice during an invitation waits.
    EXPECT_TRUE(cloud.AddNotice("Dan Oak\r\nhas joined...", kTray));
    EXPECT_EQ(cloud.GetCurrent().kind, nkInvitation);
    EXPECT_EQ(cloud.GetQueueCount(), 2u);

    // A second invitation from the same member, in either of his forms, is
    // not added: neither while his first is on show nor while it waits.
    EXPECT_TRUE(cloud.HasInvitation("O17"));
    EXPECT_TRUE(cloud.HasInvitation("R17"));
    EXPECT_FALSE(cloud.HasInvitation("O170"));
    EXPECT_FALSE(Invite(cloud, "R17", "Cleo Marsh"));
    EXPECT_EQ(cloud.GetQueueCount(), 2u);

    // Another member's invitation goes first; the one it replaced is not
    // lost but waits right behind it.
    EXPECT_TRUE(Invite(cloud, "O23", "Eve Stone"));
    EXPECT_EQ(cloud.GetCurrent().identity, CString("O23"));
    ASSERT_EQ(cloud.GetQueueCount(), 3u);
    EXPECT_EQ(cloud.GetQueued(0).identity, CString("O17"));
    EXPECT_FALSE(Invite(cloud, "O17", "Cleo Marsh")) << "still waiting: not added twice";
    // The displaced invitation waits its turn: a notice added now does not
    // bring it back in front of the one on show.
    EXPECT_TRUE(cloud.AddNotice("Fay Gold\r\nhas joined...", kTray));
    EXPECT_EQ(cloud.GetCurrent().identity, CString("O23"));
    ASSERT_EQ(cloud.GetQueueCount(), 4u);
    EXPECT_TRUE(cloud.calls.empty()) << "no invitation was answered on anyone's behalf";

    // RemoveInvitation of the waiting one removes it from the queue only.
    cloud.RemoveInvitation("R17");
    EXPECT_EQ(cloud.GetCurrent().identity, CString("O23"));
    ASSERT_EQ(cloud.GetQueueCount(), 3u);
    EXPECT_FALSE(cloud.HasInvitation("O17"));
    // RemoveInvitation of the one on show closes it and shows the next.
    cloud.RemoveInvitation("O23");
    EXPECT_EQ(cloud.GetCurrent().kind, nkNotice);
    EXPECT_EQ(cloud.GetCurrent().text, CString("Bob Ray\r\nhas joined..."));
    EXPECT_EQ(cloud.GetQueueCount(), 2u);
    EXPECT_TRUE(cloud.calls.empty()) << "removing answers nothing";
    // Removing someone who did not invite changes nothing.
    cloud.RemoveInvitation("O99");
    EXPECT_EQ(cloud.GetQueueCount(), 2u);
    EXPECT_TRUE(cloud.IsShowing());
}

TEST(NotifierQueue, TheMenuShowsOnlyOverANoticeAndOffersSomething) {
    RecordingNotifier cloud;
    Invite(cloud, "O5", "Ann Lee");
    EXPECT_FALSE(cloud.ShowMenu(0xFF00 | 1, kTray)) << "ignored while an invitation is on show";
    EXPECT_EQ(cloud.GetCurrent().kind, nkInvitation);
    EXPECT_EQ(cloud.GetQueueCount(), 0u);
    cloud.RemoveInvitation("O5");
    EXPECT_FALSE(cloud.IsShowing());

    cloud.AddNotice("Ann Lee\r\nhas joined...", kTray);
    EXPECT_FALSE(cloud.ShowMenu(0x0001, kTray)) << "a menu that offers no item";
    EXPECT_TRUE(cloud.ShowMenu(0xFF00 | 1, kTray)) << "replaces a notice";
    EXPECT_EQ(cloud.GetCurrent().kind, nkMenu);
    EXPECT_STREQ(cloud.GetWindow()->GetWindowText(), "Menu");
    EXPECT_FALSE(cloud.ShowMenu(0xFF00 | 1, kTray)) << "ignored while a menu is on show";
    // An invitation replaces the menu.
    EXPECT_TRUE(Invite(cloud, "O6", "Bob Ray"));
    EXPECT_EQ(cloud.GetCurrent().kind, nkInvitation);
}

TEST(NotifierQueue, AnUnansweredInvitationIsDeclinedAfterSixtySeconds) {
    RecordingNotifier cloud;
    Invite(cloud, "O31", "Gus Finch");
    cloud.AddNotice("Hal Ives\r\nhas joined...", kTray);
    HWND invitation = cloud.GetWindow()->GetSafeHwnd();
    CNotifyTimers& timers = cloud.GetTimers();
    EXPECT_EQ(timers.GetPeriod(invitation, CNotifier::kTimerInvitation), 60000u);
    EXPECT_FALSE(cloud.FireTimer(CNotifier::kTimerNoticeHold)) << "only running timers tick";
    EXPECT_TRUE(cloud.calls.empty());

    ASSERT_TRUE(cloud.FireTimer(CNotifier::kTimerInvitation));
    ASSERT_EQ(cloud.calls.size(), 1u);
    EXPECT_EQ(cloud.calls[0], "decline O31 Gus Finch");
    EXPECT_FALSE(::IsWindow(invitation));
    EXPECT_FALSE(timers.IsRunning(invitation, CNotifier::kTimerInvitation));
    EXPECT_EQ(cloud.GetCurrent().kind, nkNotice) << "the waiting notice follows";
    EXPECT_FALSE(cloud.HasInvitation("O31"));
}

TEST(NotifierQueue, TheButtonsAcceptAndDecline) {
    RecordingNotifier cloud;
    Invite(cloud, "O40", "Ivy Jones");
    Invite(cloud, "O41", "Jay Kent");  // on show; Ivy waits behind
    auto* window = dynamic_cast<CInvitationWindow*>(cloud.GetWindow());
    ASSERT_NE(window, nullptr);
    // Over either button the cursor is the hand, elsewhere the arrow.
    auto cursorAt = [&](POINT point) {
        window->ClientToScreen(&point);
        ::SetCursorPos(point.x, point.y);
        window->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(window->GetSafeHwnd()),
                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    };
    const RECT accept = window->GetAcceptRect(), decline = window->GetDeclineRect();
    EXPECT_EQ(cursorAt({(accept.left + accept.right) / 2, (accept.top + accept.bottom) / 2}),
              ::LoadCursorA(nullptr, IDC_HAND));
    EXPECT_EQ(cursorAt({(decline.left + decline.right) / 2, (decline.top + decline.bottom) / 2}),
              ::LoadCursorA(nullptr, IDC_HAND));
    EXPECT_EQ(cursorAt({accept.left + 2, accept.top - 12}), ::LoadCursorA(nullptr, IDC_ARROW));
    // Outside the buttons nothing happens.
    ClickAt(cloud, RECT{2, 20, 6, 24});
    EXPECT_TRUE(cloud.calls.empty());
    ClickAt(cloud, window->GetAcceptRect());
    ASSERT_EQ(cloud.calls.size(), 1u);
    EXPECT_EQ(cloud.calls[0], "accept O41 Jay Kent");
    ASSERT_EQ(cloud.GetCurrent().identity, CString("O40"));
    window = dynamic_cast<CInvitationWindow*>(cloud.GetWindow());
    ASSERT_NE(window, nullptr);
    ClickAt(cloud, window->GetDeclineRect());
    ASSERT_EQ(cloud.calls.size(), 2u);
    EXPECT_EQ(cloud.calls[1], "decline O40 Ivy Jones");
    EXPECT_FALSE(cloud.IsShowing());
    EXPECT_EQ(cloud.closedKinds, (std::vector<int>{nkInvitation, nkInvitation, nkInvitation}))
        << "Ivy's was replaced once, then both were answered";
}

TEST(NotifierQueue, ANoticeGrowsInFourStagesHoldsThenShrinksAndCloses) {
    RecordingNotifier cloud;
    cloud.AddNotice("Kim Lowe\r\nhas joined...", kTray);
    cloud.AddNotice("Lou Mann\r\nhas joined...", kTray);
    auto* notice = dynamic_cast<CNoticeWindow*>(cloud.GetWindow());
    ASSERT_NE(notice, nullptr);
    HWND window = notice->GetSafeHwnd();
    CNotifyTimers& timers = cloud.GetTimers();
    auto width = [&] {
        RECT rect;
        ::GetWindowRect(window, &rect);
        return rect.right - rect.left;
    };
    EXPECT_EQ(notice->GetStage(), 1);
    EXPECT_EQ(timers.GetPeriod(window, CNotifier::kTimerNoticeStage), 350u);
    int last = width();
    for (int stage = 2; stage <= 4; ++stage) {
        ASSERT_TRUE(cloud.FireTimer(CNotifier::kTimerNoticeStage));
        EXPECT_EQ(notice->GetStage(), stage);
        EXPECT_GT(width(), last) << "stage " << stage << " is larger";
        last = width();
    }
    EXPECT_EQ(last, CNoticeWindow::kWidth);
    EXPECT_FALSE(timers.IsRunning(window, CNotifier::kTimerNoticeStage));
    EXPECT_EQ(timers.GetPeriod(window, CNotifier::kTimerNoticeHold), 6000u);

    ASSERT_TRUE(cloud.FireTimer(CNotifier::kTimerNoticeHold));
    EXPECT_TRUE(notice->IsShrinking());
    EXPECT_FALSE(timers.IsRunning(window, CNotifier::kTimerNoticeHold));
    for (int stage = 3; stage >= 1; --stage) {
        ASSERT_TRUE(cloud.FireTimer(CNotifier::kTimerNoticeStage));
        EXPECT_EQ(notice->GetStage(), stage);
        EXPECT_LT(width(), last);
        last = width();
    }
    EXPECT_EQ(cloud.GetCurrent().text, CString("Kim Lowe\r\nhas joined...")) << "stage 1 still shows";
    ASSERT_TRUE(cloud.FireTimer(CNotifier::kTimerNoticeStage));
    EXPECT_FALSE(::IsWindow(window)) << "closed after stage 1";
    EXPECT_EQ(cloud.GetCurrent().text, CString("Lou Mann\r\nhas joined...")) << "the next notice shows";
    EXPECT_EQ(cloud.GetQueueCount(), 0u);
}

TEST(NotifierQueue, OnTheWindowsOwnTimersANoticeGrowsHoldsAndGoes) {
    RecordingNotifier cloud;
    cloud.GetTimers().SetManual(false);
    cloud.AddNotice("Rae Sun\r\nhas joined...", kTray);
    cloud.AddNotice("Sol Tam\r\nhas joined...", kTray);
    auto* notice = dynamic_cast<CNoticeWindow*>(cloud.GetWindow());
    ASSERT_NE(notice, nullptr);
    HWND window = notice->GetSafeHwnd();
    EXPECT_TRUE(orvtest::PumpUntil([&] { return notice->GetStage() == CNoticeWindow::kStages; }, 60000));
    EXPECT_TRUE(cloud.GetTimers().IsRunning(window, CNotifier::kTimerNoticeHold));
    // 6 s at full size, three stages down, then the next notice.
    EXPECT_TRUE(orvtest::PumpUntil([&] { return !::IsWindow(window); }, 60000));
    EXPECT_EQ(cloud.GetCurrent().text, CString("Sol Tam\r\nhas joined..."));
    cloud.CloseAll();
}

TEST(NotifierMenu, FlagsChooseItemsCheckMarkAndCloudCaption) {
    // On line with everything offered and the cloud on.
    auto items = CTrayMenuWindow::ItemsFor(0xFF00 | 1);
    ASSERT_EQ(items.size(), 5u);
    const char* texts[] = {"SHOW I'M ONLINE", "SHOW ME ONLY TO MY FRIENDS", "SHOW I'M OFFLINE", "CLOSE ORVANE",
                           "Disable notification cloud"};
    const int values[] = {1, 2, 4, 8, 16};
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_STREQ(items[i].text, texts[i]);
        EXPECT_EQ(items[i].value, values[i]);
        EXPECT_EQ(items[i].checked, i == 0) << texts[i];
    }
    EXPECT_EQ(items[0].marker, RGB(255, 128, 64));
    EXPECT_EQ(items[1].marker, RGB(255, 0, 255));
    EXPECT_EQ(items[2].marker, RGB(128, 128, 128));
    EXPECT_EQ(items[3].marker, RGB(0, 0, 128));
    EXPECT_TRUE(items[0].dot && items[1].dot && items[2].dot);
    EXPECT_FALSE(items[3].dot || items[4].dot);

    // The cloud switched off: the last item offers to enable it.
    items = CTrayMenuWindow::ItemsFor(0xFF00 | 2 | CNotifier::kMenuCloudOff);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_STREQ(items[4].text, "Enable notification cloud");
    EXPECT_TRUE(items[1].checked);
    EXPECT_FALSE(items[0].checked || items[2].checked);

    // Off line: only "CLOSE ORVANE" is offered, nothing is checked.
    items = CTrayMenuWindow::ItemsFor(0x800 | 4 | CNotifier::kMenuCloudOff);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_STREQ(items[0].text, "CLOSE ORVANE");
    EXPECT_FALSE(items[0].checked);

    // A mask picks items one by one; the check follows the low byte only.
    items = CTrayMenuWindow::ItemsFor((0x10 | 0x04) << 8 | 4);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].value, 4);
    EXPECT_TRUE(items[0].checked);
    EXPECT_EQ(items[1].value, 16);
    EXPECT_STREQ(items[1].text, "Disable notification cloud");
}

TEST(NotifierMenu, EachItemCallsItsHandlerThenTheNextRequestShows) {
    const struct {
        int value;
        const char* call;
    } table[] = {{1, "online"}, {2, "friends"}, {4, "away"}, {8, "close"}, {16, "cloud"}};
    for (const auto& row : table) {
        RecordingNotifier cloud;
        cloud.AddNotice("Max Nye\r\nhas joined...", kTray);
        ASSERT_TRUE(cloud.ShowMenu(0xFF00 | 1, kTray));
        cloud.AddNotice("Ned Orr\r\nhas joined...", kTray);  // waits for the menu
        EXPECT_EQ(cloud.GetCurrent().kind, nkMenu);
        CTrayMenuWindow* menu = Menu(cloud);
        ASSERT_NE(menu, nullptr);
        const CTrayMenuWindow::Item* item = menu->FindItem(row.value);
        ASSERT_NE(item, nullptr) << row.value;
        HWND window = menu->GetSafeHwnd();
        ClickAt(cloud, item->rect);
        EXPECT_EQ(cloud.calls, std::vector<std::string>{row.call}) << row.value;
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_EQ(cloud.GetCurrent().text, CString("Ned Orr\r\nhas joined...")) << row.value;
    }
}

TEST(NotifierMenu, EscapeDismissesAndAnExitFromTheMenuEndsEverything) {
    RecordingNotifier cloud;
    ASSERT_TRUE(cloud.ShowMenu(0x800 | 4, kTray));
    ::SendMessageA(cloud.GetWindow()->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(cloud.IsShowing());
    EXPECT_TRUE(cloud.calls.empty());

    // "CLOSE ORVANE" whose handler closes the whole cloud while the menu's
    // click is still being handled.
    cloud.closeAllOnExit = true;
    ASSERT_TRUE(cloud.ShowMenu(0x800 | 4, kTray));
    cloud.AddNotice("Oz Pratt\r\nhas joined...", kTray);
    ClickAt(cloud, Menu(cloud)->FindItem(CNotifier::miClose)->rect);
    EXPECT_EQ(cloud.calls, std::vector<std::string>{"close"});
    EXPECT_FALSE(cloud.IsShowing());
    EXPECT_EQ(cloud.GetQueueCount(), 0u);
    orvtest::PumpPending();  // the retired pop-ups go
}

TEST(NotifierQueue, TheQueueIsBoundedAndKeepsRoomForInvitations) {
    RecordingNotifier cloud;
    int accepted = 0;
    for (int i = 0; i < 100; ++i) accepted += cloud.AddNotice("Notice " + CString(std::to_string(i).c_str()), kTray);
    EXPECT_EQ(cloud.GetQueueCount(), CNotifier::kMaxQueue);
    EXPECT_EQ(accepted, static_cast<int>(CNotifier::kMaxQueue) + 1) << "one on show, the rest queued";
    // An invitation still gets in (a waiting notice makes room) and shows.
    EXPECT_TRUE(Invite(cloud, "O77", "Pia Quinn"));
    EXPECT_EQ(cloud.GetCurrent().identity, CString("O77"));
    EXPECT_LE(cloud.GetQueueCount(), CNotifier::kMaxQueue);
    // Invitations from many members fill it; then new ones are refused, and
    // none that was taken is lost on the way.
    int invited = 0;
    for (int i = 0; i < 100; ++i) invited += Invite(cloud, ("O" + std::to_string(1000 + i)).c_str(), "X");
    // (A displacing invitation needs room for two, so one place may stay free.)
    EXPECT_GE(cloud.GetQueueCount(), CNotifier::kMaxQueue - 1);
    EXPECT_LE(cloud.GetQueueCount(), CNotifier::kMaxQueue);
    EXPECT_LT(invited, 100);
    size_t waiting = 0;
    for (size_t i = 0; i < cloud.GetQueueCount(); ++i) waiting += cloud.GetQueued(i).kind == nkInvitation;
    EXPECT_EQ(waiting + 1, static_cast<size_t>(invited) + 1) << "Pia's and every one taken, on show or waiting";
    EXPECT_TRUE(cloud.HasInvitation("O77"));
    while (cloud.GetQueueCount() < CNotifier::kMaxQueue) ASSERT_TRUE(cloud.AddNotice("fills", kTray));
    EXPECT_FALSE(cloud.AddNotice("one more", kTray)) << "a full queue takes no notice";
    EXPECT_EQ(cloud.GetQueueCount(), CNotifier::kMaxQueue);
    // Empty identities are not invitations.
    EXPECT_FALSE(cloud.AddInvitation("", "x", "x", kTray));
    cloud.CloseAll();
    EXPECT_FALSE(cloud.IsShowing());
    EXPECT_EQ(cloud.GetQueueCount(), 0u);
}

}  // namespace
