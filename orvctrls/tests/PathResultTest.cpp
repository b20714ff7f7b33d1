// The path result list on a real window in both shipped skins: one row per
// path with its steps and names, "..." for a path too long for its column,
// clicks and the popup menu of a name, and the text form of the paths.
#include "EditsTestSupport.h"
#include "OrvCtrlsTestSupport.h"
#include "OrvPathFinderResultCtrl.h"
#include "OrvResultRules.h"

#include "ClsSkinnedMenuItem.h"
#include "DragTestSupport.h"

#include <gtest/gtest.h>

using dragtest::MoveTo;
using dragtest::PressLeft;
using dragtest::ReleaseLeft;
using dragtest::TapKey;
using edittest::HostWindow;
using edittest::InputFence;
using edittest::Picture;
using edittest::WaitFor;
using orvctrlstest::CtrlsSkin;
using orvctrlstest::EnglishTexts;
using orvctrlstest::Person;
using orvctrlstest::RecordingNavigate;
using orvctrlstest::RecordingPathResult;

namespace {

class PathResultTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin.IsRead());
        ASSERT_TRUE(list.GetSafeHwnd());
        list.SetPos(10, 10, 520, 160);
        skin.Apply(list);
        navigate.userId = "me-1";
        const ORVCONTACTINFO shortPath[] = {Person("me-1", "Me", "Myself", "me@x.org"),
                                            Person("b", "Bo", "Ng", "bo@x.org", 0, 0),
                                            Person("c", "Cy", "Ek", "cy@x.org"),
                                            Person("d", "Di", "Fu", "di@x.org")};
        list.AddElement(4, shortPath);
        std::vector<ORVCONTACTINFO> longPath;
        for (int i = 0; i < 30; ++i) longPath.push_back(Person("l", "Longname", "Person", "l@x.org"));
        list.AddElement(static_cast<int>(longPath.size()), longPath.data());
        Settle();
    }

    void Settle() { ASSERT_TRUE(orvctrlstest::RedrawAndSettle(list.GetSafeHwnd())); }

    std::string Name(const char* what) const { return std::string("orvctrls-paths-") + skin.Name() + "-" + what + ".bmp"; }

    RECT RowRect(int row) const { return orvctrlstest::RowBounds(list.GetSafeHwnd(), row); }

    // The screen point in the middle of person's drawn name in row.
    POINT NameCentre(int row, int person) {
        const RECT bounds = RowRect(row);
        list.Lock();
        const ClsContactInfo* who = list.GetPath(row)->GetAt(person);
        POINT at{who->GetTextX() + who->GetTextWidth() / 2, (bounds.top + bounds.bottom) / 2};
        list.Unlock();
        ::ClientToScreen(list.GetSafeHwnd(), &at);
        return at;
    }

    CtrlsSkin skin{GetParam()};
    HostWindow host{40, 40, 560, 200};
    RecordingPathResult results;
    RecordingNavigate navigate;
    OrvPathFinderResultCtrl list{&EnglishTexts(), &host, &results, &navigate};
    InputFence fence;
};

}  // namespace

TEST_P(PathResultTest, ColumnsRowsAndTheTextFormOfThePaths) {
    ASSERT_EQ(list.GetColumnCount(), 2);
    EXPECT_EQ(list.GetColumnWidth(0), 70);
    EXPECT_EQ(list.GetColumnWidth(1), 1000);
    EXPECT_STREQ(list.GetColumnCaption(0).GetString(), EnglishTexts().GetString("IDS_SKIN_HDR_NODESNUM").GetString());
    EXPECT_STREQ(list.GetColumnCaption(1).GetString(), EnglishTexts().GetString("IDS_SKIN_HDR_PATHSFOUND").GetString());
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetItemCount(), 3) << "one empty row after the last path";
    list.AddElement(0, nullptr);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetPath(2), nullptr);
    EXPECT_EQ(list.GetPath(0)->GetSteps(), 3) << "a path of 4 people has 3 steps";

    EXPECT_EQ(list.GetStringisticPaths(), nullptr) << "none until generated";
    ClsPaths* texts = list.GenerateStringisticPaths();
    ASSERT_TRUE(texts);
    EXPECT_EQ(texts, list.GetStringisticPaths());
    ASSERT_EQ(texts->GetCount(), 2);
    EXPECT_STREQ(texts->GetPaths(0).GetString(), "Me Myself -> Bo Ng -> Cy Ek -> Di Fu");

    // The steps column cannot be made wider than 100.
    HDITEMA wider{};
    wider.mask = HDI_WIDTH;
    wider.cxy = 180;
    ::SendMessageA(list.GetHeaderHandle(), HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&wider));
    EXPECT_EQ(list.GetColumnWidth(0), 70) << "180 is refused";
    wider.cxy = 95;
    ::SendMessageA(list.GetHeaderHandle(), HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&wider));
    EXPECT_EQ(list.GetColumnWidth(0), 95) << "up to 100 is taken";

    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_P(PathResultTest, APathShowsItsStepsAndALongOneEndsInAnEllipsis) {
    Picture picture(host.GetSafeHwnd());
    ASSERT_TRUE(picture.Save(Name("rows")));
    EXPECT_FALSE(list.IsRowCut(0));
    EXPECT_TRUE(list.IsRowCut(1)) << "thirty names do not fit; see " << Name("rows");

    // Column 0 of row 0 holds the "3" centred, in the list's text colour.
    const POINT origin = orvctrlstest::ClientOrigin(list.GetSafeHwnd(), host.GetSafeHwnd());
    const RECT bounds = RowRect(0);
    const COLORREF ink = list.GetTextFont().GetColor();
    const RECT left{origin.x + bounds.left, origin.y + bounds.top, origin.x + bounds.left + 30, origin.y + bounds.bottom};
    const RECT middle{origin.x + bounds.left + 30, origin.y + bounds.top, origin.x + bounds.left + 40,
                      origin.y + bounds.bottom};
    EXPECT_EQ(picture.Count(left, ink), 0) << "nothing left of the centred number";
    EXPECT_GT(picture.Count(middle, ink), 3) << "the number in the middle";

    // Every name of row 0 is drawn where its place says; a second row shows
    // the second row colour right of its text.
    list.Lock();
    const ClsPath* path = list.GetPath(0);
    int previousEnd = 0;
    for (int i = 0; i < path->GetCount(); ++i) {
        const ClsContactInfo* who = path->GetAt(i);
        EXPECT_GT(who->GetTextWidth(), 0) << "person " << i << " is drawn";
        EXPECT_GT(who->GetTextX(), previousEnd) << "after the previous one and a separator";
        previousEnd = who->GetTextX() + who->GetTextWidth();
        const RECT name{origin.x + who->GetTextX(), origin.y + bounds.top, origin.x + previousEnd,
                        origin.y + bounds.bottom};
        EXPECT_GT(picture.Count(name, who->GetTextColor()), 3) << "the name of person " << i;
    }
    list.Unlock();
    const RECT second = RowRect(1);
    RECT client{};
    ::GetClientRect(list.GetSafeHwnd(), &client);
    EXPECT_EQ(picture.Pixel(origin.x + client.right - 2, origin.y + second.top + 1), list.GetSecondRowColor());
}

TEST_P(PathResultTest, ClickingANameReportsThatPerson) {
    const POINT at = NameCentre(0, 2);
    MoveTo(at.x, at.y);
    ASSERT_TRUE(WaitFor([&] { return list.GetHoverRow() == 0 && list.GetHoverPerson() == 2; }))
        << "the name under the pointer";
    Settle();
    Picture(host.GetSafeHwnd()).Save(Name("hovered"));
    PressLeft();
    ReleaseLeft();
    ASSERT_TRUE(WaitFor([&] { return !results.calls.empty(); }));
    EXPECT_EQ(results.calls[0].kind, ORVNAV_ACTIVATE);
    EXPECT_STREQ(results.calls[0].contact.id.GetString(), "c");
    ASSERT_TRUE(fence.Pass());
    ASSERT_TRUE(WaitFor([&] { return list.GetHoverRow() == -1; })) << "leaving clears the hover";
}

TEST_P(PathResultTest, RightClickingTheMemberInsideAPathDisablesChat) {
    OrvResultPopupMenu& menu = list.GetPopupMenu();
    POINT at = NameCentre(0, 0);
    MoveTo(at.x, at.y);
    ASSERT_TRUE(WaitFor([&] { return list.GetHoverPerson() == 0; }));
    orvctrlstest::RightClick();
    ASSERT_TRUE(WaitFor([&] { return menu.GetIsOpen(); }));
    EXPECT_EQ(list.GetMenuPerson(), 0);
    EXPECT_FALSE(menu.FindItemByCommand(ORVMENU_CHAT)->GetEnabled()) << "the member himself";
    EXPECT_TRUE(menu.FindItemByCommand(ORVMENU_SEARCH_PATH)->GetEnabled());
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !menu.GetIsOpen(); }));

    at = NameCentre(0, 2);
    MoveTo(at.x, at.y);
    ASSERT_TRUE(WaitFor([&] { return list.GetHoverPerson() == 2; }));
    orvctrlstest::RightClick();
    ASSERT_TRUE(WaitFor([&] { return menu.GetIsOpen() && list.GetMenuPerson() == 2; }));
    EXPECT_TRUE(menu.FindItemByCommand(ORVMENU_CHAT)->GetEnabled()) << "another member who can chat";
    TapKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !menu.GetIsOpen(); }));

    ::PostMessageA(list.GetSafeHwnd(), WM_COMMAND, ORVMENU_ADD_TO_SOURCE, 0);
    ::PostMessageA(list.GetSafeHwnd(), WM_COMMAND, ORVMENU_SEARCH_PATH, 0);
    ASSERT_TRUE(WaitFor([&] { return navigate.calls.size() == 1 && results.calls.size() == 1; }));
    EXPECT_EQ(results.calls[0].kind, ORVNAV_COMMAND);
    EXPECT_EQ(results.calls[0].command, ORVRESCMD_ADD_TO_SOURCE);
    EXPECT_STREQ(results.calls[0].contact.id.GetString(), "c");
    EXPECT_EQ(navigate.calls[0].command, ORVNAVCMD_SEARCH_PATH);

    // Between names nobody is hit: no menu.
    list.OnRightClick(0, -5000, -5000);
    EXPECT_FALSE(menu.GetIsOpen());
    ASSERT_TRUE(fence.Pass());
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, PathResultTest, ::testing::Values("Daylight", "Graphite"));
