// The server driven from outside by a raw socket, as a hostile client would:
// bodies and heads beyond every limit in every framing HTTP allows, wrong
// methods, pipelining, bursts of connections, a busy port.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "OrvHttpServer.h"
#include "OrvServer.h"
#include "RawConnection.h"
#include "TestDir.h"

using namespace orv;
using nlohmann::json;

namespace {

long residentKiB() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

std::string post(const std::string& path, const std::string& body, const std::string& extraHeaders = "") {
    return "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n" + extraHeaders +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

class HttpLimitsTest : public ::testing::Test {
protected:
    void SetUp() override {
        OrvConfig c;
        c.port = 0;
        c.dataDir = dir.path() + "/data";
        c.passwordStrength = "min";
        c.adminToken = "secret-token";
        c.threads = 8;
        server = std::make_unique<OrvServer>(c);
        port = server->bind();
        server->start();
    }
    void TearDown() override { server->stop(); }

    // The server still answers a plain request on a new connection.
    bool stillServes() {
        RawConnection c(port);
        c.send("GET /health HTTP/1.1\r\nHost: x\r\n\r\n");
        return c.answer().status == 200;
    }

    TestDir dir;
    std::unique_ptr<OrvServer> server;
    int port = 0;
};

const std::string kChatAuth = R"({"id":"1","credential":"0123456789abcdef0123456789abcdef"})";

}  // namespace

TEST_F(HttpLimitsTest, ChunkedBodyOfAnySizeIsHeldToTheLimit) {
    long before = residentKiB();
    {
        // 200 MiB in 64 KiB chunks: refused after the limit, never read whole.
        RawConnection c(port);
        ASSERT_TRUE(c.send("POST /api/v1/get-tree HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n"));
        size_t sent = c.flood("10000\r\n" + std::string(0x10000, 'a') + "\r\n", size_t{200} << 20);
        EXPECT_LT(sent, size_t{200} << 20);
        EXPECT_EQ(c.answer().status, 413);
        EXPECT_TRUE(c.closedByServer());
    }
    {
        // One chunk announced as 4 GiB.
        RawConnection c(port);
        ASSERT_TRUE(c.send("POST /api/v1/get-tree HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n"
                           "FFFFFFFF\r\n"));
        c.flood(std::string(0x10000, 'b'), size_t{64} << 20);
        EXPECT_EQ(c.answer().status, 413);
    }
    {
        // Tiny chunks: the framing counts too.
        RawConnection c(port);
        ASSERT_TRUE(c.send("POST /api/v1/get-tree HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n"));
        c.flood("1\r\n{\r\n", size_t{16} << 20);
        EXPECT_EQ(c.answer().status, 413);
    }
    {
        // One chunk just over the limit: small framing, but the decoded body is too large.
        RawConnection c(port);
        std::string body(70000, ' ');
        char size[16];
        std::snprintf(size, sizeof size, "%zx", body.size());
        ASSERT_TRUE(c.send("POST /api/v1/get-tree HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n" +
                           std::string(size) + "\r\n" + body + "\r\n0\r\n\r\n"));
        EXPECT_EQ(c.answer().status, 413);
    }
    // Nothing of it was kept (the unbounded server grew by hundreds of MB here).
    EXPECT_LT(residentKiB() - before, 64 * 1024);
    EXPECT_TRUE(stillServes());
}

TEST_F(HttpLimitsTest, BodiesWithALengthOrWithoutOneAreHeldToTheLimit) {
    {
        RawConnection c(port);
        ASSERT_TRUE(c.send("POST /api/v1/get-tree HTTP/1.1\r\nHost: x\r\nContent-Length: 99999999999999\r\n\r\n"));
        c.flood(std::string(0x10000, 'c'), size_t{16} << 20);
        EXPECT_EQ(c.answer().status, 413);
    }
    {
        // No length and no chunks: read to the end of the connection, but not beyond the limit.
        RawConnection c(port);
        ASSERT_TRUE(c.send("POST /api/v1/get-tree HTTP/1.1\r\nHost: x\r\n\r\n"));
        c.flood(std::string(0x10000, 'd'), size_t{16} << 20);
        EXPECT_EQ(c.answer().status, 413);
    }
    {
        // A compressed body could inflate past any limit: refused unread.
        RawConnection c(port);
        ASSERT_TRUE(c.send(post("/api/v1/chat-auth", std::string(40, '\0'), "Content-Encoding: gzip\r\n")));
        EXPECT_EQ(c.answer().status, 415);
    }
    {
        RawConnection c(port);
        ASSERT_TRUE(c.send(post("/api/v1/chat-auth", kChatAuth, "Transfer-Encoding: gzip, chunked\r\n")));
        EXPECT_EQ(c.answer().status, 501);
    }
    EXPECT_TRUE(stillServes());
}

TEST_F(HttpLimitsTest, HeadsAreBoundedInLinesAndBytes) {
    long before = residentKiB();
    {
        std::string head = "POST /api/v1/chat-auth HTTP/1.1\r\nHost: x\r\n";
        for (int i = 0; i < 10000; ++i) head += "X-Filler-" + std::to_string(i) + ": x\r\n";
        RawConnection c(port);
        c.send(head + "Content-Length: 2\r\n\r\n{}");
        EXPECT_EQ(c.answer().status, 431);
    }
    {
        // One header line of 20 MB.
        RawConnection c(port);
        ASSERT_TRUE(c.send("POST /api/v1/chat-auth HTTP/1.1\r\nHost: x\r\nX-Long: "));
        c.flood(std::string(0x10000, 'e'), size_t{20} << 20);
        EXPECT_EQ(c.answer().status, 431);
    }
    {
        // A request line of 20 MB.
        RawConnection c(port);
        ASSERT_TRUE(c.send("GET /"));
        c.flood(std::string(0x10000, 'f'), size_t{20} << 20);
        EXPECT_EQ(c.answer().status, 431);
    }
    {
        // Just inside the limits: answered normally.
        std::string head = "POST /api/v1/chat-auth HTTP/1.1\r\nHost: x\r\n";
        for (int i = 0; i < 50; ++i) head += "X-Filler-" + std::to_string(i) + ": " + std::string(100, 'g') + "\r\n";
        RawConnection c(port);
        c.send(head + "Content-Length: " + std::to_string(kChatAuth.size()) + "\r\n\r\n" + kChatAuth);
        auto a = c.answer();
        EXPECT_EQ(a.status, 200);
        EXPECT_EQ(json::parse(a.body)["code"], "3");
    }
    EXPECT_LT(residentKiB() - before, 64 * 1024);
    EXPECT_TRUE(stillServes());
}

TEST_F(HttpLimitsTest, OnlyPostOnTheApi) {
    for (const char* method : {"GET", "PUT", "DELETE", "PATCH", "OPTIONS", "HEAD"}) {
        RawConnection c(port);
        c.send(std::string(method) + " /api/v1/get-tree HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\n\r\n{}");
        auto a = c.answer();
        EXPECT_EQ(a.status, 405) << method;
        EXPECT_NE(a.head.find("Allow: POST"), std::string::npos) << method;
    }
    RawConnection c(port);
    c.send("GET /admin/v1/notice HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(c.answer().status, 405);
}

TEST_F(HttpLimitsTest, PipelinedAndChunkedRequestsAreAnsweredInOrder) {
    RawConnection c(port);
    char rest[16];
    std::snprintf(rest, sizeof rest, "%zx", kChatAuth.size() - 5);
    std::string chunked = "POST /api/v1/chat-auth HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n"
                          "5;note=split\r\n" + kChatAuth.substr(0, 5) + "\r\n" + rest + "\r\n" + kChatAuth.substr(5) +
                          "\r\n0\r\n\r\n";
    // Three requests in one write: with a length, chunked, and a bad body.
    ASSERT_TRUE(c.send(post("/api/v1/chat-auth", kChatAuth) + chunked + post("/api/v1/chat-auth", "{\"id\":7}")));
    auto first = c.answer(), second = c.answer(), third = c.answer();
    EXPECT_EQ(first.status, 200);
    EXPECT_EQ(json::parse(first.body)["code"], "3");
    EXPECT_EQ(second.status, 200);
    EXPECT_EQ(json::parse(second.body)["code"], "3");
    EXPECT_EQ(third.status, 200);
    EXPECT_EQ(json::parse(third.body)["code"], "1");
}

TEST_F(HttpLimitsTest, MalformedBodiesAndWrongTypesGetCodesNotFaults) {
    for (const std::string& body : {std::string(60000, '['), std::string("{\"a\":") + std::string(30000, '[') ,
                                    std::string("\xff\xfe{}"), std::string("{\"email\":\"\xc3\"}")}) {
        RawConnection c(port);
        c.send(post("/api/v1/verify-user", body));
        EXPECT_EQ(c.answer().status, 400);
    }
    // Every member of another JSON type than a string is bad input, code "1".
    for (const json& email : {json(42), json(nullptr), json::array({"a@example.com"}), json::object(), json(true)}) {
        RawConnection c(port);
        c.send(post("/api/v1/verify-user", json({{"email", email}}).dump()));
        auto a = c.answer();
        EXPECT_EQ(a.status, 200) << email.dump();
        EXPECT_EQ(json::parse(a.body)["code"], "1");
    }
    // The operator's notice too: a non-string address or text is bad input, never a fault.
    for (const json& body : {json({{"token", "secret-token"}, {"text", "hi"}, {"email", 42}}),
                             json({{"token", "secret-token"}, {"text", json::array()}}),
                             json({{"token", "secret-token"}, {"text", "hi"}, {"email", nullptr}})}) {
        RawConnection c(port);
        c.send(post("/admin/v1/notice", body.dump()));
        auto a = c.answer();
        EXPECT_EQ(a.status, 200) << body.dump();
        EXPECT_EQ(json::parse(a.body)["code"], "1") << body.dump();
    }
    RawConnection c(port);
    c.send(post("/admin/v1/notice", json({{"token", 7}, {"text", "hi"}}).dump()));
    EXPECT_EQ(c.answer().status, 403);
    EXPECT_TRUE(stillServes());
}

TEST(HttpListening, BurstOfConnectionsIsQueuedNotDropped) {
    // Bound but not yet accepting: every handshake must still complete, as
    // it does while all workers are busy. A backlog of 5 completes only six.
    TestDir dir;
    OrvConfig c;
    c.port = 0;
    c.dataDir = dir.path() + "/data";
    OrvServer server(c);
    int port = server.bind();
    const int burst = std::min(300, OrvHttpServer::listenBacklog());
    std::vector<int> fds;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int i = 0; i < burst; ++i) {
        int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        fds.push_back(fd);
    }
    int established = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::vector<bool> done(fds.size(), false);
    while (established < burst && std::chrono::steady_clock::now() < deadline) {
        for (size_t i = 0; i < fds.size(); ++i) {
            if (done[i]) continue;
            pollfd p{fds[i], POLLOUT, 0};
            if (::poll(&p, 1, 0) == 1) {
                int err = 0;
                socklen_t len = sizeof err;
                ::getsockopt(fds[i], SOL_SOCKET, SO_ERROR, &err, &len);
                done[i] = true;
                if (err == 0) ++established;
            }
        }
        if (established < burst) {
            pollfd p{fds.back(), POLLOUT, 0};
            ::poll(&p, 1, 10);
        }
    }
    EXPECT_EQ(established, burst);
    for (int fd : fds) ::close(fd);
    // The queued connections are served once the server runs.
    server.start();
    httplib::Client client("127.0.0.1", port);
    auto res = client.Get("/health");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
}

TEST(HttpListening, ABusyPortEndsTheStartWithItsReason) {
    TestDir dir;
    OrvConfig c;
    c.port = 0;
    c.dataDir = dir.path() + "/data";
    OrvServer first(c);
    c.port = first.bind();
    c.dataDir = dir.path() + "/other";
    // A second server on the same port must not share it with the first.
    OrvServer second(c);
    try {
        second.bind();
        FAIL() << "a second server was bound to a busy port";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("127.0.0.1:" + std::to_string(c.port)), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("in use"), std::string::npos) << e.what();
    }
    // start() of an unbound server binds itself and fails the same way, at once.
    OrvServer third(c);
    EXPECT_THROW(third.start(), std::runtime_error);
}

TEST(HttpSlowClients, ARequestTrickledInIsCutAtItsDeadline) {
    // The server's own limits, shortened: 2 s for a whole request, 1 s of silence.
    OrvHttpLimits limits;
    limits.requestSeconds = 2;
    limits.readSeconds = 1;
    OrvHttpServer http(limits, 4);
    http.post("/echo", [](const httplib::Request& req, httplib::Response& res) { res.set_content(req.body, "text/plain"); });
    int port = http.bindListening("127.0.0.1", 0);
    std::thread serving([&] { http.listen_after_bind(); });
    {
        // One byte every 200 ms: never silent for a second, but never done either.
        RawConnection c(port);
        std::string head = "POST /echo HTTP/1.1\r\nHost: x\r\nX-Slow: " + std::string(1000, 's') + "\r\n\r\n";
        size_t sent = 0;
        while (sent < head.size() && c.send(std::string(1, head[sent]))) {
            ++sent;
            if (c.readable(200)) break;  // the server answered
        }
        EXPECT_LT(sent, head.size());
        EXPECT_EQ(c.answer().status, 408);
    }
    {
        // A request in good time on the same server is answered.
        RawConnection c(port);
        c.send("POST /echo HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n\r\nhello");
        auto a = c.answer();
        EXPECT_EQ(a.status, 200);
        EXPECT_EQ(a.body, "hello");
    }
    http.stopListening();
    serving.join();
}
