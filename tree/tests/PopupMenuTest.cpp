// The skinned popup menu of a node: opened by hovering the node (the real
// pointer over the real tree) and by the context-menu message, driven by
// keys posted to its list window and by real pointer moves. Its items and
// their enabling rules, where it opens, the command that reaches the
// program, and when it closes.
#include "CNodesList.h"
#include "CTreeItem.h"
#include "CTreePopupMenu.h"
#include "ClsSkinnedMenuItem.h"
#include "TreeResources.h"
#include "TreeTestSupport.h"

#include "AfxTrace.h"
#include "CSkin.h"
#include "ClsBitMap.h"
#include "PopupMenuSkin.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace treetest;

namespace {

CRect ScreenBox(CTreeControl& tree, const CTreeItem& node) {
    CRect box = node.GetBox();
    tree.ClientToScreen(&box);
    return box;
}

CTreePopupMenu& Menu(CTreeControl& tree) { return *tree.GetPopupMenu(); }

// The open list window of the menu, null while closed.
HWND MenuWindow(CTreeControl& tree) {
    return Menu(tree).IsOpen() ? Menu(tree).GetMenu().GetKeyboardTarget() : nullptr;
}

// Puts the real pointer on the node, as the member would, and waits for
// the menu.
bool HoverNode(CTreeControl& tree, const CTreeItem& node) {
    const CPoint at = ScreenBox(tree, node).CenterPoint();
    ::SetCursorPos(at.x, at.y);
    return PumpUntil([&] { return MenuWindow(tree) != nullptr; });
}

bool OpenByContextMessage(CTreeControl& tree, const CTreeItem& node) {
    const CPoint at = ScreenBox(tree, node).CenterPoint();
    ::SetCursorPos(at.x, at.y);
    ::PostMessageA(tree.GetSafeHwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.GetSafeHwnd()),
                   MAKELPARAM(at.x, at.y));
    return PumpUntil([&] { return MenuWindow(tree) != nullptr; });
}

void PostKeys(HWND window, std::initializer_list<UINT> keys) {
    for (UINT key : keys) ::PostMessageA(window, WM_KEYDOWN, key, 1);
}

void ParkPointer() { ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1); }

struct Parked {
    ~Parked() { ParkPointer(); }
};

}  // namespace

TEST(TreePopupMenu, HoveringANodeOpensTheSkinnedMenuBelowItWithTheItemsInOrder) {
    Parked parked;
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(6);
    ASSERT_TRUE(host.ShowPeople(people));
    const CTreeItem& node = *host.Tree().GetCurrentList()->GetVisible(2);
    ASSERT_TRUE(HoverNode(host.Tree(), node));
    HWND window = MenuWindow(host.Tree());
    char title[32] = "";
    ::GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "OrvMenu");
    EXPECT_NE(::GetForegroundWindow(), window) << "the menu never takes activation";
    EXPECT_NE(::GetActiveWindow(), window);

    ClsSkinnedMenuItem* items = Menu(host.Tree()).GetMenu().GetItems();
    std::vector<std::string> captions;
    for (int i = 0; i < items->GetCount(); ++i)
        captions.push_back(items->GetItem(i)->GetSeparator() ? "" : std::string(items->GetItem(i)->GetCaption()));
    EXPECT_EQ(captions, (std::vector<std::string>{"Chat", "Search Path", "View Orvane Map", "", "Send an E-Mail", "",
                                                  "Add to Favorites", "", "Search-path From", "Search-path To"}));
    CRect rect;
    ::GetWindowRect(window, &rect);
    const CRect box = ScreenBox(host.Tree(), node);
    EXPECT_EQ(rect.left, box.left) << "at the box's bottom-left corner";
    EXPECT_EQ(rect.top, box.bottom);
    ASSERT_NE(host.Tree().GetMenuTarget(), nullptr);
    EXPECT_STREQ(host.Tree().GetMenuTarget()->email, people[3].email);

    // More moves over the same node keep the same menu.
    const CPoint inside = box.CenterPoint() + CPoint(3, 1);
    ::SetCursorPos(inside.x, inside.y);
    PumpPending();
    EXPECT_EQ(MenuWindow(host.Tree()), window);

    // What the screen shows: the menu framed by the registered popup look
    // (its top-left corner cell), over the tree.
    CSkinRecordRef<PopupMenuSkin> look(
        static_cast<PopupMenuSkin*>(CSkin::GetInstance()->GetComponent(PopupMenuSkin::kComponentName)));
    ASSERT_TRUE(look);
    const ControlBorderInfo_t* frame = look->GetInfo().SubMenuBorder;
    ASSERT_TRUE(frame && frame->MainImage && frame->MainImage->GetIsValid());
    ASSERT_GT(frame->LeftBorderWidth, 0);
    COLORREF expected = CLR_INVALID;
    if (CDC* cells = frame->MainImage->Lock()) {
        expected = ::GetPixel(cells->GetSafeHdc(), frame->LeftTopCornerX, frame->LeftTopCornerY);
        frame->MainImage->Unlock();
    }
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP shot = ::CreateCompatibleBitmap(screen, rect.Width(), rect.Height());
    HGDIOBJ old = ::SelectObject(memory, shot);
    ::BitBlt(memory, 0, 0, rect.Width(), rect.Height(), screen, rect.left, rect.top, SRCCOPY);
    const COLORREF corner = ::GetPixel(memory, 0, 0);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    EXPECT_TRUE(SaveArtifact(shot, "tree-popup-menu-daylight.bmp"));
    ::DeleteObject(shot);
    EXPECT_EQ(Describe(corner), Describe(expected));
}

TEST(TreePopupMenu, ItemsAreEnabledByTheContactAndNeverForTheMemberHimself) {
    Parked parked;
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    ORVCONTACTINFO open = Contact("Open", "Chatter");
    open.chatPresence = "here";
    OrvNormaliseContact(open, false);
    ORVCONTACTINFO quiet = Contact("Quiet", "Private");
    quiet.emailPrivate = 1;
    ORVCONTACTINFO self = Contact("Me", "Myself");
    self.chatPresence = "here";
    OrvNormaliseContact(self, false);
    host.Navigator().userId = "ME.MYSELF@example.com";  // ids compare without case
    std::vector<ORVCONTACTINFO> people = {Contact("Ada", "Lovelace"), open, quiet, self};
    ASSERT_TRUE(host.ShowPeople(people));
    CNodesList* list = host.Tree().GetCurrentList();
    const UINT always[] = {ID_TREE_VIEW_MAP, ID_TREE_ADD_TO_FAVORITES, ID_TREE_PATH_FROM, ID_TREE_PATH_TO};

    struct Case {
        int child;
        bool chat, path, mail;
    } cases[] = {{0, true, true, true}, {1, false, true, false}, {2, false, false, false}};
    for (const Case& c : cases) {
        ASSERT_TRUE(HoverNode(host.Tree(), *list->GetVisible(c.child))) << c.child;
        CTreePopupMenu& menu = Menu(host.Tree());
        EXPECT_EQ(menu.IsItemEnabled(ID_TREE_CHAT), c.chat) << c.child;
        EXPECT_EQ(menu.IsItemEnabled(ID_TREE_SEARCH_PATH), c.path) << c.child;
        EXPECT_EQ(menu.IsItemEnabled(ID_TREE_SEND_EMAIL), c.mail) << c.child;
        for (UINT id : always) EXPECT_TRUE(menu.IsItemEnabled(id)) << c.child << " item " << id;
    }
    // A disabled item posts nothing when chosen: Home hovers Chat, which is
    // disabled for the member himself.
    HWND window = MenuWindow(host.Tree());
    ASSERT_NE(window, nullptr);
    PostKeys(window, {VK_HOME, VK_RETURN});
    PumpPending();
    PostKeys(window, {VK_ESCAPE});
    EXPECT_TRUE(PumpUntil([&] { return !Menu(host.Tree()).IsOpen(); }));
    PumpPending();
    EXPECT_TRUE(host.Navigator().requests.empty());
}

TEST(TreePopupMenu, ANodeNearTheRightScreenEdgeOpensItsMenuAtTheBoxsRightEdge) {
    Parked parked;
    CRect box(1100, 300, 1228, 328);
    bool right = false;
    // 1280 - 1100 = 180, less than 200.
    EXPECT_EQ(CTreeControl::PopupAnchor(box, 1280, &right), CPoint(1228, 328));
    EXPECT_TRUE(right);
    box.OffsetRect(-20, 0);  // 200 from the edge
    EXPECT_EQ(CTreeControl::PopupAnchor(box, 1280, &right), CPoint(1080, 328));
    EXPECT_FALSE(right);

    // On screen: a child 150 pixels from the right edge.
    const int screen = ::GetSystemMetrics(SM_CXSCREEN);
    TreeHost host("Daylight", 1000, 700, screen - 828 - 150, 40);
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(4);
    ASSERT_TRUE(host.ShowPeople(people));
    const CTreeItem& node = *host.Tree().GetCurrentList()->GetVisible(0);
    const CRect onScreen = ScreenBox(host.Tree(), node);
    ASSERT_EQ(screen - onScreen.left, 150);
    ASSERT_TRUE(OpenByContextMessage(host.Tree(), node));
    CRect rect;
    ::GetWindowRect(MenuWindow(host.Tree()), &rect);
    EXPECT_EQ(rect.right, onScreen.right) << "the menu ends at the box's right edge";
    EXPECT_EQ(rect.top, onScreen.bottom);
}

TEST(TreePopupMenu, AChosenCommandReachesTheProgramWithTheNodesRecord) {
    Parked parked;
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(5);
    ASSERT_TRUE(host.ShowPeople(people));
    const CTreeItem& node = *host.Tree().GetCurrentList()->GetVisible(1);
    ASSERT_TRUE(HoverNode(host.Tree(), node));
    // End hovers the last item, "Search-path To".
    PostKeys(MenuWindow(host.Tree()), {VK_END, VK_RETURN});
    auto& requests = host.Navigator().requests;
    ASSERT_TRUE(PumpUntil([&] { return !requests.empty(); }));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, ORVNAV_COMMAND);
    EXPECT_EQ(requests[0].command, ORVNAVCMD_PATH_TO);
    ASSERT_TRUE(requests[0].hasContact);
    EXPECT_STREQ(requests[0].contact.email, people[2].email);
    EXPECT_FALSE(Menu(host.Tree()).IsOpen());
    EXPECT_TRUE(host.Tree().isAComplete()) << "a command leaves the tree free";
    EXPECT_EQ(host.Tree().GetMenuTarget(), nullptr);

    // A command with no menu open does nothing.
    ::SendMessageA(host.Tree().GetSafeHwnd(), WM_COMMAND, ID_TREE_CHAT, 0);
    EXPECT_EQ(requests.size(), 1u);
}

TEST(TreePopupMenu, ADismissedMenuLetsGoOfItsTargetAndALaterCommandDoesNothing) {
    Parked parked;
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(5);
    ASSERT_TRUE(host.ShowPeople(people));
    ASSERT_TRUE(OpenByContextMessage(host.Tree(), *host.Tree().GetCurrentList()->GetVisible(0)));
    PostKeys(MenuWindow(host.Tree()), {VK_ESCAPE});
    ASSERT_TRUE(PumpUntil([&] { return !Menu(host.Tree()).IsOpen(); }));
    ASSERT_TRUE(PumpUntil([&] { return host.Tree().GetMenuTarget() == nullptr; }));
    ::SendMessageA(host.Tree().GetSafeHwnd(), WM_COMMAND, ID_TREE_SEND_EMAIL, 0);
    PumpPending();
    EXPECT_TRUE(host.Navigator().requests.empty());
}

TEST(TreePopupMenu, PressingTheTreeOrLeavingItClosesTheMenuButMovingOntoTheMenuDoesNot) {
    Parked parked;
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(5);
    ASSERT_TRUE(host.ShowPeople(people));
    const CTreeItem& node = *host.Tree().GetCurrentList()->GetVisible(0);

    // The pointer goes from the node onto its menu: the menu stays.
    ASSERT_TRUE(HoverNode(host.Tree(), node));
    CRect rect;
    ::GetWindowRect(MenuWindow(host.Tree()), &rect);
    ::SetCursorPos(rect.CenterPoint().x, rect.CenterPoint().y);
    ::PostMessageA(host.Tree().GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    PumpPending();
    EXPECT_TRUE(Menu(host.Tree()).IsOpen());
    EXPECT_NE(host.Tree().GetMenuTarget(), nullptr);

    // Off the tree and the menu: it closes and the target goes.
    ParkPointer();
    ::PostMessageA(host.Tree().GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !Menu(host.Tree()).IsOpen(); }));
    EXPECT_EQ(host.Tree().GetMenuTarget(), nullptr);

    // A press in the tree closes it too.
    ASSERT_TRUE(OpenByContextMessage(host.Tree(), node));
    const CPoint empty(2, 2);
    ::PostMessageA(host.Tree().GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(empty.x, empty.y));
    ::PostMessageA(host.Tree().GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(empty.x, empty.y));
    ASSERT_TRUE(PumpUntil([&] { return !Menu(host.Tree()).IsOpen(); }));
    EXPECT_EQ(host.Tree().GetMenuTarget(), nullptr);
    EXPECT_TRUE(host.Navigator().requests.empty());

    // ClosePopUps from another thread is handed to the tree's thread.
    ASSERT_TRUE(OpenByContextMessage(host.Tree(), node));
    std::thread([&] { host.Tree().ClosePopUps(); }).join();
    EXPECT_TRUE(PumpUntil([&] { return !Menu(host.Tree()).IsOpen(); }));
}

TEST(TreePopupMenu, AFailingCommandIsSwallowedAndTraced) {
    Parked parked;
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(5);
    ASSERT_TRUE(host.ShowPeople(people));
    host.Navigator().onNavigate = [](const ORVNAVIGATEINFO&) { throw std::runtime_error("no mail program"); };
    const long traced = AfxGetTracedExceptionCount();
    ASSERT_TRUE(OpenByContextMessage(host.Tree(), *host.Tree().GetCurrentList()->GetVisible(0)));
    PostKeys(MenuWindow(host.Tree()), {VK_END, VK_RETURN});
    ASSERT_TRUE(PumpUntil([&] { return !host.Navigator().requests.empty(); }));
    EXPECT_EQ(host.Navigator().requests.size(), 1u);
    EXPECT_EQ(AfxGetTracedExceptionCount(), traced + 1);
    EXPECT_TRUE(host.Tree().IsWindow());
}

TEST(TreePopupMenu, NoMenuWhileTheTreeIsBusy) {
    Parked parked;
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(5);
    ASSERT_TRUE(host.ShowPeople(people));
    host.Tree().StartAction();
    const CTreeItem& node = *host.Tree().GetCurrentList()->GetVisible(0);
    const CPoint at = ScreenBox(host.Tree(), node).CenterPoint();
    ::SetCursorPos(at.x, at.y);
    ::PostMessageA(host.Tree().GetSafeHwnd(), WM_CONTEXTMENU, 0, MAKELPARAM(at.x, at.y));
    PumpPending();
    EXPECT_FALSE(Menu(host.Tree()).IsOpen());
    host.Tree().CancelAction();
}
