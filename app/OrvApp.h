#pragma once
// The application object: decides whether this run may go on (one
// instance, no installation running), honours the switches, installs a
// pending updater, creates the shared services, has the main frame run the
// session start and then creates the main window. At exit it starts the
// updater when an update was downloaded.
#include "CString.h"
#include "CWinApp.h"
#include "COleInitializer.h"

#include <memory>

class OrvMainFrame;

class OrvApp : public CWinApp {
public:
    OrvApp();
    ~OrvApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The three switches: plain substring tests of the command line.
    static bool HasSwitch(const char* commandLine, const char* name);
    // Moves "<directory>OrvUpdate.ex_" onto "<directory>OrvUpdate.exe"; false
    // when there was nothing to move or the move failed.
    static bool InstallPendingUpdater(const CString& programDirectory);
    // The program directory of a module path: up to and including the last
    // "\" or "/".
    static CString DirectoryOf(const CString& path);
    // "OrvaneMainWindowClass" of instance (once per process: true when it
    // is registered afterwards).
    static bool RegisterMainWindowClass(HINSTANCE instance);
    // Start-up's services for frame: the strings of <directory>Locale\, the
    // skin reader over the stored skin base (else <directory>Skins\) and the
    // sound reader over the stored sound base (else <directory>Sounds\).
    static void CreateServices(OrvMainFrame& frame, const CString& programDirectory);
    // The main window: 700 x 500 at (100, 100), titled from the locale.
    static bool CreateMainWindow(OrvMainFrame& frame);

    OrvMainFrame* GetMainFrame() const { return m_mainFrame.get(); }
    bool IsLogEnabled() const { return m_logEnabled; }
    bool IsNotifierMode() const { return m_notifierMode; }

    const char* GetRuntimeClassName() const override;

private:
    void StartUpdater();

    HMODULE m_diagnosticLibrary = nullptr;
    HMODULE m_richEditLibrary = nullptr;
    std::unique_ptr<OrvMainFrame> m_mainFrame;
    HMENU m_mainMenu = nullptr;
    bool m_logEnabled = false;
    bool m_notifierMode = false;
    std::unique_ptr<COleInitializer> m_ole;
    CString m_programDirectory;
};
