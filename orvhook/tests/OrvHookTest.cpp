// OrvHook.dll across processes: this test installs the hooks; the input goes
// to a window of orv_input_target.exe, which never links the library, and
// the time stamp is read back here.
#include "HookTestSupport.h"

#include <gtest/gtest.h>

namespace {

using orvtest::HookBlockView;
using orvtest::InputTargetProcess;

// The library as the main program uses it, loaded from the build's folder.
class HookLibrary {
public:
    HookLibrary() : m_module(::LoadLibraryA((orvtest::ThisProgramFolder() + "OrvHook.dll").c_str())) {
        if (!m_module) return;
        SetHook = reinterpret_cast<int (*)()>(Function("SetHook"));
        RemoveHook = reinterpret_cast<void (*)()>(Function("RemoveHook"));
        GetLastOpTime = reinterpret_cast<unsigned long (*)()>(Function("GetLastOpTime"));
        ClearLastOpTime = reinterpret_cast<void (*)()>(Function("ClearLastOpTime"));
    }
    ~HookLibrary() {
        if (m_module) ::FreeLibrary(m_module);
    }
    HookLibrary(const HookLibrary&) = delete;
    HookLibrary& operator=(const HookLibrary&) = delete;

    bool IsComplete() const { return SetHook && RemoveHook && GetLastOpTime && ClearLastOpTime; }

    int (*SetHook)() = nullptr;
    void (*RemoveHook)() = nullptr;
    unsigned long (*GetLastOpTime)() = nullptr;
    void (*ClearLastOpTime)() = nullptr;

private:
    void* Function(const char* name) { return reinterpret_cast<void*>(::GetProcAddress(m_module, name)); }
    HMODULE m_module;
};

class OrvHookTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_hook.IsComplete()) << "the four exports, undecorated";
        ASSERT_TRUE(m_block.IsOpen()) << "the shared block exists once the library is loaded";
        m_hook.RemoveHook();
        ASSERT_TRUE(m_target.Start());
    }
    void TearDown() override { m_hook.RemoveHook(); }

    HookLibrary m_hook;
    HookBlockView m_block;
    InputTargetProcess m_target;
};

TEST_F(OrvHookTest, ClicksAndKeysInAnotherProcessCountMovesAndMiddleClicksDoNot) {
    ASSERT_NE(m_hook.SetHook(), 0);
    EXPECT_NE(m_block->keyboardHook, 0u);
    EXPECT_NE(m_block->mouseHook, 0u);

    DWORD old = m_block.BackdateLastInput();
    ASSERT_TRUE(m_target.Deliver(kInputMove));
    EXPECT_EQ(m_hook.GetLastOpTime(), old) << "a mouse that only moves is not activity";
    old = m_block.BackdateLastInput();
    ASSERT_TRUE(m_target.Deliver(kInputMove));
    EXPECT_EQ(m_hook.GetLastOpTime(), old) << "nor a second move";

    for (InputKind kind : {kInputLeftClick, kInputRightClick, kInputKey}) {
        old = m_block.BackdateLastInput();
        const DWORD before = ::GetTickCount();
        ASSERT_TRUE(m_target.Deliver(kind)) << kind;
        const DWORD stamp = m_hook.GetLastOpTime();
        EXPECT_NE(stamp, old) << "input kind " << kind;
        EXPECT_LE(before - 16, stamp) << kind;
        EXPECT_LE(stamp, ::GetTickCount()) << kind;
    }

    old = m_block.BackdateLastInput();
    ASSERT_TRUE(m_target.Deliver(kInputMiddleClick));
    EXPECT_EQ(m_hook.GetLastOpTime(), old) << "only the left and right buttons count";

    EXPECT_TRUE(m_target.HookLibraryLoaded()) << "the hooks ran inside the other process";
}

TEST_F(OrvHookTest, SetHookTwiceInstallsEachHookOnce) {
    ASSERT_NE(m_hook.SetHook(), 0);
    const uint32_t keyboard = m_block->keyboardHook, mouse = m_block->mouseHook;
    ASSERT_NE(keyboard, 0u);
    ASSERT_NE(mouse, 0u);
    EXPECT_NE(m_hook.SetHook(), 0) << "installed already: still reported";
    EXPECT_EQ(m_block->keyboardHook, keyboard);
    EXPECT_EQ(m_block->mouseHook, mouse);

    // One RemoveHook removes all there is: a second pair would go on counting.
    m_hook.RemoveHook();
    EXPECT_EQ(m_block->keyboardHook, 0u);
    EXPECT_EQ(m_block->mouseHook, 0u);
    const DWORD old = m_block.BackdateLastInput();
    ASSERT_TRUE(m_target.Deliver(kInputLeftClick));
    ASSERT_TRUE(m_target.Deliver(kInputKey));
    EXPECT_EQ(m_hook.GetLastOpTime(), old);
    m_hook.RemoveHook();  // nothing left: harmless
}

TEST_F(OrvHookTest, AnotherProcessLoadingTheLibraryKeepsTheTime) {
    const DWORD old = m_block.BackdateLastInput();
    ASSERT_TRUE(m_target.LoadHookLibrary());
    EXPECT_TRUE(m_target.HookLibraryLoaded());
    EXPECT_EQ(m_hook.GetLastOpTime(), old) << "only the process that makes the block starts its clock";
}

TEST_F(OrvHookTest, ClearLastOpTimeStoresTheCurrentTick) {
    m_block.BackdateLastInput();
    const DWORD before = ::GetTickCount();
    m_hook.ClearLastOpTime();
    const DWORD stamp = m_hook.GetLastOpTime();
    EXPECT_LE(before, stamp);
    EXPECT_LE(stamp, ::GetTickCount());
    EXPECT_EQ(m_block->lastInputTick, stamp) << "kept in the shared block";
}

}  // namespace
