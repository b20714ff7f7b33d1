#include "CSkinnedSplitter.h"

#include <algorithm>

CSkinnedSplitter::CSkinnedSplitter(HWND parent) : m_parent(parent) {}

CSkinnedSplitter::~CSkinnedSplitter() {
    // The base deletes the panes (it owns them); the lists only point at them.
    m_left.RemoveAll();
    m_right.RemoveAll();
    if (m_hWnd) DestroyWindow();
}

void CSkinnedSplitter::CreateHandle() {
    if (m_hWnd || !m_parent) return;
    static const char* const windowClass =
        AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_SIZEWE), ::GetSysColorBrush(COLOR_BTNFACE));
    const int p = HasArea() ? Clamp(m_position) : m_position;
    m_position = p;
    // The bounds are the area's: the window does not report them back.
    const int left = GetLeft(), top = GetTop(), width = GetWidth(), height = GetHeight();
    if (!CreateEx(0, windowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, left + p, top, m_barWidth, height,
                  m_parent, nullptr))
        return;
    SetHandleC(m_hWnd);
    StoreBounds(left, top, width, height);
}

LRESULT CSkinnedSplitter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CAPTURECHANGED && m_dragging && reinterpret_cast<HWND>(lParam) != m_hWnd) m_dragging = false;
    return ClsSkinnedWnd<CWnd>::WindowProc(message, wParam, lParam);
}

void CSkinnedSplitter::Add(ContainerSide_e side, ClsSkinnedControl* control) {
    if (!control || control == this || !control->SetOwnerC(this)) return;
    CTypedPtrArray<CPtrArray, ClsSkinnedControl*>& list = side == csLeft ? m_left : m_right;
    for (int i = 0; i < list.GetSize(); ++i)
        if (list.GetAt(i) == control) return;
    list.Add(control);
    // Its top stays where it was within the area.
    const int top = control->GetTop() + GetTop();
    if (side == csLeft)
        control->SetPos(GetLeft(), top, m_position, control->GetHeight());
    else
        control->SetPos(GetLeft() + m_position + m_barWidth, top, std::max(0, RightWidth(m_position)),
                         control->GetHeight());
}

int CSkinnedSplitter::Clamp(int p) const {
    const int width = GetWidth();
    if (width - m_minSize < p + m_barWidth)
        p = width - m_barWidth - m_minSize;
    else if (p < m_minSize)
        p = m_minSize;
    // An area narrower than two minimums gives the left side what is left,
    // never a negative width.
    return std::max(p, 0);
}

void CSkinnedSplitter::SetSplitterPos(int p) {
    if (!HasArea()) return;
    p = Clamp(p);
    if (p == m_position) return;
    Apply(p);
}

void CSkinnedSplitter::Apply(int p) {
    m_position = p;
    ForgetLostPanes();
    HDWP batch = ::BeginDeferWindowPos(m_left.GetSize() + m_right.GetSize() + 1);
    batch = PlacePanes(batch, p);
    batch = PlaceBar(batch, p);
    if (batch) ::EndDeferWindowPos(batch);
    // Panes and bar show their new places at once, without erasing first.
    const UINT redraw = RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    for (const auto* list : {&m_left, &m_right})
        for (int i = 0; i < list->GetSize(); ++i)
            if (HWND pane = list->GetAt(i)->GetSafeHwndC()) ::RedrawWindow(pane, nullptr, nullptr, redraw);
    if (m_hWnd) ::RedrawWindow(m_hWnd, nullptr, nullptr, redraw);
}

void CSkinnedSplitter::ForgetLostPanes() {
    // A pane deleted elsewhere has left the owned list; only pointers are
    // compared, a lost pane is never touched.
    for (auto* list : {&m_left, &m_right}) {
        for (int i = list->GetSize() - 1; i >= 0; --i) {
            bool owned = false;
            for (int j = 0; j < GetOwnedCount() && !owned; ++j) owned = GetOwned(j) == list->GetAt(i);
            if (!owned) list->RemoveAt(i);
        }
    }
}

HDWP CSkinnedSplitter::PlacePanes(HDWP batch, int p) {
    ForgetLostPanes();
    for (int i = 0; i < m_left.GetSize(); ++i) {
        ClsSkinnedControl* pane = m_left.GetAt(i);
        batch = pane->SetPos(batch, GetLeft(), pane->GetTop(), p, pane->GetHeight());
    }
    const int rightWidth = RightWidth(p);
    if (rightWidth > 0) {
        for (int i = 0; i < m_right.GetSize(); ++i) {
            ClsSkinnedControl* pane = m_right.GetAt(i);
            batch = pane->SetPos(batch, GetLeft() + p + m_barWidth, pane->GetTop(), rightWidth, pane->GetHeight());
        }
    }
    return batch;
}

HDWP CSkinnedSplitter::PlaceBar(HDWP batch, int p) {
    if (!m_hWnd) return batch;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (batch) return ::DeferWindowPos(batch, m_hWnd, nullptr, GetLeft() + p, GetTop(), m_barWidth, GetHeight(), flags);
    ::SetWindowPos(m_hWnd, nullptr, GetLeft() + p, GetTop(), m_barWidth, GetHeight(), flags);
    return batch;
}

void CSkinnedSplitter::SetSplitterWidth(int width) {
    width = std::max(width, 0);
    if (width == m_barWidth) return;
    m_barWidth = width;
    if (HasArea()) Apply(Clamp(m_position));
}

void CSkinnedSplitter::SetMinSize(int m) {
    m = std::max(m, 0);
    if (m == m_minSize) return;
    m_minSize = m;
    if (HasArea() && (m_position < m || RightWidth(m_position) < m)) {
        const int p = Clamp(m_position);
        if (p != m_position) Apply(p);
    }
}

HDWP CSkinnedSplitter::SetPos(HDWP batch, int x, int y, int width, int height) {
    StoreBounds(x, y, width, height);
    const int p = HasArea() ? Clamp(m_position) : m_position;
    if (p != m_position) {
        m_position = p;
        batch = PlacePanes(batch, p);
    }
    return PlaceBar(batch, p);
}

void CSkinnedSplitter::WMMove(WMMove_t&) {}

void CSkinnedSplitter::WMSize(WMSize_t& message) { message.Handled = FALSE; }

void CSkinnedSplitter::WMSetCursor(WMSetCursor_t& message) {
    if (message.HitTest() != HTCLIENT) {
        message.Handled = FALSE;
        return;
    }
    ::SetCursor(::LoadCursorA(nullptr, IDC_SIZEWE));
    message.Result = TRUE;
}

void CSkinnedSplitter::WMLButtonDown(WMMouse_t& message) {
    SetCapture();
    m_dragging = true;
    m_dragX = message.XPos();
}

void CSkinnedSplitter::WMMouseMove(WMMouse_t& message) {
    if (!m_dragging) {
        message.Handled = FALSE;
        return;
    }
    // The bar moves with the pointer, so the press point stays under it.
    SetSplitterPos(m_position + (message.XPos() - m_dragX));
}

void CSkinnedSplitter::WMLButtonUp(WMMouse_t& message) {
    if (!m_dragging) {
        message.Handled = FALSE;
        return;
    }
    StopDragging();
}

void CSkinnedSplitter::StopDragging() {
    m_dragging = false;
    if (GetCapture() == this) ReleaseCapture();
}
