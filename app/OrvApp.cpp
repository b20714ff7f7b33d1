#include "OrvApp.h"

#include "OrvMainFrame.h"
#include "OrvRegisteredMessages.h"
#include "OrvStartupSetting.h"
#include "res/OrvResources.h"

#include "OrvLocaleManager.h"
#include "OrvMessages.h"
#include "OrvRegistry.h"
#include "OrvSkinReader.h"
#include "OrvSoundReader.h"
#include "OrvStartTrace.h"

#include "CMessageWindow.h"
#include "CSMessageBox.h"

#include <cstring>
#include <vector>

OrvApp::OrvApp() : CWinApp("Orvane") {}

OrvApp::~OrvApp() {
    m_mainFrame.reset();
    if (m_diagnosticLibrary) ::FreeLibrary(m_diagnosticLibrary);
}

const char* OrvApp::GetRuntimeClassName() const { return "OrvApp"; }

bool OrvApp::HasSwitch(const char* commandLine, const char* name) {
    return commandLine && name && std::strstr(commandLine, name) != nullptr;
}

CString OrvApp::DirectoryOf(const CString& path) {
    int cut = -1;
    for (int i = 0; i < path.GetLength(); ++i)
        if (path[i] == '\\' || path[i] == '/') cut = i;
    return cut < 0 ? CString() : path.Left(cut + 1);
}

bool OrvApp::InstallPendingUpdater(const CString& programDirectory) {
    const CString pending = programDirectory + "OrvUpdate.ex_";
    const CString updater = programDirectory + "OrvUpdate.exe";
    if (::GetFileAttributesA(pending) == INVALID_FILE_ATTRIBUTES) return false;
    ::SetFileAttributesA(updater, FILE_ATTRIBUTE_NORMAL);
    const bool moved = ::MoveFileExA(pending, updater, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != FALSE;
    if (::GetFileAttributesA(pending) != INVALID_FILE_ATTRIBUTES) ::DeleteFileA(pending);
    return moved;
}

BOOL OrvApp::InitInstance() {
    m_diagnosticLibrary = ::LoadLibraryA("diagclient.dll");
    m_ole = std::make_unique<COleInitializer>();
    OrvStartMark("OLE initialised");
    if (!m_ole->IsInitialized()) {
        CSMessageBox::MessageBoxA(nullptr, "OLE can not initialize.", "Orvane", MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    const char* commandLine = m_lpCmdLine ? m_lpCmdLine : "";
    if (HasSwitch(commandLine, "-notifier")) {
        // Started by Windows at log-on: let the desktop settle first.
        m_notifierMode = true;
        ::Sleep(30000);
    }
    if (HWND running = ::FindWindowA(ORV_MAIN_WINDOW_CLASS, nullptr)) {
        ::SendMessageA(running, OrvMessages().restoreWindow, 0, 0);
        return FALSE;
    }
    Enable3dControls();
    char path[1000] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
    m_programDirectory = DirectoryOf(path);
    m_richEditLibrary = ::LoadLibraryA(m_programDirectory + "riched20.dll");
    if (!m_richEditLibrary) return FALSE;
    OrvStartMark("riched20 loaded");
    InstallPendingUpdater(m_programDirectory);

    m_mainFrame = std::make_unique<OrvMainFrame>();
    m_mainFrame->SetProgramDirectory(m_programDirectory);
    HANDLE semaphore = ::CreateSemaphoreA(nullptr, 0, 2, "$$ORV$$INSTALL$$SEMAPHORE");
    const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (!semaphore) return FALSE;
    if (existed) {
        // Somebody else's (the installer's, or a copy in its sign-up): not
        // ours to release.
        ::CloseHandle(semaphore);
        return FALSE;
    }
    m_mainFrame->SetInstallSemaphore(semaphore);

    OrvRegistry registry;
    m_mainFrame->SetUrl(registry.GetUrl());
    if (HasSwitch(commandLine, "-remove")) {
        const CString password = registry.GetSerkey();
        m_mainFrame->SetUncryptSequence(password.GetLength() <= 4 ? password : password.Right(4));
        m_mainFrame->RemoveAccount();
        return TRUE;  // no main window: the loop ends at once
    }
    m_logEnabled = HasSwitch(commandLine, "-log");
    CString shortcut;
    if (OrvStartupSetting::GetShortcutPath(&shortcut) && ::GetFileAttributesA(shortcut) != INVALID_FILE_ATTRIBUTES) {
        ::DeleteFileA(shortcut);
        OrvStartupSetting::Write();
    }
    CreateServices(*m_mainFrame, m_programDirectory);
    m_mainFrame->SetNotifierMode(m_notifierMode);
    if (!m_mainFrame->StartSession()) return FALSE;
    OrvStartMark("session started");
    const HINSTANCE instance = m_hInstance ? m_hInstance : ::GetModuleHandleA(nullptr);
    if (!RegisterMainWindowClass(instance)) return FALSE;
    m_pMainWnd = m_mainFrame.get();
    m_mainMenu = ::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINMENU));
    OrvStartMark("main window creating");
    if (!CreateMainWindow(*m_mainFrame)) {
        m_pMainWnd = nullptr;
        return FALSE;
    }
    OrvStartMark("main window created");
    return TRUE;
}

void OrvApp::CreateServices(OrvMainFrame& frame, const CString& programDirectory) {
    OrvRegistry registry;
    const CString localeDirectory = programDirectory + "Locale\\";
    CString skinBase = registry.GetSkinbase();
    if (skinBase.IsEmpty()) skinBase = programDirectory + "Skins\\";
    CString soundBase = registry.GetSoundbase();
    if (soundBase.IsEmpty()) soundBase = programDirectory + "Sounds\\";
    auto locale = std::make_unique<OrvLocaleManager>(localeDirectory, "EN");
    OrvLocaleManager* strings = locale.get();
    OrvStartMark("services: locale");
    frame.SetLocaleManager(std::move(locale));
    auto reader = std::make_unique<OrvSkinReader>(skinBase, strings);
    // The records are ready for the session dialogs; the main window's
    // creation selects the stored skin again once its controls exist.
    reader->SetSkinByDirectory(registry.GetSkindir());
    frame.SetSkinReader(std::move(reader));
    OrvStartMark("services: skin reader");
    frame.SetSoundReader(std::make_unique<OrvSoundReader>(soundBase));
    OrvStartMark("services: sound reader");
}

bool OrvApp::RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_ORVANE));
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = ORV_MAIN_WINDOW_CLASS;
    if (::RegisterClassA(&windowClass)) return true;
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool OrvApp::CreateMainWindow(OrvMainFrame& frame) {
    CString title = "Orvane";
    if (frame.GetLocaleManager()) title = frame.GetLocaleManager()->GetString("IDS_ORVANE_APP_TITLE");
    return frame.CreateEx(0, ORV_MAIN_WINDOW_CLASS, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100, 100, 700,
                          500, nullptr, nullptr);
}

BOOL OrvApp::PreTranslateMessage(MSG* msg) {
    if (m_mainFrame && m_mainFrame->OfferToMenu(msg)) return TRUE;
    return CWinApp::PreTranslateMessage(msg);
}

void OrvApp::StartUpdater() {
    CString directory = m_programDirectory;
    if (!directory.IsEmpty()) directory = directory.Left(directory.GetLength() - 1);
    CString commandLine;
    commandLine.Format("\"%s%s\" \"%s\" \"%s\"", directory.GetString(), "\\OrvUpdate.exe",
                       m_mainFrame->GetUpdateFile().GetString(), m_mainFrame->GetUpdateArgument().GetString());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // CreateProcess may write into its command line.
    std::vector<char> writable(commandLine.GetString(), commandLine.GetString() + commandLine.GetLength() + 1);
    if (::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ::SetPriorityClass(process.hProcess, IDLE_PRIORITY_CLASS);
        ::SetThreadPriority(process.hThread, THREAD_PRIORITY_IDLE);
        ::SetPriorityClass(::GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
        ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    } else {
        ::DeleteFileA(m_mainFrame->GetUpdateFile());
    }
}

int OrvApp::ExitInstance() {
    if (m_mainFrame && m_mainFrame->IsUpdateDownloaded()) StartUpdater();
    if (m_mainMenu) ::DestroyMenu(m_mainMenu);
    m_mainMenu = nullptr;
    return CWinApp::ExitInstance();
}
