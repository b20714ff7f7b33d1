// ClsSkinnedControl on real windows under Xvfb: stored and followed bounds,
// positioning with and without deferred batches, the routing of every
// message to its handler, the frame in the non-client area and the content
// cell in the client area (captured), maximising with a frame, the system
// commands, ownership, and no GDI leak across a thousand skin changes.
#include "ClsBitMap.h"
#include "ClsSkinnedHeader.h"
#include "ControlsTestSupport.h"
#include "TestWindows.h"

#include "BitmapFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace ctltest;

namespace {
CRect WindowRectInParent(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return CRect(rect);
}

// Once armed, every handler logs its own name and the record it got, and
// leaves it handled, so the routing table can be checked message by
// message; unarmed, the base handlers run (the window is made that way).
class RoutingProbe : public TestControl {
public:
    using TestControl::TestControl;
    bool armed = false;
    std::string handler;
    WMMessage_t seen{};

#define ORV_PROBE(Name, View)                  \
    void Name(View& m) override {              \
        if (!armed) return TestControl::Name(m); \
        handler = #Name;                       \
        seen = m;                              \
    }
    ORV_PROBE(WMActivate, WMActivate_t)
    ORV_PROBE(WMActivateApp, WMActivateApp_t)
    ORV_PROBE(WMChar, WMKey_t)
    ORV_PROBE(WMCommand, WMCommand_t)
    ORV_PROBE(WMEraseBkGnd, WMEraseBkGnd_t)
    ORV_PROBE(WMGetMinMaxInfo, WMGetMinMaxInfo_t)
    ORV_PROBE(WMKeyDown, WMKey_t)
    ORV_PROBE(WMKeyUp, WMKey_t)
    ORV_PROBE(WMLButtonDown, WMMouse_t)
    ORV_PROBE(WMLButtonUp, WMMouse_t)
    ORV_PROBE(WMMouseMove, WMMouse_t)
    ORV_PROBE(WMMove, WMMove_t)
    ORV_PROBE(WMNcActivate, WMNCActivate_t)
    ORV_PROBE(WMNcCalcSize, WMNCCalcSize_t)
    ORV_PROBE(WMNcCreate, WMNCCreate_t)
    ORV_PROBE(WMNcDestroy, WMNoParams_t)
    ORV_PROBE(WMNcHitTest, WMNCHitTest_t)
    ORV_PROBE(WMNcLButtonDblClk, WMNCHitMessage_t)
    ORV_PROBE(WMNcLButtonDown, WMNCHitMessage_t)
    ORV_PROBE(WMNcLButtonUp, WMNCHitMessage_t)
    ORV_PROBE(WMNcMouseMove, WMNCHitMessage_t)
    ORV_PROBE(WMNcPaint, WMNCPaint_t)
    ORV_PROBE(WMNcRButtonDblClk, WMNCHitMessage_t)
    ORV_PROBE(WMNcRButtonDown, WMNCHitMessage_t)
    ORV_PROBE(WMNcRButtonUp, WMNCHitMessage_t)
    ORV_PROBE(WMNotify, WMNotify_t)
    ORV_PROBE(WMPaint, WMNoParams_t)
    ORV_PROBE(WMPaletteChanged, WMPaletteChanged_t)
    ORV_PROBE(WMQueryNewPalette, WMNoParams_t)
    ORV_PROBE(WMRButtonDown, WMMouse_t)
    ORV_PROBE(WMRButtonUp, WMMouse_t)
    ORV_PROBE(WMSetCursor, WMSetCursor_t)
    ORV_PROBE(WMSize, WMSize_t)
    ORV_PROBE(WMSysChar, WMKey_t)
    ORV_PROBE(WMSysCommand, WMSysCommand_t)
    ORV_PROBE(WMSysKeyDown, WMKey_t)
    ORV_PROBE(WMSysKeyUp, WMKey_t)
    ORV_PROBE(WMTimer, WMTimer_t)
    ORV_PROBE(WMWindowPosChanged, WMWindowPosMsg_t)
    ORV_PROBE(WMWindowPosChanging, WMWindowPosMsg_t)
#undef ORV_PROBE
};

// Turns key A into key B on its way to default processing, and answers
// WM_NCHITTEST itself.
class ChangingControl : public TestControl {
public:
    using TestControl::TestControl;

protected:
    void WMKeyDown(WMKey_t& m) override {
        if (m.CharCode() == 'A') m.WParam = 'B';
        m.Handled = FALSE;
    }
    void WMNcHitTest(WMNCHitTest_t& m) override { m.Result = HTBOTTOMRIGHT; }
};
}  // namespace

TEST(SkinnedControlBounds, WithoutAWindowOnlyTheStoredValuesChange) {
    HostWindow host;
    TestControl control(host);
    control.SetPos(10, 20, 100, 50);
    control.SetWidth(200);
    EXPECT_EQ(control.GetWidth(), 200);
    EXPECT_EQ(control.GetLeft(), 10);
    EXPECT_EQ(control.GetHeight(), 50);
    EXPECT_EQ(control.GetSafeHwndC(), nullptr) << "setting the place makes no window";
    HDWP batch = ::BeginDeferWindowPos(1);
    EXPECT_EQ(control.SetPos(batch, 11, 21, 201, 51), batch) << "no window: the batch comes back unused";
    ::EndDeferWindowPos(batch);
    EXPECT_EQ(control.GetLeft(), 11);

    HWND window = control.GetHandleC();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(control.GetHandleC(), window) << "made once";
    EXPECT_EQ(WindowRectInParent(window), CRect(11, 21, 212, 72)) << "created at the stored bounds";
    EXPECT_TRUE(control.GetIsResizable());
}

TEST(SkinnedControlBounds, ASetPosToTheSamePlaceMakesNoSystemCallAndOnlyChangesAreAsked) {
    HostWindow host;
    TestControl control(host);
    control.SetPos(5, 5, 80, 40);
    control.GetHandleC();
    orvtest::PumpPending();
    control.positionChanges = 0;
    control.SetPos(5, 5, 80, 40);
    EXPECT_EQ(control.positionChanges, 0);

    control.SetLeft(15);
    EXPECT_EQ(control.positionChanges, 1);
    EXPECT_TRUE(control.lastPositionFlags & SWP_NOSIZE) << "only moved";
    EXPECT_FALSE(control.lastPositionFlags & SWP_NOMOVE);
    EXPECT_TRUE(control.lastPositionFlags & SWP_NOZORDER);
    EXPECT_TRUE(control.lastPositionFlags & SWP_NOACTIVATE);
    control.SetHeight(60);
    EXPECT_TRUE(control.lastPositionFlags & SWP_NOMOVE) << "only sized";
    EXPECT_EQ(WindowRectInParent(control.GetSafeHwndC()), CRect(15, 5, 95, 65));
}

TEST(SkinnedControlBounds, ADeferredBatchMovesEveryControlAtItsEnd) {
    HostWindow host;
    TestControl first(host), second(host);
    first.SetPos(0, 0, 50, 50);
    second.SetPos(60, 0, 50, 50);
    first.GetHandleC();
    second.GetHandleC();
    HDWP batch = ::BeginDeferWindowPos(2);
    batch = first.SetPos(batch, 10, 100, 70, 30);
    batch = second.SetPos(batch, 90, 100, 70, 30);
    ASSERT_NE(batch, nullptr);
    EXPECT_EQ(WindowRectInParent(first.GetSafeHwndC()), CRect(0, 0, 50, 50)) << "nothing moves before the end";
    EXPECT_EQ(first.GetLeft(), 10) << "the stored values are the new ones already";
    ASSERT_TRUE(::EndDeferWindowPos(batch));
    EXPECT_EQ(WindowRectInParent(first.GetSafeHwndC()), CRect(10, 100, 80, 130));
    EXPECT_EQ(WindowRectInParent(second.GetSafeHwndC()), CRect(90, 100, 160, 130));
}

TEST(SkinnedControlBounds, StoredBoundsFollowTheWindowAndItsRestoredPlaceWhenMinimised) {
    HostWindow host;
    TestControl child(host);
    child.SetPos(0, 0, 40, 40);
    ::MoveWindow(child.GetHandleC(), 33, 44, 55, 66, TRUE);
    EXPECT_EQ(child.GetLeft(), 33);
    EXPECT_EQ(child.GetTop(), 44);
    EXPECT_EQ(child.GetWidth(), 55);
    EXPECT_EQ(child.GetHeight(), 66);

    TestControl top;
    top.SetPos(100, 120, 150, 90);
    HWND window = top.GetHandleC();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(top.GetLeft(), 100) << "screen coordinates for a top-level window";
    EXPECT_TRUE(top.DoMinimize());
    orvtest::PumpPending();
    ASSERT_TRUE(::IsIconic(window));
    EXPECT_EQ(top.GetWidth(), 150) << "the restored size, not the icon's";
    EXPECT_EQ(top.GetHeight(), 90);
    EXPECT_TRUE(top.DoRestore());
    EXPECT_FALSE(::IsIconic(window));
    EXPECT_FALSE(child.DoMinimize()) << "a child does nothing";
    EXPECT_FALSE(child.DoMaximize());
    EXPECT_FALSE(child.DoRestore());
    EXPECT_FALSE(child.DoClose());
    EXPECT_TRUE(::IsWindow(child.GetSafeHwndC()));
}

TEST(SkinnedControlRouting, EveryMessageReachesItsHandlerWithItsParameters) {
    HostWindow host;
    RoutingProbe probe(host);
    probe.SetPos(0, 0, 30, 30);

    UINT message = WM_PAINT;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    BOOL handled = TRUE;
    EXPECT_EQ(probe.ProcessMessages(message, wParam, lParam, handled), 0);
    EXPECT_FALSE(handled) << "without a window nothing is handled";
    EXPECT_TRUE(probe.handler.empty());

    probe.GetHandleC();
    const struct {
        UINT message;
        const char* handler;
    } table[] = {{WM_MOVE, "WMMove"}, {WM_SIZE, "WMSize"}, {WM_ACTIVATE, "WMActivate"},
                 {WM_PAINT, "WMPaint"}, {WM_ERASEBKGND, "WMEraseBkGnd"}, {WM_ACTIVATEAPP, "WMActivateApp"},
                 {WM_SETCURSOR, "WMSetCursor"}, {WM_GETMINMAXINFO, "WMGetMinMaxInfo"},
                 {WM_WINDOWPOSCHANGING, "WMWindowPosChanging"}, {WM_WINDOWPOSCHANGED, "WMWindowPosChanged"},
                 {WM_NOTIFY, "WMNotify"}, {WM_NCCREATE, "WMNcCreate"},
                 {WM_NCCALCSIZE, "WMNcCalcSize"}, {WM_NCHITTEST, "WMNcHitTest"}, {WM_NCPAINT, "WMNcPaint"},
                 {WM_NCACTIVATE, "WMNcActivate"}, {WM_NCMOUSEMOVE, "WMNcMouseMove"},
                 {WM_NCLBUTTONDOWN, "WMNcLButtonDown"}, {WM_NCLBUTTONUP, "WMNcLButtonUp"},
                 {WM_NCLBUTTONDBLCLK, "WMNcLButtonDblClk"}, {WM_NCRBUTTONDOWN, "WMNcRButtonDown"},
                 {WM_NCRBUTTONUP, "WMNcRButtonUp"}, {WM_NCRBUTTONDBLCLK, "WMNcRButtonDblClk"},
                 {WM_KEYDOWN, "WMKeyDown"}, {WM_KEYUP, "WMKeyUp"}, {WM_CHAR, "WMChar"},
                 {WM_SYSKEYDOWN, "WMSysKeyDown"}, {WM_SYSKEYUP, "WMSysKeyUp"}, {WM_SYSCHAR, "WMSysChar"},
                 {WM_COMMAND, "WMCommand"}, {WM_SYSCOMMAND, "WMSysCommand"}, {WM_TIMER, "WMTimer"},
                 {WM_MOUSEMOVE, "WMMouseMove"}, {WM_LBUTTONDOWN, "WMLButtonDown"},
                 {WM_LBUTTONUP, "WMLButtonUp"}, {WM_RBUTTONDOWN, "WMRButtonDown"},
                 {WM_RBUTTONUP, "WMRButtonUp"}, {WM_QUERYNEWPALETTE, "WMQueryNewPalette"},
                 {WM_PALETTECHANGED, "WMPaletteChanged"},
                 {WM_NCDESTROY, "WMNcDestroy"}};  // last: the control forgets its window after it
    probe.armed = true;
    for (const auto& entry : table) {
        probe.handler.clear();
        message = entry.message;
        wParam = 0x1234;
        lParam = MAKELPARAM(-7, 300);
        handled = FALSE;
        const LRESULT result = probe.ProcessMessages(message, wParam, lParam, handled);
        EXPECT_EQ(probe.handler, entry.handler) << "message 0x" << std::hex << entry.message;
        EXPECT_EQ(probe.seen.Msg, entry.message);
        EXPECT_EQ(probe.seen.WParam, 0x1234u);
        EXPECT_EQ(probe.seen.Result, 0) << "the result is 0 on entry";
        EXPECT_TRUE(probe.seen.Handled) << "handled on entry";
        EXPECT_TRUE(handled) << "the probe leaves it handled";
        EXPECT_EQ(result, 0);
    }
    // The views name the parameters.
    WMMouse_t mouse;
    static_cast<WMMessage_t&>(mouse) = probe.seen;
    EXPECT_EQ(mouse.XPos(), -7);
    EXPECT_EQ(mouse.YPos(), 300);
    EXPECT_EQ(mouse.Keys(), 0x1234u);

    EXPECT_EQ(probe.GetSafeHwndC(), nullptr) << "after WM_NCDESTROY the window is forgotten";
    probe.SetHandleC(probe.m_hWnd);

    probe.handler.clear();
    message = WM_USER + 77;
    handled = TRUE;
    EXPECT_EQ(probe.ProcessMessages(message, wParam, lParam, handled), 0);
    EXPECT_FALSE(handled) << "messages outside the table are not handled";
    EXPECT_TRUE(probe.handler.empty());
    probe.armed = false;
}

TEST(SkinnedControlRouting, AClearedFlagSendsTheChangedParametersOnAndAResultIsAnswered) {
    HostWindow host;
    ChangingControl control(host);
    control.SetPos(0, 0, 40, 40);
    HWND window = control.GetHandleC();
    ::SendMessageA(window, WM_KEYDOWN, 'A', 0);
    ::SendMessageA(window, WM_KEYDOWN, 'C', 0);
    ASSERT_EQ(control.keysSeen.size(), 2u);
    EXPECT_EQ(control.keysSeen[0], static_cast<UINT>('B')) << "default processing got the changed key";
    EXPECT_EQ(control.keysSeen[1], static_cast<UINT>('C'));
    EXPECT_EQ(::SendMessageA(window, WM_NCHITTEST, 0, 0), HTBOTTOMRIGHT);
    EXPECT_EQ(::SendMessageA(window, WM_ERASEBKGND, 0, 0), 1) << "the background counts as erased";
    EXPECT_EQ(::SendMessageA(window, WM_TIMER, 999, 0), 0);
}

TEST(SkinnedControlSkin, FrameInTheNonClientAreaContentInTheClientArea) {
    HostWindow host;
    NinePartSkin skin = MakeNinePartSkin();
    TestControl control(host);
    control.SetPos(20, 30, 61, 43);
    control.SetBorder(skin.frame.get());
    control.RealizeSkin();
    HWND window = control.GetSafeHwndC();
    ASSERT_NE(window, nullptr) << "RealizeSkin makes the window";
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, 61 - 4 - 6) << "the borders shrink the client area";
    EXPECT_EQ(client.bottom, 43 - 3 - 5);
    POINT origin{0, 0};
    ::MapWindowPoints(window, host, &origin, 1);
    EXPECT_EQ(origin.x, 20 + 4);
    EXPECT_EQ(origin.y, 30 + 3);

    ::UpdateWindow(host);
    orvtest::PumpPending();
    std::unique_ptr<void, decltype(&::DeleteObject)> shot(CaptureWindow(host), &::DeleteObject);
    ASSERT_TRUE(shot);
    orvtest::SaveBitmapFile(static_cast<HBITMAP>(shot.get()), orvtest::ArtifactPath("control-frame-and-content.bmp"));
    const std::vector<COLORREF> frame = ExpectedFrame(*skin.frame, 61, 43, kWhite);
    for (int y = 0; y < 43; ++y)
        for (int x = 0; x < 61; ++x) {
            const bool inClient = x >= 4 && x < 55 && y >= 3 && y < 38;
            const COLORREF want = inClient ? SkinImagePixel(32 + (x - 4) % 8, (y - 3) % 6)
                                           : frame[static_cast<size_t>(y) * 61 + x];
            ASSERT_EQ(orvtest::BitmapPixel(static_cast<HBITMAP>(shot.get()), 20 + x, 30 + y), want)
                << "control pixel (" << x << ", " << y << ")";
        }
    EXPECT_EQ(orvtest::BitmapPixel(static_cast<HBITMAP>(shot.get()), 19, 30), kWhite) << "nothing outside";
}

TEST(SkinnedControlSkin, AFramedTopLevelWindowMaximisesWithItsFrameOutsideTheWorkArea) {
    NinePartSkin skin = MakeNinePartSkin();
    TestControl top;
    top.SetBorder(skin.frame.get());
    top.SetPos(50, 50, 100, 80);
    HWND window = top.GetHandleC();
    MINMAXINFO info{};
    ::SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(info.ptMaxPosition.x, work.left - 4);
    EXPECT_EQ(info.ptMaxPosition.y, work.top - 3);
    EXPECT_EQ(info.ptMaxSize.x, work.right - work.left + 10);
    EXPECT_EQ(info.ptMaxSize.y, work.bottom - work.top + 8);

    // A child, or a window without frame, keeps the system's answer.
    HostWindow host;
    TestControl child(host);
    child.SetBorder(skin.frame.get());
    child.SetPos(0, 0, 30, 30);
    MINMAXINFO untouched{};
    untouched.ptMaxPosition.x = 12345;
    UINT message = WM_GETMINMAXINFO;
    WPARAM wParam = 0;
    LPARAM lParam = reinterpret_cast<LPARAM>(&untouched);
    BOOL handled = TRUE;
    child.GetHandleC();
    child.ProcessMessages(message, wParam, lParam, handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(untouched.ptMaxPosition.x, 12345);
}

TEST(SkinnedControlSkin, DestroyingTheWindowForgetsItAndCloseEndsATopLevelWindow) {
    TestControl top;
    top.SetPos(40, 40, 60, 60);
    HWND window = top.GetHandleC();
    ASSERT_TRUE(top.DoClose());
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(top.GetSafeHwndC(), nullptr) << "the control no longer holds a dead handle";
    EXPECT_NE(top.GetHandleC(), nullptr) << "and makes a new window when asked";
}

TEST(SkinnedControlOwnership, DestroyingAnOwnerDestroysItsControlsFirstInTheirOrder) {
    HostWindow host;
    std::vector<std::string> log;
    auto* owner = new TestControl(host);
    owner->SetPos(0, 0, 200, 200);
    HWND ownerWindow = owner->GetHandleC();
    owner->onDestroy = [&](TestControl*) { log.push_back("owner"); };
    for (const char* name : {"first", "second", "third"}) {
        auto* owned = new TestControl(ownerWindow);
        owned->SetPos(0, 0, 10, 10);
        owned->GetHandleC();
        ASSERT_TRUE(owned->SetOwnerC(owner));
        owned->onDestroy = [&, name, ownerWindow](TestControl* self) {
            log.push_back(name);
            EXPECT_TRUE(::IsWindow(ownerWindow)) << "owned controls go while the owner's window lives";
            EXPECT_EQ(self->GetOwnerC(), nullptr);
        };
    }
    ASSERT_EQ(owner->GetOwnedCount(), 3);
    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"owner", "first", "second", "third"}))
        << "the derived part first, then the owned controls in their order";
    EXPECT_FALSE(::IsWindow(ownerWindow));
}

TEST(SkinnedControlOwnership, ControlsChangeOwnersLeaveListsAndNeverOwnInACircle) {
    TestControl a, b;
    auto* c = new TestControl;
    ASSERT_TRUE(c->SetOwnerC(&a));
    EXPECT_EQ(a.GetOwnedCount(), 1);
    ASSERT_TRUE(c->SetOwnerC(&b));
    EXPECT_EQ(a.GetOwnedCount(), 0) << "left the old list";
    EXPECT_EQ(b.GetOwned(0), c);
    EXPECT_EQ(c->GetOwnerC(), &b);

    EXPECT_FALSE(b.SetOwnerC(c)) << "b owns c: c cannot own b";
    EXPECT_FALSE(c->SetOwnerC(c));
    EXPECT_EQ(b.GetOwnerC(), nullptr);
    ASSERT_TRUE(a.SetOwnerC(&b));
    auto* d = new TestControl;
    ASSERT_TRUE(d->SetOwnerC(c));
    EXPECT_FALSE(b.SetOwnerC(d)) << "not even through several steps";

    delete c;  // takes d with it
    EXPECT_EQ(b.GetOwnedCount(), 1) << "a deleted control leaves its owner's list";
    EXPECT_EQ(b.GetOwned(0), &a);
    a.SetOwnerC(nullptr);
    EXPECT_EQ(b.GetOwnedCount(), 0);
}

TEST(SkinnedControlSkin, AThousandSkinChangesLeaveNoGdiObjectBehind) {
    HostWindow host;
    NinePartSkin first = MakeNinePartSkin();
    NinePartSkin second = MakeNinePartSkin();
    second.frame->LeftBorderWidth = 7;
    // A header with a caption and a button, drawn on every frame painting.
    ClsSkinnedHeader header;
    header.SetCaption("Paths");
    header.SetButtonClose(true);
    header.GetButton(hbClose)->GetImage() = *MakeImage(8, 32, [](int x, int) { return x ? RGB(1, 2, 3) : kMagenta; });
    TestControl control(host);
    control.SetPos(10, 10, 90, 70);
    control.SetHeader(&header);
    const auto applyTwice = [&] {
        control.SetBorder(first.frame.get());
        header.SetBorder(second.frame.get());
        header.SetWidth(16);
        control.RealizeSkin();
        control.SetBorder(second.frame.get());
        header.SetBorder(first.frame.get());
        header.SetWidth(12);
        control.RealizeSkin();
    };
    applyTwice();  // first use makes the lasting objects (contexts, caches)
    orvtest::PumpPending();
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 500; ++i) applyTwice();
    orvtest::PumpPending();
    EXPECT_EQ(CountGdiObjects(), before);
    RECT client{};
    ::GetClientRect(control.GetSafeHwndC(), &client);
    EXPECT_EQ(client.right, 90 - 7 - 6) << "the last frame applied";
    EXPECT_EQ(client.bottom, 70 - 3 - 12 - 5) << "under the last header";
}
