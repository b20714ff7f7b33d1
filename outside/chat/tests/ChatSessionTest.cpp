// The engine's protocol state against lines as the chat server and the room
// keeper send them: registration under a neutral nick until the keeper
// names the member, identities that cannot be formed, identity changes
// racing their confirmations, room work through the keeper, partners that
// leave, lines that reach nobody, a full outgoing queue, and a callback
// that throws.
#include "ChatSession.h"
#include "ChatTestKit.h"

#include <gtest/gtest.h>

#include <stdexcept>

using chattest::FakeClient;
using chattest::FakeMain;
using chattest::RecordingSink;

namespace {

const char kCredential[] = "0123456789abcdef0123456789abcdef";

struct Fixture {
    explicit Fixture(const char* id = "7") : main(id, "Ann Lee"), session(&main, sink) {}

    // PASS, NICK and USER are out; the server welcomes the neutral nick.
    void Welcome(const std::string& identity = "O7") {
        session.Begin(identity, kCredential, 30000);
        neutral = session.Nick();
        session.HandleLine(":srv 001 " + neutral + " :Welcome");
    }
    void Named(const std::string& identity = "O7") {
        Welcome(identity);
        session.HandleLine(":" + neutral + "!" + identity + "@h NICK :" + identity);
        sink.sent.clear();
    }
    bool Sent(const std::string& line) const {
        for (const auto& s : sink.sent)
            if (s == line) return true;
        return false;
    }

    FakeMain main;
    RecordingSink sink;
    ChatSession session;
    std::string neutral;
};

}  // namespace

TEST(ChatSessionIdentity, MemberIdsThatCannotFormAnIdentityAreRefused) {
    EXPECT_EQ(ChatSession::IdentityOf("42", false), "O42");
    EXPECT_EQ(ChatSession::IdentityOf("42", true), "R42");
    EXPECT_EQ(ChatSession::IdentityOf("a-b_C9", false), "Oa-b_C9");
    EXPECT_EQ(ChatSession::IdentityOf(std::string(18, '9'), false), "O" + std::string(18, '9'));
    // Blank, blanks inside, line breaks, too long for the chat server's user
    // names, characters a nick cannot hold.
    for (const std::string& bad : {std::string(), std::string(" "), std::string("4 2"), std::string("42\r\nQUIT"),
                                   std::string("42\n"), std::string(19, '9'), std::string("a.b"), std::string("#1"),
                                   std::string("x:y"), std::string("\xc3\xa9"), std::string("1,2"), std::string("[1]")})
        EXPECT_EQ(ChatSession::IdentityOf(bad, false), "") << bad;
    EXPECT_TRUE(ChatSession::IsCredentialText(kCredential));
    EXPECT_FALSE(ChatSession::IsCredentialText(""));
    EXPECT_FALSE(ChatSession::IsCredentialText("a b"));
    EXPECT_FALSE(ChatSession::IsCredentialText(":abc"));
    EXPECT_FALSE(ChatSession::IsCredentialText("abc\r\nQUIT"));
    EXPECT_FALSE(ChatSession::IsCredentialText(std::string(65, 'a')));
    // Neutral nicks are never identities and differ from one call to the next.
    const std::string a = ChatSession::NeutralNick(), b = ChatSession::NeutralNick();
    EXPECT_NE(a, b);
    EXPECT_EQ(a[0], 'G');
    EXPECT_EQ(a.size(), 9u);
}

TEST(ChatSessionIdentity, ConnectedOnlyOnceTheKeeperNamesTheMember) {
    Fixture f;
    f.session.Begin("O7", kCredential, 30000);
    ASSERT_EQ(f.sink.sent.size(), 3u);
    EXPECT_EQ(f.sink.sent[0], std::string("PASS ") + kCredential);
    EXPECT_EQ(f.sink.sent[1], "NICK " + f.session.Nick());
    EXPECT_EQ(f.sink.sent[2], "USER O7 0 * :Orvane chat");
    EXPECT_EQ(f.session.Nick()[0], 'G');
    const std::string neutral = f.session.Nick();
    f.session.HandleLine(":srv 001 " + neutral + " :Welcome");
    // Welcome is not enough: the identity is not ours yet.
    EXPECT_EQ(f.main.Count(ORVCHAT_MAIN_CONNECTED), 0);
    EXPECT_FALSE(f.session.IsRegistered());
    EXPECT_NE(f.session.SendText("O8", "too early", false, '1'), 0);
    // Lines meanwhile are not taken for ours; a rename to something else is not it either.
    f.session.HandleLine(":X!x@h NICK :O7");
    EXPECT_EQ(f.main.Count(ORVCHAT_MAIN_CONNECTED), 0);
    f.session.HandleLine(":" + neutral + "!O7@h NICK :O7");
    EXPECT_EQ(f.main.Count(ORVCHAT_MAIN_CONNECTED), 1);
    EXPECT_TRUE(f.session.IsRegistered());
    EXPECT_EQ(f.session.Nick(), "O7");
}

TEST(ChatSessionIdentity, EveryRegistrationFailureEndsWithItsReason) {
    {
        Fixture f;
        f.session.Begin("O7", kCredential, 30000);
        EXPECT_FALSE(f.session.HandleLine("ERROR :Access denied: Bad password?"));
        EXPECT_EQ(f.session.LostReason(), ORVCHAT_LOST_CREDENTIAL);
        f.session.End(true, f.session.LostReason());
        ASSERT_EQ(f.main.Count(ORVCHAT_MAIN_CONNECTION_LOST), 1);
        EXPECT_EQ(f.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->number, ORVCHAT_LOST_CREDENTIAL);
        EXPECT_EQ(f.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->text2, ChatSession::LostText(ORVCHAT_LOST_CREDENTIAL));
        EXPECT_EQ(f.main.Count(ORVCHAT_MAIN_CONNECTED), 0);
    }
    {
        Fixture f;
        f.Welcome();
        EXPECT_FALSE(f.session.HandleLine(":ChatKeeper!keeper@k NOTICE " + f.neutral +
                                          " :REFUSED IDENTITY O7 in-use"));
        EXPECT_EQ(f.session.LostReason(), ORVCHAT_LOST_IN_USE);
    }
    {
        // Somebody else's notice saying the same is nothing.
        Fixture f;
        f.Welcome();
        EXPECT_TRUE(f.session.HandleLine(":G1!x@h NOTICE " + f.neutral + " :REFUSED IDENTITY O7 in-use"));
    }
    {
        Fixture f;
        f.Welcome();
        EXPECT_TRUE(f.session.Tick(GetTickCount() + 29000));
        EXPECT_FALSE(f.session.Tick(GetTickCount() + 31000));
        EXPECT_EQ(f.session.LostReason(), ORVCHAT_LOST_NO_KEEPER);
    }
    {
        // A taken neutral nick is replaced, a few times; then it is a refusal.
        Fixture f;
        f.session.Begin("O7", kCredential, 30000);
        const std::string first = f.session.Nick();
        EXPECT_TRUE(f.session.HandleLine(":srv 433 * " + first + " :in use"));
        EXPECT_NE(f.session.Nick(), first);
        EXPECT_EQ(f.sink.sent.back(), "NICK " + f.session.Nick());
        bool dropped = false;
        for (int i = 0; i < 10 && !dropped; ++i) dropped = !f.session.HandleLine(":srv 433 * x :in use");
        EXPECT_TRUE(dropped);
        EXPECT_EQ(f.session.LostReason(), ORVCHAT_LOST_REFUSED);
    }
}

TEST(ChatSessionIdentity, AwayAndBackBeforeTheFirstChangeIsConfirmedEndsUnderTheLastAsked) {
    Fixture f;
    f.Named();
    f.main.away = TRUE;
    ASSERT_EQ(f.session.Command(ORVCHAT_CMD_VISIBILITY, nullptr, ""), 0);
    f.main.away = FALSE;
    ASSERT_EQ(f.session.Command(ORVCHAT_CMD_VISIBILITY, nullptr, ""), 0);
    const std::vector<std::string> expected = {"PRIVMSG ChatKeeper :IDENTITY R7", "PRIVMSG ChatKeeper :IDENTITY O7"};
    EXPECT_EQ(f.sink.sent, expected);
    EXPECT_EQ(f.session.RequestedIdentity(), "O7");
    // Asking again for what was asked last sends nothing.
    ASSERT_EQ(f.session.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "O7"), 0);
    EXPECT_EQ(f.sink.sent.size(), 2u);
    f.session.HandleLine(":O7!O7@h NICK :R7");
    f.session.HandleLine(":R7!O7@h NICK :O7");
    EXPECT_EQ(f.session.Nick(), "O7");
    // Only the member's own forms.
    EXPECT_NE(f.session.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "R8"), 0);
    EXPECT_NE(f.session.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "X7"), 0);
    EXPECT_NE(f.session.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "R77"), 0);
    // A refusal of the keeper puts the wish back to what we have.
    ASSERT_EQ(f.session.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "R7"), 0);
    f.session.HandleLine(":ChatKeeper!keeper@k NOTICE O7 :REFUSED IDENTITY R7 in-use");
    EXPECT_EQ(f.session.RequestedIdentity(), "O7");
}

TEST(ChatSessionRooms, RoomWorkGoesToTheKeeperAndItsAnswersToTheCallbacks) {
    Fixture f;
    f.Named();
    OrvChatRoom room;
    room.identity = "#O7.Hiking";
    room.displayName = "Hiking";
    room.description = "Walks | hills";
    room.welcome = "Hi";
    FakeClient dialog("", false);
    ASSERT_EQ(f.session.Command(ORVCHAT_CMD_CREATE_ROOM, &dialog, &room), 0);
    EXPECT_EQ(f.sink.sent.back(), "PRIVMSG ChatKeeper :CREATE #O7.Hiking ORV1|Hiking|Walks \\p hills|Hi");
    // One piece of work per room at a time.
    EXPECT_NE(f.session.Command(ORVCHAT_CMD_DELETE_ROOM, &dialog, &room), 0);
    // Answers from anybody but the keeper count for nothing.
    f.session.HandleLine(":G1!x@h NOTICE O7 :CREATED #O7.Hiking");
    EXPECT_TRUE(dialog.results.empty());
    f.session.HandleLine(":ChatKeeper!keeper@k NOTICE O7 :CREATED #O7.Hiking");
    ASSERT_EQ(dialog.results.size(), 1u);
    EXPECT_EQ(dialog.results[0].code, ORVCHAT_RESULT_CREATED);
    EXPECT_EQ(dialog.results[0].room.displayName, "Hiking");

    ASSERT_EQ(f.session.Command(ORVCHAT_CMD_CHANGE_ROOM, &dialog, &room), 0);
    f.session.HandleLine(":ChatKeeper!keeper@k NOTICE O7 :REFUSED CHANGE #O7.Hiking not-creator");
    ASSERT_EQ(dialog.results.size(), 2u);
    EXPECT_EQ(dialog.results[1].code, ORVCHAT_RESULT_FAILED);
    ASSERT_EQ(f.session.Command(ORVCHAT_CMD_DELETE_ROOM, &dialog, &room), 0);
    EXPECT_EQ(f.sink.sent.back(), "PRIVMSG ChatKeeper :DELETE #O7.Hiking");
    f.session.HandleLine(":ChatKeeper!keeper@k NOTICE O7 :DELETED #o7.hiking");
    ASSERT_EQ(dialog.results.size(), 3u);
    EXPECT_EQ(dialog.results[2].code, ORVCHAT_RESULT_DELETED);

    // Not his room, or a record too long for one line: refused at once.
    OrvChatRoom other = room;
    other.identity = "#O8.Hiking";
    EXPECT_NE(f.session.Command(ORVCHAT_CMD_CREATE_ROOM, &dialog, &other), 0);
    OrvChatRoom huge = room;
    huge.welcome = CString(std::string(500, 'w').c_str());
    EXPECT_NE(f.session.Command(ORVCHAT_CMD_CREATE_ROOM, &dialog, &huge), 0);

    // No keeper on the server: the work fails at once.
    ASSERT_EQ(f.session.Command(ORVCHAT_CMD_CREATE_ROOM, &dialog, &room), 0);
    f.session.HandleLine(":srv 401 O7 ChatKeeper :No such nick");
    ASSERT_EQ(dialog.results.size(), 4u);
    EXPECT_EQ(dialog.results[3].code, ORVCHAT_RESULT_FAILED);
    // A keeper that never answers: failed after a while.
    ASSERT_EQ(f.session.Command(ORVCHAT_CMD_CREATE_ROOM, &dialog, &room), 0);
    f.session.Tick(GetTickCount() + ChatSession::KeeperAnswerMs + 1000);
    ASSERT_EQ(dialog.results.size(), 5u);
    EXPECT_EQ(dialog.results[4].code, ORVCHAT_RESULT_FAILED);
}

TEST(ChatSessionRooms, DeletionIsToldOnceAndAMissingRoomIsADeletedOne) {
    Fixture f;
    f.Named();
    FakeClient window("#O8.Hiking", true);
    f.session.AddClient(&window);
    ASSERT_EQ(f.session.Command(ORVCHAT_CMD_JOIN_ROOM, &window, "#O8.Hiking"), 0);
    f.session.HandleLine(":O7!O7@h JOIN :#O8.Hiking");
    f.session.HandleLine(":srv 332 O7 #O8.Hiking :ORV1|Hiking|d|w");
    f.session.HandleLine(":srv 353 O7 = #O8.Hiking :O7 O9");
    f.session.HandleLine(":srv 366 O7 #O8.Hiking :End");
    ASSERT_EQ(window.Count(ORVCHAT_EVENT_ENTERED), 1);
    // The keeper deletes it: the topic, then the kick.
    f.session.HandleLine(":keeper.orvane.local TOPIC #O8.Hiking :ORV1-DELETED");
    f.session.HandleLine(":keeper.orvane.local KICK #O8.Hiking O7 :Room deleted");
    EXPECT_EQ(window.Count(ORVCHAT_EVENT_ROOM_DELETED), 1);
    EXPECT_TRUE(f.session.Rooms().empty());
    // Joining a room that is gone.
    ASSERT_EQ(f.session.Command(ORVCHAT_CMD_JOIN_ROOM, &window, "#O8.Hiking"), 0);
    f.session.HandleLine(":srv 403 O7 #O8.Hiking :No such channel");
    EXPECT_EQ(window.Count(ORVCHAT_EVENT_ROOM_DELETED), 2);
    EXPECT_EQ(window.Count(ORVCHAT_EVENT_ENTERED), 1);
}

TEST(ChatSessionPartners, APartnerLeavingTheServerIsToldWithinAPoll) {
    Fixture f;
    f.Named();
    FakeClient chat("O8", false), declined("O9", false), gone("O10", false);
    declined.active = FALSE;  // not running: not watched
    f.session.AddClient(&chat);
    f.session.AddClient(&declined);
    f.session.AddClient(&gone);
    DWORD now = GetTickCount();
    ASSERT_TRUE(f.session.Tick(now));
    ASSERT_EQ(f.sink.sent.size(), 1u);
    EXPECT_EQ(f.sink.sent[0], "ISON O10 R10 O8 R8");
    f.session.HandleLine(":srv 303 O7 :R8 O10");
    // Both there: nobody told anything; not asked again before the interval.
    EXPECT_EQ(chat.Count(ORVCHAT_EVENT_LEFT), 0);
    f.session.Tick(now + 100);
    EXPECT_EQ(f.sink.sent.size(), 1u);
    now += PartnerWatch::IntervalMs;
    f.session.Tick(now);
    ASSERT_EQ(f.sink.sent.size(), 2u);
    f.session.HandleLine(":srv 303 O7 :O10");
    ASSERT_EQ(chat.Count(ORVCHAT_EVENT_LEFT), 1);
    EXPECT_EQ(chat.Last(ORVCHAT_EVENT_LEFT)->text1, "R8");
    EXPECT_EQ(gone.Count(ORVCHAT_EVENT_LEFT), 0);
    EXPECT_EQ(declined.Count(ORVCHAT_EVENT_LEFT), 0);
    // Told once, not at every poll.
    now += PartnerWatch::IntervalMs;
    f.session.Tick(now);
    f.session.HandleLine(":srv 303 O7 :O10");
    EXPECT_EQ(chat.Count(ORVCHAT_EVENT_LEFT), 1);
    // A QUIT seen in a shared room tells it as well.
    f.session.HandleLine(":O10!O10@h QUIT :bye");
    EXPECT_EQ(gone.Count(ORVCHAT_EVENT_LEFT), 1);
}

TEST(ChatSessionPartners, ALineThatReachesNobodyIsReportedToTheWindow) {
    Fixture f;
    f.Named();
    FakeClient chat("O8", false);
    f.session.AddClient(&chat);
    ASSERT_EQ(f.session.SendText("O8", "are you there?", false, '2'), 0);
    f.session.HandleLine(":srv 401 O7 O8 :No such nick");
    f.session.HandleLine(":srv PONG srv :orvretry-O8");
    // Tried under the other form first...
    EXPECT_EQ(f.sink.sent.back(), "PRIVMSG R8 :2are you there?");
    EXPECT_EQ(chat.Count(ORVCHAT_EVENT_LEFT), 0);
    // ...then the window hears that the partner is not there.
    f.session.HandleLine(":srv 401 O7 R8 :No such nick");
    f.session.HandleLine(":srv PONG srv :orvretry-R8");
    ASSERT_EQ(chat.Count(ORVCHAT_EVENT_LEFT), 1);
    // A typing notice that reaches nobody is reported the same way.
    ASSERT_EQ(f.session.Notify(ORVCHAT_NOTIFY_TYPING, "O8", 1), 0);
    EXPECT_EQ(f.sink.sent.back(), "PRIVMSG O8 :\x01ORVTYPING 1\x01");
    f.session.HandleLine(":srv 401 O7 O8 :No such nick");
    f.session.HandleLine(":srv PONG srv :orvretry-O8");
    f.session.HandleLine(":srv 401 O7 R8 :No such nick");
    f.session.HandleLine(":srv PONG srv :orvretry-R8");
    EXPECT_EQ(chat.Count(ORVCHAT_EVENT_LEFT), 2);
}

TEST(ChatSessionLimits, AFullOutgoingQueueRefusesAWholeText) {
    Fixture f;
    f.Named();
    f.sink.room = 2;
    std::string three = "one\ntwo\nthree";
    EXPECT_NE(f.session.SendText("O8", three.c_str(), false, '1'), 0);
    EXPECT_TRUE(f.sink.sent.empty());
    EXPECT_EQ(f.session.SendText("O8", "one\ntwo", false, '1'), 0);
    EXPECT_EQ(f.sink.sent.size(), 2u);
    EXPECT_NE(f.session.Notify(ORVCHAT_NOTIFY_TYPING, "O8", 1), 0);
    EXPECT_NE(f.session.Command(ORVCHAT_CMD_LIST_ROOMS, nullptr, ""), 0);
    // PONG still goes: urgent lines never wait.
    f.session.HandleLine("PING :srv");
    EXPECT_EQ(f.sink.sent.back(), "PONG :srv");
}

TEST(ChatSessionEnd, EndStaysUsableAfterACallbackThrows) {
    struct Throwing : FakeClient {
        using FakeClient::FakeClient;
        void OnChatClosed(int reason) override {
            FakeClient::OnChatClosed(reason);
            if (throwOnce) {
                throwOnce = false;
                throw std::runtime_error("window failed");
            }
        }
        bool throwOnce = true;
    };
    Fixture f;
    f.Named();
    Throwing window("O8", false);
    f.session.AddClient(&window);
    EXPECT_THROW(f.session.End(true), std::runtime_error);
    // A later connection ends normally and tells everybody.
    f.Named();
    f.session.End(false);
    EXPECT_EQ(window.closed.size(), 2u);
    EXPECT_EQ(f.main.Count(ORVCHAT_MAIN_DISCONNECTED), 1);
}
