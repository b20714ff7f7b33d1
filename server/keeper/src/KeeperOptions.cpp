#include "KeeperOptions.h"

#include <cstdlib>
#include <fstream>

namespace keeper {

namespace {

bool ParseCount(const std::string& text, long low, long high, long& value) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return value >= low && value <= high;
}

// A name on the link: no blanks, no line ends, nothing a line could end at.
bool IsLinkWord(const std::string& text) {
    if (text.empty() || text.size() > 63) return false;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u <= ' ' || u == 0x7F || c == ':') return false;
    }
    return true;
}

}  // namespace

bool KeeperOptions::Parse(int argc, const char* const* argv, KeeperOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            error = "missing value of " + name;
            return false;
        }
        const std::string value = argv[++i];
        long number = 0;
        if (name == "--chat-host") {
            options.chatHost = value;
        } else if (name == "--chat-port") {
            if (!ParseCount(value, 1, 65535, number)) {
                error = "bad port " + value;
                return false;
            }
            options.chatPort = static_cast<int>(number);
        } else if (name == "--link-file") {
            options.linkFile = value;
        } else if (name == "--state") {
            options.stateFile = value;
        } else if (name == "--server-name") {
            options.serverName = value;
        } else if (name == "--peer-name") {
            options.peerName = value;
        } else if (name == "--nick") {
            options.nick = value;
        } else if (name == "--max-rooms" || name == "--max-rooms-per-member") {
            if (!ParseCount(value, 0, 1000000, number)) {
                error = "bad count " + value;
                return false;
            }
            (name == "--max-rooms" ? options.maxRooms : options.maxRoomsPerMember) = static_cast<size_t>(number);
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    if (options.chatPort == 0 || options.linkFile.empty()) {
        error = "--chat-port and --link-file are required";
        return false;
    }
    if (!IsLinkWord(options.serverName) || !IsLinkWord(options.peerName) || !IsLinkWord(options.nick) ||
        options.chatHost.empty()) {
        error = "bad name";
        return false;
    }
    return ReadLinkFile(options.linkFile, options, error);
}

bool KeeperOptions::ReadLinkFile(const std::string& path, KeeperOptions& options, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "keeper-password") options.keeperPassword = value;
        if (key == "server-password") options.serverPassword = value;
    }
    if (!IsLinkWord(options.keeperPassword) || !IsLinkWord(options.serverPassword)) {
        error = path + " lacks keeper-password or server-password";
        return false;
    }
    return true;
}

}  // namespace keeper
