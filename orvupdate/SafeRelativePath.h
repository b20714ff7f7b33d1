#pragma once
// Turns a file name from an update (a name in the cabinet archive, or one
// listed in changes.ini) into a path below the program folder, or refuses it.
// Refused: empty names, absolute and drive paths, "." and ".." parts, empty
// parts, device names (CON, NUL, COM1, ...), characters Windows does not
// allow in names, parts ending in a dot or a blank (Windows would drop
// them), names too long for a path, and names the updater uses itself.
// Slashes count as backslashes.
#include <string>

class SafeRelativePath {
public:
    // The longest accepted name; the program folder must leave room for it.
    static const size_t kMaxLength = 200;

    // name is in the ANSI code page, or UTF-8 when utf8 is set (converted
    // without best-fit replacements, which could turn a harmless character
    // into a separator). Returns false and leaves result empty when refused.
    static bool Make(const char* name, bool utf8, std::string& result);

    // Parts the updater keeps for itself in the program folder.
    static const char* StagingFolderName() { return "OrvUpdate.stage"; }
    static const char* BackupFolderName() { return "OrvUpdate.backup"; }
};
