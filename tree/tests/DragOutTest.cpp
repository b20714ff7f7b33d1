// Dragging a node out of the tree with real pointer input through the
// system's drag loop: the contact arrives whole at a window that takes
// contacts, with its text; a drag that comes back to where it began
// activates the child; the drag source's cursors and the drag picture.
#include "CNodesList.h"
#include "CTreeDropSource.h"
#include "CTreeItem.h"
#include "CTreeView.h"
#include "TreeTestSupport.h"

#include "CEvent.h"
#include "CGlobalMemory.h"
#include "COleInitializer.h"
#include "COrvDragImage.h"
#include "COrvDropTarget.h"
#include "DragTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

using namespace treetest;

namespace {

constexpr UINT kQueryDrop = 0x8DAD;
constexpr UINT kContactDropped = 0x8DAE;

// A window that takes dropped contacts and keeps them with the text the
// drop offered.
class ContactWindow : public dragtest::PopupWindow {
public:
    class Target : public COrvDropTarget {
    public:
        BOOL OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point) override {
            CGlobalMemory block = data->GetGlobalData(CF_TEXT, 4096);
            CGlobalLock locked(block.Get());
            if (locked.Get()) text.assign(locked.As<char>(), strnlen(locked.As<char>(), locked.Size()));
            return COrvDropTarget::OnDrop(window, data, effect, point);
        }
        std::string text;
    };

    ContactWindow(int x, int y, int width, int height) : PopupWindow(x, y, width, height, "contacts") {
        onMessage = [this](UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
            if (message == kQueryDrop) {
                entered.Set();
                *result = 1;
                return true;
            }
            if (message == kContactDropped) {
                dropped.push_back(*reinterpret_cast<const ORVCONTACTINFO*>(lParam));
                droppedEvent.Set();
                *result = 0;
                return true;
            }
            return false;
        };
        target.Register(this);
    }

    Target target;
    std::vector<ORVCONTACTINFO> dropped;
    CEvent entered{true};
    CEvent droppedEvent{true};
};

CPoint OnScreen(CTreeControl& tree, CPoint point) {
    tree.ClientToScreen(&point);
    return point;
}

// Waits in a script until the tree's drag is under way.
bool WaitForDragging() {
    const ULONGLONG deadline = ::GetTickCount64() + dragtest::kStepTimeoutMs;
    while (!IsDraggingInProccess()) {
        if (::GetTickCount64() > deadline) return false;
        ::Sleep(5);
    }
    return true;
}

}  // namespace

TEST(TreeDragOut, ANodeDroppedOnAContactWindowArrivesWholeWithItsText) {
    COleInitializer ole;
    ASSERT_TRUE(ole.IsInitialized());
    TreeHost host("Daylight", 1000, 700, 20, 20);
    ASSERT_TRUE(host.Ready());
    ORVCONTACTINFO hidden = Contact("Hidden", "Address");
    hidden.emailPrivate = 1;
    hidden.occupation = "Cartographer";
    hidden.chatPresence = "here";
    OrvNormaliseContact(hidden, false);
    std::vector<ORVCONTACTINFO> people = {Contact("Ada", "Lovelace"), hidden, Contact("Other", "Person")};
    ASSERT_TRUE(host.ShowPeople(people));
    const CPoint from = OnScreen(host.Tree(), host.Tree().GetCurrentList()->GetVisible(0)->GetBoxCenter());
    ContactWindow window(1060, 120, 200, 160);
    const POINT to = dragtest::CentreOf(window.GetSafeHwnd());

    std::atomic<bool> draggingSeen{false};
    dragtest::InputWorker worker([&]() -> std::string {
        dragtest::MoveTo(from.x, from.y);
        dragtest::PressLeft();
        dragtest::MoveTo(from.x + 30, from.y + 10);
        if (!WaitForDragging()) {
            dragtest::ReleaseLeft();
            return "the drag never began";
        }
        draggingSeen = true;
        dragtest::MoveTo(to.x - 12, to.y);
        dragtest::MoveTo(to.x, to.y);
        if (!window.entered.Wait(dragtest::kStepTimeoutMs)) {
            dragtest::TapKey(VK_ESCAPE);
            dragtest::ReleaseLeft();
            return "the window was never entered";
        }
        dragtest::MoveTo(to.x + 3, to.y + 2);
        dragtest::ReleaseLeft();
        if (!window.droppedEvent.Wait(dragtest::kStepTimeoutMs)) return "nothing was dropped";
        return "";
    });
    EXPECT_EQ(worker.Join(), "");
    EXPECT_TRUE(draggingSeen);
    EXPECT_FALSE(IsDraggingInProccess()) << "over once the drop is done";
    ASSERT_EQ(window.dropped.size(), 1u);
    std::string difference;
    EXPECT_TRUE(dragtest::SameContact(window.dropped[0], people[1], &difference)) << difference;
    EXPECT_EQ(window.target.text, "Hidden Address email: (private)") << "the name and the private text";
    EXPECT_TRUE(host.Navigator().requests.empty()) << "a drag away activates nothing";
}

TEST(TreeDragOut, ADragBackToWhereItBeganActivatesTheChild) {
    COleInitializer ole;
    TreeHost host("Daylight", 1000, 700, 20, 20);
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(4);
    ASSERT_TRUE(host.ShowPeople(people));
    const CPoint from = OnScreen(host.Tree(), host.Tree().GetCurrentList()->GetVisible(2)->GetBoxCenter());
    dragtest::InputWorker worker([&]() -> std::string {
        dragtest::MoveTo(from.x, from.y);
        dragtest::PressLeft();
        dragtest::MoveTo(from.x + 40, from.y);
        if (!WaitForDragging()) {
            dragtest::ReleaseLeft();
            return "the drag never began";
        }
        dragtest::MoveTo(from.x + 20, from.y);
        dragtest::MoveTo(from.x, from.y);
        dragtest::ReleaseLeft();
        return "";
    });
    EXPECT_EQ(worker.Join(), "");
    ASSERT_TRUE(PumpUntil([&] { return !host.Navigator().requests.empty(); }));
    EXPECT_EQ(host.Navigator().requests[0].kind, ORVNAV_ACTIVATE);
    EXPECT_STREQ(host.Navigator().requests[0].contact.email, people[3].email);
}

TEST(TreeDragOut, TheDragSourceUsesTheTreesCursorsUnlessTheDragImageShows) {
    COleInitializer ole;
    COleDropSource::SetDragStartDistance(4);
    COleDropSource::SetDragDelay(200);
    CTreeControl::CTreeDropSource source;
    EXPECT_EQ(COleDropSource::GetDragStartDistance(), 100u);
    EXPECT_EQ(COleDropSource::GetDragDelay(), 10000u);
    HCURSOR copy = source.GetCursor(DROPEFFECT_COPY);
    HCURSOR move = source.GetCursor(DROPEFFECT_MOVE);
    HCURSOR none = source.GetCursor(DROPEFFECT_NONE);
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(move, nullptr);
    ASSERT_NE(none, nullptr);
    EXPECT_NE(copy, move);
    EXPECT_NE(copy, none);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(copy, &info));
    EXPECT_FALSE(info.fIcon) << "a cursor";
    EXPECT_EQ(info.xHotspot, 1u);
    EXPECT_EQ(info.yHotspot, 1u);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);

    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_COPY), S_OK);
    EXPECT_EQ(::GetCursor(), copy);
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_NONE), S_OK);
    EXPECT_EQ(::GetCursor(), none);
    source.SetUsesDragImage(true);
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
}

TEST(TreeDragOut, TheDragPictureShowsTheSkinsImageAndTheNameOnABlueBand) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(2);
    ASSERT_TRUE(host.ShowPeople(people));
    const CTreeItem& node = *host.Tree().GetCurrentList()->GetVisible(0);
    ClsBitMap picture;
    ASSERT_TRUE(COrvDragImage::Compose(node.GetDisplayName(),
                                       host.Tree().getInterface()->GetFont(node.GetState()), picture));
    SaveArtifact(picture.GetHandle(), "drag-picture.bmp");
    ClsBitMap::ScopedLock lock(picture);
    CDC* dc = picture.Lock();
    ASSERT_NE(dc, nullptr);
    const CSize size = picture.GetSize();
    EXPECT_LE(size.cx, 200);
    EXPECT_EQ(::GetPixel(*dc, size.cx - 1, 0), RGB(255, 0, 255)) << "transparent above the band";
    EXPECT_EQ(::GetPixel(*dc, size.cx - 1, size.cy / 2), static_cast<COLORREF>(0xF43333)) << "the band";
    bool white = false;
    for (int x = size.cx / 2; x < size.cx && !white; ++x)
        for (int y = 0; y < size.cy && !white; ++y) white = ::GetPixel(*dc, x, y) == RGB(255, 255, 255);
    EXPECT_TRUE(white) << "the name in white";
}
