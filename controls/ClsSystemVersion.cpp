#include "ClsSystemVersion.h"

#include <shlwapi.h>

ClsSystemVersion::ClsSystemVersion() { ReTest(); }

ClsSystemVersion* ClsSystemVersion::GetInstance() {
    static ClsSystemVersion instance;
    return &instance;
}

void ClsSystemVersion::ReTest() {
    m_versionInfo = OSVERSIONINFOA{};
    m_versionInfo.dwOSVersionInfoSize = sizeof m_versionInfo;
    if (::GetVersionExA(&m_versionInfo)) {
        m_windowsVersion = PACKVERSION(m_versionInfo.dwMajorVersion, m_versionInfo.dwMinorVersion);
        m_isWindowsNT = m_versionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT;
    } else {
        m_versionInfo = OSVERSIONINFOA{};
        m_windowsVersion = 0;
        m_isWindowsNT = false;
    }
    m_comctl32Version = GetDllVersion("comctl32.dll");
    m_shell32Version = GetDllVersion("shell32.dll");
    m_shlwapiVersion = GetDllVersion("shlwapi.dll");
}

bool ClsSystemVersion::GetIsBalloonToolTips() const { return m_comctl32Version > PACKVERSION(5, 79); }

bool ClsSystemVersion::GetIsHandCursor() const {
    return m_isWindowsNT ? m_windowsVersion >= PACKVERSION(5, 0) : m_windowsVersion >= PACKVERSION(4, 10);
}

DWORD ClsSystemVersion::GetDllVersion(const char* library) {
    if (!library) return 0;
    HMODULE module = ::LoadLibraryA(library);
    if (!module) return 0;
    DWORD version = 0;
    // FARPROC to the query's own type, through a plain pointer.
    if (void* query = reinterpret_cast<void*>(::GetProcAddress(module, "DllGetVersion"))) {
        DLLVERSIONINFO info{};
        info.cbSize = sizeof info;
        if (SUCCEEDED(reinterpret_cast<DLLGETVERSIONPROC>(query)(&info)))
            version = PACKVERSION(info.dwMajorVersion, info.dwMinorVersion);
    }
    ::FreeLibrary(module);
    return version;
}
