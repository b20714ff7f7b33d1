#pragma once
// A bare IRC client for the tests: it sends whatever it is told (no
// checking, no pacing) and records every line the server sends, answering
// PINGs so that the server keeps it.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class RawIrcClient {
public:
    RawIrcClient() = default;
    ~RawIrcClient();
    RawIrcClient(const RawIrcClient&) = delete;
    RawIrcClient& operator=(const RawIrcClient&) = delete;

    bool Connect(int port);
    // Registers: PASS (when not empty), NICK, USER.
    bool Register(int port, const std::string& password, const std::string& nick, const std::string& user);
    void Send(const std::string& line);
    // Bytes as they are, line ends and all.
    void SendRaw(const std::string& data);
    void Close();

    // Waits for a received line containing text; returns it or "".
    std::string WaitFor(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Waits until the server closed the connection.
    bool WaitClosed(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    bool Saw(const std::string& text) const;
    std::vector<std::string> Lines() const;
    // Waits until a line matches; false on time-out.
    bool WaitUntil(const std::function<bool(const std::vector<std::string>&)>& done,
                   std::chrono::milliseconds timeout = std::chrono::seconds(20));

private:
    void Run();

    int m_fd = -1;
    std::thread m_reader;
    std::mutex m_sendMutex;  // the reader answers PINGs meanwhile
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_lines;
    bool m_closed = false;
};
