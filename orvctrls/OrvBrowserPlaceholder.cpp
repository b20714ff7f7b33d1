#include "OrvBrowserPlaceholder.h"

#include "OrvWindowClass.h"

#include "CPaintDC.h"

namespace {
const char* const kWindowClass = "OrvBannerPage";
}

OrvBrowserPlaceholder::OrvBrowserPlaceholder() = default;

OrvBrowserPlaceholder::~OrvBrowserPlaceholder() {
    if (GetSafeHwnd()) DestroyWindow();
}

bool OrvBrowserPlaceholder::Create(CWnd* panel, UINT id, UINT failedMessage) {
    if (!panel || GetSafeHwnd()) return false;
    m_panel = panel->GetSafeHwnd();
    m_failedMessage = failedMessage;
    return CreateEx(0, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, -1000, -1000, 0, 0, m_panel,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void OrvBrowserPlaceholder::Navigate(const CString& url) {
    m_location = url;
    ++m_navigations;
    if (m_panel) ::PostMessageA(m_panel, m_failedMessage, 0, 0);
}

BOOL OrvBrowserPlaceholder::PreCreateWindow(CREATESTRUCTA& create) {
    return OrvWindowClass::Prepare(create, kWindowClass) ? TRUE : FALSE;
}

BOOL OrvBrowserPlaceholder::OnEraseBkgnd(CDC*) { return TRUE; }

void OrvBrowserPlaceholder::OnPaint() {
    CPaintDC dc(this);
    RECT client{};
    GetClientRect(&client);
    ::FillRect(dc.GetSafeHdc(), &client, reinterpret_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::FrameRect(dc.GetSafeHdc(), &client, reinterpret_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    const int oldMode = ::SetBkMode(dc.GetSafeHdc(), TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc.GetSafeHdc(), RGB(96, 96, 96));
    HGDIOBJ oldFont = ::SelectObject(dc.GetSafeHdc(), ::GetStockObject(DEFAULT_GUI_FONT));
    ::DrawTextA(dc.GetSafeHdc(), kText, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc.GetSafeHdc(), oldFont);
    ::SetTextColor(dc.GetSafeHdc(), oldColour);
    ::SetBkMode(dc.GetSafeHdc(), oldMode);
}

const char* OrvBrowserPlaceholder::GetRuntimeClassName() const { return "OrvBrowserPlaceholder"; }
