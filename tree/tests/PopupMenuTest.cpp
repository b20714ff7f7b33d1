// The popup menu of a node, opened through the context-menu message and
// watched from a timer inside its modal loop: its items and their enabling
// rules, where it opens, and the command that reaches the program.
#include "CNodesList.h"
#include "CTreeItem.h"
#include "TreeResources.h"
#include "TreeTestSupport.h"

#include "AfxTrace.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

using namespace treetest;

namespace {

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

// Watches for the menu window of this thread while it lives; when the menu
// shows, records it and then closes it or chooses an item by keys.
class MenuWatcher {
public:
    explicit MenuWatcher(std::vector<UINT> keys = {VK_ESCAPE}) : m_keys(std::move(keys)) {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 30, OnTimer);
    }
    ~MenuWatcher() {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }

    bool seen = false;
    CRect rect;
    std::map<UINT, bool> enabled;
    std::vector<std::string> captions;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (s_current && !s_current->seen) ::EnumThreadWindows(::GetCurrentThreadId(), Look, 0);
    }
    static BOOL CALLBACK Look(HWND window, LPARAM) {
        char className[16] = "";
        ::GetClassNameA(window, className, sizeof className);
        if (lstrcmpA(className, "#32768") != 0 || !::IsWindowVisible(window)) return TRUE;
        MenuWatcher& self = *s_current;
        self.seen = true;
        ::GetWindowRect(window, &self.rect);
        HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(window, kGetMenuHandle, 0, 0));
        for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
            char text[64] = "";
            ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
            self.captions.push_back(text);
            const UINT id = ::GetMenuItemID(menu, i);
            const UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
            if (id != 0 && id != static_cast<UINT>(-1)) self.enabled[id] = (state & (MF_GRAYED | MF_DISABLED)) == 0;
        }
        for (UINT key : self.m_keys) ::PostMessageA(window, WM_KEYDOWN, key, 0);
        return FALSE;
    }

    static MenuWatcher* s_current;
    std::vector<UINT> m_keys;
    UINT_PTR m_timer = 0;
};
MenuWatcher* MenuWatcher::s_current = nullptr;

void OpenMenuOn(CTreeControl& tree, const CTreeItem& node) {
    CPoint at = node.GetBoxCenter();
    tree.ClientToScreen(&at);
    ::PostMessageA(tree.GetSafeHwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree.GetSafeHwnd()),
                   MAKELPARAM(at.x, at.y));
    PumpPending();
}

CRect ScreenBox(CTreeControl& tree, const CTreeItem& node) {
    CRect box = node.GetBox();
    tree.ClientToScreen(&box);
    return box;
}

}  // namespace

TEST(TreePopupMenu, ItHoldsTheItemsInOrderAndOpensBelowTheNode) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(6);
    ASSERT_TRUE(host.ShowPeople(people));
    const CTreeItem& node = *host.Tree().GetCurrentList()->GetVisible(2);
    MenuWatcher watcher;
    OpenMenuOn(host.Tree(), node);
    ASSERT_TRUE(watcher.seen);
    EXPECT_EQ(watcher.captions, (std::vector<std::string>{"Chat", "Search Path", "View Orvane Map", "",
                                                          "Send an E-Mail", "", "Add to Favorites", "",
                                                          "Search-path From", "Search-path To"}));
    const CRect box = ScreenBox(host.Tree(), node);
    EXPECT_EQ(watcher.rect.left, box.left) << "at the box's bottom-left corner";
    EXPECT_EQ(watcher.rect.top, box.bottom);
    EXPECT_TRUE(host.Navigator().requests.empty()) << "dismissed: no command";
    EXPECT_EQ(host.Tree().GetMenuTarget(), nullptr) << "the target goes with the menu";
}

TEST(TreePopupMenu, ItemsAreEnabledByTheContactAndNeverForTheMemberHimself) {
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
        MenuWatcher watcher;
        OpenMenuOn(host.Tree(), *list->GetVisible(c.child));
        ASSERT_TRUE(watcher.seen) << c.child;
        EXPECT_EQ(watcher.enabled[ID_TREE_CHAT], c.chat) << c.child;
        EXPECT_EQ(watcher.enabled[ID_TREE_SEARCH_PATH], c.path) << c.child;
        EXPECT_EQ(watcher.enabled[ID_TREE_SEND_EMAIL], c.mail) << c.child;
        for (UINT id : always) EXPECT_TRUE(watcher.enabled[id]) << c.child << " item " << id;
    }
}

TEST(TreePopupMenu, ANodeNearTheRightScreenEdgeOpensItsMenuAtTheBoxsRightEdge) {
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
    MenuWatcher watcher;
    OpenMenuOn(host.Tree(), node);
    ASSERT_TRUE(watcher.seen);
    EXPECT_EQ(watcher.rect.right, onScreen.right) << "the menu ends at the box's right edge";
    EXPECT_EQ(watcher.rect.top, onScreen.bottom);
}

TEST(TreePopupMenu, AChosenCommandReachesTheProgramWithTheNodesRecord) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(5);
    ASSERT_TRUE(host.ShowPeople(people));
    const CTreeItem& node = *host.Tree().GetCurrentList()->GetVisible(1);
    {
        // Up from nothing selects the last item, "Search-path To".
        MenuWatcher watcher({VK_UP, VK_RETURN});
        OpenMenuOn(host.Tree(), node);
        ASSERT_TRUE(watcher.seen);
    }
    auto& requests = host.Navigator().requests;
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, ORVNAV_COMMAND);
    EXPECT_EQ(requests[0].command, ORVNAVCMD_PATH_TO);
    ASSERT_TRUE(requests[0].hasContact);
    EXPECT_STREQ(requests[0].contact.email, people[2].email);
    EXPECT_TRUE(host.Tree().isAComplete()) << "a command leaves the tree free";
    EXPECT_EQ(host.Tree().GetMenuTarget(), nullptr);

    // A command with no menu open does nothing.
    ::SendMessageA(host.Tree().GetSafeHwnd(), WM_COMMAND, ID_TREE_CHAT, 0);
    EXPECT_EQ(requests.size(), 1u);
}

TEST(TreePopupMenu, AFailingCommandIsSwallowedAndTraced) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(5);
    ASSERT_TRUE(host.ShowPeople(people));
    host.Navigator().onNavigate = [](const ORVNAVIGATEINFO&) { throw std::runtime_error("no mail program"); };
    const long traced = AfxGetTracedExceptionCount();
    {
        MenuWatcher watcher({VK_UP, VK_RETURN});
        OpenMenuOn(host.Tree(), *host.Tree().GetCurrentList()->GetVisible(0));
        ASSERT_TRUE(watcher.seen);
    }
    EXPECT_EQ(host.Navigator().requests.size(), 1u);
    EXPECT_EQ(AfxGetTracedExceptionCount(), traced + 1);
    EXPECT_TRUE(host.Tree().IsWindow());
}

TEST(TreePopupMenu, NoMenuWhileTheTreeIsBusy) {
    TreeHost host;
    ASSERT_TRUE(host.Ready());
    std::vector<ORVCONTACTINFO> people = People(5);
    ASSERT_TRUE(host.ShowPeople(people));
    host.Tree().StartAction();
    MenuWatcher watcher;
    OpenMenuOn(host.Tree(), *host.Tree().GetCurrentList()->GetVisible(0));
    EXPECT_FALSE(watcher.seen);
    host.Tree().CancelAction();
}
