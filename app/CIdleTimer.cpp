#include "CIdleTimer.h"

#include "OrvHook.h"

namespace {

// GetLastInputInfo came with Windows 2000 (NT 5).
bool SystemHasIdleTime() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExA(&version)) return false;
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4;
}

}  // namespace

CIdleTimer::CIdleTimer(Source source) : m_lastInputTick(::GetTickCount()), m_resetTick(m_lastInputTick) {
    if (source != Source::Automatic || !SystemHasIdleTime()) return;
    m_user32 = ::LoadLibraryA("user32.dll");
    if (!m_user32) return;
    m_getLastInputInfo =
        reinterpret_cast<GetLastInputInfoFunction>(reinterpret_cast<void*>(::GetProcAddress(m_user32, "GetLastInputInfo")));
}

CIdleTimer::~CIdleTimer() {
    if (m_user32) ::FreeLibrary(m_user32);
}

bool CIdleTimer::Start() {
    if (UsesSystemIdleTime()) return true;
    RemoveHook();
    return SetHook() != 0;
}

void CIdleTimer::Stop() {
    if (!UsesSystemIdleTime()) RemoveHook();
}

DWORD CIdleTimer::GetIdleTime() {
    const DWORD now = ::GetTickCount();
    if (UsesSystemIdleTime()) {
        LASTINPUTINFO info{};
        info.cbSize = sizeof info;
        if (m_getLastInputInfo(&info)) m_lastInputTick = info.dwTime;
        // The system knows nothing of Reset: the later of the two counts.
        if (Elapsed(now, m_resetTick) < Elapsed(now, m_lastInputTick)) m_lastInputTick = m_resetTick;
    } else {
        m_lastInputTick = GetLastOpTime();
    }
    return Elapsed(now, m_lastInputTick);
}

void CIdleTimer::Reset() {
    if (UsesSystemIdleTime()) m_lastInputTick = m_resetTick = ::GetTickCount();
    else ClearLastOpTime();
}
