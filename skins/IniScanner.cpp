#include "IniScanner.h"

namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

uint32_t Length(size_t from, size_t to) { return static_cast<uint32_t>(to - from); }

}  // namespace

IniScanner::IniScanner(const char* bytes, uint32_t size) : m_bytes(bytes), m_size(bytes ? size : 0) {}

void IniScanner::Scan(IIniScanSink& sink) {
    m_examined = 0;
    m_inSection = false;
    size_t pos = 0;
    bool skipRest = false;
    // Every turn either moves pos on or sets skipRest, whose turn moves it on.
    while (pos < m_size) {
        const char first = At(pos);
        if (skipRest || first == kCR) {
            pos = SkipLine(pos);
            skipRest = false;
        } else if (StartsComment(first, pos)) {
            skipRest = true;
        } else if (first == '[') {
            pos = ScanHeader(pos, sink, skipRest);
        } else {
            pos = ScanEntry(pos, sink, skipRest);
        }
    }
}

bool IniScanner::StartsComment(char first, size_t pos) {
    if (first == '#' || first == ';') return true;
    return first == '/' && pos + 1 < m_size && At(pos + 1) == '/';
}

size_t IniScanner::SkipBlanks(size_t pos) {
    while (pos < m_size && IsBlank(At(pos))) ++pos;
    return pos;
}

size_t IniScanner::SkipLine(size_t pos) {
    while (pos < m_size && At(pos) != kCR) ++pos;
    if (pos < m_size) ++pos;
    if (pos < m_size && At(pos) == kLF) ++pos;
    return pos;
}

size_t IniScanner::ScanHeader(size_t pos, IIniScanSink& sink, bool& skipRest) {
    // Whatever happens, the rest of the header's line is not read.
    skipRest = true;
    const size_t nameStart = pos + 1;
    size_t end = nameStart;
    while (end < m_size) {
        const char ch = At(end);
        if (ch == ']' || ch == kCR) break;
        ++end;
    }
    if (IsLineEnd(end) || end == nameStart) return end;
    sink.OnSection(m_bytes + nameStart, Length(nameStart, end));
    m_inSection = true;
    return end + 1;
}

size_t IniScanner::ScanEntry(size_t pos, IIniScanSink& sink, bool& skipRest) {
    size_t p = SkipBlanks(pos);
    if (IsLineEnd(p) || !m_inSection) {
        skipRest = true;
        return p;
    }
    const size_t nameStart = p;
    while (p < m_size) {
        const char ch = At(p);
        if (IsBlank(ch) || ch == '=' || ch == kCR) break;
        ++p;
    }
    // A line without '=' is no entry, and neither is one without a name.
    if (IsLineEnd(p) || p == nameStart) {
        skipRest = true;
        return p;
    }
    const char* name = m_bytes + nameStart;
    const uint32_t nameLength = Length(nameStart, p);
    p = SkipBlanks(p);
    if (p >= m_size || At(p) != '=') {
        skipRest = true;
        return p;
    }
    p = SkipBlanks(p + 1);
    if (IsLineEnd(p)) {
        sink.OnEntry(name, nameLength, nullptr, 0, false);
        skipRest = true;
        return p;
    }
    const char first = At(p);
    if (first == '\'' || first == '"') return ScanQuotedValue(p, name, nameLength, sink, skipRest);
    const size_t valueStart = p;
    while (p < m_size) {
        const char ch = At(p);
        if (IsBlank(ch) || ch == kCR) break;
        ++p;
    }
    // Go on at the byte that ended the value, as if a line began there: a
    // further "name = value" on this line is read too.
    sink.OnEntry(name, nameLength, m_bytes + valueStart, Length(valueStart, p), false);
    return p;
}

size_t IniScanner::ScanQuotedValue(size_t pos, const char* name, uint32_t nameLength,
                                   IIniScanSink& sink, bool& skipRest) {
    const char mark = At(pos);
    const size_t valueStart = pos + 1;
    size_t end = valueStart;
    // An unterminated quote runs to the end of the line.
    while (end < m_size) {
        const char ch = At(end);
        if (ch == mark || ch == kCR) break;
        ++end;
    }
    sink.OnEntry(name, nameLength, m_bytes + valueStart, Length(valueStart, end), true);
    // After an empty value the line is done; otherwise scanning goes on at
    // the closing mark, which in practice drops the rest of the line.
    if (end == valueStart) skipRest = true;
    return end;
}
