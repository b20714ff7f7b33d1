// The day arithmetic of the daily check and the reading of the answer's numbers.
#include "OrvCheckDate.h"
#include "OrvVersionCheck.h"

#include <gtest/gtest.h>

namespace {

SYSTEMTIME Day(WORD year, WORD month, WORD day) {
    SYSTEMTIME t{};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    return t;
}

TEST(CheckDate, StoredValueKeepsMonthHighAndDayLow) {
    EXPECT_EQ(OrvCheckDate::Encode(3, 31), 0x0003001Fu);
    EXPECT_EQ(OrvCheckDate::Month(0x000C0001u), 12);
    EXPECT_EQ(OrvCheckDate::Day(0x000C0001u), 1);
}

TEST(CheckDate, MonthsCountAsThirtyOneDays) {
    const DWORD march31 = OrvCheckDate::Encode(3, 31);
    EXPECT_EQ(OrvCheckDate::DaysSince(march31, 2026, Day(2026, 4, 1)), 1) << "1 + 31 - 31";
    EXPECT_TRUE(OrvCheckDate::IsDue(march31, 2026, Day(2026, 4, 1)));
    EXPECT_EQ(OrvCheckDate::DaysSince(OrvCheckDate::Encode(1, 31), 2026, Day(2026, 2, 1)), 1);
    EXPECT_EQ(OrvCheckDate::DaysSince(OrvCheckDate::Encode(2, 28), 2026, Day(2026, 3, 1)), 4);
    EXPECT_EQ(OrvCheckDate::DaysSince(OrvCheckDate::Encode(6, 10), 2026, Day(2026, 6, 12)), 2);
}

TEST(CheckDate, SameDayIsNotDue) {
    const DWORD stored = OrvCheckDate::Encode(12, 8);
    EXPECT_EQ(OrvCheckDate::DaysSince(stored, 2026, Day(2026, 12, 8)), 0);
    EXPECT_FALSE(OrvCheckDate::IsDue(stored, 2026, Day(2026, 12, 8)));
    EXPECT_FALSE(OrvCheckDate::IsDue(stored, 0, Day(2026, 12, 8))) << "no year kept: still the same day";
}

TEST(CheckDate, SameMonthAYearLaterIsDue) {
    const DWORD stored = OrvCheckDate::Encode(12, 8);
    EXPECT_GE(OrvCheckDate::DaysSince(stored, 2025, Day(2026, 12, 8)), 365) << "the same day a year later";
    EXPECT_TRUE(OrvCheckDate::IsDue(stored, 2025, Day(2026, 12, 3))) << "an earlier day a year later";
    EXPECT_TRUE(OrvCheckDate::IsDue(stored, 2025, Day(2026, 12, 20)));
    // Without a kept year an earlier day of the same month can only be a
    // later year (or a clock set back): it counts as a new day.
    EXPECT_TRUE(OrvCheckDate::IsDue(stored, 0, Day(2026, 12, 3)));
    // Across the turn of the year with the year kept.
    EXPECT_TRUE(OrvCheckDate::IsDue(OrvCheckDate::Encode(12, 31), 2025, Day(2026, 1, 1)));
    // A clock set back by a year still checks once rather than never.
    EXPECT_TRUE(OrvCheckDate::IsDue(stored, 2027, Day(2026, 12, 8)));
}

TEST(CheckDate, NeverCheckedOrDamagedValueIsDue) {
    const SYSTEMTIME today = Day(2026, 12, 8);
    EXPECT_TRUE(OrvCheckDate::IsDue(0, 0, today));
    EXPECT_TRUE(OrvCheckDate::IsDue(OrvCheckDate::Encode(13, 5), 2026, today));
    EXPECT_TRUE(OrvCheckDate::IsDue(OrvCheckDate::Encode(11, 500), 2026, today))
        << "a day of 500 would otherwise block the check for good";
    EXPECT_TRUE(OrvCheckDate::IsDue(0xFFFFFFFFu, 0xFFFF, today));
    EXPECT_FALSE(OrvCheckDate::IsValid(OrvCheckDate::Encode(12, 0)));
    EXPECT_TRUE(OrvCheckDate::IsValid(OrvCheckDate::Encode(12, 31)));
}

TEST(VersionAnswerNumbers, WaitMinutesAreClamped) {
    EXPECT_EQ(OrvVersionCheck::RetryMinutes("500"), 120);
    EXPECT_EQ(OrvVersionCheck::RetryMinutes("-5"), 120);
    EXPECT_EQ(OrvVersionCheck::RetryMinutes("120"), 120);
    EXPECT_EQ(OrvVersionCheck::RetryMinutes("121"), 120);
    EXPECT_EQ(OrvVersionCheck::RetryMinutes("45"), 45);
    EXPECT_EQ(OrvVersionCheck::RetryMinutes("0"), 1) << "no request loop without a pause";
    EXPECT_EQ(OrvVersionCheck::RetryMinutes(""), 120);
    EXPECT_EQ(OrvVersionCheck::RetryMinutes("12abc"), 120);
    EXPECT_EQ(OrvVersionCheck::RetryMinutes("99999999999999999999"), 120);
}

TEST(VersionAnswerNumbers, ActionIsAWholeDecimalNumber) {
    EXPECT_EQ(OrvVersionCheck::ParseAction("0"), 0);
    EXPECT_EQ(OrvVersionCheck::ParseAction("1"), 1);
    EXPECT_EQ(OrvVersionCheck::ParseAction("2"), 2);
    EXPECT_EQ(OrvVersionCheck::ParseAction("7"), 7);
    EXPECT_EQ(OrvVersionCheck::ParseAction(""), -1) << "a refused request has no action";
    EXPECT_EQ(OrvVersionCheck::ParseAction("1x"), -1);
    EXPECT_EQ(OrvVersionCheck::ParseAction("-1"), -1);
}

}  // namespace
