#pragma once
// Helpers of the update tests: a window that records what is posted to it,
// a server command channel that plays the main frame's part, the settings
// the tests change (restored afterwards), and files in the temp directory.
#include "OrvConnectManager.h"
#include "OrvIUpdateHost.h"
#include "OrvVersionCheck.h"
#include "TestSupport.h"

#include <windows.h>

#include <string>
#include <vector>

namespace updatetest {

const unsigned kGenerousMs = 120000;

// A hidden top-level window that records the start-upgrade message and
// WM_CLOSE (with their parameters) instead of acting on them.
class RecordingWindow {
public:
    struct Posted {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    explicit RecordingWindow(const char* title = "Orvane test window");
    ~RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND Get() const { return m_window; }
    int CountOf(UINT message) const;
    const std::vector<Posted>& Messages() const { return m_messages; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window = nullptr;
    std::vector<Posted> m_messages;
};

// The main frame's part: the channel and the host of the version check.
class FrameStandIn : public OrvConnectManager, public OrvIUpdateHost {
public:
    OrvVersionCheck* check = nullptr;
    std::vector<std::pair<std::string, std::string>> requests;  // session, version
    std::vector<std::string> notices;
    std::vector<std::vector<std::string>> versionAnswers;
    std::vector<std::string> failed;
    std::string loginCode;
    std::string session;

    void SendVersionRequest(const CString& session, const CString& version) override;
    void ShowUpdateNotice(const CString& text) override;

protected:
    void OnCommandFailed(CString commandId) override;
    void OnLogInAnswer(CString code, CString memberId, CString key, CString firstName,
                       CString lastName, CString occupation, CString sessionId, int bannerPeriod,
                       CString panelUrl1, CString chatServer, CString chatPort, CString chatDelay,
                       CString panelUrl2, CString chatPingRate, int idleLimit, int reserved,
                       CString serverInfo) override;
    void OnVersionAnswer(CString code, CString action, CString arg1, CString arg2) override;
};

// Restores the settings the tests change: "version", the last check date
// and its year.
class SettingsGuard {
public:
    SettingsGuard();
    ~SettingsGuard();
    SettingsGuard(const SettingsGuard&) = delete;
    SettingsGuard& operator=(const SettingsGuard&) = delete;

private:
    CString m_version;
    unsigned long m_check;
    unsigned long m_year;
};

// Files named "Orv*.tmp" in the temporary directory.
std::vector<std::string> TempArchives();
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// Bytes that no two positions of a short period repeat in.
std::string PatternBytes(size_t size, unsigned seed);
// An update archive as far as the download can tell: the cabinet
// signature "MSCF", then pattern bytes, size bytes in all.
std::string ArchiveBytes(size_t size, unsigned seed);
// Creates a folder and every missing folder above it (Windows path).
bool MakeFolders(const std::string& path);

SYSTEMTIME Date(WORD year, WORD month, WORD day);

}  // namespace updatetest
