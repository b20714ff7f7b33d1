#include "OrvPathFinderResultCtrl.h"

#include "OrvContactDrag.h"
#include "OrvResultRules.h"

#include "OrvISearchPathResult.h"
#include "OrvLocaleManager.h"
#include "OrvNavigate.h"

#include "CScopedSelect.h"

namespace {

CString LocaleText(OrvLocaleManager* locale, const char* key) { return locale ? locale->GetString(key) : CString(); }

const int kStepsColumnWidth = 70;
const int kPathsColumnWidth = 1000;

}  // namespace

OrvPathFinderResultCtrl::OrvPathFinderResultCtrl(OrvLocaleManager* locale, CWnd* parent,
                                                 OrvISearchPathResult* result, OrvINavigate* navigate)
    : CSkinnedListView(parent ? parent->GetSafeHwnd() : nullptr, kControlId), m_result(result),
      m_navigate(navigate) {
    if (!parent || !parent->GetSafeHwnd() || !GetHandleC()) return;
    InsertColumn(0, LocaleText(locale, "IDS_SKIN_HDR_NODESNUM").GetString(), kStepsColumnWidth);
    InsertColumn(1, LocaleText(locale, "IDS_SKIN_HDR_PATHSFOUND").GetString(), kPathsColumnWidth);
    m_menu.Build(locale, GetSafeHwnd());
}

OrvPathFinderResultCtrl::~OrvPathFinderResultCtrl() {
    m_menu.CloseMenu();
    if (GetSafeHwnd()) DestroyWindow();
}

void OrvPathFinderResultCtrl::AddElement(int count, const ORVCONTACTINFO* records) {
    if (count < 1 || !records) return;
    bool first = false;
    {
        CSingleLock lock(m_lock);
        first = m_rows.empty();
        Row row;
        row.path = std::make_unique<ClsPath>(count, records, GetTextFont().GetColor());
        m_rows.push_back(std::move(row));
    }
    if (!GetSafeHwnd()) return;
    // The list shows one empty row after the last path.
    if (first) InsertItem(GetItemCount(), "");
    InsertItem(GetItemCount(), "");
}

const ClsPath* OrvPathFinderResultCtrl::GetPath(int row) {
    CSingleLock lock(m_lock);
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[static_cast<size_t>(row)].path.get() : nullptr;
}

int OrvPathFinderResultCtrl::GetCount() {
    CSingleLock lock(m_lock);
    return static_cast<int>(m_rows.size());
}

bool OrvPathFinderResultCtrl::IsRowCut(int row) {
    CSingleLock lock(m_lock);
    return row >= 0 && row < static_cast<int>(m_rows.size()) && m_rows[static_cast<size_t>(row)].cut;
}

bool OrvPathFinderResultCtrl::DeleteAllItems() {
    SetHover(-1, -1);
    m_menuRow = m_menuPerson = -1;
    {
        CSingleLock lock(m_lock);
        m_rows.clear();
    }
    return GetSafeHwnd() ? CSkinnedListView::DeleteAllItems() : true;
}

ClsPaths* OrvPathFinderResultCtrl::GenerateStringisticPaths() {
    auto texts = std::make_unique<ClsPaths>();
    {
        CSingleLock lock(m_lock);
        for (const Row& row : m_rows) texts->Add(row.path.get());
    }
    m_texts = std::move(texts);
    return m_texts.get();
}

void OrvPathFinderResultCtrl::RealizeSkin() {
    {
        CSingleLock lock(m_lock);
        for (Row& row : m_rows)
            for (int i = 0; i < row.path->GetCount(); ++i)
                row.path->GetAt(i)->SetTextColors(GetTextFont().GetColor());
    }
    m_menu.ApplySkin();
    CSkinnedListView::RealizeSkin();
}

void OrvPathFinderResultCtrl::StretchLastColumn() {
    if (!GetSafeHwnd()) return;
    int widest = 0;
    {
        HDC dc = ::GetDC(GetSafeHwnd());
        CScopedSelect font(dc, GetTextFont().GetHandle());
        CSingleLock lock(m_lock);
        for (const Row& row : m_rows) {
            const CString text = row.path->Join(ClsPathRowLayout::kSeparator);
            SIZE size{};
            if (::GetTextExtentPoint32A(dc, text.GetString(), text.GetLength(), &size) && size.cx > widest)
                widest = size.cx;
        }
        ::ReleaseDC(GetSafeHwnd(), dc);
    }
    RECT client{};
    GetClientRect(&client);
    SetColumnWidth(1, OrvResultRules::StretchedLastColumn(widest, client.right, GetColumnWidth(0)));
}

void OrvPathFinderResultCtrl::PersonAt(POINT client, int& row, int& person) {
    row = person = -1;
    LVHITTESTINFO hit{};
    hit.pt = client;
    const int item = static_cast<int>(::SendMessageA(GetSafeHwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    CSingleLock lock(m_lock);
    if (item < 0 || item >= static_cast<int>(m_rows.size())) return;
    const int index = m_rows[static_cast<size_t>(item)].path->HitTest(client.x);
    if (index < 0) return;
    row = item;
    person = index;
}

void OrvPathFinderResultCtrl::SetHover(int row, int person) {
    if (row == m_hoverRow && person == m_hoverPerson) return;
    InvalidateRow(m_hoverRow);
    m_hoverRow = row;
    m_hoverPerson = person;
    InvalidateRow(m_hoverRow);
}

void OrvPathFinderResultCtrl::Report(int row, int person) {
    const ClsPath* path = GetPath(row);
    const ClsContactInfo* who = path ? path->GetAt(person) : nullptr;
    if (!who || !m_result) return;
    const ORVCONTACTINFO contact = who->GetContact();
    ORVNAVIGATEINFO info{ORVNAV_ACTIVATE, 0, &contact};
    m_result->OnPathResult(&info);
}

void OrvPathFinderResultCtrl::OnRightClick(int row, int x, int y) {
    POINT client{x, y};
    ::ScreenToClient(GetSafeHwnd(), &client);
    int hitRow = -1, person = -1;
    PersonAt(client, hitRow, person);
    if (hitRow != row || person < 0) return;
    const ClsPath* path = GetPath(row);
    m_menuRow = row;
    m_menuPerson = person;
    const OrvPersonMenuState_t state =
        OrvResultRules::PathMenuState(path->GetAt(person)->GetContact(), m_navigate ? m_navigate->GetUserId() : nullptr);
    m_menu.EnableCommand(ORVMENU_CHAT, state.chat);
    m_menu.EnableCommand(ORVMENU_SEARCH_PATH, state.searchPath);
    m_menu.TrackPopupMenu(x, y);
}

void OrvPathFinderResultCtrl::OnMenuCommand(UINT id) {
    const ClsPath* path = GetPath(m_menuRow);
    const ClsContactInfo* who = path ? path->GetAt(m_menuPerson) : nullptr;
    if (!who) return;
    const OrvMenuRoute_t route = OrvResultRules::RouteMenuCommand(id, 10003);
    const ORVCONTACTINFO contact = who->GetContact();
    ORVNAVIGATEINFO info{route.kind, route.code, &contact};
    if (route.target == OrvMenuRoute_t::toResult && m_result) m_result->OnPathResult(&info);
    if (route.target == OrvMenuRoute_t::toNavigate && m_navigate) m_navigate->Navigate(&info);
}

void OrvPathFinderResultCtrl::OnItemContextMenu(int item, CPoint screenPoint) {
    OnRightClick(item, screenPoint.x, screenPoint.y);
}

BOOL OrvPathFinderResultCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY && lParam) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == GetSafeHwnd() && header->code == LVN_BEGINDRAG) {
            // A press on a name that moved away drags that person out; a
            // press between names drags nobody.
            int row = -1, person = -1;
            PersonAt(reinterpret_cast<const NMLISTVIEW*>(lParam)->ptAction, row, person);
            ORVCONTACTINFO contact;
            bool found = false;
            if (row >= 0) {
                CSingleLock lock(m_lock);
                const ClsContactInfo* who = row < static_cast<int>(m_rows.size())
                                                ? m_rows[static_cast<size_t>(row)].path->GetAt(person)
                                                : nullptr;
                if (who) {
                    contact = who->GetContact();
                    found = true;
                }
            }
            if (found) {
                SetHover(-1, -1);
                OrvContactDrag::Run(contact);
            }
            // The drag took the button's release: no click follows.
            m_pressed = false;
            if (result) *result = 0;
            return TRUE;
        }
    }
    return CSkinnedListView::OnChildNotify(message, wParam, lParam, result);
}

void OrvPathFinderResultCtrl::WMNotify(WMNotify_t& message) {
    message.Handled = FALSE;
    const NMHDR* from = message.NMHdr();
    if (!from || from->hwndFrom != GetHeaderHandle()) return;
    // The paths keep the server's order: header clicks do not sort.
    if (from->code == HDN_ITEMCLICKA || from->code == HDN_ITEMCLICKW || from->code == HDN_ITEMDBLCLICKA ||
        from->code == HDN_ITEMDBLCLICKW) {
        message.Handled = TRUE;
        return;
    }
    if (from->code == HDN_ITEMCHANGINGA || from->code == HDN_ITEMCHANGINGW) {
        auto* change = reinterpret_cast<NMHEADERA*>(const_cast<NMHDR*>(from));
        // The header does not take a changed width back from its parent:
        // a width beyond the limit is refused instead.
        if (change->iItem == 0 && change->pitem && (change->pitem->mask & HDI_WIDTH) &&
            change->pitem->cxy > kStepsColumnMaxWidth) {
            message.Result = TRUE;
            message.Handled = TRUE;
        }
    }
}

LRESULT OrvPathFinderResultCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
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
        int row = -1, person = -1;
        PersonAt(at, row, person);
        SetHover(row, person);
        if (row >= 0) ::SetTimer(GetSafeHwnd(), kHoverTimer, kHoverPeriodMs, nullptr);
        break;
    }
    case WM_TIMER:
        if (wParam == kHoverTimer) {
            POINT at{};
            ::GetCursorPos(&at);
            const bool inside = ::WindowFromPoint(at) == GetSafeHwnd();
            ::ScreenToClient(GetSafeHwnd(), &at);
            int row = -1, person = -1;
            if (inside) PersonAt(at, row, person);
            SetHover(row, person);
            if (row < 0) ::KillTimer(GetSafeHwnd(), kHoverTimer);
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (m_hoverRow >= 0 && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        m_pressed = true;
        m_pressPoint = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        break;
    case WM_LBUTTONUP: {
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const bool click = m_pressed && at.x == m_pressPoint.x && at.y == m_pressPoint.y;
        m_pressed = false;
        if (click) {
            int row = -1, person = -1;
            PersonAt(at, row, person);
            if (row >= 0) Report(row, person);
        }
        break;
    }
    default:
        break;
    }
    return CSkinnedListView::WindowProc(message, wParam, lParam);
}

void OrvPathFinderResultCtrl::DrawRow(HDC dc, int row, const RECT& bounds) {
    CSingleLock lock(m_lock);
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    Row& entry = m_rows[static_cast<size_t>(row)];
    ClsPath& path = *entry.path;
    ClsFont& font = GetTextFont();
    CScopedSelect selected(dc, font.GetHandle());
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, font.GetColor());
    const int stepsWidth = GetColumnWidth(0);
    RECT steps{bounds.left, bounds.top, bounds.left + stepsWidth, bounds.bottom};
    const CString stepsText = ClsPathRowLayout::StepsText(path);
    ::DrawTextA(dc, stepsText.GetString(), stepsText.GetLength(), &steps,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    const int left = bounds.left + stepsWidth + 2;
    const int right = bounds.left + stepsWidth + GetColumnWidth(1) - 2;
    const auto pieces = ClsPathRowLayout::Layout(path, left, right, [dc](const CString& text) {
        SIZE size{};
        ::GetTextExtentPoint32A(dc, text.GetString(), text.GetLength(), &size);
        return static_cast<int>(size.cx);
    });
    entry.cut = ClsPathRowLayout::IsCut(pieces);
    ClsFont underlined = font;
    underlined.SetUnderline(true);
    for (const auto& piece : pieces) {
        RECT place{piece.x, bounds.top, piece.x + piece.width, bounds.bottom};
        if (piece.kind == ClsPathRowLayout::Piece_t::pkEllipsis) place.right = right;
        const bool hovered = piece.kind == ClsPathRowLayout::Piece_t::pkName && row == m_hoverRow &&
                             piece.person == m_hoverPerson;
        CScopedSelect pieceFont(dc, hovered ? underlined.GetHandle() : font.GetHandle());
        ::SetTextColor(dc, piece.kind == ClsPathRowLayout::Piece_t::pkName ? path.GetAt(piece.person)->GetTextColor()
                                                                           : font.GetColor());
        ::DrawTextA(dc, piece.text.GetString(), piece.text.GetLength(), &place,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
}

const char* OrvPathFinderResultCtrl::GetRuntimeClassName() const { return "OrvPathFinderResultCtrl"; }
