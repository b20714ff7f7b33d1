// The skin reader's sub-controls in a real main window: the menu bar along
// the top at the tallest item's height, the contact-tree below it filling
// the rest (the search, path and list controls take no room while they are
// not part of the program), laid out again on every size and skin change.
#include "DemoNetwork.h"

#include "OrvApp.h"

#include "CTreeControl.h"
#include "ClsSkinName.h"
#include "ClsSkinnedMainMenu.h"
#include "OrvLocaleManager.h"
#include "OrvSkinReader.h"
#include "TestSupport.h"
#include "res/OrvResources.h"

#include "CWnd.h"

#include <gtest/gtest.h>

namespace {

std::string ProgramDirectory() {
    char path[1000] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
    return std::string(OrvApp::DirectoryOf(path));
}

// A main window that hands its sizing to the reader, as the frame does.
class Host : public CWnd {
public:
    OrvSkinReader* reader = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (reader && (message == WM_SIZE || message == WM_GETMINMAXINFO))
            return reader->ParentSizing(m_hWnd, message, wParam, lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

CRect ChildRect(HWND parent, HWND child) {
    CRect rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class SubControls : public ::testing::Test {
protected:
    void SetUp() override {
        locale = std::make_unique<OrvLocaleManager>((ProgramDirectory() + "Locale\\").c_str(), "EN");
        reader = std::make_unique<OrvSkinReader>((ProgramDirectory() + "Skins\\").c_str(), locale.get());
        ASSERT_TRUE(host.CreateEx(0, nullptr, "layout", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 40, 40,
                                  900, 600, nullptr, nullptr));
        host.reader = reader.get();
        CreateControls_t controls;
        controls.Parent = &host;
        ASSERT_TRUE(reader->CreateControls(&controls));
        ASSERT_NE(reader->GetMainMenu(), nullptr);
        ASSERT_NE(reader->GetTreeControl(), nullptr);
        ASSERT_TRUE(reader->GetMainMenu()->LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU)));
    }
    void TearDown() override {
        reader.reset();
        host.DestroyWindow();
    }
    void SetClient(int width, int height) {
        RECT rect{0, 0, width, height};
        ::AdjustWindowRectEx(&rect, host.GetStyle(), FALSE, host.GetExStyle());
        host.SetWindowPos(static_cast<HWND>(nullptr), 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                          SWP_NOMOVE | SWP_NOZORDER);
        CRect client;
        host.GetClientRect(&client);
        ASSERT_EQ(client.Width(), width);
        ASSERT_EQ(client.Height(), height);
    }
    HWND Menu() const { return reader->GetMainMenu()->GetSafeHwnd(); }
    HWND Tree() const { return reader->GetTreeControl()->GetSafeHwnd(); }

    std::unique_ptr<OrvLocaleManager> locale;
    std::unique_ptr<OrvSkinReader> reader;
    Host host;
};

TEST_F(SubControls, TheMenuBarAndTheTreeFillTheWindowInEverySkin) {
    ASSERT_GE(reader->GetCount(), 2);
    for (int i = 0; i < reader->GetCount(); ++i) {
        reader->ChangeSkin(reader->GetSkin(i));
        SetClient(1000, 700);
        const int hm = reader->GetMainMenu()->GetItems()->GetMaxHeight();
        EXPECT_GT(hm, 10);
        EXPECT_EQ(ChildRect(host, Menu()), CRect(0, 0, 1000, hm)) << reader->GetSkin(i)->GetName();
        EXPECT_EQ(ChildRect(host, Tree()), CRect(0, hm, 1000, 700)) << reader->GetSkin(i)->GetName();
        host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
        CRect screen;
        host.GetWindowRect(&screen);
        apptest::ScreenPixels shot(screen);
        shot.Save(std::string("orvane_layout_") + reader->GetSkin(i)->GetName() + ".bmp");
        // The bar shows its items: more than its background.
        CRect bar = ChildRect(host, Menu());
        POINT origin{0, 0};
        ::ClientToScreen(host, &origin);
        bar.OffsetRect(origin.x - screen.left, origin.y - screen.top);
        EXPECT_GT(shot.InkCount(bar), 100) << "the menu bar of " << reader->GetSkin(i)->GetName() << " is blank at "
                                            << bar.left << "," << bar.top << "," << bar.right << "," << bar.bottom;
    }
}

TEST_F(SubControls, ASizeFollowsAndAMinimisedWindowMovesNothing) {
    reader->SetDefaultSkin();
    SetClient(700, 500);
    const int hm = reader->GetMainMenu()->GetItems()->GetMaxHeight();
    EXPECT_EQ(ChildRect(host, Tree()), CRect(0, hm, 700, 500));
    const CRect before = ChildRect(host, Tree());
    host.SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(ChildRect(host, Tree()), before);
    host.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 0));
    EXPECT_EQ(ChildRect(host, Tree()), before) << "a zero height moves nothing either";
    SetClient(820, 610);
    EXPECT_EQ(ChildRect(host, Menu()), CRect(0, 0, 820, hm));
    EXPECT_EQ(ChildRect(host, Tree()), CRect(0, hm, 820, 610));
}

TEST_F(SubControls, TheMinimumSizeIsLeftAloneWithoutTheSearchAndPathControls) {
    reader->SetDefaultSkin();
    MINMAXINFO info{};
    info.ptMinTrackSize = {123, 45};
    EXPECT_EQ(reader->ParentSizing(host, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.ptMinTrackSize.x, 123);
    EXPECT_EQ(info.ptMinTrackSize.y, 45);
    EXPECT_FALSE(reader->GetToolTipEnabled()) << "no toolbar";
    EXPECT_FALSE(reader->GetToolTipBalloonEnabled()) << "no search control";
}

TEST_F(SubControls, CreateControlsRunsOnceAndTheSkinReachesTheTree) {
    CreateControls_t again;
    again.Parent = &host;
    EXPECT_FALSE(reader->CreateControls(&again));
    EXPECT_FALSE(reader->CreateControls(nullptr));
    EXPECT_EQ(reader->GetTreeWindow(), Tree());
    EXPECT_TRUE(::IsWindowVisible(Tree()));
}

}  // namespace
