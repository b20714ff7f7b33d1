// The engine's socket side against a scripted server inside the test: the
// registration and its failures, the ping rate, a silent server, lines no
// IRC server should send, a flood of lines, a full outgoing queue, a
// connection that takes long, and calls from the wrong thread.
#include "COrvChat.h"
#include "ChatTestKit.h"
#include "DebugOutputCapture.h"
#include "IrcConnection.h"

#include <CSocketHandle.h>
#include <CWinsockStartup.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using chattest::FakeClient;
using chattest::FakeMain;
using chattest::PumpFor;
using chattest::PumpUntil;

namespace {

const char kSession[] = "0123456789abcdef0123456789abcdef";

CSocketHandle Listen(int backlog, int& port) {
    CSocketHandle listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener.Get(), backlog);
    int length = sizeof address;
    getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return listener;
}

// A server of one connection, answered by hand. Reading pumps the test
// thread's messages so the engine keeps working meanwhile.
class ScriptedServer {
public:
    ScriptedServer() { m_listen = Listen(1, m_port); }
    int Port() const { return m_port; }

    bool Accept(long seconds = 10) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listen.Get(), &readable);
        timeval timeout{seconds, 0};
        if (select(0, &readable, nullptr, nullptr, &timeout) != 1) return false;
        m_peer.Reset(accept(m_listen.Get(), nullptr, nullptr));
        u_long nonBlocking = 1;
        ioctlsocket(m_peer.Get(), FIONBIO, &nonBlocking);
        return static_cast<bool>(m_peer);
    }
    void Send(const std::string& data) {
        size_t sent = 0;
        while (sent < data.size()) {
            const int n = send(m_peer.Get(), data.data() + sent, static_cast<int>(data.size() - sent), 0);
            if (n > 0) {
                sent += static_cast<size_t>(n);
            } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
                // The engine reads at its own pace: wait until it takes more.
                fd_set writable;
                FD_ZERO(&writable);
                FD_SET(m_peer.Get(), &writable);
                timeval timeout{0, 100000};
                select(0, nullptr, &writable, nullptr, &timeout);
            } else {
                return;
            }
        }
    }
    void Close() { m_peer.Reset(); }

    // Waits (pumping) for a received line that begins with prefix.
    bool WaitFor(const std::string& prefix, DWORD timeoutMs = 10000, std::string* line = nullptr) {
        return PumpUntil(
            [&] {
                char buffer[4096];
                int n;
                while ((n = recv(m_peer.Get(), buffer, sizeof buffer, 0)) > 0) m_buffer.append(buffer, n);
                size_t end;
                while ((end = m_buffer.find("\r\n")) != std::string::npos) {
                    const std::string got = m_buffer.substr(0, end);
                    m_buffer.erase(0, end + 2);
                    lines.push_back(got);
                    if (got.compare(0, prefix.size(), prefix) == 0) {
                        if (line) *line = got;
                        return true;
                    }
                }
                return false;
            },
            timeoutMs);
    }

    // Takes the registration and names the client as the keeper would.
    bool Register(const std::string& identity) {
        std::string nick;
        if (!WaitFor("PASS " + std::string(kSession)) || !WaitFor("NICK ", 10000, &nick) ||
            !WaitFor("USER " + identity + " "))
            return false;
        neutral = nick.substr(5);
        Send(":srv 001 " + neutral + " :Welcome\r\n:" + neutral + "!" + identity + "@h NICK :" + identity + "\r\n");
        return true;
    }

    std::string neutral;
    std::vector<std::string> lines;

private:
    CWinsockStartup m_winsock;
    CSocketHandle m_listen, m_peer;
    int m_port = 0;
    std::string m_buffer;
};

std::atomic<int> g_ticks{0};
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

struct Engine {
    Engine(const char* id = "77") : main(id, "Ann"), engine(&main) {
        engine.SetDelay(0);
        engine.SetSessionId(kSession);
    }
    FakeMain main;
    COrvChat engine;
};

}  // namespace

TEST(ChatConnection, PingsAtThePingRateAndCountsSilenceAsLost) {
    ScriptedServer server;
    Engine e;
    e.engine.SetIRCPingRate(1);
    FakeClient window("O78", false);
    e.engine.AddClient(&window);
    ASSERT_EQ(e.engine.Connect("127.0.0.1", server.Port()), 0);
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(server.Register("O77"));
    ASSERT_TRUE(PumpUntil([&] { return e.engine.IsConnected() != FALSE; }));

    // Answered pings keep the connection.
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(server.WaitFor("PING", 5000));
        server.Send(":srv PONG srv :orvchat\r\n");
    }
    // The server's own ping is answered at once.
    server.Send("PING :check-42\r\n");
    ASSERT_TRUE(server.WaitFor("PONG :check-42"));
    EXPECT_TRUE(e.engine.IsConnected());

    // A ping left unanswered: lost.
    ASSERT_TRUE(server.WaitFor("PING", 5000));
    ASSERT_TRUE(PumpUntil([&] { return e.main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1; }));
    EXPECT_EQ(e.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->number, ORVCHAT_LOST_CONNECTION);
    ASSERT_EQ(window.closed.size(), 1u);
    EXPECT_EQ(window.closed[0], ORVCHAT_CLOSED_LOST);
    EXPECT_FALSE(e.engine.IsConnected());
}

TEST(ChatConnection, OverlongAndBrokenServerLinesAreDropped) {
    ScriptedServer server;
    Engine e("88");
    FakeClient window("O89", false);
    e.engine.AddClient(&window);
    ASSERT_EQ(e.engine.Connect("127.0.0.1", server.Port()), 0);
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(server.Register("O88"));
    ASSERT_TRUE(PumpUntil([&] { return e.engine.IsConnected() != FALSE; }));

    std::string flood = ":O89!x@y PRIVMSG O88 :1" + std::string(100000, 'z') + "\r\n";
    flood += std::string("\r\n\n\r\n:O89!x@y PRIVMSG O88 :1a\0b\r\n", 30);
    flood += ":O89!x@y PRIVMSG O88 :\x01ORVTYPING\r\n";
    flood += ":ChatKeeper!x@y PRIVMSG O88 :5from the keeper's nick\r\n";
    flood += ":O89!x@y PRIVMSG O88 :5fine\r\n";
    server.Send(flood);
    ASSERT_TRUE(PumpUntil([&] { return !window.messages.empty(); }));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "5fine");
    EXPECT_TRUE(e.engine.IsConnected());

    // The server closing the socket is a lost connection.
    server.Close();
    ASSERT_TRUE(PumpUntil([&] { return e.main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1; }));
    EXPECT_EQ(e.main.Count(ORVCHAT_MAIN_DISCONNECTED), 0);
}

TEST(ChatConnection, RegistrationFailuresReachTheCallbacksWithTheirReason) {
    {
        ScriptedServer server;
        Engine e("99");
        ASSERT_EQ(e.engine.Connect("127.0.0.1", server.Port()), 0);
        ASSERT_TRUE(server.Accept());
        ASSERT_TRUE(server.WaitFor("USER O99 "));
        server.Send("ERROR :Access denied: Bad password?\r\n");
        ASSERT_TRUE(PumpUntil([&] { return e.main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1; }));
        EXPECT_EQ(e.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->number, ORVCHAT_LOST_CREDENTIAL);
        EXPECT_FALSE(e.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->text2.empty());
        EXPECT_EQ(e.main.Count(ORVCHAT_MAIN_CONNECTED), 0);
        EXPECT_FALSE(e.engine.IsConnected());
    }
    {
        // Welcomed, but nobody names us: the wait is bounded by the ping rate.
        ScriptedServer server;
        Engine e("98");
        e.engine.SetIRCPingRate(2);
        ASSERT_EQ(e.engine.Connect("127.0.0.1", server.Port()), 0);
        ASSERT_TRUE(server.Accept());
        std::string nick;
        ASSERT_TRUE(server.WaitFor("NICK ", 10000, &nick));
        ASSERT_TRUE(server.WaitFor("USER "));
        server.Send(":srv 001 " + nick.substr(5) + " :Welcome\r\n");
        ASSERT_TRUE(PumpUntil([&] { return e.main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1; }, 30000));
        EXPECT_EQ(e.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->number, ORVCHAT_LOST_NO_KEEPER);
        EXPECT_EQ(e.main.Count(ORVCHAT_MAIN_CONNECTED), 0);
    }
    {
        // Nothing listens at all.
        CWinsockStartup winsock;
        int port = 0;
        { CSocketHandle gone = Listen(1, port); }
        Engine e("97");
        ASSERT_EQ(e.engine.Connect("127.0.0.1", port), 0);
        ASSERT_TRUE(PumpUntil([&] { return e.main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1; }, 30000));
        EXPECT_EQ(e.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->number, ORVCHAT_LOST_UNREACHABLE);
    }
}

TEST(ChatConnection, WhatCannotWorkIsRefusedBeforeAnythingIsSent) {
    ScriptedServer server;
    for (const char* id : {"", " ", "4 2", "42\r\nQUIT :x", "1234567890123456789", "a.b", "x#y"}) {
        Engine e(id);
        EXPECT_NE(e.engine.Connect("127.0.0.1", server.Port()), 0) << "member id [" << id << "]";
        EXPECT_FALSE(e.engine.IsConnected());
    }
    Engine e("55");
    e.engine.SetSessionId("");
    EXPECT_NE(e.engine.Connect("127.0.0.1", server.Port()), 0);
    e.engine.SetSessionId("two words");
    EXPECT_NE(e.engine.Connect("127.0.0.1", server.Port()), 0);
    e.engine.SetSessionId(kSession);
    EXPECT_NE(e.engine.Connect("", server.Port()), 0);
    EXPECT_NE(e.engine.Connect(nullptr, server.Port()), 0);
    EXPECT_NE(e.engine.Connect("127.0.0.1", 70000), 0);
    // Nobody came to the server.
    EXPECT_FALSE(server.Accept(1));
    EXPECT_EQ(e.main.Count(ORVCHAT_MAIN_CONNECTION_LOST), 0);
}

TEST(ChatConnection, ConnectDoesNotWaitForASlowConnection) {
    // A listener whose queue is full: the system drops further connection
    // requests, so a connection attempt hangs until it is let in or gives up.
    CWinsockStartup winsock;
    int port = 0;
    CSocketHandle listener = Listen(1, port);
    std::vector<CSocketHandle> queue;
    for (int i = 0; i < 8; ++i) {
        CSocketHandle s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        u_long nonBlocking = 1;
        ioctlsocket(s.Get(), FIONBIO, &nonBlocking);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<u_short>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connect(s.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
        queue.push_back(std::move(s));
    }
    PumpFor(200);

    Engine e("66");
    ASSERT_EQ(e.engine.Connect("127.0.0.1", port), 0);
    // The thread is free while the connection is being made: its timer
    // keeps ticking (the program's window stays responsive).
    g_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CountTick);
    ASSERT_NE(timer, 0u);
    ASSERT_TRUE(PumpUntil([&] { return g_ticks >= 5; }));
    KillTimer(nullptr, timer);
    EXPECT_EQ(e.main.Count(ORVCHAT_MAIN_CONNECTION_LOST), 0);
    EXPECT_EQ(e.main.Count(ORVCHAT_MAIN_CONNECTED), 0);
    EXPECT_FALSE(e.engine.IsConnected());
    // Disconnect ends the attempt at once, and Connect again starts another.
    e.engine.Disconnect();
    ASSERT_EQ(e.engine.Connect("127.0.0.1", port), 0);
    // The server goes: the failure arrives through the callbacks.
    listener.Reset();
    queue.clear();
    ASSERT_TRUE(PumpUntil([&] { return e.main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1; }, 60000));
    EXPECT_EQ(e.main.Last(ORVCHAT_MAIN_CONNECTION_LOST)->number, ORVCHAT_LOST_UNREACHABLE);
}

TEST(ChatConnection, CallsFromAnotherThreadAreRefusedAndTraced) {
    ScriptedServer server;
    Engine e;
    FakeClient window("O78", false);
    e.engine.AddClient(&window);
    std::vector<DWORD> callbackThreads;
    e.main.onEvent = [&](int) { callbackThreads.push_back(GetCurrentThreadId()); };
    ASSERT_EQ(e.engine.Connect("127.0.0.1", server.Port()), 0);
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(server.Register("O77"));
    ASSERT_TRUE(PumpUntil([&] { return e.engine.IsConnected() != FALSE; }));

    orvtest::DebugOutputCapture capture;
    std::atomic<int> refused{0};
    FakeClient stranger("O79", false);
    std::thread other([&] {
        e.engine.Disconnect();
        refused += e.engine.Connect("127.0.0.1", server.Port()) != 0;
        refused += e.engine.SendText("O78", "from elsewhere", FALSE, '1') != 0;
        refused += e.engine.Notify(ORVCHAT_NOTIFY_TYPING, "O78", 1) != 0;
        refused += e.engine.Command(ORVCHAT_CMD_LIST_ROOMS, &window, "", 0) != 0;
        refused += e.engine.IsConnected() == FALSE;
        refused += e.engine.GetIdentity().IsEmpty();
        e.engine.AddClient(&stranger);
        e.engine.RemoveClient(&window);
        e.engine.NotifyClients(2);
    });
    other.join();
    EXPECT_EQ(refused, 6);
    // Nothing happened: still connected, no callback at all (on any thread).
    PumpFor(200);
    EXPECT_TRUE(e.engine.IsConnected());
    EXPECT_TRUE(window.closed.empty());
    EXPECT_TRUE(window.events.empty());
    EXPECT_EQ(e.engine.GetClientCount(), 1);
    EXPECT_EQ(e.engine.FindClient("O79"), nullptr);
    EXPECT_NE(capture.Text().find("chat: Disconnect called from another thread; refused"), std::string::npos)
        << capture.Text();
    EXPECT_NE(capture.Text().find("chat: SendText called from another thread; refused"), std::string::npos);
    // The owner's own Disconnect closes, with every callback on this thread.
    e.engine.Disconnect();
    ASSERT_EQ(window.closed.size(), 1u);
    for (DWORD thread : callbackThreads) EXPECT_EQ(thread, GetCurrentThreadId());
    EXPECT_EQ(e.main.Count(ORVCHAT_MAIN_DISCONNECTED), 1);
}

TEST(ChatConnection, AFloodOfServerLinesIsReadAtTheEnginesPaceWithoutDroppingTheConnection) {
    // A window whose first message keeps the thread busy for a while (as a
    // modal message box would), while the server pours lines in.
    struct BusyWindow : FakeClient {
        using FakeClient::FakeClient;
        void OnMessage(const char* text, const char* sender) override {
            if (messages.empty()) Sleep(1500);
            FakeClient::OnMessage(text, sender);
        }
    };
    ScriptedServer server;
    Engine e("44");
    e.engine.SetIRCPingRate(30);
    BusyWindow window("O45", false);
    e.engine.AddClient(&window);
    ASSERT_EQ(e.engine.Connect("127.0.0.1", server.Port()), 0);
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(server.Register("O44"));
    ASSERT_TRUE(PumpUntil([&] { return e.engine.IsConnected() != FALSE; }));
    // Far more lines than the incoming queue holds.
    const int total = 60000;
    std::string flood;
    for (int i = 0; i < total; ++i) flood += ":O45!x@y PRIVMSG O44 :1line " + std::to_string(i) + "\r\n";
    std::thread writer([&] { server.Send(flood); });
    ASSERT_TRUE(PumpUntil([&] { return window.messages.size() == static_cast<size_t>(total); }, 120000))
        << window.messages.size();
    writer.join();
    EXPECT_EQ(window.messages.back().text, "1line " + std::to_string(total - 1));
    EXPECT_TRUE(e.engine.IsConnected());
    EXPECT_EQ(e.main.Count(ORVCHAT_MAIN_CONNECTION_LOST), 0);
}

TEST(ChatConnection, TheOutgoingQueueIsBoundedAndPaced) {
    ScriptedServer server;
    Engine e("33");
    e.engine.SetDelay(1000);
    ASSERT_EQ(e.engine.Connect("127.0.0.1", server.Port()), 0);
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(server.Register("O33"));
    ASSERT_TRUE(PumpUntil([&] { return e.engine.IsConnected() != FALSE; }));
    int accepted = 0, refused = 0;
    for (int i = 0; i < 400; ++i) {
        if (e.engine.SendText("O34", ("line " + std::to_string(i)).c_str(), FALSE, '1') == 0) {
            ++accepted;
        } else {
            ++refused;
        }
    }
    EXPECT_LE(accepted, static_cast<int>(IrcConnection::MaxQueuedLines) + 1);
    EXPECT_GT(refused, 0);
    // What was taken goes out in order, one line at a time.
    ASSERT_TRUE(server.WaitFor("PRIVMSG O34 :1line 1", 10000));
    EXPECT_TRUE(e.engine.IsConnected());
    EXPECT_EQ(IrcConnection::PaceAfter(10, 1000), 1000u);
    EXPECT_EQ(IrcConnection::PaceAfter(10, 0), 350u);
    EXPECT_EQ(IrcConnection::PaceAfter(200, 0), 781u);
    EXPECT_EQ(IrcConnection::PaceAfter(510, 0), 1000u);
}
