// KillOrvane as an installer calls it: loaded by name, found by its
// undecorated export, run against stand-ins of the main program and the
// updater in processes of their own.
#include "ChildProcess.h"
#include "OrvKiller.h"

#include <gtest/gtest.h>

namespace {

using orvtest::ChildProcess;

const char kSemaphore[] = "$$ORV$$INSTALL$$SEMAPHORE";
const char kMainClass[] = "OrvaneMainWindowClass";
const DWORD kStandInClosedCode = 7;

using KillFunction = int(WINAPI*)(DWORD, DWORD, DWORD);

class KillOrvaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_library = ::LoadLibraryA((orvtest::ThisProgramFolder() + "ORVKILLER.dll").c_str());
        ASSERT_NE(m_library, nullptr);
        m_kill = reinterpret_cast<KillFunction>(reinterpret_cast<void*>(::GetProcAddress(m_library, "KillOrvane")));
        ASSERT_NE(m_kill, nullptr) << "exported undecorated, as installers look it up";
        ASSERT_EQ(::FindWindowA(kMainClass, nullptr), nullptr) << "no main window left by another test";
    }
    void TearDown() override {
        if (m_library) ::FreeLibrary(m_library);
    }

    int Kill() { return m_kill(0x11111111, 0x22222222, 0x33333333); }

    static bool StartStandIn(ChildProcess& process, const char* arguments, const char* className,
                             const char* title) {
        const std::string line = "\"" + orvtest::ThisProgramFolder() + "orv_stand_in.exe\" " + arguments;
        return process.Start(line) && process.WaitForWindow(className, title) != nullptr;
    }

    static bool SemaphoreExists() {
        HANDLE semaphore = ::OpenSemaphoreA(SYNCHRONIZE, FALSE, kSemaphore);
        if (!semaphore) return false;
        ::CloseHandle(semaphore);
        return true;
    }

    HMODULE m_library = nullptr;
    KillFunction m_kill = nullptr;
};

TEST_F(KillOrvaneTest, NothingRunningLeavesNoSemaphoreBehind) {
    ASSERT_FALSE(SemaphoreExists());
    EXPECT_EQ(Kill(), ORVKILL_DONE);
    EXPECT_FALSE(SemaphoreExists()) << "the semaphore made for the test went with the killer's handle";
    EXPECT_EQ(Kill(), ORVKILL_DONE) << "and a second call finds the same";
}

TEST_F(KillOrvaneTest, StartingProgramHoldingTheSemaphoreIsSignalledOnce) {
    HANDLE semaphore = ::CreateSemaphoreA(nullptr, 0, 2, kSemaphore);
    ASSERT_NE(semaphore, nullptr);
    EXPECT_EQ(Kill(), ORVKILL_SEMAPHORE_SIGNALLED);
    EXPECT_EQ(::WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0) << "released once";
    EXPECT_EQ(::WaitForSingleObject(semaphore, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "and only once";
    ::CloseHandle(semaphore);
    EXPECT_FALSE(SemaphoreExists());
}

TEST_F(KillOrvaneTest, MainProgramThatClosesEndsByItself) {
    ChildProcess main;
    ASSERT_TRUE(StartStandIn(main, "--main", kMainClass, nullptr));
    EXPECT_EQ(Kill(), ORVKILL_DONE);
    EXPECT_TRUE(main.WaitForExit(0)) << "gone when KillOrvane returns";
    EXPECT_EQ(main.ExitCode(), kStandInClosedCode) << "closed its window, was not terminated";
    EXPECT_FALSE(SemaphoreExists()) << "a running main program is not signalled";
}

TEST_F(KillOrvaneTest, MainProgramIgnoringCloseIsTerminatedAfterThreeSeconds) {
    ChildProcess main;
    ASSERT_TRUE(StartStandIn(main, "--main --ignore-close", kMainClass, nullptr));
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(Kill(), ORVKILL_DONE);
    const DWORD elapsed = ::GetTickCount() - start;
    EXPECT_TRUE(main.WaitForExit(0));
    EXPECT_EQ(main.ExitCode(), 0u) << "terminated with exit code 0";
    // The tick counter moves in steps of up to ~16 ms.
    EXPECT_GE(elapsed, 3000u - 32u) << "given its 3 seconds first";
}

TEST_F(KillOrvaneTest, TerminatedUpdaterDoesNotStopTheMainProgramFromClosing) {
    ChildProcess updater, main;
    ASSERT_TRUE(StartStandIn(updater, "--updater", nullptr, "Orvane Update"));
    ASSERT_TRUE(StartStandIn(main, "--main", kMainClass, nullptr));
    EXPECT_EQ(Kill(), ORVKILL_DONE);
    EXPECT_TRUE(updater.WaitForExit(0)) << "the updater is gone when KillOrvane returns";
    EXPECT_EQ(updater.ExitCode(), 0u) << "terminated at once";
    EXPECT_TRUE(main.WaitForExit(0));
    EXPECT_EQ(main.ExitCode(), kStandInClosedCode);
}

TEST_F(KillOrvaneTest, UpdaterAloneIsTerminatedAndNoSemaphoreLeft) {
    ChildProcess updater;
    ASSERT_TRUE(StartStandIn(updater, "--updater", nullptr, "Orvane Update"));
    EXPECT_EQ(Kill(), ORVKILL_DONE);
    EXPECT_TRUE(updater.WaitForExit(0));
    EXPECT_EQ(updater.ExitCode(), 0u);
    EXPECT_FALSE(SemaphoreExists());
}

TEST_F(KillOrvaneTest, CallersOwnWindowTitledLikeTheUpdaterIsLeftAlone) {
    // An installer whose own window bears the updater's title must survive.
    HWND own = ::CreateWindowExA(0, "STATIC", "Orvane Update", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(Kill(), ORVKILL_DONE);
    EXPECT_TRUE(::IsWindow(own));
    ::DestroyWindow(own);
}

}  // namespace
