// The idle clock both ways: the system's idle time, as Wine reports it, and
// the hooks of OrvHook.dll, with input going to a window of another process.
#include "CIdleTimer.h"
#include "HookTestSupport.h"

#include <gtest/gtest.h>

namespace {

using orvtest::HookBlockView;
using orvtest::InputTargetProcess;

TEST(CIdleTimerArithmetic, IdleTimeIsRightAcrossTheTickCounterWrap) {
    EXPECT_EQ(CIdleTimer::Elapsed(1000, 400), 600u);
    EXPECT_EQ(CIdleTimer::Elapsed(0x00000010, 0xFFFFFFF0), 0x20u) << "49.7 days after start";
    EXPECT_EQ(CIdleTimer::Elapsed(5, 5), 0u);
}

class CIdleTimerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_target.Start()); }
    InputTargetProcess m_target;
};

TEST_F(CIdleTimerTest, SystemIdleTimeIsUsedWhereItExistsAndFollowsInput) {
    CIdleTimer timer;
    ASSERT_TRUE(timer.UsesSystemIdleTime()) << "Wine reports an NT system with GetLastInputInfo";
    EXPECT_TRUE(timer.Start());
    HookBlockView block;
    if (block.IsOpen()) {
        EXPECT_EQ(block->keyboardHook, 0u) << "no hooks with the system's idle time";
    }
    const DWORD before = ::GetTickCount();
    ASSERT_TRUE(m_target.Deliver(kInputLeftClick));
    EXPECT_LE(timer.GetIdleTime(), ::GetTickCount() - before + 16) << "the click was the last input";

    // Reset counts even though the system's last input is older.
    ASSERT_TRUE(orvtest::WaitUntil([&] { return timer.GetIdleTime() >= 200; }));
    const DWORD reset = ::GetTickCount();
    timer.Reset();
    EXPECT_LE(timer.GetIdleTime(), ::GetTickCount() - reset + 16);
    ASSERT_TRUE(m_target.Deliver(kInputKey));
    EXPECT_LE(timer.GetIdleTime(), ::GetTickCount() - reset + 16) << "and input after it counts again";
    timer.Stop();
}

TEST_F(CIdleTimerTest, HookClockCountsClicksAndKeysButNotMoves) {
    CIdleTimer timer(CIdleTimer::Source::Hook);
    ASSERT_FALSE(timer.UsesSystemIdleTime());
    ASSERT_TRUE(timer.Start());
    HookBlockView block;
    ASSERT_TRUE(block.IsOpen());
    EXPECT_NE(block->keyboardHook, 0u);
    EXPECT_NE(block->mouseHook, 0u);

    block.BackdateLastInput(600000);
    EXPECT_GE(timer.GetIdleTime(), 600000u);
    ASSERT_TRUE(m_target.Deliver(kInputMove));
    EXPECT_GE(timer.GetIdleTime(), 600000u) << "moving the mouse is not activity";

    for (InputKind kind : {kInputLeftClick, kInputKey}) {
        block.BackdateLastInput(600000);
        const DWORD before = ::GetTickCount();
        ASSERT_TRUE(m_target.Deliver(kind));
        EXPECT_LE(timer.GetIdleTime(), ::GetTickCount() - before + 16) << kind;
    }

    block.BackdateLastInput(600000);
    const DWORD reset = ::GetTickCount();
    timer.Reset();
    EXPECT_LE(timer.GetIdleTime(), ::GetTickCount() - reset + 16);

    timer.Stop();
    EXPECT_EQ(block->keyboardHook, 0u);
    EXPECT_EQ(block->mouseHook, 0u);
}

TEST_F(CIdleTimerTest, StartReplacesHooksLeftByAProgramThatEndedWithoutRemovingThem) {
    CIdleTimer timer(CIdleTimer::Source::Hook);
    // A program killed with its hooks installed leaves their handles in the
    // block; the system removed the hooks themselves with the program.
    {
        CIdleTimer crashed(CIdleTimer::Source::Hook);
        ASSERT_TRUE(crashed.Start());
    }
    HookBlockView block;
    ASSERT_TRUE(block.IsOpen());
    block->keyboardHook = 0x00C0FFEE;
    block->mouseHook = 0x00BADBAD;
    ASSERT_TRUE(timer.Start());
    EXPECT_NE(block->keyboardHook, 0x00C0FFEEu);
    EXPECT_NE(block->mouseHook, 0x00BADBADu);
    EXPECT_NE(block->mouseHook, 0u);

    block.BackdateLastInput(600000);
    const DWORD before = ::GetTickCount();
    ASSERT_TRUE(m_target.Deliver(kInputRightClick));
    EXPECT_LE(timer.GetIdleTime(), ::GetTickCount() - before + 16) << "the new hooks count";
    timer.Stop();
}

}  // namespace
