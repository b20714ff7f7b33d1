#pragma once
// Installs files into the program folder all or nothing. Files are first
// extracted into a staging folder inside the program folder (same volume, so
// moving is renaming). Commit then moves them into place one by one; a file
// it replaces is first moved aside into a backup folder. When any step
// fails, everything moved so far goes back, and the program folder is as it
// was. Both helper folders are removed when the object ends.
#include <string>
#include <vector>

class UpdateLog;

class StagedInstall {
public:
    // programFolder ends with a backslash.
    StagedInstall(std::string programFolder, UpdateLog& log);
    ~StagedInstall();
    StagedInstall(const StagedInstall&) = delete;
    StagedInstall& operator=(const StagedInstall&) = delete;

    // Makes a fresh, empty staging folder (a leftover of an earlier run is
    // removed first).
    bool Prepare();
    // The staging path of a checked relative name, with its folders made;
    // empty on failure. The name is remembered for Commit.
    std::string StagePath(const std::string& relativeName);
    // Moves every staged file into the program folder, or none.
    bool Commit();

    const std::string& ProgramFolder() const { return m_programFolder; }

    // Removes a folder and everything below it (read-only files too; links
    // are removed, never followed).
    static void RemoveTree(const std::string& folder);

private:
    struct Move {
        std::string target;  // in the program folder
        std::string backup;  // where the replaced file went; empty when there was none
        bool placed = false;
    };
    static bool MakeFolders(const std::string& root, const std::string& relativeName,
                            std::vector<std::string>* created);
    void RollBack(std::vector<Move>& moves, std::vector<std::string>& createdFolders);

    std::string m_programFolder;
    std::string m_stagingFolder;
    std::string m_backupFolder;
    std::vector<std::string> m_staged;  // relative names, in extraction order
    UpdateLog& m_log;
    bool m_keepBackup = false;
};
