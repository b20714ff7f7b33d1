// The program against the real network: orvane-server with its demo network
// and the chat server on loopback, the program's real windows under the
// test display, the project prefix's real registry.
//
// First inside this process (so that the test can see the tree's nodes): a
// registered member's start goes straight to the main window, which logs in,
// connects the chat and shows his contact-tree; a click on a child shows
// that person's tree after the selection animation; closing hides to the
// tray; exiting saves the window state. Then Orvane.exe itself: a second
// start goes straight to the main window at the saved place, a second
// instance brings the first forward and ends, and exit ends the process.
#include "AppTestSupport.h"
#include "DemoNetwork.h"

#include "OrvApp.h"
#include "OrvStartupSetting.h"
#include "DialogIds.h"
#include "OrvMainFrame.h"

#include "CNodesList.h"
#include "CRootItem.h"
#include "CTreeControl.h"
#include "CTreeItem.h"
#include "ClsSkinnedMainMenu.h"
#include "OrvMessages.h"
#include "OrvRegistry.h"
#include "OrvSearchCtrl.h"
#include "OrvSkinReader.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

using apptest::DemoNetwork;
using apptest::ScreenPixels;

namespace {

const char* const kEmail = "demo1@example.com";
const char* const kPassword = "orvane-demo-1";

using apptest::EnsureRichEdit;
using apptest::ProgramDirectory;

RECT ScreenRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

class DemoMember : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        apptest::ClearSettings();
        s_network = std::make_unique<DemoNetwork>();
        s_started = s_network->Start("program");
        apptest::StoreMember(s_network->Url(), kEmail, kPassword);
        s_richEdit = EnsureRichEdit(ProgramDirectory());
    }
    static void TearDownTestSuite() {
        s_network.reset();
        apptest::ClearSettings();
    }
    void SetUp() override {
        ASSERT_TRUE(s_started) << s_network->Logs();
        ASSERT_TRUE(s_richEdit);
    }
    static bool Until(const std::function<bool()>& done, unsigned ms = 120000) { return orvtest::PumpUntil(done, ms); }

    static std::unique_ptr<DemoNetwork> s_network;
    static bool s_started;
    static bool s_richEdit;
};

std::unique_ptr<DemoNetwork> DemoMember::s_network;
bool DemoMember::s_started = false;
bool DemoMember::s_richEdit = false;

// The tree shows a settled list whose root is id.
bool TreeShows(CTreeControl* tree, const CString& id) {
    if (!tree || !tree->isAComplete() || tree->IsLocked()) return false;
    CSingleLock lock(tree->GetListLock());
    CNodesList* list = tree->GetCurrentList();
    return list && list->GetRoot() && list->GetRoot()->GetContact().id == id && list->GetVisibleCount() > 0;
}

TEST_F(DemoMember, ARegisteredMemberLogsInWalksHisTreeClosesToTheTrayAndExits) {
    apptest::RecordingMessenger messenger;
    OrvMainFrame frame;
    frame.SetMessenger(&messenger);
    frame.SetProgramDirectory(ProgramDirectory().c_str());
    frame.SetUrl(OrvRegistry().GetUrl());
    OrvApp::CreateServices(frame, ProgramDirectory().c_str());
    ASSERT_TRUE(frame.StartSession()) << "registered and logged on before: no dialog";
    ASSERT_TRUE(OrvApp::RegisterMainWindowClass(::GetModuleHandleA(nullptr)));
    ASSERT_TRUE(OrvApp::CreateMainWindow(frame));
    EXPECT_TRUE(frame.GetTrayIcon().IsAdded());

    // Log-in, chat, and the member's own tree on screen.
    ASSERT_TRUE(Until([&] { return frame.GetSessionState() == OrvMainFrame::ssOnline && frame.IsWindowVisible(); }))
        << "state " << frame.GetSessionState() << ", last result " << frame.GetLastResult().GetString() << "\n"
        << s_network->Logs();
    EXPECT_STREQ(frame.GetTrayIcon().GetTip(), "Orvane - on line");
    CTreeControl* tree = frame.GetTreeControl();
    ASSERT_NE(tree, nullptr);
    const CString me = frame.GetUserId();
    ASSERT_FALSE(me.IsEmpty());
    ASSERT_TRUE(Until([&] { return TreeShows(tree, me); })) << "the member's tree never settled";
    EXPECT_STREQ(frame.GetCurrentTree()[0].id, me);
    EXPECT_GE(frame.GetCurrentTree().Count(), 5) << "demo1 knows the four other demo members";
    frame.SetForegroundWindow();
    frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_FRAME);

    // What is drawn: the menu bar along the top and the tree's nodes below.
    RECT treeRect = ScreenRect(tree->GetSafeHwnd());
    const RECT windowRect = ScreenRect(frame.GetSafeHwnd());
    ScreenPixels shot(windowRect);
    shot.Save("orvane_1_member_tree.bmp");
    ClsSkinnedMainMenu* menu = frame.GetMainMenu();
    ASSERT_NE(menu, nullptr);
    const RECT menuRect = ScreenRect(menu->GetSafeHwnd());
    EXPECT_GT(menuRect.bottom - menuRect.top, 10) << "the menu bar has its skin's height";
    ASSERT_NE(frame.GetSkinReader()->GetSearchCtrl(), nullptr);
    const RECT searchRect = ScreenRect(frame.GetSkinReader()->GetSearchCtrl()->GetSafeHwnd());
    EXPECT_EQ(searchRect.top, menuRect.bottom) << "the search control lies under the menu bar";
    EXPECT_EQ(treeRect.top, searchRect.bottom) << "the tree starts under the search control";
    const RECT menuInShot{menuRect.left - windowRect.left, menuRect.top - windowRect.top,
                          menuRect.right - windowRect.left, menuRect.bottom - windowRect.top};
    EXPECT_GT(shot.InkCount(menuInShot), 100) << "the menu bar shows its items' text";
    {
        CSingleLock lock(tree->GetListLock());
        CNodesList* list = tree->GetCurrentList();
        // The tree's background, away from every node: its top left corner.
        const int dx = treeRect.left - windowRect.left, dy = treeRect.top - windowRect.top;
        const COLORREF background = shot.At(dx + 2, dy + 2);
        // Each visible child and the root are drawn: a box of their own
        // colour with the name written on it.
        for (int i = -1; i < list->GetVisibleCount(); ++i) {
            CTreeItem* node = i < 0 ? static_cast<CTreeItem*>(list->GetRoot()) : list->GetVisible(i);
            CRect box = node->GetBox();
            box.OffsetRect(dx, dy);
            box.DeflateRect(2, 2);
            EXPECT_NE(shot.Commonest(box), background) << "node " << i << " has no box";
            EXPECT_GT(shot.InkCount(box), 40) << "node " << i << " has no name written";
        }
    }

    // A click on a child: after the selection animation his tree is shown.
    CPoint childAt;
    CString childId;
    {
        CSingleLock lock(tree->GetListLock());
        CTreeItem* child = tree->GetCurrentList()->GetVisible(0);
        childAt = child->GetBoxCenter();
        childId = child->GetContact().id;
    }
    ::PostMessageA(tree->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(childAt.x, childAt.y));
    ::PostMessageA(tree->GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(childAt.x, childAt.y));
    ASSERT_TRUE(Until([&] { return TreeShows(tree, childId); })) << "the child's tree never settled";
    EXPECT_STREQ(frame.GetCurrentTree()[0].id, childId);
    EXPECT_STREQ(frame.GetHistory().Current(), childId);
    EXPECT_EQ(frame.GetHistory().Index(), 1);
    frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_FRAME);
    ScreenPixels(windowRect).Save("orvane_2_child_tree.bmp");

    // Presence from the Status menu: away, then on line again.
    frame.SendMessage(WM_COMMAND, 32797 /* Status, Away */, 0);
    EXPECT_EQ(frame.GetStatus(), OrvMainFrame::stAway);
    EXPECT_STREQ(frame.GetTrayIcon().GetTip(), "Orvane - away");
    frame.SendMessage(WM_COMMAND, 32795 /* Status, On Line */, 0);
    EXPECT_EQ(frame.GetStatus(), OrvMainFrame::stOnline);
    EXPECT_STREQ(frame.GetTrayIcon().GetTip(), "Orvane - on line");

    // Back with the menu command: the member's own tree again.
    frame.PostMessage(WM_COMMAND, 32800 /* View, Back */, 0);
    ASSERT_TRUE(Until([&] { return TreeShows(tree, me); }));

    // Closing hides to the tray; the session goes on.
    frame.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(frame.IsWindowVisible());
    frame.SendMessage(WM_CLOSE, 0, 0);
    EXPECT_FALSE(frame.IsWindowVisible());
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssOnline);
    EXPECT_TRUE(frame.GetTrayIcon().IsAdded());
    ScreenPixels(windowRect).Save("orvane_3_closed_to_tray.bmp");

    // A double click on the tray icon shows it again, and so does the second
    // instance's message.
    frame.SendMessage(::RegisterWindowMessageA(ORV_MSGNAME_TRAY), 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(frame.IsWindowVisible());
    frame.SendMessage(WM_CLOSE, 0, 0);
    EXPECT_FALSE(frame.IsWindowVisible());
    frame.SendMessage(::RegisterWindowMessageA(ORV_MSGNAME_RESTORE_WINDOW), 0, 0);
    EXPECT_TRUE(frame.IsWindowVisible());

    // Exit: the window state is saved, the session ended, the window gone.
    frame.SetWindowPos(static_cast<HWND>(nullptr), 140, 120, 760, 560, SWP_NOZORDER);
    const RECT placed = ScreenRect(frame.GetSafeHwnd());
    frame.SendMessage(WM_CLOSE, 1, 0);
    EXPECT_FALSE(frame.GetSafeHwnd()) << "exit destroys the window";
    EXPECT_FALSE(frame.GetTrayIcon().IsAdded());
    EXPECT_TRUE(frame.GetSessionId().IsEmpty());
    const ORVSTATEDATA saved = OrvRegistry().GetState();
    EXPECT_EQ(saved.left, placed.left);
    EXPECT_EQ(saved.top, placed.top);
    EXPECT_EQ(saved.right, placed.right);
    EXPECT_EQ(saved.bottom, placed.bottom);
    EXPECT_FALSE(CString(OrvRegistry().GetSkindir()).IsEmpty()) << "the skin is kept for the next start";
    for (const auto& shown : messenger.shown) ADD_FAILURE() << "message shown: " << shown.caption << ": " << shown.text;
    // The quit the destroyed main window would post belongs to no loop here.
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// Orvane.exe as a member starts it.
class Program {
public:
    explicit Program(const char* arguments = "") {
        std::string command = "\"" + ProgramDirectory() + "Orvane.exe\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_process))
            m_process = PROCESS_INFORMATION{};
    }
    ~Program() {
        if (m_process.hProcess && ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process.hProcess, 1);
        if (m_process.hProcess) ::CloseHandle(m_process.hProcess);
        if (m_process.hThread) ::CloseHandle(m_process.hThread);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    bool Started() const { return m_process.hProcess != nullptr; }
    bool Ended(DWORD ms = 120000) const { return ::WaitForSingleObject(m_process.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD Id() const { return m_process.dwProcessId; }

private:
    PROCESS_INFORMATION m_process{};
};

// The visible main window of process id, or null.
HWND MainWindowOf(DWORD processId) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, ORV_MAIN_WINDOW_CLASS, nullptr))) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId && ::IsWindowVisible(window)) return window;
    }
    return nullptr;
}

TEST_F(DemoMember, TheProgramStartsStraightIntoItsWindowASecondInstanceBringsItForwardAndExitEndsIt) {
    const ORVSTATEDATA saved = OrvRegistry().GetState();
    Program first;
    ASSERT_TRUE(first.Started());
    HWND window = nullptr;
    ASSERT_TRUE(Until([&] { return (window = MainWindowOf(first.Id())) != nullptr; }))
        << "the main window never showed\n" << s_network->Logs();
    const RECT rect = ScreenRect(window);
    EXPECT_EQ(rect.left, saved.left) << "the window comes back where it was";
    EXPECT_EQ(rect.top, saved.top);
    EXPECT_EQ(rect.right - rect.left, saved.right - saved.left);
    HWND tree = ::FindWindowExA(window, nullptr, CTreeControl::kWindowClass, nullptr);
    ASSERT_NE(tree, nullptr);
    // The member's tree arrives after the window shows: its nodes add colours.
    ASSERT_TRUE(Until([&] {
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        const RECT treeRect = ScreenRect(tree);
        ScreenPixels pixels(treeRect);
        return pixels.InkCount(RECT{0, 0, pixels.Width(), pixels.Height()}) > pixels.Width() * pixels.Height() / 50;
    }));
    ScreenPixels(ScreenRect(window)).Save("orvane_4_second_start.bmp");

    // Hidden to the tray, then a second instance: it shows the first and ends.
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Until([&] { return !::IsWindowVisible(window); }));
    Program second;
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.Ended()) << "the second instance keeps running";
    EXPECT_TRUE(Until([&] { return ::IsWindowVisible(window) != FALSE; })) << "the first did not come forward";
    ScreenPixels(ScreenRect(window)).Save("orvane_5_brought_forward.bmp");

    // Exit from the File menu's command: the process ends.
    ::PostMessageA(window, WM_COMMAND, 32794 /* File, Exit */, 0);
    EXPECT_TRUE(first.Ended()) << "exit did not end the program";
    EXPECT_FALSE(::IsWindow(window));
}

// Any main window of process id, shown or not.
HWND AnyMainWindowOf(DWORD processId) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, ORV_MAIN_WINDOW_CLASS, nullptr))) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == processId) return window;
    }
    return nullptr;
}

TEST_F(DemoMember, ANotifierStartWaitsThenRunsHiddenInTheTrayUntilAskedToShow) {
    Program notifier("-notifier");
    ASSERT_TRUE(notifier.Started());
    const DWORD started = ::GetTickCount();
    HWND window = nullptr;
    ASSERT_TRUE(Until([&] { return (window = AnyMainWindowOf(notifier.Id())) != nullptr; }, 180000));
    EXPECT_GE(::GetTickCount() - started, 30000u) << "the notifier start waits 30 s first";
    // On line it stays hidden; the restore message shows it once the session
    // is up (before that the message finds it still connecting).
    const UINT restore = ::RegisterWindowMessageA(ORV_MSGNAME_RESTORE_WINDOW);
    EXPECT_FALSE(::IsWindowVisible(window));
    int answered = 0, unanswered = 0;
    ASSERT_TRUE(Until([&] {
        if (::SendMessageTimeoutA(window, restore, 0, 0, SMTO_NORMAL, 5000, nullptr))
            ++answered;
        else
            ++unanswered;
        return ::IsWindowVisible(window) != FALSE;
    })) << "the notifier's window never came forward (" << answered << " restores answered, " << unanswered
        << " not; window " << (::IsWindow(window) ? "exists" : "gone") << ")";
    ::PostMessageA(window, WM_CLOSE, 1, 0);
    EXPECT_TRUE(notifier.Ended());
}

TEST_F(DemoMember, AnInstallationInProgressKeepsTheProgramOut) {
    // The installer holds the install semaphore.
    HANDLE installer = ::CreateSemaphoreA(nullptr, 0, 2, "$$ORV$$INSTALL$$SEMAPHORE");
    ASSERT_NE(installer, nullptr);
    {
        Program blocked;
        ASSERT_TRUE(blocked.Started());
        EXPECT_TRUE(blocked.Ended()) << "the program runs during an installation";
        EXPECT_EQ(MainWindowOf(blocked.Id()), nullptr);
    }
    EXPECT_EQ(::WaitForSingleObject(installer, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the program released the installer's semaphore";
    ::CloseHandle(installer);
}

TEST_F(DemoMember, RemoveLogsInDropsTheMemberAndEndsWithoutAWindow) {
    const std::string email = "remove-me-" + std::to_string(::GetCurrentProcessId()) + "@example.com";
    const std::string password = s_network->SignUp(email);
    ASSERT_FALSE(password.empty()) << s_network->Logs();
    const std::string logIn = "{\"email\":\"" + email + "\",\"password\":\"" + password +
                              "\",\"clientKind\":\"1\",\"version\":\"1.0\"}";
    ASSERT_EQ(DemoNetwork::JsonString(s_network->Post("/api/v1/check-user", logIn), "code"), "0");
    OrvRegistry registry;
    const CString keptEmail = registry.GetEmail(), keptPassword = registry.GetSerkey();
    registry.SetEmail(email.c_str());
    registry.SetSerkey(password.c_str());
    {
        Program removal("-remove");
        ASSERT_TRUE(removal.Started());
        EXPECT_TRUE(removal.Ended()) << "the removal run did not end";
        EXPECT_EQ(MainWindowOf(removal.Id()), nullptr);
    }
    EXPECT_NE(DemoNetwork::JsonString(s_network->Post("/api/v1/check-user", logIn), "code"), "0")
        << "the member can still log in";
    registry.SetEmail(keptEmail);
    registry.SetSerkey(keptPassword);
}

struct DialogSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window)) return TRUE;
    if (!::GetDlgItem(window, search->id)) return TRUE;
    search->found = window;
    return FALSE;
}

// A visible dialog of this process that holds the control id; null when none.
HWND FindDialogWith(int controlId) {
    DialogSearch search{controlId, nullptr};
    ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Works the dialogs from another thread, as a member's hands would: each
// step waits for its dialog (generously), types and presses a button.
class WizardDriver {
public:
    explicit WizardDriver(std::function<void(WizardDriver&)> script)
        : m_thread([this, script] { script(*this); }) {}
    ~WizardDriver() {
        m_stop = true;
        m_thread.join();
    }
    HWND Await(int controlId) {
        const DWORD start = ::GetTickCount();
        while (!m_stop && ::GetTickCount() - start < 120000) {
            if (HWND dialog = FindDialogWith(controlId)) return dialog;
            ::Sleep(20);
        }
        failures.push_back("no dialog with control " + std::to_string(controlId));
        return nullptr;
    }
    void AwaitGone(HWND dialog) {
        const DWORD start = ::GetTickCount();
        while (!m_stop && ::IsWindow(dialog) && ::IsWindowVisible(dialog) && ::GetTickCount() - start < 120000)
            ::Sleep(20);
    }
    static void Type(HWND dialog, int id, const std::string& text) {
        ::SendMessageA(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    static void Press(HWND dialog, int id) {
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
    }
    std::vector<std::string> failures;

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

TEST_F(DemoMember, ANewMemberSignsUpWithFiveContactsLogsInWithTheMailedPasswordAndSeesHisTree) {
    apptest::ClearSettings();
    OrvRegistry().SetUrl(s_network->Url().c_str());
    const std::string email = "newbie-" + std::to_string(::GetCurrentProcessId()) + "@example.com";
    apptest::RecordingMessenger messenger;
    OrvMainFrame frame;
    frame.SetMessenger(&messenger);
    frame.SetProgramDirectory(ProgramDirectory().c_str());
    frame.SetUrl(OrvRegistry().GetUrl());
    OrvApp::CreateServices(frame, ProgramDirectory().c_str());
    DemoNetwork* network = s_network.get();
    bool sawLogIn = false;
    {
        WizardDriver driver([&](WizardDriver& hands) {
            HWND page = hands.Await(IDC_WIZARD_EMAIL);
            if (!page) return;
            ScreenPixels(ScreenRect(page)).Save("orvane_signup_1_email.bmp");
            WizardDriver::Type(page, IDC_WIZARD_EMAIL, email);
            WizardDriver::Press(page, IDOK);
            page = hands.Await(IDC_WIZARD_NAME);
            if (!page) return;
            WizardDriver::Type(page, IDC_WIZARD_NAME, "Nora Newman");
            WizardDriver::Type(page, IDC_FREE_TEXT, "Pilot");
            WizardDriver::Press(page, IDOK);
            page = hands.Await(IDC_ADD_MANUALLY);
            if (!page) return;
            const char* const contacts[5][2] = {{"Demo Two", "demo2@example.com"},
                                                {"Demo Three", "demo3@example.com"},
                                                {"Demo Four", "demo4@example.com"},
                                                {"Demo Five", "demo5@example.com"},
                                                {"Olga Outside", "olga.outside@example.com"}};
            for (const auto& contact : contacts) {
                WizardDriver::Press(page, IDC_ADD_MANUALLY);
                HWND manual = hands.Await(IDC_MANUAL_NAME);
                if (!manual) return;
                WizardDriver::Type(manual, IDC_MANUAL_NAME, contact[0]);
                WizardDriver::Type(manual, IDC_MANUAL_EMAIL, contact[1]);
                WizardDriver::Press(manual, IDOK);
                hands.AwaitGone(manual);
            }
            ScreenPixels(ScreenRect(page)).Save("orvane_signup_2_contacts.bmp");
            WizardDriver::Press(page, IDOK);
            page = hands.Await(IDC_FINISH_EMAIL);
            if (!page) return;
            WizardDriver::Press(page, IDOK);
            page = hands.Await(IDC_LOGIN_PASSWORD);
            if (!page) return;
            sawLogIn = true;
            ScreenPixels(ScreenRect(page)).Save("orvane_signup_3_login.bmp");
            WizardDriver::Type(page, IDC_LOGIN_PASSWORD, network->MailedPassword(email));
            WizardDriver::Press(page, IDC_LOGIN_BUTTON);
        });
        ASSERT_TRUE(frame.StartSession()) << "the sign-up did not succeed";
        for (const std::string& failure : driver.failures) ADD_FAILURE() << failure;
    }
    EXPECT_TRUE(sawLogIn);
    OrvRegistry registry;
    EXPECT_TRUE(registry.IsRegister());
    EXPECT_TRUE(registry.IsLogon());
    EXPECT_STREQ(registry.GetEmail(), email.c_str());
    EXPECT_STREQ(registry.GetFName(), "Nora");
    EXPECT_STREQ(registry.GetLName(), "Newman");
    EXPECT_TRUE(OrvStartupSetting::IsSet()) << "a sign-up starts the program with Windows";
    OrvStartupSetting::Remove();

    ASSERT_TRUE(OrvApp::RegisterMainWindowClass(::GetModuleHandleA(nullptr)));
    ASSERT_TRUE(OrvApp::CreateMainWindow(frame));
    ASSERT_TRUE(Until([&] { return frame.GetSessionState() == OrvMainFrame::ssOnline && frame.IsWindowVisible(); }))
        << "last result " << frame.GetLastResult().GetString();
    CTreeControl* tree = frame.GetTreeControl();
    const CString me = frame.GetUserId();
    ASSERT_TRUE(Until([&] { return TreeShows(tree, me); }));
    EXPECT_EQ(frame.GetCurrentTree().Count(), 6) << "the member and his five contacts";
    frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_FRAME);
    ScreenPixels(ScreenRect(frame.GetSafeHwnd())).Save("orvane_signup_4_new_member_tree.bmp");
    frame.SendMessage(WM_CLOSE, 1, 0);
    EXPECT_FALSE(frame.GetSafeHwnd());
    for (const auto& shown : messenger.shown) ADD_FAILURE() << "message shown: " << shown.caption << ": " << shown.text;
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace
