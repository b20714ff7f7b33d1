#pragma once
// The socket to the chat server and the thread that connects, reads and
// writes it. Received lines are queued for the engine's thread, which is
// woken through the wake function; lines to send are queued here.
//
// Pacing: ordinary lines go out no closer together than the chat delay, and
// never faster than the chat server's flood protection takes them (about
// three lines and 512 bytes a second), so a client that keeps to it is never
// throttled. Urgent lines (PONG, QUIT, registration) go first, unpaced.
//
// Bounds: the outgoing queue holds MaxQueuedLines ordinary lines; a full
// queue refuses more. The incoming queue stops the reading at
// MaxInboxLines until the engine has taken lines, so a flood waits in the
// socket (and at the server) instead of growing here.
//
// PINGs go out when the server has been quiet for the ping rate; no answer
// within another ping rate, a closed socket or a failed write is a lost
// connection.
#include "ChatLineSink.h"

#include <CCriticalSection.h>
#include <CEvent.h>
#include <CSocketHandle.h>

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <string>
#include <thread>

class IrcConnection : public ChatLineSink {
public:
    // wake is called (on the socket thread) when lines or a loss wait.
    explicit IrcConnection(std::function<void()> wake);
    ~IrcConnection();
    IrcConnection(const IrcConnection&) = delete;
    IrcConnection& operator=(const IrcConnection&) = delete;

    // Checks the address and starts the thread, which connects (within
    // ConnectTimeoutMs) and then reads and writes. False when the address
    // is unusable; a failed connection is reported later as a loss.
    bool Open(const char* host, int port, int delayMs, int pingSeconds);
    // Sends what is queued (up to graceMs), closes the socket, ends the thread.
    void Close(DWORD graceMs);
    // True from Open until Close (connecting included).
    bool IsOpen() const { return m_thread.joinable(); }

    bool SendLine(const std::string& line, bool urgent) override;
    size_t Room() const override;

    // Takes the next received line; false when there is none. lost is set
    // (once) when the connection has failed and every line before it was
    // taken; reason is then an ORVCHAT_LOST_ code.
    bool Receive(std::string& line, bool& lost, int& reason);

    // The smallest gap after a line of this many bytes, with this chat delay.
    static DWORD PaceAfter(size_t bytes, int delayMs);

    static constexpr DWORD ConnectTimeoutMs = 10000;
    static constexpr size_t MaxQueuedLines = 256;
    static constexpr size_t MaxInboxLines = 2000;

private:
    void Run(std::string host, int port);
    void Serve(const std::string& host, int port);
    bool ConnectSocket(const std::string& host, int port);
    bool ReadAvailable();
    bool WriteLine(const std::string& line);
    void PostLine(std::string line);
    void Fail(int reason);

    std::function<void()> m_wake;
    CSocketHandle m_socket;         // the socket thread's while it runs
    CEvent m_socketEvent{true};     // network events of the socket
    CEvent m_wakeEvent{false};      // something to send, or stop
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    DWORD m_graceMs = 0;
    int m_delayMs = 0;
    int m_pingSeconds = 60;

    mutable CCriticalSection m_lock;
    std::deque<std::string> m_urgent;  // guarded by m_lock
    std::deque<std::string> m_outbox;  // guarded by m_lock
    std::deque<std::string> m_inbox;   // guarded by m_lock
    bool m_readPaused = false;         // guarded by m_lock: the inbox is full
    bool m_lost = false;               // guarded by m_lock
    int m_lostReason = 0;              // guarded by m_lock

    std::string m_partial;    // thread only
    bool m_skipping = false;  // thread only: inside an over-long line
};
