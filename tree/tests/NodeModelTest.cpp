// The node model on a real control: node kinds from the record, pages of
// 20, the highlighted node, hit testing, the lists' life, the derived texts
// and the tool tips the current list registers.
#include "CNavigateButton.h"
#include "CNodesList.h"
#include "CRootItem.h"
#include "CTreeException.h"
#include "CTreeItem.h"
#include "OrvSoundSource.h"
#include "TreeTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace treetest;

namespace {

// Records the sound events asked for; plays nothing.
class RecordingSounds : public OrvSoundSource {
public:
    CString GetSoundFile(const char* eventName) const override {
        events.push_back(eventName);
        return "";
    }
    mutable std::vector<std::string> events;
};

struct Tool {
    unsigned id;
    CRect rect;
    std::string text;
};

std::vector<Tool> Tools(CTreeControl& tree) {
    std::vector<Tool> tools;
    CWnd* tip = tree.getToolTip();
    const int count = static_cast<int>(tip->SendMessage(TTM_GETTOOLCOUNT));
    for (int i = 0; i < count; ++i) {
        char text[512] = "";
        TOOLINFOA info{};
        info.cbSize = sizeof info;
        info.lpszText = text;
        if (!tip->SendMessage(TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&info))) continue;
        tools.push_back({static_cast<unsigned>(info.uId), CRect(info.rect), text});
    }
    return tools;
}

const Tool* FindTool(const std::vector<Tool>& tools, unsigned id) {
    for (const Tool& tool : tools)
        if (tool.id == id) return &tool;
    return nullptr;
}

}  // namespace

TEST(TreeNodes, KindComesFromMembershipAndNodeRank) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = {Contact("Root", "Person"),
                                          Contact("Member", "Low", 1, 0),
                                          Contact("Member", "High", 1, 9),
                                          Contact("Outside", "Two", 0, 2),
                                          Contact("Outside", "Five", 0, 5),
                                          Contact("Outside", "One", 0, 1),
                                          Contact("Outside", "Zero", 0, 0)};
    ASSERT_TRUE(host.ShowPeople(people));
    CNodesList* list = host.Tree().GetCurrentList();
    ASSERT_NE(list, nullptr);
    const int expected[] = {CTreeItem::kMember, CTreeItem::kMember, CTreeItem::kNonMember,
                            CTreeItem::kNonMember, CTreeItem::kPassive, CTreeItem::kPassive};
    ASSERT_EQ(list->GetChildCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(list->GetChild(i)->GetState(), expected[i]) << "child " << i;
        EXPECT_EQ(list->GetChild(i)->GetIndex(), i) << "record i + 1 is child i";
    }
    // The root is highlighted after a page is selected: kind 2 with the bit.
    EXPECT_EQ(list->GetRoot()->GetState(), CTreeItem::kRoot | CTreeItem::kHighlightBit);
    EXPECT_EQ(list->GetRoot()->GetIndex(), 0xffff);
    EXPECT_EQ(list->GetRoot()->GetPageIndex(), 0xffff);
    EXPECT_STREQ(list->GetRoot()->GetContact().firstName, "Root");
}

TEST(TreeNodes, PagesHoldTwentyChildrenAndTheLastPageTheRest) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    RecordingSounds sounds;
    ASSERT_EQ(host.Tree().Advise(ORV_SOUNDS, &sounds), 1);

    std::vector<ORVCONTACTINFO> twenty = People(20);
    ASSERT_TRUE(host.ShowPeople(twenty));
    CNodesList* list = host.Tree().GetCurrentList();
    EXPECT_EQ(list->GetPageCount(), 1);
    EXPECT_EQ(list->GetVisibleCount(), 20);
    EXPECT_FALSE(list->GetRoot()->GetNextButton().IsEnabled());
    EXPECT_FALSE(list->GetRoot()->GetPreviousButton().IsEnabled());
    {
        CSingleLock lock(host.Tree().GetListLock());
        EXPECT_FALSE(list->NextPage()) << "no second page";
        EXPECT_FALSE(list->PreviousPage());
    }
    EXPECT_TRUE(sounds.events.empty()) << "no page change, no sound";

    std::vector<ORVCONTACTINFO> more = People(21);
    ASSERT_TRUE(host.ShowPeople(more));
    list = host.Tree().GetCurrentList();
    EXPECT_EQ(list->GetPageCount(), 2);
    EXPECT_EQ(list->GetVisibleCount(), 20);
    EXPECT_EQ(list->GetFirstIndex(), 0);
    EXPECT_EQ(list->GetEndIndex(), 20);
    EXPECT_TRUE(list->GetRoot()->GetNextButton().IsEnabled());
    EXPECT_FALSE(list->GetRoot()->GetPreviousButton().IsEnabled());
    EXPECT_EQ(list->GetChild(19)->GetPageIndex(), 19);
    EXPECT_EQ(list->GetChild(20)->GetPageIndex(), -1) << "off the page";

    CSingleLock lock(host.Tree().GetListLock());
    ASSERT_TRUE(list->NextPage());
    EXPECT_EQ(list->GetCurrentPage(), 1);
    ASSERT_EQ(list->GetVisibleCount(), 1);
    EXPECT_EQ(list->GetVisible(0), list->GetChild(20));
    EXPECT_EQ(list->GetChild(20)->GetPageIndex(), 0);
    EXPECT_EQ(list->GetChild(0)->GetPageIndex(), -1);
    EXPECT_EQ(list->GetFirstIndex(), 20);
    EXPECT_EQ(list->GetEndIndex(), 21);
    EXPECT_FALSE(list->GetRoot()->GetNextButton().IsEnabled());
    EXPECT_TRUE(list->GetRoot()->GetPreviousButton().IsEnabled());
    EXPECT_EQ(list->GetHighlighted(), list->GetRoot()) << "a new page highlights the root";
    EXPECT_GE(list->GetChild(20)->GetScale(), 1.0) << "the other page's children show too";
    EXPECT_FALSE(list->NextPage()) << "already on the last page";
    ASSERT_TRUE(list->PreviousPage());
    EXPECT_FALSE(list->PreviousPage()) << "already on the first page";
    EXPECT_EQ(list->GetVisibleCount(), 20);
    EXPECT_EQ(sounds.events, (std::vector<std::string>{"PageSelect", "PageSelect"}));
    host.Tree().Advise(ORV_SOUNDS, nullptr);
}

TEST(TreeNodes, ARootAloneHasNoPageAndNoEnabledButton) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> one = People(0);
    ASSERT_TRUE(host.ShowPeople(one));
    CNodesList* list = host.Tree().GetCurrentList();
    EXPECT_EQ(list->GetChildCount(), 0);
    EXPECT_EQ(list->GetPageCount(), 0);
    EXPECT_EQ(list->GetVisibleCount(), 0);
    EXPECT_FALSE(list->GetRoot()->GetNextButton().IsEnabled());
    EXPECT_FALSE(list->GetRoot()->GetPreviousButton().IsEnabled());
    EXPECT_FALSE(list->GetRoot()->AreButtonsShown());
    host.Tree().Update();
    EXPECT_TRUE(list->GetRoot()->GetBox().PtInRect(host.Tree().GetCenterPoint()))
        << "the root stands in the centre";
}

TEST(TreeNodes, NewChildrenStartInvisibleAndTheBufferedListWaitsForItsAction) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(5);
    host.Tree().CreateNodes(static_cast<unsigned>(people.size()), people.data());
    CNodesList* buffered = host.Tree().GetBufferedList();
    ASSERT_NE(buffered, nullptr);
    EXPECT_EQ(host.Tree().GetCurrentList(), nullptr) << "nothing current before an action";
    for (int i = 0; i < buffered->GetChildCount(); ++i) EXPECT_EQ(buffered->GetChild(i)->GetScale(), 0.0);
    EXPECT_EQ(buffered->GetRoot()->GetScale(), 1.0);

    // A second build replaces the waiting list.
    std::vector<ORVCONTACTINFO> others = People(3, "Grace");
    host.Tree().CreateNodes(static_cast<unsigned>(others.size()), others.data());
    ASSERT_NE(host.Tree().GetBufferedList(), nullptr);
    EXPECT_EQ(host.Tree().GetBufferedList()->GetChildCount(), 3);
    EXPECT_STREQ(host.Tree().GetBufferedList()->GetRoot()->GetContact().firstName, "Grace");
}

TEST(TreeNodes, NoRecordIsTooFewNodesReportedToTheMemberAndTheBufferedListStays) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(2);
    host.Tree().CreateNodes(static_cast<unsigned>(people.size()), people.data());
    CNodesList* waiting = host.Tree().GetBufferedList();

    MessageBoxCloser closer;
    try {
        host.Tree().CreateNodes(0, people.data());
        ADD_FAILURE() << "no exception";
    } catch (CTreeException& e) {
        EXPECT_STREQ(e.GetText(), "Too few nodes at line 45 in file NodesList\n");
    }
    ASSERT_EQ(closer.Texts().size(), 1u) << "the member is told once";
    EXPECT_EQ(closer.Texts()[0], "ETreeException Too few nodes at line 45 in file NodesList\n");
    EXPECT_EQ(host.Tree().GetBufferedList(), waiting) << "the previous buffered list stays";
    EXPECT_THROW(host.Tree().CreateNodes(3, nullptr), CTreeException) << "no records at all";
}

TEST(TreeNodes, HiddenAddressesShowThePrivateTextAndNonMembersTheNameAlone) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    ORVCONTACTINFO open = Contact("Open", "Member");
    open.occupation = "Pilot";
    ORVCONTACTINFO hidden = Contact("Hidden", "Member");
    hidden.emailPrivate = 1;
    hidden.occupation = "Diver";
    ORVCONTACTINFO outsider = Contact("Out", "Sider", 0, 3);
    ORVCONTACTINFO lastOnly = Contact("", "Solo");
    std::vector<ORVCONTACTINFO> people = {Contact("Root", "R"), open, hidden, outsider, lastOnly};
    ASSERT_TRUE(host.ShowPeople(people));
    CNodesList* list = host.Tree().GetCurrentList();
    EXPECT_STREQ(list->GetChild(0)->GetDisplayEmail(), "open.member@example.com");
    EXPECT_STREQ(list->GetChild(1)->GetDisplayEmail(), "email: (private)");
    EXPECT_STREQ(list->GetChild(2)->GetDisplayEmail(), "email: (private)")
        << "a non-member's address is never shown";
    EXPECT_STREQ(list->GetChild(0)->GetToolTipText(), "Open Member\r\nPilot\r\nopen.member@example.com");
    EXPECT_STREQ(list->GetChild(1)->GetToolTipText(), "Hidden Member\r\nDiver\r\nemail: (private)");
    EXPECT_STREQ(list->GetChild(2)->GetToolTipText(), "Out Sider");
    EXPECT_STREQ(list->GetChild(3)->GetDisplayName(), "Solo") << "no leading blank";
}

TEST(TreeNodes, HitTestingFindsTheRootFirstThenTheTopmostChild) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(6);
    ASSERT_TRUE(host.ShowPeople(people));
    CNodesList* list = host.Tree().GetCurrentList();
    CSingleLock lock(host.Tree().GetListLock());
    CTreeItem* early = list->GetVisible(1);
    CTreeItem* late = list->GetVisible(4);
    CRootItem* root = list->GetRoot();
    const CPoint farAway(120, 600);
    EXPECT_EQ(list->HitTest(early->GetBoxCenter().x, early->GetBoxCenter().y), early);
    EXPECT_EQ(list->HitTest(5, 5), nullptr) << "a corner of the control holds no node";

    // Overlap two children: the later one is drawn above and wins.
    early->CenterBoxOn(farAway);
    late->CenterBoxOn(farAway + CPoint(10, 5));
    EXPECT_EQ(list->HitTest(farAway.x + 8, farAway.y + 4), late);
    EXPECT_EQ(list->HitTest(farAway.x - 60, farAway.y), early) << "where only the earlier one is";
    // And the root above all of them.
    root->CenterBoxOn(farAway);
    EXPECT_EQ(list->HitTest(farAway.x + 8, farAway.y + 4), root);
    EXPECT_EQ(list->HitTest(root->GetBox().right - 1, farAway.y), root);
    EXPECT_NE(list->HitTest(root->GetBox().right, farAway.y), root) << "boxes end before their right edge";
}

TEST(TreeNodes, HighlightingRefitsTheNodeAndClearingRestoresIt) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(4);
    ASSERT_TRUE(host.ShowPeople(people));
    CNodesList* list = host.Tree().GetCurrentList();
    CSingleLock lock(host.Tree().GetListLock());
    CTreeItem* child = list->GetVisible(0);
    const CPoint center = child->GetBoxCenter();
    ASSERT_EQ(child->GetBox().Size(), CSize(128, 28));
    EXPECT_TRUE(list->Highlight(child, true));
    EXPECT_EQ(list->GetHighlighted(), child);
    EXPECT_TRUE(child->IsHighlighted());
    EXPECT_FALSE(list->GetRoot()->IsHighlighted()) << "one highlighted node at a time";
    EXPECT_EQ(child->GetBox().Size(), CSize(144, 32)) << "the registered selected style's size";
    EXPECT_EQ(child->GetBoxCenter(), center) << "refitted around its centre";
    list->ClearHighlight();
    EXPECT_EQ(list->GetHighlighted(), nullptr);
    EXPECT_EQ(child->GetBox().Size(), CSize(128, 28));
    EXPECT_FALSE(list->Highlight(nullptr, false));
}

TEST(TreeToolTips, TheCurrentPageAndTheRootHaveTipsThatFollowTheirNodes) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(21);
    ASSERT_TRUE(host.ShowPeople(people));
    CNodesList* list = host.Tree().GetCurrentList();
    std::vector<Tool> tools = Tools(host.Tree());
    ASSERT_EQ(tools.size(), 21u) << "20 children and the root";
    std::set<unsigned> ids;
    for (const Tool& tool : tools) ids.insert(tool.id);
    EXPECT_EQ(ids.count(0x10000u), 1u);
    for (unsigned id = 1; id <= 20; ++id) EXPECT_EQ(ids.count(id), 1u) << id;
    const Tool* first = FindTool(tools, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text, std::string(list->GetChild(0)->GetToolTipText()));
    EXPECT_EQ(first->rect, list->GetChild(0)->GetBox()) << "the tip covers the node where it is drawn";
    const Tool* root = FindTool(tools, 0x10000);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->rect, list->GetRoot()->GetBox());

    {
        CSingleLock lock(host.Tree().GetListLock());
        ASSERT_TRUE(list->NextPage());
    }
    host.Tree().Update();
    tools = Tools(host.Tree());
    ASSERT_EQ(tools.size(), 2u) << "the second page's child and the root";
    const Tool* last = FindTool(tools, 21);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->rect, list->GetChild(20)->GetBox());
    EXPECT_NE(FindTool(tools, 0x10000), nullptr);
}
