// CSWindow with its caption (CCaption) and frame (CBorder) on real frame
// windows under Xvfb: the client area kept on installing and on skin
// changes, every non-client pixel drawn from the records (and none by the
// system, whatever happens to the window), the shape cut by the caption's
// magenta corners, the caption buttons' states, hit testing, the buttons'
// actions through messages and through real mouse input, the fallback to
// the system without records, and the system menu.
#include "CSWindow.h"
#include "CSkin.h"
#include "SkinnedNonClient.h"
#include "WindowTestFixture.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace wintest;

namespace {
// Thickness of the non-client area on each side: left, top, right, bottom.
CRect Insets(HWND window) {
    const CRect bounds = WindowOnScreen(window), client = ClientOnScreen(window);
    return CRect(client.left - bounds.left, client.top - bounds.top, bounds.right - client.right,
                 bounds.bottom - client.bottom);
}

CPoint Centre(const CRect& rect) { return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2); }

UINT HitTestAt(HWND window, POINT windowPoint) {
    const CRect bounds = WindowOnScreen(window);
    return static_cast<UINT>(::SendMessageA(window, WM_NCHITTEST, 0,
                                            MAKELPARAM(bounds.left + windowPoint.x, bounds.top + windowPoint.y)));
}

void Show(HWND window) {
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    ::SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
    orvtest::PumpPending();
}

class SkinnedFrame : public SkinnedWindowTest {
protected:
    NonClientView View(const WindowSkin& skin, bool active = true, bool onScreen = false) {
        NonClientView view;
        view.skin = &skin;
        view.active = active;
        view.onScreen = onScreen;
        return view;
    }
};
}  // namespace

TEST_F(SkinnedFrame, InstallingKeepsTheClientAreaWhereItWasAndTakesTheSkinsWidths) {
    TestFrame frame;
    Show(frame);
    const CRect client = ClientOnScreen(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    EXPECT_EQ(ClientOnScreen(frame), client) << "same size, same place on the screen";
    const CaptionSkin& caption = *Daylight().caption.Get();
    const FrameSkin& border = *Daylight().frame.Get();
    EXPECT_EQ(Insets(frame), CRect(border.Border.LeftBorderWidth, caption.Border.InterationStep,
                                   border.Border.RightBorderWidth, border.Border.BottomBorderWidth));
    EXPECT_TRUE(skin.GetCaption().IsSkinned());
    EXPECT_TRUE(skin.GetBorder().IsSkinned());
    EXPECT_EQ(skin.GetCaption().GetCaptionText(), CString("Orvane frame")) << "the title set before installing";

    CString theme;
    ::SendMessageA(frame, CComponent::WM_GET_SKIN_THEMA, 0, reinterpret_cast<LPARAM>(&theme));
    EXPECT_EQ(theme, CString("MainFrame"));
    EXPECT_EQ(skin.GetCaption().GetOwnerSkinName(), CString("MainFrame\\caption"));
    EXPECT_EQ(skin.GetBorder().GetOwnerSkinName(), CString("MainFrame\\border"));

    EXPECT_FALSE(skin.Install(nullptr, "MainFrame"));
    EXPECT_FALSE(skin.Install(reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x7654)), "MainFrame"));
    EXPECT_EQ(ClientOnScreen(frame), client) << "a failed install leaves the window as the system has it";
}

TEST_F(SkinnedFrame, CaptionAndFrameAreDrawnFromTheRecordsActiveAndInactive) {
    TestFrame frame;
    Show(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    ::SendMessageA(frame, WM_NCACTIVATE, TRUE, 0);
    orvtest::PumpPending();
    const Pixels active = CaptureWindow(frame);
    active.Save("frame-daylight-active.bmp");
    EXPECT_TRUE(ShowsSkinnedNonClient(active, frame, View(Daylight())));
    EXPECT_GT(WrittenPixels(active, frame, *Daylight().caption.Get(), true), 40) << "icon and title written";
    EXPECT_TRUE(skin.GetCaption().GetActive());

    ::SendMessageA(frame, WM_NCACTIVATE, FALSE, 0);
    const Pixels inactive = CaptureWindow(frame);
    inactive.Save("frame-daylight-inactive.bmp");
    EXPECT_TRUE(ShowsSkinnedNonClient(inactive, frame, View(Daylight(), false)));
    EXPECT_FALSE(skin.GetCaption().GetActive());
}

TEST_F(SkinnedFrame, TheShapeCutsTheCaptionEndsMagentaPixelsAwayOnTheScreen) {
    TestFrame frame;
    Show(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    const CaptionSkin& caption = *Daylight().caption.Get();
    const ControlBorderInfo_t& cells = caption.Border;
    const Pixels image = ImagePixels(caption.CaptionImage);
    const CRect bounds = WindowOnScreen(frame);

    CRgn shape;
    shape.CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(frame, shape), ERROR) << "the window has a shape";
    int cut = 0;
    for (int y = 0; y < cells.LeftBorderLength; ++y) {
        for (int x = 0; x < cells.LeftBorderWidth; ++x) {
            const bool magenta = image.At(cells.LeftBorderX + x, cells.LeftBorderY + y) == kMagenta;
            cut += magenta;
            EXPECT_EQ(shape.PtInRegion(x, y), !magenta) << "left end (" << x << ", " << y << ")";
        }
    }
    EXPECT_GT(cut, 0) << "the shipped caption has round corners";
    for (int x = 0; x < cells.RightBorderWidth; ++x) {
        const bool magenta = image.At(cells.RightBorderX + x, cells.RightBorderY) == kMagenta;
        EXPECT_EQ(shape.PtInRegion(bounds.Width() - cells.RightBorderWidth + x, 0), !magenta) << "right end " << x;
    }
    EXPECT_TRUE(shape.PtInRegion(0, bounds.Height() - 1)) << "below the caption the whole window";
    EXPECT_TRUE(shape.PtInRegion(bounds.Width() / 2, 0));

    CRgn region;
    ASSERT_TRUE(skin.GetCaption().GetCaptionRegion(&region));
    EXPECT_FALSE(region.PtInRegion(bounds.Width() / 2, cells.InterationStep)) << "the caption ends above the client";

    // The screen shows the backdrop where the corners are cut away.
    ASSERT_TRUE(WaitForScreen(CPoint(bounds.left + 2, bounds.bottom - 2),
                              CaptureWindow(frame).At(2, bounds.Height() - 2)));
    const Pixels screen = CaptureScreen(bounds);
    screen.Save("frame-daylight-screen.bmp");
    NonClientView view = View(Daylight(), true, true);
    EXPECT_TRUE(ShowsSkinnedNonClient(screen, frame, view));
}

TEST_F(SkinnedFrame, NothingOfTheSystemCaptionShowsWhateverHappensToTheWindow) {
    TestFrame frame;
    Show(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    const CaptionSkin& caption = *Daylight().caption.Get();
    const Pixels before = CaptureWindow(frame);

    // Each of these makes the system paint its own caption and frame on a
    // window it draws itself; the picture is taken right after each.
    const char* const title = "Contacts of Jane Doe - a title long enough to be cut with an ellipsis at its end";
    ::SetWindowTextA(frame, title);
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, View(Daylight()))) << "a new title";
    EXPECT_EQ(skin.GetCaption().GetCaptionText(), CString(title));
    char text[128] = {};
    ::GetWindowTextA(frame, text, sizeof text);
    EXPECT_STREQ(text, title) << "the system keeps the text";
    ::SendMessageA(frame, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(::LoadIconA(nullptr, IDI_WARNING)));
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, View(Daylight()))) << "a new icon";
    ::SendMessageA(frame, WM_NCACTIVATE, FALSE, 0);
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, View(Daylight(), false))) << "deactivated";
    ::SendMessageA(frame, WM_NCACTIVATE, TRUE, 0);
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, View(Daylight()))) << "activated";
    ::SendMessageA(frame, WM_SYSCOLORCHANGE, 0, 0);
    ::SetWindowPos(frame, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    ::RedrawWindow(frame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    orvtest::PumpPending();

    const Pixels after = CaptureWindow(frame);
    after.Save("frame-daylight-new-title.bmp");
    EXPECT_TRUE(ShowsSkinnedNonClient(after, frame, View(Daylight())));
    int changed = 0;
    const CRect area = CaptionTextArea(frame, caption);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) changed += before.At(x, y) != after.At(x, y);
    EXPECT_GT(changed, 40) << "the new title and icon are in the caption";

    // Resized, the caption follows the new width and the shape with it.
    ::SetWindowPos(frame, nullptr, 0, 0, 520, 340, SWP_NOMOVE | SWP_NOZORDER);
    orvtest::PumpPending();
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, View(Daylight())));
    CRgn shape;
    shape.CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(frame, shape), ERROR);
    RECT box{};
    shape.GetRgnBox(&box);
    EXPECT_EQ(box.right, 520);
    EXPECT_EQ(box.bottom, 340);
}

TEST_F(SkinnedFrame, CaptionButtonsShowTheirStatesFromThePictureGrid) {
    TestFrame frame("States", WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX);
    Show(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    const CaptionSkin& caption = *Daylight().caption.Get();
    CRect buttons[3];
    CaptionButtonRects(frame, caption, buttons);
    const CRect bounds = WindowOnScreen(frame);
    const auto rows = [&](int close, int maximize, int minimize) {
        NonClientView view = View(Daylight());
        view.rows[0] = close;
        view.rows[1] = maximize;
        view.rows[2] = minimize;
        return view;
    };
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, rows(0, 0, 3)))
        << "without a minimise box that button is disabled";
    EXPECT_FALSE(skin.GetCaption().GetButton(2)->GetEnabled());

    const auto screenPoint = [&](const CRect& button) {
        const CPoint centre = Centre(button);
        return MAKELPARAM(bounds.left + centre.x, bounds.top + centre.y);
    };
    ::SendMessageA(frame, WM_NCMOUSEMOVE, HTCLOSE, screenPoint(buttons[0]));
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, rows(1, 0, 3))) << "close hovered";
    ::SendMessageA(frame, WM_NCMOUSEMOVE, HTMAXBUTTON, screenPoint(buttons[1]));
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, rows(0, 1, 3))) << "maximise hovered";
    ::SendMessageA(frame, WM_NCLBUTTONDOWN, HTMAXBUTTON, screenPoint(buttons[1]));
    const Pixels pressed = CaptureWindow(frame);
    pressed.Save("frame-daylight-maximise-pressed.bmp");
    EXPECT_TRUE(ShowsSkinnedNonClient(pressed, frame, rows(0, 2, 3))) << "maximise pressed";
    EXPECT_EQ(::GetCapture(), frame.GetSafeHwnd()) << "the caption follows the mouse while pressed";

    // Dragged off the button it pops out; released there, nothing happens.
    ::SendMessageA(frame, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, rows(0, 0, 3))) << "dragged off";
    ::SendMessageA(frame, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_NE(::GetCapture(), frame.GetSafeHwnd());
    EXPECT_FALSE(::IsZoomed(frame));
    EXPECT_TRUE(frame.commands.empty());

    // The disabled minimise button neither presses nor acts.
    ::SendMessageA(frame, WM_NCLBUTTONDOWN, HTMINBUTTON, screenPoint(buttons[2]));
    EXPECT_NE(::GetCapture(), frame.GetSafeHwnd());
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, rows(0, 0, 3)));

    // A tool window has only its close button.
    TestFrame tool("Tool", WS_OVERLAPPEDWINDOW, 200, 150, 300, 200);
    ::SetWindowLongPtrA(tool, GWL_EXSTYLE, ::GetWindowLongPtrA(tool, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    Show(tool);
    CSWindow toolSkin;
    ASSERT_TRUE(toolSkin.Install(tool, "MainFrame"));
    EXPECT_EQ(toolSkin.GetCaption().GetCaptionStyle(), csCloseOnly);
    const Pixels toolShot = CaptureWindow(tool);
    toolShot.Save("frame-daylight-tool-window.bmp");
    EXPECT_TRUE(ShowsSkinnedNonClient(toolShot, tool, View(Daylight())));
    EXPECT_TRUE(toolSkin.GetCaption().GetButton(0)->GetVisible());
    EXPECT_FALSE(toolSkin.GetCaption().GetButton(1)->GetVisible());
    EXPECT_FALSE(toolSkin.GetCaption().GetButton(2)->GetVisible());
}

TEST_F(SkinnedFrame, HoveringEndsOnceTheCursorHasLeftTheButton) {
    TestFrame frame;
    Show(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    CRect buttons[3];
    CaptionButtonRects(frame, *Daylight().caption.Get(), buttons);
    const CRect bounds = WindowOnScreen(frame);
    const CPoint over = Centre(buttons[0]) + CPoint(bounds.left, bounds.top);
    ::SetCursorPos(over.x, over.y);
    ::SendMessageA(frame, WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(over.x, over.y));
    EXPECT_TRUE(skin.GetCaption().GetButton(0)->GetHover());
    orvtest::PumpPending();
    EXPECT_TRUE(skin.GetCaption().GetButton(0)->GetHover()) << "still over it";

    const CPoint away = Centre(ClientOnScreen(frame));
    ::SetCursorPos(away.x, away.y);
    EXPECT_TRUE(orvtest::PumpUntil([&] { return !skin.GetCaption().GetButton(0)->GetHover(); }))
        << "the hover timer notices the cursor left";
    NonClientView view;
    view.skin = &Daylight();
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, view));
}

TEST_F(SkinnedFrame, HitTestingAnswersButtonsSizingStripsFramesAndCaption) {
    TestFrame frame;
    Show(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    const CaptionSkin& caption = *Daylight().caption.Get();
    const int width = WindowOnScreen(frame).Width(), height = WindowOnScreen(frame).Height();
    const int strip = caption.FrameHeight, corner = ::GetSystemMetrics(SM_CXICON);
    const int captionHeight = caption.Border.InterationStep;
    CRect buttons[3];
    CaptionButtonRects(frame, caption, buttons);

    EXPECT_EQ(HitTestAt(frame, Centre(buttons[0])), static_cast<UINT>(HTCLOSE));
    EXPECT_EQ(HitTestAt(frame, Centre(buttons[1])), static_cast<UINT>(HTMAXBUTTON));
    EXPECT_EQ(HitTestAt(frame, Centre(buttons[2])), static_cast<UINT>(HTMINBUTTON));
    EXPECT_EQ(HitTestAt(frame, CPoint(width / 2, strip - 1)), static_cast<UINT>(HTTOP));
    EXPECT_EQ(HitTestAt(frame, CPoint(corner - 1, 1)), static_cast<UINT>(HTTOPLEFT));
    // Right of the close button, which the shipped skin puts one pixel from the edge.
    EXPECT_EQ(HitTestAt(frame, CPoint(width - 1, 1)), static_cast<UINT>(HTTOPRIGHT));
    EXPECT_EQ(HitTestAt(frame, CPoint(buttons[2].left - 1, 1)), static_cast<UINT>(HTTOP));
    EXPECT_EQ(HitTestAt(frame, CPoint(caption.FrameWidth - 1, captionHeight / 2)), static_cast<UINT>(HTTOPLEFT));
    EXPECT_EQ(HitTestAt(frame, CPoint(width - 1, captionHeight / 2)), static_cast<UINT>(HTTOPRIGHT));
    EXPECT_EQ(HitTestAt(frame, CPoint(buttons[2].left - 1, captionHeight / 2)), static_cast<UINT>(HTCAPTION));
    EXPECT_EQ(HitTestAt(frame, CPoint(width / 2, strip)), static_cast<UINT>(HTCAPTION));
    EXPECT_EQ(HitTestAt(frame, CPoint(corner + 5, captionHeight / 2)), static_cast<UINT>(HTCAPTION));
    EXPECT_EQ(HitTestAt(frame, CPoint(1, height / 2)), static_cast<UINT>(HTLEFT));
    EXPECT_EQ(HitTestAt(frame, CPoint(width - 1, height / 2)), static_cast<UINT>(HTRIGHT));
    EXPECT_EQ(HitTestAt(frame, CPoint(width / 2, height - 1)), static_cast<UINT>(HTBOTTOM));
    EXPECT_EQ(HitTestAt(frame, CPoint(1, height - 1)), static_cast<UINT>(HTBOTTOMLEFT));
    EXPECT_EQ(HitTestAt(frame, CPoint(width - 1, height - 1)), static_cast<UINT>(HTBOTTOMRIGHT));
    EXPECT_EQ(HitTestAt(frame, CPoint(width / 2, height / 2)), static_cast<UINT>(HTCLIENT));

    // Maximised, nothing sizes any more.
    ::ShowWindow(frame, SW_MAXIMIZE);
    EXPECT_EQ(HitTestAt(frame, CPoint(WindowOnScreen(frame).Width() / 2, 1)), static_cast<UINT>(HTCAPTION));

    // A window of fixed size has its caption and plain borders.
    TestFrame fixed("Fixed", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 150, 120, 300, 200);
    Show(fixed);
    CSWindow fixedSkin;
    ASSERT_TRUE(fixedSkin.Install(fixed, "MainFrame"));
    EXPECT_EQ(HitTestAt(fixed, CPoint(150, 1)), static_cast<UINT>(HTCAPTION));
    EXPECT_EQ(HitTestAt(fixed, CPoint(1, 1 + captionHeight / 2)), static_cast<UINT>(HTCAPTION));
    EXPECT_EQ(HitTestAt(fixed, CPoint(1, 150)), static_cast<UINT>(HTBORDER));
    EXPECT_EQ(HitTestAt(fixed, CPoint(150, WindowOnScreen(fixed).Height() - 1)), static_cast<UINT>(HTBORDER));
}

TEST_F(SkinnedFrame, TheButtonsMaximiseRestoreMinimiseAndClose) {
    TestFrame frame;
    Show(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    const CaptionSkin& caption = *Daylight().caption.Get();
    const FrameSkin& border = *Daylight().frame.Get();
    const CRect normal = WindowOnScreen(frame);
    const auto press = [&](int index, UINT hitTest) {
        CRect buttons[3];
        CaptionButtonRects(frame, caption, buttons);
        const CRect bounds = WindowOnScreen(frame), client = ClientOnScreen(frame);
        const CPoint at = Centre(buttons[index]) + CPoint(bounds.left, bounds.top);
        ::SendMessageA(frame, WM_NCLBUTTONDOWN, hitTest, MAKELPARAM(at.x, at.y));
        // Captured, the release comes in client coordinates.
        ::SendMessageA(frame, WM_LBUTTONUP, 0, MAKELPARAM(at.x - client.left, at.y - client.top));
        orvtest::PumpPending();
    };

    press(1, HTMAXBUTTON);
    ASSERT_TRUE(::IsZoomed(frame));
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(WindowOnScreen(frame),
              CRect(work.left - border.Border.LeftBorderWidth, work.top, work.right + border.Border.RightBorderWidth,
                    work.bottom + border.Border.BottomBorderWidth))
        << "the caption along the work area's top, the frames beyond its edges";
    // Released over it, the button stays hovered until the cursor is seen elsewhere.
    ::SetCursorPos(work.left + 50, work.top + 200);
    ASSERT_TRUE(orvtest::PumpUntil([&] { return !skin.GetCaption().GetButton(1)->GetHover(); }));
    const Pixels maximised = CaptureWindow(frame);
    maximised.Save("frame-daylight-maximised.bmp");
    NonClientView view;
    view.skin = &Daylight();
    EXPECT_TRUE(ShowsSkinnedNonClient(maximised, frame, view)) << "the maximise button shows restore";
    EXPECT_EQ(skin.GetCaption().GetButton(1)->GetColumn(), CCaptionButton::kColumnRestore);

    press(1, HTMAXBUTTON);
    EXPECT_FALSE(::IsZoomed(frame));
    EXPECT_EQ(WindowOnScreen(frame), normal);
    EXPECT_EQ(skin.GetCaption().GetButton(1)->GetColumn(), CCaptionButton::kColumnMaximize);

    press(2, HTMINBUTTON);
    EXPECT_TRUE(::IsIconic(frame));
    ::ShowWindow(frame, SW_RESTORE);
    orvtest::PumpPending();
    EXPECT_EQ(WindowOnScreen(frame), normal);

    press(0, HTCLOSE);
    EXPECT_TRUE(frame.closed);
    EXPECT_FALSE(::IsWindow(frame));
    const std::vector<UINT> expected = {SC_MAXIMIZE, SC_RESTORE, SC_MINIMIZE, SC_CLOSE};
    EXPECT_EQ(frame.commands, expected);
}

TEST_F(SkinnedFrame, RealMouseInputReachesTheCaptionButtons) {
    TestFrame frame;
    Show(frame);
    ::SetForegroundWindow(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    orvtest::PumpPending();
    CRect buttons[3];
    CaptionButtonRects(frame, *Daylight().caption.Get(), buttons);
    const CRect bounds = WindowOnScreen(frame);
    const auto clickAt = [](CPoint at) {
        ::SetCursorPos(at.x, at.y);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        return ::SendInput(2, input, sizeof(INPUT)) == 2;
    };
    ASSERT_TRUE(clickAt(Centre(buttons[1]) + bounds.TopLeft()));
    EXPECT_TRUE(orvtest::PumpUntil([&] { return ::IsZoomed(frame) != 0; })) << "maximised by a click";

    CRect restored[3];
    CaptionButtonRects(frame, *Daylight().caption.Get(), restored);
    ASSERT_TRUE(clickAt(Centre(restored[0]) + WindowOnScreen(frame).TopLeft()));
    EXPECT_TRUE(orvtest::PumpUntil([&] { return frame.closed; })) << "closed by a click";
    ::SetCursorPos(0, 0);
}

TEST_F(SkinnedFrame, WithoutRecordsTheSystemKeepsItsCaptionAndFrame) {
    UnregisterWindowSkin();
    TestFrame frame;
    Show(frame);
    const CRect client = ClientOnScreen(frame), insets = Insets(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    EXPECT_FALSE(skin.GetCaption().IsSkinned());
    EXPECT_FALSE(skin.GetBorder().IsSkinned());
    EXPECT_EQ(skin.GetCaption().GetHeight(), ::GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(ClientOnScreen(frame), client);
    EXPECT_EQ(Insets(frame), insets) << "the system's caption height and frame";
    CRgn shape;
    shape.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(frame, shape), ERROR) << "no shape";
    const CRect bounds = WindowOnScreen(frame);
    EXPECT_EQ(HitTestAt(frame, CPoint(bounds.Width() / 2, insets.top - 2)), static_cast<UINT>(HTCAPTION));

    // A record of another kind under the name is no caption record.
    CSkinRecordRef<BackgroundSkin> stranger(NewRecord<BackgroundSkin>());
    RegisterRecord("MainFrame", "caption", stranger.Get());
    ::SendMessageA(frame, CSkin::WM_SKIN_CHANGED, 0, 0);
    EXPECT_FALSE(skin.GetCaption().IsSkinned());
    EXPECT_EQ(Insets(frame), insets);

    // A record without height cannot make a caption either.
    CSkinRecordRef<CaptionSkin> flat(NewRecord<CaptionSkin>());
    RegisterRecord("MainFrame", "caption", flat.Get());
    ::SendMessageA(frame, CSkin::WM_SKIN_CHANGED, 0, 0);
    EXPECT_FALSE(skin.GetCaption().IsSkinned());
    EXPECT_EQ(ClientOnScreen(frame), client);
}

TEST_F(SkinnedFrame, ASkinChangeToGraphiteRedrawsEverythingAroundTheSameClientArea) {
    TestFrame frame;
    Show(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    const CRect client = ClientOnScreen(frame);
    const CRect bounds = WindowOnScreen(frame);
    ASSERT_TRUE(WaitForScreen(CPoint(bounds.left + 2, bounds.bottom - 2), CaptureWindow(frame).At(2, bounds.Height() - 2)));
    CaptureScreen(bounds).Save("frame-daylight.bmp");

    RegisterWindowSkin(Graphite());
    ::SendMessageA(frame, CSkin::WM_SKIN_CHANGED, 0, 0);
    orvtest::PumpPending();
    EXPECT_EQ(ClientOnScreen(frame), client);
    NonClientView view;
    view.skin = &Graphite();
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, view));
    ASSERT_TRUE(WaitForScreen(CPoint(bounds.left + 2, bounds.bottom - 2), CaptureWindow(frame).At(2, bounds.Height() - 2)));
    const Pixels screen = CaptureScreen(WindowOnScreen(frame));
    screen.Save("frame-graphite.bmp");
    view.onScreen = true;
    EXPECT_TRUE(ShowsSkinnedNonClient(screen, frame, view));

    // Posted, as the skin reader posts it to every top-level window.
    RegisterWindowSkin(Daylight());
    ::PostMessageA(frame, CSkin::WM_SKIN_CHANGED, 0, 0);
    orvtest::PumpPending();
    view.skin = &Daylight();
    view.onScreen = false;
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, view));
    EXPECT_EQ(ClientOnScreen(frame), client);
}

TEST_F(SkinnedFrame, WiderFramesAndATallerCaptionGrowTheWindowAroundItsClientArea) {
    TestFrame frame;
    Show(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    const CRect client = ClientOnScreen(frame);

    // Daylight's pictures with wider cells: the frame images' cells are
    // repeated by the stretch, the rest filled with the frame's colour.
    CSkinRecordRef<FrameSkin> wide(NewRecord<FrameSkin>());
    wide->Border = Daylight().frame->Border;
    wide->Border.LeftBorderWidth = 11;
    wide->Border.RightBorderWidth = 9;
    wide->Border.BottomBorderWidth = 13;
    wide->LeftFrameImage = Daylight().frame->LeftFrameImage;
    wide->RightFrameImage = Daylight().frame->RightFrameImage;
    wide->BottomFrameImage = Daylight().frame->BottomFrameImage;
    CSkinRecordRef<CaptionSkin> tall(NewRecord<CaptionSkin>());
    const CaptionSkin& daylight = *Daylight().caption.Get();
    tall->Border = daylight.Border;
    tall->Border.InterationStep = 44;
    tall->CaptionImage = daylight.CaptionImage;
    tall->ButtonsImage = daylight.ButtonsImage;
    tall->ButtonWidth = daylight.ButtonWidth;
    tall->ButtonHeight = daylight.ButtonHeight;
    tall->Font = daylight.Font;
    RegisterRecord("MainFrame", "border", wide.Get());
    RegisterRecord("MainFrame", "caption", tall.Get());
    ::SendMessageA(frame, CSkin::WM_SKIN_CHANGED, 0, 0);
    orvtest::PumpPending();
    EXPECT_EQ(ClientOnScreen(frame), client) << "the client area stays where it was";
    EXPECT_EQ(Insets(frame), CRect(11, 44, 9, 13));
    CaptureWindow(frame).Save("frame-wide-frames.bmp");

    // And back to the narrow ones.
    RegisterWindowSkin(Daylight());
    ::SendMessageA(frame, CSkin::WM_SKIN_CHANGED, 0, 0);
    EXPECT_EQ(ClientOnScreen(frame), client);
    EXPECT_EQ(Insets(frame).top, daylight.Border.InterationStep);
}

TEST_F(SkinnedFrame, UninstallingGivesTheSystemLookBackAroundTheSameClientArea) {
    TestFrame frame;
    Show(frame);
    const CRect insets = Insets(frame);
    auto skin = std::make_unique<CSWindow>();
    ASSERT_TRUE(skin->Install(frame, "MainFrame"));
    const CRect client = ClientOnScreen(frame);
    skin.reset();
    EXPECT_EQ(ClientOnScreen(frame), client);
    EXPECT_EQ(Insets(frame), insets);
    CRgn shape;
    shape.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(frame, shape), ERROR);
    CString theme;
    ::SendMessageA(frame, CComponent::WM_GET_SKIN_THEMA, 0, reinterpret_cast<LPARAM>(&theme));
    EXPECT_TRUE(theme.IsEmpty());

    // A component whose window went first has nothing left to do.
    auto orphan = std::make_unique<CSWindow>();
    {
        TestFrame gone("Gone");
        ASSERT_TRUE(orphan->Install(gone, "MainFrame"));
    }
    EXPECT_FALSE(orphan->IsHooked());
    orphan.reset();
}

namespace {
// Looks at the window while its system menu is open, then closes the menu.
struct MenuWatch {
    static MenuWatch* current;
    HWND window = nullptr;
    const WindowSkin* skin = nullptr;
    bool menuSeen = false;
    bool skinned = false;
    UINT_PTR timer = 0;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MenuWatch* watch = current;
        if (!watch) return;
        HWND menu = ::FindWindowA("#32768", nullptr);
        if (!menu || !::IsWindowVisible(menu)) return;
        watch->menuSeen = true;
        NonClientView view;
        view.skin = watch->skin;
        view.active = true;
        watch->skinned = ShowsSkinnedNonClient(CaptureWindow(watch->window), watch->window, view);
        ::EndMenu();
    }
};
MenuWatch* MenuWatch::current = nullptr;
}  // namespace

TEST_F(SkinnedFrame, TheWindowMenuKeyAndTheCaptionsContextMenuShowTheSystemMenu) {
    TestFrame frame;
    Show(frame);
    ::SetForegroundWindow(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));
    ::SendMessageA(frame, WM_NCACTIVATE, TRUE, 0);
    MenuWatch watch;
    watch.window = frame;
    watch.skin = &Daylight();
    MenuWatch::current = &watch;
    watch.timer = ::SetTimer(nullptr, 0, 20, &MenuWatch::Tick);

    ::SendMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    EXPECT_TRUE(watch.menuSeen) << "Alt+Space opens the system menu";
    EXPECT_TRUE(watch.skinned) << "with the skinned caption untouched";

    watch.menuSeen = watch.skinned = false;
    const CRect bounds = WindowOnScreen(frame);
    const LPARAM at = MAKELPARAM(bounds.left + bounds.Width() / 2, bounds.top + 12);
    ::SendMessageA(frame, WM_NCRBUTTONDOWN, HTCAPTION, at);
    ::SendMessageA(frame, WM_NCRBUTTONUP, HTCAPTION, at);
    EXPECT_TRUE(watch.menuSeen) << "a right click on the caption opens it";
    EXPECT_TRUE(watch.skinned);

    // Alt alone tracks nothing on a window without a menu bar.
    watch.menuSeen = false;
    ::SendMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_FALSE(watch.menuSeen);

    ::KillTimer(nullptr, watch.timer);
    MenuWatch::current = nullptr;
    orvtest::PumpPending();
    EXPECT_FALSE(frame.closed) << "closing the menu chose nothing";
    NonClientView view;
    view.skin = &Daylight();
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, view));
}

TEST_F(SkinnedFrame, OddRecordsAndSizesNeverBreakTheWindow) {
    TestFrame frame;
    Show(frame);
    CSWindow skin;
    ASSERT_TRUE(skin.Install(frame, "MainFrame"));

    // A caption whose picture did not load is blue; its buttons are gone.
    CSkinRecordRef<CaptionSkin> blind(NewRecord<CaptionSkin>());
    blind->Border = Daylight().caption->Border;
    RegisterRecord("MainFrame", "caption", blind.Get());
    // Frames with cells far outside their pictures and negative widths.
    CSkinRecordRef<FrameSkin> odd(NewRecord<FrameSkin>());
    odd->Border = Daylight().frame->Border;
    odd->Border.LeftBorderX = 100000;
    odd->Border.BottomBorderY = -50;
    odd->Border.RightBorderWidth = -7;
    odd->LeftFrameImage = Daylight().frame->LeftFrameImage;
    odd->BottomFrameImage = Daylight().frame->BottomFrameImage;
    RegisterRecord("MainFrame", "border", odd.Get());
    ::SendMessageA(frame, CSkin::WM_SKIN_CHANGED, 0, 0);
    orvtest::PumpPending();
    const Pixels shot = CaptureWindow(frame);
    shot.Save("frame-caption-without-picture.bmp");
    const CRect bounds = WindowOnScreen(frame);
    EXPECT_EQ(shot.At(bounds.Width() / 2, 5), CCaption::kFailureColor);
    EXPECT_FALSE(skin.GetCaption().GetButton(0)->GetVisible());
    EXPECT_EQ(Insets(frame).right, 0) << "a negative width is none";
    EXPECT_EQ(shot.At(1, bounds.Height() / 2), Daylight().frame->Border.BgColor)
        << "a cell outside its picture leaves the frame's colour";

    // Sizes from nothing to very wide: drawing and hit testing keep working.
    RegisterWindowSkin(Daylight());
    ::SendMessageA(frame, CSkin::WM_SKIN_CHANGED, 0, 0);
    for (const SIZE size : {SIZE{1, 1}, SIZE{12, 200}, SIZE{60, 20}, SIZE{3000, 45}, SIZE{420, 300}}) {
        ::SetWindowPos(frame, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        ::RedrawWindow(frame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        const CRect now = WindowOnScreen(frame);
        for (int y = 0; y < now.Height(); y += 7)
            for (int x = 0; x < now.Width(); x += 13) HitTestAt(frame, CPoint(x, y));
        CRect client;
        ::GetClientRect(frame, &client);
        EXPECT_GE(client.Width(), 0);
        EXPECT_GE(client.Height(), 0);
    }
    EXPECT_TRUE(ShowsSkinnedNonClient(CaptureWindow(frame), frame, View(Daylight())));
}
