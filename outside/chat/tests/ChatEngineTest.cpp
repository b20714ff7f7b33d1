// Engines of several members talking through the real chat network: ngircd
// with its PAM authentication, the room keeper, and orvane-server, where
// the members sign up and log in for their session ids.
#include "COrvChat.h"
#include "ChatTestKit.h"
#include "ChatTestNetwork.h"
#include "TestSupport.h"

#include <CSocketHandle.h>
#include <CWinsockStartup.h>

#include <gtest/gtest.h>

#include <memory>

using chattest::Account;
using chattest::ChatTestNetwork;
using chattest::FakeClient;
using chattest::FakeMain;
using chattest::PumpFor;
using chattest::PumpUntil;

namespace {

// One member: his main frame's callbacks and his engine.
struct Member {
    Member(const Account& account, const std::string& name, int delayMs = 0)
        : main(account.id, name), engine(&main), account(account) {
        engine.SetDelay(delayMs);
        engine.SetIRCPingRate(60);
        engine.SetSessionId(account.session.c_str());
    }
    bool Connect(int port) {
        if (engine.Connect("127.0.0.1", port) != 0) return false;
        return PumpUntil([this] { return main.Count(ORVCHAT_MAIN_CONNECTED) > 0 ||
                                         main.Count(ORVCHAT_MAIN_CONNECTION_LOST) > 0; },
                         60000) &&
               main.Count(ORVCHAT_MAIN_CONNECTED) > 0;
    }
    std::string Identity() { return engine.GetIdentity().GetString(); }
    std::string O() const { return "O" + account.id; }
    std::string R() const { return "R" + account.id; }

    FakeMain main;
    COrvChat engine;
    Account account;
};

class ChatEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_network = new ChatTestNetwork();
        s_started = s_network->Start("engine");
    }
    static void TearDownTestSuite() {
        delete s_network;
        s_network = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_started) << s_network->Logs(); }
    void TearDown() override {
        if (HasFailure()) std::printf("%s\n", s_network->Logs().c_str());
    }
    int Port() { return s_network->ChatPort(); }
    // Every test its own members: a connection of an earlier test may
    // linger at the chat server a while.
    static Account NewAccount() {
        const Account account = s_network->SignUp("m" + std::to_string(++s_accounts) + "@example.com");
        EXPECT_FALSE(account.session.empty()) << s_network->Logs();
        return account;
    }

    static ChatTestNetwork* s_network;
    static bool s_started;
    static int s_accounts;
};
ChatTestNetwork* ChatEngine::s_network = nullptr;
bool ChatEngine::s_started = false;
int ChatEngine::s_accounts = 0;

std::string JoinTexts(const FakeClient& client, char color) {
    std::string all;
    for (const auto& m : client.messages) {
        EXPECT_EQ(m.text[0], color);
        all += m.text.substr(1);
    }
    return all;
}

// A raw IRC client of a member, for what no engine would do.
class RawClient {
public:
    bool Login(int port, const Account& account) {
        m_socket.Reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<u_short>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(m_socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return false;
        u_long nonBlocking = 1;
        ioctlsocket(m_socket.Get(), FIONBIO, &nonBlocking);
        Send("PASS " + account.session + "\r\nNICK Graw" + account.id + "\r\nUSER O" + account.id +
             " 0 * :raw\r\n");
        return PumpUntil([&] { return Read().find(" NICK :O" + account.id) != std::string::npos; }, 30000);
    }
    // Sends without any pacing; false once the server has closed (or after
    // a minute of not taking anything).
    bool Send(const std::string& data) {
        size_t sent = 0;
        const DWORD start = GetTickCount();
        while (sent < data.size() && GetTickCount() - start < 60000) {
            const int n = send(m_socket.Get(), data.data() + sent, static_cast<int>(data.size() - sent), 0);
            if (n > 0) {
                sent += static_cast<size_t>(n);
                continue;
            }
            if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
            Read();
            fd_set writable;
            FD_ZERO(&writable);
            FD_SET(m_socket.Get(), &writable);
            timeval timeout{0, 100000};
            select(0, nullptr, &writable, nullptr, &timeout);
        }
        return sent == data.size();
    }
    const std::string& Read() {
        char buffer[8192];
        int n;
        while ((n = recv(m_socket.Get(), buffer, sizeof buffer, 0)) > 0) m_received.append(buffer, n);
        if (n == 0) m_closed = true;
        return m_received;
    }
    bool Closed() {
        Read();
        return m_closed;
    }

private:
    CWinsockStartup m_winsock;
    CSocketHandle m_socket;
    std::string m_received;
    bool m_closed = false;
};

}  // namespace

TEST_F(ChatEngine, InvitationAcceptedThenColouredLinesTypingAndEnd) {
    Member ann(NewAccount(), "Ann Lee"), bob(NewAccount(), "Bob Stone");
    ASSERT_TRUE(ann.Connect(Port())) << s_network->Logs();
    ASSERT_TRUE(bob.Connect(Port()));
    EXPECT_EQ(ann.Identity(), ann.O());
    EXPECT_TRUE(ann.engine.IsConnected());

    // Ann opens a chat with Bob and invites him.
    FakeClient annWindow(bob.O(), false);
    ann.engine.AddClient(&annWindow);
    ASSERT_EQ(ann.engine.Notify(ORVCHAT_NOTIFY_INVITE, bob.O().c_str(), reinterpret_cast<INT_PTR>("Ann Lee")), 0);
    ASSERT_TRUE(PumpUntil([&] { return bob.main.Count(ORVCHAT_MAIN_INVITATION) > 0; }));
    EXPECT_EQ(bob.main.Last(ORVCHAT_MAIN_INVITATION)->text1, ann.O());
    EXPECT_EQ(bob.main.Last(ORVCHAT_MAIN_INVITATION)->text2, "Ann Lee");

    // Bob accepts: his window first, then the notice.
    FakeClient bobWindow(ann.O(), false);
    bob.engine.AddClient(&bobWindow);
    ASSERT_EQ(bob.engine.Notify(ORVCHAT_NOTIFY_ACCEPT, ann.O().c_str(), 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_ACCEPTED) > 0; }));
    EXPECT_TRUE(IsEqualID(annWindow.Last(ORVCHAT_EVENT_ACCEPTED)->text1.c_str(), bob.O().c_str()));
    EXPECT_TRUE(ann.engine.IsInChat());
    EXPECT_EQ(ann.engine.FindClient(bob.R().c_str()), &annWindow);

    // Coloured lines both ways, the colour code first.
    ASSERT_EQ(ann.engine.SendText(bob.O().c_str(), "Hello Bob :)", FALSE, '4'), 0);
    ASSERT_EQ(bob.engine.SendText(ann.O().c_str(), "Hi Ann", FALSE, 'B'), 0);
    ASSERT_TRUE(PumpUntil([&] { return !bobWindow.messages.empty() && !annWindow.messages.empty(); }));
    EXPECT_EQ(bobWindow.messages[0].text, "4Hello Bob :)");
    EXPECT_EQ(bobWindow.messages[0].sender, ann.O());
    EXPECT_EQ(annWindow.messages[0].text, "BHi Ann");

    // A line over what IRC carries arrives whole, in pieces.
    std::string longLine;
    for (int i = 0; longLine.size() < 1500; ++i) longLine += "piece" + std::to_string(i) + (i % 9 ? " " : "");
    longLine += "end";
    bobWindow.messages.clear();
    ASSERT_EQ(ann.engine.SendText(bob.O().c_str(), longLine.c_str(), FALSE, '7'), 0);
    ASSERT_TRUE(PumpUntil([&] { return JoinTexts(bobWindow, '7').size() >= longLine.size(); }, 30000));
    EXPECT_GE(bobWindow.messages.size(), 4u);
    EXPECT_EQ(JoinTexts(bobWindow, '7'), longLine);

    // Line breaks inside one call never reach the server as commands.
    bobWindow.messages.clear();
    ASSERT_EQ(ann.engine.SendText(bob.O().c_str(), "one\r\nQUIT :gone\ntwo", FALSE, '1'), 0);
    ASSERT_TRUE(PumpUntil([&] { return bobWindow.messages.size() >= 3; }));
    EXPECT_EQ(bobWindow.messages[1].text, "1QUIT :gone");
    EXPECT_TRUE(ann.engine.IsConnected());

    // Typing notices.
    ASSERT_EQ(bob.engine.Notify(ORVCHAT_NOTIFY_TYPING, ann.O().c_str(), 1), 0);
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_TYPING) > 0; }));
    EXPECT_EQ(annWindow.Last(ORVCHAT_EVENT_TYPING)->number, 1);
    ASSERT_EQ(bob.engine.Notify(ORVCHAT_NOTIFY_TYPING, ann.O().c_str(), 2), 0);
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_TYPING) > 1; }));
    EXPECT_EQ(annWindow.Last(ORVCHAT_EVENT_TYPING)->number, 2);

    // Colour change reaches every window of the engine.
    ann.engine.NotifyClients(2);
    ASSERT_EQ(annWindow.Count(ORVCHAT_EVENT_COLOR_CHANGED), 1);
    EXPECT_EQ(annWindow.Last(ORVCHAT_EVENT_COLOR_CHANGED)->number, 2);

    // Contact on line notice goes to the other main frame.
    ASSERT_EQ(ann.engine.Notify(ORVCHAT_NOTIFY_ONLINE, bob.O().c_str(), reinterpret_cast<INT_PTR>("Ann Lee")), 0);
    ASSERT_TRUE(PumpUntil([&] { return bob.main.Count(ORVCHAT_MAIN_CONTACT_ONLINE) > 0; }));
    EXPECT_EQ(bob.main.Last(ORVCHAT_MAIN_CONTACT_ONLINE)->text1, "Ann Lee");
    EXPECT_EQ(bob.main.Last(ORVCHAT_MAIN_CONTACT_ONLINE)->text2, ann.O());

    // Bob ends the chat.
    ASSERT_EQ(bob.engine.Notify(ORVCHAT_NOTIFY_END, ann.O().c_str(), 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_LEFT) > 0; }));

    // Disconnect closes the windows with reason 3 and tells the main frame.
    ann.engine.Disconnect();
    EXPECT_FALSE(ann.engine.IsConnected());
    ASSERT_EQ(annWindow.closed.size(), 1u);
    EXPECT_EQ(annWindow.closed[0], ORVCHAT_CLOSED_BY_ENGINE);
    EXPECT_EQ(ann.main.Count(ORVCHAT_MAIN_DISCONNECTED), 1);
    EXPECT_NE(ann.engine.SendText(bob.O().c_str(), "late", FALSE, '1'), 0);
    EXPECT_EQ(ann.main.Count(ORVCHAT_MAIN_CONNECTION_LOST), 0);
}

TEST_F(ChatEngine, DeclinedAwayAndAbsentInvitationsRaiseAway) {
    Member ann(NewAccount(), "Ann"), bob(NewAccount(), "Bob");
    ASSERT_TRUE(ann.Connect(Port()));
    ASSERT_TRUE(bob.Connect(Port()));
    FakeClient annWindow(bob.O(), false);
    ann.engine.AddClient(&annWindow);

    // Declined.
    ann.engine.Notify(ORVCHAT_NOTIFY_INVITE, bob.O().c_str(), reinterpret_cast<INT_PTR>("Ann"));
    ASSERT_TRUE(PumpUntil([&] { return bob.main.Count(ORVCHAT_MAIN_INVITATION) > 0; }));
    bob.engine.Notify(ORVCHAT_NOTIFY_DECLINE, ann.O().c_str(), 0);
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_AWAY) == 1; }));

    // Bob is away: the invitation is answered by his engine, not shown to him.
    bob.main.away = TRUE;
    ann.engine.Notify(ORVCHAT_NOTIFY_INVITE, bob.O().c_str(), reinterpret_cast<INT_PTR>("Ann"));
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_AWAY) == 2; }));
    EXPECT_EQ(bob.main.Count(ORVCHAT_MAIN_INVITATION), 1);

    // Nobody of that identity in the chat.
    FakeClient ghostWindow("O999999", false);
    ann.engine.AddClient(&ghostWindow);
    ann.engine.Notify(ORVCHAT_NOTIFY_INVITE, "O999999", reinterpret_cast<INT_PTR>("Ann"));
    ASSERT_TRUE(PumpUntil([&] { return ghostWindow.Count(ORVCHAT_EVENT_AWAY) == 1; }));
    EXPECT_EQ(annWindow.Count(ORVCHAT_EVENT_AWAY), 2);
}

TEST_F(ChatEngine, GoingAwayChangesTheIdentityTheOtherSideStillMatches) {
    Member ann(NewAccount(), "Ann"), bob(NewAccount(), "Bob");
    ASSERT_TRUE(ann.Connect(Port()));
    ASSERT_TRUE(bob.Connect(Port()));
    FakeClient annWindow(bob.O(), false), bobWindow(ann.O(), false);
    ann.engine.AddClient(&annWindow);
    bob.engine.AddClient(&bobWindow);
    bob.engine.SendText(ann.O().c_str(), "before", FALSE, '2');
    ASSERT_TRUE(PumpUntil([&] { return annWindow.messages.size() == 1; }));

    ann.main.away = TRUE;
    ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "", 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return ann.Identity() == ann.R(); }));

    ann.engine.SendText(bob.O().c_str(), "now away", FALSE, '3');
    ASSERT_TRUE(PumpUntil([&] { return !bobWindow.messages.empty(); }));
    EXPECT_EQ(bobWindow.messages[0].sender, ann.R());
    EXPECT_TRUE(IsEqualID(bobWindow.GetTarget(), bobWindow.messages[0].sender.c_str()));

    // Bob's window still addresses the "O" form: the engine finds Ann under "R".
    bob.engine.SendText(ann.O().c_str(), "still reaches you", FALSE, '2');
    ASSERT_TRUE(PumpUntil([&] { return annWindow.messages.size() == 2; }));
    EXPECT_EQ(annWindow.messages[1].text, "2still reaches you");

    // And back.
    ann.main.away = FALSE;
    ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_VISIBILITY, nullptr, ann.O().c_str(), 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return ann.Identity() == ann.O(); }));
    bob.engine.SendText(ann.O().c_str(), "welcome back", FALSE, '2');
    ASSERT_TRUE(PumpUntil([&] { return annWindow.messages.size() == 3; })) << [&] {
        std::string t;
        for (auto& m : annWindow.messages) t += m.sender + ": " + m.text + "\n";
        for (auto& e : annWindow.events) t += "event " + std::to_string(e.code) + " " + e.text1 + "\n";
        for (auto& e : bobWindow.events) t += "bob event " + std::to_string(e.code) + " " + e.text1 + "\n";
        return t;
    }();
    EXPECT_NE(ann.engine.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "R 301\r\nQUIT", 0), 0);
    // Somebody else's identity is no visibility change.
    EXPECT_NE(ann.engine.Command(ORVCHAT_CMD_VISIBILITY, nullptr, bob.R().c_str(), 0), 0);
}

TEST_F(ChatEngine, AwayAndBackBeforeTheFirstChangeArrivesEndsUnderTheLastAsked) {
    Member ann(NewAccount(), "Ann"), bob(NewAccount(), "Bob");
    ASSERT_TRUE(ann.Connect(Port()));
    ASSERT_TRUE(bob.Connect(Port()));
    for (int round = 0; round < 3; ++round) {
        ann.main.away = TRUE;
        ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "", 0), 0);
        ann.main.away = FALSE;
        ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "", 0), 0);
    }
    // Both changes went through the keeper in order; Ann ends as she asked last.
    FakeClient bobWindow(ann.O(), false);
    bob.engine.AddClient(&bobWindow);
    ASSERT_EQ(ann.engine.SendText(bob.O().c_str(), "here", FALSE, '1'), 0);
    ASSERT_TRUE(PumpUntil([&] { return !bobWindow.messages.empty(); }, 30000));
    ASSERT_TRUE(PumpUntil([&] { return ann.Identity() == ann.O() && bobWindow.messages.back().sender == ann.O(); },
                          30000))
        << ann.Identity();
    // Away for good: a last request stands.
    ann.main.away = TRUE;
    ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "", 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return ann.Identity() == ann.R(); }));
}

TEST_F(ChatEngine, RoomCreatedListedJoinedChangedAndDeleted) {
    Member ann(NewAccount(), "Ann Lee"), bob(NewAccount(), "Bob Stone"), cid(NewAccount(), "Cid Moor");
    ASSERT_TRUE(ann.Connect(Port()));
    ASSERT_TRUE(bob.Connect(Port()));
    ASSERT_TRUE(cid.Connect(Port()));
    cid.main.color = '9';

    // Ann creates a room; she does not stay in it.
    OrvChatRoom room;
    room.identity = OrvChatRoom::MakeIdentity(ann.O().c_str(), "Hiking club");
    room.displayName = "Hiking club";
    room.description = "Walks | and hills";
    room.welcome = "Welcome, walkers!";
    room.creator = ann.O().c_str();
    FakeClient dialog("", false);
    ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_CREATE_ROOM, &dialog, &room, 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.results.empty(); }));
    ASSERT_EQ(dialog.results[0].code, ORVCHAT_RESULT_CREATED);
    // Creating it twice fails.
    ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_CREATE_ROOM, &dialog, &room, 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return dialog.results.size() == 2; }));
    EXPECT_EQ(dialog.results[1].code, ORVCHAT_RESULT_FAILED);
    // Only its creator may create, change or delete a room.
    EXPECT_NE(bob.engine.Command(ORVCHAT_CMD_DELETE_ROOM, &dialog, &room, 0), 0);

    // Cid lists the rooms and finds it with description and welcome message.
    FakeClient list("", false);
    auto listRooms = [&]() -> const chattest::Event* {
        list.results.clear();
        EXPECT_EQ(cid.engine.Command(ORVCHAT_CMD_LIST_ROOMS, &list, "", 0), 0);
        EXPECT_TRUE(PumpUntil([&] { return list.ResultCount(ORVCHAT_RESULT_LIST_END) > 0; }));
        EXPECT_EQ(list.results.front().code, ORVCHAT_RESULT_LIST_BEGIN);
        for (const auto& r : list.results)
            if (r.code == ORVCHAT_RESULT_LIST_ROW && r.room.identity == room.identity) return &r;
        return nullptr;
    };
    const chattest::Event* row = listRooms();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->room.displayName, "Hiking club");
    EXPECT_EQ(row->room.description, "Walks | and hills");
    EXPECT_EQ(row->room.welcome, "Welcome, walkers!");
    EXPECT_EQ(row->room.creator, ann.O().c_str());
    EXPECT_EQ(row->room.userCount, 0);
    EXPECT_EQ(row->room.users, "0");
    EXPECT_TRUE(row->room.IsValidRoom("hiking"));

    // Bob joins, then Cid: each sees who is there.
    FakeClient bobRoom(room.identity.GetString(), true), cidRoom(room.identity.GetString(), true);
    bob.engine.AddClient(&bobRoom);
    ASSERT_EQ(bob.engine.Command(ORVCHAT_CMD_JOIN_ROOM, &bobRoom, room.identity.GetString(), 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return bobRoom.Count(ORVCHAT_EVENT_ENTERED) > 0; }));
    EXPECT_EQ(bobRoom.Last(ORVCHAT_EVENT_ENTERED)->room.welcome, "Welcome, walkers!");

    cid.engine.AddClient(&cidRoom);
    ASSERT_EQ(cid.engine.Command(ORVCHAT_CMD_JOIN_ROOM, &cidRoom, room.identity.GetString(), 0), 0);
    ASSERT_TRUE(PumpUntil([&] {
        for (const auto& e : cidRoom.events)
            if (e.code == ORVCHAT_EVENT_USER_PRESENT && e.user.identity == bob.O().c_str() &&
                e.user.displayName == "Bob Stone")
                return true;
        return false;
    }));
    ASSERT_GE(cidRoom.Count(ORVCHAT_EVENT_ENTERED), 1);
    EXPECT_EQ(cidRoom.events[0].code, ORVCHAT_EVENT_ENTERED);
    bool sawSelf = false;
    for (const auto& e : cidRoom.events)
        sawSelf |= e.code == ORVCHAT_EVENT_USER_PRESENT && e.user.identity == cid.O().c_str() && e.user.color == '9';
    EXPECT_TRUE(sawSelf);
    // Bob learns of Cid with his name.
    ASSERT_TRUE(PumpUntil([&] {
        for (const auto& e : bobRoom.events)
            if (e.code == ORVCHAT_EVENT_USER_ARRIVED && e.user.displayName == "Cid Moor") return true;
        return false;
    }));

    // Bob leaves and joins again at once, before the server echoed his leaving.
    const auto enteredBefore = bobRoom.Count(ORVCHAT_EVENT_ENTERED);
    ASSERT_EQ(bob.engine.Command(ORVCHAT_CMD_LEAVE_ROOM, &bobRoom, room.identity.GetString(), 0), 0);
    ASSERT_EQ(bob.engine.Command(ORVCHAT_CMD_JOIN_ROOM, &bobRoom, room.identity.GetString(), 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return bobRoom.Count(ORVCHAT_EVENT_ENTERED) > enteredBefore; }));
    ASSERT_TRUE(PumpUntil([&] { return cidRoom.Count(ORVCHAT_EVENT_USER_ARRIVED) > 0; }));
    cidRoom.events.clear();

    // Room lines.
    ASSERT_EQ(cid.engine.SendText(room.identity, "hello room", TRUE, '9'), 0);
    ASSERT_TRUE(PumpUntil([&] { return !bobRoom.messages.empty(); }));
    EXPECT_EQ(bobRoom.messages[0].text, "9hello room");
    EXPECT_EQ(bobRoom.messages[0].sender, cid.O());
    EXPECT_NE(ann.engine.SendText(room.identity, "not in it", TRUE, '1'), 0);

    // The listing counts the users now.
    row = listRooms();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->room.userCount, 2);

    // Ann changes the description and welcome message; Bob inside sees it.
    room.description = "Walks, hills and lakes";
    room.welcome = "Hello walkers";
    dialog.results.clear();
    ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_CHANGE_ROOM, &dialog, &room, 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.results.empty(); }));
    ASSERT_EQ(dialog.results[0].code, ORVCHAT_RESULT_CHANGED);
    row = listRooms();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->room.description, "Walks, hills and lakes");
    EXPECT_EQ(row->room.welcome, "Hello walkers");

    // Bob leaves: Cid sees it.
    ASSERT_EQ(bob.engine.Command(ORVCHAT_CMD_LEAVE_ROOM, &bobRoom, room.identity.GetString(), 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return cidRoom.Count(ORVCHAT_EVENT_USER_LEFT) > 0; }));
    EXPECT_EQ(cidRoom.Last(ORVCHAT_EVENT_USER_LEFT)->text1, bob.O());

    // Ann deletes it: Cid, still inside, is told once; it is no longer offered.
    dialog.results.clear();
    ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_DELETE_ROOM, &dialog, &room, 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.results.empty(); }));
    ASSERT_EQ(dialog.results[0].code, ORVCHAT_RESULT_DELETED);
    ASSERT_TRUE(PumpUntil([&] { return cidRoom.Count(ORVCHAT_EVENT_ROOM_DELETED) > 0; }));
    EXPECT_EQ(listRooms(), nullptr);
    EXPECT_EQ(cidRoom.Count(ORVCHAT_EVENT_ROOM_DELETED), 1);
    // Joining it now finds no room.
    FakeClient lateRoom(room.identity.GetString(), true);
    bob.engine.AddClient(&lateRoom);
    ASSERT_EQ(bob.engine.Command(ORVCHAT_CMD_JOIN_ROOM, &lateRoom, room.identity.GetString(), 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return lateRoom.Count(ORVCHAT_EVENT_ROOM_DELETED) > 0; }));
    EXPECT_EQ(lateRoom.Count(ORVCHAT_EVENT_ENTERED), 0);
    // The room is gone for good: a new one of that name can be made at once.
    dialog.results.clear();
    ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_CREATE_ROOM, &dialog, &room, 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.results.empty(); }));
    EXPECT_EQ(dialog.results[0].code, ORVCHAT_RESULT_CREATED);
}

TEST_F(ChatEngine, ChatDelayPacesWhatIsSent) {
    Member ann(NewAccount(), "Ann", 400), bob(NewAccount(), "Bob");
    ASSERT_TRUE(ann.Connect(Port()));
    ASSERT_TRUE(bob.Connect(Port()));
    FakeClient bobWindow(ann.O(), false);
    bob.engine.AddClient(&bobWindow);
    const DWORD start = GetTickCount();
    for (int i = 0; i < 6; ++i)
        ann.engine.SendText(bob.O().c_str(), ("line " + std::to_string(i)).c_str(), FALSE, '1');
    ASSERT_TRUE(PumpUntil([&] { return bobWindow.messages.size() == 6; }));
    EXPECT_GE(GetTickCount() - start, 5u * 400u - 50u);
    EXPECT_EQ(bobWindow.messages[5].text, "1line 5");
}

TEST_F(ChatEngine, WrongCredentialsAndASecondConnectionFailClearly) {
    const Account ann = NewAccount(), bob = NewAccount();
    // Another member's session id.
    Account stolen = ann;
    stolen.session = bob.session;
    Member thief(stolen, "Thief");
    EXPECT_FALSE(thief.Connect(Port()));
    ASSERT_EQ(thief.main.Count(ORVCHAT_MAIN_CONNECTION_LOST), 1);
    EXPECT_EQ(thief.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->number, ORVCHAT_LOST_CREDENTIAL);
    EXPECT_EQ(thief.main.Count(ORVCHAT_MAIN_CONNECTED), 0);
    // A made-up one.
    Account guessed = ann;
    guessed.session = "0123456789abcdef0123456789abcdef";
    Member guesser(guessed, "Guesser");
    EXPECT_FALSE(guesser.Connect(Port()));
    EXPECT_EQ(guesser.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->number, ORVCHAT_LOST_CREDENTIAL);

    // The member himself, twice: the second is refused once the keeper has
    // given the first a while to go.
    Member first(ann, "Ann"), second(ann, "Ann again");
    ASSERT_TRUE(first.Connect(Port()));
    second.main.away = TRUE;
    EXPECT_FALSE(second.Connect(Port()));
    ASSERT_EQ(second.main.Count(ORVCHAT_MAIN_CONNECTION_LOST), 1);
    EXPECT_EQ(second.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->number, ORVCHAT_LOST_IN_USE);
    EXPECT_TRUE(first.engine.IsConnected());
    EXPECT_EQ(first.Identity(), first.O());
}

TEST_F(ChatEngine, APartnerLeavingTheServerIsToldToTheWindow) {
    Member ann(NewAccount(), "Ann");
    ASSERT_TRUE(ann.Connect(Port()));
    const Account bobAccount = NewAccount();
    FakeClient annWindow("O" + bobAccount.id, false);
    ann.engine.AddClient(&annWindow);
    {
        Member bob(bobAccount, "Bob");
        ASSERT_TRUE(bob.Connect(Port()));
        FakeClient bobWindow(ann.O(), false);
        bob.engine.AddClient(&bobWindow);
        ASSERT_EQ(bob.engine.SendText(ann.O().c_str(), "bye soon", FALSE, '1'), 0);
        ASSERT_TRUE(PumpUntil([&] { return !annWindow.messages.empty(); }));
        // Bob's program goes without ending the chat: no shared channel
        // carries his QUIT to Ann.
        bob.engine.Disconnect();
    }
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_LEFT) > 0; }, 30000));
    EXPECT_EQ(annWindow.Count(ORVCHAT_EVENT_LEFT), 1);
    // What Ann still writes to him reaches nobody, and she is told.
    ASSERT_EQ(ann.engine.SendText(annWindow.GetTarget(), "still there?", FALSE, '1'), 0);
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_LEFT) == 2; }, 30000));
    EXPECT_TRUE(ann.engine.IsConnected());
}

TEST_F(ChatEngine, AFlooderIsHeldBackAndTheReceiverStays) {
    Member ann(NewAccount(), "Ann"), bob(NewAccount(), "Bob");
    const Account floodAccount = NewAccount();
    ASSERT_TRUE(ann.Connect(Port()));
    ASSERT_TRUE(bob.Connect(Port()));
    FakeClient fromFlooder("O" + floodAccount.id, false), fromBob(bob.O(), false);
    ann.engine.AddClient(&fromFlooder);
    ann.engine.AddClient(&fromBob);
    RawClient flooder;
    ASSERT_TRUE(flooder.Login(Port(), floodAccount));
    // All at once, as fast as the socket takes it.
    const size_t lines = 3000;
    std::string burst;
    for (size_t i = 0; i < lines; ++i) burst += "PRIVMSG " + ann.O() + " :1flood " + std::to_string(i) + "\r\n";
    ASSERT_TRUE(flooder.Send(burst));
    ASSERT_EQ(bob.engine.SendText(ann.O().c_str(), "through the flood", FALSE, '2'), 0);
    ASSERT_TRUE(PumpUntil([&] { return !fromBob.messages.empty(); }, 60000));
    EXPECT_EQ(fromBob.messages[0].text, "2through the flood");
    // The chat server meters the flooder out a few lines a second: when
    // Bob's line (sent after all of the flood) arrives, most of the flood is
    // still waiting at the server, and Ann is still connected.
    EXPECT_LT(fromFlooder.messages.size(), lines / 2);
    EXPECT_TRUE(ann.engine.IsConnected());
    EXPECT_EQ(ann.main.Count(ORVCHAT_MAIN_CONNECTION_LOST), 0);
}

TEST(ChatEngineServer, WithoutTheKeeperNobodyGetsAnIdentity) {
    ChatTestNetwork network;
    ASSERT_TRUE(network.Start("nokeeper", false)) << network.Logs();
    Member ann(network.SignUp("ann.nokeeper@example.com"), "Ann");
    ann.engine.SetIRCPingRate(2);  // bounds the wait for the identity
    EXPECT_FALSE(ann.Connect(network.ChatPort()));
    ASSERT_EQ(ann.main.Count(ORVCHAT_MAIN_CONNECTION_LOST), 1) << network.Logs();
    EXPECT_EQ(ann.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->number, ORVCHAT_LOST_NO_KEEPER);
    EXPECT_EQ(ann.main.Count(ORVCHAT_MAIN_CONNECTED), 0);
}

TEST(ChatEngineServer, StoppingTheServerIsReportedToEveryEngine) {
    ChatTestNetwork network;
    ASSERT_TRUE(network.Start("stop")) << network.Logs();
    Member ann(network.SignUp("ann.stop@example.com"), "Ann"), bob(network.SignUp("bob.stop@example.com"), "Bob");
    ann.engine.SetIRCPingRate(1);  // pinging a live server must not count as lost
    ASSERT_TRUE(ann.Connect(network.ChatPort())) << network.Logs();
    ASSERT_TRUE(bob.Connect(network.ChatPort()));
    FakeClient annWindow(bob.O(), false), bobWindow(ann.O(), false);
    ann.engine.AddClient(&annWindow);
    bob.engine.AddClient(&bobWindow);
    PumpFor(2500);
    ASSERT_TRUE(ann.engine.IsConnected());

    const int port = network.ChatPort();
    network.StopChat();
    ASSERT_TRUE(PumpUntil([&] {
        return ann.main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1 && bob.main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1;
    }));
    EXPECT_FALSE(ann.engine.IsConnected());
    ASSERT_EQ(annWindow.closed.size(), 1u);
    EXPECT_NE(annWindow.closed[0], ORVCHAT_CLOSED_BY_ENGINE);
    ASSERT_EQ(bobWindow.closed.size(), 1u);
    // No server: Connect starts, and fails through the callbacks.
    EXPECT_EQ(ann.engine.Connect("127.0.0.1", port), 0);
    ASSERT_TRUE(PumpUntil([&] { return ann.main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 2; }, 30000));
    EXPECT_EQ(ann.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->number, ORVCHAT_LOST_UNREACHABLE);
}
