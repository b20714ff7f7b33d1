#pragma once
// The keeper's command line:
//   orvane-keeper --chat-port N --link-file FILE [--chat-host HOST] [--state FILE]
//                 [--server-name NAME] [--peer-name NAME] [--nick NICK]
//                 [--max-rooms N] [--max-rooms-per-member N]
// The link file (written with the chat server's configuration, readable
// only by its owner) holds the two link passwords:
//   keeper-password=<what the keeper presents>
//   server-password=<what the chat server presents>
#include <string>

namespace keeper {

struct KeeperOptions {
    std::string chatHost = "127.0.0.1";
    int chatPort = 0;
    std::string linkFile;
    std::string stateFile;
    std::string serverName = "keeper.orvane.local";
    std::string peerName = "chat.orvane.local";
    std::string nick = "ChatKeeper";
    size_t maxRooms = 2000;
    size_t maxRoomsPerMember = 20;
    std::string keeperPassword;
    std::string serverPassword;

    // Fills the options from the command line and the link file.
    static bool Parse(int argc, const char* const* argv, KeeperOptions& options, std::string& error);
    static bool ReadLinkFile(const std::string& path, KeeperOptions& options, std::string& error);
};

}  // namespace keeper
