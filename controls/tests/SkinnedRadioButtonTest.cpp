// Skinned radio buttons on real windows, in both shipped skins: the band
// of each state (unchecked and checked, normal, hovered under the real
// pointer, pushed), a click checking one of the group and unchecking the
// others before the parent hears of it, the pointer's capture while it
// hovers, and the keyboard (Space, the arrow keys through the group).
#include "CSkinnedRadioButton.h"
#include "ControlsTestSupport.h"
#include "DragTestSupport.h"
#include "EditsTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace edittest;
using dragtest::MoveTo;
using dragtest::PressLeft;
using dragtest::ReleaseLeft;
using dragtest::TapKey;

namespace {
const int kX = 16, kWidth = 140, kHeight = 20;
const int kTops[] = {12, 40, 68};
const char* const kCaptions[] = {"Members", "Everybody", "Friends"};

class SkinnedRadioButtonTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        // The pointer starts away from the controls.
        ASSERT_TRUE(fence.Pass());
        ASSERT_TRUE(skin.IsRead());
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(FormRadio(skin, records[i], kX, kTops[i], kWidth, kHeight, kCaptions[i]));
            radios.push_back(std::make_unique<CSkinnedRadioButton>(&host, 3001 + i, i == 0, &records[i]));
        }
        // The parent notes which button was checked when it heard of a click.
        host.onCommand = [this](WPARAM wParam, LPARAM) {
            if (HIWORD(wParam) != BN_CLICKED) return;
            std::string checked;
            for (auto& radio : radios) checked += radio->GetChecked() ? '1' : '0';
            checkedWhenClicked.push_back(checked);
        };
        ::UpdateWindow(host.GetSafeHwnd());
    }
    // Pixels of radio i that differ from band of its image, the focus
    // outline (one pixel in) left out.
    int BandDifferences(int i, int band, const std::string& saveAs = "") {
        orvtest::PumpPending();
        Picture picture(host.GetSafeHwnd());
        if (!saveAs.empty()) picture.Save(std::string("radio-") + GetParam() + "-" + saveAs + ".bmp");
        int differing = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const bool outline = (x == 1 || x == kWidth - 2 || y == 1 || y == kHeight - 2) && x >= 1 &&
                                     x <= kWidth - 2 && y >= 1 && y <= kHeight - 2;
                if (!outline &&
                    picture.Pixel(kX + x, kTops[i] + y) != ImagePixel(records[i].Image, x, band * kHeight + y))
                    ++differing;
            }
        return differing;
    }
    std::string Checked() const {
        std::string checked;
        for (auto& radio : radios) checked += radio->GetChecked() ? '1' : '0';
        return checked;
    }

    ShippedSkin skin{GetParam()};
    RadioButtonSkinInfo_t records[3];
    HostWindow host{60, 60, 240, 110};
    std::vector<std::unique_ptr<CSkinnedRadioButton>> radios;
    std::vector<std::string> checkedWhenClicked;
    InputFence fence;
};
}  // namespace

TEST_P(SkinnedRadioButtonTest, AClickChecksOneOfTheGroupBeforeTheParentHearsOfIt) {
    EXPECT_TRUE(radios[0]->GetStyle() & WS_GROUP);
    EXPECT_FALSE(radios[1]->GetStyle() & WS_GROUP);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(BandDifferences(i, 0), 0) << "unchecked, normal " << i;
    BandDifferences(0, 0, "unchecked");

    const POINT second = ScreenCentre(radios[1]->GetSafeHwnd());
    MoveTo(second.x, second.y);
    ASSERT_TRUE(WaitFor([&] { return radios[1]->GetHovered(); }));
    EXPECT_EQ(::GetCapture(), radios[1]->GetSafeHwnd()) << "hovering holds the pointer";
    EXPECT_EQ(BandDifferences(1, 1, "hovered"), 0);
    PressLeft();
    ASSERT_TRUE(WaitFor([&] { return radios[1]->GetPushed(); }));
    EXPECT_EQ(BandDifferences(1, 2, "pushed"), 0);
    ReleaseLeft();
    ASSERT_TRUE(WaitFor([&] { return checkedWhenClicked.size() == 1; }));
    EXPECT_EQ(checkedWhenClicked[0], "010") << "checked before the parent was told";
    EXPECT_EQ(BandDifferences(1, 4, "checked-hovered"), 0);

    ASSERT_TRUE(fence.Pass());
    ASSERT_TRUE(WaitFor([&] { return !radios[1]->GetHovered(); }));
    EXPECT_NE(::GetCapture(), radios[1]->GetSafeHwnd()) << "leaving gives the pointer back";
    EXPECT_EQ(BandDifferences(1, 3, "checked"), 0);

    const POINT third = ScreenCentre(radios[2]->GetSafeHwnd());
    MoveTo(third.x, third.y);
    ASSERT_TRUE(WaitFor([&] { return radios[2]->GetHovered(); }));
    PressLeft();
    ReleaseLeft();
    ASSERT_TRUE(WaitFor([&] { return checkedWhenClicked.size() == 2; }));
    EXPECT_EQ(Checked(), "001") << "the others of the group are unchecked";
    EXPECT_EQ(BandDifferences(1, 0), 0);
}

TEST_P(SkinnedRadioButtonTest, SpaceAndTheArrowKeysMoveTheCheckThroughTheGroup) {
    radios[0]->SetFocus();
    TapKey(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return Checked() == "100"; }));
    TapKey(VK_DOWN);
    ASSERT_TRUE(WaitFor([&] { return Checked() == "010"; }));
    EXPECT_EQ(::GetFocus(), radios[1]->GetSafeHwnd()) << "the focus moves with the check";
    TapKey(VK_RIGHT);
    ASSERT_TRUE(WaitFor([&] { return Checked() == "001"; }));
    TapKey(VK_DOWN);
    ASSERT_TRUE(WaitFor([&] { return Checked() == "100"; })) << "wraps round to the first";
    TapKey(VK_UP);
    ASSERT_TRUE(WaitFor([&] { return Checked() == "001"; }));
    radios[1]->EnableWindow(FALSE);
    TapKey(VK_UP);
    ASSERT_TRUE(WaitFor([&] { return Checked() == "100"; })) << "a disabled button is passed over";
    EXPECT_EQ(checkedWhenClicked.size(), 6u) << "each change told the parent";
}

TEST_P(SkinnedRadioButtonTest, SetCheckChangesOnlyThatButtonAndRepaintsIt) {
    radios[2]->SetCheck(BST_CHECKED);
    EXPECT_EQ(Checked(), "001");
    EXPECT_EQ(radios[2]->GetCheck(), 0) << "an owner-drawn button keeps no system check; the flag is ours";
    EXPECT_EQ(BandDifferences(2, 3), 0);
    radios[0]->SetCheck(BST_CHECKED);
    EXPECT_EQ(Checked(), "101") << "SetCheck is no click: the group is left alone";
    radios[2]->SetCheck(BST_UNCHECKED);
    EXPECT_EQ(BandDifferences(2, 0), 0);
    EXPECT_TRUE(checkedWhenClicked.empty());
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, SkinnedRadioButtonTest, ::testing::Values("Daylight", "Graphite"));
