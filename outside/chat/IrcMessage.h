#pragma once
// One IRC protocol line, parsed. Part of chat_core.

#include <string>
#include <vector>

struct IrcMessage {
    std::string prefix;   // without the ':'
    std::string nick;     // the prefix up to '!' or '@'
    std::string command;  // upper case
    std::vector<std::string> params;

    // The i-th parameter, or "" when there are fewer.
    const std::string& Param(size_t i) const;

    // Parses a line without its CR LF. Lines longer than MaxLine, empty lines,
    // lines without a command and lines with NUL are refused.
    static bool Parse(const std::string& line, IrcMessage& out);

    enum : size_t {
        // Lines the server may send us; longer ones are dropped by the reader.
        MaxLine = 8191,
        // Lines we send, without CR LF.
        MaxOutLine = 510,
        MaxParams = 15,
    };
};
