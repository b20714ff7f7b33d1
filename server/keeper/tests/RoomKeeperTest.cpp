// The keeper's protocol state driven line by line, as the chat server's
// link delivers them: identities, requests, rooms, and lines no honest
// server sends.
#include "ChatNames.h"
#include "IrcLine.h"
#include "RoomKeeper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using keeper::ChatNames;
using keeper::IrcLine;
using keeper::RoomKeeper;

namespace {

const char kRecord[] = "ORV1|Hiking|Walks and hills|Welcome";

struct Harness {
    Harness() : keeper(RoomKeeper::Settings{}, [this](const std::string& line) { sent.push_back(line); }) {
        keeper.OnLinked();
        sent.clear();
    }
    void Feed(const std::string& text) {
        IrcLine line;
        ASSERT_TRUE(IrcLine::Parse(text, line)) << text;
        keeper.HandleLine(line);
    }
    // A user the chat server authenticated with this user name.
    void Arrive(const std::string& nick, const std::string& user) {
        Feed(":chat.orvane.local NICK " + nick + " 1 " + user + " 127.0.0.1 1 +r :Orvane chat");
    }
    void Ask(const std::string& nick, const std::string& text) { Feed(":" + nick + " PRIVMSG ChatKeeper :" + text); }
    bool Sent(const std::string& line) const { return std::find(sent.begin(), sent.end(), line) != sent.end(); }
    std::string Take() {
        std::string all;
        for (const auto& line : sent) all += line + "\n";
        sent.clear();
        return all;
    }

    std::vector<std::string> sent;
    RoomKeeper keeper;
};

}  // namespace

TEST(RoomKeeper, AuthenticatedUsersGetTheirIdentityOthersNothing) {
    Harness h;
    h.Arrive("G1", "O77");
    EXPECT_TRUE(h.Sent(":keeper.orvane.local SVSNICK G1 O77"));
    h.Arrive("G2", "R78");
    EXPECT_TRUE(h.Sent(":keeper.orvane.local SVSNICK G2 R78"));
    h.sent.clear();
    // Not authenticated ("~"), or a user name that is no identity: no name.
    h.Arrive("G3", "~O79");
    h.Arrive("G4", "guest");
    h.Arrive("G5", "O");
    h.Arrive("G6", "X80");
    EXPECT_TRUE(h.sent.empty()) << h.Take();
    // An identity nick without a matching credential is put out.
    h.Arrive("O81", "~O81");
    EXPECT_TRUE(h.Sent(":keeper.orvane.local KILL O81 :Identity without credential"));
    h.Arrive("O82", "O83");
    EXPECT_TRUE(h.Sent(":keeper.orvane.local KILL O82 :Identity of another member"));
}

TEST(RoomKeeper, SecondConnectionOfAMemberWaitsThenIsRefusedWhileTheFirstStays) {
    Harness h;
    const auto start = RoomKeeper::Clock::now();
    h.keeper.Tick(start);
    h.Arrive("G1", "O77");
    h.Feed(":G1 NICK :O77");
    h.sent.clear();
    // The other form of the same member counts too; the newcomer waits.
    h.Arrive("G2", "R77");
    EXPECT_TRUE(h.sent.empty()) << h.Take();
    h.keeper.Tick(start + std::chrono::seconds(9));
    EXPECT_TRUE(h.sent.empty()) << h.Take();
    h.keeper.Tick(start + std::chrono::seconds(11));
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE G2 :REFUSED IDENTITY R77 in-use"));
    EXPECT_TRUE(h.Sent(":keeper.orvane.local KILL G2 :Chat identity in use"));
    EXPECT_EQ(h.keeper.CurrentNick("O77"), "O77");
    EXPECT_EQ(h.keeper.CurrentNick("G2"), "");
}

TEST(RoomKeeper, AQuickReconnectionGetsTheIdentityWhenTheOldConnectionGoes) {
    Harness h;
    h.Arrive("G1", "O77");
    h.Feed(":G1 NICK :O77");
    h.Arrive("G2", "O77");
    h.Arrive("G3", "O77");
    h.sent.clear();
    h.Feed(":O77 QUIT :Connection reset");
    // The first that waited gets it; the second keeps waiting.
    EXPECT_EQ(h.sent, std::vector<std::string>{":keeper.orvane.local SVSNICK G2 O77"});
    h.sent.clear();
    h.Feed(":G3 QUIT :gave up");
    h.keeper.Tick(RoomKeeper::Clock::now() + std::chrono::seconds(60));
    EXPECT_TRUE(h.sent.empty()) << h.Take();
}

TEST(RoomKeeper, IdentityChangesOnlyBetweenTheMembersOwnForms) {
    Harness h;
    h.Arrive("G1", "O77");
    h.Arrive("G2", "O78");
    h.Feed(":G1 NICK :O77");
    h.Feed(":G2 NICK :O78");
    h.sent.clear();
    h.Ask("O77", "IDENTITY R77");
    EXPECT_TRUE(h.Sent(":keeper.orvane.local SVSNICK O77 R77"));
    h.Feed(":O77 NICK :R77");
    h.sent.clear();
    // Someone else's identity, a third form, garbage: refused, nobody renamed.
    h.Ask("O78", "IDENTITY R77");
    h.Ask("O78", "IDENTITY O77");
    h.Ask("O78", "IDENTITY X78");
    h.Ask("O78", "IDENTITY");
    for (const auto& line : h.sent) EXPECT_EQ(line.find("SVSNICK"), std::string::npos) << line;
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE O78 :REFUSED IDENTITY R77 not-yours"));
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE O78 :REFUSED IDENTITY - not-yours"));
    // Asking for the identity one has changes nothing.
    h.sent.clear();
    h.Ask("O78", "IDENTITY O78");
    EXPECT_TRUE(h.sent.empty());
}

TEST(RoomKeeper, AwayAndBackBeforeTheFirstEchoEndsUnderTheLastAskedIdentity) {
    Harness h;
    h.Arrive("G1", "O77");
    h.Feed(":G1 NICK :O77");
    h.sent.clear();
    // Both requests left before the chat server carried out the first rename:
    // the second still carries the old nick as its prefix.
    h.Ask("O77", "IDENTITY R77");
    h.Ask("O77", "IDENTITY O77");
    ASSERT_EQ(h.sent.size(), 2u) << h.Take();
    EXPECT_EQ(h.sent[0], ":keeper.orvane.local SVSNICK O77 R77");
    EXPECT_EQ(h.sent[1], ":keeper.orvane.local SVSNICK R77 O77");
    h.Feed(":O77 NICK :R77");
    h.Feed(":R77 NICK :O77");
    EXPECT_EQ(h.keeper.CurrentNick("O77"), "O77");
    // Lines of the old nick after the echoes still find him.
    h.Feed(":O77 QUIT :gone");
    EXPECT_EQ(h.keeper.ClientCount(), 0u);
}

TEST(RoomKeeper, RoomsOnlyForTheirCreator) {
    Harness h;
    h.Arrive("G1", "O77");
    h.Arrive("G2", "R78");
    h.sent.clear();
    h.Ask("O77", std::string("CREATE #O77.Hiking ") + kRecord);
    EXPECT_TRUE(h.Sent(std::string(":keeper.orvane.local CHANINFO #O77.Hiking +Pnt :") + kRecord));
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE O77 :CREATED #O77.Hiking"));
    // The away form is the same member.
    h.Ask("O77", std::string("CREATE #R77.Walks ") + kRecord);
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE O77 :CREATED #R77.Walks"));
    h.sent.clear();

    // Another member: no creating in his name, no changing, no deleting.
    h.Ask("R78", std::string("CREATE #O77.Other ") + kRecord);
    h.Ask("R78", std::string("CHANGE #O77.Hiking ") + kRecord);
    h.Ask("R78", "DELETE #O77.Hiking");
    h.Ask("R78", "DELETE #o77.hiking");
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE R78 :REFUSED CREATE #O77.Other not-creator"));
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE R78 :REFUSED CHANGE #O77.Hiking not-creator"));
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE R78 :REFUSED DELETE #O77.Hiking not-creator"));
    for (const auto& line : h.sent) EXPECT_NE(line.rfind(":keeper.orvane.local", 0), 0u) << line;

    // Twice the same room, a bad record, a bad name.
    h.sent.clear();
    h.Ask("O77", std::string("CREATE #O77.HIKING ") + kRecord);
    h.Ask("O77", "CREATE #O77.Lake ORV1|a|b");
    h.Ask("O77", "CREATE #O77.Lake ORV1|a|b|c|d");
    h.Ask("O77", "CREATE #O77.Lake ORV1|a|b\x01|c");
    h.Ask("O77", std::string("CREATE #O77.Lake-side ") + kRecord);
    h.Ask("O77", std::string("CREATE #O77 ") + kRecord);
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE O77 :REFUSED CREATE #O77.HIKING exists"));
    int refused = 0;
    for (const auto& line : h.sent) refused += line.find("REFUSED CREATE") != std::string::npos;
    EXPECT_EQ(refused, 6) << h.Take();

    // The creator changes it.
    h.sent.clear();
    h.Ask("O77", "CHANGE #o77.hiking ORV1|Hiking|Lakes too|Hello");
    EXPECT_TRUE(h.Sent(":keeper.orvane.local TOPIC #O77.Hiking :ORV1|Hiking|Lakes too|Hello"));
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE O77 :CHANGED #O77.Hiking"));
    const auto rooms = h.keeper.Rooms();
    ASSERT_EQ(rooms.size(), 2u);
}

TEST(RoomKeeper, DeletingPutsEveryoneOutAndDropsTheChannel) {
    Harness h;
    h.Arrive("G1", "O77");
    h.Arrive("G2", "O78");
    h.Arrive("G3", "O79");
    h.Feed(":G1 NICK :O77");
    h.Feed(":G2 NICK :O78");
    h.Feed(":G3 NICK :O79");
    h.Ask("O77", std::string("CREATE #O77.Hiking ") + kRecord);
    h.Feed(":O78 JOIN #O77.Hiking");
    h.Feed(":O79 JOIN #O77.Hiking\ao");
    h.Feed(":O79 PART #O77.Hiking :bye");
    h.sent.clear();
    h.Ask("O77", "DELETE #O77.Hiking");
    const std::vector<std::string> expected = {
        ":keeper.orvane.local TOPIC #O77.Hiking :ORV1-DELETED",
        ":keeper.orvane.local KICK #O77.Hiking O78 :Room deleted",
        ":keeper.orvane.local MODE #O77.Hiking -P",
        ":ChatKeeper JOIN #O77.Hiking",
        ":ChatKeeper PART #O77.Hiking",
        ":ChatKeeper NOTICE O77 :DELETED #O77.Hiking",
    };
    EXPECT_EQ(h.sent, expected);
    EXPECT_TRUE(h.keeper.Rooms().empty());
    h.sent.clear();
    h.Ask("O77", "DELETE #O77.Hiking");
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE O77 :REFUSED DELETE #O77.Hiking no-room"));
    // And it can be made again.
    h.Ask("O77", std::string("CREATE #O77.Hiking ") + kRecord);
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE O77 :CREATED #O77.Hiking"));
}

TEST(RoomKeeper, RoomCountsAreBounded) {
    RoomKeeper::Settings settings;
    settings.maxRoomsPerMember = 3;
    settings.maxRooms = 5;
    std::vector<std::string> sent;
    RoomKeeper keeper(settings, [&](const std::string& line) { sent.push_back(line); });
    keeper.OnLinked();
    auto feed = [&](const std::string& text) {
        IrcLine line;
        ASSERT_TRUE(IrcLine::Parse(text, line));
        keeper.HandleLine(line);
    };
    feed(":chat.orvane.local NICK G1 1 O1 h 1 +r :x");
    feed(":chat.orvane.local NICK G2 1 O2 h 1 +r :x");
    for (int i = 0; i < 4; ++i) feed(":O1 PRIVMSG ChatKeeper :CREATE #O1.R" + std::to_string(i) + " " + kRecord);
    for (int i = 0; i < 4; ++i) feed(":O2 PRIVMSG ChatKeeper :CREATE #O2.R" + std::to_string(i) + " " + kRecord);
    EXPECT_EQ(keeper.Rooms().size(), 5u);
    EXPECT_NE(std::find(sent.begin(), sent.end(), ":ChatKeeper NOTICE O1 :REFUSED CREATE #O1.R3 too-many"), sent.end());
    EXPECT_NE(std::find(sent.begin(), sent.end(), ":ChatKeeper NOTICE O2 :REFUSED CREATE #O2.R2 too-many"), sent.end());
}

TEST(RoomKeeper, BurstIsLearnedAndLostRoomsAreMadeAgain) {
    Harness h;
    // Rooms remembered from the state file: one the chat server still has,
    // one it lost when it restarted.
    h.keeper.OnUnlinked();
    h.keeper.AdoptRooms({{"#O1.Kept", kRecord}, {"#O1.Lost", kRecord}, {"#bad", kRecord}, {"#O1.Bad", "no record"}});
    h.keeper.OnLinked();
    h.sent.clear();
    h.Feed(":chat.orvane.local NICK O1 1 O1 127.0.0.1 1 +r :x");
    h.Feed(":chat.orvane.local NICK R2 1 R2 127.0.0.1 1 +r :x");
    h.Feed(":chat.orvane.local NICK G3 1 O3 127.0.0.1 1 +r :x");
    h.Feed(std::string(":chat.orvane.local CHANINFO #O1.Kept +Pnt :") + kRecord);
    h.Feed(std::string(":chat.orvane.local CHANINFO #O2.Other +Pntl * 5 :") + kRecord);
    h.Feed(":chat.orvane.local CHANINFO #O2.Gone +nt :ORV1-DELETED");
    h.Feed(":chat.orvane.local NJOIN #O1.Kept :@O1,+R2");
    // Users named before the link keep their names; the waiting one gets his.
    EXPECT_TRUE(h.Sent(":keeper.orvane.local SVSNICK G3 O3"));
    EXPECT_EQ(h.sent.size(), 1u) << h.Take();
    h.sent.clear();
    h.keeper.OnBurstDone();
    EXPECT_EQ(h.sent, std::vector<std::string>{std::string(":keeper.orvane.local CHANINFO #O1.Lost +Pnt :") + kRecord});
    auto rooms = h.keeper.Rooms();
    ASSERT_EQ(rooms.size(), 3u);
    // Members learned from NJOIN are put out when the room goes.
    h.sent.clear();
    h.Ask("O1", "DELETE #O1.Kept");
    EXPECT_TRUE(h.Sent(":keeper.orvane.local KICK #O1.Kept O1 :Room deleted"));
    EXPECT_TRUE(h.Sent(":keeper.orvane.local KICK #O1.Kept R2 :Room deleted"));
}

TEST(RoomKeeper, UnidentifiedUsersMayNotAsk) {
    Harness h;
    h.Arrive("G1", "~O77");
    h.sent.clear();
    h.Ask("G1", std::string("CREATE #O77.Hiking ") + kRecord);
    h.Ask("G1", "IDENTITY O77");
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE G1 :REFUSED CREATE #O77.Hiking not-identified"));
    EXPECT_TRUE(h.Sent(":ChatKeeper NOTICE G1 :REFUSED IDENTITY O77 not-identified"));
    EXPECT_EQ(h.sent.size(), 2u);
    // Unknown senders (a line the keeper cannot place) get nothing at all.
    h.sent.clear();
    h.Ask("Nobody", "IDENTITY O1");
    EXPECT_TRUE(h.sent.empty());
}

TEST(RoomKeeper, HostileLinesNeverProduceMoreThanOneLineEach) {
    Harness h;
    h.Arrive("G1", "O77");
    h.Feed(":G1 NICK :O77");
    const std::string longWord(3000, 'x');
    const std::vector<std::string> hostile = {
        "NICK", "NICK :", ":x NICK", ":chat.orvane.local NICK a 1", ":chat.orvane.local NICK " + longWord + " 1 O9 h 1 + :x",
        "QUIT", ":nobody QUIT", "KILL", "JOIN", ":O77 JOIN", ":O77 JOIN ,,,", ":O77 JOIN #" + longWord,
        ":O77 PART", ":O77 KICK", "NJOIN", "NJOIN #a", "NJOIN #a :,,@,+", "CHANINFO", "CHANINFO #a",
        "CHANINFO #a +kl", "MODE", "MODE #a", "MODE #a +-+-P", "TOPIC", "TOPIC #nowhere :x",
        ":O77 PRIVMSG ChatKeeper", ":O77 PRIVMSG ChatKeeper :", ":O77 PRIVMSG ChatKeeper : ",
        ":O77 PRIVMSG ChatKeeper :CREATE", ":O77 PRIVMSG ChatKeeper :CREATE " + longWord,
        ":O77 PRIVMSG ChatKeeper :DELETE #O77.x\x01\x02", ":O77 PRIVMSG ChatKeeper :" + longWord,
        ":O77 PRIVMSG chatkeeper :IDENTITY R77 extra words",
    };
    for (const std::string& text : hostile) {
        IrcLine line;
        if (!IrcLine::Parse(text, line)) continue;
        h.sent.clear();
        h.keeper.HandleLine(line);
        ASSERT_LE(h.sent.size(), 1u) << text;
        for (const auto& out : h.sent) {
            EXPECT_LE(out.size(), IrcLine::MaxOutLine);
            EXPECT_EQ(out.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
        }
    }
    // Random lines from a fixed seed: nothing crashes, output stays lines.
    std::mt19937 random(7);
    const std::string alphabet = "#:!@ ,.\x07OR0123456789abcNICKJOINPARTQUITCHANINFOPRIVMSG";
    for (int i = 0; i < 20000; ++i) {
        std::string text = i % 3 ? ":O77 " : ":chat.orvane.local ";
        const int length = static_cast<int>(random() % 60);
        for (int k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
        IrcLine line;
        if (!IrcLine::Parse(text, line)) continue;
        h.keeper.HandleLine(line);
    }
    for (const auto& out : h.sent) {
        ASSERT_LE(out.size(), IrcLine::MaxOutLine);
        ASSERT_EQ(out.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
    }
}

TEST(ChatNames, IdentitiesChannelsAndRecords) {
    EXPECT_TRUE(ChatNames::IsIdentity("O1"));
    EXPECT_TRUE(ChatNames::IsIdentity("R123456789012345678"));
    EXPECT_FALSE(ChatNames::IsIdentity("R1234567890123456789"));  // the chat server would cut it
    EXPECT_FALSE(ChatNames::IsIdentity("o1"));
    EXPECT_FALSE(ChatNames::IsIdentity("O"));
    EXPECT_FALSE(ChatNames::IsIdentity("O1 2"));
    EXPECT_FALSE(ChatNames::IsIdentity("O1.2"));
    std::string creator;
    EXPECT_TRUE(ChatNames::IsRoomChannel("#O1.Room_1", &creator));
    EXPECT_EQ(creator, "O1");
    EXPECT_FALSE(ChatNames::IsRoomChannel("#O1.Room-1"));
    EXPECT_FALSE(ChatNames::IsRoomChannel("#O1."));
    EXPECT_FALSE(ChatNames::IsRoomChannel("#X1.Room"));
    EXPECT_FALSE(ChatNames::IsRoomChannel("#O1.Room.x"));
    EXPECT_FALSE(ChatNames::IsRoomChannel("#O1." + std::string(21, 'a')));
    EXPECT_TRUE(ChatNames::IsRoomRecord("ORV1|||"));
    EXPECT_FALSE(ChatNames::IsRoomRecord("ORV1||"));
    EXPECT_FALSE(ChatNames::IsRoomRecord("ORV1-DELETED"));
    EXPECT_FALSE(ChatNames::IsRoomRecord("ORV1|" + std::string(490, 'a') + "||"));
}

TEST(IrcLine, ParsesPrefixCommandAndParameters) {
    IrcLine line;
    ASSERT_TRUE(IrcLine::Parse(":a!b@c privmsg  #x :hello there", line));
    EXPECT_EQ(line.Source(), "a");
    EXPECT_EQ(line.command, "PRIVMSG");
    ASSERT_EQ(line.params.size(), 2u);
    EXPECT_EQ(line.params[1], "hello there");
    EXPECT_FALSE(IrcLine::Parse("", line));
    EXPECT_FALSE(IrcLine::Parse(":only", line));
    EXPECT_FALSE(IrcLine::Parse(std::string("PING a\0b", 8), line));
    EXPECT_FALSE(IrcLine::Parse(std::string(IrcLine::MaxLine + 1, 'A'), line));
    std::string many = "CMD";
    for (int i = 0; i < 30; ++i) many += " p" + std::to_string(i);
    ASSERT_TRUE(IrcLine::Parse(many, line));
    EXPECT_EQ(line.params.size(), static_cast<size_t>(IrcLine::MaxParams));
}
