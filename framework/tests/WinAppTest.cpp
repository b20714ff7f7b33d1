// The application object and its message loop run through AfxWinMain, as
// the program's WinMain does, and threads with loops of their own.
#include "AfxGlobals.h"
#include "CDialog.h"
#include "CException.h"
#include "CWinApp.h"
#include "CWnd.h"

#include "resource.h"

#include <gtest/gtest.h>

namespace {
const UINT kTakenByApp = WM_APP + 10;
const UINT kTakenByWindow = WM_APP + 11;
const UINT kDelivered = WM_APP + 12;
const UINT kTakenByChild = WM_APP + 13;
const UINT_PTR kIdleCheckTimer = 5;

class MainWnd : public CWnd {
public:
    int delivered = 0, takenSeen = 0, preTranslated = 0;
    size_t tempsBeforeIdle = 0, tempsAfterIdle = 99;

    BOOL PreTranslateMessage(MSG* msg) override {
        ++preTranslated;
        return msg->message == kTakenByWindow;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kTakenByApp || message == kTakenByWindow || message == kTakenByChild) ++takenSeen;
        if (message == kDelivered) {
            ++delivered;
            // A temporary wrapper now; the loop's idle time must free it.
            CWnd::FromHandle(GetDesktopWindow());
            tempsBeforeIdle = AfxGetTempMapCount();
            SetTimer(kIdleCheckTimer, 30);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

protected:
    void OnTimer(UINT_PTR id) override {
        KillTimer(id);
        tempsAfterIdle = AfxGetTempMapCount();
        // The end of the main window ends the loop.
        DestroyWindow();
    }
};

class ChildWnd : public CWnd {
public:
    BOOL PreTranslateMessage(MSG* msg) override { return msg->message == kTakenByChild; }
};

class TestApp : public CWinApp {
public:
    MainWnd mainWnd;
    ChildWnd child;
    int appTaken = 0, inits = 0, exits = 0;
    bool failInit = false;
    CString commandLine;

    BOOL InitInstance() override {
        ++inits;
        commandLine = m_lpCmdLine;
        if (failInit) return FALSE;
        if (!mainWnd.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr))
            return FALSE;
        child.Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 20, 20), &mainWnd, 1);
        m_pMainWnd = &mainWnd;
        mainWnd.PostMessage(kTakenByApp);
        mainWnd.PostMessage(kTakenByWindow);
        child.PostMessage(kTakenByChild);
        mainWnd.PostMessage(kDelivered);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == kTakenByApp) {
            ++appTaken;
            return TRUE;
        }
        return CWinApp::PreTranslateMessage(msg);
    }
    int ExitInstance() override {
        ++exits;
        return 40 + static_cast<int>(CWinApp::ExitInstance()) + (failInit ? 1 : 2);
    }
};
}  // namespace

TEST(Application, RunsTheLoopAndEndsWithExitInstance) {
    TestApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(AfxGetThread(), &app);
    char commandLine[] = "-log";
    const int code = AfxWinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_HIDE);
    EXPECT_EQ(code, 42) << "ExitInstance's result, after WM_QUIT 0";
    EXPECT_EQ(app.inits, 1);
    EXPECT_EQ(app.exits, 1);
    EXPECT_EQ(app.commandLine, "-log");
    EXPECT_EQ(app.appTaken, 1);
    EXPECT_EQ(app.mainWnd.takenSeen, 0) << "taken messages were never dispatched";
    EXPECT_EQ(app.mainWnd.delivered, 1);
    EXPECT_GE(app.mainWnd.preTranslated, 2) << "the child's messages passed the main window too";
    EXPECT_GT(app.mainWnd.tempsBeforeIdle, 0u);
    EXPECT_EQ(app.mainWnd.tempsAfterIdle, 0u) << "idle time freed the temporary wrappers";
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.mainWnd.GetSafeHwnd(), nullptr);
}

TEST(Application, FailedInitInstanceSkipsTheLoop) {
    TestApp app;
    app.failInit = true;
    EXPECT_EQ(AfxWinMain(nullptr, nullptr, nullptr, SW_HIDE), 41);
    EXPECT_EQ(app.exits, 1);
    EXPECT_EQ(app.commandLine, "");
}

namespace {
// A modeless dialog in the application's loop: its keys must reach
// IsDialogMessage through the walk up the window chain.
class EscapeDialog : public CDialog {
public:
    int cancels = 0;
    CWnd* toEnd = nullptr;
    void OnCancel() override {
        ++cancels;
        toEnd->DestroyWindow();
    }
};

class DialogApp : public CWinApp {
public:
    CWnd mainWnd;
    EscapeDialog dialog;
    int escapesSeen = 0;
    BOOL InitInstance() override {
        if (!mainWnd.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr))
            return FALSE;
        m_pMainWnd = &mainWnd;
        dialog.toEnd = &mainWnd;
        if (!dialog.Create(IDD_TEST_DIALOG, &mainWnd)) return FALSE;
        ::PostMessageA(dialog.GetDlgItem(IDC_TEST_EDIT)->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) ++escapesSeen;
        return CWinApp::PreTranslateMessage(msg);
    }
};
}  // namespace

TEST(Application, ModelessDialogKeysWorkInTheLoop) {
    DialogApp app;
    EXPECT_EQ(AfxWinMain(nullptr, nullptr, nullptr, SW_HIDE), 0);
    EXPECT_EQ(app.escapesSeen, 1) << "the application looked first";
    EXPECT_EQ(app.dialog.cancels, 1) << "then the dialog turned Esc into IDCANCEL";
}

TEST(Application, WithoutMainWindowTheLoopEndsAtOnce) {
    struct NoWindowApp : CWinApp {
        int exits = 0;
        int ExitInstance() override {
            ++exits;
            return 7;
        }
    } app;
    EXPECT_EQ(AfxWinMain(nullptr, nullptr, nullptr, SW_HIDE), 7);
    EXPECT_EQ(app.exits, 1);
}

TEST(Application, OneApplicationObjectPerProcess) {
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxWinMain(nullptr, nullptr, nullptr, SW_HIDE), -1) << "no application object";
    CWinApp first("first");
    EXPECT_THROW(CWinApp second, CNotSupportedException);
    EXPECT_EQ(AfxGetApp(), &first);
    EXPECT_STREQ(AfxGetApp()->m_pszAppName, "first");
}

TEST(Application, ExceptionOutOfInitInstanceEndsTheProgramWithMinusOne) {
    struct ThrowingApp : CWinApp {
        BOOL InitInstance() override { AfxThrowMemoryException(); }
    } app;
    EXPECT_EQ(AfxWinMain(nullptr, nullptr, nullptr, SW_HIDE), -1);
}

namespace {
const UINT kWork = WM_APP + 20;

// A thread with its own loop, which counts thread messages and answers with
// an event.
class WorkerThread : public CWinThread {
public:
    HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    volatile LONG work = 0;
    volatile LONG sawSelf = 0;
    ~WorkerThread() override {
        StopThread();
        CloseHandle(done);
    }
    BOOL InitInstance() override {
        sawSelf = AfxGetThread() == this;
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->hwnd == nullptr && msg->message == kWork) {
            work += static_cast<LONG>(msg->wParam);
            SetEvent(done);
            return TRUE;
        }
        return CWinThread::PreTranslateMessage(msg);
    }
    int ExitInstance() override { return 100 + work; }
};
}  // namespace

TEST(Threads, LoopTakesThreadMessagesAndEndsWithItsObject) {
    HANDLE handle = nullptr;
    {
        WorkerThread thread;
        ASSERT_TRUE(thread.CreateThread());
        EXPECT_FALSE(thread.CreateThread()) << "one thread per object";
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread.m_hThread, GetCurrentProcess(), &handle,
                                    0, FALSE, DUPLICATE_SAME_ACCESS));
        ASSERT_TRUE(thread.PostThreadMessage(kWork, 3, 0)) << "the queue exists once CreateThread returns";
        ASSERT_EQ(WaitForSingleObject(thread.done, 5000), WAIT_OBJECT_0);
        EXPECT_EQ(thread.work, 3);
        EXPECT_EQ(thread.sawSelf, 1);
        EXPECT_EQ(thread.GetExitCode(), static_cast<DWORD>(STILL_ACTIVE));
    }
    // The object's end stopped the thread and waited for it.
    EXPECT_EQ(WaitForSingleObject(handle, 0), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(handle, &code);
    EXPECT_EQ(code, 103u) << "ExitInstance's result is the exit code";
    CloseHandle(handle);
}

TEST(Threads, SuspendedAndWorkerFunctionThreads) {
    {
        WorkerThread thread;
        ASSERT_TRUE(thread.CreateThread(CREATE_SUSPENDED));
        thread.PostThreadMessage(kWork, 1, 0);
        EXPECT_EQ(WaitForSingleObject(thread.done, 100), static_cast<DWORD>(WAIT_TIMEOUT)) << "suspended";
        thread.ResumeThread();
        EXPECT_EQ(WaitForSingleObject(thread.done, 5000), WAIT_OBJECT_0);
        EXPECT_TRUE(thread.StopThread(5000));
        EXPECT_EQ(thread.GetExitCode(), 101u);
    }
    {
        // A suspended thread that is never resumed still ends with its object.
        WorkerThread thread;
        ASSERT_TRUE(thread.CreateThread(CREATE_SUSPENDED));
    }
    int value = 20;
    CWinThread worker([](LPVOID param) -> UINT { return static_cast<UINT>(*static_cast<int*>(param) + 1); },
                      &value);
    ASSERT_TRUE(worker.CreateThread());
    EXPECT_TRUE(worker.StopThread(5000));
    EXPECT_EQ(worker.GetExitCode(), 21u);

    CWinThread never;
    EXPECT_TRUE(never.StopThread());
    EXPECT_EQ(never.GetExitCode(), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_FALSE(never.PostThreadMessage(kWork, 0, 0));
}
