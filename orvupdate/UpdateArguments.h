#pragma once
// The updater's command line: its own path, then the path of the update
// archive and the new version, each in double quotes, in single quotes, or
// up to the next blank. A line that cannot be split this way (an open quote,
// a missing argument) gives two empty strings.
#include <string>

struct UpdateArguments {
    std::string archivePath;
    std::string version;

    static UpdateArguments Parse(const char* commandLine);
    bool IsComplete() const { return !archivePath.empty() && !version.empty(); }
};
