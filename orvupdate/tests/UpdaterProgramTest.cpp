// OrvUpdate.exe run as the main program starts it: a copy in a program
// folder of its own, beside a stand-in Orvane.exe that notes when it is
// started again. The test plays the user through the dialog's windows and
// saves pictures of them under the test artifacts.
#include "BitmapFile.h"
#include "ChildProcess.h"
#include "TestSupport.h"
#include "UpdateTestSupport.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

using orvtest::ChildProcess;
using orvtest::FolderSnapshot;
using orvtest::ReadTextFile;

const char kCaption[] = "Orvane Update";
const char kCompleted[] = "Update is completed.\r\nPress OK to start Orvane.";
const char kFailed[] = "Orvane cann't proceed autoupdate.";
const char kConfirmCancel[] =
    "Are you sure you want to cancel orvane update?\r\nIn this case orvane becames unworkable.";
const char kLogPath[] = "C:\\OrvUpdate.log";
const int kProgressId = 1000;

bool IsUpdateDialog(HWND window) { return ::GetDlgItem(window, kProgressId) != nullptr; }

std::string WindowText(HWND window) {
    char text[1024] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// A message box keeps its text in the static control 0xFFFF.
std::string MessageBoxText(HWND box) {
    char text[1024] = "";
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

// The screen's pixels in rect, as 32-bit values.
std::vector<uint32_t> ScreenPixels(const RECT& rect, HBITMAP* keep = nullptr) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    ::GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (keep) *keep = bitmap;
    else ::DeleteObject(bitmap);
    return pixels;
}

// The window as it shows on the screen, frame included, once it is painted
// (under Xvfb what is not painted yet is black) and its picture has settled: another process paints in its own time (and
// PrintWindow cannot reach into another process under Wine).
//
// Under Wine and Xvfb a window of another process that opened a message box
// at once may not have reached the screen yet: every window of the picture
// is repainted first, bottom to top.
void SaveWindowPicture(HWND window, const std::string& fileName, HWND onTop = nullptr) {
    RECT rect;
    ASSERT_TRUE(::GetWindowRect(window, &rect));
    auto redraw = [&] {
        for (HWND shown : {window, onTop})
            if (shown)
                ::RedrawWindow(shown, nullptr, nullptr,
                               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    redraw();
    // A window of another process that is disabled behind its message box
    // may miss a repaint request while the box is opening: ask again now
    // and then rather than wait for a picture that never comes.
    std::vector<uint32_t> last;
    long black = 0;
    bool same = false;
    int round = 0;
    const bool settled = orvtest::WaitUntil([&] {
        if (++round % 20 == 0) redraw();
        std::vector<uint32_t> now = ScreenPixels(rect);
        black = static_cast<long>(std::count_if(now.begin(), now.end(),
                                                [](uint32_t pixel) { return (pixel & 0xFFFFFF) == 0; }));
        const bool painted = black < static_cast<long>(now.size() / 5);
        same = now == last;
        last = std::move(now);
        if (!same) ::Sleep(50);
        return painted && same;
    }, onTop ? 10000 : 30000);
    // Under Wine and Xvfb a window of another process that sits disabled behind
    // its own message box is sometimes never repainted on the screen (about
    // one run in four), whatever is asked of it: that composite picture is
    // saved as it is. A window on top must always be painted.
    if (onTop && !settled)
        std::printf("note: %s saved before it was painted (%ld black pixels of %zu)\n", fileName.c_str(), black,
                    last.size());
    else
        EXPECT_TRUE(settled) << fileName << ": " << black << " black pixels of " << last.size()
                             << (same ? ", unchanged" : ", still changing");
    HBITMAP bitmap = nullptr;
    ScreenPixels(rect, &bitmap);
    EXPECT_TRUE(orvtest::SaveBitmapFile(bitmap, orvtest::ArtifactPath(fileName)));
    ::DeleteObject(bitmap);
}

void Click(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

class UpdaterProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_program = m_outer.Path() + "Program\\";
        ASSERT_TRUE(::CreateDirectoryA(m_program.c_str(), nullptr));
        const std::string bin = orvtest::ThisProgramFolder();
        ASSERT_TRUE(::CopyFileA((bin + "OrvUpdate.exe").c_str(), (m_program + "OrvUpdate.exe").c_str(), FALSE));
        ASSERT_TRUE(::CopyFileA((bin + "orv_stand_in.exe").c_str(), (m_program + "Orvane.exe").c_str(), FALSE));
        ASSERT_TRUE(orvtest::WriteTextFile(m_program + "Orvane.txt", "old program text\r\n"));
        m_archive = m_outer.Path() + "Orv1A2B.tmp";
        m_logBefore = ReadTextFile(kLogPath);
        if (m_logBefore == "<missing>") m_logBefore.clear();
        orvtest::CreateProductKey();
        orvtest::DeleteProductValue("version");
        ASSERT_EQ(::FindWindowA("OrvaneMainWindowClass", nullptr), nullptr);
    }
    void TearDown() override { orvtest::DeleteProductValue("version"); }

    bool StartUpdater(const std::string& cabinet, ChildProcess& updater, const std::string& version = "2.5.1") {
        if (!::CopyFileA(orvtest::TestCabinet(cabinet).c_str(), m_archive.c_str(), FALSE)) return false;
        m_before = FolderSnapshot(m_program);
        return updater.Start("\"" + m_program + "OrvUpdate.exe\" \"" + m_archive + "\" \"" + version + "\"");
    }
    bool StartUpdater(const std::string& cabinet, const std::string& version = "2.5.1") {
        return StartUpdater(cabinet, m_updater, version);
    }

    // The dialog once it has opened (its first text line is set last).
    HWND WaitForDialog() {
        return m_updater.WaitForWindow("#32770", kCaption, 60000, [](HWND w) {
            return IsUpdateDialog(w) && !WindowText(::GetDlgItem(w, 1002)).empty();
        });
    }

    HWND WaitForMessageBox(const char* text) { return WaitForMessageBox(text, m_updater); }
    static HWND WaitForMessageBox(const char* text, const ChildProcess& updater) {
        return updater.WaitForWindow("#32770", kCaption, 120000,
                                     [&](HWND w) { return !IsUpdateDialog(w) && MessageBoxText(w) == text; });
    }

    // What the updater logged during this test.
    std::string NewLog() {
        std::string log = ReadTextFile(kLogPath);
        if (log == "<missing>") log.clear();
        return log.size() >= m_logBefore.size() ? log.substr(m_logBefore.size()) : log;
    }

    bool Restarted() { return orvtest::FileExists(m_program + "restarted.txt"); }

    orvtest::TempFolder m_outer{"program"};
    std::string m_program;
    std::string m_archive;
    std::string m_logBefore;
    std::map<std::string, std::string> m_before;
    ChildProcess m_updater;
};

TEST_F(UpdaterProgramTest, WithoutArgumentsItEndsAndStartsNothing) {
    for (const char* arguments : {"", " only-the-archive.cab", " \"unclosed 1.0"}) {
        ChildProcess updater;
        ASSERT_TRUE(updater.Start("\"" + m_program + "OrvUpdate.exe\"" + arguments));
        ASSERT_TRUE(updater.WaitForExit()) << arguments;
        EXPECT_EQ(updater.ExitCode(), 0u);
    }
    EXPECT_FALSE(Restarted());
    EXPECT_EQ(NewLog(), "") << "not even a log line";
    EXPECT_FALSE(orvtest::ReadProductValue("version").present);
}

TEST_F(UpdaterProgramTest, GoodUpdateIsInstalledRecordedAndTheProgramStartedAgain) {
    ASSERT_TRUE(StartUpdater("good.cab", "2.5.1"));
    HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, 1002)), "Orvane is now upgrading to version 2.5.1");
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, 1001)), "");

    HWND box = WaitForMessageBox(kCompleted);
    ASSERT_NE(box, nullptr) << NewLog();
    HWND bar = ::GetDlgItem(dialog, kProgressId);
    const LRESULT high = ::SendMessageA(bar, PBM_GETRANGE, FALSE, 0);
    const LRESULT position = ::SendMessageA(bar, PBM_GETPOS, 0, 0);
    EXPECT_EQ(high, position + 100) << "range: total size + 100; position: every byte written";
    EXPECT_GT(position, 100000);
    SaveWindowPicture(dialog, "orvupdate-dialog-completed.bmp", box);
    SaveWindowPicture(box, "orvupdate-message-completed.bmp");
    EXPECT_EQ(orvtest::ReadProductValue("version").data, "2.5.1") << "changes applied before the message";

    Click(box, IDOK);
    ASSERT_TRUE(m_updater.WaitForExit());
    // The stand-in creates the file, then writes it: wait for its text.
    ASSERT_TRUE(orvtest::WaitUntil([&] { return ReadTextFile(m_program + "restarted.txt") != "<missing>"; }))
        << "Orvane.exe started again";
    EXPECT_EQ(ReadTextFile(m_program + "restarted.txt"), "\"" + m_program + "Orvane.exe\"");
    EXPECT_EQ(ReadTextFile(m_program + "Orvane.txt"), "new program text\r\n");
    EXPECT_TRUE(orvtest::FileExists(m_program + "Skins\\Default\\Skin.Ini"));
    EXPECT_FALSE(orvtest::FileExists(m_program + "changes.ini"));
    EXPECT_EQ(orvtest::ReadProductValue("Number").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_FALSE(orvtest::FileExists(m_archive)) << "the archive is deleted";
    const std::string log = NewLog();
    EXPECT_NE(log.find("\r\nLog message on "), std::string::npos);
    EXPECT_NE(log.find("Update to version 2.5.1 completed"), std::string::npos) << log;
    orvtest::DeleteProductValue("Number");
    orvtest::DeleteProductValue("Negative");
    orvtest::DeleteProductValue("Text");
    orvtest::DeleteProductValue("Single");
}

TEST_F(UpdaterProgramTest, BrokenOrHostileArchivesFailWithTheTextAndChangeNothing) {
    for (const char* cabinet : {"damaged.cab", "hostile-parent.cab", "not-a-cabinet.cab"}) {
        ChildProcess updater;
        ASSERT_TRUE(StartUpdater(cabinet, updater)) << cabinet;
        HWND box = WaitForMessageBox(kFailed, updater);
        ASSERT_NE(box, nullptr) << cabinet << NewLog();
        if (std::string(cabinet) == "hostile-parent.cab") SaveWindowPicture(box, "orvupdate-message-failed.bmp");
        Click(box, IDOK);
        ASSERT_TRUE(updater.WaitForExit()) << cabinet;
        EXPECT_EQ(FolderSnapshot(m_program), m_before) << cabinet << ": the program folder is as it was";
        EXPECT_FALSE(orvtest::FileExists(m_outer.Path() + "xxxxxxxxxxxxxxxxxxxxx.txt")) << cabinet;
        EXPECT_FALSE(orvtest::FileExists(m_archive)) << cabinet;
        EXPECT_FALSE(orvtest::ReadProductValue("version").present) << cabinet;
    }
    EXPECT_FALSE(Restarted());
    EXPECT_NE(NewLog().find("CCabDecompres::FDI_Open : Failed to open " + m_archive + " file"), std::string::npos);
}

TEST_F(UpdaterProgramTest, NothingHappensWhileTheMainWindowIsThere) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OrvaneMainWindowClass";
    ASSERT_TRUE(::RegisterClassA(&windowClass));
    HWND mainWindow = ::CreateWindowExA(0, windowClass.lpszClassName, "Orvane", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                        nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(StartUpdater("numbers-only.cab", "3.0"));

    // Longer than the updater would need to show its dialog without the window.
    EXPECT_FALSE(orvtest::WaitUntil([&] { return m_updater.FindWindowNow("#32770", kCaption) != nullptr; }, 4000));
    EXPECT_TRUE(m_updater.IsRunning()) << "it waits";
    EXPECT_EQ(FolderSnapshot(m_program), m_before);
    EXPECT_EQ(NewLog(), "");

    ::DestroyWindow(mainWindow);
    ::UnregisterClassA(windowClass.lpszClassName, windowClass.hInstance);
    HWND box = WaitForMessageBox(kCompleted);
    ASSERT_NE(box, nullptr) << NewLog();
    Click(box, IDOK);
    ASSERT_TRUE(m_updater.WaitForExit());
    EXPECT_TRUE(orvtest::WaitUntil([&] { return Restarted(); }));
    // changes.ini held only ADD_KEYS numbers: DWORDs, and the version after them.
    for (const char* name : {"Count", "Limit"}) {
        EXPECT_EQ(orvtest::ReadProductValue(name).type, static_cast<DWORD>(REG_DWORD)) << name;
        orvtest::DeleteProductValue(name);
    }
    EXPECT_EQ(orvtest::ReadProductValue("version").data, "3.0");
    EXPECT_EQ(orvtest::ReadProductValue("version").type, static_cast<DWORD>(REG_EXPAND_SZ));
}

TEST_F(UpdaterProgramTest, CancelConfirmedDuringExtractionInstallsNothingAndDoesNotRestart) {
    ASSERT_TRUE(StartUpdater("big.cab"));
    HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    HWND bar = ::GetDlgItem(dialog, kProgressId);
    LRESULT range = 0;
    ASSERT_TRUE(orvtest::WaitUntil([&] {
        range = ::SendMessageA(bar, PBM_GETRANGE, FALSE, 0);
        return range > 100 * 1024 * 1024;
    })) << "the range is set from the archive's size";
    ASSERT_LT(::SendMessageA(bar, PBM_GETPOS, 0, 0), range - 100)
        << "the extraction must still run when Cancel is pressed (a bigger test archive is needed)";
    Click(dialog, IDCANCEL);
    HWND question = WaitForMessageBox(kConfirmCancel);
    ASSERT_NE(question, nullptr) << "Cancel was asked about";
    SaveWindowPicture(question, "orvupdate-message-confirm-cancel.bmp");
    // The extraction goes on behind the question, then waits for the answer.
    SaveWindowPicture(dialog, "orvupdate-dialog-cancelling.bmp", question);
    Click(question, IDYES);
    ASSERT_TRUE(m_updater.WaitForExit());
    EXPECT_FALSE(Restarted());
    EXPECT_EQ(FolderSnapshot(m_program), m_before) << "no file of the update, no staging folder";
    EXPECT_FALSE(orvtest::FileExists(m_archive));
    EXPECT_FALSE(orvtest::ReadProductValue("version").present);
    EXPECT_NE(NewLog().find("Update cancelled by the user"), std::string::npos) << NewLog();
}

TEST_F(UpdaterProgramTest, CancelDeclinedLetsTheUpdateFinish) {
    ASSERT_TRUE(StartUpdater("big.cab", "6.0"));
    HWND dialog = WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDCANCEL);
    HWND question = WaitForMessageBox(kConfirmCancel);
    ASSERT_NE(question, nullptr);
    Click(question, IDNO);
    HWND box = WaitForMessageBox(kCompleted);
    ASSERT_NE(box, nullptr) << NewLog();
    Click(box, IDOK);
    ASSERT_TRUE(m_updater.WaitForExit());
    EXPECT_TRUE(orvtest::WaitUntil([&] { return Restarted(); }));
    WIN32_FILE_ATTRIBUTE_DATA big;
    ASSERT_TRUE(::GetFileAttributesExA((m_program + "big.bin").c_str(), GetFileExInfoStandard, &big));
    EXPECT_EQ(big.nFileSizeLow, 200u * 1024 * 1024);
    EXPECT_EQ(orvtest::ReadProductValue("version").data, "6.0");
}

}  // namespace
