#pragma once
#include <windows.h>

// The date of the last version check as the settings store keeps it: month
// (1-12) in the high 16 bits, day of month (1-31) in the low 16 bits. The
// value has no year, so the year is kept beside it (0 when it was never
// written, as by older versions): without it a check stored on 5 March and
// the next start on 5 March a year later would look like the same day.
class OrvCheckDate {
public:
    static DWORD Encode(WORD month, WORD day) { return (static_cast<DWORD>(month) << 16) | day; }
    static WORD Month(DWORD stored) { return HIWORD(stored); }
    static WORD Day(DWORD stored) { return LOWORD(stored); }

    // Days since the stored check, counted the way the program always has
    // (a month is 31 days): another month gives today - stored day + 31, the
    // same month today - stored day. On top of that:
    //  - a stored value that is no date (never checked, or damaged) is far
    //    in the past, so a damaged value cannot stop the checks for good;
    //  - a known year other than today's is a year or more ago;
    //  - the same month with an earlier day than stored (a year later with
    //    no year kept, or a clock set back) counts as a new day.
    // The check runs when the result is at least 1.
    static int DaysSince(DWORD stored, WORD storedYear, const SYSTEMTIME& today);
    static bool IsDue(DWORD stored, WORD storedYear, const SYSTEMTIME& today) {
        return DaysSince(stored, storedYear, today) >= 1;
    }
    static bool IsValid(DWORD stored);
};
