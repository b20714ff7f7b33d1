#include "OrvHttpStream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace orv {

namespace {

using Clock = std::chrono::steady_clock;

void addressText(const sockaddr_storage& addr, std::string& ip, int& port) {
    char text[INET6_ADDRSTRLEN] = "";
    if (addr.ss_family == AF_INET) {
        const auto* a = reinterpret_cast<const sockaddr_in*>(&addr);
        inet_ntop(AF_INET, &a->sin_addr, text, sizeof text);
        port = ntohs(a->sin_port);
    } else if (addr.ss_family == AF_INET6) {
        const auto* a = reinterpret_cast<const sockaddr_in6*>(&addr);
        inet_ntop(AF_INET6, &a->sin6_addr, text, sizeof text);
        port = ntohs(a->sin6_port);
    }
    ip = text;
}

}  // namespace

OrvHttpStream::OrvHttpStream(int socket, const OrvHttpLimits& limits) : socket_(socket), limits_(limits) {
    beginRequest();
}

void OrvHttpStream::beginRequest() {
    inBody_ = false;
    headBytes_ = headLines_ = bodyBytes_ = 0;
    std::memset(last_, 0, sizeof last_);
    deadline_ = Clock::now() + std::chrono::seconds(limits_.requestSeconds);
}

bool OrvHttpStream::waitFor(short events, std::chrono::milliseconds timeout) const {
    pollfd p{socket_, events, 0};
    for (;;) {
        int n = ::poll(&p, 1, static_cast<int>(std::max<int64_t>(0, timeout.count())));
        if (n < 0 && errno == EINTR) continue;
        return n > 0;
    }
}

bool OrvHttpStream::waitReadable(int* error) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
    auto silence = std::chrono::milliseconds(limits_.readSeconds * 1000);
    if (left.count() <= 0) {
        refusal_ = OrvHttpRefusal::TooSlow;
        *error = ETIMEDOUT;
        return false;
    }
    if (waitFor(POLLIN, std::min(left, silence))) return true;
    // Silence within the request's time is a dead peer; past it, a slow one.
    if (left <= silence) refusal_ = OrvHttpRefusal::TooSlow;
    *error = ETIMEDOUT;
    return false;
}

size_t OrvHttpStream::allowance() const {
    if (!inBody_) return limits_.headBytes - headBytes_;
    return limits_.bodyBytes + limits_.framingBytes - bodyBytes_;
}

bool OrvHttpStream::account(const char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        if (inBody_) {
            bodyBytes_ += size - i;
            return true;
        }
        char c = data[i];
        ++headBytes_;
        if (c == '\n') {
            // A blank line (CR LF CR LF, or bare LF LF) ends the head.
            bool blank = last_[2] == '\n' || (last_[2] == '\r' && last_[1] == '\n');
            if (blank) {
                inBody_ = true;
            } else if (++headLines_ > limits_.headLines) {
                refusal_ = OrvHttpRefusal::HeadTooLarge;
                return false;
            }
        }
        last_[0] = last_[1];
        last_[1] = last_[2];
        last_[2] = c;
    }
    return true;
}

ssize_t OrvHttpStream::read(char* ptr, size_t size) {
    if (refusal_ != OrvHttpRefusal::None) return -1;
    if (size == 0) return 0;
    size_t allowed = allowance();
    if (allowed == 0) {
        refusal_ = inBody_ ? OrvHttpRefusal::BodyTooLarge : OrvHttpRefusal::HeadTooLarge;
        return -1;
    }
    if (bufferBegin_ == bufferEnd_) {
        int error = 0;
        if (!waitReadable(&error)) return -1;
        ssize_t n;
        do {
            n = ::recv(socket_, buffer_, sizeof buffer_, 0);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) return n;
        bufferBegin_ = 0;
        bufferEnd_ = static_cast<size_t>(n);
    }
    size_t n = std::min({size, allowed, bufferEnd_ - bufferBegin_});
    const char* data = buffer_ + bufferBegin_;
    if (!account(data, n)) return -1;
    std::memcpy(ptr, data, n);
    bufferBegin_ += n;
    return static_cast<ssize_t>(n);
}

ssize_t OrvHttpStream::write(const char* ptr, size_t size) {
    if (!waitFor(POLLOUT, std::chrono::milliseconds(limits_.writeSeconds * 1000))) return -1;
    ssize_t n;
    do {
        n = ::send(socket_, ptr, size, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n;
}

bool OrvHttpStream::is_readable() const {
    return bufferBegin_ < bufferEnd_ || waitFor(POLLIN, std::chrono::milliseconds(limits_.readSeconds * 1000));
}

bool OrvHttpStream::is_writable() const {
    return waitFor(POLLOUT, std::chrono::milliseconds(limits_.writeSeconds * 1000));
}

void OrvHttpStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (::getpeername(socket_, reinterpret_cast<sockaddr*>(&addr), &len) == 0) addressText(addr, ip, port);
}

void OrvHttpStream::get_local_ip_and_port(std::string& ip, int& port) const {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (::getsockname(socket_, reinterpret_cast<sockaddr*>(&addr), &len) == 0) addressText(addr, ip, port);
}

}  // namespace orv
