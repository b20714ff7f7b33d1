// Skinned labels drawn into a host's context, in both shipped skins: the
// text in the record's colour, transparent over what is there, wrapped or
// cut at the right edge, the context left as it was; the link label in
// blue, underlined; hit testing of its rectangle; access keys.
#include "CActiveSkinnedLabel.h"
#include "CSkinnedLabel.h"
#include "ControlsTestSupport.h"
#include "EditsTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace edittest;

namespace {
const COLORREF kGround = RGB(250, 250, 240);

class SkinnedLabelTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin.IsRead());
        record.Skin = skin.Record(srLabels);
        ASSERT_NE(record.Skin, nullptr);
    }
    // Pixels of the text colour in the rows from top to bottom.
    static int Inked(ctltest::Canvas& canvas, COLORREF ink, int left, int top, int right, int bottom) {
        int inked = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (canvas.Pixel(x, y) == ink) ++inked;
        return inked;
    }

    ShippedSkin skin{GetParam()};
    LabelSkinInfo_t record{10, 8, 90, 40, 0, nullptr};
};
}  // namespace

TEST_P(SkinnedLabelTest, OneLineIsCutAtTheRightEdgeAndAWrappedLabelGoesOnBelow) {
    const char* text = "Search paths between two people";
    CSkinnedLabel label(text);
    label.SetSkinInfo(&record);
    const COLORREF ink = record.Skin->TextColor;

    ctltest::Canvas single(140, 60, kGround);
    label.Draw(single.Hdc());
    single.Save(std::string("label-") + GetParam() + "-single.bmp");
    EXPECT_GT(Inked(single, ink, 10, 8, 100, 48), 30) << "written in the record's text colour";
    EXPECT_EQ(Inked(single, ink, 100, 0, 140, 60), 0) << "cut at the right edge";
    EXPECT_EQ(Inked(single, ink, 0, 8 + record.Skin->TextSize + 2, 140, 60), 0) << "one line";
    EXPECT_EQ(single.Pixel(0, 0), kGround);
    EXPECT_EQ(single.Pixel(95, 45), kGround) << "transparent: the ground shows between letters";

    record.WordWrap = 1;
    ctltest::Canvas wrapped(140, 60, kGround);
    label.Draw(wrapped.Hdc());
    wrapped.Save(std::string("label-") + GetParam() + "-wrapped.bmp");
    EXPECT_GT(Inked(wrapped, ink, 10, 8 + record.Skin->TextSize, 100, 48), 10) << "a second line";
    EXPECT_EQ(Inked(wrapped, ink, 100, 0, 140, 60), 0);
}

TEST_P(SkinnedLabelTest, DrawingLeavesTheContextAsItWas) {
    CSkinnedLabel label("Source");
    label.SetSkinInfo(&record);
    ctltest::Canvas canvas(140, 60, kGround);
    HDC dc = canvas.Hdc();
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SetBkMode(dc, OPAQUE);
    HGDIOBJ font = ::GetCurrentObject(dc, OBJ_FONT);
    label.Draw(dc);
    EXPECT_EQ(::GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(::GetBkMode(dc), OPAQUE);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), font);

    CSkinnedLabel unskinned("nothing");
    ctltest::Canvas blank(60, 30, kGround);
    unskinned.Draw(blank.Hdc());
    LabelSkinInfo_t noRecord{0, 0, 60, 30, 0, nullptr};
    unskinned.SetSkinInfo(&noRecord);
    unskinned.Draw(blank.Hdc());
    EXPECT_EQ(Inked(blank, kGround, 0, 0, 60, 30), 60 * 30) << "no record or no skin: nothing drawn";
}

TEST_P(SkinnedLabelTest, TheLinkLabelIsBlueAndUnderlinedAndHitTestsItsRectangle) {
    CActiveSkinnedLabel link("Who do I know?");
    link.SetSkinInfo(&record);
    ctltest::Canvas canvas(140, 60, kGround);
    link.Draw(canvas.Hdc());
    canvas.Save(std::string("label-") + GetParam() + "-link.bmp");
    const COLORREF blue = CActiveSkinnedLabel::kLinkColor;
    EXPECT_EQ(blue, RGB(0, 0, 255));
    EXPECT_EQ(Inked(canvas, record.Skin->TextColor, 0, 0, 140, 60), 0) << "never in the label colour";
    // The underline: one row with a long run of blue.
    int longestRow = 0;
    for (int y = 8; y < 48; ++y) longestRow = std::max(longestRow, Inked(canvas, blue, 10, y, 100, y + 1));
    EXPECT_GT(longestRow, 40);

    EXPECT_TRUE(link.HitTest(10, 8)) << "left and top inclusive";
    EXPECT_TRUE(link.HitTest(99, 47));
    EXPECT_FALSE(link.HitTest(100, 20)) << "right exclusive";
    EXPECT_FALSE(link.HitTest(50, 48)) << "bottom exclusive";
    EXPECT_FALSE(link.HitTest(9, 20));
    CActiveSkinnedLabel unplaced("x");
    EXPECT_FALSE(unplaced.HitTest(0, 0));
}

TEST_P(SkinnedLabelTest, TheAccessKeyIsTheLetterAfterASingleAmpersand) {
    EXPECT_EQ(CSkinnedLabel("&Source:").GetAccessKey(), 'S');
    EXPECT_EQ(CSkinnedLabel("Des&tination:").GetAccessKey(), 'T');
    EXPECT_EQ(CSkinnedLabel("Tom && Jerry").GetAccessKey(), 0);
    EXPECT_EQ(CSkinnedLabel("Tom && &Jerry").GetAccessKey(), 'J');
    EXPECT_EQ(CSkinnedLabel("trailing &").GetAccessKey(), 0);
    EXPECT_EQ(CSkinnedLabel(nullptr).GetText().GetLength(), 0) << "never a null text";

    // The access key is shown underlined.
    CSkinnedLabel label("&Source");
    CSkinnedLabel plain("Source");
    label.SetSkinInfo(&record);
    plain.SetSkinInfo(&record);
    ctltest::Canvas withKey(140, 60, kGround), without(140, 60, kGround);
    label.Draw(withKey.Hdc());
    plain.Draw(without.Hdc());
    EXPECT_GT(Inked(withKey, record.Skin->TextColor, 0, 0, 140, 60),
              Inked(without, record.Skin->TextColor, 0, 0, 140, 60));
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, SkinnedLabelTest, ::testing::Values("Daylight", "Graphite"));
