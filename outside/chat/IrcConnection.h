#pragma once
// The socket to the chat server and the thread that reads and writes it.
// Received lines are queued for the engine's thread, which is woken by a
// posted window message; lines to send are queued here and written no closer
// together than the chat delay. PINGs go out when the server has been quiet
// for the ping rate; no answer within another ping rate counts as lost.
#include <winsock2.h>
#include <windows.h>

#include "CCriticalSection.h"

#include <atomic>
#include <deque>
#include <string>
#include <thread>

class IrcConnection {
public:
    // Each received line is queued, then message is posted to window.
    IrcConnection(HWND window, UINT message);
    ~IrcConnection();
    IrcConnection(const IrcConnection&) = delete;
    IrcConnection& operator=(const IrcConnection&) = delete;

    // Connects (blocking, with a time-out) and starts the thread.
    bool Open(const char* host, int port, int delayMs, int pingSeconds);
    // Sends what is queued (up to graceMs), closes the socket, ends the thread.
    void Close(DWORD graceMs);
    bool IsOpen() const { return m_socket != INVALID_SOCKET; }

    // urgent lines (PONG, QUIT) go first and ignore the chat delay.
    void Send(const std::string& line, bool urgent = false);

    // Takes the next received line; false when there is none. lost is set
    // once the connection has failed and every line before it was taken.
    bool Receive(std::string& line, bool& lost);

private:
    void Run();
    bool ReadAvailable();
    bool WriteLine(const std::string& line);
    bool PostLine(std::string line);

    HWND m_window;
    UINT m_message;
    SOCKET m_socket = INVALID_SOCKET;
    HANDLE m_socketEvent = nullptr;
    HANDLE m_wakeEvent = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    DWORD m_graceMs = 0;
    int m_delayMs = 0;
    int m_pingSeconds = 60;

    CCriticalSection m_lock;
    std::deque<std::string> m_outbox;  // guarded by m_lock
    std::deque<std::string> m_inbox;   // guarded by m_lock
    bool m_lost = false;               // guarded by m_lock

    std::string m_partial;     // thread only
    bool m_skipping = false;   // thread only: inside an over-long line
};
