// The cloud's look: the balloon's outline, region and smooth edges, the
// placement next to the tray inside the work area, and what the pop-ups
// paint (rendered through WM_PRINTCLIENT and read pixel by pixel).
#include "CBalloonShape.h"
#include "CCloudCanvas.h"
#include "CInvitationWindow.h"
#include "CNotifier.h"
#include "CNotifyPlacement.h"
#include "CTrayMenuWindow.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

const COLORREF kOutside = RGB(255, 0, 255);

class QuietNotifier : public CNotifier {
public:
    QuietNotifier() { GetTimers().SetManual(true); }
    void OnAcceptInvitation(const CString&, const CString&) override {}
    void OnDeclineInvitation(const CString&, const CString&) override {}
    void OnPresenceOnline() override {}
    void OnPresenceAway() override {}
    void OnPresenceFriends() override {}
    void OnOpenMainWindow() override {}
    void OnCloseProgram() override {}
    void OnSwitchCloud() override {}
};

// The client area of a window as painted by WM_PRINTCLIENT.
class Rendered {
public:
    explicit Rendered(HWND window) {
        RECT client;
        ::GetClientRect(window, &client);
        m_width = client.right;
        m_height = client.bottom;
        HDC screen = ::GetDC(nullptr);
        m_dc = ::CreateCompatibleDC(screen);
        m_bitmap = ::CreateCompatibleBitmap(screen, m_width, m_height);
        ::ReleaseDC(nullptr, screen);
        m_old = ::SelectObject(m_dc, m_bitmap);
        ::SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_dc), PRF_CLIENT);
    }
    ~Rendered() {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    Rendered(const Rendered&) = delete;
    Rendered& operator=(const Rendered&) = delete;
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y); }
    int Count(const RECT& r, COLORREF color) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == color;
        return n;
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

TEST(CloudShape, TheOutlineHasRoundCornersATailAndARegionOfTheSamePixels) {
    const CBalloonShape shape(200, 100, CBalloonShape::tailDown, 170, 14);
    const RECT body = shape.Body();
    EXPECT_EQ(body.bottom, 100 - CBalloonShape::kTailHeight);
    // Inside, on the straight edges, outside the rounded corners.
    EXPECT_TRUE(shape.Contains(100, 40));
    EXPECT_TRUE(shape.Contains(0, 40));
    EXPECT_TRUE(shape.Contains(199, 40));
    EXPECT_TRUE(shape.Contains(100, 0));
    EXPECT_FALSE(shape.Contains(0, 0));
    EXPECT_FALSE(shape.Contains(199, 0));
    EXPECT_FALSE(shape.Contains(1, body.bottom - 2));
    // The tail: below the body only near its tip's column.
    EXPECT_TRUE(shape.Contains(shape.Tip().x, 97));
    EXPECT_FALSE(shape.Contains(20, 97));
    EXPECT_FALSE(shape.Contains(100, 97));
    // The region holds exactly the pixels Contains names.
    HRGN region = shape.MakeRegion();
    ASSERT_NE(region, nullptr);
    int mismatches = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) mismatches += (::PtInRegion(region, x, y) != FALSE) != shape.Contains(x, y);
    ::DeleteObject(region);
    EXPECT_EQ(mismatches, 0);

    // A tail up puts the body below it; no tail fills the window.
    const CBalloonShape up(200, 100, CBalloonShape::tailUp, 30, 14);
    EXPECT_EQ(up.Body().top, CBalloonShape::kTailHeight);
    EXPECT_TRUE(up.Contains(up.Tip().x, 2));
    EXPECT_FALSE(up.Contains(150, 2));
    const CBalloonShape plain(50, 30, CBalloonShape::tailNone, 0, 40);
    EXPECT_TRUE(plain.Contains(25, 0)) << "the radius is kept within half the height";
    // Degenerate sizes give a shape, never a crash.
    const CBalloonShape tiny(0, -5, CBalloonShape::tailDown, 500, 14);
    HRGN tinyRegion = tiny.MakeRegion();
    EXPECT_NE(tinyRegion, nullptr);
    ::DeleteObject(tinyRegion);
}

TEST(CloudShape, TheBalloonIsPaintedWithAFrameAWhiteFillAndSmoothCorners) {
    const CBalloonShape shape(160, 90, CBalloonShape::tailDown, 120, 14);
    CCloudCanvas canvas(160, 90, kOutside);
    canvas.PaintBalloon(shape, RGB(255, 255, 255), RGB(36, 104, 206), 2.0f);
    const int mid = shape.Body().bottom / 2;
    EXPECT_EQ(canvas.At(80, mid), RGB(255, 255, 255)) << "white fill";
    EXPECT_EQ(canvas.At(0, mid), RGB(36, 104, 206)) << "the frame on the edge";
    EXPECT_EQ(canvas.At(1, mid), RGB(36, 104, 206));
    EXPECT_EQ(canvas.At(4, mid), RGB(255, 255, 255)) << "the frame is two pixels wide";
    EXPECT_EQ(canvas.At(0, 0), kOutside) << "outside the balloon nothing is painted";
    // The corner's curve is drawn with in-between tones: smooth, not jagged.
    std::set<COLORREF> tones;
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 14; ++x) {
            const COLORREF c = canvas.At(x, y);
            if (c != kOutside && c != RGB(255, 255, 255) && c != RGB(36, 104, 206)) tones.insert(c);
        }
    EXPECT_GE(tones.size(), 6u);
    // Every painted pixel belongs to the window region, and the other way.
    int mismatches = 0;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 160; ++x) mismatches += (canvas.At(x, y) != kOutside) != shape.Contains(x, y);
    EXPECT_EQ(mismatches, 0);
}

TEST(CloudPlacement, PopUpsSitNextToTheTrayInsideTheWorkArea) {
    const RECT work{0, 0, 1024, 738};  // a task bar along the bottom
    // The tray: below the work area at its right end.
    NotifyPlace place = CNotifyPlacement::NextTo({1000, 750}, {260, 100}, work);
    EXPECT_EQ(place.tail, CBalloonShape::tailDown);
    EXPECT_EQ(place.window.bottom, 738);
    EXPECT_EQ(place.window.right - place.window.left, 260);
    EXPECT_LE(place.window.right, 1024);
    EXPECT_EQ(place.window.left + place.tipX, 1000) << "the tail points at the tray";
    // A point in the upper left: below and right of it.
    place = CNotifyPlacement::NextTo({30, 10}, {260, 100}, work);
    EXPECT_EQ(place.tail, CBalloonShape::tailUp);
    EXPECT_EQ(place.window.top, 10);
    EXPECT_GE(place.window.left, 0);
    EXPECT_EQ(place.window.left + place.tipX, 30);
    // Far outside and larger than the screen: still inside where it can be.
    place = CNotifyPlacement::NextTo({-5000, 99999}, {300, 2000}, work);
    EXPECT_EQ(place.window.left, 0);
    EXPECT_EQ(place.window.top, 0);
    EXPECT_GE(place.tipX, 1);
    EXPECT_LE(place.tipX, 298);
}

TEST(CloudLook, TheInvitationShowsItsTextAndTwoColouredButtons) {
    QuietNotifier cloud;
    const POINT tray = CNotifyPlacement::DefaultPoint();
    ASSERT_TRUE(cloud.AddInvitation("O8", "Ann Lee\r\ninvites to chat.", "Ann Lee", tray));
    auto* window = dynamic_cast<CInvitationWindow*>(cloud.GetWindow());
    ASSERT_NE(window, nullptr);
    RECT frame;
    window->GetWindowRect(&frame);
    const RECT work = CNotifyPlacement::WorkAreaAt(tray);
    EXPECT_GE(frame.left, work.left);
    EXPECT_LE(frame.right, work.right);
    EXPECT_LE(frame.bottom, work.bottom);
    EXPECT_EQ(window->GetExStyle() & WS_EX_TOOLWINDOW, static_cast<DWORD>(WS_EX_TOOLWINDOW));

    Rendered shot(window->GetSafeHwnd());
    const RECT accept = window->GetAcceptRect(), decline = window->GetDeclineRect();
    const int area = (accept.right - accept.left) * (accept.bottom - accept.top);
    EXPECT_GT(shot.Count(accept, CInvitationWindow::kAcceptColor), area / 2) << "green button";
    EXPECT_GT(shot.Count(decline, CInvitationWindow::kDeclineColor), area / 2) << "red button";
    EXPECT_GT(shot.Count(accept, RGB(255, 255, 255)), 20) << "its caption in white";
    EXPECT_GT(shot.Count(decline, RGB(255, 255, 255)), 20);
    // The text beside the bitmap, and the bitmap's blue mark.
    const RECT text{70, accept.top - 50, shot.Width() - 16, accept.top - 8};
    int ink = 0;
    for (int y = text.top; y < text.bottom; ++y)
        for (int x = text.left; x < text.right; ++x) ink += shot.At(x, y) != RGB(255, 255, 255);
    EXPECT_GT(ink, 60) << "the name and \"invites to chat.\" are written";
    const RECT mark{16, accept.top - 60, 60, accept.top - 12};
    EXPECT_GT(shot.Count(mark, RGB(255, 255, 255)), 100);
    int blue = 0;
    for (int y = mark.top; y < mark.bottom; ++y)
        for (int x = mark.left; x < mark.right; ++x) {
            const COLORREF c = shot.At(x, y);
            blue += GetBValue(c) > 180 && GetRValue(c) < 120;
        }
    EXPECT_GT(blue, 50) << "bitmap 189 is drawn";
}

TEST(CloudLook, TheMenuMarksItsItemsAndChecksThePresence) {
    QuietNotifier cloud;
    ASSERT_TRUE(cloud.ShowMenu(0xFF00 | 2, CNotifyPlacement::DefaultPoint()));
    auto* menu = dynamic_cast<CTrayMenuWindow*>(cloud.GetWindow());
    ASSERT_NE(menu, nullptr);
    Rendered shot(menu->GetSafeHwnd());
    for (const CTrayMenuWindow::Item& item : menu->GetItems()) {
        const int cy = (item.rect.top + item.rect.bottom) / 2;
        EXPECT_EQ(shot.At(item.rect.left + 16, cy), item.marker) << item.text << ": its marker";
        int ink = 0;
        for (int x = item.rect.left + 36; x < item.rect.left + 180; ++x)
            for (int y = item.rect.top + 6; y < item.rect.bottom - 6; ++y) ink += shot.At(x, y) != RGB(255, 255, 255);
        EXPECT_GT(ink, 40) << item.text << ": its caption";
        // The check mark's blue only on the checked item.
        int check = 0;
        for (int x = item.rect.right - 30; x < item.rect.right - 6; ++x)
            for (int y = item.rect.top; y < item.rect.bottom; ++y) check += shot.At(x, y) == RGB(36, 104, 206);
        EXPECT_EQ(check > 5, item.checked) << item.text;
    }
}

}  // namespace
