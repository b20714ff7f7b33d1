// Dragging people out of the two result lists of the main window onto the
// path finder, with real pointer input through the system's drag loop: the
// person arrives whole at the end it was dropped on.
#include "ShellTestSupport.h"

#include "COleInitializer.h"
#include "CSkinnedEdit.h"
#include "ClsPath.h"
#include "DragTestSupport.h"
#include "OrvContactDrag.h"
#include "OrvPathFinderCtrl.h"
#include "OrvPathFinderResultCtrl.h"
#include "OrvSearchResultCtrl.h"
#include "OrvSkinReader.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using shelltest::ShellFrame;

namespace {

bool Until(const std::function<bool()>& done) { return orvtest::PumpUntil(done, apptest::kGenerousMs); }

// Waits in a script until a list's drag is under way.
bool WaitForDragging(bool dragging) {
    const ULONGLONG deadline = ::GetTickCount64() + dragtest::kStepTimeoutMs;
    while (OrvContactDrag::IsDragging() != dragging) {
        if (::GetTickCount64() > deadline) return false;
        ::Sleep(5);
    }
    return true;
}

// Press at from, pull away, carry to to and let go there.
std::string DragScript(POINT from, POINT to) {
    dragtest::MoveTo(from.x, from.y);
    dragtest::PressLeft();
    dragtest::MoveTo(from.x + 8, from.y + 2);
    dragtest::MoveTo(from.x + 20, from.y + 6);
    if (!WaitForDragging(true)) {
        dragtest::ReleaseLeft();
        return "the drag never began";
    }
    dragtest::MoveTo(to.x - 10, to.y);
    dragtest::MoveTo(to.x - 4, to.y);
    dragtest::MoveTo(to.x, to.y);
    dragtest::ReleaseLeft();
    if (!WaitForDragging(false)) return "the drag never ended";
    return "";
}

POINT OnScreen(HWND window, POINT point) {
    ::ClientToScreen(window, &point);
    return point;
}

class ShellDrag : public ::testing::Test {
protected:
    void SetUp() override {
        apptest::ClearSettings();
        ASSERT_TRUE(m_ole.IsInitialized());
        ASSERT_TRUE(shelltest::OpenFrame(m_frame, m_server.Url()));
        ASSERT_TRUE(Until([&] { return m_frame.GetSessionState() == OrvMainFrame::ssOffline && !m_frame.IsBusy(); }));
        shelltest::BringOnLine(m_frame);
        ASSERT_TRUE(shelltest::SetClient(m_frame, 1000, 700));
        m_frame.SetForegroundWindow();
        m_frame.UpdateWindow();
        m_reader = m_frame.GetSkinReader();
    }
    void TearDown() override {
        m_frame.Exit();
        apptest::ClearSettings();
    }

    COleInitializer m_ole;
    shelltest::RecordingServer m_server{true};
    ShellFrame m_frame;
    OrvSkinReader* m_reader = nullptr;
};

TEST_F(ShellDrag, ASearchResultDroppedOnTheSourceBecomesThePathsSource) {
    OrvSearchResultCtrl* list = m_reader->GetSearchResultCtrl();
    ORVCONTACTINFO first = apptest::Person("11", "Cleo", "Park", "cleo@example.com");
    ORVCONTACTINFO second = apptest::Person("12", "Dan", "Roe", "dan@example.com");
    second.emailPrivate = 1;
    second.occupation = "Diver";
    list->AddElement(&first);
    list->AddElement(&second);
    list->RedrawWindow();
    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(::SendMessageA(list->GetSafeHwnd(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
    const POINT from = OnScreen(list->GetSafeHwnd(), POINT{40, (row.top + row.bottom) / 2});
    OrvPathFinderCtrl* finder = m_reader->GetPathFinderCtrl();
    const POINT to = dragtest::CentreOf(finder->GetSourceEdit().GetSafeHwnd());

    dragtest::InputWorker worker([&] { return DragScript(from, to); });
    EXPECT_EQ(worker.Join(), "");
    std::string difference;
    EXPECT_TRUE(dragtest::SameContact(finder->GetPathSearchSource().GetContact(), second, &difference))
        << difference;
    EXPECT_TRUE(finder->GetPathSearchDestination().GetContact().id.IsEmpty()) << "only the end it was dropped on";
    EXPECT_EQ(list->GetCount(), 2) << "the list keeps its rows";
}

TEST_F(ShellDrag, APersonOfAPathDroppedOnTheDestinationBecomesThePathsDestination) {
    OrvPathFinderResultCtrl* list = m_reader->GetPathFinderResultCtrl();
    ORVCONTACTINFO people[3] = {apptest::Person("21", "Eve", "Stone", "eve@example.com"),
                                apptest::Person("22", "Finn", "Hale", "finn@example.com"),
                                apptest::Person("23", "Gus", "Ray", "gus@example.com")};
    list->AddElement(3, people);
    list->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // The drawn place of the second name.
    int nameX = -1, nameWidth = 0;
    {
        list->Lock();
        const ClsPath* path = list->GetPath(0);
        if (path && path->GetAt(1)) {
            nameX = path->GetAt(1)->GetTextX();
            nameWidth = path->GetAt(1)->GetTextWidth();
        }
        list->Unlock();
    }
    ASSERT_GT(nameWidth, 0) << "the row was drawn";
    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(::SendMessageA(list->GetSafeHwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
    const POINT from = OnScreen(list->GetSafeHwnd(), POINT{nameX + nameWidth / 2, (row.top + row.bottom) / 2});
    OrvPathFinderCtrl* finder = m_reader->GetPathFinderCtrl();
    const POINT to = dragtest::CentreOf(finder->GetDestinationEdit().GetSafeHwnd());

    dragtest::InputWorker worker([&] { return DragScript(from, to); });
    EXPECT_EQ(worker.Join(), "");
    std::string difference;
    EXPECT_TRUE(dragtest::SameContact(finder->GetPathSearchDestination().GetContact(), people[1], &difference))
        << difference;
    char text[256] = {};
    ::GetWindowTextA(finder->GetDestinationEdit().GetSafeHwnd(), text, sizeof text);
    EXPECT_STREQ(text, "finn@example.com");
}

TEST(ContactDragText, TheTextFormHidesAPrivateAddress) {
    ORVCONTACTINFO open = apptest::Person("1", "Ann", "Lee", "ann@example.com");
    EXPECT_STREQ(OrvContactDrag::TextOf(open), "Ann Lee ann@example.com");
    open.emailPrivate = 1;
    EXPECT_STREQ(OrvContactDrag::TextOf(open), "Ann Lee");
    ORVCONTACTINFO nameless = apptest::Person("2", "", "", "who@example.com");
    EXPECT_STREQ(OrvContactDrag::TextOf(nameless), "who@example.com");
}

}  // namespace
