#pragma once
#include <winsock2.h>

// Keeps Winsock (version 2.2) started for its lifetime: WSAStartup when made,
// the matching WSACleanup when it dies. Starts nest, so every user of sockets
// may keep its own. Copying is deleted; moving hands the start-up on.
class CWinsockStartup {
public:
    CWinsockStartup() {
        WSADATA data;
        m_started = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~CWinsockStartup() {
        if (m_started) ::WSACleanup();
    }
    CWinsockStartup(const CWinsockStartup&) = delete;
    CWinsockStartup& operator=(const CWinsockStartup&) = delete;
    CWinsockStartup(CWinsockStartup&& other) noexcept : m_started(other.m_started) {
        other.m_started = false;
    }
    CWinsockStartup& operator=(CWinsockStartup&& other) noexcept {
        if (this != &other) {
            if (m_started) ::WSACleanup();
            m_started = other.m_started;
            other.m_started = false;
        }
        return *this;
    }

    // False when WSAStartup failed: no socket call will work.
    bool IsStarted() const { return m_started; }

private:
    bool m_started = false;
};
