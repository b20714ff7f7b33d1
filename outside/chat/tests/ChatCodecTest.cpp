#include "ChatCodec.h"
#include "IRCChat.h"
#include "IrcMessage.h"
#include "OrvChatRoom.h"

#include <gtest/gtest.h>

TEST(IrcMessage, ParsesPrefixCommandAndTrailing) {
    IrcMessage m;
    ASSERT_TRUE(IrcMessage::Parse(":O12!~orv@127.0.0.1 privmsg  #O1.Room :4hello :) there", m));
    EXPECT_EQ(m.nick, "O12");
    EXPECT_EQ(m.command, "PRIVMSG");
    ASSERT_EQ(m.params.size(), 2u);
    EXPECT_EQ(m.params[0], "#O1.Room");
    EXPECT_EQ(m.params[1], "4hello :) there");
    EXPECT_EQ(m.Param(7), "");

    EXPECT_FALSE(IrcMessage::Parse("", m));
    EXPECT_FALSE(IrcMessage::Parse(":prefixonly", m));
    EXPECT_FALSE(IrcMessage::Parse(":a   ", m));
    EXPECT_FALSE(IrcMessage::Parse(std::string("PRIVMSG a :b\0c", 14), m));
    EXPECT_FALSE(IrcMessage::Parse(std::string(IrcMessage::MaxLine + 1, 'x'), m));
}

TEST(IrcMessage, KeepsAtMostFifteenParameters) {
    std::string line = "CMD";
    for (int i = 0; i < 40; ++i) line += " p" + std::to_string(i);
    IrcMessage m;
    ASSERT_TRUE(IrcMessage::Parse(line, m));
    ASSERT_EQ(m.params.size(), IrcMessage::MaxParams);
    EXPECT_EQ(m.params.back().substr(0, 4), "p14 ");
}

TEST(ChatCodec, EscapedFieldsSurviveAnyBytesAndHostileInput) {
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    const std::string escaped = ChatCodec::Escape(all);
    EXPECT_EQ(escaped.find_first_of("|\r\n\x01"), std::string::npos);
    EXPECT_EQ(ChatCodec::Unescape(escaped), all);
    // Broken escapes come back as written, a NUL never appears.
    EXPECT_EQ(ChatCodec::Unescape("a\\"), "a\\");
    EXPECT_EQ(ChatCodec::Unescape("\\q\\x4"), "\\q\\x4");
    EXPECT_EQ(ChatCodec::Unescape("x\\x00y"), "xy");
}

TEST(ChatCodec, TopicCarriesTheRoomRecord) {
    ChatCodec::RoomTopic in{"Our room", "Talk | about\r\nthings", "Welcome \\ here"};
    ChatCodec::RoomTopic out;
    ASSERT_TRUE(ChatCodec::DecodeTopic(ChatCodec::EncodeTopic(in), out));
    EXPECT_EQ(out.displayName, in.displayName);
    EXPECT_EQ(out.description, in.description);
    EXPECT_EQ(out.welcome, in.welcome);
    EXPECT_FALSE(ChatCodec::DecodeTopic("some channel's topic", out));
    EXPECT_FALSE(ChatCodec::DecodeTopic("ORV1|a|b", out));
    EXPECT_FALSE(ChatCodec::DecodeTopic("ORV1|a|b|c|d", out));
    EXPECT_FALSE(ChatCodec::DecodeTopic(ChatCodec::DeletedTopic, out));
}

TEST(ChatCodec, SplitPiecesFitAndGiveTheTextBack) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "word" + std::to_string(i) + (i % 7 ? " " : "");
    for (size_t budget : {1u, 7u, 50u, 333u, 5000u}) {
        const auto pieces = ChatCodec::Split(text, budget);
        std::string joined;
        for (const auto& piece : pieces) {
            EXPECT_LE(piece.size(), budget);
            EXPECT_FALSE(piece.empty());
            joined += piece;
        }
        EXPECT_EQ(joined, text) << budget;
    }
    const auto lines = ChatCodec::SplitLines(std::string("one\r\ntwo\n\nthr\0ee\rQUIT :x", 24));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "three");
    EXPECT_EQ(lines[3], "QUIT :x");
}

TEST(ChatCodec, CtcpRoundTripAndRejection) {
    std::string tag, args;
    ASSERT_TRUE(ChatCodec::ParseCtcp(ChatCodec::MakeCtcp("ORVINVITE", "Ann Lee"), tag, args));
    EXPECT_EQ(tag, "ORVINVITE");
    EXPECT_EQ(args, "Ann Lee");
    ASSERT_TRUE(ChatCodec::ParseCtcp("\x01ORVEND", tag, args));  // unterminated
    EXPECT_EQ(tag, "ORVEND");
    EXPECT_FALSE(ChatCodec::ParseCtcp("\x01", tag, args));
    EXPECT_FALSE(ChatCodec::ParseCtcp("\x01\x01", tag, args));
    EXPECT_FALSE(ChatCodec::ParseCtcp("plain", tag, args));
}

TEST(ChatIdentity, MemberFormsAreOnePersonRoomsCompareWhole) {
    EXPECT_TRUE(IsEqualID("O123", "R123"));
    EXPECT_TRUE(IsEqualID("o123", "R123"));
    EXPECT_TRUE(IsEqualID("#O1.Room", "#o1.ROOM"));
    EXPECT_FALSE(IsEqualID("O123", "O124"));
    EXPECT_FALSE(IsEqualID("#O1.Room", "#R1.Room"));
    EXPECT_FALSE(IsEqualID("O", "R"));
    EXPECT_FALSE(IsEqualID(nullptr, "O1"));
}

TEST(OrvChatRoomTest, IdentityFormAndFilter) {
    EXPECT_EQ(OrvChatRoom::MakeIdentity("O7", "Big room 2"), "#O7.Big_room_2");
    EXPECT_EQ(OrvChatRoom::CreatorOf("#R7.Big_room"), "R7");
    EXPECT_EQ(OrvChatRoom::CreatorOf("#general"), "");
    for (const char* bad : {"#general", "#O7.", "#X7.Room", "#O.Room", "O7.Room", "#O7.Ro-om", "#O7.a b", ""})
        EXPECT_FALSE(OrvChatRoom::IsRoomIdentity(bad)) << bad;

    OrvChatRoom room;
    room.identity = "#O7.Big_room";
    room.displayName = "Big room";
    room.description = "Hiking in the Alps";
    EXPECT_TRUE(room.IsValidRoom(""));
    EXPECT_TRUE(room.IsValidRoom("  "));
    EXPECT_TRUE(room.IsValidRoom("big_ROOM"));
    EXPECT_TRUE(room.IsValidRoom("alps"));
    EXPECT_FALSE(room.IsValidRoom("sailing"));
    room.identity = "#lobby";
    EXPECT_FALSE(room.IsValidRoom(""));
}
