// The chat network as a stranger meets it: real ngircd with PAM, the real
// orvane-server answering its helper, and the keeper, attacked by raw IRC
// clients that hold no credential, a wrong one or another member's.
#include "ChatNetwork.h"
#include "RawIrcClient.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <random>
#include <thread>

namespace {

using namespace std::chrono_literals;

const char kRecord[] = "ORV1|Hiking|Walks and hills|Welcome";

int g_nickCounter = 0;
std::string NeutralNick() { return "Gt" + std::to_string(::getpid()) + "x" + std::to_string(++g_nickCounter); }

class KeeperNetwork : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_network = new ChatNetwork();
        s_started = s_network->Start();
    }
    static void TearDownTestSuite() {
        delete s_network;
        s_network = nullptr;
    }
    // Members of their own for every test: a connection of an earlier test
    // may linger at the chat server while it serves that client's penalty.
    void SetUp() override {
        ASSERT_TRUE(s_started) << s_network->Logs();
        const std::string test = std::to_string(++s_tests);
        s_ann = s_network->SignUp("ann" + test + "@example.com");
        s_bob = s_network->SignUp("bob" + test + "@example.com");
        s_cid = s_network->SignUp("cid" + test + "@example.com");
        ASSERT_FALSE(s_ann.session.empty()) << s_network->Logs();
        ASSERT_FALSE(s_cid.session.empty());
    }
    void TearDown() override {
        if (HasFailure()) std::printf("%s\n", s_network->Logs().c_str());
    }

    // A client logged in as the member, under his identity (or asking for
    // the away form).
    std::unique_ptr<RawIrcClient> Login(const ChatNetwork::Member& member, bool away = false) {
        auto client = std::make_unique<RawIrcClient>();
        const std::string identity = away ? member.Away() : member.Identity();
        EXPECT_TRUE(client->Register(s_network->ChatPort(), member.session, NeutralNick(), identity));
        EXPECT_NE(client->WaitFor(" NICK :" + identity), "") << "never named " << identity;
        return client;
    }
    // A client that tries with whatever it is given; returns it once the
    // server has answered the registration one way or the other.
    std::unique_ptr<RawIrcClient> Try(const std::string& password, const std::string& nick, const std::string& user) {
        auto client = std::make_unique<RawIrcClient>();
        EXPECT_TRUE(client->Register(s_network->ChatPort(), password, nick, user));
        client->WaitUntil([](const std::vector<std::string>& lines) {
            for (const auto& line : lines)
                if (line.find(" 001 ") != std::string::npos || line.rfind("ERROR", 0) == 0 ||
                    line.find(" 432 ") != std::string::npos)
                    return true;
            return false;
        });
        return client;
    }
    // The rooms a LIST shows.
    static std::vector<std::string> ListRooms(RawIrcClient& client) {
        const size_t before = client.Lines().size();
        client.Send("LIST");
        client.WaitUntil([before](const std::vector<std::string>& lines) {
            for (size_t i = before; i < lines.size(); ++i)
                if (lines[i].find(" 323 ") != std::string::npos) return true;
            return false;
        });
        std::vector<std::string> rows;
        const auto lines = client.Lines();
        for (size_t i = before; i < lines.size(); ++i)
            if (lines[i].find(" 322 ") != std::string::npos) rows.push_back(lines[i]);
        return rows;
    }
    static bool Listed(const std::vector<std::string>& rows, const std::string& channel) {
        for (const auto& row : rows)
            if (row.find(" " + channel + " ") != std::string::npos) return true;
        return false;
    }

    static ChatNetwork* s_network;
    static bool s_started;
    static ChatNetwork::Member s_ann, s_bob, s_cid;
    static int s_tests;
};
int KeeperNetwork::s_tests = 0;

ChatNetwork* KeeperNetwork::s_network = nullptr;
bool KeeperNetwork::s_started = false;
ChatNetwork::Member KeeperNetwork::s_ann, KeeperNetwork::s_bob, KeeperNetwork::s_cid;

}  // namespace

TEST_F(KeeperNetwork, NoIdentityWithoutTheMembersOwnCredential) {
    const std::string ann = s_ann.Identity();
    // No credential, a wrong one, another member's: the chat server refuses.
    for (const std::string& password : {std::string(), std::string("0123456789abcdef0123456789abcdef"),
                                        s_bob.session, s_ann.session + "0", std::string("x")}) {
        auto client = Try(password, NeutralNick(), ann);
        EXPECT_TRUE(client->Saw("ERROR :Access denied")) << "password " << password;
        EXPECT_TRUE(client->WaitClosed());
        EXPECT_FALSE(client->Saw(" NICK :" + ann));
    }
    // The right credential with the other member's identity as user name.
    auto stolen = Try(s_ann.session, NeutralNick(), s_bob.Identity());
    EXPECT_TRUE(stolen->Saw("ERROR :Access denied"));
    // A user name the chat server would cut (20 characters) never passes.
    auto longName = Try(s_ann.session, NeutralNick(), "O" + std::string(19, '1'));
    EXPECT_TRUE(longName->Saw("ERROR :Access denied"));
    // Identity nicks asked for directly, in any spelling, and the keeper's.
    for (const std::string& nick : {ann, "o" + s_ann.id, s_ann.Away(), "r" + s_ann.id, std::string("ChatKeeper"),
                                    std::string("chatkeeper")}) {
        auto client = Try(s_ann.session, nick, ann);
        EXPECT_TRUE(client->Saw(" 432 ")) << nick;
        EXPECT_FALSE(client->Saw(" 001 ")) << nick;
    }
    // With his own credential the member gets his identity from the keeper.
    auto own = Login(s_ann);
    // And cannot change it on his own, to anything.
    own->Send("NICK " + s_bob.Identity());
    own->Send("NICK Gsomething");
    EXPECT_NE(own->WaitFor(" 484 "), "");
    own->Send("MODE " + ann + " -r");
    own->Send("ISON " + ann + " Gsomething");
    EXPECT_NE(own->WaitFor(" 303 " + ann + " :" + ann), "");
}

TEST_F(KeeperNetwork, NoOperatorsNoChannelsOfClientsNoServerCommands) {
    auto bob = Login(s_bob);
    auto ann = Login(s_ann);
    ann->Send("PRIVMSG ChatKeeper :CREATE #" + s_ann.Identity() + ".Ops " + kRecord);
    ASSERT_NE(ann->WaitFor("CREATED #" + s_ann.Identity() + ".Ops"), "");
    const std::string room = "#" + s_ann.Identity() + ".Ops";
    bob->Send("JOIN " + room);
    ASSERT_NE(bob->WaitFor(" 366 "), "");
    // Bob, alone in the room, is no channel operator.
    EXPECT_FALSE(bob->Saw("@" + s_bob.Identity()));
    // (A wrong OPER costs the sender ten seconds: the chat server's guard
    // against guessing.)
    bob->Send("OPER orvrooms orvrooms-keeper");
    bob->Send("JOIN #fresh");
    bob->Send("JOIN &local");
    bob->Send("MODE " + room + " +o " + s_bob.Identity());
    bob->Send("TOPIC " + room + " :ORV1|Mine|now|ha");
    bob->Send("KICK " + room + " " + s_bob.Identity());
    // Commands of server links from a client.
    bob->Send("SVSNICK " + s_ann.Identity() + " Gstolen");
    bob->Send("SERVER fake.orvane.local 1 :fake");
    bob->Send("NJOIN " + room + " :@" + s_bob.Identity());
    bob->Send("CHANINFO #evil +Pnt :ORV1|a|b|c");
    bob->Send("KILL " + s_ann.Identity() + " :bye");
    bob->Send("PING :done");
    ASSERT_NE(bob->WaitFor("PONG", 90s), "");
    EXPECT_NE(bob->WaitFor(" 464 "), "");  // no operator account at all
    EXPECT_NE(bob->WaitFor(" 403 " + s_bob.Identity() + " #fresh"), "");
    EXPECT_NE(bob->WaitFor(" 482 "), "");
    EXPECT_FALSE(bob->Saw(" 381 "));  // never an IRC operator
    EXPECT_FALSE(bob->Saw("MODE " + room + " +o"));
    EXPECT_FALSE(bob->Saw("TOPIC " + room + " :ORV1|Mine"));
    // Ann is still herself and still here; no channel appeared.
    ann->Send("ISON " + s_ann.Identity() + " Gstolen");
    EXPECT_NE(ann->WaitFor(" 303 " + s_ann.Identity() + " :" + s_ann.Identity()), "");
    const auto rows = ListRooms(*ann);
    EXPECT_FALSE(Listed(rows, "#fresh"));
    EXPECT_FALSE(Listed(rows, "#evil"));
    EXPECT_TRUE(Listed(rows, room));
    ann->Send("PRIVMSG ChatKeeper :DELETE " + room);
    EXPECT_NE(ann->WaitFor("DELETED " + room), "");
}

TEST_F(KeeperNetwork, RoomsAreChangedAndDeletedOnlyByTheirCreator) {
    auto ann = Login(s_ann);
    auto bob = Login(s_bob, true);  // away: "R" form
    auto cid = Login(s_cid);
    const std::string room = "#" + s_ann.Identity() + ".Walks";
    ann->Send("PRIVMSG ChatKeeper :CREATE " + room + " " + kRecord);
    ASSERT_NE(ann->WaitFor("CREATED " + room), "");

    // Others: not in her name, not her room.
    bob->Send("PRIVMSG ChatKeeper :CREATE #" + s_ann.Identity() + ".Fake " + kRecord);
    bob->Send("PRIVMSG ChatKeeper :CREATE #" + s_ann.Away() + ".Fake " + kRecord);
    bob->Send("PRIVMSG ChatKeeper :CHANGE " + room + " ORV1|Taken|by|Bob");
    bob->Send("PRIVMSG ChatKeeper :DELETE " + room);
    EXPECT_NE(bob->WaitFor("REFUSED DELETE " + room + " not-creator", 30s), "");
    EXPECT_TRUE(bob->Saw("REFUSED CHANGE " + room + " not-creator"));
    EXPECT_TRUE(bob->Saw("REFUSED CREATE #" + s_ann.Identity() + ".Fake not-creator"));
    EXPECT_TRUE(bob->Saw("REFUSED CREATE #" + s_ann.Away() + ".Fake not-creator"));

    // Cid sits in the room; Ann changes it: Cid sees the new topic.
    cid->Send("JOIN " + room);
    ASSERT_NE(cid->WaitFor(" 366 "), "");
    ann->Send("PRIVMSG ChatKeeper :CHANGE " + room + " ORV1|Hiking|Lakes too|Hello");
    ASSERT_NE(ann->WaitFor("CHANGED " + room), "");
    EXPECT_NE(cid->WaitFor("TOPIC " + room + " :ORV1|Hiking|Lakes too|Hello"), "");
    // The room stays when everybody has gone.
    cid->Send("PART " + room);
    ASSERT_NE(cid->WaitFor("PART " + room), "");
    EXPECT_TRUE(Listed(ListRooms(*bob), room));

    // Ann, now away, still owns it: she deletes it; Cid, back inside, is put out.
    cid->Send("JOIN " + room);
    ASSERT_NE(cid->WaitFor("JOIN :" + room), "");
    ann->Send("PRIVMSG ChatKeeper :IDENTITY " + s_ann.Away());
    ASSERT_NE(ann->WaitFor(" NICK :" + s_ann.Away()), "");
    ann->Send("PRIVMSG ChatKeeper :DELETE " + room);
    ASSERT_NE(ann->WaitFor("DELETED " + room), "");
    EXPECT_NE(cid->WaitFor("TOPIC " + room + " :ORV1-DELETED"), "");
    EXPECT_NE(cid->WaitFor("KICK " + room + " " + s_cid.Identity()), "");
    EXPECT_FALSE(Listed(ListRooms(*bob), room));
    cid->Send("JOIN " + room);
    EXPECT_NE(cid->WaitFor(" 403 " + s_cid.Identity() + " " + room), "");
}

TEST_F(KeeperNetwork, TheKeeperRenamesNobodyButTheAsker) {
    auto ann = Login(s_ann);
    auto bob = Login(s_bob);
    bob->Send("PRIVMSG ChatKeeper :IDENTITY " + s_ann.Away());
    bob->Send("PRIVMSG ChatKeeper :IDENTITY " + s_ann.Identity());
    bob->Send("PRIVMSG ChatKeeper :IDENTITY Gneutral");
    EXPECT_NE(bob->WaitFor("REFUSED IDENTITY Gneutral not-yours", 30s), "");
    EXPECT_TRUE(bob->Saw("REFUSED IDENTITY " + s_ann.Away() + " not-yours"));
    // His own away form is fine, and back again at once.
    bob->Send("PRIVMSG ChatKeeper :IDENTITY " + s_bob.Away());
    bob->Send("PRIVMSG ChatKeeper :IDENTITY " + s_bob.Identity());
    ASSERT_TRUE(bob->WaitUntil([&](const std::vector<std::string>& lines) {
        int named = 0;
        for (const auto& line : lines) named += line.find(" NICK :" + s_bob.Identity()) != std::string::npos;
        return named == 2;  // at log-in, and back from away
    }));
    EXPECT_TRUE(bob->Saw(" NICK :" + s_bob.Away()));
    ann->Send("ISON " + s_ann.Identity() + " " + s_bob.Identity());
    EXPECT_NE(ann->WaitFor(":" + s_ann.Identity() + " " + s_bob.Identity()), "");
    EXPECT_FALSE(ann->Saw(" NICK :"  + s_ann.Away()));
}

TEST_F(KeeperNetwork, ASecondConnectionOfAMemberIsRefused) {
    auto first = Login(s_cid);
    auto second = Try(s_cid.session, NeutralNick(), s_cid.Away());
    // It waits a while for the first to go, then it is told and put out.
    EXPECT_NE(second->WaitFor("REFUSED IDENTITY " + s_cid.Away() + " in-use", 60s), "");
    EXPECT_TRUE(second->WaitClosed());
    first->Send("ISON " + s_cid.Identity());
    EXPECT_NE(first->WaitFor(" 303 " + s_cid.Identity() + " :" + s_cid.Identity()), "");
}

TEST_F(KeeperNetwork, OddLinesAndBurstsNeitherCrashNorStallTheKeeper) {
    // Bursts of connections that never authenticate, and some that do not even register.
    std::vector<std::unique_ptr<RawIrcClient>> crowd;
    for (int i = 0; i < 40; ++i) {
        auto client = std::make_unique<RawIrcClient>();
        ASSERT_TRUE(client->Connect(s_network->ChatPort()));
        if (i % 2) client->Send("PASS nonsense" + std::to_string(i));
        client->Send("NICK " + NeutralNick());
        if (i % 4 != 3) client->Send("USER O" + std::to_string(900000 + i) + " 0 * :crowd");
        crowd.push_back(std::move(client));
    }
    // A member that sends the keeper everything a request should not be.
    auto bob = Login(s_bob);
    std::mt19937 random(11);
    const std::vector<std::string> odd = {
        "", " ", "CREATE", "CREATE #", "DELETE", "CHANGE #O1.x", "IDENTITY", "IDENTITY O", "\x01PING 1\x01",
        "CREATE #" + s_bob.Identity() + ".x ORV1|" + std::string(450, 'a') + "||",
        "CREATE #" + s_bob.Identity() + "." + std::string(40, 'r') + " " + kRecord,
        std::string(480, 'Z'), "DELETE #" + s_bob.Identity() + ".\xff\xfe", "create #" + s_bob.Identity() + ".low " + kRecord};
    for (const std::string& text : odd) bob->Send("PRIVMSG ChatKeeper :" + text);
    for (int i = 0; i < 30; ++i) {
        std::string text;
        for (int k = 0; k < 60; ++k) text += static_cast<char>(32 + random() % 95);
        bob->Send("PRIVMSG ChatKeeper :" + text);
    }
    bob->Send("PRIVMSG ChatKeeper :CREATE #" + s_bob.Identity() + ".After " + kRecord);
    // Once everything before it is handled, the last request is answered.
    EXPECT_NE(bob->WaitFor("CREATED #" + s_bob.Identity() + ".After", 90s), "");
    crowd.clear();
    // And a newcomer still gets his identity at once.
    auto ann = Login(s_ann);
    bob->Send("PRIVMSG ChatKeeper :DELETE #" + s_bob.Identity() + ".After");
    EXPECT_NE(bob->WaitFor("DELETED #" + s_bob.Identity() + ".After", 60s), "");
}

TEST(KeeperLink, ForgedLinksAreRefused) {
    ChatNetwork network;
    ASSERT_TRUE(network.Start()) << network.Logs();
    // Somebody who knows the link's name but not its password.
    RawIrcClient forged;
    ASSERT_TRUE(forged.Connect(network.ChatPort()));
    forged.Send("PASS guessed 0210-IRC+ forged|1.0:CHSX P");
    forged.Send("SERVER keeper.orvane.local 1 :forged");
    EXPECT_TRUE(forged.WaitClosed());
    EXPECT_FALSE(forged.Saw(" NICK "));
    // The real keeper is still linked: a member is named.
    const auto member = network.SignUp("dan.link@example.com");
    RawIrcClient client;
    ASSERT_TRUE(client.Register(network.ChatPort(), member.session, "Gdan", member.Identity()));
    EXPECT_NE(client.WaitFor(" NICK :" + member.Identity()), "") << network.Logs();
}

TEST(KeeperLink, RelinksAfterTheChatServerRestartsAndKeepsTheRooms) {
    ChatNetwork network;
    ASSERT_TRUE(network.StartServer());
    ASSERT_TRUE(network.StartChat(false)) << network.Logs();
    const std::string state = network.Dir() + "/rooms.state";
    ASSERT_TRUE(network.StartKeeper(state));
    const auto eve = network.SignUp("eve.relink@example.com");
    const std::string room = "#" + eve.Identity() + ".Stays";
    {
        RawIrcClient client;
        ASSERT_TRUE(client.Register(network.ChatPort(), eve.session, "Geve1", eve.Identity()));
        ASSERT_NE(client.WaitFor(" NICK :" + eve.Identity()), "") << network.Logs();
        client.Send("PRIVMSG ChatKeeper :CREATE " + room + " " + kRecord);
        ASSERT_NE(client.WaitFor("CREATED " + room), "");
    }
    // The chat server goes and comes back on the same port: every user and
    // channel is gone there; the keeper links again and makes the room anew.
    network.StopChat();
    ASSERT_TRUE(network.StartChat(false)) << network.Logs();
    RawIrcClient client;
    ASSERT_TRUE(client.Register(network.ChatPort(), eve.session, "Geve2", eve.Identity()));
    ASSERT_NE(client.WaitFor(" NICK :" + eve.Identity(), 60s), "") << network.Logs();
    bool listed = false;
    for (int attempt = 0; attempt < 20 && !listed; ++attempt) {
        const size_t before = client.Lines().size();
        client.Send("LIST");
        client.WaitUntil([before](const std::vector<std::string>& lines) {
            for (size_t i = before; i < lines.size(); ++i)
                if (lines[i].find(" 323 ") != std::string::npos) return true;
            return false;
        });
        const auto lines = client.Lines();
        for (size_t i = before; i < lines.size(); ++i) listed |= lines[i].find(" 322 ") != std::string::npos &&
                                                                 lines[i].find(room) != std::string::npos;
    }
    EXPECT_TRUE(listed) << network.Logs();

    // The keeper itself restarts (without its state file): it learns the
    // room from the burst, and its creator can still delete it.
    network.StopKeeper();
    ASSERT_TRUE(network.StartKeeper(network.Dir() + "/other.state"));
    client.Send("PRIVMSG ChatKeeper :DELETE " + room);
    // Until the keeper is back the request finds nobody (401); ask again.
    bool deleted = false;
    for (int attempt = 0; attempt < 30 && !deleted; ++attempt) {
        deleted = client.WaitFor("DELETED " + room, 2s) != "";
        if (!deleted) client.Send("PRIVMSG ChatKeeper :DELETE " + room);
    }
    EXPECT_TRUE(deleted) << network.Logs();
}

TEST(KeeperLink, HostileChatServerLinesNeitherCrashNorStopTheKeeper) {
    // A fake "chat server": it takes the keeper's link and answers with garbage.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    ::listen(listener, 4);
    const int port = ntohs(address.sin_port);

    ChatNetwork network;
    std::ofstream(network.Dir() + "/keeper.link") << "keeper-password=kp\nserver-password=sp\n";
    ChildProcess keeper;
    ASSERT_TRUE(keeper.Start({std::string(ORV_KEEPER_BIN_DIR) + "/orvane-keeper", "--chat-port", std::to_string(port),
                              "--link-file", network.Dir() + "/keeper.link"},
                             network.Dir() + "/keeper.log"));
    auto accept = [&]() {
        pollfd p{listener, POLLIN, 0};
        if (::poll(&p, 1, 20000) != 1) return -1;
        return ::accept(listener, nullptr, nullptr);
    };
    auto sendAll = [](int fd, const std::string& data) {
        size_t sent = 0;
        while (sent < data.size()) {
            const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<size_t>(n);
        }
    };
    // First a peer with the right password that then sends everything at once.
    int peer = accept();
    ASSERT_GE(peer, 0);
    std::string flood = ":chat.orvane.local PASS sp 0210-IRC+ fake|1:CHSX P\r\n:chat.orvane.local SERVER chat.orvane.local 1 :x\r\n"
                        ":chat.orvane.local 376 keeper.orvane.local :End\r\n";
    flood += std::string(100000, 'A') + "\r\n";
    flood += std::string("\r\n\n\r\0\0\0\r\n", 8);
    std::mt19937 random(5);
    for (int i = 0; i < 5000; ++i) {
        static const char* const starts[] = {":chat.orvane.local NICK G", ":G", ":chat.orvane.local CHANINFO #O", "NJOIN #", ":x "};
        std::string line = starts[random() % 5];
        for (int k = 0; k < static_cast<int>(random() % 40); ++k) line += "1 :#,O@\x07R"[random() % 10];
        flood += line + "\r\n";
    }
    for (int i = 0; i < 2000; ++i)
        flood += ":chat.orvane.local NICK G" + std::to_string(i) + " 1 O" + std::to_string(i) + " h 1 +r :x\r\n";
    sendAll(peer, flood + "PING :chat.orvane.local\r\n");
    // The keeper answers the PING after all of it.
    std::string got;
    char buffer[65536];
    for (int i = 0; i < 400 && got.find("PONG") == std::string::npos; ++i) {
        pollfd p{peer, POLLIN, 0};
        if (::poll(&p, 1, 100) == 1) {
            const ssize_t n = ::recv(peer, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            got.append(buffer, static_cast<size_t>(n));
        }
    }
    EXPECT_NE(got.find("PONG"), std::string::npos) << keeper.Log();
    EXPECT_NE(got.find("SVSNICK G1999 O1999"), std::string::npos);
    ::close(peer);
    // Then a peer with the wrong password: the keeper hangs up and tries again.
    peer = accept();
    ASSERT_GE(peer, 0);
    sendAll(peer, ":chat.orvane.local PASS wrong 0210-IRC+ fake|1:CHSX P\r\n");
    ssize_t n;
    while ((n = ::recv(peer, buffer, sizeof buffer, 0)) > 0) {
    }
    EXPECT_EQ(n, 0);  // closed by the keeper
    ::close(peer);
    peer = accept();
    EXPECT_GE(peer, 0) << "the keeper did not try again";
    EXPECT_TRUE(keeper.IsRunning());
    if (peer >= 0) ::close(peer);
    ::close(listener);
}
