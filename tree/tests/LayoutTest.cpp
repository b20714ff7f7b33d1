// The layout against values computed by hand for the Daylight skin, whose
// registered unselected node (the layout margins) is 128 x 28, highlighted
// 144 x 32, the root 160 x 36, page buttons 16 x 16, the chat mark 16 x 16.
#include "CNavigateButton.h"
#include "CNodesList.h"
#include "CRootItem.h"
#include "CTreeItem.h"
#include "CTreeView.h"
#include "TreeTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace treetest;

namespace {
constexpr double kPi = 3.14159265358979323846;

// The children of the page, not highlighted, placed by a full repaint.
CNodesList* ShowAtRest(TreeHost& host, std::vector<ORVCONTACTINFO>& people) {
    if (!host.ShowPeople(people)) return nullptr;
    CNodesList* list = host.Tree().GetCurrentList();
    {
        CSingleLock lock(host.Tree().GetListLock());
        list->ClearHighlight();
    }
    host.Tree().Update();
    return list;
}

// Records all members with the same look, so every child has the same size.
std::vector<ORVCONTACTINFO> Members(int children, int nodeRank = 0) {
    std::vector<ORVCONTACTINFO> people = {Contact("Ada", "Lovelace")};
    for (int i = 0; i < children; ++i)
        people.push_back(Contact("Member", std::to_string(i), 1, nodeRank));
    return people;
}
}  // namespace

TEST(TreeLayout, RadiiFollowTheClientLessTheMargins) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    CTreeView* view = host.Tree().getInterface();
    EXPECT_EQ(view->GetLayoutMargins(), CSize(128, 28));
    // ((1000 - 128) / 2) x 0.9 and ((700 - 28) / 2) x 0.93.
    EXPECT_DOUBLE_EQ(view->GetRadiusX(), 392.4);
    EXPECT_DOUBLE_EQ(view->GetRadiusY(), 312.48);
    EXPECT_EQ(host.Tree().GetCenterPoint(), CPoint(500, 350));
    // Odd sizes: integer halves first. ((801 - 128) / 2) = 336, ((601 - 28) / 2) = 286.
    host.Tree().MoveWindow(0, 0, 801, 601);
    EXPECT_DOUBLE_EQ(view->GetRadiusX(), 302.4);
    EXPECT_DOUBLE_EQ(view->GetRadiusY(), 265.98);
    EXPECT_EQ(host.Tree().GetCenterPoint(), CPoint(400, 300));
}

TEST(TreeLayout, VerticalOffsetPullsNodesInAndJumpsAtThreeQuarters) {
    // Below |sin| = 0.75 the pull is 40 sin: 100 x 0.7499 - 40 x 0.7499.
    EXPECT_NEAR(CTreeView::VerticalOffset(std::asin(0.7499), 100, 1), 44.994, 1e-9);
    // From 0.75 on it is 20: 75 - 20.
    EXPECT_NEAR(CTreeView::VerticalOffset(std::asin(0.75), 100, 1), 55.0, 1e-9);
    EXPECT_NEAR(CTreeView::VerticalOffset(-std::asin(0.75), 100, 1), -55.0, 1e-9);
    EXPECT_NEAR(CTreeView::VerticalOffset(kPi / 2, 100, 1), 80.0, 1e-9);
    EXPECT_NEAR(CTreeView::VerticalOffset(kPi / 2, 100, 0.5), 90.0, 1e-9) << "the pull scales";
    EXPECT_NEAR(CTreeView::VerticalOffset(kPi / 6, 100, 1), 30.0, 1e-9) << "50 - 20";
    EXPECT_NEAR(CTreeView::VerticalOffset(0, 100, 1), 0.0, 1e-9);
}

TEST(TreeLayout, FourChildrenStandRightTopLeftAndBottomPulledTowardsTheMiddle) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = Members(4);
    CNodesList* list = ShowAtRest(host, people);
    ASSERT_NE(list, nullptr);
    // Centre (500, 350), radii 392.4 and 312.48; the top and bottom ones
    // stand 312 - 20 from the centre line instead of 312.
    EXPECT_EQ(list->GetVisible(0)->GetBoxCenter(), CPoint(892, 350));
    EXPECT_EQ(list->GetVisible(1)->GetBoxCenter(), CPoint(500, 58));
    EXPECT_EQ(list->GetVisible(2)->GetBoxCenter(), CPoint(108, 350));
    EXPECT_EQ(list->GetVisible(3)->GetBoxCenter(), CPoint(500, 642));
    EXPECT_EQ(list->GetVisible(1)->GetBox(), CRect(436, 44, 564, 72));
    EXPECT_EQ(list->GetRoot()->GetBoxCenter(), CPoint(500, 350));
}

TEST(TreeLayout, AngleCorrectionIsKeptInOneTurn) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    CTreeControl& tree = host.Tree();
    EXPECT_EQ(tree.getAngleCorrection(), 0.0) << "the first value";
    tree.setAngleCorrection(-kPi / 2);
    EXPECT_DOUBLE_EQ(tree.getAngleCorrection(), 3 * kPi / 2);
    tree.setAngleCorrection(7);
    EXPECT_DOUBLE_EQ(tree.getAngleCorrection(), 7 - 2 * kPi);
    tree.setAngleCorrection(2 * kPi);
    EXPECT_EQ(tree.getAngleCorrection(), 0.0);
    tree.setAngleCorrection(-9 * kPi / 2);
    EXPECT_DOUBLE_EQ(tree.getAngleCorrection(), 3 * kPi / 2) << "more than a turn below zero";
    tree.setAngleCorrection(std::nan(""));
    EXPECT_DOUBLE_EQ(tree.getAngleCorrection(), 3 * kPi / 2) << "not a number changes nothing";
}

TEST(TreeLayout, KeypadTurnsFiveDegreesAndSeventyTwoPressesComeBackToTheStart) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = Members(5);
    ASSERT_TRUE(host.ShowPeople(people));
    HWND tree = host.Tree().GetSafeHwnd();
    const CPoint startPlace = host.Tree().GetCurrentList()->GetVisible(0)->GetBoxCenter();
    ::PostMessageA(tree, WM_KEYDOWN, VK_NUMPAD1, 1);
    PumpPending();
    EXPECT_NEAR(host.Tree().getAngleCorrection(), kPi / 36, 1e-12);
    for (int i = 1; i < 72; ++i) ::PostMessageA(tree, WM_KEYDOWN, VK_NUMPAD1, 1);
    PumpPending();
    EXPECT_EQ(host.Tree().getAngleCorrection(), 0.0);
    EXPECT_EQ(host.Tree().GetCurrentList()->GetVisible(0)->GetBoxCenter(), startPlace);
    ::PostMessageA(tree, WM_KEYDOWN, VK_NUMPAD2, 1);
    PumpPending();
    EXPECT_NEAR(host.Tree().getAngleCorrection(), 2 * kPi - kPi / 36, 1e-12);
    // Child 0 moved clockwise: below the centre line on the right.
    EXPECT_GT(host.Tree().GetCurrentList()->GetVisible(0)->GetBoxCenter().y, 350);
}

TEST(TreeLayout, ElevenChildrenAreNarrowedToTheirGapAndTenAreNot) {
    TreeHost host("Daylight", 500, 400);
    ASSERT_TRUE(host.Ready());
    // 500 x 400: radii 167.4 and 172.98, centre (250, 200).
    std::vector<ORVCONTACTINFO> ten = Members(10);
    CNodesList* list = ShowAtRest(host, ten);
    ASSERT_NE(list, nullptr);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(list->GetVisible(k)->GetBox().Size(), CSize(128, 28)) << k;

    std::vector<ORVCONTACTINFO> eleven = Members(11);
    list = ShowAtRest(host, eleven);
    ASSERT_NE(list, nullptr);
    // Worked out for each page index k from the boundary rays at
    // (2k - 1) pi / 11 and (2k + 1) pi / 11, the box edge nearer the centre
    // line at V(alpha) -+ 14, and the gap blended by |cos| of the child's
    // own angle; the ones at the sides and near the axis keep 128.
    const int widths[11] = {128, 120, 100, 96, 128, 128, 128, 113, 88, 120, 128};
    for (int k = 0; k < 11; ++k) {
        EXPECT_EQ(list->GetVisible(k)->GetBox().Width(), widths[k]) << "child " << k;
        EXPECT_EQ(list->GetVisible(k)->GetBox().Height(), 28) << "child " << k;
    }
    // Highlighted, a crowded child takes its full highlighted size.
    CSingleLock lock(host.Tree().GetListLock());
    list->Highlight(list->GetVisible(3), false);
    EXPECT_EQ(list->GetVisible(3)->GetBox().Size(), CSize(144, 32));
}

TEST(TreeLayout, WhiskersShowTheNodeRankInThreeSteps) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = {Contact("Ada", "Lovelace"), Contact("Rank", "One", 1, 1),
                                          Contact("Rank", "Three", 1, 3), Contact("Rank", "Seven", 1, 7),
                                          Contact("Rank", "Eight", 0, 8)};
    CNodesList* list = ShowAtRest(host, people);
    ASSERT_NE(list, nullptr);
    CTreeView* view = host.Tree().getInterface();
    CPoint ends[CTreeView::kMaxWhiskers];
    EXPECT_EQ(view->GetWhiskerEnds(*list->GetVisible(0), ends, 9), 0);
    EXPECT_EQ(view->GetWhiskerEnds(*list->GetVisible(1), ends, 9), 2);
    EXPECT_EQ(view->GetWhiskerEnds(*list->GetVisible(2), ends, 9), 5);
    EXPECT_EQ(view->GetWhiskerEnds(*list->GetVisible(3), ends, 9), 9);

    CTreeItem* seven = list->GetVisible(2);
    host.Tree().setAngleCorrection(CTreeView::kTwoPi - 2 * (CTreeView::kTwoPi / 4));
    host.Tree().Update();
    // Child 2 of four now stands at angle 0 too: rank 7 gives five whiskers
    // 9 degrees apart, from -18 to +18.
    const CPoint c = seven->GetBoxCenter();
    ASSERT_EQ(view->GetWhiskerEnds(*seven, ends, 9), 5);
    EXPECT_EQ(ends[0], CPoint(c.x + 57, c.y + 19));
    EXPECT_EQ(ends[1], CPoint(c.x + 59, c.y + 9));
    EXPECT_EQ(ends[2], CPoint(c.x + 60, c.y));
    EXPECT_EQ(ends[3], CPoint(c.x + 59, c.y - 9));
    EXPECT_EQ(ends[4], CPoint(c.x + 57, c.y - 19));
    // Rank 3 at angle 0: two whiskers at -11.25 and +11.25 degrees, where
    // 60 cos = 58.85 and 60 sin = 11.71.
    CTreeItem* three = list->GetVisible(1);
    host.Tree().setAngleCorrection(CTreeView::kTwoPi - CTreeView::kTwoPi / 4);
    host.Tree().Update();
    const CPoint d = three->GetBoxCenter();
    ASSERT_EQ(view->GetWhiskerEnds(*three, ends, 9), 2);
    EXPECT_EQ(ends[0], CPoint(d.x + 59, d.y + 12));
    EXPECT_EQ(ends[1], CPoint(d.x + 59, d.y - 12));
    EXPECT_EQ(view->GetWhiskerEnds(*three, ends, 1), 2) << "the count, even with room for one";

    three->SetScale(0.95);
    EXPECT_EQ(view->GetWhiskerEnds(*three, ends, 9), 0) << "not before the child is at rest";
}

TEST(TreeLayout, TheChatMarkSitsOnTheCornerPointingAwayFromTheRoot) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = Members(4);
    host.Tree().setAngleCorrection(kPi / 4);
    CNodesList* list = ShowAtRest(host, people);
    ASSERT_NE(list, nullptr);
    // 45, 135, 225 and 315 degrees; the mark is 16 x 16.
    const struct {
        bool left;
        bool above;
    } corners[4] = {{false, true}, {true, true}, {true, false}, {false, false}};
    for (int k = 0; k < 4; ++k) {
        const CRect box = list->GetVisible(k)->GetBox();
        const CRect icon = list->GetVisible(k)->GetIconRect();
        EXPECT_EQ(icon.Size(), CSize(16, 16)) << k;
        EXPECT_EQ(corners[k].left ? icon.right : icon.left, corners[k].left ? box.left : box.right) << k;
        EXPECT_EQ(corners[k].above ? icon.bottom : icon.top, corners[k].above ? box.top : box.bottom) << k;
    }
    // On the axes: 0 lies right and below, pi / 2 right and above, pi left
    // and above, 3 pi / 2 right and below.
    host.Tree().setAngleCorrection(0);
    host.Tree().Update();
    const bool leftOf[4] = {false, false, true, false};
    const bool aboveOf[4] = {false, true, true, false};
    for (int k = 0; k < 4; ++k) {
        const CRect box = list->GetVisible(k)->GetBox();
        const CRect icon = list->GetVisible(k)->GetIconRect();
        EXPECT_EQ(icon.left, leftOf[k] ? box.left - 16 : box.right) << k;
        EXPECT_EQ(icon.top, aboveOf[k] ? box.top - 16 : box.bottom) << k;
    }
    const CRect root = list->GetRoot()->GetBox();
    EXPECT_EQ(list->GetRoot()->GetIconRect(), CRect(root.right, root.bottom, root.right + 16, root.bottom + 16));
    // Off the page: nothing.
    CTreeItem off(&host.Tree(), list);
    off.Init(Contact("Not", "Shown"), 50, 1.0, false);
    EXPECT_EQ(off.GetPageIndex(), -1);
    EXPECT_TRUE(off.GetIconRect().IsRectEmpty());
}

TEST(TreeLayout, PageButtonsStandOnTheRootAndAreHitWhereTheirImageIs) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = Members(21);
    ASSERT_TRUE(host.ShowPeople(people));
    CNodesList* list = host.Tree().GetCurrentList();
    CRootItem* root = list->GetRoot();
    ASSERT_TRUE(root->IsHighlighted());
    // "Ada Lovelace" measures less than 150: the expanded root is 150 x 28.
    ASSERT_EQ(root->GetBox().Size(), CSize(150, 28));
    ASSERT_TRUE(root->AreButtonsShown());
    // y = ((28 - 16 - 4) >> 1) + 3 = 7; previous ends at round(150 x 0.84)
    // = 126, next starts at round(150 x 0.86) = 129.
    EXPECT_EQ(root->GetPreviousButton().GetRect(), CRect(110, 7, 126, 23));
    EXPECT_EQ(root->GetNextButton().GetRect(), CRect(129, 7, 145, 23));
    EXPECT_DOUBLE_EQ(root->GetNextButton().GetPosition(), 0.86);
    EXPECT_DOUBLE_EQ(root->GetPreviousButton().GetPosition(), 0.84);

    const CPoint origin = root->GetBox().TopLeft();
    EXPECT_EQ(root->ButtonAt(origin + CPoint(137, 15)), &root->GetNextButton());
    EXPECT_EQ(root->ButtonAt(origin + CPoint(118, 15)), &root->GetPreviousButton());
    EXPECT_EQ(root->ButtonAt(origin + CPoint(127, 15)), nullptr) << "between the two";
    // The image's corners are magenta: not part of the button.
    const ClsBitMap& image = host.Tree().getInterface()->GetNextButtonImage();
    ASSERT_EQ(image.GetSize(), CSize(16, 64));
    {
        ClsBitMap::ScopedLock lock(image);
        CDC* dc = const_cast<ClsBitMap&>(image).Lock();
        ASSERT_EQ(::GetPixel(*dc, 0, 0), RGB(255, 0, 255));
        ASSERT_NE(::GetPixel(*dc, 8, 8), RGB(255, 0, 255));
    }
    EXPECT_EQ(root->ButtonAt(origin + CPoint(129, 7)), nullptr) << "the transparent corner";
    EXPECT_EQ(root->ButtonAt(origin + CPoint(137, 15)), &root->GetNextButton());

    // Away from the centre the buttons are neither shown nor hit.
    CSingleLock lock(host.Tree().GetListLock());
    root->PlaceAround(300, 300);
    EXPECT_FALSE(root->AreButtonsShown());
    EXPECT_EQ(root->ButtonAt(root->GetBox().TopLeft() + CPoint(137, 15)), nullptr);
    root->PlaceAround(500, 350);
    EXPECT_TRUE(root->AreButtonsShown());
}

TEST(TreeLayout, PageButtonsNeverShowWithTwentyChildrenOrFewer) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = Members(20);
    ASSERT_TRUE(host.ShowPeople(people));
    CRootItem* root = host.Tree().GetCurrentList()->GetRoot();
    EXPECT_EQ(root->GetBoxCenter(), CPoint(500, 350));
    EXPECT_FALSE(root->AreButtonsShown());
    EXPECT_EQ(root->ButtonAt(root->GetBox().TopLeft() + CPoint(137, 15)), nullptr);
}

TEST(TreeLayout, TheExpandedRootIsClampedToItsBoundsAndATravellingRootGrows) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> shortName = {Contact("Al", "B"), Contact("Child", "One")};
    ASSERT_TRUE(host.ShowPeople(shortName));
    CRootItem* root = host.Tree().GetCurrentList()->GetRoot();
    EXPECT_EQ(root->GetExpandedSize(), CSize(150, 28));

    std::vector<ORVCONTACTINFO> longName = {
        Contact("Maximiliane-Konstanze-Friederike", "von Hohenzollern-Sigmaringen-Wittelsbach"),
        Contact("Child", "One")};
    ASSERT_TRUE(host.ShowPeople(longName));
    root = host.Tree().GetCurrentList()->GetRoot();
    EXPECT_EQ(root->GetExpandedSize().cx, 300);
    EXPECT_GE(root->GetExpandedSize().cy, 28);
    EXPECT_EQ(root->GetBox().Size(), root->GetExpandedSize()) << "highlighted: expanded";

    CSingleLock lock(host.Tree().GetListLock());
    host.Tree().GetCurrentList()->ClearHighlight();
    EXPECT_EQ(root->GetBox().Size(), CSize(160, 36)) << "at rest, not highlighted: the root style";
    // Travelling: a member child's size at the start distance, the full
    // size at the centre. Halfway t = cos(pi / 4): 128 + round(0.7071 x 32)
    // = 151 wide, 28 + round(0.7071 x 8) = 34 high.
    root->CenterBoxOn(CPoint(500 - 200, 350));
    root->RememberStartDistance();
    EXPECT_DOUBLE_EQ(root->GetStartDistance(), 200.0);
    root->PlaceAround(300, 350);
    EXPECT_EQ(root->GetBox().Size(), CSize(128, 28));
    root->PlaceAround(400, 350);
    EXPECT_EQ(root->GetBox().Size(), CSize(151, 34));
    root->PlaceAround(500, 350);
    EXPECT_EQ(root->GetBox().Size(), CSize(160, 36)) << "at the centre it is not travelling";
}
