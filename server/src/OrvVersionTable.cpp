#include "OrvVersionTable.h"

#include <sys/stat.h>

#include <sstream>
#include <stdexcept>

#include "OrvValidation.h"

namespace orv {

namespace {

bool isWebAddress(const std::string& s) {
    size_t start = s.rfind("http://", 0) == 0 ? 7 : s.rfind("https://", 0) == 0 ? 8 : 0;
    if (start == 0 || s.size() <= start || s.size() > 1024) return false;
    for (char c : s)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F || c == '"' || c == '\\') return false;
    return true;
}

}  // namespace

bool OrvVersionEntry::isUrl() const { return archive.find("://") != std::string::npos; }

bool OrvVersionTable::isSafeFileName(const std::string& name) {
    if (name.empty() || name.size() > 128 || name[0] == '.') return false;
    for (char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
              c == '_' || c == '-' || c == '+'))
            return false;
    return true;
}

OrvVersionEntry OrvVersionTable::parseEntry(const std::string& text) {
    std::istringstream in(text);
    OrvVersionEntry e;
    std::string minutes, extra;
    in >> e.version >> e.archive >> minutes >> extra;
    if (e.version.empty() || e.archive.empty() || !extra.empty())
        throw std::invalid_argument("expected VERSION ARCHIVE [MINUTES]: " + text);
    if (!isValidVersion(e.version)) throw std::invalid_argument("not a version: " + e.version);
    if (e.isUrl() ? !isWebAddress(e.archive) : !isSafeFileName(e.archive))
        throw std::invalid_argument("an archive is a file name in <data>/download (letters, digits, . _ - +) "
                                    "or an http(s) address: " + e.archive);
    if (!minutes.empty()) {
        size_t used = 0;
        long m = -1;
        try {
            m = std::stol(minutes, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != minutes.size() || m < 0 || m > kMaxMinutes)
            throw std::invalid_argument("minutes out of range 0.." + std::to_string(kMaxMinutes) + ": " + minutes);
        e.waitMinutes = static_cast<int>(m);
    }
    return e;
}

void OrvVersionTable::add(const OrvVersionEntry& entry) {
    for (const auto& e : entries_)
        if (compareVersions(e.version, entry.version) == 0)
            throw std::invalid_argument("version listed twice: " + entry.version);
    entries_.push_back(entry);
}

const OrvVersionEntry* OrvVersionTable::newestAbove(const std::string& clientVersion) const {
    const OrvVersionEntry* best = nullptr;
    for (const auto& e : entries_)
        if (compareVersions(e.version, clientVersion) > 0 && (!best || compareVersions(e.version, best->version) > 0))
            best = &e;
    return best;
}

OrvVersionAnswer OrvVersionTable::answer(const std::string& clientVersion, const std::string& downloadDir,
                                         const std::string& publicUrl, int retryMinutes) const {
    const OrvVersionEntry* e = newestAbove(clientVersion);
    if (!e) return {"0", "", ""};
    if (e->waitMinutes > 0) return {"2", "", std::to_string(e->waitMinutes)};
    if (e->isUrl()) return {"1", e->version, e->archive};
    struct stat st {};
    std::string file = downloadDir + "/" + e->archive;
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {"2", "", std::to_string(retryMinutes)};
    return {"1", e->version, publicUrl + "/download/" + e->archive};
}

}  // namespace orv
