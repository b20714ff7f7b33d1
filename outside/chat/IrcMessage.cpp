#include "IrcMessage.h"

#include <cctype>

const std::string& IrcMessage::Param(size_t i) const {
    static const std::string empty;
    return i < params.size() ? params[i] : empty;
}

bool IrcMessage::Parse(const std::string& line, IrcMessage& out) {
    out = IrcMessage();
    if (line.empty() || line.size() > MaxLine || line.find('\0') != std::string::npos) return false;
    size_t pos = 0;
    const size_t n = line.size();
    auto skipBlanks = [&] { while (pos < n && line[pos] == ' ') ++pos; };
    if (line[0] == ':') {
        const size_t end = line.find(' ');
        if (end == std::string::npos) return false;
        out.prefix = line.substr(1, end - 1);
        out.nick = out.prefix.substr(0, out.prefix.find_first_of("!@"));
        pos = end;
    }
    skipBlanks();
    const size_t cmdStart = pos;
    while (pos < n && line[pos] != ' ') ++pos;
    out.command = line.substr(cmdStart, pos - cmdStart);
    if (out.command.empty()) return false;
    for (char& c : out.command) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (;;) {
        skipBlanks();
        if (pos >= n) break;
        if (line[pos] == ':' || out.params.size() == MaxParams - 1) {
            if (line[pos] == ':') ++pos;
            out.params.push_back(line.substr(pos));
            break;
        }
        const size_t start = pos;
        while (pos < n && line[pos] != ' ') ++pos;
        out.params.push_back(line.substr(start, pos - start));
    }
    return true;
}
