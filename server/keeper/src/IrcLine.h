#pragma once
// One line of the server link, parsed: ":prefix COMMAND p1 p2 :trailing".
#include <string>
#include <vector>

namespace keeper {

struct IrcLine {
    std::string prefix;   // without the ':'
    std::string command;  // upper case
    std::vector<std::string> params;

    // The nick (or server name) of the prefix: up to '!' or '@'.
    std::string Source() const;
    // The i-th parameter, or "" when there are fewer.
    const std::string& Param(size_t i) const;

    // Parses a line without its line end. Empty lines, lines without a
    // command, lines with NUL, CR or LF and lines over MaxLine are refused.
    static bool Parse(const std::string& text, IrcLine& out);

    enum : size_t {
        // What the link may send us; longer lines are dropped by the reader.
        MaxLine = 8191,
        // What we send, without CR LF (RFC 2812).
        MaxOutLine = 510,
        MaxParams = 15,
    };
};

}  // namespace keeper
