#include "StagedInstall.h"

#include "SafeRelativePath.h"
#include "UpdateLog.h"

#include <windows.h>

#include <algorithm>

namespace {

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteAnyFile(const std::string& path) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
}

}  // namespace

StagedInstall::StagedInstall(std::string programFolder, UpdateLog& log)
    : m_programFolder(std::move(programFolder)),
      m_stagingFolder(m_programFolder + SafeRelativePath::StagingFolderName()),
      m_backupFolder(m_programFolder + SafeRelativePath::BackupFolderName()),
      m_log(log) {}

StagedInstall::~StagedInstall() {
    RemoveTree(m_stagingFolder);
    if (!m_keepBackup) RemoveTree(m_backupFolder);
}

void StagedInstall::RemoveTree(const std::string& folder) {
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteAnyFile(folder);
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                RemoveTree(folder + "\\" + name);
            } while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
    }
    ::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(folder.c_str());
}

bool StagedInstall::Prepare() {
    RemoveTree(m_stagingFolder);
    RemoveTree(m_backupFolder);
    m_staged.clear();
    if (!::CreateDirectoryA(m_stagingFolder.c_str(), nullptr)) {
        m_log.Write("Can't create the staging folder %s (error %lu)", m_stagingFolder.c_str(), ::GetLastError());
        return false;
    }
    return true;
}

bool StagedInstall::MakeFolders(const std::string& root, const std::string& relativeName,
                                std::vector<std::string>* created) {
    for (size_t separator = relativeName.find('\\'); separator != std::string::npos;
         separator = relativeName.find('\\', separator + 1)) {
        const std::string folder = root + "\\" + relativeName.substr(0, separator);
        if (IsFolder(folder)) continue;
        if (!::CreateDirectoryA(folder.c_str(), nullptr)) return false;
        if (created) created->push_back(folder);
    }
    return true;
}

std::string StagedInstall::StagePath(const std::string& relativeName) {
    if (!MakeFolders(m_stagingFolder, relativeName, nullptr)) {
        m_log.Write("Can't create the folders of %s (error %lu)", relativeName.c_str(), ::GetLastError());
        return std::string();
    }
    // Names differing only in case are one file on this file system.
    const bool known = std::any_of(m_staged.begin(), m_staged.end(), [&](const std::string& staged) {
        return ::lstrcmpiA(staged.c_str(), relativeName.c_str()) == 0;
    });
    if (!known) m_staged.push_back(relativeName);
    return m_stagingFolder + "\\" + relativeName;
}

bool StagedInstall::Commit() {
    std::vector<Move> moves;
    std::vector<std::string> createdFolders;
    const std::string programRoot = m_programFolder.substr(0, m_programFolder.size() - 1);
    for (const std::string& name : m_staged) {
        Move move;
        move.target = m_programFolder + name;
        const std::string staged = m_stagingFolder + "\\" + name;
        bool ok = MakeFolders(programRoot, name, &createdFolders);
        if (ok && IsFolder(move.target)) {
            m_log.Write("Can't replace the folder %s by a file", move.target.c_str());
            ok = false;
        }
        if (ok && Exists(move.target)) {
            // Moved aside, not overwritten: renaming works for read-only
            // files and, on Windows, for programs that are running.
            move.backup = m_backupFolder + "\\" + name;
            ok = (IsFolder(m_backupFolder) || ::CreateDirectoryA(m_backupFolder.c_str(), nullptr)) &&
                 MakeFolders(m_backupFolder, name, nullptr) &&
                 ::MoveFileExA(move.target.c_str(), move.backup.c_str(), 0);
            if (!ok) move.backup.clear();
        }
        if (ok) {
            moves.push_back(move);
            ok = ::MoveFileExA(staged.c_str(), move.target.c_str(), 0) != 0;
            moves.back().placed = ok;
        }
        if (!ok) {
            m_log.Write("Can't put %s in place (error %lu); the update is undone", move.target.c_str(),
                        ::GetLastError());
            RollBack(moves, createdFolders);
            return false;
        }
    }
    return true;
}

void StagedInstall::RollBack(std::vector<Move>& moves, std::vector<std::string>& createdFolders) {
    for (auto move = moves.rbegin(); move != moves.rend(); ++move) {
        if (move->placed) DeleteAnyFile(move->target);
        if (!move->backup.empty() && !::MoveFileExA(move->backup.c_str(), move->target.c_str(), 0)) {
            // The only copy of the old file is in the backup folder: keep it.
            m_keepBackup = true;
            m_log.Write("Can't restore %s (error %lu); the old file stays in %s", move->target.c_str(),
                        ::GetLastError(), m_backupFolder.c_str());
        }
    }
    // Deepest first; a folder that is not empty stays.
    for (auto folder = createdFolders.rbegin(); folder != createdFolders.rend(); ++folder)
        ::RemoveDirectoryA(folder->c_str());
}
