#include "CWinApp.h"

#include "AfxGlobals.h"
#include "AfxTrace.h"
#include "CException.h"

namespace {
CWinApp* volatile g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName) {
    if (InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(&g_app), this, nullptr))
        AfxThrowNotSupportedException();
    m_hInstance = ::GetModuleHandleA(nullptr);
    m_nThreadID = ::GetCurrentThreadId();
}

CWinApp::~CWinApp() {
    InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(&g_app), nullptr, this);
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
    if (!m_pMainWnd) ::PostQuitMessage(0);
    return CWinThread::Run();
}

const char* CWinApp::GetRuntimeClassName() const { return "CWinApp"; }

int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = instance ? instance : ::GetModuleHandleA(nullptr);
    app->m_hPrevInstance = previous;
    app->m_lpCmdLine = commandLine ? commandLine : "";
    app->m_nCmdShow = show;
    app->m_nThreadID = ::GetCurrentThreadId();
    int code = -1;
    // Nothing may unwind out of WinMain: an escaped exception would end the
    // program without a word.
    try {
        code = app->InitInstance() ? app->Run() : app->ExitInstance();
    } catch (...) {
        AfxTraceCaughtException("framework: program ended by an exception");
    }
    AfxDeleteTempMaps();
    return code;
}
