// One raw TCP connection to a server under test on the loopback address:
// bytes out exactly as given, answers read back by their Content-Length.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

// One TCP connection to the server under test.
class RawConnection {
public:
    explicit RawConnection(int port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
        // A generous bound so that a server that stops reading cannot hang the test.
        timeval tv{60, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    }
    ~RawConnection() {
        if (fd_ >= 0) ::close(fd_);
    }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool connected() const { return connected_; }

    // False once the server no longer takes bytes.
    bool send(const std::string& data) {
        size_t sent = 0;
        while (sent < data.size()) {
            ssize_t n = ::send(fd_, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return false;
            sent += static_cast<size_t>(n);
        }
        return true;
    }

    // Sends `piece` again and again until `total` bytes went or the server stopped taking them.
    size_t flood(const std::string& piece, size_t total) {
        size_t sent = 0;
        while (sent < total && send(piece)) sent += piece.size();
        return sent;
    }

    struct Answer {
        int status = 0;
        std::string head, body;
    };
    // The next whole answer (head and Content-Length body); status 0 when none came.
    Answer answer() {
        Answer a;
        size_t headEnd;
        while ((headEnd = buffer_.find("\r\n\r\n")) == std::string::npos)
            if (!fill()) return a;
        a.head = buffer_.substr(0, headEnd + 4);
        buffer_.erase(0, headEnd + 4);
        if (a.head.rfind("HTTP/1.1 ", 0) == 0) a.status = std::atoi(a.head.c_str() + 9);
        size_t length = 0;
        auto at = a.head.find("Content-Length: ");
        if (at != std::string::npos) length = std::strtoul(a.head.c_str() + at + 16, nullptr, 10);
        while (buffer_.size() < length)
            if (!fill()) break;
        a.body = buffer_.substr(0, length);
        buffer_.erase(0, std::min(length, buffer_.size()));
        return a;
    }

    // The next answer's head only (status 0 when none came); its body is
    // then read with consume(), for bodies too large to hold.
    Answer head() {
        Answer a;
        size_t headEnd;
        while ((headEnd = buffer_.find("\r\n\r\n")) == std::string::npos)
            if (!fill()) return a;
        a.head = buffer_.substr(0, headEnd + 4);
        buffer_.erase(0, headEnd + 4);
        if (a.head.rfind("HTTP/1.1 ", 0) == 0) a.status = std::atoi(a.head.c_str() + 9);
        return a;
    }

    // Reads count body bytes and hands them on in pieces: onPiece(offset,
    // data, size). Returns the bytes read, fewer when the connection ended.
    template <class OnPiece>
    size_t consume(size_t count, OnPiece&& onPiece) {
        size_t done = 0;
        while (done < count) {
            if (buffer_.empty() && !fill()) break;
            size_t n = std::min(count - done, buffer_.size());
            onPiece(done, buffer_.data(), n);
            buffer_.erase(0, n);
            done += n;
        }
        return done;
    }

    // Waits up to `ms` for the server to send something; true when it did.
    bool readable(int ms) {
        pollfd p{fd_, POLLIN, 0};
        return !buffer_.empty() || ::poll(&p, 1, ms) == 1;
    }

    // True when the server ended the connection (end of stream or reset).
    bool closedByServer() {
        while (buffer_.empty()) {
            char c;
            ssize_t n = ::recv(fd_, &c, 1, 0);
            if (n == 0 || (n < 0 && errno == ECONNRESET)) return true;
            if (n < 0) return false;
            buffer_ += c;
        }
        return false;
    }

private:
    bool fill() {
        char buf[65536];
        ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
        if (n <= 0) return false;
        buffer_.append(buf, static_cast<size_t>(n));
        return true;
    }
    int fd_ = -1;
    bool connected_ = false;
    std::string buffer_;
};
