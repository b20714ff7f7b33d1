// The skin reader's sub-controls in a real main window: every control made,
// placed by the layout table on every skin change and size, the minimum
// window size, the splitter's minimum, the tool tip switches, and the look
// of every control following the skin.
#include "AppTestSupport.h"
#include "DemoNetwork.h"

#include "OrvApp.h"

#include "CSkinnedSplitter.h"
#include "ClsSkinnedHeader.h"
#include "CTreeControl.h"
#include "ClsSkinName.h"
#include "ClsSkinnedMainMenu.h"
#include "OrvLocaleManager.h"
#include "OrvMessagePanelCtrl.h"
#include "OrvPathFinderCtrl.h"
#include "OrvPathFinderResultCtrl.h"
#include "OrvSearchCtrl.h"
#include "OrvSearchResultCtrl.h"
#include "OrvSkinReader.h"
#include "OrvToolBarCtrl.h"
#include "TestSupport.h"
#include "res/OrvResources.h"

#include "CWnd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace {

using apptest::ProgramDirectory;

// A skins root holding one skin, "Plain", whose Skin.Ini names nothing but
// itself (every layout quantity takes its default) and what extra adds.
// Removed again at the end.
class PlainSkinRoot {
public:
    explicit PlainSkinRoot(const std::string& extra = "") {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_root = std::string(temp) + "orv-layout-" + std::to_string(::GetCurrentProcessId()) + "\\";
        ::CreateDirectoryA(m_root.c_str(), nullptr);
        ::CreateDirectoryA((m_root + "Plain").c_str(), nullptr);
        std::ofstream(m_root + "Plain\\Skin.Ini", std::ios::binary) << "[Main]\r\nSkinName = Plain\r\nBaseSkin = 1\r\n" + extra;
    }
    ~PlainSkinRoot() {
        ::DeleteFileA((m_root + "Plain\\Skin.Ini").c_str());
        ::RemoveDirectoryA((m_root + "Plain").c_str());
        ::RemoveDirectoryA(m_root.c_str());
    }
    const std::string& Root() const { return m_root; }

private:
    std::string m_root;
};

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

CRect Common(const CRect& a, const CRect& b) {
    CRect both;
    if (!::IntersectRect(&both, &a, &b)) return CRect(0, 0, 0, 0);
    return both;
}

class SubControls : public ::testing::Test {
protected:
    void Open(const std::string& skinsRoot) {
        locale = std::make_unique<OrvLocaleManager>((ProgramDirectory() + "Locale\\").c_str(), "EN");
        reader = std::make_unique<OrvSkinReader>(skinsRoot.c_str(), locale.get());
        ASSERT_TRUE(host.CreateEx(0, nullptr, "layout", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 40, 40,
                                  900, 600, nullptr, nullptr));
        host.reader = reader.get();
        // The main frame implements none of the search callbacks yet: every
        // control must live with null ones.
        CreateControls_t controls;
        controls.Parent = &host;
        ASSERT_TRUE(reader->CreateControls(&controls));
        ASSERT_TRUE(reader->GetMainMenu()->LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU)));
    }
    void TearDown() override {
        reader.reset();
        if (host.GetSafeHwnd()) host.DestroyWindow();
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
    // Every sub-control's window by name.
    std::map<std::string, HWND> Windows() const {
        return {{"menu", reader->GetMainMenu()->GetSafeHwnd()},
                {"search", reader->GetSearchCtrl()->GetSafeHwnd()},
                {"path finder", reader->GetPathFinderCtrl()->GetSafeHwnd()},
                {"search results", reader->GetSearchResultCtrl()->GetSafeHwnd()},
                {"path results", reader->GetPathFinderResultCtrl()->GetSafeHwnd()},
                {"toolbar", reader->GetToolBarCtrl()->GetSafeHwnd()},
                {"message panel", reader->GetMessagePanelCtrl()->GetSafeHwnd()},
                {"tree", reader->GetTreeControl()->GetSafeHwnd()},
                {"splitter", reader->GetSplitter()->GetSafeHwnd()}};
    }
    CRect Place(const char* name) const { return ChildRect(host, Windows().at(name)); }
    std::map<std::string, CRect> Places() const {
        std::map<std::string, CRect> places;
        for (const auto& [name, window] : Windows()) places[name] = ChildRect(host, window);
        return places;
    }
    // The whole window on screen, saved under the test artifacts.
    apptest::ScreenPixels Shot(const std::string& name) {
        host.SetForegroundWindow();
        host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_FRAME);
        CRect screen;
        host.GetWindowRect(&screen);
        apptest::ScreenPixels shot(screen);
        shot.Save(name);
        return shot;
    }
    // A client rectangle within the window's screenshot.
    CRect InShot(CRect place) const {
        CRect screen;
        host.GetWindowRect(&screen);
        POINT origin{0, 0};
        ::ClientToScreen(host, &origin);
        place.OffsetRect(origin.x - screen.left, origin.y - screen.top);
        return place;
    }

    std::unique_ptr<OrvLocaleManager> locale;
    std::unique_ptr<OrvSkinReader> reader;
    Host host;
};

TEST_F(SubControls, WithTheDefaultValuesEveryControlTakesItsPlace) {
    PlainSkinRoot skins;
    ASSERT_NO_FATAL_FAILURE(Open(skins.Root()));
    EXPECT_EQ(reader->GetSplitter()->GetMinSize(), 900) << "before the first skin";
    reader->SetDefaultSkin();
    ASSERT_NE(reader->GetCurrentSkin(), nullptr);
    EXPECT_EQ(reader->GetSplitter()->GetMinSize(), 196) << "the search control's width";
    EXPECT_EQ(reader->GetSplitter()->GetSplitterWidth(), 6);
    ASSERT_NO_FATAL_FAILURE(SetClient(1000, 700));
    const int hm = reader->GetMainMenu()->GetItems()->GetMaxHeight();
    EXPECT_GT(hm, 10);
    const int y = hm + 54;
    EXPECT_EQ(Place("menu"), CRect(0, 0, 804, hm));
    EXPECT_EQ(Place("message panel"), CRect(804, 0, 1000, y)) << "Hm + Hs high after the skin change";
    EXPECT_EQ(Place("search"), CRect(0, hm, 196, y));
    EXPECT_EQ(Place("toolbar"), CRect(196, hm, 804, y));
    EXPECT_EQ(Place("path finder"), CRect(0, 576, 300, 700));
    EXPECT_EQ(Place("path results"), CRect(300, 576, 1000, 700));
    const int s = reader->GetSplitterPos();
    EXPECT_GE(s, 196);
    EXPECT_LE(s, 1000 - 6 - 196);
    EXPECT_EQ(Place("splitter"), CRect(s, y, s + 6, 576)) << "the bar of the area (0, Y, W, H - Hp - Y)";
    EXPECT_EQ(Place("search results"), CRect(0, y, s, 576));
    EXPECT_EQ(Place("tree"), CRect(s + 6, y, 1000, 576));

    // A new size: everything follows but the search control, which only a
    // skin change places, and the panel, which keeps its height.
    ASSERT_NO_FATAL_FAILURE(SetClient(900, 650));
    EXPECT_EQ(Place("menu"), CRect(0, 0, 704, hm));
    EXPECT_EQ(Place("message panel"), CRect(704, 0, 900, y));
    EXPECT_EQ(Place("search"), CRect(0, hm, 196, y));
    EXPECT_EQ(Place("toolbar"), CRect(196, hm, 704, y));
    EXPECT_EQ(Place("path finder"), CRect(0, 526, 300, 650));
    EXPECT_EQ(Place("path results"), CRect(300, 526, 900, 650));
    const int s2 = reader->GetSplitterPos();
    EXPECT_EQ(Place("search results"), CRect(0, y, s2, 526));
    EXPECT_EQ(Place("tree"), CRect(s2 + 6, y, 900, 526));
}

TEST_F(SubControls, TheSkinsSizesAndRecordsReachTheControls) {
    PlainSkinRoot skins("[OrvSearchCtrl]\r\nWidth = 220\r\nHeight = 60\r\nHeaderWidth = 18\r\n"
                        "[OrvPathFinderCtrl]\r\nWidth = 320\r\nHeight = 130\r\nHeaderWidth = \"wide\"\r\n"
                        "[VerticalSplitter]\r\nSplitterWidth = 8\r\nBgColor = #102030\r\n"
                        "[OrvToolBarCtrl]\r\nBtnChatX = 400\r\nBtnChatWidth = 40\r\n");
    ASSERT_NO_FATAL_FAILURE(Open(skins.Root()));
    reader->SetDefaultSkin();
    ASSERT_NO_FATAL_FAILURE(SetClient(1000, 700));
    const int hm = reader->GetMainMenu()->GetItems()->GetMaxHeight();
    const int y = hm + 60;
    EXPECT_EQ(reader->GetSplitter()->GetMinSize(), 220);
    EXPECT_EQ(reader->GetSplitter()->GetSplitterWidth(), 8);
    EXPECT_EQ(Place("menu"), CRect(0, 0, 780, hm));
    EXPECT_EQ(Place("message panel"), CRect(780, 0, 1000, y));
    EXPECT_EQ(Place("search"), CRect(0, hm, 220, y));
    EXPECT_EQ(Place("toolbar"), CRect(220, hm, 780, y));
    EXPECT_EQ(Place("path finder"), CRect(0, 570, 320, 700));
    EXPECT_EQ(Place("path results"), CRect(320, 570, 1000, 700));
    const int s = reader->GetSplitterPos();
    EXPECT_EQ(Place("splitter"), CRect(s, y, s + 8, 570));
    EXPECT_EQ(Place("search results"), CRect(0, y, s, 570));
    EXPECT_EQ(Place("tree"), CRect(s + 8, y, 1000, 570));
    // A number HeaderWidth gives a header, a text one none.
    ASSERT_NE(reader->GetSearchCtrl()->GetHeader(), nullptr);
    EXPECT_EQ(reader->GetSearchCtrl()->GetHeader()->GetWidth(), 18);
    EXPECT_EQ(reader->GetPathFinderCtrl()->GetHeader(), nullptr);
    // Each control draws from the records of the current skin.
    EXPECT_EQ(reader->GetSearchCtrl()->GetBorder(), reader->GetControlBorderInfo(crSearchCtrl));
    EXPECT_EQ(reader->GetPathFinderCtrl()->GetBorder(), reader->GetControlBorderInfo(crPathFinderCtrl));
    EXPECT_EQ(reader->GetSearchResultCtrl()->GetBorder(), reader->GetControlBorderInfo(crListViews));
    EXPECT_EQ(reader->GetPathFinderResultCtrl()->GetBorder(), reader->GetControlBorderInfo(crListViews));
    EXPECT_EQ(reader->GetToolBarCtrl()->GetBorder(), reader->GetControlBorderInfo(crToolBar));
    EXPECT_EQ(reader->GetMessagePanelCtrl()->GetBorder(), reader->GetControlBorderInfo(crMessagePanel));
    EXPECT_EQ(reader->GetSplitter()->GetBorder(), reader->GetControlBorderInfo(crVerticalSplitter));
    EXPECT_EQ(reader->GetSearchCtrl()->GetEditSkinInfo()->Skin, reader->GetSkinBorderInfo(srEdits));
    EXPECT_EQ(reader->GetPathFinderCtrl()->GetSourceLabelSkinInfo()->Skin, reader->GetSkinBorderInfo(srLabels));
    const ButtonSkinInfo_t* chat = reader->GetToolBarCtrl()->GetButtonSkinInfo(5);
    EXPECT_EQ(chat->X, 400);
    EXPECT_EQ(chat->Width, 40);
    EXPECT_EQ(chat->Height, 56);
    EXPECT_EQ(chat->Image.GetWidth(), 40);
    // Where no section gives colours the controls draw black, the bar and
    // what lies between the panes is the window's.
    const apptest::ScreenPixels shot = Shot("orvane_layout_custom.bmp");
    EXPECT_EQ(shot.Commonest(InShot(Place("tree"))), RGB(0, 0, 0));
}

TEST_F(SubControls, AMinimisedWindowMovesNothing) {
    PlainSkinRoot skins;
    ASSERT_NO_FATAL_FAILURE(Open(skins.Root()));
    reader->SetDefaultSkin();
    ASSERT_NO_FATAL_FAILURE(SetClient(1000, 700));
    const auto before = Places();
    host.SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(Places(), before);
    host.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(640, 0));
    EXPECT_EQ(Places(), before) << "a zero height moves nothing either";
    host.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 480));
    EXPECT_EQ(Places(), before) << "nor a zero width";
}

TEST_F(SubControls, TheMinimumWindowSizeMakesRoomForThePathFinder) {
    PlainSkinRoot skins;
    ASSERT_NO_FATAL_FAILURE(Open(skins.Root()));
    reader->SetDefaultSkin();
    MINMAXINFO info{};
    info.ptMinTrackSize = {123, 45};
    EXPECT_EQ(reader->ParentSizing(host, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    const int frameX = ::GetSystemMetrics(SM_CXSIZEFRAME), frameY = ::GetSystemMetrics(SM_CYSIZEFRAME);
    EXPECT_EQ(info.ptMinTrackSize.x, 300 + 2 * frameX + 200);
    EXPECT_EQ(info.ptMinTrackSize.y, 196 / 2 + 124 + ::GetSystemMetrics(SM_CYCAPTION) + 2 * frameY + 54 + 100);
    // The system holds the window to it.
    host.SetWindowPos(static_cast<HWND>(nullptr), 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    CRect window;
    host.GetWindowRect(&window);
    EXPECT_GE(window.Width(), info.ptMinTrackSize.x);
    EXPECT_GE(window.Height(), info.ptMinTrackSize.y);
}

TEST_F(SubControls, ToolTipSwitchesReachTheirControls) {
    PlainSkinRoot skins;
    ASSERT_NO_FATAL_FAILURE(Open(skins.Root()));
    EXPECT_FALSE(reader->GetToolTipEnabled());
    EXPECT_FALSE(reader->GetToolTipBalloonEnabled());
    reader->SetToolTipEnabled(true);
    EXPECT_TRUE(reader->GetToolTipEnabled());
    EXPECT_TRUE(reader->GetToolBarCtrl()->GetToolTipActivated());
    EXPECT_FALSE(reader->GetToolTipBalloonEnabled()) << "the toolbar's switch is its own";
    reader->SetToolTipBalloonEnabled(true);
    EXPECT_TRUE(reader->GetToolTipBalloonEnabled());
    EXPECT_TRUE(reader->GetSearchCtrl()->GetToolTipActivated());
    EXPECT_TRUE(reader->GetPathFinderCtrl()->GetToolTipActivated());
    reader->GetSearchCtrl()->SetToolTipActivated(false);
    EXPECT_FALSE(reader->GetToolTipBalloonEnabled()) << "the search control's tips off";
    reader->SetToolTipEnabled(false);
    EXPECT_FALSE(reader->GetToolTipEnabled());
}

TEST_F(SubControls, NullCallbacksAreNeverCalled) {
    PlainSkinRoot skins;
    ASSERT_NO_FATAL_FAILURE(Open(skins.Root()));
    reader->SetDefaultSkin();
    ASSERT_NO_FATAL_FAILURE(SetClient(1000, 700));
    // The search button with an empty field, a path search with both ends,
    // every toolbar button, a double click into the empty list.
    reader->GetSearchCtrl()->OnBtnSearchClicked();
    EXPECT_EQ(reader->GetSearchCtrl()->GetSearchText(), "chat");
    reader->GetPathFinderCtrl()->GetSourceEdit().SetWindowTextA("a@example.com");
    reader->GetPathFinderCtrl()->GetDestinationEdit().SetWindowTextA("b@example.com");
    reader->GetPathFinderCtrl()->SendMessage(WM_COMMAND, MAKEWPARAM(OrvPathFinderCtrl::kButtonId, BN_CLICKED),
                                             reinterpret_cast<LPARAM>(reader->GetPathFinderCtrl()->GetButton().GetSafeHwnd()));
    for (UINT id = 1; id <= OrvToolBarCtrl::kButtonCount; ++id)
        reader->GetToolBarCtrl()->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    reader->GetSearchResultCtrl()->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 40));
    EXPECT_TRUE(::IsWindow(reader->GetSearchResultCtrl()->GetSafeHwnd()));
}

TEST_F(SubControls, ASkinChangeRestylesEveryControl) {
    ASSERT_NO_FATAL_FAILURE(Open(ProgramDirectory() + "Skins\\"));
    ASSERT_NO_FATAL_FAILURE(SetClient(1000, 700));
    reader->SetSkinByDirectory("Daylight\\");
    ASSERT_STREQ(reader->GetCurrentSkin()->GetLastDirectory(), "Daylight\\");
    EXPECT_EQ(reader->GetSplitter()->GetMinSize(), reader->GetSearchCtrlWidth());
    const auto daylightPlaces = Places();
    const apptest::ScreenPixels daylight = Shot("orvane_layout_Daylight.bmp");
    reader->SetSkinByDirectory("Graphite\\");
    ASSERT_STREQ(reader->GetCurrentSkin()->GetLastDirectory(), "Graphite\\");
    const apptest::ScreenPixels graphite = Shot("orvane_layout_Graphite.bmp");
    ASSERT_EQ(daylight.Width(), graphite.Width());
    ASSERT_EQ(daylight.Height(), graphite.Height());
    for (const auto& [name, window] : Windows()) {
        if (name == "splitter") continue;  // a bar a few pixels wide: compared below
        // Compared where the control lies in both skins (the menu's height
        // moves the controls below it).
        const CRect common = Common(InShot(Common(Place(name.c_str()), daylightPlaces.at(name))),
                                    CRect(0, 0, graphite.Width(), graphite.Height()));
        ASSERT_FALSE(common.IsRectEmpty()) << name;
        int changed = 0;
        for (int y = common.top; y < common.bottom; ++y)
            for (int x = common.left; x < common.right; ++x) changed += daylight.At(x, y) != graphite.At(x, y);
        EXPECT_GT(changed, common.Width() * common.Height() / 3)
            << name << ": " << changed << " of " << common.Width() * common.Height() << " pixels changed";
    }
    // The splitter's bar is drawn from the skin's VerticalSplitter colour.
    const CRect bar = InShot(Common(Place("splitter"), daylightPlaces.at("splitter")));
    EXPECT_NE(daylight.Commonest(bar), graphite.Commonest(bar));
}

}  // namespace
