// The header at its edges on real windows: a header that shows no buttons
// gives its caption all but one spacing, the buttons' hit-test codes for
// the parent's WM_NCHITTEST, and the menu bar as a contact drop target.
#include "ClsSkinnedHeader.h"
#include "ClsSkinnedMainMenu.h"
#include "ControlsTestSupport.h"
#include "ListsTestSupport.h"
#include "TestWindows.h"

#include "BitmapFile.h"
#include "COleInitializer.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace liststest;
using ctltest::HostWindow;
using ctltest::TestControl;

namespace {

constexpr int kWidth = 300, kHeight = 120, kHeaderHeight = 24, kSpacing = 6;

// Black pixels (the caption's colour) of a picture in a column range.
int InkBetween(HBITMAP picture, int left, int right) {
    int count = 0;
    for (int y = 0; y < kHeaderHeight; ++y)
        for (int x = left; x < right; ++x) count += orvtest::BitmapPixel(picture, x, y) == RGB(0, 0, 0);
    return count;
}

void GiveButtonImage(ClsSkinnedHeaderButton* button) {
    button->GetImage() = *ctltest::MakeImage(12, 4 * 12, [](int, int) { return RGB(0, 90, 200); });
}

}  // namespace

TEST(SkinnedHeaderEdges, WithoutButtonsTheCaptionTakesAllButOneSpacing) {
    HostWindow host(70, 70, 400, 200);
    ClsSkinnedHeader header;
    header.SetWidth(kHeaderHeight);
    header.SetButtonSpacing(kSpacing);
    ClsFont font;
    font.SetName("Arial");
    font.SetHeight(-16);
    font.SetColor(RGB(0, 0, 0));
    header.SetFont(font);
    // Wider than the header: it runs to the end of the room it has.
    header.SetCaption("MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM");
    ControlBorderInfoPtr plain = NewControlBorderInfo();
    plain->BgColor = RGB(255, 255, 255);
    header.SetBorder(plain.get());
    TestControl control(host.GetSafeHwnd());
    control.SetPos(10, 10, kWidth, kHeight);
    control.SetHeader(&header);
    ASSERT_NE(control.GetHandleC(), nullptr);
    control.RealizeSkin();
    PumpPending();

    ASSERT_EQ(header.DetermineRightMargin(), kSpacing);
    HBITMAP picture = ctltest::CaptureWindow(control.GetSafeHwndC());
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(orvtest::SaveBitmapFile(picture, orvtest::ArtifactPath("header-without-buttons.bmp")));
    // The caption reaches into the last 40 pixels before the margin ...
    EXPECT_GT(InkBetween(picture, kWidth - 40, kWidth - kSpacing), 0);
    // ... and leaves the margin itself empty.
    EXPECT_EQ(InkBetween(picture, kWidth - kSpacing, kWidth), 0);
    ::DeleteObject(picture);
    control.SetHeader(nullptr);
}

TEST(SkinnedHeaderEdges, TheButtonsGiveTheParentItsNonClientCodes) {
    HostWindow host(70, 70, 400, 200);
    ClsSkinnedHeader header;
    header.SetWidth(kHeaderHeight);
    header.SetButtonSpacing(kSpacing);
    for (HeaderButton_e kind : {hbMinimize, hbMaximize, hbRestore, hbClose}) GiveButtonImage(header.GetButton(kind));
    header.SetButtonMinimize(true);
    header.SetButtonMaximize(true);
    header.SetButtonClose(true);
    TestControl control(host.GetSafeHwnd());
    control.SetPos(10, 10, kWidth, kHeight);
    control.SetHeader(&header);
    ASSERT_NE(control.GetHandleC(), nullptr);
    RECT window{};
    ::GetWindowRect(control.GetSafeHwndC(), &window);
    // Right margin: 12 + 12 + 2 spacings, then 12 + 2 spacings.
    const int first = window.left + kWidth + kSpacing - header.DetermineRightMargin();
    const int middle = window.top + kHeaderHeight / 2;
    auto at = [&](int x) { return header.GetHitTestCode(POINT{x, middle}); };
    EXPECT_EQ(at(first + 5), static_cast<UINT>(HTMINBUTTON));
    EXPECT_EQ(at(first + 12 + kSpacing + 5), static_cast<UINT>(HTMAXBUTTON));
    EXPECT_EQ(at(first + 2 * (12 + kSpacing) + 5), static_cast<UINT>(HTCLOSE));
    EXPECT_EQ(at(window.left + 20), static_cast<UINT>(HTNOWHERE)) << "the caption is the parent's";
    EXPECT_EQ(header.GetHitTestCode(POINT{first + 5, window.top + kHeaderHeight + 10}), static_cast<UINT>(HTNOWHERE))
        << "below the header";
    header.SetButtonRestore(true);
    EXPECT_EQ(at(first + 12 + kSpacing + 5), static_cast<UINT>(HTMAXBUTTON)) << "restore in maximise's place";
    control.SetHeader(nullptr);
    EXPECT_EQ(header.GetHitTestCode(POINT{first + 5, middle}), static_cast<UINT>(HTNOWHERE)) << "no parent";
}

TEST(MenuBarDropTarget, TheMenuBarIsAContactDropTarget) {
    COleInitializer ole;
    ASSERT_TRUE(ole.IsInitialized());
    HostWindow host(70, 70, 400, 200);
    ClsSkinnedMainMenu menu(host.GetSafeHwnd());
    menu.SetPos(0, 0, 400, 20);
    ASSERT_NE(menu.GetHandleC(), nullptr);
    // Registered only when the system took the window as a drop target.
    EXPECT_TRUE(menu.GetDropTarget().IsRegistered());
}
