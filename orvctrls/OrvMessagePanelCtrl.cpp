#include "OrvMessagePanelCtrl.h"

#include "OrvBackgroundPainter.h"
#include "OrvWindowClass.h"

#include "CMemDC.h"
#include "CPaintDC.h"
#include "CScopedSelect.h"

#include <chrono>
#include <string>

namespace {

// Posted by the page when a navigation could not be done.
const UINT kNavigateFailed = WM_APP + 0x391;

}  // namespace

OrvMessagePanelCtrl::OrvMessagePanelCtrl(CWnd* parent)
    : m_parent(parent), m_arrow(::LoadCursorA(nullptr, IDC_ARROW)) {
    if (!parent || !parent->GetSafeHwnd() || !GetHandleC()) return;
    m_window = GetSafeHwnd();
    m_browser.Create(this, kBrowserId, kNavigateFailed);
    // Without OLE on this thread the panel simply takes part in no drop.
    GetDropTarget().Register(this);
    m_repaintThread = std::thread([this] { RepaintLoop(); });
}

OrvMessagePanelCtrl::~OrvMessagePanelCtrl() {
    StopRepaintThread();
    if (m_browser.GetSafeHwnd()) m_browser.DestroyWindow();
    if (GetSafeHwnd()) DestroyWindow();
}

BOOL OrvMessagePanelCtrl::PreCreateWindow(CREATESTRUCTA& create) {
    return OrvWindowClass::Prepare(create, kWindowClass) ? TRUE : FALSE;
}

void OrvMessagePanelCtrl::CreateHandle() {
    if (GetSafeHwnd() || !m_parent) return;
    if (CreateEx(0, kWindowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, GetLeft(), GetTop(),
                 GetWidth(), GetHeight(), m_parent->GetSafeHwnd(),
                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kControlId))))
        SetHandleC(GetSafeHwnd());
}

void OrvMessagePanelCtrl::StopRepaintThread() {
    {
        std::lock_guard<std::mutex> lock(m_threadMutex);
        m_threadStop = true;
    }
    m_threadWake.notify_all();
    if (m_repaintThread.joinable()) m_repaintThread.join();
}

// Only asks for repaints: every drawing happens on the panel's own thread.
void OrvMessagePanelCtrl::RepaintLoop() {
    std::unique_lock<std::mutex> lock(m_threadMutex);
    while (!m_threadStop) {
        m_threadWake.wait_for(lock, std::chrono::milliseconds(kRepaintPeriodMs), [this] { return m_threadStop; });
        if (m_threadStop) break;
        const bool running = m_clockRunning;
        if (running || m_finalRepaint.exchange(false)) {
            ++m_repaintRequests;
            if (HWND window = m_window) ::InvalidateRect(window, nullptr, FALSE);
        }
    }
}

const char* OrvMessagePanelCtrl::GetGreeting(int hour) {
    if (hour >= 6 && hour <= 11) return "Good morning";
    if (hour >= 12 && hour <= 17) return "Good afternoon";
    return "Good evening";
}

void OrvMessagePanelCtrl::SetURL(const CString& url) {
    CString cleaned = url;
    cleaned.Replace('\r', ' ');
    cleaned.Replace('\n', ' ');
    cleaned.Trim();
    m_url = cleaned;
    if (m_url.IsEmpty())
        Navigate(CString());
    else
        RepeatURL();
}

void OrvMessagePanelCtrl::RepeatURL() {
    if (m_url.IsEmpty()) {
        Navigate(CString());
        return;
    }
    const std::string seconds = std::to_string(static_cast<long long>(Now()));
    Navigate(m_url + "&sv=" + seconds.c_str());
}

void OrvMessagePanelCtrl::Navigate(const CString& url) {
    if (!m_browserEnabled || !m_browser.GetSafeHwnd()) return;
    m_browser.Navigate(url);
}

void OrvMessagePanelCtrl::SetUserName(const CString& name) {
    m_userName = name;
    if (GetSafeHwnd()) Invalidate(FALSE);
}

void OrvMessagePanelCtrl::SetGreetingFont(const ClsFont& font) {
    m_greetingFont = font;
    if (GetSafeHwnd()) Invalidate(FALSE);
}

void OrvMessagePanelCtrl::StartClock() {
    ++m_clockRefCount;
    if (!m_clockRunning) {
        m_clockFrame = 0;
        m_clockRunning = true;
    }
    if (GetSafeHwnd()) Invalidate(FALSE);
}

void OrvMessagePanelCtrl::StopClock() {
    if (m_clockRefCount == 0) return;
    if (--m_clockRefCount > 0) return;
    m_clockRunning = false;
    m_finalRepaint = true;
    if (GetSafeHwnd()) Invalidate(FALSE);
}

bool OrvMessagePanelCtrl::IsPageShown() const { return m_bannerVisible && !m_webError && m_browserEnabled; }

void OrvMessagePanelCtrl::SetBannerVisible(int visible) {
    m_bannerVisible = visible ? 1 : 0;
    PlacePage();
}

void OrvMessagePanelCtrl::EnableBrowser(int enable) {
    m_browserEnabled = enable != 0;
    PlacePage();
}

void OrvMessagePanelCtrl::PlacePage() {
    if (!m_browser.GetSafeHwnd()) return;
    if (IsPageShown())
        m_browser.SetWindowPos(static_cast<HWND>(nullptr), 0, 0, kPageWidth, kPageHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    else
        m_browser.SetWindowPos(static_cast<HWND>(nullptr), -1000, -1000, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    if (GetSafeHwnd()) Invalidate(FALSE);
}

void OrvMessagePanelCtrl::BrowserEvent() { ::SetCursor(m_arrow); }

void OrvMessagePanelCtrl::OnBeforeNavigate2(const char*) {
    BrowserEvent();
    m_title.Empty();
}

void OrvMessagePanelCtrl::OnNavigateComplete2(const char*) { BrowserEvent(); }

void OrvMessagePanelCtrl::OnDocumentComplete(const char*) {
    BrowserEvent();
    // A page of the message server has no title or the title "refresh";
    // any other title comes from an error page.
    if (!m_title.IsEmpty() && m_title.CompareNoCase("refresh") != 0) {
        m_webError = true;
        SetBannerVisible(0);
        return;
    }
    m_webError = false;
    if (!m_clockRunning) SetBannerVisible(1);
}

void OrvMessagePanelCtrl::OnDownloadComplete() { BrowserEvent(); }
void OrvMessagePanelCtrl::OnCommandStateChange(long, bool) { BrowserEvent(); }

void OrvMessagePanelCtrl::OnNewWindow2(bool* cancel) {
    BrowserEvent();
    // The panel is too small for anything but its own page.
    if (cancel) *cancel = true;
}

void OrvMessagePanelCtrl::OnProgressChange(long, long) { BrowserEvent(); }
void OrvMessagePanelCtrl::OnStatusTextChange(const char*) { BrowserEvent(); }

void OrvMessagePanelCtrl::OnTitleChange(const char* title) {
    BrowserEvent();
    m_title = title ? title : "";
}

void OrvMessagePanelCtrl::OnQuit() { BrowserEvent(); }

void OrvMessagePanelCtrl::OnNavigateError() {
    BrowserEvent();
    m_webError = true;
    SetBannerVisible(0);
}

LRESULT OrvMessagePanelCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kNavigateFailed) {
        OnNavigateError();
        return 0;
    }
    if (message == WM_NCDESTROY) m_window = nullptr;
    return ClsSkinnedWnd<CWnd>::WindowProc(message, wParam, lParam);
}

void OrvMessagePanelCtrl::WMSize(WMSize_t& message) {
    ClsSkinnedControl::WMSize(message);
    m_childArea = SIZE{kChildAreaWidth, kChildAreaHeight};
}

void OrvMessagePanelCtrl::WMEraseBkGnd(WMEraseBkGnd_t& message) { message.Result = 1; }

void OrvMessagePanelCtrl::WMPaint(WMNoParams_t&) {
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CMemDC dc(paint, client);
    Draw(dc, client.Width(), client.Height());
}

void OrvMessagePanelCtrl::Draw(CDC& dc, int width, int height) {
    OrvBackgroundPainter::Paint(dc.GetSafeHdc(), GetBorder(), width, height);
    if (m_clockRunning) {
        if (m_clockSteps > 0 && m_clockImage.GetIsValid()) {
            const int frameWidth = m_clockImage.GetWidth();
            const int frameHeight = m_clockImage.GetHeight() / m_clockSteps;
            if (m_clockFrame >= m_clockSteps) m_clockFrame = 0;
            const int left = (width - frameWidth) / 2;
            const int top = (height - frameHeight) / 2;
            const RECT destination{left, top, left + frameWidth, top + frameHeight};
            const RECT source{0, m_clockFrame * frameHeight, frameWidth, (m_clockFrame + 1) * frameHeight};
            m_clockImage.DrawTransparent(&dc, &destination, &source);
            m_clockFrame = (m_clockFrame + 1) % m_clockSteps;
        }
        return;
    }
    const time_t now = Now();
    const tm* local = ::localtime(&now);
    const int hour = local ? local->tm_hour : 0;
    HFONT font = m_greetingFont.GetHandle();
    CScopedSelect selected(dc.GetSafeHdc(), font);
    const int oldMode = ::SetBkMode(dc.GetSafeHdc(), TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc.GetSafeHdc(), m_greetingFont.GetColor());
    const UINT format = DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    RECT greeting{0, kGreetingY, width, kUserNameY};
    ::DrawTextA(dc.GetSafeHdc(), GetGreeting(hour), -1, &greeting, format);
    RECT name{0, kUserNameY, width, height};
    ::DrawTextA(dc.GetSafeHdc(), m_userName.GetString(), -1, &name, format);
    ::SetTextColor(dc.GetSafeHdc(), oldColour);
    ::SetBkMode(dc.GetSafeHdc(), oldMode);
}

const char* OrvMessagePanelCtrl::GetRuntimeClassName() const { return "OrvMessagePanelCtrl"; }
