#include "CComponent.h"

#include "CSkin.h"

#include "OrvMessages.h"

const UINT CComponent::WM_GET_SKIN_THEMA = ::RegisterWindowMessageA(ORV_MSGNAME_GET_SKIN_THEMA);

namespace {
// The theme a window of this process answers; empty when none does.
CString AskTheme(HWND window) {
    CString theme;
    DWORD process = 0;
    if (window && CComponent::WM_GET_SKIN_THEMA && ::GetWindowThreadProcessId(window, &process) &&
        process == ::GetCurrentProcessId())
        ::SendMessageA(window, CComponent::WM_GET_SKIN_THEMA, 0, reinterpret_cast<LPARAM>(&theme));
    return theme;
}
}  // namespace

CComponent::CComponent() = default;

CComponent::~CComponent() = default;

template <class View>
void CComponent::Call(void (CComponent::*handler)(View&), WMMessage_t& record) {
    View view;
    static_cast<WMMessage_t&>(view) = record;
    (this->*handler)(view);
    record = view;
}

bool CComponent::RouteTable(WMMessage_t& record) {
    using C = CComponent;
    switch (record.Msg) {
    case WM_MOVE: Call(&C::OnMove, record); return true;
    case WM_SIZE: Call(&C::OnSize, record); return true;
    case WM_ACTIVATE: Call(&C::OnActivate, record); return true;
    case WM_PAINT: Call(&C::OnPaint, record); return true;
    case WM_ERASEBKGND: Call(&C::OnEraseBkGnd, record); return true;
    case WM_ACTIVATEAPP: Call(&C::OnActivateApp, record); return true;
    case WM_SETCURSOR: Call(&C::OnSetCursor, record); return true;
    case WM_NCCALCSIZE: Call(&C::OnNcCalcSize, record); return true;
    case WM_NCHITTEST: Call(&C::OnNcHitTest, record); return true;
    case WM_NCPAINT: Call(&C::OnNcPaint, record); return true;
    case WM_NCACTIVATE: Call(&C::OnNcActivate, record); return true;
    case WM_NCMOUSEMOVE: Call(&C::OnNCMouseMove, record); return true;
    case WM_NCLBUTTONDOWN: Call(&C::OnNcLButtonDown, record); return true;
    case WM_NCLBUTTONUP: Call(&C::OnNCLButtonUp, record); return true;
    case WM_NCLBUTTONDBLCLK: Call(&C::OnNcLButtonDblClk, record); return true;
    case WM_NCRBUTTONDOWN: Call(&C::OnNcRButtonDown, record); return true;
    case WM_INITMENUPOPUP: Call(&C::OnInitMenuPopup, record); return true;
    case WM_MOUSEMOVE: Call(&C::OnMouseMove, record); return true;
    case WM_LBUTTONDOWN: Call(&C::OnLButtonDown, record); return true;
    case WM_LBUTTONUP: Call(&C::OnLButtonUp, record); return true;
    case WM_RBUTTONDOWN: Call(&C::OnRButtonDown, record); return true;
    case WM_RBUTTONUP: Call(&C::OnRButtonUp, record); return true;
    case WM_QUERYNEWPALETTE: Call(&C::OnQueryNewPalette, record); return true;
    case WM_PALETTECHANGED: Call(&C::OnPaletteChanged, record); return true;
    default: return false;
    }
}

LRESULT CComponent::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    if (message == WM_SYSCOMMAND)
        return OnSysCommand(static_cast<UINT>(wParam), CPoint(LParamX(lParam), LParamY(lParam)));
    if (CSkin::WM_SKIN_CHANGED && message == CSkin::WM_SKIN_CHANGED) return OnSkinChanged();
    if (WM_GET_SKIN_THEMA && message == WM_GET_SKIN_THEMA) {
        if (lParam) OnGetSkinThema(reinterpret_cast<CString*>(lParam));
        return CallNext(message, wParam, lParam);
    }
    WMMessage_t record{message, wParam, lParam, 0, TRUE};
    if (!RouteTable(record)) return CallNext(message, wParam, lParam);
    if (record.Handled) return record.Result;
    return CallNext(record.Msg, record.WParam, record.LParam);
}

bool CComponent::Install(HWND window) { return window && HookWindow(window); }

void CComponent::Uninstall() { HookWindow(static_cast<HWND>(nullptr)); }

void CComponent::Invalidate() {}

void CComponent::Refresh() {
    Invalidate();
    if (HWND window = GetHookedWindow()) {
        ::InvalidateRect(window, nullptr, TRUE);
        ::UpdateWindow(window);
    }
}

void CComponent::Repaint() {
    if (HWND window = GetHookedWindow())
        ::RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CComponent::OnSkinChanged() { return Default(); }

void CComponent::OnGetSkinThema(CString*) {}

void CComponent::OnMove(WMMove_t& m) { m.Result = Default(); }
void CComponent::OnSize(WMSize_t& m) { m.Result = Default(); }
void CComponent::OnActivate(WMActivate_t& m) { m.Result = Default(); }
void CComponent::OnPaint(WMNoParams_t& m) { m.Result = Default(); }
void CComponent::OnEraseBkGnd(WMEraseBkGnd_t& m) { m.Result = Default(); }
void CComponent::OnActivateApp(WMActivateApp_t& m) { m.Result = Default(); }
void CComponent::OnSetCursor(WMSetCursor_t& m) { m.Result = Default(); }
void CComponent::OnNcCalcSize(WMNCCalcSize_t& m) { m.Result = Default(); }
void CComponent::OnNcHitTest(WMNCHitTest_t& m) { m.Result = Default(); }
void CComponent::OnNcPaint(WMNCPaint_t& m) { m.Result = Default(); }
void CComponent::OnNcActivate(WMNCActivate_t& m) { m.Result = Default(); }
void CComponent::OnNCMouseMove(WMNCHitMessage_t& m) { m.Result = Default(); }
void CComponent::OnNcLButtonDown(WMNCHitMessage_t& m) { m.Result = Default(); }
void CComponent::OnNCLButtonUp(WMNCHitMessage_t& m) { m.Result = Default(); }
void CComponent::OnNcLButtonDblClk(WMNCHitMessage_t& m) { m.Result = Default(); }
void CComponent::OnNcRButtonDown(WMNCHitMessage_t& m) { m.Result = Default(); }
void CComponent::OnInitMenuPopup(WMInitMenuPopup_t& m) { m.Result = Default(); }
void CComponent::OnMouseMove(WMMouse_t& m) { m.Result = Default(); }
void CComponent::OnLButtonDown(WMMouse_t& m) { m.Result = Default(); }
void CComponent::OnLButtonUp(WMMouse_t& m) { m.Result = Default(); }
void CComponent::OnRButtonDown(WMMouse_t& m) { m.Result = Default(); }
void CComponent::OnRButtonUp(WMMouse_t& m) { m.Result = Default(); }
void CComponent::OnQueryNewPalette(WMNoParams_t& m) { m.Result = Default(); }
void CComponent::OnPaletteChanged(WMPaletteChanged_t& m) { m.Result = Default(); }

LRESULT CComponent::OnGetMinMaxInfo(MINMAXINFO*) { return Default(); }

LRESULT CComponent::OnSysCommand(UINT, CPoint) { return Default(); }

CSize CComponent::GetFrameSize() const {
    HWND window = GetHookedWindow();
    const bool thick = window && (::GetWindowLongPtrA(window, GWL_STYLE) & WS_THICKFRAME);
    return thick ? CSize(::GetSystemMetrics(SM_CXSIZEFRAME), ::GetSystemMetrics(SM_CYSIZEFRAME))
                 : CSize(::GetSystemMetrics(SM_CXDLGFRAME), ::GetSystemMetrics(SM_CYDLGFRAME));
}

CString CComponent::GetOwnerSkinName() const {
    HWND window = GetHookedWindow();
    // The window's own theme component answers first (a caption on the
    // main frame); a window without one takes the theme of its owner, or of
    // its parent (a push button of a dialog).
    CString theme = AskTheme(window);
    if (theme.IsEmpty() && window) {
        HWND above = ::GetWindow(window, GW_OWNER);
        if (!above) above = ::GetParent(window);
        theme = AskTheme(above);
    }
    if (!theme.IsEmpty()) theme += '\\';
    return theme + GetComponentName();
}
