// The navigation history: back, forward, cutting the forward part, a full
// history, and a step back after a failed request.
#include "OrvNavigationHistory.h"

#include <gtest/gtest.h>

namespace {

TEST(NavigationHistory, BackAndForwardWalkTheEntries) {
    OrvNavigationHistory history;
    history.Reset("me");
    history.Advance("a");
    history.Advance("b");
    EXPECT_STREQ(history.Back(), "a");
    EXPECT_STREQ(history.Back(), "me");
    EXPECT_STREQ(history.Back(), "me") << "backward at the first entry stays there";
    EXPECT_STREQ(history.Forward(), "a");
    EXPECT_STREQ(history.Forward(), "b");
    EXPECT_STREQ(history.Forward(), "b") << "forward at the top stays there";
}

TEST(NavigationHistory, ANewPersonAfterABackStepCutsTheForwardPart) {
    OrvNavigationHistory history;
    history.Reset("me");
    history.Advance("a");
    history.Advance("b");
    history.Back();
    history.Advance("c");
    EXPECT_EQ(history.Top(), history.Index());
    EXPECT_STREQ(history.Current(), "c");
    EXPECT_STREQ(history.Forward(), "c");
    EXPECT_STREQ(history.Back(), "a");
}

TEST(NavigationHistory, AFullHistoryDropsItsOldestEntries) {
    OrvNavigationHistory history;
    history.Reset("0");
    for (int i = 1; i < 1500; ++i) history.Advance(CString(std::to_string(i).c_str()));
    EXPECT_EQ(history.Count(), OrvNavigationHistory::kCapacity);
    EXPECT_STREQ(history.Current(), "1499");
    for (int i = 0; i < 5000; ++i) history.Back();
    EXPECT_STREQ(history.Current(), "500");
}

TEST(NavigationHistory, StepBackAfterAFailedRequest) {
    OrvNavigationHistory history;
    history.Reset("me");
    EXPECT_FALSE(history.StepBack());
    history.Advance("a");
    EXPECT_TRUE(history.StepBack());
    EXPECT_STREQ(history.Current(), "me");
}

}  // namespace
