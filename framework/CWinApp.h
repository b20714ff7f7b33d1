#pragma once
#include "CWinThread.h"

// The application object: the CWinThread of the main thread. One per
// process; a second one while the first lives throws
// CNotSupportedException. The program's WinMain calls AfxWinMain, which runs
// InitInstance, then Run (the message loop, ending with ExitInstance).
class FW_API CWinApp : public CWinThread {
public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    // The base accepts; a program creates its main window here and sets
    // m_pMainWnd. False ends the program with ExitInstance's code.
    BOOL InitInstance() override;
    // Without a main window there is nothing to wait for: the loop ends at once.
    int Run() override;
    // The 3-D look of dialogs is the system's own since Windows 95; kept for
    // programs that ask for it.
    BOOL Enable3dControls() { return TRUE; }
    const char* GetRuntimeClassName() const override;

    HINSTANCE m_hInstance = nullptr;
    HINSTANCE m_hPrevInstance = nullptr;
    const char* m_lpCmdLine = "";
    int m_nCmdShow = SW_SHOWNORMAL;
    const char* m_pszAppName = nullptr;
};

FW_API CWinApp* AfxGetApp();
// The body of the program's WinMain. Returns the exit code: ExitInstance's
// result, or -1 without an application object or after an exception.
FW_API int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);
