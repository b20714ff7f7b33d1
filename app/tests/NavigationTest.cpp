// The frame's side of the tree's navigation requests: the history moves as
// each kind says, and a request while another runs or a tree is awaited is
// dropped. The server is a closed port: each tree request fails, which ends
// the wait as an answer would.
#include "AppTestSupport.h"
#include "LoopbackPort.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using apptest::TestFrame;

namespace {

class Navigation : public ::testing::Test {
protected:
    void SetUp() override {
        apptest::ClearSettings();
        frame.SetUrl(m_closed.Url().c_str());
        frame.LogIn("me", "session-1234");
        frame.GetHistory().Reset("me");
    }
    void TearDown() override { apptest::ClearSettings(); }

    // Sends a request and waits until it and its failed tree are through.
    int Request(int kind, const char* id) {
        ORVCONTACTINFO contact = apptest::Person(id ? id : "", "A", "B", "a@example.com");
        ORVNAVIGATEINFO info{kind, -1, id ? &contact : nullptr};
        const int taken = frame.Navigate(&info);
        EXPECT_TRUE(orvtest::PumpUntil([&] { return !frame.IsNavigating() && !frame.IsTreePending(); },
                                       apptest::kGenerousMs));
        return taken;
    }

    apptest::LoopbackPort m_closed;  // nobody listens
    TestFrame frame;
};

TEST_F(Navigation, ActivatingTheCurrentRootAsksAgainWithoutMovingTheHistory) {
    Request(ORVNAV_ACTIVATE, "me");
    EXPECT_EQ(frame.GetHistory().Count(), 1);
    EXPECT_STREQ(frame.GetRequestedRoot(), "me");
}

TEST_F(Navigation, BackForwardAndANewPersonAfterABackStep) {
    Request(ORVNAV_ACTIVATE, "a");
    Request(ORVNAV_ACTIVATE, "b");
    EXPECT_STREQ(frame.GetHistory().Current(), "b");
    Request(ORVNAV_BACKWARD, nullptr);
    EXPECT_STREQ(frame.GetRequestedRoot(), "a");
    Request(ORVNAV_FORWARD, nullptr);
    EXPECT_STREQ(frame.GetRequestedRoot(), "b");
    Request(ORVNAV_BACKWARD, nullptr);
    Request(ORVNAV_ACTIVATE, "c");
    EXPECT_EQ(frame.GetHistory().Index(), frame.GetHistory().Top()) << "the forward part is cut off";
    Request(ORVNAV_FORWARD, nullptr);
    EXPECT_STREQ(frame.GetRequestedRoot(), "c");
    // Home: the member's own tree, one more step in the history.
    Request(4, nullptr);
    EXPECT_STREQ(frame.GetRequestedRoot(), "me");
    EXPECT_EQ(frame.GetHistory().Index(), 3);
    // Home again while his own tree is the current one: no new step.
    Request(4, nullptr);
    EXPECT_EQ(frame.GetHistory().Index(), 3);
    // Back at the first entry reloads it.
    for (int i = 0; i < 5; ++i) Request(ORVNAV_BACKWARD, nullptr);
    EXPECT_STREQ(frame.GetRequestedRoot(), "me");
    EXPECT_EQ(frame.GetHistory().Index(), 0);
}

TEST_F(Navigation, ASecondRequestWhileOneRunsIsDropped) {
    ORVCONTACTINFO first = apptest::Person("x", "A", "B", "x@example.com");
    ORVCONTACTINFO second = apptest::Person("y", "A", "B", "y@example.com");
    ORVNAVIGATEINFO one{ORVNAV_ACTIVATE, -1, &first};
    ORVNAVIGATEINFO two{ORVNAV_ACTIVATE, -1, &second};
    EXPECT_NE(frame.Navigate(&one), 0);
    EXPECT_NE(frame.Navigate(&two), 0) << "a dropped request still counts as taken";
    ASSERT_TRUE(orvtest::PumpUntil([&] { return !frame.IsNavigating() && !frame.IsTreePending(); },
                                   apptest::kGenerousMs));
    EXPECT_EQ(frame.GetHistory().Count(), 2);
    EXPECT_STREQ(frame.GetHistory().Current(), "x");
}

TEST_F(Navigation, RequestsWithoutAContactOrOfUnknownKindsChangeNothing) {
    Request(ORVNAV_ACTIVATE, nullptr);
    Request(99, "z");
    EXPECT_EQ(frame.GetHistory().Count(), 1);
    EXPECT_EQ(frame.Navigate(nullptr), 1);
}

}  // namespace
