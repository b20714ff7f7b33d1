#include "ThemaDescription.h"

#include <cstring>
#include <fstream>

namespace {

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

bool IsAsciiLetterOrDigit(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9');
}

char FoldCase(char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch; }

// ASCII case folding only, so the result does not depend on the locale.
bool EqualsNoCase(const std::string& a, const char* b) {
    const size_t length = std::strlen(b);
    if (a.size() != length) return false;
    for (size_t i = 0; i < length; ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

bool EqualsNoCase(const std::string& a, const std::string& b) { return EqualsNoCase(a, b.c_str()); }

// Control bytes other than tab mean the line is damaged (binary data, a file
// in another encoding).
bool HasControlBytes(const char* begin, const char* end) {
    for (const char* p = begin; p < end; ++p) {
        if (static_cast<unsigned char>(*p) < 32 && *p != '\t') return true;
    }
    return false;
}

std::string Trimmed(const char* begin, const char* end) {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    return std::string(begin, end);
}

bool IsEventName(const std::string& name) {
    if (name.empty() || name.size() > ThemaDescription::kMaxEventNameLength) return false;
    for (char ch : name) {
        if (!IsAsciiLetterOrDigit(ch) && ch != '_' && ch != '.' && ch != '-') return false;
    }
    return true;
}

// Names that Windows opens as devices whatever folder and extension they
// carry ("CON.wav" is the console).
bool IsDeviceName(const std::string& file) {
    std::string stem = file.substr(0, file.find('.'));
    while (!stem.empty() && IsBlank(stem.back())) stem.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
        if (EqualsNoCase(stem, device)) return true;
    }
    if (stem.size() == 4 && (EqualsNoCase(stem.substr(0, 3), "COM") || EqualsNoCase(stem.substr(0, 3), "LPT")) &&
        stem[3] >= '0' && stem[3] <= '9')
        return true;
    return false;
}

}  // namespace

bool ThemaDescription::IsPlainWaveName(const std::string& file) {
    static constexpr char kExtension[] = ".wav";
    constexpr size_t kExtensionLength = sizeof kExtension - 1;
    if (file.size() <= kExtensionLength || file.size() > kMaxWaveNameLength) return false;
    if (!EqualsNoCase(file.substr(file.size() - kExtensionLength), kExtension)) return false;
    // A leading dot or blank could make "." or ".." after the system trims it.
    if (file[0] == '.' || IsBlank(file[0])) return false;
    for (char ch : file) {
        // Everything else, separators, drive and stream colons and wildcards
        // among it, could take the name out of its folder or make it many.
        // (strchr finds the terminating NUL too, hence the first test.)
        const bool plain = ch != '\0' && (IsAsciiLetterOrDigit(ch) || std::strchr(" _-.()+!#&'@~,", ch));
        if (!plain) return false;
    }
    return !IsDeviceName(file);
}

bool ThemaDescription::LoadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    const bool complete = static_cast<unsigned long long>(size) <= kMaxFileSize;
    std::vector<char> bytes(complete ? static_cast<size_t>(size) : kMaxFileSize);
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const auto read = static_cast<size_t>(in.gcount());
    Parse(bytes.data(), read, complete && read == bytes.size());
    return m_isThema;
}

void ThemaDescription::Parse(const char* bytes, size_t size, bool complete) {
    size_t pos = 0;
    // A byte order mark that editors put ahead of UTF-8 text.
    if (size >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) pos = 3;
    while (pos < size) {
        size_t end = pos;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        if (end == size && !complete) return;
        ParseLine(bytes + pos, bytes + end);
        pos = end;
        if (pos < size && bytes[pos] == '\r') ++pos;
        if (pos < size && bytes[pos] == '\n') ++pos;
    }
}

void ThemaDescription::ParseLine(const char* begin, const char* end) {
    if (HasControlBytes(begin, end)) return;
    const std::string line = Trimmed(begin, end);
    if (line.empty() || line[0] == '#' || line[0] == ';') return;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
        const std::string section = Trimmed(line.data() + 1, line.data() + line.size() - 1);
        if (EqualsNoCase(section, "Theme")) {
            m_section = Section::Thema;
            m_isThema = true;
        } else if (EqualsNoCase(section, "Events")) {
            m_section = Section::Events;
        } else {
            m_section = Section::Other;
        }
        return;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos) return;
    const std::string key = Trimmed(line.data(), line.data() + equals);
    const std::string value = Trimmed(line.data() + equals + 1, line.data() + line.size());
    if (m_section == Section::Thema) ParseThemaEntry(key, value);
    if (m_section == Section::Events) ParseEventEntry(key, value);
}

void ThemaDescription::ParseThemaEntry(const std::string& key, const std::string& value) {
    // The first name wins; other keys are left for later versions.
    if (!EqualsNoCase(key, "Name") || !m_name.empty()) return;
    if (value.empty() || value.size() > kMaxNameLength) return;
    m_name = value;
}

void ThemaDescription::ParseEventEntry(const std::string& key, const std::string& value) {
    if (m_events.size() >= kMaxEvents) return;
    if (!IsEventName(key) || !IsPlainWaveName(value)) return;
    // The first line of an event wins.
    for (const Event& event : m_events) {
        if (EqualsNoCase(event.name, key)) return;
    }
    m_events.push_back({key, value});
}
