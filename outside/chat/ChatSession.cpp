#include "ChatSession.h"

#include "IrcMessage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const size_t kMaxChannel = 50;
const size_t kMaxNick = 30;
// The chat server keeps 19 characters of a user name, and the user name is
// the identity: an identity holds at most that many.
const size_t kMaxIdentity = 19;
const size_t kMaxCredential = 64;
// A room record longer than this would not fit the keeper's lines.
const size_t kMaxRoomRecord = 400;
// Lines to a member are kept this long (and this many) for a retry under his
// other identity.
const DWORD kRetryWindowMs = 30000;
const size_t kRetryLines = 64;
// Tries with a new neutral nick when the server says it is taken.
const int kNickTries = 5;
// Partner polls wait while the outgoing queue has less room than this.
const size_t kRoomForPolls = 16;

std::string Fold(const std::string& text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool IsMemberNick(const std::string& nick) {
    return nick.size() > 1 && (nick[0] == 'O' || nick[0] == 'R' || nick[0] == 'o' || nick[0] == 'r');
}

// "O12" and "R12" are one member.
std::string MemberKey(const std::string& nick) { return IsMemberNick(nick) ? Fold(nick.substr(1)) : Fold(nick); }

bool IsIdChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

bool IsNickText(const std::string& nick) {
    if (nick.empty() || nick.size() > kMaxNick) return false;
    for (char c : nick)
        if (!IsIdChar(c)) return false;
    return true;
}

bool IsChannelText(const std::string& channel) {
    if (channel.size() < 2 || channel.size() > kMaxChannel || channel[0] != '#') return false;
    for (char c : channel) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u <= ' ' || c == ',' || c == ':' || u == 0x7F) return false;
    }
    return true;
}

std::string RoomChannel(const char* identity) {
    std::string channel(identity ? identity : "");
    if (!channel.empty() && channel[0] != '#') channel.insert(0, "#");
    return channel;
}

INT_PTR Text(const std::string& text) { return reinterpret_cast<INT_PTR>(text.c_str()); }

// Tags of the CTCP messages between engines.
const char kInvite[] = "ORVINVITE";
const char kAccept[] = "ORVACCEPT";
const char kDecline[] = "ORVDECLINE";
const char kOnline[] = "ORVONLINE";
const char kEnd[] = "ORVEND";
const char kTyping[] = "ORVTYPING";
const char kAway[] = "ORVAWAY";
const char kUser[] = "ORVUSER";
const char kIdent[] = "ORVIDENT";

}  // namespace

constexpr DWORD ChatSession::KeeperAnswerMs;

ChatSession::ChatSession(IIRCOrvMain* main, ChatLineSink& out) : m_main(main), m_out(out) {}

// ---- names -----------------------------------------------------------------

std::string ChatSession::IdentityOf(const std::string& memberId, bool away) {
    if (memberId.empty() || memberId.size() > kMaxIdentity - 1) return std::string();
    for (char c : memberId)
        if (!IsIdChar(c)) return std::string();
    return (away ? "R" : "O") + memberId;
}

bool ChatSession::IsCredentialText(const std::string& credential) {
    if (credential.empty() || credential.size() > kMaxCredential || credential[0] == ':') return false;
    for (char c : credential) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u <= ' ' || u >= 0x7F) return false;
    }
    return true;
}

std::string ChatSession::NeutralNick() {
    // "G" and eight hex digits: unlike an identity, and unlikely to be taken
    // (a taken one is replaced).
    static LONG counter = 0;
    LARGE_INTEGER clock{};
    QueryPerformanceCounter(&clock);
    unsigned long mix = static_cast<unsigned long>(clock.QuadPart) ^ (GetCurrentProcessId() << 16) ^
                        static_cast<unsigned long>(InterlockedIncrement(&counter)) * 2654435761UL ^ GetTickCount();
    mix ^= mix >> 15;
    mix *= 2246822519UL;
    mix ^= mix >> 13;
    char nick[16];
    std::snprintf(nick, sizeof nick, "G%08lx", mix & 0xFFFFFFFFUL);
    return nick;
}

const char* ChatSession::LostText(int reason) {
    switch (reason) {
    case ORVCHAT_LOST_UNREACHABLE:
        return "The chat server cannot be reached.";
    case ORVCHAT_LOST_CREDENTIAL:
        return "The chat server did not accept the session.";
    case ORVCHAT_LOST_IN_USE:
        return "The member is in the chat on another connection.";
    case ORVCHAT_LOST_NO_KEEPER:
        return "The chat server did not confirm the chat identity in time.";
    case ORVCHAT_LOST_REFUSED:
        return "The chat server refused the connection.";
    default:
        return "The connection to the chat server was lost.";
    }
}

// ---- writing ---------------------------------------------------------------

bool ChatSession::Send(const std::string& line, bool urgent) {
    // Whatever a line was built from, it must stay one IRC line.
    std::string safe;
    safe.reserve(line.size());
    for (char c : line)
        if (c != '\r' && c != '\n' && c != '\0') safe += c;
    if (safe.size() > IrcMessage::MaxOutLine) safe.resize(IrcMessage::MaxOutLine);
    return m_out.SendLine(safe, urgent);
}

bool ChatSession::SendToMember(const std::string& nick, const std::string& text, bool invitation, bool retried) {
    if (!Send("PRIVMSG " + nick + " :" + text)) return false;
    const DWORD now = GetTickCount();
    m_recent.erase(std::remove_if(m_recent.begin(), m_recent.end(),
                                  [now](const SentToMember& s) { return now - s.tick > kRetryWindowMs; }),
                   m_recent.end());
    if (m_recent.size() >= kRetryLines) m_recent.erase(m_recent.begin());
    m_recent.push_back(SentToMember{Fold(nick), text, retried, invitation, now});
    return true;
}

bool ChatSession::SendToKeeper(const std::string& request) {
    return Send(std::string("PRIVMSG ") + KeeperNick() + " :" + request);
}

size_t ChatSession::TextBudget(const std::string& target) {
    // What the server puts in front when it relays our line:
    // ":" nick "!" user "@" host " PRIVMSG " target " :".
    const size_t relayed = 1 + kMaxNick + 2 + 20 + 1 + 64 + 9 + target.size() + 2;
    return IrcMessage::MaxOutLine - relayed;
}

// ---- registration ----------------------------------------------------------

void ChatSession::Begin(const std::string& identity, const std::string& credential, DWORD identityTimeoutMs) {
    m_state = State::Registering;
    m_registered = false;
    m_ending = false;
    m_lostReason = 0;
    m_identity = m_requested = identity;
    m_identityTimeoutMs = identityTimeoutMs;
    m_nickTries = 0;
    m_nick = NeutralNick();
    // The user name is the identity: the chat server authenticates it with
    // the credential, and the keeper names us after it.
    Send("PASS " + credential, true);
    Send("NICK " + m_nick, true);
    Send("USER " + identity + " 0 * :Orvane chat", true);
}

bool ChatSession::Fail(int reason) {
    if (!m_lostReason) m_lostReason = reason;
    return false;
}

bool ChatSession::OnRegistrationLine(const IrcMessage& m) {
    const std::string& c = m.command;
    if (m_state == State::Registering) {
        if (c == "001") {
            m_state = State::AwaitingIdentity;
            if (IsNickText(m.Param(0))) m_nick = m.Param(0);
            m_waitSince = GetTickCount();
        } else if (c == "433" || c == "436") {
            // Our neutral nick is taken: another one.
            if (++m_nickTries > kNickTries) return Fail(ORVCHAT_LOST_REFUSED);
            m_nick = NeutralNick();
            Send("NICK " + m_nick, true);
        } else if (c == "432" || c == "437" || c == "465") {
            return Fail(ORVCHAT_LOST_REFUSED);
        }
        return true;
    }
    // Awaiting the identity: the keeper renames us, or says why not.
    if (c == "NICK" && Fold(m.nick) == Fold(m_nick)) {
        m_nick = m.Param(0);
        if (Fold(m_nick) == Fold(m_identity)) {
            m_nick = m_identity;
            m_state = State::Registered;
            m_registered = true;
            if (m_main) m_main->OnChatEvent(ORVCHAT_MAIN_CONNECTED, 0, 0);
        }
    } else if (c == "NOTICE" && IsKeeper(m.nick) && m.Param(1).rfind("REFUSED IDENTITY ", 0) == 0) {
        return Fail(m.Param(1).find(" in-use") != std::string::npos ? ORVCHAT_LOST_IN_USE : ORVCHAT_LOST_REFUSED);
    }
    return true;
}

bool ChatSession::Tick(DWORD now) {
    if (m_state == State::AwaitingIdentity && now - m_waitSince > m_identityTimeoutMs)
        return Fail(ORVCHAT_LOST_NO_KEEPER);
    if (!m_registered) return true;
    // Room requests the keeper never answered.
    for (size_t i = m_ops.size(); i-- > 0;) {
        if (i >= m_ops.size()) continue;
        const Pending& op = m_ops[i];
        const bool keeperWork = op.code == ORVCHAT_CMD_CREATE_ROOM || op.code == ORVCHAT_CMD_CHANGE_ROOM ||
                                op.code == ORVCHAT_CMD_DELETE_ROOM;
        if (keeperWork && now - op.sent > KeeperAnswerMs) FailOp(i);
    }
    // Are the private partners still there? Only with room to spare in the
    // queue: chat lines come first.
    UpdateWatch();
    if (m_out.Room() > kRoomForPolls) {
        for (const std::string& line : m_watch.Poll(now)) Send(line);
    }
    return true;
}

std::vector<std::string> ChatSession::Rooms() const {
    std::vector<std::string> out;
    for (const auto& room : m_rooms) out.push_back(room.second.channel);
    return out;
}

std::vector<std::string> ChatSession::RoomMembers(const std::string& channel) const {
    std::vector<std::string> out;
    auto it = m_rooms.find(Fold(channel));
    if (it != m_rooms.end())
        for (const auto& member : it->second.members) out.push_back(member.second);
    return out;
}

// ---- clients ---------------------------------------------------------------

void ChatSession::AddClient(IIRCChatClient* client) {
    if (client && !IsClient(client)) m_clients.push_back(client);
}

void ChatSession::RemoveClient(IIRCChatClient* client) {
    m_clients.erase(std::remove(m_clients.begin(), m_clients.end(), client), m_clients.end());
    for (Pending& op : m_ops)
        if (op.callback == client) op.callback = nullptr;
    for (ListRequest& list : m_lists)
        if (list.callback == client) list.callback = nullptr;
}

bool ChatSession::IsClient(IIRCChatClient* client) const {
    return std::find(m_clients.begin(), m_clients.end(), client) != m_clients.end();
}

IIRCChatClient* ChatSession::FindClient(const char* identity) {
    for (IIRCChatClient* client : m_clients)
        if (IsEqualID(client->GetTarget(), identity)) return client;
    return nullptr;
}

bool ChatSession::IsInChat() {
    const std::vector<IIRCChatClient*> clients(m_clients);
    for (IIRCChatClient* client : clients)
        if (IsClient(client) && !client->IsRoom() && client->IsActive()) return true;
    return false;
}

void ChatSession::NotifyClients(int code) {
    if (code != 2) return;  // 2: the own colour changed
    const std::vector<IIRCChatClient*> clients(m_clients);
    for (IIRCChatClient* client : clients)
        if (IsClient(client)) client->OnChatEvent(ORVCHAT_EVENT_COLOR_CHANGED, code, 0);
}

// Callbacks may add or remove clients: walk a copy, skip the removed.
void ChatSession::ForRoomClients(const std::string& channel, const std::function<void(IIRCChatClient*)>& call) {
    const std::vector<IIRCChatClient*> clients(m_clients);
    for (IIRCChatClient* client : clients) {
        if (!IsClient(client) || !client->IsRoom()) continue;
        if (IsEqualID(RoomChannel(client->GetTarget()).c_str(), channel.c_str())) call(client);
    }
}

void ChatSession::ForPrivateClients(const std::string& identity, const std::function<void(IIRCChatClient*)>& call) {
    const std::vector<IIRCChatClient*> clients(m_clients);
    for (IIRCChatClient* client : clients) {
        if (!IsClient(client) || client->IsRoom()) continue;
        if (IsEqualID(client->GetTarget(), identity.c_str())) call(client);
    }
}

void ChatSession::UpdateWatch() {
    std::set<std::string> partners, seen;
    for (IIRCChatClient* client : m_clients) {
        if (client->IsRoom()) continue;
        const std::string target = client->GetTarget().GetString();
        if (IsMemberNick(target) && (client->IsActive() || client->IsInvitationPending()))
            partners.insert(MemberKey(target));
    }
    for (const auto& peer : m_peers) seen.insert(peer.first);
    m_watch.Watch(partners, seen);
}

void ChatSession::TellPartnerGone(const std::string& nick) {
    m_invited.erase(MemberKey(nick));
    m_watch.SetPresent(MemberKey(nick), false);
    ForPrivateClients(nick, [&](IIRCChatClient* client) {
        if (client->IsActive() || client->IsInvitationPending())
            client->OnChatEvent(ORVCHAT_EVENT_LEFT, Text(nick), 0);
    });
}

// ---- own record ------------------------------------------------------------

std::string ChatSession::OwnFreeText() {
    if (!m_main || m_main->IsHideEmail()) return std::string();
    return m_main->GetEmail().GetString();
}

char ChatSession::OwnColor() {
    const char color = m_main ? m_main->GetUserColor() : '0';
    return static_cast<unsigned char>(color) > ' ' && color != 0x7F ? color : '0';
}

std::string ChatSession::OwnUserInfoArgs() {
    const std::string name = m_main ? m_main->GetDisplayName().GetString() : "";
    return std::string(1, OwnColor()) + " " + ChatCodec::Escape(name) + "|" + ChatCodec::Escape(OwnFreeText());
}

OrvChatUser ChatSession::MakeUser(const std::string& nick, const std::string& channel) {
    OrvChatUser user;
    user.identity = nick.c_str();
    if (Fold(nick) == Fold(m_nick)) {
        user.displayName = m_main ? m_main->GetDisplayName() : CString();
        user.freeText = OwnFreeText().c_str();
        user.color = static_cast<BYTE>(OwnColor());
    } else {
        auto it = m_users.find(MemberKey(nick));
        if (it != m_users.end() && it->second.known) {
            user.displayName = it->second.displayName.c_str();
            user.freeText = it->second.freeText.c_str();
            user.color = static_cast<BYTE>(it->second.color);
        } else {
            user.displayName = nick.c_str();
        }
    }
    user.rank = IsEqualID(OrvChatRoom::CreatorOf(channel.c_str()), nick.c_str()) ? 1 : 0;
    return user;
}

OrvChatRoom ChatSession::RoomRecord(const Room& room) const {
    OrvChatRoom record;
    record.identity = room.channel.c_str();
    record.creator = OrvChatRoom::CreatorOf(room.channel.c_str());
    ChatCodec::RoomTopic topic;
    if (ChatCodec::DecodeTopic(room.topic, topic)) {
        record.displayName = topic.displayName.c_str();
        record.description = topic.description.c_str();
        record.welcome = topic.welcome.c_str();
    }
    record.userCount = static_cast<int>(room.members.size());
    record.users.Format("%d", record.userCount);
    return record;
}

std::string ChatSession::ResolveNick(const std::string& identity) const {
    auto it = m_peers.find(MemberKey(identity));
    return it != m_peers.end() ? it->second : identity;
}

void ChatSession::Learn(const std::string& nick) {
    if (!IsMemberNick(nick) || !IsNickText(nick)) return;
    m_peers[MemberKey(nick)] = nick;
    m_watch.SetPresent(MemberKey(nick), true);
}

bool ChatSession::IsKeeper(const std::string& nick) const { return Fold(nick) == Fold(KeeperNick()); }

// ---- command results -------------------------------------------------------

ChatSession::Pending* ChatSession::FindOp(const std::string& channel, int code) {
    for (Pending& op : m_ops)
        if (op.code == code && Fold(op.channel) == Fold(channel)) return &op;
    return nullptr;
}

void ChatSession::Result(Pending& op, int code) {
    // Copy first: the callback may start another command.
    IIRCCmdCallBack* callback = op.callback;
    const OrvChatRoom room = op.room;
    op.answered = true;
    op.callback = nullptr;
    if (callback) callback->OnCommandResult(code, reinterpret_cast<INT_PTR>(&room), 0);
}

void ChatSession::FailOp(size_t index) {
    Pending op = m_ops[index];
    m_ops.erase(m_ops.begin() + static_cast<std::ptrdiff_t>(index));
    if (!op.answered && op.callback) Result(op, ORVCHAT_RESULT_FAILED);
}

void ChatSession::FailOpsOn(const std::string& channel) {
    for (size_t i = m_ops.size(); i-- > 0;)
        if (i < m_ops.size() && Fold(m_ops[i].channel) == Fold(channel)) FailOp(i);
}

void ChatSession::FailKeeperOps() {
    for (size_t i = m_ops.size(); i-- > 0;)
        if (i < m_ops.size() && m_ops[i].code != ORVCHAT_CMD_JOIN_ROOM) FailOp(i);
}

void ChatSession::TellRoomDeleted(Room& room) {
    if (room.deletedTold) return;
    room.deletedTold = true;
    const std::string spelled = room.channel;
    ForRoomClients(spelled, [&](IIRCChatClient* client) { client->OnChatEvent(ORVCHAT_EVENT_ROOM_DELETED, 0, 0); });
}

// ---- the program's calls ---------------------------------------------------

int ChatSession::Command(int code, IIRCCmdCallBack* callback, const void* target) {
    if (!m_registered) return 1;
    switch (code) {
    case ORVCHAT_CMD_LIST_ROOMS:
        if (!Send("LIST")) return 1;
        m_lists.push_back(ListRequest{callback, false});
        return 0;
    case ORVCHAT_CMD_JOIN_ROOM:
    case ORVCHAT_CMD_LEAVE_ROOM: {
        const std::string channel = RoomChannel(static_cast<const char*>(target));
        if (!IsChannelText(channel)) return 1;
        const auto joined = m_rooms.find(Fold(channel));
        if (code == ORVCHAT_CMD_LEAVE_ROOM) {
            if (!Send("PART " + channel)) return 1;
            for (size_t i = m_ops.size(); i-- > 0;)
                if (m_ops[i].code == ORVCHAT_CMD_JOIN_ROOM && Fold(m_ops[i].channel) == Fold(channel))
                    m_ops.erase(m_ops.begin() + static_cast<std::ptrdiff_t>(i));
            if (joined != m_rooms.end()) joined->second.leaving = true;
            return 0;
        }
        // Joining again right after leaving is fine: the server sees the
        // PART first.
        if (joined != m_rooms.end() && !joined->second.leaving) return 1;
        if (!Send("JOIN " + channel)) return 1;
        Pending op;
        op.code = code;
        op.callback = callback;
        op.channel = channel;
        op.room.identity = channel.c_str();
        op.sent = GetTickCount();
        m_ops.push_back(op);
        return 0;
    }
    case ORVCHAT_CMD_CREATE_ROOM:
    case ORVCHAT_CMD_CHANGE_ROOM:
    case ORVCHAT_CMD_DELETE_ROOM: {
        // Rooms belong to the keeper, which does this work for their creator.
        const OrvChatRoom* room = static_cast<const OrvChatRoom*>(target);
        if (!room || !OrvChatRoom::IsRoomIdentity(room->identity)) return 1;
        const std::string channel = room->identity.GetString();
        if (channel.size() > kMaxChannel) return 1;
        if (!IsEqualID(OrvChatRoom::CreatorOf(channel.c_str()), m_nick.c_str())) return 1;
        for (const Pending& op : m_ops)
            if (Fold(op.channel) == Fold(channel)) return 1;
        ChatCodec::RoomTopic topic;
        topic.displayName = room->displayName.GetString();
        topic.description = room->description.GetString();
        topic.welcome = room->welcome.GetString();
        const std::string record = ChatCodec::EncodeTopic(topic);
        // The whole record must fit the keeper's lines: a cut one would be another record.
        if (record.size() > kMaxRoomRecord) return 1;
        std::string request;
        if (code == ORVCHAT_CMD_CREATE_ROOM) request = "CREATE " + channel + " " + record;
        if (code == ORVCHAT_CMD_CHANGE_ROOM) request = "CHANGE " + channel + " " + record;
        if (code == ORVCHAT_CMD_DELETE_ROOM) request = "DELETE " + channel;
        if (!SendToKeeper(request)) return 1;
        Pending op;
        op.code = code;
        op.callback = callback;
        op.room = *room;
        op.channel = channel;
        op.sent = GetTickCount();
        m_ops.push_back(op);
        return 0;
    }
    case ORVCHAT_CMD_VISIBILITY: {
        // Only the member's own two forms; the keeper makes the change.
        const std::string memberId = m_identity.substr(1);
        std::string nick = target ? static_cast<const char*>(target) : "";
        if (nick.empty() && m_main) nick = IdentityOf(memberId, m_main->IsAway() != FALSE);
        if (nick.size() != m_identity.size() || (nick[0] != 'O' && nick[0] != 'R') || nick.substr(1) != memberId)
            return 1;
        // Compared with the identity asked for last, not with the one
        // confirmed: away and back before the first change arrives must
        // end under the second.
        if (nick == m_requested) return 0;
        if (!SendToKeeper("IDENTITY " + nick)) return 1;
        m_requested = nick;
        return 0;
    }
    default:
        return 1;
    }
}

int ChatSession::CancelCommand(int code, IIRCCmdCallBack* callback) {
    int cancelled = 0;
    for (Pending& op : m_ops) {
        if (op.code == code && (!callback || op.callback == callback)) {
            op.callback = nullptr;
            ++cancelled;
        }
    }
    if (code == ORVCHAT_CMD_LIST_ROOMS) {
        for (ListRequest& list : m_lists) {
            if (!callback || list.callback == callback) {
                list.callback = nullptr;
                ++cancelled;
            }
        }
    }
    return cancelled;
}

int ChatSession::Notify(int code, const char* target, INT_PTR parameter) {
    if (!m_registered || !target) return 1;
    const std::string nick = ResolveNick(target);
    if (!IsNickText(nick) || IsKeeper(nick)) return 1;
    auto text = [parameter] {
        const char* value = reinterpret_cast<const char*>(parameter);
        return ChatCodec::Escape(value ? value : "");
    };
    std::string ctcp;
    switch (code) {
    case ORVCHAT_NOTIFY_INVITE:
        ctcp = ChatCodec::MakeCtcp(kInvite, text());
        break;
    case ORVCHAT_NOTIFY_ACCEPT:
        ctcp = ChatCodec::MakeCtcp(kAccept, "");
        break;
    case ORVCHAT_NOTIFY_DECLINE:
        ctcp = ChatCodec::MakeCtcp(kDecline, "");
        break;
    case ORVCHAT_NOTIFY_ONLINE:
        ctcp = ChatCodec::MakeCtcp(kOnline, text());
        break;
    case ORVCHAT_NOTIFY_END:
        ctcp = ChatCodec::MakeCtcp(kEnd, "");
        break;
    case ORVCHAT_NOTIFY_TYPING:
        if (parameter != 1 && parameter != 2) return 1;
        ctcp = ChatCodec::MakeCtcp(kTyping, parameter == 1 ? "1" : "2");
        break;
    default:
        return 1;
    }
    if (!SendToMember(nick, ctcp, code == ORVCHAT_NOTIFY_INVITE)) return 1;
    if (code == ORVCHAT_NOTIFY_INVITE) m_invited.insert(MemberKey(nick));
    if (code == ORVCHAT_NOTIFY_END) m_invited.erase(MemberKey(nick));
    return 0;
}

int ChatSession::SendText(const char* target, const char* line, bool isRoom, char color) {
    if (!m_registered || !target || !line) return 1;
    std::string to;
    if (isRoom) {
        to = RoomChannel(target);
        if (!m_rooms.count(Fold(to))) return 1;
    } else {
        to = ResolveNick(target);
        if (!IsNickText(to) || IsKeeper(to)) return 1;
    }
    if (static_cast<unsigned char>(color) <= ' ' || color == 0x7F) color = '0';
    const size_t budget = TextBudget(to) - 1;  // the colour code leads every piece
    std::vector<std::string> pieces;
    for (const std::string& part : ChatCodec::SplitLines(line))
        for (const std::string& piece : ChatCodec::Split(part, budget)) pieces.push_back(std::string(1, color) + piece);
    // All of it or nothing: a text is not cut off in the middle by a full queue.
    if (pieces.size() > m_out.Room()) return 1;
    for (const std::string& piece : pieces) {
        const bool queued = isRoom ? Send("PRIVMSG " + to + " :" + piece) : SendToMember(to, piece, false);
        if (!queued) return 1;
    }
    return 0;
}

// ---- server lines ----------------------------------------------------------

bool ChatSession::HandleLine(const std::string& line) {
    IrcMessage m;
    if (!IrcMessage::Parse(line, m)) return true;
    const std::string& c = m.command;
    if (c == "PING") {
        Send("PONG :" + m.Param(0), true);
        return true;
    }
    if (c == "PONG") {
        // The marker after lines to a nick the server did not know.
        const std::string& token = m.Param(m.params.size() > 1 ? 1 : 0);
        if (token.rfind("orvretry-", 0) == 0) OnRetryMarker(token.substr(9));
        return true;
    }
    if (c == "ERROR") {
        if (m_state == State::Registering)
            return Fail(m.Param(0).find("Access denied") != std::string::npos ? ORVCHAT_LOST_CREDENTIAL
                                                                               : ORVCHAT_LOST_REFUSED);
        if (m_state == State::AwaitingIdentity)
            return Fail(m.Param(0).find("in use") != std::string::npos ? ORVCHAT_LOST_IN_USE : ORVCHAT_LOST_REFUSED);
        return Fail(ORVCHAT_LOST_CONNECTION);
    }
    if (m_state != State::Registered) return OnRegistrationLine(m);

    if (c == "NICK") {
        OnNick(m);
    } else if (c == "JOIN") {
        OnJoin(m);
    } else if (c == "PART") {
        OnPart(m.nick, m.Param(0), false);
    } else if (c == "KICK") {
        OnPart(m.Param(1), m.Param(0), true);
    } else if (c == "QUIT") {
        OnQuit(m);
    } else if (c == "TOPIC") {
        OnTopic(m.Param(0), m.Param(1), true);
    } else if (c == "332") {
        OnTopic(m.Param(1), m.Param(2), false);
    } else if (c == "353") {
        OnNames(m);
    } else if (c == "366") {
        OnEndOfNames(m.Param(1));
    } else if (c == "PRIVMSG" || c == "NOTICE") {
        OnText(m, c == "NOTICE");
    } else if (c == "321" || c == "322") {
        if (!m_lists.empty() && !m_lists.front().begun) {
            m_lists.front().begun = true;
            if (IIRCCmdCallBack* callback = m_lists.front().callback)
                callback->OnCommandResult(ORVCHAT_RESULT_LIST_BEGIN, 0, 0);
        }
        if (c == "322") OnListRow(m);
    } else if (c == "323") {
        OnListEnd();
    } else if (c == "303") {
        const std::string& present = m.Param(1);
        const std::vector<std::string> gone = m_watch.OnReply(present);
        // Whoever is there is there under the form the server gave.
        size_t pos = 0;
        while (pos < present.size()) {
            size_t end = present.find(' ', pos);
            if (end == std::string::npos) end = present.size();
            Learn(present.substr(pos, end - pos));
            pos = end + 1;
        }
        for (const std::string& key : gone) {
            auto peer = m_peers.find(key);
            TellPartnerGone(peer != m_peers.end() ? peer->second : "O" + key);
        }
    } else if (c == "401") {
        OnNoSuchNick(m.Param(1));
    } else if (c == "403" || c == "405" || c == "442" || c == "471" || c == "473" || c == "474" || c == "475" ||
               c == "476" || c == "477") {
        OnChannelError(c, m.Param(1));
    }
    return true;
}

void ChatSession::OnNick(const IrcMessage& m) {
    const std::string& to = m.Param(0);
    if (!IsNickText(to) || m.nick.empty()) return;
    if (Fold(m.nick) == Fold(m_nick)) {
        m_nick = to;
        // Partners of private chats learn the new identity from this notice;
        // rooms see the NICK itself.
        std::set<std::string> told;
        const std::vector<IIRCChatClient*> clients(m_clients);
        for (IIRCChatClient* client : clients) {
            if (!IsClient(client) || client->IsRoom()) continue;
            const std::string peer = ResolveNick(client->GetTarget().GetString());
            if (IsNickText(peer) && !IsKeeper(peer) && told.insert(Fold(peer)).second)
                Send("NOTICE " + peer + " :" + ChatCodec::MakeCtcp(kIdent, ""));
        }
        return;
    }
    Learn(to);
    // Callbacks may pump messages and end the session: walk a copy.
    std::vector<std::string> channels;
    for (auto& entry : m_rooms) {
        Room& room = entry.second;
        if (!room.members.erase(Fold(m.nick))) continue;
        room.members[Fold(to)] = to;
        channels.push_back(room.channel);
    }
    for (const std::string& channel : channels) {
        if (!m_rooms.count(Fold(channel))) continue;
        const OrvChatUser user = MakeUser(to, channel);
        ForRoomClients(channel, [&](IIRCChatClient* client) {
            client->OnChatEvent(ORVCHAT_EVENT_USER_ARRIVED, reinterpret_cast<INT_PTR>(&user), 0);
        });
    }
}

void ChatSession::OnJoin(const IrcMessage& m) {
    const std::string channel = m.Param(0);
    if (!IsChannelText(channel) || !IsNickText(m.nick) || IsKeeper(m.nick)) return;
    const std::string key = Fold(channel);
    if (Fold(m.nick) == Fold(m_nick)) {
        Room room;
        room.channel = channel;
        room.members[Fold(m_nick)] = m_nick;
        m_rooms[key] = room;
        return;
    }
    auto it = m_rooms.find(key);
    if (it == m_rooms.end()) return;
    it->second.members[Fold(m.nick)] = m.nick;
    Learn(m.nick);
    const std::string spelled = it->second.channel;
    const OrvChatUser user = MakeUser(m.nick, spelled);
    ForRoomClients(spelled, [&](IIRCChatClient* client) {
        client->OnChatEvent(ORVCHAT_EVENT_USER_ARRIVED, reinterpret_cast<INT_PTR>(&user), 0);
    });
}

void ChatSession::OnPart(const std::string& nick, const std::string& channel, bool kicked) {
    const std::string key = Fold(channel);
    auto it = m_rooms.find(key);
    if (it == m_rooms.end() || nick.empty()) return;
    const std::string spelled = it->second.channel;
    if (Fold(nick) == Fold(m_nick)) {
        // Put out by the keeper: the room was deleted.
        if (kicked) TellRoomDeleted(it->second);
        m_rooms.erase(Fold(spelled));
        return;
    }
    if (!it->second.members.erase(Fold(nick))) return;
    ForRoomClients(spelled, [&](IIRCChatClient* client) { client->OnChatEvent(ORVCHAT_EVENT_USER_LEFT, Text(nick), 0); });
}

void ChatSession::OnQuit(const IrcMessage& m) {
    if (m.nick.empty() || Fold(m.nick) == Fold(m_nick)) return;
    const std::string nick = m.nick;
    m_peers.erase(MemberKey(nick));
    std::vector<std::string> channels;
    for (auto& entry : m_rooms)
        if (entry.second.members.count(Fold(nick))) channels.push_back(entry.second.channel);
    for (const std::string& channel : channels) OnPart(nick, channel, false);
    TellPartnerGone(nick);
}

void ChatSession::OnTopic(const std::string& channel, const std::string& topic, bool live) {
    auto it = m_rooms.find(Fold(channel));
    if (it == m_rooms.end()) return;
    Room& room = it->second;
    room.hasTopic = true;
    room.topic = topic;
    if (live && topic == ChatCodec::DeletedTopic) TellRoomDeleted(room);
}

void ChatSession::OnNames(const IrcMessage& m) {
    auto it = m_rooms.find(Fold(m.Param(2)));
    if (it == m_rooms.end() || it->second.namesDone) return;
    const std::string& names = m.Param(3);
    size_t pos = 0;
    while (pos < names.size()) {
        size_t end = names.find(' ', pos);
        if (end == std::string::npos) end = names.size();
        std::string nick = names.substr(pos, end - pos);
        pos = end + 1;
        while (!nick.empty() && std::strchr("@+%~&", nick[0])) nick.erase(0, 1);
        if (IsNickText(nick) && !IsKeeper(nick)) {
            it->second.members[Fold(nick)] = nick;
            Learn(nick);
        }
    }
}

void ChatSession::OnEndOfNames(const std::string& channel) {
    auto it = m_rooms.find(Fold(channel));
    if (it == m_rooms.end() || it->second.namesDone) return;
    Room& room = it->second;
    room.namesDone = true;
    const std::string spelled = room.channel;
    ChatCodec::RoomTopic topic;
    const bool isRoom = room.hasTopic && ChatCodec::DecodeTopic(room.topic, topic);
    Pending* join = FindOp(spelled, ORVCHAT_CMD_JOIN_ROOM);
    if (!join) return;
    Pending done = *join;
    m_ops.erase(m_ops.begin() + (join - m_ops.data()));
    if (!isRoom) {
        // A room being deleted: leave it again.
        Send("PART " + spelled);
        TellRoomDeleted(room);
        return;
    }
    const OrvChatRoom record = RoomRecord(room);
    std::vector<std::string> members;
    for (const auto& member : room.members) members.push_back(member.second);
    ForRoomClients(spelled, [&](IIRCChatClient* client) {
        client->OnChatEvent(ORVCHAT_EVENT_ENTERED, reinterpret_cast<INT_PTR>(&record), 0);
    });
    for (const std::string& nick : members) {
        if (!m_rooms.count(Fold(spelled))) return;
        const OrvChatUser user = MakeUser(nick, spelled);
        ForRoomClients(spelled, [&](IIRCChatClient* client) {
            client->OnChatEvent(ORVCHAT_EVENT_USER_PRESENT, reinterpret_cast<INT_PTR>(&user), 0);
        });
    }
    // Tell the others who we are; they answer with who they are.
    if (!m_rooms.count(Fold(spelled))) return;
    Send("PRIVMSG " + spelled + " :" + ChatCodec::MakeCtcp(kUser, OwnUserInfoArgs()));
}

void ChatSession::OnText(const IrcMessage& m, bool notice) {
    const std::string& target = m.Param(0);
    const std::string& text = m.Param(1);
    const std::string from = m.nick;
    if (from.empty() || text.empty() || m.prefix.find('!') == std::string::npos) return;
    if (IsKeeper(from)) {
        // The keeper only answers; nobody else may use its nick.
        if (notice) OnKeeperAnswer(text);
        return;
    }
    Learn(from);
    std::string tag, args;
    if (ChatCodec::ParseCtcp(text, tag, args)) {
        OnCtcp(from, target, tag, args, notice);
        return;
    }
    if (notice) return;
    if (!target.empty() && target[0] == '#') {
        if (!m_rooms.count(Fold(target))) return;
        ForRoomClients(target, [&](IIRCChatClient* client) { client->OnMessage(text.c_str(), from.c_str()); });
        return;
    }
    ForPrivateClients(from, [&](IIRCChatClient* client) { client->OnMessage(text.c_str(), from.c_str()); });
}

void ChatSession::OnKeeperAnswer(const std::string& text) {
    // "CREATED <channel>", "CHANGED ...", "DELETED ...",
    // "REFUSED <verb> <target> <reason>".
    const size_t blank = text.find(' ');
    const std::string word = text.substr(0, blank);
    const std::string rest = blank == std::string::npos ? std::string() : text.substr(blank + 1);
    if (word == "REFUSED") {
        const size_t second = rest.find(' ');
        const std::string verb = rest.substr(0, second);
        std::string target = second == std::string::npos ? std::string() : rest.substr(second + 1);
        target = target.substr(0, target.find(' '));
        if (verb == "IDENTITY") {
            // The change we asked for is not coming.
            m_requested = m_nick;
            return;
        }
        const int code = verb == "CREATE"   ? ORVCHAT_CMD_CREATE_ROOM
                         : verb == "CHANGE" ? ORVCHAT_CMD_CHANGE_ROOM
                         : verb == "DELETE" ? ORVCHAT_CMD_DELETE_ROOM
                                            : 0;
        for (size_t i = 0; code && i < m_ops.size(); ++i) {
            if (m_ops[i].code == code && Fold(m_ops[i].channel) == Fold(target)) {
                FailOp(i);
                return;
            }
        }
        return;
    }
    const int code = word == "CREATED"   ? ORVCHAT_CMD_CREATE_ROOM
                     : word == "CHANGED" ? ORVCHAT_CMD_CHANGE_ROOM
                     : word == "DELETED" ? ORVCHAT_CMD_DELETE_ROOM
                                         : 0;
    const int result = code == ORVCHAT_CMD_CREATE_ROOM   ? ORVCHAT_RESULT_CREATED
                       : code == ORVCHAT_CMD_CHANGE_ROOM ? ORVCHAT_RESULT_CHANGED
                                                         : ORVCHAT_RESULT_DELETED;
    Pending* op = code ? FindOp(rest, code) : nullptr;
    if (!op) return;
    Pending done = *op;
    m_ops.erase(m_ops.begin() + (op - m_ops.data()));
    Result(done, result);
}

void ChatSession::OnCtcp(const std::string& from, const std::string& target, const std::string& tag,
                         const std::string& args, bool notice) {
    const bool toRoom = !target.empty() && target[0] == '#';
    if (tag == kUser) {
        // "<colour> <name>|<free text>"
        if (args.size() < 2 || args[1] != ' ') return;
        const std::string rest = args.substr(2);
        const size_t bar = rest.find('|');
        UserInfo& info = m_users[MemberKey(from)];
        info.color = static_cast<unsigned char>(args[0]) > ' ' ? args[0] : '0';
        info.displayName = ChatCodec::Unescape(rest.substr(0, bar));
        info.freeText = bar == std::string::npos ? std::string() : ChatCodec::Unescape(rest.substr(bar + 1));
        info.known = true;
        std::vector<std::string> channels;
        if (toRoom) {
            if (m_rooms.count(Fold(target))) channels.push_back(m_rooms[Fold(target)].channel);
        } else {
            for (const auto& entry : m_rooms)
                if (entry.second.members.count(Fold(from))) channels.push_back(entry.second.channel);
        }
        for (const std::string& channel : channels) {
            if (!m_rooms.count(Fold(channel))) continue;
            const OrvChatUser user = MakeUser(from, channel);
            const int event = toRoom ? ORVCHAT_EVENT_USER_ARRIVED : ORVCHAT_EVENT_USER_PRESENT;
            ForRoomClients(channel, [&](IIRCChatClient* client) {
                client->OnChatEvent(event, reinterpret_cast<INT_PTR>(&user), 0);
            });
        }
        if (toRoom && !channels.empty() && !notice)
            Send("NOTICE " + from + " :" + ChatCodec::MakeCtcp(kUser, OwnUserInfoArgs()));
        return;
    }
    if (toRoom) return;
    if (tag == kInvite) {
        if (notice) return;
        if (m_main && m_main->IsAway()) {
            Send("NOTICE " + from + " :" + ChatCodec::MakeCtcp(kAway, ""));
            return;
        }
        const std::string name = ChatCodec::Unescape(args);
        if (m_main) m_main->OnChatEvent(ORVCHAT_MAIN_INVITATION, Text(from), Text(name));
    } else if (tag == kOnline) {
        const std::string name = ChatCodec::Unescape(args);
        if (m_main) m_main->OnChatEvent(ORVCHAT_MAIN_CONTACT_ONLINE, Text(name), Text(from));
    } else if (tag == kAccept || tag == kDecline || tag == kAway) {
        m_invited.erase(MemberKey(from));
        const int event = tag == kAccept ? ORVCHAT_EVENT_ACCEPTED : ORVCHAT_EVENT_AWAY;
        ForPrivateClients(from, [&](IIRCChatClient* client) { client->OnChatEvent(event, Text(from), 0); });
    } else if (tag == kEnd) {
        ForPrivateClients(from, [&](IIRCChatClient* client) { client->OnChatEvent(ORVCHAT_EVENT_LEFT, Text(from), 0); });
    } else if (tag == kTyping) {
        if (args != "1" && args != "2") return;
        const INT_PTR state = args == "1" ? 1 : 2;
        ForPrivateClients(from, [&](IIRCChatClient* client) { client->OnChatEvent(ORVCHAT_EVENT_TYPING, state, Text(from)); });
    }
    // kIdent needs nothing more: Learn() has taken the sender's identity.
}

void ChatSession::OnListRow(const IrcMessage& m) {
    if (m_lists.empty()) return;
    const std::string& channel = m.Param(1);
    ChatCodec::RoomTopic topic;
    if (!OrvChatRoom::IsRoomIdentity(channel.c_str()) || !ChatCodec::DecodeTopic(m.Param(3), topic)) return;
    OrvChatRoom room;
    room.identity = channel.c_str();
    room.creator = OrvChatRoom::CreatorOf(channel.c_str());
    room.displayName = topic.displayName.c_str();
    room.description = topic.description.c_str();
    room.welcome = topic.welcome.c_str();
    const std::string& count = m.Param(2);
    long users = 0;
    for (char c : count) {
        if (c < '0' || c > '9' || users > 1000000) break;
        users = users * 10 + (c - '0');
    }
    room.userCount = static_cast<int>(users);
    room.users.Format("%d", room.userCount);
    if (IIRCCmdCallBack* callback = m_lists.front().callback)
        callback->OnCommandResult(ORVCHAT_RESULT_LIST_ROW, reinterpret_cast<INT_PTR>(&room), 0);
}

void ChatSession::OnListEnd() {
    if (m_lists.empty()) return;
    const ListRequest done = m_lists.front();
    m_lists.erase(m_lists.begin());
    if (done.callback) {
        if (!done.begun) done.callback->OnCommandResult(ORVCHAT_RESULT_LIST_BEGIN, 0, 0);
        done.callback->OnCommandResult(ORVCHAT_RESULT_LIST_END, 0, 0);
    }
}

void ChatSession::OnNoSuchNick(const std::string& nick) {
    if (nick.empty() || nick[0] == '#') return;
    if (IsKeeper(nick)) {
        // No keeper on the server: no room work, no identity change.
        FailKeeperOps();
        m_requested = m_nick;
        return;
    }
    const std::string key = Fold(nick);
    auto pending = m_undelivered.find(key);
    if (pending != m_undelivered.end()) {
        ++pending->second.failed;
        return;
    }
    bool sentTo = false;
    for (const SentToMember& line : m_recent) sentTo |= line.nick == key;
    if (!sentTo) return;
    // The member may be there under his other identity (he went away or came
    // back): new lines go there at once; what failed is known once the
    // server has handled everything sent to this nick so far.
    m_undelivered[key].failed = 1;
    if (IsMemberNick(nick)) {
        const std::string other = std::string(1, nick[0] == 'O' || nick[0] == 'o' ? 'R' : 'O') + nick.substr(1);
        if (Fold(ResolveNick(nick)) == key) m_peers[MemberKey(nick)] = other;
    }
    if (!Send("PING :orvretry-" + nick)) OnRetryMarker(nick);
}

void ChatSession::OnRetryMarker(const std::string& nick) {
    const std::string key = Fold(nick);
    auto pending = m_undelivered.find(key);
    if (pending == m_undelivered.end()) return;
    int failed = pending->second.failed;
    m_undelivered.erase(pending);
    // The last `failed` lines to the nick, oldest first.
    std::vector<SentToMember> lost;
    for (size_t i = m_recent.size(); i-- > 0 && failed > 0;) {
        if (m_recent[i].nick != key) continue;
        lost.insert(lost.begin(), m_recent[i]);
        m_recent.erase(m_recent.begin() + static_cast<std::ptrdiff_t>(i));
        --failed;
    }
    std::vector<SentToMember> again;
    bool invitationLost = false, lineLost = false;
    for (const SentToMember& line : lost) {
        if (!line.retried && IsMemberNick(nick)) {
            again.push_back(line);
        } else {
            (line.invitation ? invitationLost : lineLost) = true;
        }
    }
    const std::string other = std::string(1, nick[0] == 'O' || nick[0] == 'o' ? 'R' : 'O') + nick.substr(1);
    for (const SentToMember& line : again) SendToMember(other, line.text, line.invitation, true);
    if (invitationLost && m_invited.erase(MemberKey(nick))) {
        // An invitation that cannot arrive: the partner is not in the chat now.
        m_watch.SetPresent(MemberKey(nick), false);
        ForPrivateClients(nick, [&](IIRCChatClient* client) { client->OnChatEvent(ORVCHAT_EVENT_AWAY, Text(nick), 0); });
        return;
    }
    // A line that reached nobody: the window is told the partner is gone.
    if (lineLost) TellPartnerGone(nick);
}

void ChatSession::OnChannelError(const std::string& code, const std::string& channel) {
    if (channel.empty()) return;
    auto room = m_rooms.find(Fold(channel));
    Pending* join = FindOp(channel, ORVCHAT_CMD_JOIN_ROOM);
    if (join && code == "403") {
        // No such room (deleted, or never made): the window hears it as such.
        m_ops.erase(m_ops.begin() + (join - m_ops.data()));
        Room gone;
        gone.channel = room != m_rooms.end() ? room->second.channel : channel;
        TellRoomDeleted(gone);
        return;
    }
    FailOpsOn(channel);
}

void ChatSession::End(bool lost, int reason) {
    if (m_ending) return;
    // A callback that throws must not leave the session unable to end again.
    struct Ending {
        bool& flag;
        explicit Ending(bool& f) : flag(f) { flag = true; }
        ~Ending() { flag = false; }
    } ending(m_ending);
    const bool wasRegistered = m_registered;
    m_registered = false;
    m_state = State::Idle;
    std::vector<Pending> ops;
    ops.swap(m_ops);
    std::vector<ListRequest> lists;
    lists.swap(m_lists);
    m_rooms.clear();
    m_invited.clear();
    m_peers.clear();
    m_users.clear();
    m_recent.clear();
    m_undelivered.clear();
    m_watch.Clear();
    for (Pending& op : ops)
        if (op.callback && !op.answered) Result(op, ORVCHAT_RESULT_FAILED);
    for (const ListRequest& list : lists)
        if (list.callback) list.callback->OnCommandResult(ORVCHAT_RESULT_FAILED, 0, 0);
    const std::vector<IIRCChatClient*> clients(m_clients);
    for (IIRCChatClient* client : clients)
        if (IsClient(client)) client->OnChatClosed(lost ? ORVCHAT_CLOSED_LOST : ORVCHAT_CLOSED_BY_ENGINE);
    if (m_main) {
        if (lost) {
            m_main->OnChatEvent(ORVCHAT_MAIN_CONNECTION_LOST, reason, reinterpret_cast<INT_PTR>(LostText(reason)));
        } else if (wasRegistered) {
            m_main->OnChatEvent(ORVCHAT_MAIN_DISCONNECTED, 0, 0);
        }
    }
}
