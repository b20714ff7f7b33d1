// What the main frame does with each server answer: the records it keeps,
// the messages the member sees and the state the session is left in. The
// answers are called as the channel calls them, on this thread.
#include "AppTestSupport.h"

#include "OrvRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using apptest::Person;
using apptest::TestFrame;

namespace {

class Answers : public ::testing::Test {
protected:
    void SetUp() override { apptest::ClearSettings(); }
    void TearDown() override { apptest::ClearSettings(); }
    TestFrame frame;
};

std::vector<ORVCONTACTINFO> People(int count) {
    std::vector<ORVCONTACTINFO> people;
    for (int i = 0; i < count; ++i) {
        const std::string id = std::to_string(i + 1);
        people.push_back(Person(id.c_str(), "First", "Last", ("p" + id + "@example.com").c_str()));
    }
    return people;
}

TEST_F(Answers, ASearchOf150ShowsTheTooManyMessageOnceAndKeeps100) {
    std::vector<ORVCONTACTINFO> people = People(150);
    people[3].occupation = "line one\r\nline two";
    people[4].isMember = 0;
    people[4].canChat = 1;
    frame.OnSearchAnswer("0", 150, people.data());
    ASSERT_EQ(frame.messenger.shown.size(), 1u);
    EXPECT_EQ(frame.messenger.shown[0].caption, "Search results");
    EXPECT_NE(frame.messenger.shown[0].text.find("Only the first 100 are presented here."), std::string::npos);
    ASSERT_EQ(frame.GetLastSearchResult().Count(), 100);
    EXPECT_STREQ(frame.GetLastSearchResult()[3].occupation, "line one  line two");
    EXPECT_EQ(frame.GetLastSearchResult()[4].canChat, 0) << "a non-member cannot chat";
    EXPECT_EQ(frame.GetLastSearchResult()[4].emailPrivate, 1) << "a non-member's address is never shown";
    EXPECT_EQ(frame.GetLastSearchResult()[0].canChat, 1);
    EXPECT_STREQ(frame.GetLastResult(), "0");
    EXPECT_FALSE(frame.IsBusy());
}

TEST_F(Answers, ASilentSearchShowsNeitherTooManyNorNothingFound) {
    std::vector<ORVCONTACTINFO> people = People(150);
    frame.SetSilentSearch(true);
    frame.OnSearchAnswer("0", 150, people.data());
    frame.SetSilentSearch(true);
    frame.OnSearchAnswer("2", 0, nullptr);
    EXPECT_TRUE(frame.messenger.shown.empty());
    EXPECT_EQ(frame.GetLastSearchResult().Count(), 100) << "a failed search keeps the last result";
    // The silent flag ends with the answer: the next search speaks again.
    frame.OnSearchAnswer("2", 0, nullptr);
    ASSERT_EQ(frame.messenger.shown.size(), 1u);
    EXPECT_EQ(frame.messenger.shown[0].caption, "Search error");
    EXPECT_EQ(frame.messenger.shown[0].text, "Unfortunately, Orvane has found no results \nthat match your search query.");
}

TEST_F(Answers, ATreeKeepsOnlyUsableRecordsWithTheRequestedRootFirst) {
    std::vector<ORVCONTACTINFO> people = People(6);
    people[1].firstName = "";  // dropped
    people[2].email = "";      // dropped
    people[3].id = "";         // dropped
    frame.SetRequestedRoot("6");
    frame.OnTreeAnswer("0", 6, people.data());
    const OrvContactArray& tree = frame.GetCurrentTree();
    ASSERT_EQ(tree.Count(), 3);
    EXPECT_STREQ(tree[0].id, "6") << "the requested person comes first";
    EXPECT_STREQ(tree[1].id, "5");
    EXPECT_STREQ(tree[2].id, "1") << "the record that was first takes the root's place";
    EXPECT_TRUE(frame.messenger.shown.empty());
}

TEST_F(Answers, ATreeWhoseRecordsAllLackAFirstNameLeavesAnEmptyTree) {
    std::vector<ORVCONTACTINFO> people = People(3);
    for (ORVCONTACTINFO& person : people) person.firstName = "";
    frame.OnTreeAnswer("0", 3, people.data());
    EXPECT_EQ(frame.GetCurrentTree().Count(), 0);
}

TEST_F(Answers, ATreeNotFoundStepsTheHistoryBackAndSaysSo) {
    frame.GetHistory().Reset("me");
    frame.OnTreeAnswer("2", 0, nullptr);
    ASSERT_EQ(frame.messenger.shown.size(), 1u);
    EXPECT_EQ(frame.messenger.shown[0].caption, "Get contacts tree error");
    EXPECT_EQ(frame.messenger.shown[0].text, "Selected contact has not found in Orvane database.");
}

TEST_F(Answers, CodeThreeTakesTheProgramOffLineAndStartsReconnecting) {
    frame.LogIn();
    ASSERT_STREQ(frame.GetSessionId(), "session-abcd");
    frame.OnTreeAnswer("3", 0, nullptr);
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssOffline);
    EXPECT_EQ(frame.GetStatus(), OrvMainFrame::stOffline);
    EXPECT_TRUE(frame.GetSessionId().IsEmpty());
    EXPECT_TRUE(frame.GetTimers().IsRunning(OrvSessionTimers::tReconnect));
    EXPECT_EQ(frame.GetTimers().GetPeriod(OrvSessionTimers::tReconnect), OrvMainFrame::kDefaultReconnectMs);
    EXPECT_TRUE(frame.messenger.shown.empty()) << "a lost session shows nothing";
}

TEST_F(Answers, KeywordPathSearchErrors) {
    frame.OnSearchPathByKeywordAnswer("11", 0, nullptr);
    frame.OnSearchPathByKeywordAnswer("2", 0, nullptr);
    frame.OnSearchPathByKeywordAnswer("10", 0, nullptr);
    frame.OnSearchPathByKeywordAnswer("1", 0, nullptr);
    ASSERT_EQ(frame.messenger.shown.size(), 3u);
    for (const auto& shown : frame.messenger.shown) EXPECT_EQ(shown.caption, "Search error");
    EXPECT_EQ(frame.messenger.shown[0].text, "Path not found");
    EXPECT_EQ(frame.messenger.shown[1].text, "Unfortunately, Orvane has found no results \nthat match your search-path query.");
    EXPECT_EQ(frame.messenger.shown[2].text, "Source e-mail wasn\xE2\x80\x99t found");
}

TEST_F(Answers, PathsAreKeptAsOneArrayOfNormalisedNodesAndAFailedPathSearchShowsNothing) {
    std::vector<ORVCONTACTINFO> first = People(3), second = People(4);
    second[1].isMember = 0;
    ORVPATHINFO paths[2] = {{3, first.data()}, {4, second.data()}};
    frame.OnSearchPathAnswer("0", "a@example.com", "b@example.com", "2", 2, paths);
    ASSERT_EQ(frame.GetLastPathResult().Count(), 7);
    EXPECT_EQ(frame.GetLastPathResult()[4].emailPrivate, 1);
    frame.OnSearchPathAnswer("11", "", "", "", 0, nullptr);
    frame.OnSearchPathAnswer("2", "", "", "", 0, nullptr);
    EXPECT_TRUE(frame.messenger.shown.empty());
}

TEST_F(Answers, TheContactTableTakesUsableRecordsUpToItsSize) {
    std::vector<ORVCONTACTINFO> people = People(1205);
    people[0].firstName = "";
    people[1].email = "";
    frame.OnGetContactsAnswer("0", "me@example.com", 1205, people.data());
    ASSERT_EQ(frame.GetContactCount(), OrvMainFrame::kContactTableSize);
    EXPECT_STREQ(frame.GetContact(0).id, "3");
    EXPECT_STREQ(frame.GetContact(999).id, "1002");
    frame.OnGetContactsAnswer("8", "", 0, nullptr);
    EXPECT_EQ(frame.GetContactCount(), 0);
    ASSERT_EQ(frame.messenger.shown.size(), 1u);
    EXPECT_EQ(frame.messenger.shown[0].caption, "Get contacts error");
}

TEST_F(Answers, ALogInAnswerKeepsTheSessionAndReleasesTheInstallSemaphore) {
    HANDLE semaphore = ::CreateSemaphoreA(nullptr, 0, 2, nullptr);
    HANDLE copy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), semaphore, ::GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    frame.SetInstallSemaphore(semaphore);
    frame.OnLogInAnswer("0", "42", "key", "Ann", "Lee", "Pilot", "sess-9876", 0, "http://p/1", "", "6667", "500",
                        "http://p/2", "3", 120, 0, "info");
    EXPECT_EQ(::WaitForSingleObject(copy, 0), WAIT_OBJECT_0) << "the first log-in answer releases the semaphore";
    EXPECT_EQ(::WaitForSingleObject(copy, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "once";
    ::CloseHandle(copy);
    EXPECT_STREQ(frame.GetSessionId(), "sess-9876");
    EXPECT_STREQ(frame.GetUserId(), "42");
    EXPECT_STREQ(frame.GetDisplayName(), "Ann Lee");
    EXPECT_EQ(frame.GetIdleLimit(), 120000u);
    EXPECT_EQ(frame.GetBannerInterval(), 30000u) << "a banner period of 0 means 30 s";
    EXPECT_STREQ(frame.GetUncryptSequence(), "9876") << "the session's last four characters";
    EXPECT_EQ(frame.idle.resets, 1) << "the idle time starts again";
    OrvRegistry registry;
    EXPECT_STREQ(registry.GetFName(), "Ann");
    EXPECT_STREQ(registry.GetLName(), "Lee");
}

TEST_F(Answers, AFailedLogInLeavesTheProgramOffLine) {
    frame.OnLogInAnswer("5", "", "", "", "", "", "", 0, "", "", "", "", "", "", 0, 0, "");
    EXPECT_STREQ(frame.GetLastResult(), "5");
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssOffline);
    EXPECT_FALSE(frame.IsBusy());
}

TEST_F(Answers, AFailedLogInCommandEndsTheWaitAsAConnectionError) {
    frame.OnCommandFailed("25");
    EXPECT_STREQ(frame.GetLastResult(), "Connection error");
    EXPECT_EQ(frame.GetSessionState(), OrvMainFrame::ssOffline);
    EXPECT_TRUE(frame.messenger.shown.empty());
}

TEST_F(Answers, ErrorsOfContactChangesAreMappedByTheirCommand) {
    frame.OnDropContactsAnswer("8");
    frame.OnUpdateUserAnswer("8");
    frame.OnDropContactsAnswer("0");
    ASSERT_EQ(frame.messenger.shown.size(), 2u);
    EXPECT_EQ(frame.messenger.shown[0].caption, "Drop contacts error");
    EXPECT_EQ(frame.messenger.shown[1].caption, "Update user error");
}

TEST_F(Answers, EmailChangeAndServerNotices) {
    frame.OnChangeEmailAnswer("0");
    frame.OnChangeEmailAnswer("4");
    frame.OnServerNotice("Maintenance tonight");
    ASSERT_EQ(frame.messenger.shown.size(), 3u);
    EXPECT_EQ(frame.messenger.shown[0].caption, "Change Email");
    EXPECT_EQ(frame.messenger.shown[0].text, "E-mail has been updated.");
    EXPECT_EQ(frame.messenger.shown[1].caption, "Change e-mail error");
    EXPECT_EQ(frame.messenger.shown[2].caption, "");
    EXPECT_EQ(frame.messenger.shown[2].text, "Maintenance tonight");
}

}  // namespace
