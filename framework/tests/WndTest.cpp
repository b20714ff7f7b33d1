// CWnd under real windows: the handle map, creation, subclassing, the end of
// a window, exceptions stopped at the window procedure, routing to the
// handlers, the thin wrappers and a double-buffered window on screen.
#include "AfxGlobals.h"
#include "BitmapFile.h"
#include "CBrush.h"
#include "CDoubleBufferWnd.h"
#include "CException.h"
#include "CFont.h"
#include "CRgn.h"
#include "CScopedSelect.h"
#include "CWinThread.h"
#include "CWnd.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace {
const UINT kMsgPing = WM_APP + 1;
const UINT kMsgThrowFramework = WM_APP + 2;
const UINT kMsgThrowStd = WM_APP + 3;
const UINT kMsgThrowOther = WM_APP + 4;

// Records what reaches its handlers.
class RecordingWnd : public CWnd {
public:
    int created = 0, destroyed = 0, timers = 0, lastSizeX = -1, lastSizeY = -1;
    UINT_PTR lastTimer = 0;
    UINT currentInSize = 0;
    std::vector<UINT> messages;
    bool throwOnCreate = false;
    bool throwOnPaint = false;
    int paints = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        switch (message) {
        case kMsgPing: return static_cast<LRESULT>(wParam * 2);
        case kMsgThrowFramework: AfxThrowMemoryException();
        case kMsgThrowStd: throw std::runtime_error("handler failed");
        case kMsgThrowOther: throw 7;
        default: return CWnd::WindowProc(message, wParam, lParam);
        }
    }
    bool Saw(UINT message) const {
        for (UINT m : messages)
            if (m == message) return true;
        return false;
    }

protected:
    int OnCreate(LPCREATESTRUCTA create) override {
        ++created;
        if (throwOnCreate) throw std::runtime_error("no window today");
        return CWnd::OnCreate(create);
    }
    void OnDestroy() override {
        ++destroyed;
        CWnd::OnDestroy();
    }
    void OnSize(UINT type, int cx, int cy) override {
        currentInSize = AfxGetCurrentMessage().message;
        lastSizeX = cx;
        lastSizeY = cy;
        CWnd::OnSize(type, cx, cy);
    }
    void OnTimer(UINT_PTR id) override {
        ++timers;
        lastTimer = id;
        KillTimer(id);
    }
    void OnPaint() override {
        ++paints;
        if (throwOnPaint) throw std::runtime_error("cannot paint");
        CWnd::OnPaint();
    }
};

bool CreateTopLevel(CWnd& wnd, const char* title = "framework test", DWORD style = WS_OVERLAPPEDWINDOW) {
    return wnd.CreateEx(0, nullptr, title, style, 50, 50, 300, 200, nullptr, nullptr);
}

// A window class of "someone else": answers kMsgPing with 77 and counts
// what it sees, so tests can tell that a subclassed window still reaches it.
int g_foreignCalls = 0;
LRESULT CALLBACK ForeignProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_foreignCalls;
    if (message == kMsgPing) return 77;
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND CreateForeignWindow() {
    static ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ForeignProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "FrameworkTestForeign";
        return RegisterClassA(&wc);
    }();
    EXPECT_NE(atom, 0);
    return CreateWindowExA(0, "FrameworkTestForeign", "foreign", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                           100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Lives as long as its window, as frame windows of a program do.
class SelfDeletingWnd : public CWnd {
public:
    static int s_deleted;
    static bool s_mappedInPostNcDestroy;
    HWND created = nullptr;
    ~SelfDeletingWnd() override { ++s_deleted; }

protected:
    void PostNcDestroy() override {
        s_mappedInPostNcDestroy = FromHandlePermanent(created) != nullptr || m_hWnd != nullptr;
        delete this;
    }
};
int SelfDeletingWnd::s_deleted = 0;
bool SelfDeletingWnd::s_mappedInPostNcDestroy = true;
}  // namespace

TEST(WindowMap, CreatedWindowIsMappedAndRoutedToItsObject) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    HWND hWnd = wnd.GetSafeHwnd();
    ASSERT_TRUE(IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
    EXPECT_EQ(CWnd::FromHandle(hWnd), &wnd);
    EXPECT_EQ(wnd.created, 1);
    EXPECT_TRUE(wnd.Saw(WM_NCCREATE)) << "subclassed before the first message";
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC)), &AfxWndProc);

    EXPECT_EQ(SendMessageA(hWnd, kMsgPing, 21, 0), 42);
    wnd.MoveWindow(10, 10, 240, 160);
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(wnd.lastSizeX, client.Width());
    EXPECT_EQ(wnd.lastSizeY, client.Height());
    EXPECT_EQ(wnd.currentInSize, static_cast<UINT>(WM_SIZE)) << "the handler's message is the current one";
    EXPECT_EQ(wnd.Default(), 0) << "outside a message there is nothing to pass on";
    EXPECT_FALSE(wnd.CreateEx(0, nullptr, "again", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
        << "one window per object";

    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.destroyed, 1);
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr) << "map cleared on destroy";
    EXPECT_FALSE(wnd.DestroyWindow());
}

namespace {
class ShapedWnd : public CWnd {
public:
    bool refuse = false;
    BOOL PreCreateWindow(CREATESTRUCTA& create) override {
        create.lpszName = "shaped";
        create.dwExStyle |= WS_EX_TOOLWINDOW;
        create.cx = 123;
        return !refuse;
    }
};
}  // namespace

TEST(WindowMap, PreCreateWindowShapesOrRefusesTheWindow) {
    ShapedWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd, "plain"));
    EXPECT_EQ(wnd.GetWindowText(), "shaped");
    EXPECT_TRUE(wnd.GetExStyle() & WS_EX_TOOLWINDOW);
    CRect window;
    wnd.GetWindowRect(&window);
    EXPECT_EQ(window.Width(), 123);
    ShapedWnd refused;
    refused.refuse = true;
    EXPECT_FALSE(CreateTopLevel(refused));
    EXPECT_EQ(refused.GetSafeHwnd(), nullptr);

    // A class that another module registered needs that module's handle.
    HINSTANCE other = GetModuleHandleA("gdi32.dll");
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = other;
    wc.lpszClassName = "FrameworkTestOtherModule";
    ASSERT_NE(RegisterClassA(&wc), 0);
    struct OtherModuleWnd : CWnd {
        HINSTANCE module = nullptr;
        BOOL PreCreateWindow(CREATESTRUCTA& create) override {
            create.hInstance = module;
            return TRUE;
        }
    } wrong, right;
    right.module = other;
    EXPECT_FALSE(wrong.CreateEx(0, "FrameworkTestOtherModule", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_TRUE(right.CreateEx(0, "FrameworkTestOtherModule", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(CWnd::FromHandlePermanent(right), &right);
    right.DestroyWindow();
    UnregisterClassA("FrameworkTestOtherModule", other);
}

TEST(WindowMap, PostNcDestroyComesAfterTheMapEntryIsGone) {
    SelfDeletingWnd::s_deleted = 0;
    auto* wnd = new SelfDeletingWnd;
    ASSERT_TRUE(CreateTopLevel(*wnd));
    HWND hWnd = wnd->GetSafeHwnd();
    wnd->created = hWnd;
    DestroyWindow(hWnd);  // from outside, as the system or a parent would
    EXPECT_EQ(SelfDeletingWnd::s_deleted, 1);
    EXPECT_FALSE(SelfDeletingWnd::s_mappedInPostNcDestroy);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);

    // DestroyWindow through the object, which is gone when it returns.
    SelfDeletingWnd::s_deleted = 0;
    wnd = new SelfDeletingWnd;
    ASSERT_TRUE(CreateTopLevel(*wnd));
    wnd->created = wnd->GetSafeHwnd();
    EXPECT_TRUE(wnd->DestroyWindow());
    EXPECT_EQ(SelfDeletingWnd::s_deleted, 1);
}

TEST(WindowMap, ObjectEndDestroysItsWindowAndParentEndClearsChildren) {
    HWND hWnd;
    {
        CWnd wnd;
        ASSERT_TRUE(CreateTopLevel(wnd));
        hWnd = wnd.GetSafeHwnd();
    }
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);

    CWnd parent;
    RecordingWnd child, grandChild;
    ASSERT_TRUE(CreateTopLevel(parent));
    ASSERT_TRUE(child.Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 50, 50), &parent, 7));
    ASSERT_TRUE(grandChild.Create(nullptr, "grandchild", WS_VISIBLE, CRect(0, 0, 20, 20), &child, 8));
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_EQ(parent.GetDlgItem(7), &child);
    EXPECT_EQ(child.GetDlgCtrlID(), 7);
    EXPECT_EQ(grandChild.GetTopLevelParent(), &parent);
    EXPECT_TRUE(parent.IsChild(&grandChild));
    HWND childHandle = child.GetSafeHwnd();
    parent.DestroyWindow();
    EXPECT_EQ(child.GetSafeHwnd(), nullptr);
    EXPECT_EQ(grandChild.GetSafeHwnd(), nullptr);
    EXPECT_EQ(child.destroyed, 1);
    EXPECT_EQ(grandChild.destroyed, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(childHandle), nullptr);
}

TEST(WindowMap, SubclassingRoundTripKeepsTheOldProcedure) {
    HWND foreign = CreateForeignWindow();
    ASSERT_NE(foreign, nullptr);
    const LONG_PTR original = GetWindowLongPtrA(foreign, GWLP_WNDPROC);
    {
        RecordingWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(foreign));
        EXPECT_EQ(CWnd::FromHandlePermanent(foreign), &wnd);
        RecordingWnd second;
        EXPECT_FALSE(second.SubclassWindow(foreign)) << "a window has one owner";
        EXPECT_FALSE(second.Attach(foreign));

        // Unhandled messages go on to the old procedure.
        g_foreignCalls = 0;
        SendMessageA(foreign, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("renamed"));
        EXPECT_TRUE(wnd.Saw(WM_SETTEXT));
        EXPECT_GT(g_foreignCalls, 0);
        EXPECT_EQ(wnd.GetWindowText(), "renamed");
        EXPECT_EQ(wnd.DefWindowProc(kMsgPing, 0, 0), 77);

        EXPECT_EQ(wnd.UnsubclassWindow(), foreign);
        EXPECT_EQ(GetWindowLongPtrA(foreign, GWLP_WNDPROC), original);
        EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
        EXPECT_TRUE(IsWindow(foreign)) << "unsubclassing leaves the window alone";

        // Detach without unhooking: messages still reach the old procedure.
        ASSERT_TRUE(second.SubclassWindow(foreign));
        EXPECT_EQ(second.Detach(), foreign);
        EXPECT_EQ(SendMessageA(foreign, kMsgPing, 0, 0), 77);
        // And a later owner finds the original procedure again.
        RecordingWnd third;
        ASSERT_TRUE(third.SubclassWindow(foreign));
        EXPECT_EQ(third.DefWindowProc(kMsgPing, 0, 0), 77);
        EXPECT_EQ(third.UnsubclassWindow(), foreign);
        EXPECT_EQ(GetWindowLongPtrA(foreign, GWLP_WNDPROC), original);
    }
    EXPECT_TRUE(IsWindow(foreign));
    DestroyWindow(foreign);

    RecordingWnd nothing;
    EXPECT_FALSE(nothing.SubclassWindow(nullptr));
    EXPECT_FALSE(nothing.SubclassWindow(reinterpret_cast<HWND>(0x1234)));
    EXPECT_FALSE(nothing.SubclassWindow(GetDesktopWindow())) << "not a window of this process";
}

TEST(WindowMap, AttachedWindowIsMappedButNotRouted) {
    HWND foreign = CreateForeignWindow();
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(foreign));
    EXPECT_EQ(CWnd::FromHandle(foreign), &wnd);
    EXPECT_EQ(SendMessageA(foreign, kMsgPing, 0, 0), 77);
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_FALSE(IsWindow(foreign));
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
}

TEST(WindowMap, TemporaryWrappersForForeignWindowsAreFreedAtIdle) {
    AfxDeleteTempMaps();
    const size_t before = AfxGetTempMapCount();
    HWND desktop = GetDesktopWindow();
    CWnd* temp = CWnd::FromHandle(desktop);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->GetSafeHwnd(), desktop);
    EXPECT_EQ(CWnd::FromHandle(desktop), temp) << "one wrapper per handle";
    EXPECT_EQ(CWnd::FromHandlePermanent(desktop), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    EXPECT_EQ(AfxGetTempMapCount(), before + 1);
    AfxDeleteTempMaps();
    EXPECT_EQ(AfxGetTempMapCount(), before);
    EXPECT_TRUE(IsWindow(desktop)) << "freeing a wrapper never destroys the window";

    // Each thread has wrappers of its own and frees only those.
    CWnd* mine = CWnd::FromHandle(desktop);
    CWnd* theirs = nullptr;
    CWinThread worker(
        [](LPVOID param) -> UINT {
            *static_cast<CWnd**>(param) = CWnd::FromHandle(GetDesktopWindow());
            return 0;
        },
        &theirs);
    ASSERT_TRUE(worker.CreateThread());
    ASSERT_TRUE(worker.StopThread(5000));
    EXPECT_NE(theirs, nullptr);
    EXPECT_NE(theirs, mine);
    EXPECT_EQ(AfxGetTempMapCount(), before + 1) << "the ended thread freed its own";
    AfxDeleteTempMaps();
}

TEST(WindowMap, ConcurrentThreadsShareTheMapSafely) {
    std::atomic<bool> stop{false};
    std::atomic<int> made{0};
    struct Args {
        std::atomic<bool>* stop;
        std::atomic<int>* made;
    } args{&stop, &made};
    auto churn = [](LPVOID param) -> UINT {
        auto* a = static_cast<Args*>(param);
        for (int i = 0; i < 40; ++i) {
            CWnd wnd;
            if (!wnd.CreateEx(0, nullptr, "churn", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr)) return 1;
            if (CWnd::FromHandlePermanent(wnd.GetSafeHwnd()) != &wnd) return 2;
            ++*a->made;
        }
        return 0;
    };
    CWinThread first(churn, &args), second(churn, &args);
    ASSERT_TRUE(first.CreateThread());
    ASSERT_TRUE(second.CreateThread());
    RecordingWnd mine;
    ASSERT_TRUE(CreateTopLevel(mine));
    while (first.GetExitCode() == STILL_ACTIVE || second.GetExitCode() == STILL_ACTIVE) {
        EXPECT_EQ(CWnd::FromHandlePermanent(mine.GetSafeHwnd()), &mine);
        orvtest::PumpPending();
    }
    ASSERT_TRUE(first.StopThread(5000) && second.StopThread(5000));
    EXPECT_EQ(first.GetExitCode(), 0u);
    EXPECT_EQ(second.GetExitCode(), 0u);
    EXPECT_EQ(made.load(), 80);
}

TEST(WindowProcedure, ExceptionsAreStoppedAndTheWindowLivesOn) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    const long before = AfxGetStoppedExceptionCount();
    EXPECT_EQ(wnd.SendMessage(kMsgThrowFramework), 0);
    EXPECT_EQ(wnd.SendMessage(kMsgThrowStd), 0);
    EXPECT_EQ(wnd.SendMessage(kMsgThrowOther), 0);
    EXPECT_EQ(AfxGetStoppedExceptionCount(), before + 3);
    EXPECT_EQ(wnd.SendMessage(kMsgPing, 5), 10) << "the window still answers";

    // A paint handler that throws must not leave the window invalid for ever.
    wnd.throwOnPaint = true;
    wnd.ShowWindow(SW_SHOWNOACTIVATE);
    wnd.Invalidate();
    wnd.UpdateWindow();
    orvtest::PumpPending();
    const int paints = wnd.paints;
    EXPECT_GE(paints, 1);
    orvtest::PumpPending();
    EXPECT_EQ(wnd.paints, paints) << "no endless repainting";
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(wnd, &update, FALSE));
}

TEST(WindowProcedure, ExceptionInPostNcDestroyIsStoppedToo) {
    struct ThrowingEnd : CWnd {
        void PostNcDestroy() override { throw std::runtime_error("late failure"); }
    } wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    HWND hWnd = wnd.GetSafeHwnd();
    const long before = AfxGetStoppedExceptionCount();
    DestroyWindow(hWnd);
    EXPECT_EQ(AfxGetStoppedExceptionCount(), before + 1);
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(WindowProcedure, ExceptionInOnCreateFailsCreationCleanly) {
    RecordingWnd wnd;
    wnd.throwOnCreate = true;
    const long before = AfxGetStoppedExceptionCount();
    EXPECT_FALSE(CreateTopLevel(wnd));
    EXPECT_EQ(wnd.created, 1);
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(AfxGetStoppedExceptionCount(), before + 1);
    wnd.throwOnCreate = false;
    EXPECT_TRUE(CreateTopLevel(wnd)) << "the object can try again";
}

namespace {
HHOOK g_vetoHook = nullptr;
HWND g_vetoed = nullptr;
LRESULT CALLBACK VetoCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        g_vetoed = reinterpret_cast<HWND>(wParam);
        return 1;
    }
    return CallNextHookEx(g_vetoHook, code, wParam, lParam);
}
}  // namespace

// A creation refused by a hook sends no message at all: the object used to
// keep the dead handle, stay in the map, and refuse every later Create.
TEST(WindowProcedure, CreationVetoedByAHookLeavesNoDeadHandleBehind) {
    RecordingWnd wnd;
    g_vetoHook = SetWindowsHookExA(WH_CBT, VetoCreation, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_vetoHook, nullptr);
    const bool made = CreateTopLevel(wnd);
    UnhookWindowsHookEx(g_vetoHook);
    EXPECT_FALSE(made);
    ASSERT_NE(g_vetoed, nullptr);
    EXPECT_FALSE(IsWindow(g_vetoed));
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(g_vetoed), nullptr);
    EXPECT_TRUE(CreateTopLevel(wnd)) << "the object can try again";
}

namespace {
// A control made from a system class, whose notifications its parent hands back.
class NotifiedButton : public CWnd {
public:
    int clicks = 0;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            ++clicks;
            *result = 0;
            return TRUE;
        }
        return FALSE;
    }
};

class CommandParent : public CWnd {
public:
    int commands = 0;
    UINT colourKind = 0;
    CWnd* colourFor = nullptr;
    CBrush background{RGB(1, 2, 3)};
    bool minimiseRefused = false;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (CWnd::OnCommand(wParam, lParam)) return TRUE;
        ++commands;
        return TRUE;
    }
    HBRUSH OnCtlColor(CDC*, CWnd* wnd, UINT kind) override {
        colourKind = kind;
        colourFor = wnd;
        return background;
    }
    // As a main window that goes to the tray instead of the task bar.
    void OnSysCommand(UINT id, LPARAM lParam) override {
        if ((id & 0xFFF0) == SC_MINIMIZE) {
            minimiseRefused = true;
            return;
        }
        CWnd::OnSysCommand(id, lParam);
    }
};

// Takes its own colour notification.
class ColouredStatic : public CWnd {
public:
    CBrush own{RGB(4, 5, 6)};
    BOOL OnChildNotify(UINT message, WPARAM, LPARAM, LRESULT* result) override {
        if (message != WM_CTLCOLORSTATIC) return FALSE;
        *result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(own));
        return TRUE;
    }
};
}  // namespace

TEST(WindowProcedure, SystemControlsAreSubclassedAndGetTheirNotifications) {
    CommandParent parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    NotifiedButton button;
    ASSERT_TRUE(button.Create("BUTTON", "Press", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 90, 40), &parent, 100));
    EXPECT_EQ(CWnd::FromHandlePermanent(button), &button);
    EXPECT_EQ(button.GetWindowText(), "Press");
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(button.clicks, 1) << "the parent handed BN_CLICKED to the button";
    EXPECT_EQ(parent.commands, 0);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(5, 0), 0);
    EXPECT_EQ(parent.commands, 1) << "commands from menus stay with the parent";

    // Colours: the parent answers for a plain control, a control object that
    // takes the notification answers for itself.
    HDC memory = CreateCompatibleDC(nullptr);
    HWND plain = CreateWindowExA(0, "STATIC", "plain", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
    EXPECT_EQ(parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(plain)),
              reinterpret_cast<LRESULT>(static_cast<HBRUSH>(parent.background)));
    EXPECT_EQ(parent.colourKind, static_cast<UINT>(CTLCOLOR_STATIC));
    ASSERT_NE(parent.colourFor, nullptr);
    EXPECT_EQ(parent.colourFor->GetSafeHwnd(), plain);
    ColouredStatic coloured;
    ASSERT_TRUE(coloured.Create("STATIC", "own", 0, CRect(0, 0, 10, 10), &parent, 101));
    parent.colourFor = nullptr;
    EXPECT_EQ(parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(coloured.GetSafeHwnd())),
              reinterpret_cast<LRESULT>(static_cast<HBRUSH>(coloured.own)));
    EXPECT_EQ(parent.colourFor, nullptr) << "the parent never saw it";
    DeleteDC(memory);

    parent.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_TRUE(parent.minimiseRefused);
    EXPECT_FALSE(parent.IsIconic());
    parent.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
    EXPECT_TRUE(parent.IsZoomed()) << "other commands get default processing";
}

TEST(WindowWrappers, TextGeometryStateFontsAndTimers) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreateTopLevel(wnd, "first"));
    EXPECT_EQ(wnd.GetWindowText(), "first");
    wnd.SetWindowText("");
    EXPECT_TRUE(wnd.GetWindowText().IsEmpty());
    wnd.SetWindowText(nullptr);
    EXPECT_EQ(wnd.GetWindowTextLength(), 0);
    wnd.SetWindowText("second");
    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(text, "second");

    EXPECT_FALSE(wnd.IsWindowVisible());
    wnd.ShowWindow(SW_SHOWNOACTIVATE);
    EXPECT_TRUE(wnd.IsWindowVisible());
    wnd.SetWindowPos(static_cast<HWND>(nullptr), 100, 120, 320, 240, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect window, client;
    wnd.GetWindowRect(&window);
    EXPECT_EQ(window, CRect(100, 120, 420, 360));
    wnd.GetClientRect(&client);
    CPoint origin(0, 0);
    wnd.ClientToScreen(&origin);
    EXPECT_GE(origin.x, window.left);
    EXPECT_GT(origin.y, window.top) << "below the caption";
    CRect mapped = client;
    wnd.ClientToScreen(&mapped);
    wnd.ScreenToClient(&mapped);
    EXPECT_EQ(mapped, client);

    EXPECT_TRUE(wnd.IsWindowEnabled());
    wnd.EnableWindow(FALSE);
    EXPECT_FALSE(wnd.IsWindowEnabled());
    wnd.EnableWindow(TRUE);

    EXPECT_TRUE(wnd.ModifyStyleEx(0, WS_EX_TOOLWINDOW));
    EXPECT_TRUE(wnd.GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(wnd.ModifyStyleEx(0, WS_EX_TOOLWINDOW)) << "no change, no call";

    CWnd edit;
    ASSERT_TRUE(edit.Create("EDIT", "", WS_VISIBLE, CRect(0, 0, 100, 20), &wnd, 1));
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "Arial"));
    edit.SetFont(&font);
    ASSERT_NE(edit.GetFont(), nullptr);
    EXPECT_EQ(edit.GetFont()->GetSafeHandle(), font.GetSafeHandle());

    EXPECT_EQ(wnd.SetTimer(17, 10), 17u);
    EXPECT_TRUE(orvtest::PumpUntil([&] { return wnd.timers > 0; }));
    EXPECT_EQ(wnd.lastTimer, 17u);

    EXPECT_EQ(wnd.PostMessage(kMsgPing, 1), TRUE);
    EXPECT_TRUE(orvtest::PumpUntil([&] { return wnd.Saw(kMsgPing); }));

    wnd.SetCapture();
    EXPECT_EQ(CWnd::GetCapture(), &wnd);
    CWnd::ReleaseCapture();
    EXPECT_NE(CWnd::GetCapture(), &wnd);

    // Without a window every wrapper declines quietly.
    CWnd none;
    CRect r(1, 2, 3, 4);
    none.GetClientRect(&r);
    EXPECT_TRUE(r.IsRectNull());
    EXPECT_EQ(none.SendMessage(kMsgPing, 1), 0);
    EXPECT_FALSE(none.PostMessage(kMsgPing));
    EXPECT_EQ(none.SetTimer(1, 10), 0u);
    EXPECT_TRUE(none.GetWindowText().IsEmpty());
    EXPECT_EQ(none.GetParent(), nullptr);
    EXPECT_EQ(none.GetFont(), nullptr);
}

TEST(WindowWrappers, ShapePlacementIconAndDescendants) {
    RecordingWnd top, child, grandChild;
    ASSERT_TRUE(CreateTopLevel(top));
    ASSERT_TRUE(child.Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 50, 50), &top, 1));
    ASSERT_TRUE(grandChild.Create(nullptr, "grandchild", WS_VISIBLE, CRect(0, 0, 20, 20), &child, 2));
    top.SendMessageToDescendants(kMsgPing, 1, 0, FALSE);
    EXPECT_TRUE(child.Saw(kMsgPing));
    EXPECT_FALSE(grandChild.Saw(kMsgPing)) << "not deep";
    top.SendMessageToDescendants(kMsgPing);
    EXPECT_TRUE(grandChild.Saw(kMsgPing));
    EXPECT_FALSE(top.Saw(kMsgPing)) << "only descendants";
    EXPECT_EQ(top.GetWindow(GW_CHILD), &child);

    // The window's shape: the system takes the region.
    CRgn shape;
    ASSERT_TRUE(shape.CreateEllipticRgn(0, 0, 300, 200));
    EXPECT_NE(top.SetWindowRgn(static_cast<HRGN>(shape.Detach()), FALSE), 0);
    CRgn copy;
    ASSERT_TRUE(copy.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(top.GetWindowRgn(copy), COMPLEXREGION);
    EXPECT_TRUE(copy.PtInRegion(150, 100));
    EXPECT_FALSE(copy.PtInRegion(2, 2)) << "the corner is cut away";

    // Centred on the work area when there is no owner.
    top.CenterWindow();
    CRect work, window;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    top.GetWindowRect(&window);
    EXPECT_LE(abs(window.CenterPoint().x - work.CenterPoint().x), 1);
    EXPECT_LE(abs(window.CenterPoint().y - work.CenterPoint().y), 1);
    // A child over its parent's client area.
    child.CenterWindow();
    CRect parentClient, childRect;
    top.GetClientRect(&parentClient);
    child.GetWindowRect(&childRect);
    top.ScreenToClient(&childRect);
    EXPECT_LE(abs(childRect.CenterPoint().x - parentClient.CenterPoint().x), 1);

    WINDOWPLACEMENT placement{};
    ASSERT_TRUE(top.GetWindowPlacement(&placement));
    placement.rcNormalPosition = CRect(40, 50, 240, 190);
    placement.showCmd = SW_SHOWNOACTIVATE;
    ASSERT_TRUE(top.SetWindowPlacement(&placement));
    top.GetWindowRect(&window);
    EXPECT_EQ(window.left, 40);
    EXPECT_EQ(window.Width(), 200);
    EXPECT_FALSE(top.IsIconic());

    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    top.SetIcon(icon, TRUE);
    EXPECT_EQ(top.GetIcon(TRUE), icon);
}

namespace {
// Four quadrants and a white disc: easy to find again on the screen.
class QuadrantWnd : public CDoubleBufferWnd {
public:
    int paints = 0;
    void DoPaint(CDC& dc, const CRect& client) override {
        ++paints;
        const CPoint c = client.CenterPoint();
        dc.FillSolidRect(CRect(0, 0, c.x, c.y), RGB(255, 0, 0));
        dc.FillSolidRect(CRect(c.x, 0, client.right, c.y), RGB(0, 255, 0));
        dc.FillSolidRect(CRect(0, c.y, c.x, client.bottom), RGB(0, 0, 255));
        dc.FillSolidRect(CRect(c.x, c.y, client.right, client.bottom), RGB(255, 255, 0));
        CBrush white(RGB(255, 255, 255));
        CScopedSelect brush(dc, white);
        CScopedSelect pen(dc, GetStockObject(NULL_PEN));
        dc.Ellipse(c.x - 20, c.y - 20, c.x + 20, c.y + 20);
    }
};

void ExpectQuadrants(HBITMAP picture, const CRect& client, const char* how) {
    const CPoint c = client.CenterPoint();
    EXPECT_EQ(orvtest::BitmapPixel(picture, 5, 5), RGB(255, 0, 0)) << how;
    EXPECT_EQ(orvtest::BitmapPixel(picture, client.right - 5, 5), RGB(0, 255, 0)) << how;
    EXPECT_EQ(orvtest::BitmapPixel(picture, 5, client.bottom - 5), RGB(0, 0, 255)) << how;
    EXPECT_EQ(orvtest::BitmapPixel(picture, client.right - 5, client.bottom - 5), RGB(255, 255, 0)) << how;
    EXPECT_EQ(orvtest::BitmapPixel(picture, c.x, c.y), RGB(255, 255, 255)) << how;
}
}  // namespace

TEST(DoubleBufferWindow, PaintsOnceAndShowsOnScreen) {
    QuadrantWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(WS_EX_TOPMOST, nullptr, "double buffer", WS_POPUP | WS_VISIBLE, 200, 150,
                             240, 160, nullptr, nullptr));
    wnd.UpdateWindow();
    orvtest::PumpPending();
    ASSERT_GE(wnd.paints, 1);
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SendMessageA(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0), TRUE)
        << "erasing is swallowed";
    DeleteDC(memory);
    CRect client;
    wnd.GetClientRect(&client);

    HBITMAP printed = orvtest::CaptureClient(wnd, true);
    ASSERT_NE(printed, nullptr);
    ExpectQuadrants(printed, client, "PrintWindow");
    EXPECT_TRUE(orvtest::SaveBitmapFile(printed, orvtest::ArtifactPath("framework_double_buffer_print.bmp")));
    DeleteObject(printed);

    const int before = wnd.paints;
    wnd.RedrawWindow();
    EXPECT_EQ(wnd.paints, before + 1) << "one paint per update";
    HBITMAP shown = orvtest::CaptureClient(wnd);
    ASSERT_NE(shown, nullptr);
    ExpectQuadrants(shown, client, "screen");
    EXPECT_TRUE(orvtest::SaveBitmapFile(shown, orvtest::ArtifactPath("framework_double_buffer_screen.bmp")));
    DeleteObject(shown);
}
