#include "OrvResultRules.h"

#include "OrvNavigate.h"

#include <cstring>

void OrvSortOrder::Click(int column) {
    if (column == m_column)
        m_descending = !m_descending;
    else
        m_column = column;
}

CString OrvResultRules::SearchCellText(const ClsContactInfo& row, int column) {
    const ORVCONTACTINFO& contact = row.GetContact();
    switch (column) {
    case 1:
        return row.GetDisplayName();
    case 2:
        return contact.emailPrivate ? CString() : contact.email;
    case 3:
        return contact.occupation;
    default:
        return CString();
    }
}

int OrvResultRules::CompareTexts(const CString& a, const CString& b) {
    const int folded = a.CompareNoCase(b);
    if (folded != 0) return folded;
    return a.Compare(b);
}

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

int CompareOnColumn(const ClsContactInfo& a, const ClsContactInfo& b, int column) {
    const ORVCONTACTINFO& left = a.GetContact();
    const ORVCONTACTINFO& right = b.GetContact();
    switch (column) {
    case 0:
        // Those who can chat first.
        return Sign((right.canChat != 0) - (left.canChat != 0));
    case 1:
        return Sign(OrvResultRules::CompareTexts(a.GetDisplayName(), b.GetDisplayName()));
    case 2:
        if (left.emailPrivate && right.emailPrivate) return 0;
        if (left.emailPrivate) return 1;
        if (right.emailPrivate) return -1;
        return Sign(OrvResultRules::CompareTexts(left.email, right.email));
    case 3:
        return Sign(OrvResultRules::CompareTexts(left.occupation, right.occupation));
    default:
        return 0;
    }
}

int NextColumn(int column, int sortColumn) {
    if (column < OrvResultRules::kSearchColumns - 1) return column + 1;
    return sortColumn == 0 ? 0 : 1;
}

}  // namespace

int OrvResultRules::Compare(const ClsContactInfo* a, const ClsContactInfo* b, int column, bool descending) {
    int result = 0;
    if (!a || !b) {
        result = (a != nullptr) - (b != nullptr);
    } else if (column >= 0 && column < kSearchColumns) {
        int current = column;
        do {
            result = CompareOnColumn(*a, *b, current);
            current = NextColumn(current, column);
        } while (result == 0 && current != column);
    }
    return descending ? -result : result;
}

namespace {

void QuickSort(std::vector<ClsContactInfo*>& rows, int low, int high, int column, bool descending) {
    while (low < high) {
        ClsContactInfo* pivot = rows[static_cast<size_t>(low + (high - low) / 2)];
        int i = low;
        int j = high;
        while (i <= j) {
            while (OrvResultRules::Compare(rows[static_cast<size_t>(i)], pivot, column, descending) < 0) ++i;
            while (OrvResultRules::Compare(rows[static_cast<size_t>(j)], pivot, column, descending) > 0) --j;
            if (i <= j) {
                std::swap(rows[static_cast<size_t>(i)], rows[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        }
        // Recurse into the smaller part so the depth stays logarithmic.
        if (j - low < high - i) {
            QuickSort(rows, low, j, column, descending);
            low = i;
        } else {
            QuickSort(rows, i, high, column, descending);
            high = j;
        }
    }
}

}  // namespace

void OrvResultRules::Sort(std::vector<ClsContactInfo*>& rows, int column, bool descending) {
    if (rows.size() > 1) QuickSort(rows, 0, static_cast<int>(rows.size()) - 1, column, descending);
}

bool OrvResultRules::IsOwnRow(const ORVCONTACTINFO& contact, const char* userId, bool emptyUserIdMatches) {
    if (!userId || !*userId) return emptyUserIdMatches && contact.id.IsEmpty();
    return contact.id.CompareNoCase(userId) == 0;
}

OrvPersonMenuState_t OrvResultRules::SearchMenuState(const ORVCONTACTINFO& contact, const char* userId) {
    const bool own = IsOwnRow(contact, userId, true);
    OrvPersonMenuState_t state;
    state.chat = contact.canChat != 0 && !own;
    state.searchPath = !own;
    return state;
}

OrvPersonMenuState_t OrvResultRules::PathMenuState(const ORVCONTACTINFO& contact, const char* userId) {
    OrvPersonMenuState_t state;
    state.chat = contact.canChat != 0 && !IsOwnRow(contact, userId, false);
    state.searchPath = true;
    return state;
}

OrvMenuRoute_t OrvResultRules::RouteMenuCommand(unsigned id, unsigned lastResultId) {
    OrvMenuRoute_t route;
    if (id >= ORVMENU_ADD_TO_SOURCE && id <= lastResultId) {
        route.target = OrvMenuRoute_t::toResult;
        route.kind = ORVNAV_COMMAND;
        route.code = static_cast<int>(id - ORVMENU_ADD_TO_SOURCE);
    } else if (id >= ORVMENU_CHAT && id <= ORVMENU_VIEW_MAP) {
        route.target = OrvMenuRoute_t::toNavigate;
        route.kind = ORVNAV_COMMAND;
        route.code = ORVNAVCMD_CHAT + static_cast<int>(id - ORVMENU_CHAT);
    }
    return route;
}

int OrvResultRules::StretchedLastColumn(int widestText, int clientWidth, int otherColumns) {
    const int room = otherColumns < clientWidth ? clientWidth - otherColumns - 12 : 100;
    return (widestText > room ? widestText : room) + 10;
}
