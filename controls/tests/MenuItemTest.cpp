// The item tree of the skinned menus: built from real menu resources of this
// program, edited by hand, measured in the shipped skins' fonts and frames,
// and composed into state bands checked pixel by pixel against the skins'
// own bitmaps.
#include "ClsSkinnedMainMenu.h"
#include "ClsSkinnedMenu.h"
#include "ClsSkinnedMenuItem.h"
#include "ClsSkinnedPopupMenu.h"
#include "MenuTestResources.h"
#include "MenuTestSkin.h"
#include "MenuTestSupport.h"

#include "BitmapFile.h"
#include "CMenu.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using menutest::Hex;
using menutest::Pixels;

namespace {
// A menu whose item building can be driven with any menu handle.
class OpenMenu : public ClsSkinnedMenu {
public:
    using ClsSkinnedMenu::CreateMenuItems;
};

// The width of a caption (access marks removed) in a font made here, the
// way the skin's font description reads.
int TextWidth(const char* text, const ClsFont& description) {
    HFONT font = ::CreateFontA(description.GetHeight(), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                               description.GetName());
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(font);
    return size.cx;
}

// The skin image's pixel that tiling puts at (x, y) of a band whose frame is
// record: the content cell repeated from the inside's top-left corner.
COLORREF ContentPixel(const ControlBorderInfo_t& record, int band, int x, int y) {
    const int cx = record.ContentX + (x - record.LeftBorderWidth) % record.ContentWidth;
    const int cy = record.ContentY + band * record.InterationStep + (y - record.TopBorderWidth) % record.ContentHeight;
    return orvtest::BitmapPixel(record.MainImage->GetHandle(), cx, cy);
}

class SkinnedMenuTree : public ::testing::TestWithParam<const char*> {};
}  // namespace

TEST(MenuTree, IsBuiltFromTheMainMenuResource) {
    ClsSkinnedMenu menu;
    ASSERT_TRUE(menu.LoadMenuA(MAKEINTRESOURCEA(IDM_TEST_MAIN)));
    ClsSkinnedMenuItem* root = menu.GetItems();
    ASSERT_EQ(root->GetCount(), 5);
    const char* captions[] = {"&File", "&Edit", "&View", "&Tools", "&Help"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(root->GetItem(i)->GetCaption(), captions[i]);
        EXPECT_TRUE(root->GetItem(i)->GetIsSubmenu());
        EXPECT_EQ(root->GetItem(i)->GetParent(), root);
        EXPECT_EQ(root->GetItem(i)->GetMenu(), &menu);
    }
    ClsSkinnedMenuItem* file = root->GetItem(0);
    ASSERT_EQ(file->GetCount(), 4);
    EXPECT_STREQ(file->GetItem(0)->GetCaption(), "&Open...\tCtrl+O");
    EXPECT_EQ(file->GetItem(0)->GetCommand(), static_cast<UINT>(ID_FILE_OPEN));
    EXPECT_TRUE(file->GetItem(2)->GetSeparator());
    EXPECT_EQ(file->GetItem(3)->GetAccessKey(), 'X');

    ClsSkinnedMenuItem* edit = root->GetItem(1);
    ASSERT_EQ(edit->GetCount(), 5);
    EXPECT_TRUE(edit->GetItem(0)->GetEnabled());
    EXPECT_FALSE(edit->GetItem(2)->GetEnabled()) << "GRAYED";
    ClsSkinnedMenuItem* insert = edit->GetItem(4);
    ASSERT_EQ(insert->GetCount(), 3) << "sub-menus of sub-menus";
    EXPECT_EQ(insert->GetCommand(), 0u);
    EXPECT_FALSE(insert->GetItem(2)->GetEnabled()) << "INACTIVE (disabled, not grayed) is disabled too";
    EXPECT_TRUE(root->GetItem(2)->GetItem(0)->GetChecked());
    EXPECT_FALSE(root->GetItem(2)->GetItem(1)->GetChecked());

    EXPECT_EQ(menu.FindItemByCommand(ID_INSERT_TABLE), insert->GetItem(1));
    EXPECT_EQ(menu.FindItemByCommand(ID_TOOLS_MOTD)->GetParent(), root->GetItem(3));
    EXPECT_EQ(menu.FindItemByCommand(12345), nullptr);
    EXPECT_EQ(menu.FindItemByCommand(0), nullptr) << "separators and sub-menus carry no command";

    // Loading again replaces the tree; a resource that is not there leaves it.
    ASSERT_TRUE(menu.LoadMenuA("NAMEDMENU"));
    ASSERT_EQ(root->GetCount(), 1);
    EXPECT_STREQ(root->GetItem(0)->GetCaption(), "&Named");
    EXPECT_FALSE(menu.LoadMenuA(MAKEINTRESOURCEA(777)));
    EXPECT_FALSE(menu.LoadMenuA(nullptr));
    EXPECT_EQ(root->GetCount(), 1);
}

TEST(MenuTree, APopupMenuTakesTheFirstSubMenu) {
    ClsSkinnedPopupMenu popup;
    ASSERT_TRUE(popup.LoadMenuA(MAKEINTRESOURCEA(IDM_TEST_POPUP)));
    ClsSkinnedMenuItem* root = popup.GetItems();
    ASSERT_EQ(root->GetCount(), 10);
    EXPECT_STREQ(root->GetItem(0)->GetCaption(), "Chat");
    EXPECT_EQ(root->GetItem(0)->GetCommand(), static_cast<UINT>(ID_NAV_CHAT));
    EXPECT_TRUE(root->GetItem(3)->GetSeparator());
    EXPECT_STREQ(root->GetItem(9)->GetCaption(), "Search-path To");
    EXPECT_EQ(root->GetOrientation(), moVertical);

    EXPECT_TRUE(popup.LoadMenuA(MAKEINTRESOURCEA(IDM_TEST_EMPTY_POPUP))) << "an empty first sub-menu still loads";
    EXPECT_EQ(root->GetCount(), 0);
    ASSERT_TRUE(popup.LoadMenuA(MAKEINTRESOURCEA(IDM_TEST_POPUP)));
    EXPECT_TRUE(popup.LoadMenuA(MAKEINTRESOURCEA(IDM_TEST_FLAT))) << "no sub-menu first: no items";
    EXPECT_EQ(root->GetCount(), 0);
    EXPECT_FALSE(popup.LoadMenuA(MAKEINTRESOURCEA(999))) << "no such resource";
}

TEST(MenuTree, TheFrameworkMenuOwnsWhatItLoads) {
    CMenu menu;
    EXPECT_EQ(menu.GetMenuItemCount(), -1);
    ASSERT_TRUE(menu.LoadMenu(MAKEINTRESOURCEA(IDM_TEST_MAIN)));
    EXPECT_EQ(menu.GetMenuItemCount(), 5);
    HMENU edit = menu.GetSubMenu(1);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(::GetMenuItemCount(edit), 5);
    EXPECT_EQ(menu.GetSubMenu(7), nullptr);
    CMenu moved(std::move(menu));
    EXPECT_EQ(menu.GetSafeHmenu(), nullptr);
    HMENU handle = moved.GetSafeHmenu();
    EXPECT_TRUE(::IsMenu(handle));
    moved.DestroyMenu();
    EXPECT_FALSE(::IsMenu(handle)) << "destroyed once, by its one owner";
    EXPECT_FALSE(moved.LoadMenu(MAKEINTRESOURCEA(4242)));
    EXPECT_FALSE(moved.LoadMenu(MAKEINTRESOURCEA(IDM_TEST_MAIN), ::GetModuleHandleA("controls.dll")))
        << "a module without the resource";
}

TEST(MenuTree, StopsAtADepthAMenuCannotSensiblyHave) {
    // Forty nested sub-menus, built by hand.
    std::vector<HMENU> chain;
    for (int i = 0; i < 40; ++i) chain.push_back(::CreatePopupMenu());
    for (int i = 0; i + 1 < 40; ++i)
        ::AppendMenuA(chain[i], MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(chain[i + 1]), "deeper");
    ::AppendMenuA(chain.back(), MF_STRING, 1, "bottom");
    OpenMenu menu;
    EXPECT_TRUE(menu.CreateMenuItems(chain[0], menu.GetItems()));
    int depth = 0;
    for (ClsSkinnedMenuItem* item = menu.GetItems(); item->GetCount() > 0; item = item->GetItem(0)) ++depth;
    EXPECT_GT(depth, 8);
    EXPECT_LT(depth, 40);
    ::DestroyMenu(chain[0]);
    EXPECT_FALSE(menu.CreateMenuItems(nullptr, menu.GetItems()));
    EXPECT_FALSE(menu.CreateMenuItems(reinterpret_cast<HMENU>(static_cast<UINT_PTR>(0xDEAD)), menu.GetItems()));
}

TEST(MenuTree, ItemsMoveBetweenParentsAndNeverFormACircle) {
    ClsSkinnedMenu menu;
    ClsSkinnedMenuItem* root = menu.GetItems();
    auto* a = new ClsSkinnedMenuItem("&Alpha", 1);
    auto* b = new ClsSkinnedMenuItem("&Beta", 2);
    auto* c = new ClsSkinnedMenuItem("Gamma", 3);
    EXPECT_TRUE(root->Add(a));
    EXPECT_TRUE(root->Add(c));
    EXPECT_TRUE(root->Insert(1, b));
    EXPECT_EQ(root->IndexOf(b), 1);
    EXPECT_TRUE(root->Insert(-5, new ClsSkinnedMenuItem("first", 4))) << "the index is clamped";
    EXPECT_EQ(root->GetItem(0)->GetCommand(), 4u);
    EXPECT_TRUE(root->Insert(99, new ClsSkinnedMenuItem("last", 5)));
    EXPECT_EQ(root->GetItem(4)->GetCommand(), 5u);

    EXPECT_FALSE(root->Add(nullptr));
    EXPECT_FALSE(a->Add(a)) << "an item is not its own child";
    EXPECT_TRUE(a->Add(b)) << "moves b under a";
    EXPECT_EQ(b->GetParent(), a);
    EXPECT_EQ(root->IndexOf(b), -1);
    EXPECT_FALSE(b->Add(a)) << "an ancestor never becomes a child";
    EXPECT_FALSE(b->Add(root));
    EXPECT_EQ(menu.FindItemByCommand(2), b);

    EXPECT_EQ(root->GetItem(-1), nullptr);
    EXPECT_EQ(root->GetItem(root->GetCount()), nullptr);
    root->Delete(0);
    root->Delete(99);
    EXPECT_EQ(root->GetCount(), 3);
    EXPECT_EQ(menu.FindItemByCommand(4), nullptr);

    EXPECT_EQ(ClsSkinnedMenuItem("&&Save && &Quit").GetAccessKey(), 'Q') << "&& is a literal ampersand";
    EXPECT_EQ(ClsSkinnedMenuItem("No access key").GetAccessKey(), 0);
    EXPECT_EQ(ClsSkinnedMenuItem("Trailing &").GetAccessKey(), 0);
    EXPECT_EQ(root->FindByAccessKey('A'), a) << "by virtual key";
    EXPECT_EQ(ClsSkinnedMenuItem("lower &case").GetAccessKey(), 'C') << "compared in upper case";
    EXPECT_EQ(root->FindByAccessKey('Q'), nullptr);

    // Saving and restoring states runs through the whole tree.
    menu.SaveAllStates();
    a->SetEnabled(false);
    b->SetEnabled(false);
    b->SetChecked(true);
    menu.RestoreAllStates();
    EXPECT_TRUE(a->GetEnabled());
    EXPECT_TRUE(b->GetEnabled());
    EXPECT_FALSE(b->GetChecked());
}

TEST_P(SkinnedMenuTree, ProposesSizesFromCaptionsFontsAndFrames) {
    ctltest::MenuTestSkin skin(GetParam());
    ASSERT_TRUE(skin.IsLoaded()) << ctltest::MenuTestSkin::Directory(GetParam());
    ClsSkinnedMainMenu menu(nullptr);
    ASSERT_TRUE(menu.LoadMenuA(MAKEINTRESOURCEA(IDM_TEST_MAIN)));
    skin.ApplyTo(menu);
    ClsSkinnedMenuItem* root = menu.GetItems();
    const ControlBorderInfo_t& top = *skin.TopItem();
    const ControlBorderInfo_t& item = *skin.Item();

    // The bar: the caption plus 12 and the frame; 29 pixels high in both skins.
    ClsSkinnedMenuItem* file = root->GetItem(0);
    EXPECT_EQ(file->GetWidth(), TextWidth("File", skin.Font()) + 12 + top.LeftBorderWidth + top.RightBorderWidth);
    EXPECT_EQ(file->GetHeight(), 29);
    EXPECT_EQ(root->GetMaxHeight(), 29) << "the bar's height";
    EXPECT_EQ(root->GetItem(1)->GetLeft(), file->GetWidth()) << "side by side";
    EXPECT_EQ(root->GetItem(1)->GetTop(), 0);

    // A list: the caption plus 39 and the frame, 28 high; a shortcut adds its
    // text and a gap; separators are as high as both side lengths and the line.
    ClsSkinnedMenuItem* save = file->GetItem(1);
    EXPECT_EQ(save->GetWidth(), TextWidth("Save", skin.Font()) + 39 + item.LeftBorderWidth + item.RightBorderWidth);
    EXPECT_EQ(save->GetHeight(), 28);
    EXPECT_GT(file->GetItem(0)->GetWidth(), TextWidth("Open...", skin.Font()) + TextWidth("Ctrl+O", skin.Font()) + 39);
    ClsSkinnedMenuItem* line = file->GetItem(2);
    EXPECT_EQ(line->GetHeight(), 4 + 4 + 1);
    EXPECT_EQ(line->GetWidth(), 16);
    EXPECT_EQ(file->GetMaxWidth(), file->GetItem(0)->GetWidth());
    EXPECT_EQ(line->GetTop(), 28 + 28);
    EXPECT_EQ(file->GetItem(3)->GetTop(), 28 + 28 + 9);
    EXPECT_EQ(line->GetItemRect().Width(), file->GetMaxWidth()) << "drawn across the whole list";

    // Hit testing follows the layout.
    EXPECT_EQ(file->GetItemFromPoint(3, 29), save);
    EXPECT_EQ(file->GetItemFromPoint(3, 60), line);
    EXPECT_EQ(file->GetItemFromPoint(3, 28 * 3 + 9), nullptr) << "below the last item";
    EXPECT_EQ(root->GetItemFromPoint(file->GetWidth() + 1, 5), root->GetItem(1));

    // A caption change proposes the size again.
    const int before = save->GetWidth();
    save->SetCaption("&Save everything you have");
    EXPECT_GT(save->GetWidth(), before);
    EXPECT_EQ(file->GetMaxWidth(), save->GetWidth());
}

TEST(MenuSizes, WithoutFramesTheBareNumbersAndSeparatorsTakeNoRoom) {
    ClsSkinnedMenu menu;
    ClsSkinnedMenuItem* root = menu.GetItems();
    auto* item = new ClsSkinnedMenuItem("Plain", 1);
    auto* line = new ClsSkinnedMenuItem("", 0, true);
    root->Add(item);
    root->Add(line);
    ClsFont font;
    EXPECT_EQ(item->GetWidth(), TextWidth("Plain", font) + 39);
    EXPECT_EQ(line->GetWidth(), 0);
    EXPECT_EQ(line->GetHeight(), 0);
    root->SetOrientation(moHorizontal);
    EXPECT_EQ(item->GetWidth(), TextWidth("Plain", font) + 12);
    const int barHeight = item->GetHeight();
    item->ValidateImage();
    EXPECT_TRUE(item->GetImage().GetIsValid()) << "drawn in the system's menu colours";
    line->ValidateImage();
    EXPECT_FALSE(line->GetImage().GetIsValid()) << "a separator of the bar has no image";
    root->SetOrientation(moVertical);
    EXPECT_EQ(item->GetHeight(), barHeight - 1) << "one text line either way: 7 in the bar, 6 in a list";
}

TEST_P(SkinnedMenuTree, ComposesFourBandsFromTheSkinAndTheFonts) {
    const std::string skinName = GetParam();
    ctltest::MenuTestSkin skin(skinName);
    ASSERT_TRUE(skin.IsLoaded());
    ClsSkinnedMainMenu menu(nullptr);
    ASSERT_TRUE(menu.LoadMenuA(MAKEINTRESOURCEA(IDM_TEST_MAIN)));
    skin.ApplyTo(menu);
    ClsSkinnedMenuItem* file = menu.GetItems()->GetItem(0);
    ClsSkinnedMenuItem* save = file->GetItem(1);
    save->ValidateImage();
    const ClsBitMap& image = save->GetImage();
    ASSERT_TRUE(image.GetIsValid());
    orvtest::SaveBitmapFile(image.GetHandle(), orvtest::ArtifactPath("menu-item-bands-" + skinName + ".bmp"));
    const int width = file->GetMaxWidth(), height = save->GetHeight();
    EXPECT_EQ(image.GetWidth(), width) << "as wide as the widest item of the list";
    EXPECT_EQ(image.GetHeight(), 4 * height);
    const Pixels pixels(image.GetHandle());
    const ControlBorderInfo_t& record = *skin.Item();

    // The background of each band is the skin's content cell of that state,
    // right of the caption.
    const int x = width - record.RightBorderWidth - 4, y = height / 2;
    for (int band = 0; band < 4; ++band)
        EXPECT_EQ(pixels.At(x, band * height + y), ContentPixel(record, band, x, y))
            << skinName << " band " << band << ": " << Hex(pixels.At(x, band * height + y));
    EXPECT_NE(pixels.At(x, y), pixels.At(x, height + y)) << "hovered differs from normal";
    EXPECT_NE(pixels.At(x, height + y), pixels.At(x, 2 * height + y)) << "pressed differs from hovered";
    // Corners come from the corner cells.
    EXPECT_EQ(pixels.At(0, height), orvtest::BitmapPixel(record.MainImage->GetHandle(), record.LeftTopCornerX,
                                                        record.LeftTopCornerY + record.InterationStep));

    // The caption in each band's font colour, starting 18 pixels into the list.
    const COLORREF normal = skin.Font().GetColor(), pressed = skin.PressedFont().GetColor(),
                   disabled = skin.DisabledFont().GetColor();
    const COLORREF expected[] = {normal, normal, pressed, disabled};
    for (int band = 0; band < 4; ++band) {
        const RECT text{record.LeftBorderWidth + 18, band * height, width / 2, (band + 1) * height};
        EXPECT_GT(pixels.Count(text, expected[band]), 8) << skinName << " band " << band;
        const RECT gutter{0, band * height, record.LeftBorderWidth + 17, (band + 1) * height};
        EXPECT_EQ(pixels.Count(gutter, expected[band]), 0) << "nothing in the gutter of an unchecked item";
        for (COLORREF other : {normal, pressed, disabled}) {
            if (other != expected[band]) {
                EXPECT_EQ(pixels.Count(text, other), 0) << skinName << " band " << band;
            }
        }
    }

    // A checked item has its mark in the gutter; an item with a list its arrow.
    ClsSkinnedMenuItem* statusBar = menu.GetItems()->GetItem(2)->GetItem(0);
    statusBar->ValidateImage();
    const Pixels checked(statusBar->GetImage().GetHandle());
    EXPECT_GT(checked.Count(RECT{record.LeftBorderWidth, 0, record.LeftBorderWidth + 18, height}, normal), 4);
    ClsSkinnedMenuItem* insert = menu.GetItems()->GetItem(1)->GetItem(4);
    insert->ValidateImage();
    const Pixels arrow(insert->GetImage().GetHandle());
    const int listWidth = insert->GetImage().GetWidth();
    EXPECT_GT(arrow.Count(RECT{listWidth - record.RightBorderWidth - 21, 0, listWidth - record.RightBorderWidth,
                               height},
                          normal),
              4);

    // The separator: one band, its line the left length down, inset by the
    // side cells.
    ClsSkinnedMenuItem* line = file->GetItem(2);
    line->ValidateImage();
    const Pixels separator(line->GetImage().GetHandle());
    ASSERT_EQ(separator.Height(), 9);
    const ControlBorderInfo_t& lineRecord = *skin.Separator();
    const COLORREF hairline = orvtest::BitmapPixel(lineRecord.MainImage->GetHandle(), lineRecord.TopBorderX,
                                                   lineRecord.TopBorderY);
    EXPECT_EQ(separator.At(width / 2, lineRecord.LeftBorderLength), hairline);
    EXPECT_NE(separator.At(width / 2, lineRecord.LeftBorderLength - 1), hairline);
    EXPECT_NE(separator.At(2, lineRecord.LeftBorderLength), hairline) << "the line is inset";
}

TEST_P(SkinnedMenuTree, FollowsASkinChangeAndANewFont) {
    ctltest::MenuTestSkin skin(GetParam());
    ClsSkinnedMainMenu menu(nullptr);
    ASSERT_TRUE(menu.LoadMenuA(MAKEINTRESOURCEA(IDM_TEST_MAIN)));
    ClsSkinnedMenuItem* save = menu.GetItems()->GetItem(0)->GetItem(1);
    const int bare = save->GetHeight();
    skin.ApplyTo(menu);
    EXPECT_EQ(save->GetHeight(), bare + skin.Item()->TopBorderWidth + skin.Item()->BottomBorderWidth);
    ClsFont big = skin.Font();
    big.SetHeight(30);
    menu.SetFontInfo(big);
    EXPECT_GT(save->GetHeight(), 40);
    EXPECT_GT(menu.GetItems()->GetMaxHeight(), 40);
    // Taking the frames away (as a skin change does first) leaves no pointer behind.
    menu.SetItemBorder(nullptr);
    menu.SetTopItemBorder(nullptr);
    menu.SetSeparatorBorder(nullptr);
    menu.SetSubMenuBorder(nullptr);
    menu.SkinUpdated();
    save->ValidateImage();
    EXPECT_TRUE(save->GetImage().GetIsValid());
    const MenuSkinInfo_t info = menu.GetSkinInfo();
    EXPECT_EQ(info.ItemBorder, nullptr);
    EXPECT_EQ(info.Font.GetHeight(), 30);
    menu.SetSkinInfo(skin.Info());
    EXPECT_EQ(menu.GetItemBorder(), skin.Item());
    EXPECT_EQ(menu.GetSubMenuBorder(), skin.SubMenu());
    EXPECT_EQ(menu.GetSeparatorBorder(), skin.Separator());
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, SkinnedMenuTree, ::testing::Values("Daylight", "Graphite"));
