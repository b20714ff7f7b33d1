#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "OrvStore.h"
#include "TestDir.h"

using namespace orv;

namespace {

OrvPerson profile(const std::string& first, const std::string& last, const std::string& email,
                  const std::string& occupation = "") {
    OrvPerson p;
    p.firstName = first;
    p.lastName = last;
    p.email = email;
    p.occupation = occupation;
    return p;
}

class StoreTest : public ::testing::Test {
protected:
    TestDir dir;
    OrvStore store{dir.path() + "/orvane.db"};
    std::vector<uint32_t> changed;

    uint32_t member(const std::string& first, const std::string& email,
                    const std::vector<OrvContactItem>& list = {}, const std::string& occupation = "") {
        return store.createMember(profile(first, "Test", email, occupation), "hash", 1, list, changed);
    }
};

}  // namespace

TEST_F(StoreTest, UsesWriteAheadLogging) {
    // The journal file of WAL mode exists beside the database while it is open.
    member("Dana", "dana@example.com");
    EXPECT_TRUE(std::filesystem::exists(dir.path() + "/orvane.db-wal"));
}

TEST_F(StoreTest, MemberWithContactsCreatesNonMembers) {
    uint32_t dana = member("Dana", "dana@example.com",
                           {{"Omer", "Cohen", "omer@example.com"}, {"Maya", "", "maya@example.net"}});
    ASSERT_NE(dana, 0u);
    auto list = store.contactsOf(dana);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].firstName, "Omer");
    auto omer = store.personById(list[0].person);
    ASSERT_TRUE(omer);
    EXPECT_FALSE(omer->isMember);
    EXPECT_EQ(omer->email, "omer@example.com");
    EXPECT_EQ(store.listerCount(omer->id), 1u);
    // Every node whose neighbours changed is reported.
    EXPECT_NE(std::find(changed.begin(), changed.end(), omer->id), changed.end());
    EXPECT_NE(std::find(changed.begin(), changed.end(), dana), changed.end());
}

TEST_F(StoreTest, ListedPersonWhoSignsUpKeepsHisId) {
    uint32_t dana = member("Dana", "dana@example.com", {{"Omer", "C", "omer@example.com"}});
    uint32_t omerBefore = store.contactsOf(dana)[0].person;
    uint32_t omer = member("Omer", "omer@example.com");
    EXPECT_EQ(omer, omerBefore);
    EXPECT_TRUE(store.personById(omer)->isMember);
    EXPECT_EQ(member("Again", "omer@example.com"), 0u);  // a second sign-up is refused
}

TEST_F(StoreTest, ContactChangesRespectTheLimitAndRefuseSelf) {
    uint32_t dana = member("Dana", "dana@example.com");
    std::vector<OrvContactItem> many;
    for (int i = 0; i < 1000; ++i) many.push_back({"A", "B", "p" + std::to_string(i) + "@example.com"});
    EXPECT_EQ(store.changeContacts(dana, {}, many, changed), OrvListChange::Ok);
    EXPECT_EQ(store.contactsOf(dana).size(), 1000u);
    // Already listed addresses do not count again; a new one is one too many.
    EXPECT_EQ(store.changeContacts(dana, {}, {many[0]}, changed), OrvListChange::Ok);
    EXPECT_EQ(store.changeContacts(dana, {}, {{"X", "Y", "new@example.com"}}, changed), OrvListChange::TooMany);
    EXPECT_FALSE(store.personByEmail("new@example.com"));  // rolled back
    EXPECT_EQ(store.changeContacts(dana, {}, {{"Me", "", "dana@example.com"}}, changed), OrvListChange::Self);
}

TEST_F(StoreTest, DroppingForgetsUnlistedNonMembersAndKeepsOrder) {
    uint32_t dana = member("Dana", "dana@example.com",
                           {{"A", "", "a@example.com"}, {"B", "", "b@example.com"}, {"C", "", "c@example.com"}});
    uint32_t omer = member("Omer", "omer@example.com", {{"B", "", "b@example.com"}});
    auto list = store.contactsOf(dana);
    uint32_t a = list[0].person, b = list[1].person;
    ASSERT_EQ(store.changeContacts(dana, {a, b, 999999}, {{"D", "", "d@example.com"}}, changed),
              OrvListChange::Ok);
    EXPECT_FALSE(store.personById(a));  // nobody lists a any more
    EXPECT_TRUE(store.personById(b));   // Omer still lists b
    auto after = store.contactsOf(dana);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].firstName, "C");
    EXPECT_EQ(after[1].firstName, "D");
    (void)omer;
}

TEST_F(StoreTest, RenamesOnlyTheOwnersListing) {
    uint32_t dana = member("Dana", "dana@example.com", {{"Bob", "", "b@example.com"}});
    uint32_t omer = member("Omer", "omer@example.com", {{"Robert", "", "b@example.com"}});
    uint32_t b = store.contactsOf(dana)[0].person;
    store.renameContacts(dana, {{b, "Bobby", "Brown"}, {12345, "Nobody", ""}});
    EXPECT_EQ(store.contactsOf(dana)[0].firstName, "Bobby");
    EXPECT_EQ(store.contactsOf(omer)[0].firstName, "Robert");
}

TEST_F(StoreTest, ChangedAddressMergesTheNonMemberWithIt) {
    uint32_t dana = member("Dana", "dana@example.com", {{"New", "", "new@example.com"}});
    uint32_t omer = member("Omer", "typo@example.com");
    uint32_t placeholder = store.contactsOf(dana)[0].person;
    store.changeEmail(omer, "new@example.com", "hash2", 5, changed);
    EXPECT_FALSE(store.personById(placeholder));
    EXPECT_EQ(store.contactsOf(dana)[0].person, omer);
    EXPECT_EQ(store.accountByEmail("new@example.com")->person.id, omer);
    EXPECT_EQ(store.accountByEmail("new@example.com")->passwordHash, "hash2");
    EXPECT_FALSE(store.accountByEmail("typo@example.com"));
}

TEST_F(StoreTest, DroppedMemberStaysAsNonMemberWhileListed) {
    uint32_t dana = member("Dana", "dana@example.com", {{"Om", "", "omer@example.com"}});
    uint32_t omer = member("Omer", "omer@example.com", {{"X", "", "x@example.com"}});
    uint32_t x = store.contactsOf(omer)[0].person;
    store.dropMember(omer, changed);
    auto p = store.personById(omer);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->isMember);
    EXPECT_FALSE(store.accountByEmail("omer@example.com"));
    EXPECT_FALSE(store.personById(x));  // only Omer listed x
    store.dropMember(dana, changed);
    EXPECT_FALSE(store.personById(dana));  // nobody lists Dana
    EXPECT_FALSE(store.personById(omer));  // nor Omer now
}

TEST_F(StoreTest, FullTextSearchByNameAddressAndFreeText) {
    uint32_t dana = store.createMember(profile("Dana", "Levi", "dana@example.com", "Nurse in Haifa"), "h", 1, {},
                                       changed);
    OrvPerson hidden = profile("Omer", "Cohen", "omer.secret@example.com", "Pilot");
    hidden.emailPrivate = true;
    uint32_t omer = store.createMember(hidden, "h", 1, {}, changed);
    uint32_t me = member("Me", "me@example.com");
    EXPECT_EQ(store.searchMembers({"dan"}, OrvSearchKind::All, me, 1000), std::vector<uint32_t>{dana});
    EXPECT_EQ(store.searchMembers({"nurse", "haifa"}, OrvSearchKind::All, me, 1000), std::vector<uint32_t>{dana});
    EXPECT_TRUE(store.searchMembers({"nurse"}, OrvSearchKind::Names, me, 1000).empty());
    EXPECT_EQ(store.searchMembers({"nurse"}, OrvSearchKind::FreeText, me, 1000), std::vector<uint32_t>{dana});
    // A private address is not found by its parts, only as a whole.
    EXPECT_TRUE(store.searchMembers({"secret"}, OrvSearchKind::All, me, 1000).empty());
    EXPECT_EQ(store.searchMembers({"OMER.SECRET@example.com"}, OrvSearchKind::All, me, 1000),
              std::vector<uint32_t>{omer});
    // The caller never finds himself; non-members are never found.
    EXPECT_TRUE(store.searchMembers({"me"}, OrvSearchKind::Names, me, 1000).empty());
    store.changeContacts(me, {}, {{"Zed", "", "zed@example.com"}}, changed);
    EXPECT_TRUE(store.searchMembers({"zed"}, OrvSearchKind::All, 0, 1000).empty());
    // A profile change is searchable at once.
    store.updateProfile(dana, "Dana", "Levi", "Pilot", false);
    auto pilots = store.searchMembers({"pilot"}, OrvSearchKind::All, me, 1000);
    EXPECT_EQ(pilots.size(), 2u);
}

TEST_F(StoreTest, SearchIsCapped) {
    for (int i = 0; i < 30; ++i) member("Same", "s" + std::to_string(i) + "@example.com");
    EXPECT_EQ(store.searchMembers({"same"}, OrvSearchKind::All, 0, 25).size(), 25u);
}

TEST_F(StoreTest, AcquaintancesAreMembersEitherWay) {
    uint32_t dana = member("Dana", "dana@example.com", {{"O", "", "omer@example.com"}, {"N", "", "n@example.com"}});
    uint32_t omer = member("Omer", "omer@example.com");
    uint32_t maya = member("Maya", "maya@example.com", {{"D", "", "dana@example.com"}});
    auto a = store.acquaintances(dana, 1000);
    EXPECT_EQ(a, (std::vector<uint32_t>{omer, maya}));
}

TEST_F(StoreTest, NeighboursAreBothDirections) {
    uint32_t dana = member("Dana", "dana@example.com", {{"O", "", "omer@example.com"}});
    uint32_t maya = member("Maya", "maya@example.com", {{"D", "", "dana@example.com"}});
    auto n = store.neighbours(dana);
    std::sort(n.begin(), n.end());
    EXPECT_EQ(n.size(), 2u);
    EXPECT_TRUE(std::binary_search(n.begin(), n.end(), maya));
}

TEST_F(StoreTest, SurvivesReopening) {
    uint32_t dana = member("Dana", "dana@example.com", {{"O", "", "omer@example.com"}});
    store.setMeta("demo", "1");
    OrvStore again(dir.path() + "/orvane.db");
    EXPECT_EQ(again.contactsOf(dana).size(), 1u);
    EXPECT_EQ(again.meta("demo"), "1");
}

TEST_F(StoreTest, QuotesInDataAreJustData) {
    // Names cannot hold quotes, but the store must not care: parameters are bound.
    OrvPerson p = profile("O'Neil", "Drop; table", "quote@example.com", "\"x\" OR 1=1 --");
    ASSERT_NE(store.createMember(p, "h", 1, {}, changed), 0u);
    EXPECT_EQ(store.accountByEmail("quote@example.com")->person.lastName, "Drop; table");
}

TEST_F(StoreTest, ReadersReadTheCommittedStateWhileAWriteTransactionIsOpen) {
    uint32_t dana = member("Dana", "dana@example.com");
    std::mutex m;
    std::condition_variable cv;
    bool readerDone = false, sawDana = false, sawOmer = true;
    std::thread reader;
    store.transaction([&] {
        member("Omer", "omer@example.com");
        // The writer sees its own change.
        EXPECT_TRUE(store.personByEmail("omer@example.com"));
        reader = std::thread([&] {
            bool dana_ = store.personById(dana).has_value();
            bool omer_ = store.personByEmail("omer@example.com").has_value();
            std::lock_guard lock(m);
            sawDana = dana_;
            sawOmer = omer_;
            readerDone = true;
            cv.notify_all();
        });
        // The reader must finish while this transaction is still open; a
        // store that serialises readers behind the writer never lets it.
        std::unique_lock lock(m);
        EXPECT_TRUE(cv.wait_for(lock, std::chrono::seconds(30), [&] { return readerDone; }))
            << "a reader waited for the write transaction";
    });
    reader.join();
    EXPECT_TRUE(sawDana);
    EXPECT_FALSE(sawOmer);  // not committed while it read
    EXPECT_TRUE(store.personByEmail("omer@example.com"));
    EXPECT_GE(store.readerConnections(), 1u);
}

TEST_F(StoreTest, PendingPasswordOnlyOverTheStateThatWasRead) {
    uint32_t dana = member("Dana", "dana@example.com");
    auto before = store.accountById(dana);
    ASSERT_TRUE(before);
    EXPECT_TRUE(store.setPendingPassword(dana, "first", 100, before->passwordMailedAt));
    // A second request that read the same old state lost the race.
    EXPECT_FALSE(store.setPendingPassword(dana, "second", 100, before->passwordMailedAt));
    EXPECT_EQ(store.accountById(dana)->pendingHash, "first");
    // Only the pending password that was checked becomes the password.
    store.usePendingPassword(dana, "other");
    EXPECT_EQ(store.accountById(dana)->passwordHash, "hash");
    store.usePendingPassword(dana, "first");
    EXPECT_EQ(store.accountById(dana)->passwordHash, "first");
    EXPECT_EQ(store.accountById(dana)->pendingHash, "");
}
