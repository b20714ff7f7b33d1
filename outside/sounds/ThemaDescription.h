#pragma once
// The description file of one sound theme (Theme.txt, format in README.md),
// parsed from its bytes: the theme's display name and its event=file lines.
// Lines that break the format are dropped one by one; nothing is reported.
// A file name is kept only when it names a wave file inside the theme's own
// folder, so whatever the file says, no path built from it leaves that folder.
#include <cstddef>
#include <string>
#include <vector>

class ThemaDescription {
public:
    struct Event {
        std::string name;
        std::string file;
    };

    static constexpr size_t kMaxFileSize = 64 * 1024;
    static constexpr size_t kMaxNameLength = 64;
    static constexpr size_t kMaxEventNameLength = 64;
    static constexpr size_t kMaxWaveNameLength = 128;
    static constexpr size_t kMaxEvents = 64;

    // Reads the file at path; false when it is missing, unreadable or not a
    // theme description (no [Theme] section).
    bool LoadFile(const std::string& path);
    // complete is false when bytes are only the start of a longer file: the
    // last, cut line is then dropped.
    void Parse(const char* bytes, size_t size, bool complete);

    bool IsThema() const { return m_isThema; }
    // The display name, "" when the description gives none.
    const std::string& GetName() const { return m_name; }
    // The events in the order of the file, each name once.
    const std::vector<Event>& GetEvents() const { return m_events; }

    // A plain file name ending in ".wav": no folder part, no drive, no
    // stream, no device name, no wildcard.
    static bool IsPlainWaveName(const std::string& file);

private:
    enum class Section { None, Thema, Events, Other };

    void ParseLine(const char* begin, const char* end);
    void ParseThemaEntry(const std::string& key, const std::string& value);
    void ParseEventEntry(const std::string& key, const std::string& value);

    Section m_section = Section::None;
    bool m_isThema = false;
    std::string m_name;
    std::vector<Event> m_events;
};
