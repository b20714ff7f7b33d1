// The message panel on a real window in both shipped skins: the greeting
// by hour, the counted clock and its repaints, the page address, and the
// error check of the page, which here can never render.
#include "EditsTestSupport.h"
#include "OrvCtrlsTestSupport.h"
#include "OrvMessagePanelCtrl.h"

#include <gtest/gtest.h>

#include <ctime>
#include <memory>

using edittest::HostWindow;
using edittest::Picture;
using edittest::WaitFor;
using orvctrlstest::CtrlsSkin;

namespace {

// Today at hour:minute, local time.
time_t LocalTime(int hour, int minute) {
    time_t now = ::time(nullptr);
    tm local = *::localtime(&now);
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    return ::mktime(&local);
}

class MessagePanelTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin.IsRead());
        ASSERT_TRUE(panel->GetSafeHwnd());
        panel->SetTimeSource([this] { return now; });
        panel->SetPos(10, 10, 196, 110);
        skin.Apply(*panel);
        panel->SetUserName("Ann Lee");
        Settle();
    }

    void Settle() {
        panel->Invalidate(FALSE);
        ASSERT_TRUE(WaitFor([] { return ::GetQueueStatus(QS_PAINT) == 0; }));
    }

    std::string Name(const char* what) const { return std::string("orvctrls-panel-") + skin.Name() + "-" + what + ".bmp"; }

    // The greeting's row of the panel, as pixels in the greeting colour.
    std::vector<bool> Row(const Picture& picture, int top, int bottom) const {
        std::vector<bool> ink;
        const COLORREF colour = panel->GetGreetingFont().GetColor();
        const POINT origin = orvctrlstest::ClientOrigin(panel->GetSafeHwnd(), host.GetSafeHwnd());
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < 195; ++x) ink.push_back(picture.Pixel(origin.x + x, origin.y + y) == colour);
        return ink;
    }

    static int Count(const std::vector<bool>& ink) {
        int count = 0;
        for (bool one : ink) count += one ? 1 : 0;
        return count;
    }

    CtrlsSkin skin{GetParam()};
    HostWindow host{40, 40, 240, 150};
    std::unique_ptr<OrvMessagePanelCtrl> panel = std::make_unique<OrvMessagePanelCtrl>(&host);
    time_t now = LocalTime(9, 30);
};

}  // namespace

TEST_P(MessagePanelTest, TheWindowIsMadeAsTheMainWindowExpects) {
    char className[64] = {};
    ::GetClassNameA(panel->GetSafeHwnd(), className, sizeof className);
    EXPECT_STREQ(className, "OrvBannerCtrl");
    EXPECT_EQ(::GetDlgCtrlID(panel->GetSafeHwnd()), 90);
    const LONG style = ::GetWindowLongA(panel->GetSafeHwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);
    EXPECT_TRUE(::GetDlgItem(panel->GetSafeHwnd(), 1)) << "the page area is child 1";
    const SIZE area = panel->GetChildArea();
    EXPECT_EQ(area.cx, 191);
    EXPECT_EQ(area.cy, 74);
}

TEST_P(MessagePanelTest, TheGreetingChangesAtSixTwelveAndEighteen) {
    struct Hour {
        int hour, minute;
        const char* name;
    };
    const Hour hours[] = {{5, 59, "0559"}, {6, 0, "0600"}, {12, 0, "1200"}, {18, 0, "1800"}};
    std::vector<std::vector<bool>> rows;
    for (const Hour& hour : hours) {
        now = LocalTime(hour.hour, hour.minute);
        Settle();
        Picture picture(host.GetSafeHwnd());
        picture.Save(Name(hour.name));
        rows.push_back(Row(picture, OrvMessagePanelCtrl::kGreetingY, OrvMessagePanelCtrl::kUserNameY));
        EXPECT_GT(Count(rows.back()), 40) << "a greeting is written at " << hour.name;
        EXPECT_GT(Count(Row(picture, OrvMessagePanelCtrl::kUserNameY, OrvMessagePanelCtrl::kUserNameY + 22)), 20)
            << "the name below it";
    }
    EXPECT_EQ(rows[0], rows[3]) << "05:59 and 18:00 both say good evening";
    EXPECT_NE(rows[0], rows[1]) << "06:00 says good morning";
    EXPECT_NE(rows[1], rows[2]) << "12:00 says good afternoon";
    EXPECT_NE(rows[2], rows[3]);
}

TEST_P(MessagePanelTest, TwoStartClocksNeedTwoStopClocksBeforeTheGreetingReturns) {
    const std::vector<bool> greeting = Row(Picture(host.GetSafeHwnd()), 0, 60);
    panel->StartClock();
    panel->StartClock();
    EXPECT_TRUE(panel->GetIsClock());
    EXPECT_EQ(panel->GetClockRefCount(), 2);
    Settle();
    Picture clock(host.GetSafeHwnd());
    clock.Save(Name("clock"));
    EXPECT_NE(Row(clock, 0, 60), greeting) << "the clock replaces the greeting";

    // One frame of the clock is drawn centred, magenta left out (which one
    // depends on how many repaints there were).
    ClsBitMap& image = panel->GetClockImage();
    ASSERT_TRUE(image.GetIsValid());
    const int steps = panel->GetClockSteps();
    ASSERT_GT(steps, 1);
    RECT client{};
    ::GetClientRect(panel->GetSafeHwnd(), &client);
    const int frameHeight = image.GetHeight() / steps;
    const int left = (client.right - image.GetWidth()) / 2, top = (client.bottom - frameHeight) / 2;
    const POINT origin = orvctrlstest::ClientOrigin(panel->GetSafeHwnd(), host.GetSafeHwnd());
    int matching = -1, fewest = image.GetWidth() * frameHeight;
    for (int frame = 0; frame < steps && matching < 0; ++frame) {
        int solid = 0, wrong = 0;
        for (int y = 0; y < frameHeight; ++y)
            for (int x = 0; x < image.GetWidth(); ++x) {
                const COLORREF source = edittest::ImagePixel(image, x, frame * frameHeight + y);
                if (source == RGB(255, 0, 255)) continue;
                ++solid;
                if (clock.Pixel(origin.x + left + x, origin.y + top + y) != source) ++wrong;
            }
        if (solid > 20 && wrong == 0) matching = frame;
        if (wrong < fewest) fewest = wrong;
    }
    EXPECT_GE(matching, 0) << "a whole frame at the centre (closest differs in " << fewest << " pixels); see "
                           << Name("clock");

    // The repaint thread keeps the clock turning.
    const int frame = panel->GetClockFrame();
    ASSERT_TRUE(WaitFor([&] { return panel->GetClockFrame() != frame; }));

    panel->StopClock();
    EXPECT_TRUE(panel->GetIsClock()) << "one stop is not enough";
    EXPECT_EQ(panel->GetClockRefCount(), 1);
    panel->StopClock();
    EXPECT_FALSE(panel->GetIsClock());
    panel->StopClock();
    EXPECT_EQ(panel->GetClockRefCount(), 0) << "an extra stop does not go below zero";
    const long requests = panel->GetRepaintRequests();
    ASSERT_TRUE(WaitFor([&] { return panel->GetRepaintRequests() > requests; })) << "one repaint after the stop";
    ASSERT_TRUE(WaitFor([] { return ::GetQueueStatus(QS_PAINT) == 0; }));
    EXPECT_EQ(Row(Picture(host.GetSafeHwnd()), 0, 60), greeting) << "the greeting is back";

    panel->StartClock();
    EXPECT_EQ(panel->GetClockFrame(), 0) << "a new start begins at frame 0";
    panel->StopClock();
}

TEST_P(MessagePanelTest, TheAddressIsCleanedAndEveryNavigationGetsAFreshSuffix) {
    now = 1700000000;
    panel->SetURL("  http://messages.example/m?u=7\r\n ");
    EXPECT_STREQ(panel->GetURL().GetString(), "http://messages.example/m?u=7");
    EXPECT_STREQ(panel->GetLocation().GetString(), "http://messages.example/m?u=7&sv=1700000000");
    now = 1700000042;
    panel->RepeatURL();
    EXPECT_STREQ(panel->GetLocation().GetString(), "http://messages.example/m?u=7&sv=1700000042");
    panel->SetURL("a\r\nb");
    EXPECT_STREQ(panel->GetURL().GetString(), "a  b") << "line breaks become blanks";
    panel->SetURL(" \r\n");
    EXPECT_STREQ(panel->GetURL().GetString(), "");
    EXPECT_STREQ(panel->GetLocation().GetString(), "") << "an empty address navigates to nothing";
}

TEST_P(MessagePanelTest, ThePageThatCannotLoadLeavesTheGreetingAndATitledPageIsAnError) {
    const std::vector<bool> greeting = Row(Picture(host.GetSafeHwnd()), 0, 60);
    panel->SetBannerVisible(1);
    panel->SetURL("http://messages.example/m?u=7");
    // Nothing renders here: the failed navigation hides the page.
    ASSERT_TRUE(WaitFor([&] { return panel->IsWebError(); }));
    EXPECT_FALSE(panel->IsPageShown());
    Settle();
    Picture failed(host.GetSafeHwnd());
    failed.Save(Name("page-failed"));
    EXPECT_EQ(Row(failed, 0, 60), greeting) << "the greeting stays";

    // A document titled "refresh" (any case) is the message page.
    panel->OnBeforeNavigate2("http://messages.example/m");
    panel->OnTitleChange("Refresh");
    panel->OnDocumentComplete("http://messages.example/m");
    EXPECT_FALSE(panel->IsWebError());
    EXPECT_TRUE(panel->IsPageShown());
    RECT page{};
    const HWND pageWindow = ::GetDlgItem(panel->GetSafeHwnd(), 1);
    ::GetWindowRect(pageWindow, &page);
    EXPECT_EQ(page.right - page.left, 196);
    EXPECT_EQ(page.bottom - page.top, 79);
    POINT corner{page.left, page.top};
    ::ScreenToClient(panel->GetSafeHwnd(), &corner);
    EXPECT_EQ(corner.x, 0);
    EXPECT_EQ(corner.y, 0);
    Settle();
    ::RedrawWindow(pageWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Picture shown(host.GetSafeHwnd());
    shown.Save(Name("page-placeholder"));
    EXPECT_GT(shown.Count(RECT{12, 12, 204, 87}, RGB(255, 255, 255)), 196 * 79 / 2)
        << "the placeholder covers the panel";

    // Any other title is an error page: hidden again.
    panel->OnBeforeNavigate2("http://messages.example/m");
    panel->OnTitleChange("404 Not Found");
    panel->OnDocumentComplete("http://messages.example/m");
    EXPECT_TRUE(panel->IsWebError());
    EXPECT_FALSE(panel->IsPageShown());
    ::GetWindowRect(pageWindow, &page);
    EXPECT_EQ(page.right - page.left, 0);

    // An untitled document while the clock runs is fine but not shown.
    panel->SetBannerVisible(0);
    panel->StartClock();
    panel->OnBeforeNavigate2("x");
    panel->OnDocumentComplete("x");
    EXPECT_FALSE(panel->IsWebError());
    EXPECT_EQ(panel->GetBannerVisible(), 0) << "not shown while the clock runs";
    panel->StopClock();

    bool cancel = false;
    panel->OnNewWindow2(&cancel);
    EXPECT_TRUE(cancel) << "no pop-up windows from the panel";
    panel->EnableBrowser(0);
    const int before = panel->GetLocation().GetLength();
    panel->SetURL("http://other.example/");
    EXPECT_EQ(panel->GetLocation().GetLength(), before) << "a disabled page does not navigate";
}

TEST_P(MessagePanelTest, DestroyingThePanelWhileTheClockRunsEndsItsThread) {
    panel->StartClock();
    const long requests = panel->GetRepaintRequests();
    ASSERT_TRUE(WaitFor([&] { return panel->GetRepaintRequests() > requests + 1; }));
    const HWND window = panel->GetSafeHwnd();
    panel.reset();
    EXPECT_FALSE(::IsWindow(window)) << "the thread was joined and the window went with the panel";
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, MessagePanelTest, ::testing::Values("Daylight", "Graphite"));
