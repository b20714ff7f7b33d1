#include "IrcConnection.h"

#include "IrcMessage.h"

#include <ws2tcpip.h>

#include <cstdio>

namespace {

const DWORD kConnectTimeoutMs = 10000;
const size_t kMaxQueuedLines = 50000;

}  // namespace

IrcConnection::IrcConnection(HWND window, UINT message) : m_window(window), m_message(message) {
}

IrcConnection::~IrcConnection() {
    Close(0);
}

bool IrcConnection::Open(const char* host, int port, int delayMs, int pingSeconds) {
    Close(0);
    if (!host || !*host || port <= 0 || port > 65535) return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    char service[16];
    std::snprintf(service, sizeof service, "%d", port);
    addrinfo* found = nullptr;
    if (getaddrinfo(host, service, &hints, &found) != 0 || !found) return false;

    SOCKET s = INVALID_SOCKET;
    for (addrinfo* a = found; a && s == INVALID_SOCKET; a = a->ai_next) {
        s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (s == INVALID_SOCKET) continue;
        u_long nonBlocking = 1;
        ioctlsocket(s, FIONBIO, &nonBlocking);
        bool ok = connect(s, a->ai_addr, static_cast<int>(a->ai_addrlen)) == 0;
        if (!ok && WSAGetLastError() == WSAEWOULDBLOCK) {
            fd_set writable, failed;
            FD_ZERO(&writable);
            FD_ZERO(&failed);
            FD_SET(s, &writable);
            FD_SET(s, &failed);
            timeval timeout{static_cast<long>(kConnectTimeoutMs / 1000), 0};
            ok = select(0, nullptr, &writable, &failed, &timeout) == 1 && FD_ISSET(s, &writable);
        }
        if (!ok) {
            closesocket(s);
            s = INVALID_SOCKET;
        }
    }
    freeaddrinfo(found);
    if (s == INVALID_SOCKET) return false;

    m_socket = s;
    m_socketEvent = WSACreateEvent();
    m_wakeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    WSAEventSelect(m_socket, m_socketEvent, FD_READ | FD_CLOSE);
    m_delayMs = delayMs < 0 ? 0 : delayMs;
    m_pingSeconds = pingSeconds < 1 ? 1 : pingSeconds;
    m_stop = false;
    m_partial.clear();
    m_skipping = false;
    {
        CSingleLock lock(m_lock);
        m_outbox.clear();
        m_inbox.clear();
        m_lost = false;
    }
    m_thread = std::thread(&IrcConnection::Run, this);
    return true;
}

void IrcConnection::Close(DWORD graceMs) {
    if (m_thread.joinable()) {
        m_graceMs = graceMs;
        m_stop = true;
        SetEvent(m_wakeEvent);
        m_thread.join();
    }
    if (m_socket != INVALID_SOCKET) {
        shutdown(m_socket, SD_BOTH);
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
    if (m_socketEvent) {
        WSACloseEvent(m_socketEvent);
        m_socketEvent = nullptr;
    }
    if (m_wakeEvent) {
        CloseHandle(m_wakeEvent);
        m_wakeEvent = nullptr;
    }
    CSingleLock lock(m_lock);
    m_outbox.clear();
    m_inbox.clear();
    m_lost = false;
}

void IrcConnection::Send(const std::string& line, bool urgent) {
    if (!IsOpen()) return;
    {
        CSingleLock lock(m_lock);
        if (urgent) {
            m_outbox.push_front(line);
        } else {
            m_outbox.push_back(line);
        }
    }
    SetEvent(m_wakeEvent);
}

bool IrcConnection::Receive(std::string& line, bool& lost) {
    CSingleLock lock(m_lock);
    lost = false;
    if (!m_inbox.empty()) {
        line = std::move(m_inbox.front());
        m_inbox.pop_front();
        return true;
    }
    if (m_lost) {
        m_lost = false;
        lost = true;
    }
    return false;
}

bool IrcConnection::PostLine(std::string line) {
    bool wake;
    {
        CSingleLock lock(m_lock);
        // A server that floods faster than the engine's thread takes lines
        // would otherwise grow the queue without end.
        if (m_inbox.size() >= kMaxQueuedLines) return false;
        wake = m_inbox.empty();
        m_inbox.push_back(std::move(line));
    }
    if (wake) PostMessageA(m_window, m_message, 0, 0);
    return true;
}

bool IrcConnection::WriteLine(const std::string& line) {
    std::string data = line.substr(0, IrcMessage::MaxOutLine) + "\r\n";
    size_t sent = 0;
    while (sent < data.size()) {
        const int n = send(m_socket, data.data() + sent, static_cast<int>(data.size() - sent), 0);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(m_socket, &writable);
        timeval timeout{1, 0};
        if (select(0, nullptr, &writable, nullptr, &timeout) < 0) return false;
        if (m_stop && m_graceMs == 0) return false;
    }
    return true;
}

bool IrcConnection::ReadAvailable() {
    char buffer[4096];
    for (;;) {
        const int n = recv(m_socket, buffer, sizeof buffer, 0);
        if (n == 0) return false;
        if (n < 0) return WSAGetLastError() == WSAEWOULDBLOCK;
        for (int i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                if (!m_skipping) {
                    if (!m_partial.empty() && m_partial.back() == '\r') m_partial.pop_back();
                    if (!m_partial.empty() && !PostLine(std::move(m_partial))) return false;
                }
                m_partial.clear();
                m_skipping = false;
            } else if (!m_skipping) {
                m_partial += c;
                // A line this long is not IRC: drop it up to its end.
                if (m_partial.size() > IrcMessage::MaxLine) {
                    m_partial.clear();
                    m_skipping = true;
                }
            }
        }
    }
}

void IrcConnection::Run() {
    DWORD lastReceived = GetTickCount();
    DWORD lastSent = GetTickCount() - static_cast<DWORD>(m_delayMs);
    DWORD pingSent = 0;
    bool pingOut = false;
    const DWORD pingMs = static_cast<DWORD>(m_pingSeconds) * 1000;
    bool failed = false;

    while (!m_stop && !failed) {
        const DWORD now = GetTickCount();
        // Write what is due.
        std::string line;
        bool have = false;
        DWORD wait = 1000;
        {
            CSingleLock lock(m_lock);
            if (!m_outbox.empty()) {
                const bool urgent = m_outbox.front().compare(0, 5, "PONG ") == 0 ||
                                    m_outbox.front().compare(0, 5, "QUIT ") == 0;
                const DWORD since = now - lastSent;
                if (urgent || since >= static_cast<DWORD>(m_delayMs)) {
                    line = std::move(m_outbox.front());
                    m_outbox.pop_front();
                    have = true;
                    wait = 0;
                } else {
                    wait = static_cast<DWORD>(m_delayMs) - since;
                }
            }
        }
        if (have) {
            if (!WriteLine(line)) {
                failed = true;
                break;
            }
            lastSent = GetTickCount();
            CSingleLock lock(m_lock);
            if (!m_outbox.empty() && m_delayMs > 0) wait = static_cast<DWORD>(m_delayMs);
        }

        // Keep the link checked.
        if (!pingOut && now - lastReceived >= pingMs) {
            if (!WriteLine("PING :orvchat")) {
                failed = true;
                break;
            }
            pingOut = true;
            pingSent = now;
        } else if (pingOut && now - pingSent >= pingMs) {
            failed = true;
            break;
        }

        HANDLE events[2] = {m_socketEvent, m_wakeEvent};
        const DWORD result = WaitForMultipleObjects(2, events, FALSE, wait);
        if (result == WAIT_OBJECT_0) {
            WSANETWORKEVENTS happened{};
            WSAEnumNetworkEvents(m_socket, m_socketEvent, &happened);
            if (happened.lNetworkEvents & (FD_READ | FD_CLOSE)) {
                const bool open = ReadAvailable();
                lastReceived = GetTickCount();
                pingOut = false;
                if (!open || (happened.lNetworkEvents & FD_CLOSE)) failed = true;
            }
        }
    }

    if (m_stop && !failed) {
        // Closing: flush what is queued (the QUIT) within the grace time.
        const DWORD start = GetTickCount();
        for (;;) {
            std::string line;
            {
                CSingleLock lock(m_lock);
                if (m_outbox.empty()) break;
                line = std::move(m_outbox.front());
                m_outbox.pop_front();
            }
            if (GetTickCount() - start > m_graceMs || !WriteLine(line)) break;
        }
        return;
    }
    if (failed && !m_stop) {
        {
            CSingleLock lock(m_lock);
            m_lost = true;
        }
        PostMessageA(m_window, m_message, 0, 0);
    }
}
