// ClsSkinnedHeader as the skinned control base uses it: docking into the
// client rectangle, the right margin, drawing (captured and checked), hit
// testing, hovering with the 50 ms timer, pressing and acting on the
// buttons, and the maximise/restore switch when the window refuses.
#include "ClsSkinnedHeader.h"
#include "ControlsTestSupport.h"
#include "TestWindows.h"

#include "BitmapFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace ctltest;

namespace {
const int kButtonWidth = 10, kBandHeight = 8;

// Button images: four bands of one colour each, lighter by band, with a
// magenta top-left pixel that must stay transparent.
COLORREF ButtonColor(COLORREF base, int band) {
    return RGB(GetRValue(base) + 20 * band, GetGValue(base) + 20 * band, GetBValue(base) + 20 * band);
}
const COLORREF kMinimize = RGB(0, 0, 140), kMaximize = RGB(0, 140, 0), kRestore = RGB(120, 0, 60),
               kClose = RGB(140, 0, 0);

void GiveImage(ClsSkinnedHeaderButton* button, COLORREF base) {
    auto image = MakeImage(kButtonWidth, 4 * kBandHeight, [base](int x, int y) {
        return x == 0 && y % kBandHeight == 0 ? kMagenta : ButtonColor(base, y / kBandHeight);
    });
    button->GetImage() = *image;
}

// A 200 x 100 control in a host, framed by the test skin, with a 20 pixel
// header framed by the test skin too and showing minimise, maximise, close.
struct HeaderedControl {
    HostWindow host;
    NinePartSkin frame = MakeNinePartSkin();
    NinePartSkin headerFrame = MakeNinePartSkin();
    ClsSkinnedHeader header;
    std::unique_ptr<TestControl> control;

    bool topLevel;

    explicit HeaderedControl(bool asTopLevel = false, bool framed = true) : topLevel(asTopLevel) {
        header.SetWidth(20);
        header.SetButtonSpacing(2);
        header.SetBorder(headerFrame.frame.get());
        header.SetCaption("Search the network");
        ClsFont font;
        font.SetColor(RGB(0, 0, 0));
        font.SetHeight(-12);
        header.SetFont(font);
        GiveImage(header.GetButton(hbMinimize), kMinimize);
        GiveImage(header.GetButton(hbMaximize), kMaximize);
        GiveImage(header.GetButton(hbRestore), kRestore);
        GiveImage(header.GetButton(hbClose), kClose);
        header.SetButtonMinimize(true);
        header.SetButtonMaximize(true);
        header.SetButtonClose(true);
        control = std::make_unique<TestControl>(topLevel ? nullptr : host.GetSafeHwnd());
        control->SetPos(topLevel ? 100 : 10, topLevel ? 100 : 10, 200, 100);
        if (framed) control->SetBorder(frame.frame.get());
        control->SetHeader(&header);
        control->RealizeSkin();
    }
    HWND Window() { return control->GetSafeHwndC(); }
    HBITMAP Capture() {
        ::UpdateWindow(host);
        orvtest::PumpPending();
        return CaptureWindow(topLevel ? Window() : host.GetSafeHwnd());
    }
    // The colour a capture shows at a point of the control's window.
    COLORREF At(HBITMAP shot, int x, int y) {
        const int offset = topLevel ? 0 : 10;
        return orvtest::BitmapPixel(shot, offset + x, offset + y);
    }
    void Hover(UINT hitTest) { ::SendMessageA(Window(), WM_NCMOUSEMOVE, hitTest, 0); }
    void Click() {
        ::SendMessageA(Window(), WM_NCLBUTTONDOWN, 0, 0);
        ::SendMessageA(Window(), WM_NCLBUTTONUP, 0, 0);
    }
};

// Layout of HeaderedControl: header image 190 wide (200 - 4 - 6), right
// margin 10 + 10 + 4 + 10 + 4 = 38, buttons from 190 + 2 - 38 = 154, at
// 6 = (20 - 8) / 2, 12 apart; the header sits at (4, 3) of the window.
const int kHeaderLeft = 4, kHeaderTop = 3, kFirstButton = 154, kButtonTop = 6;
}  // namespace

TEST(SkinnedHeader, DocksUnderItsHeightInsideTheParentsFrameOrAloneWithoutOne) {
    HeaderedControl framed;
    RECT client{};
    ::GetClientRect(framed.Window(), &client);
    EXPECT_EQ(client.right, 200 - 4 - 6);
    EXPECT_EQ(client.bottom, 100 - 5 - 20 - 3);
    POINT origin{0, 0};
    ::MapWindowPoints(framed.Window(), framed.host, &origin, 1);
    EXPECT_EQ(origin.x, 10 + 4);
    EXPECT_EQ(origin.y, 10 + 3 + 20);

    HeaderedControl alone(false, false);
    ::GetClientRect(alone.Window(), &client);
    EXPECT_EQ(client.right, 200) << "no frame: only the header's height is taken";
    EXPECT_EQ(client.bottom, 80);

    RECT tall{0, 0, 50, 10};
    alone.header.DockHeader(&tall);
    EXPECT_EQ(tall.top, 20);
    EXPECT_EQ(tall.bottom, 20) << "a header taller than the window leaves an empty client area";
    alone.header.DockHeader(nullptr);
}

TEST(SkinnedHeader, TheRightMarginFollowsTheButtonsShown) {
    ClsSkinnedHeader header;
    header.SetButtonSpacing(3);
    GiveImage(header.GetButton(hbMinimize), kMinimize);
    GiveImage(header.GetButton(hbMaximize), kMaximize);
    GiveImage(header.GetButton(hbClose), kClose);
    auto wide = MakeImage(16, 4 * kBandHeight, [](int, int) { return kRestore; });
    header.GetButton(hbRestore)->GetImage() = *wide;
    EXPECT_EQ(header.DetermineRightMargin(), 3) << "no buttons: one spacing";
    header.SetButtonClose(true);
    EXPECT_EQ(header.DetermineRightMargin(), 10 + 6);
    header.SetButtonMinimize(true);
    EXPECT_EQ(header.DetermineRightMargin(), (10 + 10 + 6) + (10 + 6));
    header.SetButtonClose(false);
    EXPECT_EQ(header.DetermineRightMargin(), (10 + 10 + 6) + 3);
    header.SetButtonRestore(true);
    EXPECT_EQ(header.DetermineRightMargin(), (16 + 10 + 6) + (10 + 6)) << "restore's own width";
    EXPECT_FALSE(header.GetButtonMaximize());
    header.SetButtonMaximize(true);
    EXPECT_FALSE(header.GetButtonRestore()) << "showing one hides the other";
}

TEST(SkinnedHeader, DrawsFrameButtonsAndCaptionInsideTheParentsFrame) {
    HeaderedControl c;
    std::unique_ptr<void, decltype(&::DeleteObject)> shot(c.Capture(), &::DeleteObject);
    ASSERT_TRUE(shot);
    orvtest::SaveBitmapFile(static_cast<HBITMAP>(shot.get()), orvtest::ArtifactPath("header-with-buttons.bmp"));
    const auto at = [&](int x, int y) { return c.At(static_cast<HBITMAP>(shot.get()), x, y); };
    const int top = kHeaderTop + kButtonTop;
    const COLORREF bases[] = {kMinimize, kMaximize, kClose};
    for (int i = 0; i < 3; ++i) {
        const int left = kHeaderLeft + kFirstButton + 12 * i;
        EXPECT_EQ(at(left + 5, top + 4), ButtonColor(bases[i], 0)) << "button " << i << " in band 0";
        EXPECT_EQ(at(left + 9, top + 7), ButtonColor(bases[i], 0));
        // The magenta pixel shows the header's content cell beneath.
        const int hx = kFirstButton + 12 * i, hy = kButtonTop;
        EXPECT_EQ(at(left, top), SkinImagePixel(32 + (hx - 4) % 8, (hy - 3) % 6)) << "button " << i;
    }
    // The header's own frame: its corners at the header's corners.
    EXPECT_EQ(at(kHeaderLeft, kHeaderTop), RGB(200, 0, 0));
    EXPECT_EQ(at(kHeaderLeft + 189, kHeaderTop + 19), RGB(200, 200, 0));
    // The parent's frame around it.
    EXPECT_EQ(at(0, 0), RGB(200, 0, 0));
    EXPECT_EQ(at(199, 99), RGB(200, 200, 0));
    // The caption in black, left of the buttons only.
    bool captionSeen = false, textUnderButtons = false;
    for (int y = kHeaderTop; y < kHeaderTop + 20; ++y)
        for (int x = kHeaderLeft; x < kHeaderLeft + 190; ++x)
            if (at(x, y) == RGB(0, 0, 0)) (x < kHeaderLeft + 190 - 38 ? captionSeen : textUnderButtons) = true;
    EXPECT_TRUE(captionSeen);
    EXPECT_FALSE(textUnderButtons);
}

TEST(SkinnedHeader, PlacesUnderAPointInTheParentsWindowCoordinates) {
    HeaderedControl c;
    ClsSkinnedHeader& h = c.header;
    const int x0 = kHeaderLeft + kFirstButton, y0 = kHeaderTop + kButtonTop;
    EXPECT_EQ(h.GetItemFromPoint(x0 + 1, y0 + 1), htpMinimize);
    EXPECT_EQ(h.GetItemFromPoint(x0 + 12 + 9, y0 + 7), htpMaximize);
    EXPECT_EQ(h.GetItemFromPoint(x0 + 24, y0), htpClose);
    EXPECT_EQ(h.GetItemFromPoint(x0 + 10, y0 + 1), htpCaption) << "the spacing between buttons";
    EXPECT_EQ(h.GetItemFromPoint(x0 + 1, y0 - 1), htpCaption) << "above the buttons";
    EXPECT_EQ(h.GetItemFromPoint(kHeaderLeft + 20, kHeaderTop + 10), htpCaption);
    EXPECT_EQ(h.GetItemFromPoint(1, 1), htpNowhere) << "the parent's frame";
    EXPECT_EQ(h.GetItemFromPoint(kHeaderLeft + 20, kHeaderTop + 20), htpNowhere) << "below the header";
    h.SetButtonRestore(true);
    EXPECT_EQ(h.GetItemFromPoint(x0 + 12 + 1, y0 + 1), htpRestore);

    ClsSkinnedHeader orphan;
    EXPECT_EQ(orphan.GetItemFromPoint(0, 0), htpNowhere);
    orphan.Draw(nullptr);
    orphan.Redraw();
}

TEST(SkinnedHeader, HoverShowsTheHoveredBandAndClearsOnceTheCursorMoved) {
    HeaderedControl c;
    ::SetCursorPos(300, 300);
    c.Hover(HTCLOSE);
    EXPECT_EQ(c.header.GetHoveredButton(), hbClose);
    {
        std::unique_ptr<void, decltype(&::DeleteObject)> shot(c.Capture(), &::DeleteObject);
        orvtest::SaveBitmapFile(static_cast<HBITMAP>(shot.get()), orvtest::ArtifactPath("header-close-hovered.bmp"));
        EXPECT_EQ(c.At(static_cast<HBITMAP>(shot.get()), kHeaderLeft + kFirstButton + 24 + 5,
                       kHeaderTop + kButtonTop + 4),
                  ButtonColor(kClose, 1));
    }
    c.Hover(HTMAXBUTTON);
    EXPECT_EQ(c.header.GetHoveredButton(), hbMaximize);
    c.Hover(HTMINBUTTON);
    EXPECT_EQ(c.header.GetHoveredButton(), hbMinimize);
    // The cursor leaves and stays still: the timer notices the move.
    ::SetCursorPos(2, 2);
    EXPECT_TRUE(orvtest::PumpUntil([&] { return c.header.GetHoveredButton() == hbNone; }, 10000));
    c.Hover(HTCAPTION);
    EXPECT_EQ(c.header.GetHoveredButton(), hbNone);
}

TEST(SkinnedHeader, MaximiseRefusedKeepsTheMaximiseButton) {
    HeaderedControl c;  // a child: DoMaximize refuses
    c.Hover(HTMAXBUTTON);
    c.Click();
    EXPECT_EQ(c.control->maximizeCalls, 1);
    EXPECT_TRUE(c.header.GetButtonMaximize());
    EXPECT_FALSE(c.header.GetButtonRestore());
    EXPECT_FALSE(c.header.GetButtonIsPressed());
}

TEST(SkinnedHeader, ATopLevelWindowMaximisesRestoresAndClosesFromItsButtons) {
    HeaderedControl c(true);
    HWND window = c.Window();
    c.Hover(HTMAXBUTTON);
    c.Click();
    EXPECT_TRUE(::IsZoomed(window));
    EXPECT_TRUE(c.header.GetButtonRestore()) << "the restore picture while maximised";
    std::unique_ptr<void, decltype(&::DeleteObject)> shot(c.Capture(), &::DeleteObject);
    orvtest::SaveBitmapFile(static_cast<HBITMAP>(shot.get()), orvtest::ArtifactPath("header-maximised.bmp"));
    // The header follows the new width: the restore button at its right end.
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    const int headerWidth = bounds.right - bounds.left - 10;
    EXPECT_EQ(c.At(static_cast<HBITMAP>(shot.get()), kHeaderLeft + headerWidth - 24 + 5, kHeaderTop + kButtonTop + 4),
              ButtonColor(kRestore, 0));

    c.Hover(HTMAXBUTTON);
    EXPECT_EQ(c.header.GetHoveredButton(), hbRestore) << "the maximise place hovers restore now";
    c.Click();
    EXPECT_FALSE(::IsZoomed(window));
    EXPECT_TRUE(c.header.GetButtonMaximize());

    // Released over another button: nothing happens.
    c.Hover(HTCLOSE);
    ::SendMessageA(window, WM_NCLBUTTONDOWN, 0, 0);
    EXPECT_EQ(c.header.GetPressedButton(), hbClose);
    c.Hover(HTMINBUTTON);
    ::SendMessageA(window, WM_NCLBUTTONUP, 0, 0);
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_FALSE(::IsIconic(window));

    c.Hover(HTMINBUTTON);
    c.Click();
    EXPECT_TRUE(::IsIconic(window));
    c.control->DoRestore();
    c.Hover(HTCLOSE);
    c.Click();
    EXPECT_FALSE(::IsWindow(window)) << "close ends the window";
}

TEST(SkinnedHeader, WithoutAHoveredButtonThePressIsTheSystemsAndCopiesCarryEverything) {
    HeaderedControl c;
    UINT message = WM_NCLBUTTONDOWN;
    WPARAM wParam = HTCAPTION;
    LPARAM lParam = 0;
    BOOL handled = TRUE;
    c.control->ProcessMessages(message, wParam, lParam, handled);
    EXPECT_FALSE(handled) << "nothing hovered: default processing";
    EXPECT_FALSE(c.header.GetButtonIsPressed());

    ClsSkinnedHeader copy(c.header);
    EXPECT_STREQ(copy.GetCaption(), "Search the network");
    EXPECT_EQ(copy.GetWidth(), 20);
    EXPECT_EQ(copy.GetBorder(), c.header.GetBorder());
    EXPECT_TRUE(copy.GetButtonClose());
    EXPECT_EQ(copy.GetButton(hbClose)->GetWidth(), kButtonWidth);
    EXPECT_NE(copy.GetButton(hbClose)->GetImage().GetHandle(), c.header.GetButton(hbClose)->GetImage().GetHandle());
    EXPECT_EQ(copy.GetParent(), c.control.get());

    // A control that dies lets go of its header.
    c.control.reset();
    EXPECT_EQ(c.header.GetParent(), nullptr);
}
