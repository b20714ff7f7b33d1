#pragma once
// The TCP connection of the server link: lines in (bounded: an over-long
// line is dropped up to its end), lines out (bounded: a peer that stops
// reading loses the link rather than our memory).
#include <deque>
#include <string>
#include <vector>

namespace keeper {

class ServerLink {
public:
    ServerLink() = default;
    ~ServerLink();
    ServerLink(const ServerLink&) = delete;
    ServerLink& operator=(const ServerLink&) = delete;

    // Connects within timeoutMs; error says why not.
    bool Connect(const std::string& host, int port, int timeoutMs, std::string& error);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    // Reads what the socket has; complete lines are appended. False when
    // the peer closed the link or it failed.
    bool Read(std::vector<std::string>& lines);
    // Queues a line; false when the backlog is over its bound.
    bool Send(const std::string& line);
    // Writes what the socket takes now; false on failure.
    bool Flush();
    bool HasPendingOutput() const { return !m_out.empty(); }

    // Bounds.
    static constexpr size_t MaxLine = 8191;
    static constexpr size_t MaxBacklog = 4 * 1024 * 1024;

private:
    int m_fd = -1;
    std::string m_partial;
    bool m_skipping = false;
    std::string m_out;
};

}  // namespace keeper
