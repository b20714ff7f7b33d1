// The line parser and the protocol state driven with hostile and random
// server lines: nothing may crash, every line sent stays one valid IRC line,
// and the engine still works afterwards.
#include "ChatSession.h"
#include "ChatTestKit.h"
#include "IrcMessage.h"

#include <gtest/gtest.h>

#include <random>

using chattest::FakeClient;
using chattest::FakeMain;

namespace {

// Registers a session as the chat server and the keeper would: welcome
// under the neutral nick, then the keeper's rename to the identity.
void Register(ChatSession& session, const std::string& identity) {
    session.Begin(identity, "0123456789abcdef0123456789abcdef", 30000);
    const std::string neutral = session.Nick();
    session.HandleLine(":srv 001 " + neutral + " :Welcome");
    session.HandleLine(":" + neutral + "!" + identity + "@h NICK :" + identity);
}

struct Harness {
    Harness() : main("7", "Ann Lee"), session(&main, sink), sent(sink.sent), privateChat("O8", false), room("#O7.Room", true) {
        session.AddClient(&privateChat);
        session.AddClient(&room);
        Register(session, "O7");
        sent.clear();
    }

    void CheckSent() {
        for (const std::string& line : sent) {
            ASSERT_LE(line.size(), IrcMessage::MaxOutLine);
            ASSERT_EQ(line.find_first_of(std::string("\r\n\0", 3)), std::string::npos) << line;
        }
        sent.clear();
    }

    FakeMain main;
    chattest::RecordingSink sink;
    ChatSession session;
    std::vector<std::string>& sent;
    FakeClient privateChat;
    FakeClient room;
};

const char* const kSeeds[] = {
    ":O8!~orv@h PRIVMSG O7 :4hello",
    ":O8!~orv@h PRIVMSG O7 :\x01ORVINVITE Bob\x01",
    ":O8!~orv@h PRIVMSG O7 :\x01ORVTYPING 1\x01",
    ":O8!~orv@h NOTICE O7 :\x01ORVUSER 5 Bob|bob@x\x01",
    ":O7!~orv@h JOIN #O7.Room",
    ":srv 332 O7 #O7.Room :ORV1|Room|desc|hi",
    ":srv 353 O7 = #O7.Room :@O7 O8 +R9",
    ":srv 366 O7 #O7.Room :End",
    ":O8!~orv@h PRIVMSG #O7.Room :\x01ORVUSER 3 Bob|\x01",
    ":O8!~orv@h NICK R8",
    ":R8!~orv@h PART #O7.Room",
    ":O9!~orv@h QUIT :gone",
    ":srv 322 O7 #O1.A 3 :ORV1|A|b|c",
    ":srv 323 O7 :End",
    ":srv 401 O7 O8 :No such nick",
    ":O7!~orv@h TOPIC #O7.Room :ORV1-DELETED",
    ":O7!~orv@h MODE #O7.Room -P",
    ":srv 482 O7 #O7.Room :not op",
    ":ChatKeeper!keeper@k NOTICE O7 :CREATED #O7.Room",
    ":ChatKeeper!keeper@k NOTICE O7 :REFUSED DELETE #O7.Room not-creator",
    ":srv 303 O7 :O8 R9",
    ":srv 401 O7 ChatKeeper :No such nick",
    ":O7!~orv@h KICK #O7.Room O7 :bye",
    "PING :abc",
};

}  // namespace

TEST(ChatSessionFuzz, HostileLinesAreHarmless) {
    Harness h;
    const std::string longName(5000, 'N');
    const std::vector<std::string> hostile = {
        ":", "::", ": :", ":x", " ", ":O8!", "!@", "PRIVMSG", "PRIVMSG O7", ":O8!a@b PRIVMSG",
        ":O8!a@b PRIVMSG O7 :", ":O8!a@b PRIVMSG O7 :\x01", ":O8!a@b PRIVMSG O7 :\x01\x01",
        ":O8!a@b PRIVMSG O7 :\x01ORVTYPING\x01", ":O8!a@b PRIVMSG O7 :\x01ORVTYPING 99999999999\x01",
        ":O8!a@b NOTICE O7 :\x01ORVUSER\x01", ":O8!a@b NOTICE O7 :\x01ORVUSER x\x01",
        ":O8!a@b NOTICE O7 :\x01ORVUSER 1 " + longName + "\x01",
        ":srv 353 O7 = #nowhere :" + longName, ":srv 353", ":srv 366", ":srv 322 O7 #O1.A", ":srv 322",
        ":srv 322 O7 #O1.A 99999999999999999999 :ORV1|a|b|c", ":srv 323", ":srv 323", ":srv 001",
        ":" + longName + "!x@y NICK " + longName, ":O8!a@b NICK :", ":O8!a@b JOIN :", ":O8!a@b JOIN #" + longName,
        ":O8!a@b TOPIC", ":srv 332 O7", ":O8!a@b MODE", ":O8!a@b MODE #x -", ":srv 401", ":srv 482",
        ":O8!a@b KICK", ":srv 433 O7 O7 :in use", "ERROR", std::string(IrcMessage::MaxLine + 10, 'x'),
    };
    for (const std::string& line : hostile) h.session.HandleLine(line);
    h.CheckSent();
    // Still works: a message from the partner reaches his window.
    h.session.HandleLine(":O8!~orv@h PRIVMSG O7 :2still here");
    ASSERT_FALSE(h.privateChat.messages.empty());
    EXPECT_EQ(h.privateChat.messages.back().text, "2still here");
}

TEST(ChatSessionFuzz, RandomLinesNeverBreakTheEngine) {
    std::mt19937 random(20261207u);
    static const char kAlphabet[] = ":!@# \x01|\\.0123456789ORorv-PRIVMSGNOTICEJOINPART\r\n\t\xff";
    const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
    Harness h;
    for (int round = 0; round < 60000; ++round) {
        std::string line = kSeeds[random() % (sizeof kSeeds / sizeof *kSeeds)];
        const int edits = static_cast<int>(random() % 6);
        for (int e = 0; e < edits; ++e) {
            const size_t at = line.empty() ? 0 : random() % line.size();
            switch (random() % 4) {
            case 0:
                line.insert(at, 1, alphabet[random() % alphabet.size()]);
                break;
            case 1:
                if (!line.empty()) line.erase(at, 1 + random() % 8);
                break;
            case 2:
                if (!line.empty()) line[at] = static_cast<char>(random() % 256);
                break;
            default:
                line.insert(at, std::string(random() % 700, alphabet[random() % alphabet.size()]));
            }
        }
        h.session.HandleLine(line);
        if (round % 50 == 0) {
            // The program keeps calling in between.
            h.session.SendText("O8", line.c_str(), false, '3');
            h.session.Notify(ORVCHAT_NOTIFY_TYPING, line.c_str(), 1);
            h.session.Command(ORVCHAT_CMD_JOIN_ROOM, &h.room, line.c_str());
        }
        if (round % 1000 == 0) h.CheckSent();
    }
    h.CheckSent();
    for (const auto& channel : h.session.Rooms()) EXPECT_EQ(channel[0], '#');
    EXPECT_EQ(h.session.SendText("O8", "ok", false, '1'), h.session.IsRegistered() ? 0 : 1);
}

TEST(ChatSessionInput, CallersCannotSmuggleCommandsOrBreakLines) {
    Harness h;
    h.sent.clear();
    EXPECT_NE(h.session.SendText("O8 :x\r\nQUIT", "hi", false, '1'), 0);
    EXPECT_NE(h.session.Notify(ORVCHAT_NOTIFY_INVITE, "O8\nKILL", reinterpret_cast<INT_PTR>("A")), 0);
    EXPECT_NE(h.session.Command(ORVCHAT_CMD_JOIN_ROOM, &h.room, "#a,#b"), 0);
    EXPECT_NE(h.session.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "R7 x"), 0);
    EXPECT_NE(h.session.Notify(ORVCHAT_NOTIFY_TYPING, "O8", 5), 0);
    EXPECT_TRUE(h.sent.empty());

    // A name with line breaks and bars travels escaped, in one line.
    ASSERT_EQ(h.session.Notify(ORVCHAT_NOTIFY_INVITE, "O8", reinterpret_cast<INT_PTR>("Ann\r\nQUIT |x")), 0);
    ASSERT_EQ(h.sent.size(), 1u);
    EXPECT_EQ(h.sent[0].find("QUIT |"), std::string::npos);
    h.CheckSent();

    // A colour that is not a character becomes code "0".
    ASSERT_EQ(h.session.SendText("O8", "text", false, '\x01'), 0);
    ASSERT_EQ(h.sent.size(), 1u);
    EXPECT_EQ(h.sent[0], "PRIVMSG O8 :0text");
}

TEST(ChatSessionInput, RefusedIdentityIsTriedUnderTheOtherForm) {
    Harness h;
    FakeClient window("O9", false);
    h.session.AddClient(&window);
    h.sent.clear();
    ASSERT_EQ(h.session.SendText("O9", "delivered", false, '1'), 0);
    ASSERT_EQ(h.session.Notify(ORVCHAT_NOTIFY_INVITE, "O9", reinterpret_cast<INT_PTR>("Ann")), 0);
    // Only the invitation failed (the server answers nothing for the line
    // that arrived); the marker tells when everything to O9 was handled.
    h.session.HandleLine(":srv 401 O7 O9 :No such nick");
    ASSERT_EQ(h.sent.size(), 3u);
    EXPECT_EQ(h.sent[2], "PING :orvretry-O9");
    // Lines written meanwhile go to the other form at once.
    h.session.SendText("O9", "x", false, '1');
    EXPECT_EQ(h.sent.back(), "PRIVMSG R9 :1x");
    h.session.HandleLine(":srv PONG srv :orvretry-O9");
    // Only the failed one goes again: no line arrives twice.
    EXPECT_EQ(h.sent.back().substr(0, 22), "PRIVMSG R9 :\x01ORVINVITE");
    int resent = 0;
    for (const auto& line : h.sent) resent += line.find("delivered") != std::string::npos;
    EXPECT_EQ(resent, 1);
    EXPECT_EQ(window.Count(ORVCHAT_EVENT_AWAY), 0);
    // Neither form is there: the invitation counts as not answered (away).
    h.session.HandleLine(":srv 401 O7 R9 :No such nick");
    h.session.HandleLine(":srv 401 O7 R9 :No such nick");
    h.session.HandleLine(":srv PONG srv :orvretry-R9");
    EXPECT_EQ(window.Count(ORVCHAT_EVENT_AWAY), 1);
}

TEST(ChatSessionInput, ClientsRemovedDuringCallbacksAreNotCalledAgain) {
    // A window that removes itself (and its neighbour) when told the chat closed.
    struct SelfRemoving : FakeClient {
        SelfRemoving(ChatSession& s, const char* target) : FakeClient(target, false), session(s) {}
        void OnChatClosed(int reason) override {
            FakeClient::OnChatClosed(reason);
            session.RemoveClient(this);
            if (other) session.RemoveClient(other);
        }
        ChatSession& session;
        IIRCChatClient* other = nullptr;
    };
    Harness h;
    SelfRemoving first(h.session, "O20"), second(h.session, "O21");
    first.other = &second;
    h.session.AddClient(&first);
    h.session.AddClient(&second);
    h.session.End(true);
    EXPECT_EQ(first.closed.size(), 1u);
    EXPECT_TRUE(second.closed.empty());
    EXPECT_EQ(h.main.Count(ORVCHAT_MAIN_CONNECTION_LOST), 1);
    EXPECT_FALSE(h.session.IsRegistered());
}

TEST(ChatSessionInput, SessionEndedInsideARoomEventStopsTheDelivery) {
    // A room window whose event handler ends everything (as a message box
    // pumping a lost connection would).
    struct Ending : FakeClient {
        Ending(ChatSession& s, const char* target) : FakeClient(target, true), session(s) {}
        void OnChatEvent(int code, INT_PTR p1, INT_PTR p2) override {
            FakeClient::OnChatEvent(code, p1, p2);
            if (code == ORVCHAT_EVENT_USER_ARRIVED) session.End(true);
        }
        ChatSession& session;
    };
    FakeMain main("7", "Ann");
    chattest::RecordingSink sink;
    ChatSession session(&main, sink);
    Register(session, "O7");
    Ending first(session, "#O1.A");
    FakeClient second("#O1.B", true);
    session.AddClient(&first);
    session.AddClient(&second);
    for (const char* channel : {"#O1.A", "#O1.B"}) {
        session.HandleLine(std::string(":O7!~orv@h JOIN ") + channel);
        session.HandleLine(std::string(":srv 332 O7 ") + channel + " :ORV1|r|d|w");
        session.HandleLine(std::string(":srv 353 O7 = ") + channel + " :O7 O8");
        session.HandleLine(std::string(":srv 366 O7 ") + channel + " :End");
    }
    ASSERT_EQ(session.Rooms().size(), 2u);
    session.HandleLine(":O8!~orv@h NICK R8");
    EXPECT_EQ(first.Count(ORVCHAT_EVENT_USER_ARRIVED), 1);
    EXPECT_EQ(second.Count(ORVCHAT_EVENT_USER_ARRIVED), 0);
    EXPECT_TRUE(session.Rooms().empty());
    EXPECT_EQ(second.closed.size(), 1u);
}
