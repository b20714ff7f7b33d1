#include <gtest/gtest.h>

#include "OrvValidation.h"

using namespace orv;

TEST(EmailRule, AcceptsAndRefusesAsTheDialogsDo) {
    EXPECT_TRUE(isValidEmailRule("dana@example.com"));
    EXPECT_TRUE(isValidEmailRule("a.b@mail.co"));
    // One character between the at sign and the last full stop.
    EXPECT_FALSE(isValidEmailRule("dana@e.com"));
    // Last part of one or four characters.
    EXPECT_FALSE(isValidEmailRule("dana@example.c"));
    EXPECT_FALSE(isValidEmailRule("dana@example.info"));
    // Starting or ending with a full stop or at sign.
    EXPECT_FALSE(isValidEmailRule(".dana@example.com"));
    EXPECT_FALSE(isValidEmailRule("dana@example.com."));
    EXPECT_FALSE(isValidEmailRule("@example.com"));
    EXPECT_FALSE(isValidEmailRule("dana@example.com@"));
    // No full stop at all.
    EXPECT_FALSE(isValidEmailRule("dana@example"));
    // Forbidden characters, blanks, and more than 40 characters.
    EXPECT_FALSE(isValidEmailRule("da;na@example.com"));
    EXPECT_FALSE(isValidEmailRule("da na@example.com"));
    EXPECT_FALSE(isValidEmailRule("da(na)@example.com"));
    std::string at40 = std::string(28, 'x') + "@example.com";  // 40
    EXPECT_EQ(at40.size(), 40u);
    EXPECT_TRUE(isValidEmailRule(at40));
    EXPECT_FALSE(isValidEmailRule("y" + at40));
}

TEST(EmailRule, ContactsNeedNoAtSignButMembersNeedExactlyOne) {
    EXPECT_TRUE(isValidEmailRule("dana.example.com"));
    EXPECT_FALSE(isValidMemberEmail("dana.example.com"));
    EXPECT_FALSE(isValidMemberEmail("a@b@example.com"));
    EXPECT_TRUE(isValidMemberEmail("dana@example.com"));
}

TEST(EmailRule, ContactListsAlsoTakeImportedAddresses) {
    EXPECT_TRUE(isValidContactEmail("dana@company.info"));  // four-letter domain from an address book
    EXPECT_TRUE(isValidContactEmail("dana.example.com"));   // what the dialogs accept
    EXPECT_FALSE(isValidContactEmail("@company.info"));
    EXPECT_FALSE(isValidContactEmail("dana@"));
    EXPECT_FALSE(isValidContactEmail("da;na@company.info"));
    EXPECT_FALSE(isValidContactEmail("dana company"));
    EXPECT_FALSE(isValidContactEmail(std::string(30, 'x') + "@company.info"));  // 43 characters
    std::vector<OrvContactItem> items;
    EXPECT_TRUE(parseAddList("Dana,Levi,dana@company.info", items));
}

TEST(Names, FifteenCharactersCountedAsCharacters) {
    EXPECT_TRUE(isValidName(std::string(15, 'a'), false));
    EXPECT_FALSE(isValidName(std::string(16, 'a'), false));
    // Fifteen two-byte characters are fifteen characters, not thirty.
    std::string umlauts;
    for (int i = 0; i < 15; ++i) umlauts += "\xC3\xA4";
    EXPECT_TRUE(isValidName(umlauts, false));
    EXPECT_FALSE(isValidName(umlauts + "\xC3\xA4", false));
    EXPECT_FALSE(isValidName("", false));
    EXPECT_TRUE(isValidName("", true));
    EXPECT_FALSE(isValidName("Dan!", false));
    EXPECT_FALSE(isValidName("Dan\x01", false));
    EXPECT_FALSE(isValidName("\xC3", false));  // broken UTF-8
    EXPECT_TRUE(isValidName("van der Berg", false));
}

TEST(Occupation, LineBreaksDoNotCountTowardsTheLimit) {
    std::string text(250, 'a');
    EXPECT_TRUE(isValidOccupation(text));
    EXPECT_FALSE(isValidOccupation(text + "b"));
    std::string wrapped = text;
    for (size_t pos = 40; pos < wrapped.size(); pos += 42) wrapped.insert(pos, "\r\n");
    EXPECT_TRUE(isValidOccupation(wrapped));
    EXPECT_FALSE(isValidOccupation("bell\x07"));
}

TEST(AddList, ParsesItemsAndRefusesBadOnes) {
    std::vector<OrvContactItem> items;
    ASSERT_TRUE(parseAddList("Dana,Levi,Dana@Example.com;Omer,,omer@example.net;", items));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].firstName, "Dana");
    EXPECT_EQ(items[0].email, "dana@example.com");  // stored in lower case
    EXPECT_EQ(items[1].lastName, "");
    EXPECT_TRUE(parseAddList("", items));
    EXPECT_TRUE(items.empty());
    EXPECT_FALSE(parseAddList("Dana,Levi", items));                          // two fields
    EXPECT_FALSE(parseAddList("Dana,Levi,dana@example.com,x", items));       // four fields
    EXPECT_FALSE(parseAddList("Dana,Levi,not-an-address", items));
    EXPECT_FALSE(parseAddList(std::string(16, 'a') + ",Levi,dana@example.com", items));
    EXPECT_FALSE(parseAddList("Dana,Levi," + std::string(30, 'x') + "@example.com", items));
    std::string many;
    for (int i = 0; i < 1001; ++i) many += "A,B,a" + std::to_string(i) + "@example.com;";
    EXPECT_FALSE(parseAddList(many, items));
}

TEST(DropAndRenameLists, Parse) {
    std::vector<uint32_t> ids;
    ASSERT_TRUE(parseDropList("12,7,4000000000", ids));
    EXPECT_EQ(ids, (std::vector<uint32_t>{12, 7, 4000000000u}));
    EXPECT_FALSE(parseDropList("12,,7", ids));
    EXPECT_FALSE(parseDropList("12,x", ids));
    EXPECT_FALSE(parseDropList("99999999999", ids));
    // Well formed ids that nobody can have name nobody (0), they are not bad input.
    ASSERT_TRUE(parseDropList("0,4294967295,9999999999,4294967294", ids));
    EXPECT_EQ(ids, (std::vector<uint32_t>{0, 0, 0, 4294967294u}));
    std::vector<OrvNameUpdate> updates;
    ASSERT_TRUE(parseNameUpdateList("5, Dana ,Levi;6,Omer,", updates));
    ASSERT_EQ(updates.size(), 2u);
    EXPECT_EQ(updates[0].firstName, "Dana");
    EXPECT_EQ(updates[1].id, 6u);
    EXPECT_FALSE(parseNameUpdateList("5,Dana", updates));
    EXPECT_FALSE(parseNameUpdateList("x,Dana,Levi", updates));
}

TEST(Query, LengthsSeparatorsAndForbiddenCharacters) {
    std::vector<std::string> words;
    EXPECT_FALSE(parseQuery("ab", words));
    EXPECT_TRUE(parseQuery("abc", words));
    EXPECT_FALSE(parseQuery("   ", words));
    EXPECT_TRUE(parseQuery(std::string(250, 'a'), words));
    EXPECT_FALSE(parseQuery(std::string(251, 'a'), words));
    ASSERT_TRUE(parseQuery("dana;levi nurse", words));
    EXPECT_EQ(words, (std::vector<std::string>{"dana", "levi", "nurse"}));
    for (const char* c = kForbiddenChars; *c; ++c) {
        if (*c == ';') continue;
        EXPECT_FALSE(parseQuery(std::string("abc") + *c + "def", words)) << *c;
    }
    EXPECT_TRUE(parseQuery("dana@example.com", words));
}

TEST(Versions, CompareNumerically) {
    EXPECT_TRUE(isValidVersion("1.10.2"));
    EXPECT_FALSE(isValidVersion("1..2"));
    EXPECT_FALSE(isValidVersion("1.2."));
    EXPECT_FALSE(isValidVersion("v1"));
    EXPECT_LT(compareVersions("1.9", "1.10"), 0);
    EXPECT_EQ(compareVersions("1.2", "1.2.0"), 0);
    EXPECT_GT(compareVersions("2", "1.99.99"), 0);
    EXPECT_EQ(compareVersions("1.02", "1.2"), 0);
    // Numbers beyond 64 bits stay large instead of wrapping around.
    EXPECT_GT(compareVersions("18446744073709551617.0", "2.0.0"), 0);
    EXPECT_GT(compareVersions("1.99999999999999999999999999999", "1.3"), 0);
    EXPECT_LT(compareVersions("4294967296", "4294967297"), 0);
    EXPECT_EQ(compareVersions("00000000000000000000000000000007", "7"), 0);
}

TEST(Status, Codes) {
    int s = -1;
    EXPECT_TRUE(parseStatus("2", s));
    EXPECT_EQ(s, 2);
    EXPECT_FALSE(parseStatus("3", s));
    EXPECT_FALSE(parseStatus("", s));
    EXPECT_TRUE(isValidNickname("O1042"));
    EXPECT_FALSE(isValidNickname("O 1042"));
}
