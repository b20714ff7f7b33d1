// The toolbar on a real window in both shipped skins: its buttons where the
// skin puts them, drawn from their images, clicked with real input.
#include "EditsTestSupport.h"
#include "OrvCtrlsTestSupport.h"
#include "OrvToolBarCtrl.h"

#include "DragTestSupport.h"

#include <gtest/gtest.h>

using dragtest::MoveTo;
using dragtest::PressLeft;
using dragtest::ReleaseLeft;
using edittest::HostWindow;
using edittest::ImagePixel;
using edittest::InputFence;
using edittest::Picture;
using edittest::WaitFor;
using orvctrlstest::CtrlsSkin;
using orvctrlstest::EnglishTexts;
using orvctrlstest::RecordingNavigate;

namespace {

class ToolBarTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin.IsRead());
        ASSERT_TRUE(host.GetSafeHwnd());
        toolBar.SetPos(10, 10, 520, 60);
        ASSERT_TRUE(toolBar.Create(&host, &navigate, &EnglishTexts()));
        skin.Apply(toolBar);
        ASSERT_TRUE(WaitFor([] { return ::GetQueueStatus(QS_PAINT) == 0; }));
    }

    std::string Name(const char* what) const { return std::string("orvctrls-toolbar-") + skin.Name() + "-" + what + ".bmp"; }

    // Pixels of button index that differ from band of its image.
    int BandDifferences(int index, int band) {
        const ButtonSkinInfo_t* record = toolBar.GetButtonSkinInfo(index);
        RECT place{};
        ::GetWindowRect(toolBar.GetButton(index)->GetSafeHwnd(), &place);
        RECT hostPlace{};
        ::GetWindowRect(host.GetSafeHwnd(), &hostPlace);
        Picture picture(host.GetSafeHwnd());
        return picture.Differences(place.left - hostPlace.left, place.top - hostPlace.top, record->Image, 0,
                                   band * record->Height, record->Width, record->Height);
    }

    void Click(int index) {
        // A fresh hover, so the press surely lands after the move.
        if (toolBar.GetButton(index)->GetHovered()) {
            ASSERT_TRUE(fence.Pass());
            ASSERT_TRUE(WaitFor([&] { return !toolBar.GetButton(index)->GetHovered(); }));
        }
        const POINT centre = edittest::ScreenCentre(toolBar.GetButton(index)->GetSafeHwnd());
        MoveTo(centre.x, centre.y);
        ASSERT_TRUE(WaitFor([&] { return toolBar.GetButton(index)->GetHovered(); }));
        PressLeft();
        ReleaseLeft();
    }

    CtrlsSkin skin{GetParam()};
    HostWindow host{40, 40, 560, 90};
    RecordingNavigate navigate;
    OrvToolBarCtrl toolBar;
    InputFence fence;
};

}  // namespace

TEST_P(ToolBarTest, TheWindowAndItsButtonsAreMadeAsTheMainWindowExpects) {
    char className[64] = {};
    ::GetClassNameA(toolBar.GetSafeHwnd(), className, sizeof className);
    EXPECT_STREQ(className, "OrvToolBarCtrl");
    EXPECT_EQ(::GetDlgCtrlID(toolBar.GetSafeHwnd()), 70);
    const LONG style = ::GetWindowLongA(toolBar.GetSafeHwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS);
    EXPECT_TRUE(::GetWindowLongA(toolBar.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    EXPECT_FALSE(toolBar.Create(&host, &navigate, &EnglishTexts())) << "a second Create is refused";
    for (int i = 0; i < OrvToolBarCtrl::kButtonCount; ++i) {
        CSkinnedButton* button = toolBar.GetButton(i);
        EXPECT_EQ(button->GetDlgCtrlID(), i + 1);
        RECT place{};
        ::GetWindowRect(button->GetSafeHwnd(), &place);
        POINT corner{place.left, place.top};
        ::ScreenToClient(toolBar.GetSafeHwnd(), &corner);
        const ButtonSkinInfo_t* record = toolBar.GetButtonSkinInfo(i);
        EXPECT_EQ(corner.x, record->X) << "button " << i;
        EXPECT_EQ(corner.y, record->Y) << "button " << i;
        EXPECT_EQ(place.right - place.left, record->Width);
        EXPECT_EQ(place.bottom - place.top, record->Height);
    }
    EXPECT_EQ(toolBar.GetButton(7), nullptr);
    EXPECT_EQ(toolBar.GetButtonSkinInfo(-1), nullptr);
}

TEST_P(ToolBarTest, ButtonsShowTheirImagesOverTheTiledBackground) {
    Picture picture(host.GetSafeHwnd());
    ASSERT_TRUE(picture.IsValid());
    EXPECT_TRUE(picture.Save(Name("normal")));
    for (int i = 0; i < OrvToolBarCtrl::kButtonCount; ++i)
        EXPECT_EQ(BandDifferences(i, 0), 0) << "button " << i << " shows its normal band; see " << Name("normal");

    // The background right of the last button is the frame's content cell,
    // tiled from the toolbar's client origin.
    const ControlBorderInfo_t* frame = skin.Control(crToolBar);
    ASSERT_TRUE(frame && frame->MainImage && frame->ContentWidth > 0 && frame->ContentHeight > 0);
    const ButtonSkinInfo_t* last = toolBar.GetButtonSkinInfo(OrvToolBarCtrl::kButtonCount - 1);
    const POINT origin = orvctrlstest::ClientOrigin(toolBar.GetSafeHwnd(), host.GetSafeHwnd());
    int checked = 0, wrong = 0;
    for (int y = 0; y < 60; y += 3)
        for (int x = last->X + last->Width + 1; x < 500; x += 5) {
            const COLORREF expected = ImagePixel(*frame->MainImage, frame->ContentX + x % frame->ContentWidth,
                                                 frame->ContentY + y % frame->ContentHeight);
            ++checked;
            if (picture.Pixel(origin.x + x, origin.y + y) != expected) ++wrong;
        }
    EXPECT_GT(checked, 50);
    EXPECT_EQ(wrong, 0) << "background tiles; see " << Name("normal");
}

TEST_P(ToolBarTest, EachButtonReportsKindIdPlusOneWithCommandZeroAndNoContact) {
    for (int i = 0; i < OrvToolBarCtrl::kButtonCount; ++i) {
        Click(i);
        ASSERT_TRUE(WaitFor([&] { return navigate.calls.size() == static_cast<size_t>(i + 1); })) << "button " << i;
        const auto& call = navigate.calls.back();
        EXPECT_EQ(call.kind, i + 2) << "button id " << i + 1;
        EXPECT_EQ(call.command, 0);
        EXPECT_FALSE(call.hasContact);
    }
    // The chat button is the sixth: kind 7.
    EXPECT_EQ(navigate.calls[5].kind, 7);
    ASSERT_TRUE(fence.Pass());
}

TEST_P(ToolBarTest, EnableButtonOutsideTheSevenChangesNothingAndADisabledButtonIsGreyAndSilent) {
    toolBar.EnableButton(7, false);
    toolBar.EnableButton(-1, false);
    for (int i = 0; i < OrvToolBarCtrl::kButtonCount; ++i) EXPECT_TRUE(toolBar.GetButtonEnabled(i)) << i;

    toolBar.EnableButton(6, false);
    EXPECT_FALSE(toolBar.GetButtonEnabled(6));
    ASSERT_TRUE(WaitFor([] { return ::GetQueueStatus(QS_PAINT) == 0; }));
    EXPECT_EQ(BandDifferences(6, CSkinnedButton::bnDisabled), 0) << "the disabled band";
    Picture(host.GetSafeHwnd()).Save(Name("last-disabled"));

    const POINT centre = edittest::ScreenCentre(toolBar.GetButton(6)->GetSafeHwnd());
    MoveTo(centre.x, centre.y);
    PressLeft();
    ReleaseLeft();
    // The next button still answers: by then the first click was handled.
    Click(5);
    ASSERT_TRUE(WaitFor([&] { return !navigate.calls.empty(); }));
    ASSERT_EQ(navigate.calls.size(), 1u) << "the disabled button reported nothing";
    EXPECT_EQ(navigate.calls[0].kind, 7);
    toolBar.EnableButton(6, true);
    EXPECT_TRUE(toolBar.GetButtonEnabled(6));
    ASSERT_TRUE(fence.Pass());
}

TEST_P(ToolBarTest, TipsCarryTheirTextsAndFollowTheSwitch) {
    const OrvToolTip& tips = toolBar.GetToolTip();
    ASSERT_TRUE(tips.GetSafeHwnd());
    EXPECT_FALSE(tips.IsBalloon()) << "plain tips";
    EXPECT_EQ(tips.GetToolCount(), 7);
    for (int i = 0; i < OrvToolBarCtrl::kButtonCount; ++i) {
        const CString expected = EnglishTexts().GetString(OrvToolBarCtrl::TipKey(static_cast<UINT>(i + 1)));
        EXPECT_FALSE(expected.IsEmpty());
        EXPECT_STREQ(tips.GetToolText(toolBar.GetButton(i)->GetSafeHwnd()).GetString(), expected.GetString());
    }
    EXPECT_EQ(OrvToolBarCtrl::TipKey(0), nullptr);
    EXPECT_EQ(OrvToolBarCtrl::TipKey(8), nullptr);
    EXPECT_FALSE(toolBar.GetToolTipActivated()) << "off until switched on";
    EXPECT_FALSE(tips.IsActive());
    toolBar.SetToolTipActivated(true);
    EXPECT_TRUE(tips.IsActive());
    toolBar.SetToolTipActivated(false);
    EXPECT_FALSE(tips.IsActive());
}

TEST(ToolBarWithoutParentTest, CreateFailsCleanlyAndTheObjectStillGoes) {
    OrvToolBarCtrl toolBar;
    EXPECT_FALSE(toolBar.Create(nullptr, nullptr, nullptr));
    toolBar.EnableButton(0, false);
    EXPECT_FALSE(toolBar.GetButtonEnabled(0));
    toolBar.RealizeSkin();
    EXPECT_EQ(toolBar.GetSafeHwnd(), nullptr);
}

TEST(ToolBarCommandTest, OnlyClicksOfTheSevenButtonsAreReported) {
    HostWindow host{40, 40, 460, 90};
    RecordingNavigate navigate;
    OrvToolBarCtrl toolBar;
    toolBar.SetPos(0, 0, 420, 60);
    ASSERT_TRUE(toolBar.Create(&host, &navigate, nullptr));
    EXPECT_EQ(toolBar.GetToolTip().GetToolCount(), 0) << "no texts, no tips";
    const HWND window = toolBar.GetSafeHwnd();
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(99, BN_CLICKED), 0);
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0);
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(8, BN_CLICKED), 0);
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(6, BN_SETFOCUS), 0);
    EXPECT_TRUE(navigate.calls.empty());
    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0);
    ASSERT_EQ(navigate.calls.size(), 1u);
    EXPECT_EQ(navigate.calls[0].kind, 8);

    // Without a navigation interface a click goes nowhere, and nothing breaks.
    OrvToolBarCtrl silent;
    ASSERT_TRUE(silent.Create(&host, nullptr, nullptr));
    ::SendMessageA(silent.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    EXPECT_TRUE(::IsWindow(silent.GetSafeHwnd()));
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, ToolBarTest, ::testing::Values("Daylight", "Graphite"));
