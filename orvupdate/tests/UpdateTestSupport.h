#pragma once
// Folders, files, archives and registry values for the updater's tests.
#include <windows.h>

#include <map>
#include <string>

namespace orvtest {

// A fresh folder of its own under the build's test folder, removed with
// everything in it when the object ends. Path() ends with a backslash.
class TempFolder {
public:
    explicit TempFolder(const std::string& label);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

void RemoveFolderTree(const std::string& folder);
bool WriteTextFile(const std::string& path, const std::string& text);
// The file's bytes; "<missing>" when it cannot be read.
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);
// Every file and folder below folder (relative names) with the files'
// contents, to compare a folder before and after.
std::map<std::string, std::string> FolderSnapshot(const std::string& folder);

// A cabinet made by make-test-cabinets.sh (Windows path).
std::string TestCabinet(const std::string& name);

// The product key HKEY_LOCAL_MACHINE\SOFTWARE\Orvane.
struct RegistryValue {
    bool present = false;
    DWORD type = 0;
    // The bytes. Wine keeps texts with a terminating NUL even when the
    // writer gave none (so the writer's choice is not visible here); it is
    // dropped.
    std::string data;
};
RegistryValue ReadProductValue(const char* name);
bool WriteProductString(const char* name, const std::string& text);
void DeleteProductValue(const char* name);
bool ProductKeyExists();
void CreateProductKey();
void DeleteProductKey();

}  // namespace orvtest
