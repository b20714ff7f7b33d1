// The client versions the operator offers. Each entry: a version, its
// archive (a file name in <data>/download or an http(s) address elsewhere)
// and a wait in minutes (0 offers the version now; above 0 tells clients
// that would get it to ask again after that many minutes). For a client's
// version the newest entry newer than it decides the answer.
#pragma once

#include <string>
#include <vector>

namespace orv {

struct OrvVersionEntry {
    std::string version;
    std::string archive;  // a file name in <data>/download, or an http(s) URL
    int waitMinutes = 0;

    bool isUrl() const;
};

// What the version request answers: action "0", "1" or "2" with its arguments.
struct OrvVersionAnswer {
    std::string action;
    std::string arg1;
    std::string arg2;
};

class OrvVersionTable {
public:
    // Longest wait an entry or the retry may give (the client's own limit).
    static constexpr int kMaxMinutes = 120;

    // "VERSION ARCHIVE [MINUTES]", blank-separated. Throws
    // std::invalid_argument with a message for the operator.
    static OrvVersionEntry parseEntry(const std::string& text);
    // A file name usable in <data>/download and in a URL: letters, digits,
    // '.', '_', '-' and '+', not beginning with '.'; at most 128 characters.
    static bool isSafeFileName(const std::string& name);

    // Adds an entry; throws std::invalid_argument on a second entry with
    // the same version.
    void add(const OrvVersionEntry& entry);
    const std::vector<OrvVersionEntry>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }

    // The newest entry newer than clientVersion, or null.
    const OrvVersionEntry* newestAbove(const std::string& clientVersion) const;

    // The answer for a (valid) client version. downloadDir is where archive
    // files lie, publicUrl the base of their addresses; a file not (yet)
    // there answers "ask again in retryMinutes".
    OrvVersionAnswer answer(const std::string& clientVersion, const std::string& downloadDir,
                            const std::string& publicUrl, int retryMinutes) const;

private:
    std::vector<OrvVersionEntry> entries_;
};

}  // namespace orv
