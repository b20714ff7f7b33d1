#include "ChatNames.h"

namespace keeper {

namespace {

bool IsIdChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

bool IsRoomNameChar(char c) { return IsIdChar(c) && c != '-'; }

}  // namespace

bool ChatNames::IsMemberId(const std::string& id) {
    if (id.empty() || id.size() > MaxIdentity - 1) return false;
    for (char c : id)
        if (!IsIdChar(c)) return false;
    return true;
}

bool ChatNames::IsIdentity(const std::string& text) {
    return text.size() > 1 && (text[0] == 'O' || text[0] == 'R') && IsMemberId(text.substr(1));
}

std::string ChatNames::MemberIdOf(const std::string& identity) {
    return IsIdentity(identity) ? identity.substr(1) : std::string();
}

bool ChatNames::IsRoomChannel(const std::string& channel, std::string* creator) {
    if (channel.size() > MaxChannel || channel.size() < 4 || channel[0] != '#') return false;
    const size_t dot = channel.find('.');
    if (dot == std::string::npos) return false;
    const std::string identity = channel.substr(1, dot - 1);
    const std::string name = channel.substr(dot + 1);
    if (!IsIdentity(identity) || name.empty() || name.size() > MaxRoomName) return false;
    for (char c : name)
        if (!IsRoomNameChar(c)) return false;
    if (creator) *creator = identity;
    return true;
}

bool ChatNames::IsRoomRecord(const std::string& topic) {
    if (topic.size() > MaxTopic || topic.compare(0, 5, "ORV1|") != 0) return false;
    int bars = 0;
    for (char c : topic) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return false;
        bars += c == '|';
    }
    return bars == 3;
}

std::string ChatNames::Fold(const std::string& text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace keeper
