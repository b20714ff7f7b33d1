#include "ServerLink.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace keeper {

ServerLink::~ServerLink() { Close(); }

void ServerLink::Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_partial.clear();
    m_skipping = false;
    m_out.clear();
}

bool ServerLink::Connect(const std::string& host, int port, int timeoutMs, std::string& error) {
    Close();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    const int resolved = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found);
    if (resolved != 0 || !found) {
        error = std::string("cannot resolve ") + host + ": " + ::gai_strerror(resolved);
        return false;
    }
    for (addrinfo* a = found; a && m_fd < 0; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        int result = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (result != 0 && errno == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            result = ::poll(&p, 1, timeoutMs) == 1 ? 0 : -1;
            int soError = 0;
            socklen_t length = sizeof soError;
            if (result == 0 && (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length) != 0 || soError != 0)) {
                errno = soError;
                result = -1;
            }
        }
        if (result == 0) {
            m_fd = fd;
        } else {
            error = std::string("cannot connect: ") + std::strerror(errno);
            ::close(fd);
        }
    }
    ::freeaddrinfo(found);
    return m_fd >= 0;
}

bool ServerLink::Read(std::vector<std::string>& lines) {
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (n == 0) return false;
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                if (!m_skipping) {
                    if (!m_partial.empty() && m_partial.back() == '\r') m_partial.pop_back();
                    if (!m_partial.empty()) lines.push_back(m_partial);
                }
                m_partial.clear();
                m_skipping = false;
            } else if (!m_skipping) {
                m_partial += c;
                if (m_partial.size() > MaxLine) {
                    m_partial.clear();
                    m_skipping = true;
                }
            }
        }
    }
}

bool ServerLink::Send(const std::string& line) {
    if (m_fd < 0) return false;
    if (m_out.size() + line.size() + 2 > MaxBacklog) return false;
    m_out += line;
    m_out += "\r\n";
    return true;
}

bool ServerLink::Flush() {
    while (!m_out.empty()) {
        const ssize_t n = ::send(m_fd, m_out.data(), m_out.size(), MSG_NOSIGNAL);
        if (n > 0) {
            m_out.erase(0, static_cast<size_t>(n));
            continue;
        }
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
    }
    return true;
}

}  // namespace keeper
