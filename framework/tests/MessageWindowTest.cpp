// The message-only window through which other threads hand work to the
// thread that made it.
#include "AfxTrace.h"
#include "CMessageWindow.h"

#include "DebugOutputCapture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

const UINT kWork = WM_APP + 40;
const UINT kThrow = WM_APP + 41;
const UINT kDeleteWindow = WM_APP + 42;
const unsigned kGenerousMs = 60000;

bool IsMessageOnlyWindow(HWND hWnd) {
    for (HWND found = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); found;
         found = FindWindowExA(HWND_MESSAGE, found, nullptr, nullptr)) {
        if (found == hWnd) return true;
    }
    return false;
}

HHOOK g_refusingHook = nullptr;
LRESULT CALLBACK RefuseEveryWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) return 1;
    return CallNextHookEx(g_refusingHook, code, wParam, lParam);
}

}  // namespace

TEST(MessageWindow, DeliversPostsFromOtherThreadsOnTheOwningThreadInOrder) {
    const DWORD owner = GetCurrentThreadId();
    const int kSenders = 4, kEach = 500;
    std::vector<int> lastSeen(kSenders, -1);
    int handled = 0, outOfOrder = 0, offThread = 0;
    CMessageWindow window;
    ASSERT_TRUE(window.Create([&](UINT message, WPARAM sender, LPARAM sequence) -> LRESULT {
        if (message != kWork) return 0;
        if (GetCurrentThreadId() != owner || !window.IsOwningThread()) ++offThread;
        if (static_cast<int>(sequence) != lastSeen[sender] + 1) ++outOfOrder;
        lastSeen[sender] = static_cast<int>(sequence);
        ++handled;
        return 0;
    }));
    EXPECT_TRUE(IsMessageOnlyWindow(window.GetSafeHwnd()));
    EXPECT_TRUE(window.IsOpen());
    EXPECT_TRUE(window.IsOwningThread());

    std::atomic<int> refused{0}, ownerClaims{0};
    std::vector<std::thread> senders;
    for (int s = 0; s < kSenders; ++s) {
        senders.emplace_back([&, s] {
            if (window.IsOwningThread()) ++ownerClaims;
            for (int i = 0; i < kEach; ++i)
                if (!window.Post(kWork, static_cast<WPARAM>(s), i)) ++refused;
        });
    }
    for (auto& sender : senders) sender.join();
    EXPECT_EQ(refused.load(), 0);
    EXPECT_EQ(ownerClaims.load(), 0) << "no other thread is the owner";
    EXPECT_TRUE(orvtest::PumpUntil([&] { return handled == kSenders * kEach; }, kGenerousMs));
    EXPECT_EQ(outOfOrder, 0);
    EXPECT_EQ(offThread, 0);
}

TEST(MessageWindow, PostFailsWheneverTheWindowIsNotOpen) {
    int handled = 0;
    auto count = [&](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == kWork) ++handled;
        return 0;
    };
    CMessageWindow window;
    EXPECT_FALSE(window.Post(kWork)) << "never made";
    EXPECT_FALSE(window.IsOpen());
    EXPECT_FALSE(window.IsOwningThread());

    ASSERT_TRUE(window.Create(count));
    EXPECT_FALSE(window.Create(count)) << "made already";
    EXPECT_TRUE(window.Close());
    EXPECT_FALSE(window.Post(kWork)) << "closed";
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);

    // Destroyed behind the object's back: posting stops all the same.
    ASSERT_TRUE(window.Create(count));
    HWND hWnd = window.GetSafeHwnd();
    ASSERT_TRUE(DestroyWindow(hWnd));
    EXPECT_FALSE(window.IsOpen());
    EXPECT_FALSE(window.Post(kWork));
    orvtest::PumpPending();
    EXPECT_EQ(handled, 0);
}

TEST(MessageWindow, CreationRefusedBySystemLeavesAClosedObjectThatCanTryAgain) {
    g_refusingHook = SetWindowsHookExA(WH_CBT, RefuseEveryWindow, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_refusingHook, nullptr);
    CMessageWindow window;
    const bool made = window.Create([](UINT, WPARAM, LPARAM) -> LRESULT { return 0; });
    UnhookWindowsHookEx(g_refusingHook);
    g_refusingHook = nullptr;
    EXPECT_FALSE(made);
    EXPECT_FALSE(window.IsOpen());
    EXPECT_FALSE(window.Post(kWork));
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(window.Create([](UINT, WPARAM, LPARAM) -> LRESULT { return 0; }));
    EXPECT_TRUE(window.Post(kWork));
}

TEST(MessageWindow, ExceptionFromTheHandlerIsStoppedAndTracedAndTheWindowGoesOn) {
    orvtest::DebugOutputCapture capture;
    int handled = 0;
    CMessageWindow window;
    ASSERT_TRUE(window.Create([&](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == kThrow) throw std::runtime_error("queue entry is damaged");
        if (message == kWork) ++handled;
        return 0;
    }));
    const long stopped = AfxGetStoppedExceptionCount();
    const long traced = AfxGetTracedExceptionCount();
    ASSERT_TRUE(window.Post(kThrow));
    ASSERT_TRUE(window.Post(kWork));
    EXPECT_TRUE(orvtest::PumpUntil([&] { return handled == 1; }, kGenerousMs));
    EXPECT_EQ(AfxGetStoppedExceptionCount(), stopped + 1);
    EXPECT_EQ(AfxGetTracedExceptionCount(), traced + 1);
    const std::string text = capture.Text();
    EXPECT_NE(text.find("framework: window procedure"), std::string::npos) << text;
    EXPECT_NE(text.find("exception caught: queue entry is damaged"), std::string::npos) << text;
    EXPECT_TRUE(window.IsOpen());
}

TEST(MessageWindow, CloseHandsQueuedPostsToDiscardInsteadOfDroppingThem) {
    int handled = 0, discarded = 0;
    CMessageWindow window;
    ASSERT_TRUE(window.Create([&](UINT message, WPARAM, LPARAM payload) -> LRESULT {
        if (message == kWork) {
            delete reinterpret_cast<int*>(payload);
            ++handled;
        }
        return 0;
    }));
    int sum = 0;
    for (int i = 1; i <= 10; ++i) ASSERT_TRUE(window.Post(kWork, 0, reinterpret_cast<LPARAM>(new int(i))));
    EXPECT_TRUE(window.Close([&](UINT message, WPARAM, LPARAM payload) {
        EXPECT_EQ(message, kWork);
        int* value = reinterpret_cast<int*>(payload);
        sum += *value;
        delete value;
        ++discarded;
    }));
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(discarded, 10);
    EXPECT_EQ(sum, 55) << "each payload handed over once";
}

TEST(MessageWindow, PostsRacingCloseAreEitherHandledOrDiscardedNeverLost) {
    std::atomic<long> live{0};
    std::atomic<long> accepted{0};
    long handled = 0, discarded = 0;
    CMessageWindow window;
    ASSERT_TRUE(window.Create([&](UINT message, WPARAM, LPARAM payload) -> LRESULT {
        if (message == kWork) {
            delete reinterpret_cast<long*>(payload);
            --live;
            ++handled;
        }
        return 0;
    }));
    std::vector<std::thread> senders;
    for (int s = 0; s < 4; ++s) {
        senders.emplace_back([&] {
            for (;;) {
                ++live;
                long* payload = new long(1);
                if (window.Post(kWork, 0, reinterpret_cast<LPARAM>(payload))) {
                    ++accepted;
                    continue;
                }
                delete payload;
                --live;
                if (!window.IsOpen()) return;
                SwitchToThread();  // a full queue: the owner is behind
            }
        });
    }
    EXPECT_TRUE(orvtest::PumpUntil([&] { return handled >= 2000; }, kGenerousMs));
    window.Close([&](UINT, WPARAM, LPARAM payload) {
        delete reinterpret_cast<long*>(payload);
        --live;
        ++discarded;
    });
    for (auto& sender : senders) sender.join();
    EXPECT_EQ(accepted.load(), handled + discarded);
    EXPECT_EQ(live.load(), 0) << "every payload freed exactly once";
    EXPECT_FALSE(window.Post(kWork));
}

TEST(MessageWindow, HandlerMayDestroyTheWindowItRunsFor) {
    auto* window = new CMessageWindow;
    int afterDelete = 0;
    bool gone = false;
    ASSERT_TRUE(window->Create([&, window](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message != kDeleteWindow) return 0;
        delete window;
        gone = true;
        ++afterDelete;  // the handler's own state outlives its window
        return 0;
    }));
    HWND hWnd = window->GetSafeHwnd();
    ASSERT_TRUE(window->Post(kDeleteWindow));
    EXPECT_TRUE(orvtest::PumpUntil([&] { return gone; }, kGenerousMs));
    EXPECT_EQ(afterDelete, 1);
    EXPECT_FALSE(IsWindow(hWnd));
}

TEST(MessageWindow, TimersReachTheHandler) {
    int ticks = 0;
    CMessageWindow window;
    ASSERT_TRUE(window.Create([&](UINT message, WPARAM id, LPARAM) -> LRESULT {
        if (message == WM_TIMER && id == 7) ++ticks;
        return 0;
    }));
    ASSERT_TRUE(window.SetTimer(7, 10));
    EXPECT_TRUE(orvtest::PumpUntil([&] { return ticks >= 3; }, kGenerousMs));
    window.KillTimer(7);
}

TEST(MessageWindow, DestroyedOnAnotherThreadTheWindowClosesItselfUnhandled) {
    int handled = 0;
    auto* window = new CMessageWindow;
    ASSERT_TRUE(window->Create([&](UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == kWork) ++handled;
        return 0;
    }));
    HWND hWnd = window->GetSafeHwnd();
    ASSERT_TRUE(window->Post(kWork));
    bool closedElsewhere = true;
    std::thread([window, &closedElsewhere] {
        closedElsewhere = window->Close();
        delete window;
    }).join();
    EXPECT_FALSE(closedElsewhere) << "only the owner can close it";
    EXPECT_TRUE(orvtest::PumpUntil([&] { return !IsWindow(hWnd); }, kGenerousMs));
    EXPECT_EQ(handled, 0) << "nothing reaches a handler whose object is gone";
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}
