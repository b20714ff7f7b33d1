#include "OrvSoundReader.h"

#include "FindHandle.h"
#include "ThemaDescription.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr char kDescriptionName[] = "Theme.txt";
// Sub-folders looked at in one base; a base with more is not a sound base.
constexpr size_t kMaxFolders = 4096;

CString WithSeparator(const char* folder) {
    if (!folder || !*folder) return CString();
    CString path(folder);
    const char last = path[path.GetLength() - 1];
    if (last != '\\' && last != '/') path += '\\';
    return path;
}

// One spelling of a path for comparisons: backslashes, no trailing ones.
std::string Canonical(const char* path) {
    std::string text(path);
    std::replace(text.begin(), text.end(), '/', '\\');
    while (!text.empty() && text.back() == '\\') text.pop_back();
    return text;
}

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The theme in folder base + directory, or null when the folder holds no
// readable description. Events whose wave is missing are left out.
std::unique_ptr<OrvSoundThema> ReadThema(const std::string& base, const std::string& directory) {
    const std::string folder = base + directory + "\\";
    // The ANSI file functions take no longer paths.
    if (folder.size() + sizeof kDescriptionName > MAX_PATH) return nullptr;
    ThemaDescription description;
    if (!description.LoadFile(folder + kDescriptionName)) return nullptr;
    auto thema = std::make_unique<OrvSoundThema>(directory.c_str(), folder.c_str(), description.GetName().c_str());
    for (const ThemaDescription::Event& event : description.GetEvents()) {
        const std::string file = folder + event.file;
        if (file.size() >= MAX_PATH || !IsFile(file)) continue;
        thema->AddEvent(event.name.c_str(), file.c_str());
    }
    return thema;
}

// The names of the sub-folders of base, ordered ignoring case.
std::vector<std::string> ListFolders(const std::string& base) {
    std::vector<std::string> folders;
    WIN32_FIND_DATAA data{};
    FindHandle find((base + "*").c_str(), data);
    if (!find.IsValid()) return folders;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        const std::string name(data.cFileName, strnlen(data.cFileName, sizeof data.cFileName));
        if (name.empty() || name == "." || name == "..") continue;
        folders.push_back(name);
    } while (folders.size() < kMaxFolders && find.Next(data));
    std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
        const int order = CString(a.c_str()).CompareNoCase(b.c_str());
        return order != 0 ? order < 0 : a < b;
    });
    return folders;
}

}  // namespace

OrvSoundReader::OrvSoundReader(const char* soundBase) : m_base(WithSeparator(soundBase)) { ReadThemas(); }

OrvSoundReader::~OrvSoundReader() = default;

CString OrvSoundReader::GetSoundFile(const char* eventName) const {
    CSingleLock lock(m_lock);
    if (m_current < 0) return CString();
    return m_themas[static_cast<size_t>(m_current)]->GetSoundFile(eventName);
}

int OrvSoundReader::ReadThemas() {
    // Read without the lock: the files may be slow to come, and the tree
    // may ask for a sound meanwhile.
    std::vector<std::unique_ptr<OrvSoundThema>> themas;
    if (!m_base.IsEmpty()) {
        for (const std::string& directory : ListFolders(m_base.GetString())) {
            if (static_cast<int>(themas.size()) >= kMaxThemas) break;
            if (auto thema = ReadThema(m_base.GetString(), directory)) themas.push_back(std::move(thema));
        }
    }
    CSingleLock lock(m_lock);
    const CString current = m_current >= 0 ? m_themas[static_cast<size_t>(m_current)]->GetDirectory() : CString();
    m_themas = std::move(themas);
    m_current = m_themas.empty() ? -1 : 0;
    if (!current.IsEmpty()) {
        const int kept = FindThema(current);
        if (kept >= 0) m_current = kept;
    }
    return static_cast<int>(m_themas.size());
}

int OrvSoundReader::GetThemaCount() const {
    CSingleLock lock(m_lock);
    return static_cast<int>(m_themas.size());
}

CString OrvSoundReader::GetThemaDir(int index) const {
    CSingleLock lock(m_lock);
    if (index < 0 || index >= static_cast<int>(m_themas.size())) return CString();
    return m_themas[static_cast<size_t>(index)]->GetDirectory();
}

const OrvSoundThema* OrvSoundReader::GetThemaByDir(const char* dir) const {
    CSingleLock lock(m_lock);
    const int index = FindThema(dir);
    return index < 0 ? nullptr : m_themas[static_cast<size_t>(index)].get();
}

CString OrvSoundReader::GetSoundDir() const {
    CSingleLock lock(m_lock);
    return m_current < 0 ? CString() : m_themas[static_cast<size_t>(m_current)]->GetDirectory();
}

bool OrvSoundReader::SetSoundDir(const char* dir) {
    CSingleLock lock(m_lock);
    const int index = FindThema(dir);
    if (index < 0) return false;
    m_current = index;
    return true;
}

CString OrvSoundReader::GetSoundThema(const char* eventName) const { return GetSoundFile(eventName); }

int OrvSoundReader::FindThema(const char* dir) const {
    if (!dir || m_base.IsEmpty()) return -1;
    std::string name = Canonical(dir);
    const size_t separator = name.rfind('\\');
    if (separator != std::string::npos) {
        // A full path counts only when it names a folder directly under the
        // base: "Calm\..\..\x" or another base with a "Calm" are no theme.
        const std::string parent = name.substr(0, separator);
        if (CString(parent.c_str()).CompareNoCase(Canonical(m_base).c_str()) != 0) return -1;
        name.erase(0, separator + 1);
    }
    if (name.empty()) return -1;
    for (size_t i = 0; i < m_themas.size(); ++i) {
        if (m_themas[i]->GetDirectory().CompareNoCase(name.c_str()) == 0) return static_cast<int>(i);
    }
    return -1;
}
