// The main frame's daily version check against the real network: orvane-
// server offers 1.5.0 elsewhere and 2.0.0 from its own download folder, the
// chat server runs with its room keeper, the settings are the Wine prefix's
// registry. A member on the newest version is checked once a day however
// often he connects; on an older version the frame downloads the offer,
// asks the member in a real message box and, on his consent, exits with the
// archive and the version ready for the updater.
#include "AppTestSupport.h"
#include "DemoNetwork.h"

#include "OrvApp.h"
#include "OrvCheckDate.h"
#include "OrvMainFrame.h"
#include "OrvMessenger.h"
#include "OrvRegistry.h"
#include "OrvUpdateTexts.h"
#include "OrvVersionCheck.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using apptest::DemoNetwork;

namespace {

const char* const kEmail = "demo1@example.com";
const char* const kPassword = "orvane-demo-1";
const char* const kArchiveName = "orvane-2.0.0.cab";
const size_t kArchiveSize = 2 * 1024 * 1024 + 77;

std::string ProgramDirectory() {
    char path[1000] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
    return std::string(OrvApp::DirectoryOf(path));
}

// The program folder holds riched20.dll, taken from the system folder.
bool EnsureRichEdit(const std::string& directory) {
    const std::string target = directory + "riched20.dll";
    if (::GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    return ::CopyFileA((std::string(system) + "\\riched20.dll").c_str(), target.c_str(), FALSE) != FALSE;
}

// What the download can tell of a cabinet: its signature, then bytes that
// differ from position to position, so a shifted or cut copy shows.
std::string ArchiveBytes() {
    std::string bytes = "MSCF";
    for (size_t i = bytes.size(); i < kArchiveSize; ++i) bytes += static_cast<char>((i * 131 + i / 251) & 0xFF);
    return bytes;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The frame, counting the version requests it sends and the daily checks
// the connecting worker hands to its window.
class UpdatingFrame : public OrvMainFrame {
public:
    void SendVersionRequest(const CString& session, const CString& version) override {
        requests.push_back(version.GetString());
        OrvMainFrame::SendVersionRequest(session, version);
    }
    std::vector<std::string> requests;
    int checksRun = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const LRESULT result = OrvMainFrame::WindowProc(message, wParam, lParam);
        if (message == kVersionCheckMessage) ++checksRun;
        return result;
    }
};

// Records every message; the consent question alone becomes the real
// skinned message box, the rest are answered Cancel at once.
class ConsentMessenger : public OrvIMessenger {
public:
    int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) override {
        shown.push_back({owner, text ? text : "", caption ? caption : "", type});
        if (shown.back().caption != ORV_UPDATE_CONSENT_CAPTION) return IDCANCEL;
        return m_skinned.ShowMessage(owner, text, caption, type);
    }
    std::vector<apptest::ShownMessage> shown;

private:
    OrvSkinnedMessenger m_skinned;
};

// Finds the thread's consent box once it shows, reads its caption and text,
// then presses OK. Driven by a thread timer, which the box's own message
// loop dispatches.
class ConsentBoxWatch {
public:
    ConsentBoxWatch() {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 20, &Tick);
    }
    ~ConsentBoxWatch() {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    ConsentBoxWatch(const ConsentBoxWatch&) = delete;
    ConsentBoxWatch& operator=(const ConsentBoxWatch&) = delete;

    HWND box = nullptr;
    std::string caption;
    std::string text;

private:
    static std::string TextOf(HWND window) {
        char text[512] = {};
        ::GetWindowTextA(window, text, sizeof text);
        return text;
    }
    static BOOL CALLBACK FindBox(HWND window, LPARAM found) {
        char className[16] = {};
        if (::IsWindowVisible(window) && ::GetClassNameA(window, className, sizeof className) &&
            ::lstrcmpA(className, "#32770") == 0) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK ReadStatic(HWND child, LPARAM text) {
        char className[16] = {};
        if (::GetClassNameA(child, className, sizeof className) && ::lstrcmpiA(className, "Static") == 0) {
            const std::string line = TextOf(child);
            if (!line.empty()) *reinterpret_cast<std::string*>(text) += line;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ConsentBoxWatch* watch = s_current;
        if (!watch || watch->box) return;
        HWND found = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&found));
        if (!found) return;
        watch->box = found;
        watch->caption = TextOf(found);
        ::EnumChildWindows(found, &ReadStatic, reinterpret_cast<LPARAM>(&watch->text));
        ::PostMessageA(found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(found, IDOK)));
    }

    static ConsentBoxWatch* s_current;
    UINT_PTR m_timer = 0;
};
ConsentBoxWatch* ConsentBoxWatch::s_current = nullptr;

// Connects while off line (a connecting worker that is still ending lets
// the call pass) until a connection is under way; true once it is.
bool ReconnectedOnce(OrvMainFrame& frame) {
    if (frame.GetSessionState() == OrvMainFrame::ssOffline && frame.GetSafeHwnd()) frame.Connect();
    return frame.GetSessionState() != OrvMainFrame::ssOffline;
}

class UpdateHandOff : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        apptest::ClearSettings();
        s_network = std::make_unique<DemoNetwork>();
        s_started = s_network->Start(
            "update", {"--update-entry", "1.5.0 https://downloads.example.org/orvane-1.5.0.cab", "--update-entry",
                       std::string("2.0.0 ") + kArchiveName});
        s_archive = ArchiveBytes();
        // The server makes its download folder as it starts.
        const std::string archivePath = orvtest::WinePath(s_network->DataDir() + "/download/" + kArchiveName);
        std::ofstream(archivePath, std::ios::binary) << s_archive;
        s_archiveWritten = ReadWholeFile(archivePath) == s_archive;
        OrvRegistry registry;
        registry.SetUrl(s_network->Url().c_str());
        registry.SetEmail(kEmail);
        registry.SetSerkey(kPassword);
        registry.Register();
        registry.Logon();
        s_richEdit = EnsureRichEdit(ProgramDirectory());
    }
    static void TearDownTestSuite() {
        s_network.reset();
        apptest::ClearSettings();
    }
    void SetUp() override {
        ASSERT_TRUE(s_started) << s_network->Logs();
        ASSERT_TRUE(s_archiveWritten);
        ASSERT_TRUE(s_richEdit);
    }
    static bool Until(const std::function<bool()>& done) { return orvtest::PumpUntil(done, 120000); }

    static std::unique_ptr<DemoNetwork> s_network;
    static std::string s_archive;
    static bool s_started;
    static bool s_archiveWritten;
    static bool s_richEdit;
};

std::unique_ptr<DemoNetwork> UpdateHandOff::s_network;
std::string UpdateHandOff::s_archive;
bool UpdateHandOff::s_started = false;
bool UpdateHandOff::s_archiveWritten = false;
bool UpdateHandOff::s_richEdit = false;

TEST_F(UpdateHandOff, TheFrameChecksOnceADayDownloadsTheOfferAndExitsForTheUpdaterOnConsent) {
    OrvRegistry settings;
    settings.SetVersion("2.0.0");  // the newest: nothing to offer
    settings.SetVersionCheck(0);   // never checked
    ConsentMessenger messenger;
    UpdatingFrame frame;
    frame.SetMessenger(&messenger);
    frame.SetProgramDirectory(ProgramDirectory().c_str());
    frame.SetUrl(settings.GetUrl());
    OrvApp::CreateServices(frame, ProgramDirectory().c_str());
    ASSERT_TRUE(frame.StartSession());
    ASSERT_TRUE(OrvApp::RegisterMainWindowClass(::GetModuleHandleA(nullptr)));
    ASSERT_TRUE(OrvApp::CreateMainWindow(frame));
    const HWND mainWindow = frame.GetSafeHwnd();

    // The first connection checks, the answer "no update" records today.
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    ASSERT_TRUE(Until([&] {
        return frame.GetSessionState() == OrvMainFrame::ssOnline && frame.checksRun == 1 &&
               settings.GetVersionCheck() != 0;
    })) << "state " << frame.GetSessionState() << ", checks " << frame.checksRun << "\n" << s_network->Logs();
    EXPECT_EQ(frame.requests, std::vector<std::string>{"2.0.0"}) << "the stored program version is sent";
    EXPECT_EQ(settings.GetVersionCheck(), OrvCheckDate::Encode(today.wMonth, today.wDay));

    // Timer 5 of an "ask again later" asks again with the same arguments.
    frame.SendMessage(WM_TIMER, OrvVersionCheck::kRetryTimerId, 0);
    EXPECT_EQ(frame.requests, (std::vector<std::string>{"2.0.0", "2.0.0"}));

    // A second successful connection the same day asks nothing.
    frame.GoOffline();
    ASSERT_EQ(frame.GetSessionState(), OrvMainFrame::ssOffline);
    ASSERT_TRUE(Until([&] { return ReconnectedOnce(frame) && frame.checksRun == 2; }))
        << "state " << frame.GetSessionState() << ", checks " << frame.checksRun << "\n" << s_network->Logs();
    EXPECT_EQ(frame.requests.size(), 2u) << "checked already today";

    // An older program, a day later: the offer is downloaded, the member
    // asked, and his OK closes the program for the updater.
    settings.SetVersion("1.0.0");
    settings.SetVersionCheck(0);
    frame.GoOffline();
    ASSERT_EQ(frame.GetSessionState(), OrvMainFrame::ssOffline);
    ConsentBoxWatch watch;
    ASSERT_TRUE(Until([&] { return ReconnectedOnce(frame) && frame.GetSafeHwnd() == nullptr; }))
        << "checks " << frame.checksRun << ", requests " << frame.requests.size() << ", box "
        << (watch.box != nullptr) << "\n" << s_network->Logs();
    EXPECT_EQ(frame.requests, (std::vector<std::string>{"2.0.0", "2.0.0", "1.0.0"}));
    EXPECT_STREQ(frame.GetUpdateNotice(), ORV_UPDATE_NOTICE_TEXT) << "the notification cloud's text";
    EXPECT_EQ(frame.GetVersionCheck().DownloadUrl(), CString(s_network->Url().c_str()) + "/download/" + kArchiveName);

    // The question: the real box with its caption and text, owned by the
    // main window, information icon and OK.
    ASSERT_NE(watch.box, nullptr);
    EXPECT_EQ(watch.caption, ORV_UPDATE_CONSENT_CAPTION);
    EXPECT_EQ(watch.text, ORV_UPDATE_CONSENT_TEXT);
    std::vector<apptest::ShownMessage> questions;
    for (const apptest::ShownMessage& shown : messenger.shown) {
        if (shown.caption == ORV_UPDATE_CONSENT_CAPTION)
            questions.push_back(shown);
        else
            ADD_FAILURE() << "message shown: " << shown.caption << ": " << shown.text;
    }
    ASSERT_EQ(questions.size(), 1u) << "one download, one question";
    EXPECT_TRUE(questions[0].owner == mainWindow || ::IsChild(mainWindow, questions[0].owner))
        << "the program's focused window or the main window owns it";
    EXPECT_EQ(questions[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));

    // The exit hand-off: agreed, the downloaded archive byte for byte in a
    // temporary "Orv" file, and the offered version.
    EXPECT_TRUE(frame.IsUpdateDownloaded());
    EXPECT_STREQ(frame.GetUpdateArgument(), "2.0.0");
    const std::string file = frame.GetUpdateFile().GetString();
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    EXPECT_EQ(file.rfind(std::string(temp) + ORV_UPDATE_FILE_PREFIX, 0), 0u) << file;
    EXPECT_TRUE(ReadWholeFile(file) == s_archive) << file << " differs from the offered archive";
    EXPECT_TRUE(frame.GetSessionId().IsEmpty()) << "the exit ended the session";
    ::DeleteFileA(file.c_str());
    // The quit the destroyed main window would post belongs to no loop here.
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace
