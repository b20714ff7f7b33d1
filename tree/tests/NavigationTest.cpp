// Navigation by the member, driven from outside with window messages: a
// click on a child asks for its tree and the answer turns the picture so
// the old root keeps its place; clicks on the root and on the page buttons;
// arrow keys; forward and backward; the pointer lighting nodes up; and all
// of it ignored while the tree is busy.
#include "CNavigateButton.h"
#include "CNodesList.h"
#include "CRootItem.h"
#include "CTreeItem.h"
#include "CTreeView.h"
#include "TreeTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

using namespace treetest;

namespace {

void Click(CTreeControl& tree, CPoint at) {
    ::PostMessageA(tree.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageA(tree.GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    PumpPending();
}

void MoveTo(CTreeControl& tree, CPoint at) {
    ::PostMessageA(tree.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    PumpPending();
}

void Key(CTreeControl& tree, UINT key) {
    ::PostMessageA(tree.GetSafeHwnd(), WM_KEYDOWN, key, 1);
    PumpPending();
}

CPoint ButtonCenter(const CRootItem& root, const CRootItem::CNavigateButton& button) {
    return root.GetBox().TopLeft() + button.GetRect().CenterPoint();
}

}  // namespace

TEST(TreeNavigation, ActivatingAChildAsksForItsTreeAndTheAnswerKeepsTheOldRootInPlace) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(8);
    ASSERT_TRUE(host.ShowPeople(people));
    CNodesList* list = host.Tree().GetCurrentList();
    const int k = 3;
    CTreeItem* child = list->GetVisible(k);
    // Page index 3 of 8 at correction 0: 3 x 2 pi / 8.
    const double theta = child->GetAngle();
    EXPECT_DOUBLE_EQ(theta, 3 * CTreeView::kTwoPi / 8);
    const CPoint childAt = child->GetBoxCenter();
    const ORVCONTACTINFO chosen = child->GetContact();

    Click(host.Tree(), childAt);
    auto& requests = host.Navigator().requests;
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, ORVNAV_ACTIVATE);
    EXPECT_EQ(requests[0].command, -1);
    ASSERT_TRUE(requests[0].hasContact);
    EXPECT_STREQ(requests[0].contact.email, chosen.email);
    EXPECT_FALSE(host.Tree().isAComplete()) << "busy until the answer";
    EXPECT_EQ(list->GetHighlighted(), child);
    Click(host.Tree(), childAt);
    EXPECT_EQ(requests.size(), 1u) << "a second click while the tree is awaited is dropped";

    // The main program answers from a worker thread with the chosen
    // person's tree, the old root somewhere among the children.
    std::vector<ORVCONTACTINFO> answer = People(6, "Zed");
    answer[0] = chosen;
    ORVCONTACTINFO oldRoot = people[0];
    oldRoot.email.MakeUpper();  // addresses compare without case
    answer[4] = oldRoot;
    std::atomic<int> result{-1};
    std::thread worker([&] {
        result = host.Tree().SetData(answer.data(), static_cast<unsigned>(answer.size()), ANIM_SELECT);
    });
    ASSERT_TRUE(PumpUntil([&] { return result.load() != -1; }));
    worker.join();
    ASSERT_EQ(result, 1);
    ASSERT_TRUE(host.WaitIdle());
    EXPECT_STREQ(answer[1].email, oldRoot.email) << "the caller's records: the old root moved to the front";

    CNodesList* now = host.Tree().GetCurrentList();
    EXPECT_STREQ(now->GetRoot()->GetContact().email, chosen.email);
    EXPECT_STREQ(now->GetVisible(0)->GetContact().email, oldRoot.email) << "the old root is the first child";
    EXPECT_NEAR(host.Tree().getAngleCorrection(), theta + CTreeView::kPi, 1e-12);
    const CPoint center = host.Tree().GetCenterPoint();
    EXPECT_EQ(now->GetVisible(0)->GetBoxCenter(), CPoint(2 * center.x - childAt.x, 2 * center.y - childAt.y))
        << "opposite where the chosen child stood, where the old root went";
    EXPECT_TRUE(host.Tree().isAComplete());

    // The next answer without an activation swaps nothing.
    std::vector<ORVCONTACTINFO> plain = People(3, "Yan");
    plain[2] = chosen;
    ASSERT_TRUE(host.ShowPeople(plain, ANIM_SQUEEZE));
    EXPECT_STREQ(plain[2].email, chosen.email);
}

TEST(TreeNavigation, AClickOnTheRootActivatesNothing) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(5);
    ASSERT_TRUE(host.ShowPeople(people));
    Click(host.Tree(), host.Tree().GetCenterPoint());
    EXPECT_TRUE(host.Navigator().requests.empty());
    EXPECT_TRUE(host.Tree().isAComplete());
    Click(host.Tree(), CPoint(20, 20));
    EXPECT_TRUE(host.Navigator().requests.empty()) << "nor does a click on no node";
}

TEST(TreeNavigation, PageButtonsAndArrowKeysTurnThePages) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(45);
    ASSERT_TRUE(host.ShowPeople(people));
    CNodesList* list = host.Tree().GetCurrentList();
    CRootItem* root = list->GetRoot();
    ASSERT_EQ(list->GetPageCount(), 3);
    Click(host.Tree(), ButtonCenter(*root, root->GetNextButton()));
    EXPECT_EQ(list->GetCurrentPage(), 1);
    EXPECT_FALSE(root->GetNextButton().IsPressed()) << "released with the button";
    Click(host.Tree(), ButtonCenter(*root, root->GetNextButton()));
    EXPECT_EQ(list->GetCurrentPage(), 2);
    EXPECT_EQ(list->GetVisibleCount(), 5);
    Click(host.Tree(), ButtonCenter(*root, root->GetNextButton()));
    EXPECT_EQ(list->GetCurrentPage(), 2) << "a disabled button turns nothing";
    Click(host.Tree(), ButtonCenter(*root, root->GetPreviousButton()));
    EXPECT_EQ(list->GetCurrentPage(), 1);
    EXPECT_TRUE(host.Navigator().requests.empty()) << "paging asks the program nothing";

    Key(host.Tree(), VK_LEFT);
    EXPECT_EQ(list->GetCurrentPage(), 0);
    Key(host.Tree(), VK_LEFT);
    EXPECT_EQ(list->GetCurrentPage(), 0);
    Key(host.Tree(), VK_RIGHT);
    Key(host.Tree(), VK_RIGHT);
    EXPECT_EQ(list->GetCurrentPage(), 2);
    Key(host.Tree(), 'A');
    EXPECT_EQ(list->GetCurrentPage(), 2);
}

TEST(TreeNavigation, InputIsIgnoredWhileTheTreeIsBusy) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(25);
    ASSERT_TRUE(host.ShowPeople(people));
    CNodesList* list = host.Tree().GetCurrentList();
    const CPoint childAt = list->GetVisible(2)->GetBoxCenter();

    host.Tree().StartAction();
    Click(host.Tree(), childAt);
    Key(host.Tree(), VK_RIGHT);
    Key(host.Tree(), VK_NUMPAD1);
    MoveTo(host.Tree(), list->GetVisible(5)->GetBoxCenter());
    host.Tree().OnForwardAction();
    EXPECT_TRUE(host.Navigator().requests.empty());
    EXPECT_EQ(list->GetCurrentPage(), 0);
    EXPECT_EQ(host.Tree().getAngleCorrection(), 0.0);
    EXPECT_EQ(list->GetHighlighted(), list->GetRoot());

    // The semaphore held by a caller blocks the same way.
    host.Tree().CancelAction();
    ASSERT_TRUE(host.Tree().DoStartingAction(100));
    Key(host.Tree(), VK_RIGHT);
    EXPECT_EQ(list->GetCurrentPage(), 0);
    host.Tree().DoActionComplete();

    Key(host.Tree(), VK_RIGHT);
    EXPECT_EQ(list->GetCurrentPage(), 1);
    Key(host.Tree(), VK_LEFT);
    Click(host.Tree(), childAt);
    EXPECT_EQ(host.Navigator().requests.size(), 1u);
}

TEST(TreeNavigation, ForwardAndBackwardAskWithoutAContact) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(3);
    ASSERT_TRUE(host.ShowPeople(people));
    host.Tree().OnForwardAction();
    auto& requests = host.Navigator().requests;
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, ORVNAV_FORWARD);
    EXPECT_EQ(requests[0].command, -1);
    EXPECT_FALSE(requests[0].hasContact);
    EXPECT_FALSE(host.Tree().isAComplete());
    host.Tree().OnBackwardAction();
    EXPECT_EQ(requests.size(), 1u) << "busy";
    host.Tree().CancelAction();
    host.Tree().OnBackwardAction();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].kind, ORVNAV_BACKWARD);

    // A callee that cannot answer gives the tree back at once.
    host.Tree().CancelAction();
    host.Navigator().onNavigate = [&](const ORVNAVIGATEINFO&) { host.Tree().CancelAction(); };
    host.Tree().OnForwardAction();
    EXPECT_TRUE(host.Tree().isAComplete());
}

TEST(TreeNavigation, ThePointerLightsUpTheNodeUnderItAndLeavingClearsIt) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(25);
    ASSERT_TRUE(host.ShowPeople(people));
    CNodesList* list = host.Tree().GetCurrentList();
    CTreeItem* child = list->GetVisible(7);
    MoveTo(host.Tree(), child->GetBoxCenter());
    EXPECT_EQ(list->GetHighlighted(), child);
    EXPECT_EQ(list->GetLastMousePosition(), child->GetBoxCenter());
    MoveTo(host.Tree(), CPoint(30, 30));
    EXPECT_EQ(list->GetHighlighted(), nullptr);

    CRootItem* root = list->GetRoot();
    MoveTo(host.Tree(), root->GetBoxCenter());
    ASSERT_EQ(list->GetHighlighted(), root);
    host.Tree().Update();
    MoveTo(host.Tree(), ButtonCenter(*root, root->GetNextButton()));
    EXPECT_TRUE(root->GetNextButton().IsHovered());
    EXPECT_FALSE(root->GetPreviousButton().IsHovered());

    ::PostMessageA(host.Tree().GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    PumpPending();
    EXPECT_EQ(list->GetHighlighted(), nullptr);

    MoveTo(host.Tree(), child->GetBoxCenter());
    host.Tree().ClosePopUps();
    EXPECT_EQ(list->GetHighlighted(), nullptr) << "closing the pop-ups clears the highlight";

    // The main program closes them from a worker thread too.
    MoveTo(host.Tree(), child->GetBoxCenter());
    ASSERT_EQ(list->GetHighlighted(), child);
    std::thread worker([&] { host.Tree().ClosePopUps(); });
    worker.join();
    EXPECT_TRUE(PumpUntil([&] { return list->GetHighlighted() == nullptr; }));
}

TEST(TreeNavigation, EnabledPageButtonsBlink) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(30);
    ASSERT_TRUE(host.ShowPeople(people));
    CRootItem::CNavigateButton& next = host.Tree().GetCurrentList()->GetRoot()->GetNextButton();
    const bool before = next.IsHovered();
    EXPECT_TRUE(PumpUntil([&] { return next.IsHovered() != before; }));
    EXPECT_TRUE(PumpUntil([&] { return next.IsHovered() == before; }));
}

TEST(TreeNavigation, TheTreeTakesNoDroppedContactsAndIgnoresAMissingSkin) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    EXPECT_EQ(::SendMessageA(host.Tree().GetSafeHwnd(), 0x8DAD, 0, 0), 0);
    ::SendMessageA(host.Tree().GetSafeHwnd(), 0x8010, 0, 0);
    EXPECT_TRUE(host.Tree().getInterface()->IsInitialized()) << "the skin it had stays";
    EXPECT_EQ(host.Tree().Advise(static_cast<ORV_INTERFACE>(1), &host), 0);
}
