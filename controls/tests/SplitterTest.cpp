// CSkinnedSplitter on real windows: the clamp at both minimums, real drags
// with the pointer, the minimum size re-applied, panes added before and
// after the windows exist, ownership, and the bar drawn from the shipped
// skin's record.
#include "CSkinnedSplitter.h"
#include "ClsBitMap.h"
#include "ListsTestSupport.h"

#include <gtest/gtest.h>

using namespace liststest;

namespace {

constexpr int kHostX = 60, kHostY = 50, kHostWidth = 800, kHostHeight = 420;
constexpr int kAreaTop = 20, kAreaHeight = 380;

CRect WindowRectInParent(HWND window) {
    CRect rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A host with a splitter over (0, 20, 800, 380): a red pane left, a blue one
// right, 150 the minimum, the bar 6 wide at 300.
struct SplitterScene {
    Host host{kHostX, kHostY, kHostWidth, kHostHeight};
    CSkinnedSplitter* splitter = new CSkinnedSplitter(host.GetSafeHwnd());
    int deleted = 0;
    Pane* left = new Pane(host.GetSafeHwnd(), &deleted, RGB(200, 0, 0));
    Pane* right = new Pane(host.GetSafeHwnd(), &deleted, RGB(0, 0, 200));

    SplitterScene() {
        splitter->SetPos(0, kAreaTop, kHostWidth, kAreaHeight);
        splitter->SetMinSize(150);
        left->SetPos(0, 0, 10, kAreaHeight);
        right->SetPos(0, 0, 10, kAreaHeight);
        splitter->AddLeft(left);
        splitter->AddRight(right);
        left->GetHandleC();
        right->GetHandleC();
        splitter->GetHandleC();
        splitter->SetSplitterPos(300);
        PumpPending();
    }
    ~SplitterScene() { delete splitter; }

    // Left pane, bar and right pane follow position p.
    void ExpectLayout(int p) const {
        EXPECT_EQ(splitter->GetSplitterPos(), p);
        EXPECT_EQ(WindowRectInParent(left->GetSafeHwndC()), CRect(0, kAreaTop, p, kAreaTop + kAreaHeight));
        EXPECT_EQ(WindowRectInParent(splitter->GetSafeHwndC()), CRect(p, kAreaTop, p + 6, kAreaTop + kAreaHeight));
        EXPECT_EQ(WindowRectInParent(right->GetSafeHwndC()), CRect(p + 6, kAreaTop, kHostWidth, kAreaTop + kAreaHeight));
    }
    CPoint BarOnScreen() const {
        CRect bar;
        ::GetWindowRect(splitter->GetSafeHwndC(), &bar);
        return bar.CenterPoint();
    }
};

}  // namespace

TEST(SkinnedSplitter, ThePositionStaysBetweenTheMinimumsOfBothSides) {
    SplitterScene scene;
    ASSERT_NE(scene.splitter->GetSafeHwndC(), nullptr);
    scene.ExpectLayout(300);
    // The stored bounds stay the whole area, not the bar's.
    EXPECT_EQ(scene.splitter->GetLeft(), 0);
    EXPECT_EQ(scene.splitter->GetTop(), kAreaTop);
    EXPECT_EQ(scene.splitter->GetWidth(), kHostWidth);
    EXPECT_EQ(scene.splitter->GetHeight(), kAreaHeight);

    scene.splitter->SetSplitterPos(20);
    scene.ExpectLayout(150);
    scene.splitter->SetSplitterPos(-400);
    scene.ExpectLayout(150);
    scene.splitter->SetSplitterPos(790);
    scene.ExpectLayout(kHostWidth - 6 - 150);  // the right side keeps the minimum
    scene.splitter->SetSplitterPos(645);        // 1 past the right limit
    scene.ExpectLayout(644);

    // The same position again moves nothing.
    const int leftMoves = scene.left->moves, rightMoves = scene.right->moves;
    scene.splitter->SetSplitterPos(644);
    scene.splitter->SetSplitterPos(9000);
    EXPECT_EQ(scene.left->moves, leftMoves);
    EXPECT_EQ(scene.right->moves, rightMoves);
}

TEST(SkinnedSplitter, DraggingTheBarPastEitherMinimumStopsThere) {
    SplitterScene scene;
    const CPoint bar = scene.BarOnScreen();
    ASSERT_TRUE(MoveMouse(bar.x, bar.y));
    MouseButton(true, true);
    ASSERT_TRUE(PumpUntil([&] { return scene.splitter->GetIsDragging(); }));
    ASSERT_TRUE(MoveMouse(bar.x - 100, bar.y));
    EXPECT_TRUE(PumpUntil([&] { return scene.splitter->GetSplitterPos() == 200; }))
        << scene.splitter->GetSplitterPos();
    ASSERT_TRUE(MoveMouse(kHostX + 5, bar.y));  // far beyond the left minimum
    EXPECT_TRUE(PumpUntil([&] { return scene.splitter->GetSplitterPos() == 150; }))
        << scene.splitter->GetSplitterPos();
    ASSERT_TRUE(MoveMouse(kHostX + kHostWidth - 3, bar.y));  // beyond the right one
    EXPECT_TRUE(PumpUntil([&] { return scene.splitter->GetSplitterPos() == kHostWidth - 6 - 150; }))
        << scene.splitter->GetSplitterPos();
    MouseButton(true, false);
    ASSERT_TRUE(PumpUntil([&] { return !scene.splitter->GetIsDragging(); }));
    scene.ExpectLayout(kHostWidth - 6 - 150);

    // Moving without the button moves nothing.
    ASSERT_TRUE(MoveMouse(kHostX + 400, bar.y + 20));
    PumpPending();
    EXPECT_EQ(scene.splitter->GetSplitterPos(), kHostWidth - 6 - 150);
}

TEST(SkinnedSplitter, ANewMinimumMovesABarThatBreaksItAndAShrunkAreaKeepsItToo) {
    SplitterScene scene;
    scene.splitter->SetMinSize(350);
    scene.ExpectLayout(350);
    scene.splitter->SetMinSize(100);
    scene.ExpectLayout(350) ;  // a smaller minimum leaves the bar where it is
    scene.splitter->SetSplitterPos(600);
    scene.splitter->SetMinSize(300);
    scene.ExpectLayout(kHostWidth - 6 - 300);

    // The area shrinks: the bar and the panes keep the right minimum.
    scene.splitter->SetPos(0, kAreaTop, 600, kAreaHeight);
    EXPECT_EQ(scene.splitter->GetSplitterPos(), 600 - 6 - 300);
    EXPECT_EQ(WindowRectInParent(scene.splitter->GetSafeHwndC()).left, 294);
    EXPECT_EQ(WindowRectInParent(scene.left->GetSafeHwndC()).Width(), 294);

    // Narrower than two minimums: never a negative width.
    scene.splitter->SetPos(0, kAreaTop, 200, kAreaHeight);
    EXPECT_EQ(scene.splitter->GetSplitterPos(), 0);
    EXPECT_GE(WindowRectInParent(scene.left->GetSafeHwndC()).Width(), 0);
}

TEST(SkinnedSplitter, APaneAddedLaterTakesItsSideAndTheSplitterOwnsItsPanes) {
    int deleted = 0;
    {
        Host host(kHostX, kHostY, kHostWidth, kHostHeight);
        auto* splitter = new CSkinnedSplitter(host.GetSafeHwnd());
        splitter->SetPos(40, kAreaTop, 700, kAreaHeight);
        splitter->SetMinSize(100);
        splitter->GetHandleC();
        splitter->SetSplitterPos(250);
        auto* late = new Pane(host.GetSafeHwnd(), &deleted, RGB(0, 120, 0));
        late->SetPos(0, 10, 30, 200);  // its top within the area
        splitter->AddRight(late);
        late->GetHandleC();
        // At the splitter's left + position + bar, the rest of the width.
        EXPECT_EQ(WindowRectInParent(late->GetSafeHwndC()), CRect(40 + 256, kAreaTop + 10, 740, kAreaTop + 210));
        EXPECT_EQ(splitter->GetPaneCount(csRight), 1);
        EXPECT_EQ(late->GetOwnerC(), splitter);

        // A pane deleted on its own leaves the splitter.
        auto* gone = new Pane(host.GetSafeHwnd(), &deleted, RGB(0, 0, 0));
        splitter->AddLeft(gone);
        EXPECT_EQ(splitter->GetPaneCount(csLeft), 1);
        delete gone;
        EXPECT_EQ(splitter->GetPaneCount(csLeft), 0);
        splitter->SetSplitterPos(300);  // walks the panes: the deleted one is not touched
        EXPECT_EQ(WindowRectInParent(late->GetSafeHwndC()).left, 40 + 306);
        delete splitter;
        EXPECT_EQ(deleted, 2) << "deleting the splitter deletes its panes";
    }
}

TEST(SkinnedSplitter, TheBarShowsTheSkinsSplitterRecordInBothShippedSkins) {
    for (const char* name : {"Daylight", "Graphite"}) {
        ShippedSkin skin(name);
        ASSERT_TRUE(skin.Ok()) << name;
        ControlBorderInfo_t* frame = skin.Frame(crVerticalSplitter);
        ASSERT_TRUE(frame && frame->MainImage && frame->MainImage->GetIsValid()) << name;
        SplitterScene scene;
        scene.splitter->SetBorder(frame);
        scene.splitter->RealizeSkin();
        PumpPending();
        CRect bar;
        ::GetWindowRect(scene.splitter->GetSafeHwndC(), &bar);
        // The left edge column and the content cell, as the record has them.
        const COLORREF edge = ImagePixel(*frame->MainImage, frame->LeftBorderX, frame->LeftBorderY);
        const COLORREF content = ImagePixel(*frame->MainImage, frame->ContentX, frame->ContentY);
        EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(bar.left, bar.top + 100) == edge; }))
            << name << " " << Describe(ScreenPixel(bar.left, bar.top + 100)) << " " << Describe(edge);
        if (frame->LeftBorderWidth + frame->RightBorderWidth < bar.Width()) {
            EXPECT_EQ(Describe(ScreenPixel(bar.left + frame->LeftBorderWidth, bar.top + 100)), Describe(content))
                << name;
        }
        CRect shot(bar.left - 20, bar.top, bar.right + 20, bar.top + 120);
        EXPECT_TRUE(SaveScreen(shot, std::string("splitter-") + name + ".bmp"));
    }
}
