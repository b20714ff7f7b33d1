#include "IniReader.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace skingen {
namespace {

constexpr char CR = '\r', LF = '\n';

bool isBlank(char c) { return c == ' ' || c == '\t'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;  // anything else reads as the digit 0
}

IniEntry typedEntry(std::string name, std::string value, bool quoted) {
    IniEntry entry;
    entry.name = std::move(name);
    entry.hasText = true;
    entry.text = std::move(value);
    const std::string& v = entry.text;
    if (quoted)
        return entry;
    size_t start = 0;
    if (v[0] == '-' || v[0] == '+') {
        if (v.size() == 1)
            return entry;
        start = 1;
    }
    if (v[0] == '#' && v.size() == 7) {
        entry.type = IniType::Color;
        const uint32_t red = uint32_t(hexDigit(v[1]) * 16 + hexDigit(v[2]));
        const uint32_t green = uint32_t(hexDigit(v[3]) * 16 + hexDigit(v[4]));
        const uint32_t blue = uint32_t(hexDigit(v[5]) * 16 + hexDigit(v[6]));
        entry.color = red + green * 256 + blue * 65536;
        return entry;
    }
    for (size_t i = start; i < v.size(); ++i)
        if (v[i] < '0' || v[i] > '9')
            return entry;
    entry.type = IniType::Number;
    entry.number = int32_t(std::strtol(v.c_str(), nullptr, 10));
    return entry;
}

}  // namespace

const IniEntry* IniSection::find(const std::string& entryName) const {
    for (const IniEntry& e : entries)
        if (e.name == entryName)
            return &e;
    return nullptr;
}

IniReader::IniReader(const std::string& contents) { parse(contents); }

std::optional<IniReader> IniReader::fromFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    return IniReader(std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
}

void IniReader::parse(const std::string& buf) {
    const size_t n = buf.size();
    size_t i = 0;
    bool skipLine = false;
    bool lineStart = true;  // a new line, or scanning resumed after a value
    IniSection* current = nullptr;

    auto skipToNextLine = [&] {
        while (i < n && buf[i] != CR)
            ++i;
        if (i < n)
            ++i;
        if (i < n && buf[i] == LF)
            ++i;
        skipLine = false;
        lineStart = true;
    };

    while (i < n) {
        if (skipLine || buf[i] == CR) {
            skipToNextLine();
            continue;
        }
        // Comments and headers count only in the first column; scanning that resumes
        // after a value starts at a blank, CR or closing quote, never at one of them.
        const bool firstColumn = lineStart;
        lineStart = false;
        if (firstColumn && (buf[i] == '#' || buf[i] == ';' || (buf[i] == '/' && i + 1 < n && buf[i + 1] == '/'))) {
            skipLine = true;
            continue;
        }
        if (firstColumn && buf[i] == '[') {
            size_t close = i + 1;
            while (close < n && buf[close] != ']' && buf[close] != CR)
                ++close;
            if (close < n && buf[close] == ']' && close > i + 1) {
                sections_.push_back(IniSection{buf.substr(i + 1, close - i - 1), {}});
                current = &sections_.back();
            }
            skipLine = true;
            continue;
        }
        // An entry line.
        while (i < n && isBlank(buf[i]))
            ++i;
        if (i >= n || buf[i] == CR || !current) {
            skipLine = true;
            continue;
        }
        const size_t nameStart = i;
        while (i < n && !isBlank(buf[i]) && buf[i] != '=' && buf[i] != CR)
            ++i;
        if (i >= n || buf[i] == CR) {
            skipLine = true;
            continue;
        }
        std::string name = buf.substr(nameStart, i - nameStart);
        while (i < n && isBlank(buf[i]))
            ++i;
        if (i >= n || buf[i] != '=') {
            skipLine = true;
            continue;
        }
        ++i;
        while (i < n && isBlank(buf[i]))
            ++i;
        bool quoted = false;
        size_t valueStart = i, valueEnd = i;
        if (i < n && (buf[i] == '\'' || buf[i] == '"')) {
            const char mark = buf[i];
            quoted = true;
            valueStart = ++i;
            while (i < n && buf[i] != mark && buf[i] != CR)
                ++i;
            valueEnd = i;
        } else {
            while (i < n && !isBlank(buf[i]) && buf[i] != CR)
                ++i;
            valueEnd = i;
        }
        if (valueEnd == valueStart) {
            IniEntry empty;
            empty.name = std::move(name);
            current->entries.push_back(std::move(empty));
            skipLine = true;
            continue;
        }
        current->entries.push_back(typedEntry(std::move(name), buf.substr(valueStart, valueEnd - valueStart), quoted));
        // Scanning goes on at the byte that ended the value, as if a line began there.
        lineStart = true;
    }
}

const IniSection* IniReader::section(const std::string& name) const {
    for (const IniSection& s : sections_)
        if (s.name == name)
            return &s;
    return nullptr;
}

std::optional<int32_t> IniReader::number(const std::string& sectionName, const std::string& name) const {
    const IniSection* s = section(sectionName);
    const IniEntry* e = s ? s->find(name) : nullptr;
    if (e && e->type == IniType::Number)
        return e->number;
    return std::nullopt;
}

std::optional<uint32_t> IniReader::color(const std::string& sectionName, const std::string& name) const {
    const IniSection* s = section(sectionName);
    const IniEntry* e = s ? s->find(name) : nullptr;
    if (e && e->type == IniType::Color)
        return e->color;
    return std::nullopt;
}

std::optional<std::string> IniReader::text(const std::string& sectionName, const std::string& name) const {
    const IniSection* s = section(sectionName);
    const IniEntry* e = s ? s->find(name) : nullptr;
    if (e && e->type == IniType::Text && e->hasText)
        return e->text;
    return std::nullopt;
}

}  // namespace skingen
