// The result lists' rules apart from any window: sorting, the cell texts,
// the menu of a person, where commands go, the path row and its text form.
#include "ClsPath.h"
#include "ClsPathRowLayout.h"
#include "ClsPaths.h"
#include "OrvCtrlsTestSupport.h"
#include "OrvMessagePanelCtrl.h"
#include "OrvResultRules.h"

#include <gtest/gtest.h>

#include <memory>

using orvctrlstest::Person;

namespace {

// Rows owned by the test, handed to the sort as the list hands them.
struct Rows {
    std::vector<std::unique_ptr<ClsContactInfo>> owned;
    std::vector<ClsContactInfo*> order;
    void Add(const ORVCONTACTINFO& contact) {
        owned.push_back(std::make_unique<ClsContactInfo>(&contact));
        order.push_back(owned.back().get());
    }
    std::string Ids() const {
        std::string ids;
        for (const ClsContactInfo* row : order) ids += row ? row->GetContact().id.GetString() : "-";
        return ids;
    }
};

}  // namespace

TEST(ContactRowTest, DisplayNameAndCellsFollowTheRecord) {
    const ORVCONTACTINFO both = Person("1", "Ann", "Lee", "ann@x.org", 0, 1, "pilot");
    const ORVCONTACTINFO lastOnly = Person("2", "", "Lee", "lee@x.org", 1, 0);
    ClsContactInfo row(&both);
    EXPECT_STREQ(row.GetDisplayName().GetString(), "Ann Lee");
    EXPECT_STREQ(ClsContactInfo(&lastOnly).GetDisplayName().GetString(), "Lee") << "no leading blank";
    EXPECT_STREQ(OrvResultRules::SearchCellText(row, 1).GetString(), "Ann Lee");
    EXPECT_STREQ(OrvResultRules::SearchCellText(row, 2).GetString(), "ann@x.org");
    EXPECT_STREQ(OrvResultRules::SearchCellText(row, 3).GetString(), "pilot");
    EXPECT_STREQ(OrvResultRules::SearchCellText(ClsContactInfo(&lastOnly), 2).GetString(), "")
        << "a private address is never shown";
    EXPECT_TRUE(OrvResultRules::ShowsChatIcon(row));
    EXPECT_FALSE(OrvResultRules::ShowsChatIcon(ClsContactInfo(&lastOnly)));
    // The row is a copy: changing the caller's record later changes nothing.
    ORVCONTACTINFO changing = both;
    ClsContactInfo copy(&changing);
    changing.firstName = "Zed";
    EXPECT_STREQ(copy.GetDisplayName().GetString(), "Ann Lee");
    EXPECT_STREQ(copy.GetContact().firstName.GetString(), "Ann");
}

TEST(SortTest, PrivateAddressesSortLastAndFirstWhenDescending) {
    Rows rows;
    rows.Add(Person("p", "Pat", "Hid", "zz@x.org", 1));
    rows.Add(Person("b", "Bob", "B", "bob@x.org"));
    rows.Add(Person("q", "Quin", "Hid", "aa@x.org", 1));
    rows.Add(Person("a", "Al", "A", "al@x.org"));
    OrvResultRules::Sort(rows.order, 2, false);
    EXPECT_EQ(rows.Ids(), "abpq") << "shown addresses in order, then the private ones (tied, so by name)";
    OrvResultRules::Sort(rows.order, 2, true);
    EXPECT_EQ(rows.Ids(), "qpba");
}

TEST(SortTest, SameColumnTwiceReversesAndANewColumnKeepsTheDirection) {
    OrvSortOrder order;
    EXPECT_EQ(order.GetColumn(), -1) << "no sort column before the first click";
    order.Click(1);
    EXPECT_EQ(order.GetColumn(), 1);
    EXPECT_FALSE(order.GetDescending());
    order.Click(1);
    EXPECT_TRUE(order.GetDescending()) << "the same column again flips";
    order.Click(3);
    EXPECT_EQ(order.GetColumn(), 3);
    EXPECT_TRUE(order.GetDescending()) << "a new column keeps the direction";

    Rows rows;
    rows.Add(Person("c", "Cy", "", "c@x.org"));
    rows.Add(Person("a", "al", "", "a@x.org"));
    rows.Add(Person("b", "Bo", "", "b@x.org"));
    OrvResultRules::Sort(rows.order, 1, false);
    EXPECT_EQ(rows.Ids(), "abc") << "names compare ignoring case first";
    OrvResultRules::Sort(rows.order, 1, true);
    EXPECT_EQ(rows.Ids(), "cba");
}

TEST(SortTest, NamesDifferingOnlyInCaseAndTiesGoOnToTheNextColumns) {
    EXPECT_LT(OrvResultRules::CompareTexts("ann", "Bob"), 0) << "case ignored first";
    EXPECT_NE(OrvResultRules::CompareTexts("Ann", "ann"), 0) << "then the case decides";
    EXPECT_EQ(OrvResultRules::CompareTexts("Ann", "Ann"), 0);

    Rows rows;
    rows.Add(Person("2", "Kim", "", "k2@x.org", 0, 1, "b"));
    rows.Add(Person("1", "Kim", "", "k1@x.org", 0, 1, "a"));
    rows.Add(Person("3", "Kim", "", "k1@x.org", 0, 0, "a"));
    OrvResultRules::Sort(rows.order, 1, false);
    // Equal names: on to e-mail (k1 before k2), then occupation (tie),
    // wrapping to column 1 and stopping there: "1" and "3" stay equal.
    EXPECT_EQ(rows.Ids().substr(2), "2");
    // By chat (column 0): those who can chat first; ties go on to the name
    // and e-mail and wrap to column 0.
    OrvResultRules::Sort(rows.order, 0, false);
    EXPECT_EQ(rows.Ids(), "123");
    EXPECT_EQ(OrvResultRules::Compare(rows.order[0], rows.order[0], 0, false), 0);
}

TEST(SortTest, MissingRowsComeFirstAndALargeListSortsCompletely) {
    const ORVCONTACTINFO one = Person("x", "X", "", "x@x.org");
    ClsContactInfo row(&one);
    EXPECT_LT(OrvResultRules::Compare(nullptr, &row, 1, false), 0);
    EXPECT_GT(OrvResultRules::Compare(&row, nullptr, 1, false), 0);
    EXPECT_GT(OrvResultRules::Compare(nullptr, &row, 1, true), 0) << "negated when descending";

    // Many equal keys and an already sorted run: the quicksort must end and
    // leave a sorted list.
    Rows rows;
    for (int i = 0; i < 3000; ++i) {
        CString name;
        name.Format("N%04d", (i * 7919) % 50);
        rows.Add(Person("i", name.GetString(), "", "e@x.org"));
    }
    OrvResultRules::Sort(rows.order, 1, false);
    for (size_t i = 1; i < rows.order.size(); ++i)
        ASSERT_LE(OrvResultRules::Compare(rows.order[i - 1], rows.order[i], 1, false), 0) << "at " << i;
    OrvResultRules::Sort(rows.order, 1, false);
    EXPECT_EQ(rows.order.size(), 3000u);
}

TEST(PersonMenuTest, TheMembersOwnRowDisablesChatAndSearchPath) {
    const ORVCONTACTINFO me = Person("Me-42", "Me", "", "me@x.org");
    const ORVCONTACTINFO other = Person("o", "Other", "", "o@x.org");
    const ORVCONTACTINFO mute = Person("m", "Mute", "", "m@x.org", 0, 0);

    OrvPersonMenuState_t state = OrvResultRules::SearchMenuState(me, "me-42");
    EXPECT_FALSE(state.chat) << "own row, compared ignoring case";
    EXPECT_FALSE(state.searchPath);
    state = OrvResultRules::SearchMenuState(other, "me-42");
    EXPECT_TRUE(state.chat);
    EXPECT_TRUE(state.searchPath);
    state = OrvResultRules::SearchMenuState(mute, "me-42");
    EXPECT_FALSE(state.chat) << "who cannot chat gets no Chat";
    EXPECT_TRUE(state.searchPath);

    EXPECT_FALSE(OrvResultRules::PathMenuState(me, "ME-42").chat) << "the member inside a path";
    EXPECT_TRUE(OrvResultRules::PathMenuState(me, "").chat) << "an unknown member matches nobody in a path";
    EXPECT_TRUE(OrvResultRules::PathMenuState(me, nullptr).chat);
    EXPECT_TRUE(OrvResultRules::PathMenuState(other, "me-42").searchPath);
}

TEST(PersonMenuTest, CommandsGoToTheirCallbacksWithTheirCodes) {
    OrvMenuRoute_t route = OrvResultRules::RouteMenuCommand(ORVMENU_ADD_TO_SOURCE, 10004);
    EXPECT_EQ(route.target, OrvMenuRoute_t::toResult);
    EXPECT_EQ(route.kind, ORVNAV_COMMAND);
    EXPECT_EQ(route.code, ORVRESCMD_ADD_TO_SOURCE);
    route = OrvResultRules::RouteMenuCommand(ORVMENU_ADD_TO_DESTINATION, 10004);
    EXPECT_EQ(route.code, ORVRESCMD_ADD_TO_DESTINATION);
    EXPECT_EQ(OrvResultRules::RouteMenuCommand(10004, 10004).code, 3);
    EXPECT_EQ(OrvResultRules::RouteMenuCommand(10004, 10003).target, OrvMenuRoute_t::toNone)
        << "the path list handles 10001 to 10003 only";
    const int codes[] = {ORVNAVCMD_CHAT, ORVNAVCMD_SEARCH_PATH, ORVNAVCMD_VIEW_MAP};
    for (unsigned id = ORVMENU_CHAT; id <= ORVMENU_VIEW_MAP; ++id) {
        route = OrvResultRules::RouteMenuCommand(id, 10004);
        EXPECT_EQ(route.target, OrvMenuRoute_t::toNavigate);
        EXPECT_EQ(route.kind, ORVNAV_COMMAND);
        EXPECT_EQ(route.code, codes[id - ORVMENU_CHAT]);
    }
    EXPECT_EQ(OrvResultRules::RouteMenuCommand(10000, 10004).target, OrvMenuRoute_t::toNone);
    EXPECT_EQ(OrvResultRules::RouteMenuCommand(10008, 10004).target, OrvMenuRoute_t::toNone);
}

TEST(StretchTest, TheLastColumnTakesTheRoomOrTheWidestText) {
    EXPECT_EQ(OrvResultRules::StretchedLastColumn(50, 400, 176), 400 - 176 - 12 + 10);
    EXPECT_EQ(OrvResultRules::StretchedLastColumn(300, 400, 176), 310) << "a wider text wins";
    EXPECT_EQ(OrvResultRules::StretchedLastColumn(20, 150, 176), 110) << "no room: 100";
    EXPECT_EQ(OrvResultRules::StretchedLastColumn(20, 176, 176), 110) << "columns exactly fill the client area";
}

namespace {

// Every character 7 pixels wide.
int FixedWidth(const CString& text) { return text.GetLength() * 7; }

ClsPath MakePath(int count) {
    static const char* const kNames[] = {"Ann Lee", "Bo", "Cy Dee", "Dan", "Eve Fox", "Gil"};
    std::vector<ORVCONTACTINFO> people;
    for (int i = 0; i < count; ++i) people.push_back(Person("id", kNames[i % 6], "", "e@x.org"));
    return ClsPath(count, people.data());
}

}  // namespace

TEST(PathRowTest, APathOfFourShowsThreeSteps) {
    EXPECT_STREQ(ClsPathRowLayout::StepsText(MakePath(4)).GetString(), "3");
    EXPECT_STREQ(ClsPathRowLayout::StepsText(MakePath(2)).GetString(), "1");
    EXPECT_STREQ(ClsPathRowLayout::StepsText(ClsPath()).GetString(), "0") << "an empty path";
    EXPECT_EQ(ClsPath(0, nullptr).GetCount(), 0);
}

TEST(PathRowTest, NamesAreSeparatedAndEveryNameCanBeHit) {
    ClsPath path = MakePath(3);
    const auto pieces = ClsPathRowLayout::Layout(path, 10, 1000, FixedWidth);
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_FALSE(ClsPathRowLayout::IsCut(pieces));
    EXPECT_STREQ(pieces[1].text.GetString(), " * ");
    // "Ann Lee" at 10..59, " * " 59..80, "Bo" 80..94, " * ", "Cy Dee".
    EXPECT_EQ(path.HitTest(10), 0);
    EXPECT_EQ(path.HitTest(58), 0);
    EXPECT_EQ(path.HitTest(59), -1) << "the separator is nobody";
    EXPECT_EQ(path.HitTest(80), 1);
    EXPECT_EQ(path.HitTest(115), 2);
    EXPECT_EQ(path.HitTest(9), -1);
    EXPECT_EQ(path.HitTest(5000), -1);
}

TEST(PathRowTest, ALongPathEndsInAnEllipsisAndItsHiddenNamesCannotBeHit) {
    ClsPath path = MakePath(6);
    // Room for "Ann Lee * Bo" and the start of the next separator only.
    const auto pieces = ClsPathRowLayout::Layout(path, 0, 100, FixedWidth);
    ASSERT_TRUE(ClsPathRowLayout::IsCut(pieces));
    EXPECT_STREQ(pieces.back().text.GetString(), "...");
    EXPECT_EQ(pieces.back().x, 7 * 7 + 3 * 7 + 2 * 7) << "right after the last name that fitted";
    EXPECT_EQ(pieces.size(), 4u) << "two names, one separator, the ellipsis";
    EXPECT_EQ(path.HitTest(pieces.back().x + 1), -1);
    EXPECT_EQ(path.GetAt(2)->GetTextWidth(), 0) << "a name not drawn keeps no place";
    // Exactly fitting is not cut.
    ClsPath two = MakePath(2);
    EXPECT_FALSE(ClsPathRowLayout::IsCut(ClsPathRowLayout::Layout(two, 0, (7 + 3 + 2) * 7, FixedWidth)));
    EXPECT_TRUE(ClsPathRowLayout::IsCut(ClsPathRowLayout::Layout(two, 0, (7 + 3 + 2) * 7 - 1, FixedWidth)));
}

TEST(PathTextTest, ThreePeopleAreJoinedByArrowsWithNothingAtTheEnds) {
    ClsPath path = MakePath(3);
    ClsPaths texts;
    texts.Add(&path);
    texts.Add(nullptr);
    ClsPath single = MakePath(1);
    texts.Add(&single);
    ASSERT_EQ(texts.GetCount(), 2);
    EXPECT_STREQ(texts.GetPaths(0).GetString(), "Ann Lee -> Bo -> Cy Dee");
    EXPECT_STREQ(texts.GetPaths(1).GetString(), "Ann Lee");
    EXPECT_STREQ(texts.GetPaths(2).GetString(), "") << "outside the range";
    EXPECT_STREQ(texts.GetPaths(-1).GetString(), "");
    texts.Clear();
    EXPECT_EQ(texts.GetCount(), 0);
}

TEST(GreetingTest, TheHourChoosesTheGreeting) {
    EXPECT_STREQ(OrvMessagePanelCtrl::GetGreeting(5), "Good evening") << "05:59";
    EXPECT_STREQ(OrvMessagePanelCtrl::GetGreeting(6), "Good morning") << "06:00";
    EXPECT_STREQ(OrvMessagePanelCtrl::GetGreeting(11), "Good morning");
    EXPECT_STREQ(OrvMessagePanelCtrl::GetGreeting(12), "Good afternoon") << "12:00";
    EXPECT_STREQ(OrvMessagePanelCtrl::GetGreeting(17), "Good afternoon");
    EXPECT_STREQ(OrvMessagePanelCtrl::GetGreeting(18), "Good evening") << "18:00";
    EXPECT_STREQ(OrvMessagePanelCtrl::GetGreeting(0), "Good evening");
    EXPECT_STREQ(OrvMessagePanelCtrl::GetGreeting(23), "Good evening");
}
