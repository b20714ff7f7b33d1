#include "CSkinnedListView.h"

#include "ClsFrameDrawer.h"
#include "ClsListHeaderPainter.h"
#include "ClsRowBuffer.h"

#include "CScopedSelect.h"
#include "CWindowDC.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kCaptionLength = 260;
constexpr int kArrowWidth = 9;   // the sort arrow's base
constexpr int kArrowGap = 4;     // between the caption and the arrow
constexpr int kHeaderAir = 8;    // above and below a header caption together

bool HasImage(const SkinBorderInfo_t* skin) { return skin && skin->MainImage && skin->MainImage->GetIsValid(); }

// A whole text that is a decimal number, and its value.
bool AsNumber(const CString& text, long long* value) {
    if (text.IsEmpty()) return false;
    char* end = nullptr;
    *value = std::strtoll(text, &end, 10);
    return end && *end == '\0';
}

void DrawArrow(HDC dc, const RECT& area, bool up, COLORREF color) {
    const int height = (kArrowWidth + 1) / 2;
    const int left = area.right - kArrowWidth;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    // Row by row: one pixel narrower on each side per row.
    for (int row = 0; row < height; ++row) {
        const int inset = up ? height - 1 - row : row;
        RECT line{left + inset, top + row, left + kArrowWidth - inset, top + row + 1};
        ::SetBkColor(dc, color);
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
    }
}
}  // namespace

CSkinnedListView::CSkinnedListView(HWND parent, UINT controlId) : m_parent(parent), m_controlId(controlId) {}

CSkinnedListView::~CSkinnedListView() {
    // The painter leaves the header before the header goes.
    m_headerPainter.reset();
    if (m_hWnd) DestroyWindow();
}

void CSkinnedListView::CreateHandle() {
    if (m_hWnd || !m_parent) return;
    INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                        LVS_SINGLESEL;
    if (!CreateEx(0, WC_LISTVIEWA, "", style, GetLeft(), GetTop(), GetWidth(), GetHeight(), m_parent,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(m_controlId))))
        return;
    SetHandleC(m_hWnd);
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    if (HWND header = GetHeaderHandle()) {
        m_headerPainter = std::make_unique<ClsListHeaderPainter>(*this);
        m_headerPainter->HookWindow(header);
    }
    // Without OLE on this thread the list simply takes part in no drop.
    GetDropTarget().Register(this);
    ApplyColors();
}

void CSkinnedListView::RealizeSkin() {
    if (!GetHandleC()) return;
    ApplyColors();
    // The font message lays the header out again (at the wanted height).
    SendMessage(WM_SETFONT, static_cast<WPARAM>(SendMessage(WM_GETFONT)), FALSE);
    GenerateImages();
    ClsSkinnedControl::RealizeSkin();
    if (HWND header = GetHeaderHandle()) ::RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CSkinnedListView::SetTextFont(const ClsFont& font) {
    m_textFont = font;
    ApplyColors();
}

void CSkinnedListView::ApplyColors() {
    if (!m_hWnd) return;
    if (!m_textFont.GetName().IsEmpty())
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_textFont.GetHandle()), FALSE);
    const ControlBorderInfo_t* frame = GetBorder();
    const COLORREF background = frame ? frame->BgColor : ::GetSysColor(COLOR_WINDOW);
    SendMessage(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(background));
    SendMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(background));
    SendMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(m_textFont.GetColor()));
    Invalidate();
}

// ---------------------------------------------------------------------------
// Rows and columns

HWND CSkinnedListView::GetHeaderHandle() const {
    return m_hWnd ? reinterpret_cast<HWND>(::SendMessageA(m_hWnd, LVM_GETHEADER, 0, 0)) : nullptr;
}

int CSkinnedListView::InsertColumn(int index, const char* caption, int width) {
    if (!GetHandleC()) return -1;
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = std::max(width, 0);
    column.pszText = const_cast<char*>(caption ? caption : "");
    const int at = static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                                                reinterpret_cast<LPARAM>(&column)));
    if (at >= 0 && m_sortColumn >= at) ++m_sortColumn;
    return at;
}

int CSkinnedListView::GetColumnCount() const {
    HWND header = GetHeaderHandle();
    return header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int CSkinnedListView::GetColumnWidth(int column) const {
    if (!m_hWnd || column < 0 || column >= GetColumnCount()) return 0;
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

bool CSkinnedListView::SetColumnWidth(int column, int width) {
    if (!m_hWnd || column < 0 || column >= GetColumnCount()) return false;
    return SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(std::max(width, 0), 0)) != 0;
}

CString CSkinnedListView::GetColumnCaption(int column) const {
    if (!m_hWnd || column < 0 || column >= GetColumnCount()) return CString();
    char text[kCaptionLength] = "";
    LVCOLUMNA info{};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    ::SendMessageA(m_hWnd, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    return CString(text);
}

int CSkinnedListView::InsertItem(int index, const char* text) {
    if (!GetHandleC()) return -1;
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = std::max(index, 0);
    item.pszText = const_cast<char*>(text ? text : "");
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CSkinnedListView::SetItemText(int item, int column, const char* text) {
    if (!m_hWnd || item < 0 || item >= GetItemCount() || column < 0 || column >= GetColumnCount()) return false;
    LVITEMA info{};
    info.iSubItem = column;
    info.pszText = const_cast<char*>(text ? text : "");
    return SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)) != 0;
}

CString CSkinnedListView::GetItemText(int item, int column) const {
    if (!m_hWnd || item < 0 || item >= GetItemCount() || column < 0 || column >= GetColumnCount())
        return CString();
    char text[kCaptionLength] = "";
    LVITEMA info{};
    info.iSubItem = column;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    ::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info));
    return CString(text);
}

int CSkinnedListView::GetItemCount() const {
    return m_hWnd ? static_cast<int>(::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

bool CSkinnedListView::DeleteAllItems() { return m_hWnd && SendMessage(LVM_DELETEALLITEMS, 0, 0) != 0; }

int CSkinnedListView::GetSelectedItem() const {
    if (!m_hWnd) return -1;
    return static_cast<int>(
        ::SendMessageA(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

bool CSkinnedListView::SelectItem(int item) {
    if (!m_hWnd || item < 0 || item >= GetItemCount()) return false;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
    SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
    return true;
}

// ---------------------------------------------------------------------------
// Sorting

bool CSkinnedListView::SortByColumn(int column, bool ascending) {
    if (!m_hWnd || column < 0 || column >= GetColumnCount()) return false;
    m_sortColumn = column;
    m_sortAscending = ascending;
    SendMessage(LVM_SORTITEMSEX, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&CompareThunk));
    if (HWND header = GetHeaderHandle()) ::InvalidateRect(header, nullptr, FALSE);
    return true;
}

int CALLBACK CSkinnedListView::CompareThunk(LPARAM item1, LPARAM item2, LPARAM self) {
    const auto* list = reinterpret_cast<const CSkinnedListView*>(self);
    const int order = list->CompareItems(static_cast<int>(item1), static_cast<int>(item2), list->m_sortColumn);
    return list->m_sortAscending ? order : -order;
}

int CSkinnedListView::CompareItems(int item1, int item2, int column) const {
    const CString first = GetItemText(item1, column);
    const CString second = GetItemText(item2, column);
    long long a = 0, b = 0;
    if (AsNumber(first, &a) && AsNumber(second, &b)) return a < b ? -1 : (a > b ? 1 : 0);
    return first.CompareNoCase(second);
}

// ---------------------------------------------------------------------------
// Header images

const ClsBitMap* CSkinnedListView::GetHeaderImage(int index) const {
    if (index < 0 || index >= GetHeaderImageCount()) return nullptr;
    return m_headerImages[static_cast<size_t>(index)].get();
}

void CSkinnedListView::PurgeImages() { m_headerImages.clear(); }

void CSkinnedListView::GenerateImages() {
    PurgeImages();
    HWND header = GetHeaderHandle();
    if (!header || !m_headerSkin) return;
    RECT client{};
    ::GetClientRect(header, &client);
    const int height = client.bottom - client.top;
    if (height <= 0) return;
    int used = 0;
    const int columns = GetColumnCount();
    for (int column = 0; column < columns; ++column) {
        const int width = GetColumnWidth(column);
        used += width;
        SortArrow_e arrow = saNone;
        if (column == m_sortColumn) arrow = m_sortAscending ? saAscending : saDescending;
        // A column of no width keeps its place in the list with no image.
        m_headerImages.push_back(GenerateHeaderColumnImage(GetColumnCaption(column), width, height, arrow));
    }
    if (used < client.right)
        m_headerImages.push_back(GenerateHeaderColumnImage("", client.right - used, height));
    m_imagesSortColumn = m_sortColumn;
    m_imagesSortAscending = m_sortAscending;
}

std::unique_ptr<ClsBitMap> CSkinnedListView::GenerateHeaderColumnImage(const char* caption, int width, int height,
                                                                       SortArrow_e arrow) const {
    const SkinBorderInfo_t* skin = m_headerSkin;
    if (!skin || width <= 0 || height <= 0) return nullptr;
    auto image = std::make_unique<ClsBitMap>();
    if (!image->AllocateBitMap(width, height, pf32bit)) return nullptr;
    CDC* canvas = image->Lock();
    if (!canvas) return nullptr;
    const HDC dc = canvas->GetSafeHdc();
    const RECT inside{skin->LeftBorderWidth, skin->TopBorderWidth, width - skin->RightBorderWidth,
                      height - skin->BottomBorderWidth};
    bool filled = false;
    if (HasImage(skin) && skin->ContentWidth > 0 && skin->ContentHeight > 0)
        filled = ClsFrameDrawer::TileContent(dc, *skin, *skin->MainImage, inside);
    if (!filled) canvas->FillSolidRect(0, 0, width, height, skin->BgColor);
    if (HasImage(skin)) ClsFrameDrawer::DrawEdgesAndCorners(dc, *skin, *skin->MainImage, RECT{0, 0, width, height});

    RECT text{inside.left + m_leftMargin, inside.top, inside.right - m_leftMargin, inside.bottom};
    if (arrow != saNone) {
        RECT place = text;
        place.left = std::max(text.left, text.right - kArrowWidth);
        DrawArrow(dc, place, arrow == saAscending, skin->TextColor);
        text.right -= kArrowWidth + kArrowGap;
    }
    CFont font;
    if (caption && *caption && text.right > text.left &&
        font.CreateFont(skin->TextSize, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, skin->TextFont)) {
        CScopedSelect selectFont(dc, static_cast<HFONT>(font.GetSafeHandle()));
        const int oldMode = ::SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = ::SetTextColor(dc, skin->TextColor);
        ::DrawTextA(dc, caption, -1, &text, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        ::SetTextColor(dc, oldColor);
        ::SetBkMode(dc, oldMode);
    }
    image->Unlock();
    return image;
}

bool CSkinnedListView::ImagesMatchColumns(int headerHeight) const {
    if (m_imagesSortColumn != m_sortColumn || m_imagesSortAscending != m_sortAscending) return false;
    const int columns = GetColumnCount();
    int used = 0;
    for (int column = 0; column < columns; ++column) {
        if (column >= GetHeaderImageCount()) return false;
        const int width = GetColumnWidth(column);
        used += width;
        const ClsBitMap* image = m_headerImages[static_cast<size_t>(column)].get();
        if (width <= 0 ? image != nullptr : (!image || image->GetWidth() != width || image->GetHeight() != headerHeight))
            return false;
    }
    RECT client{};
    ::GetClientRect(GetHeaderHandle(), &client);
    const int rest = client.right - used;
    if (rest <= 0) return GetHeaderImageCount() == columns;
    if (GetHeaderImageCount() != columns + 1) return false;
    const ClsBitMap* last = m_headerImages.back().get();
    return last && last->GetWidth() == rest && last->GetHeight() == headerHeight;
}

int CSkinnedListView::GetWantedHeaderHeight() const {
    const SkinBorderInfo_t* skin = m_headerSkin;
    if (!skin) return 0;
    return std::abs(skin->TextSize) + skin->TopBorderWidth + skin->BottomBorderWidth + kHeaderAir;
}

bool CSkinnedListView::PaintHeader(HDC dc) {
    HWND header = GetHeaderHandle();
    if (!dc || !header || !m_headerSkin) return false;
    RECT client{};
    ::GetClientRect(header, &client);
    if (!ImagesMatchColumns(client.bottom)) GenerateImages();
    const int columns = GetColumnCount();
    int x = 0;
    for (int index = 0; index < GetHeaderImageCount(); ++index) {
        if (index < columns) {
            RECT item{};
            if (::SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
                x = item.left;
        }
        if (const ClsBitMap* image = GetHeaderImage(index)) {
            image->Draw(dc, x, 0);
            x += image->GetWidth();
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// Messages

LRESULT CSkinnedListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCPAINT && GetBorder() && GetBorder()->MainImage && GetBorder()->MainImage->GetIsValid()) {
        // The system draws the scroll bars inside the frame; the frame
        // goes around them.
        CWnd::WindowProc(message, wParam, lParam);
        RECT window{};
        ::GetWindowRect(m_hWnd, &window);
        CWindowDC dc(m_hWnd);
        ClsFrameDrawer::DrawFrame(dc.GetSafeHdc(), GetBorder(), window.right - window.left,
                                  window.bottom - window.top);
        return 0;
    }
    return ClsSkinnedWnd<CWnd>::WindowProc(message, wParam, lParam);
}

BOOL CSkinnedListView::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message != WM_NOTIFY || !lParam) return ClsSkinnedWnd<CWnd>::OnChildNotify(message, wParam, lParam, result);
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom != m_hWnd) return FALSE;
    if (header->code == NM_CLICK) {
        const int item = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
        if (item >= 0) OnItemClick(item);
        if (result) *result = 0;
        return TRUE;
    }
    if (header->code == NM_CUSTOMDRAW && (DrawsOwnRows() || m_headerSkin)) {
        auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
        if (result) *result = DrawsOwnRows() ? CustomDrawOwnRow(draw) : CustomDrawRow(draw);
        return TRUE;
    }
    if (header->code == NM_RCLICK) {
        const int item = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
        POINT at{};
        ::GetCursorPos(&at);
        OnItemContextMenu(item, CPoint(at));
        if (result) *result = 0;
        return TRUE;
    }
    return FALSE;
}

LRESULT CSkinnedListView::CustomDrawRow(NMLVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const int item = static_cast<int>(draw.nmcd.dwItemSpec);
    const UINT state = static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED));
    if (state & LVIS_SELECTED) {
        // The system's highlight may not go with a dark skin: the header's
        // colours mark the row instead.
        draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
        draw.clrTextBk = m_headerSkin->BgColor;
        draw.clrText = m_headerSkin->TextColor;
        return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
}

LRESULT CSkinnedListView::CustomDrawOwnRow(NMLVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    RECT bounds{};
    if (!GetRowBounds(row, bounds)) return CDRF_DODEFAULT;
    ClsRowBuffer buffer(draw.nmcd.hdc, bounds);
    HDC dc = buffer.Dc();
    const ControlBorderInfo_t* frame = GetBorder();
    const COLORREF background =
        (row % 2) ? m_secondRowColor : (frame ? frame->BgColor : ::GetSysColor(COLOR_WINDOW));
    HBRUSH brush = ::CreateSolidBrush(background);
    if (brush) {
        ::FillRect(dc, &bounds, brush);
        ::DeleteObject(brush);
    }
    DrawRow(dc, row, bounds);
    return CDRF_SKIPDEFAULT;
}

bool CSkinnedListView::GetRowBounds(int row, RECT& bounds) const {
    if (!m_hWnd) return false;
    bounds = RECT{};
    bounds.left = LVIR_BOUNDS;
    return ::SendMessageA(m_hWnd, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds)) != 0;
}

void CSkinnedListView::InvalidateRow(int row) {
    RECT bounds{};
    if (row >= 0 && GetRowBounds(row, bounds)) ::InvalidateRect(m_hWnd, &bounds, FALSE);
}

bool CSkinnedListView::DrawsOwnRows() const { return false; }

void CSkinnedListView::DrawRow(HDC, int, const RECT&) {}

void CSkinnedListView::OnItemClick(int) {}

void CSkinnedListView::OnItemContextMenu(int, CPoint) {}

void CSkinnedListView::WMEraseBkGnd(WMEraseBkGnd_t& message) { message.Handled = FALSE; }

void CSkinnedListView::WMPaint(WMNoParams_t& message) { message.Handled = FALSE; }

void CSkinnedListView::WMKeyDown(WMKey_t& message) {
    if (message.CharCode() != VK_RETURN) {
        message.Handled = FALSE;
        return;
    }
    const int focused = static_cast<int>(
        SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
    if (focused >= 0) OnItemClick(focused);
}

void CSkinnedListView::WMNotify(WMNotify_t& message) {
    // The list itself acts on its header's notifications too.
    message.Handled = FALSE;
    const NMHDR* from = message.NMHdr();
    if (!from || from->hwndFrom != GetHeaderHandle()) return;
    if (from->code == HDN_ITEMCLICKA || from->code == HDN_ITEMCLICKW) {
        const int column = reinterpret_cast<const NMHEADERA*>(from)->iItem;
        SortByColumn(column, column == m_sortColumn ? !m_sortAscending : true);
    }
}
