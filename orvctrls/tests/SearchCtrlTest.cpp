// The search control on a real window in both shipped skins: its field and
// button where the skin puts them, searches started by the button and by
// Enter, the blank search.
#include "EditsTestSupport.h"
#include "OrvCtrlsTestSupport.h"
#include "OrvSearchCtrl.h"

#include "DragTestSupport.h"

#include <gtest/gtest.h>

using dragtest::MoveTo;
using dragtest::PressLeft;
using dragtest::ReleaseLeft;
using dragtest::TapKey;
using edittest::HostWindow;
using edittest::ImagePixel;
using edittest::InputFence;
using edittest::Picture;
using edittest::WaitFor;
using orvctrlstest::CtrlsSkin;
using orvctrlstest::EnglishTexts;
using orvctrlstest::RecordingSearch;

namespace {

class SearchCtrlTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin.IsRead());
        ASSERT_TRUE(search.GetSafeHwnd());
        search.SetPos(10, 10, 196, 54);
        skin.Apply(search);
        ASSERT_TRUE(WaitFor([] { return ::GetQueueStatus(QS_PAINT) == 0; }));
    }

    std::string Name(const char* what) const { return std::string("orvctrls-search-") + skin.Name() + "-" + what + ".bmp"; }

    void ClickButton() {
        // A fresh hover, so the press surely lands after the move.
        if (search.GetButton().GetHovered()) {
            ASSERT_TRUE(fence.Pass());
            ASSERT_TRUE(WaitFor([&] { return !search.GetButton().GetHovered(); }));
        }
        const POINT centre = edittest::ScreenCentre(search.GetButton().GetSafeHwnd());
        MoveTo(centre.x, centre.y);
        ASSERT_TRUE(WaitFor([&] { return search.GetButton().GetHovered(); }));
        PressLeft();
        ReleaseLeft();
    }

    void FocusField() {
        ::SetForegroundWindow(host.GetSafeHwnd());
        search.GetEdit().SetFocus();
        ASSERT_TRUE(WaitFor([&] { return ::GetFocus() == search.GetEdit().GetSafeHwnd(); }));
    }

    CtrlsSkin skin{GetParam()};
    HostWindow host{40, 40, 240, 90};
    RecordingSearch searches;
    OrvSearchCtrl search{&host, &searches, &EnglishTexts()};
    InputFence fence;
};

}  // namespace

TEST_P(SearchCtrlTest, TheWindowIsMadeAsTheMainWindowExpects) {
    char className[64] = {};
    ::GetClassNameA(search.GetSafeHwnd(), className, sizeof className);
    EXPECT_STREQ(className, "OrvSearchCtrl");
    EXPECT_EQ(::GetDlgCtrlID(search.GetSafeHwnd()), 60);
    EXPECT_TRUE(::GetWindowLongA(search.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    EXPECT_TRUE(::GetWindowLongA(search.GetSafeHwnd(), GWL_STYLE) & WS_CLIPCHILDREN);
    EXPECT_EQ(search.GetEdit().GetDlgCtrlID(), 1);
    EXPECT_EQ(search.GetButton().GetDlgCtrlID(), 2);
    const OrvToolTip& tips = search.GetToolTip();
    EXPECT_STREQ(tips.GetToolText(search.GetButton().GetSafeHwnd()).GetString(),
                 EnglishTexts().GetString("IDS_SKIN_TIP_BTN_SEARCH1").GetString());
    EXPECT_FALSE(search.GetToolTipActivated());
    EXPECT_FALSE(tips.IsActive()) << "tips start inactive";
    search.SetToolTipActivated(true);
    EXPECT_TRUE(tips.IsActive());
}

TEST_P(SearchCtrlTest, FieldAndButtonSitWhereTheSkinSaysAndTheButtonShowsItsImage) {
    const EditSkinInfo_t* edit = search.GetEditSkinInfo();
    RECT place{};
    ::GetWindowRect(search.GetEdit().GetSafeHwnd(), &place);
    POINT corner{place.left, place.top};
    ::ScreenToClient(search.GetSafeHwnd(), &corner);
    EXPECT_EQ(corner.x, edit->X);
    EXPECT_EQ(corner.y, edit->Y);
    EXPECT_EQ(place.right - place.left, edit->Width);
    EXPECT_EQ(place.bottom - place.top, edit->Height);

    Picture picture(host.GetSafeHwnd());
    ASSERT_TRUE(picture.Save(Name("normal")));
    const POINT origin = orvctrlstest::ClientOrigin(search.GetSafeHwnd(), host.GetSafeHwnd());
    const ButtonSkinInfo_t* button = search.GetButtonSkinInfo();
    EXPECT_EQ(picture.Differences(origin.x + button->X, origin.y + button->Y, button->Image, 0, 0, button->Width, button->Height), 0)
        << "the button's normal band; see " << Name("normal");

    // Left of the field and below it: the frame's content cell, tiled.
    const ControlBorderInfo_t* frame = skin.Control(crSearchCtrl);
    ASSERT_TRUE(frame && frame->MainImage && frame->ContentWidth > 0);
    int wrong = 0;
    for (int y = 0; y < edit->Y; ++y)
        for (int x = 0; x < 190; x += 3)
            if (picture.Pixel(origin.x + x, origin.y + y) != ImagePixel(*frame->MainImage, frame->ContentX + x % frame->ContentWidth,
                                                           frame->ContentY + y % frame->ContentHeight))
                ++wrong;
    EXPECT_EQ(wrong, 0) << "the strip above the field is the tiled background";

    search.SetEnabledSearchButton(false);
    EXPECT_FALSE(search.GetEnabledSearchButton());
    ASSERT_TRUE(WaitFor([] { return ::GetQueueStatus(QS_PAINT) == 0; }));
    Picture disabled(host.GetSafeHwnd());
    disabled.Save(Name("disabled"));
    EXPECT_EQ(disabled.Differences(origin.x + button->X, origin.y + button->Y, button->Image, 0, 3 * button->Height, button->Width,
                                   button->Height),
              0)
        << "the disabled band";
}

TEST_P(SearchCtrlTest, ABlankFieldSearchesForChatAndShowsIt) {
    search.SetSearchText("   ");
    ClickButton();
    ASSERT_TRUE(WaitFor([&] { return searches.texts.size() == 1; }));
    EXPECT_EQ(searches.texts[0], "chat");
    EXPECT_STREQ(search.GetSearchText().GetString(), "chat") << "written back into the field";

    search.SetSearchText("");
    search.OnBtnSearchClicked();
    ASSERT_EQ(searches.texts.size(), 2u);
    EXPECT_EQ(searches.texts[1], "chat");

    search.SetSearchText("  Ann Lee \t");
    ClickButton();
    ASSERT_TRUE(WaitFor([&] { return searches.texts.size() == 3; }));
    EXPECT_EQ(searches.texts[2], "Ann Lee") << "blanks at both ends removed";
    EXPECT_STREQ(search.GetSearchText().GetString(), "Ann Lee");
    ASSERT_TRUE(fence.Pass());
}

TEST_P(SearchCtrlTest, EnterSearchesOnlyWhileTheButtonIsEnabled) {
    FocusField();
    TapKey('A');
    TapKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return searches.texts.size() == 1; }));
    EXPECT_EQ(searches.texts[0], "a");

    search.SetEnabledSearchButton(false);
    TapKey(VK_RETURN);
    TapKey('B');
    // The letter after Enter arrived, so Enter was handled before it.
    ASSERT_TRUE(WaitFor([&] { return search.GetSearchText() == "ab"; }));
    EXPECT_EQ(searches.texts.size(), 1u) << "Enter with the button disabled does nothing";

    // A click on the disabled button does nothing either.
    ClickButton();
    search.SetEnabledSearchButton(true);
    TapKey(VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return searches.texts.size() >= 2; }));
    EXPECT_EQ(searches.texts.size(), 2u);
    EXPECT_EQ(searches.texts[1], "ab");
    ASSERT_TRUE(fence.Pass());
}

TEST(SearchCtrlWithoutCallbackTest, ASearchWithoutCallbackOnlyTidiesTheField) {
    HostWindow host{40, 40, 240, 90};
    OrvSearchCtrl search(&host, nullptr, nullptr);
    ASSERT_TRUE(search.GetSafeHwnd());
    EXPECT_EQ(search.GetToolTip().GetToolCount(), 0);
    search.SetSearchText(" x ");
    search.OnBtnSearchClicked();
    EXPECT_STREQ(search.GetSearchText().GetString(), "x");

    OrvSearchCtrl orphan(nullptr, nullptr, nullptr);
    EXPECT_EQ(orphan.GetSafeHwnd(), nullptr) << "no parent, no window";
    orphan.OnBtnSearchClicked();
    EXPECT_STREQ(orphan.GetSearchText().GetString(), "");
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, SearchCtrlTest, ::testing::Values("Daylight", "Graphite"));
