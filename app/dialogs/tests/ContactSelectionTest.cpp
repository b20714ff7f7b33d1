// The two lists of the contact selection page without windows: filling,
// importing a client twice, the user's own address, manual contacts that
// survive imports, moving rows, the five-contact minimum, and the strings
// handed to the server.
#include "OrvContactSelection.h"

#include "OrvContactInfo.h"

#include <gtest/gtest.h>

#include <string>

namespace {
OrvCandidate Candidate(const char* name, const char* email, const char* source = "Outlook") {
    OrvCandidate candidate;
    candidate.name = name;
    candidate.email = email;
    candidate.source = source;
    return candidate;
}

std::vector<OrvCandidate> Outlook() {
    return {Candidate("Anna Smith", "anna@example.com"), Candidate("Bob Jones", "bob@example.com"),
            Candidate("Carl", "carl@example.com")};
}

std::string Emails(const std::vector<OrvCandidate>& list) {
    std::string text;
    for (const OrvCandidate& c : list) text += std::string(c.email.GetString()) + " ";
    return text;
}
}  // namespace

TEST(ContactSelection, FillSkipsSelectedAddressesWithoutRegardToCase) {
    OrvContactSelection selection;
    selection.AddManual("Anna", "ANNA@example.com");
    selection.Fill(Outlook());
    EXPECT_EQ(Emails(selection.GetNonSelected()), "bob@example.com carl@example.com ");
    EXPECT_EQ(Emails(selection.GetSelected()), "ANNA@example.com ");
}

TEST(ContactSelection, ImportingTheSameClientTwiceKeepsOneCopyAndCountsTheClient) {
    OrvContactSelection selection;
    std::vector<OrvCandidate> loaded = Outlook();
    loaded.push_back(Candidate("Dora", "dora@example.com", "Yahoo"));
    EXPECT_EQ(selection.Import(loaded, "Outlook"), 3);
    EXPECT_EQ(selection.Import(loaded, "Outlook"), 3);
    EXPECT_EQ(selection.GetNonSelected().size(), 4u);
    EXPECT_EQ(selection.Import(loaded, "Yahoo"), 1);
    EXPECT_EQ(selection.GetNonSelected().size(), 4u);
}

TEST(ContactSelection, ImportPutsNewCandidatesInFrontAndKeepsManualOnes) {
    OrvContactSelection selection;
    ASSERT_EQ(selection.AddManual("Hand Typed", "hand@example.com"), OrvContactSelection::kAdded);
    selection.Remove({0});  // a manual candidate now waits in the non-selected list
    selection.Import(Outlook(), "Outlook");
    EXPECT_EQ(Emails(selection.GetNonSelected()),
              "anna@example.com bob@example.com carl@example.com hand@example.com ");
    selection.Import({Candidate("Eve", "eve@example.com", "MSN")}, "MSN");
    EXPECT_EQ(Emails(selection.GetNonSelected()), "eve@example.com hand@example.com ")
        << "non-manual candidates are dropped, the manual one stays";
}

TEST(ContactSelection, ManualContactSurvivesALaterImport) {
    OrvContactSelection selection;
    selection.AddManual("Hand Typed", "hand@example.com");
    selection.Import({Candidate("Other Name", "HAND@example.com"), Candidate("Anna", "anna@example.com")}, "Outlook");
    ASSERT_EQ(selection.GetSelected().size(), 1u);
    EXPECT_EQ(std::string(selection.GetSelected()[0].source), "Manual");
    EXPECT_EQ(std::string(selection.GetSelected()[0].name), "Hand Typed");
    EXPECT_EQ(Emails(selection.GetNonSelected()), "anna@example.com ");
}

TEST(ContactSelection, OwnAddressIsRefusedAndStays) {
    OrvContactSelection selection;
    selection.SetOwnEmail("Me@Example.com");
    selection.Fill({Candidate("Me", "me@example.com"), Candidate("Anna", "anna@example.com")});
    EXPECT_EQ(selection.AddAll(), 1);
    EXPECT_EQ(Emails(selection.GetSelected()), "anna@example.com ");
    EXPECT_EQ(Emails(selection.GetNonSelected()), "me@example.com ");
    EXPECT_EQ(selection.AddManual("Me", "ME@EXAMPLE.COM"), OrvContactSelection::kIsOwnEmail);
}

TEST(ContactSelection, DuplicateManualContactIsRefused) {
    OrvContactSelection selection;
    EXPECT_EQ(selection.AddManual("Anna", "anna@example.com"), OrvContactSelection::kAdded);
    EXPECT_EQ(selection.AddManual("Anna Two", "Anna@Example.com"), OrvContactSelection::kAlreadySelected);
    EXPECT_EQ(selection.GetSelected().size(), 1u);
}

TEST(ContactSelection, AddedRowsGoToTheTopInTheirOrderAndRemovedOnesBack) {
    OrvContactSelection selection;
    selection.AddManual("Zed", "zed@example.com");
    selection.Fill(Outlook());
    selection.Add({2, 0, 2, 7, -1});
    EXPECT_EQ(Emails(selection.GetSelected()), "anna@example.com carl@example.com zed@example.com ");
    EXPECT_EQ(Emails(selection.GetNonSelected()), "bob@example.com ");
    selection.Remove({1});
    EXPECT_EQ(Emails(selection.GetNonSelected()), "carl@example.com bob@example.com ");
    selection.RemoveAll();
    EXPECT_TRUE(selection.GetSelected().empty());
    EXPECT_EQ(selection.GetNonSelected().size(), 4u);
}

TEST(ContactSelection, FiveContactsAreEnoughAndFourAreNot) {
    OrvContactSelection selection;
    for (int i = 0; i < 4; ++i) selection.AddManual("Person", ("p" + std::to_string(i) + "@example.com").c_str());
    EXPECT_FALSE(selection.HasEnoughContacts());
    selection.AddManual("Person", "p4@example.com");
    EXPECT_TRUE(selection.HasEnoughContacts());
}

TEST(ContactSelection, ContactsStringCutsNamesAndAddress) {
    OrvContactSelection selection;
    const std::string longAddress = std::string(45, 'm') + "@example.com";
    selection.AddManual("Abcdefghijklmnopqr Stuvwxyzabcdefghij", longAddress.c_str());
    selection.AddManual("Anna", "anna@example.com");
    EXPECT_EQ(std::string(selection.GetContactsString()),
              "Anna,,anna@example.com;Abcdefghijklmno,Stuvwxyzabcdefg," + longAddress.substr(0, 40));
}

TEST(ContactSelection, NamesFromAddressBooksCannotBreakTheContactsString) {
    OrvContactSelection selection;
    selection.Fill({Candidate("Smith, John; \"Jr\"", "john@example.com")});
    selection.AddAll();
    EXPECT_EQ(std::string(selection.GetContactsString()), "Smith,John Jr,john@example.com");
}

TEST(ContactSelection, AddRemoveStringsAreBuiltAgainstTheCurrentContacts) {
    ORVCONTACTINFO current[3];
    const char* ids[] = {"11", "12", "13"};
    const char* emails[] = {"a@example.com", "b@example.com", "c@example.com"};
    for (int i = 0; i < 3; ++i) {
        current[i].id = ids[i];
        current[i].firstName = "First";
        current[i].lastName = "Last";
        current[i].email = emails[i];
    }
    OrvContactSelection selection;
    selection.SetCurrentContacts(current, 3);
    EXPECT_EQ(selection.GetSelected().size(), 3u);
    EXPECT_EQ(std::string(selection.GetNewContactsString()), "");
    EXPECT_EQ(std::string(selection.GetRemovedIdsString()), "");
    selection.Remove({0, 2});
    selection.AddManual("New Person", "new@example.com");
    EXPECT_EQ(std::string(selection.GetNewContactsString()), "New,Person,new@example.com");
    EXPECT_EQ(std::string(selection.GetRemovedIdsString()), "11,13");
    selection.Fill({Candidate("Again", "A@EXAMPLE.COM")});
    EXPECT_EQ(selection.GetNonSelected().size(), 2u) << "a removed current contact is not offered twice";
}
