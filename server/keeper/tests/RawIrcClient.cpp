#include "RawIrcClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

RawIrcClient::~RawIrcClient() { Close(); }

bool RawIrcClient::Connect(int port) {
    Close();
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    m_closed = false;
    m_reader = std::thread(&RawIrcClient::Run, this);
    return true;
}

bool RawIrcClient::Register(int port, const std::string& password, const std::string& nick, const std::string& user) {
    if (!Connect(port)) return false;
    if (!password.empty()) Send("PASS " + password);
    Send("NICK " + nick);
    Send("USER " + user + " 0 * :Raw test client");
    return true;
}

void RawIrcClient::Send(const std::string& line) { SendRaw(line + "\r\n"); }

void RawIrcClient::SendRaw(const std::string& data) {
    std::lock_guard<std::mutex> lock(m_sendMutex);
    size_t sent = 0;
    while (m_fd >= 0 && sent < data.size()) {
        const ssize_t n = ::send(m_fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

void RawIrcClient::Close() {
    if (m_fd >= 0) ::shutdown(m_fd, SHUT_RDWR);
    if (m_reader.joinable()) m_reader.join();
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

void RawIrcClient::Run() {
    std::string partial;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        partial.append(buffer, static_cast<size_t>(n));
        size_t end;
        while ((end = partial.find("\r\n")) != std::string::npos) {
            const std::string line = partial.substr(0, end);
            partial.erase(0, end + 2);
            if (line.compare(0, 5, "PING ") == 0) Send("PONG " + line.substr(5));
            std::lock_guard<std::mutex> lock(m_mutex);
            m_lines.push_back(line);
            m_changed.notify_all();
        }
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    m_changed.notify_all();
}

bool RawIrcClient::WaitUntil(const std::function<bool(const std::vector<std::string>&)>& done,
                             std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return done(m_lines); });
}

std::string RawIrcClient::WaitFor(const std::string& text, std::chrono::milliseconds timeout) {
    std::string found;
    WaitUntil(
        [&](const std::vector<std::string>& lines) {
            for (const auto& line : lines)
                if (line.find(text) != std::string::npos) {
                    found = line;
                    return true;
                }
            return false;
        },
        timeout);
    return found;
}

bool RawIrcClient::WaitClosed(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_closed; });
}

bool RawIrcClient::Saw(const std::string& text) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& line : m_lines)
        if (line.find(text) != std::string::npos) return true;
    return false;
}

std::vector<std::string> RawIrcClient::Lines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}
