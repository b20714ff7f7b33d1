// The engine's socket side against a scripted server inside the test: the
// ping rate, a silent server, and lines no IRC server should send.
#include "COrvChat.h"
#include "ChatTestKit.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <string>

using chattest::FakeClient;
using chattest::FakeMain;
using chattest::PumpUntil;

namespace {

class Socket {
public:
    explicit Socket(SOCKET s = INVALID_SOCKET) : m_s(s) {}
    ~Socket() {
        if (m_s != INVALID_SOCKET) closesocket(m_s);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    SOCKET Get() const { return m_s; }
    void Reset(SOCKET s) {
        if (m_s != INVALID_SOCKET) closesocket(m_s);
        m_s = s;
    }

private:
    SOCKET m_s;
};

// A server of one connection, answered by hand. Reading pumps the test
// thread's messages so the engine keeps working meanwhile.
class ScriptedServer {
public:
    ScriptedServer() {
        WSAStartup(MAKEWORD(2, 2), &m_wsa);
        m_listen.Reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listen.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(m_listen.Get(), 1);
        int length = sizeof address;
        getsockname(m_listen.Get(), reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~ScriptedServer() { WSACleanup(); }
    int Port() const { return m_port; }

    bool Accept() {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listen.Get(), &readable);
        timeval timeout{5, 0};
        if (select(0, &readable, nullptr, nullptr, &timeout) != 1) return false;
        m_peer.Reset(accept(m_listen.Get(), nullptr, nullptr));
        u_long nonBlocking = 1;
        ioctlsocket(m_peer.Get(), FIONBIO, &nonBlocking);
        return m_peer.Get() != INVALID_SOCKET;
    }
    void Send(const std::string& data) { send(m_peer.Get(), data.data(), static_cast<int>(data.size()), 0); }
    void Close() { m_peer.Reset(INVALID_SOCKET); }

    // Waits (pumping) for a received line that begins with prefix.
    bool WaitFor(const std::string& prefix, DWORD timeoutMs, std::string* line = nullptr) {
        return PumpUntil(
            [&] {
                char buffer[4096];
                int n;
                while ((n = recv(m_peer.Get(), buffer, sizeof buffer, 0)) > 0) m_buffer.append(buffer, n);
                size_t end;
                while ((end = m_buffer.find("\r\n")) != std::string::npos) {
                    const std::string got = m_buffer.substr(0, end);
                    m_buffer.erase(0, end + 2);
                    if (got.compare(0, prefix.size(), prefix) == 0) {
                        if (line) *line = got;
                        return true;
                    }
                }
                return false;
            },
            timeoutMs);
    }

private:
    WSADATA m_wsa{};
    Socket m_listen, m_peer;
    int m_port = 0;
    std::string m_buffer;
};

}  // namespace

TEST(ChatConnection, PingsAtThePingRateAndCountsSilenceAsLost) {
    ScriptedServer server;
    FakeMain main("77", "Ann");
    COrvChat engine(&main);
    engine.SetDelay(0);
    engine.SetIRCPingRate(1);
    FakeClient window("O78", false);
    engine.AddClient(&window);
    ASSERT_EQ(engine.Connect("127.0.0.1", server.Port()), 0);
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(server.WaitFor("NICK O77", 3000));
    server.Send(":srv 001 O77 :Welcome\r\n");
    ASSERT_TRUE(PumpUntil([&] { return engine.IsConnected() != FALSE; }));

    // Answered pings keep the connection.
    for (int i = 0; i < 2; ++i) {
        std::string ping;
        ASSERT_TRUE(server.WaitFor("PING", 2500, &ping));
        server.Send(":srv PONG srv :orvchat\r\n");
    }
    // The server's own ping is answered at once.
    server.Send("PING :check-42\r\n");
    ASSERT_TRUE(server.WaitFor("PONG :check-42", 2000));
    EXPECT_TRUE(engine.IsConnected());

    // A ping left unanswered: lost within about two ping rates.
    ASSERT_TRUE(server.WaitFor("PING", 2500));
    const DWORD start = GetTickCount();
    ASSERT_TRUE(PumpUntil([&] { return main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1; }, 5000));
    EXPECT_LT(GetTickCount() - start, 4500u);
    ASSERT_EQ(window.closed.size(), 1u);
    EXPECT_EQ(window.closed[0], ORVCHAT_CLOSED_LOST);
    EXPECT_FALSE(engine.IsConnected());
}

TEST(ChatConnection, OverlongAndBrokenServerLinesAreDropped) {
    ScriptedServer server;
    FakeMain main("88", "Ann");
    COrvChat engine(&main);
    engine.SetDelay(0);
    FakeClient window("O89", false);
    engine.AddClient(&window);
    ASSERT_EQ(engine.Connect("127.0.0.1", server.Port()), 0);
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(server.WaitFor("USER", 3000));
    server.Send(":srv 001 O88 :Welcome\r\n");
    ASSERT_TRUE(PumpUntil([&] { return engine.IsConnected() != FALSE; }));

    std::string flood = ":O89!x@y PRIVMSG O88 :1" + std::string(100000, 'z') + "\r\n";
    flood += std::string("\r\n\n\r\n:O89!x@y PRIVMSG O88 :1a\0b\r\n", 30);
    flood += ":O89!x@y PRIVMSG O88 :\x01ORVTYPING\r\n";
    flood += ":O89!x@y PRIVMSG O88 :5fine\r\n";
    server.Send(flood);
    ASSERT_TRUE(PumpUntil([&] { return !window.messages.empty(); }));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "5fine");
    EXPECT_TRUE(engine.IsConnected());

    // The server closing the socket is a lost connection.
    server.Close();
    ASSERT_TRUE(PumpUntil([&] { return main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1; }));
    EXPECT_EQ(main.Count(ORVCHAT_MAIN_DISCONNECTED), 0);
}

TEST(ChatConnection, RefusedIdentityEndsTheConnection) {
    ScriptedServer server;
    FakeMain main("99", "Ann");
    COrvChat engine(&main);
    ASSERT_EQ(engine.Connect("127.0.0.1", server.Port()), 0);
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(server.WaitFor("USER", 3000));
    server.Send(":srv 433 * O99 :Nickname already in use\r\n");
    ASSERT_TRUE(PumpUntil([&] { return main.Count(ORVCHAT_MAIN_CONNECTION_LOST) == 1; }));
    EXPECT_EQ(main.Count(ORVCHAT_MAIN_CONNECTED), 0);
    EXPECT_FALSE(engine.IsConnected());
    EXPECT_NE(engine.Connect("", 1), 0);
    EXPECT_NE(engine.Connect("127.0.0.1", 70000), 0);
}
