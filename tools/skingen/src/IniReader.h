// Reads a Skin.Ini exactly as the program's skin reader does: lines end at
// CR only (an LF after CR is skipped with it), comments and headers count only
// in the first column, values are typed on the spot as text, number or
// #RRGGBB colour, and the first section or entry of a name wins.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skingen {

enum class IniType { Text, Number, Color };

struct IniEntry {
    std::string name;
    std::string text;   // the value without quotes; empty for an empty value
    IniType type = IniType::Text;
    bool hasText = false;
    int32_t number = 0;
    uint32_t color = 0;  // Windows colour reference: red in the low byte
};

struct IniSection {
    std::string name;
    std::vector<IniEntry> entries;
    const IniEntry* find(const std::string& entryName) const;
};

class IniReader {
public:
    explicit IniReader(const std::string& contents);
    static std::optional<IniReader> fromFile(const std::string& path);

    const IniSection* section(const std::string& name) const;
    const std::vector<IniSection>& sections() const { return sections_; }

    // Typed look-ups: an entry of another type counts as missing.
    std::optional<int32_t> number(const std::string& section, const std::string& name) const;
    std::optional<uint32_t> color(const std::string& section, const std::string& name) const;
    std::optional<std::string> text(const std::string& section, const std::string& name) const;

private:
    void parse(const std::string& buffer);
    std::vector<IniSection> sections_;
};

}  // namespace skingen
