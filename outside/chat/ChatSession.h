#pragma once
// The chat engine's protocol state, driven on the engine's own thread: it
// reads server lines, keeps the rooms joined and the commands in flight,
// and calls the program's callbacks. It writes through a sender function,
// so it can be driven without a socket. Internal to chat.dll; exported for
// its tests.
#include "ChatCodec.h"
#include "ChatExport.h"
#include "IRCChat.h"
#include "OrvChatRoom.h"
#include "OrvChatUser.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

struct IrcMessage;

class CHAT_API ChatSession {
public:
    using Sender = std::function<void(const std::string& line, bool urgent)>;

    ChatSession(IIRCOrvMain* main, Sender sender);
    ChatSession(const ChatSession&) = delete;
    ChatSession& operator=(const ChatSession&) = delete;

    // Registers with the server under the member's identity.
    void Begin();
    // Handles one server line; false when the connection must be dropped.
    bool HandleLine(const std::string& line);
    // The connection is gone: lost (server, network) or closed by Disconnect.
    void End(bool lost);

    bool IsRegistered() const { return m_registered; }
    const std::string& Nick() const { return m_nick; }
    // Rooms joined, by channel name as the server spells it.
    std::vector<std::string> Rooms() const;
    std::vector<std::string> RoomMembers(const std::string& channel) const;

    void AddClient(IIRCChatClient* client);
    void RemoveClient(IIRCChatClient* client);
    int ClientCount() const { return static_cast<int>(m_clients.size()); }
    IIRCChatClient* FindClient(const char* identity);
    bool IsInChat();
    void NotifyClients(int code);

    int Command(int code, IIRCCmdCallBack* callback, const void* target);
    int CancelCommand(int code, IIRCCmdCallBack* callback);
    int Notify(int code, const char* target, INT_PTR parameter);
    int SendText(const char* target, const char* line, bool isRoom, char color);

    // Chat lines are cut to this many bytes of text (with the colour code).
    static size_t TextBudget(const std::string& target);

private:
    struct Member {
        std::string nick;
    };
    struct Room {
        std::string channel;                       // as the server spells it
        std::map<std::string, std::string> members;  // folded nick -> nick
        bool namesDone = false;
        bool leaving = false;  // our PART is on its way
        bool hasTopic = false;
        std::string topic;
    };
    struct UserInfo {
        std::string displayName;
        std::string freeText;
        char color = '0';
        bool known = false;
    };
    struct Pending {
        int code = 0;
        IIRCCmdCallBack* callback = nullptr;
        OrvChatRoom room;
        std::string channel;
        bool joinedForIt = false;
        bool sawTopic = false;
        bool answered = false;
    };
    // A line sent to a member, kept a while so that it can go again under
    // his other identity when the server does not know the one used.
    struct SentToMember {
        std::string nick;  // folded
        std::string text;
        bool retried = false;
        bool invitation = false;
        DWORD tick = 0;
    };
    struct ListRequest {
        IIRCCmdCallBack* callback = nullptr;
        bool begun = false;
    };

    void Send(const std::string& line, bool urgent = false);
    void SendToMember(const std::string& nick, const std::string& text, bool invitation, bool retried = false);
    std::string OwnFreeText();
    char OwnColor();
    std::string OwnUserInfoArgs();
    OrvChatUser MakeUser(const std::string& nick, const std::string& channel);
    OrvChatRoom RoomRecord(const Room& room) const;
    std::string ResolveNick(const std::string& identity) const;
    void Learn(const std::string& nick);

    bool IsClient(IIRCChatClient* client) const;
    void ForRoomClients(const std::string& channel, const std::function<void(IIRCChatClient*)>& call);
    void ForPrivateClients(const std::string& identity, const std::function<void(IIRCChatClient*)>& call);
    void Result(Pending& op, int code);
    void FailOp(size_t index);
    void FailOpsOn(const std::string& channel);
    void FailRoomWork();
    Pending* FindOp(const std::string& channel, int code);

    void OnWelcome(const IrcMessage& m);
    void OnNick(const IrcMessage& m);
    void OnJoin(const IrcMessage& m);
    void OnPart(const std::string& nick, const std::string& channel, bool kicked);
    void OnQuit(const IrcMessage& m);
    void OnTopic(const std::string& channel, const std::string& topic, bool live);
    void OnNames(const IrcMessage& m);
    void OnEndOfNames(const std::string& channel);
    void OnMode(const IrcMessage& m);
    void OnText(const IrcMessage& m, bool notice);
    void OnCtcp(const std::string& from, const std::string& target, const std::string& tag,
                const std::string& args, bool notice);
    void OnListRow(const IrcMessage& m);
    void OnListEnd();
    void OnNoSuchNick(const std::string& nick);
    void OnChannelError(const std::string& channel);

    IIRCOrvMain* m_main;
    Sender m_sender;
    std::vector<IIRCChatClient*> m_clients;
    bool m_registered = false;
    bool m_ending = false;
    std::string m_nick;
    std::map<std::string, Room> m_rooms;          // folded channel
    std::map<std::string, UserInfo> m_users;      // folded member key
    std::map<std::string, std::string> m_peers;   // folded member key -> nick now
    std::set<std::string> m_invited;              // folded member key
    std::vector<Pending> m_ops;
    std::vector<ListRequest> m_lists;
    std::vector<SentToMember> m_recent;
};
