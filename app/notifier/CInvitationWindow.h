#pragma once
// An incoming chat invitation: a balloon with the program's mark, the text
// ("<name>\r\ninvites to chat.") and two buttons, "Let's chat!" (green)
// and "Not Now..." (red), under a hand cursor. Unanswered for 60 seconds,
// the invitation is declined.
#include "CNotifyPopup.h"

class CInvitationWindow : public CNotifyPopup {
public:
    static constexpr COLORREF kAcceptColor = RGB(40, 160, 72);
    static constexpr COLORREF kDeclineColor = RGB(214, 56, 70);
    static constexpr int kWidth = 284;

    CInvitationWindow(CNotifier& notifier, const NOTIFYREQUEST& request);

    // The buttons, in window coordinates.
    RECT GetAcceptRect() const { return m_accept; }
    RECT GetDeclineRect() const { return m_decline; }
    void OnTick(UINT id) override;
    const char* GetRuntimeClassName() const override;

protected:
    SIZE FullSize() override;
    void OnReshaped(const RECT& body) override { Layout(body); }
    void PaintShapes(CCloudCanvas& canvas, const RECT& body) override;
    void PaintText(CDC& dc, const RECT& body) override;
    int OnCreate(LPCREATESTRUCTA create) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    void OnLButtonUp(UINT flags, CPoint point) override;

private:
    void Layout(const RECT& body);
    int HotAt(CPoint point) const;  // 1 accept, 2 decline, 0 none

    RECT m_accept{};
    RECT m_decline{};
    int m_textHeight = 0;
    int m_hot = 0;
    bool m_tracking = false;
};
