// The search result list on a real window in both shipped skins: its
// columns and rows, drawn rows, sorting by header clicks, double clicks,
// the popup menu of a row, and rows added from another thread.
#include "EditsTestSupport.h"
#include "OrvCtrlsTestSupport.h"
#include "OrvSearchResultCtrl.h"

#include "ClsSkinnedMenuItem.h"
#include "DragTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using dragtest::MoveTo;
using dragtest::PressLeft;
using dragtest::ReleaseLeft;
using dragtest::TapKey;
using edittest::HostWindow;
using edittest::ImagePixel;
using edittest::InputFence;
using edittest::Picture;
using edittest::WaitFor;
using orvctrlstest::CtrlsSkin;
using orvctrlstest::EnglishTexts;
using orvctrlstest::Person;
using orvctrlstest::RecordingNavigate;
using orvctrlstest::RecordingSearchResult;

namespace {

class SearchResultTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin.IsRead());
        ASSERT_TRUE(list.GetSafeHwnd());
        list.SetPos(10, 10, 420, 200);
        skin.Apply(list);
        navigate.userId = "me-1";
        people = {Person("b", "Bo", "Ng", "bo@x.org", 0, 1, "pilot"),
                  Person("ME-1", "Me", "Myself", "me@x.org", 0, 1, "tester"),
                  Person("a", "Al", "Ax", "zed@x.org", 1, 0, "cook"),
                  Person("c", "Cy", "Ek", "cy@x.org", 0, 1, "baker")};
        for (const ORVCONTACTINFO& person : people) list.AddElement(&person);
        Settle();
    }

    void Settle() { ASSERT_TRUE(orvctrlstest::RedrawAndSettle(list.GetSafeHwnd())); }

    std::string Name(const char* what) const { return std::string("orvctrls-results-") + skin.Name() + "-" + what + ".bmp"; }

    RECT RowRect(int row) const { return orvctrlstest::RowBounds(list.GetSafeHwnd(), row); }

    // The screen point of (x, y) in the list's client area.
    POINT Screen(int x, int y) const {
        POINT at{x, y};
        ::ClientToScreen(list.GetSafeHwnd(), &at);
        return at;
    }

    std::string Ids() {
        std::string ids;
        for (int i = 0; i < list.GetCount(); ++i) ids += list.GetContact(i)->GetContact().id.GetString();
        return ids;
    }

    void ClickHeader(int column) {
        RECT item{};
        ::SendMessageA(list.GetHeaderHandle(), HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ::ClientToScreen(list.GetHeaderHandle(), &at);
        MoveTo(at.x, at.y);
        PressLeft();
        ReleaseLeft();
    }

    CtrlsSkin skin{GetParam()};
    HostWindow host{40, 40, 460, 240};
    RecordingSearchResult results;
    RecordingNavigate navigate;
    OrvSearchResultCtrl list{&EnglishTexts(), &host, &results, &navigate};
    InputFence fence;
    std::vector<ORVCONTACTINFO> people;
};

}  // namespace

TEST_P(SearchResultTest, ColumnsAndRowsAreMadeAsTheMainWindowExpects) {
    ASSERT_EQ(list.GetColumnCount(), 4);
    const int widths[] = {16, 60, 100, 70};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(list.GetColumnWidth(i), widths[i]) << "column " << i;
    EXPECT_STREQ(list.GetColumnCaption(0).GetString(), "");
    EXPECT_STREQ(list.GetColumnCaption(1).GetString(), EnglishTexts().GetString("IDS_SKIN_HDR_NAME").GetString());
    EXPECT_STREQ(list.GetColumnCaption(2).GetString(), EnglishTexts().GetString("IDS_SKIN_HDR_EMAIL").GetString());
    EXPECT_STREQ(list.GetColumnCaption(3).GetString(), EnglishTexts().GetString("IDS_SKIN_HDR_OCCUPATION").GetString());

    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list.GetItemCount(), 5) << "one empty row after the last person";
    list.AddElement(nullptr);
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list.GetContact(4), nullptr);
    EXPECT_EQ(list.GetContact(-1), nullptr);
    EXPECT_STREQ(list.GetContact(1)->GetDisplayName().GetString(), "Me Myself");
    people[0].firstName = "Changed";
    EXPECT_STREQ(list.GetContact(0)->GetContact().firstName.GetString(), "Bo") << "rows are copies";
    EXPECT_EQ(list.GetCallBack(), &results);

    list.StretchLastColumn();
    RECT client{};
    ::GetClientRect(list.GetSafeHwnd(), &client);
    EXPECT_EQ(list.GetColumnWidth(3), client.right - 176 - 12 + 10) << "the last column takes the room";

    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetItemCount(), 0);
    list.AddElement(&people[2]);
    EXPECT_EQ(list.GetItemCount(), 2);
}

TEST_P(SearchResultTest, RowsAreDrawnInAlternateColoursWithTheChatMarkAndTheirTexts) {
    Picture picture(host.GetSafeHwnd());
    ASSERT_TRUE(picture.Save(Name("rows")));
    const POINT origin = orvctrlstest::ClientOrigin(list.GetSafeHwnd(), host.GetSafeHwnd());
    const ControlBorderInfo_t* frame = skin.Control(crListViews);
    ASSERT_TRUE(frame);
    for (int row = 0; row < 5; ++row) {
        const RECT bounds = RowRect(row);
        // Right of the texts the row shows only its background.
        const COLORREF expected = (row % 2) ? list.GetSecondRowColor() : frame->BgColor;
        EXPECT_EQ(picture.Pixel(origin.x + bounds.right - 3, origin.y + bounds.top + 1), expected) << "row " << row;
    }
    ClsBitMap& icon = list.GetChatIcon();
    ASSERT_TRUE(icon.GetIsValid());
    for (int row = 0; row < 4; ++row) {
        const RECT bounds = RowRect(row);
        const int x = bounds.left + (16 - icon.GetWidth()) / 2;
        const int y = bounds.top + (bounds.bottom - bounds.top - icon.GetHeight()) / 2;
        int solid = 0, wrong = 0;
        for (int iy = 0; iy < icon.GetHeight(); ++iy)
            for (int ix = 0; ix < icon.GetWidth(); ++ix) {
                const COLORREF source = ImagePixel(icon, ix, iy);
                if (source == RGB(255, 0, 255)) continue;
                ++solid;
                if (picture.Pixel(origin.x + x + ix, origin.y + y + iy) != source) ++wrong;
            }
        const bool canChat = list.GetContact(row)->GetContact().canChat != 0;
        if (canChat)
            EXPECT_EQ(wrong, 0) << "the chat mark of row " << row;
        else
            EXPECT_GT(wrong, solid / 2) << "no chat mark in row " << row;
        // Some of the name is written in the list's text colour.
        const RECT name{origin.x + bounds.left + 16, origin.y + bounds.top, origin.x + bounds.left + 76,
                        origin.y + bounds.bottom};
        EXPECT_GT(picture.Count(name, list.GetTextFont().GetColor()), 3) << "the name of row " << row;
    }
    // The private address of row 2 (an even row) is not written: its cell
    // is background.
    const RECT bounds = RowRect(2);
    const RECT email{origin.x + bounds.left + 77, origin.y + bounds.top, origin.x + bounds.left + 175,
                     origin.y + bounds.bottom};
    EXPECT_EQ(picture.Count(email, frame->BgColor), (email.right - email.left) * (email.bottom - email.top))
        << "a private address is never shown";
}

TEST_P(SearchResultTest, HeaderClicksSortPrivateAddressesLastAndTheSameColumnTwiceReverses) {
    ClickHeader(2);
    ASSERT_TRUE(WaitFor([&] { return list.GetSortOrder().GetColumn() == 2; }));
    EXPECT_EQ(Ids(), "bcME-1a") << "by e-mail, the private one last";
    EXPECT_FALSE(list.GetSortOrder().GetDescending());
    Settle();
    Picture(host.GetSafeHwnd()).Save(Name("by-email"));

    ClickHeader(2);
    ASSERT_TRUE(WaitFor([&] { return list.GetSortOrder().GetDescending(); }));
    EXPECT_EQ(Ids(), "aME-1cb") << "descending: the private one first";

    ClickHeader(1);
    ASSERT_TRUE(WaitFor([&] { return list.GetSortOrder().GetColumn() == 1; }));
    EXPECT_TRUE(list.GetSortOrder().GetDescending()) << "a new column keeps the direction";
    EXPECT_EQ(Ids(), "ME-1cba");
    EXPECT_EQ(list.GetSortColumn(), 1) << "the header shows the arrow on the sort column";
    EXPECT_FALSE(list.GetSortAscending());
    ASSERT_TRUE(fence.Pass());
}

TEST_P(SearchResultTest, DoubleClickingRowThreeReportsItsRecord) {
    const RECT bounds = RowRect(3);
    const POINT at = Screen(bounds.left + 100, (bounds.top + bounds.bottom) / 2);
    MoveTo(at.x, at.y);
    ASSERT_TRUE(WaitFor([&] { return list.GetHoverRow() == 3; })) << "the row under the pointer is hovered";
    PressLeft();
    ReleaseLeft();
    PressLeft();
    ReleaseLeft();
    ASSERT_TRUE(WaitFor([&] { return !results.calls.empty(); }));
    ASSERT_EQ(results.calls.size(), 1u);
    EXPECT_EQ(results.calls[0].kind, ORVNAV_ACTIVATE);
    EXPECT_EQ(results.calls[0].command, 0);
    ASSERT_TRUE(results.calls[0].hasContact);
    EXPECT_STREQ(results.calls[0].contact.id.GetString(), "c");
    Settle();
    Picture(host.GetSafeHwnd()).Save(Name("hovered"));
    ASSERT_TRUE(fence.Pass());
    ASSERT_TRUE(WaitFor([&] { return list.GetHoverRow() == -1; })) << "leaving clears the hover";

    list.OnDblClick(4);
    list.OnDblClick(-1);
    EXPECT_EQ(results.calls.size(), 1u) << "the empty row and no row report nothing";
}

TEST_P(SearchResultTest, RightClickingTheMembersOwnRowDisablesChatAndSearchPath) {
    OrvResultPopupMenu& menu = list.GetPopupMenu();
    const RECT own = RowRect(1);
    POINT at = Screen(own.left + 100, (own.top + own.bottom) / 2);
    MoveTo(at.x, at.y);
    orvctrlstest::RightClick();
    ASSERT_TRUE(WaitFor([&] { return menu.GetIsOpen(); })) << "the menu opens at the click";
    EXPECT_EQ(list.GetMenuRow(), 1);
    EXPECT_FALSE(menu.FindItemByCommand(ORVMENU_CHAT)->GetEnabled()) << "no chat with oneself";
    EXPECT_FALSE(menu.FindItemByCommand(ORVMENU_SEARCH_PATH)->GetEnabled()) << "no path to oneself";
    EXPECT_TRUE(menu.FindItemByCommand(ORVMENU_VIEW_MAP)->GetEnabled());
    Picture(host.GetSafeHwnd()).Save(Name("menu-own"));
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !menu.GetIsOpen(); }));

    const RECT other = RowRect(0);
    at = Screen(other.left + 100, (other.top + other.bottom) / 2);
    MoveTo(at.x, at.y);
    orvctrlstest::RightClick();
    ASSERT_TRUE(WaitFor([&] { return menu.GetIsOpen() && list.GetMenuRow() == 0; }));
    EXPECT_TRUE(menu.FindItemByCommand(ORVMENU_CHAT)->GetEnabled());
    EXPECT_TRUE(menu.FindItemByCommand(ORVMENU_SEARCH_PATH)->GetEnabled());
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !menu.GetIsOpen(); }));

    // The commands as the menu posts them, for the row of the last click.
    ::PostMessageA(list.GetSafeHwnd(), WM_COMMAND, ORVMENU_ADD_TO_DESTINATION, 0);
    ::PostMessageA(list.GetSafeHwnd(), WM_COMMAND, ORVMENU_CHAT, 0);
    ::PostMessageA(list.GetSafeHwnd(), WM_COMMAND, ORVMENU_VIEW_MAP, 0);
    ASSERT_TRUE(WaitFor([&] { return navigate.calls.size() == 2; }));
    ASSERT_EQ(results.calls.size(), 1u);
    EXPECT_EQ(results.calls[0].kind, ORVNAV_COMMAND);
    EXPECT_EQ(results.calls[0].command, ORVRESCMD_ADD_TO_DESTINATION);
    EXPECT_STREQ(results.calls[0].contact.id.GetString(), "b");
    EXPECT_EQ(navigate.calls[0].kind, ORVNAV_COMMAND);
    EXPECT_EQ(navigate.calls[0].command, ORVNAVCMD_CHAT);
    EXPECT_EQ(navigate.calls[1].command, ORVNAVCMD_VIEW_MAP);
    EXPECT_STREQ(navigate.calls[1].contact.id.GetString(), "b");
    ASSERT_TRUE(fence.Pass());
}

TEST_P(SearchResultTest, RowsAddedFromAnotherThreadWhileTheListPaintsAllArrive) {
    list.DeleteAllItems();
    const int kRows = 200;
    std::atomic<bool> finished{false};
    std::thread adder([&] {
        for (int i = 0; i < kRows; ++i) {
            const ORVCONTACTINFO person = Person("t", "Thread", "Row", "t@x.org", i % 2, i % 3);
            list.AddElement(&person);
            // Paint between the rows, while the next ones arrive.
            if (i % 10 == 0) ::InvalidateRect(list.GetSafeHwnd(), nullptr, FALSE);
        }
        finished = true;
    });
    // The rows' window calls are carried out here: pump until all are in.
    const bool arrived = WaitFor([&] { return finished.load(); });
    if (!arrived) orvtest::PumpUntil([&] { return finished.load(); }, 600000);
    adder.join();
    ASSERT_TRUE(arrived);
    EXPECT_EQ(list.GetCount(), kRows);
    EXPECT_EQ(list.GetItemCount(), kRows + 1);
    Settle();
    EXPECT_STREQ(list.GetContact(kRows - 1)->GetDisplayName().GetString(), "Thread Row");
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, SearchResultTest, ::testing::Values("Daylight", "Graphite"));
