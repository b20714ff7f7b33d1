#pragma once
// The base of the cloud's three pop-ups: a borderless tool window shaped as
// a balloon (window region and smooth painting from one CBalloonShape),
// placed next to its request's point, painted off-screen. The notifier owns
// each pop-up; a pop-up reports to it and never deletes itself.
#include "CBalloonShape.h"
#include "CCloudCanvas.h"
#include "NotifyRequest.h"

#include "CDoubleBufferWnd.h"
#include "CFont.h"

class CNotifier;

class CNotifyPopup : public CDoubleBufferWnd {
public:
    // The cloud's look.
    static constexpr COLORREF kFrame = RGB(36, 104, 206);
    static constexpr COLORREF kFill = RGB(255, 255, 255);
    static constexpr COLORREF kText = RGB(34, 40, 49);
    static constexpr COLORREF kTitle = RGB(20, 64, 140);
    static constexpr float kFrameWidth = 2.0f;
    static constexpr int kRadius = 14;
    static constexpr int kPadding = 16;

    CNotifyPopup(CNotifier& notifier, const NOTIFYREQUEST& request);
    ~CNotifyPopup() override;

    // Makes the window (owned by owner, caption by kind) and shows it.
    bool Open(HWND owner);
    // Hides and destroys the window; its timers stop.
    void Close();

    const NOTIFYREQUEST& Request() const { return m_request; }
    const CBalloonShape& Shape() const { return m_shape; }
    // A timer of this pop-up fired (a window timer, or a test's tick).
    virtual void OnTick(UINT id) { (void)id; }

    void DoPaint(CDC& dc, const CRect& client) override;
    const char* GetRuntimeClassName() const override;

protected:
    // The full size of the window, tail included.
    virtual SIZE FullSize() = 0;
    // Smooth shapes on the canvas, then text and bitmaps with GDI, inside
    // the balloon's body.
    virtual void PaintShapes(CCloudCanvas& canvas, const RECT& body) { (void)canvas, (void)body; }
    virtual void PaintText(CDC& dc, const RECT& body) = 0;
    virtual bool TakesActivation() const { return false; }
    virtual const char* Caption() const { return "Test"; }

    // Gives the window size (tail included) and places and shapes it anew.
    void Reshape(SIZE size);
    // After Reshape: the body is known, hot areas can be laid out.
    virtual void OnReshaped(const RECT& body) { (void)body; }
    // Text measurement and drawing in the pop-up's fonts.
    SIZE MeasureText(const CString& text, CFont& font, int maxWidth);
    // A bitmap resource of the program at (x, y).
    void DrawBitmap(CDC& dc, UINT id, int x, int y);
    // The first line in the bold font, the rest below it; returns the
    // height used.
    int DrawTitledText(CDC& dc, const CString& text, RECT area);
    SIZE MeasureTitledText(const CString& text, int maxWidth);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;

    CNotifier& m_notifier;
    NOTIFYREQUEST m_request;
    CBalloonShape m_shape{1, 1, CBalloonShape::tailNone, 0, 0};
    CFont m_font;
    CFont m_bold;
};
