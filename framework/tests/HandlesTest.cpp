// The owners of kernel handles, events, sockets and the Winsock start-up,
// and the condition variable that goes with the framework's lock.
#include "CConditionVariable.h"
#include "CCriticalSection.h"
#include "CEvent.h"
#include "CHandle.h"
#include "CSocketHandle.h"
#include "CWinsockStartup.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != 0;
}

bool IsOpenSocket(SOCKET socket) {
    int type = 0;
    int size = sizeof type;
    return getsockopt(socket, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &size) == 0;
}

// A raw handle nobody owns yet.
HANDLE NewEventHandle() { return CreateEventA(nullptr, TRUE, FALSE, nullptr); }

}  // namespace

TEST(Handles, OwnersAreMovableButNotCopyable) {
    static_assert(!std::is_copy_constructible_v<CHandle> && !std::is_copy_assignable_v<CHandle>);
    static_assert(std::is_nothrow_move_constructible_v<CHandle> && std::is_nothrow_move_assignable_v<CHandle>);
    static_assert(!std::is_copy_constructible_v<CEvent> && std::is_move_constructible_v<CEvent>);
    static_assert(!std::is_copy_constructible_v<CSocketHandle> &&
                  std::is_nothrow_move_assignable_v<CSocketHandle>);
    static_assert(!std::is_copy_constructible_v<CWinsockStartup> &&
                  std::is_move_constructible_v<CWinsockStartup>);
    static_assert(!std::is_copy_constructible_v<CCriticalSection> &&
                  !std::is_move_constructible_v<CCriticalSection>);
}

TEST(Handles, HandleIsClosedExactlyOnceWhereverItWasMoved) {
    HANDLE raw = NewEventHandle();
    ASSERT_TRUE(raw);
    {
        CHandle first(raw);
        CHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), raw);
        CHandle third;
        third = std::move(second);
        EXPECT_FALSE(second);
        EXPECT_TRUE(IsOpenHandle(raw)) << "moving closes nothing";
        CHandle& same = third;
        third = std::move(same);
        EXPECT_TRUE(IsOpenHandle(raw)) << "moving onto itself keeps the handle";
    }
    EXPECT_FALSE(IsOpenHandle(raw)) << "the last owner closed it";
}

TEST(Handles, ResetClosesTheOldHandleAndReleaseGivesItUp) {
    HANDLE a = NewEventHandle();
    HANDLE b = NewEventHandle();
    CHandle owner(a);
    owner.Reset(b);
    EXPECT_FALSE(IsOpenHandle(a));
    EXPECT_TRUE(IsOpenHandle(b));
    EXPECT_EQ(owner.Release(), b);
    EXPECT_FALSE(owner);
    EXPECT_TRUE(IsOpenHandle(b)) << "released, not closed";
    CloseHandle(b);
}

TEST(Handles, InvalidHandleValueCountsAsNone) {
    // CreateFile reports failure with INVALID_HANDLE_VALUE, which must never
    // be closed (it is also the pseudo-handle of the current process).
    CHandle file(CreateFileA("Z:\\no\\such\\folder\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(file);
    EXPECT_EQ(file.Get(), nullptr);
    file.Reset(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(file);
}

TEST(Events, ManualResetStaysSetUntilReset) {
    CEvent event(true);
    ASSERT_TRUE(event);
    EXPECT_FALSE(event.Wait(0));
    EXPECT_TRUE(event.Set());
    EXPECT_TRUE(event.Wait(0));
    EXPECT_TRUE(event.Wait(0)) << "a manual-reset event stays set";
    EXPECT_TRUE(event.Reset());
    EXPECT_FALSE(event.Wait(0));
    CEvent initiallySet(true, true);
    EXPECT_TRUE(initiallySet.Wait(0));
}

TEST(Events, AutoResetReleasesOneWaitAtATime) {
    CEvent event(false);
    ASSERT_TRUE(event);
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_FALSE(event.Wait(0)) << "the successful wait reset it";
}

TEST(Events, MovedEventKeepsWorkingAndTheSourceIsEmpty) {
    CEvent source(true);
    HANDLE raw = source.Get();
    CEvent target(std::move(source));
    EXPECT_FALSE(source);
    EXPECT_FALSE(source.Set()) << "an empty event refuses, it does not crash";
    EXPECT_FALSE(source.Wait(0));
    EXPECT_EQ(target.Get(), raw);
    EXPECT_TRUE(target.Set());
    EXPECT_TRUE(target.Wait(0));
}

TEST(Events, SetOnOneThreadWakesAWaiterOnAnother) {
    CEvent request(false), reply(false);
    int rounds = 0;
    std::thread partner([&] {
        for (int i = 0; i < 200; ++i) {
            if (!request.Wait(60000)) return;
            ++rounds;
            reply.Set();
        }
    });
    for (int i = 0; i < 200; ++i) {
        request.Set();
        ASSERT_TRUE(reply.Wait(60000)) << "round " << i;
    }
    partner.join();
    EXPECT_EQ(rounds, 200);
}

TEST(Sockets, SocketIsClosedByItsLastOwner) {
    CWinsockStartup winsock;
    ASSERT_TRUE(winsock.IsStarted());
    const SOCKET raw = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_NE(raw, INVALID_SOCKET);
    {
        CSocketHandle first(raw);
        CSocketHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_TRUE(IsOpenSocket(raw));
        CSocketHandle third;
        third = std::move(second);
        EXPECT_EQ(third.Get(), raw);
    }
    EXPECT_FALSE(IsOpenSocket(raw));
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);

    CSocketHandle released(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    const SOCKET kept = released.Release();
    EXPECT_FALSE(released);
    EXPECT_TRUE(IsOpenSocket(kept));
    closesocket(kept);
}

TEST(Sockets, WinsockStaysUpWhileAnyStartupLives) {
    auto outer = std::make_unique<CWinsockStartup>();
    ASSERT_TRUE(outer->IsStarted());
    CWinsockStartup moved;
    {
        CWinsockStartup inner;
        ASSERT_TRUE(inner.IsStarted());
        moved = std::move(inner);
        EXPECT_FALSE(inner.IsStarted()) << "the moved-from guard cleans nothing up";
    }
    outer.reset();
    // Still started once through the moved guard.
    CSocketHandle probe(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    EXPECT_TRUE(probe) << WSAGetLastError();
}

TEST(ConditionVariable, ConsumersSeeEveryItemProducedUnderTheLock) {
    CCriticalSection lock;
    CConditionVariable changed;
    std::deque<int> queue;
    bool finished = false;
    long long consumedSum = 0;
    int consumedCount = 0;

    std::vector<std::thread> consumers;
    for (int c = 0; c < 3; ++c) {
        consumers.emplace_back([&] {
            for (;;) {
                CSingleLock hold(lock);
                changed.Wait(hold, [&] { return finished || !queue.empty(); });
                if (queue.empty()) return;  // finished and drained
                consumedSum += queue.front();
                ++consumedCount;
                queue.pop_front();
            }
        });
    }
    long long producedSum = 0;
    for (int i = 1; i <= 5000; ++i) {
        {
            CSingleLock hold(lock);
            queue.push_back(i);
        }
        producedSum += i;
        changed.WakeOne();
    }
    {
        CSingleLock hold(lock);
        finished = true;
    }
    changed.WakeAll();
    for (auto& consumer : consumers) consumer.join();
    EXPECT_EQ(consumedCount, 5000);
    EXPECT_EQ(consumedSum, producedSum);
}
