// The main frame's daily version check against the real network: orvane-
// server offers 1.5.0 elsewhere and 2.0.0 from its own download folder, the
// chat server runs with its room keeper, the settings are the Wine prefix's
// registry. A member on the newest version is checked once a day however
// often he connects; on an older version the frame downloads the offer,
// asks the member in a real message box (skinned, checked pixel by pixel
// against the skin's records and saved as update-consent.bmp) and, on his
// consent, exits with the archive and the version ready for the updater. Then Orvane.exe from a copy
// of the program folder, with OrvUpdate.exe beside it, all the way round.
#include "AppTestSupport.h"
#include "DemoNetwork.h"
#include "MessageBoxWatch.h"
#include "SkinnedNonClient.h"

#include "CSButton.h"
#include "CSMessageBox.h"
#include "CSkin.h"
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
using apptest::EnsureRichEdit;
using apptest::ProgramDirectory;
using orvtest::MessageBoxWatch;

namespace {

const char* const kEmail = "demo1@example.com";
const char* const kPassword = "orvane-demo-1";
const char* const kArchiveName = "orvane-2.0.0.cab";
const size_t kArchiveSize = 2 * 1024 * 1024 + 77;

const char* const kNoteName = "ReadMe-2.0.0.txt";
const char* const kNote = "installed by the 2.0.0 update\r\n";

// Bytes that differ from position to position, so a shifted or cut copy shows.
std::string PatternBytes() {
    std::string bytes;
    for (size_t i = 0; i < kArchiveSize; ++i) bytes += static_cast<char>((i * 131 + i / 251) & 0xFF);
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

// A record the skin reader registered under name, held by ref; empty when
// there is none of that kind.
template <class T>
void TakeRegistered(CSkinRecordRef<T>& ref, const char* name) {
    S_STD_SKININFO* record = CSkin::GetInstance()->GetComponent(name);
    T* typed = dynamic_cast<T*>(record);
    if (record && !typed) record->Release();
    ref.Reset(typed);
}

// The consent question as the member sees it: a message box skinned as it
// opened with the "msbdialog" records of the skin in use (caption and
// frame pixel for pixel), the dialogs' background behind the question, and
// the question written on it. Saved as update-consent.bmp.
void ExpectSkinnedConsentBox(HWND box) {
    auto* messageBox = dynamic_cast<CSMessageBox*>(CWnd::FromHandlePermanent(box));
    ASSERT_NE(messageBox, nullptr) << "the box was not skinned as it opened";
    EXPECT_EQ(messageBox->GetSkin().GetThemeName(), CString("msbdialog"));
    EXPECT_TRUE(messageBox->GetSkin().GetCaption().IsSkinned());
    EXPECT_TRUE(messageBox->GetSkin().GetCaption().GetActive());
    EXPECT_EQ(messageBox->GetSkin().GetCaption().GetCaptionText(), CString("Orvane AutoUpdate"));
    auto* ok = dynamic_cast<CSButton*>(CWnd::FromHandlePermanent(::GetDlgItem(box, IDOK)));
    ASSERT_NE(ok, nullptr) << "its OK button is not skinned";
    EXPECT_EQ(ok->GetSkinName(), CString("msbdialog\\button"));
    EXPECT_EQ(MessageBoxWatch::StaticTexts(box),
              "Orvane has successfully downloaded the latest update.\r\nPlease, press OK to start upgrade.");

    wintest::WindowSkin skin;
    TakeRegistered(skin.caption, "msbdialog\\caption");
    TakeRegistered(skin.frame, "msbdialog\\border");
    TakeRegistered(skin.button, "msbdialog\\button");
    TakeRegistered(skin.background, "dialog");
    ASSERT_TRUE(skin.caption && skin.frame && skin.button && skin.background)
        << "the skin reader registered no message box records";
    wintest::NonClientView view;
    view.skin = &skin;
    const wintest::Pixels shot = wintest::CaptureWindow(box);
    EXPECT_TRUE(wintest::ShowsSkinnedNonClient(shot, box, view));
    EXPECT_GT(wintest::WrittenPixels(shot, box, *skin.caption.Get(), true), 20) << "the caption's text";

    const CRect bounds = wintest::WindowOnScreen(box), client = wintest::ClientOnScreen(box);
    const COLORREF background = skin.background->Color;
    EXPECT_EQ(shot.At(client.left - bounds.left + 2, client.bottom - bounds.top - 2), background)
        << "the background of the \"dialog\" record";
    // The question's static: its two lines leave ink on that background.
    HWND question = nullptr;
    for (HWND child = ::GetWindow(box, GW_CHILD); child && !question; child = ::GetWindow(child, GW_HWNDNEXT))
        if (MessageBoxWatch::TextOf(child).find("press OK") != std::string::npos) question = child;
    ASSERT_NE(question, nullptr);
    const CRect text = wintest::WindowOnScreen(question);
    int ink = 0, plain = 0;
    for (int y = text.top; y < text.bottom; ++y)
        for (int x = text.left; x < text.right; ++x)
            ++(shot.At(x - bounds.left, y - bounds.top) == background ? plain : ink);
    EXPECT_GT(ink, 200) << "the question is not written on the box";
    EXPECT_GT(plain, ink) << "the question does not stand on the dialogs' background";

    // On the screen as in the box's own picture, then saved for a person.
    ASSERT_TRUE(wintest::WaitForScreen(CPoint(bounds.left + 2, bounds.bottom - 2), shot.At(2, bounds.Height() - 2)));
    EXPECT_TRUE(wintest::CaptureScreen(bounds).Save("update-consent.bmp"));
}

// A cabinet that stores files without compression: what the updater
// unpacks, made here byte by byte. Checksum 0 means "not checked".
std::string StoredCabinet(const std::vector<std::pair<std::string, std::string>>& files) {
    auto put16 = [](std::string& out, unsigned value) {
        out += static_cast<char>(value & 0xFF);
        out += static_cast<char>((value >> 8) & 0xFF);
    };
    auto put32 = [&](std::string& out, unsigned value) {
        put16(out, value & 0xFFFF);
        put16(out, value >> 16);
    };
    std::string data;
    for (const auto& file : files) data += file.second;
    const size_t kBlock = 32768;
    const unsigned blocks = static_cast<unsigned>((data.size() + kBlock - 1) / kBlock);
    std::string entries;
    unsigned offset = 0;
    for (const auto& file : files) {
        put32(entries, static_cast<unsigned>(file.second.size()));
        put32(entries, offset);
        put16(entries, 0);                          // folder
        put16(entries, (46u << 9) | (12u << 5) | 8);  // date: 8 December 2026
        put16(entries, 0);                          // time
        put16(entries, 0x20);                       // archive attribute
        entries += file.first;
        entries += '\0';
        offset += static_cast<unsigned>(file.second.size());
    }
    const unsigned headerSize = 36, folderSize = 8;
    const unsigned dataStart = headerSize + folderSize + static_cast<unsigned>(entries.size());
    std::string blocksText;
    for (size_t at = 0; at < data.size(); at += kBlock) {
        const std::string chunk = data.substr(at, kBlock);
        put32(blocksText, 0);
        put16(blocksText, static_cast<unsigned>(chunk.size()));
        put16(blocksText, static_cast<unsigned>(chunk.size()));
        blocksText += chunk;
    }
    std::string cab = "MSCF";
    put32(cab, 0);
    put32(cab, dataStart + static_cast<unsigned>(blocksText.size()));
    put32(cab, 0);
    put32(cab, headerSize + folderSize);
    put32(cab, 0);
    cab += static_cast<char>(3);
    cab += static_cast<char>(1);
    put16(cab, 1);
    put16(cab, static_cast<unsigned>(files.size()));
    put16(cab, 0);
    put16(cab, 0x4F52);
    put16(cab, 0);
    put32(cab, dataStart);
    put16(cab, blocks);
    put16(cab, 0);  // stored, no compression
    return cab + entries + blocksText;
}

// Copies folder from into to with everything below it, leaving out test
// programs; false when a copy failed.
bool CopyProgramFolder(const std::string& from, const std::string& to) {
    ::CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool copied = true;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copied = CopyProgramFolder(from + "\\" + name, to + "\\" + name) && copied;
        else if (name.find("_tests") == std::string::npos)
            copied = ::CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE) && copied;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return copied;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(folder + "\\" + name);
            else
                ::DeleteFileA((folder + "\\" + name).c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
}

// A visible message box of another process with this caption, or null.
HWND MessageBoxTitled(const char* caption) {
    HWND box = nullptr;
    while ((box = ::FindWindowExA(nullptr, box, "#32770", caption)))
        if (::IsWindowVisible(box)) return box;
    return nullptr;
}

void PressOk(HWND box) {
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
}

// The main window of a program started from folder (its path ends in "\").
HWND MainWindowIn(const std::string& folder, DWORD* processId) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, "OrvaneMainWindowClass", nullptr))) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, owner);
        if (!process) continue;
        char path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        const bool ours = ::QueryFullProcessImageNameA(process, 0, path, &size) &&
                          ::lstrcmpiA(std::string(path).substr(0, folder.size()).c_str(), folder.c_str()) == 0;
        ::CloseHandle(process);
        if (ours && ::IsWindowVisible(window)) {
            *processId = owner;
            return window;
        }
    }
    return nullptr;
}

bool ProcessEnded(DWORD processId, DWORD ms) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return true;
    const bool ended = ::WaitForSingleObject(process, ms) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
}

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
        s_archive = StoredCabinet({{kNoteName, kNote}, {"Data-2.0.0.bin", PatternBytes()}});
        // The server makes its download folder as it starts.
        const std::string archivePath = orvtest::WinePath(s_network->DataDir() + "/download/" + kArchiveName);
        std::ofstream(archivePath, std::ios::binary) << s_archive;
        s_archiveWritten = ReadWholeFile(archivePath) == s_archive;
        apptest::StoreMember(s_network->Url(), kEmail, kPassword);
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
    MessageBoxWatch watch;
    watch.inspect = [](HWND box) { ExpectSkinnedConsentBox(box); };
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

// Orvane.exe itself from a copy of the program folder: the server offers
// the cabinet, the member agrees, the program exits and hands it to
// OrvUpdate.exe, which installs it, records the version and starts the
// program again.
TEST_F(UpdateHandOff, TheProgramHandsTheAgreedUpdateToTheUpdaterWhichInstallsItAndRestartsIt) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "orvane-update-" + std::to_string(::GetCurrentProcessId());
    const std::string program = ProgramDirectory();
    ASSERT_TRUE(CopyProgramFolder(program.substr(0, program.size() - 1), folder));
    struct FolderGuard {
        std::string folder;
        ~FolderGuard() { RemoveFolder(folder); }
    } guard{folder};
    OrvRegistry settings;
    settings.SetVersion("1.0.0");
    settings.SetVersionCheck(0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::string command = "\"" + folder + "\\Orvane.exe\"";
    ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started));
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);

    // The consent question of the started program: OK.
    HWND question = nullptr;
    ASSERT_TRUE(Until([&] { return (question = MessageBoxTitled(ORV_UPDATE_CONSENT_CAPTION)) != nullptr; }))
        << s_network->Logs();
    DWORD asker = 0;
    ::GetWindowThreadProcessId(question, &asker);
    EXPECT_EQ(asker, started.dwProcessId);
    PressOk(question);
    ASSERT_TRUE(ProcessEnded(started.dwProcessId, 120000)) << "the program exits for the updater";

    // The updater's closing message: OK starts the program again.
    // The update dialog has the same caption: wait for the box's text.
    HWND done = nullptr;
    std::string text;
    ASSERT_TRUE(Until([&] {
        done = nullptr;
        while ((done = ::FindWindowExA(nullptr, done, "#32770", "Orvane Update"))) {
            text = MessageBoxWatch::StaticTexts(done);
            if (::IsWindowVisible(done) && text.find("Press OK to start Orvane.") != std::string::npos) return true;
        }
        return false;
    })) << "the updater's last text: " << text;
    EXPECT_NE(text.find("Update is completed."), std::string::npos) << text;
    PressOk(done);

    DWORD restarted = 0;
    HWND window = nullptr;
    ASSERT_TRUE(Until([&] { return (window = MainWindowIn(folder + "\\", &restarted)) != nullptr; }))
        << "the program never came back";
    EXPECT_NE(restarted, started.dwProcessId);
    EXPECT_STREQ(OrvRegistry().GetVersion(), "2.0.0") << "the updater recorded the new version";
    EXPECT_EQ(ReadWholeFile(folder + "\\" + kNoteName), kNote) << "the archive's files are installed";
    EXPECT_TRUE(ReadWholeFile(folder + "\\Data-2.0.0.bin") == PatternBytes());
    ::PostMessageA(window, WM_CLOSE, 1, 0);
    EXPECT_TRUE(ProcessEnded(restarted, 120000));
}

}  // namespace
