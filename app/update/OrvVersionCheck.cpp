#include "OrvVersionCheck.h"

#include "OrvCheckDate.h"
#include "OrvMessages.h"
#include "OrvRegistry.h"
#include "OrvUpdateTexts.h"

#include <cerrno>
#include <cstdlib>

OrvVersionCheck::OrvVersionCheck(OrvIUpdateHost& host, OrvRegistry& settings)
    : m_host(host), m_settings(settings) {}

OrvVersionCheck::~OrvVersionCheck() {
    if (m_window) ::KillTimer(m_window, kRetryTimerId);
    m_download.Cancel();
    DropUnagreedArchive();
}

void OrvVersionCheck::DropUnagreedArchive() {
    // An archive the member did not agree to would only fill the temporary
    // directory; one agreed to belongs to the updater from now on.
    const CString waiting = m_download.TakeFile();
    if (!waiting.IsEmpty()) ::DeleteFileA(waiting);
    if (!m_updateDownloaded && !m_updateFile.IsEmpty()) {
        ::DeleteFileA(m_updateFile);
        m_updateFile.Empty();
    }
}

void OrvVersionCheck::SetToday(const SYSTEMTIME* today) {
    m_fixedToday = today != nullptr;
    if (today) m_today = *today;
}

SYSTEMTIME OrvVersionCheck::Today() const {
    if (m_fixedToday) return m_today;
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return now;
}

UINT OrvVersionCheck::StartUpgradeMessage() {
    static const UINT message = ::RegisterWindowMessageA(ORV_MSGNAME_START_UPGRADE);
    return message;
}

int OrvVersionCheck::ParseAction(const CString& action) {
    const char* text = action;
    if (!*text) return -1;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (*end || errno == ERANGE || value < 0 || value > 1000) return -1;
    return static_cast<int>(value);
}

int OrvVersionCheck::RetryMinutes(const CString& minutes) {
    const char* text = minutes;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end || errno == ERANGE || value < 0 || value > kMaxRetryMinutes)
        return kMaxRetryMinutes;
    return value == 0 ? 1 : static_cast<int>(value);
}

bool OrvVersionCheck::OnConnected(const CString& session) {
    const SYSTEMTIME today = Today();
    const DWORD stored = m_settings.GetVersionCheck();
    const WORD storedYear = static_cast<WORD>(m_settings.GetOrvDWord(ORV_UPDATE_CHECK_YEAR_VALUE));
    if (!OrvCheckDate::IsDue(stored, storedYear, today)) return false;
    m_session = session;
    m_version = m_settings.GetVersion();
    SendRequest();
    return true;
}

void OrvVersionCheck::SendRequest() { m_host.SendVersionRequest(m_session, m_version); }

void OrvVersionCheck::RecordCheckedToday() {
    const SYSTEMTIME today = Today();
    m_settings.SetVersionCheck(OrvCheckDate::Encode(today.wMonth, today.wDay));
    m_settings.SetOrvDWord(ORV_UPDATE_CHECK_YEAR_VALUE, today.wYear);
}

void OrvVersionCheck::OnVersionAnswer(const CString& code, const CString& action, const CString& arg1,
                                      const CString& arg2) {
    // A refused request carries no action; it must not count as a check.
    if (code.Compare("0") != 0) return;
    switch (ParseAction(action)) {
        case 0:
            RecordCheckedToday();
            break;
        case 1:
            StartDownload(arg1, arg2);
            break;
        case 2: {
            const int minutes = RetryMinutes(arg2);
            m_retryDelayMs = static_cast<UINT>(minutes) * 60000u;
            if (m_window) ::SetTimer(m_window, kRetryTimerId, m_retryDelayMs, nullptr);
            break;
        }
        default:
            break;
    }
}

void OrvVersionCheck::OnRetryTimer() {
    if (m_window) ::KillTimer(m_window, kRetryTimerId);
    m_retryDelayMs = 0;
    SendRequest();
}

void OrvVersionCheck::StartDownload(const CString& version, const CString& url) {
    // One update per run: while one downloads or waits for the member, a
    // repeated answer (every re-connection of the day asks again) is ignored.
    const OrvUpdateDownload::State state = m_download.GetState();
    if (state == OrvUpdateDownload::State::Running || state == OrvUpdateDownload::State::Done ||
        !m_updateFile.IsEmpty())
        return;
    if (!m_window || !OrvUpdateDownload::IsDownloadableUrl(url)) return;
    m_host.ShowUpdateNotice(ORV_UPDATE_NOTICE_TEXT);
    m_downloadUrl = url;
    m_versionArgument = version;
    m_download.Start(url, m_window, StartUpgradeMessage());
}

HWND OrvVersionCheck::OnStartUpgrade() {
    const CString file = m_download.TakeFile();
    if (!file.IsEmpty()) {
        if (!m_updateFile.IsEmpty() && m_updateFile.Compare(file) != 0) ::DeleteFileA(m_updateFile);
        m_updateFile = file;
        m_updateDownloaded = false;
    }
    if (m_updateFile.IsEmpty() || m_updateDownloaded) return nullptr;
    HWND owner = ::GetFocus();
    char title[64] = {};
    if (!owner || ::GetWindowTextA(owner, title, sizeof title) == 0 ||
        lstrcmpA(title, ORV_UPDATE_MENU_TITLE) == 0)
        owner = m_window;
    if (owner) {
        ::BringWindowToTop(owner);
        ::SetForegroundWindow(owner);
    }
    return owner;
}

bool OrvVersionCheck::AgreeToInstall() {
    if (m_updateFile.IsEmpty()) return false;
    m_updateDownloaded = true;
    if (m_window) ::PostMessageA(m_window, WM_CLOSE, 1, 1);
    return true;
}
