#include "GalleryPanel.h"

#include "ClsFrameDrawer.h"
#include "ClsSkinnedHeader.h"

#include "CPaintDC.h"

GalleryPanel::GalleryPanel(HWND parent, UINT id, const char* text, COLORREF textColor)
    : m_parent(parent), m_id(id), m_text(text), m_textColor(textColor) {}

GalleryPanel::~GalleryPanel() {
    if (m_hWnd) DestroyWindow();
}

void GalleryPanel::CreateHandle() {
    if (m_hWnd || !m_parent) return;
    if (CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, GetLeft(), GetTop(), GetWidth(), GetHeight(),
                 m_parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(m_id))))
        SetHandleC(m_hWnd);
}

void GalleryPanel::WMNcHitTest(WMNCHitTest_t& message) {
    // The header's buttons; the rest is the window's own.
    const UINT code = GetHeader() ? GetHeader()->GetHitTestCode(message.Pos()) : HTNOWHERE;
    if (code == HTNOWHERE) {
        message.Handled = FALSE;
        return;
    }
    message.Result = code;
}

void GalleryPanel::WMPaint(WMNoParams_t&) {
    CPaintDC dc(this);
    RECT client{};
    GetClientRect(&client);
    const ControlBorderInfo_t* frame = GetBorder();
    if (!ClsFrameDrawer::FillContent(dc.GetSafeHdc(), frame, client.right, client.bottom))
        dc.FillSolidRect(client, frame ? frame->BgColor : ::GetSysColor(COLOR_BTNFACE));
    if (m_text.IsEmpty()) return;
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), font);
    ::SetBkMode(dc.GetSafeHdc(), TRANSPARENT);
    ::SetTextColor(dc.GetSafeHdc(), m_textColor);
    ::DrawTextA(dc.GetSafeHdc(), m_text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc.GetSafeHdc(), old);
}
