#include "CTrayMenuWindow.h"

#include "CNotifier.h"

#include "CScopedSelect.h"

namespace {
constexpr int kMarkerX = 24;
constexpr int kTextX = 44;
constexpr int kCheckSize = 14;
constexpr int kSeparatorGap = 9;
const COLORREF kHotFill = RGB(226, 237, 252);
const COLORREF kSeparator = RGB(214, 222, 235);
const COLORREF kCheck = RGB(36, 104, 206);
}  // namespace

CTrayMenuWindow::CTrayMenuWindow(CNotifier& notifier, const NOTIFYREQUEST& request)
    : CNotifyPopup(notifier, request), m_items(ItemsFor(request.param)) {}

std::vector<CTrayMenuWindow::Item> CTrayMenuWindow::ItemsFor(DWORD param) {
    const int checked = static_cast<int>(param & 0xFF);
    const int offered = static_cast<int>((param >> 8) & 0xFF);
    const bool cloudOff = (param & CNotifier::kMenuCloudOff) != 0;
    const Item all[] = {
        {CNotifier::miOnline, "SHOW I'M ONLINE", RGB(255, 128, 64), true, false, {}},
        {CNotifier::miFriends, "SHOW ME ONLY TO MY FRIENDS", RGB(255, 0, 255), true, false, {}},
        {CNotifier::miOffline, "SHOW I'M OFFLINE", RGB(128, 128, 128), true, false, {}},
        {CNotifier::miClose, "CLOSE ORVANE", RGB(0, 0, 128), false, false, {}},
        {CNotifier::miCloud, cloudOff ? "Enable notification cloud" : "Disable notification cloud", RGB(0, 0, 128),
         false, false, {}},
    };
    std::vector<Item> items;
    for (Item item : all) {
        if (!(offered & item.value)) continue;
        item.checked = checked == item.value;
        items.push_back(item);
    }
    return items;
}

const CTrayMenuWindow::Item* CTrayMenuWindow::FindItem(int value) const {
    for (const Item& item : m_items)
        if (item.value == value) return &item;
    return nullptr;
}

int CTrayMenuWindow::SeparatorY() const {
    // Between the presence items and the program's own, when both show.
    for (size_t i = 1; i < m_items.size(); ++i)
        if (m_items[i].value >= CNotifier::miClose && m_items[i - 1].value < CNotifier::miClose)
            return m_items[i].rect.top - kSeparatorGap / 2 - 1;
    return -1;
}

SIZE CTrayMenuWindow::FullSize() {
    bool separated = false;
    for (size_t i = 1; i < m_items.size(); ++i)
        separated |= m_items[i].value >= CNotifier::miClose && m_items[i - 1].value < CNotifier::miClose;
    const int body = 2 * 10 + static_cast<int>(m_items.size()) * kItemHeight + (separated ? kSeparatorGap : 0);
    return {kWidth, body + CBalloonShape::kTailHeight};
}

void CTrayMenuWindow::OnReshaped(const RECT& body) {
    int y = body.top + 10;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (i > 0 && m_items[i].value >= CNotifier::miClose && m_items[i - 1].value < CNotifier::miClose)
            y += kSeparatorGap;
        m_items[i].rect = {body.left + 8, y, body.right - 8, y + kItemHeight};
        y += kItemHeight;
    }
}

void CTrayMenuWindow::PaintShapes(CCloudCanvas& canvas, const RECT& body) {
    const int separator = SeparatorY();
    if (separator >= 0) {
        const RECT line{body.left + 18, separator, body.right - 18, separator + 1};
        canvas.FillRoundRect(line, 0, kSeparator);
    }
    for (size_t i = 0; i < m_items.size(); ++i) {
        const Item& item = m_items[i];
        if (static_cast<int>(i) == m_hot) canvas.FillRoundRect(item.rect, 8, kHotFill);
        const float cy = (item.rect.top + item.rect.bottom) / 2.0f;
        const float cx = static_cast<float>(item.rect.left - 8 + kMarkerX);
        if (item.dot) {
            canvas.FillDisc(cx, cy, 5.5f, item.marker);
        } else {
            const RECT square{static_cast<LONG>(cx - 4), static_cast<LONG>(cy - 4), static_cast<LONG>(cx + 4),
                              static_cast<LONG>(cy + 4)};
            canvas.FillRoundRect(square, 2, item.marker);
        }
        if (item.checked)
            canvas.DrawCheck(item.rect.right - 10 - kCheckSize, static_cast<int>(cy) - kCheckSize / 2, kCheckSize,
                             kCheck);
    }
}

void CTrayMenuWindow::PaintText(CDC& dc, const RECT&) {
    for (const Item& item : m_items) {
        CScopedSelect select(dc, item.checked ? m_bold : m_font);
        dc.SetTextColor(kText);
        RECT text{item.rect.left - 8 + kTextX, item.rect.top, item.rect.right - 16 - kCheckSize, item.rect.bottom};
        ::DrawTextA(dc, item.text, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

int CTrayMenuWindow::ItemAt(CPoint point) const {
    for (size_t i = 0; i < m_items.size(); ++i)
        if (::PtInRect(&m_items[i].rect, point)) return static_cast<int>(i);
    return -1;
}

BOOL CTrayMenuWindow::OnSetCursor(CWnd*, UINT hitTest, UINT) {
    POINT point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    ::SetCursor(::LoadCursorA(nullptr, hitTest == HTCLIENT && ItemAt(point) >= 0 ? IDC_HAND : IDC_ARROW));
    return TRUE;
}

void CTrayMenuWindow::OnMouseMove(UINT, CPoint point) {
    if (!m_tracking) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        m_tracking = ::TrackMouseEvent(&track) != FALSE;
    }
    const int hot = ItemAt(point);
    if (hot != m_hot) {
        m_hot = hot;
        Invalidate(FALSE);
    }
}

void CTrayMenuWindow::OnMouseLeave() {
    m_tracking = false;
    if (m_hot >= 0) {
        m_hot = -1;
        Invalidate(FALSE);
    }
}

void CTrayMenuWindow::OnLButtonUp(UINT, CPoint point) {
    const int index = ItemAt(point);
    if (index >= 0) m_notifier.OnMenuChoice(this, m_items[static_cast<size_t>(index)].value);
}

void CTrayMenuWindow::OnKeyDown(UINT key, UINT, UINT) {
    if (key == VK_ESCAPE) m_notifier.OnPopupDone(this);
}

void CTrayMenuWindow::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    CNotifyPopup::OnActivate(state, other, minimized);
    // A click elsewhere ends the menu, as it ends any menu; only once it
    // was active, so a refused activation leaves it on show.
    if (state != WA_INACTIVE) {
        m_wasActive = true;
    } else if (m_wasActive) {
        m_notifier.OnPopupDone(this);
    }
}

const char* CTrayMenuWindow::GetRuntimeClassName() const { return "CTrayMenuWindow"; }
