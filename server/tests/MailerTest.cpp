#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "OrvMailer.h"
#include "TestDir.h"

using namespace orv;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// A one-message SMTP relay on a free loopback port, recording the dialogue.
class FakeRelay {
public:
    FakeRelay() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listener_, 1);
        socklen_t len = sizeof a;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~FakeRelay() {
        ::shutdown(listener_, SHUT_RDWR);
        thread_.join();
        ::close(listener_);
    }
    int port() const { return port_; }
    std::string transcript() const { return transcript_; }

private:
    void say(int fd, const char* line) { (void)!::write(fd, line, std::strlen(line)); }
    void serve() {
        int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0) return;
        say(fd, "220 fake ESMTP\r\n");
        std::string buf;
        bool data = false;
        char chunk[1024];
        for (;;) {
            ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n <= 0) break;
            buf.append(chunk, static_cast<size_t>(n));
            transcript_.append(chunk, static_cast<size_t>(n));
            if (data) {
                if (buf.find("\r\n.\r\n") == std::string::npos) continue;
                data = false;
                buf.clear();
                say(fd, "250 queued\r\n");
                continue;
            }
            size_t eol;
            while ((eol = buf.find("\r\n")) != std::string::npos) {
                std::string line = buf.substr(0, eol);
                buf.erase(0, eol + 2);
                if (line.rfind("DATA", 0) == 0) {
                    say(fd, "354 go on\r\n");
                    data = true;
                    break;
                }
                if (line.rfind("QUIT", 0) == 0) {
                    say(fd, "221 bye\r\n");
                    ::close(fd);
                    return;
                }
                say(fd, line.rfind("EHLO", 0) == 0 ? "250-fake\r\n250 8BITMIME\r\n" : "250 ok\r\n");
            }
        }
        ::close(fd);
    }
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::string transcript_;
};

}  // namespace

TEST(Mailer, ComposesAnRfc5322Message) {
    std::string m = OrvMailer::compose("Orvane <no-reply@orvane.invalid>", "dana@example.com",
                                       "Your password\r\nBcc: evil@example.com", "line one\nline two", 0,
                                       "id1@host");
    EXPECT_EQ(m.rfind("From: Orvane <no-reply@orvane.invalid>\r\n", 0), 0u);
    EXPECT_NE(m.find("\r\nTo: dana@example.com\r\n"), std::string::npos);
    EXPECT_NE(m.find("\r\nDate: Thu, 01 Jan 1970 00:00:00 +0000\r\n"), std::string::npos);
    EXPECT_NE(m.find("\r\nMessage-ID: <id1@host>\r\n"), std::string::npos);
    // A line break in a header value cannot add a header.
    EXPECT_EQ(m.find("\r\nBcc:"), std::string::npos);
    EXPECT_NE(m.find("\r\n\r\nline one\r\nline two\r\n"), std::string::npos);
    // Only CRLF line ends.
    for (size_t i = 0; i < m.size(); ++i) {
        if (m[i] == '\n') {
            ASSERT_TRUE(i > 0 && m[i - 1] == '\r');
        }
    }
}

TEST(Mailer, WritesOneFilePerMessageIntoTheOutbox) {
    TestDir dir;
    OrvMailSettings s;
    s.outbox = dir.path() + "/outbox";
    OrvMailer mailer(s);
    std::string a = mailer.send("dana@example.com", "Hello", "first");
    std::string b = mailer.send("omer@example.com", "Hello", "second");
    EXPECT_NE(a, b);
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(s.outbox)) {
        EXPECT_EQ(e.path().extension(), ".eml");
        ++files;
    }
    EXPECT_EQ(files, 2);
    EXPECT_NE(readAll(b).find("To: omer@example.com\r\n"), std::string::npos);
}

TEST(Mailer, RelaysThroughSmtpWithDotStuffing) {
    TestDir dir;
    FakeRelay relay;
    OrvMailSettings s;
    s.outbox = dir.path() + "/outbox";
    s.smtpHost = "127.0.0.1";
    s.smtpPort = relay.port();
    {
        OrvMailer mailer(s);
        mailer.send("dana@example.com", "Dots", "before\n.hidden line\nafter");
        mailer.flush();
        EXPECT_EQ(mailer.relayed(), 1u);
        EXPECT_EQ(mailer.relayFailures(), 0u);
    }
    std::string t = relay.transcript();
    EXPECT_NE(t.find("MAIL FROM:<no-reply@orvane.invalid>\r\n"), std::string::npos);
    EXPECT_NE(t.find("RCPT TO:<dana@example.com>\r\n"), std::string::npos);
    EXPECT_NE(t.find("\r\n..hidden line\r\n"), std::string::npos);
    EXPECT_NE(t.find("\r\nafter\r\n.\r\n"), std::string::npos);
}

TEST(Mailer, UnreachableRelayIsCountedAndTheFileStays) {
    TestDir dir;
    OrvMailSettings s;
    s.outbox = dir.path() + "/outbox";
    s.smtpHost = "127.0.0.1";
    s.smtpPort = 1;  // nothing listens there
    OrvMailer mailer(s);
    std::string path = mailer.send("dana@example.com", "x", "y");
    mailer.flush();
    EXPECT_EQ(mailer.relayFailures(), 1u);
    EXPECT_TRUE(std::filesystem::exists(path));
}
