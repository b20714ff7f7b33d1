#pragma once
#include "CString.h"
#include "OrvIUpdateHost.h"
#include "OrvUpdateDownload.h"

#include <windows.h>

class OrvRegistry;

// The daily version check and what follows from its answer: the download of
// an update in the background, the retry timer, and what the program needs
// at exit to hand the archive to the updater. One object, owned by the main
// frame and driven on its user-interface thread (see README.md for the
// calls). It owns the download thread and ends it before it goes; an
// archive the member did not agree to install is deleted then.
class OrvVersionCheck {
public:
    // Window timer of the "ask again later" answer.
    static const UINT_PTR kRetryTimerId = 5;
    // Longest wait the server may ask for, and what an out-of-range wait becomes.
    static const int kMaxRetryMinutes = 120;

    OrvVersionCheck(OrvIUpdateHost& host, OrvRegistry& settings);
    ~OrvVersionCheck();
    OrvVersionCheck(const OrvVersionCheck&) = delete;
    OrvVersionCheck& operator=(const OrvVersionCheck&) = delete;

    // The main window: owner of timer 5 and receiver of the start-upgrade
    // message and of the closing message.
    void SetWindow(HWND mainWindow) { m_window = mainWindow; }
    // A fixed "today" for tests; null goes back to the local clock.
    void SetToday(const SYSTEMTIME* today);

    // After every successful connection: sends the version request when the
    // last check is at least a day old. True when it was sent.
    bool OnConnected(const CString& session);
    // The version answer (code, action, argument 1, argument 2).
    void OnVersionAnswer(const CString& code, const CString& action, const CString& arg1,
                         const CString& arg2);
    // WM_TIMER with kRetryTimerId: the timer is killed and the request sent
    // again with the arguments of the last one.
    void OnRetryTimer();

    // The start-upgrade message: takes over the finished archive (as the
    // update file, not yet agreed to) and returns the window that should own
    // the consent question, brought to the front: the focused window of the
    // calling thread, or the main window when that has no title or is the
    // menu. Null when no finished archive is waiting: then ask nothing.
    HWND OnStartUpgrade();
    // The member agreed: marks the update as agreed and posts the closing
    // message (WM_CLOSE, wParam 1, lParam 1) to the main window. False when
    // no downloaded archive is waiting.
    bool AgreeToInstall();

    // For ExitInstance: whether to start the updater, and its two arguments.
    bool UpdateDownloaded() const { return m_updateDownloaded; }
    const CString& UpdateFile() const { return m_updateFile; }
    const CString& VersionArgument() const { return m_versionArgument; }

    // State for the frame's menus and for tests.
    const CString& DownloadUrl() const { return m_downloadUrl; }
    UINT RetryDelayMs() const { return m_retryDelayMs; }
    OrvUpdateDownload::State DownloadState() const { return m_download.GetState(); }

    // "action" as a decimal number; -1 when it is not one.
    static int ParseAction(const CString& action);
    // The wait of answer 2 in minutes: below 0 or above 120 (or not a
    // number) becomes 120; 0 becomes 1, so a careless answer cannot make
    // the program ask again and again without a pause.
    static int RetryMinutes(const CString& minutes);
    // The start-upgrade message's number in this process.
    static UINT StartUpgradeMessage();

private:
    SYSTEMTIME Today() const;
    void SendRequest();
    void RecordCheckedToday();
    void StartDownload(const CString& version, const CString& url);
    void DropUnagreedArchive();

    OrvIUpdateHost& m_host;
    OrvRegistry& m_settings;
    HWND m_window = nullptr;
    bool m_fixedToday = false;
    SYSTEMTIME m_today{};

    CString m_session;
    CString m_version;
    UINT m_retryDelayMs = 0;

    CString m_downloadUrl;
    CString m_versionArgument;
    CString m_updateFile;
    bool m_updateDownloaded = false;
    OrvUpdateDownload m_download;
};
