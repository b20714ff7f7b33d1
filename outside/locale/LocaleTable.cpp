#include "LocaleTable.h"

#include <cstring>
#include <fstream>
#include <vector>

namespace {

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

bool IsKeyCharacter(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
           ch == '_' || ch == '.';
}

// Control bytes other than tab mean the line is damaged (binary data, a
// file in another encoding); such a line is dropped rather than shown.
bool IsTextByte(char ch) { return static_cast<unsigned char>(ch) >= 32 || ch == '\t'; }

void TrimBlanks(const char*& begin, const char*& end) {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
}

// "\n" is a line break, "\t" a tab, "\\" a backslash; any other backslash
// stays as it is. False when the text is damaged.
bool Unescape(const char* begin, const char* end, std::string& text) {
    text.clear();
    for (const char* p = begin; p < end; ++p) {
        if (!IsTextByte(*p)) return false;
        if (*p == '\\' && p + 1 < end) {
            const char next = p[1];
            if (next == 'n' || next == 't' || next == '\\') {
                text += next == 'n' ? '\n' : next == 't' ? '\t' : '\\';
                ++p;
                continue;
            }
        }
        text += *p;
    }
    return true;
}

}  // namespace

void LocaleTable::LoadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return;
    const std::streamoff size = in.tellg();
    if (size <= 0) return;
    // A file longer than the limit is cut, and its cut line dropped.
    const bool complete = static_cast<unsigned long long>(size) <= kMaxFileSize;
    std::vector<char> bytes(complete ? static_cast<size_t>(size) : kMaxFileSize);
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const auto read = static_cast<size_t>(in.gcount());
    Parse(bytes.data(), read, complete && read == bytes.size());
}

void LocaleTable::Parse(const char* bytes, size_t size, bool complete) {
    size_t pos = 0;
    // A byte order mark that editors put ahead of UTF-8 text.
    if (size >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) pos = 3;
    while (pos < size) {
        size_t end = pos;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        if (end == size && !complete) return;
        ParseLine(bytes + pos, end - pos);
        pos = end;
        if (pos < size && bytes[pos] == '\r') ++pos;
        if (pos < size && bytes[pos] == '\n') ++pos;
    }
}

void LocaleTable::ParseLine(const char* line, size_t length) {
    const char* begin = line;
    const char* end = line + length;
    TrimBlanks(begin, end);
    if (begin == end || *begin == '#' || *begin == ';') return;
    const char* equals = static_cast<const char*>(std::memchr(begin, '=', static_cast<size_t>(end - begin)));
    if (!equals) return;
    const char* keyBegin = begin;
    const char* keyEnd = equals;
    TrimBlanks(keyBegin, keyEnd);
    const auto keyLength = static_cast<size_t>(keyEnd - keyBegin);
    if (keyLength == 0 || keyLength > kMaxKeyLength) return;
    for (const char* p = keyBegin; p < keyEnd; ++p) {
        if (!IsKeyCharacter(*p)) return;
    }
    const char* textBegin = equals + 1;
    const char* textEnd = end;
    TrimBlanks(textBegin, textEnd);
    if (textBegin == textEnd || static_cast<size_t>(textEnd - textBegin) > kMaxTextLength) return;
    std::string text;
    if (!Unescape(textBegin, textEnd, text)) return;
    // The first line of a key wins.
    m_texts.emplace(std::string(keyBegin, keyLength), std::move(text));
}

const std::string* LocaleTable::Find(const char* key) const {
    if (!key) return nullptr;
    const auto found = m_texts.find(key);
    return found == m_texts.end() ? nullptr : &found->second;
}
