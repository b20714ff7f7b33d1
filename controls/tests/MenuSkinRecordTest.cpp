// The menu skin records: PopupMenuSkin keeps copies of what it was made from
// (so a skin change that frees the reader's records cannot pull them from
// under a popup menu), and lives in the CSkin registry as "PopupMenu".
#include "CSkin.h"
#include "ClsBitMap.h"
#include "ControlsTestSupport.h"
#include "MenuSkinInfo.h"
#include "PopupMenuSkin.h"

#include "BitmapFile.h"

#include <gtest/gtest.h>

using namespace ctltest;

namespace {
// A record whose image is one colour, with its own numbers.
ControlBorderInfoPtr SolidRecord(COLORREF color, int leftWidth) {
    ControlBorderInfoPtr record = NewControlBorderInfo();
    record->LeftBorderWidth = leftWidth;
    record->ContentWidth = 5;
    record->BgColor = color;
    record->InterationStep = 7;
    record->MainImage = MakeImage(6, 8, [color](int, int) { return color; }).release();
    return record;
}
}  // namespace

TEST(PopupMenuSkin, KeepsItsOwnCopiesOfFontsRecordsAndImages) {
    ControlBorderInfoPtr item = SolidRecord(RGB(10, 20, 30), 3);
    ControlBorderInfoPtr subMenu = SolidRecord(RGB(40, 50, 60), 4);
    MenuSkinInfo_t info;
    info.Font.SetName("Times New Roman");
    info.Font.SetColor(RGB(1, 2, 3));
    info.FontDisabled.SetColor(RGB(4, 5, 6));
    info.FontPressed.SetHeight(20);
    info.ItemBorder = item.get();
    info.SeparatorBorder = nullptr;
    info.SubMenuBorder = subMenu.get();

    auto* record = new PopupMenuSkin;
    record->AddRef();
    record->Assign(info);
    const MenuSkinInfo_t& copy = record->GetInfo();
    EXPECT_STREQ(copy.Font.GetName(), "Times New Roman");
    EXPECT_EQ(copy.Font.GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(copy.FontDisabled.GetColor(), RGB(4, 5, 6));
    EXPECT_EQ(copy.FontPressed.GetHeight(), 20);
    ASSERT_NE(copy.ItemBorder, nullptr);
    EXPECT_NE(copy.ItemBorder, item.get()) << "a copy, not the reader's record";
    EXPECT_EQ(copy.SeparatorBorder, nullptr) << "a missing record stays missing";
    ASSERT_NE(copy.SubMenuBorder, nullptr);
    EXPECT_EQ(copy.ItemBorder->LeftBorderWidth, 3);
    EXPECT_EQ(copy.ItemBorder->ContentWidth, 5);
    EXPECT_EQ(copy.ItemBorder->InterationStep, 7);
    EXPECT_EQ(copy.SubMenuBorder->LeftBorderWidth, 4);
    ASSERT_NE(copy.ItemBorder->MainImage, nullptr);
    EXPECT_NE(copy.ItemBorder->MainImage, item->MainImage);
    EXPECT_NE(copy.ItemBorder->MainImage->GetHandle(), item->MainImage->GetHandle());

    // The skin the record came from goes away: the record still draws.
    item.reset();
    subMenu.reset();
    ASSERT_TRUE(copy.ItemBorder->MainImage->GetIsValid());
    EXPECT_EQ(copy.ItemBorder->MainImage->GetSize(), CSize(6, 8));
    EXPECT_EQ(orvtest::BitmapPixel(copy.ItemBorder->MainImage->GetHandle(), 5, 7), RGB(10, 20, 30));
    EXPECT_EQ(orvtest::BitmapPixel(copy.SubMenuBorder->MainImage->GetHandle(), 0, 0), RGB(40, 50, 60));

    // Assigning again replaces everything, records included.
    MenuSkinInfo_t bare;
    record->Assign(bare);
    EXPECT_EQ(record->GetInfo().ItemBorder, nullptr);
    EXPECT_EQ(record->GetInfo().SubMenuBorder, nullptr);
    EXPECT_STREQ(record->GetInfo().Font.GetName(), "Arial");
    EXPECT_EQ(record->Release(), 0);
}

TEST(PopupMenuSkin, ARecordWithAnEmptyImageObjectCopiesAnEmptyImageObject) {
    ControlBorderInfoPtr item = NewControlBorderInfo();
    item->MainImage = new ClsBitMap;  // the skin named a bitmap that did not load
    MenuSkinInfo_t info;
    info.ItemBorder = item.get();
    PopupMenuSkin record;
    record.Assign(info);
    ASSERT_NE(record.GetInfo().ItemBorder, nullptr);
    ASSERT_NE(record.GetInfo().ItemBorder->MainImage, nullptr);
    EXPECT_FALSE(record.GetInfo().ItemBorder->MainImage->GetIsValid());
}

TEST(PopupMenuSkin, IsFoundUnderItsComponentNameWhileRegistered) {
    CSkin& skin = *CSkin::GetInstance();
    skin.Reset();
    ControlBorderInfoPtr item = SolidRecord(RGB(0, 90, 0), 2);
    MenuSkinInfo_t info;
    info.ItemBorder = item.get();
    auto* record = new PopupMenuSkin;
    record->Assign(info);
    skin.AddComponent(PopupMenuSkin::kComponentName, record);
    item.reset();
    {
        CSkinRecordRef<S_STD_SKININFO> found(skin.GetComponent("PopupMenu"));
        auto* menuSkin = dynamic_cast<PopupMenuSkin*>(found.Get());
        ASSERT_NE(menuSkin, nullptr);
        EXPECT_EQ(menuSkin, record);
        // The registry's reference and ours.
        EXPECT_EQ(menuSkin->GetRef(), 2);
        EXPECT_EQ(menuSkin->GetInfo().ItemBorder->LeftBorderWidth, 2);
    }
    EXPECT_TRUE(skin.DeleteComponent(PopupMenuSkin::kComponentName));
    EXPECT_EQ(skin.GetComponent("PopupMenu"), nullptr);
    skin.Reset();
}
