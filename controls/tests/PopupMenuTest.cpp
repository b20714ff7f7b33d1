// Popup menus on real windows: opened at a point and near every edge of the
// screen, skinned from the registered "PopupMenu" record, chosen with the
// mouse and the keyboard, closed by a press outside, refused without a
// receiver, and handed between threads.
#include "CSkin.h"
#include "ClsSkinnedPopupMenu.h"
#include "ClsSkinnedSubMenuWnd.h"
#include "MenuTestResources.h"
#include "MenuTestSkin.h"
#include "MenuTestSupport.h"
#include "PopupMenuSkin.h"

#include "BitmapFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <thread>

using namespace menutest;

namespace {
// A host and the contact-tree's popup menu skinned through the registry.
struct Popup : ::testing::Test {
    Popup() : host(60, 60, 500, 400), skin("Daylight") {
        CSkin::GetInstance()->Reset();
        auto* record = new PopupMenuSkin;
        record->Assign(skin.Info());
        CSkin::GetInstance()->AddComponent(PopupMenuSkin::kComponentName, record);
        menu.LoadMenuA(MAKEINTRESOURCEA(IDM_TEST_POPUP));
        menu.SetCmdReceiverHandle(host.GetSafeHwnd());
        menu.ApplySkin();
        host.Activate();
        MoveMouse(2, 2);
    }
    ~Popup() override {
        menu.CloseMenu();
        CSkin::GetInstance()->Reset();
    }
    bool Until(const std::function<bool()>& done) { return PumpUntil(done, &menu); }
    ClsSkinnedMenuItem* Item(int index) { return menu.GetItems()->GetItem(index); }
    HWND List() { return menu.GetItems()->GetListHandle(); }
    RECT Placed() {
        RECT placed{};
        ::GetWindowRect(List(), &placed);
        return placed;
    }
    POINT Centre(ClsSkinnedMenuItem* item) {
        POINT point = item->GetItemRect().CenterPoint();
        ::ClientToScreen(List(), &point);
        return point;
    }

    CommandHost host;
    ctltest::MenuTestSkin skin;
    ClsSkinnedPopupMenu menu;
};

const int kScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
const int kScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
}  // namespace

TEST_F(Popup, OpensAtThePointAndAChoicePostsTheCommand) {
    ASSERT_TRUE(menu.TrackPopupMenu(200, 150));
    ASSERT_TRUE(menu.GetIsOpen());
    const RECT placed = Placed();
    EXPECT_EQ(placed.left, 200);
    EXPECT_EQ(placed.top, 150);
    const ControlBorderInfo_t& frame = *skin.SubMenu();
    EXPECT_EQ(placed.bottom - placed.top, 7 * 28 + 3 * 9 + frame.TopBorderWidth + frame.BottomBorderWidth);
    EXPECT_EQ(::GetWindow(List(), GW_OWNER), host.GetSafeHwnd()) << "owned by the command receiver";
    EXPECT_EQ(::GetForegroundWindow(), host.GetSafeHwnd());
    EXPECT_EQ(menu.GetKeyboardTarget(), List());

    const POINT path = Centre(Item(1));
    MoveMouse(path.x, path.y);
    ASSERT_TRUE(Until([&] { return menu.GetItems()->GetHoveredItem() == Item(1); }));
    Capture(List(), "popup-hover-Daylight.bmp");
    MouseButton(true, true);
    ASSERT_TRUE(Until([&] { return menu.GetItems()->GetMenuEntered(); })) << "pressed while the button is held";
    MouseButton(true, false);
    ASSERT_TRUE(Until([&] { return !host.commands.empty(); }));
    EXPECT_EQ(host.commands, std::vector<UINT>{ID_NAV_SEARCHPATH});
    EXPECT_FALSE(menu.GetIsOpen());
    EXPECT_EQ(List(), nullptr);
    EXPECT_EQ(::FindWindowA(nullptr, ClsSkinnedSubMenuWnd::kWindowTitle), nullptr);
}

TEST_F(Popup, NearTheScreensEdgesOpensAboveAndLeftOfThePoint) {
    ASSERT_TRUE(menu.TrackPopupMenu(50, 60));
    const int width = Placed().right - Placed().left, height = Placed().bottom - Placed().top;

    // Bottom-right corner: above the point, less the offset, and left of it.
    ASSERT_TRUE(menu.TrackPopupMenu(kScreenWidth - 20, kScreenHeight - 20, 30));
    RECT placed = Placed();
    EXPECT_EQ(placed.right, kScreenWidth - 20);
    EXPECT_EQ(placed.bottom, kScreenHeight - 20 - 30);
    EXPECT_EQ(placed.right - placed.left, width);
    // Bottom edge only.
    ASSERT_TRUE(menu.TrackPopupMenu(100, kScreenHeight - 20, 30));
    placed = Placed();
    EXPECT_EQ(placed.left, 100);
    EXPECT_EQ(placed.bottom, kScreenHeight - 50);
    // Right edge only.
    ASSERT_TRUE(menu.TrackPopupMenu(kScreenWidth - 20, 100));
    placed = Placed();
    EXPECT_EQ(placed.top, 100);
    EXPECT_EQ(placed.right, kScreenWidth - 20);
    // No room above either: at the top of the screen.
    ASSERT_TRUE(menu.TrackPopupMenu(100, kScreenHeight - 20, kScreenHeight));
    EXPECT_EQ(Placed().top, 0);
    EXPECT_EQ(Placed().bottom - Placed().top, height);

    // Numbers far off the screen count from its nearest edge.
    ASSERT_TRUE(menu.TrackPopupMenu(INT_MAX, INT_MIN, INT_MIN));
    EXPECT_EQ(Placed().right, kScreenWidth);
    EXPECT_EQ(Placed().top, 0);
    ASSERT_TRUE(menu.TrackPopupMenu(INT_MIN, INT_MAX, INT_MAX));
    EXPECT_EQ(Placed().left, 0);
    EXPECT_EQ(Placed().top, 0) << "no room below the screen nor above it";

    // A cascade that has no room on the right opens left of its item.
    auto* more = new ClsSkinnedMenuItem("&More");
    more->Add(new ClsSkinnedMenuItem("Further", 40100));
    more->Add(new ClsSkinnedMenuItem("And further still", 40101));
    menu.GetItems()->Add(more);
    ASSERT_TRUE(menu.TrackPopupMenu(kScreenWidth - width - 4, 100));
    const POINT point = Centre(more);
    MoveMouse(point.x, point.y);
    ASSERT_TRUE(Until([&] { return more->GetIsSubMenuOpen(); }));
    RECT cascade{};
    ::GetWindowRect(more->GetListHandle(), &cascade);
    CRect item = more->GetItemRect();
    ::MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&item), 2);
    EXPECT_EQ(cascade.right, item.left);
    EXPECT_EQ(cascade.top, item.top);
    CaptureScreen(RECT{kScreenWidth - 2 * width - 40, 80, kScreenWidth, 400}, "popup-cascade-at-right-edge.bmp");
}

TEST_F(Popup, TakesTheRegisteredSkinAndHoldsItAcrossASkinChange) {
    CSkinRecordRef<S_STD_SKININFO> held(CSkin::GetInstance()->GetComponent(PopupMenuSkin::kComponentName));
    auto* record = dynamic_cast<PopupMenuSkin*>(held.Get());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(menu.GetItemBorder(), record->GetInfo().ItemBorder);
    EXPECT_EQ(record->GetRef(), 3) << "the registry, the menu and this test";

    // The next skin: the registry lets the old record go and takes a new one.
    ctltest::MenuTestSkin graphite("Graphite");
    auto* next = new PopupMenuSkin;
    next->Assign(graphite.Info());
    CSkin::GetInstance()->AddComponent(PopupMenuSkin::kComponentName, next);
    EXPECT_EQ(record->GetRef(), 2) << "the menu still holds the one it draws from";
    ASSERT_TRUE(menu.ApplySkin());
    EXPECT_EQ(record->GetRef(), 1) << "and lets it go once it has the new one";
    ASSERT_TRUE(menu.TrackPopupMenu(150, 150));
    const ControlBorderInfo_t& frame = *next->GetInfo().SubMenuBorder;
    const Pixels shot = Capture(List(), "popup-Graphite.bmp");
    const CRect chat = Item(0)->GetItemRect();
    const COLORREF expected = orvtest::BitmapPixel(graphite.Item()->MainImage->GetHandle(),
                                                   graphite.Item()->ContentX + 2, graphite.Item()->ContentY + 2);
    EXPECT_EQ(shot.At(frame.LeftBorderWidth + chat.right - 8, frame.TopBorderWidth + chat.top + 10), expected);

    EXPECT_FALSE(menu.ApplySkin("NoSuchComponent"));
    EXPECT_EQ(menu.GetItemBorder(), next->GetInfo().ItemBorder) << "nothing changes";
}

TEST_F(Popup, OpenedFromTheKeyboardTheKeysChoose) {
    ASSERT_TRUE(menu.TrackPopupMenu(120, 120, 0, true));
    EXPECT_EQ(menu.GetItems()->GetHoveredItem(), Item(0));
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_DOWN);
    ASSERT_TRUE(Until([&] { return menu.GetItems()->GetHoveredItem() == Item(4); })) << "past the separator";
    Press(VK_UP);
    ASSERT_TRUE(Until([&] { return menu.GetItems()->GetHoveredItem() == Item(2); }));
    Press(VK_END);
    ASSERT_TRUE(Until([&] { return menu.GetItems()->GetHoveredItem() == Item(9); }));
    Press(VK_HOME);
    Press(VK_DOWN);
    ASSERT_TRUE(Until([&] { return menu.GetItems()->GetHoveredItem() == Item(1); }));
    Press(VK_LEFT);  // nowhere to go back to: nothing happens
    Press(VK_RETURN);
    ASSERT_TRUE(Until([&] { return !host.commands.empty(); }));
    EXPECT_EQ(host.commands, std::vector<UINT>{ID_NAV_SEARCHPATH});

    ASSERT_TRUE(menu.TrackPopupMenu(120, 120, 0, true));
    Press(VK_ESCAPE);
    ASSERT_TRUE(Until([&] { return !menu.GetIsOpen(); }));
    EXPECT_EQ(host.commands.size(), 1u);
    EXPECT_TRUE(host.keysSeen.empty()) << "the keys were the menu's";
}

TEST_F(Popup, DisabledItemsOfTheUsersOwnNodeStayOpenAndSilent) {
    for (int index : {0, 1, 4}) Item(index)->SetEnabled(false);
    ASSERT_TRUE(menu.TrackPopupMenu(150, 100));
    const POINT chat = Centre(Item(0));
    Click(chat.x, chat.y);
    ASSERT_TRUE(Until([&] { return menu.GetItems()->GetHoveredItem() == Item(0); }));
    PumpPending(&menu);
    EXPECT_TRUE(menu.GetIsOpen());
    EXPECT_TRUE(host.commands.empty());
    const ControlBorderInfo_t& frame = *skin.SubMenu();
    const Pixels shot = Capture(List(), "popup-own-node-Daylight.bmp");
    const CRect rect = Item(0)->GetItemRect();
    const RECT text{frame.LeftBorderWidth + 24, frame.TopBorderWidth + rect.top, frame.LeftBorderWidth + 60,
                    frame.TopBorderWidth + rect.bottom};
    EXPECT_GT(shot.Count(text, skin.DisabledFont().GetColor()), 8);
    // A separator does nothing either.
    const POINT line = Centre(Item(3));
    Click(line.x, line.y);
    PumpPending(&menu);
    EXPECT_TRUE(menu.GetIsOpen());
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(Popup, APressOutsideClosesItAndStillReachesItsWindow) {
    ASSERT_TRUE(menu.TrackPopupMenu(300, 100));
    Click(100, 300);
    ASSERT_TRUE(Until([&] { return !menu.GetIsOpen(); }));
    EXPECT_TRUE(Until([&] { return host.presses == 1; }));
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(Popup, RefusesWithoutAReceiverOrItemsAndAcrossThreads) {
    menu.SetCmdReceiverHandle(nullptr);
    EXPECT_FALSE(menu.TrackPopupMenu(100, 100));
    menu.SetCmdReceiverHandle(host.GetSafeHwnd());
    ClsSkinnedPopupMenu empty;
    empty.SetCmdReceiverHandle(host.GetSafeHwnd());
    EXPECT_FALSE(empty.TrackPopupMenu(100, 100));
    EXPECT_FALSE(empty.GetIsOpen());

    ASSERT_TRUE(menu.TrackPopupMenu(100, 100));
    bool openedThere = true;
    std::thread([&] { openedThere = menu.TrackPopupMenu(300, 300); }).join();
    EXPECT_FALSE(openedThere);
    EXPECT_EQ(Placed().left, 100) << "the open menu is left alone";
    std::thread([&] { menu.CloseMenu(); }).join();
    EXPECT_TRUE(Until([&] { return !menu.GetIsOpen(); }));
}
