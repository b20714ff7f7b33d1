// One accepted connection as the HTTP library reads and writes it, with the
// limits the library does not keep itself: the size and line count of a
// request's head, the bytes of its body however it is framed (length,
// chunks, or until the end), and the time one request may take. A request
// that breaks a limit reads as a failed socket, and the refusal says which
// limit it broke.
#pragma once

#include <httplib.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <string>

namespace orv {

struct OrvHttpLimits {
    size_t headBytes = 16 * 1024;     // request line and header lines together
    size_t headLines = 64;            // request line and header lines
    size_t bodyBytes = 64 * 1024;     // a body as the handler receives it
    size_t framingBytes = 16 * 1024;  // chunk sizes and line ends on top of the body
    int requestSeconds = 30;          // from the first byte of a request to its last
    int readSeconds = 5;              // silence while a request is under way
    int writeSeconds = 5;
};

enum class OrvHttpRefusal { None, HeadTooLarge, BodyTooLarge, TooSlow };

class OrvHttpStream : public httplib::Stream {
public:
    OrvHttpStream(int socket, const OrvHttpLimits& limits);
    OrvHttpStream(const OrvHttpStream&) = delete;
    OrvHttpStream& operator=(const OrvHttpStream&) = delete;

    // Starts the budgets of the next request on the connection.
    void beginRequest();
    // Waits up to `timeout` for the first byte of a next request; false on
    // time-out, end of the connection, or when `stopping` turns true.
    template <class Stopping>
    bool waitForRequest(std::chrono::milliseconds timeout, Stopping stopping);

    OrvHttpRefusal refusal() const { return refusal_; }
    // The connection ends after the answer being written.
    void closeAfterAnswer() { closeAfterAnswer_ = true; }
    bool closing() const { return closeAfterAnswer_ || refusal_ != OrvHttpRefusal::None; }

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    int socket() const override { return socket_; }

private:
    // Waits until the socket can be read (or written); false on time-out.
    bool waitFor(short events, std::chrono::milliseconds timeout) const;
    bool waitReadable(int* error);
    // Counts bytes handed to the library against the head or body budget.
    bool account(const char* data, size_t size);
    size_t allowance() const;

    int socket_;
    OrvHttpLimits limits_;
    char buffer_[4096];
    size_t bufferBegin_ = 0, bufferEnd_ = 0;
    bool inBody_ = false;
    size_t headBytes_ = 0, headLines_ = 0, bodyBytes_ = 0;
    char last_[3] = {0, 0, 0};  // the bytes before the current one, for the blank line
    std::chrono::steady_clock::time_point deadline_;
    OrvHttpRefusal refusal_ = OrvHttpRefusal::None;
    bool closeAfterAnswer_ = false;
};

template <class Stopping>
bool OrvHttpStream::waitForRequest(std::chrono::milliseconds timeout, Stopping stopping) {
    if (bufferBegin_ < bufferEnd_) return true;  // a pipelined request is already here
    const auto slice = std::chrono::milliseconds(50);
    auto end = std::chrono::steady_clock::now() + timeout;
    while (!stopping()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        if (waitFor(POLLIN, std::min(left, slice))) return true;
    }
    return false;
}

}  // namespace orv
