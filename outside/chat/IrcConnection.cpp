#include "IrcConnection.h"

#include "IRCChat.h"
#include "IrcMessage.h"

#include <AfxTrace.h>

#include <ws2tcpip.h>

#include <algorithm>
#include <cstdio>

namespace {

// The chat server's flood protection (ngircd) handles a client's lines until
// they make 256 bytes in one second, three at most in one read; the rest of
// that second the client waits, and a client that keeps flooding loses its
// connection. Short lines go at least this far apart...
const DWORD kLeastGapMs = 350;
// ...longer ones by their size at this many bytes a second...
const DWORD kServerBytesPerSecond = 256;
// ...and one line of any length fills one second at most.
const DWORD kLongestGapMs = 1000;
// Ordinary lines waiting to go are also bounded in bytes.
const size_t kMaxQueuedBytes = 64 * 1024;
// Below this the reading goes on again after a full inbox.
const size_t kInboxResume = 200;

}  // namespace

constexpr DWORD IrcConnection::ConnectTimeoutMs;
constexpr size_t IrcConnection::MaxQueuedLines;
constexpr size_t IrcConnection::MaxInboxLines;

IrcConnection::IrcConnection(std::function<void()> wake) : m_wake(std::move(wake)) {}

IrcConnection::~IrcConnection() { Close(0); }

DWORD IrcConnection::PaceAfter(size_t bytes, int delayMs) {
    const DWORD bySize = std::min<DWORD>(kLongestGapMs, static_cast<DWORD>(bytes * 1000 / kServerBytesPerSecond));
    return std::max({static_cast<DWORD>(delayMs < 0 ? 0 : delayMs), kLeastGapMs, bySize});
}

bool IrcConnection::Open(const char* host, int port, int delayMs, int pingSeconds) {
    Close(0);
    if (!host || !*host || port <= 0 || port > 65535 || !m_socketEvent || !m_wakeEvent) return false;
    m_delayMs = delayMs < 0 ? 0 : delayMs;
    m_pingSeconds = pingSeconds < 1 ? 1 : pingSeconds;
    m_stop = false;
    m_graceMs = 0;
    m_partial.clear();
    m_skipping = false;
    m_wakeEvent.Reset();
    {
        CSingleLock lock(m_lock);
        m_urgent.clear();
        m_outbox.clear();
        m_inbox.clear();
        m_readPaused = false;
        m_lost = false;
        m_lostReason = 0;
    }
    try {
        m_thread = std::thread(&IrcConnection::Run, this, std::string(host), port);
    } catch (...) {
        AfxTraceCaughtException("chat: starting the connection thread");
        return false;
    }
    return true;
}

void IrcConnection::Close(DWORD graceMs) {
    if (m_thread.joinable()) {
        m_graceMs = graceMs;
        m_stop = true;
        m_wakeEvent.Set();
        m_thread.join();
    }
    m_socket.Reset();
    CSingleLock lock(m_lock);
    m_urgent.clear();
    m_outbox.clear();
    m_inbox.clear();
    m_readPaused = false;
    m_lost = false;
}

bool IrcConnection::SendLine(const std::string& line, bool urgent) {
    if (!IsOpen()) return false;
    {
        CSingleLock lock(m_lock);
        if (urgent) {
            m_urgent.push_back(line);
        } else {
            size_t bytes = line.size();
            for (const std::string& queued : m_outbox) bytes += queued.size();
            if (m_outbox.size() >= MaxQueuedLines || bytes > kMaxQueuedBytes) return false;
            m_outbox.push_back(line);
        }
    }
    m_wakeEvent.Set();
    return true;
}

size_t IrcConnection::Room() const {
    if (!m_thread.joinable()) return 0;
    CSingleLock lock(m_lock);
    return MaxQueuedLines - std::min(MaxQueuedLines, m_outbox.size());
}

bool IrcConnection::Receive(std::string& line, bool& lost, int& reason) {
    CSingleLock lock(m_lock);
    lost = false;
    if (!m_inbox.empty()) {
        line = std::move(m_inbox.front());
        m_inbox.pop_front();
        if (m_readPaused && m_inbox.size() < kInboxResume) {
            m_readPaused = false;
            m_wakeEvent.Set();
        }
        return true;
    }
    if (m_lost) {
        m_lost = false;
        lost = true;
        reason = m_lostReason;
    }
    return false;
}

void IrcConnection::PostLine(std::string line) {
    bool wake;
    {
        CSingleLock lock(m_lock);
        wake = m_inbox.empty();
        m_inbox.push_back(std::move(line));
        if (m_inbox.size() >= MaxInboxLines) m_readPaused = true;
    }
    if (wake && m_wake) m_wake();
}

void IrcConnection::Fail(int reason) {
    {
        CSingleLock lock(m_lock);
        m_lost = true;
        m_lostReason = reason;
    }
    if (m_wake) m_wake();
}

bool IrcConnection::ConnectSocket(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    char service[16];
    std::snprintf(service, sizeof service, "%d", port);
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), service, &hints, &found) != 0 || !found) return false;
    for (addrinfo* a = found; a && !m_socket && !m_stop; a = a->ai_next) {
        CSocketHandle s(socket(a->ai_family, a->ai_socktype, a->ai_protocol));
        if (!s) continue;
        // Non-blocking with the events of the socket, so Close can end a
        // connection attempt at once.
        m_socketEvent.Reset();
        WSAEventSelect(s.Get(), m_socketEvent.Get(), FD_CONNECT);
        bool connected = connect(s.Get(), a->ai_addr, static_cast<int>(a->ai_addrlen)) == 0;
        if (!connected && WSAGetLastError() == WSAEWOULDBLOCK) {
            HANDLE events[2] = {m_socketEvent.Get(), m_wakeEvent.Get()};
            const DWORD start = GetTickCount();
            while (!m_stop && GetTickCount() - start < ConnectTimeoutMs) {
                const DWORD waited = GetTickCount() - start;
                const DWORD result = WaitForMultipleObjects(2, events, FALSE, ConnectTimeoutMs - std::min(waited, ConnectTimeoutMs));
                if (result != WAIT_OBJECT_0) continue;
                WSANETWORKEVENTS happened{};
                WSAEnumNetworkEvents(s.Get(), m_socketEvent.Get(), &happened);
                if (happened.lNetworkEvents & FD_CONNECT) {
                    connected = happened.iErrorCode[FD_CONNECT_BIT] == 0;
                    break;
                }
            }
        }
        if (connected && !m_stop) m_socket = std::move(s);
    }
    freeaddrinfo(found);
    if (!m_socket) return false;
    m_socketEvent.Reset();
    WSAEventSelect(m_socket.Get(), m_socketEvent.Get(), FD_READ | FD_CLOSE);
    return true;
}

bool IrcConnection::WriteLine(const std::string& line) {
    const std::string data = line.substr(0, IrcMessage::MaxOutLine) + "\r\n";
    size_t sent = 0;
    while (sent < data.size()) {
        const int n = send(m_socket.Get(), data.data() + sent, static_cast<int>(data.size() - sent), 0);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(m_socket.Get(), &writable);
        timeval timeout{1, 0};
        if (select(0, nullptr, &writable, nullptr, &timeout) < 0) return false;
        if (m_stop && m_graceMs == 0) return false;
    }
    return true;
}

bool IrcConnection::ReadAvailable() {
    char buffer[4096];
    for (;;) {
        {
            CSingleLock lock(m_lock);
            if (m_readPaused) return true;
        }
        const int n = recv(m_socket.Get(), buffer, sizeof buffer, 0);
        if (n == 0) return false;
        if (n < 0) return WSAGetLastError() == WSAEWOULDBLOCK;
        for (int i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c == '\n') {
                if (!m_skipping) {
                    if (!m_partial.empty() && m_partial.back() == '\r') m_partial.pop_back();
                    if (!m_partial.empty()) PostLine(std::move(m_partial));
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

void IrcConnection::Run(std::string host, int port) {
    // Nothing may leave the thread's body: the connection counts as lost.
    try {
        Serve(host, port);
    } catch (...) {
        AfxTraceCaughtException("chat: connection thread");
        Fail(ORVCHAT_LOST_CONNECTION);
    }
}

void IrcConnection::Serve(const std::string& host, int port) {
    if (!ConnectSocket(host, port)) {
        if (!m_stop) Fail(ORVCHAT_LOST_UNREACHABLE);
        return;
    }
    DWORD lastReceived = GetTickCount();
    DWORD nextOrdinary = GetTickCount();
    DWORD pingSent = 0;
    bool pingOut = false;
    const DWORD pingMs = static_cast<DWORD>(m_pingSeconds) * 1000;
    bool failed = false;

    while (!m_stop && !failed) {
        const DWORD now = GetTickCount();
        // Write what is due: urgent lines at once, then one ordinary line
        // when its gap has passed.
        std::string line;
        bool have = false, urgent = false;
        DWORD wait = 1000;
        bool readPaused;
        {
            CSingleLock lock(m_lock);
            readPaused = m_readPaused;
            if (!m_urgent.empty()) {
                line = std::move(m_urgent.front());
                m_urgent.pop_front();
                have = urgent = true;
            } else if (!m_outbox.empty()) {
                if (static_cast<int>(now - nextOrdinary) >= 0) {
                    line = std::move(m_outbox.front());
                    m_outbox.pop_front();
                    have = true;
                } else {
                    wait = nextOrdinary - now;
                }
            }
        }
        if (have) {
            if (!WriteLine(line)) {
                failed = true;
                break;
            }
            if (!urgent) nextOrdinary = GetTickCount() + PaceAfter(line.size(), m_delayMs);
            continue;
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

        // While the inbox is full only the wake event counts: what the
        // server sends waits in the socket.
        HANDLE events[2] = {m_wakeEvent.Get(), m_socketEvent.Get()};
        const DWORD count = readPaused ? 1 : 2;
        if (readPaused) {
            // Not silence: we are not reading.
            lastReceived = now;
            pingOut = false;
        }
        const DWORD result = WaitForMultipleObjects(count, events, FALSE, wait);
        if (result == WAIT_OBJECT_0 + 1) {
            WSANETWORKEVENTS happened{};
            WSAEnumNetworkEvents(m_socket.Get(), m_socketEvent.Get(), &happened);
            const bool open = ReadAvailable();
            if (happened.lNetworkEvents & (FD_READ | FD_CLOSE)) {
                lastReceived = GetTickCount();
                pingOut = false;
            }
            if (!open || (happened.lNetworkEvents & FD_CLOSE)) {
                // Lines read before the close still count.
                failed = true;
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
                std::deque<std::string>& queue = !m_urgent.empty() ? m_urgent : m_outbox;
                if (queue.empty()) break;
                line = std::move(queue.front());
                queue.pop_front();
            }
            if (GetTickCount() - start > m_graceMs || !WriteLine(line)) break;
        }
        return;
    }
    if (failed && !m_stop) Fail(ORVCHAT_LOST_CONNECTION);
}
