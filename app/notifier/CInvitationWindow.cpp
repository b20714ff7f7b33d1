#include "CInvitationWindow.h"

#include "CNotifier.h"

#include "CScopedSelect.h"

#include <algorithm>

namespace {
constexpr int kBitmapSize = 40;
constexpr int kGap = 12;
constexpr int kButtonHeight = 30;
constexpr int kButtonRadius = 8;

COLORREF Hot(COLORREF color) { return MixColor(color, RGB(255, 255, 255), 0.18f); }
}  // namespace

CInvitationWindow::CInvitationWindow(CNotifier& notifier, const NOTIFYREQUEST& request)
    : CNotifyPopup(notifier, request) {}

SIZE CInvitationWindow::FullSize() {
    const int textWidth = kWidth - 2 * kPadding - kBitmapSize - kGap;
    m_textHeight = std::max<int>(kBitmapSize, MeasureTitledText(m_request.text, textWidth).cy);
    const int body = kPadding + m_textHeight + kPadding + kButtonHeight + kPadding;
    return {kWidth, body + CBalloonShape::kTailHeight};
}

void CInvitationWindow::Layout(const RECT& body) {
    const int top = body.top + kPadding + m_textHeight + kPadding;
    const int width = (body.right - body.left - 3 * kPadding + 4) / 2;
    m_accept = {body.left + kPadding - 2, top, body.left + kPadding - 2 + width, top + kButtonHeight};
    m_decline = {body.right - kPadding + 2 - width, top, body.right - kPadding + 2, top + kButtonHeight};
}

int CInvitationWindow::OnCreate(LPCREATESTRUCTA create) {
    const int result = CNotifyPopup::OnCreate(create);
    m_notifier.GetTimers().Start(m_hWnd, CNotifier::kTimerInvitation, CNotifier::kInvitationMs);
    return result;
}

void CInvitationWindow::OnTick(UINT id) {
    if (id != CNotifier::kTimerInvitation) return;
    m_notifier.GetTimers().Stop(m_hWnd, id);
    m_notifier.OnInvitationAnswer(this, false);
}

void CInvitationWindow::PaintShapes(CCloudCanvas& canvas, const RECT&) {
    canvas.FillRoundRect(m_accept, kButtonRadius, m_hot == 1 ? Hot(kAcceptColor) : kAcceptColor);
    canvas.FillRoundRect(m_decline, kButtonRadius, m_hot == 2 ? Hot(kDeclineColor) : kDeclineColor);
}

void CInvitationWindow::PaintText(CDC& dc, const RECT& body) {
    DrawBitmap(dc, CNotifier::kBitmapMark, body.left + kPadding, body.top + kPadding);
    const int textLeft = body.left + kPadding + kBitmapSize + kGap;
    const SIZE text = MeasureTitledText(m_request.text, body.right - kPadding - textLeft);
    RECT area{textLeft, body.top + kPadding + std::max<int>(0, (m_textHeight - text.cy) / 2), body.right - kPadding,
              body.top + kPadding + m_textHeight};
    DrawTitledText(dc, m_request.text, area);
    CScopedSelect select(dc, m_bold);
    dc.SetTextColor(RGB(255, 255, 255));
    RECT accept = m_accept, decline = m_decline;
    ::DrawTextA(dc, "Let's chat!", -1, &accept, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::DrawTextA(dc, "Not Now...", -1, &decline, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

int CInvitationWindow::HotAt(CPoint point) const {
    if (::PtInRect(&m_accept, point)) return 1;
    if (::PtInRect(&m_decline, point)) return 2;
    return 0;
}

BOOL CInvitationWindow::OnSetCursor(CWnd*, UINT hitTest, UINT) {
    POINT point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    const bool hot = hitTest == HTCLIENT && HotAt(point) != 0;
    ::SetCursor(::LoadCursorA(nullptr, hot ? IDC_HAND : IDC_ARROW));
    return TRUE;
}

void CInvitationWindow::OnMouseMove(UINT, CPoint point) {
    if (!m_tracking) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        m_tracking = ::TrackMouseEvent(&track) != FALSE;
    }
    const int hot = HotAt(point);
    if (hot != m_hot) {
        m_hot = hot;
        Invalidate(FALSE);
    }
}

void CInvitationWindow::OnMouseLeave() {
    m_tracking = false;
    if (m_hot) {
        m_hot = 0;
        Invalidate(FALSE);
    }
}

void CInvitationWindow::OnLButtonUp(UINT, CPoint point) {
    const int hot = HotAt(point);
    if (hot) m_notifier.OnInvitationAnswer(this, hot == 1);
}

const char* CInvitationWindow::GetRuntimeClassName() const { return "CInvitationWindow"; }
