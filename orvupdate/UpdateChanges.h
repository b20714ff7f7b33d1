#pragma once
// Applies the file and registry changes an update brings in changes.ini
// (sections REMOVE_FILES, REMOVE_KEYS, ADD_KEYS) and records the new version
// under HKEY_LOCAL_MACHINE "SOFTWARE\Orvane".
#include <windows.h>

#include <string>

class UpdateLog;

class UpdateChanges {
public:
    // programFolder ends with a backslash; the version may be empty.
    UpdateChanges(std::string programFolder, std::string version, UpdateLog& log);

    // With changes.ini: removes its files, opens the key and removes and
    // adds its values and writes "version"; deletes changes.ini. Without it:
    // writes "version" only.
    void Apply();

    static const char* RegistryKeyPath() { return "SOFTWARE\\Orvane"; }

private:
    void RemoveFiles(const std::string& ini);
    void RemoveValues(const std::string& ini, HKEY key);
    void AddValues(const std::string& ini, HKEY key);
    void WriteVersion(HKEY key);

    std::string m_programFolder;
    std::string m_version;
    UpdateLog& m_log;
};
