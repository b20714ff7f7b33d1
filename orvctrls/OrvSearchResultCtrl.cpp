#include "OrvSearchResultCtrl.h"

#include "OrvContactDrag.h"

#include "OrvISearchResult.h"
#include "OrvLocaleManager.h"
#include "OrvNavigate.h"

#include "CScopedSelect.h"

namespace {

CString LocaleText(OrvLocaleManager* locale, const char* key) { return locale ? locale->GetString(key) : CString(); }

struct Column {
    const char* key;  // null: no title
    int width;
};
const Column kColumns[OrvResultRules::kSearchColumns] = {
    {nullptr, 16}, {"IDS_SKIN_HDR_NAME", 60}, {"IDS_SKIN_HDR_EMAIL", 100}, {"IDS_SKIN_HDR_OCCUPATION", 70}};

}  // namespace

OrvSearchResultCtrl::OrvSearchResultCtrl(OrvLocaleManager* locale, CWnd* parent, OrvISearchResult* result,
                                         OrvINavigate* navigate)
    : CSkinnedListView(parent ? parent->GetSafeHwnd() : nullptr, kControlId), m_result(result),
      m_navigate(navigate) {
    if (!parent || !parent->GetSafeHwnd() || !GetHandleC()) return;
    for (int i = 0; i < OrvResultRules::kSearchColumns; ++i)
        InsertColumn(i, kColumns[i].key ? LocaleText(locale, kColumns[i].key).GetString() : "", kColumns[i].width);
    m_menu.Build(locale, GetSafeHwnd());
}

OrvSearchResultCtrl::~OrvSearchResultCtrl() {
    m_menu.CloseMenu();
    if (GetSafeHwnd()) DestroyWindow();
}

void OrvSearchResultCtrl::AddElement(const ORVCONTACTINFO* contact) {
    if (!contact) return;
    bool first = false;
    {
        CSingleLock lock(m_lock);
        first = m_rows.empty();
        m_rows.push_back(std::make_unique<ClsContactInfo>(contact, TextColor()));
    }
    if (!GetSafeHwnd()) return;
    // The list shows one empty row after the last person.
    if (first) InsertItem(GetItemCount(), "");
    InsertItem(GetItemCount(), "");
}

bool OrvSearchResultCtrl::DeleteAllItems() {
    SetHoverRow(-1);
    m_menuRow = -1;
    {
        CSingleLock lock(m_lock);
        m_rows.clear();
    }
    return GetSafeHwnd() ? CSkinnedListView::DeleteAllItems() : true;
}

int OrvSearchResultCtrl::GetCount() {
    CSingleLock lock(m_lock);
    return static_cast<int>(m_rows.size());
}

const ClsContactInfo* OrvSearchResultCtrl::GetContact(int row) {
    CSingleLock lock(m_lock);
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[static_cast<size_t>(row)].get() : nullptr;
}

COLORREF OrvSearchResultCtrl::TextColor() { return GetTextFont().GetColor(); }

void OrvSearchResultCtrl::RealizeSkin() {
    {
        CSingleLock lock(m_lock);
        for (auto& row : m_rows) row->SetTextColors(TextColor());
    }
    m_menu.ApplySkin();
    CSkinnedListView::RealizeSkin();
}

void OrvSearchResultCtrl::StretchLastColumn() {
    if (!GetSafeHwnd()) return;
    const int last = OrvResultRules::kSearchColumns - 1;
    int widest = 0;
    {
        HDC dc = ::GetDC(GetSafeHwnd());
        CScopedSelect font(dc, GetTextFont().GetHandle());
        CSingleLock lock(m_lock);
        for (const auto& row : m_rows) {
            const CString& text = row->GetContact().occupation;
            SIZE size{};
            if (::GetTextExtentPoint32A(dc, text.GetString(), text.GetLength(), &size) && size.cx > widest)
                widest = size.cx;
        }
        ::ReleaseDC(GetSafeHwnd(), dc);
    }
    int others = 0;
    for (int i = 0; i < last; ++i) others += GetColumnWidth(i);
    RECT client{};
    GetClientRect(&client);
    SetColumnWidth(last, OrvResultRules::StretchedLastColumn(widest, client.right, others));
}

void OrvSearchResultCtrl::SortBy(int column) {
    if (column < 0 || column >= OrvResultRules::kSearchColumns) return;
    m_sortOrder.Click(column);
    {
        CSingleLock lock(m_lock);
        std::vector<ClsContactInfo*> order;
        for (auto& row : m_rows) order.push_back(row.release());
        OrvResultRules::Sort(order, m_sortOrder.GetColumn(), m_sortOrder.GetDescending());
        for (size_t i = 0; i < order.size(); ++i) m_rows[i].reset(order[i]);
    }
    // The header's arrow; the system's rows are blank, so its own sort
    // changes nothing.
    SortByColumn(column, !m_sortOrder.GetDescending());
    if (GetSafeHwnd()) ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void OrvSearchResultCtrl::OnDblClick(int row) {
    const ClsContactInfo* person = GetContact(row);
    if (!person || !m_result) return;
    // A copy: the callback may clear the list.
    const ORVCONTACTINFO contact = person->GetContact();
    ORVNAVIGATEINFO info{ORVNAV_ACTIVATE, 0, &contact};
    m_result->OnResult(&info);
}

void OrvSearchResultCtrl::OnRightClick(int row, int x, int y) {
    const ClsContactInfo* person = GetContact(row);
    if (!person) return;
    m_menuRow = row;
    const OrvPersonMenuState_t state =
        OrvResultRules::SearchMenuState(person->GetContact(), m_navigate ? m_navigate->GetUserId() : nullptr);
    m_menu.EnableCommand(ORVMENU_CHAT, state.chat);
    m_menu.EnableCommand(ORVMENU_SEARCH_PATH, state.searchPath);
    m_menu.TrackPopupMenu(x, y);
}

void OrvSearchResultCtrl::OnMenuCommand(UINT id) {
    const ClsContactInfo* person = GetContact(m_menuRow);
    if (!person) return;
    const OrvMenuRoute_t route = OrvResultRules::RouteMenuCommand(id, 10004);
    const ORVCONTACTINFO contact = person->GetContact();
    ORVNAVIGATEINFO info{route.kind, route.code, &contact};
    if (route.target == OrvMenuRoute_t::toResult && m_result) m_result->OnResult(&info);
    if (route.target == OrvMenuRoute_t::toNavigate && m_navigate) m_navigate->Navigate(&info);
}

void OrvSearchResultCtrl::OnItemContextMenu(int item, CPoint screenPoint) {
    OnRightClick(item, screenPoint.x, screenPoint.y);
}

BOOL OrvSearchResultCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY && lParam) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == GetSafeHwnd() && header->code == NM_DBLCLK) {
            OnDblClick(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
            if (result) *result = 0;
            return TRUE;
        }
        if (header->hwndFrom == GetSafeHwnd() && header->code == LVN_BEGINDRAG) {
            // The list saw a press move away: the row's person is dragged
            // out (onto the path finder, the main window ...).
            const int row = reinterpret_cast<const NMLISTVIEW*>(lParam)->iItem;
            ORVCONTACTINFO contact;
            bool found = false;
            {
                CSingleLock lock(m_lock);
                if (row >= 0 && row < static_cast<int>(m_rows.size())) {
                    contact = m_rows[static_cast<size_t>(row)]->GetContact();
                    found = true;
                }
            }
            if (found) {
                SetHoverRow(-1);
                OrvContactDrag::Run(contact);
            }
            if (result) *result = 0;
            return TRUE;
        }
    }
    return CSkinnedListView::OnChildNotify(message, wParam, lParam, result);
}

void OrvSearchResultCtrl::WMNotify(WMNotify_t& message) {
    message.Handled = FALSE;
    const NMHDR* from = message.NMHdr();
    if (!from || from->hwndFrom != GetHeaderHandle()) return;
    // A quick second click on a header comes as a double click: to the
    // member it is one more click.
    if (from->code == HDN_ITEMCLICKA || from->code == HDN_ITEMCLICKW || from->code == HDN_ITEMDBLCLICKA ||
        from->code == HDN_ITEMDBLCLICKW)
        SortBy(reinterpret_cast<const NMHEADERA*>(from)->iItem);
}

int OrvSearchResultCtrl::RowAt(POINT client) const {
    LVHITTESTINFO hit{};
    hit.pt = client;
    const int row = static_cast<int>(::SendMessageA(GetSafeHwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return row >= 0 && row < const_cast<OrvSearchResultCtrl*>(this)->GetCount() ? row : -1;
}

void OrvSearchResultCtrl::SetHoverRow(int row) {
    if (row == m_hoverRow) return;
    InvalidateRow(m_hoverRow);
    m_hoverRow = row;
    InvalidateRow(m_hoverRow);
}

LRESULT OrvSearchResultCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // The popup menu posts its commands with no control.
        if (lParam == 0 && HIWORD(wParam) == 0) {
            OnMenuCommand(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_MOUSEMOVE: {
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        SetHoverRow(RowAt(at));
        if (m_hoverRow >= 0) ::SetTimer(GetSafeHwnd(), kHoverTimer, kHoverPeriodMs, nullptr);
        break;
    }
    case WM_TIMER:
        if (wParam == kHoverTimer) {
            // The pointer may have left without a move reaching the list.
            POINT at{};
            ::GetCursorPos(&at);
            const bool inside = ::WindowFromPoint(at) == GetSafeHwnd();
            ::ScreenToClient(GetSafeHwnd(), &at);
            SetHoverRow(inside ? RowAt(at) : -1);
            if (m_hoverRow < 0) ::KillTimer(GetSafeHwnd(), kHoverTimer);
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (m_hoverRow >= 0 && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CSkinnedListView::WindowProc(message, wParam, lParam);
}

void OrvSearchResultCtrl::DrawRow(HDC dc, int row, const RECT& bounds) {
    CSingleLock lock(m_lock);
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    const ClsContactInfo& person = *m_rows[static_cast<size_t>(row)];
    int left = bounds.left;
    for (int column = 0; column < OrvResultRules::kSearchColumns; ++column) {
        const int width = GetColumnWidth(column);
        const RECT cell{left, bounds.top, left + width, bounds.bottom};
        left += width;
        if (column == 0) {
            if (OrvResultRules::ShowsChatIcon(person) && m_chatIcon.GetIsValid()) {
                const int w = m_chatIcon.GetWidth(), h = m_chatIcon.GetHeight();
                const int x = cell.left + (width - w) / 2, y = cell.top + (cell.bottom - cell.top - h) / 2;
                const RECT place{x, y, x + w, y + h};
                CDC wrapper;
                if (wrapper.Attach(dc)) {
                    m_chatIcon.DrawTransparent(&wrapper, &place);
                    wrapper.Detach();
                }
            }
            continue;
        }
        ClsFont font = GetTextFont();
        if (column == 1 && row == m_hoverRow) font.SetUnderline(true);
        CScopedSelect selected(dc, font.GetHandle());
        const int oldMode = ::SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColour = ::SetTextColor(dc, person.GetTextColor());
        RECT text{cell.left + 2, cell.top, cell.right - 2, cell.bottom};
        const CString content = OrvResultRules::SearchCellText(person, column);
        ::DrawTextA(dc, content.GetString(), content.GetLength(), &text,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        ::SetTextColor(dc, oldColour);
        ::SetBkMode(dc, oldMode);
    }
}

const char* OrvSearchResultCtrl::GetRuntimeClassName() const { return "OrvSearchResultCtrl"; }
