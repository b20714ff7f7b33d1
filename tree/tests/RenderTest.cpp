// Frames the tree paints, checked on their pixels and saved under
// test-artifacts/tree/ for a person to look at: the tree at rest in both
// shipped skins, each node style, the page buttons, and the frames of a
// selection animation.
#include "CNavigateButton.h"
#include "CNodesList.h"
#include "CRootItem.h"
#include "CTreeItem.h"
#include "CTreeView.h"
#include "TreeTestSupport.h"

#include "CSubclassWnd.h"

#include "BitmapFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace treetest;

namespace {

// Keeps a copy of every frame the tree paints while armed.
class FrameRecorder : public CSubclassWnd {
public:
    explicit FrameRecorder(CTreeControl& tree) : m_tree(tree) { HookWindow(tree.GetSafeHwnd()); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const LRESULT result = CallNext(message, wParam, lParam);
        if (message == WM_PAINT && armed) {
            std::unique_ptr<ClsBitMap> copy = m_tree.GetViewImage()->Clone();
            if (copy) frames.push_back(std::move(copy));
        }
        return result;
    }
    bool armed = false;
    std::vector<std::unique_ptr<ClsBitMap>> frames;

private:
    CTreeControl& m_tree;
};

bool InsideEllipse(int x, int y, int width, int height) {
    const double a = (width - 10) / 2.0, b = (height - 10) / 2.0;
    const double dx = (x + 0.5 - width / 2.0) / a, dy = (y + 0.5 - height / 2.0) / b;
    return dx * dx + dy * dy <= 1.0;
}

COLORREF Pixel(ClsBitMap& image, int x, int y) {
    ClsBitMap::ScopedLock lock(image);
    CDC* dc = image.Lock();
    return dc ? ::GetPixel(*dc, x, y) : CLR_INVALID;
}

// A point inside a node's box, clear of its text and frame.
CPoint FillPoint(const CTreeItem& node) { return CPoint(node.GetBox().left + 3, node.GetBoxCenter().y); }

void ExpectStyleFill(TreeHost& host, const CTreeItem& node, const std::string& what) {
    const _NODESKINPARAM& style = host.Tree().getInterface()->GetStyle(node.GetState());
    const CPoint at = FillPoint(node);
    EXPECT_EQ(Describe(host.FramePixel(at.x, at.y)), Describe(style.BgColor)) << what;
    if (node.IsHighlighted()) {
        const COLORREF frame = host.Tree().getInterface()->GetFrameColor(node.GetState());
        EXPECT_EQ(Describe(host.FramePixel(node.GetBox().left + 1, node.GetBoxCenter().y)), Describe(frame))
            << what << ": the frame of a highlighted node";
    }
}

}  // namespace

class TreeAtRest : public ::testing::TestWithParam<const char*> {};

TEST_P(TreeAtRest, FramesWithOneFiveTwentyAndTwentyOneChildren) {
    const char* skin = GetParam();
    for (int children : {1, 5, 20, 21}) {
        TreeHost host(skin);
        ASSERT_TRUE(host.Ready());
        std::vector<ORVCONTACTINFO> people = People(children);
        ASSERT_TRUE(host.ShowPeople(people));
        host.Tree().Update();
        const std::string name = std::string("rest-") + skin + "-" + std::to_string(children) + ".bmp";
        EXPECT_TRUE(host.SaveFrame(name));

        // Nothing but the background outside the ellipse.
        const int width = kHostWidth, height = kHostHeight;
        ClsBitMap background;
        ASSERT_TRUE(background.AllocateBitMap(width, height, pf32bit));
        {
            ClsBitMap::ScopedLock lock(background);
            host.Tree().getInterface()->DrawBackground(*background.Lock(), width, height);
        }
        int outside = 0, differing = 0;
        for (int y = 0; y < height; y += 7)
            for (int x = 0; x < width; x += 7) {
                if (InsideEllipse(x, y, width, height) || InsideEllipse(x + 1, y + 1, width, height)) continue;
                ++outside;
                if (host.FramePixel(x, y) != Pixel(background, x, y)) ++differing;
            }
        EXPECT_GT(outside, 1000);
        EXPECT_EQ(differing, 0) << name;

        CNodesList* list = host.Tree().GetCurrentList();
        ExpectStyleFill(host, *list->GetRoot(), name + " root");
        for (int i = 0; i < list->GetVisibleCount(); ++i)
            ExpectStyleFill(host, *list->GetVisible(i), name + " child " + std::to_string(i));

        // What was painted reached the window.
        HBITMAP shown = orvtest::CaptureClient(host.Tree().GetSafeHwnd());
        ASSERT_NE(shown, nullptr);
        for (const CPoint& at : {CPoint(3, 3), host.Tree().GetCenterPoint(), CPoint(700, 351), CPoint(900, 120)})
            EXPECT_EQ(Describe(orvtest::BitmapPixel(shown, at.x, at.y)), Describe(host.FramePixel(at.x, at.y)))
                << name << " at " << at.x << "," << at.y;
        ::DeleteObject(shown);
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, TreeAtRest, ::testing::Values("Daylight", "Graphite"));

TEST(TreeRendering, LinesHaveTheRowsColourAndEveryStyleItsFill) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = {Contact("Ada", "Lovelace"), Contact("Member", "Right", 1, 0),
                                          Contact("Outside", "Top", 0, 4), Contact("Passive", "Left", 0, 1),
                                          Contact("Member", "Bottom", 1, 0)};
    ASSERT_TRUE(host.ShowPeople(people));
    host.Tree().Update();
    CNodesList* list = host.Tree().GetCurrentList();
    const COLORREF rows = host.Skin().RowsColor;
    // Child 0 stands right of the root on the centre line: the line runs
    // along y = 350 between the root's box and the child's.
    EXPECT_EQ(Describe(host.FramePixel(700, 350)), Describe(rows));
    EXPECT_NE(Describe(host.FramePixel(700, 352)), Describe(rows)) << "one pixel wide";
    // The line up to child 1 runs along x = 500 above the root.
    EXPECT_EQ(Describe(host.FramePixel(500, 200)), Describe(rows));

    for (int i = 0; i < 4; ++i) {
        {
            CSingleLock lock(host.Tree().GetListLock());
            list->Highlight(list->GetVisible(i), false);
        }
        host.Tree().Update();
        ExpectStyleFill(host, *list->GetVisible(i), "highlighted child " + std::to_string(i));
        ExpectStyleFill(host, *list->GetRoot(), "the root, not highlighted");
        host.SaveFrame("highlight-" + std::to_string(i) + ".bmp");
    }
    // The chat mark of a member that can chat.
    ORVCONTACTINFO chatty = Contact("Chat", "Ready");
    chatty.chatPresence = "here";
    OrvNormaliseContact(chatty, false);
    ASSERT_EQ(chatty.canChat, 1);
    std::vector<ORVCONTACTINFO> two = {Contact("Ada", "Lovelace"), chatty, Contact("No", "Chat")};
    ASSERT_TRUE(host.ShowPeople(two));
    host.Tree().Update();
    list = host.Tree().GetCurrentList();
    const CRect mark = list->GetVisible(0)->GetIconRect();
    const CRect none = list->GetVisible(1)->GetIconRect();
    ClsBitMap& icon = host.Skin().OnlineIconImage;
    const COLORREF middle = Pixel(icon, 8, 8);
    ASSERT_NE(middle, RGB(255, 0, 255));
    EXPECT_EQ(Describe(host.FramePixel(mark.left + 8, mark.top + 8)), Describe(middle));
    EXPECT_NE(Describe(host.FramePixel(none.left + 8, none.top + 8)), Describe(middle)) << "no mark without chat";
}

TEST(TreeRendering, PageButtonsShowTheirFramesOnTheRoot) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(25);
    ASSERT_TRUE(host.ShowPeople(people));
    CRootItem* root = host.Tree().GetCurrentList()->GetRoot();
    // Each frame of a button image is 16 x 16; compare at a pixel where the
    // frame is not transparent and differs from another frame.
    const auto distinct = [&](ClsBitMap& image, int frame, int other) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const COLORREF mine = Pixel(image, x, frame * 16 + y);
                if (mine != RGB(255, 0, 255) && mine != Pixel(image, x, other * 16 + y)) return CPoint(x, y);
            }
        return CPoint(-1, -1);
    };
    const auto check = [&](const CRootItem::CNavigateButton& button, ClsBitMap& image, int frame,
                           const char* what) {
        const CPoint in = distinct(image, frame, frame == 1 ? 0 : 1);
        ASSERT_GE(in.x, 0) << what;
        const CRect at = button.GetRect();
        EXPECT_EQ(Describe(host.FramePixel(root->GetBox().left + at.left + in.x, root->GetBox().top + at.top + in.y)),
                  Describe(Pixel(image, in.x, frame * 16 + in.y)))
            << what;
    };
    ClsBitMap& next = host.Skin().RootButtonNextImage;
    ClsBitMap& previous = host.Skin().RootButtonPreviousImage;
    {
        CSingleLock lock(host.Tree().GetListLock());
        root->GetNextButton().SetHovered(false);
        root->GetPreviousButton().SetHovered(false);
    }
    host.Tree().Update();
    check(root->GetNextButton(), next, 0, "enabled");
    check(root->GetPreviousButton(), previous, 3, "disabled");
    host.SaveFrame("page-buttons.bmp");
    {
        CSingleLock lock(host.Tree().GetListLock());
        root->GetNextButton().SetHovered(true);
        root->GetPreviousButton().SetHovered(true);
    }
    host.Tree().Update();
    check(root->GetNextButton(), next, 1, "hovered");
    check(root->GetPreviousButton(), previous, 3, "a disabled button does not light up");
    {
        CSingleLock lock(host.Tree().GetListLock());
        root->GetNextButton().SetPressed(true);
    }
    host.Tree().Update();
    check(root->GetNextButton(), next, 2, "pressed");
}

TEST(TreeRendering, ASelectionAnimationMovesTheChosenChildToTheCentre) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(12);
    ASSERT_TRUE(host.ShowPeople(people));
    CNodesList* list = host.Tree().GetCurrentList();
    CTreeItem* chosen = list->GetVisible(2);
    const CPoint chosenAt = chosen->GetBoxCenter();
    {
        CSingleLock lock(host.Tree().GetListLock());
        list->Highlight(chosen, false);
    }
    host.Tree().Update();
    // The chosen person's tree, with the old root as its first child.
    std::vector<ORVCONTACTINFO> next = People(9, "Bea");
    next[0] = chosen->GetContact();
    next[1] = people[0];

    FrameRecorder recorder(host.Tree());
    recorder.armed = true;
    ASSERT_EQ(host.Tree().SetData(next.data(), static_cast<unsigned>(next.size()), ANIM_SELECT), 1);
    ASSERT_TRUE(host.WaitIdle());
    recorder.armed = false;
    ASSERT_GE(recorder.frames.size(), 30u);
    const size_t last = recorder.frames.size() - 1;
    const size_t picks[5] = {2, 9, 16, 23, last - 1};
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(SaveArtifact(recorder.frames[picks[i]]->GetHandle(), "select-" + std::to_string(i + 1) + ".bmp"));
    EXPECT_TRUE(host.SaveFrame("select-after.bmp"));

    // The chosen child arrived in the centre as the new root, and the old
    // root stands opposite the place the chosen child had.
    CNodesList* now = host.Tree().GetCurrentList();
    EXPECT_STREQ(now->GetRoot()->GetContact().email, people[3].email);
    const CPoint center = host.Tree().GetCenterPoint();
    EXPECT_EQ(now->GetRoot()->GetBoxCenter(), center);
    EXPECT_STREQ(now->GetVisible(0)->GetContact().email, people[0].email);
    EXPECT_EQ(now->GetVisible(0)->GetBoxCenter(), CPoint(2 * center.x - chosenAt.x, 2 * center.y - chosenAt.y));
    for (int i = 0; i < now->GetVisibleCount(); ++i) EXPECT_EQ(now->GetVisible(i)->GetScale(), 1.0);
}
