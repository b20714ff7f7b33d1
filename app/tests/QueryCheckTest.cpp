// The checks a search query, a typed path end and path keywords pass
// before anything goes to the server, and how a path request of the path
// finder becomes a request by e-mail or by keywords.
#include "OrvQueryCheck.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string QueryMessage(const char* query) {
    CString message("untouched");
    if (OrvQueryCheck::CheckQuery(query, &message)) return "";
    return message.GetString();
}

TEST(QueryCheck, TheQueryLengthsAtTheirEdges) {
    EXPECT_EQ(QueryMessage(""), OrvQueryCheck::kEmpty);
    EXPECT_EQ(QueryMessage("    "), OrvQueryCheck::kEmpty) << "blanks only count as empty";
    EXPECT_EQ(QueryMessage("a"), OrvQueryCheck::kTooShort);
    EXPECT_EQ(QueryMessage("ab"), OrvQueryCheck::kTooShort);
    EXPECT_EQ(QueryMessage("abc"), "") << "three characters are accepted";
    const std::string longest(250, 'x');
    EXPECT_EQ(QueryMessage(longest.c_str()), "") << "250 characters are accepted";
    EXPECT_EQ(QueryMessage((longest + "x").c_str()), OrvQueryCheck::kTooLong);
    // The order of the rules: a short text with a forbidden character is
    // refused for its length first.
    EXPECT_EQ(QueryMessage("a!"), OrvQueryCheck::kTooShort);
}

TEST(QueryCheck, EachOfTheTwentyFiveForbiddenCharactersIsRefusedWithTheSetInTheMessage) {
    const std::string set = "\",';[]\\|{}:/<>~!#$%^&()=+";
    ASSERT_EQ(set.size(), 25u);
    EXPECT_EQ(std::string(OrvQueryCheck::kForbidden), set);
    const std::string expected =
        "Your search query contains characters or symbols that are not supported.\r\nThese symbols are " + set;
    for (char c : set) {
        const std::string query = std::string("ab") + c + "cd";
        EXPECT_EQ(QueryMessage(query.c_str()), expected) << "character " << c;
    }
    // Everything else a member types passes: letters, digits, the at sign,
    // dots, dashes, underscores, blanks, letters beyond ASCII.
    EXPECT_EQ(QueryMessage("Ann-Marie o.k_ 42 a@b.org \xE9t\xE9 *?`"), "");
}

TEST(QueryCheck, TwoWordsTravelWithASemicolonForTheBlank) {
    EXPECT_STREQ(OrvQueryCheck::ToWords("maya cohen"), "maya;cohen");
    EXPECT_STREQ(OrvQueryCheck::ToWords("one  two three"), "one;;two;three");
    EXPECT_STREQ(OrvQueryCheck::ToWords("single"), "single");
}

TEST(QueryCheck, TypedAddressesAreTrimmedAndNeedAnAtSign) {
    CString email(" \t a@b \r\n");
    CString message;
    EXPECT_TRUE(OrvQueryCheck::CheckEmail(email, &message)) << "three characters with the at sign in the middle";
    EXPECT_STREQ(email, "a@b") << "tabs, line ends and blanks leave both ends";
    CString spaced("a    b@c   d");
    EXPECT_TRUE(OrvQueryCheck::CheckEmail(spaced, &message));
    EXPECT_STREQ(spaced, "a b@c d") << "runs of blanks inside become one";

    CString noAt("  person.example.com ");
    EXPECT_FALSE(OrvQueryCheck::CheckEmail(noAt, &message));
    EXPECT_STREQ(message, OrvQueryCheck::kMistypedEmail);
    CString shortOne(" @b ");
    EXPECT_FALSE(OrvQueryCheck::CheckEmail(shortOne, &message));
    EXPECT_STREQ(message, OrvQueryCheck::kTooShort) << "the length rule comes before the at sign";
    CString longOne((std::string(246, 'x') + "@y.org").c_str());
    EXPECT_FALSE(OrvQueryCheck::CheckEmail(longOne, &message));
    EXPECT_STREQ(message, OrvQueryCheck::kTooLong);
    CString blank(" \t\r\n ");
    EXPECT_FALSE(OrvQueryCheck::CheckEmail(blank, &message));
}

TEST(QueryCheck, KeywordsAreTrimmedThenCheckedLikeAQuery) {
    CString keywords("\t  pilot   tel aviv \n");
    CString message;
    EXPECT_TRUE(OrvQueryCheck::CheckKeywords(keywords, &message));
    EXPECT_STREQ(keywords, "pilot tel aviv");
    CString forbidden("pilot (retired)");
    EXPECT_FALSE(OrvQueryCheck::CheckKeywords(forbidden, &message));
    EXPECT_STREQ(message, OrvQueryCheck::UnsupportedMessage());
    CString two("  ab ");
    EXPECT_FALSE(OrvQueryCheck::CheckKeywords(two, &message));
    EXPECT_STREQ(message, OrvQueryCheck::kTooShort);
}

struct PathOutcome {
    bool accepted;
    OrvPathQuery query;
    std::string message;
    std::string caption;
};

PathOutcome Check(const ORVPATHREQUEST& request) {
    PathOutcome outcome{};
    CString message, caption;
    outcome.accepted = OrvQueryCheck::CheckPath(request, &outcome.query, &message, &caption);
    outcome.message = message.GetString();
    outcome.caption = caption.GetString();
    return outcome;
}

TEST(QueryCheck, APathRequestBecomesARequestByAddressOrByKeywords) {
    ORVPATHREQUEST typed;
    typed.source = " me@example.com ";
    typed.destination = "  You@Example.org";
    PathOutcome byEmail = Check(typed);
    ASSERT_TRUE(byEmail.accepted) << byEmail.message;
    EXPECT_EQ(byEmail.query.kind, OrvPathQuery::byEmail);
    EXPECT_STREQ(byEmail.query.source, "me@example.com");
    EXPECT_STREQ(byEmail.query.destination, "You@Example.org");

    ORVPATHREQUEST keywords;
    keywords.source = "me@example.com";
    keywords.destination = " software   engineer ";
    PathOutcome byWords = Check(keywords);
    ASSERT_TRUE(byWords.accepted) << byWords.message;
    EXPECT_EQ(byWords.query.kind, OrvPathQuery::byKeywords);
    EXPECT_STREQ(byWords.query.destination, "software;engineer") << "one separator per run of blanks";

    // Placed private ends travel as their ids, without a text check.
    ORVPATHREQUEST placed;
    placed.destinationTyped = 0;
    placed.sourceId = "17";
    placed.destinationId = "4242";
    PathOutcome byIds = Check(placed);
    ASSERT_TRUE(byIds.accepted);
    EXPECT_EQ(byIds.query.kind, OrvPathQuery::byEmail);
    EXPECT_STREQ(byIds.query.source, "17");
    EXPECT_STREQ(byIds.query.destination, "4242");
}

TEST(QueryCheck, BrokenPathEndsAreRefusedWithTheirMessage) {
    ORVPATHREQUEST badSource;
    badSource.source = "nobody";
    badSource.destination = "you@example.org";
    PathOutcome first = Check(badSource);
    EXPECT_FALSE(first.accepted);
    EXPECT_EQ(first.message, OrvQueryCheck::kMistypedEmail);
    EXPECT_EQ(first.caption, "Orvane");

    ORVPATHREQUEST badWords;
    badWords.source = "me@example.com";
    badWords.destination = "pilot; chef";
    PathOutcome second = Check(badWords);
    EXPECT_FALSE(second.accepted);
    EXPECT_EQ(second.message, OrvQueryCheck::UnsupportedMessage().GetString());

    ORVPATHREQUEST shortWords;
    shortWords.source = "me@example.com";
    shortWords.destination = "ab";
    EXPECT_EQ(Check(shortWords).message, OrvQueryCheck::kTooShort);
}

TEST(QueryCheck, EndsThatDifferOnlyInLetterCaseAreAParametersError) {
    ORVPATHREQUEST same;
    same.source = "Ann@Example.com";
    same.destination = " ann@example.COM ";
    PathOutcome outcome = Check(same);
    EXPECT_FALSE(outcome.accepted);
    EXPECT_EQ(outcome.caption, "Parameters error");
    EXPECT_EQ(outcome.message, "Source and destination parameters must be different.");

    ORVPATHREQUEST sameIds;
    sameIds.sourceId = "9";
    sameIds.destinationId = "9";
    EXPECT_EQ(Check(sameIds).caption, "Parameters error");
}

}  // namespace
