// The session's states under a clock the test drives: idle disconnection,
// re-connection after input and by the re-connection timer, a log-in that
// fails or never comes. The server address is a closed loopback port (the
// log-in fails at once) or a listener that never answers.
#include "AppTestSupport.h"
#include "LoopbackPort.h"

#include "OrvRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using apptest::TestFrame;

namespace {

// A loopback port that accepts connections and never answers, or (closed)
// one that refuses them.
class Listener : public apptest::LoopbackPort {
public:
    explicit Listener(bool listen) : LoopbackPort(listen ? 8 : 0) {}
};

class SessionMachine : public ::testing::Test {
protected:
    void SetUp() override {
        apptest::ClearSettings();
        OrvRegistry registry;
        registry.SetEmail("ann@example.com");
        registry.SetSerkey("secret-pass");
    }
    void TearDown() override { apptest::ClearSettings(); }

    // On line as after a good log-in and the chat's connection.
    void BringOnLine(TestFrame& frame) {
        frame.LogIn();
        frame.OnChatEvent(ORVCHAT_MAIN_CONNECTED, 0, 0);
        ASSERT_EQ(frame.GetSessionState(), OrvMainFrame::ssOnline);
        ASSERT_EQ(frame.GetStatus(), OrvMainFrame::stOnline);
    }
    bool Until(const std::function<bool()>& done) { return orvtest::PumpUntil(done, apptest::kGenerousMs); }
};

TEST_F(SessionMachine, TenMinutesIdleKeepsTheSessionFifteenMinutesAndFiveSecondsEndIt) {
    Listener closed(false);
    TestFrame frame;
    frame.SetUrl(closed.Url().c_str());
    BringOnLine(frame);
    frame.idle.idle = 10 * 60 * 1000;
    frame.OnIdleTick();
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssOnline);
    frame.idle.idle = 15 * 60 * 1000 + 5000;
    frame.OnIdleTick();
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssIdle);
    EXPECT_TRUE(frame.IsAutoAway());
    EXPECT_EQ(frame.GetStatus(), OrvMainFrame::stOffline);
    EXPECT_FALSE(frame.GetTimers().IsRunning(OrvSessionTimers::tReconnect)) << "idleness does not re-connect by itself";
    EXPECT_EQ(OrvRegistry().GetOrvStatus(), 3u) << "the presence kept for the return is away";
    // Still idle: nothing happens.
    frame.OnIdleTick();
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssIdle);

    // Input again: the next tick connects.
    frame.idle.idle = 300;
    frame.OnIdleTick();
    EXPECT_FALSE(frame.IsAutoAway());
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssConnecting);
    EXPECT_TRUE(frame.GetTimers().IsRunning(OrvSessionTimers::tBlink));
    // The log-in cannot reach the server: off line, and the re-connection
    // timer takes over.
    ASSERT_TRUE(Until([&] {
        return frame.GetSessionState() == OrvMainFrame::ssOffline &&
               frame.GetTimers().IsRunning(OrvSessionTimers::tReconnect);
    }));
    EXPECT_STREQ(frame.GetLastResult(), "Connection error");
    EXPECT_FALSE(frame.GetTimers().IsRunning(OrvSessionTimers::tBlink));
    EXPECT_EQ(frame.GetStatus(), OrvMainFrame::stOffline);
    EXPECT_FALSE(frame.IsBusy());
}

TEST_F(SessionMachine, TheReconnectionTimerConnectsOnlyWhileOffLine) {
    Listener closed(false);
    TestFrame frame;
    frame.SetUrl(closed.Url().c_str());
    BringOnLine(frame);
    frame.OnReconnectTick();
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssOnline) << "on line the tick does nothing";

    frame.GoOffline();
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssOffline);
    EXPECT_TRUE(frame.GetTimers().IsRunning(OrvSessionTimers::tReconnect));
    EXPECT_EQ(OrvRegistry().GetOrvStatus(), 1u) << "the presence shown was on line";
    frame.OnReconnectTick();
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssConnecting);
    EXPECT_FALSE(frame.GetTimers().IsRunning(OrvSessionTimers::tReconnect)) << "the timer stops itself";
    ASSERT_TRUE(Until([&] { return frame.GetTimers().IsRunning(OrvSessionTimers::tReconnect); }));
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssOffline);
}

TEST_F(SessionMachine, ALogInWithoutAnswerEndsWithTheTimeOut) {
    Listener silent(true);
    TestFrame frame;
    frame.SetUrl(silent.Url().c_str());
    frame.SetLogInWait(300);
    frame.Connect();
    ASSERT_TRUE(Until([&] { return frame.GetTimers().IsRunning(OrvSessionTimers::tReconnect); }));
    EXPECT_STREQ(frame.GetLastResult(), "Connection timeout error");
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssOffline);
}

TEST_F(SessionMachine, TheChatLosingItsConnectionTakesTheProgramOffLine) {
    Listener closed(false);
    TestFrame frame;
    frame.SetUrl(closed.Url().c_str());
    BringOnLine(frame);
    frame.OnChatEvent(ORVCHAT_MAIN_CONNECTION_LOST, ORVCHAT_LOST_CONNECTION, 0);
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssOffline);
    EXPECT_TRUE(frame.GetTimers().IsRunning(OrvSessionTimers::tReconnect));
}

TEST_F(SessionMachine, AnyFailedCommandWhileOnLineGoesOffLineButAStatusUpdateDoesNot) {
    Listener closed(false);
    TestFrame frame;
    frame.SetUrl(closed.Url().c_str());
    BringOnLine(frame);
    frame.OnCommandFailed("15");
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssOnline);
    frame.OnCommandFailed("23");
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssOffline);
}

TEST_F(SessionMachine, TheStoredPresenceComesBackWithTheChatConnection) {
    OrvRegistry().SetOrvStatus(3);
    TestFrame frame;
    frame.LogIn();
    frame.OnChatEvent(ORVCHAT_MAIN_CONNECTED, 0, 0);
    EXPECT_EQ(frame.GetStatus(), OrvMainFrame::stAway);
    OrvRegistry().SetOrvStatus(2);
    TestFrame second;
    second.LogIn();
    second.OnChatEvent(ORVCHAT_MAIN_CONNECTED, 0, 0);
    EXPECT_EQ(second.GetStatus(), OrvMainFrame::stFriends);
}

}  // namespace
