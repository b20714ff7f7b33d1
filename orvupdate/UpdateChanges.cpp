#include "UpdateChanges.h"

#include "SafeRelativePath.h"
#include "UpdateLog.h"
#include "WinHandles.h"

#include <cstdlib>
#include <vector>

namespace {

const DWORD kSectionBuffer = 10240;
const size_t kValueBuffer = 260;

// The key names of a section: "name\0name\0\0".
std::vector<std::string> KeyNames(const std::string& ini, const char* section) {
    std::vector<char> buffer(kSectionBuffer, '\0');
    const DWORD length = ::GetPrivateProfileStringA(section, nullptr, "", buffer.data(), kSectionBuffer, ini.c_str());
    std::vector<std::string> names;
    for (DWORD at = 0; at < length && buffer[at];) {
        std::string name(&buffer[at]);
        at += static_cast<DWORD>(name.size()) + 1;
        names.push_back(std::move(name));
    }
    return names;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}


}  // namespace

UpdateChanges::UpdateChanges(std::string programFolder, std::string version, UpdateLog& log)
    : m_programFolder(std::move(programFolder)), m_version(std::move(version)), m_log(log) {}

void UpdateChanges::Apply() {
    const std::string ini = m_programFolder + "changes.ini";
    const bool haveIni = ::GetFileAttributesA(ini.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!haveIni && m_version.empty()) return;
    if (haveIni) RemoveFiles(ini);

    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, RegistryKeyPath(), 0, KEY_ALL_ACCESS, &opened);
    UniqueRegKey key(status == ERROR_SUCCESS ? opened : nullptr);
    if (!key) {
        m_log.Write("Can't open HKEY_LOCAL_MACHINE\\%s (error %ld); no registry change", RegistryKeyPath(), status);
    } else {
        if (haveIni) {
            RemoveValues(ini, key.Get());
            AddValues(ini, key.Get());
        }
        WriteVersion(key.Get());
    }
    if (haveIni) {
        ::SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(ini.c_str());
    }
}

void UpdateChanges::RemoveFiles(const std::string& ini) {
    for (const std::string& name : KeyNames(ini, "REMOVE_FILES")) {
        // An update removes its own files, never one outside the program folder.
        std::string relative;
        if (!SafeRelativePath::Make(name.c_str(), false, relative)) {
            m_log.Write("REMOVE_FILES: refused the name \"%s\"", name.c_str());
            continue;
        }
        const std::string path = m_programFolder + relative;
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (::DeleteFileA(path.c_str())) m_log.Write("Removed file %s", path.c_str());
        else m_log.Write("Can't remove file %s (error %lu)", path.c_str(), ::GetLastError());
    }
}

void UpdateChanges::RemoveValues(const std::string& ini, HKEY key) {
    for (const std::string& name : KeyNames(ini, "REMOVE_KEYS")) {
        const LONG status = ::RegDeleteValueA(key, name.c_str());
        m_log.Write("Removed value %s (%ld)", name.c_str(), status);
    }
}

// A value in quotes is text (REG_EXPAND_SZ, without the quotes); anything
// else is a decimal number (REG_DWORD). The section is read as written:
// GetPrivateProfileString would drop the quotes that tell the two apart.
void UpdateChanges::AddValues(const std::string& ini, HKEY key) {
    std::vector<char> buffer(kSectionBuffer, '\0');
    const DWORD length = ::GetPrivateProfileSectionA("ADD_KEYS", buffer.data(), kSectionBuffer, ini.c_str());
    for (DWORD at = 0; at < length && buffer[at];) {
        const std::string line(&buffer[at]);
        at += static_cast<DWORD>(line.size()) + 1;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string name = Trimmed(line.substr(0, equals));
        std::string value = Trimmed(line.substr(equals + 1));
        if (name.empty() || name[0] == ';') continue;
        if (value.size() >= kValueBuffer) value.resize(kValueBuffer - 1);
        LONG status;
        if (!value.empty() && (value[0] == '"' || value[0] == '\'')) {
            std::string text = value.substr(1);
            if (!text.empty() && text.back() == value[0]) text.pop_back();
            status = ::RegSetValueExA(key, name.c_str(), 0, REG_EXPAND_SZ,
                                      reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(text.size()));
            m_log.Write("Added value %s = \"%s\" (%ld)", name.c_str(), text.c_str(), status);
        } else {
            // atol's reading (blanks, a sign, digits), kept to 32 bits.
            const DWORD number = static_cast<DWORD>(std::strtoll(value.c_str(), nullptr, 10));
            status = ::RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                                      sizeof number);
            m_log.Write("Added value %s = %lu (%ld)", name.c_str(), number, status);
        }
    }
}

void UpdateChanges::WriteVersion(HKEY key) {
    if (m_version.empty()) return;
    const LONG status = ::RegSetValueExA(key, "version", 0, REG_EXPAND_SZ,
                                         reinterpret_cast<const BYTE*>(m_version.data()),
                                         static_cast<DWORD>(m_version.size()));
    m_log.Write("Version %s recorded (%ld)", m_version.c_str(), status);
}
