#pragma once
// The small panel of the main window that greets the member by name, shows
// a busy clock while the main program waits for the server, and holds the
// network's message page.
#include "OrvBrowserPlaceholder.h"
#include "OrvCtrlsExport.h"

#include "ClsBitMap.h"
#include "ClsFont.h"
#include "ClsSkinnedWnd.h"

#include <atomic>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <mutex>
#include <thread>

class ORVCTRLS_API OrvMessagePanelCtrl : public ClsSkinnedWnd<CWnd> {
public:
    static constexpr UINT kControlId = 90;
    static constexpr UINT kBrowserId = 1;
    static constexpr const char* kWindowClass = "OrvBannerCtrl";
    static constexpr int kPageWidth = 196;
    static constexpr int kPageHeight = 79;
    static constexpr int kChildAreaWidth = 191;
    static constexpr int kChildAreaHeight = 74;
    static constexpr unsigned kRepaintPeriodMs = 250;
    static constexpr int kGreetingY = 5;
    static constexpr int kUserNameY = 30;

    // Makes the window at once (zero size until the skin reader places
    // it) and starts the repaint thread.
    explicit OrvMessagePanelCtrl(CWnd* parent);
    // Ends the repaint thread before the window goes.
    ~OrvMessagePanelCtrl() override;

    // Stores the address (line breaks become blanks, outer blanks go) and
    // navigates to it with "&sv=<seconds>" appended; an empty address
    // navigates to the empty address.
    void SetURL(const CString& url);
    // Navigates again to the stored address with a fresh suffix.
    void RepeatURL();
    const CString& GetURL() const { return m_url; }
    // The address the page was last sent to.
    CString GetLocation() const { return m_browser.GetLocation(); }
    // How often the page was sent to an address (loads and reloads).
    int GetNavigationCount() const { return m_browser.GetNavigationCount(); }

    void SetUserName(const CString& name);
    const CString& GetUserName() const { return m_userName; }
    void SetGreetingFont(const ClsFont& font);
    const ClsFont& GetGreetingFont() const { return m_greetingFont; }

    // Counted: every StartClock needs its StopClock before the greeting
    // comes back.
    void StartClock();
    void StopClock();
    bool GetIsClock() const { return m_clockRunning; }
    int GetClockRefCount() const { return m_clockRefCount; }
    int GetClockFrame() const { return m_clockFrame; }
    // The clock's frames, stacked vertically in one image (the skin reader
    // loads it), and their count.
    ClsBitMap& GetClockImage() { return m_clockImage; }
    void SetClockSteps(int steps) { m_clockSteps = steps; }
    int GetClockSteps() const { return m_clockSteps; }

    // Shows (non-zero) or hides the page; an error page stays hidden.
    void SetBannerVisible(int visible);
    int GetBannerVisible() const { return m_bannerVisible; }
    bool IsWebError() const { return m_webError; }
    bool IsPageShown() const;
    // Non-zero lets the page navigate; zero stops navigating and hides it.
    void EnableBrowser(int enable);
    bool GetBrowserEnabled() const { return m_browserEnabled; }

    // The page's events. A completed document whose title is non-empty and
    // not "refresh" is an error page. Every event restores the arrow cursor.
    void OnBeforeNavigate2(const char* url);
    void OnNavigateComplete2(const char* url);
    void OnDocumentComplete(const char* url);
    void OnDownloadComplete();
    void OnCommandStateChange(long command, bool enabled);
    void OnNewWindow2(bool* cancel);
    void OnProgressChange(long progress, long progressMax);
    void OnStatusTextChange(const char* text);
    void OnTitleChange(const char* title);
    void OnQuit();
    // The page could not be loaded at all.
    void OnNavigateError();

    // The greeting for a local hour 0 to 23.
    static const char* GetGreeting(int hour);
    // The clock of the address suffix and the greeting (time() by default).
    void SetTimeSource(std::function<time_t()> now) { m_now = std::move(now); }
    // The skinned child area, set on every resize.
    SIZE GetChildArea() const { return m_childArea; }
    // How often the repaint thread asked for a repaint.
    long GetRepaintRequests() const { return m_repaintRequests; }

    const char* GetRuntimeClassName() const override;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& create) override;
    void CreateHandle() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void WMPaint(WMNoParams_t& message) override;
    void WMEraseBkGnd(WMEraseBkGnd_t& message) override;
    void WMSize(WMSize_t& message) override;

private:
    void Navigate(const CString& url);
    void PlacePage();
    void BrowserEvent();
    void Draw(CDC& dc, int width, int height);
    void RepaintLoop();
    void StopRepaintThread();
    time_t Now() const { return m_now ? m_now() : ::time(nullptr); }

    CWnd* m_parent;
    OrvBrowserPlaceholder m_browser;
    ClsFont m_greetingFont;
    ClsBitMap m_clockImage;
    int m_clockSteps = 0;
    CString m_userName;
    CString m_url;
    CString m_title;
    int m_bannerVisible = 0;
    bool m_webError = false;
    bool m_browserEnabled = true;
    std::atomic<bool> m_clockRunning{false};
    std::atomic<bool> m_finalRepaint{false};
    int m_clockRefCount = 0;
    int m_clockFrame = 0;
    SIZE m_childArea{0, 0};
    std::function<time_t()> m_now;
    HCURSOR m_arrow;
    std::atomic<long> m_repaintRequests{0};
    std::atomic<HWND> m_window{nullptr};

    std::mutex m_threadMutex;
    std::condition_variable m_threadWake;
    bool m_threadStop = false;
    std::thread m_repaintThread;
};
