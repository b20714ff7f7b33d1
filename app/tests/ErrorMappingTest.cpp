// The one error mapping: every code and command the member may meet.
#include "OrvErrorMapping.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    int id;
    const char* code;
    bool show;
    const char* caption;
    const char* text;
};

TEST(ErrorMapping, CodesShownWithoutMessageShowNothing) {
    for (const char* code : {"1", "4", "5", "9"})
        for (int id : {11, 13, 23, 24, 28, 29}) {
            const OrvErrorNotice notice = OrvErrorMapping::Map(id, code);
            EXPECT_FALSE(notice.show) << id << " " << code;
            EXPECT_FALSE(notice.sessionLost) << id << " " << code;
        }
}

TEST(ErrorMapping, CodeThreeLosesTheSessionSilentlyForEveryCommand) {
    for (int id : {4, 11, 13, 21, 23, 24, 29, 202}) {
        const OrvErrorNotice notice = OrvErrorMapping::Map(id, "3");
        EXPECT_TRUE(notice.sessionLost) << id;
        EXPECT_FALSE(notice.show) << id;
    }
}

TEST(ErrorMapping, TextsAndCaptionsByCommandAndCode) {
    const Case cases[] = {
        {23, "2", true, "Get contacts tree error", "Selected contact has not found in Orvane database."},
        {24, "2", true, "Search error", "Unfortunately, Orvane has found no results \nthat match your search-path query."},
        {28, "2", true, "Search error", "Unfortunately, Orvane has found no results \nthat match your search-path query."},
        {29, "2", true, "Search error", "Unfortunately, Orvane has found no results \nthat match your search query."},
        {24, "11", true, "Search error", "Path not found"},
        {28, "11", true, "Search error", "Free-text information doesn't correspond to any user of the system."},
        {24, "10", true, "Search error", "Source e-mail wasn\xE2\x80\x99t found"},
        {13, "8", true, "Drop contacts error", "The server cannot connect to database."},
        {14, "8", true, "Add contacts error", "The server cannot connect to database."},
        {16, "8", true, "Update user error", "The server cannot connect to database."},
        {17, "8", true, "Update contacts error", "The server cannot connect to database."},
        {19, "8", true, "Add/Remove contacts error", "The server cannot connect to database."},
        {21, "8", true, "Get contacts error", "The server cannot connect to database."},
        {11, "8", true, "Add new user error", "The server cannot connect to database."},
        // Commands outside the named ones keep the caption "Error".
        {5, "8", true, "Error", "The server cannot connect to database."},
        {26, "8", true, "Error", "The server cannot connect to database."},
        {3, "8", true, "Error", "The server cannot connect to database."},
        {202, "8", true, "Error", "The server cannot connect to database."},
    };
    for (const Case& c : cases) {
        const OrvErrorNotice notice = OrvErrorMapping::Map(c.id, c.code);
        EXPECT_EQ(notice.show, c.show) << c.id << " " << c.code;
        EXPECT_STREQ(notice.caption, c.caption) << c.id << " " << c.code;
        EXPECT_STREQ(notice.text, c.text) << c.id << " " << c.code;
    }
}

TEST(ErrorMapping, CommandsThatShowNothingStaySilentEvenForKnownTexts) {
    for (int id : {4, 12, 15, 18, 20, 22, 25, 27}) {
        EXPECT_FALSE(OrvErrorMapping::Map(id, "8").show) << id;
        EXPECT_FALSE(OrvErrorMapping::Map(id, "10").show) << id;
    }
}

TEST(ErrorMapping, UnknownCodesAndNothingFoundOfOtherCommandsShowNothing) {
    EXPECT_FALSE(OrvErrorMapping::Map(23, "77").show);
    EXPECT_FALSE(OrvErrorMapping::Map(23, "").show);
    EXPECT_FALSE(OrvErrorMapping::Map(13, "2").show) << "nothing found has a text only for searches and trees";
    EXPECT_FALSE(OrvErrorMapping::Map(23, "11").show) << "no path means something only for path searches";
    EXPECT_FALSE(OrvErrorMapping::Map(23, "0").show);
}

}  // namespace
