#pragma once
// The key/text pairs of one language file, parsed from its bytes. Lines that
// break the format (README.md) are dropped one by one; nothing is reported.
#include <cstddef>
#include <map>
#include <string>

class LocaleTable {
public:
    // Longest key and text kept; longer lines are dropped.
    static constexpr size_t kMaxKeyLength = 64;
    static constexpr size_t kMaxTextLength = 1024;
    // Only this much of a file is read.
    static constexpr size_t kMaxFileSize = 1024 * 1024;

    // Reads the file at path; a missing or unreadable file gives no texts.
    void LoadFile(const std::string& path);
    void Parse(const char* bytes, size_t size, bool complete);

    // The text, or null when the key has none.
    const std::string* Find(const char* key) const;
    size_t GetCount() const { return m_texts.size(); }

private:
    void ParseLine(const char* line, size_t length);

    std::map<std::string, std::string, std::less<>> m_texts;
};
