#include "OrvContactArray.h"
#include "OrvContactInfo.h"
#include "OrvMessages.h"

#include <gtest/gtest.h>

namespace {

ORVCONTACTINFO Person(const char* id, int member, const char* first, const char* last,
                      const char* email) {
    ORVCONTACTINFO c;
    c.id = id;
    c.isMember = member;
    c.firstName = first;
    c.lastName = last;
    c.email = email;
    return c;
}

}  // namespace

TEST(ContactRecord, CopyingCopiesEveryField) {
    ORVCONTACTINFO a = Person("O1", 1, "Anna", "Berg", "anna@x.se");
    a.nodeRank = 5;
    a.occupation = "Pilot";
    a.emailPrivate = 1;
    a.chatHidden = 1;
    a.chatPresence = "O1";
    a.canChat = 1;
    ORVCONTACTINFO b = a;
    a.firstName.SetAt(0, 'E');
    a.occupation += "!";
    EXPECT_STREQ(b.firstName, "Anna");
    EXPECT_STREQ(b.occupation, "Pilot");
    EXPECT_EQ(b.nodeRank, 5);
    EXPECT_EQ(b.emailPrivate, 1);
    EXPECT_EQ(b.chatHidden, 1);
    EXPECT_STREQ(b.chatPresence, "O1");
    EXPECT_EQ(b.canChat, 1);
}

TEST(ContactRecord, DisplayNameNeverHasStrayBlanks) {
    EXPECT_STREQ(OrvDisplayName(Person("1", 1, "Anna", "Berg", "")), "Anna Berg");
    EXPECT_STREQ(OrvDisplayName(Person("1", 1, "", "Berg", "")), "Berg");
    EXPECT_STREQ(OrvDisplayName(Person("1", 1, "Anna", "", "")), "Anna");
    EXPECT_STREQ(OrvDisplayName(Person("1", 1, "", "", "")), "");
}

TEST(ContactRecord, NormalisationDecidesChatAndPrivacy) {
    // A non-member arriving with chat allowed and a visible address.
    ORVCONTACTINFO outsider = Person("X9", 0, "Eva", "Lund", "eva@x.se");
    outsider.canChat = 1;
    outsider.chatPresence = "O9";
    OrvNormaliseContact(outsider, false);
    EXPECT_EQ(outsider.canChat, 0);
    EXPECT_EQ(outsider.emailPrivate, 1);

    ORVCONTACTINFO absent = Person("O2", 1, "Bo", "Ek", "bo@x.se");
    absent.canChat = 1;
    OrvNormaliseContact(absent, false);  // empty presence, not hidden
    EXPECT_EQ(absent.canChat, 0);
    EXPECT_EQ(absent.emailPrivate, 0);

    ORVCONTACTINFO hidden = Person("O3", 1, "Cy", "Ek", "cy@x.se");
    hidden.chatPresence = "O3";
    hidden.chatHidden = 1;
    OrvNormaliseContact(hidden, false);
    EXPECT_EQ(hidden.canChat, 0);

    ORVCONTACTINFO online = Person("O4", 1, "Di", "Ek", "di@x.se");
    online.chatPresence = "O4";
    OrvNormaliseContact(online, false);
    EXPECT_EQ(online.canChat, 1);
}

TEST(ContactRecord, LineBreaksInOccupationOnlyForSearchResults) {
    ORVCONTACTINFO c = Person("O1", 1, "A", "B", "a@b.c");
    c.occupation = "Chief\r\nengineer\n";
    ORVCONTACTINFO tree = c;
    OrvNormaliseContact(c, true);
    EXPECT_STREQ(c.occupation, "Chief  engineer ");
    OrvNormaliseContact(tree, false);
    EXPECT_STREQ(tree.occupation, "Chief\r\nengineer\n");
}

TEST(ContactRecord, TreeRecordsNeedEmailFirstNameAndId) {
    EXPECT_TRUE(OrvIsAcceptableTreeRecord(Person("O1", 1, "A", "", "a@b.c")));
    EXPECT_FALSE(OrvIsAcceptableTreeRecord(Person("O1", 1, "", "Berg", "a@b.c")));
    EXPECT_FALSE(OrvIsAcceptableTreeRecord(Person("", 1, "A", "B", "a@b.c")));
    EXPECT_FALSE(OrvIsAcceptableTreeRecord(Person("O1", 1, "A", "B", "")));
}

TEST(ContactRecord, OwnRecordFromTheSession) {
    const ORVCONTACTINFO own =
        OrvMakeOwnRecord("O42", true, "Kim", "Ström", "kim@x.se", "Teacher", true);
    EXPECT_STREQ(own.id, "O42");
    EXPECT_EQ(own.isMember, 1);
    EXPECT_EQ(own.nodeRank, 0);
    EXPECT_EQ(own.emailPrivate, 1);
    EXPECT_EQ(own.chatHidden, 0);
    EXPECT_TRUE(own.chatPresence.IsEmpty());
    EXPECT_EQ(own.canChat, 1);
    EXPECT_STREQ(own.occupation, "Teacher");
    EXPECT_EQ(OrvMakeOwnRecord("O42", false, "", "", "", "", false).isMember, 0);
}

TEST(ContactArrays, CountIsStoredAheadOfTheRecords) {
    ORVCONTACTINFO source[3] = {Person("O1", 1, "A", "", "a@x"), Person("O2", 1, "B", "", "b@x"),
                                Person("O3", 0, "C", "", "c@x")};
    OrvContactArray copy(source, 3);
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_EQ(OrvContactArray::CountOf(copy.Get()), 3);
    source[1].firstName = "changed";
    EXPECT_STREQ(copy[1].firstName, "B");

    OrvContactArray moved(std::move(copy));
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_EQ(copy.Get(), nullptr);
    EXPECT_STREQ(moved[2].id, "O3");
    moved = OrvContactArray(1000);  // the member's own contact table
    EXPECT_EQ(moved.Count(), 1000);
    EXPECT_TRUE(moved[999].id.IsEmpty());
    EXPECT_EQ(OrvContactArray(-4).Count(), 0);
    EXPECT_EQ(OrvContactArray(nullptr, 0).Count(), 0);
}

TEST(WindowMessages, PrivateNumbersAndRegisteredNames) {
    EXPECT_EQ(ORV_WM_TREE_SKIN, 0x8010u);
    EXPECT_EQ(ORV_WM_TREE_DATA, 0x803Cu);
    EXPECT_EQ(ORV_WM_QUERY_DROP, 0x8DADu);
    EXPECT_EQ(ORV_WM_DIALOG_RESULT, 3024u);
    // Registered names give one number per name within a session, and
    // distinct names give distinct numbers.
    const UINT tray = RegisterWindowMessageA(ORV_MSGNAME_TRAY);
    EXPECT_GE(tray, 0xC000u);
    EXPECT_EQ(tray, RegisterWindowMessageA("$$ORVANE$$TRAYMESSAGE$$"));
    EXPECT_NE(tray, RegisterWindowMessageA(ORV_MSGNAME_RESTORE_WINDOW));
}
