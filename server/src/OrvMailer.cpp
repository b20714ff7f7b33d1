#include "OrvMailer.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <stdexcept>

#include <sodium.h>

namespace orv {

namespace {

// One connected socket, closed when it goes out of scope.
class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

bool sendAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Reads one SMTP reply (all its lines) and returns its code, -1 on failure.
int readReply(int fd, std::string& buffer) {
    for (;;) {
        size_t eol;
        while ((eol = buffer.find("\r\n")) != std::string::npos) {
            std::string line = buffer.substr(0, eol);
            buffer.erase(0, eol + 2);
            if (line.size() >= 3 && (line.size() == 3 || line[3] == ' ')) {
                try {
                    return std::stoi(line.substr(0, 3));
                } catch (...) {
                    return -1;
                }
            }
        }
        char chunk[512];
        ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) return -1;
        buffer.append(chunk, static_cast<size_t>(n));
        if (buffer.size() > 65536) return -1;
    }
}

std::string rfc5322Date(int64_t unixTime) {
    std::time_t t = static_cast<std::time_t>(unixTime);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[64];
    std::strftime(buf, sizeof buf, "%a, %d %b %Y %H:%M:%S +0000", &tm);
    return buf;
}

// The address part of "Name <addr>" or the text itself.
std::string bareAddress(const std::string& from) {
    size_t lt = from.find('<'), gt = from.find('>');
    if (lt != std::string::npos && gt != std::string::npos && gt > lt) return from.substr(lt + 1, gt - lt - 1);
    return from;
}

// Header values never carry line breaks.
std::string oneLine(std::string s) {
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

}  // namespace

OrvMailer::OrvMailer(OrvMailSettings settings) : settings_(std::move(settings)) {
    ::mkdir(settings_.outbox.c_str(), 0700);
    worker_ = std::thread([this] { run(); });
}

OrvMailer::~OrvMailer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    cv_.notify_all();
    worker_.join();
}

std::string OrvMailer::compose(const std::string& from, const std::string& to, const std::string& subject,
                               const std::string& body, int64_t unixTime, const std::string& messageId) {
    std::string m;
    m += "From: " + oneLine(from) + "\r\n";
    m += "To: " + oneLine(to) + "\r\n";
    m += "Subject: " + oneLine(subject) + "\r\n";
    m += "Date: " + rfc5322Date(unixTime) + "\r\n";
    m += "Message-ID: <" + oneLine(messageId) + ">\r\n";
    m += "MIME-Version: 1.0\r\n";
    m += "Content-Type: text/plain; charset=utf-8\r\n";
    m += "Content-Transfer-Encoding: 8bit\r\n";
    m += "\r\n";
    // Body lines end in CRLF whatever the caller used.
    for (size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        if (c == '\r') continue;
        if (c == '\n') m += "\r\n";
        else m += c;
    }
    if (m.size() < 2 || m.compare(m.size() - 2, 2, "\r\n") != 0) m += "\r\n";
    return m;
}

std::string OrvMailer::send(const std::string& to, const std::string& subject, const std::string& body) {
    auto now = std::chrono::system_clock::now();
    int64_t unixTime = std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    char rnd[9];
    std::snprintf(rnd, sizeof rnd, "%08x", randombytes_random());
    uint64_t n;
    {
        std::lock_guard lock(mutex_);
        n = ++counter_;
    }
    std::string stamp = std::to_string(unixTime) + "-" + std::to_string(n) + "-" + rnd;
    std::string message = compose(settings_.from, to, subject, body, unixTime,
                                  stamp + "@" + settings_.heloName);
    std::string path = settings_.outbox + "/" + stamp + ".eml";
    std::string temp = path + ".part";
    {
        std::ofstream out(temp, std::ios::binary);
        out << message;
        if (!out) throw std::runtime_error("cannot write " + temp);
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) throw std::runtime_error("cannot write " + path);
    if (!settings_.smtpHost.empty()) {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back({to, message});
        }
        cv_.notify_all();
    }
    return path;
}

void OrvMailer::flush() {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

uint64_t OrvMailer::relayed() const {
    std::lock_guard lock(mutex_);
    return relayed_;
}

uint64_t OrvMailer::relayFailures() const {
    std::lock_guard lock(mutex_);
    return failures_;
}

void OrvMailer::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        cv_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return;  // stopping with nothing left
        Job job = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        bool ok = relay(job);
        lock.lock();
        busy_ = false;
        if (ok) ++relayed_;
        else ++failures_;
        cv_.notify_all();
    }
}

bool OrvMailer::relay(const Job& job) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    std::string port = std::to_string(settings_.smtpPort);
    if (getaddrinfo(settings_.smtpHost.c_str(), port.c_str(), &hints, &found) != 0) return false;
    int fd = -1;
    for (addrinfo* a = found; a; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (fd < 0) continue;
        timeval tv{10, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
        if (::connect(fd, a->ai_addr, a->ai_addrlen) == 0) break;
        ::close(fd);
        fd = -1;
    }
    freeaddrinfo(found);
    if (fd < 0) return false;
    Socket sock(fd);
    std::string buffer;
    auto command = [&](const std::string& line, int expect) {
        if (!line.empty() && !sendAll(fd, line + "\r\n")) return false;
        int code = readReply(fd, buffer);
        return code / 100 == expect / 100;
    };
    if (!command("", 220)) return false;
    if (!command("EHLO " + settings_.heloName, 250) && !command("HELO " + settings_.heloName, 250))
        return false;
    if (!command("MAIL FROM:<" + bareAddress(settings_.from) + ">", 250)) return false;
    if (!command("RCPT TO:<" + oneLine(job.to) + ">", 250)) return false;
    if (!command("DATA", 354)) return false;
    // Dot-stuffing: a line that starts with a full stop gets another one.
    std::string data;
    size_t start = 0;
    while (start < job.message.size()) {
        size_t eol = job.message.find("\r\n", start);
        size_t end = eol == std::string::npos ? job.message.size() : eol;
        if (end > start && job.message[start] == '.') data += '.';
        data.append(job.message, start, end - start);
        data += "\r\n";
        start = eol == std::string::npos ? job.message.size() : eol + 2;
    }
    data += ".";
    if (!command(data, 250)) return false;
    command("QUIT", 221);
    return true;
}

}  // namespace orv
