#include "OrvStartupSetting.h"

#include <windows.h>
#include <shlobj.h>

namespace {

// One owner for an open key.
class RunKey {
public:
    explicit RunKey(REGSAM access) {
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, OrvStartupSetting::kRunKey, 0, access, &m_key) != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~RunKey() {
        if (m_key) ::RegCloseKey(m_key);
    }
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

CString ProgramPath() {
    char path[1000] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
    return path;
}

}  // namespace

CString OrvStartupSetting::CommandFor(const CString& programPath) { return "\"" + programPath + "\" -notifier"; }

bool OrvStartupSetting::IsSet() {
    RunKey key(KEY_QUERY_VALUE);
    return key.Get() && ::RegQueryValueExA(key.Get(), kValueName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool OrvStartupSetting::Write() {
    HKEY raw = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const CString command = CommandFor(ProgramPath());
    const bool written = ::RegSetValueExA(raw, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.GetString()),
                                          static_cast<DWORD>(command.GetLength() + 1)) == ERROR_SUCCESS;
    ::RegCloseKey(raw);
    return written;
}

bool OrvStartupSetting::Remove() {
    RunKey key(KEY_SET_VALUE);
    if (!key.Get()) return false;
    ::RegDeleteValueA(key.Get(), kValueName);
    return true;
}

bool OrvStartupSetting::GetShortcutPath(CString* path) {
    char folder[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_STARTUP, FALSE)) return false;
    *path = CString(folder) + "\\Orvane Notifier.lnk";
    return true;
}
