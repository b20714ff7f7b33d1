#include "CNotifyPopup.h"

#include "CNotifier.h"
#include "CNotifyPlacement.h"

#include "CBitmap.h"
#include "CClientDC.h"
#include "CScopedSelect.h"

#include <algorithm>

namespace {

const char* PopupClass() {
    static const char* name = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, nullptr);
    return name;
}

bool MakeFont(CFont& font, int weight) {
    // Tahoma reads well at small sizes and comes with Windows and Wine alike.
    return font.CreateFont(-13, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

}  // namespace

CNotifyPopup::CNotifyPopup(CNotifier& notifier, const NOTIFYREQUEST& request)
    : m_notifier(notifier), m_request(request) {
    MakeFont(m_font, FW_NORMAL);
    MakeFont(m_bold, FW_BOLD);
}

CNotifyPopup::~CNotifyPopup() {
    if (IsWindow()) Close();
}

bool CNotifyPopup::Open(HWND owner) {
    const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | (TakesActivation() ? 0 : WS_EX_NOACTIVATE);
    if (!CreateEx(exStyle, PopupClass(), Caption(), WS_POPUP, 0, 0, 1, 1, owner, nullptr)) {
        ::OutputDebugStringA("notifier: the pop-up window could not be made\n");
        return false;
    }
    Reshape(FullSize());
    if (TakesActivation()) {
        ShowWindow(SW_SHOW);
        SetForegroundWindow();
    } else {
        ShowWindow(SW_SHOWNOACTIVATE);
    }
    UpdateWindow();
    return true;
}

void CNotifyPopup::Close() {
    if (!IsWindow()) return;
    m_notifier.GetTimers().StopAll(m_hWnd);
    ShowWindow(SW_HIDE);
    DestroyWindow();
}

void CNotifyPopup::Reshape(SIZE size) {
    const POINT point{m_request.x, m_request.y};
    const NotifyPlace place = CNotifyPlacement::NextTo(point, size, CNotifyPlacement::WorkAreaAt(point));
    m_shape = CBalloonShape(size.cx, size.cy, place.tail, place.tipX, kRadius);
    SetWindowPos(HWND_TOPMOST, place.window.left, place.window.top, size.cx, size.cy, SWP_NOACTIVATE);
    // The system owns the region from here on.
    SetWindowRgn(m_shape.MakeRegion(), TRUE);
    OnReshaped(m_shape.Body());
    Invalidate(FALSE);
}

void CNotifyPopup::DoPaint(CDC& dc, const CRect& client) {
    CCloudCanvas canvas(client.Width(), client.Height(), kFill);
    canvas.PaintBalloon(m_shape, kFill, kFrame, kFrameWidth);
    RECT body = m_shape.Body();
    PaintShapes(canvas, body);
    canvas.CopyTo(dc, 0, 0);
    dc.SetBkMode(TRANSPARENT);
    // Text stays inside the body and clear of the frame.
    CScopedSaveDC saved(dc);
    ::IntersectClipRect(dc, body.left + 2, body.top + 2, body.right - 2, body.bottom - 2);
    PaintText(dc, body);
}

SIZE CNotifyPopup::MeasureText(const CString& text, CFont& font, int maxWidth) {
    CClientDC screen(static_cast<HWND>(nullptr));
    CScopedSelect select(screen, font);
    RECT rect{0, 0, maxWidth, 0};
    ::DrawTextA(screen, text, text.GetLength(), &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

namespace {
void SplitTitle(const CString& text, CString& title, CString& rest) {
    const int at = text.Find('\n');
    if (at < 0) {
        title = text;
        rest.Empty();
        return;
    }
    title = text.Left(at);
    title.TrimRight("\r");
    rest = text.Mid(at + 1);
}
}  // namespace

SIZE CNotifyPopup::MeasureTitledText(const CString& text, int maxWidth) {
    CString title, rest;
    SplitTitle(text, title, rest);
    const SIZE a = MeasureText(title, m_bold, maxWidth);
    const SIZE b = rest.IsEmpty() ? SIZE{0, 0} : MeasureText(rest, m_font, maxWidth);
    return {std::max(a.cx, b.cx), a.cy + (rest.IsEmpty() ? 0 : 3 + b.cy)};
}

int CNotifyPopup::DrawTitledText(CDC& dc, const CString& text, RECT area) {
    CString title, rest;
    SplitTitle(text, title, rest);
    const int top = area.top;
    {
        CScopedSelect select(dc, m_bold);
        dc.SetTextColor(kTitle);
        RECT measured = area;
        ::DrawTextA(dc, title, title.GetLength(), &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        ::DrawTextA(dc, title, title.GetLength(), &area, DT_WORDBREAK | DT_NOPREFIX);
        area.top += measured.bottom - measured.top + 3;
    }
    if (!rest.IsEmpty()) {
        CScopedSelect select(dc, m_font);
        dc.SetTextColor(kText);
        RECT measured = area;
        ::DrawTextA(dc, rest, rest.GetLength(), &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        ::DrawTextA(dc, rest, rest.GetLength(), &area, DT_WORDBREAK | DT_NOPREFIX);
        area.top += measured.bottom - measured.top;
    }
    return area.top - top;
}

void CNotifyPopup::DrawBitmap(CDC& dc, UINT id, int x, int y) {
    CBitmap bitmap;
    if (!bitmap.Attach(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                                    LR_CREATEDIBSECTION)))
        return;
    BITMAP info{};
    ::GetObjectA(bitmap, sizeof info, &info);
    CDC memory;
    if (!memory.CreateCompatibleDC(&dc)) return;
    CScopedSelect select(memory, bitmap);
    ::BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
}

LRESULT CNotifyPopup::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEACTIVATE && !TakesActivation()) return MA_NOACTIVATE;
    return CDoubleBufferWnd::WindowProc(message, wParam, lParam);
}

void CNotifyPopup::OnTimer(UINT_PTR id) {
    // Only timers the notifier's clock knows: a late tick of a stopped
    // timer is dropped.
    if (m_notifier.GetTimers().IsRunning(m_hWnd, static_cast<UINT>(id))) OnTick(static_cast<UINT>(id));
}

void CNotifyPopup::OnDestroy() {
    m_notifier.GetTimers().StopAll(m_hWnd);
    CDoubleBufferWnd::OnDestroy();
}

const char* CNotifyPopup::GetRuntimeClassName() const { return "CNotifyPopup"; }
