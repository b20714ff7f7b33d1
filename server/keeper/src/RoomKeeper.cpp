#include "RoomKeeper.h"

#include "ChatNames.h"

#include <algorithm>
#include <cstdio>

namespace keeper {

namespace {

// Words of a request or a reply never carry more than this.
const size_t kMaxWord = 64;

std::string FirstWord(const std::string& text, size_t& rest) {
    const size_t end = text.find(' ');
    rest = end == std::string::npos ? text.size() : end + 1;
    return text.substr(0, end);
}

// What a reply may repeat of a hostile request.
std::string Printable(const std::string& text) {
    std::string out;
    for (char c : text.substr(0, kMaxWord)) {
        const unsigned char u = static_cast<unsigned char>(c);
        out += u > ' ' && u != 0x7F ? c : '_';
    }
    return out.empty() ? std::string("-") : out;
}

bool HasMode(const std::string& modes, char mode) { return modes.find(mode) != std::string::npos; }

}  // namespace

RoomKeeper::RoomKeeper(Settings settings, Sink sink) : m_settings(std::move(settings)), m_sink(std::move(sink)) {}

void RoomKeeper::Send(const std::string& line) {
    // Everything sent is built from checked parts; this keeps a slip from
    // ever becoming a second command.
    std::string safe;
    for (char c : line)
        if (c != '\r' && c != '\n' && c != '\0') safe += c;
    if (safe.size() > IrcLine::MaxOutLine) safe.resize(IrcLine::MaxOutLine);
    if (m_sink) m_sink(safe);
}

void RoomKeeper::Reply(const Client& to, const std::string& text) {
    Send(":" + m_settings.nick + " NOTICE " + to.nick + " :" + text);
}

void RoomKeeper::Refuse(const Client& to, const std::string& verb, const std::string& target, const char* reason) {
    Reply(to, "REFUSED " + Printable(verb) + " " + Printable(target) + " " + reason);
}

// ---- link ------------------------------------------------------------------

void RoomKeeper::OnLinked() {
    m_linked = true;
    Send(":" + m_settings.serverName + " NICK " + m_settings.nick + " 1 keeper " + m_settings.serverName +
         " 1 + :Orvane room keeper");
}

void RoomKeeper::OnBurstDone() {
    for (auto& entry : m_channels) {
        Channel& channel = entry.second;
        if (channel.live || !IsRoom(channel)) continue;
        Send(":" + m_settings.serverName + " CHANINFO " + channel.name + " +Pnt :" + channel.topic);
        channel.live = true;
    }
}

void RoomKeeper::OnUnlinked() {
    m_linked = false;
    m_waiting.clear();
    m_clients.clear();
    m_byNick.clear();
    m_byMember.clear();
    m_aliases.clear();
    for (auto it = m_channels.begin(); it != m_channels.end();) {
        if (IsRoom(it->second)) {
            it->second.live = false;
            it->second.members.clear();
            ++it;
        } else {
            it = m_channels.erase(it);
        }
    }
}

std::vector<RoomKeeper::Room> RoomKeeper::Rooms() const {
    std::vector<Room> rooms;
    for (const auto& entry : m_channels)
        if (IsRoom(entry.second)) rooms.push_back(Room{entry.second.name, entry.second.topic});
    return rooms;
}

void RoomKeeper::AdoptRooms(const std::vector<Room>& rooms) {
    for (const Room& room : rooms) {
        if (!ChatNames::IsRoomChannel(room.channel) || !ChatNames::IsRoomRecord(room.topic)) continue;
        if (FindChannel(room.channel)) continue;
        Channel& channel = ChannelEntry(room.channel);
        channel.topic = room.topic;
        channel.persistent = true;
    }
}

std::string RoomKeeper::CurrentNick(const std::string& nick) const {
    const int id = Resolve(nick);
    auto it = m_clients.find(id);
    return it == m_clients.end() ? std::string() : it->second.nick;
}

// ---- users -----------------------------------------------------------------

int RoomKeeper::Resolve(const std::string& nick) const {
    const std::string key = ChatNames::Fold(nick);
    auto current = m_byNick.find(key);
    if (current != m_byNick.end()) return current->second;
    auto alias = m_aliases.find(key);
    return alias != m_aliases.end() ? alias->second.id : 0;
}

void RoomKeeper::AddClient(const std::string& nick, const std::string& user) {
    if (nick.empty() || Resolve(nick)) return;
    const int id = m_nextId++;
    Client& client = m_clients[id];
    client.nick = nick;
    m_byNick[ChatNames::Fold(nick)] = id;

    // Only an authenticated user name (no "~") of the identity form names a
    // member; the chat server's authentication checked it against the
    // member's session.
    const bool authenticated = !user.empty() && user[0] != '~' && ChatNames::IsIdentity(user);
    if (!authenticated) {
        if (ChatNames::IsIdentity(nick)) Kill(id, "Identity without credential");
        return;
    }
    client.memberId = ChatNames::MemberIdOf(user);
    client.identity = user;
    const std::string memberKey = ChatNames::Fold(client.memberId);
    if (ChatNames::IsIdentity(nick)) {
        // Named before this link (the keeper re-linked): it must be his own.
        if (ChatNames::MemberIdOf(nick) != client.memberId || m_byMember.count(memberKey)) {
            Kill(id, "Identity of another member");
            return;
        }
        client.identified = true;
        m_byMember[memberKey] = id;
        return;
    }
    if (!TryToName(id)) m_waiting.push_back(Waiting{id, m_now});
}

bool RoomKeeper::TryToName(int id) {
    Client& client = m_clients[id];
    const std::string memberKey = ChatNames::Fold(client.memberId);
    if (m_byMember.count(memberKey) || Resolve(client.identity)) return false;
    m_byMember[memberKey] = id;
    client.identified = true;
    Rename(id, client.identity);
    return true;
}

void RoomKeeper::Tick(Clock::time_point now) {
    m_now = now;
    for (size_t i = 0; i < m_waiting.size();) {
        if (now - m_waiting[i].since < m_settings.identityWait) {
            ++i;
            continue;
        }
        const int id = m_waiting[i].id;
        m_waiting.erase(m_waiting.begin() + static_cast<std::ptrdiff_t>(i));
        auto it = m_clients.find(id);
        if (it == m_clients.end()) continue;
        Refuse(it->second, "IDENTITY", it->second.identity, "in-use");
        Kill(id, "Chat identity in use");
    }
}

void RoomKeeper::RemoveClient(int id) {
    auto it = m_clients.find(id);
    if (it == m_clients.end()) return;
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(), [id](const Waiting& w) { return w.id == id; }),
                    m_waiting.end());
    m_byNick.erase(ChatNames::Fold(it->second.nick));
    for (auto alias = m_aliases.begin(); alias != m_aliases.end();)
        alias = alias->second.id == id ? m_aliases.erase(alias) : std::next(alias);
    const auto member = m_byMember.find(ChatNames::Fold(it->second.memberId));
    const bool heldIdentity = member != m_byMember.end() && member->second == id;
    if (heldIdentity) m_byMember.erase(member);
    for (auto channel = m_channels.begin(); channel != m_channels.end();) {
        channel->second.members.erase(id);
        if (channel->second.members.empty() && !channel->second.persistent) {
            channel = m_channels.erase(channel);
        } else {
            ++channel;
        }
    }
    const std::string memberId = it->second.memberId;
    m_clients.erase(it);
    if (!heldIdentity) return;
    // The identity is free: the first connection waiting for it gets it.
    for (size_t i = 0; i < m_waiting.size(); ++i) {
        const int waiting = m_waiting[i].id;
        if (m_clients[waiting].memberId != memberId) continue;
        if (TryToName(waiting)) m_waiting.erase(m_waiting.begin() + static_cast<std::ptrdiff_t>(i));
        return;
    }
}

void RoomKeeper::Kill(int id, const char* reason) {
    auto it = m_clients.find(id);
    if (it == m_clients.end()) return;
    Send(":" + m_settings.serverName + " KILL " + it->second.nick + " :" + reason);
    RemoveClient(id);
}

void RoomKeeper::Rename(int id, const std::string& nick) {
    Client& client = m_clients[id];
    Send(":" + m_settings.serverName + " SVSNICK " + client.nick + " " + nick);
    Alias& alias = m_aliases[ChatNames::Fold(client.nick)];
    alias.id = id;
    ++alias.pending;
    m_byNick.erase(ChatNames::Fold(client.nick));
    m_byNick[ChatNames::Fold(nick)] = id;
    client.nick = nick;
}

void RoomKeeper::OnNickChange(const std::string& from, const std::string& to) {
    const std::string key = ChatNames::Fold(from);
    auto alias = m_aliases.find(key);
    if (alias != m_aliases.end()) {
        // The echo of one of our renames.
        if (--alias->second.pending <= 0) m_aliases.erase(alias);
        return;
    }
    auto current = m_byNick.find(key);
    if (current == m_byNick.end() || to.empty()) return;
    // A change we did not make (clients are restricted; this is defence).
    const int id = current->second;
    m_byNick.erase(current);
    Client& client = m_clients[id];
    client.nick = to;
    m_byNick[ChatNames::Fold(to)] = id;
    if (ChatNames::IsIdentity(to) && ChatNames::MemberIdOf(to) != client.memberId) {
        Kill(id, "Identity of another member");
        return;
    }
    client.identified = ChatNames::IsIdentity(to);
}

// ---- channels --------------------------------------------------------------

RoomKeeper::Channel& RoomKeeper::ChannelEntry(const std::string& name) {
    Channel& channel = m_channels[ChatNames::Fold(name)];
    if (channel.name.empty()) channel.name = name;
    return channel;
}

RoomKeeper::Channel* RoomKeeper::FindChannel(const std::string& name) {
    auto it = m_channels.find(ChatNames::Fold(name));
    return it == m_channels.end() ? nullptr : &it->second;
}

bool RoomKeeper::IsRoom(const Channel& channel) const {
    return channel.persistent && ChatNames::IsRoomChannel(channel.name) && ChatNames::IsRoomRecord(channel.topic);
}

size_t RoomKeeper::RoomCount(const std::string& memberId) const {
    size_t count = 0;
    for (const auto& entry : m_channels) {
        std::string creator;
        if (!IsRoom(entry.second) || !ChatNames::IsRoomChannel(entry.second.name, &creator)) continue;
        if (memberId.empty() || ChatNames::MemberIdOf(creator) == memberId) ++count;
    }
    return count;
}

void RoomKeeper::Join(int id, const std::string& name) {
    if (!id || name.empty() || name[0] != '#') return;
    Channel& channel = ChannelEntry(name);
    channel.live = true;
    channel.members.insert(id);
}

void RoomKeeper::Part(int id, const std::string& name) {
    Channel* channel = FindChannel(name);
    if (!channel) return;
    channel->members.erase(id);
    // The chat server drops a channel that is neither persistent nor used.
    if (channel->members.empty() && !channel->persistent) m_channels.erase(ChatNames::Fold(name));
}

void RoomKeeper::OnChanInfo(const IrcLine& line) {
    // CHANINFO <channel> +<modes> [<key> <limit>] [:<topic>]
    const std::string& name = line.Param(0);
    if (name.empty() || name[0] != '#' || line.params.size() < 2) return;
    Channel& channel = ChannelEntry(name);
    const std::string before = channel.topic;
    const bool wasRoom = IsRoom(channel);
    channel.live = true;
    channel.persistent = HasMode(line.Param(1), 'P');
    const size_t topicAt = HasMode(line.Param(1), 'k') || HasMode(line.Param(1), 'l') ? 4 : 2;
    if (line.params.size() > topicAt) channel.topic = line.Param(topicAt);
    if (wasRoom != IsRoom(channel) || before != channel.topic) ++m_roomsVersion;
}

void RoomKeeper::OnMode(const IrcLine& line) {
    Channel* channel = FindChannel(line.Param(0));
    if (!channel) return;
    bool adding = true;
    for (char c : line.Param(1)) {
        if (c == '+' || c == '-') {
            adding = c == '+';
        } else if (c == 'P' && channel->persistent != adding) {
            const bool wasRoom = IsRoom(*channel);
            channel->persistent = adding;
            if (wasRoom != IsRoom(*channel)) ++m_roomsVersion;
        }
    }
}

// ---- lines from the chat server ---------------------------------------------

void RoomKeeper::HandleLine(const IrcLine& line) {
    const std::string& command = line.command;
    const std::string source = line.Source();
    if (command == "NICK") {
        if (line.params.size() >= 7) {
            // A new user: NICK <nick> <hops> <user> <host> <token> <modes> :<info>
            AddClient(line.Param(0), line.Param(2));
        } else {
            OnNickChange(source, line.Param(0));
        }
    } else if (command == "QUIT") {
        RemoveClient(Resolve(source));
    } else if (command == "KILL") {
        RemoveClient(Resolve(line.Param(0)));
    } else if (command == "JOIN") {
        const int id = Resolve(source);
        std::string list = line.Param(0);
        size_t start = 0;
        while (start <= list.size()) {
            const size_t comma = list.find(',', start);
            std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            // Server links add the member's channel modes after a BEL.
            Join(id, name.substr(0, name.find('\a')));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    } else if (command == "NJOIN") {
        const std::string& nicks = line.Param(1);
        size_t start = 0;
        while (start < nicks.size()) {
            size_t comma = nicks.find(',', start);
            if (comma == std::string::npos) comma = nicks.size();
            std::string nick = nicks.substr(start, comma - start);
            nick.erase(0, nick.find_first_not_of("~&@%+"));
            Join(Resolve(nick), line.Param(0));
            start = comma + 1;
        }
    } else if (command == "PART") {
        const int id = Resolve(source);
        const std::string& list = line.Param(0);
        size_t start = 0;
        while (start <= list.size()) {
            const size_t comma = list.find(',', start);
            Part(id, list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    } else if (command == "KICK") {
        Part(Resolve(line.Param(1)), line.Param(0));
    } else if (command == "TOPIC") {
        if (Channel* channel = FindChannel(line.Param(0))) {
            const bool wasRoom = IsRoom(*channel);
            channel->topic = line.Param(1);
            if (wasRoom || IsRoom(*channel)) ++m_roomsVersion;
        }
    } else if (command == "CHANINFO") {
        OnChanInfo(line);
    } else if (command == "MODE") {
        OnMode(line);
    } else if (command == "PRIVMSG") {
        if (ChatNames::Fold(line.Param(0)) == ChatNames::Fold(m_settings.nick)) OnRequest(Resolve(source), line.Param(1));
    }
}

// ---- requests --------------------------------------------------------------

void RoomKeeper::OnRequest(int id, const std::string& text) {
    auto it = m_clients.find(id);
    if (it == m_clients.end()) return;
    Client& client = it->second;
    size_t rest = 0;
    const std::string verb = FirstWord(text, rest);
    size_t after = 0;
    const std::string target = FirstWord(text.substr(rest), after);
    const std::string argument = text.substr(std::min(text.size(), rest + after));
    if (!client.identified) {
        Refuse(client, verb, target, "not-identified");
        return;
    }
    if (verb == "IDENTITY") {
        OnIdentityRequest(id, target);
    } else if (verb == "CREATE") {
        OnCreate(client, target, argument);
    } else if (verb == "CHANGE") {
        OnChange(client, target, argument);
    } else if (verb == "DELETE") {
        OnDelete(client, target);
    } else {
        Refuse(client, verb, target, "bad-request");
    }
}

void RoomKeeper::OnIdentityRequest(int id, const std::string& identity) {
    Client& client = m_clients[id];
    // Only the member's own two forms, "O" and "R" with his id.
    if (!ChatNames::IsIdentity(identity) || ChatNames::MemberIdOf(identity) != client.memberId) {
        Refuse(client, "IDENTITY", identity, "not-yours");
        return;
    }
    if (identity == client.nick) return;
    const int holder = Resolve(identity);
    if (holder && holder != id) {
        Refuse(client, "IDENTITY", identity, "in-use");
        return;
    }
    Rename(id, identity);
}

void RoomKeeper::OnCreate(Client& client, const std::string& name, const std::string& record) {
    std::string creator;
    if (!ChatNames::IsRoomChannel(name, &creator) || !ChatNames::IsRoomRecord(record)) {
        Refuse(client, "CREATE", name, "bad-request");
        return;
    }
    if (ChatNames::MemberIdOf(creator) != client.memberId) {
        Refuse(client, "CREATE", name, "not-creator");
        return;
    }
    if (FindChannel(name)) {
        Refuse(client, "CREATE", name, "exists");
        return;
    }
    if (RoomCount("") >= m_settings.maxRooms || RoomCount(client.memberId) >= m_settings.maxRoomsPerMember) {
        Refuse(client, "CREATE", name, "too-many");
        return;
    }
    Channel& channel = ChannelEntry(name);
    channel.topic = record;
    channel.persistent = true;
    channel.live = true;
    ++m_roomsVersion;
    Send(":" + m_settings.serverName + " CHANINFO " + channel.name + " +Pnt :" + record);
    Reply(client, "CREATED " + channel.name);
}

void RoomKeeper::OnChange(Client& client, const std::string& name, const std::string& record) {
    Channel* channel = FindChannel(name);
    std::string creator;
    if (!channel || !IsRoom(*channel) || !ChatNames::IsRoomChannel(channel->name, &creator)) {
        Refuse(client, "CHANGE", name, "no-room");
        return;
    }
    // The creator as the room was first spelled: channel names ignore case,
    // member ids do not.
    if (ChatNames::MemberIdOf(creator) != client.memberId) {
        Refuse(client, "CHANGE", name, "not-creator");
        return;
    }
    if (!ChatNames::IsRoomRecord(record)) {
        Refuse(client, "CHANGE", name, "bad-request");
        return;
    }
    channel->topic = record;
    ++m_roomsVersion;
    Send(":" + m_settings.serverName + " TOPIC " + channel->name + " :" + record);
    Reply(client, "CHANGED " + channel->name);
}

void RoomKeeper::OnDelete(Client& client, const std::string& name) {
    Channel* channel = FindChannel(name);
    std::string creator;
    if (!channel || !IsRoom(*channel) || !ChatNames::IsRoomChannel(channel->name, &creator)) {
        Refuse(client, "DELETE", name, "no-room");
        return;
    }
    if (ChatNames::MemberIdOf(creator) != client.memberId) {
        Refuse(client, "DELETE", name, "not-creator");
        return;
    }
    const std::string spelled = channel->name;
    const std::string& server = m_settings.serverName;
    // Users inside learn it from the topic; then they are put out, the room
    // stops being persistent, and a last visit of the keeper's user makes the
    // chat server drop the empty channel.
    Send(":" + server + " TOPIC " + spelled + " :" + ChatNames::DeletedTopic());
    for (int member : channel->members) {
        auto user = m_clients.find(member);
        if (user != m_clients.end()) Send(":" + server + " KICK " + spelled + " " + user->second.nick + " :Room deleted");
    }
    Send(":" + server + " MODE " + spelled + " -P");
    Send(":" + m_settings.nick + " JOIN " + spelled);
    Send(":" + m_settings.nick + " PART " + spelled);
    m_channels.erase(ChatNames::Fold(spelled));
    ++m_roomsVersion;
    Reply(client, "DELETED " + spelled);
}

}  // namespace keeper
