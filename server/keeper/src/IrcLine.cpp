#include "IrcLine.h"

#include <cctype>

namespace keeper {

std::string IrcLine::Source() const { return prefix.substr(0, prefix.find_first_of("!@")); }

const std::string& IrcLine::Param(size_t i) const {
    static const std::string empty;
    return i < params.size() ? params[i] : empty;
}

bool IrcLine::Parse(const std::string& text, IrcLine& out) {
    out = IrcLine();
    if (text.empty() || text.size() > MaxLine) return false;
    if (text.find_first_of(std::string("\0\r\n", 3)) != std::string::npos) return false;
    size_t pos = 0;
    const size_t n = text.size();
    auto skipBlanks = [&] {
        while (pos < n && text[pos] == ' ') ++pos;
    };
    if (text[0] == ':') {
        const size_t end = text.find(' ');
        if (end == std::string::npos) return false;
        out.prefix = text.substr(1, end - 1);
        pos = end;
    }
    skipBlanks();
    const size_t start = pos;
    while (pos < n && text[pos] != ' ') ++pos;
    out.command = text.substr(start, pos - start);
    if (out.command.empty()) return false;
    for (char& c : out.command) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (;;) {
        skipBlanks();
        if (pos >= n) break;
        if (text[pos] == ':' || out.params.size() == MaxParams - 1) {
            if (text[pos] == ':') ++pos;
            out.params.push_back(text.substr(pos));
            break;
        }
        const size_t paramStart = pos;
        while (pos < n && text[pos] != ' ') ++pos;
        out.params.push_back(text.substr(paramStart, pos - paramStart));
    }
    return true;
}

}  // namespace keeper
