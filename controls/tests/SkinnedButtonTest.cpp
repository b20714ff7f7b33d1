// The skinned push button on real windows under Xvfb, in both shipped
// skins: each state shows its band of the composed image pixel for pixel
// (hovered by the real pointer, pushed by a real press, disabled), a
// disabled button swallows clicks and Space, keyboard focus shows the
// dotted rectangle, mouse messages reach the tool tip (which then shows),
// and a skin change moves and repaints the button at once.
#include "CSkin.h"
#include "CSkinnedButton.h"
#include "DragTestSupport.h"
#include "EditsTestSupport.h"
#include "ControlsTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

using namespace edittest;
using dragtest::MoveTo;
using dragtest::PressLeft;
using dragtest::ReleaseLeft;
using dragtest::TapKey;

namespace {
const int kX = 20, kY = 30, kWidth = 80, kHeight = 24;

class SkinnedButtonTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        // The pointer starts away from the controls.
        ASSERT_TRUE(fence.Pass());
        ASSERT_TRUE(skin.IsRead()) << GetParam();
        ASSERT_TRUE(FormButton(skin, record, kX, kY, kWidth, kHeight, "Search"));
        ASSERT_TRUE(button.Create(&host, 1001));
        ::UpdateWindow(host.GetSafeHwnd());
    }
    // Pixels of the button on the screen that differ from band of its
    // image. A click gives the button the focus, and Wine shows focus cues
    // after mouse use too, so the dotted outline 3 pixels inside is left
    // out (the focus test looks at it).
    int BandDifferences(int band, const char* saveAs = nullptr) {
        orvtest::PumpPending();
        Picture picture(host.GetSafeHwnd());
        if (saveAs) picture.Save(std::string("button-") + GetParam() + "-" + saveAs + ".bmp");
        int differing = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (!OnFocusOutline(x, y) &&
                    picture.Pixel(kX + x, kY + y) != ImagePixel(record.Image, x, band * kHeight + y))
                    ++differing;
        return differing;
    }
    static bool OnFocusOutline(int x, int y) {
        return (x == 3 || x == kWidth - 4 || y == 3 || y == kHeight - 4) && x >= 3 && x <= kWidth - 4 && y >= 3 &&
               y <= kHeight - 4;
    }
    std::string Name(const char* state) const { return std::string(GetParam()) + " " + state; }

    ShippedSkin skin{GetParam()};
    ButtonSkinInfo_t record;
    HostWindow host{60, 60, 260, 120};
    CSkinnedButton button{&record};
    InputFence fence;
};
}  // namespace

TEST_P(SkinnedButtonTest, EachStateShowsItsBandAndAClickSendsTheCommand) {
    EXPECT_EQ(button.GetBand(), CSkinnedButton::bnNormal);
    EXPECT_EQ(BandDifferences(0, "normal"), 0) << Name("normal");
    EXPECT_TRUE(button.GetStyle() & WS_TABSTOP);
    EXPECT_EQ(button.GetWindowText().GetLength(), 0) << "created with an empty caption";

    const POINT centre = ScreenCentre(button.GetSafeHwnd());
    MoveTo(centre.x, centre.y);
    ASSERT_TRUE(WaitFor([&] { return button.GetHovered(); }));
    EXPECT_EQ(BandDifferences(1, "hovered"), 0) << Name("hovered");

    PressLeft();
    ASSERT_TRUE(WaitFor([&] { return button.GetPushed(); }));
    EXPECT_EQ(BandDifferences(2, "pushed"), 0) << Name("pushed");
    ReleaseLeft();
    ASSERT_TRUE(WaitFor([&] { return host.Count(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED)) == 1; }))
        << "the release over the button sends the command";
    EXPECT_FALSE(button.GetPushed());

    // Leaving: the hover timer notices the pointer elsewhere.
    ASSERT_TRUE(fence.Pass());
    ASSERT_TRUE(WaitFor([&] { return !button.GetHovered(); }));
    EXPECT_EQ(BandDifferences(0), 0) << Name("after leaving");
}

TEST_P(SkinnedButtonTest, PushedAndDraggedOffItShowsNormalAndSendsNothing) {
    const POINT centre = ScreenCentre(button.GetSafeHwnd());
    MoveTo(centre.x, centre.y);
    ASSERT_TRUE(WaitFor([&] { return button.GetHovered(); }));
    PressLeft();
    ASSERT_TRUE(WaitFor([&] { return button.GetPushed(); }));
    RECT hostRect{};
    ::GetWindowRect(host.GetSafeHwnd(), &hostRect);
    MoveTo(hostRect.right - 10, hostRect.bottom - 10);
    ASSERT_TRUE(WaitFor([&] { return !button.GetHovered(); }));
    EXPECT_EQ(BandDifferences(0), 0) << "pushed but not hovered shows the normal band";
    ReleaseLeft();
    ASSERT_TRUE(fence.Pass());
    EXPECT_EQ(host.Count(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED)), 0);
}

TEST_P(SkinnedButtonTest, ADisabledButtonShowsBandThreeAndSwallowsClicksAndSpace) {
    button.SetEnabled(false);
    EXPECT_FALSE(button.GetEnabled());
    EXPECT_TRUE(button.IsWindowEnabled()) << "its own flag: the window still hears the pointer";
    EXPECT_EQ(BandDifferences(3, "disabled"), 0) << Name("disabled");

    const POINT centre = ScreenCentre(button.GetSafeHwnd());
    MoveTo(centre.x, centre.y);
    ASSERT_TRUE(WaitFor([&] { return button.GetHovered(); }));
    EXPECT_EQ(BandDifferences(3), 0) << "hovering changes nothing";
    PressLeft();
    ReleaseLeft();
    button.SetFocus();
    TapKey(VK_SPACE);
    ::SendMessageA(button.GetSafeHwnd(), BM_CLICK, 0, 0);
    ASSERT_TRUE(fence.Pass());
    EXPECT_EQ(host.Count(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED)), 0) << "no command while disabled";

    button.SetEnabled(true);
    EXPECT_EQ(::GetCapture(), nullptr);
    button.SetFocus();
    TapKey(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return host.Count(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED)) == 1; }))
        << "Space on the enabled, focused button clicks it";

    button.EnableWindow(false);
    EXPECT_FALSE(button.GetEnabled());
    EXPECT_FALSE(button.IsWindowEnabled());
    EXPECT_EQ(BandDifferences(3), 0);
    button.EnableWindow(true);
    EXPECT_TRUE(button.GetEnabled());
    EXPECT_TRUE(button.IsWindowEnabled());
}

TEST_P(SkinnedButtonTest, KeyboardFocusShowsTheDottedRectangleOnlyOnItsOutline) {
    ShowFocusCues(host.GetSafeHwnd());
    button.SetFocus();
    orvtest::PumpPending();
    Picture picture(host.GetSafeHwnd());
    picture.Save(std::string("button-") + GetParam() + "-focused.bmp");
    int changed = 0, offOutline = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (picture.Pixel(kX + x, kY + y) == ImagePixel(record.Image, x, y)) continue;
            ++changed;
            if (!OnFocusOutline(x, y)) ++offOutline;
        }
    EXPECT_GT(changed, 20) << "a focus rectangle is drawn";
    EXPECT_EQ(offOutline, 0) << "and nothing else changes";
    ::SetFocus(host.GetSafeHwnd());
    orvtest::PumpPending();
    Picture after(host.GetSafeHwnd());
    EXPECT_EQ(after.Differences(kX, kY, record.Image, 0, 0, kWidth, kHeight), 0) << "losing the focus takes it away";
}

TEST_P(SkinnedButtonTest, MouseMessagesAreRelayedToTheToolTip) {
    HWND tip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                 host.GetSafeHwnd(), nullptr, nullptr, nullptr);
    ASSERT_NE(tip, nullptr);
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = host.GetSafeHwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(button.GetSafeHwnd());
    char text[] = "Search the network";
    tool.lpszText = text;
    ASSERT_TRUE(::SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)));
    ::SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
    button.SetToolTip(tip);
    button.SetEnabled(false);  // the tip still works for a greyed button

    const POINT centre = ScreenCentre(button.GetSafeHwnd());
    MoveTo(centre.x - 2, centre.y);
    MoveTo(centre.x, centre.y);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(tip) != 0; })) << "the relayed moves show the tip";
    button.SetToolTip(nullptr);
    ::DestroyWindow(tip);
}

TEST_P(SkinnedButtonTest, ASkinChangeMovesAndRepaintsTheButtonAtOnce) {
    const char* other = std::string(GetParam()) == "Daylight" ? "Graphite" : "Daylight";
    ShippedSkin next(other);
    ASSERT_TRUE(next.IsRead());
    // The reader forms the host's record again in place.
    ASSERT_TRUE(FormButton(next, record, kX + 30, kY + 20, kWidth, kHeight, "Search"));
    ::SendMessageA(button.GetSafeHwnd(), CSkin::WM_SKIN_CHANGED, 0, 0);
    RECT place{};
    ::GetWindowRect(button.GetSafeHwnd(), &place);
    ::MapWindowPoints(nullptr, host.GetSafeHwnd(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, kX + 30);
    EXPECT_EQ(place.top, kY + 20);
    orvtest::PumpPending();
    Picture picture(host.GetSafeHwnd());
    picture.Save(std::string("button-") + GetParam() + "-to-" + other + ".bmp");
    EXPECT_EQ(picture.Differences(kX + 30, kY + 20, record.Image, 0, 0, kWidth, kHeight), 0);

    // Placing through a deferred batch.
    record.X = kX;
    record.Y = kY;
    HDWP batch = ::BeginDeferWindowPos(1);
    batch = button.SetPos(batch);
    ASSERT_NE(batch, nullptr);
    ::EndDeferWindowPos(batch);
    ::GetWindowRect(button.GetSafeHwnd(), &place);
    ::MapWindowPoints(nullptr, host.GetSafeHwnd(), reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, kX);
    EXPECT_EQ(BandDifferences(0), 0);
}

TEST_P(SkinnedButtonTest, NothingIsDrawnWhileTheParentIsHidden) {
    host.ShowWindow(SW_HIDE);
    ctltest::Canvas canvas(kWidth, kHeight, RGB(1, 2, 3));
    button.RePaint(&canvas.DC());
    EXPECT_EQ(canvas.Pixel(kWidth / 2, kHeight / 2), RGB(1, 2, 3));
    host.ShowWindow(SW_SHOWNOACTIVATE);
    button.RePaint(&canvas.DC());
    EXPECT_EQ(canvas.Pixel(kWidth / 2, kHeight / 2), ImagePixel(record.Image, kWidth / 2, kHeight / 2));
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, SkinnedButtonTest, ::testing::Values("Daylight", "Graphite"));
