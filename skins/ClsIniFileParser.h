#pragma once
// A skin description file (Skin.Ini) read whole and parsed once into its
// sections and their entries, in file order. Never writes, never reports an
// error: a file that cannot be read gives a parser without sections.
#include "ClsIniFileSection.h"
#include "IIniScanSink.h"

#include <cstdint>
#include <memory>
#include <vector>

class ClsIniFileParser : private IIniScanSink {
public:
    explicit ClsIniFileParser(const char* path);
    ~ClsIniFileParser();
    ClsIniFileParser(const ClsIniFileParser&) = delete;
    ClsIniFileParser& operator=(const ClsIniFileParser&) = delete;

    // The first section of that exact (case-sensitive) name; null when none.
    ClsIniFileSection* FindSection(const char* name) const;
    // False for a file that could not be read or held no section.
    bool HasSections() const { return !m_sections.empty(); }

private:
    bool ReadWholeFile(const char* path);
    void Clear();
    void OnSection(const char* name, uint32_t nameLength) override;
    void OnEntry(const char* name, uint32_t nameLength, const char* value, uint32_t valueLength,
                 bool quoted) override;

    // Declared first so that it is freed after the sections.
    std::unique_ptr<char[]> m_contents;
    uint32_t m_size = 0;
    std::vector<std::unique_ptr<ClsIniFileSection>> m_sections;
    ClsIniFileSection* m_current = nullptr;
};
