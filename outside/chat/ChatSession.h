#pragma once
// The chat engine's protocol state, driven on the engine's own thread: it
// registers with the chat server, waits for the room keeper to give the
// member his identity, reads server lines, keeps the rooms joined and the
// commands in flight, and calls the program's callbacks. It writes through
// a ChatLineSink, so it can be driven without a socket. Part of chat_core.
#include "ChatCodec.h"
#include "ChatLineSink.h"
#include "IRCChat.h"
#include "OrvChatRoom.h"
#include "OrvChatUser.h"
#include "PartnerWatch.h"

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

struct IrcMessage;

class ChatSession {
public:
    ChatSession(IIRCOrvMain* main, ChatLineSink& out);
    ChatSession(const ChatSession&) = delete;
    ChatSession& operator=(const ChatSession&) = delete;

    // The identity of a member id ("O" or "R" and the id); "" when the id
    // cannot form one (empty, too long, characters a nick cannot hold).
    static std::string IdentityOf(const std::string& memberId, bool away);
    // Whether a credential can be presented (one word of printable ASCII).
    static bool IsCredentialText(const std::string& credential);
    // A nick for the time before the keeper names us; never an identity.
    static std::string NeutralNick();

    // Registers under a neutral nick, asking for identity with the member's
    // credential; identityTimeoutMs bounds the wait for the keeper.
    void Begin(const std::string& identity, const std::string& credential, DWORD identityTimeoutMs);
    // Handles one server line; false when the connection must be dropped
    // (LostReason says why).
    bool HandleLine(const std::string& line);
    // Time-outs; false when the connection must be dropped.
    bool Tick(DWORD now);
    // The connection is gone: lost (reason: an ORVCHAT_LOST_ code; the
    // server, the network, a refusal) or closed by Disconnect.
    void End(bool lost, int reason = ORVCHAT_LOST_CONNECTION);
    int LostReason() const { return m_lostReason; }
    static const char* LostText(int reason);

    bool IsRegistered() const { return m_registered; }
    const std::string& Nick() const { return m_nick; }
    // The identity asked for last (confirmed or on its way).
    const std::string& RequestedIdentity() const { return m_requested; }
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
    // The keeper's nick: the chat server reserves it for the keeper's link.
    static const char* KeeperNick() { return "ChatKeeper"; }
    // A room request to the keeper not answered within this is failed.
    static constexpr DWORD KeeperAnswerMs = 30000;

private:
    enum class State { Idle, Registering, AwaitingIdentity, Registered };

    struct Room {
        std::string channel;                         // as the server spells it
        std::map<std::string, std::string> members;  // folded nick -> nick
        bool namesDone = false;
        bool leaving = false;  // our PART is on its way
        bool hasTopic = false;
        bool deletedTold = false;  // its clients heard of the deletion
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
        DWORD sent = 0;
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
    // Lines to a nick the server does not know: it answers each of them
    // with 401, in order, and says nothing for lines that arrived. Once a
    // marker PING sent after them comes back, the last `failed` lines to the
    // nick are the ones that reached nobody.
    struct Undelivered {
        int failed = 0;
    };
    struct ListRequest {
        IIRCCmdCallBack* callback = nullptr;
        bool begun = false;
    };

    bool Send(const std::string& line, bool urgent = false);
    bool SendToMember(const std::string& nick, const std::string& text, bool invitation, bool retried = false);
    bool SendToKeeper(const std::string& request);
    std::string OwnFreeText();
    char OwnColor();
    std::string OwnUserInfoArgs();
    OrvChatUser MakeUser(const std::string& nick, const std::string& channel);
    OrvChatRoom RoomRecord(const Room& room) const;
    std::string ResolveNick(const std::string& identity) const;
    void Learn(const std::string& nick);
    bool IsKeeper(const std::string& nick) const;
    bool Fail(int reason);

    bool IsClient(IIRCChatClient* client) const;
    void ForRoomClients(const std::string& channel, const std::function<void(IIRCChatClient*)>& call);
    void ForPrivateClients(const std::string& identity, const std::function<void(IIRCChatClient*)>& call);
    void Result(Pending& op, int code);
    void FailOp(size_t index);
    void FailOpsOn(const std::string& channel);
    void FailKeeperOps();
    Pending* FindOp(const std::string& channel, int code);
    void TellRoomDeleted(Room& room);
    void TellPartnerGone(const std::string& nick);
    void UpdateWatch();

    bool OnRegistrationLine(const IrcMessage& m);
    void OnNick(const IrcMessage& m);
    void OnJoin(const IrcMessage& m);
    void OnPart(const std::string& nick, const std::string& channel, bool kicked);
    void OnQuit(const IrcMessage& m);
    void OnTopic(const std::string& channel, const std::string& topic, bool live);
    void OnNames(const IrcMessage& m);
    void OnEndOfNames(const std::string& channel);
    void OnText(const IrcMessage& m, bool notice);
    void OnKeeperAnswer(const std::string& text);
    void OnCtcp(const std::string& from, const std::string& target, const std::string& tag,
                const std::string& args, bool notice);
    void OnListRow(const IrcMessage& m);
    void OnListEnd();
    void OnNoSuchNick(const std::string& nick);
    void OnRetryMarker(const std::string& nick);
    void OnChannelError(const std::string& code, const std::string& channel);

    IIRCOrvMain* m_main;
    ChatLineSink& m_out;
    std::vector<IIRCChatClient*> m_clients;
    State m_state = State::Idle;
    bool m_registered = false;
    bool m_ending = false;
    int m_lostReason = 0;
    std::string m_nick;       // as the server knows us now
    std::string m_identity;   // asked for at log-in
    std::string m_requested;  // asked for last
    int m_nickTries = 0;
    DWORD m_waitSince = 0;
    DWORD m_identityTimeoutMs = 30000;
    std::map<std::string, Room> m_rooms;          // folded channel
    std::map<std::string, UserInfo> m_users;      // folded member key
    std::map<std::string, std::string> m_peers;   // folded member key -> nick now
    std::set<std::string> m_invited;              // folded member key
    std::vector<Pending> m_ops;
    std::vector<ListRequest> m_lists;
    std::vector<SentToMember> m_recent;
    std::map<std::string, Undelivered> m_undelivered;  // folded nick
    PartnerWatch m_watch;
};
