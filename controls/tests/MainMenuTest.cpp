// The menu bar on real windows under Xvfb, worked by synthesised mouse and
// keyboard input: hover, opening and switching menus, cascading lists,
// choosing (the command reaches the owner), disabled items, closing rules,
// the keyboard (Alt, access keys, arrows, Enter, Escape), a skin change while
// a menu is open, and what it all looks like in both shipped skins.
#include "ClsSkinnedMainMenu.h"
#include "ClsSkinnedPopupMenu.h"
#include "ClsSkinnedSubMenuWnd.h"
#include "MenuTestResources.h"
#include "MenuTestSkin.h"
#include "MenuTestSupport.h"

#include "BitmapFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

using namespace menutest;

namespace {
const int kHostX = 40, kHostY = 40, kHostWidth = 640, kHostHeight = 420, kBarWidth = 600;

// A host window with the menu bar along its top, skinned, as the skin
// reader leaves it: window made, resource loaded, skin applied, height set.
struct MenuBar {
    explicit MenuBar(const char* skinName = "Daylight")
        : host(kHostX, kHostY, kHostWidth, kHostHeight), skin(std::make_unique<ctltest::MenuTestSkin>(skinName)),
          menu(host.GetSafeHwnd()) {
        menu.SetPos(0, 0, kBarWidth, 20);
        menu.GetHandleC();
        menu.LoadMenuA(MAKEINTRESOURCEA(IDM_TEST_MAIN));
        ApplySkin(*skin);
        host.Activate();
        MoveMouse(kHostX + kHostWidth - 10, kHostY + kHostHeight - 10);  // out of the way
        PumpPending(&menu);
    }
    ~MenuBar() { menu.CloseMenu(); }

    void ApplySkin(const ctltest::MenuTestSkin& next) {
        next.ApplyTo(menu);
        menu.SetHeight(menu.GetItems()->GetMaxHeight());
    }
    ClsSkinnedMenuItem* Top(int index) { return menu.GetItems()->GetItem(index); }
    // The centre of a top-level item, on the screen.
    POINT TopCentre(int index) {
        const CRect rect = Top(index)->GetItemRect();
        POINT point = rect.CenterPoint();
        ::ClientToScreen(menu.GetSafeHwndC(), &point);
        return point;
    }
    // The centre of an item of an open list, on the screen.
    POINT ItemCentre(ClsSkinnedMenuItem* item) {
        const CRect rect = item->GetItemRect();
        POINT point = rect.CenterPoint();
        ::ClientToScreen(item->GetParent()->GetListHandle(), &point);
        return point;
    }
    void Hover(POINT point) { MoveMouse(point.x, point.y); }
    bool Until(const std::function<bool()>& done) { return PumpUntil(done, &menu); }
    bool OpenTop(int index) {
        const POINT point = TopCentre(index);
        Click(point.x, point.y);
        return Until([&] { return Top(index)->GetIsSubMenuOpen(); });
    }
    bool Closed() { return !menu.GetIsOpen() && ::FindWindowA(nullptr, ClsSkinnedSubMenuWnd::kWindowTitle) == nullptr; }
    // The content colour of a state band of a record, where no text is.
    COLORREF Band(const ControlBorderInfo_t* record, int band) {
        return orvtest::BitmapPixel(record->MainImage->GetHandle(), record->ContentX + record->ContentWidth - 1,
                                    record->ContentY + band * record->InterationStep + record->ContentHeight / 2);
    }

    CommandHost host;
    std::unique_ptr<ctltest::MenuTestSkin> skin;
    ClsSkinnedMainMenu menu;
};

// The colour a captured window shows at the right end of an item.
COLORREF RightEnd(const Pixels& shot, ClsSkinnedMenuItem* item, int frameLeft, int frameTop) {
    const CRect rect = item->GetItemRect();
    return shot.At(frameLeft + rect.right - 8, frameTop + rect.top + rect.Height() / 2);
}
}  // namespace

TEST(MainMenu, IsAVisibleChildAsHighAsItsTallestItem) {
    MenuBar bar;
    HWND window = bar.menu.GetSafeHwndC();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::GetParent(window), bar.host.GetSafeHwnd());
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_TRUE(::GetWindowLongA(window, GWL_STYLE) & WS_CLIPSIBLINGS);
    EXPECT_EQ(bar.menu.GetHeight(), 29);
    EXPECT_EQ(bar.menu.GetCmdReceiverHandle(), bar.host.GetSafeHwnd()) << "commands go to the owner";
    EXPECT_EQ(::GetClassLongPtrA(window, GCLP_HCURSOR), reinterpret_cast<LONG_PTR>(::LoadCursorA(nullptr, IDC_ARROW)));
    const Pixels shot = Capture(window, "menu-bar-Daylight.bmp");
    // The bar beyond the items shows the top-level record's normal band.
    EXPECT_EQ(shot.At(kBarWidth - 20, 14), bar.Band(bar.skin->TopItem(), 0));
}

TEST(MainMenu, HoverFollowsTheMouseAndClearsOnceItLeaves) {
    MenuBar bar;
    bar.Hover(bar.TopCentre(1));
    ASSERT_TRUE(bar.Until([&] { return bar.menu.GetItems()->GetHoveredItem() == bar.Top(1); }));
    EXPECT_TRUE(bar.Top(1)->GetMouseOver());
    EXPECT_FALSE(bar.menu.GetIsOpen()) << "hovering opens nothing";
    const Pixels shot = Capture(bar.menu.GetSafeHwndC(), "menu-bar-hover-Daylight.bmp");
    EXPECT_EQ(RightEnd(shot, bar.Top(1), 0, 0), bar.Band(bar.skin->TopItem(), 1)) << Hex(RightEnd(shot, bar.Top(1), 0, 0));
    EXPECT_EQ(RightEnd(shot, bar.Top(0), 0, 0), bar.Band(bar.skin->TopItem(), 0));

    bar.Hover(bar.TopCentre(2));
    ASSERT_TRUE(bar.Until([&] { return bar.menu.GetItems()->GetHoveredItem() == bar.Top(2); }));
    EXPECT_FALSE(bar.Top(1)->GetMouseOver());
    // Off the bar and resting: timer 101 notices.
    MoveMouse(kHostX + 300, kHostY + 300);
    EXPECT_TRUE(bar.Until([&] { return bar.menu.GetItems()->GetHoveredItem() == nullptr; }));
}

TEST(MainMenu, APressOpensTheListBelowItsItemAndChoosingPostsTheCommand) {
    MenuBar bar;
    ASSERT_TRUE(bar.OpenTop(0));
    ClsSkinnedMenuItem* file = bar.Top(0);
    HWND list = file->GetListHandle();
    ASSERT_NE(list, nullptr);
    RECT placed{};
    ::GetWindowRect(list, &placed);
    POINT itemCorner{file->GetItemRect().left, file->GetItemRect().bottom};
    ::ClientToScreen(bar.menu.GetSafeHwndC(), &itemCorner);
    EXPECT_EQ(placed.left, itemCorner.x) << "at the item's left";
    EXPECT_EQ(placed.top, itemCorner.y) << "under its image";
    const ControlBorderInfo_t& frame = *bar.skin->SubMenu();
    EXPECT_EQ(placed.right - placed.left, file->GetMaxWidth() + frame.LeftBorderWidth + frame.RightBorderWidth);
    EXPECT_EQ(placed.bottom - placed.top, 28 * 3 + 9 + frame.TopBorderWidth + frame.BottomBorderWidth);
    char title[32] = {};
    ::GetWindowTextA(list, title, sizeof title);
    EXPECT_STREQ(title, "OrvMenu");
    EXPECT_TRUE(::GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(::GetClassLongA(list, GCL_STYLE) & CS_SAVEBITS);
    EXPECT_EQ(::GetWindow(list, GW_OWNER), bar.host.GetSafeHwnd()) << "owned by the bar's window";
    EXPECT_EQ(::GetForegroundWindow(), bar.host.GetSafeHwnd()) << "the menu takes no activation";
    EXPECT_TRUE(bar.menu.GetItems()->GetMenuEntered());
    EXPECT_TRUE(file->GetMouseOver());

    ClsSkinnedMenuItem* save = file->GetItem(1);
    bar.Hover(bar.ItemCentre(save));
    ASSERT_TRUE(bar.Until([&] { return file->GetHoveredItem() == save; }));
    const Pixels shot = Capture(list, "menu-dropdown-hover-Daylight.bmp");
    EXPECT_EQ(RightEnd(shot, save, frame.LeftBorderWidth, frame.TopBorderWidth), bar.Band(bar.skin->Item(), 1));
    EXPECT_EQ(RightEnd(shot, file->GetItem(0), frame.LeftBorderWidth, frame.TopBorderWidth), bar.Band(bar.skin->Item(), 0));
    const Pixels barShot = Capture(bar.menu.GetSafeHwndC());
    EXPECT_EQ(RightEnd(barShot, file, 0, 0), bar.Band(bar.skin->TopItem(), 2)) << "the open menu's item shows pressed";

    MouseButton(true, true);
    MouseButton(true, false);
    ASSERT_TRUE(bar.Until([&] { return !bar.host.commands.empty(); }));
    EXPECT_EQ(bar.host.commands, std::vector<UINT>{ID_FILE_SAVE});
    EXPECT_TRUE(bar.Closed());
    EXPECT_FALSE(file->GetMouseOver());
    EXPECT_FALSE(bar.menu.GetItems()->GetMenuEntered());
}

TEST(MainMenu, AnOpenMenuFollowsTheCursorAlongTheBarAndAPressClosesIt) {
    MenuBar bar;
    ASSERT_TRUE(bar.OpenTop(0));
    bar.Hover(bar.TopCentre(1));
    ASSERT_TRUE(bar.Until([&] { return bar.Top(1)->GetIsSubMenuOpen(); }));
    EXPECT_FALSE(bar.Top(0)->GetIsSubMenuOpen());
    EXPECT_FALSE(::IsWindow(bar.Top(0)->GetListHandle()));
    bar.Hover(bar.TopCentre(3));
    ASSERT_TRUE(bar.Until([&] { return bar.Top(3)->GetIsSubMenuOpen(); }));
    // A press on the bar while open closes the menu and keeps the hover.
    const POINT tools = bar.TopCentre(3);
    Click(tools.x, tools.y);
    ASSERT_TRUE(bar.Until([&] { return bar.Closed(); }));
    EXPECT_TRUE(bar.Top(3)->GetMouseOver());
    EXPECT_TRUE(bar.host.commands.empty());
    // A press outside every menu window closes it too, and reaches its window.
    ASSERT_TRUE(bar.OpenTop(4));
    Click(kHostX + 300, kHostY + 300);
    EXPECT_TRUE(bar.Until([&] { return bar.Closed(); }));
    EXPECT_TRUE(bar.host.commands.empty());
}

TEST(MainMenu, DisabledItemsShowDisabledAndPostNothing) {
    MenuBar bar;
    ASSERT_TRUE(bar.OpenTop(1));
    ClsSkinnedMenuItem* paste = bar.Top(1)->GetItem(2);
    ASSERT_FALSE(paste->GetEnabled());
    HWND list = bar.Top(1)->GetListHandle();
    const ControlBorderInfo_t& frame = *bar.skin->SubMenu();
    const Pixels shot = Capture(list, "menu-dropdown-disabled-Daylight.bmp");
    const CRect rect = paste->GetItemRect();
    const RECT text{frame.LeftBorderWidth + rect.left + 24, frame.TopBorderWidth + rect.top,
                    frame.LeftBorderWidth + rect.left + 70, frame.TopBorderWidth + rect.bottom};
    EXPECT_GT(shot.Count(text, bar.skin->DisabledFont().GetColor()), 8) << "band 3: the disabled font's colour";
    EXPECT_EQ(shot.Count(text, bar.skin->Font().GetColor()), 0);

    const POINT point = bar.ItemCentre(paste);
    Click(point.x, point.y);
    ASSERT_TRUE(bar.Until([&] { return bar.Top(1)->GetHoveredItem() == paste; }));
    PumpPending(&bar.menu);
    EXPECT_TRUE(bar.Top(1)->GetIsSubMenuOpen()) << "the menu stays open";
    EXPECT_TRUE(bar.host.commands.empty());
    // Chosen from the code, a disabled item still posts nothing.
    paste->Execute();
    EXPECT_TRUE(bar.Closed());
    PumpPending(&bar.menu);
    EXPECT_TRUE(bar.host.commands.empty());
}

TEST(MainMenu, ACascadingListOpensRightOfItsItem) {
    MenuBar bar;
    ASSERT_TRUE(bar.OpenTop(1));
    ClsSkinnedMenuItem* insert = bar.Top(1)->GetItem(4);
    bar.Hover(bar.ItemCentre(insert));
    ASSERT_TRUE(bar.Until([&] { return insert->GetIsSubMenuOpen(); }));
    RECT placed{};
    ::GetWindowRect(insert->GetListHandle(), &placed);
    CRect item = insert->GetItemRect();
    ::MapWindowPoints(bar.Top(1)->GetListHandle(), nullptr, reinterpret_cast<POINT*>(&item), 2);
    EXPECT_EQ(placed.left, item.right);
    EXPECT_EQ(placed.top, item.top);
    EXPECT_EQ(::GetWindow(insert->GetListHandle(), GW_OWNER), bar.Top(1)->GetListHandle());
    EXPECT_TRUE(bar.Top(1)->GetMenuEntered()) << "its item shows pressed";

    ClsSkinnedMenuItem* table = insert->GetItem(1);
    bar.Hover(bar.ItemCentre(table));
    ASSERT_TRUE(bar.Until([&] { return insert->GetHoveredItem() == table; }));
    EXPECT_TRUE(insert->GetIsSubMenuOpen()) << "the cascade stays while the cursor is in it";
    MouseButton(true, true);
    MouseButton(true, false);
    ASSERT_TRUE(bar.Until([&] { return !bar.host.commands.empty(); }));
    EXPECT_EQ(bar.host.commands, std::vector<UINT>{ID_INSERT_TABLE});
    EXPECT_TRUE(bar.Closed());
}

TEST(MainMenu, AltWithAnAccessKeyOpensAMenuAndTheKeysWorkIt) {
    MenuBar bar;
    ClsSkinnedMenuItem* file = bar.Top(0);
    ClsSkinnedMenuItem* edit = bar.Top(1);
    PressWithAlt('F');
    ASSERT_TRUE(bar.Until([&] { return file->GetIsSubMenuOpen(); }));
    EXPECT_EQ(file->GetHoveredItem(), file->GetItem(0)) << "opened from the keyboard: the first item hovered";
    Press(VK_DOWN);
    ASSERT_TRUE(bar.Until([&] { return file->GetHoveredItem() == file->GetItem(1); }));
    Press(VK_DOWN);
    ASSERT_TRUE(bar.Until([&] { return file->GetHoveredItem() == file->GetItem(3); })) << "the separator is skipped";
    Press(VK_DOWN);
    ASSERT_TRUE(bar.Until([&] { return file->GetHoveredItem() == file->GetItem(0); })) << "and round again";
    Press(VK_UP);
    ASSERT_TRUE(bar.Until([&] { return file->GetHoveredItem() == file->GetItem(3); }));

    // Right and Left step along the bar, opening each menu.
    Press(VK_RIGHT);
    ASSERT_TRUE(bar.Until([&] { return edit->GetIsSubMenuOpen(); }));
    EXPECT_FALSE(file->GetIsSubMenuOpen());
    EXPECT_EQ(edit->GetHoveredItem(), edit->GetItem(0));
    // Down to the cascade, Right opens it, Left closes it again.
    for (int i = 0; i < 3; ++i) Press(VK_DOWN);
    ClsSkinnedMenuItem* insert = edit->GetItem(4);
    ASSERT_TRUE(bar.Until([&] { return edit->GetHoveredItem() == insert; }));
    EXPECT_FALSE(insert->GetIsSubMenuOpen()) << "the keyboard hovers without opening";
    Press(VK_RIGHT);
    ASSERT_TRUE(bar.Until([&] { return insert->GetIsSubMenuOpen(); }));
    EXPECT_EQ(insert->GetHoveredItem(), insert->GetItem(0));
    Press(VK_LEFT);
    ASSERT_TRUE(bar.Until([&] { return !insert->GetIsSubMenuOpen(); }));
    EXPECT_EQ(edit->GetHoveredItem(), insert) << "back in the list above, on its item";
    Press(VK_LEFT);
    ASSERT_TRUE(bar.Until([&] { return file->GetIsSubMenuOpen(); }));

    // Enter chooses the hovered item.
    Press(VK_DOWN);
    Press(VK_RETURN);
    ASSERT_TRUE(bar.Until([&] { return !bar.host.commands.empty(); }));
    EXPECT_EQ(bar.host.commands, std::vector<UINT>{ID_FILE_SAVE});
    EXPECT_TRUE(bar.Closed());
    EXPECT_TRUE(bar.host.keysSeen.empty()) << "no key reached the window while the menu had them";
}

TEST(MainMenu, AccessKeysEscapeAndAltCloseOrChoose) {
    MenuBar bar;
    ClsSkinnedMenuItem* edit = bar.Top(1);
    // An access key of the open list chooses its item.
    PressWithAlt('F');
    ASSERT_TRUE(bar.Until([&] { return bar.Top(0)->GetIsSubMenuOpen(); }));
    Press('X');
    ASSERT_TRUE(bar.Until([&] { return !bar.host.commands.empty(); }));
    EXPECT_EQ(bar.host.commands, std::vector<UINT>{ID_FILE_EXIT});
    EXPECT_TRUE(bar.Closed());

    // A disabled item's key closes the menu and posts nothing.
    bar.host.commands.clear();
    PressWithAlt('E');
    ASSERT_TRUE(bar.Until([&] { return edit->GetIsSubMenuOpen(); }));
    Press('P');
    ASSERT_TRUE(bar.Until([&] { return bar.Closed(); }));
    PumpPending(&bar.menu);
    EXPECT_TRUE(bar.host.commands.empty());

    // Escape closes the whole menu, from a cascade too.
    PressWithAlt('E');
    ASSERT_TRUE(bar.Until([&] { return edit->GetIsSubMenuOpen(); }));
    Press('I');
    ASSERT_TRUE(bar.Until([&] { return edit->GetItem(4)->GetIsSubMenuOpen(); })) << "a list item's key opens its list";
    Press(VK_ESCAPE);
    ASSERT_TRUE(bar.Until([&] { return bar.Closed(); }));

    // Alt alone while a menu is open closes it.
    PressWithAlt('T');
    ASSERT_TRUE(bar.Until([&] { return bar.Top(3)->GetIsSubMenuOpen(); }));
    Press(VK_MENU);
    ASSERT_TRUE(bar.Until([&] { return bar.Closed(); }));
    EXPECT_TRUE(bar.host.commands.empty());
    EXPECT_TRUE(bar.host.keysSeen.empty());
}

TEST(MainMenu, AltAloneSelectsTheBarForTheArrows) {
    MenuBar bar;
    Press(VK_MENU);
    ASSERT_TRUE(bar.Until([&] { return bar.menu.GetIsOpen(); }));
    EXPECT_EQ(bar.menu.GetItems()->GetHoveredItem(), bar.Top(0));
    EXPECT_FALSE(bar.Top(0)->GetIsSubMenuOpen()) << "selected, not open";
    Press(VK_RIGHT);
    ASSERT_TRUE(bar.Until([&] { return bar.menu.GetItems()->GetHoveredItem() == bar.Top(1); }));
    Press(VK_LEFT);
    Press(VK_LEFT);
    ASSERT_TRUE(bar.Until([&] { return bar.menu.GetItems()->GetHoveredItem() == bar.Top(4); })) << "wraps";
    Press(VK_DOWN);
    ASSERT_TRUE(bar.Until([&] { return bar.Top(4)->GetIsSubMenuOpen(); }));
    Press(VK_RETURN);
    ASSERT_TRUE(bar.Until([&] { return !bar.host.commands.empty(); }));
    EXPECT_EQ(bar.host.commands, std::vector<UINT>{ID_HELP_ABOUT});

    // Selected again, Escape leaves; keys then reach the window as before.
    Press(VK_F10);
    ASSERT_TRUE(bar.Until([&] { return bar.menu.GetIsOpen(); }));
    Press(VK_ESCAPE);
    ASSERT_TRUE(bar.Until([&] { return bar.Closed(); }));
    EXPECT_EQ(bar.menu.GetItems()->GetHoveredItem(), nullptr);
    Press('Q');
    ASSERT_TRUE(bar.Until([&] { return !bar.host.keysSeen.empty(); }));
    EXPECT_EQ(bar.host.keysSeen, std::vector<UINT>{'Q'});

    // The loop's test takes only what is the menu's.
    MSG message{bar.host.GetSafeHwnd(), WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_FALSE(bar.menu.IsMenuCommand(message));
    message = MSG{bar.host.GetSafeHwnd(), WM_SYSKEYDOWN, 'Z', 1 << 29, 0, {0, 0}};
    EXPECT_FALSE(bar.menu.IsMenuCommand(message)) << "no item has Z";
    message = MSG{bar.host.GetSafeHwnd(), WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(bar.menu.IsMenuCommand(message));
}

TEST(MainMenu, FollowsASkinChangeWhileAMenuIsOpen) {
    MenuBar bar("Daylight");
    ASSERT_TRUE(bar.OpenTop(1));
    ClsSkinnedMenuItem* edit = bar.Top(1);
    bar.Hover(bar.ItemCentre(edit->GetItem(4)));
    ASSERT_TRUE(bar.Until([&] { return edit->GetItem(4)->GetIsSubMenuOpen(); }));
    HWND list = edit->GetListHandle();
    const COLORREF dayMenu = bar.Band(bar.skin->Item(), 0);

    // As the skin reader does it: take the frames away, free the old skin,
    // read the new one, apply it.
    bar.menu.SetItemBorder(nullptr);
    bar.menu.SetTopItemBorder(nullptr);
    bar.menu.SetSeparatorBorder(nullptr);
    bar.menu.SetSubMenuBorder(nullptr);
    bar.skin.reset();
    PumpPending(&bar.menu);
    bar.skin = std::make_unique<ctltest::MenuTestSkin>("Graphite");
    bar.ApplySkin(*bar.skin);
    PumpPending(&bar.menu);
    ASSERT_TRUE(edit->GetIsSubMenuOpen()) << "the menu stays open";
    EXPECT_EQ(edit->GetListHandle(), list);
    const COLORREF nightMenu = bar.Band(bar.skin->Item(), 0);
    ASSERT_NE(dayMenu, nightMenu);
    const ControlBorderInfo_t& frame = *bar.skin->SubMenu();
    const Pixels shot = Capture(list, "menu-dropdown-after-skin-change.bmp");
    EXPECT_EQ(RightEnd(shot, edit->GetItem(0), frame.LeftBorderWidth, frame.TopBorderWidth), nightMenu);
    EXPECT_EQ(shot.At(0, 0), orvtest::BitmapPixel(frame.MainImage->GetHandle(), frame.LeftTopCornerX,
                                                  frame.LeftTopCornerY))
        << "the new frame";
    RECT placed{};
    ::GetWindowRect(list, &placed);
    EXPECT_EQ(placed.right - placed.left, edit->GetMaxWidth() + frame.LeftBorderWidth + frame.RightBorderWidth);
    const Pixels barShot = Capture(bar.menu.GetSafeHwndC());
    EXPECT_EQ(barShot.At(kBarWidth - 20, 14), bar.Band(bar.skin->TopItem(), 0));
}

TEST(MainMenu, ClosesWhenTheProgramLosesActivationOrFromAnotherThread) {
    MenuBar bar;
    ASSERT_TRUE(bar.OpenTop(0));
    CommandHost other(kHostX + 200, kHostY + 200, 200, 150);
    ASSERT_TRUE(other.Activate());
    EXPECT_TRUE(bar.Until([&] { return bar.Closed(); })) << "timer 112 closes it";

    ASSERT_TRUE(bar.host.Activate());
    ASSERT_TRUE(bar.OpenTop(2));
    std::thread([&] { bar.menu.CloseMenu(); }).join();
    EXPECT_TRUE(bar.Until([&] { return bar.Closed(); })) << "handed to the menu's thread";
    EXPECT_FALSE(bar.Top(2)->GetMouseOver());
}

TEST(MainMenu, OneMenuOfAThreadIsOpenAtATime) {
    MenuBar bar;
    ClsSkinnedPopupMenu popup;
    ASSERT_TRUE(popup.LoadMenuA(MAKEINTRESOURCEA(IDM_TEST_POPUP)));
    popup.SetCmdReceiverHandle(bar.host.GetSafeHwnd());
    ASSERT_TRUE(bar.OpenTop(0));
    ASSERT_TRUE(popup.TrackPopupMenu(kHostX + 300, kHostY + 200));
    EXPECT_FALSE(bar.menu.GetIsOpen());
    EXPECT_FALSE(bar.Top(0)->GetIsSubMenuOpen());
    EXPECT_TRUE(popup.GetIsOpen());
    ASSERT_TRUE(bar.OpenTop(0));
    EXPECT_FALSE(popup.GetIsOpen()) << "a press outside the popup, and the bar's menu opens";
}

TEST(MainMenu, DestroyingAnOpenMenuLeavesNoWindow) {
    auto bar = std::make_unique<MenuBar>();
    ASSERT_TRUE(bar->OpenTop(1));
    bar->Hover(bar->ItemCentre(bar->Top(1)->GetItem(4)));
    ASSERT_TRUE(bar->Until([&] { return bar->Top(1)->GetItem(4)->GetIsSubMenuOpen(); }));
    HWND bar1 = bar->menu.GetSafeHwndC();
    bar.reset();
    EXPECT_FALSE(::IsWindow(bar1));
    EXPECT_EQ(::FindWindowA(nullptr, ClsSkinnedSubMenuWnd::kWindowTitle), nullptr);
    PumpPending();
    // Keys go to windows again: the hook went with the menu.
    CommandHost host(kHostX, kHostY, 200, 100);
    ASSERT_TRUE(host.Activate());
    Press('K');
    EXPECT_TRUE(PumpUntil([&] { return !host.keysSeen.empty(); }));
}

TEST(MainMenu, ShowsOpenMenusInBothSkins) {
    for (const char* skinName : {"Daylight", "Graphite"}) {
        MenuBar bar(skinName);
        ASSERT_TRUE(bar.OpenTop(1));
        ClsSkinnedMenuItem* edit = bar.Top(1);
        bar.Hover(bar.ItemCentre(edit->GetItem(4)));
        ASSERT_TRUE(bar.Until([&] { return edit->GetItem(4)->GetIsSubMenuOpen(); }));
        ClsSkinnedMenuItem* insert = edit->GetItem(4);
        bar.Hover(bar.ItemCentre(insert->GetItem(0)));
        ASSERT_TRUE(bar.Until([&] { return insert->GetHoveredItem() == insert->GetItem(0); }));
        RECT area{kHostX, kHostY, kHostX + 420, kHostY + 260};
        const Pixels shot = CaptureScreen(area, std::string("menu-open-") + skinName + ".bmp");
        ASSERT_TRUE(shot.IsValid());
        // The cascade's hovered item shows on the screen in its hover colour.
        POINT hovered = bar.ItemCentre(insert->GetItem(0));
        const CRect rect = insert->GetItem(0)->GetItemRect();
        EXPECT_EQ(shot.At(hovered.x - kHostX + rect.Width() / 2 - 8, hovered.y - kHostY),
                  bar.Band(bar.skin->Item(), 1))
            << skinName;
    }
}

TEST(MainMenu, ItemsDeletedWhileTheirListsAreOpenTakeTheirWindowsAlong) {
    MenuBar bar;
    ASSERT_TRUE(bar.OpenTop(1));
    ClsSkinnedMenuItem* edit = bar.Top(1);
    bar.Hover(bar.ItemCentre(edit->GetItem(4)));
    ASSERT_TRUE(bar.Until([&] { return edit->GetItem(4)->GetIsSubMenuOpen(); }));
    HWND cascade = edit->GetItem(4)->GetListHandle();
    edit->Delete(4);
    EXPECT_FALSE(::IsWindow(cascade));
    EXPECT_EQ(edit->GetCount(), 4);
    ASSERT_TRUE(edit->GetIsSubMenuOpen()) << "its own list stays, one item shorter";
    RECT placed{};
    ::GetWindowRect(edit->GetListHandle(), &placed);
    EXPECT_EQ(placed.bottom - placed.top,
              3 * 28 + 9 + bar.skin->SubMenu()->TopBorderWidth + bar.skin->SubMenu()->BottomBorderWidth);
    HWND list = edit->GetListHandle();
    bar.menu.GetItems()->DeleteAll();
    EXPECT_FALSE(::IsWindow(list));
    EXPECT_EQ(bar.menu.GetItems()->GetCount(), 0);
    PumpPending(&bar.menu);
    bar.menu.CloseMenu();
    EXPECT_TRUE(bar.Closed());
}
