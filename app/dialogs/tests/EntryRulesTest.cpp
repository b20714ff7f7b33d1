// The entry rules of the sign-up and contact dialogs, without windows: the
// address rule and its edges, forbidden characters, the name split, the
// free-text wrapping, and which message each dialog's check gives first.
#include "OrvEntryRules.h"

#include "DialogIds.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string Text(const CString& text) { return std::string(text.GetString()); }
std::string Message(const OrvEntryProblem& problem) { return problem.text ? problem.text : ""; }
}  // namespace

TEST(EmailRule, AcceptsOrdinaryAddresses) {
    EXPECT_TRUE(OrvEntryRules::IsValidEmail("anna@example.com"));
    EXPECT_TRUE(OrvEntryRules::IsValidEmail("a.b-c_d@mail.example.co.uk"));
    EXPECT_TRUE(OrvEntryRules::IsValidEmail("x@ab.de"));
}

TEST(EmailRule, RefusesOneCharacterBetweenAtSignAndLastStop) {
    EXPECT_FALSE(OrvEntryRules::IsValidEmail("anna@e.com"));
    EXPECT_TRUE(OrvEntryRules::IsValidEmail("anna@ex.com"));
}

TEST(EmailRule, LastPartMustHaveTwoOrThreeCharacters) {
    EXPECT_FALSE(OrvEntryRules::IsValidEmail("anna@example.c"));
    EXPECT_TRUE(OrvEntryRules::IsValidEmail("anna@example.co"));
    EXPECT_TRUE(OrvEntryRules::IsValidEmail("anna@example.com"));
    EXPECT_FALSE(OrvEntryRules::IsValidEmail("anna@example.info"));
}

TEST(EmailRule, RefusesStopOrAtSignAtEitherEnd) {
    EXPECT_FALSE(OrvEntryRules::IsValidEmail(".anna@example.com"));
    EXPECT_FALSE(OrvEntryRules::IsValidEmail("anna@example.com."));
    EXPECT_FALSE(OrvEntryRules::IsValidEmail("@anna.example.com"));
    EXPECT_FALSE(OrvEntryRules::IsValidEmail("anna.example.com@"));
    EXPECT_FALSE(OrvEntryRules::IsValidEmail(""));
    EXPECT_FALSE(OrvEntryRules::IsValidEmail(nullptr));
}

TEST(EmailRule, AddressWithoutAtSignPassesWhenTheStopIsFarEnough) {
    // No at sign counts as position -1: a stop at 2 or later is enough.
    EXPECT_TRUE(OrvEntryRules::IsValidEmail("abc.de"));
    EXPECT_TRUE(OrvEntryRules::IsValidEmail("ab.com"));
    EXPECT_FALSE(OrvEntryRules::IsValidEmail("a.com"));
    EXPECT_FALSE(OrvEntryRules::IsValidEmail("abcdef"));
}

TEST(EmailRule, StopOnlyBeforeTheAtSignFails) {
    EXPECT_FALSE(OrvEntryRules::IsValidEmail("anna.b@examplecom"));
}

TEST(EmailRule, EveryForbiddenCharacterIsRefused) {
    const std::string forbidden = "\",';[]\\|{}:/<>~!#$%^&()=+";
    EXPECT_EQ(forbidden, OrvEntryRules::kForbiddenCharacters);
    for (char c : forbidden) {
        const std::string address = std::string("an") + c + "na@example.com";
        EXPECT_FALSE(OrvEntryRules::IsValidEmail(address.c_str())) << address;
        EXPECT_TRUE(OrvEntryRules::HasForbiddenCharacter(address.c_str())) << address;
    }
    EXPECT_FALSE(OrvEntryRules::HasForbiddenCharacter("Anna-Maria O.Smith_2 @*?"));
}

TEST(NameSplit, SplitsAtTheFirstBlank) {
    CString first, last;
    OrvEntryRules::SplitName("Anna Maria Smith", &first, &last);
    EXPECT_EQ(Text(first), "Anna");
    EXPECT_EQ(Text(last), "Maria Smith");
    OrvEntryRules::SplitName("Anna", &first, &last);
    EXPECT_EQ(Text(first), "Anna");
    EXPECT_EQ(Text(last), "");
    OrvEntryRules::SplitName("", &first, &last);
    EXPECT_EQ(Text(first), "");
    EXPECT_EQ(Text(last), "");
}

TEST(FreeText, LineEndsAndDoubleBlanksBecomeOneBlank) {
    EXPECT_EQ(Text(OrvEntryRules::ReformatFreeText("a\r\nb\n\nc    d")), "a b c d");
    EXPECT_EQ(Text(OrvEntryRules::ReformatFreeText("short text")), "short text");
}

TEST(FreeText, BreaksAfterTheFirstBlankNearEveryFortiethCharacter) {
    // 46 characters: one break; the first blank from position 30 on is at 32.
    const CString text = "aaaaaaaaaa bbbbbbbbbb cccccccccc dd eeeeeeeeee";
    const std::string wrapped = Text(OrvEntryRules::ReformatFreeText(text));
    EXPECT_EQ(wrapped, "aaaaaaaaaa bbbbbbbbbb cccccccccc \r\ndd eeeeeeeeee");
}

TEST(FreeText, WithoutBlankTheBreakIsAtTheFortiethCharacterAndNothingIsLost) {
    const std::string word(90, 'x');
    const std::string wrapped = Text(OrvEntryRules::ReformatFreeText(word.c_str()));
    // The positions count in the text as it grows with each break.
    EXPECT_EQ(wrapped, std::string(41, 'x') + "\r\n" + std::string(38, 'x') + "\r\n" + std::string(11, 'x'));
    std::string joined = wrapped;
    for (size_t at; (at = joined.find("\r\n")) != std::string::npos;) joined.erase(at, 2);
    EXPECT_EQ(joined, word) << "wrapping must not drop or double a character";
}

TEST(FreeText, TwoHundredFiftyCharactersGiveEveryLineUnderFiftyCharacters) {
    std::string text;
    while (text.size() < 250) text += "word" + std::to_string(text.size() % 7) + " ";
    text.resize(250);
    const std::string wrapped = Text(OrvEntryRules::ReformatFreeText(text.c_str()));
    size_t start = 0, lines = 0;
    for (size_t end; (end = wrapped.find("\r\n", start)) != std::string::npos; start = end + 2) {
        EXPECT_LE(end - start, 50u);
        ++lines;
    }
    EXPECT_GE(lines, 5u);
}

TEST(WizardEmailCheck, GivesTheFirstFailureInOrder) {
    EXPECT_EQ(Message(OrvEntryRules::CheckWizardEmail("")),
              "Please fill the e-mail correctly so that the\nOrvane log-in password can be sent to it.");
    const std::string longAddress = std::string(30, 'a') + "@example.com";  // 42 characters
    EXPECT_EQ(Message(OrvEntryRules::CheckWizardEmail(longAddress.c_str())), "Name shouldn't be more than 40 symbols.");
    EXPECT_EQ(Message(OrvEntryRules::CheckWizardEmail("anna@e.com")),
              "The e-mail entered was mistyped. \nPlease fill the e-mail correctly so that the \n"
              "Orvane log-in password can be sent to it.");
    const OrvEntryProblem bad = OrvEntryRules::CheckWizardEmail("x");
    EXPECT_STREQ(bad.caption, "Mistyped e-mail");
    EXPECT_EQ(bad.field, IDC_WIZARD_EMAIL);
    EXPECT_FALSE(OrvEntryRules::CheckWizardEmail("anna@example.com").IsProblem());
    const std::string forty = std::string(28, 'a') + "@example.com";  // exactly 40
    EXPECT_FALSE(OrvEntryRules::CheckWizardEmail(forty.c_str()).IsProblem());
}

TEST(WizardNameCheck, FifteenCharactersPassAndSixteenDoNot) {
    EXPECT_FALSE(OrvEntryRules::CheckWizardName("Abcdefghijklmno Pqrstuvwxyzabcd", "").IsProblem());
    EXPECT_EQ(Message(OrvEntryRules::CheckWizardName("Abcdefghijklmnop Smith", "")),
              "First Name shouldn't be more than 15 symbols.");
    EXPECT_EQ(Message(OrvEntryRules::CheckWizardName("Anna Abcdefghijklmnop", "")),
              "Last Name shouldn't be more than 15 symbols.");
}

TEST(WizardNameCheck, MessagesInOrder) {
    EXPECT_EQ(Message(OrvEntryRules::CheckWizardName("", "")),
              "Please enter your name or nickname that will represent you on your contact-tree.");
    EXPECT_EQ(Message(OrvEntryRules::CheckWizardName("Anna <Smith>", "")), "Invalid symbol(s) in name.");
    EXPECT_EQ(Message(OrvEntryRules::CheckWizardName("Anna", std::string(251, 'x').c_str())),
              "Free-text shouldn't be more than 250 symbols.");
    EXPECT_FALSE(OrvEntryRules::CheckWizardName("Anna", std::string(250, 'x').c_str()).IsProblem());
    EXPECT_STREQ(OrvEntryRules::CheckWizardName("", "").caption, "Orvane");
    EXPECT_EQ(OrvEntryRules::CheckWizardName("Anna", std::string(251, 'x').c_str()).field, IDC_FREE_TEXT);
}

TEST(ManualContactCheck, ChecksRunInTheirOrderWithTheirCaptions) {
    struct Case {
        const char* name;
        const char* email;
        const char* caption;
        int field;
        const char* text;
    } cases[] = {
        {"", "", "Orvane", IDC_MANUAL_NAME,
         "Please fill your contact's name and e-mail or \npress Cancel to return to the Contact-tree Wizard"},
        {"anna@example.com", "", "Orvane", IDC_MANUAL_NAME,
         "Please replace the e-mail address \nwith the name of your contact."},
        {"Anna (work)", "", "Mistyped name", IDC_MANUAL_NAME, "The name was mistyped. \nPlease enter it again."},
        {"Abcdefghijklmnop", "", "Mistyped First Name", IDC_MANUAL_NAME,
         "First Name shouldn't be more than 15 symbols."},
        {"Anna Abcdefghijklmnop", "", "Mistyped Last Name", IDC_MANUAL_NAME,
         "Last Name shouldn't be more than 15 symbols."},
        {"Anna", "", "Orvane", IDC_MANUAL_EMAIL,
         "Please fill your contact's name and e-mail or press Cancel to return to the Contact-tree Wizard"},
        {"Anna", "anna@e.com", "Mistyped e-mail", IDC_MANUAL_EMAIL,
         "The e-mail address was mistyped. \nPlease enter it again."},
    };
    for (const Case& c : cases) {
        const OrvEntryProblem problem = OrvEntryRules::CheckManualContact(c.name, c.email);
        EXPECT_EQ(Message(problem), c.text) << c.name;
        EXPECT_STREQ(problem.caption, c.caption) << c.name;
        EXPECT_EQ(problem.field, c.field) << c.name;
    }
    EXPECT_FALSE(OrvEntryRules::CheckManualContact("Abcdefghijklmno Smith", "anna@example.com").IsProblem());
}

TEST(ChangedEmailCheck, NeedsAtSignAndStopAndAnAddressThePasswordCanReach) {
    EXPECT_TRUE(OrvEntryRules::CheckChangedEmail("anna.example.com").IsProblem());
    EXPECT_TRUE(OrvEntryRules::CheckChangedEmail("anna@examplecom").IsProblem());
    EXPECT_TRUE(OrvEntryRules::CheckChangedEmail("@.").IsProblem());
    EXPECT_EQ(Message(OrvEntryRules::CheckChangedEmail("x")), "The e-mail address was mistyped. \nPlease enter it again.");
    EXPECT_FALSE(OrvEntryRules::CheckChangedEmail("anna@example.com").IsProblem());
}
