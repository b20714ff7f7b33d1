#include "ClsSkinnedControl.h"

#include "ClsBitMap.h"
#include "ClsFrameDrawer.h"
#include "ClsSkinnedHeader.h"

#include "CPaintDC.h"
#include "CWindowDC.h"

#include <algorithm>

namespace {
bool FrameHasImage(const ControlBorderInfo_t* frame) {
    return frame && frame->MainImage && frame->MainImage->GetIsValid();
}

// Raises a counter for a scope.
class CountUp {
public:
    explicit CountUp(int& counter) : m_counter(counter) { ++m_counter; }
    ~CountUp() { --m_counter; }
    CountUp(const CountUp&) = delete;
    CountUp& operator=(const CountUp&) = delete;

private:
    int& m_counter;
};
}  // namespace

ClsSkinnedControl::ClsSkinnedControl() = default;

ClsSkinnedControl::~ClsSkinnedControl() {
    if (m_hWndC && ::IsWindow(m_hWndC)) {
        ::KillTimer(m_hWndC, kHoverTimer);
        ::KillTimer(m_hWndC, kSpareTimer);
    }
    SetHeader(nullptr);
    while (m_owned.GetSize() > 0) {
        ClsSkinnedControl* owned = m_owned.GetAt(0);
        m_owned.RemoveAt(0);
        if (!owned) continue;
        owned->m_owner = nullptr;
        delete owned;
    }
    LeaveOwner();
}

HWND ClsSkinnedControl::GetHandleC() {
    if (!m_hWndC) CreateHandle();
    return m_hWndC;
}

void ClsSkinnedControl::SetHandleC(HWND window) {
    m_hWndC = window;
    UpdateBounds();
}

void ClsSkinnedControl::SetHeader(ClsSkinnedHeader* header) {
    if (m_header == header) return;
    if (m_header && m_header->GetParent() == this) m_header->SetParent(nullptr);
    m_header = header;
    if (m_header) m_header->SetParent(this);
}

bool ClsSkinnedControl::SetOwnerC(ClsSkinnedControl* owner) {
    for (ClsSkinnedControl* up = owner; up; up = up->m_owner)
        if (up == this) return false;
    if (owner == m_owner) return true;
    LeaveOwner();
    if (owner) {
        owner->m_owned.Add(this);
        m_owner = owner;
    }
    return true;
}

void ClsSkinnedControl::LeaveOwner() {
    if (!m_owner) return;
    CTypedPtrArray<CPtrArray, ClsSkinnedControl*>& list = m_owner->m_owned;
    for (int i = 0; i < list.GetSize(); ++i) {
        if (list.GetAt(i) == this) {
            list.RemoveAt(i);
            break;
        }
    }
    m_owner = nullptr;
}

bool ClsSkinnedControl::IsTopLevel() const {
    return m_hWndC && !(::GetWindowLongPtrA(m_hWndC, GWL_STYLE) & WS_CHILD);
}

HDWP ClsSkinnedControl::SetPos(HDWP batch, int x, int y, int width, int height) {
    const bool moved = x != m_left || y != m_top;
    const bool sized = width != m_width || height != m_height;
    m_left = x;
    m_top = y;
    m_width = width;
    m_height = height;
    if (!m_hWndC || (!moved && !sized)) return batch;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!moved) flags |= SWP_NOMOVE;
    if (!sized) flags |= SWP_NOSIZE;
    if (batch) return ::DeferWindowPos(batch, m_hWndC, nullptr, x, y, width, height, flags);
    ::SetWindowPos(m_hWndC, nullptr, x, y, width, height, flags);
    return batch;
}

void ClsSkinnedControl::RealizeSkin() {
    if (!GetHandleC()) return;
    CountUp realizing(m_realizing);
    ::SetWindowPos(m_hWndC, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW |
                       SWP_NOACTIVATE);
    ::RedrawWindow(m_hWndC, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void ClsSkinnedControl::CreateHandle() {}

bool ClsSkinnedControl::SendSysCommand(UINT command) {
    if (!IsTopLevel()) return false;
    ::SendMessageA(m_hWndC, WM_SYSCOMMAND, command, 0);
    return true;
}

bool ClsSkinnedControl::DoClose() { return SendSysCommand(SC_CLOSE); }
bool ClsSkinnedControl::DoMinimize() { return SendSysCommand(SC_MINIMIZE); }
bool ClsSkinnedControl::DoMaximize() { return SendSysCommand(SC_MAXIMIZE); }
bool ClsSkinnedControl::DoRestore() { return SendSysCommand(SC_RESTORE); }

void ClsSkinnedControl::UpdateBounds() {
    if (!m_hWndC || m_realizing > 0 || !::IsWindow(m_hWndC)) return;
    const bool child = (::GetWindowLongPtrA(m_hWndC, GWL_STYLE) & WS_CHILD) != 0;
    RECT bounds{};
    if (::IsIconic(m_hWndC)) {
        // The restored place: already in the parent's client coordinates
        // for a child, in workspace coordinates for a top-level window.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (!::GetWindowPlacement(m_hWndC, &placement)) return;
        bounds = placement.rcNormalPosition;
    } else {
        if (!::GetWindowRect(m_hWndC, &bounds)) return;
        if (child) ::MapWindowPoints(nullptr, ::GetParent(m_hWndC), reinterpret_cast<POINT*>(&bounds), 2);
    }
    m_left = bounds.left;
    m_top = bounds.top;
    m_width = bounds.right - bounds.left;
    m_height = bounds.bottom - bounds.top;
}

// ---------------------------------------------------------------------------
// Routing

template <class View>
void ClsSkinnedControl::Call(void (ClsSkinnedControl::*handler)(View&), WMMessage_t& record) {
    View view;
    static_cast<WMMessage_t&>(view) = record;
    (this->*handler)(view);
    record = view;
}

bool ClsSkinnedControl::Route(WMMessage_t& record) {
    using C = ClsSkinnedControl;
    switch (record.Msg) {
    case WM_MOVE: Call(&C::WMMove, record); return true;
    case WM_SIZE: Call(&C::WMSize, record); return true;
    case WM_ACTIVATE: Call(&C::WMActivate, record); return true;
    case WM_PAINT: Call(&C::WMPaint, record); return true;
    case WM_ERASEBKGND: Call(&C::WMEraseBkGnd, record); return true;
    case WM_ACTIVATEAPP: Call(&C::WMActivateApp, record); return true;
    case WM_SETCURSOR: Call(&C::WMSetCursor, record); return true;
    case WM_GETMINMAXINFO: Call(&C::WMGetMinMaxInfo, record); return true;
    case WM_WINDOWPOSCHANGING: Call(&C::WMWindowPosChanging, record); return true;
    case WM_WINDOWPOSCHANGED: Call(&C::WMWindowPosChanged, record); return true;
    case WM_NOTIFY: Call(&C::WMNotify, record); return true;
    case WM_NCCREATE: Call(&C::WMNcCreate, record); return true;
    case WM_NCDESTROY: Call(&C::WMNcDestroy, record); return true;
    case WM_NCCALCSIZE: Call(&C::WMNcCalcSize, record); return true;
    case WM_NCHITTEST: Call(&C::WMNcHitTest, record); return true;
    case WM_NCPAINT: Call(&C::WMNcPaint, record); return true;
    case WM_NCACTIVATE: Call(&C::WMNcActivate, record); return true;
    case WM_NCMOUSEMOVE: Call(&C::WMNcMouseMove, record); return true;
    case WM_NCLBUTTONDOWN: Call(&C::WMNcLButtonDown, record); return true;
    case WM_NCLBUTTONUP: Call(&C::WMNcLButtonUp, record); return true;
    case WM_NCLBUTTONDBLCLK: Call(&C::WMNcLButtonDblClk, record); return true;
    case WM_NCRBUTTONDOWN: Call(&C::WMNcRButtonDown, record); return true;
    case WM_NCRBUTTONUP: Call(&C::WMNcRButtonUp, record); return true;
    case WM_NCRBUTTONDBLCLK: Call(&C::WMNcRButtonDblClk, record); return true;
    case WM_KEYDOWN: Call(&C::WMKeyDown, record); return true;
    case WM_KEYUP: Call(&C::WMKeyUp, record); return true;
    case WM_CHAR: Call(&C::WMChar, record); return true;
    case WM_SYSKEYDOWN: Call(&C::WMSysKeyDown, record); return true;
    case WM_SYSKEYUP: Call(&C::WMSysKeyUp, record); return true;
    case WM_SYSCHAR: Call(&C::WMSysChar, record); return true;
    case WM_COMMAND: Call(&C::WMCommand, record); return true;
    case WM_SYSCOMMAND: Call(&C::WMSysCommand, record); return true;
    case WM_TIMER: Call(&C::WMTimer, record); return true;
    case WM_MOUSEMOVE: Call(&C::WMMouseMove, record); return true;
    case WM_LBUTTONDOWN: Call(&C::WMLButtonDown, record); return true;
    case WM_LBUTTONUP: Call(&C::WMLButtonUp, record); return true;
    case WM_RBUTTONDOWN: Call(&C::WMRButtonDown, record); return true;
    case WM_RBUTTONUP: Call(&C::WMRButtonUp, record); return true;
    case WM_QUERYNEWPALETTE: Call(&C::WMQueryNewPalette, record); return true;
    case WM_PALETTECHANGED: Call(&C::WMPaletteChanged, record); return true;
    default: return false;
    }
}

LRESULT ClsSkinnedControl::ProcessMessages(UINT& message, WPARAM& wParam, LPARAM& lParam, BOOL& handled) {
    handled = FALSE;
    if (!m_hWndC) return 0;
    const HWND window = m_hWndC;
    WMMessage_t record{message, wParam, lParam, 0, TRUE};
    if (!Route(record)) return 0;
    message = record.Msg;
    wParam = record.WParam;
    lParam = record.LParam;
    handled = record.Handled;
    // The window is gone after this message: a later GetHandleC makes a new one.
    if (message == WM_NCDESTROY && m_hWndC == window) m_hWndC = nullptr;
    return record.Result;
}

// ---------------------------------------------------------------------------
// Handlers

void ClsSkinnedControl::WMActivate(WMActivate_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMActivateApp(WMActivateApp_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMChar(WMKey_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMCommand(WMCommand_t& m) { m.Handled = FALSE; }

void ClsSkinnedControl::WMEraseBkGnd(WMEraseBkGnd_t& m) { m.Result = 1; }

void ClsSkinnedControl::WMGetMinMaxInfo(WMGetMinMaxInfo_t& m) {
    MINMAXINFO* info = m.MinMaxInfo();
    RECT work{};
    if (!info || !m_frame || !IsTopLevel() || !::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        m.Handled = FALSE;
        return;
    }
    info->ptMaxPosition.x = work.left - m_frame->LeftBorderWidth;
    info->ptMaxPosition.y = work.top - m_frame->TopBorderWidth;
    info->ptMaxSize.x = (work.right - work.left) + m_frame->LeftBorderWidth + m_frame->RightBorderWidth;
    info->ptMaxSize.y = (work.bottom - work.top) + m_frame->TopBorderWidth + m_frame->BottomBorderWidth;
}

void ClsSkinnedControl::WMKeyDown(WMKey_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMKeyUp(WMKey_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMLButtonDown(WMMouse_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMLButtonUp(WMMouse_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMMouseMove(WMMouse_t& m) { m.Handled = FALSE; }

void ClsSkinnedControl::WMMove(WMMove_t&) { UpdateBounds(); }

void ClsSkinnedControl::WMNcActivate(WMNCActivate_t& m) { m.Handled = FALSE; }

void ClsSkinnedControl::WMNcCalcSize(WMNCCalcSize_t& m) {
    m.Handled = FALSE;
    RECT* proposed = m.ProposedRect();
    if (!proposed) return;
    if (m_header) {
        m_header->DockHeader(proposed);
    } else if (m_frame) {
        proposed->left += m_frame->LeftBorderWidth;
        proposed->top += m_frame->TopBorderWidth;
        proposed->right -= m_frame->RightBorderWidth;
        proposed->bottom -= m_frame->BottomBorderWidth;
        // Borders wider than the window leave an empty client area.
        proposed->right = std::max(proposed->right, proposed->left);
        proposed->bottom = std::max(proposed->bottom, proposed->top);
    }
}

void ClsSkinnedControl::WMNcCreate(WMNCCreate_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMNcDestroy(WMNoParams_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMNcHitTest(WMNCHitTest_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMNcLButtonDblClk(WMNCHitMessage_t& m) { m.Handled = FALSE; }

void ClsSkinnedControl::WMNcLButtonDown(WMNCHitMessage_t& m) {
    if (!m_header || m_header->GetHoveredButton() == hbNone) {
        m.Handled = FALSE;
        return;
    }
    m_header->SetButtonIsPressed(true);
}

void ClsSkinnedControl::WMNcLButtonUp(WMNCHitMessage_t& m) {
    if (!m_header) {
        m.Handled = FALSE;
        return;
    }
    if (!m_header->GetButtonIsPressed()) return;
    const HeaderButton_e pressed = m_header->GetPressedButton();
    m_header->SetButtonIsPressed(false);
    if (pressed != m_header->GetHoveredButton()) return;
    switch (pressed) {
    case hbMinimize: DoMinimize(); break;
    case hbMaximize:
        m_header->SetButtonRestore(true);
        if (!DoMaximize()) m_header->SetButtonMaximize(true);
        break;
    case hbClose: DoClose(); break;
    case hbRestore:
        m_header->SetButtonMaximize(true);
        if (!DoRestore()) m_header->SetButtonRestore(true);
        break;
    default: break;
    }
}

void ClsSkinnedControl::WMNcMouseMove(WMNCHitMessage_t& m) {
    if (!m_header) {
        m.Handled = FALSE;
        return;
    }
    ::KillTimer(m_hWndC, kHoverTimer);
    HeaderButton_e hovered = hbNone;
    switch (m.HitTest()) {
    case HTMINBUTTON: hovered = hbMinimize; break;
    case HTMAXBUTTON: hovered = m_header->GetButtonRestore() ? hbRestore : hbMaximize; break;
    case HTCLOSE: hovered = hbClose; break;
    default: break;
    }
    m_header->SetHoveredButton(hovered);
    if (hovered != hbNone) {
        ::GetCursorPos(&m_hoverCursor);
        ::SetTimer(m_hWndC, kHoverTimer, kHoverPeriodMs, nullptr);
    }
}

void ClsSkinnedControl::WMNcPaint(WMNCPaint_t& m) {
    m.Result = 0;
    RECT window{};
    if (!::GetWindowRect(m_hWndC, &window)) return;
    CWindowDC dc(m_hWndC);
    if (!dc.GetSafeHdc()) return;
    // The client area keeps what it painted: only the frame is drawn here.
    RECT client{};
    ::GetClientRect(m_hWndC, &client);
    ::MapWindowPoints(m_hWndC, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ::OffsetRect(&client, -window.left, -window.top);
    dc.ExcludeClipRect(client);
    ClsFrameDrawer::DrawFrame(dc, m_frame, window.right - window.left, window.bottom - window.top);
    if (m_header) m_header->Draw(dc);
}

void ClsSkinnedControl::WMNcRButtonDblClk(WMNCHitMessage_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMNcRButtonDown(WMNCHitMessage_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMNcRButtonUp(WMNCHitMessage_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMNotify(WMNotify_t& m) { m.Handled = FALSE; }

void ClsSkinnedControl::WMPaint(WMNoParams_t& m) {
    if (!FrameHasImage(m_frame) || m_frame->ContentWidth <= 0 || m_frame->ContentHeight <= 0) {
        m.Handled = FALSE;
        return;
    }
    CPaintDC dc(m_hWndC);
    ClsFrameDrawer::FillContent(dc, m_frame, m_width, m_height);
}

void ClsSkinnedControl::WMPaletteChanged(WMPaletteChanged_t& m) {
    if (m.PalChg() == m_hWndC) return;
    if (m_frame) ClsBitMap::DoRealizePalette(m_frame->MainImage, m_hWndC, true);
    if (m_header && m_header->GetBorder())
        ClsBitMap::DoRealizePalette(m_header->GetBorder()->MainImage, m_hWndC, true);
}

void ClsSkinnedControl::WMQueryNewPalette(WMNoParams_t& m) {
    m.Result = m_frame ? static_cast<LRESULT>(ClsBitMap::DoRealizePalette(m_frame->MainImage, m_hWndC, false)) : 0;
}

void ClsSkinnedControl::WMRButtonDown(WMMouse_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMRButtonUp(WMMouse_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMSetCursor(WMSetCursor_t& m) { m.Handled = FALSE; }

void ClsSkinnedControl::WMSize(WMSize_t& m) {
    UpdateBounds();
    m.Handled = FALSE;
}

void ClsSkinnedControl::WMSysChar(WMKey_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMSysCommand(WMSysCommand_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMSysKeyDown(WMKey_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMSysKeyUp(WMKey_t& m) { m.Handled = FALSE; }

void ClsSkinnedControl::WMTimer(WMTimer_t& m) {
    switch (m.TimerID()) {
    case kHoverTimer: {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        if (cursor.x != m_hoverCursor.x || cursor.y != m_hoverCursor.y) {
            ::KillTimer(m_hWndC, kHoverTimer);
            if (m_header) m_header->SetHoveredButton(hbNone);
        }
        break;
    }
    case kSpareTimer: ::KillTimer(m_hWndC, kSpareTimer); break;
    default: m.Handled = FALSE; break;
    }
}

void ClsSkinnedControl::WMWindowPosChanged(WMWindowPosMsg_t& m) { m.Handled = FALSE; }
void ClsSkinnedControl::WMWindowPosChanging(WMWindowPosMsg_t& m) { m.Handled = FALSE; }
