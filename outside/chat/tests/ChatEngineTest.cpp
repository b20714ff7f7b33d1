// Engines of several members talking through a real ngircd on a free
// loopback port, started with the project's configuration.
#include "COrvChat.h"
#include "ChatTestKit.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using chattest::FakeClient;
using chattest::FakeMain;
using chattest::PumpFor;
using chattest::PumpUntil;

namespace {

std::unique_ptr<orvtest::UnixService> StartIrcd(const std::string& name) {
    const std::string dir = orvtest::Env("ORV_SERVICE_DIR") + "/" + name + "-conf";
    auto ircd = std::make_unique<orvtest::UnixService>(
        name, std::vector<std::string>{"/bin/bash", orvtest::Env("ORV_SOURCE_DIR") + "/scripts/ngircd/run-ngircd.sh",
                                       "@PORT@", dir});
    if (!ircd->Start()) {
        ADD_FAILURE() << "ngircd did not start: " << ircd->Log();
        return nullptr;
    }
    return ircd;
}

// One member: his main frame's callbacks and his engine.
struct Member {
    Member(const std::string& id, const std::string& name, int delayMs = 0)
        : main(id, name), engine(&main) {
        engine.SetDelay(delayMs);
        engine.SetIRCPingRate(60);
    }
    bool Connect(int port) {
        if (engine.Connect("127.0.0.1", port) != 0) return false;
        return PumpUntil([this] { return main.Count(ORVCHAT_MAIN_CONNECTED) > 0; });
    }
    std::string Identity() { return engine.GetIdentity().GetString(); }

    FakeMain main;
    COrvChat engine;
};

class ChatEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_ircd = StartIrcd("ircd-chat").release(); }
    static void TearDownTestSuite() {
        delete s_ircd;
        s_ircd = nullptr;
    }
    void SetUp() override { ASSERT_NE(s_ircd, nullptr); }
    int Port() { return s_ircd->Port(); }

    static orvtest::UnixService* s_ircd;
};
orvtest::UnixService* ChatEngine::s_ircd = nullptr;

std::string JoinTexts(const FakeClient& client, char color) {
    std::string all;
    for (const auto& m : client.messages) {
        EXPECT_EQ(m.text[0], color);
        all += m.text.substr(1);
    }
    return all;
}

}  // namespace

TEST_F(ChatEngine, InvitationAcceptedThenColouredLinesTypingAndEnd) {
    Member ann("101", "Ann Lee"), bob("102", "Bob Stone");
    ASSERT_TRUE(ann.Connect(Port()));
    ASSERT_TRUE(bob.Connect(Port()));
    EXPECT_EQ(ann.Identity(), "O101");
    EXPECT_TRUE(ann.engine.IsConnected());

    // Ann opens a chat with Bob and invites him.
    FakeClient annWindow("O102", false);
    ann.engine.AddClient(&annWindow);
    ASSERT_EQ(ann.engine.Notify(ORVCHAT_NOTIFY_INVITE, "O102", reinterpret_cast<INT_PTR>("Ann Lee")), 0);
    ASSERT_TRUE(PumpUntil([&] { return bob.main.Count(ORVCHAT_MAIN_INVITATION) > 0; }));
    EXPECT_EQ(bob.main.Last(ORVCHAT_MAIN_INVITATION)->text1, "O101");
    EXPECT_EQ(bob.main.Last(ORVCHAT_MAIN_INVITATION)->text2, "Ann Lee");

    // Bob accepts: his window first, then the notice.
    FakeClient bobWindow("O101", false);
    bob.engine.AddClient(&bobWindow);
    ASSERT_EQ(bob.engine.Notify(ORVCHAT_NOTIFY_ACCEPT, "O101", 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_ACCEPTED) > 0; }));
    EXPECT_TRUE(IsEqualID(annWindow.Last(ORVCHAT_EVENT_ACCEPTED)->text1.c_str(), "O102"));
    EXPECT_TRUE(ann.engine.IsInChat());
    EXPECT_EQ(ann.engine.FindClient("R102"), &annWindow);

    // Coloured lines both ways, the colour code first.
    ASSERT_EQ(ann.engine.SendText("O102", "Hello Bob :)", FALSE, '4'), 0);
    ASSERT_EQ(bob.engine.SendText("O101", "Hi Ann", FALSE, 'B'), 0);
    ASSERT_TRUE(PumpUntil([&] { return !bobWindow.messages.empty() && !annWindow.messages.empty(); }));
    EXPECT_EQ(bobWindow.messages[0].text, "4Hello Bob :)");
    EXPECT_EQ(bobWindow.messages[0].sender, "O101");
    EXPECT_EQ(annWindow.messages[0].text, "BHi Ann");

    // A line over what IRC carries arrives whole, in pieces.
    std::string longLine;
    for (int i = 0; longLine.size() < 1500; ++i) longLine += "piece" + std::to_string(i) + (i % 9 ? " " : "");
    longLine += "end";
    bobWindow.messages.clear();
    ASSERT_EQ(ann.engine.SendText("O102", longLine.c_str(), FALSE, '7'), 0);
    ASSERT_TRUE(PumpUntil([&] { return JoinTexts(bobWindow, '7').size() >= longLine.size(); }));
    EXPECT_GE(bobWindow.messages.size(), 4u);
    EXPECT_EQ(JoinTexts(bobWindow, '7'), longLine);

    // Line breaks inside one call never reach the server as commands.
    bobWindow.messages.clear();
    ASSERT_EQ(ann.engine.SendText("O102", "one\r\nQUIT :gone\ntwo", FALSE, '1'), 0);
    ASSERT_TRUE(PumpUntil([&] { return bobWindow.messages.size() >= 3; }));
    EXPECT_EQ(bobWindow.messages[1].text, "1QUIT :gone");
    EXPECT_TRUE(ann.engine.IsConnected());

    // Typing notices.
    ASSERT_EQ(bob.engine.Notify(ORVCHAT_NOTIFY_TYPING, "O101", 1), 0);
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_TYPING) > 0; }));
    EXPECT_EQ(annWindow.Last(ORVCHAT_EVENT_TYPING)->number, 1);
    ASSERT_EQ(bob.engine.Notify(ORVCHAT_NOTIFY_TYPING, "O101", 2), 0);
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_TYPING) > 1; }));
    EXPECT_EQ(annWindow.Last(ORVCHAT_EVENT_TYPING)->number, 2);

    // Colour change reaches every window of the engine.
    ann.engine.NotifyClients(2);
    ASSERT_EQ(annWindow.Count(ORVCHAT_EVENT_COLOR_CHANGED), 1);
    EXPECT_EQ(annWindow.Last(ORVCHAT_EVENT_COLOR_CHANGED)->number, 2);

    // Contact on line notice goes to the other main frame.
    ASSERT_EQ(ann.engine.Notify(ORVCHAT_NOTIFY_ONLINE, "O102", reinterpret_cast<INT_PTR>("Ann Lee")), 0);
    ASSERT_TRUE(PumpUntil([&] { return bob.main.Count(ORVCHAT_MAIN_CONTACT_ONLINE) > 0; }));
    EXPECT_EQ(bob.main.Last(ORVCHAT_MAIN_CONTACT_ONLINE)->text1, "Ann Lee");
    EXPECT_EQ(bob.main.Last(ORVCHAT_MAIN_CONTACT_ONLINE)->text2, "O101");

    // Bob ends the chat.
    ASSERT_EQ(bob.engine.Notify(ORVCHAT_NOTIFY_END, "O101", 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_LEFT) > 0; }));

    // Disconnect closes the windows with reason 3 and tells the main frame.
    ann.engine.Disconnect();
    EXPECT_FALSE(ann.engine.IsConnected());
    ASSERT_EQ(annWindow.closed.size(), 1u);
    EXPECT_EQ(annWindow.closed[0], ORVCHAT_CLOSED_BY_ENGINE);
    EXPECT_EQ(ann.main.Count(ORVCHAT_MAIN_DISCONNECTED), 1);
    EXPECT_NE(ann.engine.SendText("O102", "late", FALSE, '1'), 0);
    EXPECT_EQ(ann.main.Count(ORVCHAT_MAIN_CONNECTION_LOST), 0);
}

TEST_F(ChatEngine, DeclinedAwayAndAbsentInvitationsRaiseAway) {
    Member ann("201", "Ann"), bob("202", "Bob");
    ASSERT_TRUE(ann.Connect(Port()));
    ASSERT_TRUE(bob.Connect(Port()));
    FakeClient annWindow("O202", false);
    ann.engine.AddClient(&annWindow);

    // Declined.
    ann.engine.Notify(ORVCHAT_NOTIFY_INVITE, "O202", reinterpret_cast<INT_PTR>("Ann"));
    ASSERT_TRUE(PumpUntil([&] { return bob.main.Count(ORVCHAT_MAIN_INVITATION) > 0; }));
    bob.engine.Notify(ORVCHAT_NOTIFY_DECLINE, "O201", 0);
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_AWAY) == 1; }));

    // Bob is away: the invitation is answered by his engine, not shown to him.
    bob.main.away = TRUE;
    ann.engine.Notify(ORVCHAT_NOTIFY_INVITE, "O202", reinterpret_cast<INT_PTR>("Ann"));
    ASSERT_TRUE(PumpUntil([&] { return annWindow.Count(ORVCHAT_EVENT_AWAY) == 2; }));
    EXPECT_EQ(bob.main.Count(ORVCHAT_MAIN_INVITATION), 1);

    // Nobody of that identity in the chat.
    FakeClient ghostWindow("O299", false);
    ann.engine.AddClient(&ghostWindow);
    ann.engine.Notify(ORVCHAT_NOTIFY_INVITE, "O299", reinterpret_cast<INT_PTR>("Ann"));
    ASSERT_TRUE(PumpUntil([&] { return ghostWindow.Count(ORVCHAT_EVENT_AWAY) == 1; }));
    EXPECT_EQ(annWindow.Count(ORVCHAT_EVENT_AWAY), 2);
}

TEST_F(ChatEngine, GoingAwayChangesTheIdentityTheOtherSideStillMatches) {
    Member ann("301", "Ann"), bob("302", "Bob");
    ASSERT_TRUE(ann.Connect(Port()));
    ASSERT_TRUE(bob.Connect(Port()));
    FakeClient annWindow("O302", false), bobWindow("O301", false);
    ann.engine.AddClient(&annWindow);
    bob.engine.AddClient(&bobWindow);
    bob.engine.SendText("O301", "before", FALSE, '2');
    ASSERT_TRUE(PumpUntil([&] { return annWindow.messages.size() == 1; }));

    ann.main.away = TRUE;
    ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "", 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return ann.Identity() == "R301"; }));

    ann.engine.SendText("O302", "now away", FALSE, '3');
    ASSERT_TRUE(PumpUntil([&] { return !bobWindow.messages.empty(); }));
    EXPECT_EQ(bobWindow.messages[0].sender, "R301");
    EXPECT_TRUE(IsEqualID(bobWindow.GetTarget(), bobWindow.messages[0].sender.c_str()));

    // Bob's window still addresses "O301": the engine finds Ann under "R301".
    bob.engine.SendText("O301", "still reaches you", FALSE, '2');
    ASSERT_TRUE(PumpUntil([&] { return annWindow.messages.size() == 2; }));
    EXPECT_EQ(annWindow.messages[1].text, "2still reaches you");

    // And back.
    ann.main.away = FALSE;
    ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "O301", 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return ann.Identity() == "O301"; }));
    bob.engine.SendText("O301", "welcome back", FALSE, '2');
    ASSERT_TRUE(PumpUntil([&] { return annWindow.messages.size() == 3; }));
    EXPECT_NE(ann.engine.Command(ORVCHAT_CMD_VISIBILITY, nullptr, "R 301\r\nQUIT", 0), 0);
}

TEST_F(ChatEngine, RoomCreatedListedJoinedChangedAndDeleted) {
    Member ann("401", "Ann Lee"), bob("402", "Bob Stone"), cid("403", "Cid Moor");
    ASSERT_TRUE(ann.Connect(Port()));
    ASSERT_TRUE(bob.Connect(Port()));
    ASSERT_TRUE(cid.Connect(Port()));
    cid.main.color = '9';

    // Ann creates a room; she does not stay in it.
    OrvChatRoom room;
    room.identity = OrvChatRoom::MakeIdentity("O401", "Hiking club");
    room.displayName = "Hiking club";
    room.description = "Walks | and hills";
    room.welcome = "Welcome, walkers!";
    room.creator = "O401";
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
    EXPECT_EQ(row->room.creator, "O401");
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
            if (e.code == ORVCHAT_EVENT_USER_PRESENT && e.user.identity == "O402" && e.user.displayName == "Bob Stone")
                return true;
        return false;
    }));
    ASSERT_GE(cidRoom.Count(ORVCHAT_EVENT_ENTERED), 1);
    EXPECT_EQ(cidRoom.events[0].code, ORVCHAT_EVENT_ENTERED);
    bool sawSelf = false;
    for (const auto& e : cidRoom.events)
        sawSelf |= e.code == ORVCHAT_EVENT_USER_PRESENT && e.user.identity == "O403" && e.user.color == '9';
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
    EXPECT_EQ(bobRoom.messages[0].sender, "O403");
    EXPECT_NE(ann.engine.SendText(room.identity, "not in it", TRUE, '1'), 0);

    // The listing counts the users now.
    row = listRooms();
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->room.userCount, 2);

    // Ann changes the description and welcome message.
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
    EXPECT_EQ(cidRoom.Last(ORVCHAT_EVENT_USER_LEFT)->text1, "O402");

    // Ann deletes it: Cid, still inside, is told; it is no longer offered.
    dialog.results.clear();
    ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_DELETE_ROOM, &dialog, &room, 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.results.empty(); }));
    ASSERT_EQ(dialog.results[0].code, ORVCHAT_RESULT_DELETED);
    ASSERT_TRUE(PumpUntil([&] { return cidRoom.Count(ORVCHAT_EVENT_ROOM_DELETED) > 0; }));
    EXPECT_EQ(listRooms(), nullptr);
    // Joining it now finds no room.
    FakeClient lateRoom(room.identity.GetString(), true);
    bob.engine.AddClient(&lateRoom);
    ASSERT_EQ(bob.engine.Command(ORVCHAT_CMD_JOIN_ROOM, &lateRoom, room.identity.GetString(), 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return lateRoom.Count(ORVCHAT_EVENT_ROOM_DELETED) > 0; }));
    EXPECT_EQ(lateRoom.Count(ORVCHAT_EVENT_ENTERED), 0);
    // The last user leaves: the room is gone for good, a new one of that name can be made.
    cid.engine.Command(ORVCHAT_CMD_LEAVE_ROOM, &cidRoom, room.identity.GetString(), 0);
    PumpFor(300);
    dialog.results.clear();
    ASSERT_EQ(ann.engine.Command(ORVCHAT_CMD_CREATE_ROOM, &dialog, &room, 0), 0);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.results.empty(); }));
    EXPECT_EQ(dialog.results[0].code, ORVCHAT_RESULT_CREATED);
}

TEST_F(ChatEngine, ChatDelayPacesWhatIsSent) {
    Member ann("501", "Ann", 150), bob("502", "Bob");
    ASSERT_TRUE(ann.Connect(Port()));
    ASSERT_TRUE(bob.Connect(Port()));
    FakeClient bobWindow("O501", false);
    bob.engine.AddClient(&bobWindow);
    PumpFor(200);
    const DWORD start = GetTickCount();
    for (int i = 0; i < 6; ++i) ann.engine.SendText("O502", ("line " + std::to_string(i)).c_str(), FALSE, '1');
    ASSERT_TRUE(PumpUntil([&] { return bobWindow.messages.size() == 6; }));
    EXPECT_GE(GetTickCount() - start, 5u * 150u - 50u);
    EXPECT_EQ(bobWindow.messages[5].text, "1line 5");
}

TEST(ChatEngineServer, StoppingTheServerIsReportedToEveryEngine) {
    auto ircd = StartIrcd("ircd-chat-stop");
    ASSERT_NE(ircd, nullptr);
    Member ann("601", "Ann"), bob("602", "Bob");
    ann.engine.SetIRCPingRate(1);  // pinging a live server must not count as lost
    ASSERT_TRUE(ann.Connect(ircd->Port()));
    ASSERT_TRUE(bob.Connect(ircd->Port()));
    FakeClient annWindow("O602", false), bobWindow("O601", false);
    ann.engine.AddClient(&annWindow);
    bob.engine.AddClient(&bobWindow);
    PumpFor(2500);
    ASSERT_TRUE(ann.engine.IsConnected());

    ASSERT_TRUE(ircd->Stop());
    ASSERT_TRUE(PumpUntil([&] {
        return ann.main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1 && bob.main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1;
    }));
    EXPECT_FALSE(ann.engine.IsConnected());
    ASSERT_EQ(annWindow.closed.size(), 1u);
    EXPECT_NE(annWindow.closed[0], ORVCHAT_CLOSED_BY_ENGINE);
    ASSERT_EQ(bobWindow.closed.size(), 1u);
    // No server: Connect fails at once.
    EXPECT_NE(ann.engine.Connect("127.0.0.1", ircd->Port()), 0);
}
