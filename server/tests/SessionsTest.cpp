#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "OrvSessions.h"

using namespace orv;

TEST(Sessions, RandomIdentifiersThatExpireWhenIdle) {
    OrvSessions s(100);
    std::set<std::string> ids;
    for (int i = 0; i < 200; ++i) ids.insert(s.open(7, 1000));
    EXPECT_EQ(ids.size(), 200u);
    EXPECT_TRUE(std::regex_match(*ids.begin(), std::regex("[0-9a-f]{32}")));
    std::string id = s.open(9, 1000);
    EXPECT_EQ(s.touch(id, 1090), 9u);   // renewed at 1090
    EXPECT_EQ(s.touch(id, 1180), 9u);   // 90 s idle: still alive
    EXPECT_FALSE(s.touch(id, 1281));    // 101 s idle: gone
    EXPECT_FALSE(s.touch(id, 1282));
    EXPECT_FALSE(s.touch("not-a-session", 1000));
}

TEST(Sessions, PresenceComesFromTheLatestReportingSession) {
    OrvSessions s(1000);
    std::string a = s.open(5, 0), b = s.open(5, 0);
    EXPECT_EQ(s.presenceOf(5), -1);
    s.setPresence(a, 0, "O5", 10);
    s.setPresence(b, 1, "", 20);
    EXPECT_EQ(s.presenceOf(5), 1);
    s.close(b);
    EXPECT_EQ(s.presenceOf(5), 0);
    s.closeMember(5);
    EXPECT_EQ(s.presenceOf(5), -1);
    EXPECT_EQ(s.count(), 0u);
}

TEST(Sessions, NoticesGoToOpenSessionsOnce) {
    OrvSessions s(1000);
    std::string a = s.open(1, 0), b = s.open(2, 0);
    s.noticeAll("all");
    s.noticeMember(2, "two");
    s.noticeMember(3, "nobody");
    EXPECT_EQ(s.takeNotices(a), std::vector<std::string>{"all"});
    EXPECT_EQ(s.takeNotices(b), (std::vector<std::string>{"all", "two"}));
    EXPECT_TRUE(s.takeNotices(b).empty());
    std::string c = s.open(1, 0);
    EXPECT_TRUE(s.takeNotices(c).empty());  // opened after the notice
}

TEST(Sessions, FailedLogInsAreSlowedDownPerAddress) {
    OrvSessions s(1000);
    for (int i = 0; i < OrvSessions::kFreeFailures - 1; ++i) s.loginFailed("a@example.com", 100);
    EXPECT_EQ(s.loginWait("a@example.com", 100), 0);
    s.loginFailed("a@example.com", 100);  // the fifth
    EXPECT_EQ(s.loginWait("a@example.com", 100), 1);
    EXPECT_EQ(s.loginWait("a@example.com", 101), 0);
    s.loginFailed("a@example.com", 101);
    s.loginFailed("a@example.com", 101);
    EXPECT_EQ(s.loginWait("a@example.com", 101), 4);  // doubles with each failure
    for (int i = 0; i < 20; ++i) s.loginFailed("a@example.com", 200);
    EXPECT_EQ(s.loginWait("a@example.com", 200), OrvSessions::kMaxWait);
    EXPECT_EQ(s.loginWait("b@example.com", 200), 0);
    // Forgotten after the failure window, cleared by a success.
    EXPECT_EQ(s.loginWait("a@example.com", 200 + OrvSessions::kFailureWindow + 1), 0);
    s.loginFailed("c@example.com", 0);
    for (int i = 0; i < 6; ++i) s.loginFailed("c@example.com", 0);
    s.loginSucceeded("c@example.com");
    EXPECT_EQ(s.loginWait("c@example.com", 0), 0);
}

TEST(Sessions, PeekingDoesNotRenew) {
    OrvSessions s(100);
    std::string id = s.open(4, 1000);
    EXPECT_EQ(s.peek(id, 1000), 4u);
    EXPECT_EQ(s.peek(id, 1100), 4u);  // 100 s idle: still alive
    // Had the peek at 1100 renewed it, it would live until 1200.
    EXPECT_FALSE(s.peek(id, 1101));
    EXPECT_FALSE(s.touch(id, 1101));
    EXPECT_FALSE(s.peek("not-a-session", 1000));
}
