#include "UpdateTestSupport.h"

#include "TestSupport.h"

#include <vector>

namespace orvtest {

namespace {
const char kProductKey[] = "SOFTWARE\\Orvane";

void Snapshot(const std::string& root, const std::string& relative, std::map<std::string, std::string>& result) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((root + relative + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            result[relative + name + "\\"] = "<folder>";
            Snapshot(root, relative + name + "\\", result);
        } else {
            result[relative + name] = ReadTextFile(root + relative + name);
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}
}  // namespace

TempFolder::TempFolder(const std::string& label) {
    static LONG counter = 0;
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof temp, temp);
    std::string base = std::string(temp) + "orvupdate-tests\\";
    ::CreateDirectoryA(base.c_str(), nullptr);
    m_path = base + label + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
             std::to_string(::InterlockedIncrement(&counter)) + "\\";
    RemoveFolderTree(m_path);
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveFolderTree(m_path); }

void RemoveFolderTree(const std::string& folder) {
    std::string path = folder;
    if (!path.empty() && path.back() == '\\') path.pop_back();
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") RemoveFolderTree(path + "\\" + name);
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(path.c_str());
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    ::CloseHandle(file);
    return ok;
}

std::string ReadTextFile(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string text;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    ::CloseHandle(file);
    return text;
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::map<std::string, std::string> FolderSnapshot(const std::string& folder) {
    std::map<std::string, std::string> result;
    Snapshot(folder, "", result);
    return result;
}

std::string TestCabinet(const std::string& name) { return WinePath(Env("ORV_TEST_CABINETS")) + "\\" + name; }

RegistryValue ReadProductValue(const char* name) {
    RegistryValue value;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size + 1);
        if (::RegQueryValueExA(key, name, nullptr, &value.type, data.data(), &size) == ERROR_SUCCESS) {
            value.present = true;
            value.data.assign(reinterpret_cast<const char*>(data.data()), size);
            const bool text = value.type == REG_SZ || value.type == REG_EXPAND_SZ;
            if (text && !value.data.empty() && value.data.back() == '\0') value.data.pop_back();
        }
    }
    ::RegCloseKey(key);
    return value;
}

bool WriteProductString(const char* name, const std::string& text) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const bool ok = ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                     static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}

void DeleteProductValue(const char* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    ::RegDeleteValueA(key, name);
    ::RegCloseKey(key);
}

bool ProductKeyExists() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

void CreateProductKey() {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        ::RegCloseKey(key);
}

void DeleteProductKey() { ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey); }

}  // namespace orvtest
