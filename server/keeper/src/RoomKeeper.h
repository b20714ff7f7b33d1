#pragma once
// The keeper's side of the chat: it sees every user of the chat server
// through its server link, gives each authenticated user his identity
// (clients may not take "O..." and "R..." nicks themselves), changes it on
// the member's request, and holds the rooms: it creates, changes and deletes
// them for their creator and keeps them while they are empty.
//
// Requests come as PRIVMSG to the keeper's user, answers go as NOTICE:
//   IDENTITY <identity>          -> the NICK change itself, or REFUSED
//   CREATE <channel> <record>    -> CREATED <channel> | REFUSED CREATE <channel> <reason>
//   CHANGE <channel> <record>    -> CHANGED <channel> | REFUSED ...
//   DELETE <channel>             -> DELETED <channel> | REFUSED ...
// A new user whose member is already in the chat waits a while for the
// other connection to go (a quick reconnection overtakes the old QUIT);
// then he gets "REFUSED IDENTITY <identity> in-use" and is disconnected.
#include "IrcLine.h"

#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace keeper {

class RoomKeeper {
public:
    using Sink = std::function<void(const std::string& line)>;
    using Clock = std::chrono::steady_clock;

    struct Settings {
        std::string serverName = "keeper.orvane.local";
        std::string nick = "ChatKeeper";
        size_t maxRooms = 2000;
        size_t maxRoomsPerMember = 20;
        // How long a new connection waits for its identity to come free.
        std::chrono::milliseconds identityWait{10000};
    };

    struct Room {
        std::string channel;
        std::string topic;
    };

    RoomKeeper(Settings settings, Sink sink);

    // The link is registered: the keeper's user is introduced; the chat
    // server's burst (its users and channels) follows.
    void OnLinked();
    // The burst is in: rooms the chat server lost (it restarted) are made
    // again.
    void OnBurstDone();
    // The link is gone, and every user with it; the rooms stay known.
    void OnUnlinked();
    void HandleLine(const IrcLine& line);
    // The time now, for users waiting for their identity.
    void Tick(Clock::time_point now);

    // The rooms, for the state file; AdoptRooms before the first link.
    std::vector<Room> Rooms() const;
    void AdoptRooms(const std::vector<Room>& rooms);
    // Grows with every change of the rooms.
    unsigned long RoomsVersion() const { return m_roomsVersion; }

    // The current nick of a user, "" when there is none; for tests.
    std::string CurrentNick(const std::string& nick) const;
    size_t ClientCount() const { return m_clients.size(); }

private:
    struct Client {
        std::string nick;
        std::string memberId;  // of an authenticated user name, else ""
        std::string identity;  // the one asked for at log-in
        bool identified = false;
    };
    struct Channel {
        std::string name;  // as first spelled
        std::string topic;
        bool persistent = false;
        bool live = false;  // exists on the chat server now
        std::set<int> members;
    };

    void Send(const std::string& line);
    void Reply(const Client& to, const std::string& text);
    void Refuse(const Client& to, const std::string& verb, const std::string& target, const char* reason);

    int Resolve(const std::string& nick) const;
    void AddClient(const std::string& nick, const std::string& user);
    // Names the user when his identity is free; false when it is not.
    bool TryToName(int id);
    void RemoveClient(int id);
    void Kill(int id, const char* reason);
    void Rename(int id, const std::string& nick);
    void OnNickChange(const std::string& from, const std::string& to);

    Channel& ChannelEntry(const std::string& name);
    Channel* FindChannel(const std::string& name);
    bool IsRoom(const Channel& channel) const;
    size_t RoomCount(const std::string& memberId) const;
    void Join(int id, const std::string& channel);
    void Part(int id, const std::string& channel);
    void OnChanInfo(const IrcLine& line);
    void OnMode(const IrcLine& line);

    void OnRequest(int id, const std::string& text);
    void OnIdentityRequest(int id, const std::string& identity);
    void OnCreate(Client& client, const std::string& channel, const std::string& record);
    void OnChange(Client& client, const std::string& channel, const std::string& record);
    void OnDelete(Client& client, const std::string& channel);

    Settings m_settings;
    Sink m_sink;
    bool m_linked = false;

    int m_nextId = 1;
    std::map<int, Client> m_clients;
    std::map<std::string, int> m_byNick;    // folded current nick
    std::map<std::string, int> m_byMember;  // folded member id
    // Nicks we renamed from whose NICK echo is still on its way: lines the
    // chat server relayed before the rename still carry them.
    struct Alias {
        int id = 0;
        int pending = 0;
    };
    std::map<std::string, Alias> m_aliases;
    struct Waiting {
        int id = 0;
        Clock::time_point since;
    };
    std::vector<Waiting> m_waiting;
    Clock::time_point m_now = Clock::now();

    std::map<std::string, Channel> m_channels;  // folded name
    unsigned long m_roomsVersion = 0;
};

}  // namespace keeper
