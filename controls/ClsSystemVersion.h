#pragma once
#include "ControlsExport.h"

#include <windows.h>

// A library version packed as major * 65536 + minor.
#define PACKVERSION(major, minor) MAKELONG(minor, major)

// What the running system offers, measured once for the process (ReTest
// measures again): its version and family, and the versions of the common
// controls, shell and shell utility libraries (0 when a library or its
// version query is missing).
class CTL_API ClsSystemVersion {
public:
    static ClsSystemVersion* GetInstance();
    void ReTest();

    const OSVERSIONINFOA& GetVersionInfo() const { return m_versionInfo; }
    DWORD GetWindows_Version() const { return m_windowsVersion; }
    bool GetIsWindowsNT() const { return m_isWindowsNT; }
    DWORD GetComctl32_Version() const { return m_comctl32Version; }
    DWORD GetShell32_Version() const { return m_shell32Version; }
    DWORD GetShlwapi_Version() const { return m_shlwapiVersion; }
    // Balloon tool tips need common controls newer than 5.79.
    bool GetIsBalloonToolTips() const;
    // The system hand cursor: NT from 5.0, the other family from 4.10.
    bool GetIsHandCursor() const;

    // The packed version a library reports through DllGetVersion; 0 when it
    // cannot be loaded or has no such query.
    static DWORD GetDllVersion(const char* library);

    ClsSystemVersion(const ClsSystemVersion&) = delete;
    ClsSystemVersion& operator=(const ClsSystemVersion&) = delete;

private:
    ClsSystemVersion();

    OSVERSIONINFOA m_versionInfo{};
    DWORD m_windowsVersion = 0;
    bool m_isWindowsNT = false;
    DWORD m_comctl32Version = 0;
    DWORD m_shell32Version = 0;
    DWORD m_shlwapiVersion = 0;
};
