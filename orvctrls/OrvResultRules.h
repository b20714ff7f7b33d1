#pragma once
// What the two result lists decide about their rows, apart from any
// window: the cell texts, the sort order, which menu commands a person
// gets, where a menu command is reported, and the stretched last column.
#include "ClsContactInfo.h"
#include "OrvCtrlsExport.h"

#include "CString.h"

#include <vector>

// The menu commands of a person in either result list.
enum OrvResultMenuId_e : unsigned {
    ORVMENU_ADD_TO_SOURCE = 10001,
    ORVMENU_ADD_TO_DESTINATION = 10002,
    ORVMENU_CHAT = 10005,
    ORVMENU_SEARCH_PATH = 10006,
    ORVMENU_VIEW_MAP = 10007,
};

// Where a menu command goes and as what.
struct OrvMenuRoute_t {
    enum Target_e { toNone, toResult, toNavigate };
    Target_e target = toNone;
    int kind = 0;
    int code = 0;
};

// The enabled commands of the popup menu for one person.
struct OrvPersonMenuState_t {
    bool chat = false;
    bool searchPath = false;
};

// The sort column and direction of the search results.
class ORVCTRLS_API OrvSortOrder {
public:
    // A click on a column header: the current column again flips the
    // direction; another column becomes the sort column, the direction
    // stays.
    void Click(int column);
    int GetColumn() const { return m_column; }
    bool GetDescending() const { return m_descending; }

private:
    int m_column = -1;  // none until the first sort
    bool m_descending = false;
};

class ORVCTRLS_API OrvResultRules {
public:
    static constexpr int kSearchColumns = 4;

    // What a search result column shows as text (column 0 shows only the
    // chat icon): the display name, the e-mail unless private, the
    // occupation.
    static CString SearchCellText(const ClsContactInfo& row, int column);
    static bool ShowsChatIcon(const ClsContactInfo& row) { return row.GetContact().canChat != 0; }

    // The order of two search rows on column (0 to 3), negated when
    // descending; a missing row sorts before a present one. Ties go on to
    // the next column, wrapping after 3 to 1 (to 0 when sorting by 0).
    static int Compare(const ClsContactInfo* a, const ClsContactInfo* b, int column, bool descending);
    // Quicksort of rows by Compare.
    static void Sort(std::vector<ClsContactInfo*>& rows, int column, bool descending);
    // Texts as the lists order them: ignoring case first; when they differ
    // only in case, the case-sensitive order decides.
    static int CompareTexts(const CString& a, const CString& b);

    // Whether contact is the signed-in member: its id equals userId
    // ignoring case. With emptyUserIdMatches false, an empty or null
    // userId matches nobody.
    static bool IsOwnRow(const ORVCONTACTINFO& contact, const char* userId, bool emptyUserIdMatches);
    // Search results: Chat for a person who can chat and is not the
    // member; Search Path for anyone but the member.
    static OrvPersonMenuState_t SearchMenuState(const ORVCONTACTINFO& contact, const char* userId);
    // Paths: Chat as above (the member is known only by a non-empty id);
    // Search Path always.
    static OrvPersonMenuState_t PathMenuState(const ORVCONTACTINFO& contact, const char* userId);

    // 10001 up to lastResultId go to the result callback as kind 1 with
    // code id - 10001; 10005 to 10007 to the navigation as kind 1 with
    // codes 6 to 8; anything else nowhere.
    static OrvMenuRoute_t RouteMenuCommand(unsigned id, unsigned lastResultId);

    // The width of the last column: the room the other columns leave (less
    // 12; 100 when they fill the client area) or the widest text, whichever
    // is larger, plus 10.
    static int StretchedLastColumn(int widestText, int clientWidth, int otherColumns);
};
