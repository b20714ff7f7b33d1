// CSubclassWnd's process-wide hook chain and CComponent's message table on
// real windows: newest hook first, removal in any order, the end of the
// window, hooks of framework windows, procedures installed by others after
// ours, stopped exceptions, and the skin theme a component finds.
#include "CComponent.h"
#include "CSkin.h"
#include "TestWindows.h"

#include "CWnd.h"
#include "DebugOutputCapture.h"
#include "OrvMessages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <string>
#include <vector>

using namespace ctltest;

namespace {
const UINT kProbe = WM_APP + 1;

// What the window's own procedure saw.
struct OriginalLog {
    std::vector<UINT> messages;
    LPARAM lastLParam = 0;
    bool sawNcDestroy = false;
};
OriginalLog g_original;

LRESULT CALLBACK OriginalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe || message == WM_LBUTTONDOWN) {
        g_original.messages.push_back(message);
        g_original.lastLParam = lParam;
        return 100;
    }
    if (message == WM_NCDESTROY) g_original.sawNcDestroy = true;
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// A plain window of this process with OriginalProc.
HWND MakeRawWindow(HWND parent = nullptr) {
    static const char* className = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = OriginalProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "OrvTestRawWindow";
        ::RegisterClassA(&wc);
        return "OrvTestRawWindow";
    }();
    g_original = OriginalLog{};
    return ::CreateWindowExA(0, className, "", parent ? WS_CHILD : WS_POPUP, 0, 0, 50, 50, parent, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

WNDPROC ProcedureOf(HWND window) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)); }

// Logs its name for every probe, then passes it on.
class LoggingComponent : public CComponent {
public:
    LoggingComponent(const char* name, std::vector<std::string>& log) : m_name(name), m_log(log) {}
    CString GetComponentName() const override { return m_name; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kProbe) m_log.push_back(std::string(m_name));
        return CComponent::WindowProc(message, wParam, lParam);
    }

private:
    CString m_name;
    std::vector<std::string>& m_log;
};

// Overrides a few handlers of the table and the three special messages.
class TableComponent : public CComponent {
public:
    int skinChanges = 0;
    UINT sysCommand = 0;
    CPoint sysCommandPoint;
    bool sawMinMax = false;
    CString GetComponentName() const override { return "table"; }
    LRESULT OnSkinChanged() override {
        ++skinChanges;
        return CComponent::OnSkinChanged();
    }
    LRESULT OnSysCommand(UINT command, CPoint point) override {
        sysCommand = command;
        sysCommandPoint = point;
        return 7;
    }
    LRESULT OnGetMinMaxInfo(MINMAXINFO* info) override {
        sawMinMax = info != nullptr;
        return CComponent::OnGetMinMaxInfo(info);
    }

protected:
    void OnNcHitTest(WMNCHitTest_t& m) override { m.Result = HTCAPTION; }
    // Moves every click 5 pixels right on its way down the chain.
    void OnLButtonDown(WMMouse_t& m) override {
        m.LParam = MAKELPARAM(m.XPos() + 5, m.YPos());
        m.Handled = FALSE;
    }
    void OnPaint(WMNoParams_t&) override { throw std::runtime_error("painting failed"); }
};

// Answers the window's skin theme.
class ThemeComponent : public CComponent {
public:
    explicit ThemeComponent(const char* theme) : m_theme(theme) {}
    CString GetComponentName() const override { return m_theme; }
    void OnGetSkinThema(CString* theme) override { *theme = m_theme; }

private:
    CString m_theme;
};

class NamedComponent : public CComponent {
public:
    explicit NamedComponent(const char* name) : m_name(name) {}
    CString GetComponentName() const override { return m_name; }

private:
    CString m_name;
};

// A procedure someone else puts in front of ours.
WNDPROC g_foreignNext = nullptr;
int g_foreignSeen = 0;
LRESULT CALLBACK ForeignProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe) ++g_foreignSeen;
    return ::CallWindowProcA(g_foreignNext, window, message, wParam, lParam);
}
}  // namespace

TEST(SubclassChain, TwoComponentsSeeEveryMessageNewestFirstAndEitherCanLeave) {
    HWND window = MakeRawWindow();
    std::vector<std::string> log;
    LoggingComponent older("older", log), newer("newer", log);
    ASSERT_TRUE(older.Install(window));
    ASSERT_TRUE(newer.Install(window));
    EXPECT_NE(ProcedureOf(window), &OriginalProc);
    EXPECT_EQ(::SendMessageA(window, kProbe, 0, 0), 100) << "the original answers last";
    EXPECT_EQ(log, (std::vector<std::string>{"newer", "older"}));
    EXPECT_EQ(g_original.messages.size(), 1u);

    // The older leaves: the newer keeps working.
    log.clear();
    older.Uninstall();
    EXPECT_FALSE(older.IsHooked());
    ::SendMessageA(window, kProbe, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"newer"}));
    EXPECT_EQ(g_original.messages.size(), 2u);

    // Hooking again puts a hook in front.
    log.clear();
    older.Install(window);
    newer.Install(window);
    ::SendMessageA(window, kProbe, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"newer", "older"})) << "re-hooked newest first";

    newer.Uninstall();
    older.Uninstall();
    EXPECT_EQ(ProcedureOf(window), &OriginalProc) << "the last hook puts the procedure back";
    log.clear();
    ::SendMessageA(window, kProbe, 0, 0);
    EXPECT_TRUE(log.empty());
    ::DestroyWindow(window);
}

TEST(SubclassChain, TheEndOfTheWindowRemovesEveryHookBeforeTheOriginalSeesIt) {
    HWND window = MakeRawWindow();
    std::vector<std::string> log;
    LoggingComponent first("first", log), second("second", log);
    first.Install(window);
    second.Install(window);
    ::DestroyWindow(window);
    EXPECT_TRUE(g_original.sawNcDestroy);
    EXPECT_FALSE(first.IsHooked());
    EXPECT_FALSE(second.IsHooked());
    // A later window in the same place starts a fresh chain.
    HWND next = MakeRawWindow();
    ASSERT_TRUE(second.Install(next));
    ::SendMessageA(next, kProbe, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"second"}));
    ::DestroyWindow(next);
    EXPECT_FALSE(second.IsHooked());
}

TEST(SubclassChain, ProceduresInstalledAfterOursKeepTheChainWhole) {
    HWND window = MakeRawWindow();
    std::vector<std::string> log;
    LoggingComponent hook("hook", log);
    hook.Install(window);
    g_foreignSeen = 0;
    g_foreignNext = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    hook.Uninstall();
    EXPECT_EQ(ProcedureOf(window), &ForeignProc) << "someone else's procedure is not replaced";
    EXPECT_EQ(::SendMessageA(window, kProbe, 0, 0), 100) << "messages still reach the original";
    EXPECT_EQ(g_foreignSeen, 1);

    LoggingComponent again("again", log);
    ASSERT_TRUE(again.Install(window));
    log.clear();
    EXPECT_EQ(::SendMessageA(window, kProbe, 0, 0), 100);
    EXPECT_EQ(log, (std::vector<std::string>{"again"})) << "once, not in a loop";
    EXPECT_EQ(g_original.messages.size(), 2u);
    ::DestroyWindow(window);
    EXPECT_TRUE(g_original.sawNcDestroy);
    EXPECT_FALSE(again.IsHooked());
}

TEST(SubclassChain, FrameworkWindowsKeepTheirHandlersUnderAHook) {
    HostWindow host;
    TestControl control(host);
    control.SetPos(0, 0, 40, 40);
    HWND window = control.GetHandleC();
    std::vector<std::string> log;
    LoggingComponent hook("hook", log);
    ASSERT_TRUE(hook.Install(window));
    ::SendMessageA(window, WM_KEYDOWN, 'K', 0);
    ASSERT_EQ(control.keysSeen.size(), 1u) << "the framework's handler still runs";
    EXPECT_EQ(::SendMessageA(window, WM_ERASEBKGND, 0, 0), 1) << "and so does the skinned control's";
    hook.Uninstall();
}

TEST(SubclassChain, AWindowOfAnotherThreadRunsItsHooksOnItsOwnThread) {
    HWND window = nullptr;
    DWORD windowThread = 0;
    HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        window = MakeRawWindow();
        windowThread = ::GetCurrentThreadId();
        ::SetEvent(ready);
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
        ::DestroyWindow(window);
    });
    ASSERT_EQ(::WaitForSingleObject(ready, 10000), WAIT_OBJECT_0);
    ::CloseHandle(ready);

    struct ThreadRecorder : CComponent {
        std::atomic<DWORD> thread{0};
        CString GetComponentName() const override { return "recorder"; }
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == kProbe) thread = ::GetCurrentThreadId();
            return CComponent::WindowProc(message, wParam, lParam);
        }
    } recorder;
    ASSERT_TRUE(recorder.Install(window)) << "hooked from this thread";
    EXPECT_EQ(::SendMessageA(window, kProbe, 0, 0), 100);
    EXPECT_EQ(recorder.thread.load(), windowThread) << "the hook ran on the window's thread";
    recorder.Uninstall();
    EXPECT_EQ(ProcedureOf(window), &OriginalProc);
    ::PostThreadMessageA(windowThread, WM_QUIT, 0, 0);
    owner.join();
}

TEST(SubclassChain, BadWindowsAreRefusedAndNullUnhooks) {
    std::vector<std::string> log;
    LoggingComponent hook("hook", log);
    EXPECT_FALSE(hook.Install(nullptr));
    EXPECT_FALSE(hook.HookWindow(reinterpret_cast<HWND>(static_cast<UINT_PTR>(0xDEAD0))));
    EXPECT_FALSE(hook.IsHooked());
    EXPECT_TRUE(hook.HookWindow(static_cast<HWND>(nullptr)));
    EXPECT_EQ(hook.Default(), 0) << "no message: nothing to pass on";
    HWND window = MakeRawWindow();
    ASSERT_TRUE(hook.HookWindow(window));
    EXPECT_EQ(hook.GetHookedWindow(), window);
    ::DestroyWindow(window);
}

TEST(ComponentTable, HandlersAnswerChangeParametersOrPassOnAndExceptionsStopAtTheHook) {
    HWND window = MakeRawWindow();
    std::vector<std::string> log;
    TableComponent table;
    LoggingComponent below("below", log);
    below.Install(window);
    table.Install(window);

    EXPECT_EQ(::SendMessageA(window, WM_NCHITTEST, 0, 0), HTCAPTION) << "a handled record answers";
    ::SendMessageA(window, WM_LBUTTONDOWN, 0, MAKELPARAM(10, 20));
    ASSERT_EQ(g_original.messages.size(), 1u);
    EXPECT_EQ(LOWORD(g_original.lastLParam), 15) << "the changed parameter went on down the chain";
    EXPECT_EQ(::SendMessageA(window, kProbe, 0, 0), 100) << "messages outside the table pass on";
    EXPECT_EQ(log, (std::vector<std::string>{"below"}));

    EXPECT_EQ(::SendMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, MAKELPARAM(-3, 44)), 7);
    EXPECT_EQ(table.sysCommand, static_cast<UINT>(SC_KEYMENU));
    EXPECT_EQ(table.sysCommandPoint, CPoint(-3, 44));
    MINMAXINFO info{};
    ::SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_TRUE(table.sawMinMax);
    ::SendMessageA(window, CSkin::WM_SKIN_CHANGED, 0, 0);
    EXPECT_EQ(table.skinChanges, 1);

    orvtest::DebugOutputCapture trace;
    EXPECT_EQ(::SendMessageA(window, WM_PAINT, 0, 0), 0) << "the throwing handler is stopped";
    if (trace.IsActive()) {
        EXPECT_NE(trace.Text().find("controls: window hook"), std::string::npos) << trace.Text();
        EXPECT_NE(trace.Text().find("painting failed"), std::string::npos) << trace.Text();
    }
    EXPECT_EQ(::SendMessageA(window, kProbe, 0, 0), 100) << "and the window goes on";
    ::DestroyWindow(window);
    EXPECT_FALSE(table.IsHooked());
}

TEST(ComponentSkinName, ThemeOfTheWindowItselfElseOfItsOwnerOrParent) {
    EXPECT_EQ(CComponent::WM_GET_SKIN_THEMA, ::RegisterWindowMessageA("wmGetSkinThema"));
    EXPECT_EQ(CComponent::WM_GET_SKIN_THEMA, ::RegisterWindowMessageA(ORV_MSGNAME_GET_SKIN_THEMA));

    HWND frame = MakeRawWindow();
    HWND button = MakeRawWindow(frame);
    ThemeComponent theme("MainFrame");
    NamedComponent caption("caption"), pushButton("button");
    caption.Install(frame);
    pushButton.Install(button);
    EXPECT_STREQ(caption.GetOwnerSkinName(), "caption") << "no theme answered yet";
    theme.Install(frame);
    EXPECT_STREQ(caption.GetOwnerSkinName(), "MainFrame\\caption");
    EXPECT_STREQ(pushButton.GetOwnerSkinName(), "MainFrame\\button") << "the parent's theme";

    // An owned window (a message box of the main frame) with its own theme.
    HWND box = ::CreateWindowExA(0, "OrvTestRawWindow", "", WS_POPUP, 0, 0, 10, 10, frame, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
    NamedComponent boxCaption("caption");
    boxCaption.Install(box);
    EXPECT_STREQ(boxCaption.GetOwnerSkinName(), "MainFrame\\caption") << "the owner's theme";
    ThemeComponent boxTheme("msbdialog");
    boxTheme.Install(box);
    EXPECT_STREQ(boxCaption.GetOwnerSkinName(), "msbdialog\\caption") << "its own theme first";

    CString answer;
    ::SendMessageA(frame, CComponent::WM_GET_SKIN_THEMA, 0, reinterpret_cast<LPARAM>(&answer));
    EXPECT_STREQ(answer, "MainFrame");
    ::SendMessageA(frame, CComponent::WM_GET_SKIN_THEMA, 0, 0);  // no string: ignored
    ::DestroyWindow(box);
    ::DestroyWindow(frame);
    NamedComponent unhooked("border");
    EXPECT_STREQ(unhooked.GetOwnerSkinName(), "border");
}

TEST(ComponentWindow, FrameSizesAndRedrawingTheHookedWindow) {
    HWND thick = ::CreateWindowExA(0, "OrvTestRawWindow", "", WS_POPUP | WS_THICKFRAME, 0, 0, 50, 50, nullptr,
                                   nullptr, ::GetModuleHandleA(nullptr), nullptr);
    HWND plain = MakeRawWindow();
    NamedComponent a("a"), b("b");
    a.Install(thick);
    b.Install(plain);
    EXPECT_EQ(a.GetFrameSize(), CSize(::GetSystemMetrics(SM_CXSIZEFRAME), ::GetSystemMetrics(SM_CYSIZEFRAME)));
    EXPECT_EQ(b.GetFrameSize(), CSize(::GetSystemMetrics(SM_CXDLGFRAME), ::GetSystemMetrics(SM_CYDLGFRAME)));
    ::ShowWindow(plain, SW_SHOWNOACTIVATE);
    ::ValidateRect(plain, nullptr);
    b.Refresh();
    RECT update{};
    EXPECT_FALSE(::GetUpdateRect(plain, &update, FALSE)) << "refreshed at once";
    b.Repaint();
    EXPECT_FALSE(::GetUpdateRect(plain, &update, FALSE));
    ::DestroyWindow(thick);
    ::DestroyWindow(plain);
}
