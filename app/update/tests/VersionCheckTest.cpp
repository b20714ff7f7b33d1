// The daily check and the four answers against the real orvane-server on a
// free loopback port (its versions table offers 1.5.0 elsewhere and 2.0.0
// from its own download folder), with the settings in the Wine prefix's
// registry: a
// check that finds nothing new, a second check on the same day, a newer
// version downloaded from the server and handed over for the updater.
#include "OrvCheckDate.h"
#include "OrvRegistry.h"
#include "OrvUpdateTexts.h"
#include "OrvVersionCheck.h"
#include "UpdateTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using updatetest::Date;
using updatetest::FrameStandIn;
using updatetest::RecordingWindow;

namespace {

const char* const kArchiveName = "orvane-2.0.0.cab";
const size_t kArchiveSize = 3 * 1024 * 1024 + 123;

std::string UniqueName(const char* stem) {
    return std::string(stem) + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
}

class VersionCheckServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dataDir = orvtest::Env("ORV_SERVICE_DIR") + "/" + UniqueName("update-data");
        const std::string windowsDir = orvtest::WinePath(s_dataDir);
        s_archive = updatetest::ArchiveBytes(kArchiveSize, 7);
        s_archiveWritten = updatetest::MakeFolders(windowsDir + "\\download") &&
                           updatetest::WriteWholeFile(windowsDir + "\\download\\" + kArchiveName, s_archive);
        s_server = std::make_unique<orvtest::UnixService>(
            "orvane-server-update",
            std::vector<std::string>{orvtest::Env("ORV_HOST_BUILD_DIR") + "/server/orvane-server", "--port",
                                     "@PORT@", "--demo", s_dataDir, "--password-strength", "min",
                                     "--update-entry", "1.5.0 https://downloads.example.org/orvane-1.5.0.cab",
                                     "--update-entry", std::string("2.0.0 ") + kArchiveName});
        s_started = s_server->Start(180000);
    }
    static void TearDownTestSuite() {
        if (s_server) s_server->Stop();
        s_server.reset();
        if (s_dataDir.find("/update-data-") != std::string::npos) orvtest::LaunchUnix("/bin/rm -rf " + s_dataDir);
    }

    void SetUp() override {
        ASSERT_TRUE(s_archiveWritten);
        ASSERT_TRUE(s_started) << s_server->Log();
        ASSERT_NE(m_window.Get(), nullptr);
        m_frame.SetUrl(Url().c_str());
        m_frame.SetTimeouts(10000, 60000);
        m_frame.DoCheckUserCommand("demo1@example.com", "orvane-demo-1", "1", "1.0.0");
        ASSERT_TRUE(orvtest::PumpUntil([&] { return !m_frame.loginCode.empty(); }, updatetest::kGenerousMs));
        ASSERT_EQ(m_frame.loginCode, "0");
        m_check = std::make_unique<OrvVersionCheck>(m_frame, m_settings);
        m_frame.check = m_check.get();
        m_check->SetWindow(m_window.Get());
    }
    void TearDown() override {
        m_frame.check = nullptr;
        m_check.reset();
    }

    static std::string Url() { return "http://127.0.0.1:" + std::to_string(s_server->Port()); }

    bool WaitVersionAnswers(size_t count) {
        return orvtest::PumpUntil([&] { return m_frame.versionAnswers.size() >= count; }, updatetest::kGenerousMs);
    }
    bool WaitStartUpgrade() {
        return orvtest::PumpUntil([&] { return m_window.CountOf(OrvVersionCheck::StartUpgradeMessage()) > 0; },
                                  updatetest::kGenerousMs);
    }
    // Checks as version from a stored date and waits for the answer.
    void CheckAs(const char* version, DWORD storedDate, WORD storedYear, const SYSTEMTIME& today) {
        m_settings.SetVersion(version);
        m_settings.SetVersionCheck(storedDate);
        m_settings.SetOrvDWord(ORV_UPDATE_CHECK_YEAR_VALUE, storedYear);
        m_check->SetToday(&today);
        const size_t before = m_frame.versionAnswers.size();
        ASSERT_TRUE(m_check->OnConnected(m_frame.session.c_str()));
        ASSERT_TRUE(WaitVersionAnswers(before + 1));
    }

    updatetest::SettingsGuard m_guard;
    OrvRegistry m_settings;
    RecordingWindow m_window;
    FrameStandIn m_frame;
    std::unique_ptr<OrvVersionCheck> m_check;

    static std::unique_ptr<orvtest::UnixService> s_server;
    static std::string s_dataDir;
    static std::string s_archive;
    static bool s_archiveWritten;
    static bool s_started;
};

std::unique_ptr<orvtest::UnixService> VersionCheckServer::s_server;
std::string VersionCheckServer::s_dataDir;
std::string VersionCheckServer::s_archive;
bool VersionCheckServer::s_archiveWritten = false;
bool VersionCheckServer::s_started = false;

TEST_F(VersionCheckServer, NewestVersionIsCheckedOncePerDay) {
    const SYSTEMTIME today = Date(2026, 12, 8);
    ASSERT_NO_FATAL_FAILURE(CheckAs("2.0.0", OrvCheckDate::Encode(12, 7), 2026, today));
    ASSERT_EQ(m_frame.requests.size(), 1u);
    EXPECT_EQ(m_frame.requests[0].first, m_frame.session);
    EXPECT_EQ(m_frame.requests[0].second, "2.0.0") << "the stored program version is sent";
    EXPECT_EQ(m_frame.versionAnswers.back(), (std::vector<std::string>{"0", "0", "", ""}));
    EXPECT_EQ(m_settings.GetVersionCheck(), OrvCheckDate::Encode(12, 8)) << "today is recorded";
    EXPECT_EQ(m_settings.GetOrvDWord(ORV_UPDATE_CHECK_YEAR_VALUE), 2026u);

    // A second successful connection on the same day asks nothing.
    EXPECT_FALSE(m_check->OnConnected(m_frame.session.c_str()));
    EXPECT_EQ(m_frame.requests.size(), 1u);
    // The next day, and the same day a year later, ask again.
    const SYSTEMTIME tomorrow = Date(2026, 12, 9);
    m_check->SetToday(&tomorrow);
    EXPECT_TRUE(m_check->OnConnected(m_frame.session.c_str()));
    ASSERT_TRUE(WaitVersionAnswers(2));
    const SYSTEMTIME yearLater = Date(2027, 12, 9);
    m_check->SetToday(&yearLater);
    EXPECT_TRUE(m_check->OnConnected(m_frame.session.c_str()));
    ASSERT_TRUE(WaitVersionAnswers(3));
    EXPECT_EQ(m_settings.GetOrvDWord(ORV_UPDATE_CHECK_YEAR_VALUE), 2027u);
    EXPECT_TRUE(m_frame.notices.empty());
    EXPECT_EQ(m_check->DownloadState(), OrvUpdateDownload::State::Idle);
}

TEST_F(VersionCheckServer, EndOfMarchToFirstOfAprilChecks) {
    ASSERT_NO_FATAL_FAILURE(CheckAs("2.0.0", OrvCheckDate::Encode(3, 31), 2026, Date(2026, 4, 1)));
    EXPECT_EQ(m_frame.requests.size(), 1u);
    EXPECT_EQ(m_settings.GetVersionCheck(), OrvCheckDate::Encode(4, 1));
}

TEST_F(VersionCheckServer, NewerVersionIsDownloadedAndHandedToTheUpdater) {
    const std::vector<std::string> before = updatetest::TempArchives();
    ASSERT_NO_FATAL_FAILURE(CheckAs("1.0.0", OrvCheckDate::Encode(12, 7), 2026, Date(2026, 12, 8)));
    const std::vector<std::string>& answer = m_frame.versionAnswers.back();
    ASSERT_EQ(answer.at(1), "1");
    EXPECT_EQ(answer.at(2), "2.0.0");
    EXPECT_EQ(answer.at(3), Url() + "/download/" + kArchiveName);
    EXPECT_EQ(m_frame.notices, (std::vector<std::string>{ORV_UPDATE_NOTICE_TEXT}));
    EXPECT_EQ(m_check->DownloadUrl().GetString(), answer.at(3));
    EXPECT_EQ(m_check->VersionArgument().GetString(), std::string("2.0.0"));
    EXPECT_EQ(m_settings.GetVersionCheck(), OrvCheckDate::Encode(12, 7)) << "an offered update is no finished check";

    ASSERT_TRUE(WaitStartUpgrade());
    const RecordingWindow::Posted posted = m_window.Messages().front();
    EXPECT_EQ(posted.wParam, 1u);
    EXPECT_EQ(posted.lParam, 1);
    // A repeated offer while the archive waits starts nothing new.
    m_check->OnVersionAnswer("0", "1", "2.0.0", (Url() + "/download/" + kArchiveName).c_str());
    EXPECT_EQ(m_frame.notices.size(), 1u);

    EXPECT_EQ(m_check->OnStartUpgrade(), m_window.Get()) << "nothing focused: the main window asks";
    const std::string file = m_check->UpdateFile().GetString();
    EXPECT_FALSE(m_check->UpdateDownloaded());
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, temp);
    EXPECT_EQ(file.rfind(std::string(temp) + ORV_UPDATE_FILE_PREFIX, 0), 0u) << file;
    const std::string bytes = updatetest::ReadWholeFile(file);
    EXPECT_EQ(bytes.size(), s_archive.size());
    EXPECT_TRUE(bytes == s_archive) << "the archive arrives byte for byte";

    ASSERT_TRUE(m_check->AgreeToInstall());
    EXPECT_TRUE(m_check->UpdateDownloaded());
    ASSERT_TRUE(orvtest::PumpUntil([&] { return m_window.CountOf(WM_CLOSE) == 1; }, updatetest::kGenerousMs));
    EXPECT_EQ(m_window.Messages().back().wParam, 1u);
    EXPECT_EQ(m_window.Messages().back().lParam, 1);
    EXPECT_EQ(m_check->OnStartUpgrade(), nullptr) << "no second question once agreed";

    // The agreed archive outlives the check: the updater deletes it.
    m_frame.check = nullptr;
    m_check.reset();
    EXPECT_EQ(::GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES, true);
    ::DeleteFileA(file.c_str());
    EXPECT_EQ(updatetest::TempArchives(), before);
}

TEST_F(VersionCheckServer, ArchiveNotAgreedToIsRemoved) {
    const std::vector<std::string> before = updatetest::TempArchives();
    ASSERT_NO_FATAL_FAILURE(CheckAs("1.9.9", 0, 0, Date(2026, 12, 8)));
    ASSERT_EQ(m_frame.versionAnswers.back().at(1), "1");
    ASSERT_TRUE(WaitStartUpgrade());
    ASSERT_NE(m_check->OnStartUpgrade(), nullptr);
    const std::string file = m_check->UpdateFile().GetString();
    ASSERT_NE(::GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    m_frame.check = nullptr;
    m_check.reset();  // the member never said OK
    EXPECT_EQ(::GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(updatetest::TempArchives(), before);
    EXPECT_EQ(m_window.CountOf(WM_CLOSE), 0);
}

TEST_F(VersionCheckServer, FocusedTitledWindowOwnsTheQuestionButNotTheMenu) {
    ASSERT_NO_FATAL_FAILURE(CheckAs("1.0.0", 0, 0, Date(2026, 12, 8)));
    ASSERT_TRUE(WaitStartUpgrade());
    RecordingWindow dialog("Chat with Dana");
    ::ShowWindow(dialog.Get(), SW_SHOW);
    ::SetFocus(dialog.Get());
    ASSERT_EQ(::GetFocus(), dialog.Get());
    EXPECT_EQ(m_check->OnStartUpgrade(), dialog.Get());
    RecordingWindow menu(ORV_UPDATE_MENU_TITLE);
    ::ShowWindow(menu.Get(), SW_SHOW);
    ::SetFocus(menu.Get());
    ASSERT_EQ(::GetFocus(), menu.Get());
    EXPECT_EQ(m_check->OnStartUpgrade(), m_window.Get()) << "the skinned menu never owns it";
}

TEST_F(VersionCheckServer, AskAgainLaterArmsTimerFiveAndAsksTheSame) {
    ASSERT_NO_FATAL_FAILURE(CheckAs("2.0.0", 0, 0, Date(2026, 12, 8)));
    m_settings.SetVersionCheck(0);
    for (const char* minutes : {"500", "-5"}) {
        m_check->OnVersionAnswer("0", "2", "", minutes);
        EXPECT_EQ(m_check->RetryDelayMs(), 120u * 60000u) << minutes;
        EXPECT_TRUE(::KillTimer(m_window.Get(), OrvVersionCheck::kRetryTimerId)) << "timer 5 runs: " << minutes;
    }
    m_check->OnVersionAnswer("0", "2", "", "7");
    EXPECT_EQ(m_check->RetryDelayMs(), 7u * 60000u);
    EXPECT_EQ(m_settings.GetVersionCheck(), 0u) << "a wait is no finished check";

    // The timer fires: it is killed and the same request goes out again.
    m_check->OnRetryTimer();
    EXPECT_FALSE(::KillTimer(m_window.Get(), OrvVersionCheck::kRetryTimerId)) << "timer 5 was killed";
    ASSERT_EQ(m_frame.requests.size(), 2u);
    EXPECT_EQ(m_frame.requests[1], m_frame.requests[0]);
    ASSERT_TRUE(WaitVersionAnswers(2));
    EXPECT_EQ(m_frame.versionAnswers.back().at(1), "0");
}

TEST_F(VersionCheckServer, RefusedOrUnknownAnswersChangeNothing) {
    m_settings.SetVersionCheck(OrvCheckDate::Encode(1, 1));
    m_settings.SetVersion("1.x");  // not a version: the server refuses it
    const SYSTEMTIME today = Date(2026, 12, 8);
    m_check->SetToday(&today);
    ASSERT_TRUE(m_check->OnConnected(m_frame.session.c_str()));
    ASSERT_TRUE(WaitVersionAnswers(1));
    EXPECT_EQ(m_frame.versionAnswers.back().at(0), "1");
    EXPECT_EQ(m_settings.GetVersionCheck(), OrvCheckDate::Encode(1, 1)) << "a refusal is no check";

    m_check->OnVersionAnswer("3", "0", "", "");
    m_check->OnVersionAnswer("0", "9", "x", "y");
    m_check->OnVersionAnswer("0", "", "", "");
    m_check->OnVersionAnswer("0", "1", "2.0.0", "file:///C:/windows/win.ini");
    m_check->OnVersionAnswer("0", "1", "2.0.0", "");
    EXPECT_EQ(m_settings.GetVersionCheck(), OrvCheckDate::Encode(1, 1));
    EXPECT_TRUE(m_frame.notices.empty());
    EXPECT_EQ(m_check->DownloadState(), OrvUpdateDownload::State::Idle);
    EXPECT_FALSE(::KillTimer(m_window.Get(), OrvVersionCheck::kRetryTimerId));
}

}  // namespace
