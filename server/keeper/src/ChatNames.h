#pragma once
// The names of the chat: member identities ("O" or "R" and the member id),
// room channels ("#<creator identity>.<room name>") and room records (the
// topic "ORV1|name|description|welcome"). The chat engine (outside/chat)
// builds them; the keeper and the authentication helper check them.
#include <string>

namespace keeper {

class ChatNames {
public:
    // The chat server keeps at most this many characters of a user name;
    // the identity is the user name, so nothing longer may authenticate
    // (a cut name would be another member's).
    static constexpr size_t MaxIdentity = 19;
    static constexpr size_t MaxChannel = 50;
    static constexpr size_t MaxRoomName = 20;
    // The chat server's longest topic.
    static constexpr size_t MaxTopic = 490;

    // 1 to 18 of letters, digits, "_" and "-".
    static bool IsMemberId(const std::string& id);
    // "O" or "R" followed by a member id.
    static bool IsIdentity(const std::string& text);
    // The member id of an identity ("" when it is none).
    static std::string MemberIdOf(const std::string& identity);
    // "#<identity>.<name>" with a name of 1 to 20 letters, digits and "_";
    // creator receives the identity.
    static bool IsRoomChannel(const std::string& channel, std::string* creator = nullptr);
    // "ORV1|" and three fields without further "|" or control characters,
    // within the topic length.
    static bool IsRoomRecord(const std::string& topic);
    // The topic a room gets while it is being deleted.
    static const char* DeletedTopic() { return "ORV1-DELETED"; }

    // IRC's case folding of this server (CASEMAPPING=ascii).
    static std::string Fold(const std::string& text);
};

}  // namespace keeper
