#include "OrvCheckDate.h"

#include <cstdlib>

namespace {
const int kDaysInYear = 365;
const int kNeverChecked = 10000;
}  // namespace

bool OrvCheckDate::IsValid(DWORD stored) {
    const WORD month = Month(stored), day = Day(stored);
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

int OrvCheckDate::DaysSince(DWORD stored, WORD storedYear, const SYSTEMTIME& today) {
    if (!IsValid(stored)) return kNeverChecked;
    const int day = Day(stored), todayDay = today.wDay;
    if (storedYear != 0 && storedYear != today.wYear) {
        // The month arithmetic below is only sound within one year.
        const int years = std::abs(static_cast<int>(today.wYear) - static_cast<int>(storedYear));
        const int days = years * kDaysInYear + (static_cast<int>(today.wMonth) - Month(stored)) * 31 +
                         todayDay - day;
        return days >= 1 ? days : 1;
    }
    if (Month(stored) != today.wMonth) return todayDay - day + 31;
    if (day == todayDay) return 0;
    if (todayDay < day) return kDaysInYear + todayDay - day;
    return todayDay - day;
}
